#pragma once

#include <QObject>
#include <QString>

class Dialogs;
class QWidget;

// What is typed or pasted into the program's fields holds no control characters
// but tab and line breaks: they cannot be printed, break electronic invoices and
// other files, and a NUL would end a statement. Such input is refused as a whole,
// with a German message naming the field; what the field held stays.
class ControlCharacterGuard : public QObject
{
    Q_OBJECT
public:
    explicit ControlCharacterGuard(Dialogs &dialogs, QObject *parent = nullptr);

    // Watches every line edit and text box of the application from the moment it
    // first gets the focus.
    void installOnApplication();
    // Watches one field now.
    void watch(QWidget *field);

    static int controlCharacters(const QString &text);
    // The field as the user knows it: its label, else its placeholder or name.
    static QString fieldName(const QWidget *field);
    static QString message(const QString &field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Says which field refused the input; called once the field is done with it.
    void refuse(QWidget *field);

    Dialogs &m_dialogs;
};
