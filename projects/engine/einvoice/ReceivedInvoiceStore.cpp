#include "ReceivedInvoiceStore.h"

#include "ContactStore.h"
#include "Database.h"
#include "EInvoice.h"
#include "Errors.h"
#include "Formats.h"
#include "Identifiers.h"
#include "SqlLiterals.h"
#include "SqlQuery.h"
#include "SqlText.h"
#include "TdmCommon.h"
#include "Transaction.h"

#include <QCryptographicHash>

namespace {

QString compactColumn(const QString &column)
{
    return QStringLiteral("UPPER(REPLACE(%1, ' ', ''))").arg(column);
}

QString optionalDate(const QDate &date)
{
    return date.isValid() ? QStringLiteral("'%1'").arg(DateToStr(date)) : QStringLiteral("NULL");
}

const QString Columns = QStringLiteral(
    "ID, Eingang, Dateiname, SHA256, Kontakt, Lieferant, RechnungsNr, Datum, Brutto, Faellig, Status, Gutschrift, "
    "Beanstandungen, Benutzer");

QDate dateField(const SqlQuery &q, const QString &name)
{
    return QDate::fromString(q.field(name), QStringLiteral("dd.MM.yyyy"));
}

} // namespace

ReceivedInvoiceStore::ReceivedInvoiceStore(Database &db, TdmCommon &numbers) : m_db(db), m_numbers(numbers) {}

QString ReceivedInvoiceStore::sha256(const QByteArray &content)
{
    return QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
}

std::optional<SupplierMatch> ReceivedInvoiceStore::matchSeller(const ReceivedInvoice &invoice)
{
    SqlQuery q(m_db);
    const auto lookUp = [&](const QString &column, const QString &value, const QString &by) -> std::optional<SupplierMatch> {
        if (value.isEmpty())
            return std::nullopt;
        const QString literal = SqlText(value);
        q.open(QStringLiteral("SELECT f.IDF AS Nr, f.Name AS Name, f.St AS St FROM firma f JOIN firmamehr m ON m.IDF = f.IDF "
                              "WHERE %1 = %2 ORDER BY CASE WHEN f.St = '0' THEN 1 ELSE 0 END, f.IDF")
                   .arg(compactColumn(QStringLiteral("m.") + column), literal));
        if (!q.eof())
            return SupplierMatch{q.fieldInt(QStringLiteral("Nr")), true, q.field(QStringLiteral("Name")), by};
        q.open(QStringLiteral("SELECT n.IDN AS Nr, n.VName AS VName, n.NName AS NName FROM name n "
                              "JOIN namemehr m ON m.IDN = n.IDN WHERE %1 = %2 "
                              "ORDER BY CASE WHEN n.St = '0' THEN 1 ELSE 0 END, n.IDN")
                   .arg(compactColumn(QStringLiteral("m.") + column), literal));
        if (!q.eof())
            return SupplierMatch{q.fieldInt(QStringLiteral("Nr")), false,
                                 (q.field(QStringLiteral("VName")) + QLatin1Char(' ') + q.field(QStringLiteral("NName"))).trimmed(),
                                 by};
        return std::nullopt;
    };
    if (auto m = lookUp(QStringLiteral("UID"), CompactIdentifier(invoice.seller.vatId), QStringLiteral("USt-IdNr.")))
        return m;
    // On a credit note the account stated is the one the money goes to: ours.
    if (!invoice.isCreditNote())
        if (auto m = lookUp(QStringLiteral("IBAN"), CompactIdentifier(invoice.iban), QStringLiteral("IBAN")))
            return m;
    const QString name = invoice.seller.name.trimmed();
    if (name.isEmpty())
        return std::nullopt;
    q.open(QStringLiteral("SELECT IDF AS Nr, Name FROM firma WHERE LOWER(Name) = LOWER(%1) "
                          "ORDER BY CASE WHEN St = '0' THEN 1 ELSE 0 END, IDF")
               .arg(SqlText(name)));
    if (!q.eof())
        return SupplierMatch{q.fieldInt(QStringLiteral("Nr")), true, q.field(QStringLiteral("Name")), QStringLiteral("Name")};
    return std::nullopt;
}

