#pragma once

#include "Formats.h"
#include "TestEnv.h"

#include <QDate>
#include <QString>

// Customers and projects of the receivables tests:
// company 10 "Muster GmbH" (contact person 21 Erika Muster, "Buchhaltung") with
// project 1, which has a billing address; person 20 "Herr Dr. Hans Meier" with
// project 2, which has none.
inline void AddReceivablesCustomers(TestEnv &env)
{
    env.exec("INSERT INTO firma (IDF, Name, Telefon, St, SAnrede) VALUES (10, 'Muster GmbH', '0711 100', '1', "
             "'Sehr geehrte Damen und Herren,')");
    env.exec("INSERT INTO adresse (IDA, Strasse, PLZ, Ort) VALUES (1, 'Hauptstraße 1', '70173', 'Stuttgart')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (1, 10, 'Hauptadresse', '1')");
    env.exec("INSERT INTO adresse (IDA, Strasse, PLZ, Ort) VALUES (2, 'Lagerweg 9', '70565', 'Stuttgart')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (2, 10, 'Lager', '0')");
    env.exec("INSERT INTO name (IDN, Anrede, VName, NName, Telefon, St) VALUES (21, 'Frau', 'Erika', 'Muster', "
             "'0711 102', '1')");
    env.exec("INSERT INTO nametofirma (IDN, IDF, Pos, St) VALUES (21, 10, 'Buchhaltung', '1')");
    env.exec("INSERT INTO name (IDN, Anrede, Titel, VName, NName, Telefon, St, SAnrede) VALUES (20, 'Herr', 'Dr.', "
             "'Hans', 'Meier', '0761 300', '1', 'Sehr geehrter Herr Dr. Meier,')");
    env.exec("INSERT INTO adresse (IDA, Strasse, PLZ, Ort) VALUES (3, 'Am Bach 2', '79098', 'Freiburg')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (3, 20, 'privat', '1')");

    env.exec("INSERT INTO pradresse (IDA, Bez, Strasse, PLZ, Ort) VALUES (1, 'Anschrift', 'Hauptstraße 1', '70173', "
             "'Stuttgart')");
    env.exec("INSERT INTO pradresse (IDA, Bez, Strasse, PLZ, Ort) VALUES (2, 'Buchhaltung', 'Postfach 12', '', "
             "'Stuttgart')");
    env.exec("INSERT INTO projekt (PrNr, Anrede, VName, NName, UID, Anschrift, RAnschrift, EFirma, KNr) VALUES "
             "(1, 'Firma', 'Muster GmbH', 'Bau', 'DE111', 1, 2, 'Halvard GmbH - Weg 1 - 12345 Ort', 10)");
    env.exec("INSERT INTO projekttofn (IDP, IDFN, PrName) VALUES (1, 10, 'Neubau Halle')");
    env.exec("INSERT INTO pradresse (IDA, Bez, Strasse, PLZ, Ort) VALUES (3, 'Anschrift', 'Am Bach 2', '79098', "
             "'Freiburg')");
    env.exec("INSERT INTO pradresse (IDA, Bez, Strasse, PLZ, Ort) VALUES (4, '', '', '', '')");
    env.exec("INSERT INTO projekt (PrNr, Anrede, Titel, VName, NName, UID, Anschrift, RAnschrift, EFirma, KNr) "
             "VALUES (2, 'Herr', 'Dr.', 'Hans', 'Meier', '', 3, 4, 'Halvard GmbH - Weg 1 - 12345 Ort', 20)");
    env.exec("INSERT INTO projekttofn (IDP, IDFN, PrName) VALUES (2, 20, 'Fenster')");
}

// An invoice with its Skonto row and open item, as saving an invoice and booking
// it leave them. dueInDays counts from today (negative: overdue); amounts are SQL
// numbers ("15.5").
inline void AddInvoice(TestEnv &env, qint64 number, qint64 project, const QString &amount, int dueInDays,
                       const QString &booked = QStringLiteral("N"), const QString &remaining = QStringLiteral("0"),
                       const QString &sconto = QString())
{
    const QDate due = QDate::currentDate().addDays(dueInDays);
    env.exec(QStringLiteral("INSERT INTO rechnungen (BelegNr, ProjektNr, ReNr, Datum, PName, RL, EFirma) VALUES "
                            "(%1, %2, 0, '%3', 'Projekt', 'N', 'Halvard GmbH')")
                 .arg(number)
                 .arg(project)
                 .arg(DateToStr(due.addDays(-30))));
    env.exec(QStringLiteral("INSERT INTO rechnungenextra (BelegNr, ScontoText, Sconto) VALUES (%1, "
                            "'bei Zahlung in 8 Tagen', '%2')")
                 .arg(number)
                 .arg(sconto));
    env.exec(QStringLiteral("INSERT INTO rechnungenop (RNR, ZZiel, EDatum, Betrag, Name, RBetrag, MStufe, Gebucht) "
                            "VALUES (%1, 30, '%2', %3, 'Kunde %1', %4, 0, '%5')")
                 .arg(number)
                 .arg(DateToStr(due), amount, remaining, booked));
}

inline void AddPosting(TestEnv &env, qint64 invoice, const QString &amount, const QString &date = QStringLiteral("01.02.2024"))
{
    env.exec(QStringLiteral("INSERT INTO teilbuchung (RNr, Betrag, Datum, Text) VALUES ('%1', %2, '%3', '')")
                 .arg(invoice)
                 .arg(amount, date));
}

inline void AddCreditNote(TestEnv &env, qint64 number, qint64 invoice, const QString &amount)
{
    env.exec(QStringLiteral("INSERT INTO gutschriftenop (BelegNr, RNr, Betrag) VALUES (%1, %2, %3)")
                 .arg(number)
                 .arg(invoice)
                 .arg(amount));
}
