#pragma once

#include "DatevExport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The bytes of a DATEV file: the first line describing the file, the line of column
// names, one line per record. Windows-1252, fields separated by ";", texts in double
// quotes, lines ending CR LF.
namespace Datev {

// The 1-based columns of the booking batch this program fills.
namespace Column {
constexpr int Amount = 1;         // Umsatz (ohne Soll/Haben-Kz)
constexpr int Side = 2;           // Soll/Haben-Kennzeichen
constexpr int Account = 7;        // Konto
constexpr int ContraAccount = 8;  // Gegenkonto (ohne BU-Schlüssel)
constexpr int VoucherDate = 10;   // Belegdatum, DDMM
constexpr int Voucher = 11;       // Belegfeld 1
constexpr int Text = 14;          // Buchungstext
constexpr int VatId = 40;         // EU-Land u. UStID (Bestimmung)
constexpr int ServiceDate = 115;  // Leistungsdatum, DDMMYYYY
constexpr int Count = 125;
} // namespace Column

// Windows-1252: Latin-1 and the printable characters of 0x80 to 0x9F (€, „, “, ”,
// –, — and the rest); every other character, one per code point, becomes "?".
QByteArray toWindows1252(const QString &text);

// A text field: in double quotes, an inner quote doubled, line breaks and other
// control characters (not allowed inside a field) as blanks. Empty text gives an
// empty field.
QString textField(const QString &text);
// Two decimals with a decimal comma, no grouping, no sign: "1234,50".
QString amountField(Amount amount);
// The text cut to at most n characters (code points, as the file holds one byte
// for each).
QString cut(const QString &text, int n);

// The names of the 125 columns, in order.
const QStringList &bookingColumns();
// The names of the 254 columns of the debtor master data, in order.
const QStringList &debtorColumns();

// The 31 fields of the first line of a booking batch.
QStringList bookingHeaderFields(const Settings &settings, const Period &period, const QDateTime &created);
// The 31 fields of the first line of the debtor master data: no period, no booking
// settings.
QStringList debtorHeaderFields(const Settings &settings, const QDateTime &created);
// The 125 fields of one booking.
QStringList bookingFields(const Booking &booking);

// Header, column names and one line per booking.
QByteArray bookingBatchBytes(const Settings &settings, const Period &period, const QDateTime &created,
                             const QList<Booking> &bookings);

// The columns of the debtor master data this program fills.
namespace DebtorColumn {
constexpr int Account = 1;       // Konto
constexpr int CompanyName = 2;   // Name (Adressattyp Unternehmen)
constexpr int AddresseeType = 7; // Adressattyp: "2" a company
constexpr int ShortName = 8;     // Kurzbezeichnung
constexpr int EuCountry = 9;     // EU-Land, the VAT ID's prefix
constexpr int EuVatId = 10;      // EU-UStID, the VAT ID without its prefix
constexpr int AddressKind = 15;  // Adressart: "STR" a street address
constexpr int Street = 16;
constexpr int Postcode = 18;
constexpr int City = 19;
constexpr int Country = 20;
constexpr int CustomerNumber = 99; // Kunden-/Lief.-Nr.
constexpr int Count = 254;
} // namespace DebtorColumn

// One debtor's fields, with the account it is filed under.
QStringList debtorFields(qint64 account, const Debtor &debtor);
QByteArray debtorBytes(const Settings &settings, const QDateTime &created,
                       const QList<QPair<qint64, Debtor>> &accounts);

} // namespace Datev