std::optional<FiledInvoice> ReceivedInvoiceStore::findFiled(const QByteArray &content)
{
    const QList<FiledInvoice> rows = read(QStringLiteral("WHERE SHA256 = '%1'").arg(sha256(content)));
    return rows.isEmpty() ? std::nullopt : std::optional(rows.first());
}

qint64 ReceivedInvoiceStore::createSupplier(const ReceivedInvoice &invoice)
{
    const ReceivedInvoice::Party &s = invoice.seller;
    CompanyRecord c;
    c.name = s.name.trimmed();
    c.kategorie = SupplierCategory;
    c.telefon = s.phone;
    c.sanrede = QStringLiteral("Sehr geehrte Damen und Herren,");
    const QString code = s.country.trimmed().toUpper();
    c.mainAddress = {QStringLiteral("Hauptadresse"), s.addressLines.join(QStringLiteral(", ")), s.postcode, s.town,
                     code.isEmpty() || code == QLatin1String("DE") ? QStringLiteral("Deutschland") : code, QString()};
    if (!s.phone.isEmpty())
        c.communications << ComRow{QStringLiteral("Telefon"), s.phone, {}, QStringLiteral("T")};
    const QString email = !s.email.isEmpty() ? s.email
                          : s.electronicAddressScheme == QLatin1String("EM") ? s.electronicAddress : QString();
    if (!email.isEmpty())
        c.communications << ComRow{QStringLiteral("E-Mail"), email, {}, QStringLiteral("E")};
    if (!s.contactName.isEmpty())
        c.note = QStringLiteral("Ansprechpartner: ") + s.contactName;
    const auto draw = [this] {
        const qint64 n = m_numbers.GetNextKundenNr();
        if (n < 0)
            throw OrvellaError(TdmCommon::KundenNrError);
        return n;
    };
    c.IDF = draw();
    const qint64 number = ContactStore(m_db, m_numbers).insertCompany(c, 0, {}, draw);
    const QString iban = invoice.isCreditNote() ? QString() : CompactIdentifier(invoice.iban);
    SqlQuery q(m_db);
    q.execSql(QStringLiteral("INSERT INTO firmamehr (IDF, UID, IBAN) VALUES (%1, %2, %3)")
                  .arg(QString::number(number), SqlText(CompactIdentifier(s.vatId)), SqlText(iban)));
    return number;
}

qint64 ReceivedInvoiceStore::file(const QByteArray &content, const QString &fileName, const ReceivedInvoice &invoice,
                                  const QStringList &failures, qint64 contact, bool newSupplier, const QString &user,
                                  const QDate &received)
{
    Transaction t(m_db);
    if (const std::optional<FiledInvoice> earlier = findFiled(content))
        throw OrvellaError(QStringLiteral("Diese Datei ist bereits abgelegt: Rechnung %1 von %2, abgelegt am %3.")
                               .arg(earlier->number, earlier->supplier, DateToStr(earlier->received)));
    if (newSupplier)
        contact = createSupplier(invoice);
    const std::optional<Amount> gross = invoice.totals.taxInclusive ? invoice.totals.taxInclusive : invoice.totals.due;
    SqlQuery q(m_db);
    q.add(QStringLiteral("INSERT INTO eingangsrechnungen (Eingang, Dateiname, Datei, SHA256, Kontakt, Lieferant, "
                         "RechnungsNr, Datum, Brutto, Faellig, Status, Gutschrift, Beanstandungen, Benutzer)"));
    q.add(QStringLiteral("VALUES ('%1', %2, '%3', '%4', %5, %6, %7, %8, %9, ")
              .arg(DateToStr(received), SqlText(fileName), QString::fromLatin1(content.toBase64()), sha256(content),
                   QString::number(contact), SqlText(invoice.seller.name), SqlText(invoice.number),
                   optionalDate(invoice.issueDate), gross ? gross->toSqlText() : QStringLiteral("NULL")));
    q.add(QStringLiteral("%1, '%2', '%3', %4, %5)")
              .arg(optionalDate(invoice.dueDate), Open, invoice.isCreditNote() ? QStringLiteral("J") : QStringLiteral("N"),
                   SqlText(failures.join(QLatin1Char('\n'))), SqlText(user)));
    try {
        q.execSql();
    } catch (const DatabaseError &e) {
        // The statement holds the whole file; the message names the invoice instead.
        throw DatabaseError(QStringLiteral("Die Rechnung %1 von %2 konnte nicht abgelegt werden.")
                                .arg(invoice.number, invoice.seller.name),
                            e.engineMessage(), QString());
    }
    const QList<FiledInvoice> rows = read(QStringLiteral("WHERE SHA256 = '%1'").arg(sha256(content)));
    if (rows.isEmpty())
        throw OrvellaError(QStringLiteral("Die Rechnung wurde nicht abgelegt."));
    t.commit();
    return rows.first().id;
}

