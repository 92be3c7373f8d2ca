#pragma once

#include "ExtendedDataForm.h"
#include "ExtendedDataStore.h"

#include <QDialog>
#include <QImage>

class AppState;
class PaymentHistoryModel;

// "Erweiterte Angaben": payment terms, delivery condition, bank details and the
// picture of one company or person, with the contact's payment history. The
// contact editor creates it once and shows it modally for the contact it shows
// (prepare, then exec). It opens read-only; "&Bearbeiten" makes it editable when
// permission flag 4 is granted. Its controls and their layout are the
// ExtendedDataForm it is built from.
class TfrmFiPeMehr : public QDialog, private ExtendedDataForm
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
    PaymentHistoryModel *historyModel() const { return paymentHistory; }

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
};
