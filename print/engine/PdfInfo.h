#pragma once

#include <QDateTime>
#include <QString>

// The document information of a PDF as readers show it.
struct PdfInfo
{
    QString title;
    QString author;
    QString creator;
    QString producer;
    QDateTime created;
};

// Gives a PDF written by Qt a new document information dictionary by appending
// an incremental update (Qt itself writes no author). False when the file cannot
// be read or written or its trailer cannot be found; the file is unchanged then.
bool WritePdfInfo(const QString &path, const PdfInfo &info);
