#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "FindControl.h"

// Drives a window offscreen by the object names of its controls.

// A missing control fails the test function that asks for it.
template <typename T>
T *control(QWidget &window, const char *name, const char *file = __builtin_FILE(), int line = __builtin_LINE())
{
    return TestControls::find<T>(&window, name, file, line);
}

inline QPushButton *button(QWidget &window, const char *name)
{
    return control<QPushButton>(window, name);
}

inline QLineEdit *edit(QWidget &window, const char *name)
{
    return control<QLineEdit>(window, name);
}

// Empties the field and types the text key by key, as a user does.
inline void type(QWidget &window, const char *name, const QString &text)
{
    QLineEdit *e = edit(window, name);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    for (QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(e, char(c.unicode()));
        else // umlauts and ß come as text without a key of their own
            QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Clicks an enabled button; a disabled one fails the test.
inline bool click(QWidget &window, const char *name)
{
    QPushButton *b = button(window, name);
    if (!b->isEnabled()) {
        qWarning("button %s is disabled", name);
        return false;
    }
    b->click();
    return true;
}

inline void clickRow(QAbstractItemView *view, int row, bool twice = false)
{
    const QRect r = view->visualRect(view->model()->index(row, 0));
    // A double click is a click followed by the double-click event, as the
    // window system delivers it.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    if (twice)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, r.center());
}
