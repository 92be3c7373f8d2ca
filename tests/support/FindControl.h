#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <memory>
#include <type_traits>
#include <vector>

// Controls of a window under test, found by objectName. A name that is missing
// (misspelt, or a control that went away) fails the running test function with
// the name, and hands back a stand-in that belongs to no window, so the test
// function ends at its next check and the other tests of the program still run.
namespace TestControls {

template <typename T>
T *standIn()
{
    static std::vector<std::unique_ptr<QObject>> kept;
    T *w = nullptr;
    if constexpr (std::is_base_of_v<QAbstractButton, T> && std::is_abstract_v<T>)
        w = new QPushButton;
    else if constexpr (std::is_base_of_v<QAbstractItemView, T> && std::is_abstract_v<T>)
        w = new QTableView;
    else if constexpr (std::is_default_constructible_v<T>)
        w = new T;
    else // a control class of the program's own that cannot stand in empty
        qFatal("no stand-in for a missing %s", T::staticMetaObject.className());
    kept.emplace_back(w);
    return w;
}

template <typename T>
T *find(QObject *root, const char *name, const char *file = __builtin_FILE(), int line = __builtin_LINE())
{
    if (T *w = root->findChild<T *>(QLatin1String(name)))
        return w;
    QTest::qFail(qPrintable(QStringLiteral("no control named %1 of type %2").arg(QLatin1String(name),
                                                                                 QLatin1String(T::staticMetaObject.className()))),
                 file, line);
    return standIn<T>();
}

} // namespace TestControls
