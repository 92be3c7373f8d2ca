#pragma once

#include "ArticleStore.h"
#include "NumberInput.h"
#include "LineList.h"

#include <QString>
#include <optional>

// The rules of the line-item and catalogue windows that need no widget: the key
// rules of their number fields and the checks of what was typed before it goes
// into a document line or the catalogue. A check returns the German message
// that refuses the input, or an empty text.
namespace ArticleEntryRules {

// "Einzelpreis:" and "Einzelpreis Netto": an amount with its cents.
inline const NumberInput::Field PriceField{NumberInput::Kind::Money, QStringLiteral("Einzelpreis")};
// "Anzahl:": up to four decimals ("0,335").
inline const NumberInput::Field QuantityField{NumberInput::Kind::Quantity, QStringLiteral("Anzahl")};

// A price as German users write it ("1.234,50", "1234,5"), at most two decimals.
std::optional<Amount> price(const QString &text);
// A quantity as German users write it ("3", "1,5", "0,335").
std::optional<Amount> quantity(const QString &text);

QString priceRefusal(const QString &text);
QString quantityRefusal(const QString &text);
QString vatRefusal(const QString &text);

// Checks a line before it goes into the document; the VAT text is brought into
// the display form of the VAT choice ("19" becomes "19,00 %").
QString checkLine(ArticleLine &line);
// Checks an article before it goes into the catalogue.
QString checkArticle(const QString &name, const QString &number, const QString &group, const QString &priceText,
                     const QString &vatText, Article &out);

} // namespace ArticleEntryRules
