#include "Errors.h"
#include "ReceivedInvoiceStore.h"
#include "TestEnv.h"
#include "TfrmEingangsrechnung.h"
#include "TfrmEingangsrechnungen.h"
#include "ZugferdPdf.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>
#include <QtTest>

namespace {

QByteArray sample(const char *name)
{
    QFile f(QStringLiteral(RECEIVED_SAMPLES "/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("sample missing");
    return f.readAll();
}

// A one-page PDF as any program writes it, without an invoice inside.
QByteArray plainPdf()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    QPainter p(&writer);
    p.drawText(100, 100, QStringLiteral("Rechnung"));
    p.end();
    return bytes;
}

QString write(TestEnv &env, const QString &name, const QByteArray &content)
{
    QFile f(env.path(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot write");
    return f.fileName();
}

} // namespace

class TestEingangsrechnung : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opensEveryForm_data();
    void opensEveryForm();
    void savesAsPdf();
    void filingFindsTheSupplier_data();
    void filingFindsTheSupplier();
    void filedInvoiceKeepsItsFile();
    void failedInvoiceIsFiledOnlyWhenConfirmed();
};

void TestEingangsrechnung::opensEveryForm_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("number");   // empty: refused
    QTest::addColumn<QString>("shown");    // in the shown invoice, or in the message
    QTest::addColumn<QString>("check");
    QTest::newRow("UBL") << "re.xml" << sample("ubl-invoice.xml") << "2024-4711" << "306,54 €"
                         << "Pflichtangaben und Summen stimmen";
    QTest::newRow("ZUGFeRD PDF") << "re.pdf" << ZugferdPdf::attach(plainPdf(), sample("cii-en16931.xml"), PdfInfo{})
                                 << "RE-2024-0815" << "603,75 €" << "Pflichtangaben und Summen stimmen";
    QByteArray broken = sample("cii-en16931.xml");
    broken.replace("<a:DuePayableAmount>603.75<", "<a:DuePayableAmount>630.75<");
    QTest::newRow("sums that do not add up") << "falsch.xml" << broken << "RE-2024-0815" << "630,75 €"
                                             << "1 Beanstandung";
    QTest::newRow("PDF without an invoice") << "brief.pdf" << plainPdf() << "" << "keine elektronische Rechnung" << "";
    QTest::newRow("bank statement") << "auszug.xml"
                                    << QByteArray("<?xml version=\"1.0\"?><Document xmlns=\"urn:iso:std:iso:20022:"
                                                  "tech:xsd:camt.053.001.02\"/>")
                                    << "" << "auszug.xml" << "";
}

void TestEingangsrechnung::opensEveryForm()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, number);
    QFETCH(QString, shown);
    QFETCH(QString, check);
    TestEnv env;
    TfrmEingangsrechnung w(env.state());
    const bool opened = w.openFile(write(env, name, content));
    QCOMPARE(opened, !number.isEmpty());
    if (!opened) {
        QVERIFY2(env.dialogs().messages().value(0).contains(shown), qPrintable(env.dialogs().messages().value(0)));
        QVERIFY(!w.btnPdf->isEnabled());
        return;
    }
    QCOMPARE(w.invoice().number, number);
    QVERIFY(w.txtInvoice->toPlainText().contains(shown));
    QVERIFY2(w.lblCheck->text().contains(check), qPrintable(w.lblCheck->text()));
    for (const QString &f : w.failures())
        QVERIFY(w.txtInvoice->toPlainText().contains(f));
}

void TestEingangsrechnung::savesAsPdf()
{
    TestEnv env;
    TfrmEingangsrechnung w(env.state());
    QVERIFY(w.openFile(write(env, "re.xml", sample("ubl-invoice.xml"))));
    const QString pdf = env.path("re.pdf");
    env.dialogs().answerFile(pdf);
    QVERIFY(w.cmdPdf());
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(4) == "%PDF");
}

using Answer = Dialogs::Answer;

