#include "DatevExport.h"

#include "DatevFile.h"
#include "Formats.h"

#include <algorithm>
#include <tuple>

namespace Datev {

namespace {

QString normCategory(const QString &c)
{
    return c.trimmed().toUpper();
}

QString dateText(const QDate &d)
{
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

QString rateText(Amount rate, const QString &category)
{
    return QStringLiteral("%1 % (%2)").arg(rate.toPlainText(), normCategory(category));
}

// A number made only of digits, within [min, max].
bool isNumberIn(const QString &text, qint64 min, qint64 max)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9 || !std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return false;
    const qint64 v = t.toLongLong();
    return v >= min && v <= max;
}

QString vatIdText(const QString &vatId)
{
    QString v = vatId;
    v.remove(QLatin1Char(' '));
    return v.trimmed().toUpper();
}

class Problems
{
public:
    void add(const QString &p)
    {
        if (!m_list.contains(p))
            m_list << p;
    }
    // Customers' problems come once per customer, however many documents he has.
    void addCustomer(qint64 number, const QString &name, const QString &what)
    {
        if (m_customers.contains({number, what}))
            return;
        m_customers << qMakePair(number, what);
        add(QStringLiteral("Kunde %1 (%2): %3").arg(number).arg(name.trimmed(), what));
    }
    const QStringList &list() const { return m_list; }

private:
    QStringList m_list;
    QList<QPair<qint64, QString>> m_customers;
};

// What every file's first line needs.
void checkSettings(const Settings &settings, Problems &problems)
{
    if (!isNumberIn(settings.consultantNumber, 1001, 9999999))
        problems.add(QStringLiteral("Die Beraternummer muss eine Zahl von 1001 bis 9999999 sein."));
    if (!isNumberIn(settings.clientNumber, 1, 99999))
        problems.add(QStringLiteral("Die Mandantennummer muss eine Zahl von 1 bis 99999 sein."));
    if (settings.accountLength < 4 || settings.accountLength > 8)
        problems.add(QStringLiteral("Die Sachkontenlänge muss zwischen 4 und 8 liegen."));
    if (!settings.fiscalYearStart.isValid())
        problems.add(QStringLiteral("Der Beginn des Wirtschaftsjahres ist nicht eingestellt."));
}

QString debtorRangeProblem(const Settings &settings)
{
    return QStringLiteral("die Kundennummer ergibt kein Debitorenkonto zwischen %1 und %2.")
        .arg(settings.debtorMin)
        .arg(settings.debtorMax);
}

// A document or a payment in the order of the file: date, then invoices, credit
// notes and payments, then number; the amounts decide between two payments of one
// invoice on one day.
struct Item
{
    QDate date;
    int rank = 0;
    qint64 number = 0;
    Amount first;
    Amount second;
    const Document *document = nullptr;
    const Payment *payment = nullptr;

