#include "AddressWidgets.h"
#include "DocumentPage.h"
#include "DocumentStore.h"
#include "DunningPage.h"
#include "Formats.h"
#include "NumberEdit.h"
#include "ProjectFixtures.h"
#include "ProjectPage.h"
#include "ProjectStore.h"
#include "QueryRows.h"
#include "Settings.h"
#include "TestEnv.h"
#include "TfrmProjekt.h"
#include "TfrmProjektDetail.h"
#include "WindowHub.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QAction>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QStatusBar>
#include <QtTest>

namespace {

// The window list as far as these windows need it.
class ProjectHub : public WindowHub
{
public:
    explicit ProjectHub(TfrmProjektDetail *&detail) : m_detail(detail) {}
    bool has(Window w) const override { return w == Window::Project || w == Window::ContactDetail; }
    void showProject(qint64 p, qint64 c, bool company, bool isNew) override
    {
        if (m_detail)
            m_detail->openProject(p, c, company, isNew);
    }
    void showContactDetail(qint64 n) override { details << n; }
    void enableProjectSearchButton(bool e) override { searchButton = e; }
    QList<qint64> details;
    bool searchButton = true;

private:
    TfrmProjektDetail *&m_detail;
};

// Puts an article line into a page as the line-item window does, then lets the
// page recompute.
void addArticle(DocumentPage *page, const QString &name, const QString &qty, const QString &price, const QString &vat)
{
    LineList &lines = page->document().lines;
    int row = lines.lineCount();
    if (!lines.cell(row, LineList::Bezeichnung).isEmpty())
        row = lines.appendRow();
    lines.setCell(row, LineList::Pos, QStringLiteral("1"));
    lines.setCell(row, LineList::ArtikelNr, QStringLiteral("A-") + QString::number(row));
    lines.setCell(row, LineList::Bezeichnung, name);
    lines.setCell(row, LineList::Anzahl, qty);
    lines.setCell(row, LineList::Einzelpreis, price);
    lines.setCell(row, LineList::MwSt, vat);
    page->documentChanged();
}

void savePicture(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("ORVELLA_PICTURES");
    if (!dir.isEmpty())
        w->grab().save(dir + QLatin1Char('/') + name);
}

} // namespace

class TestProjectWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void newProjectFromCompany();
    void newProjectFromPerson();
    void numberTakenByAnotherWorkstation();
    void enterMovesToTheNextField();
    void vatPresetAndUid_data();
    void vatPresetAndUid();
    void projectPageSave();
    void invoiceSaveAndPick();
    void saveQuestionPaths_data();
    void saveQuestionPaths();
    void pagesKeepTheirDocuments();
    void closeQuestion();
    void withoutWritePermission();
    void dunningPageOffersNoSaveForNewNumbers();
    void dialogCommandsOnThePages();

private:
    TfrmProjektDetail *createProject(TestEnv &env, qint64 contact, bool company);
    std::unique_ptr<TfrmProjekt> m_new;
    std::unique_ptr<TfrmProjektDetail> m_detail;
    TfrmProjektDetail *m_detailPtr = nullptr;
    std::unique_ptr<ProjectHub> m_hub;
};

void TestProjectWindow::init()
{
    m_new.reset();
    m_detail.reset();
    m_detailPtr = nullptr;
    m_hub = std::make_unique<ProjectHub>(m_detailPtr);
}

TfrmProjektDetail *TestProjectWindow::createProject(TestEnv &env, qint64 contact, bool company)
{
    env.state().grantAll();
    env.state().hub = m_hub.get();
    env.state().SelectedID = contact;
    env.state().CompaniesShown = company;
    m_detail = std::make_unique<TfrmProjektDetail>(env.state());
    m_detailPtr = m_detail.get();
    m_new = std::make_unique<TfrmProjekt>(env.state());
    m_new->prepare();
    m_new->createProject();
    return m_detail.get();
}

