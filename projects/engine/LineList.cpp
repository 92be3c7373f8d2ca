#include "LineList.h"

#include "Errors.h"
#include "Formats.h"

#include <algorithm>

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
    return lastRowPercent.isEmpty() ? QStringLiteral("&Rabatt")
                                    : QStringLiteral("&Rabatt ") + lastRowPercent + QStringLiteral(" %");
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

QList<LineEntry> LineList::articleEntries() const
{
    QList<LineEntry> out;
    for (int r = 1; r < rowCount(); ++r)
        if (!cell(r, Pos).isEmpty() && cell(r, Rabatt).isEmpty())
            out.append({cell(r, Bezeichnung), cell(r, Pos)});
    return out;
}

int LineList::rowOfPosition(const QString &position) const
{
    if (position.isEmpty())
        return -1;
    for (int r = 1; r < rowCount(); ++r)
        if (cell(r, Pos) == position)
            return r;
    return -1;
}

ArticleLine LineList::articleAt(int row) const
{
    ArticleLine line;
    line.artikelNr = cell(row, ArtikelNr);
    line.name = cell(row, Bezeichnung);
    line.quantity = cell(row, Anzahl).remove(QLatin1Char('.'));
    line.price = cell(row, Einzelpreis).remove(QLatin1Char('.'));
    line.vat = cell(row, MwSt);
    for (int r = row + 1; r < rowCount() && cell(r, Pos).isEmpty(); ++r)
        line.texts << cell(r, Bezeichnung);
    return line;
}

void LineList::appendArticle(const ArticleLine &line)
{
    const auto price = Amount::parseInput(line.price);
    if (!price)
        throw ConversionError(QStringLiteral("'%1' ist kein gültiger Einzelpreis.").arg(line.price));

    // Rows below the last filled one hold nothing a reader sees; the new line
    // takes their place.
    int used = 0;
    int positions = 0;
    for (int r = 1; r < rowCount(); ++r) {
        const Row &row = m_rows.at(r);
        if (std::any_of(row.begin(), row.begin() + Rabatt, [](const QString &c) { return !c.isEmpty(); }))
            used = r;
    }
    for (int r = 1; r <= used; ++r)
        if (!cell(r, Pos).isEmpty())
            ++positions;
    m_rows.resize(used + 1);

    Row article;
    article[Pos] = QString::number(positions + 1);
    article[ArtikelNr] = line.artikelNr;
    article[Bezeichnung] = line.name;
    article[Anzahl] = line.quantity;
    article[Einzelpreis] = price->toText();
    article[MwSt] = line.vat;
    m_rows.append(article);
    for (const QString &text : line.texts) {
        if (text.isEmpty())
            continue;
        Row textRow;
        textRow[Bezeichnung] = text;
        m_rows.append(textRow);
    }
}

void LineList::splitAround(const QString &position, QList<Row> &before, QList<Row> &after) const
{
    before.clear();
    after.clear();
    const int at = rowOfPosition(position);
    if (at < 0) {
        before = m_rows.mid(1);
        return;
    }
    before = m_rows.mid(1, at - 1);
    int next = at + 1;
    while (next < rowCount() && cell(next, Pos).isEmpty())
        ++next;
    after = m_rows.mid(next);
}

void LineList::replaceArticle(const QString &position, const ArticleLine &line)
{
    QList<Row> before, after;
    splitAround(position, before, after);
    LineList rebuilt(*this);
    rebuilt.setLines(before);
    rebuilt.appendArticle(line); // throws before anything of this list changed
    rebuilt.m_rows.append(after);
    *this = std::move(rebuilt);
}

void LineList::removeArticle(const QString &position)
{
    QList<Row> before, after;
    splitAround(position, before, after);
    setLines(before + after);
}

int LineList::discountRow() const
{
    for (int r = 1; r < rowCount(); ++r)
        if (!cell(r, Rabatt).isEmpty())
            return r;
    return -1;
}

void LineList::addDiscount(const QString &text, Amount percent)
{
    const int r = appendRow();
    setCell(r, Bezeichnung, text);
    setCell(r, Einzelpreis, percent.toText() + QStringLiteral(" %"));
    setCell(r, Rabatt, percent.toText());
}

void LineList::changeDiscount(const QString &text, const QString &percentText)
{
    const int found = discountRow();
    const int r = found >= 0 ? found : rowCount() - 1;
    setCell(r, Bezeichnung, text);
    setCell(r, Einzelpreis, percentText + QStringLiteral(" %"));
    setCell(r, Rabatt, percentText);
}

void LineList::removeDiscount()
{
    const int found = discountRow();
    const int r = found >= 0 ? found : rowCount() - 1;
    for (int c = Pos; c < Id; ++c)
        m_rows[r][c].clear();
    normalise();
}
