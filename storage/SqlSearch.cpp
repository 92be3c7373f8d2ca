#include "SqlSearch.h"

#include "Formats.h"
#include "SqlLiterals.h"
#include "SqlQuery.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

bool useIndex = true;

// Up to this many rows an index lookup pays for a statement that reads all its
// rows: each row the index names costs a few reads, and a term found more often
// makes a long result anyway.
constexpr int CandidateLimit = 3000;

// The trigram index splits texts into runs of three characters; a shorter term
// has no run to look up.
constexpr qsizetype ShortestIndexedTerm = 3;

// A text as one phrase of the index's query language: between double quotes,
// where only a double quote is special (written twice). The index folds case
// more widely than LIKE does, so a phrase names at least every row that LIKE
// finds.
QString phrase(const QString &text)
{
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// Enough runs of a term to find a rare one; a long pasted text would otherwise
// need more counts than one statement may hold.
constexpr qsizetype MostRunsCounted = 32;

// The runs of three characters (not UTF-16 units) of the term, each once.
QStringList trigrams(const QString &text)
{
    const QList<uint> chars = text.toUcs4();
    QStringList out;
    for (qsizetype i = 0; i + ShortestIndexedTerm <= chars.size() && out.size() < MostRunsCounted; ++i) {
        const QString gram = QString::fromUcs4(reinterpret_cast<const char32_t *>(chars.constData() + i), 3);
        if (!out.contains(gram))
            out << gram;
    }
    return out;
}

// "<table> MATCH '<query>'" for columns of the table; built without
// QString::arg, which would read a typed "%1" as a place holder.
QString matching(const QString &table, const QStringList &columns, const QString &query)
{
    return table + QStringLiteral(" MATCH '")
           + SqlQuote(QLatin1Char('{') + columns.join(QLatin1Char(' ')) + QStringLiteral("} : ") + query)
           + QLatin1Char('\'');
}

QString countUpTo(int limit, const QString &table, const QString &match)
{
    return QStringLiteral("(SELECT COUNT(*) FROM (SELECT 1 FROM ") + table + QStringLiteral(" WHERE ") + match
           + QStringLiteral(" LIMIT ") + QString::number(limit) + QStringLiteral("))");
}

// How many candidates a list that shows its first rows in its own order may take
// from the index before walking that order is cheaper. The walk reads about
// firstRows * rows / matches rows to find firstRows of a term found in matches
// rows; the candidates cost matches times what one of them costs against one
// walked row (walkCost). Both are equal at sqrt(firstRows * rows / walkCost).
int firstRowsLimit(int firstRows, qint64 rows, double walkCost)
{
    return std::max(firstRows, int(std::sqrt(double(firstRows) * double(rows) / walkCost)));
}

// What a candidate costs (looked up by its number, joined, sorted) against a row
// that the walk passes. Measured on 200,000 contacts: a walk that tests columns
// of the listed table reads them from the index of its order, twenty-odd rows
// for one candidate; a walk that tests the address columns joins the address
// for every row it passes, which costs about half a candidate.
constexpr double WalkCostOwnColumns = 20;
constexpr double WalkCostJoined = 2;

// The index query that names the candidate rows for the term, or nothing when
// the term is too common for the index to pay. Every row that holds the term
// holds each of its runs, so the runs that few rows hold (counted up to the
// limit, which stays cheap) name a small set of candidates. When every run is
// common, the whole phrase may still be rare (or found nowhere); its count
// (up to phraseLimit rows) decides.
QString candidateQuery(Database &db, const QString &table, const QStringList &columns, const QString &text,
                       int limit, int phraseLimit)
{
    SqlQuery q(db);
    const QStringList grams = trigrams(text);
    QStringList counts;
    for (const QString &gram : grams)
        counts << countUpTo(limit, table, matching(table, columns, phrase(gram)));
    q.open(QStringLiteral("SELECT ") + counts.join(QStringLiteral(", ")));
    QStringList rare;
    for (qsizetype i = 0; i < grams.size(); ++i)
        if (q.fieldAt(int(i)).toInt() < limit)
            rare << phrase(grams[i]);
    if (!rare.isEmpty())
        return matching(table, columns, QLatin1Char('(') + rare.join(QStringLiteral(" AND ")) + QLatin1Char(')'));
    const QString whole = matching(table, columns, phrase(text));
    q.open(QStringLiteral("SELECT ") + countUpTo(phraseLimit, table, whole));
    return q.fieldAt(0).toInt() < phraseLimit ? whole : QString();
}

// A term of one or two characters in the lower case of the index, or nothing
// when the index may fold one of its characters otherwise than this program: LIKE
// compares other letters than A to Z exactly, so only they need folding.
std::optional<QString> shortTermRun(const QString &text)
{
    QString out;
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80)
            out += QChar(char16_t(c)).toLower();
        else if (QChar::toCaseFolded(c) == c)
            out += QString::fromUcs4(&c, 1);
        else
            return std::nullopt;
    }
    return out;
}

