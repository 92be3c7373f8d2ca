// "E-Rechnung speichern…" on the invoice page of the project window: the
// message listing what is missing, the XRechnung file and the ZUGFeRD PDF,
// checked with the tools nobody on this project wrote (validate-cii, poppler, qpdf).

#include "Desktop.h"
#include "DocumentPage.h"
#include "EInvoice.h"
#include "EInvoiceSource.h"
#include "Formats.h"
#include "ExtendedDataStore.h"
#include "ProjectFixtures.h"
#include "PrintCommands.h"
#include "PrintSystem.h"
#include "ProjectPage.h"
#include "ProjectPrinting.h"
#include "SellerData.h"
#include "Settings.h"
#include "TextTemplate.h"
#include "TfrmProjekt.h"
#include "TfrmProjektDetail.h"
#include "WindowHub.h"

#include <QProcess>
#include <QtTest>
#include <QtWidgets>

namespace {

class Hub : public WindowHub
{
public:
    TfrmProjektDetail *detail = nullptr;
    bool has(Window w) const override { return w == Window::Project; }
    void showProject(qint64 p, qint64 c, bool company, bool isNew) override { detail->openProject(p, c, company, isNew); }
};

struct Run
{
    int exitCode = -1;
    QString output; // standard output; errors after it unless separate
};

// separate: the error channel is left out (zbarimg talks about D-Bus there).
Run run(const QString &program, const QStringList &args, bool separate = false)
{
    QProcess p;
    p.setProcessChannelMode(separate ? QProcess::SeparateChannels : QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(120000))
        return {-1, program + QStringLiteral(": ") + p.errorString()};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput())};
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestEInvoiceWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void missingDataWritesNothing();
    void xrechnungAndZugferd();
    void giroCodeOnPrint_data();
    void giroCodeOnPrint();
    void mailSendsTheStoredDocument_data();
    void mailSendsTheStoredDocument();

private:
    DocumentPage *savedInvoice();
    void fillSellerAndCustomer();

    std::unique_ptr<TestEnv> m_env;
    Hub m_hub;
    std::unique_ptr<TfrmProjektDetail> m_window;
    std::unique_ptr<TfrmProjekt> m_new;
    QString m_out;
};

void TestEInvoiceWindow::init()
{
    m_env = std::make_unique<TestEnv>();
    m_out = m_env->path(QStringLiteral("ausgabe"));
    QDir().mkpath(m_out);
}

void TestEInvoiceWindow::cleanup()
{
    m_new.reset();
    m_window.reset();
    m_env.reset();
}

DocumentPage *TestEInvoiceWindow::savedInvoice()
{
    AddProjectContacts(*m_env);
    m_env->state().grantAll();
    m_env->state().hub = &m_hub;
    m_env->state().SelectedID = 10;
    m_window = std::make_unique<TfrmProjektDetail>(m_env->state());
    m_hub.detail = m_window.get();
    m_new = std::make_unique<TfrmProjekt>(m_env->state());
    m_new->prepare();
    m_new->createProject();
    DocumentPage *page = m_window->documentPage(DocumentKind::Rechnung);
    m_window->showPage(m_window->indexOfPage(page));
    const QList<QStringList> rows = {{"1", "R-1", "Regal & Zubehör", "2", "500,00", "", "19,00 %"},
                                     {"", "", "Buche <massiv>", "", "", "", ""},
                                     {"2", "", "Fachbuch", "3", "24,90", "", "  7,00 %"}};
    page->document().lines.setLineCount(rows.size());
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            page->document().lines.setCell(r + 1, LineList::Column(c), rows[r][c]);
    page->document().lines.addDiscount(QStringLiteral("Treuerabatt"), Amount::fromUnits(3));
    page->document().skontoText = QStringLiteral("Bei Zahlung innerhalb von 8 Tagen");
    page->document().skontoPercent = QStringLiteral("2,00");
    page->documentChanged();
    page->btnSave->click();
    return page;
}