void TestProjectWindow::newProjectFromCompany()
{
    TestEnv env;
    AddProjectContacts(env);
    WriteOwnCompany(env.home(), "Holz & Co.", "Sägeweg 1", "79100", "Freiburg");
    env.state().SelectedID = 10;
    env.state().CompaniesShown = true;
    env.state().hub = m_hub.get();
    TfrmProjekt w(env.state());
    w.prepare();
    const QString today = DateToStr(QDate::currentDate());
    QCOMPARE(w.edtPrName->text(), QStringLiteral("Muster GmbH-Bau-") + today);
    QCOMPARE(w.edtPrNr->text(), QStringLiteral("     000001"));
    QCOMPARE(w.edtKNr->text(), QStringLiteral("     000010"));
    QCOMPARE(w.grpContact->title(), QStringLiteral("Firma"));
    QVERIFY(w.edtAnrede->isHidden());
    QCOMPARE(w.edtZahlungsziel->text(), QStringLiteral("14")); // stored 0 gives the default
    QCOMPARE(w.edtRabatt->text(), QStringLiteral("3,00"));
    QCOMPARE(w.cbUSt->currentText(), QStringLiteral("19,00 %"));
    QCOMPARE(w.cbUSt->itemText(0), QStringLiteral("  7,00 %"));
    QCOMPARE(w.edtEFirma->text(), QStringLiteral("Holz & Co. - Sägeweg 1 - 79100 Freiburg"));
    QCOMPARE(w.grpAnschrift->value().strasse, QStringLiteral("Hauptstraße 1"));
    QCOMPARE(w.lstAnschrift->topLevelItemCount(), 2);
    QVERIFY(!m_hub->searchButton);
    // the delivery address is picked from the contact's list
    w.lstLieferanschrift->setCurrentItem(w.lstLieferanschrift->topLevelItem(1));
    Q_EMIT w.lstLieferanschrift->itemClicked(w.lstLieferanschrift->topLevelItem(1), 0);
    QCOMPARE(w.grpLieferanschrift->value().strasse, QStringLiteral("Lagerweg 9"));
    QCOMPARE(w.grpLieferanschrift->value().bez, QStringLiteral("Lager"));
    w.edtPrName->setText("Dach O'Brien");
    savePicture(&w, "neues-projekt.png");

    w.createProject();
    QCOMPARE(env.column("SELECT IDA || ':' || COALESCE(Bez,'') || ':' || COALESCE(Strasse,'') FROM pradresse ORDER BY IDA"),
             QStringList({"1:Hauptadresse:Hauptstraße 1", "2:Lager:Lagerweg 9", "3::"}));
    QCOMPARE(env.scalar("SELECT PrName FROM projekttofn WHERE IDP=1 AND IDFN=10"), QStringLiteral("Dach O'Brien"));
    QCOMPARE(allRows(env, "SELECT VName, NName, USt, Anschrift, LAnschrift, RAnschrift, Datum, UIDStatus, KNr "
                          "FROM projekt"),
             QStringList{"Muster GmbH/Bau/19,00 %/1/2/3/" + today + "/N/10"});
    QCOMPARE(env.column("SELECT RabattText || '|' || Zahlungsziel || '|' || Preisgruppe FROM projektrabatt WHERE PrNr=1"),
             QStringList{"Treuerabatt|14|Zwei"});
    QCOMPARE(env.scalar("SELECT Rabatt FROM projektrabatt"), QStringLiteral("3"));
    QCOMPARE(env.scalar("SELECT Sconto FROM projektrabatt"), QStringLiteral("2"));
    // a number, not the typed text (the server's column takes nothing else)
    if (!TestsOnServer())
        QCOMPARE(env.scalar("SELECT typeof(Rabatt) FROM projektrabatt"), QStringLiteral("real"));
}

