// Matching of a bank statement against open invoices: a generated CAMT.053
// statement of 500 credit entries against 20,000 open invoices, with the purpose
// texts customers write, typing errors in names, two invoices paid at once,
// Skonto and part payments, payers paying from an unknown account and a tenth of
// entries that belong to no invoice (some naming an open invoice with another
// amount, or paying the amount of one without naming it). Prints the share of
// matchable entries matched automatically, the entries matched to a wrong
// invoice (must be 0) and the time of reading and matching.
//   bench_bankmatch
#include "BankStatement.h"
#include "PaymentMatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSet>

#include <cstdio>

namespace {

const char *const trades[] = {"Elektro", "Bäckerei", "Sanitär", "Holzbau", "Druckerei", "Malerbetrieb",
                              "Autohaus", "Gärtnerei", "Metallbau", "Fliesen"};
const char *const lastNames[] = {"Müller",  "Schmidt", "Schneider", "Fischer", "Weber",   "Meyer",  "Wagner",
                                 "Becker",  "Schulz",  "Hoffmann",  "Koch",    "Richter", "Klein",  "Wolf",
                                 "Schröder", "Neumann", "Schwarz",  "Zimmermann", "Braun", "Krüger", "Hofmann",
                                 "Hartmann", "Lange",  "Schmitt",   "Werner",  "Krause",  "Meier",  "Lehmann"};
const char *const towns[] = {"Ulm", "Köln", "Gera", "Trier", "Passau", "Fulda", "Jena", "Lübeck"};

constexpr int Customers = 2000;
constexpr int Invoices = 20000;
const QDate Booked(2026, 12, 1);

QString iban(QRandomGenerator &r)
{
    QString s = QStringLiteral("DE");
    for (int i = 0; i < 20; ++i)
        s += QChar(u'0' + r.bounded(10));
    return s;
}

// A typing error: two letters swapped or one left out, in the longest word.
QString misspelt(const QString &name, QRandomGenerator &r)
{
    QStringList words = name.split(QLatin1Char(' '));
    int longest = 0;
    for (int i = 1; i < words.size(); ++i)
        if (words[i].size() > words[longest].size())
            longest = i;
    QString &w = words[longest];
    const int at = 1 + r.bounded(int(w.size()) - 2);
    if (r.bounded(2))
        std::swap(w[at], w[at + 1]);
    else
        w.remove(at, 1);
    return words.join(QLatin1Char(' '));
}

QString escaped(QString s)
{
    return s.replace(QLatin1Char('&'), QStringLiteral("&amp;")).replace(QLatin1Char('<'), QStringLiteral("&lt;"));
}

struct Generated
{
    StatementEntry entry;
    QList<qint64> truth; // the invoices it pays; empty for none
};

QString camt(const QList<Generated> &entries)
{
    QString x = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Document "
                               "xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.08\"><BkToCstmrStmt><GrpHdr>"
                               "<MsgId>BENCH1</MsgId><CreDtTm>2026-12-01T18:00:00</CreDtTm></GrpHdr><Stmt><Id>BENCH-1</Id>"
                               "<Acct><Id><IBAN>DE02120300000000202051</IBAN></Id><Ccy>EUR</Ccy></Acct>\n");
    int ref = 0;
    for (const Generated &g : entries) {
        const StatementEntry &e = g.entry;
        const QString amount = e.amount.toSqlText().contains(QLatin1Char('.')) ? e.amount.toSqlText()
                                                                                 : e.amount.toSqlText() + ".00";
        x += QStringLiteral("<Ntry><Amt Ccy=\"EUR\">%1</Amt><CdtDbtInd>CRDT</CdtDbtInd><Sts><Cd>BOOK</Cd></Sts>"
                            "<BookgDt><Dt>%2</Dt></BookgDt><ValDt><Dt>%2</Dt></ValDt><AcctSvcrRef>REF%3</AcctSvcrRef>"
                            "<NtryDtls><TxDtls><Amt Ccy=\"EUR\">%1</Amt><RltdPties><Dbtr><Pty><Nm>%4</Nm></Pty></Dbtr>"
                            "<DbtrAcct><Id><IBAN>%5</IBAN></Id></DbtrAcct></RltdPties><RmtInf><Ustrd>%6</Ustrd>"
                            "</RmtInf></TxDtls></NtryDtls></Ntry>\n")
                 .arg(amount, Booked.toString(Qt::ISODate), QString::number(++ref), escaped(e.counterpartyName),
                      e.counterpartyIban, escaped(e.purpose));
    }
    return x + QStringLiteral("</Stmt></BkToCstmrStmt></Document>\n");
}

