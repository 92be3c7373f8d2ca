#include "EInvoiceSource.h"

#include "Database.h"
#include "Document.h"
#include "DocumentStore.h"
#include "Formats.h"
#include "InvoiceTerms.h"
#include "ProjectStore.h"
#include "SqlQuery.h"
#include "Transaction.h"

namespace EInvoiceSource {
namespace {

QString extendedTable(const ProjectValue &p)
{
    return p.company ? QStringLiteral("firmamehr") : QStringLiteral("namemehr");
}

QString extendedKey(const ProjectValue &p)
{
    return p.company ? QStringLiteral("IDF") : QStringLiteral("IDN");
}

} // namespace

EInvoice::Data gather(Database &db, const QString &exeDir, const Document &doc, const ProjectValue &project)
{
    EInvoice::Data d;
    d.kind = doc.kind;
    d.number = PadNumber(doc.number); // as the print shows it
    d.date = doc.date;
    d.lines = doc.lines;
    d.tableRates = Totals::readRates(db);
    d.seller = ReadSellerData(db, exeDir);

    SqlQuery q(db);
    q.open(QStringLiteral("SELECT UStSatz, Kategorie, Befreiungsgrund FROM prust"));
    for (; !q.eof(); q.next())
        d.categories << EInvoice::VatCategory{q.fieldAmount(QStringLiteral("UStSatz")), q.field(QStringLiteral("Kategorie")),
                                              q.field(QStringLiteral("Befreiungsgrund"))};

    // The address the print puts into the envelope window.
    const DocumentAddress &a = doc.addressLeft ? doc.secondAddress : doc.address;
    const AddressFields &fields = doc.addressLeft ? project.rechnungsanschrift : project.anschrift;
    d.buyer.name = a.name;
    d.buyer.street = a.street;
    EInvoice::splitPostcodeTown(a.postcodeTown, d.buyer.postcode, d.buyer.town);
    d.buyer.country = EInvoice::countryCode(fields.land);
    d.buyer.vatId = project.uid;
    if (project.knr > 0) {
        d.customerNumber = QString::number(project.knr);
        q.open(QStringLiteral("SELECT Kaeuferreferenz FROM %1 WHERE %2=%3")
                   .arg(extendedTable(project), extendedKey(project))
                   .arg(project.knr));
        d.buyerReference = q.field(QStringLiteral("Kaeuferreferenz"));
        q.open(QStringLiteral("SELECT com.Inhalt FROM com, comtofn WHERE com.IDC=comtofn.IDC AND comtofn.IDFN=%1 "
                              "ORDER BY com.IDC")
                   .arg(project.knr));
        for (; !q.eof() && d.buyer.email.isEmpty(); q.next()) {
            const QString c = q.field(QStringLiteral("Inhalt")).trimmed();
            if (c.contains(QLatin1Char('@')) && !c.contains(QLatin1Char(' ')))
                d.buyer.email = c;
        }
    }

    d.skontoPercent = doc.skontoPercent;
    // The period the printed Skonto text names, as the paper grants it.
    if (const auto days = InvoiceTerms::skontoDays(db, doc.skontoText, project.knr))
        d.skontoDays = QString::number(*days);
    d.grossRule = doc.grossRule;
    d.serviceDate = doc.effectiveServiceDate();
    d.serviceDateTo = doc.hasServicePeriod() ? doc.serviceDateTo : QString();
    const int discount = doc.lines.discountRow();
    if (discount > 0)
        d.discountText = doc.lines.cell(discount, LineList::Bezeichnung);
    if (doc.kind == DocumentKind::Rechnung && !doc.date.isEmpty())
        d.dueDate = DocumentStore::dueDate(doc.date, doc.paymentTerm);
    if (doc.kind == DocumentKind::Gutschrift && doc.invoiceNumber > 0) {
        d.precedingInvoice = PadNumber(doc.invoiceNumber);
        q.open(QStringLiteral("SELECT Datum FROM rechnungen WHERE BelegNr=%1").arg(doc.invoiceNumber));
        d.precedingInvoiceDate = q.field(QStringLiteral("Datum"));
    }
    return d;
}

EInvoice::Profile preferredForm(Database &db, const ProjectValue &project)
{
    if (project.knr <= 0)
        return EInvoice::Profile::XRechnung;
    SqlQuery q(db);
    q.open(QStringLiteral("SELECT ERechnung FROM %1 WHERE %2=%3")
               .arg(extendedTable(project), extendedKey(project))
               .arg(project.knr));
    return q.field(QStringLiteral("ERechnung")) == QLatin1String("ZUGFeRD") ? EInvoice::Profile::Zugferd
                                                                             : EInvoice::Profile::XRechnung;
}

void rememberForm(Database &db, const ProjectValue &project, EInvoice::Profile form)
{
    if (project.knr <= 0)
        return;
    Transaction t(db);
    SqlQuery q(db);
    const QString table = extendedTable(project), key = extendedKey(project);
    const QString value = form == EInvoice::Profile::Zugferd ? QStringLiteral("'ZUGFeRD'") : QStringLiteral("'XRechnung'");
    q.open(QStringLiteral("SELECT %1 FROM %2 WHERE %1=%3").arg(key, table).arg(project.knr));
    if (q.isEmpty())
        q.execSql(QStringLiteral("INSERT INTO %1 (%2, ERechnung) VALUES (%3, %4)").arg(table, key).arg(project.knr).arg(value));
    else
        q.execSql(QStringLiteral("UPDATE %1 SET ERechnung=%2 WHERE %3=%4").arg(table, value, key).arg(project.knr));
    t.commit();
}

} // namespace EInvoiceSource
