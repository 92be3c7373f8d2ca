#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>

class QScrollArea;
class QWidget;
class SettingsGroupReader;

// Where a window stands is kept per user as "<prefix>Left" and "<prefix>Top"
// (for example "ProjektLeft"/"ProjektTop"). Both are read as one group, Left
// first: a missing or unreadable Left leaves the window at both defaults, a
// missing Top keeps the stored Left and takes the default top. A stored point
// that no longer lies on any screen (a monitor was removed) counts as missing.

// Reads and applies the position.
void RestoreWindowPosition(QWidget *window, const QString &prefix, QPoint defaults = QPoint(0, 0));
// The same inside a larger group of values that the window reads after the position;
// the reader reports the failure to the later reads.
void RestoreWindowPosition(QWidget *window, SettingsGroupReader &reader, const QString &prefix,
                           QPoint defaults = QPoint(0, 0));
void SaveWindowPosition(const QWidget *window, const QString &prefix);

// The largest size a window may start with on the screen it is shown on: the
// available area (without panels) less room for the title bar and frame.
QSize LargestStartSize(const QWidget *window);
// Resizes to the wished size, shrunk to LargestStartSize where the screen is smaller.
void ResizeWithinScreen(QWidget *window, QSize wished);
// Moves a window about to be shown so that it lies inside the screen it opens on,
// title bar and frame included. A window nobody placed is centred over the window
// it belongs to (or the active one, else the screen) first.
void KeepInsideScreen(QWidget *window);

// Does KeepInsideScreen for every window of the application as it is shown.
class WindowsInsideScreen : public QObject
{
public:
    using QObject::QObject;
    void installOnApplication();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// The content in a frameless scroll area that follows the window's size, so a page
// taller than a small screen scrolls inside the window instead of growing it.
QScrollArea *Scrollable(QWidget *content);
