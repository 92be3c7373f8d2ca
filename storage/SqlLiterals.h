#pragma once

#include <QString>

// Literals for SQL statements built from typed or stored text: quoting, LIKE
// patterns and decimals. Every statement that carries user input goes through here
// (or SqlText/SqlOptional), so no text reaches the engine unquoted.

// Doubles every apostrophe; nothing else changes.
QString SqlQuote(const QString &text);

// A LIKE condition on a column for typed text: the text is quoted and its "%", "_"
// and "\\" are matched literally (ESCAPE clause), so a typed "%" finds a percent sign
// instead of every row. Every search of the program builds its patterns here.
enum class LikeMatch { Contains, StartsWith };
QString SqlLike(const QString &column, const QString &text, LikeMatch match);

// A displayed decimal ("1.234,50 €", "16,00 %") as SQL text with a decimal point
// ("1234.50"): blanks and the currency symbol removed, thousands points removed,
// comma to point. Throws ConversionError when the rest is not a number.
QString SqlDecimal(const QString &displayText, const QString &currency = QStringLiteral("€"));
