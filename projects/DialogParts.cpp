#include "DialogParts.h"

#include "Errors.h"

#include <QAction>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>

namespace DialogParts {

QPushButton *button(const QString &caption, const QString &objectName, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

QToolBar *closeBar(QDialog *dialog)
{
    auto *bar = new QToolBar(dialog);
    bar->setObjectName(QStringLiteral("tlbClose"));
    bar->setIconSize(QSize(16, 16));
    QAction *close = bar->addAction(dialog->style()->standardIcon(QStyle::SP_DialogCloseButton),
                                    QStringLiteral("Schließen"));
    close->setObjectName(QStringLiteral("actClose"));
    QObject::connect(close, &QAction::triggered, dialog, &QDialog::reject);
    return bar;
}

QBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton *b : buttons)
        row->addWidget(b);
    return row;
}

void sizePercentField(QLineEdit *field)
{
    field->setAlignment(Qt::AlignRight);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000,000")) + 12);
}

Amount percentOf(const QString &text)
{
    if (text.isEmpty())
        return Amount();
    if (auto p = Amount::parseInput(text))
        return *p;
    throw ConversionError(QStringLiteral("'%1' ist kein gültiger Prozentsatz.").arg(text));
}

} // namespace DialogParts
