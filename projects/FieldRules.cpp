#include "FieldRules.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

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
