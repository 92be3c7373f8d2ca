#include "ReceivablesFixtures.h"
#include "TForm1.h"
#include "TfrmFiPe.h"
#include "TfrmFiPeMehr.h"
#include "TfrmMahnung.h"
#include "TfrmOP.h"
#include "TfrmProjektDetail.h"
#include "TfrmProjektSuche.h"
#include "WindowHub.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMap>
#include <QTableView>
#include <QtTest>

#include <memory>

// Every command a permission flag guards, in every window built so far: with the
// flag (and every other one) the command is usable, without it not, and taking a
// flag away changes no command of another flag.

namespace {

enum class Check { Enabled, Shown, Editable, OffersInvoices };

struct Guard
{
    int flag;
    const char *window;
    const char *control; // objectName, or "parent/child" where a window repeats names on its pages
    Check check = Check::Enabled;
};

// A commented-out flag guards nothing in the windows built so far: 8 guards nothing
// anywhere, 10 to 13 guard the pages of the options window.
const Guard guards[] = {
    {1, "TForm1", "actEditEntry"},
    {1, "TForm1", "popEditEntry"},
    {1, "TForm1", "qlEditEntry"},
    {1, "TForm1", "tbDetail"},
    {2, "TForm1", "actNewEntry"},
    {2, "TForm1", "actEditEntry"},
    {2, "TForm1", "popNewEntry"},
    {2, "TForm1", "popEditEntry"},
    {2, "TForm1", "qlNewEntry"},
    {2, "TForm1", "qlEditEntry"},
    {2, "TForm1", "tbNewEntry"},
    {2, "TForm1", "tbEditEntry"},
    {2, "TfrmFiPe", "btnNewCompany"},
    {2, "TfrmFiPe", "btnNewPerson"},
    {2, "TfrmFiPe", "btnCompanySave"},
    {2, "TfrmFiPe", "btnCompanyOk"},
    {2, "TfrmFiPe", "btnLinkPerson"},
    {2, "TfrmFiPe", "edtCompanyName", Check::Editable},
    {3, "TfrmFiPe", "btnExtendedData"},
    {4, "TfrmFiPeMehr", "btnEdit"},
    {5, "TForm1", "actNewProject"},
    {5, "TForm1", "actSearchProject"},
    {5, "TForm1", "actOptions"},
    {5, "TForm1", "popNewProject"},
    {5, "TForm1", "popSearchProject"},
    {5, "TForm1", "qlNewProject"},
    {5, "TForm1", "qlSearchProject"},
    {6, "TForm1", "actNewProject"},
    {6, "TForm1", "popNewProject"},
    {6, "TForm1", "qlNewProject"},
    {6, "TfrmProjektDetail", "pageProjekt/btnSave"},
    {6, "TfrmProjektDetail", "pageProjekt/lstAdressen"},
    {6, "TfrmProjektDetail", "pageProjekt/memBemerkung"},
    {6, "TfrmProjektDetail", "pageProjekt/edtPrName", Check::Editable},
    {6, "TfrmProjektDetail", "pageAngebot/btnArticles"},
    {6, "TfrmProjektDetail", "pageAngebot/btnRabatt"},
    {6, "TfrmProjektDetail", "pageAngebot/dtDatum"},
    {6, "TfrmProjektDetail", "pageAngebot/edtName", Check::Editable},
    {6, "TfrmProjektDetail", "pageRechnung/btnArticles"},
    // invoices, credit notes and dunning letters for a user who may not write projects
    {7, "TfrmProjektSuche", "cbVorgangsart", Check::OffersInvoices},
    {7, "TfrmProjektDetail", "pageRechnung/grpDocument", Check::Shown},
    {7, "TfrmProjektDetail", "pageGutschrift/grpDocument", Check::Shown},
    {7, "TfrmProjektDetail", "pageMahnung/grpDocument", Check::Shown},
    // 8, 10, 11, 12, 13: see above
    {9, "TForm1", "actOptions"},
    {9, "TfrmProjektDetail", "actOptions"},
    {9, "TfrmMahnung", "actOptions"},
    {14, "TForm1", "actUsers", Check::Shown},
    {15, "TForm1", "actOpenItems"},
    {15, "TForm1", "qlOpenItems"},
    {16, "TfrmOP", "btnMahnung"},
};

// Flag 7 matters only to a user without flag 6, who sees invoices read-only or not at all.
QList<int> withheldToo(int flag)
{
    return flag == 7 ? QList<int>{6} : QList<int>{};
}

QString keyOf(const Guard &g)
{
    static const char *const checks[] = {"enabled", "shown", "editable", "offers invoices"};
    return QStringLiteral("%1 %2 %3").arg(QLatin1String(g.window), QLatin1String(g.control),
                                          QLatin1String(checks[int(g.check)]));
}

// Every window exists, none is opened.
class Hub : public WindowHub
{
public:
    bool has(Window) const override { return true; }
};

// The windows as a user with these flags finds them: the contact list with a
// company selected, that company in the contact editor and its extended data,
// its project in the project window and the project search, an overdue invoice
// in the open items and its dunning letter.
class Scene
{
public:
    explicit Scene(const QList<int> &withheld)
    {
        AddReceivablesCustomers(env);
        AddInvoice(env, 3, 1, "1000", -30);
        env.exec("INSERT INTO anmerkung (IDA, Anmerkung) VALUES (10, '')");
        env.state().grantAll();
        for (int f : withheld)
            env.state().Perm[std::size_t(f)] = false;
        env.state().isAdminAccount = [] { return true; };
        env.state().hub = &hub;

        main = std::make_unique<TForm1>(env.state());
        main->updateAvailability();
        main->lstContacts->setCurrentIndex(main->contactModel().index(0, 0));
        main->UpdateSelection();
        fiPe = std::make_unique<TfrmFiPe>(env.state());
        fiPe->prepareShow(10, true, true);
        fiPe->show();
        fiPeMehr = std::make_unique<TfrmFiPeMehr>(env.state());
        fiPeMehr->prepare(true, 10);
        fiPeMehr->show();
        project = std::make_unique<TfrmProjektDetail>(env.state());
        project->openProject(1, 10, true, false);
        project->showPage(TfrmProjektDetail::AngebotPage);
        search = std::make_unique<TfrmProjektSuche>(env.state(), project.get());
        search->prepare(std::nullopt, 0);
        openItems = std::make_unique<TfrmOP>(env.state());
        openItems->activate();
        dunning = std::make_unique<TfrmMahnung>(env.state());
        dunning->prepare({10, 1, "DE111", "Halvard GmbH", 3, "1.000,00 €"});
    }
    ~Scene()
    {
        main->setAskOnClose(false);
        env.state().hub = nullptr;
    }

