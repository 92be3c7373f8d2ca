#pragma once

#include <QString>

class QLineEdit;

// Input rules shared by the project windows.

// Digits, one comma and at most two digits after it ("3", "3,5", "19,00").
void MakePercentField(QLineEdit *field);
// Digits only (days of a payment term).
void MakeDaysField(QLineEdit *field);
// A percentage field left by the user keeps its first five characters, and every
// comma after the first is dropped ("12,345" becomes "12,34").
QString TrimPercentText(const QString &text);
