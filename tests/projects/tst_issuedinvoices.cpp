// Invoices and credit notes as they go out: the paper, the electronic invoice and
// the open item state the same figures to the cent; a document stored under the
// older gross rule keeps the amounts it was issued with; the date of service and
// the Skonto period are the same everywhere; changing an issued invoice keeps the
// version it replaces.

#include "DocumentHistoryDialog.h"
#include "DocumentStore.h"
#include "InvoiceTerms.h"
#include "PdfText.h"
#include "ProjectPrinting.h"
#include "ProjectWindowFixtures.h"
#include "ReceivablesStore.h"
#include "Schema.h"
#include "ServiceDateFields.h"
#include "TakeOverCommands.h"
#include "WordExport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>
#include <QtWidgets>

namespace {

constexpr int T = 100; // the print's SHTop by default: y on paper is b - T

// The texts of one element of the XML, in document order.
QStringList xmlValues(const QByteArray &xml, const QString &element)
{
    QStringList out;
    const QRegularExpression re(QStringLiteral("<ram:%1[^>]*>([^<]*)</ram:%1>").arg(element));
    for (auto it = re.globalMatch(QString::fromUtf8(xml)); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

// "1.234,50 €" as the XML writes it.
QString xmlAmount(const QString &shown)
{
    return Amount::fromDisplay(shown).toPlainText().replace(QLatin1Char(','), QLatin1Char('.'));
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What the last page's totals boxes show: net, the VAT lines, gross.
struct Printed
{
    QString net, gross;
    QStringList vat;
};

Printed printedTotals(const PdfText &pdf)
{
    const int page = pdf.pages();
    Printed p{pdf.lineAt(page, 2390 - T, 250, 613), pdf.lineAt(page, 2430 - T, 1637, 2000), {}};
    for (int row = 1; row < 5; ++row)
        if (const QString vat = pdf.lineAt(page, 2350 + 40 * row - T, 1274, 1637); !vat.isEmpty())
            p.vat << vat;
    return p;
}

void validate(const QString &xmlPath)
{
    const QString validator = QStringLiteral(ORVELLA_VALIDATE_CII);
    if (!QFileInfo::exists(validator))
        QSKIP("validate-cii is not beside the project");
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("bash"), {validator, xmlPath});
    QVERIFY(p.waitForFinished(120000));
    const QString report = QString::fromUtf8(p.readAll());
    QVERIFY2(p.exitCode() == 0 && report.contains("== result: VALID"), qPrintable(report));
}

} // namespace

class TestIssuedInvoices : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void figuresAgree_data();
    void figuresAgree();
    void storedBeforeKeepsItsAmounts();
    void issuedChangeKeepsTheOldVersion();

private:
    DocumentPage *invoiceWith(const QStringList &rows, const QString &discount);
    QString pdfOf(DocumentPage *page);
    QByteArray xmlOf(DocumentPage *page);

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<ProjectWindowFixture> m_window;
    int m_files = 0;
};

void TestIssuedInvoices::init()
{
    m_env = std::make_unique<TestEnv>();
    AddProjectContacts(*m_env);
    AddSellerAndCustomerData(*m_env);
    m_env->exec("INSERT INTO prust (UStSatz, Kategorie, Befreiungsgrund) VALUES (0, 'E', "
                "'Steuerfrei nach § 4 Nr. 14 UStG')");
    m_window = std::make_unique<ProjectWindowFixture>(*m_env);
    m_window->newProject(10, true);
}

void TestIssuedInvoices::cleanup()
{
    m_window.reset();
    m_env.reset();
}

// rows: "name|quantity|price|VAT"; a discount in percent, or empty.
DocumentPage *TestIssuedInvoices::invoiceWith(const QStringList &rows, const QString &discount)
{
    DocumentPage *page = m_window->page(DocumentKind::Rechnung);
    m_window->detail->showPage(m_window->detail->indexOfPage(page));
    for (const QString &r : rows) {
        const QStringList f = r.split(QLatin1Char('|'));
        addArticle(page, f[0], f[1], f[2], f[3]);
    }
    if (!discount.isEmpty()) {
        page->document().lines.addDiscount(QStringLiteral("Treuerabatt"), Amount::fromText(discount));
        page->documentChanged();
    }
    return page;
}

// "Als PDF speichern…" of the band, as the user prints it.
QString TestIssuedInvoices::pdfOf(DocumentPage *page)
{
    m_window->detail->showPage(m_window->detail->indexOfPage(page));
    const QString path = m_env->path(QStringLiteral("beleg%1.pdf").arg(++m_files));
    m_env->dialogs().answerFile(path);
    m_window->detail->printing()->pdfFromBand();
    return path;
}

QByteArray TestIssuedInvoices::xmlOf(DocumentPage *page)
{
    const QString path = m_env->path(QStringLiteral("beleg%1.xml").arg(++m_files));
    m_window->detail->cmdEInvoice(page, path);
    return readFile(path);
}

void TestIssuedInvoices::figuresAgree_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("discount");
    QTest::addColumn<bool>("creditNote"); // the invoice taken over into a credit note, which is checked
    QTest::addColumn<QStringList>("expected"); // net, the VAT lines, gross, as worked out by hand

