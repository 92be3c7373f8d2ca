#pragma once

#include <QString>

class Database;

// Rows that draw their numbers (the documents of one kind, contacts, projects) are
// saved one at a time by all workstations, so that a number checked and drawn
// inside the saving transaction stays free until it commits. The file's write lock
// does that already (every transaction begins it); on the server this takes a lock
// named after the kind, held to the end of the current transaction.
void LockNumbers(Database &db, const QString &kind);
