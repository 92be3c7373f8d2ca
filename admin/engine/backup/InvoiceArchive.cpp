#include "InvoiceArchive.h"

#include "BackupProgress.h"
#include "BackupTasks.h"
#include "DataSetCopier.h"
#include "Database.h"
#include "Errors.h"
#include "Formats.h"
#include "Schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

namespace {

// One archive table: the live table of the same name, the column that names the
// document, the columns copied with their types ('I' integer, 'M' money, 'D' date
// text "dd.MM.yyyy", 'T' text), the order of the rows and the status text.
// scope, where set, selects the rows instead of the key: a condition in which %1
// stands for the selected invoices and %2 for the selected credit notes.
struct ArchiveTable
{
    const char *name;
    const char *key;
    const char *columns;
    const char *types;
    const char *order;
    const char *status;
    const char *scope = nullptr;
};

// The header first, then the rows of the selected documents, table by table.
const ArchiveTable invoiceTables[] = {
    {"rechnungen", "BelegNr", "BelegNr,ProjektNr,Datum,PName,EFirma,RL,BruttoRegel,LDatum,LDatumBis,Ausgestellt",
     "IIDTTTTDDT", "BelegNr", "Sichere Tabelle Rechnungen"},
    {"rechnungenartikel", "BelegNr", "BelegNr,Pos,ArtikelNr,Bezeichnung,Anzahl,Einzelpreis,Betrag,MwSt,Rabatt,RF",
     "ITTTTTTTTI", "BelegNr,RF", "Sichere Tabelle Rechnungenartikel"},
    {"rechnungenanschrift", "BelegNr", "BelegNr,Art,Bezeichnung,Name,Strasse,PLZOrt,Land", "ITTTTTT", "BelegNr",
     "Sichere Tabelle Rechnungenanschrift"},
    {"rechnungenextra", "BelegNr", "BelegNr,ScontoText,Sconto", "ITT", "BelegNr", "Sichere Tabelle Rechnungenextra"},
    {"rechnungenztext", "BelegNr", "BelegNr,Zeile,Style,Text", "IITT", "BelegNr,Zeile",
     "Sichere Tabelle Rechnungenztext"},
    {"rechnungenop", "RNR", "RNR,ZZiel,EDatum,Betrag,RBetrag,BDatum,ZText,Gebucht,Name,MStufe,Skonto", "IIDMMDTTTIT",
     "RNR", "Sichere Tabelle Rechnunenop"},
    {"rechnungenbetrag", "BelegNr", "BelegNr,Netto,Brutto", "IMM", "BelegNr", "Sichere Tabelle Rechnungenbetrag"},
    {"teilbuchung", "RNr", "RNr,Betrag,Datum,Text,Skonto", "IMDTT", "RNr,ID", "Sichere Tabelle Teilbuchung"},
};
const ArchiveTable creditNoteTables[] = {
    {"gutschriften", "BelegNr", "BelegNr,ProjektNr,ReNr,Datum,PName,EFirma,RL,BruttoRegel,LDatum,LDatumBis,Ausgestellt",
     "IIIDTTTTDDT", "BelegNr", "Sichere Tabelle Gutschriften"},
    {"gutschriftenartikel", "BelegNr",
     "BelegNr,Pos,ArtikelNr,Bezeichnung,Anzahl,Einzelpreis,Betrag,MwSt,Rabatt,RF", "ITTTTTTTTI", "BelegNr,RF",
     "Sichere Tabelle Gutschriftenartikel"},
    {"gutschriftenanschrift", "BelegNr", "BelegNr,Art,Bezeichnung,Name,Strasse,PLZOrt,Land", "ITTTTTT", "BelegNr",
     "Sichere Tabelle Gutschriftenanschrift"},
    {"gutschriftenextra", "BelegNr", "BelegNr,ScontoText,Sconto", "ITT", "BelegNr",
     "Sichere Tabelle Gutschriftenextra"},
    {"gutschriftenztext", "BelegNr", "BelegNr,Zeile,Style,Text", "IITT", "BelegNr,Zeile",
     "Sichere Tabelle Gutschriftenztext"},
    {"gutschriftenop", "BelegNr", "BelegNr,RNr,Betrag", "IIM", "BelegNr", "Sichere Tabelle Gutschriftenop"},
    {"gutschriftenbetrag", "BelegNr", "BelegNr,Netto,Brutto", "IMM", "BelegNr",
     "Sichere Tabelle Gutschriftenbetrag"},
};
// The earlier versions of the selected invoices and credit notes.
#define VERSIONS_OF_SELECTED "(Art='rechnungen' AND BelegNr IN %1 OR Art='gutschriften' AND BelegNr IN %2)"
const ArchiveTable historyTables[] = {
    {"belegverlauf", "ID",
     "ID,Art,BelegNr,Zeitpunkt,Benutzer,Arbeitsplatz,ProjektNr,ReNr,Datum,PName,RL,EFirma,LDatum,LDatumBis,"
     "BruttoRegel,Ausgestellt,ScontoText,Sconto,Netto,Brutto,ZZiel,EDatum",
     "ITITTTIIDTTTDDTTTTMMID", "ID", "Sichere Tabelle Belegverlauf", VERSIONS_OF_SELECTED},
    {"belegverlaufartikel", "VerlaufID",
     "VerlaufID,Pos,ArtikelNr,Bezeichnung,Anzahl,Einzelpreis,Betrag,MwSt,Rabatt,RF", "ITTTTTTTTI", "VerlaufID,RF",
     "Sichere Tabelle Belegverlaufartikel",
     "VerlaufID IN (SELECT ID FROM belegverlauf WHERE " VERSIONS_OF_SELECTED ")"},
    {"belegverlaufanschrift", "VerlaufID", "VerlaufID,Art,Name,Strasse,PLZOrt", "ITTTT", "VerlaufID,Art",
     "Sichere Tabelle Belegverlaufanschrift",
     "VerlaufID IN (SELECT ID FROM belegverlauf WHERE " VERSIONS_OF_SELECTED ")"},
    {"belegverlaufztext", "VerlaufID", "VerlaufID,Zeile,Style,Text", "IITT", "VerlaufID,Zeile",
     "Sichere Tabelle Belegverlaufztext",
     "VerlaufID IN (SELECT ID FROM belegverlauf WHERE " VERSIONS_OF_SELECTED ")"},
};
#undef VERSIONS_OF_SELECTED
// The invoices received from suppliers, dated within the period, with their
// original files.
const ArchiveTable receivedTables[] = {
    {"eingangsrechnungen", "ID",
     "ID,Eingang,Dateiname,Datei,SHA256,Kontakt,Lieferant,RechnungsNr,Datum,Brutto,Faellig,Status,Gutschrift,"
     "Beanstandungen,Benutzer",
     "IDTTTITTDMDTTTT", "ID", "Sichere Tabelle Eingangsrechnungen"},
};

QString sqlType(QChar type)
{
    switch (type.toLatin1()) {
    case 'I': return QStringLiteral("INTEGER");
    case 'M': return QStringLiteral("REAL");
    default: return QStringLiteral("TEXT");
    }
}

QString createStatement(const ArchiveTable &t)
{
    const QStringList columns = QString::fromLatin1(t.columns).split(QLatin1Char(','));
    const QString types = QString::fromLatin1(t.types);
    QStringList defs;
    for (int i = 0; i < columns.size(); ++i)
        defs << columns[i] + QLatin1Char(' ') + sqlType(types[i]);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(t.name), defs.join(QStringLiteral(", ")));
}

