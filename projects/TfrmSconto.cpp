#include "TfrmSconto.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "DialogParts.h"
#include "EntryFields.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

TfrmSconto::TfrmSconto(AppState &state, QWidget *parent) : QDialog(parent, DialogParts::Flags), m_state(state)
{
    setObjectName(QStringLiteral("TfrmSconto"));
    setWindowTitle(QStringLiteral("Skonto"));
    resize(592, 146);

    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("edtText"));
    m_percent = new NumberEdit(DialogParts::PercentRules, this);
    m_percent->setObjectName(QStringLiteral("edtProzent"));
    DialogParts::sizePercentField(m_percent);
    m_preview = new QLineEdit(this);
    m_preview->setObjectName(QStringLiteral("edtSkontotext"));
    m_preview->setReadOnly(true);
    m_preview->setFocusPolicy(Qt::NoFocus);
    QPalette p = m_preview->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    m_preview->setPalette(p);
    EnterToNextField::install({m_text});

    QPushButton *enterButton = DialogParts::button(QStringLiteral("&Eintragen"), QStringLiteral("btnEintragen"), this);
    QPushButton *changeButton = DialogParts::button(QStringLiteral("Eintrag &Ändern"), QStringLiteral("btnAendern"), this);
    QPushButton *removeButton = DialogParts::button(QStringLiteral("Eintrag &Löschen"), QStringLiteral("btnLoeschen"), this);
    QPushButton *cancelButton = DialogParts::button(QStringLiteral("&Abbrechen"), QStringLiteral("btnAbbrechen"), this);

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Text"), this), 0, 0);
    fields->addWidget(new QLabel(QStringLiteral("%"), this), 0, 1);
    fields->addWidget(m_text, 1, 0);
    fields->addWidget(m_percent, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("Skontotext:"), this), 2, 0, 1, 2);
    fields->addWidget(m_preview, 3, 0, 1, 2);
    fields->setColumnStretch(0, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(DialogParts::closeBar(this));
    layout->addLayout(fields);
    layout->addLayout(DialogParts::buttonRow({enterButton, changeButton, removeButton, cancelButton}));
    layout->addStretch(1);

    Dialogs &d = m_state.dialogs;
    connect(m_text, &QLineEdit::textChanged, this, [this] { updatePreview(); });
    connect(m_percent, &QLineEdit::textChanged, this, [this] { updatePreview(); });
    connect(enterButton, &QPushButton::clicked, this, Guarded(d, [this] { enter(); }));
    connect(changeButton, &QPushButton::clicked, this, Guarded(d, [this] { enter(); }));
    connect(removeButton, &QPushButton::clicked, this, Guarded(d, [this] { remove(); }));
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancel(); });
}

QString TfrmSconto::preview(const QString &percent, const QString &text)
{
    return percent + QStringLiteral(" % ") + text + QStringLiteral(". Entspricht xxx,xx €");
}

void TfrmSconto::prepare(const Document &document, const QString &defaultText, const QString &defaultPercent)
{
    m_doc = document;
    m_changed = false;
    const bool own = !m_doc.skontoText.isEmpty() || !m_doc.skontoPercent.isEmpty();
    m_text->setText(own ? m_doc.skontoText : defaultText);
    m_percent->setText(own ? m_doc.skontoPercent : defaultPercent);
    updatePreview();
    m_text->setFocus();
}

void TfrmSconto::updatePreview()
{
    m_preview->setText(preview(m_percent->text(), m_text->text()));
}

void TfrmSconto::enter()
{
    m_percent->rebuild();
    const Amount percent = DialogParts::percentOf(m_percent->text());
    m_changed = true;
    m_doc.skontoText = m_text->text();
    m_doc.skontoPercent = percent.toText();
    finish();
    accept();
}

void TfrmSconto::remove()
{
    m_changed = true;
    m_doc.skontoPercent.clear();
    finish();
    accept();
}

void TfrmSconto::cancel()
{
    // Abbrechen leaves the document as it came, whatever the fields hold now.
    m_changed = false;
    reject();
}

void TfrmSconto::finish()
{
    if (m_percent->text().isEmpty())
        m_percent->setText(QStringLiteral("0"));
    const auto percent = Amount::parseInput(m_percent->text());
    if (!percent || *percent <= Amount())
        m_doc.skontoPercent.clear();
}

bool EditSkonto(AppState &state, Document &document, const QString &defaultText, const QString &defaultPercent,
                QWidget *parent)
{
    TfrmSconto dialog(state, parent);
    dialog.prepare(document, defaultText, defaultPercent);
    dialog.exec();
    document = dialog.document();
    return dialog.changed();
}
