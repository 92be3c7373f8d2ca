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

using DesktopOpener = std::function<bool(const QUrl &)>;
using ProgramStarter = std::function<bool(const QString &program)>;
// Replaces the opener and starter; an empty function restores the desktop's.
void SetDesktopOpener(DesktopOpener opener);
void SetProgramStarter(ProgramStarter starter);
