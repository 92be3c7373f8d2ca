#include "StatementReview.h"

#include "Errors.h"
#include "Formats.h"
#include "Identifiers.h"
#include "Payment.h"

#include <QRegularExpression>
#include <QSet>

namespace {

// "ergänzt 000123 (116,62 € mit Skonto), 000124 (Teilzahlung 50,00 €)"
QString paidText(const QList<MatchedInvoice> &invoices)
{
    QStringList parts;
    for (const MatchedInvoice &m : invoices) {
        QString how = PaymentRules::money(m.amount, QStringLiteral("€"));
        if (m.withSkonto)
            how += QStringLiteral(" mit Skonto");
        if (m.partPayment)
            how = QStringLiteral("Teilzahlung ") + how;
        parts << QStringLiteral("%1 (%2)").arg(PadNumber(m.invoice), how);
    }
    return parts.join(QStringLiteral(", "));
}

QString matchNote(const EntryMatch &m)
{
    switch (m.certainty) {
    case MatchCertainty::Matched: return m.reason + QStringLiteral(": ") + paidText(m.invoices);
    case MatchCertainty::Uncertain: {
        QStringList numbers;
        for (const qint64 n : m.candidates)
            numbers << PadNumber(n);
        return m.reason + QStringLiteral(" – in Frage kommen: ") + numbers.join(QStringLiteral(", "));
    }
    case MatchCertainty::Unmatched: return QStringLiteral("keine passende Rechnung gefunden");
    case MatchCertainty::NotBooked: return m.reason + QStringLiteral(" – wird nicht gebucht");
    }
    return {};
}

} // namespace

QString InvoiceNumbersText(const QList<MatchedInvoice> &invoices)
{
    QStringList out;
    for (const MatchedInvoice &m : invoices)
        out << PadNumber(m.invoice);
    return out.join(QStringLiteral(", "));
}

StatementReview::StatementReview(BankImportStore &store) : m_store(store) {}

bool StatementReview::sameAccount(const QString &statementAccount, const QString &ownIban)
{
    const QString theirs = CompactIdentifier(statementAccount), own = CompactIdentifier(ownIban);
    if (theirs.isEmpty() || own.isEmpty())
        return false;
    if (theirs == own)
        return true;
    // A German IBAN holds the bank code (8 digits) and the account (10 digits,
    // leading zeros) that older statements give as "bank code/account".
    static const QRegularExpression codeAndAccount(QStringLiteral("^(\\d{8})/(\\d{1,10})$"));
    const auto m = codeAndAccount.match(theirs);
    return m.hasMatch() && own.size() == 22 && own.startsWith(QLatin1String("DE"))
           && own.mid(4, 8) == m.captured(1) && own.mid(12).toLongLong() == m.captured(2).toLongLong();
}

QString StatementReview::load(const QList<StatementSource> &files, const QString &user)
{
    m_rows.clear();
    const QStringList own = m_store.ownAccounts();
    if (own.isEmpty())
        return QStringLiteral("In den Optionen ist kein eigenes Konto eingetragen (IBAN der Firmendaten oder weitere "
                              "Konten). Ohne es kann nicht geprüft werden, ob der Kontoauszug zur Firma gehört; es "
                              "wurde nichts eingelesen.");
    QList<std::pair<QString, StatementEntry>> entries;
    for (const StatementSource &file : files) {
        const StatementFile read = StatementReader::read(file.content, file.name);
        if (!read.ok())
            return read.error + QStringLiteral(" Es wurde nichts eingelesen.");
        if (read.statements.isEmpty())
            return QStringLiteral("Die Datei „%1“ enthält keinen Kontoauszug. Es wurde nichts eingelesen.").arg(file.name);
        for (const BankStatement &s : read.statements) {
            if (!std::any_of(own.begin(), own.end(), [&](const QString &o) { return sameAccount(s.accountIban, o); }))
                return QStringLiteral("Der Kontoauszug in der Datei „%1“ ist ein Auszug des Kontos %2, das nicht zu den "
                                      "eigenen Konten der Firma gehört (Optionen: IBAN der Firmendaten und weitere "
                                      "Konten). Es wurde nichts eingelesen.")
                    .arg(file.name, s.accountIban.isEmpty() ? QStringLiteral("(ohne Angabe)") : s.accountIban);
            for (const StatementEntry &e : s.entries)
                entries << std::pair{s.accountIban, e};
        }
    }
    QStringList keys;
    for (const auto &[account, e] : entries)
        keys << StatementEntryKey(account, e);
    const QSet<QString> imported = m_store.imported(keys);
    m_matcher = std::make_unique<PaymentMatcher>(m_store.openInvoices());
    QSet<QString> seen;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        ReviewRow row;
        row.booking = BankBooking{keys[i], entries[i].first, entries[i].second, {}, user};
        if (imported.contains(keys[i]) || seen.contains(keys[i])) {
            row.state = ReviewRow::State::Imported;
            row.note = imported.contains(keys[i]) ? QStringLiteral("bereits eingelesen und gebucht")
                                                  : QStringLiteral("steht doppelt in den gewählten Dateien");
        } else {
            row.match = m_matcher->match(row.booking.entry);
            row.booking.invoices = row.match.invoices;
            row.note = matchNote(row.match);
            row.state = row.match.certainty == MatchCertainty::Matched     ? ReviewRow::State::ToBook
                        : row.match.certainty == MatchCertainty::NotBooked ? ReviewRow::State::NotBooked
                                                                           : ReviewRow::State::Skipped;
        }
        seen.insert(keys[i]);
        m_rows << row;
    }
    return {};
}

