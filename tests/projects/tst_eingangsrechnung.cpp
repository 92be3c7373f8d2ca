#include "TestEnv.h"
#include "TfrmEingangsrechnung.h"
#include "ZugferdPdf.h"

#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
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

QTEST_MAIN(TestEingangsrechnung)
#include "tst_eingangsrechnung.moc"
