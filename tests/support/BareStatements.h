#pragma once

#include <QStringList>

#include <functional>

class Database;

// For the benchmark programs: what a piece of program code costs next to the
// statements it sends, run bare on the same engine connection.

// Fills a large data set row by row without the triggers of the substring
// indexes, then builds the indexes as the schema upgrade builds them for an
// existing data set, all in one transaction. Returns the seconds of the build.
double FillThenIndex(Database &db, const std::function<void()> &fill);

// Median wall-clock milliseconds of work over runs (fewer runs for slow work).
double MedianMs(const std::function<void()> &work, int runs = 15);
// The same in processor time of the calling thread: what the work itself costs,
// also while other programs keep the machine busy (the data set is in the page
// cache after the first run, so on an idle machine both agree).
double MedianCpuMs(const std::function<void()> &work, int runs = 15);

// The statements the work sends to the engine, in order (statements that
// triggers run are not listed).
QStringList RecordStatements(Database &db, const std::function<void()> &work);

// Median processor milliseconds (MedianCpuMs) of running the statements straight on the engine:
// prepare, step through every row, finalize; no driver and no conversion of
// values, as the engine's own shell would run them. On the server: the server's
// own planning and execution times (EXPLAIN ANALYZE), medians over the runs.
double BareStatementsMs(Database &db, const QStringList &statements, int runs = 15);
