#pragma once

#include <QLineEdit>
#include <QObject>

// The key rules of the number fields of the line-item, catalogue, discount and
// Skonto windows. Only keys that type a character are filtered; Backspace,
// Delete and the cursor keys always work.
struct NumberRules
{
    // Thousands points may be typed ("1.234,50"); the command that reads the
    // field checks the form.
    bool thousandsPoints = false;
    // Once two digits follow the comma and the caret stands at or just before
    // the end (no selection), nothing more is typed.
    bool twoDecimals = false;
    // The field holds at most this many characters, thousands points not
    // counted: typing stops there, and a longer text is cut when the field is
    // left. 0: no limit.
    int length = 0;
    // Whole numbers only: no comma.
    bool digitsOnly = false;

    // Whether a typed character is taken into the text at the caret.
    bool accepts(const QString &text, int caret, bool hasSelection, QChar key) const;
    // The text rebuilt when the field is left: every comma after the first
    // removed, then cut to the length.
    QString rebuilt(const QString &text) const;
};

// A line edit that follows NumberRules; Enter moves the focus to the next
// control instead of reaching the field.
class NumberEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit NumberEdit(const NumberRules &rules, QWidget *parent = nullptr);

    const NumberRules &rules() const { return m_rules; }
    // Applies the rule for leaving the field (also run on focus loss).
    void rebuild();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    NumberRules m_rules;
};

// Enter and Return in a single-line field or a drop-down move the focus to the
// next control, as in the rest of the program's forms.
class EnterToNextField : public QObject
{
    Q_OBJECT
public:
    // Installs one filter, owned by the widget, on each of the widgets.
    static void install(std::initializer_list<QWidget *> widgets);
    // The same for every line edit below the container (the project window's pages).
    static void installBelow(QWidget *container);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
