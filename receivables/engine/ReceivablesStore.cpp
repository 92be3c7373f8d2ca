#include "ReceivablesStore.h"

#include "Database.h"
#include "DocumentHistory.h"
#include "Errors.h"
#include "Formats.h"
#include "SqlLiterals.h"
#include "InvoiceTerms.h"
#include "SqlQuery.h"
#include "TdmCommon.h"
#include "Transaction.h"

#include <QRegularExpression>

namespace {

QString num(qint64 value)
{
    return QString::number(value);
}

Amount amountOf(const QString &text)
{
    return text.isEmpty() ? Amount() : Amount::tryFromText(text).value_or(Amount());
}

// A typed customer or invoice number as a plain number ("000042" finds 42).
QString searchNumber(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,18}$"));
    if (!digits.match(text.trimmed()).hasMatch())
        throw ConversionError(QStringLiteral("'%1' ist keine gültige Nummer.").arg(text));
    return num(text.trimmed().toLongLong());
}

} // namespace

ReceivablesStore::ReceivablesStore(Database &db, TdmCommon &numbers) : m_db(db), m_numbers(numbers) {}

QList<OpenItemRow> ReceivablesStore::loadList(OpenItemFilter filter, SearchKind kind, const QString &search,
                                              const QDate &today, const OpenItemRow *after, int limit)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT rechnungen.BelegNr, rechnungen.Datum, rechnungenextra.Sconto, rechnungenop.ZZiel, "
                         "rechnungenop.EDatum, rechnungenop.Betrag, rechnungenop.RBetrag, rechnungenop.BDatum, "
                         "rechnungenop.Name, rechnungenop.MStufe, rechnungenop.Gebucht, rechnungenop.Skonto, "
                         "projekt.KNr, projekt.EFirma, projekt.PrNr, projekt.UID, rechnungenop.EDatum IS NULL"));
    q.add(QStringLiteral("FROM rechnungen, rechnungenextra, rechnungenop, projekt"));
    q.add(QStringLiteral("WHERE rechnungenop.RNR=rechnungen.BelegNr AND projekt.PrNr=rechnungen.ProjektNr AND "
                         "rechnungen.BelegNr=rechnungenextra.BelegNr"));
    q.add(OpenItemRules::filterCondition(filter, today));
    if (!search.trimmed().isEmpty())
        q.add((kind == SearchKind::Customer ? QStringLiteral("AND projekt.KNr ='%1'")
                                            : QStringLiteral("AND rechnungenop.RNR ='%1'"))
                  .arg(searchNumber(search)));
    if (after) {
        // The rows below the last one shown, in the order of the list; an item
        // without due date comes after every dated one.
        const QString n = num(after->invoice);
        if (after->dueDateNull)
            q.add(QStringLiteral("AND rechnungenop.EDatum IS NULL AND rechnungenop.RNR < %1").arg(n));
        else
            q.add(QStringLiteral("AND (rechnungenop.EDatum < '%1' OR (rechnungenop.EDatum = '%1' AND "
                                 "rechnungenop.RNR < %2) OR rechnungenop.EDatum IS NULL)")
                      .arg(SqlQuote(after->dueDate), n));
    }
    // NULLS LAST is what the file does anyway; the server needs to be told.
    q.add(QStringLiteral("ORDER BY rechnungenop.EDatum DESC NULLS LAST, rechnungenop.RNR DESC"));
    if (limit > 0)
        q.add(QStringLiteral("LIMIT %1").arg(limit));
    q.open();

    QList<OpenItemRow> rows;
    for (; !q.eof(); q.next()) {
        OpenItemRow r;
        r.invoice = StrToIntDef(q.fieldAt(0), 0);
        r.date = q.fieldAt(1);
        r.sconto = q.fieldAt(2);
        r.term = q.fieldAt(3);
        r.dueDate = q.fieldAt(4);
        r.dueDateNull = q.fieldAt(16) == QLatin1String("1");
        r.due = QDate::fromString(r.dueDate, QStringLiteral("dd.MM.yyyy"));
        r.amountText = q.fieldAt(5);
        r.amount = amountOf(r.amountText);
        r.remaining = amountOf(q.fieldAt(6));
        r.bookedOn = q.fieldAt(7);
        r.name = q.fieldAt(8);
        r.level = q.fieldAt(9);
        r.booked = q.fieldAt(10);
        r.skontoFlag = q.fieldAt(11);
        r.customer = StrToIntDef(q.fieldAt(12), 0);
        r.company = q.fieldAt(13);
        r.project = StrToIntDef(q.fieldAt(14), 0);
        r.uid = q.fieldAt(15);
        rows << r;
    }
    return rows;
}

