#include "DatevExportStore.h"
#include "TfrmDatevExport.h"
#include "ReceivablesFixtures.h"
#include "TestEnv.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QtTest>

namespace {

// A document of the family base with lines "quantity|price|rate".
void addLines(TestEnv &env, const QString &base, qint64 number, const QStringList &lines)
{
    for (int r = 0; r < lines.size(); ++r) {
        const QStringList f = lines[r].split(QLatin1Char('|'));
        env.exec(QStringLiteral("INSERT INTO %1artikel (BelegNr, Pos, ArtikelNr, Bezeichnung, Anzahl, Einzelpreis, "
                                "Betrag, MwSt, Rabatt, RF) VALUES (%2, '%3', '', 'Posten', '%4', '%5', '', '%6', '', %3)")
                     .arg(base)
                     .arg(number)
                     .arg(r + 1)
                     .arg(f[0], f[1], f[2]));
    }
}

void setDate(TestEnv &env, const QString &table, qint64 number, const QString &date)
{
    env.exec(QStringLiteral("UPDATE %1 SET Datum = '%2' WHERE BelegNr = %3").arg(table, date).arg(number));
}

QString rates(const QList<Datev::RateAmount> &list)
{
    QStringList out;
    for (const Datev::RateAmount &r : list)
        out << QStringLiteral("%1 %2 %3").arg(r.rate.toText(), r.category, r.gross.toText());
    return out.join(QStringLiteral(", "));
}

// Invoice 1 of January (two rates) is reduced by credit note 2, paid in part and
// then settled with Skonto; invoice 3 of December is paid in part in January;
// invoice 4 took its Skonto on a part payment and keeps a remainder.
void addJanuary(TestEnv &env)
{
    AddReceivablesCustomers(env);
    AddInvoice(env, 1, 1, "291.5", 10, "J", "0", "2");
    setDate(env, "rechnungen", 1, "05.01.2025");
    addLines(env, "rechnungen", 1, {"2|100,00|19,00 %", "1|50,00|7,00 %"});
    env.exec("INSERT INTO gutschriften (BelegNr, ProjektNr, ReNr, Datum, PName, RL, EFirma) VALUES "
             "(2, 1, 1, '10.01.2025', 'Projekt', 'N', 'Halvard GmbH')");
    addLines(env, "gutschriften", 2, {"1|10,00|19,00 %"});
    AddCreditNote(env, 2, 1, "11.9");
    AddPosting(env, 1, "100", "15.01.2025");
    AddPosting(env, 1, "175.77", "20.01.2025");
    env.exec("UPDATE teilbuchung SET Skonto = 'J' WHERE Betrag > 150");
    AddInvoice(env, 3, 2, "80", -10, "N", "30");
    setDate(env, "rechnungen", 3, "31.12.2024");
    addLines(env, "rechnungen", 3, {"1|67,23|19,00 %"});
    AddPosting(env, 3, "50", "05.01.2025");
    AddInvoice(env, 4, 1, "119", 10, "N", "66.62", "2");
    setDate(env, "rechnungen", 4, "12.01.2025");
    addLines(env, "rechnungen", 4, {"1|100,00|19,00 %"});
    AddPosting(env, 4, "50", "25.01.2025");
    env.exec("UPDATE teilbuchung SET Skonto = 'J' WHERE RNr = 4");
}

} // namespace

class TestDatevStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void settingsRoundTrip();
    void periodMatchesTheOpenItems();
    void windowRefusesOrWrites();
};

void TestDatevStore::settingsRoundTrip()
{
    TestEnv env;
    DatevExportStore store(env.db());
    // nothing stored: the SKR03 presets
    QCOMPARE(store.loadSettings().revenueAccount(Amount::fromUnits(19), "S"), std::optional<qint64>(8400));
    Datev::Settings s = Datev::Settings::presets(Datev::Chart::Skr04);
    s.consultantNumber = "29098";
    s.clientNumber = "55003";
    s.fiscalYearStart = QDate(2000, 7, 1);
    s.revenueAccounts[Datev::TaxKey(Amount::fromText("5,5"), "S")] = 4310;
    s.debtorBase = 20000;
    store.saveSettings(s);
    const Datev::Settings back = store.loadSettings();
    QCOMPARE(QStringList({back.consultantNumber, back.clientNumber, back.fiscalYearStart.toString("dd.MM."),
                          QString::number(int(back.chart)), QString::number(back.bankAccount),
                          QString::number(back.debtorBase)}),
             QStringList({"29098", "55003", "01.07.", "1", "1800", "20000"}));
    QVERIFY(back.revenueAccounts == s.revenueAccounts);
    QVERIFY(back.skontoAccounts == s.skontoAccounts);
    // a fiscal year from July: the period in March belongs to the one begun last July
    QCOMPARE(DatevExportStore::fiscalYearStart(back.fiscalYearStart, QDate(2025, 3, 31)), QDate(2024, 7, 1));
    QCOMPARE(DatevExportStore::fiscalYearStart(back.fiscalYearStart, QDate(2025, 7, 1)), QDate(2025, 7, 1));
}

