#pragma once

#include "PasswordPairField.h"
#include "UserStore.h"

#include <QDialog>

class AppState;
class QLineEdit;
class QPushButton;

// "Passwort": the logged-in user changes the own password, after giving the
// present one. Without a log-in there is no own password to change.
class TfrmPasswort : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPasswort(AppState &state, QWidget *parent = nullptr);

    // "&Übernehmen": true when the new password is stored.
    bool cmdApply();

    QLineEdit *edtAltesPasswort = nullptr;
    QLineEdit *edtNeuesPasswort = nullptr;
    QLineEdit *edtWiederholen = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnUebernehmen = nullptr;
    QPushButton *btnAbbrechen = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppState &m_state;
    UserStore m_store;
    PasswordPairField m_newPassword;
};
