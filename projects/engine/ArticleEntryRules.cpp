#include "ArticleEntryRules.h"

namespace ArticleEntryRules {

namespace {

std::optional<Amount> checked(const NumberInput::Field &field, const QString &text)
{
    if (text.trimmed().isEmpty() || NumberInput::refusal(field, text))
        return std::nullopt;
    return NumberInput::value(field, text);
}

} // namespace

std::optional<Amount> price(const QString &text)
{
    return checked(PriceField, text);
}

std::optional<Amount> quantity(const QString &text)
{
    return checked(QuantityField, text);
}

QString priceRefusal(const QString &text)
{
    if (text.trimmed().isEmpty())
        return QStringLiteral("Bitte einen Einzelpreis eintragen.");
    return NumberInput::refusal(PriceField, text).value_or(QString());
}

QString quantityRefusal(const QString &text)
{
    if (text.trimmed().isEmpty())
        return QStringLiteral("Bitte eine Anzahl eintragen.");
    return NumberInput::refusal(QuantityField, text).value_or(QString());
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
