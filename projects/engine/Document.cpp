#include "Document.h"

Document::Document(DocumentKind kind, const QString &currency)
    : kind(kind), lines(currency), totals(kind.grossHeading())
{
}

QString Document::textBoxText() const
{
    QStringList shown;
    for (const AdditionalTextLine &line : texts)
        shown << line.text;
    return shown.join(QLatin1Char('\n'));
}
