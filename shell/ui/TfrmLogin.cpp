#include "TfrmLogin.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "Icons.h"
#include "Settings.h"

#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TfrmLogin::TfrmLogin(AppState &state, QWidget *parent, LoginCheck::Clock clock)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_state(state), m_store(state), m_check(m_store, std::move(clock))
{
    setObjectName(QStringLiteral("TfrmLogin"));
    setWindowTitle(QStringLiteral("Login"));
    setWindowIcon(ThemedIcon(QStringLiteral("dialog-password"), QStyle::SP_DialogApplyButton));

    auto *header = new QHBoxLayout;
    auto *picture = new QLabel(this);
    picture->setPixmap(ThemedIcon(QStringLiteral("dialog-password"), QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    header->addWidget(picture);
    auto *intro = new QLabel(QStringLiteral("Bitte geben Sie Ihren Benutzernamen und Ihr\nPasswort ein."), this);
    intro->setObjectName(QStringLiteral("lblIntro"));
    header->addWidget(intro, 1);

    auto *group = new QGroupBox(QStringLiteral("Benutzerdaten"), this);
    group->setObjectName(QStringLiteral("grpBenutzerdaten"));
    auto *form = new QFormLayout(group);
    edtBenutzername = new QLineEdit(group);
    edtBenutzername->setObjectName(QStringLiteral("edtBenutzername"));
    edtPasswort = new QLineEdit(group);
    edtPasswort->setObjectName(QStringLiteral("edtPasswort"));
    edtPasswort->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Benutzername"), edtBenutzername);
    form->addRow(QStringLiteral("Passwort"), edtPasswort);

    lblPause = new QLabel(this);
    lblPause->setObjectName(QStringLiteral("lblPause"));
    lblPause->setWordWrap(true);
    lblPause->hide();

    btnHilfe = new QPushButton(QStringLiteral("&Hilfe"), this);
    btnHilfe->setObjectName(QStringLiteral("btnHilfe"));
    btnHilfe->setAutoDefault(false);
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true); // Enter in either field
    btnAbbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    btnAbbrechen->setObjectName(QStringLiteral("btnAbbrechen"));
    btnAbbrechen->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnHilfe);
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnAbbrechen);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(group);
    layout->addWidget(lblPause);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setFixedSize(350, 236);

    m_pauseTimer = new QTimer(this);
    m_pauseTimer->setInterval(250);
    connect(m_pauseTimer, &QTimer::timeout, this, [this] { showPause(); });
    connect(edtBenutzername, &QLineEdit::textEdited, this, [this] { showPause(); });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnAbbrechen, &QPushButton::clicked, this, [this] { cancel(); });
    connect(btnHilfe, &QPushButton::clicked, this, [this] {
        OpenWithDesktop(QUrl::fromLocalFile(QDir(m_state.ExeDir).filePath(QStringLiteral("Handbuch/Handbuch.html")))
                            .resolved(QUrl(QStringLiteral("#anmeldung"))));
    });
}

void TfrmLogin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_cancelRequested = false;
    edtBenutzername->setText(ReadLastUser(m_state.ExeDir));
    (edtBenutzername->text().isEmpty() ? edtBenutzername : edtPasswort)->setFocus();
    // a pause from failed tries before the last end of the program still runs
    if (m_check.pauseLeft(edtBenutzername->text()) > 0)
        showPause();
}

void TfrmLogin::cancel()
{
    // Leaving checks nothing: the program simply ends.
    m_cancelRequested = true;
    m_cancelled = true;
    edtPasswort->clear();
    done(QDialog::Rejected);
}

void TfrmLogin::done(int result)
{
    if (m_cancelRequested) {
        QDialog::done(QDialog::Rejected);
        return;
    }
    Q_UNUSED(result);
    bool loggedIn = false;
    RunCommand(m_state.dialogs, [this, &loggedIn] { loggedIn = closeCheck(); });
    if (loggedIn)
        QDialog::done(QDialog::Accepted);
}

bool TfrmLogin::closeCheck()
{
    const LoginCheck::Result r = m_check.check(edtBenutzername->text(), edtPasswort->text());
    switch (r.outcome) {
    case LoginCheck::Outcome::LoggedIn:
        m_state.Perm = r.perm;
        m_state.LoggedInUser = r.user;
        WriteLastUser(m_state.ExeDir, edtBenutzername->text().trimmed());
        m_cancelled = false;
        return true;
    case LoginCheck::Outcome::Waiting:
        showPause();
        return false;
    case LoginCheck::Outcome::Refused:
        break;
    }
    m_state.dialogs.warning(QStringLiteral("Benutzername oder Passwort falsch!"), windowTitle());
    edtPasswort->clear();
    edtPasswort->setFocus();
    showPause();
    return false;
}

void TfrmLogin::showPause()
{
    const qint64 left = m_check.pauseLeft(edtBenutzername->text());
    const bool waiting = left > 0;
    // The pause belongs to the name: another name may be tried meanwhile.
    for (QWidget *w : {static_cast<QWidget *>(edtPasswort), static_cast<QWidget *>(btnOK)})
        w->setEnabled(!waiting);
    lblPause->setVisible(waiting);
    if (!waiting) {
        if (m_pauseTimer->isActive()) {
            m_pauseTimer->stop();
            edtPasswort->setFocus();
        }
        return;
    }
    lblPause->setText(QStringLiteral("Zu viele Fehlversuche. Nächster Versuch in %1 Sekunden möglich.")
                          .arg((left + 999) / 1000));
    if (!m_pauseTimer->isActive())
        m_pauseTimer->start();
}
