#include "SqlSearch.h"

#include "Formats.h"
#include "SqlQuery.h"

#include <vector>

namespace {

bool useIndex = true;

// Above this many candidates the index no longer pays: reading each candidate
// row costs about as much as walking past a hundred rows that do not match.
constexpr int CandidateLimit = 2000;

// The trigram index splits texts into runs of three characters; a shorter term
// has no run to look up.
constexpr qsizetype ShortestIndexedTerm = 3;

// The term as one phrase of the index's query language: between double quotes,
// where only a double quote is special (written twice). The phrase matches
// where its characters stand in this order, case folded more widely than LIKE
// folds it, so it names at least every row that LIKE finds.
QString phrase(const QString &text)
{
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

} // namespace

void SetSearchIndexUse(bool use)
{
    useIndex = use;
}

QString SqlContains(Database &db, Schema::SearchIndex index, const QStringList &columns, const QString &text)
{
    QStringList likes;
    for (const QString &column : columns)
        likes << SqlLike(column, text, LikeMatch::Contains);
    const QString plain = likes.size() == 1 ? likes.first()
                                            : QLatin1Char('(') + likes.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    // Characters, not UTF-16 units: "a" and an emoji are two characters.
    if (!useIndex || text.toUcs4().size() < ShortestIndexedTerm)
        return plain;

    // Each column to the index table that holds it; a column that none holds is
    // seen by the scan alone.
    const Schema::SearchIndexInfo info = Schema::searchIndexInfo(index);
    std::vector<QStringList> used(info.parts.size());
    for (const QString &column : columns) {
        const QString name = column.section(QLatin1Char('.'), -1);
        bool held = false;
        for (std::size_t p = 0; p < info.parts.size() && !held; ++p)
            for (const QString &c : info.parts[p].columns)
                if (c.compare(name, Qt::CaseInsensitive) == 0) {
                    if (!used[p].contains(c))
                        used[p] << c;
                    held = true;
                    break;
                }
        if (!held)
            return plain;
    }

    QStringList keys;
    for (std::size_t p = 0; p < info.parts.size(); ++p) {
        if (used[p].isEmpty())
            continue;
        const QString &table = info.parts[p].table;
        // Put together without QString::arg, which would read a typed "%1" as a place holder.
        const QString match = table + QStringLiteral(" MATCH '")
                              + SqlQuote(QLatin1Char('{') + used[p].join(QLatin1Char(' ')) + QStringLiteral("} : ")
                                         + phrase(text))
                              + QLatin1Char('\'');
        SqlQuery probe(db);
        probe.open(QStringLiteral("SELECT COUNT(*) AS n FROM (SELECT 1 FROM ") + table + QStringLiteral(" WHERE ")
                   + match + QStringLiteral(" LIMIT ") + QString::number(CandidateLimit) + QLatin1Char(')'));
        if (probe.fieldInt(QStringLiteral("n")) >= CandidateLimit)
            return plain;
        // one argument: the inserted text is not read for place holders again
        keys << info.parts[p].keys.arg(QStringLiteral("SELECT rowid FROM ") + table + QStringLiteral(" WHERE ") + match);
    }
    return QLatin1Char('(') + info.key + QStringLiteral(" IN (") + keys.join(QStringLiteral(" UNION ")) + QStringLiteral(") AND ")
           + plain + QLatin1Char(')');
}
