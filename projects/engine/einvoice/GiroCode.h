#pragma once

#include "Amount.h"
#include "SellerData.h"

#include <QString>
#include <vector>

class Database;
struct Document;

// The GiroCode on printed invoices: an EPC QR code (EPC069-12, version 002,
// SEPA credit transfer) that banking apps read to fill in a transfer.
namespace GiroCode {

// The code's text: service tag, version, UTF-8, SCT, BIC, name, IBAN, amount and
// the invoice as remittance text, one per line. Empty when the seller has no
// IBAN or nothing is to be paid.
QString payload(const SellerData &seller, Amount amount, const QString &reference);

// What the invoice still asks for: its open item's amount less payments and
// credit notes, nothing when it is settled; the gross total of an invoice not
// stored yet. Zero for every other kind.
Amount outstanding(Database &db, const Document &document);

// The modules of the QR code (error correction level M), row by row, without the
// quiet zone. Empty for an empty text; throws OrvellaError when the text is too
// long for a QR code.
struct Matrix
{
    int size = 0;
    std::vector<bool> dark;
    bool at(int x, int y) const { return dark[std::size_t(y) * std::size_t(size) + std::size_t(x)]; }
};
Matrix encode(const QString &text);

} // namespace GiroCode