void TestProjectWindow::numberTakenByAnotherWorkstation()
{
    TestEnv env;
    AddProjectContacts(env);
    env.state().SelectedID = 10;
    env.state().CompaniesShown = true;
    env.state().hub = m_hub.get();
    TfrmProjekt w(env.state());
    w.prepare();
    QCOMPARE(w.edtPrNr->text(), QStringLiteral("     000001"));
    // meanwhile another workstation creates its project under number 1
    env.exec("INSERT INTO projekt (PrNr, KNr) VALUES (1, 10)");
    env.exec("INSERT INTO projekttofn (IDP, IDFN, PrName) VALUES (1, 10, 'Fremd')");
    w.edtPrName->setText("Eigenes");
    w.createProject();
    QCOMPARE(env.dialogs().messages(), QStringList{"Die Projektnummer 000001 wurde inzwischen an einem anderen "
                                                   "Arbeitsplatz vergeben. Das Projekt wurde unter der Nummer 000002 "
                                                   "angelegt."});
    QCOMPARE(allRows(env, "SELECT IDP, PrName FROM projekttofn ORDER BY IDP"), (QStringList{"1/Fremd", "2/Eigenes"}));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM projektrabatt WHERE PrNr = 2"), QStringLiteral("1"));
}

void TestProjectWindow::newProjectFromPerson()
{
    TestEnv env;
    AddProjectContacts(env);
    TfrmProjektDetail *detail = createProject(env, 20, false);
    QCOMPARE(env.scalar("SELECT PrName FROM projekttofn"), "Hans-Meier-" + DateToStr(QDate::currentDate()));
    QCOMPARE(env.scalar("SELECT Zahlungsziel FROM projektrabatt"), QStringLiteral("0")); // persons keep 0
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Warning), QStringList{}); // 7 % is in the list
    // the project window shows the new project with filled pages
    QCOMPARE(detail->currentPage(), int(TfrmProjektDetail::ProjektPage));
    QCOMPARE(detail->projectPage()->edtVName->text(), QStringLiteral("Hans"));
    QVERIFY(!detail->projectPage()->edtAnrede->isHidden());
    QCOMPARE(detail->projectPage()->edtKNr->text(), QStringLiteral("      000020"));
    DocumentPage *quote = detail->documentPage(DocumentKind::Angebot);
    QCOMPARE(quote->edtName->text(), QStringLiteral("Herr Dr. Hans Meier"));
    QCOMPARE(quote->edtPlzOrt->text(), QStringLiteral("79098 Freiburg"));
    QCOMPARE(quote->edtKNr->text(), QStringLiteral("       000020"));
    detail->showPage(TfrmProjektDetail::AngebotPage);
    QCOMPARE(detail->windowTitle(), QStringLiteral("Projekt Angebote"));
    QCOMPARE(quote->cbNummer->itemText(0), QStringLiteral("      000001"));
    QVERIFY(!quote->btnSave->isEnabled()); // nothing to save until lines are entered
    // a person without title gives no double blank
    env.exec("UPDATE projekt SET Titel=''");
    detail->projectPage()->load(1);
    detail->activate();
    QCOMPARE(quote->edtName->text(), QStringLiteral("Herr Hans Meier"));
}

void TestProjectWindow::enterMovesToTheNextField()
{
    TestEnv env;
    AddProjectContacts(env);
    TfrmProjektDetail *detail = createProject(env, 20, false);
    const auto enterIn = [](QWidget *window, QLineEdit *field) {
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            return static_cast<QWidget *>(nullptr);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        return QApplication::focusWidget();
    };
    // The label of the next row is passed over.
    QCOMPARE(enterIn(m_new.get(), m_new->edtAnrede), m_new->edtTitel);
    QCOMPARE(enterIn(m_new.get(), m_new->edtTitel), m_new->edtVName);
    QCOMPARE(enterIn(m_new.get(), m_new->edtSkonto), m_new->edtZahlungsziel);
    m_new->hide();
    ProjectPage *page = detail->projectPage();
    QCOMPARE(enterIn(detail, page->edtTitel), page->edtVName);
    QCOMPARE(enterIn(detail, page->edtRabattText), page->edtRabatt);
}

