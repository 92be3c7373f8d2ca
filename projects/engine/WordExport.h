#pragma once

#include "Document.h"
#include "DocumentKind.h"
#include "WordWriter.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Database;
class Dialogs;
class LineList;
struct ProjectValue;

// The export of a project window page to the word processor: a new document from a
// template of the page's folder, the page's texts at named bookmarks and, for the
// business documents, the line items as a table at "Tabelle". The export takes what
// the page shows, saved or not, and writes nothing to the tables. Everything here
// works on plain values; the project window gathers them from its pages.

// One text for one bookmark of a template.
struct WordBookmark
{
    QString name;
    QString text;

    bool operator==(const WordBookmark &) const = default;
};

// What an export hands the writer: the texts in the order they are filled and, for
// business documents, the rows of the line table (headings first).
struct WordExportContent
{
    QList<WordBookmark> bookmarks;
    bool hasTable = false;
    QList<QStringList> tableRows;
};

// A page of the project window, as far as the export is concerned: the project page
// (no kind) or the page of a document kind.
using WordExportPage = std::optional<DocumentKind>;

// The template folder of the page below the home folder ("Allgemein", "Angebote",
// "Aufträge", ...) and the hint of the word-processor button on that page.
QString WordTemplateFolder(WordExportPage page);
QString WordButtonHint(WordExportPage page);

// The templates in a folder, by file name: OpenDocument (.ott, .odt) and Word
// (.dotx, .docx) files, hidden files and folders left out, sorted by name.
QStringList WordTemplateNames(const QString &folderPath);

// The width of the line table's columns in points, and their alignment.
QList<double> LineTableWidths();
QList<Qt::Alignment> LineTableAlignments();
// The bookmark the line table goes to; the shipped templates give it a table look
// of the same name.
QString LineTableBookmark();

// The rows of the line table: the headings "Pos.", "Art.-Nr.", "Beschreibung",
// "Anzahl", "Einzelpreis <currency>", "Betrag <currency>", "MwSt", then every line
// of the list as it stands (text and discount lines included), without the hidden
// columns.
QList<QStringList> LineTableRows(const LineList &lines, const QString &currency);

// The cash-discount sentence: "<text> <percent> %. Entspricht  <amount> <currency>",
// the amount being the gross less percent of it; empty when the gross or the
// percentage is empty. The percentage stays as entered. Throws ConversionError when
// either is not a number.
QString SkontoSentence(const QString &skontoText, const QString &percent, const QString &gross,
                       const QString &currency);

// The contact's own salutation (SAnrede) for the "SAnrede" bookmark; empty when the
// contact is not found.
QString ReadSalutation(Database &db, qint64 customer, bool company);

// The project page: "Projekt", "Datum", "Name", "Adresse", "LAdresse", "RAdresse",
// "Bemerkung".
QList<WordBookmark> ProjectPageBookmarks(const ProjectValue &shown, qint64 projectNumber, const QDate &today);

// A document page as it is shown: its document with every field as it stands, and
// the texts of the number fields, leading blanks included.
struct ShownDocumentPage
{
    Document document;
    QString documentListText;   // the page's document list ("      000012")
    QString projectNumberText;  // "Projekt Nr." of the project page
    QString customerNumberText; // "Kunden Nr." of the project page
};

// A business document (every kind but the dunning letter): sixteen bookmarks from
// "Absender" to "SAnrede", for an invoice or credit note also "Leistungsdatum"
// (the date or period of service) and for an invoice "Zahlungsziel" ("Zahlbar bis
// … ohne Abzug."), and the line table. The recipient is the page's first
// address, or its second one when the page's box puts that one into the envelope
// window ("Lieferanschrift links", "Rechnungsanschrift links"). Throws
// ConversionError for a gross amount or Skonto percentage that is not a number,
// before anything is written.
WordExportContent BusinessDocumentContent(const ShownDocumentPage &page, const QString &salutation,
                                          const QString &currency);

// The dunning letter: "Absender" to "MahnText"; the recipient is the invoice address
// when any of its lines is filled, else the first address.
WordExportContent DunningLetterContent(const ShownDocumentPage &page);

// The messages of a page whose template folder is missing or empty; empty text when
// the template list has an entry.
QString MissingTemplateMessage(const QString &folderPath, bool listEmpty);

// Makes the document: a new document from the template, the bookmarks the template
// has (the others are skipped), the table, then saves it and opens it on the
// desktop. A failure (a template that is no document, a business-document template
// without "Tabelle") throws OrvellaError with the writer's message, and no file is
// left behind. Returns whether the desktop opened the document.
bool WriteWordDocument(WordWriter &writer, const QString &templatePath, const WordExportContent &content);

// The word-processor button: the message for a missing folder or an empty list, or
// else the export of what gather collects with the selected template; tells where the
// document was saved when the desktop cannot open it. Returns whether a document
// was written.
bool RunWordExport(Dialogs &dialogs, const QString &folderPath, const QString &templateName,
                   const std::function<WordExportContent()> &gather, WordWriter &writer);
