#include "Errors.h"
#include "ReceivablesFixtures.h"
#include "ReceivablesStore.h"
#include "Schema.h"
#include "SqlQuery.h"
#include "TestEnv.h"
#include "QueryRows.h"

#include <QtTest>

namespace {

Amount A(const char *text)
{
    return Amount::fromText(QString::fromUtf8(text));
}

QString invoices(const QList<OpenItemRow> &rows)
{
    QStringList out;
    for (const OpenItemRow &r : rows)
        out << QString::number(r.invoice);
    return out.join(',');
}

// One invoice in every state of the list; the number tells the state.
void AddOneOfEachState(TestEnv &env)
{
    AddReceivablesCustomers(env);
    AddInvoice(env, 1, 1, "1000", 5);  // unsettled, not due
    AddInvoice(env, 2, 2, "1000", 0);  // due today
    AddInvoice(env, 3, 1, "1000", -30, "N", "400");  // part-paid, overdue
    AddInvoice(env, 4, 2, "1000", 20, "N", "250");  // part-paid, not due
    AddInvoice(env, 5, 1, "1000", -60, "J", "0");  // settled
    AddInvoice(env, 6, 1, "1000", -90, "J", "-15.5");  // overpaid
    AddInvoice(env, 9, 2, "1000", 5);  // due the same day as 1
    AddInvoice(env, 8, 2, "1000", 5);
    env.exec("UPDATE rechnungenop SET EDatum=NULL WHERE RNR=8");    // no due date at all
    env.exec("INSERT INTO rechnungen (BelegNr, ProjektNr, Datum) VALUES (7, 1, '01.01.2024')"); // no Skonto row
    env.exec("INSERT INTO rechnungenop (RNR, EDatum, Betrag, Gebucht, RBetrag) VALUES (7, '01.02.2024', 5, 'N', 0)");
}

// The fields of the first row, read back as the program reads them, joined by "/".
QString firstRow(TestEnv &env, const QString &sql)
{
    SqlQuery q(env.db());
    q.open(sql);
    QStringList fields;
    for (int i = 0; i < q.fieldCount(); ++i)
        fields << q.fieldAt(i);
    return fields.join('/');
}

} // namespace

class TestReceivablesStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filters_data();
    void filters();
    void search();
    void booking_data();
    void booking();
    void bookingMeetsChangedInvoice();
    void contactPanel();
    void outstandingForTheList();
    void earlierDataSetGetsTheDueDateIndex();
};

void TestReceivablesStore::filters_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("listed"); // latest due date first
    QTest::newRow("überfällige") << int(OpenItemFilter::Overdue) << "2,3";
    QTest::newRow("mit Restbetrag") << int(OpenItemFilter::Remainder) << "4,3";
    QTest::newRow("unbezahlte") << int(OpenItemFilter::Unpaid) << "4,9,1,2,3,8";
    QTest::newRow("beglichene") << int(OpenItemFilter::Settled) << "5,6";
    QTest::newRow("alle") << int(OpenItemFilter::All) << "4,9,1,2,3,5,6,8";
}

void TestReceivablesStore::filters()
{
    QFETCH(int, filter);
    QFETCH(QString, listed);
    TestEnv env;
    AddOneOfEachState(env);
    ReceivablesStore store(env.db(), env.state().dmCommon);
    const QDate today = QDate::currentDate();
    const QList<OpenItemRow> rows =
        store.loadList(OpenItemFilter(filter), ReceivablesStore::SearchKind::Customer, {}, today);
    QCOMPARE(invoices(rows), listed);
    // The statement and the rule for rows in memory agree.
    const QList<OpenItemRow> all = store.loadList(OpenItemFilter::All, ReceivablesStore::SearchKind::Customer, {}, today);
    QList<OpenItemRow> kept;
    for (const OpenItemRow &r : all)
        if (OpenItemRules::inFilter(OpenItemFilter(filter), r, today))
            kept << r;
    QCOMPARE(invoices(kept), listed);
    // Read in pages of two, each after the last row of the one before, it is the same list.
    QList<OpenItemRow> paged;
    for (QList<OpenItemRow> page; paged.isEmpty() || page.size() == 2;) {
        page = store.loadList(OpenItemFilter(filter), ReceivablesStore::SearchKind::Customer, {}, today,
                              paged.isEmpty() ? nullptr : &paged.last(), 2);
        paged << page;
        if (page.isEmpty())
            break;
    }
    QCOMPARE(invoices(paged), listed);
}

