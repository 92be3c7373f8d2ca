// Benchmark, not a test: the backup window over a data set of 200,000 contacts
// and 20,000 invoices. Times the full backup (copy, integrity check, manifest),
// the archive of all invoices and credit notes, and the check and restore of the
// full backup, each run from its window on the worker thread, and measures the
// longest time the window's thread went without handling its events.
//
//   bench_backup [contacts] [invoices]   (defaults 200000 and 20000)

#include "BackupFixtures.h"
#include "Formats.h"
#include "Settings.h"
#include "TfrmBackup.h"
#include "TfrmRestore.h"
#include "Transaction.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

void exec(QSqlQuery &q, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (!q.exec())
        qFatal("%s: %s", qPrintable(q.lastQuery()), qPrintable(q.lastError().text()));
}

// Half companies, half persons, each with a main address, two communication
// entries, a note and extended data; invoices of five lines with both addresses,
// texts, open item, totals and a part payment; a credit note for every tenth.
void fill(Database &db, int contacts, int invoices)
{
    Transaction all(db);
    const QSqlDatabase c = db.connection();
    QSqlQuery firma(c), name(c), adresse(c), link(c), com(c), comLink(c), note(c), firmaMehr(c), nameMehr(c);
    firma.prepare("INSERT INTO firma (IDF, Name, Branche, Kategorie, Begriffe, Telefon, St) VALUES (?, ?, 'Handel', "
                  "'Kunde', 'Suchbegriff', ?, '1')");
    name.prepare("INSERT INTO name (IDN, Anrede, VName, NName, Telefon, Kategorie, St) VALUES (?, 'Herr', ?, ?, ?, "
                 "'Kunde', '1')");
    adresse.prepare("INSERT INTO adresse (IDA, Strasse, PLZ, Ort, Land) VALUES (?, ?, ?, 'Stuttgart', 'Deutschland')");
    link.prepare("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (?, ?, 'Hauptadresse', '1')");
    com.prepare("INSERT INTO com (IDC, Inhalt, X) VALUES (?, ?, ?)");
    comLink.prepare("INSERT INTO comtofn (IDC, IDFN, Bez) VALUES (?, ?, ?)");
    note.prepare("INSERT INTO anmerkung (IDA, Anmerkung) VALUES (?, 'Kunde seit vielen Jahren, zahlt pünktlich.')");
    firmaMehr.prepare("INSERT INTO firmamehr (IDF, Zahlungsziel, Skonto, MwSt, IBAN) VALUES (?, 30, 2, 19, "
                      "'DE12 3456 7890 1234 5678 90')");
    nameMehr.prepare("INSERT INTO namemehr (IDN, Zahlungsziel, Skonto, MwSt) VALUES (?, 14, 0, 19)");
    for (int n = 1; n <= contacts; ++n) {
        const QString phone = QStringLiteral("0711 %1").arg(n);
        if (n % 2)
            exec(firma, {n, QStringLiteral("Firma %1 GmbH").arg(n), phone});
        else
            exec(name, {n, QStringLiteral("Vorname%1").arg(n % 977), QStringLiteral("Nachname%1").arg(n), phone});
        exec(adresse, {n, QStringLiteral("Hauptstraße %1").arg(n % 300), QStringLiteral("%1").arg(70000 + n % 9000)});
        exec(link, {n, n});
        exec(com, {2 * n, phone, "T"});
        exec(comLink, {2 * n, n, "Telefon"});
        exec(com, {2 * n + 1, QStringLiteral("info%1@example.de").arg(n), "E"});
        exec(comLink, {2 * n + 1, n, "E-Mail"});
        exec(note, {n});
        exec(n % 2 ? firmaMehr : nameMehr, {n});
    }
    QSqlQuery head(c), line(c), address(c), extra(c), text(c), op(c), amount(c), posting(c), credit(c), creditOp(c);
    head.prepare("INSERT INTO rechnungen (BelegNr, ProjektNr, ReNr, Datum, PName, RL, EFirma) VALUES (?, ?, 0, ?, "
                 "'Projekt', 'N', 'Halvard GmbH - Weg 1 - 12345 Ort')");
    line.prepare("INSERT INTO rechnungenartikel (BelegNr, Pos, ArtikelNr, Bezeichnung, Anzahl, Einzelpreis, Betrag, "
                 "MwSt, Rabatt, RF) VALUES (?, ?, ?, 'Artikel mit einem längeren Namen', '2', '12,50', '25,00', "
                 "'19,00 %', '', ?)");
    address.prepare("INSERT INTO rechnungenanschrift (BelegNr, Art, Bezeichnung, Name, Strasse, PLZOrt, Land) VALUES "
                    "(?, ?, 'Bezeichnung', ?, 'Hauptstraße 1', '70173 Stuttgart', 'Land')");
    extra.prepare("INSERT INTO rechnungenextra (BelegNr, ScontoText, Sconto) VALUES (?, 'bei Zahlung in 8 Tagen', '2')");
    text.prepare("INSERT INTO rechnungenztext (BelegNr, Zeile, Style, Text) VALUES (?, ?, '', 'Vielen Dank für Ihren "
                 "Auftrag.')");
    op.prepare("INSERT INTO rechnungenop (RNR, ZZiel, EDatum, Betrag, Name, RBetrag, MStufe, Gebucht) VALUES (?, 30, ?, "
               "148.75, ?, 0, 0, 'N')");
    amount.prepare("INSERT INTO rechnungenbetrag (BelegNr, Netto, Brutto) VALUES (?, 125, 148.75)");
    posting.prepare("INSERT INTO teilbuchung (RNr, Betrag, Datum, Text) VALUES (?, 50, ?, '')");
    credit.prepare("INSERT INTO gutschriften (BelegNr, ProjektNr, ReNr, Datum, PName, RL, EFirma) VALUES (?, ?, ?, ?, "
                   "'Projekt', 'N', 'Halvard GmbH')");
    creditOp.prepare("INSERT INTO gutschriftenop (BelegNr, RNr, Betrag) VALUES (?, ?, 25)");
    const QDate start(2003, 1, 1);
    for (int n = 1; n <= invoices; ++n) {
        const QString date = DateToStr(start.addDays(n % 700));
        const QString customer = QStringLiteral("Firma %1 GmbH").arg(2 * n + 1);
        exec(head, {n, n, date});
        for (int r = 1; r <= 5; ++r)
            exec(line, {n, QString::number(r), QStringLiteral("A-%1").arg(r), r});
        exec(address, {n, "Anschrift", customer});
        exec(address, {n, "Rechnungsanschrift", QStringLiteral("Buchhaltung")});
        exec(extra, {n});
        for (int z = 1; z <= 4; ++z)
            exec(text, {n, z});
        exec(op, {n, date, customer});
        exec(amount, {n});
        exec(posting, {n, date});
        if (n % 10 == 0) {
            exec(credit, {n / 10, n, n, date});
            exec(creditOp, {n / 10, n});
        }
    }
    all.commit();
    db.exec("ANALYZE");
}

