#include "Desktop.h"
#include "DocumentPage.h"
#include "ProjectFixtures.h"
#include "ProjectPage.h"
#include "Settings.h"
#include "TfrmProjekt.h"
#include "TfrmProjektDetail.h"
#include "WindowHub.h"
#include "WordDocumentReader.h"
#include "WordToolBand.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

namespace {

class Hub : public WindowHub
{
public:
    explicit Hub(TfrmProjektDetail *&detail) : m_detail(detail) {}
    bool has(Window w) const override { return w == Window::Project; }
    void showProject(qint64 p, qint64 c, bool company, bool isNew) override { m_detail->openProject(p, c, company, isNew); }

private:
    TfrmProjektDetail *&m_detail;
};

QStringList entries(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

} // namespace

// The "Wordtool" band of the project window: its list and hint follow the page,
// its button exports what the page shows, and the band's visibility is kept.
class TestWordTool : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void exportsWhatThePageShows();
};

void TestWordTool::exportsWhatThePageShows()
{
    TestEnv env;
    AddProjectContacts(env);
    QTemporaryDir out;
    WordWriter::setDefaultTargetDir(out.path());
    QList<QUrl> opened;
    SetDesktopOpener([&opened](const QUrl &u) {
        opened << u;
        return true;
    });
    env.state().grantAll();
    env.state().SelectedID = 10;
    auto detail = std::make_unique<TfrmProjektDetail>(env.state());
    TfrmProjektDetail *detailPtr = detail.get();
    Hub hub(detailPtr);
    env.state().hub = &hub;
    TfrmProjekt create(env.state());
    create.prepare();
    create.createProject();

    WordToolBand *band = detail->wordBand;
    QVERIFY(band->isVisible());
    QVERIFY(detail->actWordTool->isEnabled() && detail->actWordTool->isChecked());
    QCOMPARE(band->btnWord->toolTip(), QStringLiteral("Allgemeine Daten in ein Worddokument übernehmen"));
    QCOMPARE(entries(band->cbVorlage), (QStringList{"Brief.dotx", "Brief.ott", "Projekt.dotx", "Projekt.ott"}));

    // the invoice page: its folder, its hint; a chosen template stays chosen
    detail->showPage(TfrmProjektDetail::RechnungPage);
    QCOMPARE(band->btnWord->toolTip(), QStringLiteral("Rechnung in ein Worddokument übernehemen"));
    QCOMPARE(entries(band->cbVorlage), (QStringList{"Rechnung.dotx", "Rechnung.ott"}));
    band->cbVorlage->setCurrentIndex(1);
    detail->activate();
    QCOMPARE(band->templateName(), QStringLiteral("Rechnung.ott"));

    // an unsaved invoice with a name typed over the project's
    DocumentPage *page = detail->documentPage(DocumentKind::Rechnung);
    LineList &lines = page->document().lines;
    lines.setLines({{"1", "A-1", "Dachlatte", "2", "10,00", "", "19,00 %"}});
    page->documentChanged();
    QTest::keyClicks(page->edtName, QStringLiteral(" & Sohn"));
    QVERIFY(!page->isClean());
    band->btnWord->click();
    QCOMPARE(env.dialogs().messages(), QStringList());
    QCOMPARE(opened.size(), 1);
    const ReadBackDocument doc = ReadBackWordDocument(opened.first().toLocalFile());
    QVERIFY(opened.first().toLocalFile().endsWith(".odt"));
    QCOMPARE(doc.afterBookmark.value("FiPe"), QStringLiteral("Muster GmbH & Sohn"));
    QCOMPARE(doc.afterBookmark.value("VorgangsNr"), page->cbNummer->currentText());
    QCOMPARE(doc.afterBookmark.value("KundenNr"), detail->projectPage()->edtKNr->text());
    QCOMPARE(doc.afterBookmark.value("EndBetrag"), QStringLiteral("23,80 €"));
    QCOMPARE(doc.afterBookmark.value("SAnrede"), QStringLiteral("Sehr geehrte Damen und Herren,"));
    QCOMPARE(doc.tableStartingWith("Pos.").size(), 2);
    // nothing was saved, and the page still holds its changes
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungen"), QStringLiteral("0"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungenartikel"), QStringLiteral("0"));
    QVERIFY(!page->isClean());

    // the project page, after its template folder went away: the folder is named
    QVERIFY(QDir(env.path("Allgemein")).removeRecursively());
    detail->showPage(TfrmProjektDetail::ProjektPage);
    QCOMPARE(band->cbVorlage->count(), 0);
    band->btnWord->click();
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Warning).size(), 1);
    QVERIFY(env.dialogs().texts(ScriptedDialogs::Kind::Warning).first().contains(env.path("Allgemein")));
    QCOMPARE(opened.size(), 1);

    // an invoice page hidden for lack of permission is not exported
    env.state().Perm[6] = env.state().Perm[7] = false;
    detail->showPage(TfrmProjektDetail::RechnungPage);
    QVERIFY(!band->btnWord->isEnabled());
    detail->showPage(TfrmProjektDetail::AngebotPage);
    QVERIFY(band->btnWord->isEnabled());
    env.state().grantAll();

    // the band hidden by the user stays hidden in the next window
    detail->actWordTool->trigger();
    QVERIFY(!band->isVisible());
    detail->projectPage()->setClean(true);
    page->setClean(true);
    QVERIFY(detail->close());
    QCOMPARE(UserSettings().readBool(QStringLiteral("WordTool")), std::optional<bool>(false));
    detail.reset();
    detail = std::make_unique<TfrmProjektDetail>(env.state());
    detailPtr = detail.get();
    detail->openProject(1, 10, true, false);
    QVERIFY(!detail->actWordTool->isChecked());
    QVERIFY(!detail->wordBand->isVisible());

    SetDesktopOpener({});
    WordWriter::setDefaultTargetDir(QString());
}

QTEST_MAIN(TestWordTool)
#include "tst_wordtool.moc"