ReceivablesStore::ContactPanel ReceivablesStore::loadContact(qint64 customer)
{
    ContactPanel c;
    c.company = m_numbers.GetContactTable(customer) == QLatin1String("firma");
    const QString n = num(customer);
    SqlQuery q(m_db);
    if (c.company) {
        q.add(QStringLiteral("SELECT firma.Name AS N, firma.Telefon AS T, adresse.Strasse AS S, adresse.PLZ AS P, "
                             "adresse.Ort AS O FROM firma, adresse, adressetofn"));
        q.add(QStringLiteral("WHERE firma.IDF=adressetofn.IDFN AND adressetofn.IDA=adresse.IDA AND "
                             "adressetofn.St='1' AND firma.IDF=%1")
                  .arg(n));
        q.open();
        c.name = q.field(QStringLiteral("N"));
    } else {
        q.add(QStringLiteral("SELECT name.VName AS VN, name.NName AS NN, name.Telefon AS T, name.Titel AS TI, "
                             "adresse.Strasse AS S, adresse.PLZ AS P, adresse.Ort AS O FROM name, adresse, adressetofn"));
        q.add(QStringLiteral("WHERE name.IDN=adressetofn.IDFN AND adressetofn.IDA=adresse.IDA AND "
                             "adressetofn.St='1' AND name.IDN=%1")
                  .arg(n));
        q.open();
        const QString title = q.field(QStringLiteral("TI"));
        c.name = (title.isEmpty() ? QString() : title + QLatin1Char(' ')) + q.field(QStringLiteral("VN"))
                 + QLatin1Char(' ') + q.field(QStringLiteral("NN"));
    }
    c.phone = q.field(QStringLiteral("T"));
    c.street = q.field(QStringLiteral("S"));
    c.postcode = q.field(QStringLiteral("P"));
    c.town = q.field(QStringLiteral("O"));
    if (!c.company) {
        c.contactPhone = c.phone;
        return c;
    }
    q.clear();
    q.add(QStringLiteral("SELECT name.Titel, name.VName, name.NName, name.IDN, nametofirma.Pos FROM name, nametofirma"));
    q.add(QStringLiteral("WHERE name.IDN=nametofirma.IDN AND nametofirma.IDF=%1").arg(n));
    for (q.open(); !q.eof(); q.next()) {
        QString name;
        for (const char *part : {"Titel", "VName"})
            if (const QString p = q.field(QLatin1String(part)); !p.isEmpty())
                name += p + QLatin1Char(' ');
        name += q.field(QStringLiteral("NName"));
        c.persons << ContactPerson{q.field(QStringLiteral("Pos")), name, q.fieldInt(QStringLiteral("IDN"))};
    }
    if (!c.persons.isEmpty())
        c.contactPhone = personPhone(c.persons.first().idn);
    return c;
}

QString ReceivablesStore::personPhone(qint64 idn)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT name.Telefon AS T FROM name WHERE name.IDN=%1").arg(idn));
    return q.field(QStringLiteral("T"));
}

InvoiceFigures ReceivablesStore::figures(qint64 invoice)
{
    const QString n = num(invoice);
    InvoiceFigures f;
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT Betrag FROM rechnungenop WHERE RNR=%1").arg(n));
    f.amount = q.fieldAmount(QStringLiteral("Betrag"));
    for (q.open(QStringLiteral("SELECT Betrag FROM gutschriftenop WHERE RNr='%1'").arg(n)); !q.eof(); q.next())
        f.credits += q.fieldAmount(QStringLiteral("Betrag"));
    for (q.open(QStringLiteral("SELECT Betrag FROM teilbuchung WHERE RNr='%1'").arg(n)); !q.eof(); q.next())
        f.payments += q.fieldAmount(QStringLiteral("Betrag"));
    q.open(QStringLiteral("SELECT Sconto FROM rechnungenextra WHERE BelegNr=%1").arg(n));
    f.sconto = q.field(QStringLiteral("Sconto"));
    return f;
}

bool ReceivablesStore::hasPostings(qint64 invoice)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT ID FROM teilbuchung WHERE RNr='%1'").arg(invoice));
    return !q.isEmpty();
}

