#include "BankImportStore.h"

#include "Database.h"
#include "Errors.h"
#include "Formats.h"
#include "Identifiers.h"
#include "InvoiceTerms.h"
#include "Payment.h"
#include "ReceivablesStore.h"
#include "SqlLiterals.h"
#include "SqlQuery.h"
#include "Transaction.h"

#include <QDateTime>
#include <QHash>
#include <QRegularExpression>

BankImportStore::BankImportStore(Database &db, TdmCommon &numbers) : m_db(db), m_numbers(numbers) {}

QList<OpenInvoice> BankImportStore::openInvoices()
{
    SqlQuery q(m_db);
    // Postings and credit notes of every invoice, summed as the open-items window
    // sums them: each amount as stored.
    QHash<qint64, Amount> payments, credits;
    for (q.open(QStringLiteral("SELECT RNr, Betrag FROM teilbuchung")); !q.eof(); q.next())
        payments[q.fieldInt(QStringLiteral("RNr"))] += q.fieldAmount(QStringLiteral("Betrag"));
    for (q.open(QStringLiteral("SELECT RNr, Betrag FROM gutschriftenop")); !q.eof(); q.next())
        credits[q.fieldInt(QStringLiteral("RNr"))] += q.fieldAmount(QStringLiteral("Betrag"));
    QList<OpenInvoice> out;
    q.open(QStringLiteral(
        "SELECT op.RNR, op.Name, op.Betrag, x.Sconto, x.ScontoText, r.Datum, p.KNr, fm.IBAN AS FIBAN, "
        "nm.IBAN AS NIBAN, fm.SkontoTage AS FTage, nm.SkontoTage AS NTage, nm.IDN AS Person "
        "FROM rechnungenop op JOIN rechnungen r ON r.BelegNr = op.RNR "
        "LEFT JOIN rechnungenextra x ON x.BelegNr = op.RNR LEFT JOIN projekt p ON p.PrNr = r.ProjektNr "
        "LEFT JOIN firmamehr fm ON fm.IDF = p.KNr LEFT JOIN namemehr nm ON nm.IDN = p.KNr "
        "WHERE op.Gebucht = 'N' ORDER BY op.RNR"));
    for (; !q.eof(); q.next()) {
        OpenInvoice inv;
        inv.number = q.fieldInt(QStringLiteral("RNR"));
        if (!out.isEmpty() && out.back().number == inv.number)
            continue; // a customer number held by a company and a person
        inv.customer = q.fieldInt(QStringLiteral("KNr"));
        inv.customerName = q.field(QStringLiteral("Name"));
        for (const char *column : {"NIBAN", "FIBAN"})
            if (const QString iban = CompactIdentifier(q.field(QString::fromLatin1(column))); !iban.isEmpty())
                inv.ibans << iban;
        const InvoiceFigures figures{q.fieldAmount(QStringLiteral("Betrag")), credits.value(inv.number),
                                     payments.value(inv.number), q.field(QStringLiteral("Sconto"))};
        const PanelAmounts panel = PaymentRules::panelAmounts(figures, false);
        inv.outstanding = panel.outstanding;
        if (panel.withSkonto && panel.skontoBoxEnabled) {
            // the period as the open-items window finds it: the Skonto text's days,
            // else the customer's (a person's first, as numbers are shared)
            std::optional<int> days = InvoiceTerms::skontoDaysInText(q.field(QStringLiteral("ScontoText")));
            if (!days) {
                const QString own = q.field(q.field(QStringLiteral("Person")).isEmpty() ? QStringLiteral("FTage")
                                                                                         : QStringLiteral("NTage"));
                if (const int n = own.trimmed().toInt(); n > 0)
                    days = n;
            }
            const QString date = q.field(QStringLiteral("Datum"));
            if (days && IsValidDateText(date)) {
                inv.withSkonto = panel.withSkonto;
                inv.skontoDeadline = InvoiceTerms::skontoDeadline(StrToDate(date), *days);
            }
        }
        out << inv;
    }
    return out;
}

