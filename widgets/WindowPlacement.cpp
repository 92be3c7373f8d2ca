#include "WindowPlacement.h"

#include "Settings.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>

#include <algorithm>

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

void KeepInsideScreen(QWidget *window)
{
    const QScreen *screen = QGuiApplication::screenAt(window->pos());
    if (!screen)
        screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = window->size() + QSize(FrameWidth, TitleHeight + FrameWidth / 2);
    QPoint p = window->pos();
    // Qt places a dialog over its parent itself; other windows nobody placed would
    // be left to the window manager, which may put them anywhere.
    if (!window->testAttribute(Qt::WA_Moved) && !qobject_cast<QDialog *>(window)) {
        const QWidget *over = window->parentWidget() ? window->parentWidget()->window() : QApplication::activeWindow();
        const QRect around = over && over != window && over->isVisible() ? over->frameGeometry() : area;
        p = around.center() - QPoint(frame.width() / 2, frame.height() / 2);
    }
    p.setX(std::clamp(p.x(), area.left(), std::max(area.left(), area.right() + 1 - frame.width())));
    p.setY(std::clamp(p.y(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height())));
    if (p != window->pos())
        window->move(p);
}

void WindowsInsideScreen::installOnApplication()
{
    qApp->installEventFilter(this);
}

bool WindowsInsideScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *w = static_cast<QWidget *>(watched);
        const Qt::WindowType type = w->windowType();
        if (w->isWindow()
            && (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool || type == Qt::SplashScreen))
            KeepInsideScreen(w);
    }
    return QObject::eventFilter(watched, event);
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
