#include "Desktop.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace {

DesktopOpener &opener()
{
    static DesktopOpener o;
    return o;
}

ProgramStarter &starter()
{
    static ProgramStarter s;
    return s;
}

} // namespace

void SetDesktopOpener(DesktopOpener o)
{
    opener() = std::move(o);
}

void SetProgramStarter(ProgramStarter s)
{
    starter() = std::move(s);
}

bool OpenWithDesktop(const QUrl &url)
{
    if (opener())
        return opener()(url);
    return QDesktopServices::openUrl(url);
}

bool StartFirstInstalled(const QStringList &programs)
{
    for (const QString &p : programs) {
        const QString path = QStandardPaths::findExecutable(p);
        if (path.isEmpty())
            continue;
        if (starter())
            return starter()(path);
        return QProcess::startDetached(path, {});
    }
    return false;
}
