#pragma once

#include <QString>

// An IBAN, VAT ID or similar number as it is compared and kept: without blanks
// and in capitals, since people type them both ways ("de02 1203 …").
QString CompactIdentifier(const QString &text);
