#include "DocumentFixtures.h"
#include "DocumentStore.h"
#include "Database.h"
#include "Errors.h"
#include "TdmCommon.h"
#include "QueryRows.h"
#include "SqlQuery.h"
#include "TestEnv.h"
#include "Transaction.h"
#include "Totals.h"
#include "RefuseWrites.h"

#include <QtTest>

namespace {

const QStringList invoiceRows = {"1|A1|Schrank|1,5|1.234,50|16,00 %", "||aus Eiche"};

int rows(TestEnv &env, const QString &table, const QString &where = QString())
{
    return env.scalar(QStringLiteral("SELECT COUNT(*) FROM %1%2")
                          .arg(table, where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where))
        .toInt();
}

// Row counts of a document's whole table family, in a fixed order.
QList<int> familyCounts(TestEnv &env, DocumentKind kind, qint64 n)
{
    const QString w = QStringLiteral("BelegNr=%1").arg(n);
    QList<int> c = {rows(env, kind.headerTable(), w), rows(env, kind.lineTable(), w),
                    rows(env, kind.extraTable(), w), rows(env, kind.addressTable(), w),
                    rows(env, kind.textTable(), w)};
    if (kind.kind() == DocumentKind::Rechnung)
        c << rows(env, "rechnungenop", QStringLiteral("RNR=%1").arg(n));
    if (kind.kind() == DocumentKind::Gutschrift)
        c << rows(env, "gutschriftenop", w);
    if (!kind.amountTable().isEmpty())
        c << rows(env, kind.amountTable(), w);
    return c;
}

// An invoice's open item and payments, as the open-items window leaves them.
void storeInvoiceItem(TestEnv &env, qint64 invoice, const QString &amount, const QStringList &payments)
{
    env.exec(QStringLiteral("INSERT INTO rechnungenop (RNR, ZZiel, EDatum, Betrag, Name, RBetrag, MStufe, Gebucht) "
                            "VALUES (%1, 14, '15.03.2004', %2, 'Muster GmbH', 0, 1, 'N')")
                 .arg(invoice)
                 .arg(amount));
    for (const QString &p : payments)
        env.exec(QStringLiteral("INSERT INTO teilbuchung (RNr, Betrag, Datum, Text) VALUES (%1, %2, '20.03.2004', '')")
                     .arg(invoice)
                     .arg(p));
}

Document creditNote(qint64 n, qint64 invoice, const QString &amount)
{
    Document d = sampleDocument(DocumentKind::Gutschrift, n, {"1||Gutschrift|1|" + amount + "|0,00 %"});
    d.invoiceNumber = invoice;
    return d;
}

QString firstRow(TestEnv &env, const QString &sql)
{
    return allRows(env, sql).value(0);
}

// The row keys of the lines change with every save; nothing else may.
Document withoutKeys(Document d)
{
    for (int r = 1; r < d.lines.rowCount(); ++r)
        d.lines.setCell(r, LineList::Id, QString());
    return d;
}

} // namespace

class TestDocumentStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newAndResavedInvoice();
    void familyOfEveryKind_data();
    void familyOfEveryKind();
    void dueDates_data();
    void dueDates();
    void resaveKeepsTheBookingState();
    void creditNoteConfirmation_data();
    void creditNoteConfirmation();
    void resavedCreditNoteDoesNotCountItself();
    void refusals_data();
    void refusals();
    void failedSaveWritesNothing_data();
    void failedSaveWritesNothing();
    void dunningLetter();
    void dunningPlaceholderIsNotSaved();
    void emptyDateLoadsWithoutLines();
    void twelveLinesInOrder();
    void unreadableLineStillLoads();
    void unsavedNumberLoadsEmpty();
    void numberTakenByAnotherWorkstation();
    void commitCutOffIsSettledByItsToken();
    void linesAreSentInFewStatements();
};

