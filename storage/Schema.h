#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>
#include <vector>

#include "DatabaseConfig.h"

// The one definition of every table, index and seed row of an Orvella data set.
namespace Schema {

// Raised by one for every numbered upgrade step added later.
constexpr int Version = 14;
// The step that adds the columns of electronic invoices.
constexpr int EInvoiceColumnsStep = 5;
// The step that gives the server's contacts their contact text (see contactText).
constexpr int ContactTextStep = 6;
// The step that gives invoices and credit notes their date of service, their
// issued mark and their history, and every document the rule of its gross amount.
constexpr int IssuedDocumentsStep = 7;
// The step that keeps failed log-ins in the data set.
constexpr int LoginAttemptsStep = 8;
// The step that moves the server's trigram extension out of the data set's schema.
constexpr int ExtensionSchemaStep = 9;
// The server's schema of the trigram extension, outside every data set.
inline const QString ExtensionSchema = QStringLiteral("orvella_ext");
// The step that gives every document the token of the save that made it.
constexpr int SaveTokenStep = 10;
// The step that finds terms of one or two characters through an index, and
// gives the server's categories theirs.
constexpr int ShortTermStep = 11;
// The step that keeps the bank statement entries booked, and the company's
// further accounts.
constexpr int BankImportStep = 12;
// The step that files electronic invoices received from suppliers.
constexpr int ReceivedInvoiceStep = 13;
// The step that keeps the settings of the DATEV export.
constexpr int DatevStep = 14;
// The issued mark of the invoices and credit notes a data set held before that step.
inline const QString IssuedBeforeUpgrade = QStringLiteral("vor der Umstellung");
// Marks a SQLite file as an Orvella data set ("ORVL").
constexpr quint32 ApplicationId = 0x4F52564C;

// Base names of the document families with the five tables each.
QStringList documentBaseNames();
// Every table of the data set, in creation order.
QStringList tableNames();
// CREATE TABLE and CREATE INDEX statements of the current version, in the
// engine's own types.
QStringList createStatements(DatabaseEngine engine = DatabaseEngine::SQLite);
// INSERT statements of the rows a new data set carries.
QStringList seedStatements();
// Statements that bring a data set from version toVersion-1 to toVersion.
QStringList upgradeStatements(int toVersion, DatabaseEngine engine = DatabaseEngine::SQLite);

// The substring indexes of the searches that match anywhere in a text. Each index
// table holds, under the number of a row of one table, that row's texts split
// into runs of three characters (the engine's trigram index), so a term is found
// without reading every row. Triggers on the tables keep them in step with every
// writer, a restored backup included.
enum class SearchIndex
{
    Firma,   // companies, with the texts of their main address
    Name,    // persons, with the texts of their main address
    Projekt, // projects: the contact names the project keeps, and the project name
    Artikel, // article names and numbers
};

// One index table of a search: the columns whose texts it holds (named as in the
// searched tables) and how its row numbers lead to the searched rows: keys with
// "%1" standing for a query of the matching row numbers. runs lists the index's
// runs of three characters (in the index's lower case) with the row number
// (doc) and column (col) of each place they stand; every indexed text has two
// characters appended that no search holds, so every character of a text starts
// a run, and a term of one or two characters is found through the runs that
// begin with it.
struct SearchIndexPart
{
    QString table;
    QStringList columns;
    QString keys;
    QString runs;
};

struct SearchIndexInfo
{
    QString key; // the searched rows' number column ("firma.IDF")
    std::vector<SearchIndexPart> parts;
};

SearchIndexInfo searchIndexInfo(SearchIndex index);

// Drops and creates the substring indexes with their triggers and fills them from
// the tables (the SQLite file's; the server keeps a trigram index per searched
// column instead). Part of a new data set; may be run again on any data set (for
// example after tables were replaced as a whole).
QStringList searchIndexStatements();

// The server's text of a contact as the contact list's general search sees it: the
// texts that search looks into, of a company or person and of its main addresses,
// in lower case, in one column of the contact's row; triggers on the contact, its
// links and its addresses keep it. It is empty (NULL) while the contact has no
// main address, since the list shows no such contact. The texts are joined by
// ContactTextSeparator: a term without it lies in the contact text exactly when
// it lies (case aside) in one of the texts.
struct ContactText
{
    QString table;       // "firma"
    QString column;      // "firma.suchtext"
    QStringList columns; // the texts it holds, as a search names them ("firma.Name", "adresse.Ort")
};
inline constexpr char16_t ContactTextSeparator = u'\n';
// The server's function that gives a contact text's characters and pairs of
// characters, each once, as an array; an index of it finds terms of one or two
// characters (function(column) @> ARRAY[term]).
inline const QString ShortTermFunction = QStringLiteral("orvella_kurzteile");
// The contact text of the index's contacts; none for the other indexes.
std::optional<ContactText> contactText(SearchIndex index);

} // namespace Schema
