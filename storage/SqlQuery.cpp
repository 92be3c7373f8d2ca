#include "SqlQuery.h"
#include "StatementLog.h"

#include "Database.h"
#include "Errors.h"
#include "Formats.h"

#include <QDate>
#include <QSqlError>
#include <QVariant>

#include <cmath>

namespace {

QStringList *recordedStatements = nullptr;

} // namespace

void RecordSentStatements(QStringList *recorded)
{
    recordedStatements = recorded;
}

QString SqlValueText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 1e15)
            return QString::number(qint64(d));
        QString s = QString::number(d, 'g', 15);
        if (s.contains(QLatin1Char('e'))) {
            s = QString::number(d, 'f', 15);
            while (s.endsWith(QLatin1Char('0')))
                s.chop(1);
            if (s.endsWith(QLatin1Char('.')))
                s.chop(1);
        }
        return s.replace(QLatin1Char('.'), QLatin1Char(','));
    }
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return QString::number(value.toLongLong());
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return value.toString();
    }
}

SqlQuery::SqlQuery(Database &db) : m_db(db) {}

void SqlQuery::clear()
{
    close();
    m_lines.clear();
}

void SqlQuery::add(const QString &line)
{
    close();
    m_lines << line;
}

void SqlQuery::setText(const QString &sql)
{
    close();
    m_lines = QStringList{sql};
}

void SqlQuery::close()
{
    if (m_active || m_query.isActive())
        m_query.finish();
    m_query = QSqlQuery();
    m_record = QSqlRecord();
    m_active = false;
    m_eof = true;
    m_empty = true;
}

void SqlQuery::open()
{
    close();
    m_db.ensureConnected();
    const QString sql = text();
    m_query = QSqlQuery(m_db.connection());
    m_db.countStatement();
    if (recordedStatements)
        recordedStatements->append(sql);
    if (!m_query.exec(sql)) {
        const QSqlError why = m_query.lastError();
        m_query = QSqlQuery();
        m_db.fail(why, sql);
    }
    m_record = m_query.record();
    m_active = true;
    m_eof = !m_query.first();
    m_empty = m_eof;
}

void SqlQuery::execSql()
{
    close();
    m_db.ensureConnected();
    const QString sql = text();
    QSqlQuery q(m_db.connection());
    m_db.countStatement();
    if (recordedStatements)
        recordedStatements->append(sql);
    if (!q.exec(sql))
        m_db.fail(q.lastError(), sql);
    m_rowsAffected = q.numRowsAffected();
}

void SqlQuery::insertRows(const QString &head, const QStringList &rows, int perStatement)
{
    for (qsizetype from = 0; from < rows.size(); from += perStatement)
        execSql(head + QStringLiteral(" VALUES ") + rows.mid(from, perStatement).join(QStringLiteral(", ")));
}

void SqlQuery::first()
{
    if (!m_active)
        return;
    m_eof = !m_query.first();
}

void SqlQuery::next()
{
    if (!m_active || m_eof)
        return;
    m_eof = !m_query.next();
}

int SqlQuery::recordCount()
{
    if (!m_active || m_empty)
        return 0;
    const int at = m_query.at();
    int n = 0;
    if (m_query.last())
        n = m_query.at() + 1;
    if (at >= 0)
        m_query.seek(at);
    else
        m_query.next(); // back behind the last row, where it was
    return n;
}

int SqlQuery::indexOf(const QString &name) const
{
    const int i = m_record.indexOf(name);
    if (i < 0)
        throw DatabaseError(QStringLiteral("Feld '%1' nicht gefunden").arg(name), text());
    return i;
}

QString SqlQuery::field(const QString &name) const
{
    if (!m_active)
        throw DatabaseError(QStringLiteral("Keine geöffnete Abfrage für Feld '%1'").arg(name), text());
    const int i = indexOf(name);
    if (m_eof)
        return QString();
    return SqlValueText(m_query.value(i));
}

QString SqlQuery::fieldAt(int index) const
{
    if (!m_active || index < 0 || index >= m_record.count())
        throw DatabaseError(QStringLiteral("Feld Nr. %1 nicht vorhanden").arg(index), text());
    return m_eof ? QString() : SqlValueText(m_query.value(index));
}

qint64 SqlQuery::fieldInt(const QString &name) const
{
    const QString s = field(name);
    return s.isEmpty() ? 0 : StrToInt(s);
}

Amount SqlQuery::fieldAmount(const QString &name) const
{
    const QString s = field(name);
    return s.isEmpty() ? Amount() : Amount::fromText(s);
}
