#include "Errors.h"

OrvellaError::OrvellaError(QString message)
    : m_message(std::move(message)), m_utf8(m_message.toUtf8())
{
}

DatabaseError::DatabaseError(const QString &engineMessage, const QString &statement)
    : OrvellaError(statement.isEmpty()
                       ? QStringLiteral("Datenbankfehler: %1").arg(engineMessage)
                       : QStringLiteral("Datenbankfehler: %1\n\nAnweisung:\n%2").arg(engineMessage, statement)),
      m_engine(engineMessage), m_statement(statement)
{
}

DatabaseError::DatabaseError(const QString &message, const QString &engineMessage, const QString &statement)
    : OrvellaError(message + QStringLiteral("\n\nMeldung der Datenbank: ") + engineMessage),
      m_engine(engineMessage), m_statement(statement)
{
}
