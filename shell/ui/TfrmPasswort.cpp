#include "TfrmPasswort.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "PasswordHash.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *passwordField(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setEchoMode(QLineEdit::Password);
    return e;
}

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TfrmPasswort::TfrmPasswort(AppState &state, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_state(state), m_store(state)
{
    setObjectName(QStringLiteral("TfrmPasswort"));
    setWindowTitle(QStringLiteral("Passwort"));

    auto *form = new QFormLayout;
    edtAltesPasswort = passwordField("edtAltesPasswort", this);
    m_newPassword = PasswordPairField(this, "edtNeuesPasswort", "edtWiederholen");
    edtNeuesPasswort = m_newPassword.password();
    edtWiederholen = m_newPassword.repetition();
    form->addRow(QStringLiteral("bisheriges Passwort"), edtAltesPasswort);
    form->addRow(QStringLiteral("neues Passwort"), edtNeuesPasswort);
    form->addRow(QStringLiteral("Passwort wiederholen"), edtWiederholen);

    btnOK = button(QStringLiteral("&OK"), "btnOK", this);
    btnUebernehmen = button(QStringLiteral("&Übernehmen"), "btnUebernehmen", this);
    btnAbbrechen = button(QStringLiteral("Abbrechen / &Beenden"), "btnAbbrechen", this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {btnOK, btnUebernehmen, btnAbbrechen})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(360, 160);

    // Enter moves on to the next field; in the last one it stores and closes.
    connect(edtAltesPasswort, &QLineEdit::returnPressed, edtNeuesPasswort, [this] { edtNeuesPasswort->setFocus(); });
    connect(edtNeuesPasswort, &QLineEdit::returnPressed, edtWiederholen, [this] { edtWiederholen->setFocus(); });
    connect(edtWiederholen, &QLineEdit::returnPressed, btnOK, &QPushButton::click);
    Dialogs &d = m_state.dialogs;
    connect(btnOK, &QPushButton::clicked, this, Guarded(d, [this] {
        if (cmdApply())
            accept();
    }));
    connect(btnUebernehmen, &QPushButton::clicked, this, Guarded(d, [this] { cmdApply(); }));
    connect(btnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmPasswort::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    for (QLineEdit *e : {edtAltesPasswort, edtNeuesPasswort, edtWiederholen})
        e->clear();
    edtAltesPasswort->setFocus();
}

bool TfrmPasswort::cmdApply()
{
    Dialogs &d = m_state.dialogs;
    const qint64 user = m_state.LoggedInUser;
    if (user <= 0) {
        d.information(QStringLiteral("Ohne Anmeldung gibt es kein eigenes Passwort zu ändern."));
        return false;
    }
    if (!m_newPassword.checkTyped(d) || !m_newPassword.checkMatches(d))
        return false;
    if (!PasswordHash::verify(edtAltesPasswort->text(), m_store.storedHash(user))) {
        d.warning(QStringLiteral("Das bisherige Passwort ist falsch! Keine Änderung."));
        edtAltesPasswort->clear();
        edtAltesPasswort->setFocus();
        return false;
    }
    m_store.setHash(user, PasswordHash::make(m_newPassword.text()));
    edtAltesPasswort->clear();
    m_newPassword.clear();
    PasswordPairField::tellEntered(d);
    return true;
}
