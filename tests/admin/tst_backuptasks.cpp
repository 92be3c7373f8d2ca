#include "BackupFixtures.h"
#include "BackupManifest.h"
#include "BackupProgress.h"
#include "BackupTasks.h"
#include "DataSetCopier.h"
#include "Errors.h"
#include "HomeDir.h"
#include "IniFile.h"
#include "InvoiceArchive.h"
#include "Schema.h"
#include "Settings.h"
#include "SqlQuery.h"
#include "Transaction.h"

#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QtTest>

using BackupRules::Kind;

namespace {

const QDateTime Now(QDate(2004, 2, 15), QTime(14, 30, 5));

// Invoices 1..5 dated around the year 2003, each with as many lines as its
// number; credit note 10 (for invoice 2) lies after the year, 11 (for 3) inside.
void fillDocuments(TestEnv &env)
{
    Transaction t(env.db());
    const char *dates[] = {"31.12.2002", "01.01.2003", "15.06.2003", "31.12.2003", "01.01.2004"};
    for (int n = 1; n <= 5; ++n)
        AddArchiveInvoice(env, n, QLatin1String(dates[n - 1]), n, n == 3 ? QStringLiteral("Müller's Spezial") : QStringLiteral("Artikel"));
    AddArchiveCreditNote(env, 10, 2, QStringLiteral("01.01.2004"));
    AddArchiveCreditNote(env, 11, 3, QStringLiteral("31.12.2003"));
    env.exec("INSERT INTO firma (IDF, Name, St) VALUES (7, 'Muster GmbH', '1')");
    // a supplier's invoice of June 2003 with its file
    env.exec("INSERT INTO eingangsrechnungen (Eingang, Dateiname, Datei, SHA256, Kontakt, Lieferant, RechnungsNr, Datum, "
             "Brutto, Status) VALUES ('20.06.2003', 'l.xml', 'PHg+w6Q8L3g+', 'abc', 7, 'Muster GmbH', 'L-1', "
             "'15.06.2003', 119.5, 'offen')");
    t.commit();
    WriteCurrency(env.home(), QStringLiteral("CHF"));
    WriteOwnCompany(env.home(), QStringLiteral("Halvard GmbH"), QStringLiteral("Weg 1"), QStringLiteral("12345"),
                    QStringLiteral("Ort"));
    WriteAll(env.path(QStringLiteral("DruckJob.ini")), "[Job]\nName=Zwei Drucker\n");
    WriteAll(env.dataDir() + QStringLiteral("/Images/7.BMP"), "picture 7");
    WriteAll(env.dataDir() + QStringLiteral("/Images/logo.bmp"), "letterhead");
}

BackupContext contextOf(TestEnv &env)
{
    BackupContext c;
    c.exeDir = env.home();
    c.now = Now;
    return c;
}

QString targetOf(TestEnv &env)
{
    const QString t = env.path(QStringLiteral("sicherung"));
    QDir().mkpath(t);
    return t;
}

} // namespace

class TestBackupTasks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void defaultPeriods();
    void fullBackupsOfOneDay();
    void archivePeriods_data();
    void archivePeriods();
    void cancelledAtAnyPoint_data();
    void cancelledAtAnyPoint();
    void unusableTargets_data();
    void unusableTargets();
    void restoreBringsBackTheBackup();
    void serverRestoreInADatabaseOfItsOwn();
    void backupWithoutChecksums();
    void unfinishedFoldersOfKilledBackups();
    void damagedBackupsAreRefused_data();
    void damagedBackupsAreRefused();
};

void TestBackupTasks::defaultPeriods()
{
    // the year before while today lies in January to March
    QCOMPARE(BackupRules::defaultPeriod(QDate(2004, 2, 15)).first, QDate(2003, 1, 1));
    QCOMPARE(BackupRules::defaultPeriod(QDate(2004, 3, 31)).second, QDate(2003, 12, 31));
    QCOMPARE(BackupRules::defaultPeriod(QDate(2004, 4, 15)).first, QDate(2004, 1, 1));
}

