#include "FieldLook.h"

#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>

void SetFieldEditable(QWidget *field, bool editable)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        line->setReadOnly(!editable);
    else if (auto *text = qobject_cast<QPlainTextEdit *>(field))
        text->setReadOnly(!editable);
    QPalette p = field->palette();
    p.setColor(QPalette::Base, editable ? QColor(Qt::white) : p.color(QPalette::Window));
    field->setPalette(p);
}
