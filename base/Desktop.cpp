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

ProgramRunner &runner()
{
    static ProgramRunner r;
    return r;
}

} // namespace

void SetProgramRunner(ProgramRunner r)
{
    runner() = std::move(r);
}

QStringList MailArguments(const MailDraft &draft)
{
    QStringList args;
    if (!draft.subject.isEmpty())
        args << QStringLiteral("--subject") << draft.subject;
    if (!draft.body.isEmpty())
        args << QStringLiteral("--body") << draft.body;
    for (const QString &file : draft.attachments)
        args << QStringLiteral("--attach") << file;
    // xdg-email reads every argument that begins with a dash as an option; such an
    // address is no address, and the user types one in the mail program instead
    const QString to = draft.to.trimmed();
    if (!to.isEmpty() && !to.startsWith(QLatin1Char('-')))
        args << to;
    return args;
}

bool ComposeMail(const MailDraft &draft)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (runner())
        return runner()(program.isEmpty() ? QStringLiteral("xdg-email") : program, MailArguments(draft));
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, MailArguments(draft));
}

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
