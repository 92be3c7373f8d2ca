// Test helper: books payments into a data set without end until it is killed.
// Round n books on invoice 1 + n % 40 an amount of 0,01 to 150,00 (a negative
// correction once the invoice is paid), through the store the window uses.
//
//   crash_booker HOME   (prints "ready" once the data set is open)

#include "Database.h"
#include "HomeDir.h"
#include "ReceivablesStore.h"
#include "TdmCommon.h"
#include "TestEnv.h"

#include <QCoreApplication>
#include <QDate>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: crash_booker HOME\n");
        return 2;
    }
    const QString home = QString::fromLocal8Bit(argv[1]);
    try {
        Database db(QStringLiteral("booker"));
        db.open(TestDatabaseConfig(DataDirOf(home)));
        TdmCommon numbers(db, home);
        ReceivablesStore store(db, numbers);
        std::printf("ready\n");
        std::fflush(stdout);
        for (qint64 round = QDateTime::currentMSecsSinceEpoch() % 1000;; ++round) {
            const qint64 invoice = 1 + round % 40;
            const InvoiceFigures seen = store.figures(invoice);
            const PanelAmounts panel = PaymentRules::panelAmounts(seen, false);
            Amount paid = Amount::fromRaw(100 * (1 + (round * 7919) % 15000));
            if (panel.outstanding <= Amount())
                paid = -paid;
            const auto booking = PaymentRules::planBooking(panel.outstanding, paid.toPlainText(), false);
            store.book(invoice, seen, *booking, QDate(2024, 1, 1).addDays(int(round % 300)));
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
