#pragma once

#include "Amount.h"
#include "ExtendedData.h"

#include <QImage>
#include <QList>
#include <QString>
#include <optional>

class AppState;
class Database;

// The statements behind the extended-data window: one row of firmamehr (company)
// or namemehr (person) per contact (the e-invoice command also reads and keeps
// its electronic-invoice data there), the VAT rates of the rate box, the
// contact's payment history from the open items, and the contact's picture file
// in the data folder's "Images". Every text from the user goes through SqlQuote and every
// number is checked before it is placed into a statement. Database errors are
// thrown, never shown here.
class ExtendedDataStore
{
public:
    ExtendedDataStore(Database &db, QString dataDir);
    explicit ExtendedDataStore(AppState &state);

    // The stored row as read back; no value when the contact has none yet.
    std::optional<ExtendedData> load(bool company, qint64 number);
    // Inserts the row on the first save and updates it afterwards, in one
    // transaction. typed holds the window's texts (percentages and amounts as
    // typed, the rate as its box entry). With a picture, it is written to the
    // contact's picture file before the transaction is committed, so a picture
    // that cannot be written leaves the row as it was. Returns true when the row
    // was inserted. Throws ConversionError for values inputError refuses.
    bool save(bool company, qint64 number, const ExtendedData &typed, const QImage *picture = nullptr);

    // The buyer reference an electronic invoice names (SELECT Kaeuferreferenz);
    // empty when the contact has no row.
    QString kaeuferreferenz(bool company, qint64 number);
    // The form of electronic invoice last made for the contact (SELECT ERechnung),
    // "ZUGFeRD" or "XRechnung"; empty when none was.
    QString eInvoiceForm(bool company, qint64 number);
    // Keeps the form for the next electronic invoice, in the contact's row, which
    // it inserts when there is none yet (one transaction).
    void setEInvoiceForm(bool company, qint64 number, const QString &form);

    // The distinct rates of the rate table, lowest first.
    QList<Amount> vatRates();
    // The invoices of every project of the contact, earliest due date first.
    QList<ExtendedRules::PaymentRow> paymentHistory(qint64 number);
    // Whose payment terms these are: the company's name, or the person's title,
    // first and last name (the empty ones left out); empty when the contact is
    // not stored.
    QString ownerName(bool company, qint64 number);

    // <data>/Images/<number>.BMP and the neutral picture <data>/Images/dummy.bmp.
    QString picturePath(qint64 number) const;
    QString neutralPicturePath() const;
    // Removes the contact's picture file. False only when a file is there and
    // could not be removed.
    bool deletePicture(qint64 number);

private:
    // The contact has a row (SELECT IDF FROM firmamehr, or IDN FROM namemehr).
    bool hasRow(bool company, qint64 number);

    Database &m_db;
    QString m_dataDir;
};
