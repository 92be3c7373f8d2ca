#pragma once

#include "ContactStore.h"
#include "TestEnv.h"

#include <QStringList>

// Contacts as a user would enter them, for the store and window tests.
namespace Fixtures {

inline CompanyRecord company(qint64 IDF, const QString &name)
{
    CompanyRecord c;
    c.IDF = IDF;
    c.name = name;
    c.branche = QStringLiteral("Maschinenbau");
    c.telefon = QStringLiteral("0711 4711");
    c.kategorie = QStringLiteral("Kunde");
    c.begriffe = QStringLiteral("Fräsen Drehen");
    c.sanrede = QStringLiteral("Sehr geehrte Damen und Herren,");
    c.note = QStringLiteral("Lieferung nur vormittags\nTor 3");
    c.mainAddress = {QStringLiteral("Firmensitz"), QStringLiteral("Hauptstraße 1"), QStringLiteral("70173"),
                     QStringLiteral("Stuttgart"), QStringLiteral("Deutschland"), {}};
    return c;
}

inline PersonRecord person(qint64 IDN, const QString &vname, const QString &nname)
{
    PersonRecord p;
    p.IDN = IDN;
    p.anrede = QStringLiteral("Frau");
    p.titel = QStringLiteral("Dr.");
    p.vname = vname;
    p.nname = nname;
    p.telefon = QStringLiteral("089 123");
    p.mainAddress = {QStringLiteral("Privat"), QStringLiteral("Ringstraße 9"), QStringLiteral("80331"),
                     QStringLiteral("München"), QStringLiteral("Deutschland"), {}};
    return p;
}

// Rows of a contact's addresses as "Art|Strasse|PLZ|Ort|Land|St", in address-number order.
inline QStringList addressRows(TestEnv &env, qint64 contact)
{
    return env.column(QStringLiteral("SELECT t.Art || '|' || a.Strasse || '|' || a.PLZ || '|' || a.Ort || '|' || "
                                     "a.Land || '|' || COALESCE(t.St, '') FROM adresse a, adressetofn t "
                                     "WHERE a.IDA = t.IDA AND t.IDFN = %1 ORDER BY a.IDA")
                          .arg(contact));
}

// Rows of a contact's communication entries as "Bez|Inhalt|X", in entry-number order.
inline QStringList comRows(TestEnv &env, qint64 contact)
{
    return env.column(QStringLiteral("SELECT f.Bez || '|' || c.Inhalt || '|' || c.X FROM com c, comtofn f "
                                     "WHERE c.IDC = f.IDC AND f.IDFN = %1 ORDER BY c.IDC")
                          .arg(contact));
}

// How many rows the contact tables hold, for "nothing was written" checks.
inline QString contactTableCounts(TestEnv &env)
{
    QStringList counts;
    for (const char *t : {"firma", "name", "anmerkung", "adresse", "adressetofn", "com", "comtofn", "nametofirma"})
        counts << QStringLiteral("%1=%2").arg(QLatin1String(t), env.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(t))));
    return counts.join(QLatin1Char(' '));
}

} // namespace Fixtures
