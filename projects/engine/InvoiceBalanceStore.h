#pragma once

#include "Amount.h"

#include <QList>
#include <optional>

class Database;

// What the documents read of an invoice's balance: its open item (rechnungenop),
// the part payments booked against it (teilbuchung) and the credit notes stored
// for it (gutschriftenop). The open-items window books them; the documents only
// read them here.
class InvoiceBalanceStore
{
public:
    struct OpenItem
    {
        Amount amount;       // Betrag
        bool booked = false; // Gebucht = 'J': booked as paid
    };

    explicit InvoiceBalanceStore(Database &db);

    // The invoice's open item (SELECT Betrag, Gebucht FROM rechnungenop); no value
    // when it has none.
    std::optional<OpenItem> openItem(qint64 invoice);
    // The amounts of its part payments (SELECT Betrag FROM teilbuchung), an empty
    // amount as zero.
    QList<Amount> partPayments(qint64 invoice);
    // The amounts of the credit notes stored for it (SELECT Betrag FROM
    // gutschriftenop), an empty amount as zero; without the one stored under
    // except, when given.
    QList<Amount> creditNoteAmounts(qint64 invoice, std::optional<qint64> except = std::nullopt);

private:
    QList<Amount> amounts(const QString &sql);

    Database &m_db;
};