QString StatementReview::setInvoices(int row, const QString &text)
{
    ReviewRow &r = m_rows[row];
    if (r.state != ReviewRow::State::ToBook && r.state != ReviewRow::State::Skipped)
        return {};
    QList<qint64> numbers;
    for (const QString &part : text.split(QRegularExpression(QStringLiteral("[\\s,;]+")), Qt::SkipEmptyParts)) {
        bool ok = false;
        const qint64 n = part.toLongLong(&ok);
        if (!ok || n <= 0)
            return QStringLiteral("„%1“ ist keine Rechnungsnummer.").arg(part);
        if (!numbers.contains(n))
            numbers << n;
    }
    if (numbers.isEmpty()) {
        r.booking.invoices.clear();
        r.state = ReviewRow::State::Skipped;
        r.note = matchNote(r.match);
        return {};
    }
    QList<qint64> unknown;
    const QList<MatchedInvoice> paid = m_matcher->proposal(r.booking.entry, numbers, &unknown);
    if (!unknown.isEmpty()) {
        QStringList names;
        for (const qint64 n : unknown)
            names << PadNumber(n);
        return QStringLiteral("Zu %1 gibt es keine offene Rechnung.").arg(names.join(QStringLiteral(", ")));
    }
    r.booking.invoices = paid;
    r.state = ReviewRow::State::ToBook;
    r.note = QStringLiteral("von Hand: ") + paidText(paid);
    return {};
}

void StatementReview::setChosen(int row, bool book)
{
    ReviewRow &r = m_rows[row];
    // ticking an entry with a single candidate takes that candidate
    if (r.state == ReviewRow::State::Skipped && book && r.booking.invoices.isEmpty() && r.match.candidates.size() == 1
        && setInvoices(row, QString::number(r.match.candidates.front())).isEmpty())
        return;
    if (r.state == ReviewRow::State::ToBook && !book)
        r.state = ReviewRow::State::Skipped;
    else if (r.state == ReviewRow::State::Skipped && book && !r.booking.invoices.isEmpty())
        r.state = ReviewRow::State::ToBook;
}

StatementReview::Outcome StatementReview::book(const std::function<bool(const ReviewRow &row)> &overpaying)
{
    Outcome out;
    for (ReviewRow &r : m_rows) {
        if (r.state != ReviewRow::State::ToBook)
            continue;
        const QString entry = QStringLiteral("Eintrag vom %1 über %2 (%3)")
                                  .arg(DateToStr(r.booking.entry.bookingDate),
                                       PaymentRules::money(r.booking.entry.amount, QStringLiteral("€")),
                                       r.booking.entry.counterpartyName);
        try {
            if (m_store.imported({r.booking.key}).contains(r.booking.key)) {
                r.state = ReviewRow::State::Imported;
                r.note = QStringLiteral("inzwischen an einem anderen Arbeitsplatz gebucht");
                out.failures << entry + QStringLiteral(": ") + r.note;
                continue;
            }
            if (!m_store.overpaid(r.booking).isEmpty() && !overpaying(r)) {
                r.state = ReviewRow::State::Skipped;
                continue;
            }
            m_store.book(r.booking);
            r.state = ReviewRow::State::Booked;
            r.note = QStringLiteral("gebucht: ") + paidText(r.booking.invoices);
            ++out.booked;
        } catch (const OrvellaError &e) {
            r.state = ReviewRow::State::Skipped;
            r.note = e.message();
            out.failures << entry + QStringLiteral(": ") + r.note;
        }
    }
    return out;
}
