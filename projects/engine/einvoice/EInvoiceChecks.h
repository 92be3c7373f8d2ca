#pragma once

#include "ReceivedInvoice.h"

#include <QStringList>

// The rules of EN 16931 that need nothing but the invoice itself: what must be
// stated, and that the sums add up. An XRechnung (its customization ID says so)
// must in addition name the buyer's reference, a contact at the seller with
// phone and e-mail, the seller's postcode and town and how to pay.
namespace EInvoiceChecks {

// One German sentence per rule the invoice breaks, naming the figures; empty for
// a sound invoice.
QStringList check(const ReceivedInvoice &invoice);

} // namespace EInvoiceChecks