void TestProjectWindow::vatPresetAndUid_data()
{
    QTest::addColumn<QString>("rates");   // prust contents
    QTest::addColumn<QString>("mwst");    // the contact's preset
    QTest::addColumn<QString>("uid");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("warning");
    QTest::newRow("preset missing") << "0,16" << "7" << "" << "  7,00 %"
                                    << "Achtung! Voreingestellter Steuersatz   7,00 % nicht in der Steuersatzliste!";
    QTest::newRow("preset found") << "7,19" << "19" << "" << "19,00 %" << "";
    QTest::newRow("uid takes the lowest") << "7,19" << "19" << "DE123456789" << "  7,00 %" << "";
}

void TestProjectWindow::vatPresetAndUid()
{
    QFETCH(QString, rates);
    QFETCH(QString, mwst);
    QFETCH(QString, uid);
    QFETCH(QString, shown);
    QFETCH(QString, warning);
    TestEnv env;
    AddProjectContacts(env);
    env.exec("DELETE FROM prust");
    for (const QString &r : rates.split(','))
        env.exec("INSERT INTO prust (UStSatz) VALUES (" + r + ")");
    env.exec(QStringLiteral("UPDATE firmamehr SET MwSt=%1, UID='%2'").arg(mwst, uid));
    env.state().SelectedID = 10;
    TfrmProjekt w(env.state());
    w.prepare();
    QCOMPARE(w.cbUSt->currentText(), shown);
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Warning), warning.isEmpty() ? QStringList{} : QStringList{warning});
    QCOMPARE(w.chkUID->isEnabled(), !uid.isEmpty());
    QVERIFY(!w.chkUID->isChecked());
    w.createProject();
    QCOMPARE(env.scalar("SELECT USt FROM projekt"), shown);
}

void TestProjectWindow::projectPageSave()
{
    TestEnv env;
    AddProjectContacts(env);
    TfrmProjektDetail *detail = createProject(env, 10, true);
    ProjectPage *page = detail->projectPage();
    QVERIFY(page->isClean());
    page->edtRabatt->setText("3,5");
    Q_EMIT page->edtRabatt->textEdited("3,5");
    QVERIFY(!page->isClean());
    page->edtZahlungsziel->clear();
    page->edtVName->setText("Muster & Söhne GmbH");
    page->grpRechnungsanschrift->edtStrasse->setText("Postfach 12");
    page->grpRechnungsanschrift->edtOrt->setText("Stuttgart");
    page->edtUID->setText("DE999");
    Q_EMIT page->edtUID->textEdited("DE999");
    QCOMPARE(page->cbUSt->currentText(), QStringLiteral("  0,00 %"));
    QVERIFY(page->chkUID->isEnabled());
    // unsaved edits on the project page survive another activation
    detail->activate();
    QCOMPARE(page->edtVName->text(), QStringLiteral("Muster & Söhne GmbH"));
    page->btnSave->click();
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Information), QStringList{"Änderungen gespeichert."});
    QCOMPARE(env.scalar("SELECT Rabatt FROM projektrabatt"), QStringLiteral("3,5"));
    // empty term, no error: '' in the file, nothing on the server
    QCOMPARE(env.scalar(TestsOnServer() ? "SELECT COUNT(*) FROM projektrabatt WHERE Zahlungsziel IS NULL"
                                        : "SELECT COUNT(*) FROM projektrabatt WHERE Zahlungsziel = ''"),
             QStringLiteral("1"));
    QCOMPARE(env.scalar("SELECT VName FROM projekt"), QStringLiteral("Muster & Söhne GmbH"));
    QCOMPARE(env.scalar("SELECT Strasse FROM pradresse WHERE IDA=3"), QStringLiteral("Postfach 12"));
    QVERIFY(page->isClean());
    QCOMPARE(page->edtRabatt->text(), QStringLiteral("3,50"));
    // the clean document pages follow the saved project
    QCOMPARE(detail->documentPage(DocumentKind::Angebot)->edtName->text(), QStringLiteral("Muster & Söhne GmbH"));
    QCOMPARE(detail->documentPage(DocumentKind::Rechnung)->edtStrasse2->text(), QStringLiteral("Postfach 12"));
    QCOMPARE(detail->documentPage(DocumentKind::Rechnung)->edtPlzOrt2->text(), QStringLiteral("Stuttgart"));
    QCOMPARE(detail->documentPage(DocumentKind::Ablage)->edtPlzOrt2->text(), QStringLiteral(" Stuttgart"));
    QCOMPARE(detail->documentPage(DocumentKind::Rechnung)->edtUID->text(), QStringLiteral("DE999"));
    // a bad percentage refuses the save and writes nothing
    page->edtSkonto->setText("1,2,3");
    page->btnSave->click();
    QVERIFY(env.dialogs().texts(ScriptedDialogs::Kind::Error).last().startsWith("\"Skonto %\": \"1,2,3\" ist kein"));
    QCOMPARE(env.scalar("SELECT Sconto FROM projektrabatt"), QStringLiteral("2"));
    // the detail view opens for the customer
    page->btnDetail->click();
    QCOMPARE(m_hub->details, QList<qint64>{10});
}

