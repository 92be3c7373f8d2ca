#include "MahnungForm.h"

#include "MahnungPanel.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

void MahnungForm::buildForm(QDialog *window)
{
    QStyle *style = window->style();
    auto *root = new QVBoxLayout(window);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    auto *menus = new QMenuBar(window);
    root->setMenuBar(menus);
    QMenu *datei = menus->addMenu(QStringLiteral("&Datei"));
    actClose = datei->addAction(QStringLiteral("Fenster &Schließen"), window, &QDialog::reject);
    actClose->setObjectName(QStringLiteral("actClose"));
    QMenu *ansicht = menus->addMenu(QStringLiteral("&Ansicht"));
    actDruckTool = ansicht->addAction(QStringLiteral("&Drucktool"));
    actDruckTool->setObjectName(QStringLiteral("actDruckTool"));
    actWordTool = ansicht->addAction(QStringLiteral("&Wordtool"));
    actWordTool->setObjectName(QStringLiteral("actWordTool"));
    actDruckJob = ansicht->addAction(QStringLiteral("DruckJob"));
    actDruckJob->setObjectName(QStringLiteral("actDruckJob"));
    QMenu *projekt = menus->addMenu(QStringLiteral("Projekt"));
    actOptions = projekt->addAction(QStringLiteral("&Optionen"));
    actOptions->setObjectName(QStringLiteral("actOptions"));
    for (QMenu *m : {datei, ansicht, projekt})
        m->setToolTipsVisible(true);

    toolBar = new QToolBar(window);
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->addAction(style->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Schließen"), window,
                       &QDialog::reject);
    const auto panel = [this](QWidget *content) {
        content->setContentsMargins(6, 0, 6, 0);
        return toolBar->addWidget(content);
    };
    // Print panel: printer, copies, print at once.
    auto *druck = new QWidget(window);
    auto *dl = new QHBoxLayout(druck);
    dl->setContentsMargins(0, 0, 0, 0);
    cbDrucker = new QComboBox(druck);
    cbDrucker->setObjectName(QStringLiteral("cbDrucker"));
    cbDrucker->setToolTip(QStringLiteral("Drucker auswählen"));
    cbDrucker->setMinimumContentsLength(14);
    cbDrucker->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    spnKopien = new QSpinBox(druck);
    spnKopien->setObjectName(QStringLiteral("spnKopien"));
    spnKopien->setRange(1, 99);
    btnDruckPanel = new QToolButton(druck);
    btnDruckPanel->setObjectName(QStringLiteral("btnDruckPanel"));
    btnDruckPanel->setIcon(QIcon::fromTheme(QStringLiteral("document-print"), style->standardIcon(QStyle::SP_FileIcon)));
    for (QWidget *w : std::initializer_list<QWidget *>{cbDrucker, spnKopien, btnDruckPanel})
        dl->addWidget(w);
    pnlDruck = panel(druck);
    // Word panel: template and export.
    auto *word = new QWidget(window);
    auto *wl = new QHBoxLayout(word);
    wl->setContentsMargins(0, 0, 0, 0);
    cbVorlage = new QComboBox(word);
    cbVorlage->setObjectName(QStringLiteral("cbVorlage"));
    cbVorlage->setMinimumContentsLength(14);
    cbVorlage->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    btnWord = new QToolButton(word);
    btnWord->setObjectName(QStringLiteral("btnWord"));
    btnWord->setIcon(QIcon::fromTheme(QStringLiteral("x-office-document"), style->standardIcon(QStyle::SP_FileIcon)));
    btnWord->setToolTip(QStringLiteral("Mahnung an die Textverarbeitung übergeben"));
    wl->addWidget(cbVorlage);
    wl->addWidget(btnWord);
    pnlWord = panel(word);
    // Print-job panel.
    auto *job = new QWidget(window);
    auto *jl = new QHBoxLayout(job);
    jl->setContentsMargins(0, 0, 0, 0);
    cbDruckJob = new QComboBox(job);
    cbDruckJob->setObjectName(QStringLiteral("cbDruckJob"));
    cbDruckJob->setMinimumContentsLength(12);
    cbDruckJob->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    btnDruckJob = new QToolButton(job);
    btnDruckJob->setObjectName(QStringLiteral("btnDruckJob"));
    btnDruckJob->setText(QStringLiteral("Job"));
    jl->addWidget(cbDruckJob);
    jl->addWidget(btnDruckJob);
    pnlJob = panel(job);
    root->addWidget(toolBar);
    const std::pair<QAction *, QAction *> bands[] = {{actDruckTool, pnlDruck}, {actWordTool, pnlWord}, {actDruckJob, pnlJob}};
    for (const auto &[menuItem, band] : bands) {
        menuItem->setCheckable(true);
        menuItem->setChecked(true);
        QObject::connect(menuItem, &QAction::toggled, band, &QAction::setVisible);
    }

    // Group "Mahnung"
    auto *body = new QHBoxLayout;
    body->setContentsMargins(6, 6, 6, 6);
    auto *side = new QVBoxLayout;
    btnSave = new QToolButton(window);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnSave->setText(QStringLiteral("Speichern"));
    btnSave->setToolTip(QStringLiteral("Mahnung in Datenbank speichern"));
    btnSave->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
    btnPrint = new QToolButton(window);
    btnPrint->setObjectName(QStringLiteral("btnPrint"));
    btnPrint->setText(QStringLiteral("Drucken"));
    btnPrint->setIcon(QIcon::fromTheme(QStringLiteral("document-print"), style->standardIcon(QStyle::SP_FileIcon)));
    btnPrint->setToolTip(QStringLiteral("Mahnung in Standardformular ausdrucken"));
    for (QToolButton *b : {btnSave, btnPrint}) {
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setMinimumWidth(76);
        side->addWidget(b);
    }
    side->addStretch(1);
    body->addLayout(side);

    auto *group = new QGroupBox(QStringLiteral("Mahnung"), window);
    group->setObjectName(QStringLiteral("grpMahnung"));
    auto *gl = new QVBoxLayout(group);
    letter = new MahnungPanel({.smallSender = true, .dateLastInTabOrder = true}, group);
    gl->addWidget(letter);
    edtEFirma = letter->edtEFirma;
    edtName = letter->edtName;
    edtStrasse = letter->edtStrasse;
    edtPlzOrt = letter->edtPlzOrt;
    chkLinks = letter->chkLinks;
    edtName2 = letter->edtName2;
    edtStrasse2 = letter->edtStrasse2;
    edtPlzOrt2 = letter->edtPlzOrt2;
    edtPrNr = letter->edtPrNr;
    edtMNr = letter->edtMNr;
    edtKNr = letter->edtKNr;
    edtUID = letter->edtUID;
    dtDatum = letter->dtDatum;
    lblInvoice = letter->lblInvoice;
    lblLevel = letter->lblLevel;
    memLetter = letter->memLetter;
    body->addWidget(group, 1);
    root->addLayout(body, 1);
}
