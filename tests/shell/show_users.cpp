// Opens the log-in, user or password window on a throw-away data set, so the
// windows can be looked at (under Xvfb, or grabbed offscreen into a PNG).
// Not a test: nothing is checked.
//   show_users login|users|options|principal|password [--grab out.png]

#include "TfrmBenutzer.h"
#include "TfrmLogin.h"
#include "TfrmPasswort.h"
#include "UserFixtures.h"

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1, QStringLiteral("users"));
    const int grabAt = int(args.indexOf(QStringLiteral("--grab")));
    const QString grabFile = grabAt > 0 ? args.value(grabAt + 1) : QString();

    TestEnv env;
    AddTestUsers(env);
    env.exec("UPDATE usr SET Besch = 'Buchhaltung und Mahnwesen\nMo. bis Mi.' WHERE IDU = 2");
    env.state().LoggedInUser = 2;
    std::unique_ptr<QDialog> shown;
    if (mode == QLatin1String("login")) {
        shown = std::make_unique<TfrmLogin>(env.state());
    } else if (mode == QLatin1String("password")) {
        shown = std::make_unique<TfrmPasswort>(env.state());
    } else {
        auto users = std::make_unique<TfrmBenutzer>(env.state());
        users->show();
        if (mode != QLatin1String("principal"))
            users->lstBenutzer->setCurrentRow(1);
        if (mode == QLatin1String("options"))
            users->tabRechte->setCurrentIndex(1);
        shown = std::move(users);
    }
    shown->show();
    if (!grabFile.isEmpty()) {
        QTimer::singleShot(300, [&] {
            shown->grab().save(grabFile);
            app.exit(0); // without asking the windows to close
        });
    }
    return app.exec();
}
