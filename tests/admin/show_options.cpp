// Opens the options window on a throw-away data set with a print job, so its
// tabs and the letterhead window can be looked at (under Xvfb). Not a test:
// nothing is checked.
//   show_options [tab 0..5] [letterhead]
//   show_options pdf OUT.pdf: footer, margins and font scale set through the
//   window, then a dunning letter printed from its first template into OUT.pdf

#include "CompanyTab.h"
#include "Document.h"
#include "DunningLetter.h"
#include "DunningTextsTab.h"
#include "OptionsFixtures.h"
#include "OptionsRules.h"
#include "PrintCommands.h"
#include "PrintJobEditor.h"
#include "PrinterTab.h"
#include "Settings.h"
#include "TfrmFirmenkopf.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
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
    if (args.value(1) == QLatin1String("pdf")) {
        w->tabs->setCurrentIndex(TfrmOptionen::FirmendatenTab);
        w->company->tblFuss->item(0, 1)->setText(QStringLiteral("Tel. 0761 'Büro'"));
        w->company->tblFuss->item(4, 3)->setText(QStringLiteral("USt-IdNr. DE123456788"));
        w->btnUebernehmen->click();
        w->printer->sldLinkerRand->setValue(350); // 10 mm further right
        w->printer->cbSchriftgrad->setCurrentIndex(8);
        Q_EMIT w->printer->cbSchriftgrad->activated(8);
        Document letter(DocumentKind::Mahnung, QStringLiteral("€"));
        letter.number = 1;
        letter.invoiceNumber = 42;
        letter.dunningLevel = 1;
        letter.projectNumber = 7;
        letter.date = QStringLiteral("01.03.2025");
        letter.ownCompany = ReadOwnCompany(env.home()).line;
        letter.address = {QStringLiteral("Frau Ines Mustermann"), QStringLiteral("Hauptstr. 1"),
                          QStringLiteral("12345 Musterstadt")};
        letter.letterLines = OptionsRules::previewLines(w->dunning->memVorlage->toPlainText().split('\n'));
        PrintDunningLetter(env.state(), letter, QStringLiteral("000010"), PrintTarget::pdf(args.value(2)));
        return 0;
    }
    w->tabs->setCurrentIndex(args.value(1, QStringLiteral("0")).toInt());
    w->show();
    if (args.contains(QStringLiteral("letterhead")))
        QTimer::singleShot(300, [&] { w->printer->jobEditor->letterhead->exec(); });
    return app.exec();
}