void TestProjectWindow::invoiceSaveAndPick()
{
    TestEnv env;
    AddProjectContacts(env);
    TfrmProjektDetail *detail = createProject(env, 10, true);
    detail->showPage(TfrmProjektDetail::RechnungPage);
    DocumentPage *page = detail->documentPage(DocumentKind::Rechnung);
    QVERIFY(page->isEditMode());
    addArticle(page, "Dachlatte", "1,5", "1.234,50", "16,00 %");
    QVERIFY(!page->isClean());
    QVERIFY(!page->cbNummer->isEnabled()); // a modified page keeps its list
    QCOMPARE(page->document().totals.gross(), QStringLiteral("2.148,03 €"));
    QVERIFY(page->btnSave->isEnabled());
    page->dtDatum->setDate(QDate(2004, 3, 1));
    page->btnSave->click();
    QVERIFY(page->isClean());
    QVERIFY(!page->isEditMode());
    QCOMPARE(detail->statusBar()->currentMessage(), QStringLiteral("Rechnung 000001 gespeichert."));
    QVERIFY(page->actChange->isEnabled());
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungen"), QStringLiteral("1"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungenanschrift"), QStringLiteral("2"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungenztext"), QStringLiteral("4"));
    QCOMPARE(allRows(env, "SELECT EDatum, Name FROM rechnungenop WHERE RNR=1"),
             QStringList{"15.03.2004/Muster GmbH"});
    QCOMPARE(env.scalar("SELECT Betrag FROM rechnungenop WHERE RNR=1"), QStringLiteral("2148,03"));
    QCOMPARE(env.column("SELECT Netto FROM rechnungenbetrag UNION ALL SELECT Brutto FROM rechnungenbetrag"),
             QStringList({"1851,75", "2148,03"}));
    // the current number first, then the stored documents; the stored one is selected
    QCOMPARE(page->cbNummer->count(), 2);
    QCOMPARE(page->cbNummer->itemText(1), QStringLiteral("      000001"));
    QCOMPARE(page->cbNummer->currentIndex(), 1);

    // a new invoice, then pick the saved one again from the list
    QVERIFY(page->cmdNew());
    QCOMPARE(page->currentNumber(), qint64(2));
    QCOMPARE(page->document().lines.lineCount(), 1);
    QCOMPARE(page->dtDatum->date(), QDate::currentDate());
    page->pickDocument(page->cbNummer->findText("      000001"));
    QCOMPARE(page->currentNumber(), qint64(1));
    QCOMPARE(page->document().lines.cell(1, LineList::Bezeichnung), QStringLiteral("Dachlatte"));
    QCOMPARE(page->dtDatum->date(), QDate(2004, 3, 1));
    QVERIFY(!page->isEditMode());
    // activations never change the date of a stored document
    detail->activate();
    QCOMPARE(page->dtDatum->date(), QDate(2004, 3, 1));
    savePicture(detail, "projekt-rechnung.png");
    detail->showPage(TfrmProjektDetail::ProjektPage);
    savePicture(detail, "projekt-allgemein.png");
}

