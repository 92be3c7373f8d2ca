#pragma once

#include <QString>
#include <QStringList>

// The Orvella home folder: holds Orbel.ini, EFirma.ob1, DruckJob.ini, the data
// folder and the template folders. Chosen from "--home DIR" (or "--home=DIR") on
// the command line, else the environment variable ORVELLA_HOME, else the user's
// application-data folder.
QString ResolveHomeDir(const QStringList &arguments);

// The arguments without "--home DIR", for the rest of the start-up to look at.
QStringList ArgumentsWithoutHome(const QStringList &arguments);

// Creates the folder and its data folder when missing, checks that it can be
// written, and copies the shipped defaults (templates, manual) that are not there
// yet. Returns the folder with a trailing "/". Throws OrvellaError with a German
// message when the folder cannot be created or written.
QString PrepareHomeDir(const QString &dir);

// The data folder of a home folder (no trailing "/").
QString DataDirOf(const QString &exeDir);
