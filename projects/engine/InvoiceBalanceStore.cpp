#include "InvoiceBalanceStore.h"

#include "SqlQuery.h"

InvoiceBalanceStore::InvoiceBalanceStore(Database &db) : m_db(db) {}

std::optional<InvoiceBalanceStore::OpenItem> InvoiceBalanceStore::openItem(qint64 invoice)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT Betrag, Gebucht FROM rechnungenop WHERE RNR=%1").arg(invoice));
    if (q.isEmpty())
        return std::nullopt;
    return OpenItem{q.fieldAmount(QStringLiteral("Betrag")), q.field(QStringLiteral("Gebucht")) == QLatin1String("J")};
}

QList<Amount> InvoiceBalanceStore::partPayments(qint64 invoice)
{
    return amounts(QStringLiteral("SELECT Betrag FROM teilbuchung WHERE RNr=%1").arg(invoice));
}

QList<Amount> InvoiceBalanceStore::creditNoteAmounts(qint64 invoice, std::optional<qint64> except)
{
    return amounts(QStringLiteral("SELECT Betrag FROM gutschriftenop WHERE RNr=%1%2")
                       .arg(QString::number(invoice),
                            except ? QStringLiteral(" AND BelegNr<>%1").arg(*except) : QString()));
}

QList<Amount> InvoiceBalanceStore::amounts(const QString &sql)
{
    SqlQuery q(m_db);
    QList<Amount> out;
    for (q.open(sql); !q.eof(); q.next())
        out << q.fieldAmount(QStringLiteral("Betrag"));
    return out;
}
