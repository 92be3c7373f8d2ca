#include "AboutDialog.h"
#include "AppWindows.h"
#include "TForm1.h"
#include "TestEnv.h"
#include "TfrmArtikelEintragen.h"
#include "TfrmLogin.h"
#include "TfrmFallingBlocks.h"
#include "TfrmRabatt.h"
#include "TfrmRestore.h"
#include "TfrmSconto.h"
#include "TfrmService.h"
#include "TfrmStartinfo.h"
#include "TfrmZusatzText.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

// Every window fits a 1366 × 768 laptop screen with a 40-pixel panel: the size it
// starts with and the least its layout needs, title bar included; and it opens
// inside that screen, wherever it was last or would be put.
class TestWindowSizes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyWindowFitsALaptop();
};

void TestWindowSizes::everyWindowFitsALaptop()
{
    QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), QSize(1366, 728));
    TestEnv env;
    TForm1 main(env.state());
    AppWindows windows(env.state(), main);
    windows.createAll();
    // the dialogs that are made when they are opened
    TfrmArtikelEintragen articles(env.state());
    TfrmRabatt discount(env.state());
    TfrmSconto skonto(env.state());
    TfrmZusatzText texts(env.state());
    TfrmRestore restore(env.state());
    TfrmService service(env.state());
    AboutDialog about(env.home());
    TfrmStartinfo splash;
    TfrmLogin login(env.state());
    TfrmFallingBlocks game(env.dialogs());

    const QSize largest = LargestStartSize(&main);
    QVERIFY(largest.height() <= 728 - 40);
    int checked = 0;
    QStringList tooLarge;
    const auto all = QApplication::allWidgets();
    for (QWidget *w : all) {
        if (!w->isWindow() || qobject_cast<QMenu *>(w) || w->windowType() == Qt::ToolTip
            || w->inherits("QComboBoxPrivateContainer") || w->inherits("QCalendarPopup"))
            continue;
        const QByteArray name = w->metaObject()->className();
        if (w->width() > largest.width() || w->height() > largest.height())
            tooLarge << QStringLiteral("%1 starts at %2x%3").arg(name).arg(w->width()).arg(w->height());
        const QSize least = w->minimumSizeHint().expandedTo(w->minimumSize());
        if (least.width() > largest.width() || least.height() > largest.height())
            tooLarge << QStringLiteral("%1 needs %2x%3").arg(name).arg(least.width()).arg(least.height());
        ++checked;
    }
    QVERIFY2(tooLarge.isEmpty(), qPrintable(tooLarge.join(QStringLiteral("; "))));
    QVERIFY2(checked >= 12, qPrintable(QString::number(checked)));

    // Shown, each lies inside the screen with its title bar and frame, also the
    // main window last closed at the screen's lower right corner.
    WindowsInsideScreen onScreen;
    onScreen.installOnApplication();
    main.move(1300, 700);
    main.show();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QStringList outside;
    for (QWidget *w : all) {
        if (!w->isWindow() || qobject_cast<QMenu *>(w) || w->windowType() == Qt::ToolTip
            || w->windowType() == Qt::Popup || w->inherits("QComboBoxPrivateContainer") || w->inherits("QCalendarPopup"))
            continue;
        w->show();
        const QRect frame(w->pos(), w->size() + QSize(16, 48));
        if (!area.contains(frame))
            outside << QStringLiteral("%1 at %2,%3 %4x%5")
                           .arg(w->metaObject()->className())
                           .arg(frame.x())
                           .arg(frame.y())
                           .arg(frame.width())
                           .arg(frame.height());
        if (w != &main)
            w->hide();
    }
    QVERIFY2(outside.isEmpty(), qPrintable(outside.join(QStringLiteral("; "))));
}

// The screen is a laptop's: 1366 × 768 less a 40-pixel panel.
int main(int argc, char *argv[])
{
    QTemporaryDir dir;
    QFile config(dir.filePath("screen.json"));
    if (!config.open(QIODevice::WriteOnly))
        return 2;
    config.write(R"({"screens": [{"name": "Laptop", "x": 0, "y": 0, "width": 1366, "height": 728,
                     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
    QApplication app(argc, argv);
    TestWindowSizes test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowsizes.moc"