void TestProjectWindow::saveQuestionPaths_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<qint64>("shownAfter");
    QTest::newRow("Yes saves and goes on") << int(Dialogs::Answer::Yes) << true << qint64(1);
    QTest::newRow("No discards and goes on") << int(Dialogs::Answer::No) << false << qint64(1);
    QTest::newRow("Cancel stays") << int(Dialogs::Answer::Cancel) << false << qint64(2);
}

void TestProjectWindow::saveQuestionPaths()
{
    QFETCH(int, answer);
    QFETCH(bool, saved);
    QFETCH(qint64, shownAfter);
    TestEnv env;
    AddProjectContacts(env);
    TfrmProjektDetail *detail = createProject(env, 10, true);
    detail->showPage(TfrmProjektDetail::AngebotPage);
    DocumentPage *page = detail->documentPage(DocumentKind::Angebot);
    addArticle(page, "Erstes", "1", "10,00", "19,00 %");
    page->btnSave->click();
    QVERIFY(page->cmdNew());
    addArticle(page, "Zweites", "2", "5,00", "19,00 %");
    // another page and back: the unsaved quotation stays
    detail->showPage(TfrmProjektDetail::AuftragPage);
    detail->showPage(TfrmProjektDetail::AngebotPage);
    QCOMPARE(page->document().lines.cell(1, LineList::Bezeichnung), QStringLiteral("Zweites"));
    QVERIFY(!page->isClean());
    env.dialogs().answer(Dialogs::Answer(answer));
    page->pickDocument(page->cbNummer->findText("      000001"));
    QCOMPARE(env.dialogs().questions(),
             QStringList{"Daten wurden verändert aber nicht gesichert.Wollen Sie diese Daten jetz speichern? "});
    QCOMPARE(env.dialogs().questionButtons(), QStringList{"Ja/Nein/Abbrechen"});
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM angebote WHERE BelegNr=2"), saved ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(page->currentNumber(), shownAfter);
    QCOMPARE(page->isClean(), shownAfter == 1);
}

void TestProjectWindow::pagesKeepTheirDocuments()
{
    TestEnv env;
    AddProjectContacts(env);
    TfrmProjektDetail *detail = createProject(env, 10, true);
    DocumentPage *page = detail->documentPage(DocumentKind::Angebot);
    detail->showPage(TfrmProjektDetail::AngebotPage);
    QVERIFY(page->cmdNew());
    // a save that refuses (no lines) answered with Yes does not discard the page
    page->edtName->setText("Geänderter Name");
    Q_EMIT page->edtName->textEdited("Geänderter Name");
    env.dialogs().answer(Dialogs::Answer::Yes);
    QVERIFY(!page->cmdNew());
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Warning),
             QStringList{"Es konnte nicht gespeichert werden weil keine Artikel eingetragen sind!"});
    QCOMPARE(page->edtName->text(), QStringLiteral("Geänderter Name"));
    QVERIFY(!page->isClean());
    // a modified page does not take the project's name over it
    detail->activate();
    QCOMPARE(page->edtName->text(), QStringLiteral("Geänderter Name"));
}

