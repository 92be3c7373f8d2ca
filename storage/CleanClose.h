#pragma once

#include <QString>

// The mark a clean close leaves beside the data set file: the file's size,
// inode and its modification and change times to the nanosecond, taken after the
// last connection closed. While the file still matches it, nothing has touched
// the data set since this program checked it, wrote to it and closed it, so the
// next start may skip the check of every page. A session that ends otherwise
// (a crash, a lost power supply) leaves no mark, since opening removes it.

QString CleanCloseMark(const QString &dataSetFile);
// Writes the mark when the data set is closed for good: no other connection
// keeps a write-ahead log open. Failures only cost the next start its check.
void MarkCleanClose(const QString &dataSetFile);
// The mark is there and the file matches it, and no write-ahead log waits.
bool ClosedCleanlyAsItIs(const QString &dataSetFile);
