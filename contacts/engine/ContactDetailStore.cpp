#include "ContactDetailStore.h"

#include "AppState.h"
#include "SqlQuery.h"
#include "TdmCommon.h"

ContactDetailStore::ContactDetailStore(Database &db, TdmCommon &dm) : m_db(db), m_dm(dm) {}

ContactDetailStore::ContactDetailStore(AppState &state) : ContactDetailStore(state.db, state.dmCommon) {}

std::optional<ContactDetail> ContactDetailStore::load(qint64 number)
{
    const QString kind = m_dm.GetContactTable(number);
    if (kind.isEmpty())
        return std::nullopt;
    const QString id = QString::number(number);
    ContactDetail d;
    d.company = kind == QLatin1String("firma");
    SqlQuery q(m_db);
    if (d.company) {
        q.open(QStringLiteral("SELECT firma.Name, firma.Telefon, firma.Kategorie FROM firma WHERE firma.IDF='%1'")
                   .arg(id));
        d.nameLine = q.field(QStringLiteral("Name"));
    } else {
        q.open(QStringLiteral("SELECT name.Titel, name.Anrede, name.VName, name.NName, name.Telefon, name.Kategorie "
                              "FROM name WHERE name.IDN='%1'")
                   .arg(id));
        QStringList parts;
        for (const char *column : {"Anrede", "Titel", "VName", "NName"})
            if (const QString part = q.field(QLatin1String(column)); !part.isEmpty())
                parts << part;
        d.nameLine = parts.join(QLatin1Char(' '));
    }
    d.telefon = q.field(QStringLiteral("Telefon"));
    d.kategorie = q.field(QStringLiteral("Kategorie"));

    // in the order the entries were made, as the contact editor lists them
    q.open(QStringLiteral("SELECT DISTINCT com.Inhalt, com.IDC, com.X, comtofn.Bez FROM com, comtofn "
                          "WHERE com.IDC=comtofn.IDC AND comtofn.IDFN='%1' ORDER BY com.IDC")
               .arg(id));
    for (; !q.eof(); q.next())
        d.communications.append({q.field(QStringLiteral("Bez")), q.field(QStringLiteral("Inhalt")),
                                 q.field(QStringLiteral("IDC")), q.field(QStringLiteral("X"))});

    if (d.company) {
        q.open(QStringLiteral("SELECT DISTINCT name.Anrede, name.Titel, name.VName , name.NName, name.IDN, "
                              "nametofirma.St FROM name, nametofirma WHERE name.IDN=nametofirma.IDN AND "
                              "nametofirma.IDF='%1' ORDER BY name.IDN")
                   .arg(id));
        for (; !q.eof(); q.next())
            d.persons.append({q.field(QStringLiteral("Anrede")), q.field(QStringLiteral("Titel")),
                              q.field(QStringLiteral("VName")), q.field(QStringLiteral("NName")),
                              q.fieldInt(QStringLiteral("IDN")), q.field(QStringLiteral("St")) == QLatin1String("1")});
    }
    return d;
}

ContactPersonLine ContactDetailStore::contactPerson(qint64 IDN)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT DISTINCT nametofirma.Pos, name.Telefon FROM nametofirma, name "
                          "WHERE name.IDN='%1' AND name.IDN=nametofirma.IDN")
               .arg(IDN));
    return {q.field(QStringLiteral("Telefon")), q.field(QStringLiteral("Pos"))};
}
