#include "DateInput.h"
#include "DocumentFixtures.h"
#include "DocumentStore.h"
#include "Formats.h"
#include "ProjectSearchFields.h"
#include "ProjectWindowFixtures.h"
#include "TfrmProjektSuche.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

namespace {

const QString OtherProjectQuestion = QStringLiteral(
    "Sie haben einen Vorgang aus einem anderem als dem aktuellen Projekt ausgewählt. Im aktuellen Projekt befinden "
    "sich noch ungesicherte Vorgänge. Wenn Sie auf Ja klicken gehen diese Vorgänge verloren und Sie wechseln zu "
    "einem anderem Projekt!");

QStringList column(QTableView *view, int column)
{
    QStringList out;
    for (int r = 0; r < view->model()->rowCount(); ++r)
        out << view->model()->index(r, column).data().toString();
    return out;
}

// Project 1 of the company with invoices 1 and 2, project 2 of the person with
// quotation 1; the project window shows project 2.
struct SearchSetup
{
    explicit SearchSetup(TestEnv &env) : f(env)
    {
        f.newProject(10, true);
        DocumentStore store(env.db(), env.dialogs());
        for (qint64 n : {1, 2}) {
            Document d = sampleDocument(DocumentKind::Rechnung, n, {"1|H-1|Brett|2|10,00|19,00 %"});
            d.projectNumber = 1;
            d.date = DateToStr(QDate::currentDate());
            store.save(d);
        }
        f.newProject(20, false);
        Document q = sampleDocument(DocumentKind::Angebot, 1, {"1|H-2|Latte|3|4,00|19,00 %"});
        q.projectNumber = 2;
        q.date = DateToStr(QDate::currentDate());
        store.save(q);
        search = std::make_unique<TfrmProjektSuche>(env.state(), f.detail.get());
    }
    ProjectWindowFixture f;
    std::unique_ptr<TfrmProjektSuche> search;
};

} // namespace

class TestProjectSearchWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openAnInvoice();
    void typedPeriod_data();
    void typedPeriod();
    void unsavedDocuments_data();
    void unsavedDocuments();
};

void TestProjectSearchWindow::openAnInvoice()
{
    TestEnv env;
    AddProjectContacts(env);
    SearchSetup s(env);
    TfrmProjektSuche &w = *s.search;
    s.f.page(DocumentKind::Angebot)->openDocument(1); // project 2's quotation is shown
    // Without the permission to read invoices their kinds are not offered.
    env.state().CompaniesShown = true;
    env.state().Perm[7] = false;
    w.prepare(TfrmProjektDetail::RechnungPage, 2);
    QCOMPARE(w.grpSuche->cbVorgangsart->count(), 5);
    QCOMPARE(w.grpSuche->cbVorgangsart->currentText(), QStringLiteral("Projekt"));
    // Opened from the project window's invoice page: the invoices are searched.
    env.state().Perm[7] = true;
    w.prepare(TfrmProjektDetail::RechnungPage, 2);
    QCOMPARE(w.grpSuche->cbVorgangsart->currentText(), QStringLiteral("Rechnung"));
    QCOMPARE(w.grpSuche->cbKundennummer->itemText(0), QStringLiteral("000010"));
    QVERIFY(!s.f.searchButton);
    // A search that finds nothing leaves the list empty, without a word.
    w.grpSuche->edtName->setText(QStringLiteral("O'Muster"));
    w.btnSuchen->click();
    QCOMPARE(w.tblResults->model()->rowCount(), 0);
    QVERIFY(!w.btnOK->isEnabled());
    QVERIFY(env.dialogs().log().isEmpty());
    w.grpSuche->edtName->setText(QStringLiteral("Muster"));
    w.btnSuchen->click();
    QCOMPARE(column(w.tblResults, ProjectSearchModel::Vorgang), QStringList({"Rechnung 000002", "Rechnung 000001"}));
    QCOMPARE(column(w.tblResults, ProjectSearchModel::Kontakt), QStringList({"Muster GmbH", "Muster GmbH"}));
    w.tblResults->selectRow(1);
    QCOMPARE(w.lblNachname->text(), QStringLiteral("Branche"));
    QCOMPARE(QStringList({w.edtVorname->text(), w.edtNachname->text(), w.edtProjektNr->text(), w.edtKundenNr->text(),
                          w.edtVorgangsNr->text()}),
             QStringList({"Muster GmbH", "Bau", "    000001", "    000010", "      000001"}));

    w.btnOK->click();
    TfrmProjektDetail &d = *s.f.detail;
    QCOMPARE(d.projectNumber(), qint64(1));
    QCOMPARE(d.customer(), qint64(10));
    QCOMPARE(d.currentPage(), int(TfrmProjektDetail::RechnungPage));
    DocumentPage *invoice = s.f.page(DocumentKind::Rechnung);
    QCOMPARE(invoice->cbNummer->currentText(), QStringLiteral("      000001"));
    QCOMPARE(invoice->document().lines.cell(1, LineList::Bezeichnung), QStringLiteral("Brett"));
    QVERIFY(!invoice->isEditMode() && invoice->isClean());
    // the quotation of project 2 is gone with the project change
    QCOMPARE(s.f.page(DocumentKind::Angebot)->document().lines.cell(1, LineList::Bezeichnung), QString());
    QVERIFY(!w.isVisible());

    // Opening a dunning letter sets the invoice page's number to 0: it draws anew.
    Document letter(DocumentKind::Mahnung);
    letter.number = 1;
    letter.invoiceNumber = 1;
    letter.projectNumber = 1;
    letter.dunningLevel = 1;
    letter.date = DateToStr(QDate::currentDate());
    letter.letterLines = {QStringLiteral("Sehr geehrte Damen und Herren,")};
    QVERIFY(DocumentStore(env.db(), env.dialogs()).insertDunningLetter(letter));
    w.prepare(TfrmProjektDetail::MahnungPage, 1);
    w.grpSuche->edtName->clear();
    w.btnSuchen->click();
    QCOMPARE(column(w.tblResults, ProjectSearchModel::Vorgang), QStringList{"Mahnung 000001"});
    w.btnOK->click();
    QCOMPARE(d.currentPage(), int(TfrmProjektDetail::MahnungPage));
    QCOMPARE(invoice->currentNumber(), qint64(0));
}

