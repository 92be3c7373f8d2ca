#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Amount;
class Database;
class TdmCommon;

// One address block of a project (a pradresse row) or of a contact.
struct AddressFields
{
    QString bez, strasse, plz, ort, land;
    bool operator==(const AddressFields &) const = default;
};

// A row of the lists of a contact's addresses: designation, street, town, number.
struct AddressListRow
{
    QString art, strasse, ort, ida;
};

// The general data of a project as the new-project window and the project page
// show them. Percentages and the payment term are kept as the fields show them.
struct ProjectValue
{
    qint64 prNr = 0;
    qint64 knr = 0;       // contact number of the customer
    bool company = true;  // VName/NName are company name and trade
    QString anrede, titel, vname, nname;
    QString uid;
    bool uidStatus = false; // "UID verwenden"
    QString ust;            // text of the VAT choice ("16,00 %", "  7,00 %")
    QString rabattText, rabatt, scontoText, sconto;
    QString zahlungsziel;
    QString preisgruppe = QStringLiteral("Vier");
    QString prName, prMemo;
    QString datum;          // creation date dd.MM.yyyy
    QString eFirma;         // sender line
    AddressFields anschrift, lieferanschrift, rechnungsanschrift;
    qint64 idaAnschrift = 0, idaLieferanschrift = 0, idaRechnungsanschrift = 0;

    // "Firma" for a company; "Anrede Titel Vorname Nachname" without double blanks.
    QString recipientName() const;
};

// What a new project takes over from its contact.
struct ContactDefaults
{
    ProjectValue value;     // names, main address, discount, Skonto, term, UID, price group
    QString vatRate;        // the contact's preset VAT rate as "16,00", or empty
    bool found = false;     // the contact has a main address
    QList<AddressListRow> addresses;
};

// The statements behind the new-project window and the project page.
class ProjectStore
{
public:
    explicit ProjectStore(Database &db);

    // A VAT rate as the VAT choices show it: two decimals, " %", two leading blanks
    // below 10 ("  7,00 %", "16,00 %").
    static QString vatEntryText(const Amount &rate);
    // The rates of prust, ascending, as entries.
    QStringList vatChoices();
    // A percentage field's text as it is written to the database: empty stays empty
    // (or "0" when zeroWhenEmpty), otherwise a number with a decimal point. Throws
    // ConversionError with the number fields' message naming the field (label)
    // for anything else.
    static QString percentForSql(const QString &text, const QString &label, bool zeroWhenEmpty);
    // The payment term: digits or empty. Throws ConversionError otherwise.
    static QString termForSql(const QString &text);

    ContactDefaults loadContact(qint64 contact, bool company);
    QList<AddressListRow> contactAddresses(qint64 contact);
    AddressFields pickAddress(qint64 ida);

    // Writes the three pradresse rows, projekttofn, projekt and projektrabatt in one
    // transaction. value.prNr must be drawn; when another workstation has created a
    // project under it meanwhile, the next number is drawn here and set in value, as
    // are the address numbers.
    void createProject(ProjectValue &value, TdmCommon &numbers);

    // The project page; no value when the project or one of its partner rows is missing.
    std::optional<ProjectValue> loadProject(qint64 prNr);
    QList<AddressListRow> projectAddresses(qint64 prNr);
    // "Änderungen Speichern" in one transaction.
    void saveProject(const ProjectValue &value);

private:
    AddressFields readAddress(const QString &sql);
    Database &m_db;
};
