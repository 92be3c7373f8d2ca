#pragma once

#include "ExtendedDataStore.h"

#include <QDialog>
#include <QImage>

class AppState;
class NumberEdit;
class PaymentHistoryModel;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableView;

// "Erweiterte Angaben": payment terms, delivery condition, bank details and the
// picture of one company or person, with the contact's payment history. The
// contact editor creates it once and shows it modally for the contact it shows
// (prepare, then exec). It opens read-only; "&Bearbeiten" makes it editable when
// permission flag 4 is granted.
class TfrmFiPeMehr : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmFiPeMehr(AppState &state, QWidget *parent = nullptr);
    ~TfrmFiPeMehr() override;

    // The contact shown at the next activation: a company (else a person) and its number.
    void prepare(bool company, qint64 number);

    bool isCompany() const { return m_company; }
    qint64 number() const { return m_number; }
    bool isEditable() const { return m_editable; }
    bool isSaved() const { return m_saved; }
    // "TPicture" while the contact has a picture, else empty.
    QString pictureMarker() const { return m_pictureMarker; }
    // The picture area as it is shown (350 × 144).
    QImage shownPicture() const { return m_shownPicture; }
    PaymentHistoryModel *historyModel() const { return m_history; }

    // Operations; the buttons run them through the command guard.
    void Activate();
    void Load();
    void SetEditable(bool a);
    // "&Übernehmen"; false when a value was refused and nothing was stored.
    bool Save();
    void LoadPicture();
    void DeletePicture();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    NumberEdit *numberField(QWidget *parent, const char *name, ExtendedRules::NumberField which);
    QWidget *buildTerms();
    QWidget *buildDelivery();
    QWidget *buildPicture();
    QWidget *buildBank();
    QWidget *buildHistory();
    QWidget *buildRemark();
    QLayout *buildButtons();
    void connectCommands();
    void clearFields();
    void fillRates();
    void selectRate(const QString &rate);
    void checkDelivery(const QString &flag);
    ExtendedData typed() const;
    void showPicture(const QImage &picture);
    QImage neutralPicture() const;
    void showIbanState();
    void markChanged();

    AppState &m_state;
    ExtendedDataStore m_store;
    bool m_company = true;
    qint64 m_number = 0;
    bool m_editable = false;
    bool m_saved = true;
    QString m_pictureMarker;
    QImage m_shownPicture;
    // A picture picked with "Bild laden" and not stored yet.
    QImage m_newPicture;

    QGroupBox *m_terms;
    QLineEdit *m_cashDiscountText, *m_discountText;
    NumberEdit *m_paymentDays, *m_discountDays, *m_cashDiscount, *m_discount;
    QComboBox *m_vatRate;
    QLineEdit *m_vatId;
    QComboBox *m_priceGroup;
    QButtonGroup *m_delivery;
    NumberEdit *m_maximum;
    QLabel *m_picture;
    QPushButton *m_loadPicture, *m_deletePicture;
    QLineEdit *m_bankName, *m_accountHolder, *m_accountNumber, *m_bankCode, *m_iban;
    QLineEdit *m_buyerReference = nullptr; // "Leitweg-ID / Käuferreferenz"
    QLabel *m_ibanProblem;
    PaymentHistoryModel *m_history;
    QTableView *m_historyView;
    QPlainTextEdit *m_remark;
    QPushButton *m_edit, *m_save, *m_ok, *m_close;
};