qint64 count(Database &reader, const QString &sql)
{
    QSqlQuery q(reader.connection());
    if (!q.exec(sql) || !q.next())
        reader.fail(q.lastError(), sql);
    return q.value(0).toLongLong();
}

} // namespace

InvoiceArchive::InvoiceArchive(const QString &file, qint64 maxBytes)
    : m_file(file), m_connection(TaskConnectionName("archive"))
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(file);
        if (!db.open())
            fail(db.lastError());
    }
    // The archive is written in one transaction into a folder that is deleted
    // when anything fails, so it needs no rollback journal; it is flushed to the
    // disk when the transaction ends.
    exec(QStringLiteral("PRAGMA journal_mode=OFF"));
    exec(QStringLiteral("PRAGMA synchronous=FULL"));
    if (maxBytes > 0) {
        QSqlQuery q(QSqlDatabase::database(m_connection, false));
        if (!q.exec(QStringLiteral("PRAGMA page_size")) || !q.next())
            fail(q.lastError());
        const qint64 pageSize = std::max<qint64>(512, q.value(0).toLongLong());
        exec(QStringLiteral("PRAGMA max_page_count=%1").arg(std::max<qint64>(16, maxBytes / pageSize)));
    }
    exec(QStringLiteral("BEGIN"));
    for (const ArchiveTable &t : invoiceTables)
        exec(createStatement(t));
    for (const ArchiveTable &t : creditNoteTables)
        exec(createStatement(t));
    for (const ArchiveTable &t : historyTables)
        exec(createStatement(t));
    for (const ArchiveTable &t : receivedTables)
        exec(createStatement(t));
    exec(QStringLiteral("PRAGMA application_id=%1").arg(ApplicationId));
    exec(QStringLiteral("PRAGMA user_version=%1").arg(Schema::Version));
}

InvoiceArchive::~InvoiceArchive()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

int InvoiceArchive::stepCount()
{
    return int(std::size(invoiceTables) + std::size(creditNoteTables) + std::size(historyTables)
               + std::size(receivedTables));
}

