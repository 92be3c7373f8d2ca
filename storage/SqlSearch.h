#pragma once

#include "Schema.h"

#include <QString>
#include <QStringList>

class Database;

// The condition "the columns contain the typed text" of the searches that match
// anywhere in a text (contact names, terms, addresses, project names, articles).
//
// It always holds the same LIKE test as a plain scan (SqlLike, so a typed "%" or
// "_" matches literally), one per column, joined by OR; the rows found are
// exactly those of that test. The term is first looked up in the substring index
// of the searched table, which names every row that may contain it, so the engine
// reads those rows instead of all of them (a term of one or two characters
// through the index's runs that begin with it). A term so
// common that reading its candidates costs more than the scan keeps the plain
// test; for a statement that reads only its first rows in its own order (the
// contact list's hundred rows in name order: firstRows 100) that is the case much
// sooner, because walking that order finds a common term within a few rows.
//
// columns are written as the statement names them ("firma.Name", "adresse.Ort");
// each must be one that the index covers (its last part names the column).
QString SqlContains(Database &db, Schema::SearchIndex index, const QStringList &columns, const QString &text,
                    int firstRows = 0);

// A list of the first rows a search finds, in the order of one column of the
// searched table (the contact list's names), among the rows that meet filter, the
// statement's own conditions on that table ("firma.St = '1'"), which it keeps.
// On the server a contact search over the texts of the contact text
// (Schema::contactText), or over the contact's own columns, first picks the
// first firstRows contacts in that order whose texts hold the term and that have
// a main address, and the statement reads only their rows: each such contact has
// at least one row that the LIKE test passes, so they are the contacts of the
// list's first rows. The rows found are those of the plain test.
struct ListedRows
{
    int firstRows = 0;
    QString order;
    QString filter;
};
QString SqlContains(Database &db, Schema::SearchIndex index, const QStringList &columns, const QString &text,
                    const ListedRows &list);

// The condition that keeps a list without a term to the rows of its first
// contacts: on the server the first firstRows contacts in the list's order that
// meet the filter and have a main address (each has a row of the list), picked
// from the contact's own rows and their index, since the server would otherwise
// join and sort every contact for the list's DISTINCT. Empty on the file, whose
// engine walks the order by itself, and for indexes of other than contacts.
QString SqlListedContacts(Schema::SearchIndex index, const ListedRows &list);

// For tests and benchmarks: false makes SqlContains give the plain test only, the
// statement every search had before the substring indexes, to compare rows and
// times with. Process-wide; true by default.
void SetSearchIndexUse(bool use);
