#pragma once

#include "Formats.h"
#include "SqlText.h"

#include <QString>

// Values as the contact statements write them into their text.
namespace ContactSql {

// A text value between apostrophes, its own apostrophes doubled.
inline QString Txt(const QString &value)
{
    return SqlText(value);
}

// A number between apostrophes, as the statements write identifiers.
inline QString Num(qint64 value)
{
    return QStringLiteral("'%1'").arg(value);
}

// A number held as text in a hidden grid cell; anything but digits is refused
// before it comes near a statement.
inline QString NumText(const QString &value)
{
    return Num(StrToInt(value));
}

} // namespace ContactSql
