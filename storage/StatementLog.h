#pragma once

#include <QStringList>

// Benchmarks: while set, every statement that SqlQuery sends is appended to
// recorded, in order (statements that triggers run are not listed); nullptr ends it.
void RecordSentStatements(QStringList *recorded);