// The rows whose columns hold a term of one or two characters, from the runs that
// begin with it (each of a text's characters begins one), or nothing when more
// than limit rows do.
QString shortCandidates(Database &db, const Schema::SearchIndexPart &part, const QStringList &columns,
                        const QString &run, int limit)
{
    const QString highest = QString::fromUcs4(U"\U0010FFFF\U0010FFFF", ShortestIndexedTerm - run.toUcs4().size());
    QStringList names;
    for (const QString &c : columns)
        names << QLatin1Char('\'') + c + QLatin1Char('\'');
    const QString rows = QStringLiteral("SELECT doc FROM ") + part.runs + QStringLiteral(" WHERE term >= '")
                         + SqlQuote(run) + QStringLiteral("' AND term <= '") + SqlQuote(run + highest)
                         + QStringLiteral("' AND col IN (") + names.join(QStringLiteral(", ")) + QLatin1Char(')');
    SqlQuery q(db);
    q.open(QStringLiteral("SELECT COUNT(*) FROM (SELECT DISTINCT doc FROM (") + rows + QStringLiteral(") LIMIT ")
           + QString::number(limit) + QLatin1Char(')'));
    return q.fieldAt(0).toInt() < limit ? rows : QString();
}

// How many rows of its order a list may walk on the server to find its first
// rows, per row shown: a term found in at least one of twenty rows there.
constexpr int ServerWalkPerRow = 20;

// The server serves a plain ILIKE from its trigram index of each column. For a
// list of the first contacts in name order its planner guesses between walking
// the names (quick for a common term found early) and looking the term up (quick
// for a rare one); a term common only late in the order ("Müller" in the M's)
// makes the walk read most of the table, and a test that spans a contact and its
// address reads and joins every one of them. So the contacts are picked first,
// from the contact's own row alone: their contact text or own columns hold the
// term and they have a main address, so each has a row of the list. A short walk
// tells whether the order yields the first rows soon; if not, every such contact
// is looked up and the first ones are sorted out.
QString serverContains(Database &db, Schema::SearchIndex index, const QStringList &columns, const QString &text,
                       const ListedRows &list, const QString &plain)
{
    const std::optional<Schema::ContactText> contact = Schema::contactText(index);
    if (!contact || list.firstRows <= 0 || list.order.isEmpty())
        return plain;
    const QString &table = contact->table;
    const bool separated = text.contains(QChar(Schema::ContactTextSeparator));
    QString candidate;
    if (columns == contact->columns && !separated) {
        // A backslash is the server's escape character of LIKE without an ESCAPE clause.
        QString pattern;
        for (const QChar c : text) {
            if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
                pattern += QLatin1Char('\\');
            pattern += c;
        }
        // the term in lower case as the server writes the contact text
        candidate = contact->column + QStringLiteral(" LIKE lower('%") + SqlQuote(pattern) + QStringLiteral("%')");
    } else if (std::all_of(columns.begin(), columns.end(),
                           [&](const QString &c) { return c.startsWith(table + QLatin1Char('.')); })) {
        candidate = QLatin1Char('(') + contact->column + QStringLiteral(" IS NOT NULL AND ") + plain + QLatin1Char(')');
    } else {
        return plain;
    }
    // A term too short for the trigram index is looked up in the array of the
    // contact text's characters and pairs, where every searched column's text lies
    // (in lower case, as ILIKE compares).
    QString lookedUp = candidate;
    const bool inContactText = std::all_of(columns.begin(), columns.end(),
                                           [&](const QString &c) { return contact->columns.contains(c); });
    if (!text.isEmpty() && text.toUcs4().size() < ShortestIndexedTerm && inContactText && !separated)
        lookedUp = QStringLiteral("(") + Schema::ShortTermFunction + QLatin1Char('(') + contact->column
                   + QStringLiteral(") @> ARRAY[lower('") + SqlQuote(text) + QStringLiteral("')] AND ") + candidate
                   + QLatin1Char(')');
    const QString filter = list.filter.isEmpty() ? QString() : list.filter + QStringLiteral(" AND ");
    const QString first = QStringLiteral(" LIMIT ") + QString::number(list.firstRows);
    // The first rows of the order, under the table's own name so that the
    // conditions read as they do on the table.
    const QString walked = QStringLiteral("(SELECT * FROM ") + table + QStringLiteral(" WHERE ") + filter
                           + QStringLiteral("TRUE ORDER BY ") + list.order + QStringLiteral(" LIMIT ")
                           + QString::number(qint64(list.firstRows) * ServerWalkPerRow) + QStringLiteral(") AS ")
                           + table;
    SqlQuery q(db);
    q.open(QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM ") + walked + QStringLiteral(" WHERE ") + candidate
           + first + QStringLiteral(") AS found"));
    const bool walk = q.fieldAt(0).toInt() >= list.firstRows;
    q.close();
    const QString key = Schema::searchIndexInfo(index).key;
    // Sorting by a text made from the order column keeps its order but no index
    // can deliver it: the server looks the term up instead of walking.
    const QString picked = walk ? QStringLiteral("SELECT ") + key + QStringLiteral(" FROM ") + walked
                                      + QStringLiteral(" WHERE ") + candidate + QStringLiteral(" ORDER BY ") + list.order
                                : QStringLiteral("SELECT ") + key + QStringLiteral(" FROM ") + table
                                      + QStringLiteral(" WHERE ") + filter + lookedUp + QStringLiteral(" ORDER BY ")
                                      + list.order + QStringLiteral(" || ''");
    return QLatin1Char('(') + key + QStringLiteral(" IN (") + picked + first + QStringLiteral(") AND ") + plain
           + QLatin1Char(')');
}

} // namespace

