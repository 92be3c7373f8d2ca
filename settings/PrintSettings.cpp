#include "PrintSettings.h"

#include "Settings.h"

#include <QGuiApplication>
#include <QPalette>

#include <iterator>

namespace {

struct NamedColour
{
    const char *name;
    QRgb rgb;
};

// The twenty fixed colours, in the order the lists have always had.
const NamedColour FixedColours[] = {
    {"Schwarz", 0x000000},     {"Kastanienbraun", 0x800000}, {"Grün", 0x008000},    {"Oliv", 0x808000},
    {"Marineblau", 0x000080},  {"Violett", 0x800080},        {"Petrol", 0x008080},  {"Grau", 0x808080},
    {"Silber", 0xC0C0C0},      {"Rot", 0xFF0000},            {"Hellgrün", 0x00FF00}, {"Gelb", 0xFFFF00},
    {"Blau", 0x0000FF},        {"Fuchsia", 0xFF00FF},        {"Aqua", 0x00FFFF},    {"Weiß", 0xFFFFFF},
    {"Geldgrün", 0xC0DCC0},    {"Himmelblau", 0xA6CAF0},     {"Creme", 0xFFFBF0},   {"Mittelgrau", 0xA0A0A4},
};

struct PaletteColour
{
    const char *name;
    QPalette::ColorRole role;
};

// Then the desktop's own colours, as its palette has them when the program prints.
const PaletteColour PaletteColours[] = {
    {"Fenstertext", QPalette::WindowText}, {"Fensterhintergrund", QPalette::Window},
    {"Text", QPalette::Text},               {"Texthintergrund", QPalette::Base},
    {"Schaltflächentext", QPalette::ButtonText}, {"Schaltfläche", QPalette::Button},
    {"Markierung", QPalette::Highlight},     {"Markierter Text", QPalette::HighlightedText},
    {"Schatten", QPalette::Shadow},          {"Dunkle Kante", QPalette::Dark},
    {"Helle Kante", QPalette::Light},        {"Quickinfo-Text", QPalette::ToolTipText},
    {"Quickinfo-Hintergrund", QPalette::ToolTipBase},
};

constexpr int FixedCount = int(std::size(FixedColours));
constexpr int PaletteCount = int(std::size(PaletteColours));

int readPosition(const UserSettings &settings, const char *name)
{
    return settings.readInt(QLatin1String(name)).value_or(0);
}

} // namespace

PrintOrigin ReadPrintOrigin(UserSettings &settings)
{
    const std::optional<int> left = settings.readInt(QStringLiteral("SHLeft"));
    const std::optional<int> top = settings.readInt(QStringLiteral("SHTop"));
    PrintOrigin origin;
    if (left && top) {
        origin.shLeft = *left;
        origin.shTop = *top;
        return origin;
    }
    settings.writeInt(QStringLiteral("SHLeft"), origin.shLeft);
    settings.writeInt(QStringLiteral("SHTop"), origin.shTop);
    return origin;
}

QStringList GridColourNames()
{
    QStringList names;
    for (const NamedColour &c : FixedColours)
        names << QString::fromUtf8(c.name);
    for (const PaletteColour &c : PaletteColours)
        names << QString::fromUtf8(c.name);
    return names;
}

QColor GridColour(int position)
{
    if (position >= 0 && position < FixedCount)
        return QColor::fromRgb(FixedColours[position].rgb);
    if (position >= FixedCount && position < FixedCount + PaletteCount)
        return QGuiApplication::palette().color(PaletteColours[position - FixedCount].role);
    return Qt::black;
}

QStringList GridLineStyleNames()
{
    return {QStringLiteral("Keine Linie"), QStringLiteral("Durchgezogene Linie"), QStringLiteral("Strichlierte Linie"),
            QStringLiteral("Punktierte Linie"), QStringLiteral("Abwechselnde Striche und Punkte"),
            QStringLiteral("Strich-Punkt-Punkt-Folgen")};
}

Qt::PenStyle GridLineStyle(int position)
{
    static const Qt::PenStyle styles[] = {Qt::NoPen, Qt::SolidLine, Qt::DashLine,
                                          Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};
    return position >= 0 && position < int(std::size(styles)) ? styles[position] : Qt::NoPen;
}

GridPens ReadGridPens(const UserSettings &settings)
{
    GridPens pens;
    pens.verticalColour = GridColour(readPosition(settings, "StiftColorS"));
    pens.verticalStyle = GridLineStyle(readPosition(settings, "StiftLinieS"));
    pens.horizontalColour = GridColour(readPosition(settings, "StiftColorW"));
    pens.horizontalStyle = GridLineStyle(readPosition(settings, "StiftLinieW"));
    return pens;
}
