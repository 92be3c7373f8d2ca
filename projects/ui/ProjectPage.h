#pragma once

#include "ProjectGeneralFields.h"
#include "ProjectStore.h"

#include <QWidget>

class AppState;
class ProjectAddressGroup;
class ProjectAddressList;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The project page of the project window: the project's general data, its three
// addresses and the addresses of its contact to pick from.
class ProjectPage : public QWidget, public ProjectGeneralFields
{
    Q_OBJECT
public:
    ProjectPage(AppState &state, ProjectStore &store, QWidget *parent = nullptr);

    // Loads the project into the fields; false when it cannot be found.
    bool load(qint64 prNr);
    // Company or person labels and fields.
    void setCompany(bool company);
    void setCustomer(qint64 customer);
    void fillVatChoices();
    // The fields as they stand (with the numbers of the loaded project).
    ProjectValue value() const;
    const ProjectValue &loaded() const { return m_loaded; }
    bool isClean() const { return m_clean; }
    void setClean(bool clean);
    void applyPermissions(bool write);
    // "Änderungen Speichern".
    void save();
    void clearPage();

    QLineEdit *edtPrNr, *edtPrName, *edtDatum, *edtKNr, *edtEFirma;
    QComboBox *cbPreisgruppe;
    QPlainTextEdit *memBemerkung;
    ProjectAddressGroup *grpAnschrift, *grpLieferanschrift, *grpRechnungsanschrift;
    ProjectAddressList *lstAdressen;
    QRadioButton *rbAnschrift, *rbLieferanschrift, *rbRechnungsanschrift;
    QPushButton *btnSave, *btnDetail;

Q_SIGNALS:
    void modifiedChanged();
    // After a successful save: the window copies the project into the clean pages.
    void saved();
    void detailRequested();

private:
    void buildUi();
    void markModified();
    void uidEdited();

    AppState &m_state;
    ProjectStore &m_store;
    ProjectValue m_loaded;
    bool m_company = true;
    bool m_clean = true;
    bool m_filling = false;
};
