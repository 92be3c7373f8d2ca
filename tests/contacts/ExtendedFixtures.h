#pragma once

#include "ExtendedData.h"
#include "TestEnv.h"

// Extended data and open items as the other windows leave them, for the tests of
// the extended-data store and window.
namespace Fixtures {

// The extended data a user types for a good customer, in the fields' own forms.
inline ExtendedData typedTerms()
{
    ExtendedData d;
    d.zahlungsziel = QStringLiteral("30");
    d.skontoTage = QStringLiteral("10");
    d.skontoText = QStringLiteral("Skonto bei Zahlung binnen 10 Tagen");
    d.skonto = QStringLiteral("2,5");
    d.rabattText = QStringLiteral("Händlerrabatt für D'Angelo");
    d.rabatt = QStringLiteral("0,335");
    d.preisgruppe = QStringLiteral("Zwei");
    d.mwSt = QStringLiteral("19,00 %");
    d.uid = QStringLiteral("DE123456789");
    d.lieferbesch = QStringLiteral("2");
    d.hoechstwert = QStringLiteral("1.500,50");
    d.kInstitut = QStringLiteral("Volksbank Süd");
    d.kInhaber = QStringLiteral("Müller & Söhne");
    d.konto = QStringLiteral("0532013000");
    d.blz = QStringLiteral("37040044");
    d.iban = QStringLiteral("DE89 3704 0044 0532 0130 00");
    return d;
}

// One invoice of a project of the contact with its open item.
struct Invoice
{
    qint64 rnr;
    qint64 project;
    QString datum;
    int zziel;
    QString edatum;
    QString betrag;   // SQL number
    QString rbetrag;  // SQL number
    int mstufe;
    QString gebucht;
};

inline void addProject(TestEnv &env, qint64 project, qint64 contact)
{
    env.exec(QStringLiteral("INSERT INTO projekttofn (IDP, IDFN, PrName) VALUES (%1, %2, 'Projekt %1')")
                 .arg(project)
                 .arg(contact));
}

inline void addInvoice(TestEnv &env, const Invoice &i)
{
    env.exec(QStringLiteral("INSERT INTO rechnungen (BelegNr, ProjektNr, Datum, PName, RL, EFirma) "
                            "VALUES (%1, %2, '%3', 'Projekt', 'N', '')")
                 .arg(i.rnr)
                 .arg(i.project)
                 .arg(i.datum));
    env.exec(QStringLiteral("INSERT INTO rechnungenop (RNR, ZZiel, EDatum, Betrag, Name, RBetrag, MStufe, Gebucht) "
                            "VALUES (%1, %2, '%3', %4, 'Kunde', %5, %6, '%7')")
                 .arg(i.rnr)
                 .arg(i.zziel)
                 .arg(i.edatum, i.betrag, i.rbetrag)
                 .arg(i.mstufe)
                 .arg(i.gebucht));
}

// Three invoices of contact 1 in two projects, entered out of date order, and
// one of contact 2 that must not show.
inline void prepareOpenItems(TestEnv &env)
{
    addProject(env, 10, 1);
    addProject(env, 11, 1);
    addProject(env, 12, 2);
    addInvoice(env, {101, 10, QStringLiteral("01.01.2024"), 30, QStringLiteral("31.01.2024"), "1190", "0", 0, "J"});
    addInvoice(env, {102, 11, QStringLiteral("15.11.2023"), 30, QStringLiteral("15.12.2023"), "2380.5", "380.5", 2, "N"});
    addInvoice(env, {103, 10, QStringLiteral("01.02.2024"), 14, QStringLiteral("15.02.2024"), "595", "595", 0, "N"});
    addInvoice(env, {104, 12, QStringLiteral("01.01.2020"), 14, QStringLiteral("15.01.2020"), "99", "99", 1, "N"});
}

} // namespace Fixtures