void TestBackupTasks::fullBackupsOfOneDay()
{
    TestEnv env;
    fillDocuments(env);
    const QString target = targetOf(env);
    auto copier = MakeDataSetCopier(env.db());
    const QStringList live = DumpDataSet(env.db());
    for (int run = 1; run <= 2; ++run) {
        BackupProgress progress;
        const QString folder = RunFullBackup(contextOf(env), *copier, target, progress);
        QCOMPARE(folder, target + QStringLiteral("/G040215%1").arg(run));
    }
    // two backups and nothing half-written beside them
    QCOMPARE(Entries(target), QStringList({"G0402151", "G0402152"}));
    const QString folder = target + "/G0402152";
    QCOMPARE(Entries(folder), QStringList({"DruckJob.ini", "EFirma.ob1", "Images", "Orbel.ini", "Sicherung.ini",
                                           copier->copyFileName()}));
    QCOMPARE(Entries(folder + "/Images"), QStringList({"7.BMP", "logo.bmp"}));
    QCOMPARE(ReadAll(folder + "/Images/logo.bmp"), QByteArray("letterhead"));
    QCOMPARE(ReadCurrency(folder), QStringLiteral("CHF"));

    // the copy is a data set of its own with exactly the live rows (the server's
    // copy is shown to hold them by restoring it)
    if (!TestsOnServer()) {
        Database copy(QStringLiteral("copy"));
        copy.openExisting(folder + "/orvella.db", true);
        QCOMPARE(DumpDataSet(copy), live);
        QCOMPARE(FileColumn(folder + "/orvella.db", "PRAGMA journal_mode"), QStringList({"delete"}));
        QVERIFY(!QFile::exists(folder + "/orvella.db-wal"));
    }

    // the backup is the account's alone, whatever the umask
    QCOMPARE(int(QFileInfo(folder).permissions() & 0x7777), 0x7700);
    for (const QString &f : {QStringLiteral("/Sicherung.ini"), QStringLiteral("/Images/logo.bmp"), "/" + copier->copyFileName()})
        QCOMPARE(int(QFileInfo(folder + f).permissions() & 0x7777), 0x6600);

    const BackupManifest m = BackupManifest::read(folder);
    QCOMPARE(m.kind, Kind::Full);
    QCOMPARE(m.created, Now);
    QCOMPARE(m.schemaVersion, Schema::Version);
    QCOMPARE(m.rows.size(), Schema::tableNames().size());
    QCOMPARE(m.rows.value("rechnungenartikel"), qint64(15));
}

void TestBackupTasks::archivePeriods_data()
{
    QTest::addColumn<QDate>("from"); // invalid: the whole stock
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("invoices");
    QTest::addColumn<QStringList>("creditNotes");
    QTest::newRow("gesamter Rechnungsbestand") << QDate() << QDate() << QStringList({"1", "2", "3", "4", "5"})
                                               << QStringList({"10", "11"});
    // invoice 2 lies in 2003, its credit note 10 does not
    QTest::newRow("2003 with both edge days") << QDate(2003, 1, 1) << QDate(2003, 12, 31)
                                              << QStringList({"2", "3", "4"}) << QStringList({"11"});
    QTest::newRow("one day") << QDate(2003, 12, 31) << QDate(2003, 12, 31) << QStringList({"4"})
                             << QStringList({"11"});
    QTest::newRow("nothing in it") << QDate(2003, 1, 2) << QDate(2003, 6, 14) << QStringList() << QStringList();
}

