#pragma once

#include <QDate>
#include <QMap>
#include <QSqlDatabase>
#include <QString>

#include <optional>

class BackupProgress;
class Database;
struct InvoicePeriod;

// The archive of invoices and credit notes: a file of its own with fresh archive
// tables, filled from one moment of the live data set with the selected
// documents and every row that belongs to them. Values are copied as they are
// stored. Besides the columns the archive always held, it keeps the kind of each
// address (recipient or second address), the discount percentage of discount
// lines and the part payments of the invoices, which would otherwise be lost.
class InvoiceArchive
{
public:
    static constexpr const char *FileName = "rechnungsarchiv.db";
    // Marks the file as an Orvella archive ("ORVA"), never to be taken for a data set.
    static constexpr quint32 ApplicationId = 0x4F525641;

    // Creates the archive file with its empty tables. maxBytes limits its size to
    // the room the target has, so a full disk ends the archive with a clear message
    // instead of a torn file (0: no limit).
    InvoiceArchive(const QString &file, qint64 maxBytes);
    ~InvoiceArchive();
    InvoiceArchive(const InvoiceArchive &) = delete;
    InvoiceArchive &operator=(const InvoiceArchive &) = delete;

    // Steps of fill() in the window's "Gesamt" bar.
    static int stepCount();
    // Archive tables in the order they are filled.
    static QStringList tableNames();

    // Copies the documents dated within period (every document without one). reader
    // must see one moment of the live data set.
    void fill(Database &reader, const std::optional<InvoicePeriod> &period, BackupProgress &progress);
    // Makes the archive permanent and checks it; returns the rows of each table.
    QMap<QString, qint64> finish();

private:
    [[noreturn]] void fail(const QSqlError &error) const;
    void exec(const QString &sql);

    QString m_file;
    QString m_connection;
};
