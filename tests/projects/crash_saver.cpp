// Test helper: saves invoices into a data set without end until it is killed.
// Each round draws the next invoice number, saves a new invoice with 1 to 9 lines
// and saves the one before again with another number of lines. Every invoice
// carries its own line count in its project name, so a reader can tell a torn
// save from a complete one.
//
//   crash_saver HOME   (prints "ready" once the data set is open)

#include "CrashInvoice.h"
#include "Database.h"
#include "DocumentStore.h"
#include "HomeDir.h"
#include "ScriptedDialogs.h"
#include "TdmCommon.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: crash_saver HOME\n");
        return 2;
    }
    const QString home = QString::fromLocal8Bit(argv[1]);
    try {
        Database db(QStringLiteral("saver"));
        db.open(DataDirOf(home));
        ScriptedDialogs dialogs;
        DocumentStore store(db, dialogs);
        TdmCommon numbers(db, dialogs, home);
        std::printf("ready\n");
        std::fflush(stdout);
        for (qint64 round = 0;; ++round) {
            const qint64 n = numbers.GetNextBelegNr(NumberRange::Rechnung);
            Document fresh = crashInvoice(n, int(1 + n % 9));
            store.save(fresh);
            if (n > 1) {
                Document again = crashInvoice(n - 1, int(1 + (n + round) % 13));
                store.save(again);
            }
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
