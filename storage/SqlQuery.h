#pragma once

#include "Amount.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

class Database;

// The shared query: SQL is composed as text lines, then opened (a query,
// positioned on its first row) or executed (a change). Fields are read by name,
// always as text: dates "dd.MM.yyyy", decimals with a decimal comma and no
// grouping, integers as digits, NULL as empty text. Failures throw DatabaseError
// with the statement and the engine's message.
class SqlQuery
{
public:
    explicit SqlQuery(Database &db);

    // Empties the statement and closes an open result.
    void clear();
    // Appends one line; lines are joined with line breaks (read as blanks).
    void add(const QString &line);
    void setText(const QString &sql);
    QString text() const { return m_lines.join(QLatin1Char('\n')); }

    void open();
    void open(const QString &sql) { setText(sql); open(); }
    void execSql();
    void execSql(const QString &sql) { setText(sql); execSql(); }
    // Inserts many rows in few statements: head is "INSERT INTO t (a, b)", each
    // row its quoted values "(1, 'x')". Both engines take a few hundred rows a
    // statement (the file engine at most 500); inside the caller's transaction,
    // a refused row leaves none of them.
    void insertRows(const QString &head, const QStringList &rows, int perStatement = 200);
    void close();

    bool isActive() const { return m_active; }
    bool eof() const { return !m_active || m_eof; }
    bool isEmpty() const { return !m_active || m_empty; }
    void first();
    void next();
    // Number of rows of the open result (walks the result once).
    int recordCount();
    int rowsAffected() const { return m_rowsAffected; }

    // The field of the current row as text; empty when there is no current row.
    QString field(const QString &name) const;
    // The field at a column position of the result.
    QString fieldAt(int index) const;
    int fieldCount() const { return m_record.count(); }
    // The field as a whole number; an empty field counts as 0.
    qint64 fieldInt(const QString &name) const;
    // The field as an amount; an empty field counts as 0.
    Amount fieldAmount(const QString &name) const;

    Database &database() { return m_db; }

private:
    int indexOf(const QString &name) const;

    Database &m_db;
    QStringList m_lines;
    QSqlQuery m_query;
    QSqlRecord m_record;
    bool m_active = false;
    bool m_eof = true;
    bool m_empty = true;
    int m_rowsAffected = 0;
};

// How a stored value reads as text (see SqlQuery).
QString SqlValueText(const QVariant &value);
