#pragma once

#include "CompanyStore.h"
#include "OptionsPage.h"

#include <memory>

class AppState;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The tab "Firmendaten": the own company (name, street, postcode and town, from
// which the sender line of new projects is built), the five footer lines printed
// under every document, and the seller data an electronic invoice names.
class CompanyTab : public OptionsPage
{
    Q_OBJECT
public:
    explicit CompanyTab(AppState &state, QWidget *parent = nullptr);
    ~CompanyTab() override;

    void load() override;
    // "&Übernehmen": writes everything; a doubtful IBAN or VAT ID is warned about
    // and stored all the same.
    bool save() override;
    bool canSave() const override { return m_allowed; }
    // Permission "Firmendaten".
    void applyPermissions(bool companyData);

    // What the fields hold.
    CompanyData value() const;

    QGroupBox *grpFirma, *grpVerkaeufer;
    QLineEdit *edtFirmenname, *edtStrasse, *edtPLZ, *edtOrt;
    QTableWidget *tblFuss; // five rows (foot 'a' … 'e'), columns A … D
    QPushButton *btnFussUebernehmen;
    QLineEdit *edtUStIdNr, *edtSteuernummer, *edtHandelsregister, *edtIBAN, *edtBIC, *edtBank, *edtKontakt, *edtWeitereKonten,
        *edtEMail, *edtTelefon;

private:
    void buildUi();
    void showData(const CompanyData &data);
    void fillFooterFromSeller();

    AppState &m_state;
    std::unique_ptr<CompanyStore> m_store;
    bool m_allowed = true;
    bool m_loading = false;
};
