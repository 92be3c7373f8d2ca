#pragma once

#include <QList>
#include <QString>

// A paper bin (input tray) of a printer as the print system reports it.
struct PaperBin
{
    int number = 0;  // position in the printer's list, from 1
    QString name;    // the name shown to users, at most 24 characters
    QString keyword; // the print system's own name of the bin ("tray-1")

    bool operator==(const PaperBin &) const = default;
};

// The bins of a printer, in the order the print system reports them; empty for a
// printer that is not installed or reports none. The names and the keywords come
// from the print system as one list, so there is no second count to disagree with.
QList<PaperBin> PaperBins(const QString &printerName);
