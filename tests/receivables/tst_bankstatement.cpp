#include "bank/BankStatement.h"

#include <QFile>
#include <QtTest>

Q_DECLARE_METATYPE(StatementEntry)

namespace {

QByteArray sample(const char *name)
{
    QFile file(QStringLiteral(BANK_SAMPLES "/") + QLatin1StringView(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("sample %s missing", name);
    return file.readAll();
}

StatementEntry entry(const char *booked, const char *valued, qint64 raw, bool credit, bool reversal,
                     const char *name, const char *iban, const char *purpose, const char *bankRef,
                     const char *endToEnd)
{
    StatementEntry e;
    e.bookingDate = QDate::fromString(QLatin1StringView(booked), Qt::ISODate);
    e.valueDate = QDate::fromString(QLatin1StringView(valued), Qt::ISODate);
    e.amount = Amount::fromRaw(raw);
    e.credit = credit;
    e.reversal = reversal;
    e.currency = QStringLiteral("EUR");
    e.counterpartyName = QString::fromUtf8(name);
    e.counterpartyIban = QString::fromUtf8(iban);
    e.purpose = QString::fromUtf8(purpose);
    e.bankReference = QString::fromUtf8(bankRef);
    e.endToEndId = QString::fromUtf8(endToEnd);
    return e;
}

const char *const Camt = "urn:iso:std:iso:20022:tech:xsd:camt.053.001.02";

QByteArray camt(const char *body, const char *ns = Camt, const char *prolog = "")
{
    return QByteArray("<?xml version=\"1.0\"?>") + prolog + "<Document xmlns=\"" + ns + "\"><BkToCstmrStmt><Stmt>"
        + body + "</Stmt></BkToCstmrStmt></Document>";
}

QByteArray mt940(const char *lines)
{
    return QByteArray(":20:STARTUMSE\r\n:25:DE89370400440532013000\r\n:60F:C240301EUR0,00\r\n") + lines;
}

} // namespace

class TestBankStatement : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void goodFiles_data();
    void goodFiles();
    void badFiles_data();
    void badFiles();
};

void TestBankStatement::goodFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("statementCount");
    QTest::addColumn<int>("statement");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("statementId");
    QTest::addColumn<int>("entryCount");
    QTest::addColumn<int>("index");
    QTest::addColumn<StatementEntry>("expected");

