#pragma once

#include "Amount.h"

#include <QList>
#include <QString>

class Database;
namespace EInvoice {
struct VatCategory;
}

// What the documents read of the VAT rate table (prust). The options window keeps
// the table; the documents only read it.
class VatTableStore
{
public:
    explicit VatTableStore(Database &db);

    // Every rate in table order, as the totals compute with them
    // (SELECT ID,UstSatz FROM prust).
    QList<Amount> rates();
    // Every rate with its electronic-invoice category and the reason of an
    // exemption, in table order (SELECT UStSatz, Kategorie, Befreiungsgrund FROM prust).
    QList<EInvoice::VatCategory> categories();

private:
    Database &m_db;
};