    const QStringList fifthDiscounted = {"Material|1|49,80|  7,00 %", "Arbeitsstunde Geselle|30|59,00|19,00 %"};
    QTest::newRow("1.819,80 less 5 %: one line at 7 %, the rest at 19 %")
        << fifthDiscounted << "5" << false
        << QStringList{"1.728,81 €", "3,31 €   (7,00 %)", "319,48 € (19,00 %)", "2.051,60 €"};
    QTest::newRow("three rates, one of them exempt")
        << QStringList{"Fachbuch|3|24,90|  7,00 %", "Schreibtisch|1,5|1.234,56|19,00 %",
                       "Gutachten|1|80,00|0,00 %"}
        << "" << false << QStringList{"2.006,54 €", "5,23 €   (7,00 %)", "351,85 € (19,00 %)", "2.363,62 €"};
    QTest::newRow("a discount line under small amounts")
        << QStringList{"Kabel|7|0,335|19,00 %", "Stecker|3|1,15|  7,00 %", "Gerät|1|99,99|19,00 %"} << "10"
        << false << QStringList{"95,20 €", "0,22 €   (7,00 %)", "17,50 € (19,00 %)", "112,92 €"};
    QTest::newRow("the credit note of the first invoice")
        << fifthDiscounted << "5" << true
        << QStringList{"1.728,81 €", "3,31 €   (7,00 %)", "319,48 € (19,00 %)", "2.051,60 €"};
}

