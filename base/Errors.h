#pragma once

#include <QString>
#include <exception>

// Errors that end a command. They carry a German message for the user; the one
// command handler (CommandGuard) shows it and abandons the command.
class OrvellaError : public std::exception
{
public:
    explicit OrvellaError(QString message);
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A text that should have been a number, an amount or a date.
class ConversionError : public OrvellaError
{
public:
    using OrvellaError::OrvellaError;
};

// The database refused a statement. Carries the statement and the engine's text.
class DatabaseError : public OrvellaError
{
public:
    DatabaseError(const QString &engineMessage, const QString &statement);
    // A failure the user can act on (damaged file, full disk, locked data set): the
    // German message, then the engine's text as a detail line.
    DatabaseError(const QString &message, const QString &engineMessage, const QString &statement);
    const QString &engineMessage() const { return m_engine; }
    const QString &statement() const { return m_statement; }

private:
    QString m_engine;
    QString m_statement;
};

// The data set cannot be used (not an Orvella data set, too new, unreadable).
class DataSetError : public OrvellaError
{
public:
    using OrvellaError::OrvellaError;
};