QList<Posting> ReceivablesStore::postings(qint64 invoice)
{
    SqlQuery q(m_db);
    QList<Posting> out;
    for (q.open(QStringLiteral("SELECT Betrag, Datum, Text, Skonto FROM teilbuchung WHERE RNr='%1' ORDER BY Datum, ID")
                    .arg(invoice));
         !q.eof(); q.next())
        if (!q.field(QStringLiteral("Betrag")).isEmpty())
            out << Posting{q.field(QStringLiteral("Datum")), q.fieldAmount(QStringLiteral("Betrag")),
                           q.field(QStringLiteral("Skonto"))};
    return out;
}

std::optional<QDate> ReceivablesStore::skontoDeadline(qint64 invoice)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT rechnungen.Datum, rechnungenextra.ScontoText, projekt.KNr FROM rechnungen "
                          "JOIN rechnungenextra ON rechnungenextra.BelegNr=rechnungen.BelegNr LEFT JOIN projekt "
                          "ON projekt.PrNr=rechnungen.ProjektNr WHERE rechnungen.BelegNr=%1")
               .arg(invoice));
    const QString date = q.field(QStringLiteral("Datum"));
    if (!IsValidDateText(date))
        return std::nullopt;
    const auto days = InvoiceTerms::skontoDays(m_db, q.field(QStringLiteral("ScontoText")),
                                               q.fieldInt(QStringLiteral("KNr")));
    if (!days)
        return std::nullopt;
    return InvoiceTerms::skontoDeadline(StrToDate(date), *days);
}

QPair<QString, QString> ReceivablesStore::skontoText(qint64 invoice)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT ScontoText, Sconto FROM rechnungenextra WHERE BelegNr='%1'").arg(invoice));
    return {q.field(QStringLiteral("ScontoText")), q.field(QStringLiteral("Sconto"))};
}

void ReceivablesStore::book(qint64 invoice, const InvoiceFigures &seen, const PaymentRules::Booking &booking,
                            const QDate &date)
{
    const QString n = num(invoice);
    const QString day = DateToStr(date);
    SqlQuery q(m_db);
    Transaction transaction(m_db);
    // The amounts were shown to the user before the transaction began; a booking
    // made meanwhile on another workstation would make them wrong.
    if (figures(invoice) != seen)
        throw OrvellaError(QStringLiteral("Die Rechnung %1 wurde inzwischen an einem anderen Arbeitsplatz gebucht "
                                          "oder geändert. Es wurde nichts gebucht; bitte prüfen Sie die Beträge "
                                          "und buchen Sie erneut.")
                               .arg(PadNumber(invoice)));
    q.execSql(QStringLiteral("UPDATE rechnungenop SET RBetrag=%1, BDatum='%2', ZText='', Gebucht='%3', Skonto='%4' "
                             "WHERE RNR=%5")
                  .arg(booking.remaining.toSqlText(), day, booking.settles() ? QStringLiteral("J") : QStringLiteral("N"),
                       booking.withSkonto ? QStringLiteral("J") : QStringLiteral("N"), n));
    if (q.rowsAffected() != 1)
        throw OrvellaError(
            QStringLiteral("Zur Rechnung %1 gibt es keinen offenen Posten. Es wurde nichts gebucht.").arg(PadNumber(invoice)));
    const QString skonto = !booking.withSkonto ? QStringLiteral("N") : booking.skontoLate ? QStringLiteral("S")
                                                                                          : QStringLiteral("J");
    q.execSql(QStringLiteral("INSERT INTO teilbuchung (RNr, Betrag, Datum, Text, Skonto) VALUES ('%1',%2,'%3','','%4')")
                  .arg(n, booking.posted.toSqlText(), day, skonto));
    DocumentHistory::markIssued(q, DocumentKind::Rechnung, invoice, DocumentHistory::ByPayment);
    transaction.commit();
}

QList<Amount> ReceivablesStore::outstandingAmounts(const QList<OpenItemRow> &rows)
{
    QHash<qint64, Amount> deducted;
    SqlQuery q(m_db);
    for (const char *sql : {"SELECT RNr, SUM(Betrag) AS S FROM teilbuchung GROUP BY RNr",
                            "SELECT RNr, SUM(Betrag) AS S FROM gutschriftenop GROUP BY RNr"})
        for (q.open(QString::fromLatin1(sql)); !q.eof(); q.next())
            deducted[q.fieldInt(QStringLiteral("RNr"))] += q.fieldAmount(QStringLiteral("S")).roundedToCents();
    QList<Amount> out;
    out.reserve(rows.size());
    for (const OpenItemRow &r : rows)
        out << (OpenItemRules::isSettled(r) ? r.remaining : (r.amount - deducted.value(r.invoice)).roundedToCents());
    return out;
}
