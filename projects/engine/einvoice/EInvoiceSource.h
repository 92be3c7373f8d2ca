#pragma once

#include "EInvoice.h"

#include <optional>

class Database;
struct Document;
struct ProjectValue;

// Reads what an electronic invoice needs besides the document: the seller data
// of the options, the categories of the VAT rates, the customer's buyer
// reference, Skonto days and e-mail address, and a credit note's invoice date.
namespace EInvoiceSource {

EInvoice::Data gather(Database &db, const QString &exeDir, const Document &document, const ProjectValue &project);

// The form the customer takes electronic invoices in (the extended data's
// ERechnung: "XRechnung" or "ZUGFeRD"); XRechnung when nothing is stored.
EInvoice::Profile preferredForm(Database &db, const ProjectValue &project);
// The form of electronic invoices the customer takes, when his extended data
// name one; none for a customer who gets his documents on paper or as PDF.
std::optional<EInvoice::Profile> customerForm(Database &db, const ProjectValue &project);
// The customer's first communication entry that is an e-mail address; empty
// when there is none.
QString customerEmail(Database &db, qint64 customer);
// Remembers the form chosen last for the customer (one transaction).
void rememberForm(Database &db, const ProjectValue &project, EInvoice::Profile form);

} // namespace EInvoiceSource
