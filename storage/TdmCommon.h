#pragma once

#include <QString>

class Database;
class Dialogs;

// The business number ranges that can be lifted to a start number.
enum class NumberRange { Projekt, Angebot, Auftrag, Lieferschein, Rechnung, Gutschrift, Mahnung, Ablage };

// Number ranges and contact look-ups. A new number is the highest in use plus one,
// lifted to the start number of Orbel.ini (re-read at every draw); it is taken
// only when the caller inserts its row.
class TdmCommon
{
public:
    TdmCommon(Database &db, Dialogs &dialogs, QString exeDir);

    qint64 GetNextProjektNr();
    qint64 GetNextBelegNr(NumberRange range);
    // The next contact number, or -1 after "Fehler beim holen der Kundennummer"
    // when an address link still uses that number.
    qint64 GetNextKundenNr();
    int GetNextMNr(qint64 RNr);
    qint64 GetNextIDA();
    qint64 GetNextPrAdresseIDA();
    qint64 GetNextIDC();
    qint64 GetNextIDU();
    qint64 GetFirmaOfPerson(qint64 IDN);
    // "name" for a person, "firma" for a company, empty otherwise.
    QString GetContactTable(qint64 number);
    static QString PadNumber(qint64 number);

    static QString tableOf(NumberRange range);
    static QString startKeyOf(NumberRange range);

private:
    qint64 maxOf(const QString &sql);
    qint64 lifted(const QString &startKey, qint64 highest) const;

    Database &m_db;
    Dialogs &m_dialogs;
    QString m_exeDir;
};
