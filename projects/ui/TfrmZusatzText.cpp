#include "TfrmZusatzText.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "DialogParts.h"
#include "EntryFields.h"
#include "TextTemplate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

TfrmZusatzText::TfrmZusatzText(AppState &state, QWidget *parent)
    : QDialog(parent, DialogParts::Flags), m_state(state)
{
    setObjectName(QStringLiteral("TfrmZusatzText"));
    setWindowTitle(QStringLiteral("ZusatzText"));
    resize(626, 177);

    QToolBar *bar = DialogParts::closeBar(this);
    m_template = new QComboBox(bar);
    m_template->setObjectName(QStringLiteral("cboVorlage"));
    m_template->addItems(TextTemplate::entries());
    m_template->setToolTip(QStringLiteral("Vorlage"));
    bar->addSeparator();
    bar->addWidget(new QLabel(QStringLiteral(" Vorlage: "), bar));
    bar->addWidget(m_template);

    auto *group = new QGroupBox(QStringLiteral("ZusatzText"), this);
    group->setObjectName(QStringLiteral("grpZusatzText"));
    auto *grid = new QGridLayout(group);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(QStringLiteral("F"), group), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("K"), group), 0, 2, Qt::AlignHCenter);
    for (int i = 0; i < Document::TextLineCount; ++i) {
        const QString n = QString::number(i + 1);
        m_lines[i] = new QLineEdit(group);
        m_lines[i]->setObjectName(QStringLiteral("edtZeile") + n);
        m_bold[i] = new QCheckBox(group);
        m_bold[i]->setObjectName(QStringLiteral("chkFett") + n);
        m_bold[i]->setToolTip(QStringLiteral("fett"));
        m_italic[i] = new QCheckBox(group);
        m_italic[i]->setObjectName(QStringLiteral("chkKursiv") + n);
        m_italic[i]->setToolTip(QStringLiteral("kursiv"));
        grid->addWidget(m_lines[i], i + 1, 0);
        grid->addWidget(m_bold[i], i + 1, 1, Qt::AlignHCenter);
        grid->addWidget(m_italic[i], i + 1, 2, Qt::AlignHCenter);
        EnterToNextField::install({m_lines[i]});
    }
    grid->setColumnStretch(0, 1);

    QPushButton *enterButton = DialogParts::button(QStringLiteral("&Eintragen"), QStringLiteral("btnEintragen"), this);
    QPushButton *changeButton = DialogParts::button(QStringLiteral("&Ändern"), QStringLiteral("btnAendern"), this);
    QPushButton *cancelButton = DialogParts::button(QStringLiteral("&Abbrechen"), QStringLiteral("btnAbbrechen"), this);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addWidget(group);
    layout->addLayout(DialogParts::buttonRow({enterButton, changeButton, cancelButton}));

    Dialogs &d = m_state.dialogs;
    connect(m_template, &QComboBox::currentIndexChanged, this, [this, &d](int entry) {
        if (!m_preparing)
            RunCommand(d, [this, entry] { loadTemplate(entry); });
    });
    connect(enterButton, &QPushButton::clicked, this, Guarded(d, [this] { enter(); }));
    connect(changeButton, &QPushButton::clicked, this, Guarded(d, [this] { enter(); }));
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancel(); });
}

void TfrmZusatzText::setLine(int line, const AdditionalTextLine &text, bool keepUnknownMarks)
{
    m_lines[line]->setText(text.text);
    const auto marks = TextTemplate::marksOf(text.style);
    if (!marks && keepUnknownMarks)
        return;
    m_bold[line]->setChecked(marks && marks->bold);
    m_italic[line]->setChecked(marks && marks->italic);
}

void TfrmZusatzText::prepare(const Document &document)
{
    m_doc = document;
    m_changed = false;
    bool anyText = false;
    for (int i = 0; i < Document::TextLineCount; ++i) {
        m_bold[i]->setChecked(false);
        m_italic[i]->setChecked(false);
        setLine(i, m_doc.texts[i], false);
        anyText = anyText || !m_doc.texts[i].text.isEmpty();
    }
    m_preparing = true;
    m_template->setCurrentIndex(TextTemplate::entryOfLetter(m_doc.kind.textLetter()));
    m_preparing = false;
    // A document without text is offered the template of its kind.
    if (!anyText)
        loadTemplate(m_template->currentIndex());
    m_lines[0]->setFocus();
}

void TfrmZusatzText::loadTemplate(int entry)
{
    const auto lines = TextTemplate::read(m_state.db, TextTemplate::letterOfEntry(entry));
    for (int i = 0; i < Document::TextLineCount; ++i)
        setLine(i, lines[i], true);
}

void TfrmZusatzText::enter()
{
    m_changed = true;
    for (int i = 0; i < Document::TextLineCount; ++i)
        m_doc.texts[i] = {m_lines[i]->text(),
                          TextTemplate::styleOf({m_bold[i]->isChecked(), m_italic[i]->isChecked()})};
    accept();
}

void TfrmZusatzText::cancel()
{
    m_changed = false;
    reject();
}

bool EditAdditionalText(AppState &state, Document &document, QWidget *parent)
{
    TfrmZusatzText dialog(state, parent);
    dialog.prepare(document);
    dialog.exec();
    document = dialog.document();
    return dialog.changed();
}
