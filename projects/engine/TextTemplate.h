#pragma once

#include "Document.h"

#include <QChar>
#include <QString>
#include <array>
#include <optional>

class Database;

// The styles of the additional-text lines and the templates of the ztext table.
namespace TextTemplate {

struct Marks
{
    bool bold = false;
    bool italic = false;

    bool operator==(const Marks &) const = default;
};

// "fsBold, fsItalic", "fsBold", "fsItalic" or "".
QString styleOf(Marks marks);
// The marks of a style; "" has neither. No value for any other text.
std::optional<Marks> marksOf(const QString &style);

// The template entries of the additional-text dialog, in list order, and the
// letter under which the ztext table keeps each.
const QStringList &entries();
QChar letterOfEntry(int entry);
// The entry for a kind letter; the working document ('B') and any unknown
// letter use the quotation's.
int entryOfLetter(QChar letter);

// The four template lines of a kind letter: SELECT Text, Style, X FROM ztext
// WHERE Firma=1 AND Art='<letter>' ORDER BY X. Missing rows give empty lines.
std::array<AdditionalTextLine, Document::TextLineCount> read(Database &db, QChar letter);

// The text of the e-mails that send a document, kept for all workstations in
// ztext (Firma 1, Art 'E', X 'a'); "{Beleg}" in it stands for the document
// ("Rechnung 000123"). DefaultMailText when none is stored.
inline const QString MailPlaceholder = QStringLiteral("{Beleg}");
inline const QString DefaultMailText =
    QStringLiteral("Sehr geehrte Damen und Herren,\n\nanbei erhalten Sie {Beleg}.\n\nMit freundlichen Grüßen");
QString mailText(Database &db);
// One transaction.
void saveMailText(Database &db, const QString &text);
// The text with the document put in for every placeholder.
QString mailBody(const QString &text, const QString &document);

} // namespace TextTemplate
