#pragma once

#include "LoginCheck.h"
#include "UserStore.h"

#include <QDialog>

class AppState;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// "Login": name and password before any other window is made. It can be left only
// by a successful log-in, which loads the user's permission flags into AppState,
// or by "&Abbrechen", after which the program ends. Cancel checks no password.
class TfrmLogin : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmLogin(AppState &state, QWidget *parent = nullptr, LoginCheck::Clock clock = {});

    // Set by "&Abbrechen": the start-up ends the program.
    bool Cancelled() const { return m_cancelled; }
    const LoginCheck &loginCheck() const { return m_check; }

    QLineEdit *edtBenutzername = nullptr;
    QLineEdit *edtPasswort = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnAbbrechen = nullptr;
    QPushButton *btnHilfe = nullptr;
    QLabel *lblPause = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    // Every way out (OK, Enter, the title bar, Escape) comes here.
    void done(int result) override;

private:
    void cancel();
    bool closeCheck();
    void showPause();

    AppState &m_state;
    UserStore m_store;
    LoginCheck m_check;
    QTimer *m_pauseTimer = nullptr;
    bool m_cancelled = false;
    bool m_cancelRequested = false;
};
