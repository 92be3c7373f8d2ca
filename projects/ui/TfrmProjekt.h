#pragma once

#include "ProjectGeneralFields.h"
#include "ProjectStore.h"

#include <QDialog>

class ProjectAddressGroup;
class ProjectAddressList;
class AppState;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Neues Projekt": opens a project for the contact selected in the main window,
// with copies of its name, addresses and commercial defaults.
class TfrmProjekt : public QDialog, public ProjectGeneralFields
{
    Q_OBJECT
public:
    explicit TfrmProjekt(AppState &state, QWidget *parent = nullptr);

    // Fills the window for the selected contact (the main window's SelectedID and
    // its choice of companies or persons): draws the project number, loads the
    // contact and proposes the project name.
    void prepare();
    // The contact the window was filled for.
    qint64 contact() const { return m_contact; }
    bool isCompany() const { return m_company; }
    qint64 projectNumber() const { return m_prNr; }

    // "&Projekt erstellen": writes the project and hands it to the project window.
    void createProject();
    // The project as the fields stand.
    ProjectValue value() const;

    QLineEdit *edtEFirma, *edtPrNr, *edtPrName, *edtKNr;
    QGroupBox *grpContact;
    QComboBox *cbPreisgruppe;
    QDateEdit *dtDatum;
    QPlainTextEdit *memBemerkung;
    ProjectAddressGroup *grpAnschrift, *grpLieferanschrift;
    ProjectAddressList *lstAnschrift, *lstLieferanschrift;
    QPushButton *btnCreate, *btnCancel;

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void buildUi();
    void uidEdited();
    void selectVat(const QString &rate);
    void savePosition();

    AppState &m_state;
    ProjectStore m_store;
    qint64 m_contact = -1;
    bool m_company = true;
    qint64 m_prNr = 0;
};
