#pragma once

#include <QList>
#include <QString>

// Plain values that the contact editor shows and the store reads and writes.
// Numbers that come from the database travel as text in the grids (an empty
// text means "not stored yet"), exactly as the editor holds them in hidden cells.

// One address: the main address of a contact or one row of its further addresses.
struct AddressRow
{
    QString art;      // "Bezeichnung", adressetofn.Art
    QString strasse;
    QString plz;
    QString ort;
    QString land;
    QString ida;      // adresse.IDA, empty for a row not stored yet

    // Any of the five visible columns holds text.
    bool hasText() const;
    bool operator==(const AddressRow &) const = default;
};

// One communication entry (telephone, fax, e-mail, ...).
struct ComRow
{
    QString bez;      // "Bezeichnung", comtofn.Bez
    QString inhalt;   // the number or address itself
    QString idc;      // com.IDC, empty for a row not stored yet
    QString code;     // com.X: T, M, F, E, I, N or empty

    bool operator==(const ComRow &) const = default;
};

// What companies and persons have in common.
struct ContactData
{
    QString telefon;
    QString kategorie;
    QString begriffe;
    QString sanrede;     // salutation line for letters ("Serienbriefanrede")
    QString note;        // anmerkung.Anmerkung
    bool deactivated = false;   // St = '0'
    AddressRow mainAddress;     // ida = the kept main address number
    // The rows of the further-address grid and the communication grid, in grid
    // order, empty rows included: the save rules decide what each row means.
    QList<AddressRow> addresses;
    QList<ComRow> communications;
};

struct CompanyRecord : ContactData
{
    qint64 IDF = 0;
    QString name;
    QString branche;
};

struct PersonRecord : ContactData
{
    qint64 IDN = 0;
    QString titel;
    QString anrede;
    QString vname;
    QString nname;
    QString position;    // nametofirma.Pos of the person's company link
};

// A row of a company's person list.
struct AssignedPerson
{
    QString anrede;
    QString titel;
    QString vname;
    QString nname;
    qint64 IDN = 0;
    bool preselected = false;   // nametofirma.St = '1'
};

// The panel "Zugeordnete Personen / Ansprechpartner" of the company tab.
struct PersonDetails
{
    qint64 IDN = 0;
    QString position;
    QString telefon;
    QString strasse;
    QString plz;
    QString ort;
    QString note;
};

// The panel "Zugeordnete Firma" of the person tab.
struct LinkedCompany
{
    qint64 IDF = 0;
    QString name;
    QString branche;
    QString telefon;
    QString position;
    QString strasse;
    QString plz;
    QString ort;
    QString note;
};

// A row of the assignment window's list.
struct AssignCandidate
{
    QString name;        // firma.Name or name.VName
    QString second;      // firma.Branche or name.NName
    QString plz;
    QString ort;
    QString telefon;
    qint64 id = 0;
    bool linked = false; // a person that already belongs to a company
};
