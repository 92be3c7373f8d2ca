#include "BackupFixtures.h"
#include "DocumentHistory.h"
#include "Errors.h"
#include "TfrmService.h"
#include "Transaction.h"
#include "WindowHub.h"
#include "RefuseWrites.h"

#include <QPushButton>
#include <QtTest>

using DataMaintenance::Group;

namespace {

// Stands in for the program's windows: may refuse to close one that holds unsaved data.
struct Windows : WindowHub
{
    bool allowClose = true;
    int asked = 0;
    bool closeDataWindows() override
    {
        ++asked;
        return allowClose;
    }
};

// The company's own settings stay: VAT rates, texts, footer, seller data, users
// and their failed log-ins; the earlier versions of issued documents, and the
// bank statement entries booked (their invoices are issued, so they stay).
const QStringList Kept = {"prust", "ztext", "foot", "mahnungenstext", "firmendaten", "usr", "permission",
                          "anmeldeversuche", "belegverlauf", "belegverlaufartikel", "belegverlaufanschrift",
                          "belegverlaufztext", "bankbuchungen", "eingangsrechnungen", "datev"};
const QStringList Markers = {"PrNr.ob0",    "Angebot.ob0",    "Auftrag.ob0", "Lieferschein.ob0",
                             "Rechnung.ob0", "Gutschrift.ob0", "Ablage.ob0",  "Mahnung.ob0"};

QStringList family(const QString &base)
{
    return {base, base + "anschrift", base + "artikel", base + "extra", base + "ztext"};
}

QStringList documentTables()
{
    QStringList t;
    for (const char *base : {"angebote", "auftraege", "lieferscheine", "rechnungen", "gutschriften", "ablage"})
        t << family(base);
    return t << "rechnungenop" << "rechnungenbetrag" << "teilbuchung" << "gutschriftenop" << "gutschriftenbetrag"
             << "mahnungen" << "mahnungentext" << "mahnungenanschrift";
}

QMap<QString, QString> counts(TestEnv &env)
{
    QMap<QString, QString> out;
    for (const QString &t : Schema::tableNames())
        out.insert(t, env.scalar("SELECT COUNT(*) FROM " + t));
    return out;
}

} // namespace

class TestDataMaintenance : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void eachGroupAskedBothWays_data();
    void eachGroupAskedBothWays();
    void aFailingTableLeavesTheGroupAsItWas();
    void issuedDocumentsAreKept_data();
    void issuedDocumentsAreKept();
};

void TestDataMaintenance::eachGroupAskedBothWays_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QStringList>("emptied");
    QTest::addColumn<QStringList>("markers");
    QTest::addColumn<int>("answer"); // Dialogs::Answer; Cancel stands for a window that keeps unsaved data
    QStringList all;
    for (const QString &t : Schema::tableNames())
        if (!Kept.contains(t))
            all << t;
    const QStringList projects = QStringList({"projekt", "pradresse", "projektrabatt", "projekttofn"}) + documentTables();
    const struct
    {
        const char *name;
        Group group;
        QStringList emptied;
        QStringList markers;
    } rows[] = {
        {"Alle Tabellen", Group::Alle, all, Markers},
        {"Artikel", Group::Artikel, {"artikel", "artikeltext"}, {}},
        {"Projekte", Group::Projekte, projects, Markers},
        {"Angebote", Group::Angebote, family("angebote"), {"Angebot.ob0"}},
        {"Aufträge", Group::Auftraege, family("auftraege"), {"Auftrag.ob0"}},
        {"Lieferscheine", Group::Lieferscheine, family("lieferscheine"), {"Lieferschein.ob0"}},
        {"Rechnungen", Group::Rechnungen,
         family("rechnungen") << "rechnungenop" << "rechnungenbetrag" << "teilbuchung", {"Rechnung.ob0"}},
        {"Gutschriften", Group::Gutschriften, family("gutschriften") << "gutschriftenop" << "gutschriftenbetrag",
         {"Gutschrift.ob0"}},
        {"Ablage", Group::Ablage, family("ablage"), {"Ablage.ob0"}},
        {"Mahnungen", Group::Mahnungen, {"mahnungen", "mahnungentext", "mahnungenanschrift"}, {"Mahnung.ob0"}},
    };
    for (const auto &r : rows) {
        for (const auto answer : {Dialogs::Answer::Yes, Dialogs::Answer::No})
            QTest::addRow("%s, %s", r.name, answer == Dialogs::Answer::Yes ? "Ja" : "Nein")
                << int(r.group) << r.emptied << r.markers << int(answer);
    }
    QTest::newRow("Rechnungen, a window keeps unsaved data")
        << int(Group::Rechnungen) << rows[6].emptied << rows[6].markers << int(Dialogs::Answer::Cancel);
}

