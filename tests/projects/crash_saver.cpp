// Test helper: saves invoices into a data set without end until it is killed.
// Each round draws the next invoice number, saves a new invoice with 1 to 9 lines
// and saves the one before again with another number of lines. Every invoice
// carries its own line count in its project name, so a reader can tell a torn
// save from a complete one.
//
//   crash_saver HOME   (prints "ready" once the data set is open)
//
// With a count it plays one of several workstations saving at the same time:
// it begins COUNT new invoices one after the other, each under the next free
// number, saves each once and exits; a number that another workstation took
// meanwhile is handled as the project window handles it.
//
//   crash_saver HOME COUNT   (prints "collisions N" at the end)
//
// The data set is the tests' one: the file below HOME, or the server and schema
// of ORVELLA_TEST_DATABASE and ORVELLA_TEST_SCHEMA.

#include "CrashInvoice.h"
#include "Database.h"
#include "DocumentStore.h"
#include "HomeDir.h"
#include "ScriptedDialogs.h"
#include "TdmCommon.h"
#include "TestEnv.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: crash_saver HOME [COUNT]\n");
        return 2;
    }
    const QString home = QString::fromLocal8Bit(argv[1]);
    try {
        Database db(QStringLiteral("saver"));
        db.open(TestDatabaseConfig(DataDirOf(home)));
        ScriptedDialogs dialogs;
        DocumentStore store(db, dialogs);
        TdmCommon numbers(db, home);
        if (argc == 3) {
            const auto next = [&] { return numbers.GetNextBelegNr(NumberRange::Rechnung); };
            int collisions = 0;
            for (int i = 0, count = std::atoi(argv[2]); i < count; ++i) {
                const qint64 begun = next();
                Document invoice = crashInvoice(begun, 1 + i % 9);
                // The user saves again after a message about a number taken twice.
                for (int attempt = 0;; ++attempt) {
                    try {
                        store.saveNew(invoice, next);
                        break;
                    } catch (const DuplicateNumberError &) {
                        if (attempt == 50)
                            throw;
                        ++collisions;
                    }
                }
                if (invoice.number != begun)
                    ++collisions;
            }
            std::printf("collisions %d\n", collisions);
            return 0;
        }
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
