#pragma once

#include <QDate>
#include <QString>
#include <optional>

class Database;
struct Document;

// The terms an invoice states in every form it leaves in (paper, word processor,
// electronic invoice) and the open-items window checks: when it is due, the
// Skonto period, and the date or period of service.
namespace InvoiceTerms {

// "Zahlbar bis 23.12.2026 ohne Abzug."; empty for a date that is not valid.
QString dueSentence(const QString &dueDate);

// The Skonto period a Skonto text names ("Bei Zahlung innerhalb von 8 Tagen" → 8):
// the first number followed by "Tag", "Tage" or "Tagen". No value when it names none.
std::optional<int> skontoDaysInText(const QString &skontoText);
// The Skonto period of a document: the one its printed Skonto text names, else
// the customer's Skonto days of the extended data (firmamehr or namemehr). No
// value when neither names one.
std::optional<int> skontoDays(Database &db, const QString &skontoText, qint64 customer);
// The last day the Skonto may be taken: the invoice date plus the period.
QDate skontoDeadline(const QDate &invoiceDate, int days);

// The date of service as printed: "Leistungsdatum:" and "09.12.2026", or for a
// period "Leistungszeitraum:" and "01.11.2026 – 30.11.2026".
struct ServiceDateText
{
    QString label;
    QString value;
};
ServiceDateText serviceDate(const Document &document);

} // namespace InvoiceTerms