struct Timing
{
    double totalMs = 0;
    double longestGapMs = 0;
};

// Runs a command of a window and turns the event loop until running() says it
// ended, noting the longest time between two turns of the loop.
Timing timeWindowTask(const std::function<void()> &start, const std::function<bool()> &running)
{
    QElapsedTimer total, gap;
    Timing t;
    total.start();
    gap.start();
    start();
    QTimer ticker;
    QEventLoop loop;
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        t.longestGapMs = std::max(t.longestGapMs, double(gap.nsecsElapsed()) / 1e6);
        gap.restart();
        if (!running())
            loop.quit();
    });
    ticker.start(2);
    loop.exec();
    t.totalMs = double(total.nsecsElapsed()) / 1e6;
    return t;
}

void report(const char *what, const Timing &t)
{
    std::printf("%-40s %8.0f ms   window thread blocked at most %5.1f ms\n", what, t.totalMs, t.longestGapMs);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int contacts = argc > 1 ? std::atoi(argv[1]) : 200000;
    const int invoices = argc > 2 ? std::atoi(argv[2]) : 20000;
    TestEnv env;
    QElapsedTimer filling;
    filling.start();
    fill(env.db(), contacts, invoices);
    std::printf("%d contacts, %d invoices: data set of %.0f MB, filled in %.1f s\n", contacts, invoices,
                double(QFileInfo(env.db().filePath()).size()) / 1048576.0, double(filling.elapsed()) / 1000.0);
    const QString target = env.path("ziel");
    QDir().mkpath(target);
    WriteBackupPath(env.home(), "PathGesamt", target);
    WriteBackupPath(env.home(), "PathRechnung", target);

    TfrmBackup backup(env.state());
    backup.selectMode(BackupRules::Kind::Full);
    backup.show();
    // how long each step of the last run took, from the status texts it showed
    QElapsedTimer stepClock;
    QStringList steps;
    QString lastStatus;
    QObject::connect(backup.edtStatus, &QLineEdit::textChanged, [&](const QString &status) {
        if (!lastStatus.isEmpty())
            steps << QStringLiteral("  %1 ms  %2").arg(stepClock.elapsed(), 6).arg(lastStatus.section(':', 0, 0));
        lastStatus = status;
        stepClock.restart();
    });
    for (int run = 1; run <= 3; ++run) {
        steps.clear();
        lastStatus.clear();
        report(qPrintable(QStringLiteral("full backup, run %1").arg(run)),
               timeWindowTask([&] { backup.btnDatensicherung->click(); }, [&] { return backup.isRunning(); }));
    }
    std::printf("%s\n", qPrintable(steps.join('\n')));
    const QString folder = backup.lastFolder();
    std::printf("backup copy: %.0f MB\n", double(QFileInfo(folder + "/orvella.db").size()) / 1048576.0);

    backup.selectMode(BackupRules::Kind::InvoiceArchive);
    backup.rbAlleRechnungen->setChecked(true);
    report("archive of all invoices and credit notes",
           timeWindowTask([&] { backup.btnDatensicherung->click(); }, [&] { return backup.isRunning(); }));
    backup.hide();

    TfrmRestore restore(env.state());
    restore.show();
    report("check of the backup before a restore",
           timeWindowTask([&] { restore.chooseFolder(folder); }, [&] { return restore.isRunning(); }));
    env.dialogs().answer(Dialogs::Answer::Yes);
    report("restore (keeping the data set first)",
           timeWindowTask([&] { restore.btnZurueckspielen->click(); }, [&] { return restore.isRunning(); }));
    for (const QString &m : env.dialogs().messages())
        std::printf("message: %s\n", qPrintable(m.section('\n', 0, 0)));
    return restore.restored() ? 0 : 1;
}
