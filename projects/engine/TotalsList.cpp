#include "TotalsList.h"

TotalsList::TotalsList(const QString &grossHeading)
{
    Row head;
    head[Netto] = QStringLiteral("Nettowert");
    head[Vat] = QStringLiteral("MwSt.");
    head[Brutto] = grossHeading;
    m_rows.append(head);
    ensureRows(MinimumRows);
}

void TotalsList::ensureRows(int rows)
{
    while (rowCount() < rows)
        m_rows.append(Row{});
}

QStringList TotalsList::vatLines() const
{
    QStringList out;
    for (int r = 1; r < rowCount(); ++r)
        if (!m_rows.at(r)[Vat].isEmpty())
            out << m_rows.at(r)[Vat];
    return out;
}

void TotalsList::clear()
{
    const Row head = m_rows.first();
    m_rows.clear();
    m_rows.append(head);
    ensureRows(MinimumRows);
}
