#include "Desktop.h"
#include "PdfText.h"
#include "PrintPrompts.h"
#include "PrintSystem.h"
#include "ReceivablesFixtures.h"
#include "TfrmMahnung.h"
#include "WordWriter.h"
#include "ZipPackage.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

TfrmMahnung::Request companyInvoice()
{
    return {10, 1, "DE111", "Halvard GmbH", 3, "1.000,00 €"};
}

QStringList fields(std::initializer_list<QLineEdit *> edits)
{
    QStringList out;
    for (QLineEdit *e : edits)
        out << e->text();
    return out;
}

// Every job is drawn into a PDF file of its own instead of reaching a printer.
class RecordingPrinters : public PrintSystem
{
public:
    QString folder;
    QList<PrintTarget> targets;
    QStringList pdfs;
    void run(const PrintTarget &target, const PrintJobInfo &info, CopyMode mode, const PaintCopy &paint) override
    {
        pdfs << folder + QStringLiteral("/job%1.pdf").arg(pdfs.size());
        PrintSystem::run(PrintTarget::pdf(pdfs.last(), target.copies), info, mode, paint);
        targets << target;
    }
};

// The preview answered with "Drucken…" on the printer it proposes, two copies.
class PrintingPreview : public PrintPrompts
{
public:
    QList<PrintTarget> proposed;
    std::optional<PrintTarget> preview(const PreviewRequest &request, QWidget *) override
    {
        proposed << request.printer;
        return PrintTarget::printer(request.printer.printerName, 2);
    }
};

} // namespace

class TestTfrmMahnung : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lettersRiseLevelByLevel();
    void personLetter();
    void numberTakenMeanwhile();
    void wordExport();
    void printing_data();
    void printing();
};

void TestTfrmMahnung::lettersRiseLevelByLevel()
{
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 3, 1, "1000", -30);
    TfrmMahnung w(env.state());
    // The line of each level's template that names the invoice.
    const QString invoiceLine[] = {"Nr. 000003 vom %1 über 1.000,00 € noch nicht beglichen ist.",
                                   "auf unsere Zahlungserinnerung zu der Rechnung Nr. 000003 vom %1",
                                   "trotz unserer bisherigen Mahnungen ist die Rechnung Nr. 000003 vom %1",
                                   "trotz unserer bisherigen Mahnungen ist die Rechnung Nr. 000003 vom %1"};
    const QString invoiceDate = DateToStr(QDate::currentDate().addDays(-60));
    const QColor colours[] = {Qt::black, QColor(226, 143, 0), Qt::red, Qt::red};
    for (int level = 1; level <= 4; ++level) {
        w.prepare(companyInvoice());
        QCOMPARE(w.level(), level);
        QCOMPARE(w.edtMNr->text(), PadNumber(level));
        QCOMPARE(w.lblLevel->text(), QString("%1. Mahnung").arg(level));
        QVERIFY(w.lblLevel->styleSheet().contains(colours[level - 1].name()));
        QCOMPARE(w.lblInvoice->text(), "Rechnung 000003/");
        const QStringList letter = w.memLetter->toPlainText().split('\n');
        QCOMPARE(letter.size(), 25);
        QCOMPARE(letter[0], "Sehr geehrte Damen und Herren,");
        QVERIFY2(letter.contains(invoiceLine[level - 1].arg(invoiceDate)), qPrintable(letter.join('|')));
        QVERIFY(w.cmdSave());
        QVERIFY(!w.btnSave->isEnabled() && w.memLetter->isReadOnly() && w.edtName->isReadOnly());
        QCOMPARE(env.scalar("SELECT MStufe FROM rechnungenop WHERE RNR=3"), QString::number(level));
    }
    QCOMPARE(fields({w.edtEFirma, w.edtName, w.edtStrasse, w.edtPlzOrt, w.edtName2, w.edtStrasse2, w.edtPlzOrt2,
                     w.edtPrNr, w.edtKNr, w.edtUID}),
             QStringList({"Halvard GmbH - Weg 1 - 12345 Ort", "Muster GmbH", "Hauptstraße 1", "70173 Stuttgart",
                          "Buchhaltung", "Postfach 12", "Stuttgart", "000001", "000010", "DE111"}));
    QCOMPARE(env.column("SELECT BelegNr || '/' || RNr || '/' || MNr || '/' || ProjektNr || '/' || RL || '/' || PName "
                        "FROM mahnungen ORDER BY BelegNr"),
             QStringList({"1/3/1/1/N/Neubau Halle", "2/3/2/1/N/Neubau Halle", "3/3/3/1/N/Neubau Halle",
                          "4/3/4/1/N/Neubau Halle"}));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM mahnungentext WHERE BelegNr=4"), "25");
    QCOMPARE(env.column("SELECT Art || '/' || Name || '/' || Strasse || '/' || PLZOrt FROM mahnungenanschrift "
                        "WHERE BelegNr=4 ORDER BY Art"),
             QStringList({"A/Muster GmbH/Hauptstraße 1/70173 Stuttgart", "R/Buchhaltung/Postfach 12/Stuttgart"}));
}