void TestBackupTasks::archivePeriods()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, invoices);
    QFETCH(QStringList, creditNotes);
    TestEnv env;
    fillDocuments(env);
    // rows that belong to no stored document stay out of the archive
    env.exec("INSERT INTO teilbuchung (RNr, Betrag, Datum, Text) VALUES (99, 1, '01.06.2003', '')");
    const QStringList live = DumpDataSet(env.db());
    auto copier = MakeDataSetCopier(env.db());
    BackupProgress progress;
    std::optional<InvoicePeriod> period;
    if (from.isValid())
        period = InvoicePeriod{from, to};
    const QString folder = RunInvoiceArchive(contextOf(env), *copier, targetOf(env), period, progress);
    QCOMPARE(folder, targetOf(env) + "/R0402151");
    QCOMPARE(DumpDataSet(env.db()), live);

    const QString file = folder + "/" + InvoiceArchive::FileName;
    const auto column = [&file](const QString &sql) { return FileColumn(file, sql); };
    QCOMPARE(column("SELECT BelegNr FROM rechnungen ORDER BY BelegNr"), invoices);
    QCOMPARE(column("SELECT BelegNr FROM gutschriften ORDER BY BelegNr"), creditNotes);
    // every dependent table holds the rows of the selected documents and no others
    int lines = 0;
    for (const QString &n : invoices)
        lines += n.toInt();
    const QString perInvoice = "SELECT COUNT(*) FROM %1 WHERE %2 IN (SELECT BelegNr FROM rechnungen)";
    for (const auto &[table, key, each] : std::initializer_list<std::tuple<QString, QString, int>>{
             {"rechnungenanschrift", "BelegNr", 2}, {"rechnungenextra", "BelegNr", 1}, {"rechnungenztext", "BelegNr", 4},
             {"rechnungenop", "RNR", 1}, {"rechnungenbetrag", "BelegNr", 1}, {"teilbuchung", "RNr", 2}}) {
        const QString all = QString::number(each * invoices.size());
        QCOMPARE(column("SELECT COUNT(*) FROM " + table), QStringList({all}));
        QCOMPARE(column(perInvoice.arg(table, key)), QStringList({all}));
    }
    QCOMPARE(column("SELECT COUNT(*) FROM rechnungenartikel"), QStringList({QString::number(lines)}));
    for (const char *table : {"gutschriftenartikel", "gutschriftenextra", "gutschriftenop", "gutschriftenbetrag"})
        QCOMPARE(column(QString("SELECT COUNT(*) FROM %1 WHERE BelegNr IN (SELECT BelegNr FROM gutschriften)").arg(table)),
                 QStringList({QString::number(creditNotes.size())}));
    QCOMPARE(column("SELECT COUNT(*) FROM gutschriftenanschrift"), QStringList({QString::number(2 * creditNotes.size())}));
    const bool june2003 = !from.isValid() || (from <= QDate(2003, 6, 15) && to >= QDate(2003, 6, 15));
    QCOMPARE(column("SELECT RechnungsNr || ' ' || Datei || ' ' || Brutto FROM eingangsrechnungen"),
             june2003 ? QStringList({"L-1 PHg+w6Q8L3g+ 119.5"}) : QStringList());

    if (invoices.contains("3")) {
        // the address kinds tell recipient and billing address apart; postings and
        // the apostrophe arrive unchanged
        QCOMPARE(column("SELECT Art || ':' || Name FROM rechnungenanschrift WHERE BelegNr=3 ORDER BY Art"),
                 QStringList({"Anschrift:Kunde 3", "Rechnungsanschrift:Buchhaltung 3"}));
        QCOMPARE(column("SELECT DISTINCT Bezeichnung FROM rechnungenartikel WHERE BelegNr=3"),
                 QStringList({"Müller's Spezial"}));
        QCOMPARE(column("SELECT Betrag || ' ' || Datum FROM teilbuchung WHERE RNr=3"),
                 QStringList({"5.0 15.06.2003", "5.0 15.06.2003"}));
        QCOMPARE(column("SELECT RNr || '/' || Betrag FROM gutschriftenop WHERE BelegNr=11"), QStringList({"3/11.9"}));
    }
    const BackupManifest m = BackupManifest::read(folder);
    QCOMPARE(m.kind, Kind::InvoiceArchive);
    QCOMPARE(m.period, from.isValid() ? from.toString("dd.MM.yyyy") + " - " + to.toString("dd.MM.yyyy")
                                      : QStringLiteral("gesamter Rechnungsbestand"));
    QCOMPARE(m.rows.value("rechnungen"), qint64(invoices.size()));
    QCOMPARE(m.rows.value("rechnungenartikel"), qint64(lines));
}

