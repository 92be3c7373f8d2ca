// Opens the options window on a throw-away data set with a print job, so its
// tabs and the letterhead window can be looked at (under Xvfb). Not a test:
// nothing is checked.
//   show_options [tab 0..4] [letterhead]

#include "OptionsFixtures.h"
#include "PrintJobEditor.h"
#include "PrinterTab.h"
#include "Settings.h"
#include "TfrmFirmenkopf.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTabWidget>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    TestEnv env;
    WriteOwnCompany(env.home(), QStringLiteral("Holzwerkstatt O'Brien"), QStringLiteral("Sägewerkstraße 4"),
                    QStringLiteral("79098"), QStringLiteral("Freiburg"));
    QImage head(1755, 336, QImage::Format_RGB32);
    head.fill(QColor(240, 246, 255));
    QPainter p(&head);
    p.setFont(QFont(QStringLiteral("Liberation Sans"), 60, QFont::Bold));
    p.drawText(head.rect(), Qt::AlignCenter, QStringLiteral("Holzwerkstatt O'Brien"));
    p.end();
    head.save(env.path(QStringLiteral("kopf.png")));
    PrintJobFile jobs(env.home());
    jobs.createJob(QStringLiteral("Versand"));
    jobs.addStep(QStringLiteral("Versand"));
    jobs.writeStep(QStringLiteral("Versand"), 1,
                   {QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("Laser Büro"), QStringLiteral("0"),
                    QStringLiteral("0"), QStringLiteral("J"), env.path(QStringLiteral("kopf.png"))});

    auto w = OpenOptions(env);
    w->tabs->setCurrentIndex(args.value(1, QStringLiteral("0")).toInt());
    w->show();
    if (args.contains(QStringLiteral("letterhead")))
        QTimer::singleShot(300, [&] { w->printer->jobEditor->letterhead->exec(); });
    return app.exec();
}
