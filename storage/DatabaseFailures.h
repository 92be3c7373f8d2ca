#pragma once

#include "Errors.h"

#include <QString>

// The messages that both the opening of a data set and the reading of the
// engine's failures (Database::fail) give. Only Database's own files use them.
namespace DatabaseFailures {

// A damaged data set: left unchanged when found at opening, otherwise the
// command that met the damage was abandoned.
QString damagedMessage(const QString &file, bool atOpen);
// A data set of a later version: this program would not know its tables.
DataSetError newerVersion(const QString &path, int version);

} // namespace DatabaseFailures