QStringList BankImportStore::ownAccounts()
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT IBAN, WeitereKonten FROM firmendaten WHERE Firma = 1"));
    QStringList out;
    if (const QString own = CompactIdentifier(q.field(QStringLiteral("IBAN"))); !own.isEmpty())
        out << own;
    // further accounts: one per line, or separated by commas or semicolons
    static const QRegularExpression separators(QStringLiteral("[,;\\n]"));
    for (const QString &part : q.field(QStringLiteral("WeitereKonten")).split(separators, Qt::SkipEmptyParts))
        if (const QString iban = CompactIdentifier(part); !iban.isEmpty() && !out.contains(iban))
            out << iban;
    return out;
}

QSet<QString> BankImportStore::imported(const QStringList &keys)
{
    QSet<QString> out;
    SqlQuery q(m_db);
    for (qsizetype from = 0; from < keys.size(); from += 200) {
        QStringList quoted;
        for (const QString &k : keys.mid(from, 200))
            quoted << QLatin1Char('\'') + SqlQuote(k) + QLatin1Char('\'');
        for (q.open(QStringLiteral("SELECT Schluessel FROM bankbuchungen WHERE Schluessel IN (%1)")
                        .arg(quoted.join(QStringLiteral(", "))));
             !q.eof(); q.next())
            out.insert(q.field(QStringLiteral("Schluessel")));
    }
    return out;
}

QList<qint64> BankImportStore::overpaid(const BankBooking &booking)
{
    ReceivablesStore store(m_db, m_numbers);
    QList<qint64> out;
    for (const MatchedInvoice &m : booking.invoices) {
        const PanelAmounts panel = PaymentRules::panelAmounts(store.figures(m.invoice), false);
        if (m.amount > PaymentRules::referenceAmount(panel, m.withSkonto))
            out << m.invoice;
    }
    return out;
}

void BankImportStore::book(const BankBooking &booking)
{
    if (booking.invoices.isEmpty())
        throw OrvellaError(QStringLiteral("Der Buchung ist keine Rechnung zugeordnet. Es wurde nichts gebucht."));
    ReceivablesStore store(m_db, m_numbers);
    Transaction transaction(m_db);
    QStringList numbers;
    for (const MatchedInvoice &m : booking.invoices) {
        const InvoiceFigures figures = store.figures(m.invoice);
        const PanelAmounts panel = PaymentRules::panelAmounts(figures, false);
        const bool withSkonto = m.withSkonto && panel.withSkonto && panel.skontoBoxEnabled;
        const std::optional<PaymentRules::Booking> planned =
            PaymentRules::planBooking(PaymentRules::referenceAmount(panel, withSkonto), m.amount.toText(), withSkonto);
        if (!planned)
            throw OrvellaError(PaymentRules::invalidPaidMessage(m.amount.toText()));
        store.book(m.invoice, figures, *planned, booking.entry.bookingDate);
        numbers << PadNumber(m.invoice);
    }
    SqlQuery q(m_db);
    // The key is unique: an entry booked meanwhile on another workstation makes
    // this insert fail, and the transaction with it.
    q.execSql(QStringLiteral("INSERT INTO bankbuchungen (Schluessel, Konto, Datum, Betrag, Zahler, Zweck, Rechnungen, "
                             "Gebucht, Benutzer) VALUES ('%1', '%2', '%3', %4, '%5', '%6', '%7', '%8', '%9')")
                  .arg(SqlQuote(booking.key), SqlQuote(booking.account), DateToStr(booking.entry.bookingDate),
                       booking.entry.amount.toSqlText(), SqlQuote(booking.entry.counterpartyName),
                       SqlQuote(booking.entry.purpose), numbers.join(QStringLiteral(", ")),
                       QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")),
                       SqlQuote(booking.user)));
    transaction.commit();
}
