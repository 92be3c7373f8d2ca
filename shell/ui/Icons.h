#pragma once

#include <QIcon>
#include <QStyle>

// An icon of the desktop's theme, or the style's own picture when the theme
// lacks it (a minimal system, the offscreen platform).
QIcon ThemedIcon(const QString &themeName, QStyle::StandardPixmap fallback);
// Chooses an installed icon theme when the platform names none.
void ChooseIconTheme();
// The program's own icon at every size it is drawn in: window icon, information
// window, and (installed into the icon theme) the menu entry.
QIcon ProgramIcon();