void TestEingangsrechnung::filingFindsTheSupplier_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("contacts"); // "number|name|VAT ID|IBAN|St" stored before
    QTest::addColumn<int>("answer");           // to "neuer Lieferant?", -1: not asked
    QTest::addColumn<qint64>("contact");       // the filed invoice's contact, -1: the new one
    QTest::addColumn<QString>("told");
    const QByteArray cii = sample("cii-en16931.xml"); // seller DE987654321, IBAN DE02500105170137075030
    QTest::newRow("VAT ID before IBAN and name, typed with blanks")
        << cii
        << QStringList{"7|Kanzlei Brandt & Partner||DE02500105170137075030|1", "8|Brandt Kanzlei|de 987 654 321||1"}
        << -1 << qint64(8) << "erkannt an: USt-IdNr.";
    QTest::newRow("an active contact before a blocked one")
        << cii << QStringList{"5|Alt|DE987654321||0", "9|Neu|DE987654321||1"} << -1 << qint64(9) << "Neu (Nr. 000009";
    QTest::newRow("IBAN") << cii << QStringList{"7|Anders||DE02 5001 0517 0137 0750 30|1"} << -1 << qint64(7)
                          << "erkannt an: IBAN";
    QTest::newRow("name") << cii << QStringList{"7|KANZLEI BRANDT & PARTNER|||1"} << -1 << qint64(7)
                          << "erkannt an: Name";
    // the account on a credit note is the buyer's: it names no supplier
    QTest::newRow("credit note: the account is ours")
        << sample("ubl-creditnote.xml") << QStringList{"7|Unsere Firma||DE89370400440532013000|1"}
        << int(Answer::No) << qint64(0) << "ist abgelegt";
    QTest::newRow("unknown seller becomes a supplier") << cii << QStringList{} << int(Answer::Yes) << qint64(-1)
                                                       << "Neuer Lieferant: Kanzlei Brandt & Partner";
    QTest::newRow("unknown seller, filed without contact")
        << cii << QStringList{} << int(Answer::No) << qint64(0) << "ist abgelegt";
}

void TestEingangsrechnung::filingFindsTheSupplier()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, contacts);
    QFETCH(int, answer);
    QFETCH(qint64, contact);
    QFETCH(QString, told);
    TestEnv env;
    env.state().Perm[15] = true;
    for (const QString &c : contacts) {
        const QStringList f = c.split(QLatin1Char('|'));
        env.exec(QStringLiteral("INSERT INTO firma (IDF, Name, St) VALUES (%1, '%2', '%3')").arg(f[0], f[1], f[4]));
        env.exec(QStringLiteral("INSERT INTO firmamehr (IDF, UID, IBAN) VALUES (%1, '%2', '%3')").arg(f[0], f[2], f[3]));
    }
    TfrmEingangsrechnung w(env.state());
    QVERIFY(w.openFile(write(env, "re.xml", content)));
    QVERIFY(w.btnFile->isEnabled());
    if (answer >= 0)
        env.dialogs().answer(Answer(answer));
    const qint64 id = w.cmdFile();
    QVERIFY(id > 0);
    QVERIFY(env.dialogs().allAnswersUsed());
    QVERIFY2(env.dialogs().messages().last().contains(told), qPrintable(env.dialogs().messages().join(" / ")));
    QVERIFY(!w.btnFile->isEnabled());
    QCOMPARE(w.createdSupplier(), contact < 0);
    const qint64 filedWith = env.scalar(QStringLiteral("SELECT Kontakt FROM eingangsrechnungen WHERE ID = %1").arg(id)).toLongLong();
    if (contact >= 0) {
        QCOMPARE(filedWith, contact);
        QCOMPARE(env.scalar("SELECT COUNT(*) FROM firma"), QString::number(contacts.size()));
        return;
    }
    // the new supplier carries the invoice's data and is found by it next time
    QVERIFY(filedWith > 0);
    QCOMPARE(env.column(QStringLiteral("SELECT f.Name || '|' || f.Kategorie || '|' || m.UID || '|' || m.IBAN FROM firma f "
                                       "JOIN firmamehr m ON m.IDF = f.IDF WHERE f.IDF = %1").arg(filedWith)),
             QStringList{"Kanzlei Brandt & Partner|Lieferant|DE987654321|DE02500105170137075030"});
    QCOMPARE(env.column(QStringLiteral("SELECT a.Strasse || '|' || a.PLZ || '|' || a.Ort || '|' || a.Land FROM adresse a "
                                       "JOIN adressetofn t ON t.IDA = a.IDA WHERE t.IDFN = %1").arg(filedWith)),
             QStringList{"Sendlinger Straße 12, 3. Stock|80331|München|Deutschland"});
    const auto again = ReceivedInvoiceStore(env.db(), env.state().dmCommon).matchSeller(w.invoice());
    QVERIFY(again && again->number == filedWith && again->by == QLatin1String("USt-IdNr."));
}

