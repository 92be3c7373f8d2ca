#include "DunningLetter.h"

#include "Document.h"
#include "Formats.h"
#include "OpenItem.h"

#include <QRegularExpression>

namespace DunningRules {

int templateLevel(int level)
{
    return std::clamp(level, 1, 3);
}

QString postalNameLine(const DunningProject &p, bool company)
{
    if (company)
        return p.vname;
    QString line;
    for (const QString &part : {p.anrede, p.titel, p.vname, p.nname})
        if (!part.isEmpty())
            line += part + QLatin1Char(' ');
    return line.trimmed();
}

QString postalTownLine(const DunningProject &p)
{
    return (p.postcode + QLatin1Char(' ') + p.town).trimmed();
}

QString billingTownLine(const DunningProject &p)
{
    return p.billPostcode.isEmpty() ? p.billTown : p.billPostcode + QLatin1Char(' ') + p.billTown;
}

QString fill(const QString &line, const DunningPlaceholders &v)
{
    static const QRegularExpression placeholder(
        QStringLiteral("\\[(anrede1|anrede2|sanrede|titel|vname|nname|rnr|brutto|datum)\\]"),
        QRegularExpression::CaseInsensitiveOption);
    const bool herrOrFrau = v.anrede == QLatin1String("Herr") || v.anrede == QLatin1String("Frau");
    QString out;
    qsizetype from = 0;
    for (auto it = placeholder.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += line.mid(from, m.capturedStart() - from);
        const QString name = m.captured(1).toLower();
        if (name == QLatin1String("anrede1"))
            out += Anrede1Text;
        else if (name == QLatin1String("anrede2"))
            out += herrOrFrau ? v.anrede + QLatin1Char(' ') + v.nname : QString();
        else if (name == QLatin1String("sanrede"))
            out += v.sAnrede;
        else if (name == QLatin1String("titel"))
            out += v.titel;
        else if (name == QLatin1String("vname"))
            out += v.vname;
        else if (name == QLatin1String("nname"))
            out += v.nname;
        else if (name == QLatin1String("rnr"))
            out += v.invoiceNumber;
        else if (name == QLatin1String("brutto"))
            out += v.amount;
        else
            out += v.invoiceDate;
        from = m.capturedEnd();
    }
    return out + line.mid(from);
}

QStringList composeLetter(const QStringList &rows, const DunningPlaceholders &values)
{
    QStringList letter;
    for (int i = 0; i < TemplateLines; ++i)
        letter << fill(i < rows.size() ? rows[i] : rows.value(rows.size() - 1), values);
    return letter;
}

QString levelText(int level)
{
    return QString::number(level) + QStringLiteral(". Mahnung");
}

QColor levelColour(int level)
{
    return level <= 1 ? QColor(Qt::black) : level == 2 ? OpenItemRules::Orange : QColor(Qt::red);
}

QString invoiceLabel(qint64 invoice)
{
    return QStringLiteral("Rechnung ") + PadNumber(invoice) + QLatin1Char('/');
}

QList<WordBookmark> wordBookmarks(const Document &d, qint64 customer)
{
    // The dunning window's fields show the numbers as PadNumber makes them, without
    // the leading blanks of the project window's fields and letter list.
    return DunningLetterContent({.document = d,
                                 .documentListText = PadNumber(d.number),
                                 .projectNumberText = PadNumber(d.projectNumber),
                                 .customerNumberText = PadNumber(customer)})
        .bookmarks;
}

} // namespace DunningRules
