#include "LineList.h"

#include "Formats.h"

LineList::LineList(const QString &currency)
{
    m_rows.append(headings(currency));
    m_rows.append(Row{});
}

LineList::Row LineList::headings(const QString &currency)
{
    Row h;
    h[Pos] = QStringLiteral("Pos.");
    h[ArtikelNr] = QStringLiteral("Art.-Nr.");
    h[Bezeichnung] = QStringLiteral("Bezeichnung");
    h[Anzahl] = QStringLiteral("Anzahl");
    h[Einzelpreis] = QStringLiteral("Einzelpreis ") + currency;
    h[Betrag] = QStringLiteral("Betrag ") + currency;
    h[MwSt] = QStringLiteral("MwSt");
    return h;
}

void LineList::setLineCount(int lines)
{
    lines = std::max(lines, 1);
    while (lineCount() > lines)
        m_rows.removeLast();
    while (lineCount() < lines)
        m_rows.append(Row{});
}

int LineList::appendRow()
{
    m_rows.append(Row{});
    return rowCount() - 1;
}

void LineList::setLines(const QList<Row> &lines)
{
    const Row head = m_rows.first();
    m_rows.clear();
    m_rows.append(head);
    m_rows.append(lines);
    if (m_rows.size() == 1)
        m_rows.append(Row{});
}

void LineList::clear()
{
    setLines({});
}

bool LineList::isArticleLine(int row) const
{
    const Row &r = m_rows.at(row);
    return !r[Anzahl].isEmpty() && !r[Einzelpreis].isEmpty();
}

bool LineList::isDiscountLine(int row) const
{
    return !isArticleLine(row) && !m_rows.at(row)[Rabatt].isEmpty();
}

bool LineList::isGap(int row) const
{
    // The name alone does not decide: an article typed without a name is still a
    // line with an amount and must not be squeezed away.
    const Row &r = m_rows.at(row);
    return r[Bezeichnung].isEmpty() && r[Anzahl].isEmpty() && r[Einzelpreis].isEmpty()
           && r[Rabatt].isEmpty();
}

void LineList::normalise()
{
    QList<Row> kept;
    kept.reserve(m_rows.size());
    kept.append(m_rows.first());
    int position = 0;
    for (int r = 1; r < rowCount(); ++r) {
        if (isGap(r))
            continue;
        Row row = m_rows.at(r);
        if (!row[Pos].isEmpty())
            row[Pos] = QString::number(++position);
        kept.append(row);
    }
    if (kept.size() == 1)
        kept.append(Row{});
    m_rows = std::move(kept);
}

LineList::Captions LineList::discountLast(const QString &skontoPercent)
{
    qint64 lastPosition = 0;
    for (int r = 1; r < rowCount(); ++r)
        if (!cell(r, Pos).isEmpty())
            lastPosition = StrToIntDef(cell(r, Pos), 0);

    // Rows move up while the loop runs; the discount line that reaches the end is
    // met once more and simply stays there.
    const int linesAtStart = lineCount();
    for (int r = 1; r <= linesAtStart && r < rowCount(); ++r) {
        if (cell(r, Rabatt).isEmpty())
            continue;
        const int last = appendRow();
        setCell(last, Pos, QString::number(lastPosition + 1));
        for (Column c : {Bezeichnung, Einzelpreis, Rabatt}) {
            setCell(last, c, cell(r, c));
            setCell(r, c, QString());
        }
        normalise();
    }
    return captions(skontoPercent);
}

QString LineList::discountCaption(const QString &lastRowPercent)
{
    return lastRowPercent.isEmpty() ? QStringLiteral("&Rabat")
                                    : QStringLiteral("&Rabat ") + lastRowPercent + QStringLiteral(" %");
}

QString LineList::skontoCaption(const QString &skontoPercent)
{
    return skontoPercent.isEmpty() ? QStringLiteral("&Skonto")
                                   : QStringLiteral("&Skonto ") + skontoPercent + QStringLiteral(" %");
}

LineList::Captions LineList::captions(const QString &skontoPercent) const
{
    return {discountCaption(cell(rowCount() - 1, Rabatt)), skontoCaption(skontoPercent)};
}
