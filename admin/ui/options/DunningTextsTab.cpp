#include "DunningTextsTab.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "OptionsRules.h"
#include "TextTemplateStore.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>

using namespace OptionsRules;

namespace {

QStringList editorLines(const QPlainTextEdit *edit)
{
    return edit->toPlainText().split(QLatin1Char('\n'));
}

// A key that puts text into the editor (characters, a line break), as opposed
// to moving the caret or deleting.
bool insertsText(const QKeyEvent *key)
{
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        return true;
    if (key->matches(QKeySequence::Paste))
        return true;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).isPrint() && !(key->modifiers() & Qt::ControlModifier);
}

} // namespace

DunningTextsTab::DunningTextsTab(AppState &state, QWidget *parent)
    : OptionsPage(parent), m_state(state), m_store(std::make_unique<TextTemplateStore>(state.db))
{
    setObjectName(QStringLiteral("tabMahntexte"));
    buildUi();
}

DunningTextsTab::~DunningTextsTab() = default;

void DunningTextsTab::buildUi()
{
    grpMahntexte = new QGroupBox(QStringLiteral("Mahntexte"), this);
    grpMahntexte->setObjectName(QStringLiteral("grpMahntexte"));
    m_levels = new QButtonGroup(this);
    m_levels->setExclusive(true);
    auto *buttons = new QHBoxLayout;
    for (int level = 1; level <= 3; ++level) {
        auto *b = new QPushButton(QStringLiteral("%1. Mahnung").arg(level), grpMahntexte);
        b->setObjectName(QStringLiteral("btnMahnung%1").arg(level));
        b->setCheckable(true);
        b->setAutoDefault(false);
        m_levels->addButton(b, level);
        buttons->addWidget(b);
        btnMahnung << b;
    }
    buttons->addStretch(1);

    const auto text = [this](const char *name, bool readOnly) {
        auto *e = new QPlainTextEdit(grpMahntexte);
        e->setObjectName(QLatin1String(name));
        e->setReadOnly(readOnly);
        e->setLineWrapMode(QPlainTextEdit::NoWrap);
        return e;
    };
    memVorlage = text("memVorlage", false);
    memVorlage->installEventFilter(this);
    memVorschau = text("memVorschau", true);
    memHilfe1 = text("memHilfe1", true);
    memHilfe2 = text("memHilfe2", true);
    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    for (QPlainTextEdit *help : {memHilfe1, memHilfe2}) {
        help->setFont(fixed);
        help->setMaximumHeight(help->fontMetrics().lineSpacing() * 6 + 12);
    }
    memHilfe1->setPlainText(placeholderHelpLeft());
    memHilfe2->setPlainText(placeholderHelpRight());

    // The template above its preview, both as wide as a letter line needs.
    auto *panes = new QSplitter(Qt::Vertical, grpMahntexte);
    panes->setObjectName(QStringLiteral("splMahntexte"));
    panes->addWidget(memVorlage);
    panes->addWidget(memVorschau);
    panes->setChildrenCollapsible(false);
    auto *grid = new QGridLayout(grpMahntexte);
    grid->addLayout(buttons, 0, 0, 1, 2);
    grid->addWidget(panes, 1, 0, 1, 2);
    grid->addWidget(memHilfe1, 2, 0);
    grid->addWidget(memHilfe2, 2, 1);
    grid->setRowStretch(1, 1);
    (new QVBoxLayout(this))->addWidget(grpMahntexte);

    connect(memVorlage, &QPlainTextEdit::textChanged, this, [this] {
        refreshPreview();
        if (!m_loading)
            setModified(true);
    });
    connect(m_levels, &QButtonGroup::idClicked, this,
            [this](int level) { RunCommand(m_state.dialogs, [this, level] { levelChosen(level); }); });
}

void DunningTextsTab::pressLevelButton(int level)
{
    const QSignalBlocker block(m_levels);
    if (QAbstractButton *b = m_levels->button(level))
        b->setChecked(true);
}

void DunningTextsTab::resetLevel()
{
    m_level = 1;
    pressLevelButton(1);
    discard();
}

void DunningTextsTab::load()
{
    pressLevelButton(m_level);
    m_loading = true;
    memVorlage->setPlainText(m_store->dunningTemplate(m_level).join(QLatin1Char('\n')));
    m_loading = false;
    refreshPreview();
    setModified(false);
}

void DunningTextsTab::refreshPreview()
{
    memVorschau->setPlainText(previewLines(editorLines(memVorlage)).join(QLatin1Char('\n')));
}

void DunningTextsTab::levelChosen(int level)
{
    if (level == m_level)
        return;
    if (isModified()
        && m_state.dialogs.question(QStringLiteral("Daten nicht gesichert! Wirklich weitermachen?"),
                                    Dialogs::Buttons::YesCancel)
               != Dialogs::Answer::Yes) {
        pressLevelButton(m_level);
        return;
    }
    m_level = level;
    load();
}

bool DunningTextsTab::save()
{
    if (!m_allowed)
        return false;
    const QStringList lines = editorLines(memVorlage);
    const QList<int> beyond = linesBeyondLimit(lines);
    if (!beyond.isEmpty()) {
        m_state.dialogs.information(beyondLimitMessage(beyond));
        return false;
    }
    m_store->saveDunningTemplate(m_level, lines.mid(0, TemplateLines));
    load();
    const QList<int> overlong = overlongLines(lines, m_state.PrintSizeOffset);
    if (!overlong.isEmpty())
        m_state.dialogs.warning(overlongMessage(overlong));
    return true;
}

void DunningTextsTab::applyPermissions(bool templates)
{
    m_allowed = templates;
    grpMahntexte->setEnabled(templates);
}

bool DunningTextsTab::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == memVorlage && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // The template has 25 lines: nothing is typed on a 26th line, and nothing
        // at all while one holds text.
        const bool beyond = memVorlage->textCursor().blockNumber() >= TemplateLines
                            || !linesBeyondLimit(editorLines(memVorlage)).isEmpty();
        if (beyond && insertsText(key)) {
            m_state.dialogs.information(QStringLiteral("Maximale Anzahl der Linien erreicht!"));
            return true;
        }
    }
    return OptionsPage::eventFilter(watched, event);
}