void TestEInvoiceWindow::fillSellerAndCustomer()
{
    AddSellerAndCustomerData(*m_env);
    ExtendedDataStore store(m_env->db(), m_env->dataDir());
    QCOMPARE(store.load(true, 10)->kaeuferreferenz, QStringLiteral("991-01234-44"));
}

void TestEInvoiceWindow::missingDataWritesNothing()
{
    DocumentPage *page = savedInvoice();
    QVERIFY(page->isClean());
    QVERIFY(page->btnERechnung && page->btnERechnung->isEnabled());
    QVERIFY(!m_window->documentPage(DocumentKind::Angebot)->btnERechnung);
    page->btnERechnung->click();
    const QStringList warnings = m_env->dialogs().texts(ScriptedDialogs::Kind::Warning);
    QCOMPARE(warnings.size(), 1);
    // Everything missing in one message: seller's tax ID, IBAN, contact and the
    // customer's e-mail address; nothing is asked and nothing written.
    for (const char *item : {"USt-IdNr. oder Steuernummer der eigenen Firma", "IBAN der eigenen Firma",
                             "Ansprechpartner der eigenen Firma", "E-Mail-Adresse des Kunden"})
        QVERIFY2(warnings[0].contains(QString::fromUtf8(item)), item);
    QVERIFY(warnings[0].startsWith("Die E-Rechnung kann nicht erstellt werden. Es fehlen:"));
    QVERIFY(m_env->dialogs().texts(ScriptedDialogs::Kind::SaveFile).isEmpty());
    QCOMPARE(QDir(m_out).entryList(QDir::Files), QStringList());
}