void TestBackupTasks::cancelledAtAnyPoint_data()
{
    QTest::addColumn<bool>("full");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("look"); // the how-manieth look at the controls in that step
    QTest::newRow("full: before copying") << true << 1 << 1;
    QTest::newRow("full: inside the integrity check") << true << 2 << 3;
    QTest::newRow("full: after the first picture") << true << 3 << 3;
    QTest::newRow("full: settings files") << true << 4 << 2;
    QTest::newRow("full: before the folder is named") << true << 5 << 1;
    QTest::newRow("archive: creating the tables") << false << 1 << 1;
    QTest::newRow("archive: among invoice lines") << false << 3 << 4;
    QTest::newRow("archive: part payments") << false << 9 << 2;
    QTest::newRow("archive: credit notes") << false << 10 << 1;
    QTest::newRow("archive: before the folder is named") << false << 17 << 1;
}

void TestBackupTasks::cancelledAtAnyPoint()
{
    QFETCH(bool, full);
    QFETCH(int, step);
    QFETCH(int, look);
    // the server's check looks at the controls at its own pace
    if (TestsOnServer() && QByteArray(QTest::currentDataTag()).contains("integrity"))
        QSKIP("concerns the SQLite file only");
    TestEnv env;
    fillDocuments(env);
    const QString target = targetOf(env);
    const QStringList live = DumpDataSet(env.db());
    auto copier = MakeDataSetCopier(env.db());
    BackupProgress progress;
    int looks = 0;
    progress.setCheckpointHook([&](int atStep, qint64) {
        if (atStep == step && ++looks == look)
            progress.stop();
    });
    try {
        if (full)
            RunFullBackup(contextOf(env), *copier, target, progress);
        else
            RunInvoiceArchive(contextOf(env), *copier, target, std::nullopt, progress);
        QFAIL("the backup was not cancelled");
    } catch (const BackupCancelled &) {
    }
    QCOMPARE(looks, look);
    QCOMPARE(Entries(target), QStringList());
    QCOMPARE(DumpDataSet(env.db()), live);
}

void TestBackupTasks::unusableTargets_data()
{
    QTest::addColumn<QString>("target"); // relative to the home folder unless absolute
    QTest::addColumn<qint64>("free");    // -1: as the disk says
    QTest::addColumn<QString>("message");
    QTest::newRow("missing folder") << "gibt-es-nicht" << qint64(-1) << "gibt es nicht";
    QTest::newRow("not writable") << "/proc" << qint64(-1) << "kann nicht geschrieben werden";
    QTest::newRow("too small") << "sicherung" << qint64(900 * 1024) << "sind nur noch 0,9 MB frei";
}

void TestBackupTasks::unusableTargets()
{
    QFETCH(QString, target);
    QFETCH(qint64, free);
    QFETCH(QString, message);
    TestEnv env;
    fillDocuments(env);
    targetOf(env);
    if (!target.startsWith('/'))
        target = env.path(target);
    BackupContext context = contextOf(env);
    if (free >= 0)
        context.freeSpace = [free](const QString &) { return free; };
    auto copier = MakeDataSetCopier(env.db());
    const QStringList before = Entries(target);
    for (const bool full : {true, false}) {
        BackupProgress progress;
        try {
            if (full)
                RunFullBackup(context, *copier, target, progress);
            else
                RunInvoiceArchive(context, *copier, target, std::nullopt, progress);
            QFAIL("an unusable target was taken");
        } catch (const OrvellaError &e) {
            QVERIFY2(e.message().contains(message) && e.message().contains("Es wurde nichts gesichert"),
                     qPrintable(e.message()));
        }
        QCOMPARE(Entries(target), before);
    }
}

