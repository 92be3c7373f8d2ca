#include "CorrespondenceStore.h"

#include "SqlQuery.h"

CorrespondenceStore::CorrespondenceStore(Database &db) : m_db(db) {}

QString CorrespondenceStore::salutation(bool company, qint64 number)
{
    SqlQuery q(m_db);
    q.open(company ? QStringLiteral("SELECT SAnrede FROM firma WHERE IDF=%1").arg(number)
                   : QStringLiteral("SELECT SAnrede FROM name WHERE IDN=%1").arg(number));
    return q.isEmpty() ? QString() : q.field(QStringLiteral("SAnrede"));
}

LetterData CorrespondenceStore::letterData(qint64 contact, bool company)
{
    LetterData d;
    d.company = company;
    SqlQuery q(m_db);
    if (company) {
        q.add(QStringLiteral("SELECT firma.SAnrede, firma.Name, adresse.Strasse, adresse.PLZ, adresse.Ort"));
        q.add(QStringLiteral("FROM firma, adressetofn, adresse"));
        q.add(QStringLiteral("WHERE firma.IDF=adressetofn.IDFN AND adressetofn.IDA=adresse.IDA AND firma.IDF=%1")
                  .arg(contact));
    } else {
        q.add(QStringLiteral("SELECT name.Titel, name.SAnrede, name.Anrede, name.VName, name.NName, adresse.Strasse,"));
        q.add(QStringLiteral("adresse.PLZ, adresse.Ort FROM name, adressetofn, adresse"));
        q.add(QStringLiteral("WHERE name.IDN=adressetofn.IDFN AND adressetofn.IDA=adresse.IDA AND name.IDN=%1")
                  .arg(contact));
    }
    // The main address comes first; a contact with several addresses is written to
    // its main address.
    q.add(QStringLiteral("ORDER BY adressetofn.St DESC NULLS LAST"));
    q.open();
    d.SAnrede = q.field(QStringLiteral("SAnrede"));
    d.Strasse = q.field(QStringLiteral("Strasse"));
    d.PLZ = q.field(QStringLiteral("PLZ"));
    d.Ort = q.field(QStringLiteral("Ort"));
    if (company) {
        d.Name = q.field(QStringLiteral("Name"));
    } else {
        d.Titel = q.field(QStringLiteral("Titel"));
        d.Anrede = q.field(QStringLiteral("Anrede"));
        d.VName = q.field(QStringLiteral("VName"));
        d.NName = q.field(QStringLiteral("NName"));
    }
    return d;
}

QStringList CorrespondenceStore::communicationTexts(qint64 contact)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT com.Inhalt FROM com, comtofn WHERE com.IDC=comtofn.IDC AND comtofn.IDFN=%1 "
                          "ORDER BY com.IDC")
               .arg(contact));
    QStringList texts;
    for (; !q.eof(); q.next())
        texts << q.field(QStringLiteral("Inhalt"));
    return texts;
}
