#include "PrintFonts.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>

const QString PrintFonts::Family = QStringLiteral("Liberation Sans");
const QString PrintFonts::Reference = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890");

namespace {

QFont baseFont(qreal points)
{
    QFont f(PrintFonts::Family);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    return f;
}

qreal referenceAdvance(const QPaintDevice *device, int points)
{
    return QFontMetricsF(baseFont(points), device).horizontalAdvance(PrintFonts::Reference);
}

} // namespace

PrintFonts::PrintFonts(const QPaintDevice *device, int sizeOffset)
{
    for (int s = 0; s < SizeCount; ++s)
        m_points[s] = fit(device, referenceWidth(Size(s)) + sizeOffset);
}

int PrintFonts::referenceWidth(Size size)
{
    static const int widths[SizeCount] = {900, 1000, 1100, 1300, 1600, 1800};
    return widths[size];
}

int PrintFonts::fit(const QPaintDevice *device, int width)
{
    // The width grows with the size, so instead of trying every size from 50 down
    // the search starts at a linear estimate from 10 points and walks from there.
    const qreal at10 = referenceAdvance(device, 10);
    int size = at10 > 0 ? std::clamp(int(std::floor(width * 10 / at10)), 1, 50) : 50;
    while (size < 50 && referenceAdvance(device, size + 1) < width)
        ++size;
    while (size > 1 && referenceAdvance(device, size) >= width)
        --size;
    return size;
}

QFont PrintFonts::font(Size size, bool bold, bool italic) const
{
    QFont f = baseFont(m_points[size]);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}