void TestDocumentStore::newAndResavedInvoice()
{
    TestEnv env;
    env.exec("INSERT INTO prust (UStSatz) VALUES (16)");
    DocumentStore store(env.db(), env.dialogs());
    Document other = sampleDocument(DocumentKind::Rechnung, 41, {"1||x|1|10,00|16,00 %"});
    QCOMPARE(store.save(other), DocumentStore::SaveResult::Saved);

    Document d = sampleDocument(DocumentKind::Rechnung, 42, invoiceRows);
    QCOMPARE(store.save(d), DocumentStore::SaveResult::Saved);
    // header, lines, extra, addresses, texts, open item, amounts
    QCOMPARE(familyCounts(env, DocumentKind::Rechnung, 42), (QList<int>{1, 2, 1, 2, 4, 1, 1}));
    QCOMPARE(env.column("SELECT Art FROM rechnungenanschrift WHERE BelegNr=42 ORDER BY Art"),
             (QStringList{"Anschrift", "Rechnungsanschrift"}));
    QCOMPARE(env.scalar("SELECT Betrag FROM rechnungenop WHERE RNR=42"), QStringLiteral("2148,03"));
    QCOMPARE(allRows(env, "SELECT Netto, Brutto FROM rechnungenbetrag WHERE BelegNr=42"),
             QStringList{"1851,75/2148,03"});
    QCOMPARE(env.column("SELECT Betrag FROM rechnungenartikel WHERE BelegNr=42 ORDER BY RF"),
             (QStringList{"1.851,75 ", ""}));
    // the document handed back carries the totals that were stored
    QCOMPARE(d.totals.gross(), QStringLiteral("2.148,03 €"));
    QVERIFY(env.dialogs().log().isEmpty());

    d.lines = linesFrom({"1|A1|Schrank|1|1.000,00|16,00 %", "2|A2|Regal|2|100,00|16,00 %", "||weiß", "3||Lampe|1|5,00|"});
    QCOMPARE(store.save(d), DocumentStore::SaveResult::Saved);
    QCOMPARE(familyCounts(env, DocumentKind::Rechnung, 42), (QList<int>{1, 4, 1, 2, 4, 1, 1}));
    QCOMPARE(env.column("SELECT Bezeichnung FROM rechnungenartikel WHERE BelegNr=42 ORDER BY RF"),
             (QStringList{"Schrank", "Regal", "weiß", "Lampe"}));
    QCOMPARE(firstRow(env, "SELECT Netto, Brutto FROM rechnungenbetrag WHERE BelegNr=42"),
             QStringLiteral("1205/1397"));
    QCOMPARE(env.scalar("SELECT Betrag FROM rechnungenop WHERE RNR=42"), QStringLiteral("1397"));
    // the other invoice is untouched
    QCOMPARE(firstRow(env, "SELECT Netto, Brutto FROM rechnungenbetrag WHERE BelegNr=41"),
             QStringLiteral("10/11,6"));
    QCOMPARE(familyCounts(env, DocumentKind::Rechnung, 41), (QList<int>{1, 1, 1, 2, 4, 1, 1}));
}

void TestDocumentStore::familyOfEveryKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<QStringList>("arts");
    QTest::addColumn<QString>("rl");
    QTest::newRow("Angebot") << 1 << QList<int>{1, 2, 1, 1, 4} << QStringList{"Anschrift"} << "N";
    QTest::newRow("Auftrag") << 3 << QList<int>{1, 2, 1, 1, 4} << QStringList{"Anschrift"} << "N";
    QTest::newRow("Lieferschein") << 5 << QList<int>{1, 2, 1, 2, 4} << QStringList{"Anschrift", "Lieferanschrift"}
                                  << "J";
    QTest::newRow("Rechnung") << 7 << QList<int>{1, 2, 1, 2, 4, 1, 1} << QStringList{"Anschrift", "Rechnungsanschrift"}
                              << "J";
    QTest::newRow("Gutschrift") << 9 << QList<int>{1, 2, 1, 2, 4, 1, 1}
                                << QStringList{"Anschrift", "Rechnungsanschrift"} << "J";
    QTest::newRow("Ablage") << 11 << QList<int>{1, 2, 1, 2, 4} << QStringList{"Anschrift", "Zweitanschrift"} << "N";
}

