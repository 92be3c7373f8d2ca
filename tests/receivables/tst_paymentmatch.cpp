#include "PaymentMatcher.h"

#include <QtTest>

Q_DECLARE_METATYPE(StatementEntry)

namespace {

Amount money(const char *text)
{
    return Amount::fromText(QString::fromLatin1(text));
}

// Six open invoices of four customers; 123 has a Skonto until 10 December.
QList<OpenInvoice> invoices()
{
    const auto inv = [](qint64 n, qint64 c, const char *name, QStringList ibans, const char *amount) {
        OpenInvoice i;
        i.number = n;
        i.customer = c;
        i.customerName = QString::fromUtf8(name);
        i.ibans = ibans;
        i.outstanding = money(amount);
        return i;
    };
    OpenInvoice skonto = inv(123, 1, "Bäckerei Müller GmbH", {"DE11 1111 1111 1111 1111 11"}, "119,00");
    skonto.withSkonto = money("116,62");
    skonto.skontoDeadline = QDate(2026, 12, 10);
    return {skonto,
            inv(124, 1, "Bäckerei Müller GmbH", {"DE11 1111 1111 1111 1111 11"}, "238,00"),
            inv(200, 2, "Schmidt Elektro KG", {}, "500,00"),
            inv(201, 2, "Schmidt Elektro KG", {}, "500,00"),
            inv(300, 3, "Anna Weber", {"DE33333333333333333333"}, "75,50"),
            inv(4711, 4, "Hofmann Bau", {}, "1000,00")};
}

StatementEntry entry(const QString &purpose, const QString &payer, const QString &iban, const char *amount,
                     const QDate &date = QDate(2026, 12, 5))
{
    StatementEntry e;
    e.purpose = purpose;
    e.counterpartyName = payer;
    e.counterpartyIban = iban;
    e.amount = money(amount);
    e.bookingDate = e.valueDate = date;
    return e;
}

// "123:116,62S" per invoice paid: S with Skonto, T a part payment.
QString proposal(const EntryMatch &m)
{
    QStringList out;
    for (const MatchedInvoice &i : m.invoices)
        out << QStringLiteral("%1:%2%3%4")
                   .arg(i.invoice)
                   .arg(i.amount.toText(), i.withSkonto ? "S" : "", i.partPayment ? "T" : "");
    return out.join(QLatin1Char(';'));
}

const QString Stranger = QStringLiteral("DE99999999999999999999");

} // namespace

class TestPaymentMatch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void matchesByTheStrongestEvidence_data();
    void matchesByTheStrongestEvidence();
    void invoicePaidOnceIsNotOfferedAgain();
    void entriesAreKeptApart();
};

