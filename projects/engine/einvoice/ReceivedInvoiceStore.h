#pragma once

#include "Amount.h"
#include "ReceivedInvoice.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Database;
class TdmCommon;

// An electronic invoice filed from a supplier, as the list shows it: the key
// figures read when it was filed. The file itself is read with content().
struct FiledInvoice
{
    qint64 id = 0;
    QDate received;
    QString fileName;
    QString sha256;      // hex, lower case
    qint64 contact = 0;  // the supplier's contact number, 0 when filed without one
    QString supplier;    // the seller's name as the file states it
    QString number;
    QDate date;
    Amount gross;
    QDate due;           // invalid when the invoice states none
    QString state;       // "offen" or "bezahlt"
    bool creditNote = false;
    QString failures;    // the failures of the check, one per line; empty when it passed
    QString user;

    bool failed() const { return !failures.isEmpty(); }
    bool open() const { return state == QLatin1String("offen"); }
};

// The contact an invoice's seller was found as, and by which of its data.
struct SupplierMatch
{
    qint64 number = 0;
    bool company = true;
    QString name;
    QString by; // "USt-IdNr.", "IBAN" or "Name"
};

// Files received electronic invoices in the data set and reads them back. The
// original bytes are kept unchanged with their SHA-256; a file is filed once;
// nothing here deletes a filed invoice. Each change is one transaction;
// database errors are thrown.
class ReceivedInvoiceStore
{
public:
    static inline const QString Open = QStringLiteral("offen");
    static inline const QString Paid = QStringLiteral("bezahlt");
    // The category a supplier created from an invoice gets.
    static inline const QString SupplierCategory = QStringLiteral("Lieferant");

    ReceivedInvoiceStore(Database &db, TdmCommon &numbers);

    static QString sha256(const QByteArray &content);

    // The stored contact of the seller: by VAT ID first, then by the account the
    // invoice asks to pay to (not on a credit note, where the account is the
    // buyer's), then by the company name; active contacts before blocked ones.
    std::optional<SupplierMatch> matchSeller(const ReceivedInvoice &invoice);

    // The invoice filed with these bytes, if any.
    std::optional<FiledInvoice> findFiled(const QByteArray &content);

    // Files the invoice: with newSupplier a company is first created from the
    // seller's data (category "Lieferant", address, telephone, e-mail, VAT ID and
    // IBAN) and becomes its contact, else contact is used (0: none). One
    // transaction; throws OrvellaError when the same file is already filed.
    // Returns the new row's ID.
    qint64 file(const QByteArray &content, const QString &fileName, const ReceivedInvoice &invoice,
                const QStringList &failures, qint64 contact, bool newSupplier, const QString &user,
                const QDate &received);

    // Every filed invoice, by due date (those without one last), then as filed.
    QList<FiledInvoice> list();
    std::optional<FiledInvoice> find(qint64 id);
    // The original bytes; throws OrvellaError when they no longer match their SHA-256.
    QByteArray content(qint64 id);
    // "offen" or "bezahlt".
    void setState(qint64 id, const QString &state);

    // The open invoices due within the days, by due date.
    QList<FiledInvoice> dueBetween(const QDate &from, const QDate &to);

private:
    qint64 createSupplier(const ReceivedInvoice &invoice);
    QList<FiledInvoice> read(const QString &condition);

    Database &m_db;
    TdmCommon &m_numbers;
};