void TestBackupTasks::restoreBringsBackTheBackup()
{
    TestEnv env;
    fillDocuments(env);
    const QStringList saved = DumpDataSet(env.db());
    auto copier = MakeDataSetCopier(env.db());
    BackupProgress first;
    const QString folder = RunFullBackup(contextOf(env), *copier, targetOf(env), first);

    // afterwards: a new invoice, a contact gone, an address changed, settings and pictures changed
    AddArchiveInvoice(env, 99, "01.02.2004", 2);
    env.exec("DELETE FROM firma");
    env.exec("UPDATE rechnungenanschrift SET Name='geändert' WHERE BelegNr=1");
    WriteCurrency(env.home(), QStringLiteral("USD"));
    WriteAll(env.dataDir() + "/Images/7.BMP", "changed picture");
    WriteAll(env.dataDir() + "/Images/8.BMP", "new picture");
    const QStringList changed = DumpDataSet(env.db());

    BackupProgress checking;
    const BackupCheck check = CheckBackup(contextOf(env), *copier, folder, checking);
    QCOMPARE(check.manifest.rows.value("rechnungen"), qint64(5));
    QCOMPARE(check.liveRows.value("rechnungen"), qint64(6));
    QVERIFY2(RestoreQuestion(check).contains("Datensicherung vom 15.02.2004 14:30")
                 && RestoreQuestion(check).contains("Rechnungen: 5 (jetzt 6)")
                 && RestoreQuestion(check).contains("Firmen: 1 (jetzt 0)"),
             qPrintable(RestoreQuestion(check)));

    BackupContext later = contextOf(env);
    later.now = Now.addDays(3);
    BackupProgress restoring;
    const QString kept = RunRestore(later, *copier, folder, restoring);
    QCOMPARE(kept, env.dataDir() + "/" + copier->copyFileName() + ".vor-Wiederherstellung-20040218-143005");
    // the program's own connection reads exactly the rows of the backup
    QCOMPARE(DumpDataSet(env.db()), saved);
    if (!TestsOnServer()) {
        QCOMPARE(env.scalar("PRAGMA integrity_check"), QStringLiteral("ok"));
        QCOMPARE(env.scalar("PRAGMA journal_mode"), QStringLiteral("wal"));
        Database previous(QStringLiteral("previous"));
        previous.openExisting(kept, true);
        QCOMPARE(DumpDataSet(previous), changed);
    } else {
        QVERIFY(QFileInfo(kept).size() > 0);
    }
    QCOMPARE(ReadCurrency(env.home()), QStringLiteral("CHF"));
    QCOMPARE(IniFile(env.home() + "Orbel.ini.vor-Wiederherstellung-20040218-143005").readString("Personal", "Waehrung"),
             QStringLiteral("USD"));
    QCOMPARE(Entries(env.dataDir() + "/Images"), QStringList({"7.BMP", "logo.bmp"}));
    QCOMPARE(ReadAll(env.dataDir() + "/Images/7.BMP"), QByteArray("picture 7"));
    QCOMPARE(Entries(env.dataDir() + "/Images.vor-Wiederherstellung-20040218-143005"),
             QStringList({"7.BMP", "8.BMP", "logo.bmp"}));
}

