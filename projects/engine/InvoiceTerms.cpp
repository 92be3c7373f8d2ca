#include "InvoiceTerms.h"

#include "Document.h"
#include "Formats.h"
#include "SqlQuery.h"

#include <QRegularExpression>

namespace InvoiceTerms {

QString dueSentence(const QString &dueDate)
{
    if (!IsValidDateText(dueDate))
        return QString();
    return QStringLiteral("Zahlbar bis %1 ohne Abzug.").arg(dueDate);
}

std::optional<int> skontoDaysInText(const QString &skontoText)
{
    static const QRegularExpression days(QStringLiteral("(\\d{1,3})\\s*(?:Tag|Tage|Tagen)\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = days.match(skontoText);
    if (!m.hasMatch())
        return std::nullopt;
    const int n = m.captured(1).toInt();
    return n > 0 ? std::optional<int>(n) : std::nullopt;
}

std::optional<int> skontoDays(Database &db, const QString &skontoText, qint64 customer)
{
    if (const auto days = skontoDaysInText(skontoText))
        return days;
    if (customer <= 0)
        return std::nullopt;
    // Companies and persons share one number range; a person is looked for first.
    SqlQuery q(db);
    for (const auto &[table, key] : {std::pair{"namemehr", "IDN"}, std::pair{"firmamehr", "IDF"}}) {
        q.open(QStringLiteral("SELECT SkontoTage FROM %1 WHERE %2=%3")
                   .arg(QLatin1String(table), QLatin1String(key))
                   .arg(customer));
        if (q.isEmpty())
            continue;
        const int n = q.field(QStringLiteral("SkontoTage")).trimmed().toInt();
        return n > 0 ? std::optional<int>(n) : std::nullopt;
    }
    return std::nullopt;
}

QDate skontoDeadline(const QDate &invoiceDate, int days)
{
    return invoiceDate.addDays(days);
}

ServiceDateText serviceDate(const Document &d)
{
    if (d.hasServicePeriod())
        return {QStringLiteral("Leistungszeitraum:"),
                d.effectiveServiceDate() + QStringLiteral(" – ") + d.serviceDateTo};
    return {QStringLiteral("Leistungsdatum:"), d.effectiveServiceDate()};
}

} // namespace InvoiceTerms
