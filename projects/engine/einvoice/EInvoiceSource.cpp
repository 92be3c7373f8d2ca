#include "EInvoiceSource.h"

#include "CorrespondenceStore.h"
#include "Document.h"
#include "DocumentStore.h"
#include "ExtendedDataStore.h"
#include "Formats.h"
#include "InvoiceTerms.h"
#include "ProjectStore.h"
#include "VatTableStore.h"

namespace EInvoiceSource {
namespace {

// The extended data of the customer; the pictures are not read here.
ExtendedDataStore extendedData(Database &db)
{
    return ExtendedDataStore(db, QString());
}

const QString Zugferd = QStringLiteral("ZUGFeRD");
const QString XRechnung = QStringLiteral("XRechnung");

} // namespace

EInvoice::Data gather(Database &db, const QString &exeDir, const Document &doc, const ProjectValue &project)
{
    EInvoice::Data d;
    d.kind = doc.kind;
    d.number = PadNumber(doc.number); // as the print shows it
    d.date = doc.date;
    d.lines = doc.lines;
    VatTableStore vatTable(db);
    d.tableRates = vatTable.rates();
    d.seller = ReadSellerData(db, exeDir);
    d.categories = vatTable.categories();

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
        d.buyerReference = extendedData(db).kaeuferreferenz(project.company, project.knr);
        d.buyer.email = customerEmail(db, project.knr);
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
        d.precedingInvoiceDate = DocumentStore(db).documentDate(DocumentKind::Rechnung, doc.invoiceNumber);
    }
    return d;
}

EInvoice::Profile preferredForm(Database &db, const ProjectValue &project)
{
    if (project.knr <= 0)
        return EInvoice::Profile::XRechnung;
    return extendedData(db).eInvoiceForm(project.company, project.knr) == Zugferd ? EInvoice::Profile::Zugferd
                                                                                  : EInvoice::Profile::XRechnung;
}

std::optional<EInvoice::Profile> customerForm(Database &db, const ProjectValue &project)
{
    if (project.knr <= 0)
        return std::nullopt;
    const QString form = extendedData(db).eInvoiceForm(project.company, project.knr);
    if (form == Zugferd)
        return EInvoice::Profile::Zugferd;
    if (form == XRechnung)
        return EInvoice::Profile::XRechnung;
    return std::nullopt;
}

QString customerEmail(Database &db, qint64 customer)
{
    for (const QString &entry : CorrespondenceStore(db).communicationTexts(customer)) {
        const QString c = entry.trimmed();
        if (c.contains(QLatin1Char('@')) && !c.contains(QLatin1Char(' ')))
            return c;
    }
    return {};
}

void rememberForm(Database &db, const ProjectValue &project, EInvoice::Profile form)
{
    if (project.knr <= 0)
        return;
    extendedData(db).setEInvoiceForm(project.company, project.knr,
                                     form == EInvoice::Profile::Zugferd ? Zugferd : XRechnung);
}

} // namespace EInvoiceSource
