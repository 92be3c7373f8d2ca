#pragma once

#include "WordExport.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

struct Document;

// What a dunning letter takes from its project: the names for the address and the
// placeholders, the sender line, the postal address and the billing address.
struct DunningProject
{
    QString anrede, titel, vname, nname;
    QString eFirma, uid;
    QString projectName;                                   // projekttofn.PrName
    QString street, postcode, town;                        // postal address
    QString billName, billStreet, billPostcode, billTown; // billing address
    bool found = false;                                    // the project and its address exist
};

// The values put into a letter template in place of its placeholders.
struct DunningPlaceholders
{
    QString anrede, titel, vname, nname; // from the project
    QString sAnrede;                     // the customer's letter salutation
    QString invoiceNumber;               // as PadNumber shows it
    QString amount;                      // the invoice amount as the open-items list shows it
    QString invoiceDate;                 // "dd.MM.yyyy"
};

// The composition of a dunning letter, without widgets: address lines, the letter
// text from the level's template, the labels, and what the word processor gets.
namespace DunningRules {

inline constexpr int TemplateLines = 25;
inline const QString Anrede1Text = QStringLiteral("geehrte Frau .. geehrter Herr");

// Levels from 3 upwards share the template of level 3.
int templateLevel(int level);

// A person: salutation, title, first and last name, each present one followed by a
// blank; a company: its name (VName) alone.
QString postalNameLine(const DunningProject &project, bool company);
QString postalTownLine(const DunningProject &project);
// Postcode and a blank only when there is a postcode, then the town.
QString billingTownLine(const DunningProject &project);

// Replaces every placeholder of the line, without regard to case, in one pass: a
// value that itself looks like a placeholder stays as it is.
QString fill(const QString &line, const DunningPlaceholders &values);
// Twenty-five lines from the template's rows (the last row repeated when the level
// has fewer), each filled.
QStringList composeLetter(const QStringList &templateRows, const DunningPlaceholders &values);

QString levelText(int level);   // "2. Mahnung"
QColor levelColour(int level);  // black, orange, red from level 3
QString invoiceLabel(qint64 invoice); // "Rechnung 000123/"

// The bookmarks of a dunning template and their texts, in the order they are filled:
// the same as the project window's dunning page hands over (DunningLetterContent),
// with the letter, project and customer numbers as PadNumber shows them.
QList<WordBookmark> wordBookmarks(const Document &letter, qint64 customer);

} // namespace DunningRules
