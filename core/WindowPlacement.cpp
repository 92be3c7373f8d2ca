#include "WindowPlacement.h"

#include "Settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>

namespace {

// Title bar and frame that the window manager adds around the client area.
constexpr int FrameWidth = 16;
constexpr int TitleHeight = 40;

bool onSomeScreen(QPoint p)
{
    const auto screens = QGuiApplication::screens();
    for (const QScreen *s : screens) {
        if (s->geometry().contains(p))
            return true;
    }
    return screens.isEmpty();
}

void apply(QWidget *window, bool leftRead, int left, bool topRead, int top, QPoint defaults)
{
    QPoint p(leftRead ? left : defaults.x(), leftRead && topRead ? top : defaults.y());
    if (!onSomeScreen(p))
        p = defaults;
    window->move(p);
}

} // namespace

void RestoreWindowPosition(QWidget *window, SettingsGroupReader &reader, const QString &prefix, QPoint defaults)
{
    int left = 0, top = 0;
    const bool leftRead = reader.readInt(prefix + QStringLiteral("Left"), left);
    const bool topRead = reader.readInt(prefix + QStringLiteral("Top"), top);
    apply(window, leftRead, left, topRead, top, defaults);
}

void RestoreWindowPosition(QWidget *window, const QString &prefix, QPoint defaults)
{
    const UserSettings settings;
    SettingsGroupReader reader(settings);
    RestoreWindowPosition(window, reader, prefix, defaults);
}

void SaveWindowPosition(const QWidget *window, const QString &prefix)
{
    UserSettings settings;
    settings.writeInt(prefix + QStringLiteral("Left"), window->x());
    settings.writeInt(prefix + QStringLiteral("Top"), window->y());
}

QSize LargestStartSize(const QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QRect area = screen->availableGeometry();
    return QSize(area.width() - FrameWidth, area.height() - TitleHeight - FrameWidth / 2);
}

void ResizeWithinScreen(QWidget *window, QSize wished)
{
    window->resize(wished.boundedTo(LargestStartSize(window)));
}

QScrollArea *Scrollable(QWidget *content)
{
    auto *area = new QScrollArea(content->parentWidget());
    area->setObjectName(content->objectName() + QStringLiteral("Scroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    return area;
}
