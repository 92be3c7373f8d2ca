#pragma once

#include "ReceivedInvoice.h"

#include <QByteArray>
#include <QString>

// Reads an electronic invoice received from a supplier: UN/CEFACT CII
// (XRechnung, ZUGFeRD/Factur-X XML) or OASIS UBL 2.1 (Invoice, CreditNote). The
// syntax is recognised from the root element's namespace and name, never from the
// file name or the prefixes the sender chose.
//
// The file comes from outside: a document type declaration is refused before
// anything in it is used (no entity is ever expanded, no external file read), a
// file over 20 MiB is not read, and neither is one nested deeper than any invoice.
struct ReceivedInvoiceFile
{
    ReceivedInvoice invoice;
    QString error; // German, naming the file; empty on success
    bool ok() const { return error.isEmpty(); }
};

namespace EInvoiceReader {

constexpr qsizetype MaxFileSize = 20 * 1024 * 1024;

// fileName only names the file in messages.
ReceivedInvoiceFile read(const QByteArray &xml, const QString &fileName);

// An XML decimal ("1234.56", "-0.5", "+7") exactly as an amount; more than four
// decimals are rounded to four. No value for anything else (no exponent, no comma).
std::optional<Amount> parseDecimal(QStringView text);

} // namespace EInvoiceReader