// Every kind stores its whole family, and every text comes back exactly as it was
// typed: apostrophes, umlauts, line breaks and "%1" in every field.
void TestDocumentStore::familyOfEveryKind()
{
    QFETCH(int, kind);
    QFETCH(QList<int>, counts);
    QFETCH(QStringList, arts);
    QFETCH(QString, rl);
    TestEnv env;
    env.exec("INSERT INTO prust (UStSatz) VALUES (16)");
    DocumentStore store(env.db(), env.dialogs());
    const DocumentKind k = *DocumentKind::fromNumber(kind);
    // a credit note against an invoice without open item needs the user's yes at both saves
    const DocumentStore::Confirmation yes = k.kind() == DocumentKind::Gutschrift
                                                ? DocumentStore::Confirmation::CreditNoteAboveOwed
                                                : DocumentStore::Confirmation::None;
    const QString odd = QStringLiteral("O'Neil's \"Größe\" %1 ß\nzweite Zeile; -- '');");
    const QStringList rowsWithOddText = {"1|A'1|" + odd + "|1,5|1.234,50|16,00 %", "||" + odd};

    Document d = sampleDocument(k, 7, rowsWithOddText);
    d.invoiceNumber = k.kind() == DocumentKind::Gutschrift ? 3 : 0;
    d.projectName = odd;
    d.ownCompany = odd + QStringLiteral(" Firma");
    d.address = {odd + "N", odd + "S", odd + "O"};
    d.secondAddress = {odd + "n", odd + "s", odd + "o"};
    d.skontoText = odd;
    for (int i = 0; i < 4; ++i)
        d.texts[i].text = odd + QString::number(i);
    QCOMPARE(store.save(d, yes), DocumentStore::SaveResult::Saved);
    QCOMPARE(familyCounts(env, k, 7), counts);
    QCOMPARE(env.column(QStringLiteral("SELECT Art FROM %1 WHERE BelegNr=7 ORDER BY Art").arg(k.addressTable())), arts);
    QCOMPARE(env.scalar(QStringLiteral("SELECT RL FROM %1").arg(k.headerTable())), rl);

    const DocumentStore::Loaded loaded = store.load(k, 7);
    QVERIFY(loaded.stored);
    QVERIFY(loaded.linesFound);
    QCOMPARE(loaded.lineError, QString());
    const Document &l = loaded.document;
    QCOMPARE(rowsOf(l.lines), rowsOf(d.lines));
    QCOMPARE(column(l.lines, LineList::Betrag), (QStringList{"1.851,75 ", ""}));
    QCOMPARE(l.totals.gross(), d.totals.gross());
    QCOMPARE(l.projectNumber, qint64(5));
    QCOMPARE(l.projectName, odd);
    QCOMPARE(l.date, QStringLiteral("01.03.2004"));
    QCOMPARE(l.addressLeft, rl == "J");
    QCOMPARE(l.ownCompany, d.ownCompany);
    QCOMPARE(l.address, d.address);
    QCOMPARE(l.secondAddress, k.hasSecondAddress() ? d.secondAddress : DocumentAddress{});
    QCOMPARE(l.skontoText, odd);
    QCOMPARE(l.skontoPercent, QStringLiteral("2,00"));
    QVERIFY(l.texts == d.texts);
    QCOMPARE(l.invoiceNumber, d.invoiceNumber);
    QCOMPARE(loaded.captions.skonto, QStringLiteral("&Skonto 2,00 %"));

    // saved again unchanged: the same rows
    Document again = l;
    QCOMPARE(store.save(again, yes), DocumentStore::SaveResult::Saved);
    QCOMPARE(familyCounts(env, k, 7), counts);
    QVERIFY(withoutKeys(store.load(k, 7).document) == withoutKeys(l));
}

void TestDocumentStore::dueDates_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("due");
    QTest::newRow("14 days") << "01.03.2004" << "14" << "15.03.2004";
    QTest::newRow("no term: 30 days") << "01.03.2004" << "" << "31.03.2004";
    QTest::newRow("term 0") << "31.12.2004" << "0" << "31.12.2004";
    QTest::newRow("over a leap February") << "31.01.2004" << "" << "01.03.2004";
    QTest::newRow("over a plain February") << "31.01.2005" << "30" << "02.03.2005";
    QTest::newRow("to a month end") << "30.11.2004" << "31" << "31.12.2004";
    QTest::newRow("over the year end") << "15.12.2004" << "" << "14.01.2005";
    QTest::newRow("short date typed") << "1.3.2004" << " 14 " << "15.03.2004";
}

void TestDocumentStore::dueDates()
{
    QFETCH(QString, date);
    QFETCH(QString, term);
    QFETCH(QString, due);
    QCOMPARE(DocumentStore::dueDate(date, term), due);

    TestEnv env;
    DocumentStore store(env.db(), env.dialogs());
    Document d = sampleDocument(DocumentKind::Rechnung, 9, invoiceRows);
    d.date = date;
    d.paymentTerm = term;
    QCOMPARE(store.save(d), DocumentStore::SaveResult::Saved);
    QCOMPARE(env.scalar("SELECT EDatum FROM rechnungenop WHERE RNR=9"), due);
    QCOMPARE(env.scalar("SELECT ZZiel FROM rechnungenop WHERE RNR=9"), term.trimmed());
}

void TestDocumentStore::resaveKeepsTheBookingState()
{
    TestEnv env;
    DocumentStore store(env.db(), env.dialogs());
    Document d = sampleDocument(DocumentKind::Rechnung, 9, {"1||a|1|100,00|19,00 %"});
    QCOMPARE(store.save(d), DocumentStore::SaveResult::Saved);
    QCOMPARE(firstRow(env, "SELECT Name, RBetrag, MStufe, Gebucht FROM rechnungenop"),
             QStringLiteral("Muster GmbH/0/0/N"));
    env.exec("UPDATE rechnungenop SET RBetrag=19, MStufe=2, Gebucht='J', Name='gebucht'");

    d.paymentTerm.clear();
    d.date = "10.03.2004";
    d.address.name = "Neu GmbH";
    d.lines = linesFrom({"1||a|2|100,00|19,00 %"});
    QCOMPARE(store.save(d), DocumentStore::SaveResult::Saved);
    QCOMPARE(firstRow(env, "SELECT ZZiel, EDatum, Betrag FROM rechnungenop"),
             QStringLiteral("/09.04.2004/238"));
    QCOMPARE(firstRow(env, "SELECT Name, RBetrag, MStufe, Gebucht FROM rechnungenop"),
             QStringLiteral("gebucht/19/2/J"));
}