    const QString v02 = QStringLiteral("camt053_v02.xml"), v08 = QStringLiteral("camt053_v08.xml");
    const QString spk = QStringLiteral("mt940_sparkasse.sta"), swift = QStringLiteral("mt940_blocks.sta");
    const QString iban = QStringLiteral("DE89370400440532013000"), blzKto = QStringLiteral("37040044/0532013000");
    const QString v02Id = QStringLiteral("2024-03-05-0042");
    // The pending entry at the end of the CAMT file is not booked and left out.
    QTest::newRow("camt v02 single") << v02 << 1 << 0 << iban << v02Id << 7 << 0
        << entry("2024-03-05", "2024-03-04", 12345600, true, false, "Bäckerei Größe GmbH", "DE02120300000000202051",
                 "Rechnung 000123 Kundennr. 4711", "2024030512345001", "RE-000123");
    QTest::newRow("camt v02 batch 1") << v02 << 1 << 0 << iban << v02Id << 7 << 1
        << entry("2024-03-05", "2024-03-05", 1000000, true, false, "Hans Müller", "DE75512108001245126199",
                 "Rechnung 000124", "B-1", "");
    QTest::newRow("camt v02 batch 2") << v02 << 1 << 0 << iban << v02Id << 7 << 2
        << entry("2024-03-05", "2024-03-05", 2005000, true, false, "Jürgen Weiß", "AT611904300234573201",
                 "Abschlag", "B-2", "RE-000125");
    QTest::newRow("camt v02 batch 3") << v02 << 1 << 0 << iban << v02Id << 7 << 3
        << entry("2024-03-05", "2024-03-05", 2995000, true, false, "Café Özdemir", "DE44500105175407324931",
                 "Rechnung 000126 RF18000000000000000126", "2024030512345002", "RE-000126");
    QTest::newRow("camt v02 debit") << v02 << 1 << 0 << iban << v02Id << 7 << 4
        << entry("2024-03-05", "2024-03-05", 899000, false, false, "Stadtwerke Süd", "DE12500105170648489890",
                 "Strom Februar Vertrag 7788", "2024030512345003", "");
    QTest::newRow("camt v02 reversal") << v02 << 1 << 0 << iban << v02Id << 7 << 5
        << entry("2024-03-05", "2024-03-01", 500000, false, true, "Hans Müller", "DE75512108001245126199",
                 "RUECKLASTSCHRIFT Rechnung 000099", "2024030512345004", "LS-000099");
    QTest::newRow("camt v02 no details") << v02 << 1 << 0 << iban << v02Id << 7 << 6
        << entry("2024-03-05", "2024-03-05", 50000, false, false, "", "", "Kontoführungsgebühr Februar", "", "");
    QTest::newRow("camt v08 batch 1") << v08 << 2 << 0 << "DE02100500000054540402" << "STMT-A-331" << 3 << 0
        << entry("2024-11-29", "2024-11-29", 2500000, true, false, "Metzgerei Fröhlich e.K.",
                 "DE44500105175407324931", "Rechnung 000311", "TX-7001-1", "LS-2024-000311");
    QTest::newRow("camt v08 batch 3") << v08 << 2 << 0 << "DE02100500000054540402" << "STMT-A-331" << 3 << 2
        << entry("2024-11-29", "2024-11-29", 2499900, true, false, "Ärztehaus Nord", "DE02120300000000202051",
                 "Rechnung 000313", "TX-7001-3", "LS-2024-000313");
    // Paid in dollars: the booked euro amount counts, not the transaction's own.
    QTest::newRow("camt v08 foreign debit") << v08 << 2 << 1 << "DE12500105170648489890" << "STMT-B-12" << 1 << 0
        << entry("2024-11-29", "2024-11-28", 23990000, false, false, "Großhandel Süßwaren & Co.",
                 "AT611904300234573201", "Bestellung 4471 RF71 4471", "ENTRY-REF-9", "BESTELLUNG 4471");
    QTest::newRow("mt940 credit") << spk << 2 << 0 << blzKto << "00000/001" << 3 << 0
        << entry("2023-12-29", "2023-12-29", 12345600, true, false, "Bäckerei Größe GmbH", "DE02120300000000202051",
                 "Rechnung 000123 vom 20.12.2023", "B4C29ABC123", "RE-000123");
    QTest::newRow("mt940 debit") << spk << 2 << 0 << blzKto << "00000/001" << 3 << 1
        << entry("2023-12-29", "2023-12-29", 899000, false, false, "Stadtwerke Süd", "DE12500105170648489890",
                 "Strom Dezember Vertrag 7788", "B4C29XYZ", "STROM-2023-12");
    QTest::newRow("mt940 reversal") << spk << 2 << 0 << blzKto << "00000/001" << 3 << 2
        << entry("2023-12-29", "2023-12-29", 500000, false, true, "Hans Müller", "DE75512108001245126199",
                 "Rechnung 000099 Kto erloschen", "B4C29RET", "LS-000099");
    QTest::newRow("mt940 booked in january") << spk << 2 << 1 << blzKto << "00001/001" << 2 << 0
        << entry("2024-01-02", "2023-12-31", 3000000, true, false, "", "", "Zinsgutschrift Jahresabschluss 2023",
                 "", "");
    QTest::newRow("mt940 booked in december") << spk << 2 << 1 << blzKto << "00001/001" << 2 << 1
        << entry("2023-12-31", "2024-01-02", 123400, false, false, "", "", "Kontoführung 4. Quartal", "GEB", "");
    QTest::newRow("mt940 own separator") << swift << 1 << 0 << iban << "42/1" << 2 << 0
        << entry("2024-03-05", "2024-03-05", 15000000, true, false, "MÜLLER & SÖHNE OHG", "DE75512108001245126199",
                 "Anzahlung Müller & Söhne Projekt Ä-12", "BANK-REF-77", "");
    QTest::newRow("mt940 unstructured") << swift << 1 << 0 << iban << "42/1" << 2 << 1
        << entry("2024-03-05", "2024-03-05", 200000, false, false, "", "", "Kartenzahlung Tankstelle Nord 12:30 Uhr",
                 "", "");
}

void TestBankStatement::goodFiles()
{
    QFETCH(QString, file);
    QFETCH(int, statement);
    QFETCH(int, index);
    QFETCH(StatementEntry, expected);
    const StatementFile read = StatementReader::read(sample(qPrintable(file)), file);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.format, file.endsWith(u".xml") ? StatementFile::Format::Camt053 : StatementFile::Format::Mt940);
    QTEST(int(read.statements.size()), "statementCount");
    const BankStatement &s = read.statements.at(statement);
    QTEST(s.accountIban, "account");
    QTEST(s.statementId, "statementId");
    QCOMPARE(s.currency, QStringLiteral("EUR"));
    QTEST(int(s.entries.size()), "entryCount");
    const StatementEntry &e = s.entries.at(index);
    QCOMPARE(e.bookingDate, expected.bookingDate);
    QCOMPARE(e.valueDate, expected.valueDate);
    QCOMPARE(e.amount.raw(), expected.amount.raw());
    QCOMPARE(e.credit, expected.credit);
    QCOMPARE(e.reversal, expected.reversal);
    QCOMPARE(e.currency, expected.currency);
    QCOMPARE(e.counterpartyName, expected.counterpartyName);
    QCOMPARE(e.counterpartyIban, expected.counterpartyIban);
    QCOMPARE(e.purpose, expected.purpose);
    QCOMPARE(e.bankReference, expected.bankReference);
    QCOMPARE(e.endToEndId, expected.endToEndId);
}