QStringList InvoiceArchive::tableNames()
{
    QStringList names;
    for (const ArchiveTable &t : invoiceTables)
        names << QLatin1String(t.name);
    for (const ArchiveTable &t : creditNoteTables)
        names << QLatin1String(t.name);
    for (const ArchiveTable &t : historyTables)
        names << QLatin1String(t.name);
    for (const ArchiveTable &t : receivedTables)
        names << QLatin1String(t.name);
    return names;
}

void InvoiceArchive::fail(const QSqlError &error) const
{
    bool isCode = false;
    const int code = error.nativeErrorCode().toInt(&isCode);
    const QString engine = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (isCode && (code & 0xff) == SQLITE_FULL)
        throw DatabaseError(QStringLiteral("Auf dem Datenträger der Datensicherung \"%1\" ist kein Platz mehr.\n"
                                           "Bitte wählen Sie ein anderes Verzeichnis oder schaffen Sie Platz.")
                                .arg(m_file),
                            engine, QString());
    throw DatabaseError(QStringLiteral("Das Archiv \"%1\" kann nicht geschrieben werden.").arg(m_file), engine,
                        QString());
}

void InvoiceArchive::exec(const QString &sql)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(sql))
        fail(q.lastError());
}

void InvoiceArchive::fill(Database &reader, const std::optional<InvoicePeriod> &period, BackupProgress &progress)
{
    const QString condition = period ? QStringLiteral(" WHERE Datum >= '%1' AND Datum <= '%2'")
                                           .arg(DateToStr(period->from), DateToStr(period->to))
                                     : QString();
    const auto selectedOf = [&](const char *header) {
        return QStringLiteral("(SELECT BelegNr FROM %1%2)").arg(QLatin1String(header), condition);
    };
    const auto copyFamily = [&](const auto &tables) {
        const QString header = QLatin1String(tables[0].name);
        // The dependent rows of the documents the header selects, in the same moment.
        const QString selected = selectedOf(tables[0].name);
        for (const ArchiveTable &t : tables) {
            QString from;
            if (t.scope)
                from = QStringLiteral("FROM %1 WHERE %2")
                           .arg(QLatin1String(t.name),
                                QString::fromLatin1(t.scope).arg(selectedOf("rechnungen"), selectedOf("gutschriften")));
            else if (&t == &tables[0])
                from = QStringLiteral("FROM %1%2").arg(header, condition);
            else
                from = QStringLiteral("FROM %1 WHERE %2 IN %3").arg(QLatin1String(t.name), QLatin1String(t.key), selected);
            progress.beginStep(QString::fromUtf8(t.status), count(reader, QStringLiteral("SELECT COUNT(*) ") + from));
            const QString columns = QString::fromLatin1(t.columns);
            const int n = int(columns.count(QLatin1Char(',')) + 1);
            QStringList marks;
            for (int i = 0; i < n; ++i)
                marks << QStringLiteral("?");
            QSqlQuery insert(QSqlDatabase::database(m_connection, false));
            if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(QLatin1String(t.name), columns, marks.join(QLatin1Char(',')))))
                fail(insert.lastError());
            QSqlQuery rows(reader.connection());
            rows.setForwardOnly(true);
            const QString sql = QStringLiteral("SELECT %1 %2 ORDER BY %3").arg(columns, from, QLatin1String(t.order));
            if (!rows.exec(sql))
                reader.fail(rows.lastError(), sql);
            qint64 done = 0;
            while (rows.next()) {
                progress.checkpoint();
                for (int i = 0; i < n; ++i) {
                    // The archive is a data set file: a server's dates go in as dd.MM.yyyy
                    // like every date the program writes there.
                    const QVariant v = rows.value(i);
                    insert.bindValue(i, v.typeId() == QMetaType::QDate && !v.isNull()
                                            ? QVariant(v.toDate().toString(QStringLiteral("dd.MM.yyyy")))
                                            : v);
                }
                if (!insert.exec())
                    fail(insert.lastError());
                progress.advance(++done);
            }
            if (rows.lastError().isValid())
                reader.fail(rows.lastError(), sql);
        }
    };
    copyFamily(invoiceTables);
    copyFamily(creditNoteTables);
    copyFamily(historyTables);
    copyFamily(receivedTables);
}

QMap<QString, qint64> InvoiceArchive::finish()
{
    exec(QStringLiteral("COMMIT"));
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery check(db);
    if (!check.exec(QStringLiteral("PRAGMA integrity_check")) || !check.next())
        fail(check.lastError());
    if (check.value(0).toString() != QLatin1String("ok"))
        throw OrvellaError(QStringLiteral("Das Archiv \"%1\" ist nach dem Schreiben beschädigt: %2")
                               .arg(m_file, check.value(0).toString()));
    QMap<QString, qint64> rows;
    for (const QString &table : tableNames()) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)) || !q.next())
            fail(q.lastError());
        rows.insert(table, q.value(0).toLongLong());
    }
    return rows;
}
