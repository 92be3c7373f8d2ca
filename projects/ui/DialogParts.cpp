#include "DialogParts.h"

#include "Errors.h"

#include <QAction>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

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

Amount percentOf(const NumberEdit *field)
{
    return field->value().value_or(Amount());
}

TextPercentForm::TextPercentForm(QDialog *dialog, Dialogs &dialogs, const QString &label)
{
    text = new QLineEdit(dialog);
    text->setObjectName(QStringLiteral("edtText"));
    percent = new NumberEdit({NumberInput::Kind::Percent, label + QStringLiteral(" %")}, &dialogs, dialog);
    percent->setObjectName(QStringLiteral("edtProzent"));
    sizePercentField(percent);
    EnterToNextField::install({text});

    enter = button(QStringLiteral("&Eintragen"), QStringLiteral("btnEintragen"), dialog);
    change = button(QStringLiteral("Eintrag &Ändern"), QStringLiteral("btnAendern"), dialog);
    remove = button(QStringLiteral("Eintrag &Löschen"), QStringLiteral("btnLoeschen"), dialog);
    cancel = button(QStringLiteral("&Abbrechen"), QStringLiteral("btnAbbrechen"), dialog);

    fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Text"), dialog), 0, 0);
    fields->addWidget(new QLabel(QStringLiteral("%"), dialog), 0, 1);
    fields->addWidget(text, 1, 0);
    fields->addWidget(percent, 1, 1);
    fields->setColumnStretch(0, 1);
}

void TextPercentForm::layOut(QDialog *dialog) const
{
    auto *layout = new QVBoxLayout(dialog);
    layout->setMenuBar(closeBar(dialog));
    layout->addLayout(fields);
    layout->addLayout(buttonRow({enter, change, remove, cancel}));
    layout->addStretch(1);
}

} // namespace DialogParts