void TestPaymentMatch::matchesByTheStrongestEvidence_data()
{
    QTest::addColumn<StatementEntry>("e");
    QTest::addColumn<int>("certainty");
    QTest::addColumn<QString>("paid");
    QTest::addColumn<QList<qint64>>("candidates");
    const int matched = int(MatchCertainty::Matched), uncertain = int(MatchCertainty::Uncertain);
    const QList<qint64> none;
    const QString stranger = QStringLiteral("Irgendwer");
    for (const char *purpose : {"Rechnung 000123", "RE 123", "Re-Nr. 123", "Rg. 000123", "ZahlungRE000123Kd1",
                                "Rechnungsnr.: 123 vom 1.12.", "rg123"})
        QTest::newRow(purpose) << entry(purpose, stranger, Stranger, "119,00") << matched << "123:119,00" << none;
    QTest::newRow("two invoices at once") << entry("RE 123 und RE 124", stranger, Stranger, "357,00") << matched
                                          << "123:119,00;124:238,00" << none;
    QTest::newRow("a customer number beside the invoice")
        << entry("Kunde 4711 Rechnung 124", stranger, Stranger, "238,00") << matched << "124:238,00" << none;
    QTest::newRow("Skonto within its period") << entry("RE 123", stranger, Stranger, "116,62") << matched
                                              << "123:116,62S" << none;
    QTest::newRow("Skonto after its period")
        << entry("RE 123", stranger, Stranger, "116,62", QDate(2026, 12, 11)) << uncertain << "" << QList<qint64>{123};
    QTest::newRow("part payment, payer by account")
        << entry("RE 123", "B. Müller", "DE11111111111111111111", "50,00") << matched << "123:50,00T" << none;
    QTest::newRow("part payment, payer by misspelt name")
        << entry("RE 123", "Baeckerei Mülelr", Stranger, "50,00") << matched << "123:50,00T" << none;
    QTest::newRow("part payment, unknown payer") << entry("RE 123", stranger, Stranger, "50,00") << uncertain << ""
                                                 << QList<qint64>{123};
    QTest::newRow("another customer's invoice number")
        << entry("RE 300", "B. Müller", "DE11111111111111111111", "10,00") << uncertain << "" << QList<qint64>{300};
    QTest::newRow("no number, payer's account") << entry("Danke", "A W", "de33 3333 3333 3333 3333 33", "75,50")
                                                << matched << "300:75,50" << none;
    QTest::newRow("no number, payer's name turned round") << entry("Danke", "WEBER, ANNA", Stranger, "75,50")
                                                          << matched << "300:75,50" << none;
    QTest::newRow("no number, misspelt name") << entry("", "Anna Wbeer", Stranger, "75,50") << matched << "300:75,50"
                                              << none;
    QTest::newRow("no number, two invoices of the amount")
        << entry("Zahlung", "Schmidt Elektro", Stranger, "500,00") << uncertain << "" << QList<qint64>{200, 201};
    QTest::newRow("the amount alone") << entry("Danke", stranger, Stranger, "1000,00") << uncertain << ""
                                      << QList<qint64>{4711};
    QTest::newRow("digits inside a longer number") << entry("Konto 9912300", stranger, Stranger, "119,00")
                                                   << uncertain << "" << QList<qint64>{123};
    QTest::newRow("nothing") << entry("Miete", stranger, Stranger, "33,33") << int(MatchCertainty::Unmatched) << ""
                             << none;
    StatementEntry debit = entry("RE 123", stranger, Stranger, "119,00");
    debit.credit = false;
    QTest::newRow("debit") << debit << int(MatchCertainty::NotBooked) << "" << none;
    StatementEntry reversal = entry("RE 123", stranger, Stranger, "119,00");
    reversal.reversal = true;
    QTest::newRow("reversal") << reversal << int(MatchCertainty::NotBooked) << "" << none;
}

void TestPaymentMatch::matchesByTheStrongestEvidence()
{
    QFETCH(StatementEntry, e);
    QFETCH(int, certainty);
    QFETCH(QString, paid);
    QFETCH(QList<qint64>, candidates);
    PaymentMatcher matcher(invoices());
    const EntryMatch m = matcher.match(e);
    QCOMPARE(int(m.certainty), certainty);
    QCOMPARE(proposal(m), paid);
    QList<qint64> got = m.candidates;
    std::sort(got.begin(), got.end());
    QCOMPARE(got, candidates);
    QVERIFY(m.certainty == MatchCertainty::Unmatched || !m.reason.isEmpty());
}

void TestPaymentMatch::invoicePaidOnceIsNotOfferedAgain()
{
    PaymentMatcher matcher(invoices());
    const StatementEntry e = entry("RE 124", "Irgendwer", Stranger, "238,00");
    QCOMPARE(int(matcher.match(e).certainty), int(MatchCertainty::Matched));
    const EntryMatch again = matcher.match(e);
    QVERIFY(again.certainty != MatchCertainty::Matched);
    QVERIFY(!again.candidates.contains(124));
    // a part payment leaves the rest to pay
    QCOMPARE(proposal(matcher.match(entry("RE 123", "Müller", "DE11111111111111111111", "19,00"))), "123:19,00T");
    QCOMPARE(proposal(matcher.match(entry("RE 123", "Irgendwer", Stranger, "100,00"))), "123:100,00");
}

void TestPaymentMatch::entriesAreKeptApart()
{
    StatementEntry a = entry("RE 123", "Müller", "DE11111111111111111111", "119,00"), b = a;
    a.bankReference = b.bankReference = QStringLiteral("SAMMLER-1");
    b.amount = money("238,00");
    const QString account = QStringLiteral("DE02 1203 0000 0000 2020 51");
    QCOMPARE(StatementEntryKey(account, a), StatementEntryKey(QStringLiteral("DE02120300000000202051"), a));
    QVERIFY(StatementEntryKey(account, a) != StatementEntryKey(account, b)); // a batch's transactions
    a.bankReference.clear();
    StatementEntry c = a;
    QCOMPARE(StatementEntryKey(account, a), StatementEntryKey(account, c));
    c.purpose += QLatin1Char('.');
    QVERIFY(StatementEntryKey(account, a) != StatementEntryKey(account, c));
}

QTEST_GUILESS_MAIN(TestPaymentMatch)
#include "tst_paymentmatch.moc"
