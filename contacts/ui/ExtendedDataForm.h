#pragma once

#include <QString>

class Dialogs;
class NumberEdit;
class PaymentHistoryModel;
class QButtonGroup;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QToolButton;
class QWidget;

// The controls of "Erweiterte Angaben" and how they are laid out: the close bar;
// payment terms, delivery condition and bank details on the left; picture,
// payment history and remark on the right; the buttons below. TfrmFiPeMehr
// fills them and runs the commands; the object names are what tests look for.
class ExtendedDataForm
{
public:
    // The caption of the terms box, in front of the contact's name.
    static QString termsCaptionPrefix();

protected:
    // Creates every control with window as parent and gives window its layout;
    // the number fields tell their refusals through dialogs.
    void setupUi(QDialog *window, Dialogs &dialogs);

    QToolButton *btnToolClose;
    QGroupBox *grpPaymentTerms;
    QLineEdit *edtSkontoText, *edtRabattText;
    NumberEdit *edtPaymentDays, *edtSkontoDays, *edtSkonto, *edtRabatt;
    QComboBox *cboVatRate;
    QLineEdit *edtVatId;
    QComboBox *cboPriceGroup;
    QLineEdit *edtBuyerReference; // "Leitweg-ID / Käuferreferenz"
    // The delivery condition; a button's id is the stored flag.
    QButtonGroup *deliveryButtons;
    NumberEdit *edtMaximumAmount;
    QLabel *imgPicture;
    QPushButton *btnLoadPicture, *btnDeletePicture;
    QLineEdit *edtBankName, *edtAccountHolder, *edtAccountNumber, *edtBankCode, *edtIban;
    QLabel *lblIbanProblem;
    PaymentHistoryModel *paymentHistory;
    QTableView *grdPaymentHistory;
    QPlainTextEdit *memRemark;
    QPushButton *btnEdit, *btnSave, *btnOk, *btnClose;

private:
    QWidget *buildTerms(QDialog *window, Dialogs &dialogs);
    QWidget *buildDelivery(QDialog *window, Dialogs &dialogs);
    QWidget *buildPicture(QDialog *window);
    QWidget *buildBank(QDialog *window);
    QWidget *buildHistory(QDialog *window);
    QWidget *buildRemark(QDialog *window);
    QLayout *buildButtons(QDialog *window);
};
