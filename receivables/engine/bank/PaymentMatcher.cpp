#include "PaymentMatcher.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace {

// More candidates than this are no help to the user choosing among them.
constexpr int MostCandidates = 20;

// Words of legal forms and fillers that say nothing about who pays.
const QSet<QString> &fillerWords()
{
    static const QSet<QString> words = {"gmbh", "mbh", "ag", "kg", "ohg", "gbr", "ug", "ek", "e", "k", "v", "ev",
                                        "co", "und", "u", "the", "ltd", "inc", "haftungsbeschraenkt", "herr", "frau",
                                        "firma", "fa", "dr"};
    return words;
}

// Lower case, umlauts as their letter and written-out umlauts alike ("Müller",
// "MUELLER" and "Muller" give "muller"), every other character than letters and
// digits a blank, legal forms left out.
QStringList nameWords(const QString &name)
{
    QString folded;
    for (const QChar c : name.toLower()) {
        switch (c.unicode()) {
        case u'ä': folded += QLatin1Char('a'); break;
        case u'ö': folded += QLatin1Char('o'); break;
        case u'ü': folded += QLatin1Char('u'); break;
        case u'ß': folded += QStringLiteral("ss"); break;
        default: folded += c.isLetterOrNumber() ? c : QChar(u' ');
        }
    }
    folded.replace(QStringLiteral("ae"), QStringLiteral("a"))
        .replace(QStringLiteral("oe"), QStringLiteral("o"))
        .replace(QStringLiteral("ue"), QStringLiteral("u"));
    QStringList out;
    for (const QString &w : folded.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (!fillerWords().contains(w))
            out << w;
    return out;
}

// Whether two words differ by at most one edit (insert, delete, change, or swap
// of neighbours).
bool oneEditApart(const QString &a, const QString &b)
{
    const qsizetype n = a.size(), m = b.size();
    if (std::abs(n - m) > 1)
        return false;
    qsizetype i = 0;
    while (i < n && i < m && a[i] == b[i])
        ++i;
    if (i == n && i == m)
        return true;
    const auto sameFrom = [&](qsizetype x, qsizetype y) { return QStringView(a).mid(x) == QStringView(b).mid(y); };
    if (n == m)
        return sameFrom(i + 1, i + 1)
               || (i + 1 < n && a[i] == b[i + 1] && a[i + 1] == b[i] && sameFrom(i + 2, i + 2));
    return n > m ? sameFrom(i + 1, i) : sameFrom(i, i + 1);
}

bool sameWord(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    // a typing error counts in words long enough not to become another word by it
    return a.size() >= 5 && b.size() >= 5 && oneEditApart(a, b);
}

bool wordsCovered(const QStringList &ours, const QStringList &theirs)
{
    if (ours.isEmpty() || theirs.isEmpty())
        return false;
    return std::all_of(ours.begin(), ours.end(), [&](const QString &w) {
        return std::any_of(theirs.begin(), theirs.end(), [&](const QString &t) { return sameWord(w, t); });
    });
}

QString compactIban(const QString &iban)
{
    QString out;
    for (const QChar c : iban)
        if (!c.isSpace())
            out += c.toUpper();
    return out;
}

bool withinSkonto(const OpenInvoice &inv, const QDate &booked)
{
    return inv.withSkonto && inv.skontoDeadline && booked.isValid() && booked <= *inv.skontoDeadline;
}

} // namespace

PaymentMatcher::PaymentMatcher(QList<OpenInvoice> invoices)
{
    m_invoices.assign(invoices.begin(), invoices.end());
    for (int i = 0; i < int(m_invoices.size()); ++i) {
        OpenInvoice &inv = m_invoices[std::size_t(i)];
        m_byNumber.insert(inv.number, i);
        Customer &c = m_customers[inv.customer];
        if (c.name.isEmpty()) {
            c.name = inv.customerName;
            c.words = nameWords(c.name);
        }
        c.invoices << i;
        for (QString &iban : inv.ibans) {
            iban = compactIban(iban);
            QList<qint64> &list = m_byIban[iban];
            if (!iban.isEmpty() && !list.contains(inv.customer))
                list << inv.customer;
        }
    }
}