void TestReceivablesStore::search()
{
    TestEnv env;
    AddOneOfEachState(env);
    ReceivablesStore store(env.db(), env.state().dmCommon);
    const QDate today = QDate::currentDate();
    using K = ReceivablesStore::SearchKind;
    QCOMPARE(invoices(store.loadList(OpenItemFilter::All, K::Customer, "20", today)), "4,9,2,8");
    QCOMPARE(invoices(store.loadList(OpenItemFilter::All, K::Customer, "000010", today)), "1,3,5,6");
    QCOMPARE(invoices(store.loadList(OpenItemFilter::Unpaid, K::Customer, "10", today)), "1,3");
    QCOMPARE(invoices(store.loadList(OpenItemFilter::All, K::Invoice, "5", today)), "5");
    QCOMPARE(invoices(store.loadList(OpenItemFilter::Overdue, K::Invoice, "5", today)), "");
    QVERIFY_THROWS_EXCEPTION(ConversionError, store.loadList(OpenItemFilter::All, K::Invoice, "5' OR '1'='1", today));

    const OpenItemRow r = store.loadList(OpenItemFilter::All, K::Invoice, "3", today).value(0);
    QCOMPARE(r.customer, qint64(10));
    QCOMPARE(r.project, qint64(1));
    QCOMPARE(r.uid, "DE111");
    QCOMPARE(r.company, "Halvard GmbH - Weg 1 - 12345 Ort");
    QCOMPARE(r.amount, A("1000"));
    QCOMPARE(r.remaining, A("400"));
    QCOMPARE(r.due, today.addDays(-30));
}

void TestReceivablesStore::booking_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("withSkonto");
    QTest::addColumn<QString>("openItem"); // RBetrag/Gebucht/Skonto after the booking
    QTest::addColumn<QString>("postings"); // all postings of the invoice
    // Invoice 1000 with 2 % Skonto, part-paid with 400 before.
    QTest::newRow("exact") << "600" << false << "0/J/N" << "400|600";
    QTest::newRow("nothing typed") << "" << false << "0/J/N" << "400|600";
    QTest::newRow("partial") << "150,25" << false << "449,75/N/N" << "400|150,25";
    QTest::newRow("over") << "700" << false << "-100/J/N" << "400|700";
    QTest::newRow("negative correction") << "-400" << false << "1000/N/N" << "400|-400";
    QTest::newRow("with Skonto") << "" << true << "0/J/J" << "400|580";
    QTest::newRow("with Skonto, part") << "500" << true << "80/N/J" << "400|500";
}

void TestReceivablesStore::booking()
{
    QFETCH(QString, typed);
    QFETCH(bool, withSkonto);
    QFETCH(QString, openItem);
    QFETCH(QString, postings);
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 1, 1, "1000", -5, "N", "600", "2");
    AddPosting(env, 1, "400");
    ReceivablesStore store(env.db(), env.state().dmCommon);
    const InvoiceFigures seen = store.figures(1);
    QCOMPARE(seen, (InvoiceFigures{A("1000"), {}, A("400"), "2"}));
    const PanelAmounts panel = PaymentRules::panelAmounts(seen, false);
    const auto booking = PaymentRules::planBooking(PaymentRules::referenceAmount(panel, withSkonto), typed, withSkonto);
    QVERIFY(booking);
    store.book(1, seen, *booking, QDate(2024, 4, 2));

    QCOMPARE(firstRow(env, "SELECT RBetrag, Gebucht, Skonto, BDatum, ZText FROM rechnungenop WHERE RNR=1"),
             openItem + "/02.04.2024/");
    QCOMPARE(env.column("SELECT Betrag FROM teilbuchung WHERE RNr=1 ORDER BY ID").join('|'), postings);
    QCOMPARE(allRows(env, "SELECT Datum, Text FROM teilbuchung WHERE RNr=1 ORDER BY ID DESC").value(0), "02.04.2024/");
}