void TestTfrmMahnung::personLetter()
{
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 4, 2, "250", -10);
    env.exec("UPDATE mahnungenstext SET Text='[SAnrede] / [anrede2] / [Titel] [VName] [NName] / [anrede1]' "
             "WHERE MS='1' AND RV=0");
    env.exec("DELETE FROM mahnungenstext WHERE MS='1' AND RV>1"); // a short template repeats its last row
    TfrmMahnung w(env.state());
    w.prepare({20, 2, "", "", 4, "250,00 €"});
    QCOMPARE(w.memLetter->toPlainText().split('\n'),
             QStringList{"Sehr geehrter Herr Dr. Meier, / Herr Meier / Dr. Hans Meier / geehrte Frau .. geehrter Herr"}
                 + QStringList(24, QString()));
    QCOMPARE(fields({w.edtName, w.edtPlzOrt, w.edtName2, w.edtStrasse2, w.edtPlzOrt2}),
             QStringList({"Herr Dr. Hans Meier", "79098 Freiburg", "", "", ""}));
    w.memLetter->setPlainText("Zeile eins\nO'Neil; zwei");
    w.chkLinks->setChecked(true);
    QVERIFY(w.cmdSave());
    QCOMPARE(env.column("SELECT Text FROM mahnungentext ORDER BY ID"), QStringList({"Zeile eins", "O'Neil; zwei"}));
    QCOMPARE(env.scalar("SELECT RL FROM mahnungen"), "J");
    QCOMPARE(w.letterValue().dunningLevel, 1);
}

void TestTfrmMahnung::numberTakenMeanwhile()
{
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 3, 1, "1000", -30);
    TfrmMahnung w(env.state());
    w.prepare(companyInvoice());
    QCOMPARE(w.number(), qint64(1));
    // Another workstation writes the first letter of the same invoice under number 1.
    env.exec("INSERT INTO mahnungen (BelegNr, RNr, MNr, ProjektNr, Datum) VALUES (1, 3, 1, 1, '01.01.2024')");
    QVERIFY(!w.cmdSave());
    QCOMPARE(env.dialogs().messages().size(), 1);
    const QString message = env.dialogs().messages().first();
    QVERIFY2(message.contains("Mahnungsnummer 000001") && message.contains("neue Nummer 000002")
                 && message.contains("2. Mahnung"),
             qPrintable(message));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM mahnungentext") + env.scalar("SELECT COUNT(*) FROM mahnungenanschrift")
                 + env.scalar("SELECT MStufe FROM rechnungenop"),
             "000");
    QCOMPARE(w.edtMNr->text(), "000002");
    QVERIFY(w.btnSave->isEnabled());
    QVERIFY(w.cmdSave());
    QCOMPARE(env.column("SELECT BelegNr || '/' || MNr FROM mahnungen ORDER BY BelegNr"), QStringList({"1/1", "2/2"}));
    QCOMPARE(env.scalar("SELECT MStufe FROM rechnungenop"), "2");
}

