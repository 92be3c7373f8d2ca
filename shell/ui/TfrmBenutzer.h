#pragma once

#include "PasswordPairField.h"
#include "PermissionBoxes.h"
#include "UserStore.h"

#include <QDialog>

#include <array>
#include <optional>

class AppState;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTabWidget;

// "Benutzer": the users with their passwords, descriptions and sixteen
// permissions, and the machine-wide switch for the log-in. The list holds every
// stored user and one empty row for a new one; clearing a stored user's name
// deletes that user at the next save. The first user is the principal one: its
// name stays, and its permissions are neither shown nor changed here. Only an
// administrator of the machine may save, because the switch belongs to the
// whole machine. Changes apply from the next start.
class TfrmBenutzer : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmBenutzer(AppState &state, QWidget *parent = nullptr);

    // Reloads users and the switch; the row selected before stays selected.
    void refresh();
    void selectRow(int row);
    // "O&K": the typed password for the selected user, kept until the save.
    void cmdSetPassword();
    void cmdNewUser();
    // "&Übernehmen": true when everything was stored.
    bool cmdSave();

    QCheckBox *chkBenutzerverwaltung = nullptr;
    QListWidget *lstBenutzer = nullptr;
    QLineEdit *edtPasswort = nullptr;
    QLineEdit *edtPasswortWiederholen = nullptr;
    QPushButton *btnPasswortOK = nullptr;
    QPushButton *btnNeu = nullptr;
    QPlainTextEdit *memBeschreibung = nullptr;
    QTabWidget *tabRechte = nullptr;
    QGroupBox *grpAllgemein = nullptr;
    QGroupBox *grpOptionen = nullptr;
    QLabel *lblAlleRechte = nullptr;
    std::array<QCheckBox *, 17> chkPerm{};
    QPushButton *btnOK = nullptr;
    QPushButton *btnUebernehmen = nullptr;
    QPushButton *btnAbbrechen = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row
    {
        UserRecord user;
        QString loadedName;
        std::optional<QString> newPassword;
    };

    void buildUi();
    int current() const;
    void showBoxes();
    void boxClicked(int n, bool on);
    void nameEdited(int row);
    void descriptionChanged();
    void appendEmptyRow();
    // A password typed but not yet taken with "O&K" goes to the row; false when the two differ.
    bool takeTypedPassword(int row, bool tell);

    AppState &m_state;
    UserStore m_store;
    QList<Row> m_rows;
    PasswordPairField m_password;
    QStackedWidget *m_rights = nullptr;
    PermissionBoxes m_boxes;
    QString m_description;
    bool m_filling = false;
};
