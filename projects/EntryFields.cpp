#include "EntryFields.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace {

// Enter or Return, also from the keypad, without Ctrl, Alt or Shift.
bool isEnter(const QKeyEvent *e)
{
    const auto held = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    return (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && held == Qt::NoModifier;
}

int significantLength(const QString &text)
{
    return int(text.size() - text.count(QLatin1Char('.')));
}

} // namespace

bool NumberRules::accepts(const QString &text, int caret, bool hasSelection, QChar key) const
{
    if (key == QLatin1Char('.')) {
        if (!thousandsPoints || digitsOnly)
            return false;
    } else if (key == QLatin1Char(',')) {
        if (digitsOnly || text.left(19).contains(QLatin1Char(',')))
            return false;
    } else if (!(key >= QLatin1Char('0') && key <= QLatin1Char('9'))) {
        return false;
    }
    if (hasSelection)
        return true;
    if (length > 0 && significantLength(text) >= length)
        return false;
    if (twoDecimals) {
        const int comma = int(text.indexOf(QLatin1Char(',')));
        if (comma >= 0 && text.size() - comma - 1 >= 2 && caret >= text.size() - 1)
            return false;
    }
    return true;
}

QString NumberRules::rebuilt(const QString &text) const
{
    QString out;
    out.reserve(text.size());
    bool comma = false;
    int significant = 0;
    for (QChar c : text) {
        if (c == QLatin1Char(',')) {
            if (comma)
                continue;
            comma = true;
        }
        if (length > 0 && c != QLatin1Char('.') && significant == length)
            break;
        if (c != QLatin1Char('.'))
            ++significant;
        out += c;
    }
    return out;
}

NumberEdit::NumberEdit(const NumberRules &rules, QWidget *parent) : QLineEdit(parent), m_rules(rules)
{
    // Pasted text is held to the characters a user could type; the form is
    // checked by the command that reads the field.
    QString allowed = QStringLiteral("0-9");
    if (!rules.digitsOnly)
        allowed += QLatin1Char(',');
    if (rules.thousandsPoints && !rules.digitsOnly)
        allowed += QLatin1Char('.');
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[%1]*").arg(allowed)), this));
}

void NumberEdit::rebuild()
{
    const QString rebuiltText = m_rules.rebuilt(text());
    if (rebuiltText != text())
        setText(rebuiltText);
}

void NumberEdit::keyPressEvent(QKeyEvent *event)
{
    if (isEnter(event)) {
        focusNextChild();
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed.at(0).isPrint()
        && !m_rules.accepts(text(), cursorPosition(), hasSelectedText(), typed.at(0))) {
        event->accept(); // refused: the key is swallowed
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumberEdit::focusOutEvent(QFocusEvent *event)
{
    rebuild();
    QLineEdit::focusOutEvent(event);
}

void EnterToNextField::install(std::initializer_list<QWidget *> widgets)
{
    for (QWidget *w : widgets)
        w->installEventFilter(new EnterToNextField(w));
}

void EnterToNextField::installBelow(QWidget *container)
{
    for (QLineEdit *e : container->findChildren<QLineEdit *>())
        e->installEventFilter(new EnterToNextField(e));
}

bool EnterToNextField::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isEnter(key)) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(watched, &tab);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
