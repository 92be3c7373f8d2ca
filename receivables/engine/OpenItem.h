#pragma once

#include "Amount.h"

#include <QColor>
#include <QDate>
#include <QString>

// One row of the open-items list: an invoice with its open item (rechnungenop),
// its Skonto percentage and its project. Texts are kept as read back from the
// database; the amounts and the due date are read once so that colouring and
// filtering do not parse them again for every cell.
struct OpenItemRow
{
    qint64 invoice = 0;   // rechnungen.BelegNr
    QString date;         // rechnungen.Datum, "dd.MM.yyyy"
    QString sconto;       // rechnungenextra.Sconto as typed ("2", "2,5"), may be empty
    QString term;         // ZZiel, days
    QString dueDate;      // EDatum, "dd.MM.yyyy"
    QDate due;            // EDatum as a date; invalid when empty or not a date
    bool dueDateNull = false; // EDatum holds no value at all
    QString amountText;   // Betrag as read ("1234,5")
    Amount amount;        // Betrag
    Amount remaining;     // RBetrag
    QString bookedOn;     // BDatum, date of the last booking
    QString name;         // rechnungenop.Name
    QString level;        // MStufe, dunning level
    QString booked;       // Gebucht: "N" open, "J" settled
    QString skontoFlag;   // Skonto: "J" when the last booking took the cash discount
    qint64 customer = 0;  // projekt.KNr
    QString company;      // projekt.EFirma, the sender line of the project
    qint64 project = 0;   // projekt.PrNr
    QString uid;          // projekt.UID
};

// The five filters of the list, in the order "&weiter" walks through them.
enum class OpenItemFilter { Overdue, Remainder, Unpaid, Settled, All };

// States, colours and filters of open items. An item is unsettled while Gebucht is
// "N"; part-paid when it is also left with a positive remainder; overdue when it
// is unsettled and its due date is today or earlier (the due day itself counts);
// settled when Gebucht is "J" and nothing remains; overpaid when settled with a
// negative remainder.
namespace OpenItemRules {

inline constexpr int FilterCount = 5;
inline const QColor Orange = QColor(226, 143, 0);
inline const QColor Green = QColor(0, 188, 0);
inline const QColor MoneyGreen = QColor(192, 220, 192);
inline const QColor DarkGreen = QColor(0, 128, 0);

QString filterCaption(OpenItemFilter filter);
// The text colour of the filter's button; invalid for "alle Rechnungen" (default).
QColor filterColour(OpenItemFilter filter);
OpenItemFilter nextFilter(OpenItemFilter filter);
// The condition the list statement appends for the filter ("" for all).
QString filterCondition(OpenItemFilter filter, const QDate &today);
// Whether a row belongs to the filter: the same rule as the condition, for rows
// already in memory.
bool inFilter(OpenItemFilter filter, const OpenItemRow &row, const QDate &today);

bool isUnsettled(const OpenItemRow &row);
bool isPartPaid(const OpenItemRow &row);
bool isOverdue(const OpenItemRow &row, const QDate &today);
bool isSettled(const OpenItemRow &row);
bool isOverpaid(const OpenItemRow &row);

// Text and background of a list row; invalid colours mean the defaults (black on
// white). Rows without a due date keep the defaults.
struct RowLook
{
    QColor text;
    QColor background;
    bool operator==(const RowLook &) const = default;
};
RowLook rowLook(const OpenItemRow &row, const QDate &today);

// "&Mahnung" may be used for an item that is due (today on or after its due date)
// and still open or left with a remainder, by a user holding the permission.
bool mayDun(const OpenItemRow &row, const QDate &today, bool permitted);

} // namespace OpenItemRules