void TestProjectWindow::closeQuestion()
{
    TestEnv env;
    AddProjectContacts(env);
    TfrmProjektDetail *detail = createProject(env, 10, true);
    detail->showPage(TfrmProjektDetail::AngebotPage);
    DocumentPage *page = detail->documentPage(DocumentKind::Angebot);
    addArticle(page, "Ungesichert", "1", "1,00", "19,00 %");
    env.dialogs().answer(Dialogs::Answer::Cancel);
    QVERIFY(!detail->close());
    QVERIFY(detail->isVisible());
    QCOMPARE(page->document().lines.cell(1, LineList::Bezeichnung), QStringLiteral("Ungesichert"));
    QVERIFY(env.dialogs().questions().first().startsWith("In einem oder mehreren Vorgängen"));
    QCOMPARE(env.dialogs().questionButtons(), QStringList{"Ja/Abbrechen"});
    env.dialogs().answer(Dialogs::Answer::Yes);
    QVERIFY(detail->close());
    QVERIFY(m_hub->searchButton);
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM angebote"), QStringLiteral("0"));
    // reopened, the window starts from the tables: the project and the pages filled again
    detail->openProject(1, 10, true, false);
    QCOMPARE(page->document().lines.lineCount(), 1);
    QVERIFY(page->document().lines.cell(1, LineList::Bezeichnung).isEmpty());
    QCOMPARE(detail->projectPage()->edtVName->text(), QStringLiteral("Muster GmbH"));
    QCOMPARE(page->edtName->text(), QStringLiteral("Muster GmbH"));
    QVERIFY(detail->statusBar()->currentMessage().isEmpty());
}

void TestProjectWindow::withoutWritePermission()
{
    TestEnv env;
    AddProjectContacts(env);
    TfrmProjektDetail *detail = createProject(env, 10, true);
    env.state().Perm[6] = false;
    env.state().Perm[7] = true;
    detail->activate();
    ProjectPage *project = detail->projectPage();
    QVERIFY(project->edtVName->isReadOnly());
    QVERIFY(!project->btnSave->isEnabled());
    QVERIFY(!project->lstAdressen->isEnabled());
    detail->showPage(TfrmProjektDetail::AngebotPage);
    DocumentPage *quote = detail->documentPage(DocumentKind::Angebot);
    QVERIFY(quote->edtName->isReadOnly());
    QVERIFY(!quote->btnSave->isEnabled());
    QVERIFY(!quote->btnNew->isEnabled());
    QVERIFY(!quote->dtDatum->isEnabled());
    DocumentPage *invoice = detail->documentPage(DocumentKind::Rechnung);
    QVERIFY(!invoice->grpDocument->isHidden());
    // without the right to read invoices the invoice-like pages say so
    env.state().Perm[7] = false;
    detail->activate();
    QVERIFY(invoice->grpDocument->isHidden());
    QVERIFY(!invoice->lblNoPermission->isHidden());
    QVERIFY(detail->documentPage(DocumentKind::Gutschrift)->grpDocument->isHidden());
    QVERIFY(detail->dunningPage()->grpDocument->isHidden());
    QVERIFY(!quote->grpDocument->isHidden());
}

