#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// Hands files and addresses to the desktop (default application, calculator).
// Failures stay silent and only show in the result. Tests replace the opener so
// nothing is launched.
bool OpenWithDesktop(const QUrl &url);
// Starts the first of the programs that is installed; false when none is.
bool StartFirstInstalled(const QStringList &programs);

// A message for the desktop's mail program: it opens a new message with these,
// which the user reads and sends.
struct MailDraft
{
    QString to;
    QString subject;
    QString body;
    QStringList attachments; // local files
};
// The arguments of xdg-email for the draft: subject, body, each attachment, then
// the address.
QStringList MailArguments(const MailDraft &draft);
// Hands the draft to the mail program (xdg-email, package xdg-utils); false
// when there is none or it cannot be started.
bool ComposeMail(const MailDraft &draft);

using DesktopOpener = std::function<bool(const QUrl &)>;
// Runs a program with arguments; tests put one in that only records the call.
using ProgramRunner = std::function<bool(const QString &program, const QStringList &arguments)>;
void SetProgramRunner(ProgramRunner runner);
using ProgramStarter = std::function<bool(const QString &program)>;
// Replaces the opener and starter; an empty function restores the desktop's.
void SetDesktopOpener(DesktopOpener opener);
void SetProgramStarter(ProgramStarter starter);
