#include "TfrmRabatt.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "DialogParts.h"
#include "Errors.h"
#include "Settings.h"
#include "Totals.h"

#include <QLineEdit>
#include <QPushButton>

TfrmRabatt::TfrmRabatt(AppState &state, QWidget *parent)
    : QDialog(parent, DialogParts::Flags), m_state(state)
{
    setObjectName(QStringLiteral("TfrmRabatt"));
    setWindowTitle(QStringLiteral("Rabatt"));
    resize(592, 106);

    const DialogParts::TextPercentForm form(this, m_state.dialogs, QStringLiteral("Rabatt"));
    form.layOut(this);
    m_text = form.text;
    m_percent = form.percent;
    m_enter = form.enter;
    m_change = form.change;
    m_remove = form.remove;

    Dialogs &d = m_state.dialogs;
    connect(m_text, &QLineEdit::textEdited, this, [this] { textTyped(); });
    connect(m_enter, &QPushButton::clicked, this, Guarded(d, [this] { enter(); }));
    connect(m_change, &QPushButton::clicked, this, Guarded(d, [this] { change(); }));
    connect(m_remove, &QPushButton::clicked, this, Guarded(d, [this] { remove(); }));
    connect(form.cancel, &QPushButton::clicked, this, [this] { cancel(); });
}

void TfrmRabatt::prepare(const Document &document, const QString &defaultText, const QString &defaultPercent)
{
    m_doc = document;
    m_changed = false;
    const int row = m_doc.lines.discountRow();
    m_hasDiscount = row >= 0;
    if (m_hasDiscount) {
        m_text->setText(m_doc.lines.cell(row, LineList::Bezeichnung));
        m_percent->setText(m_doc.lines.cell(row, LineList::Rabatt));
    } else {
        m_text->setText(defaultText);
        m_percent->setText(defaultPercent);
    }
    m_enter->setEnabled(!m_hasDiscount && !m_text->text().isEmpty());
    m_change->setEnabled(m_hasDiscount);
    m_remove->setEnabled(m_hasDiscount);
    m_text->setFocus();
}

void TfrmRabatt::textTyped()
{
    if (!m_hasDiscount)
        m_enter->setEnabled(!m_text->text().isEmpty());
}

void TfrmRabatt::enter()
{
    const Amount percent = DialogParts::percentOf(m_percent);
    m_changed = true;
    m_doc.lines.addDiscount(m_text->text(), percent);
    accept();
}

void TfrmRabatt::change()
{
    // The percentage stays as typed; an empty field is a discount of 0, so the
    // line never loses its percentage and turns into a text line.
    DialogParts::percentOf(m_percent);
    const QString typed = m_percent->text().isEmpty() ? QStringLiteral("0") : m_percent->text();
    m_changed = true;
    m_doc.lines.changeDiscount(m_text->text(), typed);
    accept();
}

void TfrmRabatt::remove()
{
    m_changed = true;
    m_doc.lines.removeDiscount();
    accept();
}

void TfrmRabatt::cancel()
{
    m_changed = false;
    reject();
}

void TfrmRabatt::done(int result)
{
    RunCommand(m_state.dialogs, [this] {
        m_doc.lines.discountLast(m_doc.skontoPercent);
        Totals::compute(m_doc.lines, m_doc.totals, Totals::readRates(m_state.db), ReadCurrency(m_state.ExeDir),
                        m_doc.grossRule);
    });
    QDialog::done(result);
}

bool EditDiscount(AppState &state, Document &document, const QString &defaultText,
                  const QString &defaultPercent, QWidget *parent)
{
    TfrmRabatt dialog(state, parent);
    dialog.prepare(document, defaultText, defaultPercent);
    dialog.exec();
    document = dialog.document();
    return dialog.changed();
}