void TestEInvoiceWindow::xrechnungAndZugferd()
{
    DocumentPage *page = savedInvoice();
    fillSellerAndCustomer();
    const QString validator = QStringLiteral(ORVELLA_VALIDATE_CII);

    // XRechnung: valid, and its amounts are the stored invoice's.
    const QString xmlPath = m_out + "/rechnung.xml";
    m_env->dialogs().answerFile(xmlPath);
    page->btnERechnung->click();
    QCOMPARE(m_env->dialogs().messages(), QStringList());
    const QByteArray xml = readFile(xmlPath);
    QVERIFY(xml.contains("<ram:BuyerReference>991-01234-44</ram:BuyerReference>"));
    QVERIFY(xml.contains("#SKONTO#TAGE=8#PROZENT=2.00#"));
    const QString gross = m_env->scalar("SELECT Betrag FROM rechnungenop");
    QVERIFY(!gross.isEmpty());
    QVERIFY2(xml.contains("<ram:DuePayableAmount>" + Amount::fromText(gross).toPlainText().replace(',', '.').toUtf8()
                          + "</ram:DuePayableAmount>"),
             xml.constData());
    QCOMPARE(m_env->scalar("SELECT ERechnung FROM firmamehr WHERE IDF=10"), QStringLiteral("XRechnung"));
    if (QFileInfo::exists(validator)) {
        const Run v = run("bash", {validator, xmlPath});
        QVERIFY2(v.exitCode == 0 && v.output.contains("== result: VALID"), qPrintable(v.output));
    }

    // ZUGFeRD: the embedded XML is the one written alone, PDF/A-3 and Factur-X
    // metadata, every font embedded, a sound file.
    const QString pdfPath = m_out + "/rechnung.pdf";
    m_env->dialogs().answerFile(pdfPath);
    page->btnERechnung->click();
    QCOMPARE(m_env->dialogs().messages(), QStringList());
    QVERIFY(QFile::exists(pdfPath));
    QCOMPARE(m_env->scalar("SELECT ERechnung FROM firmamehr WHERE IDF=10"), QStringLiteral("ZUGFeRD"));

    const Run list = run("pdfdetach", {"-list", pdfPath});
    QVERIFY2(list.exitCode == 0 && list.output.contains("1 embedded files") && list.output.contains("factur-x.xml"),
             qPrintable(list.output));
    const QString extracted = m_out + "/extrahiert.xml";
    QCOMPARE(run("pdfdetach", {"-savefile", "factur-x.xml", "-o", extracted, pdfPath}).exitCode, 0);
    const EInvoice::Data data = EInvoiceSource::gather(m_env->db(), m_env->home(), page->shownDocument(),
                                                       m_window->findChild<ProjectPage *>()->value());
    QCOMPARE(readFile(extracted), EInvoice::writeCii(data, EInvoice::Profile::Zugferd));

    const Run meta = run("pdfinfo", {"-meta", pdfPath});
    QVERIFY2(meta.output.contains("<pdfaid:part>3</pdfaid:part>") && meta.output.contains("<pdfaid:conformance>B")
                 && meta.output.contains("<fx:DocumentFileName>factur-x.xml</fx:DocumentFileName>")
                 && meta.output.contains("<fx:ConformanceLevel>EN 16931</fx:ConformanceLevel>"),
             qPrintable(meta.output));
    const Run fonts = run("pdffonts", {pdfPath});
    QCOMPARE(fonts.exitCode, 0);
    const QStringList fontLines = fonts.output.split('\n', Qt::SkipEmptyParts).mid(2);
    QVERIFY2(!fontLines.isEmpty(), qPrintable(fonts.output));
    for (const QString &line : fontLines) {
        // name type encoding emb sub uni object ID: "emb" is the fifth cell from the right.
        const QStringList cells = line.simplified().split(' ');
        QVERIFY2(cells.size() >= 7 && cells[cells.size() - 5] == "yes", qPrintable(line));
    }
    const Run check = run("qpdf", {"--check", pdfPath});
    QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    const Run text = run("pdftotext", {pdfPath, "-"});
    QVERIFY2(text.output.contains("Regal & Zubehör"), qPrintable(text.output));

    if (QFileInfo::exists(validator)) {
        const Run v = run("bash", {validator, extracted, "--factur-x", "EN16931"});
        QVERIFY2(v.exitCode == 0 && v.output.contains("== result: VALID"), qPrintable(v.output));
    }

    // The print's "Als PDF speichern…": a plain PDF, or with the choice checked the ZUGFeRD PDF.
    ProjectPrinting *printing = m_window->printing();
    QVERIFY(printing->actBandZugferd->isEnabled());
    for (const bool zugferd : {false, true}) {
        printing->actBandZugferd->setChecked(zugferd);
        const QString path = m_out + (zugferd ? "/band-zugferd.pdf" : "/band.pdf");
        m_env->dialogs().answerFile(path);
        printing->actBandPdf->trigger();
        QCOMPARE(m_env->dialogs().messages(), QStringList());
        const Run attached = run("pdfdetach", {"-list", path});
        QCOMPARE(attached.exitCode, 0);
        QCOMPARE(attached.output.contains("factur-x.xml"), zugferd);
    }
}

void TestEInvoiceWindow::giroCodeOnPrint_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("deducted"); // from the gross amount; -1: no code on the page

    QTest::newRow("open invoice") << "open" << 0;
    QTest::newRow("part paid and a credit note") << "part" << 250;
    QTest::newRow("settled") << "settled" << -1;
    QTest::newRow("no IBAN") << "noiban" << -1;
}

