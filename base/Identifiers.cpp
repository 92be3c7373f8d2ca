#include "Identifiers.h"

QString CompactIdentifier(const QString &text)
{
    QString out;
    for (const QChar c : text)
        if (!c.isSpace())
            out += c.toUpper();
    return out;
}
