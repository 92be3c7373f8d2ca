#pragma once

#include "PrintSettings.h"

#include <QList>
#include <QString>
#include <array>

class AppState;
class Database;

// One of the five footer lines under every printout: the texts of foot.A … D.
using FooterRow = std::array<QString, 4>;

// What a printout needs besides the document: the origin, the font-scale offset,
// the grid pens, the footer and the currency symbol. Read once per print.
struct PrintSetup
{
    static constexpr int FooterRows = 5;

    int left = 0;   // L = SHLeft − 200
    int top = 100;  // T = SHTop
    int sizeOffset = 0; // added to every fitting width (font scale of the options)
    GridPens pens;
    QList<FooterRow> footer = QList<FooterRow>(FooterRows);
    QString currency = QStringLiteral("€");

    // The user's origin (defaults written when missing) and pens, the size offset
    // of the run, the footer and the currency of the home folder.
    static PrintSetup read(AppState &state);
};

// SELECT A,B,C,D,X FROM foot WHERE Firma = 1 ORDER BY X, always five rows: when
// the table holds fewer, the last row is printed again; without rows they are empty.
QList<FooterRow> ReadFooter(Database &db);
