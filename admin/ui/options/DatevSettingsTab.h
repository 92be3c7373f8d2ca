#pragma once

#include "DatevExport.h"
#include "OptionsPage.h"

#include <QList>

class AppState;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

// The tab "DATEV": what the DATEV export needs to know: consultant and client
// number, the start of the fiscal year, the length of the general ledger accounts,
// the chart of accounts with the revenue and Skonto account of each VAT rate of the
// rate table, the bank account and how customer numbers become debtor accounts.
class DatevSettingsTab : public OptionsPage
{
    Q_OBJECT
public:
    explicit DatevSettingsTab(AppState &state, QWidget *parent = nullptr);

    void load() override;
    // Refuses (with a message) a number field that holds anything but digits.
    bool save() override;
    bool canSave() const override { return m_allowed; }
    // Permission "Firmendaten".
    void applyPermissions(bool companyData);
    // "Vorgaben übernehmen": the usual accounts of the chart chosen.
    void cmdPresets();

    QGroupBox *grpDatev;
    QLineEdit *edtBerater, *edtMandant, *edtWJBeginn, *edtBank, *edtDebitorBasis, *edtDebitorVon, *edtDebitorBis;
    QSpinBox *spnKontenlaenge;
    QComboBox *cbKontenrahmen;
    QPushButton *btnVorgaben;
    QTableWidget *tblKonten; // Steuersatz, Kategorie, Erlöskonto, Skontokonto

private:
    struct RateRow
    {
        Amount rate;
        QString category;
    };
    void fillAccounts(const Datev::Settings &settings);

    AppState &m_state;
    QList<RateRow> m_rows;
    bool m_allowed = true;
    bool m_loading = false;
};
