#include "FieldRules.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QWidget>

void MakePercentField(QLineEdit *field)
{
    field->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,12}(,[0-9]{0,2})?")), field));
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void MakeDaysField(QLineEdit *field)
{
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), field));
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

QString TrimPercentText(const QString &text)
{
    const QString head = text.left(5);
    const int comma = int(head.indexOf(QLatin1Char(',')));
    if (comma < 0)
        return head;
    QString rest = head.mid(comma + 1);
    rest.remove(QLatin1Char(','));
    return head.left(comma + 1) + rest;
}

void EnterMovesFocus::install(QWidget *container)
{
    auto *filter = new EnterMovesFocus(container);
    for (QLineEdit *e : container->findChildren<QLineEdit *>())
        e->installEventFilter(filter);
}

bool EnterMovesFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (auto *w = qobject_cast<QWidget *>(watched)) {
                w->nextInFocusChain()->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
