#pragma once

#include <QFont>
#include <QString>
#include <array>

class QPaintDevice;

// The six text sizes of a printout, fitted on the device that prints: for a
// reference width W (in tenths of a millimetre) the largest whole point size, from
// 50 down, at which the reference string is narrower than W plus the size offset.
// All printed text is Liberation Sans, which has the widths of Arial.
class PrintFonts
{
public:
    enum Size { S900, S1000, S1100, S1300, S1600, S1800, SizeCount };

    static const QString Family;
    static const QString Reference; // "ABC…XYZabc…xyz1234567890"

    PrintFonts(const QPaintDevice *device, int sizeOffset);

    int pointSize(Size size) const { return m_points[size]; }
    QFont font(Size size, bool bold = false, bool italic = false) const;
    // The fitted point size for one width; at least 1.
    static int fit(const QPaintDevice *device, int width);
    static int referenceWidth(Size size);

private:
    std::array<int, SizeCount> m_points{};
};
