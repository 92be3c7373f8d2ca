#include "DatevExportStore.h"

#include "Database.h"
#include "DocumentStore.h"
#include "EInvoice.h"
#include "Formats.h"
#include "SqlLiterals.h"
#include "SqlQuery.h"
#include "Totals.h"
#include "Transaction.h"
#include "VatTableStore.h"

#include <QHash>
#include <QMap>

#include <algorithm>

namespace {

const QString Revenue = QStringLiteral("Erloes");
const QString Skonto = QStringLiteral("Skonto");

QString accountKey(const QString &kind, const Datev::TaxKey &key)
{
    return QStringLiteral("%1|%2|%3").arg(kind, key.rate.toSqlText(), key.category);
}

QDate dateOf(const QString &text)
{
    return QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
}

// The gross amount of each rate of a document: the rate's lines after the
// document's discount plus its VAT, in cents; what rounding leaves over goes to the
// largest rate, so the rates add up to total exactly.
QList<Datev::RateAmount> grossByRate(const TotalsBreakdown &b, const QList<EInvoice::VatCategory> &categories,
                                     Amount total)
{
    QList<Datev::RateAmount> out;
    Amount sum;
    for (const TotalsBreakdown::Rate &r : b.rates) {
        const Amount net = r.lineNet - Amount::mulDiv(r.lineNet, b.discountPercent, 100);
        Datev::RateAmount a{r.rate, EInvoice::categoryOf(r.rate, categories).code, (net + r.vat).roundedToCents()};
        if (a.category.isEmpty())
            a.category = QStringLiteral("S");
        sum += a.gross;
        out << a;
    }
    if (out.isEmpty()) {
        out << Datev::RateAmount{Amount(), QStringLiteral("S"), total};
        return out;
    }
    auto largest = std::max_element(out.begin(), out.end(), [](const Datev::RateAmount &x, const Datev::RateAmount &y) {
        return (x.gross.isNegative() ? -x.gross : x.gross) < (y.gross.isNegative() ? -y.gross : y.gross);
    });
    largest->gross += total - sum;
    return out;
}

} // namespace

DatevExportStore::DatevExportStore(Database &db) : m_db(db) {}

QDate DatevExportStore::fiscalYearStart(const QDate &dayAndMonth, const QDate &day)
{
    const int m = dayAndMonth.isValid() ? dayAndMonth.month() : 1;
    const int d = dayAndMonth.isValid() ? dayAndMonth.day() : 1;
    QDate start(day.year(), m, std::min(d, QDate(day.year(), m, 1).daysInMonth()));
    if (start > day)
        start = QDate(day.year() - 1, m, std::min(d, QDate(day.year() - 1, m, 1).daysInMonth()));
    return start;
}