void TestDocumentStore::creditNoteConfirmation_data()
{
    QTest::addColumn<QStringList>("payments");
    QTest::addColumn<bool>("confirm"); // the save wants a confirmation
    QTest::addColumn<bool>("isNew");
    QTest::newRow("above what is owed") << QStringList{"80"} << true << false;
    QTest::newRow("above what is owed, two payments, new") << QStringList{"50", "30"} << true << true;
    QTest::newRow("within what is owed") << QStringList{"60"} << false << false;
    QTest::newRow("exactly what is owed, new") << QStringList{"66"} << false << true;
}

// A credit note above what its invoice still owes is written only once confirmed;
// the store leaves the asking to the page.
void TestDocumentStore::creditNoteConfirmation()
{
    QFETCH(QStringList, payments);
    QFETCH(bool, confirm);
    QFETCH(bool, isNew);
    TestEnv env;
    storeInvoiceItem(env, 42, "116", payments);
    DocumentStore store(env.db(), env.dialogs());
    Document d = creditNote(3, 42, "50,00");
    const auto save = [&](DocumentStore::Confirmation confirmed) {
        return isNew ? store.saveNew(d, [] { return qint64(4); }, confirmed) : store.save(d, confirmed);
    };
    if (confirm) {
        QCOMPARE(save(DocumentStore::Confirmation::None), DocumentStore::SaveResult::NeedsConfirmation);
        QCOMPARE(familyCounts(env, DocumentKind::Gutschrift, 3), QList<int>(7, 0));
    }
    QCOMPARE(save(confirm ? DocumentStore::Confirmation::CreditNoteAboveOwed : DocumentStore::Confirmation::None),
             DocumentStore::SaveResult::Saved);
    QVERIFY(env.dialogs().log().isEmpty());
    QCOMPARE(d.number, qint64(3));
    QCOMPARE(allRows(env, "SELECT RNr, Betrag FROM gutschriftenop"), QStringList{"42/50"});
    QCOMPARE(rows(env, "gutschriften") + rows(env, "gutschriftenartikel") + rows(env, "gutschriftenbetrag"), 3);
    QCOMPARE(env.scalar("SELECT ReNr FROM gutschriften WHERE BelegNr=3"), QStringLiteral("42"));
}

void TestDocumentStore::resavedCreditNoteDoesNotCountItself()
{
    TestEnv env;
    storeInvoiceItem(env, 42, "116", {"46"});
    DocumentStore store(env.db(), env.dialogs());
    Document first = creditNote(3, 42, "20,00");
    QCOMPARE(store.save(first), DocumentStore::SaveResult::Saved);
    Document second = creditNote(4, 42, "50,00"); // 116 - 46 - 20 - 50 = 0
    QCOMPARE(store.save(second), DocumentStore::SaveResult::Saved);
    QCOMPARE(store.outstandingAmount(second), Amount());
    QCOMPARE(store.save(second), DocumentStore::SaveResult::Saved);
    QVERIFY(env.dialogs().questions().isEmpty());

    // raising it above what is owed asks; the other credit note still counts
    second.lines = linesFrom({"1||Gutschrift|1|50,01|0,00 %"});
    Totals::compute(second.lines, second.totals, {});
    QCOMPARE(store.outstandingAmount(second), Amount::fromText("-0,01"));
    QCOMPARE(store.save(second), DocumentStore::SaveResult::NeedsConfirmation);
    QVERIFY(env.dialogs().log().isEmpty());
    QCOMPARE(env.column("SELECT Betrag FROM gutschriftenop ORDER BY BelegNr"), (QStringList{"20", "50"}));
    QCOMPARE(env.scalar("SELECT ReNr FROM gutschriften WHERE BelegNr=4"), QStringLiteral("42"));
}

