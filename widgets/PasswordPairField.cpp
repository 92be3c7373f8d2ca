#include "PasswordPairField.h"

#include "Dialogs.h"

#include <QLineEdit>

namespace {

QLineEdit *maskedField(QWidget *parent, const char *name, const QString &placeholder)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setEchoMode(QLineEdit::Password);
    if (!placeholder.isEmpty())
        e->setPlaceholderText(placeholder);
    return e;
}

} // namespace

PasswordPairField::PasswordPairField(QWidget *parent, const char *passwordName, const char *repetitionName,
                                     const QString &placeholder)
    // made one after the other, so the repetition follows the password on Tab
    : m_password(maskedField(parent, passwordName, placeholder)),
      m_repetition(maskedField(parent, repetitionName, placeholder))
{
}

bool PasswordPairField::isEmpty() const
{
    return m_password->text().isEmpty() && m_repetition->text().isEmpty();
}

QString PasswordPairField::text() const
{
    return m_password->text();
}

void PasswordPairField::clear()
{
    m_password->clear();
    m_repetition->clear();
}

bool PasswordPairField::checkTyped(Dialogs &dialogs) const
{
    if (!isEmpty())
        return true;
    dialogs.warning(QStringLiteral("Bitte neue Passwörter eingeben! Keine Änderung."));
    return false;
}

bool PasswordPairField::checkMatches(Dialogs &dialogs) const
{
    if (m_password->text() == m_repetition->text())
        return true;
    dialogs.warning(QStringLiteral("Passwörter stimmen nicht überein! Kein Eintrag."));
    return false;
}

void PasswordPairField::tellEntered(Dialogs &dialogs)
{
    dialogs.information(QStringLiteral("Neues Passwort eingetragen."));
}
