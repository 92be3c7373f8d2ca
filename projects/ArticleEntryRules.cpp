#include "ArticleEntryRules.h"

namespace ArticleEntryRules {

std::optional<Amount> price(const QString &text)
{
    const int comma = int(text.indexOf(QLatin1Char(',')));
    if (comma >= 0 && text.size() - comma - 1 > 2)
        return std::nullopt;
    return Amount::parseInput(text);
}

std::optional<Amount> quantity(const QString &text)
{
    return Amount::parseInput(text);
}

QString priceRefusal(const QString &text)
{
    if (text.isEmpty())
        return QStringLiteral("Bitte einen Einzelpreis eintragen.");
    return QStringLiteral("'%1' ist kein gültiger Preis. Bitte den Preis mit Komma und höchstens zwei "
                          "Nachkommastellen eingeben, zum Beispiel 1.234,50 oder 1234,5.")
        .arg(text);
}

QString quantityRefusal(const QString &text)
{
    return QStringLiteral("'%1' ist keine gültige Anzahl. Bitte die Anzahl mit Komma eingeben, zum Beispiel 3, "
                          "1,5 oder 0,335.")
        .arg(text);
}

QString vatRefusal(const QString &text)
{
    return QStringLiteral("'%1' ist kein gültiger MwSt-Satz. Bitte einen Satz aus der Liste wählen oder als Zahl "
                          "zwischen 0 und 100 eingeben, zum Beispiel 19 oder 7,00 %.")
        .arg(text);
}

QString checkLine(ArticleLine &line)
{
    if (!quantity(line.quantity))
        return quantityRefusal(line.quantity);
    if (!price(line.price))
        return priceRefusal(line.price);
    const auto vat = ArticleStore::normaliseVat(line.vat);
    if (!vat)
        return vatRefusal(line.vat);
    line.vat = *vat;
    return {};
}

QString checkArticle(const QString &name, const QString &number, const QString &group, const QString &priceText,
                     const QString &vatText, Article &out)
{
    const auto p = price(priceText);
    if (!p)
        return priceRefusal(priceText);
    const auto vat = ArticleStore::normaliseVat(vatText);
    if (!vat)
        return vatRefusal(vatText);
    out = {name, number, group, *p, *vat};
    return {};
}

} // namespace ArticleEntryRules