void TestDocumentStore::refusals_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("paymentTerm");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("warning"); // empty: a ConversionError with this message instead
    QTest::addColumn<QString>("error");
    const QString noArticles = "Es konnte nicht gespeichert werden weil keine Artikel eingetragen sind!";
    QTest::newRow("no lines") << 1 << QStringList{} << "" << "01.03.2004" << noArticles << "";
    QTest::newRow("text line on top") << 7 << QStringList{"||nur Text", "1||a|1|1,00"} << "" << "01.03.2004"
                                      << noArticles << "";
    QTest::newRow("working document without lines") << 11 << QStringList{""} << "" << "01.03.2004"
                                                    << "Keine Daten zum speichern!" << "";
    QTest::newRow("payment term not a number") << 7 << invoiceRows << "14 Tage" << "01.03.2004" << ""
                                               << "'14 Tage' ist kein gültiges Zahlungsziel in Tagen.";
    QTest::newRow("invoice without date") << 7 << invoiceRows << "" << "" << "" << "'' ist kein gültiges Datum.";
    QTest::newRow("date not a date") << 1 << invoiceRows << "" << "32.01.2004" << ""
                                     << "'32.01.2004' ist kein gültiges Datum.";
    QTest::newRow("malformed quantity") << 3 << QStringList{"1||a|1|1,00", "2||b|1x|1,00"} << "" << "01.03.2004"
                                        << "" << "Zeile 2: '1x' ist keine gültige Menge.";
}

void TestDocumentStore::refusals()
{
    QFETCH(int, kind);
    QFETCH(QStringList, lines);
    QFETCH(QString, paymentTerm);
    QFETCH(QString, date);
    QFETCH(QString, warning);
    QFETCH(QString, error);
    TestEnv env;
    DocumentStore store(env.db(), env.dialogs());
    const DocumentKind k = *DocumentKind::fromNumber(kind);
    Document d = sampleDocument(k, 5, lines);
    d.paymentTerm = paymentTerm;
    d.date = date;
    if (warning.isEmpty()) {
        try {
            store.save(d);
            QFAIL("the save was not refused");
        } catch (const ConversionError &e) {
            QCOMPARE(e.message(), error);
        }
        QVERIFY(env.dialogs().messages().isEmpty());
    } else {
        QCOMPARE(DocumentStore::refusal(d), warning);
        QCOMPARE(store.save(d), DocumentStore::SaveResult::NoLines);
        QVERIFY(env.dialogs().log().isEmpty()); // the page shows the warning
    }
    QCOMPARE(familyCounts(env, k, 5), QList<int>(familyCounts(env, k, 5).size(), 0));
}

void TestDocumentStore::failedSaveWritesNothing_data()
{
    QTest::addColumn<QString>("failingTable"); // the last table a save writes
    QTest::addColumn<QString>("event");
    QTest::newRow("new invoice") << "rechnungenbetrag" << "INSERT";
    QTest::newRow("invoice saved again") << "rechnungenbetrag" << "UPDATE";
    QTest::newRow("open item") << "rechnungenop" << "UPDATE";
}

void TestDocumentStore::failedSaveWritesNothing()
{
    QFETCH(QString, failingTable);
    QFETCH(QString, event);
    TestEnv env;
    DocumentStore store(env.db(), env.dialogs());
    Document d = sampleDocument(DocumentKind::Rechnung, 8, invoiceRows);
    if (event == "UPDATE")
        QCOMPARE(store.save(d), DocumentStore::SaveResult::Saved);
    const QList<int> before = familyCounts(env, DocumentKind::Rechnung, 8);
    const QString linesBefore = env.column("SELECT Bezeichnung FROM rechnungenartikel ORDER BY RF").join('|');
    RefuseWrites(env, "broken", event, failingTable, "Platte voll");

    d.lines = linesFrom({"1||neu|1|5,00", "2||neu|1|5,00", "3||neu|1|5,00"});
    d.projectName = "geändert";
    QVERIFY_THROWS_EXCEPTION(DatabaseError, store.save(d));
    QCOMPARE(env.db().transactionDepth(), 0);
    QCOMPARE(familyCounts(env, DocumentKind::Rechnung, 8), before);
    QCOMPARE(env.column("SELECT Bezeichnung FROM rechnungenartikel ORDER BY RF").join('|'), linesBefore);
    QVERIFY(env.scalar("SELECT COUNT(*) FROM rechnungen WHERE PName='geändert'") == "0");
}

