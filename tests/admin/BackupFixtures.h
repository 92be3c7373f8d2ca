#pragma once

#include "Database.h"
#include "Schema.h"
#include "SqlQuery.h"
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

// The rows a saved document of the family base has besides its header: lines of
// 10,00 at 19 %, the recipient and the billing address, Skonto, four text lines
// and the totals.
inline void AddDocumentRows(TestEnv &env, const QString &base, qint64 n, int lines, QString article)
{
    article.replace(QLatin1Char('\''), QStringLiteral("''"));
    for (int r = 1; r <= lines; ++r)
        env.exec(QStringLiteral("INSERT INTO %1artikel (BelegNr, Pos, ArtikelNr, Bezeichnung, Anzahl, Einzelpreis, "
                                "Betrag, MwSt, Rabatt, RF) VALUES (%2, '%3', 'A-%3', '%4', '1', '10,00', '10,00', "
                                "'19,00 %', '', %3)")
                     .arg(base)
                     .arg(n)
                     .arg(r)
                     .arg(article));
    for (const char *art : {"Anschrift", "Rechnungsanschrift"})
        env.exec(QStringLiteral("INSERT INTO %1anschrift (BelegNr, Art, Bezeichnung, Name, Strasse, PLZOrt, Land) "
                                "VALUES (%2, '%3', 'Bezeichnung', '%4 %2', 'Weg 1', '12345 Ort', 'Land')")
                     .arg(base)
                     .arg(n)
                     .arg(QLatin1String(art), QLatin1String(art[0] == 'A' ? "Kunde" : "Buchhaltung")));
    env.exec(QStringLiteral("INSERT INTO %1extra (BelegNr, ScontoText, Sconto) VALUES (%2, 'Skonto', '2')").arg(base).arg(n));
    for (int z = 1; z <= 4; ++z)
        env.exec(QStringLiteral("INSERT INTO %1ztext (BelegNr, Zeile, Style, Text) VALUES (%2, %3, '', 'Text %3')")
                     .arg(base)
                     .arg(n)
                     .arg(z));
    env.exec(QStringLiteral("INSERT INTO %1betrag (BelegNr, Netto, Brutto) VALUES (%2, %3, %4)")
                 .arg(base)
                 .arg(n)
                 .arg(10 * lines)
                 .arg(11.9 * lines));
}

// An invoice as saving and booking leave it, with its open item and two part
// payments of 5,00.
inline void AddArchiveInvoice(TestEnv &env, qint64 n, const QString &date, int lines,
                              const QString &article = QStringLiteral("Artikel"))
{
    env.exec(QStringLiteral("INSERT INTO rechnungen (BelegNr, ProjektNr, ReNr, Datum, PName, RL, EFirma) VALUES "
                            "(%1, 1, 0, '%2', 'Projekt %1', 'J', 'Halvard GmbH')")
                 .arg(n)
                 .arg(date));
    AddDocumentRows(env, QStringLiteral("rechnungen"), n, lines, article);
    env.exec(QStringLiteral("INSERT INTO rechnungenop (RNR, ZZiel, EDatum, Betrag, Name, RBetrag, MStufe, Gebucht) "
                            "VALUES (%1, 14, '%2', %3, 'Kunde %1', 0, 0, 'N')")
                 .arg(n)
                 .arg(date)
                 .arg(11.9 * lines));
    for (int p = 0; p < 2; ++p)
        env.exec(QStringLiteral("INSERT INTO teilbuchung (RNr, Betrag, Datum, Text) VALUES (%1, 5, '%2', '')")
                     .arg(n)
                     .arg(date));
}

// A credit note of one line against an invoice.
inline void AddArchiveCreditNote(TestEnv &env, qint64 n, qint64 invoice, const QString &date)
{
    env.exec(QStringLiteral("INSERT INTO gutschriften (BelegNr, ProjektNr, ReNr, Datum, PName, RL, EFirma) VALUES "
                            "(%1, 1, %2, '%3', 'Projekt', 'N', 'Halvard GmbH')")
                 .arg(n)
                 .arg(invoice)
                 .arg(date));
    AddDocumentRows(env, QStringLiteral("gutschriften"), n, 1, QStringLiteral("Gutschrift"));
    env.exec(QStringLiteral("INSERT INTO gutschriftenop (BelegNr, RNr, Betrag) VALUES (%1, %2, 11.9)").arg(n).arg(invoice));
}

// Every row of every table of a data set, as sorted text lines "table|v1|v2|...".
inline QStringList DumpDataSet(Database &db)
{
    QStringList out;
    SqlQuery q(db);
    for (const QString &table : Schema::tableNames()) {
        q.open(QStringLiteral("SELECT * FROM %1").arg(table));
        for (; !q.eof(); q.next()) {
            QStringList row{table};
            for (int i = 0; i < q.fieldCount(); ++i)
                row << q.fieldAt(i);
            out << row.join(QLatin1Char('|'));
        }
    }
    out.sort();
    return out;
}

// Everything a folder holds, hidden entries included.
inline QStringList Entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The first column of every row of a statement on an SQLite file of its own.
inline QStringList FileColumn(const QString &file, const QString &sql)
{
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("look"));
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            return {QStringLiteral("cannot open ") + file};
        QSqlQuery q(db);
        if (!q.exec(sql))
            out << QStringLiteral("failed: ") + sql;
        while (q.next())
            out << q.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("look"));
    return out;
}

inline QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing");
}

inline void WriteAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}
