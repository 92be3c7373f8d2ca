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
// exactly those of that test. A term of three or more characters is first looked
// up in the substring index of the searched table, which names every row that may
// contain it, so the engine reads those rows instead of all of them. A term so
// common that reading its candidates costs more than the scan keeps the plain
// test; for a statement that reads only its first rows in its own order (the
// contact list's hundred rows in name order: firstRows 100) that is the case much
// sooner, because walking that order finds a common term within a few rows.
//
// columns are written as the statement names them ("firma.Name", "adresse.Ort");
// each must be one that the index covers (its last part names the column).
QString SqlContains(Database &db, Schema::SearchIndex index, const QStringList &columns, const QString &text,
                    int firstRows = 0);

// For tests and benchmarks: false makes SqlContains give the plain test only, the
// statement every search had before the substring indexes, to compare rows and
// times with. Process-wide; true by default.
void SetSearchIndexUse(bool use);