void TestBankStatement::badFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    const QString notStatement = QStringLiteral("ist kein Kontoauszug im Format CAMT.053 oder MT940.");
    const QString notCamt = QStringLiteral("ist kein Kontoauszug im Format CAMT.053.");
    const QString doctype = QStringLiteral("enthält eine Dokumenttypdeklaration");
    const QString damaged = QStringLiteral("ist unvollständig oder beschädigt (Zeile");
    const QByteArray good = sample("camt053_v02.xml");
    const QByteArray sta = sample("mt940_sparkasse.sta");

    QTest::newRow("brief.txt") << QByteArray("Sehr geehrte Damen und Herren,\nanbei die Rechnung.\n") << notStatement;
    QTest::newRow("scan.pdf") << QByteArray("%PDF-1.7\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<< /Type /Catalog >>\n")
                              << notStatement;
    QTest::newRow("rechnung.xml") << QByteArray("<?xml version=\"1.0\"?><rsm:CrossIndustryInvoice xmlns:rsm=\"urn:un:"
                                                "unece:uncefact:data:standard:CrossIndustryInvoice:100\"/>")
                                  << notCamt;
    QTest::newRow("camt052.xml") << camt("<Id>1</Id>", "urn:iso:std:iso:20022:tech:xsd:camt.052.001.02") << notCamt;
    QTest::newRow("cut.xml") << good.left(good.size() * 2 / 3) << damaged;
    QTest::newRow("external-entity.xml")
        << camt("<Id>&x;</Id>", Camt, "<!DOCTYPE Document [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>") << doctype;
    QTest::newRow("laughs.xml")
        << camt("<Id>&l4;</Id>", Camt,
                "<!DOCTYPE Document [<!ENTITY l0 \"ha\"><!ENTITY l1 \"&l0;&l0;&l0;&l0;&l0;&l0;&l0;&l0;&l0;&l0;\">"
                "<!ENTITY l2 \"&l1;&l1;&l1;&l1;&l1;&l1;&l1;&l1;&l1;&l1;\"><!ENTITY l3 \"&l2;&l2;&l2;&l2;&l2;&l2;"
                "&l2;&l2;&l2;&l2;\"><!ENTITY l4 \"&l3;&l3;&l3;&l3;&l3;&l3;&l3;&l3;&l3;&l3;\">]>")
        << doctype;
    QTest::newRow("undeclared-entity.xml") << camt("<Id>&x;</Id>") << damaged;
    QTest::newRow("decimal-comma.xml")
        << camt("<Ntry><Amt Ccy=\"EUR\">12,50</Amt><CdtDbtInd>CRDT</CdtDbtInd><BookgDt><Dt>2024-03-01</Dt>"
                "</BookgDt></Ntry>")
        << QStringLiteral("enthält eine Buchung ohne gültigen Betrag (Zeile 1).");
    QTest::newRow("no-statement.xml") << camt("").replace("<Stmt></Stmt>", "") << QStringLiteral("keinen Kontoauszug");
    QTest::newRow("cut.sta") << sta.left(sta.indexOf(":62F:")) << QStringLiteral("endet vor dem Schlusssaldo (:62F:) "
                                                                                 "des Kontoauszugs (Zeile 1).");
    QTest::newRow("no-amount.sta") << mt940(":61:2403010301CRNTRFNONREF//X\r\n:62F:C240301EUR0,00\r\n")
                                   << QStringLiteral("ohne gültigen Betrag (Zeile 4).");
    QTest::newRow("no-account.sta") << QByteArray(":20:X\n:60F:C240301EUR0,00\n:62F:C240301EUR0,00\n")
                                    << QStringLiteral("ohne Konto (:25:) (Zeile 1).");
    QTest::newRow("no-date.sta") << mt940(":61:2402301CR1,00NTRFNONREF\r\n:62F:C240301EUR1,00\r\n")
                                 << QStringLiteral("ohne gültiges Valutadatum (Zeile 4).");
    QTest::newRow("stray-field.sta") << QByteArray(":61:2403010301CR1,00NTRFNONREF\n:20:X\n:61:\n")
                                     << QStringLiteral("das Feld :61: außerhalb eines Kontoauszugs (Zeile 1).");
    QTest::newRow("huge.sta") << mt940("").leftJustified(20 * 1024 * 1024 + 1, ' ')
                              << QStringLiteral("größer als 20 MB");
}

void TestBankStatement::badFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const StatementFile read = StatementReader::read(content, name);
    QVERIFY(!read.ok());
    QVERIFY(read.statements.isEmpty());
    QVERIFY2(read.error.startsWith(QStringLiteral("Die Datei „%1“ ").arg(name)), qPrintable(read.error));
    QVERIFY2(read.error.contains(reason), qPrintable(read.error));
}

QTEST_GUILESS_MAIN(TestBankStatement)
#include "tst_bankstatement.moc"
