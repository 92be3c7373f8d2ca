#include "TfrmOptionen.h"

#include "AdditionalTextsTab.h"
#include "AppState.h"
#include "CommandGuard.h"
#include "CompanyTab.h"
#include "DatevSettingsTab.h"
#include "Dialogs.h"
#include "DunningTextsTab.h"
#include "GeneralTab.h"
#include "PrintJobEditor.h"
#include "PrintSystem.h"
#include "PrinterTab.h"
#include "WindowPlacement.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString NotSavedSwitch = QStringLiteral("Daten wurden nicht gesichert! Änderungen speichern? ");
const QString NotSavedClose = QStringLiteral("Daten wurden nicht gesichert! Wirklich beenden ?");

} // namespace

TfrmOptionen::TfrmOptionen(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_system(std::make_unique<PrintSystem>())
{
    setObjectName(QStringLiteral("TfrmOptionen"));
    setWindowTitle(QStringLiteral("Optionen"));
    buildUi();
    printer->jobEditor->setPrintSystem(m_system.get());
    ResizeWithinScreen(this, QSize(920, 660));
}

TfrmOptionen::~TfrmOptionen() = default;

void TfrmOptionen::setPrintSystem(std::unique_ptr<PrintSystem> system)
{
    m_system = std::move(system);
    printer->jobEditor->setPrintSystem(m_system.get());
}

void TfrmOptionen::buildUi()
{
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 6);
    toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Schließen"), this,
                       &TfrmOptionen::reject);
    root->addWidget(toolBar);

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    general = new GeneralTab(m_state);
    texts = new AdditionalTextsTab(m_state);
    dunning = new DunningTextsTab(m_state);
    company = new CompanyTab(m_state);
    printer = new PrinterTab(m_state);
    datev = new DatevSettingsTab(m_state);
    // A tab taller than a small screen scrolls inside the window.
    const std::pair<OptionsPage *, const char *> pages[] = {{general, "Allgemein"},
                                                            {texts, "Zusatztexte"},
                                                            {dunning, "Mahntexte"},
                                                            {company, "Firmendaten"},
                                                            {printer, "Drucker"},
                                                            {datev, "DATEV"}};
    for (const auto &[page, caption] : pages) {
        tabs->addTab(Scrollable(page), QString::fromUtf8(caption));
        connect(page, &OptionsPage::modifiedChanged, this, [this] { updateButtons(); });
    }
    auto *body = new QVBoxLayout;
    body->setContentsMargins(6, 0, 6, 0);
    body->addWidget(tabs, 1);
    root->addLayout(body, 1);

    const auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    btnBeenden = button("btnBeenden", QStringLiteral("Abbrechen / &Beenden"));
    btnUebernehmen = button("btnUebernehmen", QStringLiteral("&Übernehmen"));
    btnOK = button("btnOK", QStringLiteral("&OK"));
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 0, 6, 0);
    buttons->addStretch(1);
    buttons->addWidget(btnBeenden);
    buttons->addWidget(btnUebernehmen);
    buttons->addWidget(btnOK);
    root->addLayout(buttons);

    connect(tabs, &QTabWidget::currentChanged, this,
            [this](int index) { RunCommand(m_state.dialogs, [this, index] { tabChanged(index); }); });
    connect(btnBeenden, &QPushButton::clicked, this, Guarded(m_state.dialogs, [this] { cmdClose(); }));
    connect(btnUebernehmen, &QPushButton::clicked, this, Guarded(m_state.dialogs, [this] { cmdApply(); }));
    connect(btnOK, &QPushButton::clicked, this, Guarded(m_state.dialogs, [this] { cmdOk(); }));
}

OptionsPage *TfrmOptionen::page(int tab) const
{
    const OptionsPage *const pages[] = {general, texts, dunning, company, printer, datev};
    return tab >= 0 && tab < TabCount ? const_cast<OptionsPage *>(pages[tab]) : nullptr;
}

bool TfrmOptionen::isModified() const
{
    for (int t = 0; t < TabCount; ++t)
        if (page(t)->isModified())
            return true;
    return false;
}

void TfrmOptionen::applyPermissions()
{
    general->applyPermissions(m_state.perm(10));
    printer->applyPermissions(m_state.perm(10));
    texts->applyPermissions(m_state.perm(11));
    dunning->applyPermissions(m_state.perm(12));
    company->applyPermissions(m_state.perm(13));
    datev->applyPermissions(m_state.perm(13));
}

void TfrmOptionen::prepare(Tab shown)
{
    if (parentWidget())
        move(parentWidget()->pos() + QPoint(20, 20));
    {
        const QSignalBlocker block(tabs);
        tabs->setCurrentIndex(shown);
    }
    m_lastTab = shown;
    dunning->resetLevel();
    for (int t = 0; t < TabCount; ++t)
        page(t)->load();
    applyPermissions();
    updateButtons();
}

void TfrmOptionen::updateButtons()
{
    const int tab = tabs->currentIndex();
    const OptionsPage *shown = page(tab);
    // "Allgemein" saves with its own buttons, "Drucker" writes every change at once.
    const bool applies = tab == ZusatztexteTab || tab == MahntexteTab || tab == FirmendatenTab || tab == DatevTab;
    btnUebernehmen->setVisible(applies);
    btnUebernehmen->setEnabled(applies && shown->canSave());
    btnOK->setVisible(tab != AllgemeinTab);
    btnOK->setEnabled(tab == DruckerTab || (applies && shown->canSave()));
}

bool TfrmOptionen::leaveTab(int index)
{
    OptionsPage *left = page(index);
    if (index == ZusatztexteTab) {
        texts->confirmLeave();
        return true;
    }
    if (!left->isModified())
        return true;
    if (m_state.dialogs.question(NotSavedSwitch, Dialogs::Buttons::YesCancel) != Dialogs::Answer::Yes)
        return false;
    return left->save();
}

void TfrmOptionen::tabChanged(int index)
{
    if (m_switching)
        return;
    bool stay = true;
    try {
        stay = !leaveTab(m_lastTab);
    } catch (...) {
        const QSignalBlocker block(tabs);
        tabs->setCurrentIndex(m_lastTab);
        throw;
    }
    if (stay) {
        m_switching = true;
        tabs->setCurrentIndex(m_lastTab);
        m_switching = false;
        return;
    }
    m_lastTab = index;
    // Entering these tabs shows what is stored now.
    if (index == ZusatztexteTab || index == MahntexteTab || index == FirmendatenTab)
        page(index)->load();
    updateButtons();
}

void TfrmOptionen::cmdApply()
{
    OptionsPage *shown = page(tabs->currentIndex());
    if (shown->canSave())
        shown->save();
}

void TfrmOptionen::cmdOk()
{
    OptionsPage *shown = page(tabs->currentIndex());
    if (shown->isModified() && (!shown->canSave() || !shown->save()))
        return;
    reject();
}

void TfrmOptionen::cmdClose()
{
    if (tabs->currentIndex() == MahntexteTab && dunning->isModified()) {
        if (m_state.dialogs.question(QStringLiteral("Daten nicht gesichert! Wirklich weitermachen?"),
                                     Dialogs::Buttons::YesCancel)
            != Dialogs::Answer::Yes)
            return;
        dunning->discard();
    }
    reject();
}

void TfrmOptionen::reject()
{
    if (m_closing)
        return;
    if (isModified() && m_state.dialogs.question(NotSavedClose, Dialogs::Buttons::YesCancel) != Dialogs::Answer::Yes)
        return;
    m_closing = true;
    for (int t = 0; t < TabCount; ++t)
        page(t)->discard();
    QDialog::reject();
    m_closing = false;
}
