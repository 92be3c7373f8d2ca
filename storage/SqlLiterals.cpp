#include "SqlLiterals.h"
#include "SqlOptional.h"
#include "SqlText.h"

#include "Amount.h"
#include "DatabaseConfig.h"

QString SqlQuote(const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    // A NUL would end the statement on the file and is no text on the server.
    s.remove(QChar(u'\0'));
    return s;
}

QString SqlText(const QString &text)
{
    return QLatin1Char('\'') + SqlQuote(text) + QLatin1Char('\'');
}

QString SqlOptional(const QString &value)
{
    if (value.trimmed().isEmpty())
        return CurrentSqlEngine() == DatabaseEngine::PostgreSQL ? QStringLiteral("NULL") : QStringLiteral("''");
    return SqlText(value.trimmed());
}

QString SqlLike(const QString &column, const QString &text, LikeMatch match)
{
    QString pattern;
    pattern.reserve(text.size() + 4);
    bool escaped = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\')) {
            pattern += QLatin1Char('\\');
            escaped = true;
        }
        pattern += c;
    }
    const QString front = match == LikeMatch::Contains ? QStringLiteral("%") : QString();
    // The ESCAPE clause only when the text needs it, so plain prefixes keep the
    // engine's index plans for LIKE 'x%'.
    // SQLite's LIKE ignores case; PostgreSQL's needs ILIKE for the same rows.
    const QString like = CurrentSqlEngine() == DatabaseEngine::PostgreSQL ? QStringLiteral(" ILIKE '")
                                                                          : QStringLiteral(" LIKE '");
    return column + like + front + SqlQuote(pattern) + QStringLiteral("%'")
           + (escaped ? QStringLiteral(" ESCAPE '\\'") : QString());
}

QString SqlDecimal(const QString &displayText, const QString &currency)
{
    return Amount::fromDisplay(displayText, currency).toSqlText();
}
