#include "OptionsFixtures.h"
#include "ReceivablesFixtures.h"
#include "TForm1.h"
#include "TfrmCalendar.h"
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
#include <QTableWidget>
#include <QtTest>


// Every command a permission flag guards, in every window built so far: with the
// flag (and every other one) the command is usable, without it not, and taking a
// flag away changes no command of another flag.

namespace {

enum class Check { Enabled, Shown, Editable, OffersInvoices };

// The controls of one window that a flag guards: objectNames, or "page/name" where
// the pages of a window repeat names.
struct Guard
{
    int flag;
    const char *window;
    const char *controls;
    Check check = Check::Enabled;
};

// Flag 8 guards nothing anywhere.
const Guard guards[] = {
    {1, "TForm1", "actEditEntry popEditEntry qlEditEntry tbDetail"},
    {2, "TForm1", "actNewEntry actEditEntry popNewEntry popEditEntry qlNewEntry qlEditEntry tbNewEntry tbEditEntry"},
    {2, "TfrmFiPe", "btnNewCompany btnNewPerson btnCompanySave btnCompanyOk btnLinkPerson"},
    {2, "TfrmFiPe", "edtCompanyName", Check::Editable},
    {3, "TfrmFiPe", "btnExtendedData"},
    {4, "TfrmFiPeMehr", "btnEdit"},
    {5, "TForm1", "actNewProject actSearchProject actOptions popNewProject popSearchProject qlNewProject qlSearchProject"},
    {6, "TForm1", "actNewProject popNewProject qlNewProject"},
    {6, "TfrmProjektDetail", "pageProjekt/btnSave pageProjekt/lstAdressen pageProjekt/memBemerkung "
                             "pageAngebot/btnArticles pageAngebot/btnRabatt pageAngebot/dtDatum pageRechnung/btnArticles"},
    {6, "TfrmProjektDetail", "pageProjekt/edtPrName pageAngebot/edtName", Check::Editable},
    // invoices, credit notes and dunning letters, for a user who may not write projects
    {7, "TfrmProjektSuche", "cbVorgangsart", Check::OffersInvoices},
    {7, "TfrmProjektDetail", "pageRechnung/grpDocument pageGutschrift/grpDocument pageMahnung/grpDocument", Check::Shown},
    {9, "TForm1", "actOptions"},
    {9, "TfrmProjektDetail", "actOptions"},
    {9, "TfrmMahnung", "actOptions"},
    // the options window's groups; its shared buttons save the tab being shown
    {10, "TfrmOptionen", "grpUSt lstUSt grpSentry chkAutostart grpDruckoptionen sldLinkerRand sldOberrerRand"},
    {11, "TfrmOptionen", "grpZusatztexte"},
    {11, "OptionenZusatztexte", "btnUebernehmen btnOK"},
    {12, "TfrmOptionen", "grpMahntexte"},
    {12, "OptionenMahntexte", "btnUebernehmen btnOK"},
    {13, "TfrmOptionen", "grpFirma grpVerkaeufer"},
    {13, "OptionenFirmendaten", "btnUebernehmen btnOK"},
    {14, "TForm1", "actUsers", Check::Shown},
    {14, "TForm1", "actRestore"},
    {15, "TForm1", "actOpenItems qlOpenItems"},
    // the calendar lists due invoices only to users of the open items and opens
    // their projects only to readers of projects
    {5, "TfrmCalendar", "btnDayOpen btnWeekOpen"},
    {15, "TfrmCalendar", "btnDayOpen btnWeekOpen"},
    {16, "TfrmOP", "btnMahnung"},
};

// "window control check" for each guarded control of a row.
QStringList keysOf(const Guard &g)
{
    static const char *const checks[] = {"enabled", "shown", "editable", "offers invoices"};
    QStringList keys;
    for (const QString &c : QString::fromLatin1(g.controls).split(' '))
        keys << QStringLiteral("%1 %2 %3").arg(QLatin1String(g.window), c, QLatin1String(checks[int(g.check)]));
    return keys;
}

// Every window exists, none is opened.
class Hub : public WindowHub
{
public:
    bool has(Window) const override { return true; }
    void showDataMaintenance() override { maintenanceShown = true; }
    bool maintenanceShown = false;
};

bool stateOf(QObject *o, Check check)
{
    auto *action = qobject_cast<QAction *>(o);
    auto *widget = qobject_cast<QWidget *>(o);
    auto *edit = qobject_cast<QLineEdit *>(o);
    auto *box = qobject_cast<QComboBox *>(o);
    switch (check) {
    case Check::Enabled: return action ? action->isEnabled() : widget && widget->isEnabled();
    case Check::Shown: return action ? action->isVisible() : widget && !widget->isHidden();
    case Check::Editable: return edit && edit->isEnabled() && !edit->isReadOnly();
    case Check::OffersInvoices: return box && box->findText(QStringLiteral("Rechnung")) >= 0;
    }
    return false;
}

// The state of every guarded control for a user without the withheld flags, in the
// windows as such a user finds them: the contact list with a company selected, that
// company in the contact editor and its extended data, its project in the project
// window and the project search, an overdue invoice in the open items and its
// dunning letter, the calendar on the invoice's due day with it selected, and
// the options window on each of its tabs.
// Controls that are not found are listed in missing.
QMap<QString, bool> states(const QList<int> &withheld, QStringList &missing)
{
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 3, 1, "1000", -30);
    env.exec("INSERT INTO anmerkung (IDA, Anmerkung) VALUES (10, '')");
    env.state().grantAll();
    for (int f : withheld)
        env.state().Perm[std::size_t(f)] = false;
    env.state().isAdminAccount = [] { return true; };
    Hub hub;
    env.state().hub = &hub;

