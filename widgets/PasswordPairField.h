#pragma once

#include <QString>

class Dialogs;
class QLineEdit;
class QWidget;

// A new password typed twice: the field and its repetition, both masked, and the
// checks every window makes of the pair, in the same words. The window places the
// two fields in its own layout, beside its own labels and buttons; like any control
// they belong to the parent they are made with, and this class only points at them.
class PasswordPairField
{
public:
    PasswordPairField() = default;
    // placeholder, when given, shows in both fields while they are empty.
    PasswordPairField(QWidget *parent, const char *passwordName, const char *repetitionName,
                      const QString &placeholder = QString());

    QLineEdit *password() const { return m_password; }
    QLineEdit *repetition() const { return m_repetition; }

    // Nothing typed in either field.
    bool isEmpty() const;
    // The password as typed in the first field.
    QString text() const;
    void clear();

    // Each check tells the user why it fails and returns false then.
    // Something was typed: "Bitte neue Passwörter eingeben! Keine Änderung."
    bool checkTyped(Dialogs &dialogs) const;
    // Both fields hold the same: "Passwörter stimmen nicht überein! Kein Eintrag."
    bool checkMatches(Dialogs &dialogs) const;
    // After the new password was taken: "Neues Passwort eingetragen."
    static void tellEntered(Dialogs &dialogs);

private:
    QLineEdit *m_password = nullptr;
    QLineEdit *m_repetition = nullptr;
};
