#include "ControlCharacterGuard.h"

#include "Dialogs.h"

#include <QApplication>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QTimer>
#include <QValidator>

#include <functional>

namespace {

const char *const Watched = "orvellaControlGuard";
const char *const Allowed = "orvellaControlsAllowed";

// Refuses input with control characters, then asks the field's own validator.
// The field validates the new text before showing it, for typing and for the
// program's own setText alike; only the user's change is taken back, so what
// the field shows afterwards tells which one it was.
class GuardValidator : public QValidator
{
public:
    GuardValidator(QLineEdit *edit, std::function<void()> refused)
        : QValidator(edit), m_edit(edit), m_inner(edit->validator()), m_refused(std::move(refused)),
          m_allowed(ControlCharacterGuard::controlCharacters(edit->text()))
    {
    }
    State validate(QString &input, int &pos) const override
    {
        const int found = ControlCharacterGuard::controlCharacters(input);
        if (found > m_allowed) {
            QTimer::singleShot(0, const_cast<GuardValidator *>(this), [this, found] {
                if (ControlCharacterGuard::controlCharacters(m_edit->text()) >= found)
                    m_allowed = found; // set by the program (older data): typing goes on
                else
                    m_refused();
            });
            return Invalid;
        }
        return m_inner ? m_inner->validate(input, pos) : Acceptable;
    }
    void fixup(QString &input) const override
    {
        if (m_inner)
            m_inner->fixup(input);
    }

private:
    QLineEdit *m_edit;
    QPointer<const QValidator> m_inner;
    std::function<void()> m_refused;
    mutable int m_allowed;
};

QString labelText(QWidget *w)
{
    auto *label = qobject_cast<QLabel *>(w);
    return label ? label->text().remove(QLatin1Char('&')).remove(QLatin1Char(':')).trimmed() : QString();
}

// The label that stands before the field in its layout (a form's row label, the
// cell left of it in a grid, the widget before it in a row).
QString labelBefore(QLayout *layout, QWidget *field)
{
    if (!layout)
        return QString();
    const int index = layout->indexOf(field);
    if (index >= 0) {
        if (auto *form = qobject_cast<QFormLayout *>(layout))
            return labelText(form->labelForField(field));
        if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(index, &row, &column, &rows, &columns);
            // the label left of it, else the column's heading above it
            QLayoutItem *before = column > 0 ? grid->itemAtPosition(row, column - 1) : nullptr;
            if (const QString left = before ? labelText(before->widget()) : QString(); !left.isEmpty())
                return left;
            QLayoutItem *above = row > 0 ? grid->itemAtPosition(row - 1, column) : nullptr;
            return above ? labelText(above->widget()) : QString();
        }
        QLayoutItem *before = index > 0 ? layout->itemAt(index - 1) : nullptr;
        return before ? labelText(before->widget()) : QString();
    }
    for (int i = 0; i < layout->count(); ++i)
        if (const QString found = labelBefore(layout->itemAt(i)->layout(), field); !found.isEmpty())
            return found;
    return QString();
}

QString plainText(const QWidget *field)
{
    if (const auto *p = qobject_cast<const QPlainTextEdit *>(field))
        return p->toPlainText();
    if (const auto *t = qobject_cast<const QTextEdit *>(field))
        return t->toPlainText();
    return QString();
}

} // namespace

ControlCharacterGuard::ControlCharacterGuard(Dialogs &dialogs, QObject *parent) : QObject(parent), m_dialogs(dialogs) {}

void ControlCharacterGuard::installOnApplication()
{
    qApp->installEventFilter(this);
}

int ControlCharacterGuard::controlCharacters(const QString &text)
{
    int n = 0;
    for (const QChar c : text)
        if ((c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c.unicode() == 0x7f)
            ++n;
    return n;
}

QString ControlCharacterGuard::fieldName(const QWidget *field)
{
    if (!field->accessibleName().isEmpty())
        return field->accessibleName();
    // the label that names it: a buddy, or the label of its row in a form
    for (QLabel *label : field->window()->findChildren<QLabel *>())
        if (label->buddy() == field)
            return labelText(label);
    if (field->parentWidget())
        if (const QString before = labelBefore(field->parentWidget()->layout(), const_cast<QWidget *>(field));
            !before.isEmpty())
            return before;
    if (const auto *edit = qobject_cast<const QLineEdit *>(field); edit && !edit->placeholderText().isEmpty())
        return edit->placeholderText();
    if (const auto *box = qobject_cast<const QPlainTextEdit *>(field); box && !box->placeholderText().isEmpty())
        return box->placeholderText();
    return field->objectName();
}

QString ControlCharacterGuard::message(const QString &field)
{
    return QStringLiteral("Der Text für das Feld „%1“ enthält Steuerzeichen (unsichtbare Zeichen, etwa aus einer "
                          "kopierten Datei) und wurde nicht übernommen.\nBitte geben Sie den Text ohne sie ein.")
        .arg(field);
}

void ControlCharacterGuard::refuse(QWidget *field)
{
    m_dialogs.warning(message(fieldName(field)));
}

void ControlCharacterGuard::watch(QWidget *field)
{
    if (!field || field->property(Watched).toBool())
        return;
    field->setProperty(Watched, true);
    if (auto *edit = qobject_cast<QLineEdit *>(field)) {
        edit->setValidator(new GuardValidator(edit, [this, edit] { refuse(edit); }));
        return;
    }
    // Text boxes: what the program put there may hold such characters (older
    // data); a change by the user that adds any is taken back.
    field->setProperty(Allowed, controlCharacters(plainText(field)));
    const auto check = [this, field] {
        const int now = controlCharacters(plainText(field));
        auto *plain = qobject_cast<QPlainTextEdit *>(field);
        auto *rich = qobject_cast<QTextEdit *>(field);
        const bool byUser = plain ? plain->document()->isUndoAvailable() : rich && rich->document()->isUndoAvailable();
        if (!byUser || now <= field->property(Allowed).toInt()) {
            field->setProperty(Allowed, now);
            return;
        }
        plain ? plain->undo() : rich->undo();
        // told once the box is done with the change, not inside its own handling
        QTimer::singleShot(0, this, [this, f = QPointer<QWidget>(field)] {
            if (f)
                refuse(f);
        });
    };
    if (auto *plain = qobject_cast<QPlainTextEdit *>(field))
        connect(plain, &QPlainTextEdit::textChanged, this, check);
    else if (auto *rich = qobject_cast<QTextEdit *>(field))
        connect(rich, &QTextEdit::textChanged, this, check);
}

bool ControlCharacterGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn
        && (qobject_cast<QLineEdit *>(watched) || qobject_cast<QPlainTextEdit *>(watched)
            || qobject_cast<QTextEdit *>(watched)))
        watch(static_cast<QWidget *>(watched));
    return QObject::eventFilter(watched, event);
}
