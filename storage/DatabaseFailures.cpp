#include "Database.h"

#include "DatabaseFailures.h"
#include "Errors.h"
#include "Schema.h"

#include <QSqlError>

#include <sqlite3.h>

// What the engine's refusals mean for the user: the messages of failures a user
// can act on, by the SQLite file's result codes and the server's SQLSTATEs.

namespace DatabaseFailures {

QString damagedMessage(const QString &file, bool atOpen)
{
    return QStringLiteral("Der Datenbestand \"%1\" ist beschädigt.\n%2Bitte spielen Sie die letzte "
                          "Datensicherung zurück oder wenden Sie sich an Ihren Betreuer.")
        .arg(file, atOpen ? QStringLiteral("Er wurde nicht verändert. ")
                          : QStringLiteral("Der Befehl wurde abgebrochen. "));
}

// A data set of a later version: this program would not know its tables.
DataSetError newerVersion(const QString &path, int version)
{
    return DataSetError(QStringLiteral("Der Datenbestand \"%1\" stammt von einer neueren Orvella-Version (Stand %2, "
                                       "dieses Programm kennt Stand %3).\nBitte installieren Sie die neuere Version. "
                                       "Der Datenbestand wurde nicht verändert.")
                            .arg(path)
                            .arg(version)
                            .arg(Schema::Version));
}

} // namespace DatabaseFailures

using DatabaseFailures::damagedMessage;

namespace {

enum class Failure { Damaged, Full, Locked, ReadOnly, Unreachable, Lost, Duplicate, Other };

Failure sqliteFailure(const QSqlError &error)
{
    bool isCode = false;
    const int code = error.nativeErrorCode().toInt(&isCode);
    switch (isCode ? code & 0xff : -1) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return Failure::Damaged;
    case SQLITE_FULL: return Failure::Full;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Failure::Locked;
    case SQLITE_READONLY:
    case SQLITE_PERM: return Failure::ReadOnly;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN: return Failure::Unreachable;
    case SQLITE_CONSTRAINT:
        return error.databaseText().contains(QLatin1String("UNIQUE")) ? Failure::Duplicate : Failure::Other;
    default: return Failure::Other;
    }
}

// PostgreSQL names its failures by SQLSTATE.
Failure serverFailure(const QSqlError &error)
{
    const QString state = error.nativeErrorCode();
    if (error.type() == QSqlError::ConnectionError || state.startsWith(QLatin1String("08"))
        || state.startsWith(QLatin1String("57P")) || (state.isEmpty() && error.type() != QSqlError::NoError))
        return Failure::Lost;
    if (state == QLatin1String("23505"))
        return Failure::Duplicate;
    if (state == QLatin1String("53100"))
        return Failure::Full;
    if (state == QLatin1String("55P03") || state == QLatin1String("40P01") || state == QLatin1String("40001"))
        return Failure::Locked;
    if (state == QLatin1String("42501") || state == QLatin1String("25006"))
        return Failure::ReadOnly;
    if (state.startsWith(QLatin1String("XX")))
        return Failure::Damaged;
    return Failure::Other;
}

} // namespace

void Database::fail(const QSqlError &error, const QString &statement) const
{
    const QString engine = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    const QString file = m_path.isEmpty() ? m_dataDir : m_path;
    const Failure failure = m_config.isServer() ? serverFailure(error) : sqliteFailure(error);
    switch (failure) {
    case Failure::Damaged:
        throw DatabaseError(damagedMessage(file, false), engine, statement);
    case Failure::Full:
        throw DatabaseError(QStringLiteral("Auf dem Datenträger des Datenbestands \"%1\" ist kein Platz mehr.\n"
                                           "Es wurde nichts gespeichert. Bitte schaffen Sie Platz (nicht mehr "
                                           "benötigte Dateien löschen oder verschieben) und wiederholen Sie den "
                                           "Befehl.")
                                .arg(file),
                            engine, statement);
    case Failure::Locked:
        throw DatabaseError(QStringLiteral("Der Datenbestand \"%1\" ist von einem anderen Programm oder einem "
                                           "anderen Arbeitsplatz gesperrt.\nEs wurde nichts gespeichert. Bitte "
                                           "warten Sie einen Moment oder beenden Sie das andere Programm und "
                                           "wiederholen Sie dann den Befehl.")
                                .arg(file),
                            engine, statement);
    case Failure::ReadOnly:
        throw DatabaseError(QStringLiteral("Der Datenbestand \"%1\" darf nicht beschrieben werden.\nEs wurde "
                                           "nichts gespeichert. Bitte prüfen Sie die Zugriffsrechte %2.")
                                .arg(file, m_config.isServer() ? QStringLiteral("des Datenbankbenutzers")
                                                               : QStringLiteral("der Datei und ihres Ordners")),
                            engine, statement);
    case Failure::Unreachable:
        throw DatabaseError(QStringLiteral("Der Datenbestand \"%1\" kann nicht gelesen oder geschrieben werden.\n"
                                           "Es wurde nichts gespeichert. Bitte prüfen Sie, ob der Datenträger "
                                           "erreichbar ist, und wiederholen Sie den Befehl.")
                                .arg(file),
                            engine, statement);
    case Failure::Lost:
        // The server rolled back what was open; the next command connects again.
        m_lost = true;
        throw DatabaseError(QStringLiteral("Die Verbindung zum Datenbankserver \"%1\" ist unterbrochen.\nDer "
                                           "Befehl wurde abgebrochen, es wurde nichts halb gespeichert. Bitte "
                                           "prüfen Sie das Netz und wiederholen Sie den Befehl; die Verbindung "
                                           "wird dabei neu aufgebaut.")
                                .arg(file),
                            engine, statement);
    case Failure::Duplicate:
        throw DuplicateNumberError(QStringLiteral("Die Nummer wurde inzwischen an einem anderen Arbeitsplatz "
                                                  "vergeben.\nEs wurde nichts gespeichert. Bitte speichern Sie "
                                                  "noch einmal; dabei wird eine neue Nummer gezogen."),
                                   engine, statement);
    case Failure::Other:
        break;
    }
    throw DatabaseError(engine, statement);
}