void TestDocumentStore::dunningLetter()
{
    TestEnv env;
    storeInvoiceItem(env, 42, "116", {}); // dunning level 1 reached
    DocumentStore store(env.db(), env.dialogs());
    Document letter(DocumentKind::Mahnung);
    letter.number = 3;
    letter.invoiceNumber = 42;
    letter.dunningLevel = 2;
    letter.projectNumber = 5;
    letter.date = "01.05.2004";
    letter.projectName = "Umbau";
    letter.ownCompany = "Halvard GmbH";
    letter.addressLeft = true;
    letter.address = {"Muster GmbH", "Marktplatz 3", "12345 Musterstadt"};
    letter.secondAddress = {"Buchhaltung", "Postfach 9", "12340 Musterstadt"};
    letter.letterLines = {"Sehr geehrte Damen und Herren,", "", "Rechnung Nr. 000042 ist offen.", "Mit Grüßen"};

    QVERIFY(store.insertDunningLetter(letter));
    QCOMPARE(firstRow(env, "SELECT RNr, MNr, RL, Datum FROM mahnungen"),
             QStringLiteral("42/2/J/01.05.2004"));
    QCOMPARE(env.column("SELECT Art FROM mahnungenanschrift ORDER BY Art"), (QStringList{"A", "R"}));
    QCOMPARE(env.scalar("SELECT MStufe FROM rechnungenop WHERE RNR=42"), QStringLiteral("2"));

    // the number is taken: nothing changes
    Document clash = letter;
    clash.letterLines = {"anders"};
    QVERIFY(!store.insertDunningLetter(clash));
    QCOMPARE(rows(env, "mahnungentext"), 4);

    DocumentStore::Loaded loaded = store.loadDunningLetter(3);
    QVERIFY(loaded.stored);
    QVERIFY(loaded.document == letter);

    // saved from the page: shorter text empties the spare rows, the invoice and
    // level stay whatever invoice the value names
    Document edited = loaded.document;
    edited.letterLines = {"Sehr geehrter Herr Muster,", "bitte zahlen Sie."};
    edited.invoiceNumber = 77;
    edited.dunningLevel = 0;
    edited.addressLeft = false;
    edited.secondAddress.name = "Frau Buch";
    store.saveDunningLetter(edited);
    QCOMPARE(env.column("SELECT Text FROM mahnungentext ORDER BY ID"),
             (QStringList{"Sehr geehrter Herr Muster,", "bitte zahlen Sie.", "", ""}));
    QCOMPARE(firstRow(env, "SELECT RNr, MNr, RL FROM mahnungen"), QStringLiteral("42/2/N"));
    QCOMPARE(env.scalar("SELECT MStufe FROM rechnungenop WHERE RNR=42"), QStringLiteral("2"));
    QCOMPARE(env.scalar("SELECT Name FROM mahnungenanschrift WHERE Art='R'"), QStringLiteral("Frau Buch"));

    // lines beyond the stored rows are not stored
    edited.letterLines = {"1", "2", "3", "4", "5", "6"};
    store.saveDunningLetter(edited);
    QCOMPARE(env.column("SELECT Text FROM mahnungentext ORDER BY ID"), (QStringList{"1", "2", "3", "4"}));

    // a lower level from a later run never lowers the invoice's level
    letter.number = 4;
    letter.dunningLevel = 1;
    QVERIFY(store.insertDunningLetter(letter));
    QCOMPARE(env.scalar("SELECT MStufe FROM rechnungenop WHERE RNR=42"), QStringLiteral("2"));
    letter.dunningLevel = 0;
    letter.number = 5;
    QVERIFY_THROWS_EXCEPTION(OrvellaError, store.insertDunningLetter(letter));
    QCOMPARE(rows(env, "mahnungen"), 2);
}

void TestDocumentStore::dunningPlaceholderIsNotSaved()
{
    TestEnv env;
    storeInvoiceItem(env, 42, "116", {});
    env.exec("UPDATE rechnungenop SET MStufe=3");
    DocumentStore store(env.db(), env.dialogs());
    Document placeholder(DocumentKind::Mahnung);
    placeholder.number = 1;
    placeholder.invoiceNumber = 42;
    placeholder.letterLines = {"Text"};
    QVERIFY_THROWS_EXCEPTION(OrvellaError, store.saveDunningLetter(placeholder));
    QVERIFY_THROWS_EXCEPTION(OrvellaError, store.save(placeholder));
    QCOMPARE(rows(env, "mahnungen") + rows(env, "mahnungentext") + rows(env, "mahnungenanschrift"), 0);
    QCOMPARE(env.scalar("SELECT MStufe FROM rechnungenop WHERE RNR=42"), QStringLiteral("3"));
    const DocumentStore::Loaded loaded = store.loadDunningLetter(1);
    QVERIFY(!loaded.stored);
    QCOMPARE(loaded.document.invoiceNumber, 0);
}

void TestDocumentStore::emptyDateLoadsWithoutLines()
{
    TestEnv env;
    DocumentStore store(env.db(), env.dialogs());
    Document d = sampleDocument(DocumentKind::Lieferschein, 6, invoiceRows);
    d.date.clear();
    QCOMPARE(store.save(d), DocumentStore::SaveResult::Saved);
    QCOMPARE(rows(env, "lieferscheineartikel"), 2);
    const DocumentStore::Loaded loaded = store.load(DocumentKind::Lieferschein, 6);
    QVERIFY(loaded.linesFound); // stored lines: the page opens read-only
    QCOMPARE(rowsOf(loaded.document.lines), QStringList{""});
    QCOMPARE(loaded.document.addressLeft, false);
    QCOMPARE(loaded.document.date, QString());
    QCOMPARE(loaded.document.address, d.address); // the rest still loads
    QCOMPARE(loaded.document.texts[0].text, d.texts[0].text);
}

