#pragma once

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
