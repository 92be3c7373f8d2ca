#include "Payment.h"

#include "NumberInput.h"

#include "OpenItem.h"

namespace PaymentRules {

PanelAmounts panelAmounts(const InvoiceFigures &f, bool settled)
{
    PanelAmounts p;
    p.invoice = f.amount.roundedToCents();
    if (p.invoice <= Amount())
        return p;
    p.shown = true;
    const QColor black(Qt::black), red(Qt::red);

    p.afterCredits = (p.invoice - f.credits).roundedToCents();
    p.afterCreditsColour = p.afterCredits < Amount() ? red : black;

    p.outstanding = (p.afterCredits - f.payments).roundedToCents();
    if (p.outstanding > Amount()) {
        p.outstandingColour = black;
        p.withoutSkontoColour = QColor(Qt::blue);
    } else if (p.outstanding.isZero()) {
        p.outstandingColour = black;
        p.withoutSkontoColour = OpenItemRules::DarkGreen;
    } else {
        p.outstandingColour = p.withoutSkontoColour = red;
        p.negativeWarning = settled ? QStringLiteral("Betrag ist negativ!")
                                    : QStringLiteral("Ausstehender Betrag ist negativ!");
    }

    // The cash discount is taken on the invoice amount after credit notes, not on
    // what is still outstanding.
    if (const std::optional<Amount> percent = Amount::tryFromText(f.sconto); percent && !f.sconto.trimmed().isEmpty()) {
        const Amount discount = Amount::mulDiv(*percent, p.afterCredits, 100);
        p.withSkonto = (p.outstanding - discount).roundedToCents();
        p.skontoBoxEnabled = *p.withSkonto >= Amount();
        p.withSkontoColour = p.skontoBoxEnabled ? black : red;
        p.skontoTextEnabled = true;
    }
    return p;
}

Amount referenceAmount(const PanelAmounts &panel, bool withSkonto)
{
    if (!panel.shown)
        return {};
    return withSkonto && panel.withSkonto ? *panel.withSkonto : panel.outstanding;
}

Paid readPaid(const QString &typed)
{
    const QString t = typed.trimmed();
    if (t.isEmpty())
        return {};
    if (t == QLatin1String("-"))
        return {PaidKind::Dash, {}};
    // Money is paid in cents: a third decimal is a typing error, not something to round away.
    if (NumberInput::refusal(PaidField, t))
        return {PaidKind::Invalid, {}};
    return {PaidKind::Value, *NumberInput::value(PaidField, t)};
}

Remaining remaining(Amount reference, const QString &typed)
{
    const Paid paid = readPaid(typed);
    Remaining r;
    switch (paid.kind) {
    case PaidKind::Dash:
        break;
    case PaidKind::Empty: // nothing to show before an amount is typed
    case PaidKind::Invalid:
        r.invalid = true;
        break;
    case PaidKind::Value:
        r.value = reference - paid.value;
        r.overpaid = r.value < Amount() && !typed.trimmed().startsWith(QLatin1Char('-'));
        break;
    }
    return r;
}

std::optional<Booking> planBooking(Amount reference, const QString &typed, bool withSkonto)
{
    const Paid paid = readPaid(typed);
    switch (paid.kind) {
    case PaidKind::Empty: return Booking{Amount(), reference, withSkonto};
    case PaidKind::Value: return Booking{reference - paid.value, paid.value, withSkonto};
    case PaidKind::Dash:
    case PaidKind::Invalid: break;
    }
    return std::nullopt;
}

QString invalidPaidMessage(const QString &typed)
{
    return NumberInput::refusal(PaidField, typed).value_or(QString());
}

QString bookingQuestion(Amount remaining, const QString &currency, bool withSkonto)
{
    return QStringLiteral("Rechnung mit ") + remaining.toText() + QLatin1Char(' ') + currency
           + (withSkonto ? QStringLiteral(" Restbetrag mit Skonto erfassen?")
                         : QStringLiteral(" Restbetrag ohne Skonto erfassen?"));
}

QString skontoLabel(const QString &sconto, const QString &flag)
{
    const QString percent = sconto.trimmed().isEmpty() ? QStringLiteral("__,__") : sconto.trimmed();
    return percent + QStringLiteral(" % ") + QStringLiteral("     (") + flag + QLatin1Char(')');
}

QString skontoMessage(const QString &sconto, const QString &skontoText, Amount invoice, const QString &currency)
{
    const std::optional<Amount> percent = Amount::tryFromText(sconto);
    if (sconto.trimmed().isEmpty() || !percent || invoice.isZero())
        return {};
    const Amount after = invoice - Amount::mulDiv(invoice, *percent, 100);
    return sconto.trimmed() + QStringLiteral(" % ") + skontoText + QStringLiteral(". Das entspricht ") + after.toText()
           + QLatin1Char(' ') + currency + QLatin1Char('.');
}

QString postingsMessage(const QList<Posting> &postings, const QString &currency)
{
    Amount sum;
    qsizetype width = 0;
    for (const Posting &p : postings) {
        sum += p.amount;
        width = std::max(width, p.amount.toText().size());
    }
    width = std::max(width, sum.toText().size());
    QString text = QStringLiteral("Geleistete Teilzahlungen:\n\n");
    for (const Posting &p : postings) {
        text += p.date + QStringLiteral(": ") + p.amount.toText().rightJustified(width) + QLatin1Char(' ') + currency;
        if (p.skonto == QLatin1String("S"))
            text += QStringLiteral("  mit Skonto nach Ablauf der Skontofrist");
        else if (p.skonto == QLatin1String("J"))
            text += QStringLiteral("  mit Skonto");
        text += QLatin1Char('\n');
    }
    // " Gesamt: " is three characters shorter than a date and ": ".
    text += QString(34, QLatin1Char('-')) + QLatin1Char('\n');
    text += QStringLiteral(" Gesamt: ") + sum.toText().rightJustified(width + 3) + QLatin1Char(' ') + currency
            + QLatin1Char('\n');
    text += QString(17, QLatin1Char('='));
    return text;
}

bool skontoLate(const std::optional<QDate> &deadline, const QDate &bookingDate)
{
    return deadline && deadline->isValid() && bookingDate > *deadline;
}

QString lateSkontoQuestion(const QDate &deadline)
{
    return QStringLiteral("Die Skontofrist ist am %1 abgelaufen. Trotzdem mit Skonto buchen?")
        .arg(deadline.toString(QStringLiteral("dd.MM.yyyy")));
}

QString money(Amount amount, const QString &currency)
{
    return amount.toText() + QLatin1Char(' ') + currency;
}

} // namespace PaymentRules