    bool operator<(const Item &o) const
    {
        return std::tie(date, rank, number, first, second) < std::tie(o.date, o.rank, o.number, o.first, o.second);
    }
};

Amount total(const QList<RateAmount> &rates)
{
    Amount sum;
    for (const RateAmount &p : rates)
        sum += p.gross;
    return sum;
}

// A document's rates in a fixed order, so the input's order does not matter:
// higher rate first, then category.
QList<RateAmount> ordered(QList<RateAmount> rates)
{
    std::stable_sort(rates.begin(), rates.end(), [](const RateAmount &a, const RateAmount &b) {
        if (a.rate != b.rate)
            return a.rate > b.rate;
        return normCategory(a.category) < normCategory(b.category);
    });
    return rates;
}

// A negative amount is booked positive on the other side.
void addBooking(QList<Booking> &out, Booking b, Amount amount)
{
    amount = amount.roundedToCents();
    if (amount.isZero())
        return;
    if (amount.isNegative()) {
        amount = -amount;
        b.side = b.side == Side::Debit ? Side::Credit : Side::Debit;
    }
    b.amount = amount;
    out << b;
}

} // namespace

TaxKey::TaxKey(Amount r, const QString &c) : rate(r), category(normCategory(c)) {}

bool TaxKey::operator<(const TaxKey &o) const
{
    if (rate != o.rate)
        return rate < o.rate;
    return category < o.category;
}

bool TaxKey::operator==(const TaxKey &o) const
{
    return rate == o.rate && category == o.category;
}

Settings Settings::presets(Chart chart)
{
    Settings s;
    s.chart = chart;
    const bool skr03 = chart == Chart::Skr03;
    const Amount r19 = Amount::fromUnits(19), r7 = Amount::fromUnits(7), r0;
    const QString S = QStringLiteral("S");
    s.revenueAccounts = {
        {TaxKey(r19, S), skr03 ? 8400 : 4400},
        {TaxKey(r7, S), skr03 ? 8300 : 4300},
        {TaxKey(r0, QStringLiteral("K")), skr03 ? 8125 : 4125},
        {TaxKey(r0, QStringLiteral("E")), skr03 ? 8120 : 4120},
    };
    s.skontoAccounts = {
        {TaxKey(r19, S), skr03 ? 8736 : 4736},
        {TaxKey(r7, S), skr03 ? 8731 : 4731},
    };
    s.bankAccount = skr03 ? 1200 : 1800;
    return s;
}

std::optional<qint64> Settings::revenueAccount(Amount rate, const QString &category) const
{
    const auto it = revenueAccounts.find(TaxKey(rate, category));
    if (it == revenueAccounts.end() || it->second <= 0)
        return std::nullopt;
    return it->second;
}

std::optional<qint64> Settings::skontoAccount(Amount rate, const QString &category) const
{
    const auto it = skontoAccounts.find(TaxKey(rate, category));
    if (it == skontoAccounts.end() || it->second <= 0)
        return std::nullopt;
    return it->second;
}

std::optional<qint64> Settings::debtorAccount(qint64 customerNumber) const
{
    const qint64 account = debtorBase + customerNumber;
    if (account < debtorMin || account > debtorMax)
        return std::nullopt;
    return account;
}

QList<Amount> splitByRates(Amount skonto, const QList<RateAmount> &rates)
{
    __int128 sum = 0;
    for (const RateAmount &p : rates)
        sum += p.gross.raw();
    if (sum == 0)
        return {};
    const qint64 cents = skonto.roundedToCents().raw() / 100;
    QList<Amount> shares;
    qint64 given = 0;
    int largest = 0;
    for (int i = 0; i < rates.size(); ++i) {
        const qint64 share = divRoundHalfEven(__int128(cents) * rates[i].gross.raw(), sum);
        shares << Amount::fromRaw(share * 100);
        given += share;
        if (qAbs(rates[i].gross.raw()) > qAbs(rates[largest].gross.raw()))
            largest = i;
    }
    shares[largest] += Amount::fromRaw((cents - given) * 100);
    return shares;
}

Bookings buildBookings(const Settings &settings, const Period &period, const QList<Document> &documents,
                       const QList<Payment> &payments)
{
    Problems problems;
    checkSettings(settings, problems);
    const bool periodValid = period.from.isValid() && period.to.isValid() && period.from <= period.to;
    if (!periodValid)
        problems.add(QStringLiteral("Der Zeitraum der Übergabe ist ungültig."));
    if (settings.fiscalYearStart.isValid() && periodValid
             && (period.from < settings.fiscalYearStart || period.to >= settings.fiscalYearStart.addYears(1)))
        // DATEV takes a batch only within one fiscal year.
        problems.add(QStringLiteral("Der Zeitraum %1 bis %2 liegt nicht im Wirtschaftsjahr ab %3.")
                         .arg(dateText(period.from), dateText(period.to), dateText(settings.fiscalYearStart)));
    auto outside = [&](const QDate &d) { return periodValid && (!d.isValid() || d < period.from || d > period.to); };
    auto periodText = [&] { return QStringLiteral("%1 bis %2").arg(dateText(period.from), dateText(period.to)); };

    QList<Item> items;
    for (const Document &d : documents)
        items << Item{d.date, d.creditNote ? 1 : 0, d.number, total(d.rates), Amount(), &d, nullptr};
    for (const Payment &p : payments)
        items << Item{p.date, 2, p.invoiceNumber, p.paid, p.skonto, nullptr, &p};
    std::stable_sort(items.begin(), items.end());

    QList<Booking> bookings;
    auto debtor = [&](qint64 customer, const QString &name) -> qint64 {
        const auto account = settings.debtorAccount(customer);
        if (!account)
            problems.addCustomer(customer, name, debtorRangeProblem(settings));
        return account.value_or(0);
    };

    for (const Item &item : items) {
        if (const Document *d = item.document) {
            const QString name = (d->creditNote ? QStringLiteral("Gutschrift ") : QStringLiteral("Rechnung "))
                                 + PadNumber(d->number);
            if (outside(d->date))
                problems.add(QStringLiteral("%1 vom %2 liegt außerhalb des Zeitraums %3.")
                                 .arg(name, dateText(d->date), periodText()));
            Booking b;
            b.kind = d->creditNote ? Kind::CreditNote : Kind::Invoice;
            b.side = d->creditNote ? Side::Credit : Side::Debit;
            b.account = debtor(d->customerNumber, d->customerName);
            b.date = d->date;
            b.voucher = PadNumber(d->number);
            b.text = cut(d->customerName.trimmed(), 60);
            b.serviceDate = d->serviceDate.isValid() ? d->serviceDate : d->servicePeriodEnd;
            b.documentNumber = d->number;
            for (const RateAmount &r : ordered(d->rates)) {
                if (r.gross.roundedToCents().isZero())
                    continue;
                const auto revenue = settings.revenueAccount(r.rate, r.category);
                if (!revenue)
                    problems.add(QStringLiteral("%1: für %2 ist kein Erlöskonto eingestellt.")
                                     .arg(name, rateText(r.rate, r.category)));
                Booking p = b;
                p.contraAccount = revenue.value_or(0);
                if (normCategory(r.category) == QLatin1String("K")) {
                    // Tax-free only with the customer's VAT ID; DATEV reads it from this column.
                    p.vatId = vatIdText(d->customerVatId);
                    if (p.vatId.isEmpty())
                        problems.addCustomer(d->customerNumber, d->customerName,
                                             QStringLiteral("für die innergemeinschaftliche Lieferung fehlt die "
                                                            "USt-IdNr."));
                }
                addBooking(bookings, p, r.gross);
            }
        } else {
            const Payment *p = item.payment;
            const QString name = QStringLiteral("Zahlung zu Rechnung ") + PadNumber(p->invoiceNumber);
            if (outside(p->date))
                problems.add(QStringLiteral("%1 vom %2 liegt außerhalb des Zeitraums %3.")
                                 .arg(name, dateText(p->date), periodText()));
            Booking b;
            b.kind = Kind::Payment;
            b.side = Side::Debit;
            b.contraAccount = debtor(p->customerNumber, p->customerName);
            b.date = p->date;
            b.voucher = PadNumber(p->invoiceNumber);
            b.text = cut(p->customerName.trimmed(), 60);
            b.documentNumber = p->invoiceNumber;
            if (!p->paid.roundedToCents().isZero()) {
                if (settings.bankAccount <= 0)
                    problems.add(QStringLiteral("Es ist kein Bankkonto eingestellt."));
                Booking paid = b;
                paid.account = settings.bankAccount;
                addBooking(bookings, paid, p->paid);
            }
            if (p->skonto.roundedToCents().isZero())
                continue;
            const QList<RateAmount> rates = ordered(p->invoiceRates);
            const QList<Amount> shares = splitByRates(p->skonto, rates);
            if (shares.isEmpty())
                problems.add(QStringLiteral("%1: der Skonto lässt sich nicht auf die Steuersätze der Rechnung "
                                            "aufteilen, weil ihre Beträge fehlen.")
                                 .arg(name));
            for (int i = 0; i < shares.size(); ++i) {
                if (shares[i].isZero())
                    continue;
                const auto account = settings.skontoAccount(rates[i].rate, rates[i].category);
                if (!account)
                    problems.add(QStringLiteral("%1: für %2 ist kein Skontokonto eingestellt.")
                                     .arg(name, rateText(rates[i].rate, rates[i].category)));
                Booking s = b;
                s.kind = Kind::Skonto;
                s.account = account.value_or(0);
                addBooking(bookings, s, shares[i]);
            }
        }
    }
    if (!problems.list().isEmpty())
        return {{}, problems.list()};
    return {bookings, {}};
}

ExportResult exportBookingBatch(const Settings &settings, const Period &period, const QDateTime &created,
                                const QList<Document> &documents, const QList<Payment> &payments)
{
    ExportResult result;
    const Bookings built = buildBookings(settings, period, documents, payments);
    if (!built.problems.isEmpty()) {
        result.problems = built.problems;
        return result;
    }
    if (built.bookings.isEmpty()) {
        result.problems << QStringLiteral("Im Zeitraum %1 bis %2 gibt es nichts zu buchen.")
                               .arg(dateText(period.from), dateText(period.to));
        return result;
    }
    result.bytes = bookingBatchBytes(settings, period, created, built.bookings);
    result.bookingCount = built.bookings.size();
    return result;
}

QString bookingBatchFileName(const Period &period)
{
    return QStringLiteral("EXTF_Buchungsstapel_%1_%2.csv")
        .arg(period.from.toString(QStringLiteral("yyyyMMdd")), period.to.toString(QStringLiteral("yyyyMMdd")));
}

ExportResult exportDebtors(const Settings &settings, const QDateTime &created, const QList<Debtor> &debtors)
{
    Problems problems;
    checkSettings(settings, problems);
    QList<Debtor> sorted = debtors;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Debtor &a, const Debtor &b) { return a.customerNumber < b.customerNumber; });
    QList<QPair<qint64, Debtor>> accounts;
    for (const Debtor &d : sorted) {
        if (!accounts.isEmpty() && accounts.last().second.customerNumber == d.customerNumber)
            continue; // named twice by the caller: the first one counts
        const auto account = settings.debtorAccount(d.customerNumber);
        if (!account)
            problems.addCustomer(d.customerNumber, d.name, debtorRangeProblem(settings));
        const QString country = d.country.trimmed();
        if (!country.isEmpty()
            && (country.size() != 2 || !std::all_of(country.begin(), country.end(), [](QChar c) {
                    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
                })))
            problems.addCustomer(d.customerNumber, d.name,
                                 QStringLiteral("„%1“ ist kein Ländercode aus zwei Buchstaben.").arg(country));
        accounts << qMakePair(account.value_or(0), d);
    }
    if (accounts.isEmpty())
        problems.add(QStringLiteral("Es gibt keine Kunden zu übergeben."));
    ExportResult result;
    if (!problems.list().isEmpty()) {
        result.problems = problems.list();
        return result;
    }
    result.bytes = debtorBytes(settings, created, accounts);
    result.bookingCount = accounts.size();
    return result;
}

QString debtorFileName()
{
    return QStringLiteral("EXTF_Debitoren.csv");
}

} // namespace Datev