QString SqlListedContacts(Schema::SearchIndex index, const ListedRows &list)
{
    const std::optional<Schema::ContactText> contact = Schema::contactText(index);
    if (CurrentSqlEngine() != DatabaseEngine::PostgreSQL || !useIndex || !contact || list.firstRows <= 0
        || list.order.isEmpty())
        return QString();
    const QString key = Schema::searchIndexInfo(index).key;
    const QString filter = list.filter.isEmpty() ? QString() : list.filter + QStringLiteral(" AND ");
    return key + QStringLiteral(" IN (SELECT ") + key + QStringLiteral(" FROM ") + contact->table
           + QStringLiteral(" WHERE ") + filter + contact->column + QStringLiteral(" IS NOT NULL ORDER BY ")
           + list.order + QStringLiteral(" LIMIT ") + QString::number(list.firstRows) + QLatin1Char(')');
}

void SetSearchIndexUse(bool use)
{
    useIndex = use;
}

QString SqlContains(Database &db, Schema::SearchIndex index, const QStringList &columns, const QString &text,
                    int firstRows)
{
    return SqlContains(db, index, columns, text, ListedRows{firstRows, QString(), QString()});
}

QString SqlContains(Database &db, Schema::SearchIndex index, const QStringList &columns, const QString &text,
                    const ListedRows &list)
{
    const int firstRows = list.firstRows;
    QStringList likes;
    for (const QString &column : columns)
        likes << SqlLike(column, text, LikeMatch::Contains);
    const QString plain = likes.size() == 1 ? likes.first()
                                            : QLatin1Char('(') + likes.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    // Characters, not UTF-16 units: "a" and an emoji are two characters. The
    // server serves the plain ILIKE from its own trigram indexes, one per column.
    if (CurrentSqlEngine() == DatabaseEngine::PostgreSQL)
        return useIndex ? serverContains(db, index, columns, text, list, plain) : plain;
    if (!useIndex || text.isEmpty())
        return plain;
    std::optional<QString> shortRun;
    if (text.toUcs4().size() < ShortestIndexedTerm) {
        shortRun = shortTermRun(text);
        if (!shortRun)
            return plain;
    }

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

    // A statement that reads all its rows would otherwise read the whole table,
    // so the index pays up to CandidateLimit candidates. A list of its first rows
    // in its own order finds a common term within a few rows of that order: its
    // limit depends on the size of the listed table (the highest number of its
    // index stands for it) and on whether the walk joins the address.
    int limit = CandidateLimit, phraseLimit = CandidateLimit;
    if (firstRows > 0) {
        bool joined = false;
        for (std::size_t p = 1; p < used.size(); ++p)
            joined = joined || !used[p].isEmpty();
        SqlQuery q(db);
        q.open(QStringLiteral("SELECT rowid FROM ") + info.parts.front().table
               + QStringLiteral(" ORDER BY rowid DESC LIMIT 1"));
        limit = firstRowsLimit(firstRows, std::max<qint64>(q.fieldInt(QStringLiteral("rowid")), 1),
                               joined ? WalkCostJoined : WalkCostOwnColumns);
        // A phrase whose every run is common costs the index more to check than
        // the walk costs to find a list's worth of it.
        phraseLimit = firstRows;
    }

    QStringList keys;
    for (std::size_t p = 0; p < info.parts.size(); ++p) {
        if (used[p].isEmpty())
            continue;
        const QString &table = info.parts[p].table;
        if (shortRun) {
            const QString rows = shortCandidates(db, info.parts[p], used[p], *shortRun, limit);
            if (rows.isEmpty())
                return plain;
            keys << info.parts[p].keys.arg(rows);
            continue;
        }
        const QString match = candidateQuery(db, table, used[p], text, limit, phraseLimit);
        if (match.isEmpty())
            return plain;
        // one argument: the inserted text is not read for place holders again
        keys << info.parts[p].keys.arg(QStringLiteral("SELECT rowid FROM ") + table + QStringLiteral(" WHERE ") + match);
    }
    // The candidates narrow the rows; the LIKE test decides, as it always did.
    return QLatin1Char('(') + info.key + QStringLiteral(" IN (") + keys.join(QStringLiteral(" UNION "))
           + QStringLiteral(") AND ") + plain + QLatin1Char(')');
}
