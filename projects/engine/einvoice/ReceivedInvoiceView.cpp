#include "ReceivedInvoiceView.h"

#include <QRegularExpression>

namespace {

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

QString date(const QDate &d)
{
    return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QString money(const Amount &a, const QString &currency)
{
    return esc(a.toText() + QLatin1Char(' ') + (currency == QLatin1String("EUR") ? QStringLiteral("€") : currency));
}

QString money(const std::optional<Amount> &a, const QString &currency)
{
    return a ? money(*a, currency) : QStringLiteral("–");
}

// Up to four decimals as written, at least none: "1", "2,5", "0,125".
QString number(const Amount &a)
{
    QString t = a.toSqlText();
    return esc(t.replace(QLatin1Char('.'), QLatin1Char(',')));
}

QString party(const QString &title, const ReceivedInvoice::Party &p, const QString &extra)
{
    QStringList lines = {QStringLiteral("<b>") + esc(p.name) + QStringLiteral("</b>")};
    for (const QString &l : p.addressLines)
        lines << esc(l);
    lines << esc((p.postcode + QLatin1Char(' ') + p.town).trimmed() + (p.country.isEmpty() ? QString()
                                                                                               : QStringLiteral(" (") + p.country + QLatin1Char(')')));
    if (!p.vatId.isEmpty())
        lines << QStringLiteral("USt-IdNr.: ") + esc(p.vatId);
    if (!p.taxNumber.isEmpty())
        lines << QStringLiteral("Steuernummer: ") + esc(p.taxNumber);
    const QStringList contact = QStringList{p.contactName, p.phone, p.email}.filter(QRegularExpression(QStringLiteral("\\S")));
    if (!contact.isEmpty())
        lines << QStringLiteral("Kontakt: ") + esc(contact.join(QStringLiteral(", ")));
    if (!extra.isEmpty())
        lines << extra;
    return QStringLiteral("<td valign=\"top\" width=\"50%\"><p><i>") + title + QStringLiteral("</i><br>")
           + lines.join(QStringLiteral("<br>")) + QStringLiteral("</p></td>");
}

// A table row; the cells from firstFigure on are figures, aligned right.
QString row(const QStringList &cells, int firstFigure = 1, bool head = false)
{
    const QString tag = head ? QStringLiteral("th") : QStringLiteral("td");
    QString out = QStringLiteral("<tr>");
    for (int i = 0; i < cells.size(); ++i)
        out += QStringLiteral("<%1%2>%3</%1>")
                   .arg(tag, i >= firstFigure && !head ? QStringLiteral(" align=\"right\"") : QString(), cells[i]);
    return out + QStringLiteral("</tr>");
}

} // namespace

QString ReceivedInvoiceHtml(const ReceivedInvoice &inv, const QStringList &failures)
{
    const QString &cur = inv.currency;
    QString h = QStringLiteral("<html><body>");
    h += QStringLiteral("<h2>%1 %2</h2>")
             .arg(inv.isCreditNote() ? QStringLiteral("Gutschrift") : QStringLiteral("Rechnung"), esc(inv.number));
    QStringList facts = {QStringLiteral("Datum: ") + date(inv.issueDate)};
    if (inv.periodStart.isValid() || inv.periodEnd.isValid())
        facts << QStringLiteral("Leistungszeitraum: ") + date(inv.periodStart) + QStringLiteral(" – ") + date(inv.periodEnd);
    else if (inv.serviceDate.isValid())
        facts << QStringLiteral("Leistungsdatum: ") + date(inv.serviceDate);
    if (inv.dueDate.isValid())
        facts << QStringLiteral("Fällig: ") + date(inv.dueDate);
    facts << QStringLiteral("Währung: ") + esc(cur);
    facts << QStringLiteral("Format: ") + (inv.syntax == ReceivedInvoice::Syntax::Cii ? QStringLiteral("CII")
                                                                                     : QStringLiteral("UBL"))
                 + (inv.isXRechnung() ? QStringLiteral(" (XRechnung)") : QString());
    h += QStringLiteral("<p>") + facts.join(QStringLiteral(" &nbsp;·&nbsp; ")) + QStringLiteral("</p>");
    h += QStringLiteral("<table width=\"100%\"><tr>") + party(QStringLiteral("Verkäufer"), inv.seller, QString())
         + party(QStringLiteral("Käufer"), inv.buyer,
                 inv.buyerReference.isEmpty() ? QString() : QStringLiteral("Käuferreferenz: ") + esc(inv.buyerReference))
         + QStringLiteral("</tr></table>");

    h += QStringLiteral("<h3>Positionen</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">");
    h += row({QStringLiteral("Pos."), QStringLiteral("Bezeichnung"), QStringLiteral("Menge"), QStringLiteral("Einheit"),
              QStringLiteral("Einzelpreis netto"), QStringLiteral("Betrag netto"), QStringLiteral("USt.")},
             0, true);
    for (const ReceivedInvoice::Line &l : inv.lines) {
        QString name = esc(l.name);
        if (!l.description.isEmpty())
            name += QStringLiteral("<br><small>") + esc(l.description) + QStringLiteral("</small>");
        QString price = money(l.netPrice, cur);
        if (l.baseQuantity)
            price += QStringLiteral(" je ") + number(*l.baseQuantity);
        h += row({esc(l.id), name, number(l.quantity), esc(l.unitCode), price, money(l.netAmount, cur),
                  esc(l.vatCategory) + QLatin1Char(' ') + number(l.vatRate) + QStringLiteral(" %")},
                 2);
    }
    h += QStringLiteral("</table>");

    if (!inv.allowancesCharges.isEmpty()) {
        h += QStringLiteral("<h3>Nachlässe und Zuschläge</h3><table cellpadding=\"2\">");
        for (const ReceivedInvoice::AllowanceCharge &a : inv.allowancesCharges)
            h += row({a.charge ? QStringLiteral("Zuschlag") : QStringLiteral("Nachlass"), esc(a.reason),
                      money(a.charge ? a.amount : -a.amount, cur),
                      esc(a.vatCategory) + QLatin1Char(' ') + number(a.vatRate) + QStringLiteral(" %")},
                     2);
        h += QStringLiteral("</table>");
    }

    h += QStringLiteral("<h3>Umsatzsteuer</h3><table cellpadding=\"2\">");
    h += row({QStringLiteral("Kategorie"), QStringLiteral("Satz"), QStringLiteral("Nettobetrag"),
              QStringLiteral("Steuer"), QStringLiteral("Befreiungsgrund")},
             0, true);
    for (const ReceivedInvoice::VatRow &v : inv.vat)
        h += row({esc(v.category), number(v.rate) + QStringLiteral(" %"), money(v.taxable, cur), money(v.tax, cur),
                  esc(v.exemptionReason)});
    h += QStringLiteral("</table>");

    const ReceivedInvoice::Totals &t = inv.totals;
    h += QStringLiteral("<h3>Summen</h3><table cellpadding=\"2\">");
    h += row({QStringLiteral("Summe der Positionen"), money(t.lineTotal, cur)});
    if (t.allowances)
        h += row({QStringLiteral("Nachlässe"), money(t.allowances, cur)});
    if (t.charges)
        h += row({QStringLiteral("Zuschläge"), money(t.charges, cur)});
    h += row({QStringLiteral("Nettobetrag"), money(t.taxExclusive, cur)});
    h += row({QStringLiteral("Umsatzsteuer"), money(t.vatTotal, cur)});
    h += row({QStringLiteral("Bruttobetrag"), money(t.taxInclusive, cur)});
    if (t.prepaid)
        h += row({QStringLiteral("Bereits gezahlt"), money(t.prepaid, cur)});
    if (t.rounding)
        h += row({QStringLiteral("Rundung"), money(t.rounding, cur)});
    h += row({QStringLiteral("<b>Zahlbetrag</b>"), QStringLiteral("<b>") + money(t.due, cur) + QStringLiteral("</b>")});
    h += QStringLiteral("</table>");

    QStringList pay;
    if (!inv.paymentTerms.isEmpty())
        pay << esc(inv.paymentTerms).replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    for (const ReceivedInvoice::Skonto &s : inv.skonto)
        pay << QStringLiteral("Skonto: %1 % bei Zahlung innerhalb von %2 Tagen").arg(number(s.percent)).arg(s.days);
    if (!inv.iban.isEmpty())
        pay << QStringLiteral("IBAN: ") + esc(inv.iban) + (inv.bic.isEmpty() ? QString() : QStringLiteral(", BIC: ") + esc(inv.bic));
    if (!pay.isEmpty())
        h += QStringLiteral("<h3>Zahlung</h3><p>") + pay.join(QStringLiteral("<br>")) + QStringLiteral("</p>");

    h += QStringLiteral("<h3>Prüfung</h3>");
    if (failures.isEmpty()) {
        h += QStringLiteral("<p style=\"color:#006400\">Die Rechnung besteht die Prüfung der Pflichtangaben und "
                            "Summen.</p>");
    } else {
        h += QStringLiteral("<p style=\"color:#b00000\">Die Rechnung besteht die Prüfung nicht:</p><ul>");
        for (const QString &f : failures)
            h += QStringLiteral("<li>") + esc(f) + QStringLiteral("</li>");
        h += QStringLiteral("</ul>");
    }
    return h + QStringLiteral("</body></html>");
}
