#include "BareStatements.h"

#include "Database.h"
#include "Schema.h"
#include "SqlQuery.h"
#include "StatementLog.h"
#include "Transaction.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

#include <algorithm>
#include <ctime>
#include <stdexcept>
#include <vector>

namespace {

sqlite3 *handleOf(Database &db)
{
    const QVariant handle = db.connection().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw std::runtime_error("no SQLite connection");
    return *static_cast<sqlite3 *const *>(handle.constData());
}

int traced(unsigned, void *context, void *, void *sql)
{
    const char *text = static_cast<const char *>(sql);
    if (qstrncmp(text, "--", 2) != 0) // "-- TRIGGER name" marks a trigger's statements
        static_cast<QStringList *>(context)->append(QString::fromUtf8(text));
    return 0;
}

} // namespace

double FillThenIndex(Database &db, const std::function<void()> &fill)
{
    Transaction t(db);
    QStringList triggers;
    SqlQuery q(db);
    for (q.open("SELECT name FROM sqlite_master WHERE type = 'trigger' AND name LIKE 'suche%'"); !q.eof(); q.next())
        triggers << q.fieldAt(0);
    q.close();
    for (const QString &trigger : triggers)
        db.exec("DROP TRIGGER " + trigger);
    fill();
    QElapsedTimer built;
    built.start();
    for (const QString &s : Schema::searchIndexStatements())
        db.exec(s);
    t.commit();
    return double(built.elapsed()) / 1000.0;
}

namespace {

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double median(const std::function<void()> &work, int runs, bool cpu)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        const double started = threadCpuMs();
        work();
        ms.push_back(cpu ? threadCpuMs() - started : double(t.nsecsElapsed()) / 1e6);
        if (i == 0 && ms.front() > 300)
            runs = std::min(runs, 5);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

double MedianMs(const std::function<void()> &work, int runs)
{
    return median(work, runs, false);
}

double MedianCpuMs(const std::function<void()> &work, int runs)
{
    return median(work, runs, true);
}

QStringList RecordStatements(Database &db, const std::function<void()> &work)
{
    QStringList statements;
    if (CurrentSqlEngine() == DatabaseEngine::PostgreSQL) {
        RecordSentStatements(&statements);
        try {
            work();
        } catch (...) {
            RecordSentStatements(nullptr);
            throw;
        }
        RecordSentStatements(nullptr);
        return statements;
    }
    sqlite3 *h = handleOf(db);
    sqlite3_trace_v2(h, SQLITE_TRACE_STMT, traced, &statements);
    try {
        work();
    } catch (...) {
        sqlite3_trace_v2(h, 0, nullptr, nullptr);
        throw;
    }
    sqlite3_trace_v2(h, 0, nullptr, nullptr);
    return statements;
}

// The server's own time for the statements, as it reports it: planning and
// execution, without the round trips and the driver (EXPLAIN ANALYZE runs each
// statement and reads every row without sending them).
static double serverStatementsMs(Database &db, const QStringList &statements, int runs)
{
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        double sum = 0;
        for (const QString &s : statements) {
            SqlQuery q(db);
            q.open(QStringLiteral("EXPLAIN (ANALYZE, FORMAT JSON) ") + s);
            const QJsonArray plans = QJsonDocument::fromJson(q.fieldAt(0).toUtf8()).array();
            const QJsonObject plan = plans.first().toObject();
            sum += plan.value(QStringLiteral("Planning Time")).toDouble()
                   + plan.value(QStringLiteral("Execution Time")).toDouble();
        }
        ms.push_back(sum);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

double BareStatementsMs(Database &db, const QStringList &statements, int runs)
{
    if (CurrentSqlEngine() == DatabaseEngine::PostgreSQL)
        return serverStatementsMs(db, statements, runs);
    sqlite3 *h = handleOf(db);
    std::vector<QByteArray> sql;
    for (const QString &s : statements)
        sql.push_back(s.toUtf8());
    return MedianCpuMs(
        [&] {
            for (const QByteArray &s : sql) {
                sqlite3_stmt *stmt = nullptr;
                if (sqlite3_prepare_v2(h, s.constData(), int(s.size()), &stmt, nullptr) != SQLITE_OK)
                    throw std::runtime_error(sqlite3_errmsg(h));
                while (sqlite3_step(stmt) == SQLITE_ROW) {
                }
                sqlite3_finalize(stmt);
            }
        },
        runs);
}