void TestReceivablesStore::bookingMeetsChangedInvoice()
{
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 1, 1, "1000", -5);
    ReceivablesStore store(env.db(), env.state().dmCommon);
    const InvoiceFigures seen = store.figures(1);
    const PaymentRules::Booking pay{A("600"), A("400"), false};

    AddPosting(env, 1, "100"); // another workstation books meanwhile
    QVERIFY_THROWS_EXCEPTION(OrvellaError, store.book(1, seen, pay, QDate(2024, 4, 2)));
    AddCreditNote(env, 9, 2, "50"); // a credit note of another invoice changes nothing here
    store.book(1, store.figures(1), {A("500"), A("400"), false}, QDate(2024, 4, 2));
    QCOMPARE(env.column("SELECT Betrag FROM teilbuchung ORDER BY ID").join('|'), "100|400");

    // An invoice without open item gets no posting either.
    QVERIFY_THROWS_EXCEPTION(OrvellaError, store.book(8, store.figures(8), pay, QDate(2024, 4, 2)));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM teilbuchung WHERE RNr=8"), "0");
    QCOMPARE(env.db().transactionDepth(), 0);
}

void TestReceivablesStore::contactPanel()
{
    TestEnv env;
    AddReceivablesCustomers(env);
    ReceivablesStore store(env.db(), env.state().dmCommon);
    const auto company = store.loadContact(10);
    QVERIFY(company.company);
    QCOMPARE(QStringList({company.name, company.phone, company.street, company.postcode, company.town,
                          company.contactPhone}),
             QStringList({"Muster GmbH", "0711 100", "Hauptstraße 1", "70173", "Stuttgart", "0711 102"}));
    QCOMPARE(company.persons.size(), 1);
    QCOMPARE(company.persons[0].position + '/' + company.persons[0].name, "Buchhaltung/Erika Muster");
    QCOMPARE(company.persons[0].idn, qint64(21));

    const auto person = store.loadContact(20);
    QVERIFY(!person.company);
    QCOMPARE(person.name, "Dr. Hans Meier");
    QCOMPARE(person.contactPhone, "0761 300");
    QVERIFY(person.persons.isEmpty());
    QCOMPARE(store.loadContact(99).name, " "); // neither: treated as a person without data
}

void TestReceivablesStore::outstandingForTheList()
{
    TestEnv env;
    AddReceivablesCustomers(env);
    AddInvoice(env, 1, 1, "1000", -5, "N", "600");
    AddPosting(env, 1, "300");
    AddPosting(env, 1, "100");
    AddCreditNote(env, 5, 1, "99.99");
    AddInvoice(env, 2, 1, "500", -6, "J", "-20");
    AddPosting(env, 2, "520");
    AddInvoice(env, 3, 2, "250", 5);
    ReceivablesStore store(env.db(), env.state().dmCommon);
    const QList<OpenItemRow> rows =
        store.loadList(OpenItemFilter::All, ReceivablesStore::SearchKind::Customer, {}, QDate::currentDate());
    QCOMPARE(invoices(rows), "3,1,2");
    const QList<Amount> out = store.outstandingAmounts(rows);
    QCOMPARE(out, (QList<Amount>{A("250"), A("500,01"), A("-20")}));
}

void TestReceivablesStore::earlierDataSetGetsTheDueDateIndex()
{
    ORVELLA_SQLITE_ONLY();
    TestEnv env;
    env.exec("DROP INDEX ix_rechnungenop_EDatum_RNR");
    env.exec("PRAGMA user_version=1");
    env.db().close();
    env.reopen();
    QCOMPARE(env.db().schemaVersion(), Schema::Version); // and every later step
    QCOMPARE(env.scalar("SELECT sql FROM sqlite_master WHERE name='ix_rechnungenop_EDatum_RNR'"),
             "CREATE INDEX ix_rechnungenop_EDatum_RNR ON rechnungenop (EDatum,RNR)");
}

QTEST_GUILESS_MAIN(TestReceivablesStore)
#include "tst_receivablesstore.moc"
