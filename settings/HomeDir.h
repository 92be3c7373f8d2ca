#pragma once

#include <QString>
#include <QStringList>

// The Orvella home folder: holds Orbel.ini, EFirma.ob1, DruckJob.ini, the data
// folder and the template folders. Chosen from "--home DIR" (or "--home=DIR") on
// the command line, else the environment variable ORVELLA_HOME, else the user's
// application-data folder.
QString ResolveHomeDir(const QStringList &arguments);

// The arguments without "--home DIR" and "--database URL", for the rest of the
// start-up to look at.
QStringList ArgumentsWithoutHome(const QStringList &arguments);

// The folder of shipped defaults (templates, manual) that new home folders are
// filled from: "<data folder>/orvella/defaults" of the nearest folder above the
// program that has one, which is the installation prefix of an installed program
// and the build folder (linked to the sources) of one run where it was built;
// else the first one on the desktop's data search path (XDG_DATA_DIRS). Empty
// when there is none.
QString FindShippedDefaults(const QString &programDir);
// The same for the running program.
QString FindShippedDefaults();

// Creates the folder and its data folder when missing, checks that it can be
// written, and copies the shipped defaults (templates, manual) from defaultsDir
// that are not there yet; files the user already has stay as they are. Returns
// the folder with a trailing "/". Throws OrvellaError with a German message when
// the folder cannot be created or written.
QString PrepareHomeDir(const QString &dir, const QString &defaultsDir = FindShippedDefaults());

// The data folder of a home folder (no trailing "/").
QString DataDirOf(const QString &exeDir);