void TestIssuedInvoices::figuresAgree()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, discount);
    QFETCH(bool, creditNote);
    QFETCH(QStringList, expected);
    const QString gross = expected.last();

    DocumentPage *invoice = invoiceWith(rows, discount);
    invoice->document().skontoText = QStringLiteral("Bei Zahlung innerhalb von 10 Tagen");
    invoice->document().skontoPercent = QStringLiteral("2,00");
    invoice->serviceDates->chkZeitraum->setChecked(true);
    invoice->serviceDates->dtLeistung->setDate(QDate(2026, 11, 1));
    invoice->serviceDates->dtLeistungBis->setDate(QDate(2026, 11, 30));
    QVERIFY(invoice->cmdSave());
    DocumentPage *page = invoice;
    if (creditNote) {
        QVERIFY(TakeOverInto(m_env->state(), *m_window->detail, *invoice, DocumentKind::Gutschrift));
        page = m_window->page(DocumentKind::Gutschrift);
        QVERIFY(page->cmdSave());
    }
    const qint64 number = page->currentNumber();

    // On paper: the boxes show the hand-worked figures, and they add up.
    const PdfText pdf(pdfOf(page));
    const Printed printed = printedTotals(pdf);
    QStringList shown = expected;
    for (QString &e : shown)
        e = e.simplified(); // words on paper are read back with single blanks
    QCOMPARE(QStringList{printed.net} + printed.vat + QStringList{printed.gross}, shown);
    Amount sum = Amount::fromDisplay(printed.net);
    for (const QString &vat : printed.vat)
        sum += Amount::fromDisplay(vat.section(QLatin1Char('('), 0, 0));
    QCOMPARE(sum.toText() + " €", gross);
    QCOMPARE(pdf.lineAt(1, 790 - T, 1300, 2000), QStringLiteral("Leistungszeitraum: 01.11.2026 – 30.11.2026"));

    // The XRechnung: the same figures, no rounding amount, valid.
    const QByteArray xml = xmlOf(page);
    QCOMPARE(m_env->dialogs().messages(), QStringList());
    QCOMPARE(xmlValues(xml, "TaxBasisTotalAmount"), QStringList{xmlAmount(printed.net)});
    QCOMPARE(xmlValues(xml, "GrandTotalAmount"), QStringList{xmlAmount(gross)});
    QCOMPARE(xmlValues(xml, "DuePayableAmount"), QStringList{xmlAmount(gross)});
    QVERIFY(!xml.contains("RoundingAmount"));
    QStringList xmlVat;
    for (const QString &vat : printed.vat)
        xmlVat << xmlAmount(vat.section(QLatin1Char('('), 0, 0));
    QStringList stated = xmlValues(xml, "CalculatedAmount");
    stated.removeAll(QStringLiteral("0.00")); // the exempt rate
    QCOMPARE(stated, xmlVat);
    // the period of service, and the Skonto the paper grants (its text names 10
    // days; the customer's data say 8)
    QVERIFY(xml.contains("<udt:DateTimeString format=\"102\">20261101</udt:DateTimeString>")
            && xml.contains("<udt:DateTimeString format=\"102\">20261130</udt:DateTimeString>"));
    if (!creditNote) {
        QVERIFY(pdf.contains(QStringLiteral("Bei Zahlung innerhalb von 10 Tagen 2,00 %. Entspricht")));
        QVERIFY(xml.contains("#SKONTO#TAGE=10#PROZENT=2.00#"));
    }
    validate(m_env->path(QStringLiteral("beleg%1.xml").arg(m_files)));

    // Booked: the open item holds the same gross, and paying it settles it exactly.
    ReceivablesStore receivables(m_env->db(), m_env->state().dmCommon);
    const qint64 invoiceNumber = invoice->currentNumber();
    const InvoiceFigures figures = receivables.figures(invoiceNumber);
    const PanelAmounts panel = PaymentRules::panelAmounts(figures, false);
    if (creditNote) {
        QCOMPARE(Amount::fromText(m_env->scalar(QStringLiteral("SELECT Betrag FROM gutschriftenop WHERE BelegNr=%1")
                                                    .arg(number))),
                 Amount::fromDisplay(gross));
        QCOMPARE(figures.credits.toText() + " €", gross);
        QCOMPARE(panel.afterCredits, Amount());
    } else {
        QCOMPARE(figures.amount.toText() + " €", gross);
        const auto booking = PaymentRules::planBooking(PaymentRules::referenceAmount(panel, false), QString(), false);
        QVERIFY(booking);
        receivables.book(invoiceNumber, figures, *booking, QDate::currentDate());
        for (const char *column : {"RBetrag", "Gebucht"})
            QCOMPARE(m_env->scalar(QStringLiteral("SELECT %1 FROM rechnungenop WHERE RNR=%2")
                                       .arg(QLatin1String(column))
                                       .arg(invoiceNumber)),
                     QLatin1String(column) == QLatin1String("RBetrag") ? "0" : "J");
        QCOMPARE(receivables.postings(invoiceNumber).value(0).amount.toText() + " €", gross);
    }
    // Both went out: the document counts as issued.
    QVERIFY(!DocumentHistory::issuedMark(m_env->db(), page->kind(), number).isEmpty());
}

void TestIssuedInvoices::storedBeforeKeepsItsAmounts()
{
    // The 1.819,80 € invoice as the program stored it before the gross became the
    // sum of the shown parts: 2.051,61 € on paper and in the open item.
    DocumentPage *page = invoiceWith({"Material|1|49,80|  7,00 %", "Arbeitsstunde Geselle|30|59,00|19,00 %"}, "5");
    QVERIFY(page->cmdSave());
    const qint64 n = page->currentNumber();
    m_env->exec(QStringLiteral("UPDATE rechnungen SET BruttoRegel=NULL, LDatum=NULL, Ausgestellt='%1'")
                    .arg(Schema::IssuedBeforeUpgrade));
    m_env->exec("UPDATE rechnungenop SET Betrag=2051.61");
    m_env->exec("UPDATE rechnungenbetrag SET Brutto=2051.61");

    // Reopened (its date of service is its date), printed again, saved again: the
    // same amounts.
    page->openDocument(n);
    QCOMPARE(page->document().totals.gross(), QStringLiteral("2.051,61 €"));
    QCOMPARE(printedTotals(PdfText(pdfOf(page))).gross, QStringLiteral("2.051,61 €"));
    QCOMPARE(InvoiceTerms::serviceDate(page->shownDocument()).value, page->shownDocument().date);
    m_env->dialogs().answer(Dialogs::Answer::Yes);
    page->cmdChange();
    QVERIFY(page->cmdSave());
    QCOMPARE(m_env->scalar("SELECT Betrag FROM rechnungenop"), "2051,61");
    QCOMPARE(m_env->scalar("SELECT Brutto FROM rechnungenbetrag"), "2051,61");
    QCOMPARE(m_env->scalar("SELECT COALESCE(BruttoRegel, '-') FROM rechnungen"), "-");

    // The XML states the gross it was issued with, the cent as rounding amount.
    const QByteArray xml = xmlOf(page);
    QCOMPARE(xmlValues(xml, "DuePayableAmount"), QStringList{"2051.61"});
    QCOMPARE(xmlValues(xml, "RoundingAmount"), QStringList{"0.01"});

    // Booked in full, it is settled by exactly that amount.
    ReceivablesStore receivables(m_env->db(), m_env->state().dmCommon);
    const InvoiceFigures figures = receivables.figures(n);
    const auto booking = PaymentRules::planBooking(
        PaymentRules::referenceAmount(PaymentRules::panelAmounts(figures, false), false), QString(), false);
    receivables.book(n, figures, *booking, QDate::currentDate());
    QCOMPARE(receivables.postings(n).value(0).amount.toText(), "2.051,61");

    // A new invoice made from it is totalled the new way.
    QVERIFY(TakeOverInto(m_env->state(), *m_window->detail, *page, DocumentKind::Rechnung));
    QCOMPARE(page->document().totals.gross(), QStringLiteral("2.051,60 €"));
}

