#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "DatabaseConfig.h"

// The one definition of every table, index and seed row of an Orvella data set.
namespace Schema {

// Raised by one for every numbered upgrade step added later.
constexpr int Version = 4;
// The step that adds the columns of electronic invoices.
constexpr int EInvoiceColumnsStep = 4;
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

} // namespace Schema
