#pragma once

#include <QString>

// The files that hold the business's data and secrets (the data set with the
// customers' bank accounts and the password hashes, the company's settings, the
// account's preferences, backups) belong to the account alone: folders 0700,
// files 0600, whatever the umask a program was started with.

// A file 0600, a folder 0700; nothing when it does not exist.
void KeepPrivate(const QString &path);
// A folder and everything below it.
void KeepTreePrivate(const QString &folder);
// The data folder and its data set with journal and kept copies, Orbel.ini,
// EFirma.ob1, DruckJob.ini and the account's settings file: tightened at every
// start, so a home folder made with looser modes is mended.
void KeepHomePrivate(const QString &exeDir);