void TestEingangsrechnung::filedInvoiceKeepsItsFile()
{
    TestEnv env;
    env.state().Perm[15] = true;
    // a PDF with the invoice inside is kept as the PDF, byte for byte
    const QByteArray pdf = ZugferdPdf::attach(plainPdf(), sample("cii-en16931.xml"), PdfInfo{});
    TfrmEingangsrechnung w(env.state());
    QVERIFY(w.openFile(write(env, "lieferant.pdf", pdf)));
    env.dialogs().answer(Answer::No);
    const qint64 id = w.cmdFile();
    QVERIFY(id > 0);
    ReceivedInvoiceStore store(env.db(), env.state().dmCommon);
    const std::optional<FiledInvoice> f = store.find(id);
    QVERIFY(f);
    QCOMPARE(QStringList({f->fileName, f->sha256, f->supplier, f->number, f->date.toString("dd.MM.yyyy"),
                          f->gross.toText(), f->due.toString("dd.MM.yyyy"), f->state, f->received.toString("dd.MM.yyyy")}),
             QStringList({"lieferant.pdf", QString::fromLatin1(QCryptographicHash::hash(pdf, QCryptographicHash::Sha256).toHex()),
                          "Kanzlei Brandt & Partner", "RE-2024-0815", "04.11.2024", "603,75", "29.11.2024", "offen",
                          QDate::currentDate().toString("dd.MM.yyyy")}));
    QVERIFY(!f->failed());
    QCOMPARE(store.content(id), pdf);

    // the same file again, from another window: told, not filed twice
    TfrmEingangsrechnung second(env.state());
    QVERIFY(second.openFile(write(env, "nochmal.pdf", pdf)));
    QVERIFY(second.lblCheck->text().contains("abgelegt"));
    QVERIFY(!second.btnFile->isEnabled());
    QVERIFY_THROWS_EXCEPTION(OrvellaError, store.file(pdf, "x.pdf", w.invoice(), {}, 0, false, "u", QDate::currentDate()));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM eingangsrechnungen"), QStringLiteral("1"));

    // the list shows it, marks it paid and saves the original
    TfrmEingangsrechnungen list(env.state());
    QCOMPARE(list.rows().size(), 1);
    QCOMPARE(list.tblInvoices->item(0, 4)->text(), QStringLiteral("603,75 €"));
    list.cmdToggleState();
    QCOMPARE(store.find(id)->state, QStringLiteral("bezahlt"));
    QVERIFY(store.dueBetween(QDate(2024, 11, 1), QDate(2024, 12, 31)).isEmpty());
    const QString saved = env.path("kopie.pdf");
    env.dialogs().answerFile(saved);
    QVERIFY(list.cmdSaveOriginal());
    QFile copy(saved);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), pdf);

    // a stored file that changed is not handed out as the original
    env.exec("UPDATE eingangsrechnungen SET Datei = 'QUJD'");
    QVERIFY_THROWS_EXCEPTION(OrvellaError, store.content(id));
    TfrmEingangsrechnung changed(env.state());
    QVERIFY(!changed.openFiled(id));
    QVERIFY(env.dialogs().messages().last().contains("Prüfsumme"));
}

void TestEingangsrechnung::failedInvoiceIsFiledOnlyWhenConfirmed()
{
    TestEnv env;
    QByteArray broken = sample("cii-en16931.xml");
    broken.replace("<a:DuePayableAmount>603.75<", "<a:DuePayableAmount>630.75<");
    TfrmEingangsrechnung w(env.state());
    QVERIFY(w.openFile(write(env, "falsch.xml", broken)));
    // filing needs the right of the open items
    QVERIFY(!w.btnFile->isEnabled());
    QCOMPARE(w.cmdFile(), qint64(0));
    env.state().Perm[15] = true;
    QVERIFY(w.openFile(write(env, "falsch.xml", broken)));
    env.dialogs().answer(Answer::No);
    QCOMPARE(w.cmdFile(), qint64(0));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM eingangsrechnungen"), QStringLiteral("0"));
    env.dialogs().answer(Answer::Yes);
    env.dialogs().answer(Answer::No);
    const qint64 id = w.cmdFile();
    QVERIFY(id > 0);
    const std::optional<FiledInvoice> f = ReceivedInvoiceStore(env.db(), env.state().dmCommon).find(id);
    QVERIFY(f && f->failed());
    QCOMPARE(f->failures, w.failures().join('\n'));
    TfrmEingangsrechnungen list(env.state());
    QCOMPARE(list.tblInvoices->item(0, 6)->text(), QStringLiteral("fehlerhaft"));
}

QTEST_MAIN(TestEingangsrechnung)
#include "tst_eingangsrechnung.moc"