void TestTfrmMahnung::wordExport()
{
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 3, 1, "1000", -30);
    QTemporaryDir documents;
    WordWriter::setDefaultTargetDir(documents.path());
    QList<QUrl> opened;
    SetDesktopOpener([&](const QUrl &url) {
        opened << url;
        return true;
    });
    QVERIFY(QDir(env.path("Mahnungen")).removeRecursively()); // without the shipped templates
    TfrmMahnung w(env.state());
    w.prepare(companyInvoice());
    w.btnWord->click();
    QCOMPARE(env.dialogs().messages(),
             QStringList{QString("Im Ordner \"%1\" gibt es keine Vorlage für Mahnungen (*.ott, *.odt, *.dotx, *.docx).")
                             .arg(QDir::toNativeSeparators(env.path("Mahnungen")))});

    // The letter template has the bookmarks "Datum" and "Strasse" of the dunning export.
    QDir(env.home()).mkpath("Mahnungen");
    QVERIFY(QFile::copy(env.path("Allgemein/Brief.ott"), env.path("Mahnungen/Mahnung.ott")));
    w.prepare(companyInvoice());
    w.edtStrasse2->setText("Postfach 99 & Co <Süd>");
    w.btnWord->click();
    QCOMPARE(opened.size(), 1);
    QFile produced(opened.first().toLocalFile());
    QVERIFY(produced.open(QIODevice::ReadOnly));
    ZipPackage zip;
    QVERIFY(zip.read(produced.readAll()));
    const QString content = QString::fromUtf8(zip.data("content.xml"));
    QVERIFY(content.contains("Postfach 99 &amp; Co &lt;Süd&gt;"));
    QVERIFY(content.contains(DateToStr(QDate::currentDate())));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM mahnungen"), "0"); // the export does not save
    SetDesktopOpener({});
    WordWriter::setDefaultTargetDir({});
}

QTEST_MAIN(TestTfrmMahnung)
#include "tst_tfrmmahnung.moc"

void TestTfrmMahnung::printing_data()
{
    QTest::addColumn<bool>("atOnce");
    QTest::addColumn<int>("answer"); // to the question before an unsaved letter is printed
    QTest::addColumn<bool>("printed");
    QTest::addColumn<bool>("saved");
    QTest::newRow("cancel") << false << int(Dialogs::Answer::Cancel) << false << false;
    QTest::newRow("save and print") << false << int(Dialogs::Answer::Yes) << true << true;
    QTest::newRow("test print") << false << int(Dialogs::Answer::No) << true << false;
    QTest::newRow("print panel, no question") << true << -1 << true << false;
}

void TestTfrmMahnung::printing()
{
    QFETCH(bool, atOnce);
    QFETCH(int, answer);
    QFETCH(bool, printed);
    QFETCH(bool, saved);
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 3, 1, "1000", -30);
    TfrmMahnung w(env.state());
    QTemporaryDir dir;
    auto printers = std::make_unique<RecordingPrinters>();
    auto preview = std::make_unique<PrintingPreview>();
    RecordingPrinters &jobs = *printers;
    PrintingPreview &asked = *preview;
    jobs.folder = dir.path();
    w.setPrintSystem(std::move(printers));
    w.setPrintPrompts(std::move(preview));
    w.prepare(companyInvoice());
    w.spnKopien->setValue(3);
    if (answer >= 0)
        env.dialogs().answer(Dialogs::Answer(answer));
    (atOnce ? w.btnDruckPanel : w.btnPrint)->click();

    QCOMPARE(env.dialogs().questions(),
             atOnce ? QStringList() : QStringList{"Die Mahnung ist zu speichern bevor sie versendet wird!"});
    QCOMPARE(w.wasSaved(), saved);
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM mahnungen"), saved ? "1" : "0");
    QCOMPARE(jobs.targets.size(), printed ? 1 : 0);
    if (!printed)
        return;
    // The panel prints with its own copies; the preview starts from them and the
    // print dialog's choice counts.
    QCOMPARE(jobs.targets[0].copies, atOnce ? 3 : 2);
    QCOMPARE(asked.proposed.size(), atOnce ? 0 : 1);
    const PdfText pdf(jobs.pdfs[0]);
    QCOMPARE(pdf.pages(), jobs.targets[0].copies);
    QVERIFY(pdf.contains("1. Mahnung zur Rechnung 000003", jobs.targets[0].copies));
    QVERIFY(pdf.contains("Muster GmbH", 1));
}
