#pragma once

#include "ReceivedInvoice.h"

#include <QString>
#include <QStringList>

// The received invoice as a readable document (HTML for the window, its print
// and its PDF): seller and buyer, dates, every line, allowances and charges, the
// VAT breakdown, the totals, the terms of payment and the account, and what the
// check found (failures as EInvoiceChecks gives them).
QString ReceivedInvoiceHtml(const ReceivedInvoice &invoice, const QStringList &failures);
