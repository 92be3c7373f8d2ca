#pragma once

#include <QString>

// A text as a literal of a statement: between apostrophes, its own apostrophes
// doubled ("O'Neil" gives 'O''Neil').
QString SqlText(const QString &text);
