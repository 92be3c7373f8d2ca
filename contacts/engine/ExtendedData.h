#pragma once

#include "Amount.h"
#include "NumberInput.h"

#include <QColor>
#include <QDate>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

// The extended data of one company or person (firmamehr / namemehr): payment
// terms, delivery condition, bank details and the picture marker. Every value
// travels as text: read from the table as the query reads it back, or typed
// into the window's fields.
struct ExtendedData
{
    QString zahlungsziel;   // net payment period in days
    QString skontoTage;     // cash-discount period in days
    QString skontoText;
    QString skonto;         // percentage
    QString rabattText;
    QString rabatt;         // percentage
    QString preisgruppe;    // "Eins" .. "Vier"
    QString mwSt;           // VAT rate; stored as a number, typed as a box entry ("  7,00 %")
    QString uid;            // VAT identification number
    QString lieferbesch;    // "1" unrestricted, "2" up to hoechstwert, "3" prepayment, "4" no delivery
    QString hoechstwert;    // maximum amount
    QString image;          // empty, or PictureMarker when a picture file is stored
    QString kInstitut;
    QString kInhaber;
    QString konto;
    QString blz;
    QString iban;
    // Electronic invoices: the buyer reference (an authority's Leitweg-ID).
    QString kaeuferreferenz;

    bool operator==(const ExtendedData &) const = default;
};

namespace ExtendedRules {

inline const QString PictureMarker = QStringLiteral("TPicture");
// The price groups in the order of the box.
const QStringList &priceGroups();

// The stored values as the window's fields show them. A number that is empty or
// cannot be read shows as an empty field, so a damaged row can still be opened
// and corrected: days as digits, percentages as read back ("2,5"), the maximum
// amount with thousands points and two decimals ("1.500,50"), the VAT rate with
// two decimals ("16,00"). The maximum amount is only shown with a delivery
// condition.
ExtendedData forDisplay(const ExtendedData &stored);

// The first value typed into the window that cannot be stored, as the message
// the user sees; no value when everything can be stored. Days are whole numbers,
// percentages lie between 0 and 100, the maximum amount is not negative and has
// at most two decimals; amounts take thousands points and the decimal comma as
// German users type them ("1.500,50", "1500,5"), a dot used as decimal point or
// any other text is refused.
std::optional<QString> inputError(const ExtendedData &typed);
// The rule and caption of each number field, for the window's fields.
enum class NumberField { Term, SkontoDays, Skonto, Rabatt, Maximum };
NumberInput::Field numberField(NumberField which);

// The typed value of a number field as SQL text: "NULL" when empty, else the
// number with a decimal point ("1500.5"). Throws ConversionError for text that
// inputError refuses.
QString sqlDays(const QString &typed);
QString sqlPercent(const QString &typed);
QString sqlAmount(const QString &typed);
// A rate box entry ("  7,00 %", "16,00 %") as SQL text.
QString sqlRate(const QString &entry);

// A VAT rate as a box entry: two decimals with thousands points and " %", and two
// leading blanks below 10, so the entries line up ("  7,00 %", "19,00 %").
QString rateEntry(Amount rate);

// --- IBAN (ISO 13616) -----------------------------------------------------------

enum class IbanState { Empty, Valid, BadForm, BadChecksum };
// Blanks are ignored and letters may be small. The form is a country code of two
// letters, two check digits and 11 to 30 letters or digits; the check digits must
// give the remainder 1 modulo 97 as ISO 13616 computes it.
IbanState checkIban(const QString &iban);
// What the user is told about a wrong IBAN; empty for an empty or valid one.
QString ibanProblem(const QString &iban);

// --- picture ----------------------------------------------------------------------

// The area the contact's picture is drawn into.
inline constexpr int PictureWidth = 350;
inline constexpr int PictureHeight = 144;
// The size a picture of the given size is drawn with: scaled to the area's
// height, or to its width when it would be wider than the area, computed with
// the scale in ten-thousandths as the stored pictures always were, and never
// larger than the area.
QSize pictureTargetSize(QSize source);

// --- payment history ----------------------------------------------------------------

// One invoice of the payment history, as read back.
struct PaymentRow
{
    QString mStufe;   // dunning stage
    QString datum;    // invoice date
    QString zZiel;    // payment period in days
    QString eDatum;   // due date
    QString betrag;   // gross amount
    QString gebucht;  // "J" settled, "N" open
    QString rBetrag;  // remaining amount
};

struct RowLook
{
    QColor text;
    QColor background;
    bool operator==(const RowLook &) const = default;
};

// The colours of a row: orange for an open invoice with a remaining amount (on
// light green while it is not yet due), green for a settled one, red for a
// due open one, black otherwise. Rows without a dunning stage stay black.
RowLook paymentRowLook(const PaymentRow &row, const QDate &today);

} // namespace ExtendedRules