// The server set-up of the README: a database of its own whose data set lives in
// schema public, made by an older version with the trigram extension there too.
// Its backups restore (the extension moved out of the data set's schema).
void TestBackupTasks::serverRestoreInADatabaseOfItsOwn()
{
    if (!TestsOnServer())
        QSKIP("a server's database");
    TestEnv env;
    const QString name = QStringLiteral("orvella_eigen_%1").arg(QCoreApplication::applicationPid());
    env.exec("DROP DATABASE IF EXISTS " + name);
    env.exec("CREATE DATABASE " + name);
    DatabaseConfig own = env.databaseConfig();
    own.name = name;
    own.schema.clear();
    QStringList saved;
    {
        Database db(QStringLiteral("eigen"));
        db.open(own);
        db.exec("ALTER EXTENSION pg_trgm SET SCHEMA public");
        db.exec(QStringLiteral("UPDATE orvella_info SET value='%1' WHERE key='version'").arg(Schema::ExtensionSchemaStep - 1));
        db.close();
        db.open(own); // upgraded as at the start of this version
        SqlQuery q(db);
        q.open("SELECT n.nspname AS s FROM pg_extension e JOIN pg_namespace n ON n.oid = e.extnamespace "
               "WHERE e.extname = 'pg_trgm'");
        QCOMPARE(q.field("s"), Schema::ExtensionSchema);
        q.close();
        db.exec("INSERT INTO firma (IDF, Name, St) VALUES (7, 'Müller''s Spezial GmbH', '1')");
        db.exec("INSERT INTO rechnungen (BelegNr, ProjektNr, ReNr, Datum) VALUES (1, 1, 0, '01.03.2004')");
        saved = DumpDataSet(db);
        auto copier = MakeDataSetCopier(db);
        BackupProgress backup, restore;
        const QString folder = RunFullBackup(contextOf(env), *copier, targetOf(env), backup);
        db.exec("DELETE FROM firma");
        db.exec("INSERT INTO rechnungen (BelegNr, ProjektNr, ReNr, Datum) VALUES (2, 1, 0, '02.03.2004')");
        {
            // another workstation works in the data set: the restore waits for it to end
            Database other(QStringLiteral("anderer-pc"));
            other.open(own);
            other.exec("SET application_name TO 'Orvella public anderer-pc 99'");
            try {
                BackupProgress refused;
                RunRestore(contextOf(env), *copier, folder, refused);
                QFAIL("restored while another workstation was connected");
            } catch (const OrvellaError &e) {
                QVERIFY2(e.message().contains("wird noch benutzt von: anderer-pc"), qPrintable(e.message()));
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("anderer-pc"));
        RunRestore(contextOf(env), *copier, folder, restore);
        QCOMPARE(DumpDataSet(db), saved);
        // the searches' trigram indexes are there again
        q.open("SELECT COUNT(*) AS n FROM pg_indexes WHERE schemaname = 'public' AND indexname LIKE '%trgm'");
        QVERIFY(q.fieldInt("n") > 10);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("eigen"));
    env.exec("DROP DATABASE " + name);
}

// A backup of an older version carries no checksums: it is still restored once
// its rows are checked, and the summary says so.
void TestBackupTasks::backupWithoutChecksums()
{
    TestEnv env;
    fillDocuments(env);
    const QStringList saved = DumpDataSet(env.db());
    auto copier = MakeDataSetCopier(env.db());
    BackupProgress backup, checking, restoring;
    const QString folder = RunFullBackup(contextOf(env), *copier, targetOf(env), backup);
    QVERIFY(!BackupManifest::read(folder).checksums.isEmpty());
    IniFile(folder + "/Sicherung.ini").eraseSection("Pruefsummen");
    AddArchiveInvoice(env, 99, "01.02.2004", 2);
    const BackupCheck check = CheckBackup(contextOf(env), *copier, folder, checking);
    QVERIFY(check.withoutChecksums);
    QVERIFY(BackupSummary(check).contains("enthält keine Prüfsummen"));
    RunRestore(contextOf(env), *copier, folder, restoring);
    QCOMPARE(DumpDataSet(env.db()), saved);
}

// What killed backups left behind is removed by the next backup to the target;
// a folder whose writer still runs stays.
void TestBackupTasks::unfinishedFoldersOfKilledBackups()
{
    TestEnv env;
    const QString target = targetOf(env);
    QProcess gone;
    gone.start("sleep", {"0.1"});
    QVERIFY(gone.waitForStarted());
    const qint64 gonePid = gone.processId();
    QVERIFY(gone.waitForFinished());
    const QDateTime now = QDateTime::currentDateTime();
    const auto pending = [&](const QString &name, const QString &host, qint64 pid, const QDateTime &written) {
        QDir().mkpath(target + "/.Sicherung-unvollstaendig-" + name);
        const QString note = target + "/.Sicherung-unvollstaendig-" + name + "/.schreibt";
        WriteAll(note, QStringLiteral("%1\n%2\n").arg(host).arg(pid).toUtf8());
        WriteAll(target + "/.Sicherung-unvollstaendig-" + name + "/orvella.db", QByteArray(4096, 'x'));
        QFile f(note);
        QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(written, QFileDevice::FileModificationTime));
    };
    const QString here = QSysInfo::machineHostName();
    pending("tot", here, gonePid, now);
    pending("laeuft", here, QCoreApplication::applicationPid(), now.addDays(-2));
    pending("fern", "anderer-pc", 42, now.addSecs(-3600));
    pending("fernalt", "anderer-pc", 42, now.addDays(-2));
    QDir().mkpath(target + "/G0402151");
    QStringList removed = RemoveUnfinishedBackups(target, now);
    removed.sort();
    QCOMPARE(removed, QStringList({".Sicherung-unvollstaendig-fernalt", ".Sicherung-unvollstaendig-tot"}));
    QCOMPARE(QDir(target).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({".Sicherung-unvollstaendig-fern", ".Sicherung-unvollstaendig-laeuft", "G0402151"}));
}