void TestIssuedInvoices::issuedChangeKeepsTheOldVersion()
{
    DocumentPage *page = invoiceWith({"Arbeitsstunde Geselle|32|58,00|19,00 %"}, "");
    QVERIFY(page->cmdSave());
    const qint64 n = page->currentNumber();
    // Saved again before it went out: no version is kept, and nothing is asked.
    page->cmdChange();
    QVERIFY(page->isEditMode() && m_env->dialogs().questions().isEmpty());
    QVERIFY(page->cmdSave());
    QCOMPARE(m_env->scalar("SELECT COUNT(*) FROM belegverlauf"), "0");

    pdfOf(page); // goes out as PDF
    QVERIFY(m_env->scalar("SELECT Ausgestellt FROM rechnungen").endsWith(" PDF"));

    // The change is asked for; No leaves the page read-only.
    const QString question = DocumentHistory::changeQuestion(DocumentKind::Rechnung, n);
    QCOMPARE(question, "Die Rechnung 000001 wurde bereits ausgestellt. Änderungen werden protokolliert; für eine "
                       "Korrektur ist eine Gutschrift vorgesehen. Trotzdem ändern?");
    m_env->dialogs().answer(Dialogs::Answer::No);
    page->cmdChange();
    QCOMPARE(m_env->dialogs().questions(), QStringList{question});
    QVERIFY(!page->isEditMode());

    // Yes: 32 hours become 30, and the version with 32 is kept as it was.
    for (const QString &hours : {QStringLiteral("30"), QStringLiteral("31")}) {
        m_env->dialogs().answer(Dialogs::Answer::Yes);
        page->cmdChange();
        page->document().lines.setCell(1, LineList::Anzahl, hours);
        page->documentChanged();
        QVERIFY(page->cmdSave());
    }
    QCOMPARE(m_env->scalar("SELECT Betrag FROM rechnungenop"), "2139,62"); // 31 × 58,00 × 1,19
    const QList<DocumentHistory::Version> versions =
        DocumentHistory::versions(m_env->db(), DocumentKind::Rechnung, n, QStringLiteral("€"));
    QCOMPARE(versions.size(), 2);
    QCOMPARE(versions[0].document.lines.cell(1, LineList::Anzahl), "30"); // the latest first
    QCOMPARE(versions[1].document.lines.cell(1, LineList::Anzahl), "32");
    QCOMPARE(versions[1].document.totals.gross(), "2.208,64 €");
    QCOMPARE(versions[1].storedGross, "2208,64");
    QCOMPARE(versions[1].document.address.name, page->document().address.name);
    QVERIFY(!versions[1].user.isEmpty() && !versions[1].workstation.isEmpty() && !versions[1].time.isEmpty());

    // "Verlauf…" shows them read-only.
    DocumentHistoryDialog dialog(versions, DocumentKind::Rechnung, n);
    QCOMPARE(dialog.tblVersions->rowCount(), 2);
    QCOMPARE(dialog.tblVersions->item(1, 5)->text(), "2.208,64 €");
    dialog.showVersion(1);
    QCOMPARE(dialog.tblLines->model()->index(0, LineList::Anzahl).data().toString(), "32");
    QVERIFY(dialog.tblLines->editTriggers() == QAbstractItemView::NoEditTriggers);
}

QTEST_MAIN(TestIssuedInvoices)
#include "tst_issuedinvoices.moc"