QList<FiledInvoice> ReceivedInvoiceStore::read(const QString &condition)
{
    QList<FiledInvoice> out;
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT %1 FROM eingangsrechnungen %2").arg(Columns, condition));
    for (; !q.eof(); q.next()) {
        FiledInvoice f;
        f.id = q.fieldInt(QStringLiteral("ID"));
        f.received = dateField(q, QStringLiteral("Eingang"));
        f.fileName = q.field(QStringLiteral("Dateiname"));
        f.sha256 = q.field(QStringLiteral("SHA256"));
        f.contact = q.fieldInt(QStringLiteral("Kontakt"));
        f.supplier = q.field(QStringLiteral("Lieferant"));
        f.number = q.field(QStringLiteral("RechnungsNr"));
        f.date = dateField(q, QStringLiteral("Datum"));
        f.gross = q.fieldAmount(QStringLiteral("Brutto"));
        f.due = dateField(q, QStringLiteral("Faellig"));
        f.state = q.field(QStringLiteral("Status"));
        f.creditNote = q.field(QStringLiteral("Gutschrift")) == QLatin1String("J");
        f.failures = q.field(QStringLiteral("Beanstandungen"));
        f.user = q.field(QStringLiteral("Benutzer"));
        out << f;
    }
    return out;
}

QList<FiledInvoice> ReceivedInvoiceStore::list()
{
    return read(QStringLiteral("ORDER BY CASE WHEN Faellig IS NULL THEN 1 ELSE 0 END, Faellig, ID"));
}

std::optional<FiledInvoice> ReceivedInvoiceStore::find(qint64 id)
{
    const QList<FiledInvoice> rows = read(QStringLiteral("WHERE ID = %1").arg(id));
    return rows.isEmpty() ? std::nullopt : std::optional(rows.first());
}

QByteArray ReceivedInvoiceStore::content(qint64 id)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT Datei, SHA256, Dateiname FROM eingangsrechnungen WHERE ID = %1").arg(id));
    if (q.eof())
        throw OrvellaError(QStringLiteral("Die abgelegte Rechnung gibt es nicht mehr."));
    const QByteArray bytes = QByteArray::fromBase64(q.field(QStringLiteral("Datei")).toLatin1());
    if (sha256(bytes) != q.field(QStringLiteral("SHA256")))
        throw OrvellaError(QStringLiteral("Die abgelegte Datei „%1“ ist nicht mehr die, die abgelegt wurde: ihre "
                                          "Prüfsumme (SHA-256) stimmt nicht.")
                               .arg(q.field(QStringLiteral("Dateiname"))));
    return bytes;
}

void ReceivedInvoiceStore::setState(qint64 id, const QString &state)
{
    if (state != Open && state != Paid)
        throw OrvellaError(QStringLiteral("Unbekannter Status „%1“.").arg(state));
    Transaction t(m_db);
    SqlQuery q(m_db);
    q.execSql(QStringLiteral("UPDATE eingangsrechnungen SET Status = '%1' WHERE ID = %2").arg(state).arg(id));
    t.commit();
}

QList<FiledInvoice> ReceivedInvoiceStore::dueBetween(const QDate &from, const QDate &to)
{
    return read(QStringLiteral("WHERE Status = '%1' AND Faellig >= '%2' AND Faellig <= '%3' ORDER BY Faellig, ID")
                    .arg(Open, DateToStr(from), DateToStr(to)));
}
