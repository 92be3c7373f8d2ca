#include "PaperBins.h"

#include <cups/cups.h>

QList<PaperBin> PaperBins(const QString &printerName)
{
    QList<PaperBin> bins;
    if (printerName.isEmpty())
        return bins;
    // The printers of this machine are CUPS queues; their input trays are the
    // values the queue supports for "media-source".
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, printerName.toUtf8().constData(), nullptr);
    if (!dest)
        return bins;
    cups_dinfo_t *info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
    if (info) {
        ipp_attribute_t *sources = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_SOURCE);
        const int count = sources ? ippGetCount(sources) : 0;
        for (int i = 0; i < count; ++i) {
            const char *keyword = ippGetString(sources, i, nullptr);
            if (!keyword)
                continue;
            const char *shown = cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_SOURCE, keyword);
            PaperBin bin;
            bin.number = int(bins.size()) + 1;
            bin.keyword = QString::fromUtf8(keyword);
            bin.name = QString::fromUtf8(shown ? shown : keyword).left(24);
            bins << bin;
        }
        cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    return bins;
}
