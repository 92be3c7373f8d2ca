// Test helper: restores a full backup into the data set of a home folder, to be
// killed at any moment of it by the test.
//
//   crash_restorer HOME FOLDER   (prints "start" once the data set is open)

#include "BackupProgress.h"
#include "BackupTasks.h"
#include "DataSetCopier.h"
#include "Database.h"
#include "HomeDir.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: crash_restorer HOME FOLDER\n");
        return 2;
    }
    const QString home = QString::fromLocal8Bit(argv[1]);
    try {
        Database db(QStringLiteral("restorer"));
        db.open(DataDirOf(home));
        auto copier = MakeDataSetCopier(db);
        db.close(); // the restore's own connections do the work
        BackupContext context;
        context.exeDir = home;
        std::puts("start");
        std::fflush(stdout);
        BackupProgress progress;
        RunRestore(context, *copier, QString::fromLocal8Bit(argv[2]), progress);
        std::puts("done");
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