void TestProjectSearchWindow::typedPeriod_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("period");   // what the window says it searches
    QTest::addColumn<QStringList>("found"); // or the message
    const QString yearAgo = DateToStr(QDate::currentDate().addYears(-1));
    const QString today = DateToStr(QDate::currentDate());
    const QString monthAgo = DateToStr(QDate::currentDate().addDays(-30));
    QTest::newRow("the last month: not the old invoice")
        << monthAgo << today << "Gesucht wird vom " + monthAgo + " bis zum " + today + "."
        << QStringList{"Rechnung 000002", "Rechnung 000001"};
    QTest::newRow("typed: a year back") << yearAgo << yearAgo << "Gesucht wird vom " + yearAgo + " bis zum " + yearAgo + "."
                                        << QStringList{"Rechnung 000003"};
    QTest::newRow("empty von: from the first")
        << "" << today << "Gesucht wird vom ersten Vorgang an bis zum " + today + "."
        << QStringList{"Rechnung 000003", "Rechnung 000002", "Rechnung 000001"};
    QTest::newRow("no date") << "31.02.2025" << today << "Bitte das Datum als TT.MM.JJJJ eingeben."
                             << QStringList{"„31.02.2025“ ist kein Datum. Bitte das Datum als TT.MM.JJJJ eingeben oder "
                                            "das Feld leer lassen."};
}

// The period is typed; an empty start reaches back to the first document, and
// the window says what it searches.
void TestProjectSearchWindow::typedPeriod()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, period);
    QFETCH(QStringList, found);
    TestEnv env;
    AddProjectContacts(env);
    SearchSetup s(env);
    Document old = sampleDocument(DocumentKind::Rechnung, 3, {"1|H-1|Brett|2|10,00|19,00 %"});
    old.projectNumber = 1;
    old.date = DateToStr(QDate::currentDate().addYears(-1));
    DocumentStore(env.db(), env.dialogs()).save(old);
    TfrmProjektSuche &w = *s.search;
    env.state().CompaniesShown = true;
    w.prepare(TfrmProjektDetail::RechnungPage, 2);
    w.show();
    for (auto [field, text] : {std::pair{w.grpSuche->dtVon, from}, std::pair{w.grpSuche->dtBis, to}}) {
        field->edit()->clear();
        QTest::keyClicks(field->edit(), text);
        QTest::keyClick(field->edit(), Qt::Key_Tab);
    }
    QCOMPARE(w.grpSuche->lblZeitraum->text(), period);
    w.btnSuchen->click();
    if (found.value(0).startsWith(QStringLiteral("Rechnung")))
        QCOMPARE(column(w.tblResults, ProjectSearchModel::Vorgang), found);
    else
        QCOMPARE(env.dialogs().messages(), found);
}

void TestProjectSearchWindow::unsavedDocuments_data()
{
    QTest::addColumn<bool>("otherProject");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("opened");
    QTest::newRow("another project, Yes") << true << int(Dialogs::Answer::Yes) << OtherProjectQuestion << true;
    QTest::newRow("another project, Cancel") << true << int(Dialogs::Answer::Cancel) << OtherProjectQuestion << false;
    const QString page = QStringLiteral(
        "In der Angebotsablage befindet sich ein ungesichertes Dokument. Wollen Sie dies überschreiben ?");
    QTest::newRow("same project, Yes") << false << int(Dialogs::Answer::Yes) << page << true;
    QTest::newRow("same project, Cancel") << false << int(Dialogs::Answer::Cancel) << page << false;
}

void TestProjectSearchWindow::unsavedDocuments()
{
    QFETCH(bool, otherProject);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(bool, opened);
    TestEnv env;
    AddProjectContacts(env);
    SearchSetup s(env);
    TfrmProjektSuche &w = *s.search;
    // A second quotation of project 2 is being written.
    DocumentPage *quote = s.f.page(DocumentKind::Angebot);
    s.f.detail->showPage(TfrmProjektDetail::AngebotPage);
    addArticle(quote, "Ungesichert", "1", "1,00");
    QVERIFY(!quote->isClean());

    w.prepare(TfrmProjektDetail::AngebotPage, 2);
    // project 1 is the company's, project 2 the person's
    (otherProject ? w.grpSuche->rbFirmen : w.grpSuche->rbPersonen)->setChecked(true);
    w.grpSuche->selectKind(otherProject ? std::optional<DocumentKind>() : DocumentKind::Angebot);
    w.btnSuchen->click();
    QCOMPARE(w.tblResults->model()->rowCount(), 1);
    env.dialogs().answer(Dialogs::Answer(answer));
    w.btnOK->click();
    QCOMPARE(env.dialogs().questions(), QStringList{question});
    QCOMPARE(s.f.detail->projectNumber(), opened && otherProject ? qint64(1) : qint64(2));
    QCOMPARE(quote->document().lines.cell(1, LineList::Bezeichnung),
             opened ? (otherProject ? QString() : QStringLiteral("Latte")) : QStringLiteral("Ungesichert"));
    QCOMPARE(quote->isClean(), opened);
    QVERIFY(!w.isVisible());
}

QTEST_MAIN(TestProjectSearchWindow)
#include "tst_projectsearchwindow.moc"