    TForm1 main(env.state());
    main.setAskOnClose(false);
    main.updateAvailability();
    main.lstContacts->setCurrentIndex(main.contactModel().index(0, 0));
    main.UpdateSelection();
    TfrmFiPe fiPe(env.state());
    fiPe.prepareShow(10, true, true);
    fiPe.show();
    TfrmFiPeMehr fiPeMehr(env.state());
    fiPeMehr.prepare(true, 10);
    fiPeMehr.show();
    TfrmProjektDetail project(env.state());
    project.openProject(1, 10, true, false);
    project.showPage(TfrmProjektDetail::AngebotPage);
    TfrmProjektSuche search(env.state(), &project);
    search.prepare(std::nullopt, 0);
    TfrmOP openItems(env.state());
    openItems.activate();
    TfrmMahnung dunning(env.state());
    dunning.prepare({10, 1, "DE111", "Halvard GmbH", 3, "1.000,00 €"});
    TfrmCalendar calendar(env.state());
    calendar.prepareShow(QDate::currentDate().addDays(-30));
    calendar.grdDay->setCurrentCell(1, 1);
    calendar.grdWeek->setCurrentCell(1, 1);
    const auto options = [&env](TfrmOptionen::Tab tab) {
        std::unique_ptr<TfrmOptionen> w = OpenOptions(env, false);
        w->tabs->setCurrentIndex(tab);
        return w;
    };
    const auto general = options(TfrmOptionen::AllgemeinTab), texts = options(TfrmOptionen::ZusatztexteTab),
               dunningTexts = options(TfrmOptionen::MahntexteTab), company = options(TfrmOptionen::FirmendatenTab);

