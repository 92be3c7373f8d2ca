// Opens the backup, restore or data-maintenance window on a throw-away data set,
// so it can be looked at (under Xvfb). Not a test: nothing is checked.
//   show_backup full|archive|running|done|restore|service

#include "BackupFixtures.h"
#include "BackupTasks.h"
#include "DataSetCopier.h"
#include "IniFile.h"
#include "TfrmBackup.h"
#include "TfrmRestore.h"
#include "TfrmService.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString mode = app.arguments().value(1, QStringLiteral("full"));
    TestEnv env;
    for (int n = 1; n <= 40; ++n)
        AddArchiveInvoice(env, n, QStringLiteral("01.03.2004"), 3);
    const QString target = env.path(QStringLiteral("Sicherungen"));
    QDir().mkpath(target);
    IniFile ini(env.path(QStringLiteral("Orbel.ini")));
    ini.writeString(QStringLiteral("Backup"), QStringLiteral("PathGesamt"), target);
    ini.writeString(QStringLiteral("Backup"), QStringLiteral("PathRechnung"), target);

    if (mode == QLatin1String("restore")) {
        auto copier = MakeDataSetCopier(env.db());
        BackupContext context;
        context.exeDir = env.home();
        BackupProgress progress;
        const QString folder = RunFullBackup(context, *copier, target, progress);
        AddArchiveInvoice(env, 41, QStringLiteral("01.04.2004"), 2);
        auto *w = new TfrmRestore(env.state());
        w->show();
        w->chooseFolder(folder);
        return app.exec();
    }
    if (mode == QLatin1String("service")) {
        auto *w = new TfrmService(env.state());
        w->show();
        return app.exec();
    }
    auto *w = new TfrmBackup(env.state());
    w->selectMode(mode == QLatin1String("archive") ? BackupRules::Kind::InvoiceArchive : BackupRules::Kind::Full);
    w->show();
    if (mode == QLatin1String("running"))
        // held in the middle of the invoice lines so the bars can be seen
        w->setCheckpointHook([](int step, qint64 done) {
            if (step == 3 && done == 60)
                QThread::sleep(30);
        });
    if (mode == QLatin1String("running") || mode == QLatin1String("done")) {
        if (mode == QLatin1String("running")) {
            w->selectMode(BackupRules::Kind::InvoiceArchive);
            w->rbAlleRechnungen->setChecked(true);
        }
        QTimer::singleShot(500, w->btnDatensicherung, &QPushButton::click);
    }
    return app.exec();
}
