#pragma once

#include <QString>
#include <QStringList>

class Database;

// What a letter to a contact needs: the first address row of the contact.
struct LetterData
{
    bool company = true;
    QString SAnrede, Name, Anrede, Titel, VName, NName, Strasse, PLZ, Ort;
};

// What letters, Word documents and electronic invoices read about the contact
// they are written to. It writes nothing.
class CorrespondenceStore
{
public:
    explicit CorrespondenceStore(Database &db);

    // The letter salutation of a company or person (SELECT SAnrede FROM firma, or
    // FROM name); empty when the contact is not stored.
    QString salutation(bool company, qint64 number);
    // The names and salutation of a company or person with its main address, or
    // another of its addresses when it has no main address (firma or name joined
    // with adressetofn and adresse).
    LetterData letterData(qint64 contact, bool company);
    // The contents of the contact's communication entries, in the order they were
    // made (SELECT com.Inhalt FROM com, comtofn ORDER BY com.IDC).
    QStringList communicationTexts(qint64 contact);

private:
    Database &m_db;
};
