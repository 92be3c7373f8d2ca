// Opens the calendar or the game on a throw-away data set, so the windows can be
// looked at (under Xvfb). Not a test: nothing is checked.
//   show_extras day|week|game

#include "../receivables/ReceivablesFixtures.h"
#include "TfrmCalendar.h"
#include "TfrmFallingBlocks.h"

#include <QApplication>
#include <QTabWidget>
#include <QTableWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    InitFormats();
    const QString mode = app.arguments().value(1, QStringLiteral("day"));
    TestEnv env;
    env.state().grantAll();
    AddReceivablesCustomers(env);
    AddInvoice(env, 1001, 1, QStringLiteral("11900"), -2);
    AddPosting(env, 1001, QStringLiteral("4000"));
    AddInvoice(env, 1002, 2, QStringLiteral("595.5"), 0);
    AddInvoice(env, 1003, 1, QStringLiteral("1234.56"), 2);
    AddInvoice(env, 1004, 2, QStringLiteral("89.25"), 0);
    env.exec(QStringLiteral("INSERT INTO mahnungen (BelegNr, RNr, MNr, ProjektNr, Datum, RL, EFirma) VALUES "
                            "(7, 1001, 2, '1', '%1', 'N', 'Halvard GmbH')")
                 .arg(DateToStr(QDate::currentDate())));

    if (mode == QLatin1String("game")) {
        auto *w = new TfrmFallingBlocks(env.dialogs());
        w->show();
        w->cmdNewGame();
        for (int i = 0; i < 40; ++i) {
            if (i % 4 == 0)
                w->board().MoveLeft();
            if (i % 7 == 0)
                w->board().Rotate(TFallingBlocks::Direction::Anticlockwise);
            w->tick();
        }
        w->cmdPause();
        return app.exec();
    }
    TfrmCalendar w(env.state());
    w.prepareShow();
    if (mode == QLatin1String("week"))
        w.pcPages->setCurrentIndex(1);
    w.show();
    w.grdDay->setCurrentCell(1, 1);
    return app.exec();
}
