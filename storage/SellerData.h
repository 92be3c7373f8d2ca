#pragma once

#include <QString>

class Database;

// What an electronic invoice says about the seller: the own company's name and
// address (EFirma.ob1) and its tax, register, bank and contact data (table
// firmendaten, one row with Firma = 1). Values are kept as the user typed them.
struct SellerData
{
    QString name, street, postcode, town;
    QString vatId;            // USt-IdNr.
    QString taxNumber;        // Steuernummer
    QString commercialRegister;
    QString iban, bic, bankName;
    QString contactName, email, telephone;
    // Further accounts of the company (IBANs, one per line or separated by commas),
    // whose bank statements may be read besides those of iban.
    QString furtherAccounts;

    bool operator==(const SellerData &) const = default;
};

// The seller as one value. A value missing from the file or the table reads as
// an empty text (not as the "0" the sender line falls back to).
SellerData ReadSellerData(Database &db, const QString &exeDir);
// Writes the tax, register, bank and contact data in one transaction (the
// name and address belong to EFirma.ob1, written by WriteOwnCompany). Creates
// the row when a data set lacks it.
void WriteSellerDetails(Database &db, const SellerData &seller);
