#include "TfrmSconto.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "DialogParts.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfrmSconto::TfrmSconto(AppState &state, QWidget *parent) : QDialog(parent, DialogParts::Flags), m_state(state)
{
    setObjectName(QStringLiteral("TfrmSconto"));
    setWindowTitle(QStringLiteral("Skonto"));
    resize(592, 146);

    const DialogParts::TextPercentForm form(this, m_state.dialogs, QStringLiteral("Skonto"));
    m_text = form.text;
    m_percent = form.percent;
    m_preview = new QLineEdit(this);
    m_preview->setObjectName(QStringLiteral("edtSkontotext"));
    m_preview->setReadOnly(true);
    m_preview->setFocusPolicy(Qt::NoFocus);
    QPalette p = m_preview->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    m_preview->setPalette(p);
    form.fields->addWidget(new QLabel(QStringLiteral("Skontotext:"), this), 2, 0, 1, 2);
    form.fields->addWidget(m_preview, 3, 0, 1, 2);
    form.layOut(this);

    Dialogs &d = m_state.dialogs;
    connect(m_text, &QLineEdit::textChanged, this, [this] { updatePreview(); });
    connect(m_percent, &QLineEdit::textChanged, this, [this] { updatePreview(); });
    connect(form.enter, &QPushButton::clicked, this, Guarded(d, [this] { enter(); }));
    connect(form.change, &QPushButton::clicked, this, Guarded(d, [this] { enter(); }));
    connect(form.remove, &QPushButton::clicked, this, Guarded(d, [this] { remove(); }));
    connect(form.cancel, &QPushButton::clicked, this, [this] { cancel(); });
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
    const Amount percent = DialogParts::percentOf(m_percent);
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