void TestProjectWindow::dunningPageOffersNoSaveForNewNumbers()
{
    TestEnv env;
    AddProjectContacts(env);
    TfrmProjektDetail *detail = createProject(env, 10, true);
    env.exec("INSERT INTO rechnungenop (RNR, MStufe, Gebucht) VALUES (5, 2, 'N')");
    env.exec("INSERT INTO mahnungen (BelegNr, RNr, MNr, ProjektNr, Datum, RL, EFirma) VALUES (3, 5, 2, 1, "
             "'01.02.2026', 'N', 'Holz')");
    env.exec("INSERT INTO mahnungentext (BelegNr, Text) VALUES (3, 'Sehr geehrte Damen und Herren,')");
    env.exec("INSERT INTO mahnungenanschrift (BelegNr, Art, Name) VALUES (3, 'A', 'Muster GmbH')");
    env.exec("INSERT INTO mahnungenanschrift (BelegNr, Art, Name) VALUES (3, 'R', '')");
    detail->showPage(TfrmProjektDetail::MahnungPage);
    DunningPage *page = detail->dunningPage();
    QCOMPARE(page->cbNummer->itemText(0), QStringLiteral("      000004"));
    QVERIFY(!page->actChange->isEnabled());
    QVERIFY(!page->btnSave->isEnabled());
    page->pickDocument(1);
    QCOMPARE(page->lblLevel->text(), QStringLiteral("2. Mahnung"));
    QCOMPARE(page->lblInvoice->text(), QStringLiteral("Rechnung 000005/"));
    QVERIFY(page->actChange->isEnabled());
    page->cmdChange();
    page->memLetter->setPlainText("Sehr geehrte Damen und Herren,\nbitte zahlen Sie.");
    QVERIFY(page->btnSave->isEnabled());
    QVERIFY(page->cmdSave());
    QCOMPARE(env.scalar("SELECT MStufe FROM rechnungenop WHERE RNR=5"), QStringLiteral("2"));
    QCOMPARE(env.scalar("SELECT Text FROM mahnungentext WHERE BelegNr=3"), QStringLiteral("Sehr geehrte Damen und Herren,"));
    // a letter has at most 25 lines
    page->cmdChange();
    QStringList lines;
    for (int i = 1; i <= 25; ++i)
        lines << QStringLiteral("Zeile %1").arg(i);
    page->memLetter->setPlainText(lines.join('\n'));
    QTextCursor end = page->memLetter->textCursor();
    end.movePosition(QTextCursor::End);
    page->memLetter->setTextCursor(end);
    QTest::keyClick(page->memLetter, Qt::Key_Return);
    QTest::keyClicks(page->memLetter, "x");
    QCOMPARE(page->memLetter->document()->blockCount(), 25);
    QVERIFY(page->memLetter->toPlainText().endsWith("Zeile 25x"));
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Information).value(0),
             QStringLiteral("Maximale Anzahl der Linien erreicht!"));
}

void TestProjectWindow::dialogCommandsOnThePages()
{
    TestEnv env;
    AddProjectContacts(env);
    TfrmProjektDetail *detail = createProject(env, 10, true);
    DocumentPage *quote = detail->documentPage(DocumentKind::Angebot);
    DocumentPage *invoice = detail->documentPage(DocumentKind::Rechnung);
    DocumentPage *credit = detail->documentPage(DocumentKind::Gutschrift);
    detail->showPage(TfrmProjektDetail::AngebotPage);
    QVERIFY(quote->btnArticles->isEnabled());
    QVERIFY(quote->btnRabatt->isEnabled());
    QVERIFY(quote->btnSkonto->isHidden());
    QVERIFY(quote->btnZusatztext->isEnabled());
    detail->showPage(TfrmProjektDetail::RechnungPage);
    QVERIFY(!invoice->btnSkonto->isHidden());
    QVERIFY(invoice->btnSkonto->isEnabled());
    // the credit note's lines come from its invoice: changed only after "ändern"
    detail->showPage(TfrmProjektDetail::GutschriftPage);
    QVERIFY(!credit->btnArticles->isEnabled());
    QVERIFY(!credit->btnZusatztext->isEnabled());
    // a saved quotation is read-only until "Angebot ändern"
    detail->showPage(TfrmProjektDetail::AngebotPage);
    addArticle(quote, "Kantholz", "2", "24,90", "19,00 %");
    quote->btnSave->click();
    QVERIFY(!quote->btnArticles->isEnabled());
    QVERIFY(!quote->btnRabatt->isEnabled());
    quote->actChange->trigger();
    QVERIFY(quote->btnArticles->isEnabled());
    QVERIFY(quote->btnSave->isEnabled());
    QVERIFY(!quote->actChange->isEnabled());
}

QTEST_MAIN(TestProjectWindow)
#include "tst_projectwindow.moc"
