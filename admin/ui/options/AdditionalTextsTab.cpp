#include "AdditionalTextsTab.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "OptionsRules.h"
#include "TextTemplate.h"
#include "TextTemplateStore.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

using namespace OptionsRules;

AdditionalTextsTab::AdditionalTextsTab(AppState &state, QWidget *parent)
    : OptionsPage(parent), m_state(state), m_store(std::make_unique<TextTemplateStore>(state.db))
{
    setObjectName(QStringLiteral("tabZusatztexte"));
    buildUi();
}

AdditionalTextsTab::~AdditionalTextsTab() = default;

void AdditionalTextsTab::buildUi()
{
    tabsArt = new QTabBar(this);
    tabsArt->setObjectName(QStringLiteral("tabsArt"));
    for (const TextKind &kind : textKinds())
        tabsArt->addTab(kind.caption);

    grpZusatztexte = new QGroupBox(QStringLiteral("Zusatztexte"), this);
    grpZusatztexte->setObjectName(QStringLiteral("grpZusatztexte"));
    auto *grid = new QGridLayout(grpZusatztexte);
    for (int i = 0; i < Lines; ++i) {
        auto *edit = new QLineEdit(grpZusatztexte);
        edit->setObjectName(QStringLiteral("edtZeile%1").arg(i + 1));
        auto *bold = new QCheckBox(QStringLiteral("Bold"), grpZusatztexte);
        bold->setObjectName(QStringLiteral("chkBold%1").arg(i + 1));
        auto *italic = new QCheckBox(QStringLiteral("Italic"), grpZusatztexte);
        italic->setObjectName(QStringLiteral("chkItalic%1").arg(i + 1));
        auto *label = new QLabel(QStringLiteral("Zeile %1").arg(i + 1), grpZusatztexte);
        label->setBuddy(edit);
        grid->addWidget(label, i, 0);
        grid->addWidget(edit, i, 1);
        grid->addWidget(bold, i, 2);
        grid->addWidget(italic, i, 3);
        edtZeile << edit;
        chkBold << bold;
        chkItalic << italic;
        connect(edit, &QLineEdit::textEdited, this, [this] { setModified(true); });
        for (QCheckBox *box : {bold, italic}) {
            connect(box, &QCheckBox::clicked, this, [this] { setModified(true); });
            // The line shows the style it is printed in.
            connect(box, &QCheckBox::toggled, edit, [edit, bold, italic] {
                QFont f = edit->font();
                f.setBold(bold->isChecked());
                f.setItalic(italic->isChecked());
                edit->setFont(f);
            });
        }
    }
    grid->setColumnStretch(1, 1);

    grpMail = new QGroupBox(QStringLiteral("E-Mail-Text"), this);
    grpMail->setObjectName(QStringLiteral("grpMail"));
    auto *mail = new QVBoxLayout(grpMail);
    edtMailText = new QPlainTextEdit(grpMail);
    edtMailText->setObjectName(QStringLiteral("edtMailText"));
    edtMailText->setTabChangesFocus(true);
    edtMailText->setFixedHeight(edtMailText->fontMetrics().lineSpacing() * 7);
    auto *hint = new QLabel(QStringLiteral("Text der E-Mail, mit der ein Beleg versandt wird. %1 steht für den Beleg, "
                                           "z. B. „Rechnung 000123“.")
                                .arg(TextTemplate::MailPlaceholder),
                            grpMail);
    hint->setWordWrap(true);
    mail->addWidget(edtMailText);
    mail->addWidget(hint);
    connect(edtMailText, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading)
            setModified(true);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabsArt);
    layout->addWidget(grpZusatztexte);
    layout->addWidget(grpMail);
    layout->addStretch(1);

    connect(tabsArt, &QTabBar::currentChanged, this,
            [this](int index) { RunCommand(m_state.dialogs, [this, index] { kindChosen(index); }); });
}

QString AdditionalTextsTab::kindLetter() const
{
    return textKinds().value(m_kind).letter;
}

void AdditionalTextsTab::load()
{
    const QList<TextLine> lines = m_store->additionalTexts(kindLetter());
    for (int i = 0; i < Lines; ++i) {
        edtZeile[i]->setText(lines[i].text);
        chkBold[i]->setChecked(styleIsBold(lines[i].style));
        chkItalic[i]->setChecked(styleIsItalic(lines[i].style));
    }
    m_loading = true;
    edtMailText->setPlainText(TextTemplate::mailText(m_state.db));
    m_loading = false;
    setModified(false);
}

bool AdditionalTextsTab::save()
{
    if (!m_allowed)
        return false;
    QList<TextLine> lines;
    for (int i = 0; i < Lines; ++i)
        lines << TextLine{edtZeile[i]->text(), styleText(chkBold[i]->isChecked(), chkItalic[i]->isChecked())};
    m_store->saveAdditionalTexts(kindLetter(), lines);
    TextTemplate::saveMailText(m_state.db, edtMailText->toPlainText());
    setModified(false);
    return true;
}

void AdditionalTextsTab::confirmLeave()
{
    if (!isModified())
        return;
    if (m_state.dialogs.question(QStringLiteral("Daten wurden nicht gesichert! Ändernungen speichern?"),
                                 Dialogs::Buttons::YesNo)
        == Dialogs::Answer::Yes)
        save();
    setModified(false);
}

void AdditionalTextsTab::kindChosen(int index)
{
    if (index == m_kind || index < 0)
        return;
    try {
        confirmLeave();
    } catch (...) {
        // The lines of the kind shown stay on screen when they could not be saved.
        const QSignalBlocker block(tabsArt);
        tabsArt->setCurrentIndex(m_kind);
        throw;
    }
    m_kind = index;
    load();
}

void AdditionalTextsTab::applyPermissions(bool texts)
{
    m_allowed = texts;
    grpZusatztexte->setEnabled(texts);
    grpMail->setEnabled(texts);
}