void TestDataMaintenance::eachGroupAskedBothWays()
{
    QFETCH(int, group);
    QFETCH(QStringList, emptied);
    QFETCH(QStringList, markers);
    QFETCH(int, answer);
    const bool done = Dialogs::Answer(answer) == Dialogs::Answer::Yes;
    TestEnv env;
    Windows windows;
    windows.allowClose = Dialogs::Answer(answer) != Dialogs::Answer::Cancel;
    env.state().hub = &windows;
    // two rows in every table, besides the seed rows
    Transaction fill(env.db());
    for (const QString &t : Schema::tableNames())
        for (int i = 0; i < 2; ++i)
            env.exec("INSERT INTO " + t + " DEFAULT VALUES");
    fill.commit();
    for (const QString &m : Markers)
        WriteAll(env.path(m), "marker");
    const QMap<QString, QString> before = counts(env);

    TfrmService w(env.state());
    QCOMPARE(w.windowTitle(), "frmService");
    env.dialogs().answer(Dialogs::Answer(answer) == Dialogs::Answer::No ? Dialogs::Answer::No : Dialogs::Answer::Yes);
    QTest::mouseClick(w.btnGroup[std::size_t(group)], Qt::LeftButton);

    // the question names the group, every table with its rows and the total
    QCOMPARE(env.dialogs().questions().size(), 1);
    const QString question = env.dialogs().questions().first();
    QVERIFY2(question.startsWith("\"" + w.btnGroup[std::size_t(group)]->text() + "\"")
                 && question.endsWith("wirklich unwiderruflich löschen?"),
             qPrintable(question));
    int total = 0;
    for (const QString &t : DataMaintenance::tables(Group(group))) {
        QVERIFY2(question.contains(t + " (" + before[t] + ")"), qPrintable(t));
        total += before[t].toInt();
    }
    QVERIFY2(question.contains(QStringLiteral("diese %1 Zeilen").arg(total)), qPrintable(question));
    QCOMPARE(DataMaintenance::tables(Group(group)).size(), emptied.size());

    const QMap<QString, QString> after = counts(env);
    for (const QString &t : Schema::tableNames())
        QCOMPARE(after[t], done && emptied.contains(t) ? QString("0") : before[t]);
    for (const QString &m : Markers)
        QCOMPARE(QFile::exists(env.path(m)), !(done && markers.contains(m)));
    QCOMPARE(w.changed(), done);
    QCOMPARE(windows.asked, Dialogs::Answer(answer) == Dialogs::Answer::No ? 0 : 1);
    QCOMPARE(env.dialogs().unanswered(), 0);
}

void TestDataMaintenance::aFailingTableLeavesTheGroupAsItWas()
{
    TestEnv env;
    for (int n = 1; n <= 3; ++n)
        AddArchiveInvoice(env, n, "01.03.2004", 2);
    // the last table of the group cannot be emptied (as when another program holds it)
    RefuseWrites(env, "held", "DELETE", "teilbuchung", "teilbuchung gesperrt");
    const QStringList before = env.column("SELECT COUNT(*) FROM rechnungenartikel UNION ALL "
                                          "SELECT COUNT(*) FROM rechnungenop");
    TfrmService w(env.state());
    env.dialogs().answer(Dialogs::Answer::Yes);
    QTest::mouseClick(w.btnGroup[std::size_t(Group::Rechnungen)], Qt::LeftButton);
    QCOMPARE(env.dialogs().questions().size(), 1);
    QCOMPARE(env.dialogs().messages().size(), 1);
    QVERIFY2(env.dialogs().messages().first().contains("teilbuchung gesperrt"),
             qPrintable(env.dialogs().messages().first()));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungen"), "3");
    QCOMPARE(env.column("SELECT COUNT(*) FROM rechnungenartikel UNION ALL SELECT COUNT(*) FROM rechnungenop"), before);
    QVERIFY(!w.changed());
}

void TestDataMaintenance::issuedDocumentsAreKept_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("named");
    QTest::newRow("Rechnungen") << int(Group::Rechnungen) << "Die Rechnung 000002 wurde";
    QTest::newRow("Gutschriften") << int(Group::Gutschriften) << "Die Gutschrift 000007 wurde";
    QTest::newRow("Projekte") << int(Group::Projekte) << "Die Rechnung 000002 wurde";
    QTest::newRow("Alle Tabellen") << int(Group::Alle) << "Die Gutschrift 000007 wurde";
}

void TestDataMaintenance::issuedDocumentsAreKept()
{
    QFETCH(int, group);
    QFETCH(QString, named);
    TestEnv env;
    for (int n = 1; n <= 3; ++n)
        AddArchiveInvoice(env, n, "01.03.2004", 1);
    AddArchiveCreditNote(env, 7, 2, "02.03.2004");
    DocumentHistory::markIssued(env.db(), DocumentKind::Rechnung, 2, DocumentHistory::ByPrint);
    DocumentHistory::markIssued(env.db(), DocumentKind::Gutschrift, 7, DocumentHistory::ByPdf);
    TfrmService w(env.state());
    QTest::mouseClick(w.btnGroup[std::size_t(group)], Qt::LeftButton);
    // refused before the question: nothing is asked, nothing deleted
    QVERIFY(env.dialogs().questions().isEmpty());
    QCOMPARE(env.dialogs().messages().size(), 1);
    const QString refusal = env.dialogs().messages().first();
    QVERIFY2(refusal.contains(named) && refusal.contains("Gutschrift vorgesehen"), qPrintable(refusal));
    QCOMPARE(env.column("SELECT COUNT(*) FROM rechnungen UNION ALL SELECT COUNT(*) FROM gutschriften"),
             QStringList({"3", "1"}));
    QVERIFY_THROWS_EXCEPTION(OrvellaError, DataMaintenance::empty(env.db(), env.home(), Group(group)));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungen"), "3");
}

QTEST_MAIN(TestDataMaintenance)
#include "tst_datamaintenance.moc"
