#pragma once

#include <QString>

// A date ("dd.MM.yyyy") or number that may be empty, as a quoted value of a
// statement. Empty is NULL on the server, whose date and number columns hold only
// dates and numbers; the data set file keeps getting '' as it always has.
QString SqlOptional(const QString &value);