    // The state of every guarded control; names that are not found are listed in missing.
    QMap<QString, bool> states(QStringList &missing)
    {
        const QMap<QString, QObject *> windows = {{"TForm1", main.get()},          {"TfrmFiPe", fiPe.get()},
                                                  {"TfrmFiPeMehr", fiPeMehr.get()}, {"TfrmProjektDetail", project.get()},
                                                  {"TfrmProjektSuche", search.get()}, {"TfrmOP", openItems.get()},
                                                  {"TfrmMahnung", dunning.get()}};
        QMap<QString, bool> out;
        for (const Guard &g : guards) {
            QObject *o = windows.value(QLatin1String(g.window));
            for (const QString &name : QString::fromLatin1(g.control).split('/'))
                o = o ? o->findChild<QObject *>(name) : nullptr;
            if (!o) {
                missing << keyOf(g);
                continue;
            }
            out.insert(keyOf(g), stateOf(o, g.check));
        }
        return out;
    }

private:
    static bool stateOf(QObject *o, Check check)
    {
        auto *action = qobject_cast<QAction *>(o);
        auto *widget = qobject_cast<QWidget *>(o);
        switch (check) {
        case Check::Enabled: return action ? action->isEnabled() : widget && widget->isEnabled();
        case Check::Shown: return action ? action->isVisible() : widget && !widget->isHidden();
        case Check::Editable: {
            auto *edit = qobject_cast<QLineEdit *>(o);
            return edit && edit->isEnabled() && !edit->isReadOnly();
        }
        case Check::OffersInvoices: {
            auto *box = qobject_cast<QComboBox *>(o);
            return box && box->findText(QStringLiteral("Rechnung")) >= 0;
        }
        }
        return false;
    }

    TestEnv env;
    Hub hub;
    std::unique_ptr<TForm1> main;
    std::unique_ptr<TfrmFiPe> fiPe;
    std::unique_ptr<TfrmFiPeMehr> fiPeMehr;
    std::unique_ptr<TfrmProjektDetail> project;
    std::unique_ptr<TfrmProjektSuche> search;
    std::unique_ptr<TfrmOP> openItems;
    std::unique_ptr<TfrmMahnung> dunning;
};

} // namespace

class TestPermissions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void eachFlagGuardsItsCommands_data();
    void eachFlagGuardsItsCommands();
};

void TestPermissions::eachFlagGuardsItsCommands_data()
{
    QTest::addColumn<int>("flag");
    for (int flag = 1; flag <= 16; ++flag)
        QTest::addRow("flag %d", flag) << flag;
}

void TestPermissions::eachFlagGuardsItsCommands()
{
    QFETCH(int, flag);
    QStringList missing;
    const QMap<QString, bool> with = Scene(withheldToo(flag)).states(missing);
    const QMap<QString, bool> without = Scene(withheldToo(flag) << flag).states(missing);
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join("; ")));

    QStringList guarded, changed, offWithTheFlag;
    for (const Guard &g : guards)
        if (g.flag == flag && !guarded.contains(keyOf(g)))
            guarded << keyOf(g);
    for (auto it = with.cbegin(); it != with.cend(); ++it) {
        if (without.value(it.key()) != it.value())
            changed << it.key();
        if (guarded.contains(it.key()) && !it.value())
            offWithTheFlag << it.key();
    }
    guarded.sort();
    QVERIFY2(offWithTheFlag.isEmpty(), qPrintable("off although granted: " + offWithTheFlag.join("; ")));
    QVERIFY2(changed == guarded, qPrintable("changed: " + changed.join("; ") + "\n   guarded: " + guarded.join("; ")));
}

QTEST_MAIN(TestPermissions)
#include "tst_permissions.moc"