void TestDocumentStore::twelveLinesInOrder()
{
    TestEnv env;
    env.exec("INSERT INTO angebote (BelegNr, ProjektNr, ReNr, Datum, PName, RL, EFirma) "
             "VALUES (4, 5, 0, '01.03.2004', 'P', 'N', 'E')");
    // stored out of order, so neither table order nor text order gives 1..12
    for (int rf : {10, 2, 12, 1, 11, 3, 9, 4, 8, 5, 7, 6})
        env.exec(QStringLiteral("INSERT INTO angeboteartikel (BelegNr, Pos, ArtikelNr, Bezeichnung, Anzahl, "
                                "Einzelpreis, Betrag, MwSt, Rabatt, RF) VALUES (4, '%1', '', 'Zeile %1', '1', "
                                "'1,00', '', '', '', %1)")
                     .arg(rf));
    DocumentStore store(env.db(), env.dialogs());
    const Document d = store.load(DocumentKind::Angebot, 4).document;
    QStringList expected;
    for (int i = 1; i <= 12; ++i)
        expected << QStringLiteral("Zeile %1").arg(i);
    QCOMPARE(column(d.lines, LineList::Bezeichnung), expected);
    QCOMPARE(d.totals.net(), QStringLiteral("12,00 €"));
}

void TestDocumentStore::unreadableLineStillLoads()
{
    TestEnv env;
    DocumentStore store(env.db(), env.dialogs());
    Document d = sampleDocument(DocumentKind::Auftrag, 2, {"1||a|2|3,00", "2||b|1|4,00", "3||c|1|5,00"});
    QCOMPARE(store.save(d), DocumentStore::SaveResult::Saved);
    env.exec("UPDATE auftraegeartikel SET Anzahl='zwei' WHERE RF=2");
    const DocumentStore::Loaded loaded = store.load(DocumentKind::Auftrag, 2);
    QCOMPARE(loaded.lineError, QStringLiteral("Zeile 2: 'zwei' ist keine gültige Menge."));
    QCOMPARE(column(loaded.document.lines, LineList::Bezeichnung), (QStringList{"a", "b", "c"}));
    QCOMPARE(loaded.document.lines.cell(1, LineList::Betrag), QStringLiteral("6,00 "));
    QCOMPARE(loaded.document.skontoPercent, QStringLiteral("2,00"));
    QCOMPARE(loaded.document.address, d.address);
}

void TestDocumentStore::unsavedNumberLoadsEmpty()
{
    TestEnv env;
    DocumentStore store(env.db(), env.dialogs());
    Document saved = sampleDocument(DocumentKind::Angebot, 1, invoiceRows);
    QCOMPARE(store.save(saved), DocumentStore::SaveResult::Saved);
    const DocumentStore::Loaded loaded = store.load(DocumentKind::Angebot, 2);
    QVERIFY(!loaded.stored);
    QVERIFY(!loaded.linesFound);
    QVERIFY(!loaded.document.lines.hasFirstPosition());
    QCOMPARE(loaded.captions.discount, QStringLiteral("&Rabatt"));
    QCOMPARE(store.documentNumbers(DocumentKind::Angebot, 5), QList<qint64>{1});
    QCOMPARE(store.documentNumbers(DocumentKind::Angebot, 6), QList<qint64>{});
}

// A second workstation (its own connection) has begun an invoice under the same
// number and saves it after the first: it gets the next number, the first invoice
// stays as it was; when that number is taken as well, nothing is written.
void TestDocumentStore::numberTakenByAnotherWorkstation()
{
    TestEnv env;
    Database second(QStringLiteral("second"));
    second.open(env.databaseConfig());
    DocumentStore here(env.db(), env.dialogs());
    DocumentStore there(second, env.dialogs());
    Document first = sampleDocument(DocumentKind::Rechnung, 5, {"1||Erste|1|10,00|0,00 %"});
    QCOMPARE(here.saveNew(first, [] { return qint64(99); }), DocumentStore::SaveResult::Saved);
    QCOMPARE(first.number, qint64(5));

    Document late = sampleDocument(DocumentKind::Rechnung, 5, {"1||Zweite|2|20,00|0,00 %"});
    QCOMPARE(there.saveNew(late, [] { return qint64(6); }), DocumentStore::SaveResult::Saved);
    QCOMPARE(late.number, qint64(6));
    QCOMPARE(allRows(env, "SELECT r.BelegNr, a.Bezeichnung, op.Betrag FROM rechnungen r, rechnungenartikel a, "
                          "rechnungenop op WHERE a.BelegNr = r.BelegNr AND op.RNR = r.BelegNr ORDER BY r.BelegNr"),
             (QStringList{"5/Erste/10", "6/Zweite/40"}));

    Document twice = sampleDocument(DocumentKind::Rechnung, 5, {"1||Dritte|1|30,00|0,00 %"});
    QVERIFY_THROWS_EXCEPTION(DuplicateNumberError, there.saveNew(twice, [] { return qint64(6); }));
    QCOMPARE(familyCounts(env, DocumentKind::Rechnung, 6), familyCounts(env, DocumentKind::Rechnung, 5));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungenartikel"), QStringLiteral("2"));
}

