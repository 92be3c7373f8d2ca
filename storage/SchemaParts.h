#pragma once

#include "DatabaseConfig.h"

#include <QString>
#include <QStringList>

#include <vector>

// What the files of Schema share among themselves and nobody else uses: the
// column types and indexes of the table definitions (Schema.cpp), on which the
// upgrade steps (SchemaSteps.cpp) build, and the server's search statements
// (SchemaSearch.cpp), which a new data set runs as well as the steps.
namespace Schema::Parts {

enum class Type { Integer, Money, Date, Text, Auto };

struct Index
{
    QString table;
    QString columns; // comma separated
    bool unique;
};

// Base names of the document families with the five tables each.
const QStringList &docBases();
// Every number and link column that statements search or join on.
std::vector<Index> indexes();
// A column type as the engine writes it.
QString typeSql(Type type, DatabaseEngine engine);
QString createIndex(const Index &ix, bool ifNotExists = false);
// For an upgrade step, which may meet a data set that has the table already.
QString createTableIfMissing(const QString &name, DatabaseEngine engine);

// The server's trigram extension, its trigram indexes and its contact texts.
QStringList trigramExtensionStatements();
QStringList serverSearchIndexStatements();
QStringList contactTextStatements();
QStringList quickListStatements();

} // namespace Schema::Parts
