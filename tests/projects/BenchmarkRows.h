#pragma once

#include <QString>
#include <QStringList>

// The line rows of a long invoice for the benchmarks, in the form sampleDocument
// takes: n rows, articles at two rates, every fourth followed by a text line, a
// discount last. description follows each article's name.
inline QStringList BenchmarkRows(int n, const QString &description = QString())
{
    QStringList rows;
    int position = 0;
    while (rows.size() < n - 1) {
        ++position;
        rows << QStringLiteral("%1|A-%2|Artikel %1 mit einer längeren Bezeichnung%3|%4|%5,35|%6")
                    .arg(position)
                    .arg(10000 + position)
                    .arg(description)
                    .arg(position % 9 + 1)
                    .arg(position % 700 + 1)
                    .arg(position % 3 ? "19,00 %" : "  7,00 %");
        if (position % 4 == 0 && rows.size() < n - 1)
            rows << QStringLiteral("||Zusatztext zu Artikel %1").arg(position);
    }
    rows << QStringLiteral("%1||Rabatt||3,00 %||3,00").arg(position + 1);
    return rows;
}
