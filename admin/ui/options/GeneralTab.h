#pragma once

#include "Amount.h"
#include "OptionsPage.h"

#include <QList>
#include <memory>
#include <optional>

class AppState;
class NumberEdit;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class VatRateStore;

// The tab "Allgemein": the VAT rates, the reminder program's autostart, the start
// numbers of the number ranges and the currency symbol.
class GeneralTab : public OptionsPage
{
    Q_OBJECT
public:
    explicit GeneralTab(AppState &state, QWidget *parent = nullptr);
    ~GeneralTab() override;

    void load() override;
    // "&Speichern": the start numbers, then the VAT input, then a currency symbol
    // typed but not saved yet.
    bool save() override;
    // Permission "Allgemein": the VAT rates and the autostart.
    void applyPermissions(bool general);

    // Commands.
    void cmdAddRate();
    void cmdChangeRate();
    void cmdDeleteRate();
    void cmdSaveCurrency();
    void cmdAutostart(bool on);
    void cmdSentryHelp();
    void rateClicked(int row);

    // Where the reminder program is registered for the desktop session's start.
    static QString sentryProgram(const QString &exeDir);

    QGroupBox *grpUSt, *grpSentry, *grpStart, *grpWaehrung;
    QListWidget *lstUSt;
    NumberEdit *edtUSt;
    QPushButton *btnHinzufuegen, *btnAendern, *btnLoeschen;
    // The electronic-invoice category of the rate clicked, with its exemption reason.
    QComboBox *cbUStKategorie = nullptr;
    QLineEdit *edtUStGrund = nullptr;
    QPushButton *btnUStKategorie = nullptr;
    QLabel *lblSentry;
    QCheckBox *chkAutostart;
    QPushButton *btnSentryHilfe;
    QList<NumberEdit *> edtStart; // in the order of OptionsRules::startNumberFields()
    QPushButton *btnStartSpeichern;
    QLineEdit *edtWaehrung;
    QPushButton *btnWaehrung;

private:
    void cmdSaveCategory();
    void showCategory();
    void buildUi();
    void loadRates();
    void loadStartNumbers();
    void rateTyped();
    // Adds or changes the rate; false when it was refused (duplicate).
    bool storeRate(std::optional<Amount> selected, Amount rate);
    // What "&Speichern" does with the VAT input: nothing, add it, or change the
    // rate selected in the list to it.
    enum class RateAction { None, Add, Change };
    RateAction pendingRateAction(std::optional<Amount> typed) const;
    void writeStartNumbers(const QStringList &values);

    AppState &m_state;
    std::unique_ptr<VatRateStore> m_rates;
    QList<Amount> m_listed;
    std::optional<Amount> m_selected; // the rate clicked in the list
    bool m_currencyEdited = false;
};
