#include "Icons.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>

QIcon ThemedIcon(const QString &themeName, QStyle::StandardPixmap fallback)
{
    if (QIcon::hasThemeIcon(themeName))
        return QIcon::fromTheme(themeName);
    return QApplication::style()->standardIcon(fallback);
}

void ChooseIconTheme()
{
    if (!QIcon::themeName().isEmpty() && QIcon::themeName() != QLatin1String("hicolor"))
        return;
    for (const char *theme : {"Adwaita", "breeze", "oxygen", "Tango"})
        for (const QString &base : QIcon::themeSearchPaths())
            if (QDir(base + QLatin1Char('/') + QLatin1String(theme)).exists()) {
                QIcon::setThemeName(QLatin1String(theme));
                return;
            }
}

QIcon ProgramIcon()
{
    QIcon icon;
    // each picture says its own size; QIcon picks the nearest for each use
    QDirIterator it(QStringLiteral(":/icons"), {QStringLiteral("orvella-*.png")}, QDir::Files);
    while (it.hasNext())
        icon.addFile(it.next());
    return icon;
}