// The connection to the server breaks just after the server committed a new
// invoice: the save finds it by its token and reports it saved; a repeated save of
// the same document stores no second copy.
void TestDocumentStore::commitCutOffIsSettledByItsToken()
{
    ORVELLA_SERVER_ONLY();
    TestEnv env;
    DocumentStore store(env.db(), env.dialogs());
    Database admin(QStringLiteral("admin"));
    admin.open(env.databaseConfig());
    const QString pid = env.scalar("SELECT pg_backend_pid()");
    env.db().setAfterCommit([&] {
        env.db().setAfterCommit({});
        SqlQuery(admin).execSql(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid));
        env.exec("SELECT 1"); // the answer that never comes
    });
    Document d = sampleDocument(DocumentKind::Rechnung, 7, {"1||Regal|2|500,00|19,00 %"});
    const auto next = [&] { return env.state().dmCommon.GetNextBelegNr(NumberRange::Rechnung); };
    QCOMPARE(store.saveNew(d, next), DocumentStore::SaveResult::SavedBeforeConnectionLoss);
    QVERIFY(env.scalar("SELECT pg_backend_pid()") != pid);
    QCOMPARE(d.number, qint64(7));
    QVERIFY(!d.saveToken.isEmpty());
    QCOMPARE(store.saveNew(d, next), DocumentStore::SaveResult::SavedBeforeConnectionLoss);
    QCOMPARE(env.column("SELECT BelegNr FROM rechnungen"), QStringList{"7"});
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungenop"), "1");
    // another new document gets a token of its own
    Document other = sampleDocument(DocumentKind::Rechnung, 8, {"1||Tisch|1|90,00|19,00 %"});
    QCOMPARE(store.saveNew(other, next), DocumentStore::SaveResult::Saved);
    QVERIFY(other.saveToken != d.saveToken);
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungen"), "2");
}

// The rows of a save travel in a few statements whatever their number; a row the
// engine refuses leaves none of its batch behind.
void TestDocumentStore::linesAreSentInFewStatements()
{
    TestEnv env;
    DocumentStore store(env.db(), env.dialogs());
    QStringList rows;
    for (int i = 1; i <= 1001; ++i)
        rows << QStringLiteral("%1|B-%1|Brett 'Nr. %1'|1|2,50|19,00 %").arg(i);
    const auto statementsOf = [&](Document d) {
        const quint64 before = env.db().statementsSent();
        if (store.save(d) != DocumentStore::SaveResult::Saved)
            return quint64(999);
        return env.db().statementsSent() - before;
    };
    const quint64 few = statementsOf(sampleDocument(DocumentKind::Rechnung, 1, rows.mid(0, 3)));
    const quint64 many = statementsOf(sampleDocument(DocumentKind::Rechnung, 2, rows));
    QVERIFY2(many <= few + 5, qPrintable(QStringLiteral("%1 statements for 3 lines, %2 for 1001").arg(few).arg(many)));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungenartikel WHERE BelegNr=2"), "1001");
    const DocumentStore::Loaded loaded = store.load(DocumentKind::Rechnung, 2);
    QCOMPARE(loaded.document.lines.lineCount(), 1001);
    for (int r : {1, 200, 201, 1001})
        QCOMPARE(loaded.document.lines.cell(r, LineList::Bezeichnung), QStringLiteral("Brett 'Nr. %1'").arg(r));

    env.exec("CREATE TABLE probe (a INTEGER NOT NULL)");
    QStringList values;
    for (int i = 1; i <= 1001; ++i)
        values << (i == 700 ? QStringLiteral("(NULL)") : QStringLiteral("(%1)").arg(i));
    {
        Transaction t(env.db());
        SqlQuery q(env.db());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, q.insertRows(QStringLiteral("INSERT INTO probe (a)"), values));
    }
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM probe"), "0");
}

QTEST_GUILESS_MAIN(TestDocumentStore)
#include "tst_documentstore.moc"