void TestBackupTasks::damagedBackupsAreRefused_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    // a file changed after the backup: its checksum tells, whatever the engine's checks would say
    const QString changed = "ihre Prüfsumme stimmt nicht";
    QTest::newRow("pages overwritten") << "pages" << changed;
    QTest::newRow("cut short") << "cut" << changed;
    QTest::newRow("not a data set") << "text" << changed;
    QTest::newRow("every amount times ten, rows intact") << "amounts" << changed;
    // a backup of an older version has no checksums: the engine's own checks remain
    QTest::newRow("pages overwritten, no checksums") << "oldpages" << "ist beschädigt";
    QTest::newRow("not a data set, no checksums") << "oldtext" << "kein Orvella-Datenbestand";
    QTest::newRow("rows differ from the manifest") << "manifest" << "passt nicht zu ihrem Inhaltsverzeichnis";
    QTest::newRow("no manifest") << "nomanifest" << "keine Orvella-Datensicherung";
    QTest::newRow("an invoice archive") << "archive" << "Zurückspielen lässt sich nur";
}

void TestBackupTasks::damagedBackupsAreRefused()
{
    QFETCH(QString, damage);
    QFETCH(QString, message);
    // pages and the file header belong to the file engine; a cut copy and the
    // manifest checks concern both
    if (TestsOnServer() && (damage.contains("pages") || damage.contains("text") || damage == "amounts"))
        QSKIP("concerns the SQLite file only");
    TestEnv env;
    fillDocuments(env);
    Transaction many(env.db());
    for (int n = 20; n < 400; ++n) // enough pages that damage in the middle hits table data
        AddArchiveInvoice(env, n, "01.03.2003", 3);
    many.commit();
    auto copier = MakeDataSetCopier(env.db());
    BackupProgress progress;
    QString folder = RunFullBackup(contextOf(env), *copier, targetOf(env), progress);
    const QString copy = folder + "/" + copier->copyFileName();
    QFile file(copy);
    if (damage.startsWith("old")) {
        IniFile(folder + "/Sicherung.ini").eraseSection("Pruefsummen");
        damage = damage.mid(3);
    }
    if (damage == "pages") {
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.size() > 40 * 4096);
        file.seek(file.size() / 2);
        file.write(QByteArray(3 * 4096, '\x5a'));
        file.close();
    } else if (damage == "cut") {
        QVERIFY(file.resize(file.size() / 2));
    } else if (damage == "text") {
        QVERIFY(file.remove());
        WriteAll(copy, QByteArray(8192, 'x'));
    } else if (damage == "amounts") {
        Database c(QStringLiteral("tamper"));
        c.openExisting(copy, false);
        c.exec("UPDATE rechnungenop SET Betrag = Betrag * 10");
        c.exec("UPDATE rechnungenbetrag SET Brutto = Brutto * 10");
        c.close();
    } else if (damage == "manifest") {
        IniFile(folder + "/Sicherung.ini").writeString("Zeilen", "rechnungen", "5");
    } else if (damage == "nomanifest") {
        QVERIFY(QFile::remove(folder + "/Sicherung.ini"));
    } else {
        BackupProgress archiving;
        folder = RunInvoiceArchive(contextOf(env), *copier, targetOf(env), std::nullopt, archiving);
    }
    AddArchiveInvoice(env, 999, "01.01.2004", 1);
    const QStringList live = DumpDataSet(env.db());
    for (const bool restore : {false, true}) {
        BackupProgress again;
        try {
            if (restore)
                RunRestore(contextOf(env), *copier, folder, again);
            else
                CheckBackup(contextOf(env), *copier, folder, again);
            QFAIL("a damaged backup was taken");
        } catch (const OrvellaError &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
    }
    QCOMPARE(DumpDataSet(env.db()), live);
    QCOMPARE(Entries(env.dataDir()).filter("Wiederherstellung"), QStringList());
}

QTEST_GUILESS_MAIN(TestBackupTasks)
#include "tst_backuptasks.moc"