QString numberText(qint64 n, QRandomGenerator &r)
{
    const QString zeros = QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0'));
    switch (r.bounded(7)) {
    case 0: return QStringLiteral("Rechnung ") + zeros;
    case 1: return QStringLiteral("RE ") + QString::number(n);
    case 2: return QStringLiteral("Re-Nr. ") + QString::number(n);
    case 3: return QStringLiteral("Rg. ") + zeros;
    case 4: return QStringLiteral("ZahlungRE") + zeros + QStringLiteral("Kd4711");
    case 5: return QStringLiteral("Rechnung") + zeros;
    default: return QStringLiteral("Rechnungsnr.: ") + QString::number(n);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QRandomGenerator r(2026);
    QStringList names, ibans;
    for (int c = 0; c < Customers; ++c) {
        names << QStringLiteral("%1 %2 %3 GmbH")
                     .arg(QString::fromUtf8(trades[c % 10]), QString::fromUtf8(lastNames[(c / 10) % 28]),
                          QString::fromUtf8(towns[c / 280]))
                     .replace(QStringLiteral(" GmbH"), c % 3 ? QStringLiteral(" GmbH") : QStringLiteral(" KG"));
        ibans << (c % 10 < 7 ? iban(r) : QString());
    }
    QList<OpenInvoice> invoices;
    for (int i = 0; i < Invoices; ++i) {
        OpenInvoice inv;
        inv.number = 1000 + i;
        inv.customer = i % Customers;
        inv.customerName = names[int(inv.customer)];
        if (!ibans[int(inv.customer)].isEmpty())
            inv.ibans << ibans[int(inv.customer)];
        inv.outstanding = Amount::fromRaw((2000 + r.bounded(998000)) * 100);
        if (i % 3 == 0) {
            inv.withSkonto = (inv.outstanding - Amount::mulDiv(inv.outstanding, Amount::fromUnits(2), 100)).roundedToCents();
            inv.skontoDeadline = Booked.addDays(r.bounded(2) ? 5 : -5);
        }
        invoices << inv;
    }

    // entries: kind by position; each invoice paid at most once
    QSet<qint64> used;
    const auto pick = [&](auto &&fits) -> const OpenInvoice & {
        for (;;) {
            const OpenInvoice &inv = invoices[r.bounded(Invoices)];
            if (!used.contains(inv.number) && fits(inv)) {
                used.insert(inv.number);
                return inv;
            }
        }
    };
    const auto any = [](const OpenInvoice &) { return true; };
    QList<Generated> entries;
    for (int k = 0; k < 500; ++k) {
        Generated g;
        StatementEntry &e = g.entry;
        e.bookingDate = e.valueDate = Booked;
        e.credit = true;
        e.currency = QStringLiteral("EUR");
        if (k < 150) { // the number and the whole amount
            const OpenInvoice &inv = pick(any);
            e.amount = inv.outstanding;
            e.counterpartyName = names[int(inv.customer)];
            e.counterpartyIban = r.bounded(2) ? ibans[int(inv.customer)] : iban(r);
            e.purpose = numberText(inv.number, r) + QStringLiteral(" vom 12.11.2026");
            g.truth = {inv.number};
        } else if (k < 190) { // two invoices of one customer at once
            const OpenInvoice &a = pick(any);
            const OpenInvoice &b = pick([&](const OpenInvoice &i) { return i.customer == a.customer; });
            e.amount = a.outstanding + b.outstanding;
            e.counterpartyName = names[int(a.customer)];
            e.counterpartyIban = ibans[int(a.customer)];
            e.purpose = numberText(a.number, r) + QStringLiteral(" und ") + numberText(b.number, r);
            g.truth = {a.number, b.number};
        } else if (k < 240) { // Skonto within its period
            const OpenInvoice &inv = pick([](const OpenInvoice &i) { return i.skontoDeadline && *i.skontoDeadline >= Booked; });
            e.amount = *inv.withSkonto;
            e.counterpartyName = names[int(inv.customer)];
            e.counterpartyIban = ibans[int(inv.customer)];
            e.purpose = numberText(inv.number, r) + QStringLiteral(" abzgl. 2% Skonto");
            g.truth = {inv.number};
        } else if (k < 280) { // part payment by a known payer
            const OpenInvoice &inv = pick([&](const OpenInvoice &i) { return !ibans[int(i.customer)].isEmpty(); });
            e.amount = Amount::mulDiv(inv.outstanding, Amount::fromUnits(30 + r.bounded(40)), 100).roundedToCents();
            e.counterpartyName = names[int(inv.customer)];
            e.counterpartyIban = ibans[int(inv.customer)];
            e.purpose = QStringLiteral("Teilzahlung ") + numberText(inv.number, r);
            g.truth = {inv.number};
        } else if (k < 360) { // no number: a known account and the amount
            const OpenInvoice &inv = pick([&](const OpenInvoice &i) { return !ibans[int(i.customer)].isEmpty(); });
            e.amount = inv.outstanding;
            e.counterpartyName = names[int(inv.customer)].toUpper();
            e.counterpartyIban = ibans[int(inv.customer)];
            e.purpose = QStringLiteral("Vielen Dank fuer den Auftrag");
            g.truth = {inv.number};
        } else if (k < 420) { // no number, an unknown account, a misspelt name
            const OpenInvoice &inv = pick(any);
            e.amount = inv.outstanding;
            e.counterpartyName = misspelt(names[int(inv.customer)], r);
            e.counterpartyIban = iban(r);
            e.purpose = QStringLiteral("Zahlung Dezember");
            g.truth = {inv.number};
        } else if (k < 450) { // the number, from a stranger's account
            const OpenInvoice &inv = pick(any);
            e.amount = inv.outstanding;
            e.counterpartyName = QStringLiteral("Privatkonto Hans Dampf");
            e.counterpartyIban = iban(r);
            e.purpose = numberText(inv.number, r);
            g.truth = {inv.number};
        } else { // belongs to no invoice, some made to look as if
            e.amount = Amount::fromRaw((100 + r.bounded(99900)) * 100);
            e.counterpartyName = QStringLiteral("Finanzamt Erstattung %1").arg(k);
            e.counterpartyIban = iban(r);
            e.purpose = QStringLiteral("Erstattung Umsatzsteuer 2025 Steuernr 12/345/67890");
            if (k % 3 == 0) // a stranger names an open invoice with another amount
                e.purpose = numberText(invoices[r.bounded(Invoices)].number, r);
            else if (k % 3 == 1) // the amount of an open invoice, nothing else
                e.amount = invoices[r.bounded(Invoices)].outstanding;
        }
        entries << g;
    }
    const QByteArray file = camt(entries).toUtf8();

    QElapsedTimer t;
    t.start();
    const StatementFile read = StatementReader::read(file, QStringLiteral("bench.xml"));
    if (!read.ok() || read.statements.size() != 1 || read.statements.front().entries.size() != entries.size()) {
        std::printf("the generated statement was not read: %s\n", qPrintable(read.error));
        return 1;
    }
    PaymentMatcher matcher(invoices);
    QList<EntryMatch> matches;
    for (const StatementEntry &e : read.statements.front().entries)
        matches << matcher.match(e);
    const qint64 ms = t.elapsed();

    int matchable = 0, right = 0, wrong = 0, uncertain = 0;
    for (int i = 0; i < entries.size(); ++i) {
        QList<qint64> got;
        for (const MatchedInvoice &m : matches[i].invoices)
            got << m.invoice;
        std::sort(got.begin(), got.end());
        QList<qint64> truth = entries[i].truth;
        std::sort(truth.begin(), truth.end());
        matchable += !truth.isEmpty();
        if (matches[i].certainty == MatchCertainty::Matched) {
            if (got == truth)
                ++right;
            else {
                ++wrong;
                std::printf("wrong: entry %d '%s' -> %s\n", i, qPrintable(entries[i].entry.purpose),
                            qPrintable(matches[i].reason));
            }
        } else if (!truth.isEmpty()) {
            ++uncertain;
            if (argc > 1)
                std::printf("not matched: entry %d '%s' %s: %s\n", i, qPrintable(entries[i].entry.purpose),
                            qPrintable(entries[i].entry.counterpartyName), qPrintable(matches[i].reason));
        }
    }
    std::printf("entries %lld, matchable %d, matched automatically %d (%.1f %%), matched wrongly %d\n",
                qlonglong(entries.size()), matchable, right, 100.0 * right / matchable, wrong);
    std::printf("reading and matching took %lld ms\n", qlonglong(ms));
    return wrong == 0 ? 0 : 1;
}
