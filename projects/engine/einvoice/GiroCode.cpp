#include "GiroCode.h"

#include "Document.h"
#include "Errors.h"
#include "InvoiceBalanceStore.h"
#include "Totals.h"

#include <qrencode.h>

#include <memory>

namespace GiroCode {

QString payload(const SellerData &seller, Amount amount, const QString &reference)
{
    const QString iban = seller.iban.simplified().remove(QLatin1Char(' ')).toUpper();
    const Amount cents = amount.roundedToCents();
    // The code carries amounts from 0,01 to 999.999.999,99 €.
    if (iban.isEmpty() || cents <= Amount() || cents > Amount::fromUnits(999'999'999) + Amount::fromRaw(9900))
        return QString();
    const QStringList lines = {
        QStringLiteral("BCD"),
        QStringLiteral("002"),
        QStringLiteral("1"), // UTF-8
        QStringLiteral("SCT"),
        seller.bic.simplified().remove(QLatin1Char(' ')).toUpper(),
        seller.name.simplified().left(70),
        iban,
        QStringLiteral("EUR") + cents.toPlainText().replace(QLatin1Char(','), QLatin1Char('.')),
        QString(), // purpose code
        QString(), // structured creditor reference
        reference.simplified().left(140),
    };
    return lines.join(QLatin1Char('\n'));
}

Amount outstanding(Database &db, const Document &document)
{
    if (document.kind != DocumentKind::Rechnung)
        return Amount();
    const QString gross = document.totals.gross().trimmed();
    InvoiceBalanceStore balance(db);
    const auto item = balance.openItem(document.number);
    if (!item)
        return gross.isEmpty() ? Amount() : Amount::fromDisplay(gross);
    if (item->booked)
        return Amount();
    Amount rest = item->amount;
    for (const Amount &deduction : balance.partPayments(document.number) + balance.creditNoteAmounts(document.number))
        rest -= deduction;
    return rest;
}

Matrix encode(const QString &text)
{
    Matrix m;
    if (text.isEmpty())
        return m;
    const QByteArray utf8 = text.toUtf8();
    const std::unique_ptr<QRcode, void (*)(QRcode *)> code(QRcode_encodeString8bit(utf8.constData(), 0, QR_ECLEVEL_M),
                                                            QRcode_free);
    if (!code)
        throw OrvellaError(QStringLiteral("Der GiroCode kann nicht erzeugt werden."));
    m.size = code->width;
    m.dark.resize(std::size_t(m.size) * std::size_t(m.size));
    for (std::size_t i = 0; i < m.dark.size(); ++i)
        m.dark[i] = (code->data[i] & 1) != 0;
    return m;
}

} // namespace GiroCode