void TestEInvoiceWindow::giroCodeOnPrint()
{
    QFETCH(QString, state);
    QFETCH(int, deducted);
    DocumentPage *page = savedInvoice();
    fillSellerAndCustomer();
    if (state == "part") {
        m_env->exec("INSERT INTO teilbuchung (RNr, Betrag, Datum, Text) VALUES (1, 200, '02.01.2024', '')");
        m_env->exec("INSERT INTO gutschriftenop (BelegNr, RNr, Betrag) VALUES (7, 1, 50)");
    } else if (state == "settled") {
        m_env->exec("UPDATE rechnungenop SET Gebucht='J', RBetrag=0");
    } else if (state == "noiban") {
        m_env->exec("UPDATE firmendaten SET IBAN=''");
    }
    // 1.074,70 less 3 % plus VAT at 19 % and 7 %.
    const Amount gross = Amount::fromText(m_env->scalar("SELECT Betrag FROM rechnungenop"));
    QCOMPARE(gross, Amount::fromText("1231,83"));

    DocumentPrintOptions options;
    options.title = QStringLiteral("Rechnung 000001");
    Document document = page->shownDocument();
    document.number = page->currentNumber();
    const QString pdf = m_out + "/druck.pdf";
    PrintSystem system;
    Print(m_env->state(), system, DocumentPrintRequest(m_env->state(), document, options), PrintTarget::pdf(pdf));
    QCOMPARE(run("pdftoppm", {"-r", "300", "-png", "-singlefile", pdf, m_out + "/seite"}).exitCode, 0);
    const Run scan = run("zbarimg", {"-q", "--raw", "-Sbinary", m_out + "/seite.png"}, true);
    if (deducted < 0) {
        QVERIFY2(scan.output.trimmed().isEmpty(), qPrintable(scan.output));
        return;
    }
    const QString expected = QStringLiteral("BCD\n002\n1\nSCT\nBYLADEM1001\nHalvard Büro & Technik GmbH\n"
                                            "DE02120300000000202051\n%1\n\n\nRechnung 000001")
                                 .arg("EUR" + (gross - Amount::fromUnits(deducted)).toPlainText().replace(',', '.'));
    QCOMPARE(scan.output.chopped(scan.output.endsWith('\n') ? 1 : 0), expected);
}

void TestEInvoiceWindow::mailSendsTheStoredDocument_data()
{
    QTest::addColumn<QString>("form"); // the customer's form of electronic invoices
    QTest::addColumn<bool>("mailProgram");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("issuedBy"); // the way out the issued mark names; empty: not issued
    QTest::newRow("on paper") << QString() << true << ".pdf" << "E-Mail";
    QTest::newRow("ZUGFeRD") << "ZUGFeRD" << true << ".pdf" << "E-Rechnung";
    QTest::newRow("XRechnung") << "XRechnung" << true << ".xml" << "E-Rechnung";
    QTest::newRow("no mail program") << QString() << false << ".pdf" << "";
}

void TestEInvoiceWindow::mailSendsTheStoredDocument()
{
    QFETCH(QString, form);
    QFETCH(bool, mailProgram);
    QFETCH(QString, suffix);
    QFETCH(QString, issuedBy);
    QStandardPaths::setTestModeEnabled(true); // the documents folder of tests
    DocumentPage *page = savedInvoice();
    fillSellerAndCustomer();
    if (!form.isEmpty())
        m_env->exec("UPDATE firmamehr SET ERechnung = '" + form + "' WHERE IDF = 10");
    // the text of the options, with its placeholder and an apostrophe
    TextTemplate::saveMailText(m_env->db(), QStringLiteral("Guten Tag,\n{Beleg} anbei.\nO'Neil"));
    QStringList call;
    SetProgramRunner([&](const QString &program, const QStringList &args) {
        call = QStringList{program} + args;
        return mailProgram;
    });
    QVERIFY(page->btnMail->isEnabled());
    page->btnMail->click();
    SetProgramRunner({});
    const QString number = PadNumber(page->currentNumber());
    QVERIFY2(call.value(0).endsWith("xdg-email"), qPrintable(call.join(' ')));
    QCOMPARE(call.mid(1, 2), (QStringList{"--subject", "Rechnung " + number}));
    QCOMPARE(call.value(call.indexOf("--body") + 1), "Guten Tag,\nRechnung " + number + " anbei.\nO'Neil");
    const QString file = call.value(call.indexOf("--attach") + 1);
    QVERIFY2(file.endsWith(suffix) && QFile::exists(file), qPrintable(file));
    QCOMPARE(call.last(), "einkauf@muster.example");
    const QString issued =
        m_env->scalar(QStringLiteral("SELECT Ausgestellt FROM rechnungen WHERE BelegNr = %1").arg(page->currentNumber()));
    QCOMPARE(issued.section(' ', 2), issuedBy);
    if (!mailProgram)
        QVERIFY(m_env->dialogs().messages().last().contains(QDir::toNativeSeparators(file)));
    QFile::remove(file);
}

QTEST_MAIN(TestEInvoiceWindow)
#include "tst_einvoicewindow.moc"
