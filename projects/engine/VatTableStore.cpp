#include "VatTableStore.h"

#include "EInvoice.h"
#include "SqlQuery.h"

VatTableStore::VatTableStore(Database &db) : m_db(db) {}

QList<Amount> VatTableStore::rates()
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT ID,UstSatz FROM prust"));
    QList<Amount> rates;
    for (; !q.eof(); q.next())
        rates << q.fieldAmount(QStringLiteral("UstSatz"));
    return rates;
}

QList<EInvoice::VatCategory> VatTableStore::categories()
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT UStSatz, Kategorie, Befreiungsgrund FROM prust"));
    QList<EInvoice::VatCategory> categories;
    for (; !q.eof(); q.next())
        categories << EInvoice::VatCategory{q.fieldAmount(QStringLiteral("UStSatz")), q.field(QStringLiteral("Kategorie")),
                                            q.field(QStringLiteral("Befreiungsgrund"))};
    return categories;
}