PaymentMatcher::NumbersFound PaymentMatcher::numbersIn(const QString &purpose)
{
    // A word for invoice at the start of a word (digits before it count as a
    // word's end: "KD4711RE000123"), then the number, joined to it or after
    // a blank, point, colon, hash or hyphen and an optional "Nr"; inside a longer
    // word only with the number joined to it ("ZahlungRE000123").
    static const QRegularExpression named(
        QStringLiteral("(?:(?:^|[^\\p{L}])(?:rechnungs?(?:nummer|nr)?|rechn|re|rg|rgn|rng|inv(?:oice)?)"
                       "\\.?(?:[\\s.:#-]*(?:nr|no|nummer)\\.?)?[\\s.:#-]*"
                       "|(?:rechnung|re|rg))(\\d{1,12})(?!\\d)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression digits(QStringLiteral("\\d{3,12}"));
    NumbersFound out;
    QList<qsizetype> namedAt;
    for (auto it = named.globalMatch(purpose); it.hasNext();) {
        const auto m = it.next();
        const qint64 n = m.captured(1).toLongLong();
        namedAt << m.capturedStart(1);
        if (n > 0 && !out.named.contains(n))
            out.named << n;
    }
    for (auto it = digits.globalMatch(purpose); it.hasNext();) {
        const auto m = it.next();
        // a run that is part of a longer one (an account number) is none
        const qsizetype start = m.capturedStart(), end = m.capturedEnd();
        if ((start > 0 && purpose[start - 1].isDigit()) || (end < purpose.size() && purpose[end].isDigit()))
            continue;
        const qint64 n = m.captured().toLongLong();
        if (n > 0 && !namedAt.contains(start) && !out.named.contains(n) && !out.bare.contains(n))
            out.bare << n;
    }
    return out;
}

bool PaymentMatcher::sameName(const QString &payer, const QString &customer)
{
    return wordsCovered(nameWords(customer), nameWords(payer));
}

const OpenInvoice *PaymentMatcher::invoice(qint64 number) const
{
    const auto it = m_byNumber.constFind(number);
    if (it == m_byNumber.cend())
        return nullptr;
    const OpenInvoice &inv = m_invoices[std::size_t(*it)];
    return inv.outstanding > Amount() ? &inv : nullptr;
}

// The invoices paid in full by the amount: each its outstanding amount, or, if
// that does not add up, the amount with Skonto for those still within their period.
std::optional<QList<MatchedInvoice>> PaymentMatcher::settle(const QList<const OpenInvoice *> &invoices, Amount amount,
                                                            const QDate &booked) const
{
    for (const bool skonto : {false, true}) {
        Amount sum;
        QList<MatchedInvoice> out;
        bool anySkonto = false;
        for (const OpenInvoice *inv : invoices) {
            const bool take = skonto && withinSkonto(*inv, booked);
            const Amount part = take ? *inv->withSkonto : inv->outstanding;
            anySkonto = anySkonto || take;
            sum += part;
            out << MatchedInvoice{inv->number, part, take, false};
        }
        if (sum == amount && (!skonto || anySkonto))
            return out;
    }
    return std::nullopt;
}

EntryMatch PaymentMatcher::byNumbers(const StatementEntry &entry, const QList<qint64> &numbers, bool named,
                                     const QList<qint64> &payerCustomers)
{
    QList<const OpenInvoice *> found;
    for (const qint64 n : numbers)
        if (const OpenInvoice *inv = invoice(n))
            found << inv;
    EntryMatch out;
    if (found.isEmpty())
        return out;
    const QString how = named ? QStringLiteral("Rechnungsnummer") : QStringLiteral("Nummer im Verwendungszweck");
    if (const auto paid = settle(found, entry.amount, entry.bookingDate)) {
        out.certainty = MatchCertainty::Matched;
        out.invoices = *paid;
        out.reason = how + QStringLiteral(" und Betrag");
        return out;
    }
    // Other numbers in the text (a customer number, an order) are no invoices
    // paid: one set of the named invoices that adds up is.
    if (found.size() > 1 && found.size() <= 6) {
        std::optional<QList<MatchedInvoice>> only;
        int sets = 0;
        for (int mask = 1; mask < (1 << found.size()) - 1; ++mask) {
            QList<const OpenInvoice *> part;
            for (int i = 0; i < found.size(); ++i)
                if (mask & (1 << i))
                    part << found[i];
            if (const auto paid = settle(part, entry.amount, entry.bookingDate)) {
                only = paid;
                ++sets;
            }
        }
        if (sets == 1) {
            out.certainty = MatchCertainty::Matched;
            out.invoices = *only;
            out.reason = how + QStringLiteral(" und Betrag");
            return out;
        }
    }
    // A part payment stands on its own only with the number and a payer known
    // by account or name.
    if (named && found.size() == 1 && entry.amount < found.front()->outstanding
        && payerCustomers.contains(found.front()->customer)) {
        out.certainty = MatchCertainty::Matched;
        out.invoices = {MatchedInvoice{found.front()->number, entry.amount, false, true}};
        out.reason = QStringLiteral("Teilzahlung: Rechnungsnummer und Zahler");
        return out;
    }
    out.certainty = MatchCertainty::Uncertain;
    for (const OpenInvoice *inv : found)
        out.candidates << inv->number;
    out.reason = how + QStringLiteral(", Betrag weicht ab");
    return out;
}

EntryMatch PaymentMatcher::byCustomers(const StatementEntry &entry, const QList<qint64> &customers, const QString &how)
{
    QList<const OpenInvoice *> open;
    for (const qint64 c : customers)
        for (const int i : m_customers.value(c).invoices)
            if (m_invoices[std::size_t(i)].outstanding > Amount())
                open << &m_invoices[std::size_t(i)];
    EntryMatch out;
    if (open.isEmpty())
        return out;
    QList<QList<MatchedInvoice>> ways;
    for (const OpenInvoice *inv : open)
        if (const auto paid = settle({inv}, entry.amount, entry.bookingDate))
            ways << *paid;
    // two invoices paid together
    if (ways.isEmpty() && open.size() <= 60)
        for (int i = 0; i < open.size(); ++i)
            for (int j = i + 1; j < open.size(); ++j)
                if (const auto paid = settle({open[i], open[j]}, entry.amount, entry.bookingDate))
                    ways << *paid;
    if (ways.size() == 1) {
        out.certainty = MatchCertainty::Matched;
        out.invoices = ways.front();
        out.reason = how + QStringLiteral(" und Betrag");
        return out;
    }
    out.certainty = MatchCertainty::Uncertain;
    for (const auto &way : ways)
        for (const MatchedInvoice &m : way)
            if (!out.candidates.contains(m.invoice) && out.candidates.size() < MostCandidates)
                out.candidates << m.invoice;
    if (ways.isEmpty())
        for (const OpenInvoice *inv : open)
            if (out.candidates.size() < MostCandidates)
                out.candidates << inv->number;
    out.reason = ways.isEmpty() ? how + QStringLiteral(", kein passender Betrag")
                                : how + QStringLiteral(", mehrere Rechnungen mit dem Betrag");
    return out;
}

QList<qint64> PaymentMatcher::customersByIban(const QString &iban) const
{
    const QString compact = compactIban(iban);
    return compact.isEmpty() ? QList<qint64>() : m_byIban.value(compact);
}

QList<qint64> PaymentMatcher::customersByName(const QString &name) const
{
    QList<qint64> out;
    const QStringList theirs = nameWords(name);
    if (theirs.isEmpty())
        return out;
    for (auto it = m_customers.cbegin(); it != m_customers.cend(); ++it)
        if (wordsCovered(it->words, theirs))
            out << it.key();
    return out;
}

void PaymentMatcher::book(const EntryMatch &match)
{
    if (match.certainty != MatchCertainty::Matched)
        return;
    for (const MatchedInvoice &m : match.invoices) {
        OpenInvoice &inv = m_invoices[std::size_t(m_byNumber.value(m.invoice))];
        inv.outstanding = m.withSkonto ? Amount() : inv.outstanding - m.amount;
        inv.withSkonto.reset();
    }
}

EntryMatch PaymentMatcher::match(const StatementEntry &entry)
{
    if (!entry.credit || entry.reversal || entry.amount <= Amount()) {
        EntryMatch out;
        out.certainty = MatchCertainty::NotBooked;
        out.reason = entry.reversal ? QStringLiteral("Storno") : QStringLiteral("Abbuchung");
        return out;
    }
    const QList<qint64> byIban = customersByIban(entry.counterpartyIban);
    const QList<qint64> payer = byIban.isEmpty() ? customersByName(entry.counterpartyName) : byIban;
    const NumbersFound numbers = numbersIn(entry.purpose);
    EntryMatch fallback;
    for (const bool named : {true, false}) {
        EntryMatch m = byNumbers(entry, named ? numbers.named : numbers.bare, named, payer);
        if (m.certainty == MatchCertainty::Matched) {
            book(m);
            return m;
        }
        if (fallback.certainty == MatchCertainty::Unmatched && m.certainty == MatchCertainty::Uncertain)
            fallback = m;
    }
    if (!payer.isEmpty()) {
        EntryMatch m = byCustomers(entry, payer, byIban.isEmpty() ? QStringLiteral("Name des Zahlers")
                                                                   : QStringLiteral("Konto des Zahlers"));
        if (m.certainty == MatchCertainty::Matched && fallback.certainty == MatchCertainty::Unmatched) {
            book(m);
            return m;
        }
        if (fallback.certainty == MatchCertainty::Unmatched)
            fallback = m;
    }
    if (fallback.certainty != MatchCertainty::Unmatched)
        return fallback;
    // the amount alone names candidates, never a match
    EntryMatch out;
    for (const OpenInvoice &inv : m_invoices)
        if (inv.outstanding > Amount() && (inv.outstanding == entry.amount
                                           || (withinSkonto(inv, entry.bookingDate) && *inv.withSkonto == entry.amount))) {
            out.candidates << inv.number;
            if (out.candidates.size() >= MostCandidates)
                break;
        }
    if (!out.candidates.isEmpty()) {
        out.certainty = MatchCertainty::Uncertain;
        out.reason = QStringLiteral("nur der Betrag passt");
    }
    return out;
}

QList<MatchedInvoice> PaymentMatcher::proposal(const StatementEntry &entry, const QList<qint64> &numbers,
                                               QList<qint64> *unknown) const
{
    QList<const OpenInvoice *> chosen;
    QList<qint64> missing;
    for (const qint64 n : numbers) {
        if (const OpenInvoice *inv = invoice(n))
            chosen << inv;
        else
            missing << n;
    }
    if (unknown)
        *unknown = missing;
    if (!missing.isEmpty() || chosen.isEmpty())
        return {};
    if (const auto paid = settle(chosen, entry.amount, entry.bookingDate))
        return *paid;
    QList<MatchedInvoice> out;
    Amount left = entry.amount;
    for (int i = 0; i < chosen.size(); ++i) {
        const bool last = i == chosen.size() - 1;
        const Amount part = last ? left : std::min(left, chosen[i]->outstanding);
        if (part <= Amount() && !last)
            continue;
        out << MatchedInvoice{chosen[i]->number, part, false, part < chosen[i]->outstanding};
        left -= part;
    }
    return out;
}

QString StatementEntryKey(const QString &accountIban, const StatementEntry &entry)
{
    // The transactions of a batch booking may share the entry's reference: their
    // amount, payer and end-to-end reference tell them apart.
    if (!entry.bankReference.isEmpty())
        return QStringList{QStringLiteral("R"), compactIban(accountIban), entry.bankReference, entry.amount.toSqlText(),
                           compactIban(entry.counterpartyIban), entry.endToEndId}
            .join(QLatin1Char(':'));
    const QByteArray text = QStringList{compactIban(accountIban), entry.bookingDate.toString(Qt::ISODate),
                                        entry.amount.toSqlText(), entry.credit ? QStringLiteral("C") : QStringLiteral("D"),
                                        entry.purpose}
                                .join(QChar(0x1f))
                                .toUtf8();
    return QStringLiteral("H:") + QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
}
