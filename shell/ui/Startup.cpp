#include "Startup.h"

#include "DatabaseConfig.h"

#include "AppState.h"
#include "AppWindows.h"
#include "CommandGuard.h"
#include "ControlCharacterGuard.h"
#include "Database.h"
#include "DemoData.h"
#include "Errors.h"
#include "Formats.h"
#include "HomeDir.h"
#include "Icons.h"
#include "QtDialogs.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "TForm1.h"
#include "TfrmLogin.h"
#include "TfrmStartinfo.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

bool RunLogin(AppState &state, TForm1 &main)
{
    const LoginSwitch loginSwitch = ReadLoginSwitch();
    if (loginSwitch == LoginSwitch::Off) {
        state.grantAll();
        main.disablePasswordChange();
        return true;
    }
    if (loginSwitch == LoginSwitch::Unreadable)
        state.dialogs.warning(QStringLiteral("Die Einstellung der Anmeldung in „%1“ kann nicht gelesen werden. Zur "
                                             "Sicherheit wird nach Benutzername und Passwort gefragt.\n\nBitte lassen "
                                             "Sie die Datei vom Verwalter des Rechners lesbar machen.")
                                  .arg(MachineSettingsFile()));
    TfrmLogin login(state);
    if (login.exec() != QDialog::Accepted || login.Cancelled())
        return false;
    // at once, not only when the main window is first activated, which a desktop may never do
    main.ApplyPermissions();
    return true;
}

int RunOrvella(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    SingleInstance instance;
    if (!instance.acquire()) {
        // Another copy runs: its window comes to the front, this one ends without a word.
        SingleInstance::notifyRunning();
        return 0;
    }

    InitFormats();
    InstallQtGermanTexts();
    QApplication::setOrganizationName(QStringLiteral("Halvard"));
    QApplication::setApplicationName(QStringLiteral("Orvella"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvella-Suite"));
    QApplication::setDesktopFileName(QStringLiteral(ORVELLA_APP_ID));
    QApplication::setWindowIcon(ProgramIcon());
    ChooseIconTheme();

    QtDialogs dialogs;
    // No field takes control characters, typed or pasted.
    ControlCharacterGuard controlCharacters(dialogs);
    controlCharacters.installOnApplication();
    // Every window opens inside its screen, however small.
    WindowsInsideScreen onScreen;
    onScreen.installOnApplication();
    QString exeDir;
    Database db;
    try {
        exeDir = PrepareHomeDir(ResolveHomeDir(QApplication::arguments()));
        db.open(ChooseDatabase(QApplication::arguments(), exeDir, DataDirOf(exeDir)));
    } catch (const OrvellaError &e) {
        dialogs.error(e.message(), QStringLiteral("Orvella-Suite"));
        return 1;
    }

    AppState state(db, dialogs, exeDir);
    if (QApplication::arguments().contains(QStringLiteral("--demo"))) {
        // Sample data go only into an empty data set; a filled one stays as it is.
        if (!RunCommand(dialogs, [&] {
                if (!DemoData::fill(state))
                    dialogs.information(QStringLiteral("Der Datenbestand enthält bereits Daten. Die Beispieldaten "
                                                       "werden nur in einen leeren Orvella-Ordner geschrieben."));
            }))
            return 1;
    }
    TForm1 main(state);
    main.setArguments(ArgumentsWithoutHome(QApplication::arguments()));

    instance.onActivationRequest([&main] {
        // an open dialog comes first (the log-in window too), since the main window waits for it
        QWidget *front = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : &main;
        if (!front->isVisible())
            return;
        if (main.isMinimized())
            main.showNormal();
        front->raise();
        front->activateWindow();
    });
    if (!RunLogin(state, main))
        return 0;

    auto splash = std::make_unique<TfrmStartinfo>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    AppWindows windows(state, main);
    state.hub = &windows;
    windows.createAll([&](int percent) { splash->setProgress(percent); });
    splash->setProgress(100);
    splash.reset();

    main.updateAvailability();
    main.show();

    // For the start-up benchmark: report when the main window is on screen and end.
    if (qEnvironmentVariableIsSet("ORVELLA_EXIT_WHEN_SHOWN")) {
        QTimer::singleShot(0, &app, [&] {
            std::printf("main window shown after %lld ms\n", static_cast<long long>(sinceStart.elapsed()));
            std::fflush(stdout);
            main.setAskOnClose(false);
            main.close();
        });
    }
    const int rc = app.exec();
    state.hub = nullptr;
    return rc;
}