Datev::Settings DatevExportStore::loadSettings()
{
    SqlQuery q(m_db);
    QMap<QString, QString> v;
    for (q.open(QStringLiteral("SELECT Schluessel, Wert FROM datev")); !q.eof(); q.next())
        v.insert(q.field(QStringLiteral("Schluessel")), q.field(QStringLiteral("Wert")));
    const Datev::Chart chart =
        v.value(QStringLiteral("Kontenrahmen")) == QLatin1String("SKR04") ? Datev::Chart::Skr04 : Datev::Chart::Skr03;
    Datev::Settings s = Datev::Settings::presets(chart);
    s.fiscalYearStart = QDate(2000, 1, 1);
    if (v.isEmpty())
        return s;
    s.revenueAccounts.clear();
    s.skontoAccounts.clear();
    s.consultantNumber = v.value(QStringLiteral("Beraternummer"));
    s.clientNumber = v.value(QStringLiteral("Mandantennummer"));
    if (const QDate d = QDate::fromString(v.value(QStringLiteral("WJBeginn")) + QStringLiteral("2000"),
                                          QStringLiteral("dd.MM.yyyy"));
        d.isValid())
        s.fiscalYearStart = d;
    s.accountLength = int(StrToIntDef(v.value(QStringLiteral("Sachkontenlaenge")), 4));
    s.bankAccount = StrToIntDef(v.value(QStringLiteral("Bank")), 0);
    s.debtorBase = StrToIntDef(v.value(QStringLiteral("DebitorBasis")), 10000);
    s.debtorMin = StrToIntDef(v.value(QStringLiteral("DebitorVon")), 10000);
    s.debtorMax = StrToIntDef(v.value(QStringLiteral("DebitorBis")), 69999);
    for (auto it = v.cbegin(); it != v.cend(); ++it) {
        const QStringList parts = it.key().split(QLatin1Char('|'));
        if (parts.size() != 3 || (parts[0] != Revenue && parts[0] != Skonto))
            continue;
        const std::optional<Amount> rate = Amount::parseInput(QString(parts[1]).replace(QLatin1Char('.'), QLatin1Char(',')));
        bool ok = false;
        const qint64 account = it.value().toLongLong(&ok);
        if (!rate || !ok)
            continue;
        (parts[0] == Revenue ? s.revenueAccounts : s.skontoAccounts)[Datev::TaxKey(*rate, parts[2])] = account;
    }
    return s;
}

void DatevExportStore::saveSettings(const Datev::Settings &s)
{
    QList<std::pair<QString, QString>> rows = {
        {QStringLiteral("Beraternummer"), s.consultantNumber.trimmed()},
        {QStringLiteral("Mandantennummer"), s.clientNumber.trimmed()},
        {QStringLiteral("WJBeginn"), s.fiscalYearStart.isValid() ? s.fiscalYearStart.toString(QStringLiteral("dd.MM."))
                                                                 : QStringLiteral("01.01.")},
        {QStringLiteral("Sachkontenlaenge"), QString::number(s.accountLength)},
        {QStringLiteral("Kontenrahmen"), s.chart == Datev::Chart::Skr04 ? QStringLiteral("SKR04") : QStringLiteral("SKR03")},
        {QStringLiteral("Bank"), QString::number(s.bankAccount)},
        {QStringLiteral("DebitorBasis"), QString::number(s.debtorBase)},
        {QStringLiteral("DebitorVon"), QString::number(s.debtorMin)},
        {QStringLiteral("DebitorBis"), QString::number(s.debtorMax)},
    };
    for (const auto &[key, account] : s.revenueAccounts)
        rows.append({accountKey(Revenue, key), QString::number(account)});
    for (const auto &[key, account] : s.skontoAccounts)
        rows.append({accountKey(Skonto, key), QString::number(account)});
    Transaction t(m_db);
    SqlQuery q(m_db);
    q.execSql(QStringLiteral("DELETE FROM datev"));
    QStringList values;
    for (const auto &[key, value] : rows)
        values << QStringLiteral("('%1', '%2')").arg(SqlQuote(key), SqlQuote(value));
    q.insertRows(QStringLiteral("INSERT INTO datev (Schluessel, Wert)"), values);
    t.commit();
}

