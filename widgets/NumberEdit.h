#pragma once

#include "NumberInput.h"

#include <QLineEdit>

class Dialogs;

// A line edit for an amount, percentage, quantity or number of days. It takes
// every character typed or pasted; when the user leaves the field (Tab, Enter,
// a click elsewhere in the window) a text that cannot be stored is reported at
// once, and the command that reads the field refuses it with the same message.
// Enter moves the focus to the next control instead of reaching the field.
class NumberEdit : public QLineEdit
{
    Q_OBJECT
public:
    NumberEdit(NumberInput::Field field, Dialogs *dialogs, QWidget *parent = nullptr);

    const NumberInput::Field &field() const { return m_field; }
    std::optional<QString> refusal() const { return NumberInput::refusal(m_field, text()); }
    // The typed value, no value when empty; throws ConversionError with the message.
    std::optional<Amount> value() const { return NumberInput::value(m_field, text()); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void reportRefusal();

    NumberInput::Field m_field;
    Dialogs *m_dialogs;
    QString m_reported; // the text last reported, so leaving again does not repeat it
    bool m_reporting = false;
};
