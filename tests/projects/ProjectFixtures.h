#pragma once

#include "ExtendedDataStore.h"
#include "SellerData.h"
#include "Settings.h"
#include "TestEnv.h"

#include <QString>

// A company 10 "Muster GmbH" (trade Bau) with main address, a store address and
// extended data, and a person 20 "Herr Dr. Hans Meier" with a main address.
inline void AddProjectContacts(TestEnv &env)
{
    env.exec("INSERT INTO firma (IDF, Name, Branche, St, SAnrede) VALUES (10, 'Muster GmbH', 'Bau', '1', "
             "'Sehr geehrte Damen und Herren,')");
    env.exec("INSERT INTO adresse (IDA, Strasse, PLZ, Ort, Land) VALUES (1, 'Hauptstraße 1', '70173', 'Stuttgart', "
             "'Deutschland')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (1, 10, 'Hauptadresse', '1')");
    env.exec("INSERT INTO adresse (IDA, Strasse, PLZ, Ort, Land) VALUES (2, 'Lagerweg 9', '70565', 'Stuttgart', "
             "'Deutschland')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (2, 10, 'Lager', '0')");
    env.exec("INSERT INTO firmamehr (IDF, Zahlungsziel, Rabatt, RabattText, Skonto, SkontoText, MwSt, UID, "
             "Preisgruppe) VALUES (10, 0, 3, 'Treuerabatt', 2, '2 % Skonto bei Zahlung in 8 Tagen', 19, '', 'Zwei')");
    env.exec("INSERT INTO name (IDN, Anrede, Titel, VName, NName, St) VALUES (20, 'Herr', 'Dr.', 'Hans', 'Meier', '1')");
    env.exec("INSERT INTO adresse (IDA, Strasse, PLZ, Ort, Land) VALUES (3, 'Am Bach 2', '79098', 'Freiburg', "
             "'Deutschland')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (3, 20, 'privat', '1')");
    env.exec("INSERT INTO namemehr (IDN, Zahlungsziel, MwSt) VALUES (20, 0, 7)");
}

// What an electronic invoice needs besides the document: the own company's
// address, tax ID, bank and contact, the customer 10's e-mail address, and its
// extended data with the buyer reference (stored as the extended-data window
// stores it) and 8 Skonto days.
inline void AddSellerAndCustomerData(TestEnv &env)
{
    WriteOwnCompany(env.home(), QStringLiteral("Halvard Büro & Technik GmbH"), QStringLiteral("Hafenstraße 3"),
                    QStringLiteral("28195"), QStringLiteral("Bremen"));
    SellerData s;
    s.vatId = QStringLiteral("DE123456789");
    s.iban = QStringLiteral("DE02 1203 0000 0000 2020 51");
    s.bic = QStringLiteral("BYLADEM1001");
    s.contactName = QStringLiteral("Erika Sommer");
    s.email = QStringLiteral("rechnung@halvard.example");
    s.telephone = QStringLiteral("+49 421 123456");
    WriteSellerDetails(env.db(), s);
    env.exec("INSERT INTO com (IDC, Inhalt, X) VALUES (1, 'einkauf@muster.example', '')");
    env.exec("INSERT INTO comtofn (IDC, IDFN, Bez) VALUES (1, 10, 'E-Mail')");
    ExtendedDataStore store(env.db(), env.dataDir());
    ExtendedData d = ExtendedRules::forDisplay(store.load(true, 10).value());
    d.mwSt = ExtendedRules::rateEntry(Amount::fromUnits(19));
    d.skontoTage = QStringLiteral("8");
    d.kaeuferreferenz = QStringLiteral(" 991-01234-44 ");
    store.save(true, 10, d, nullptr);
}