    const QMap<QString, QObject *> windows = {{"TForm1", &main},          {"TfrmFiPe", &fiPe},
                                              {"TfrmFiPeMehr", &fiPeMehr}, {"TfrmProjektDetail", &project},
                                              {"TfrmProjektSuche", &search}, {"TfrmOP", &openItems},
                                              {"TfrmMahnung", &dunning},          {"TfrmCalendar", &calendar},
                                              {"TfrmOptionen", general.get()},
                                              {"OptionenZusatztexte", texts.get()},
                                              {"OptionenMahntexte", dunningTexts.get()},
                                              {"OptionenFirmendaten", company.get()}};
    QMap<QString, bool> out;
    for (const Guard &g : guards) {
        for (const QString &key : keysOf(g)) {
            QObject *o = windows.value(QLatin1String(g.window));
            for (const QString &name : key.section(' ', 1, 1).split('/'))
                o = o ? o->findChild<QObject *>(name) : nullptr;
            if (o)
                out.insert(key, stateOf(o, g.check));
            else
                missing << key;
        }
    }
    return out;
}

} // namespace

class TestPermissions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void eachFlagGuardsItsCommands_data();
    void eachFlagGuardsItsCommands();
    void backupRestoreAndMaintenance_data();
    void backupRestoreAndMaintenance();
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
    // flag 7 matters only to a user without flag 6, who sees invoices read-only or not at all
    const QList<int> too = flag == 7 ? QList<int>{6} : QList<int>{};
    QStringList missing;
    const QMap<QString, bool> with = states(too, missing);
    const QMap<QString, bool> without = states(too + QList<int>{flag}, missing);
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join("; ")));

    QStringList guarded, changed;
    for (const Guard &g : guards)
        if (g.flag == flag)
            guarded << keysOf(g);
    guarded.removeDuplicates();
    guarded.sort();
    for (const QString &key : guarded)
        QVERIFY2(with.value(key), qPrintable("off although granted: " + key));
    for (auto it = with.cbegin(); it != with.cend(); ++it)
        if (without.value(it.key()) != it.value())
            changed << it.key();
    QVERIFY2(changed == guarded, qPrintable("changed: " + changed.join("; ") + "\n   guarded: " + guarded.join("; ")));
}

// A backup holds all data of its kind: right 14, or every right to read what it
// copies. Restore and data maintenance replace or delete everything: right 14.
void TestPermissions::backupRestoreAndMaintenance_data()
{
    QTest::addColumn<QList<int>>("granted");
    QTest::addColumn<QString>("allowed"); // full backup, archive, restore, data maintenance: 1 or 0
    QTest::newRow("only persons and projects") << QList<int>{1, 5} << "0000";
    QTest::newRow("every right to read") << QList<int>{1, 3, 5, 7, 15} << "1100";
    QTest::newRow("no extended data") << QList<int>{1, 5, 7, 15} << "0100";
    QTest::newRow("invoices and open items") << QList<int>{7, 15} << "0100";
    QTest::newRow("invoices without open items") << QList<int>{1, 3, 5, 7} << "0000";
    QTest::newRow("user administration alone") << QList<int>{14} << "1111";
}

void TestPermissions::backupRestoreAndMaintenance()
{
    QFETCH(QList<int>, granted);
    QFETCH(QString, allowed);
    TestEnv env;
    for (int f : granted)
        env.state().Perm[std::size_t(f)] = true;
    Hub hub;
    env.state().hub = &hub;
    TForm1 main(env.state());
    main.setAskOnClose(false);
    main.updateAvailability();
    main.ApplyPermissions();
    QString shown;
    for (QAction *a : {main.actBackupAll, main.actBackupInvoices, main.actRestore})
        shown += a->isEnabled() ? '1' : '0';
    // the access code in the search field opens data maintenance, or says no
    main.edtSearch->setText("zimtsterne");
    QTest::mouseDClick(main.edtSearch, Qt::LeftButton);
    const bool refused = env.dialogs().messages() == QStringList{"Keine Berechtigung"};
    shown += refused ? '0' : '1';
    QCOMPARE(shown, allowed);
    QCOMPARE(hub.maintenanceShown, !refused);
}

QTEST_MAIN(TestPermissions)
#include "tst_permissions.moc"
