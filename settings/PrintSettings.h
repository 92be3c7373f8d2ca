#pragma once

#include <QColor>
#include <QList>
#include <QPen>
#include <QString>
#include <QStringList>

class UserSettings;

// Where printouts start: SHLeft and SHTop of the user's preferences, in tenths of
// a millimetre. A printout places its elements at x = left() + a and, downwards
// from the top of the printable area, b − top() for the distances a and b of its
// layout; so with the defaults an element at a = 250, b = 550 stands 25 mm from
// the left and 45 mm from the top.
struct PrintOrigin
{
    int shLeft = 200;
    int shTop = 100;

    int left() const { return shLeft - 200; }
    int top() const { return shTop; }
};

// Reads SHLeft and SHTop. When either cannot be read, both defaults (200, 100)
// are written and used.
PrintOrigin ReadPrintOrigin(UserSettings &settings);

// The colours and line styles offered for the grid lines of printed line tables,
// stored by their position in these lists (StiftColorS/W, StiftLinieS/W).
// Colours: the sixteen standard colours, money green, sky blue, cream, medium
// grey, then colours of the desktop's palette; position 0 is black.
QStringList GridColourNames();
// The colour at a list position; black for a position outside the list.
QColor GridColour(int position);
// "Keine Linie", "Durchgezogene Linie", "Strichlierte Linie", "Punktierte Linie",
// "Abwechselnde Striche und Punkte", "Strich-Punkt-Punkt-Folgen".
QStringList GridLineStyleNames();
// The style at a list position; no line for a position outside the list.
Qt::PenStyle GridLineStyle(int position);

// The two pens of a line table's grid: vertical (S) and horizontal (W) lines.
struct GridPens
{
    QColor verticalColour = Qt::black;
    Qt::PenStyle verticalStyle = Qt::NoPen;
    QColor horizontalColour = Qt::black;
    Qt::PenStyle horizontalStyle = Qt::NoPen;
};

// Reads the four list positions; a value that cannot be read counts as position 0
// (black, no line).
GridPens ReadGridPens(const UserSettings &settings);
