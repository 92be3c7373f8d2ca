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
#include <QToolBar>
#include <QtTest>

namespace {

class Hub : public WindowHub
{
public:
    TfrmProjektDetail *detail = nullptr;
    bool has(Window w) const override { return w == Window::Project; }
    void showProject(qint64 p, qint64 c, bool company, bool isNew) override { detail->openProject(p, c, company, isNew); }
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
    Hub hub;
    env.state().grantAll();
    env.state().SelectedID = 10;
    env.state().hub = &hub;
    auto detail = std::make_unique<TfrmProjektDetail>(env.state());
    hub.detail = detail.get();
    TfrmProjekt create(env.state());
    create.prepare();
    create.createProject();

    WordToolBand *band = detail->wordBand;
    QVERIFY(band->isVisible() && detail->actWordTool->isEnabled() && detail->actWordTool->isChecked());
    QCOMPARE(band->btnWord->toolTip(), "Allgemeine Daten in ein Worddokument übernehmen");
    QCOMPARE(entries(band->cbVorlage), (QStringList{"Brief.dotx", "Brief.ott", "Projekt.dotx", "Projekt.ott"}));

    // the invoice page: its folder and hint; a chosen template stays chosen
    detail->showPage(TfrmProjektDetail::RechnungPage);
    QCOMPARE(band->btnWord->toolTip(), "Rechnung in ein Worddokument übernehemen");
    QCOMPARE(entries(band->cbVorlage), (QStringList{"Rechnung.dotx", "Rechnung.ott"}));
    band->cbVorlage->setCurrentIndex(1);
    detail->activate();
    QCOMPARE(band->templateName(), "Rechnung.ott");

    // an unsaved invoice whose name was typed over the project's
    DocumentPage *page = detail->documentPage(DocumentKind::Rechnung);
    page->document().lines.setLines({{"1", "A-1", "Dachlatte", "2", "10,00", "", "19,00 %"}});
    page->documentChanged();
    QTest::keyClicks(page->edtName, " & Sohn");
    band->btnWord->click();
    QCOMPARE(env.dialogs().messages(), QStringList());
    QCOMPARE(opened.size(), 1);
    const ReadBackDocument doc = ReadBackWordDocument(opened.first().toLocalFile());
    QCOMPARE(doc.afterBookmark.value("FiPe"), "Muster GmbH & Sohn");
    QCOMPARE(doc.afterBookmark.value("VorgangsNr"), page->cbNummer->currentText());
    QCOMPARE(doc.afterBookmark.value("KundenNr"), detail->projectPage()->edtKNr->text());
    QCOMPARE(doc.afterBookmark.value("SAnrede"), "Sehr geehrte Damen und Herren,");
    QCOMPARE(doc.tableStartingWith("Pos.").rows.value(1).cells.value(2).text, "Dachlatte");
    // nothing was saved, and the page keeps its changes
    QCOMPARE(env.scalar("SELECT (SELECT COUNT(*) FROM rechnungen) + (SELECT COUNT(*) FROM rechnungenartikel)"), "0");
    QVERIFY(!page->isClean());

    // a page hidden for lack of permission is not exported
    env.state().Perm[6] = env.state().Perm[7] = false;
    detail->showPage(TfrmProjektDetail::GutschriftPage);
    QVERIFY(!band->btnWord->isEnabled());
    detail->showPage(TfrmProjektDetail::AngebotPage);
    QVERIFY(band->btnWord->isEnabled());
    env.state().grantAll();

    // the project page after its template folder went away: the folder is named
    QVERIFY(QDir(env.path("Allgemein")).removeRecursively());
    detail->showPage(TfrmProjektDetail::ProjektPage);
    band->btnWord->click();
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Warning).size(), 1);
    QVERIFY(env.dialogs().texts(ScriptedDialogs::Kind::Warning).first().contains(env.path("Allgemein")));
    QCOMPARE(opened.size(), 1);

    // the bands stand "Drucktool", "Wordtool", "DruckJob" from the left, each
    // where the shown one before it ends
    const auto bandsFromLeft = [&] {
        QCoreApplication::processEvents();
        QList<QToolBar *> bands;
        for (QToolBar *b : detail->findChildren<QToolBar *>())
            if (b->isVisible() && b->objectName() != QLatin1String("toolBar"))
                bands << b;
        std::sort(bands.begin(), bands.end(), [](QToolBar *a, QToolBar *b) { return a->x() < b->x(); });
        QStringList out;
        for (int i = 0; i < bands.size(); ++i) {
            out << bands[i]->windowTitle();
            if (i > 0 && bands[i]->y() == bands[i - 1]->y() && bands[i]->x() < bands[i - 1]->geometry().right())
                out << "overlaps";
        }
        return out;
    };
    QCOMPARE(bandsFromLeft(), QStringList({"Drucktool", "Wordtool", "DruckJob"}));
    // the band hidden by the user stays hidden in the next window
    detail->actWordTool->trigger();
    QVERIFY(!band->isVisible());
    QCOMPARE(bandsFromLeft(), QStringList({"Drucktool", "DruckJob"}));
    page->setClean(true);
    QVERIFY(detail->close());
    QCOMPARE(UserSettings().readBool("WordTool"), std::optional<bool>(false));
    detail = std::make_unique<TfrmProjektDetail>(env.state());
    detail->openProject(1, 10, true, false);
    QVERIFY(!detail->actWordTool->isChecked() && !detail->wordBand->isVisible());

    SetDesktopOpener({});
    WordWriter::setDefaultTargetDir(QString());
}

QTEST_MAIN(TestWordTool)
#include "tst_wordtool.moc"
