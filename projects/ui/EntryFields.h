#pragma once

#include <QWidget>
#include <QObject>

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