DatevExportStore::PeriodRecords DatevExportStore::read(const Datev::Period &period)
{
    PeriodRecords out;
    const QString from = DateToStr(period.from), to = DateToStr(period.to);
    const QList<EInvoice::VatCategory> categories = VatTableStore(m_db).categories();
    DocumentStore documents(m_db);
    SqlQuery q(m_db);

    struct Customer
    {
        qint64 number = 0;
        QString name, vatId;
    };
    // The customer of an invoice: the project's, named as on the open item.
    const auto customerOf = [&](qint64 invoice) {
        SqlQuery c(m_db);
        c.open(QStringLiteral("SELECT p.KNr, p.UID, op.Name FROM rechnungen r LEFT JOIN projekt p ON p.PrNr = r.ProjektNr "
                              "LEFT JOIN rechnungenop op ON op.RNR = r.BelegNr WHERE r.BelegNr = %1")
                   .arg(invoice));
        return Customer{c.fieldInt(QStringLiteral("KNr")), c.field(QStringLiteral("Name")), c.field(QStringLiteral("UID"))};
    };
    QHash<qint64, QList<Datev::RateAmount>> invoiceRates;
    const QList<Amount> tableRates = Totals::readRates(m_db);
    // A stored invoice or credit note as the export takes it: its customer is the
    // one of invoice, its rates add up to amount.
    const auto documentOf = [&](DocumentKind kind, qint64 number, qint64 invoice, Amount amount) {
        DocumentStore::Loaded loaded = documents.load(kind, number);
        Document &d = loaded.document;
        const Customer c = customerOf(invoice);
        Datev::Document doc;
        doc.number = number;
        doc.creditNote = kind == DocumentKind::Gutschrift;
        doc.date = dateOf(d.date);
        doc.serviceDate = dateOf(d.serviceDate);
        doc.servicePeriodEnd = dateOf(d.serviceDateTo);
        doc.customerNumber = c.number;
        doc.customerName = c.name;
        doc.customerVatId = c.vatId;
        const TotalsBreakdown b = Totals::compute(d.lines, d.totals, tableRates, QStringLiteral("€"), d.grossRule);
        doc.rates = grossByRate(b, categories, amount);
        return doc;
    };

    // Invoices, with the amount their open item counts.
    QList<std::pair<qint64, Amount>> invoices;
    for (q.open(QStringLiteral("SELECT r.BelegNr, op.Betrag FROM rechnungen r JOIN rechnungenop op ON op.RNR = r.BelegNr "
                               "WHERE r.Datum >= '%1' AND r.Datum <= '%2' ORDER BY r.BelegNr")
                    .arg(from, to));
         !q.eof(); q.next())
        invoices.append({q.fieldInt(QStringLiteral("BelegNr")), q.fieldAmount(QStringLiteral("Betrag"))});
    for (const auto &[number, amount] : invoices) {
        out.documents << documentOf(DocumentKind::Rechnung, number, number, amount);
        invoiceRates.insert(number, out.documents.back().rates);
    }

    // Credit notes, with the amount they take off their invoice's open item.
    QList<std::tuple<qint64, qint64, Amount>> credits;
    for (q.open(QStringLiteral("SELECT g.BelegNr, g.ReNr, go.Betrag FROM gutschriften g "
                               "JOIN gutschriftenop go ON go.BelegNr = g.BelegNr "
                               "WHERE g.Datum >= '%1' AND g.Datum <= '%2' ORDER BY g.BelegNr")
                    .arg(from, to));
         !q.eof(); q.next())
        credits.append({q.fieldInt(QStringLiteral("BelegNr")), q.fieldInt(QStringLiteral("ReNr")),
                        q.fieldAmount(QStringLiteral("Betrag"))});
    for (const auto &[number, invoice, amount] : credits)
        out.documents << documentOf(DocumentKind::Gutschrift, number, invoice, amount);

    // Postings: each invoice's postings are walked in the order they were booked,
    // so the one that took Skonto knows what was left. The open item keeps what
    // remained after its last posting; a Skonto posting before others settled
    // the invoice.
    QList<qint64> paid;
    for (q.open(QStringLiteral("SELECT DISTINCT RNr FROM teilbuchung WHERE Datum >= '%1' AND Datum <= '%2' ORDER BY RNr")
                    .arg(from, to));
         !q.eof(); q.next())
        paid << q.fieldInt(QStringLiteral("RNr"));
    for (const qint64 invoice : paid) {
        SqlQuery p(m_db);
        p.open(QStringLiteral("SELECT op.Betrag, op.RBetrag, (SELECT SUM(Betrag) FROM gutschriftenop WHERE RNr = %1) AS "
                              "Gutschriften, (SELECT COUNT(*) FROM teilbuchung WHERE RNr = %1) AS Buchungen "
                              "FROM rechnungenop op WHERE op.RNR = %1")
                   .arg(invoice));
        Amount left = p.fieldAmount(QStringLiteral("Betrag")) - p.fieldAmount(QStringLiteral("Gutschriften"));
        const Amount remainingAtLast = p.fieldAmount(QStringLiteral("RBetrag"));
        const qint64 postings = p.fieldInt(QStringLiteral("Buchungen"));
        const Customer c = customerOf(invoice);
        if (!invoiceRates.contains(invoice))
            invoiceRates.insert(invoice,
                                documentOf(DocumentKind::Rechnung, invoice, invoice, p.fieldAmount(QStringLiteral("Betrag"))).rates);
        qint64 index = 0;
        for (p.open(QStringLiteral("SELECT Betrag, Datum, Skonto FROM teilbuchung WHERE RNr = %1 ORDER BY ID").arg(invoice));
             !p.eof(); p.next()) {
            const Amount amount = p.fieldAmount(QStringLiteral("Betrag"));
            const QString mark = p.field(QStringLiteral("Skonto"));
            const bool withSkonto = mark == QLatin1String("J") || mark == QLatin1String("S");
            const Amount after = ++index == postings ? remainingAtLast : Amount();
            const Amount taken = left - amount - after;
            const Amount skonto = withSkonto && taken > Amount() ? taken : Amount();
            left = withSkonto ? after : left - amount;
            const QDate date = dateOf(p.field(QStringLiteral("Datum")));
            if (date < period.from || date > period.to)
                continue;
            out.payments << Datev::Payment{invoice, date, amount, skonto.roundedToCents(), invoiceRates.value(invoice),
                                           c.number, c.name};
        }
    }

    // The customers, with their main address, for the master data.
    QList<qint64> customers;
    for (const Datev::Document &d : std::as_const(out.documents))
        customers << d.customerNumber;
    for (const Datev::Payment &p : std::as_const(out.payments))
        customers << p.customerNumber;
    std::sort(customers.begin(), customers.end());
    customers.erase(std::unique(customers.begin(), customers.end()), customers.end());
    for (const qint64 number : customers) {
        Datev::Debtor debtor;
        debtor.customerNumber = number;
        q.open(QStringLiteral("SELECT f.Name AS FName, n.VName, n.NName, a.Strasse, a.PLZ, a.Ort, a.Land, "
                              "fm.UID AS FUID, nm.UID AS NUID FROM adressetofn t JOIN adresse a ON a.IDA = t.IDA "
                              "LEFT JOIN firma f ON f.IDF = t.IDFN LEFT JOIN name n ON n.IDN = t.IDFN "
                              "LEFT JOIN firmamehr fm ON fm.IDF = t.IDFN LEFT JOIN namemehr nm ON nm.IDN = t.IDFN "
                              "WHERE t.IDFN = %1 AND t.St = '1'")
                   .arg(number));
        const QString company = q.field(QStringLiteral("FName"));
        debtor.name = !company.isEmpty() ? company
                                         : (q.field(QStringLiteral("VName")) + QLatin1Char(' ') + q.field(QStringLiteral("NName"))).trimmed();
        debtor.street = q.field(QStringLiteral("Strasse"));
        debtor.postcode = q.field(QStringLiteral("PLZ"));
        debtor.city = q.field(QStringLiteral("Ort"));
        debtor.country = EInvoice::countryCode(q.field(QStringLiteral("Land")));
        debtor.vatId = !q.field(QStringLiteral("FUID")).isEmpty() ? q.field(QStringLiteral("FUID")) : q.field(QStringLiteral("NUID"));
        if (debtor.name.isEmpty())
            for (const Datev::Document &d : std::as_const(out.documents))
                if (d.customerNumber == number)
                    debtor.name = d.customerName;
        out.debtors << debtor;
    }
    return out;
}
