#include "TextTemplate.h"

#include "Formats.h"
#include "SqlLiterals.h"
#include "SqlQuery.h"
#include "Transaction.h"

namespace TextTemplate {

QString styleOf(Marks marks)
{
    if (marks.bold && marks.italic)
        return QStringLiteral("fsBold, fsItalic");
    if (marks.bold)
        return QStringLiteral("fsBold");
    if (marks.italic)
        return QStringLiteral("fsItalic");
    return QString();
}

std::optional<Marks> marksOf(const QString &style)
{
    if (style.isEmpty())
        return Marks{};
    if (style == QLatin1String("fsBold"))
        return Marks{true, false};
    if (style == QLatin1String("fsItalic"))
        return Marks{false, true};
    if (style == QLatin1String("fsBold, fsItalic"))
        return Marks{true, true};
    return std::nullopt;
}

const QStringList &entries()
{
    static const QStringList list = {QStringLiteral("Angebot"), QStringLiteral("Auftrag"),
                                     QStringLiteral("Lieferschein"), QStringLiteral("Rechnung"),
                                     QStringLiteral("Gutschrift")};
    return list;
}

namespace {
const char Letters[] = {'A', 'U', 'L', 'R', 'G'};
}

QChar letterOfEntry(int entry)
{
    return entry >= 0 && entry < 5 ? QLatin1Char(Letters[entry]) : QLatin1Char('A');
}

int entryOfLetter(QChar letter)
{
    for (int i = 0; i < 5; ++i)
        if (letter == QLatin1Char(Letters[i]))
            return i;
    return 0;
}

std::array<AdditionalTextLine, Document::TextLineCount> read(Database &db, QChar letter)
{
    std::array<AdditionalTextLine, Document::TextLineCount> lines;
    SqlQuery q(db);
    q.open(QStringLiteral("SELECT Text, Style, X FROM ztext WHERE Firma=1 AND Art='%1' ORDER BY X")
               .arg(SqlQuote(QString(letter))));
    for (std::size_t i = 0; i < lines.size() && !q.eof(); ++i, q.next())
        lines[i] = {q.field(QStringLiteral("Text")), q.field(QStringLiteral("Style"))};
    return lines;
}

QString mailText(Database &db)
{
    SqlQuery q(db);
    q.open(QStringLiteral("SELECT Text FROM ztext WHERE Firma=1 AND Art='E' AND X='a'"));
    return q.eof() ? DefaultMailText : q.field(QStringLiteral("Text"));
}

void saveMailText(Database &db, const QString &text)
{
    Transaction t(db);
    SqlQuery q(db);
    q.execSql(QStringLiteral("UPDATE ztext SET Text = '%1' WHERE Firma=1 AND Art='E' AND X='a'").arg(SqlQuote(text)));
    if (q.rowsAffected() == 0)
        q.execSql(QStringLiteral("INSERT INTO ztext (Firma, Art, X, Text, Style, Grad) VALUES (1, 'E', 'a', '%1', '', 10)")
                      .arg(SqlQuote(text)));
    t.commit();
}

QString mailBody(const QString &text, const QString &document)
{
    QString out = text;
    return out.replace(MailPlaceholder, document);
}

} // namespace TextTemplate