// The bookings per debtor add up to how the customer's open items changed.
void TestDatevStore::periodMatchesTheOpenItems()
{
    TestEnv env;
    addJanuary(env);

    DatevExportStore store(env.db());
    const Datev::Period january{QDate(2025, 1, 1), QDate(2025, 1, 31)};
    const DatevExportStore::PeriodRecords r = store.read(january);
    QCOMPARE(r.documents.size(), 3);
    QCOMPARE(rates(r.documents[0].rates), QStringLiteral("7,00 S 53,50, 19,00 S 238,00"));
    QCOMPARE(r.documents[0].customerNumber, qint64(10));
    QVERIFY(r.documents[2].creditNote);
    QCOMPARE(rates(r.documents[2].rates), QStringLiteral("19,00 S 11,90"));
    QStringList payments;
    for (const Datev::Payment &p : r.payments)
        payments << QStringLiteral("%1 %2 %3 %4 %5").arg(p.invoiceNumber).arg(DateToStr(p.date), p.paid.toText(),
                                                           p.skonto.toText(), rates(p.invoiceRates));
    QCOMPARE(payments, QStringList({"1 15.01.2025 100,00 0,00 7,00 S 53,50, 19,00 S 238,00",
                                    "1 20.01.2025 175,77 3,83 7,00 S 53,50, 19,00 S 238,00",
                                    "3 05.01.2025 50,00 0,00 19,00 S 80,00",
                                    "4 25.01.2025 50,00 2,38 19,00 S 119,00"}));
    QCOMPARE(r.debtors.size(), 2);
    QCOMPARE(r.debtors[0].name, QStringLiteral("Muster GmbH"));

    Datev::Settings settings = store.loadSettings();
    settings.consultantNumber = "29098";
    settings.clientNumber = "55003";
    settings.fiscalYearStart = QDate(2025, 1, 1);
    const Datev::Bookings b = Datev::buildBookings(settings, january, r.documents, r.payments);
    QVERIFY2(b.problems.isEmpty(), qPrintable(b.problems.join('\n')));
    QMap<qint64, Amount> moved;
    for (const Datev::Booking &x : b.bookings) {
        const Amount signedAmount = x.side == Datev::Side::Debit ? x.amount : -x.amount;
        if (x.account >= settings.debtorMin && x.account <= settings.debtorMax)
            moved[x.account] += signedAmount;
        if (x.contraAccount >= settings.debtorMin && x.contraAccount <= settings.debtorMax)
            moved[x.contraAccount] -= signedAmount;
    }
    // customer 10: nothing open before, 66,62 of invoice 4 after; customer 20:
    // 80,00 open before, 30,00 after
    QCOMPARE(moved.value(10010).toText(), QStringLiteral("66,62"));
    QCOMPARE(moved.value(10020).toText(), QStringLiteral("-50,00"));
    // invoice 1: rates, credit note, postings, Skonto by rate; invoice 3's posting;
    // invoice 4, its posting and its Skonto
    QCOMPARE(b.bookings.size(), 2 + 1 + 2 + 2 + 1 + 3);
    // the same period read and written again gives the same bytes
    const QDateTime at(QDate(2025, 2, 3), QTime(9, 30));
    const DatevExportStore::PeriodRecords again = store.read(january);
    QCOMPARE(Datev::exportBookingBatch(settings, january, at, again.documents, again.payments).bytes,
             Datev::exportBookingBatch(settings, january, at, r.documents, r.payments).bytes);
}

void TestDatevStore::windowRefusesOrWrites()
{
    TestEnv env;
    addJanuary(env);
    TfrmDatevExport w(env.state());
    w.dtVon->setDate(QDate(2025, 1, 1));
    w.dtBis->setDate(QDate(2025, 1, 31));
    w.chkDebitoren->setChecked(true);
    // without consultant and client number nothing is asked and nothing written
    QVERIFY(w.cmdExport().isEmpty());
    const QString refusal = env.dialogs().messages().last();
    QVERIFY2(refusal.contains("nichts geschrieben") && refusal.contains("Beraternummer")
                 && refusal.contains("Mandantennummer"),
             qPrintable(refusal));
    QCOMPARE(env.dialogs().unanswered(), 0);

    DatevExportStore store(env.db());
    Datev::Settings s = store.loadSettings();
    s.consultantNumber = "29098";
    s.clientNumber = "55003";
    store.saveSettings(s);
    const QString folder = env.path("export");
    QDir().mkpath(folder);
    env.dialogs().answerFile(folder);
    const QStringList files = w.cmdExport();
    QCOMPARE(files, QStringList({folder + "/EXTF_Buchungsstapel_20250101_20250131.csv", folder + "/EXTF_Debitoren.csv"}));
    QFile batch(files[0]);
    QVERIFY(batch.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = batch.readAll().split('\n');
    QVERIFY(lines[0].startsWith("\"EXTF\";700;21;\"Buchungsstapel\";13;"));
    QVERIFY(lines[0].contains(";29098;55003;20250101;4;20250101;20250131;"));
    QCOMPARE(lines.size(), 2 + 11 + 1); // header, columns, bookings, the empty rest after the last CR LF
    QVERIFY2(lines[2].startsWith("238,00;\"S\";;;;;10010;8400;;0501;\"000001\";"), lines[2].constData());
}

QTEST_MAIN(TestDatevStore)
#include "tst_datevstore.moc"
