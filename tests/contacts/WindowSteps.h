#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QtTest>

#include "FindControl.h"

// What a user does in a window, for the window tests: controls are found by
// objectName, fields are typed into key by key, buttons clicked with the mouse.
namespace Steps {

// The control; a missing one fails the test function that asks for it.
using TestControls::find;

// Key by key behind what the field holds, umlauts included, as typed on a German keyboard.
inline void typeOn(QObject *root, const char *field, const QString &text)
{
    auto *e = find<QLineEdit>(root, field);
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Empties the field first, then types text.
inline void type(QObject *root, const char *field, const QString &text)
{
    auto *e = find<QLineEdit>(root, field);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    typeOn(root, field, text);
}

// Fails the test when the button is disabled.
inline void click(QObject *root, const char *button)
{
    auto *b = find<QAbstractButton>(root, button);
    QVERIFY2(b->isEnabled(), button);
    QTest::mouseClick(b, Qt::LeftButton);
}

} // namespace Steps
