#pragma once

#include <QString>

class Database;

// The business number ranges that can be lifted to a start number.
enum class NumberRange { Projekt, Angebot, Auftrag, Lieferschein, Rechnung, Gutschrift, Mahnung, Ablage };

// Number ranges and contact look-ups. A new number is the highest in use plus one,
// lifted to the start number of Orbel.ini (re-read at every draw); it is taken
// only when the caller inserts its row. Asks and tells the user nothing: a number
// that cannot be drawn is returned as -1 and the caller says so.
class TdmCommon
{
public:
    // The message shown when GetNextKundenNr gives -1.
    static const QString KundenNrError;

    TdmCommon(Database &db, QString exeDir);

    qint64 GetNextProjektNr();
    qint64 GetNextBelegNr(NumberRange range);
    // The next contact number, or -1 when an address link still uses that number
    // (the caller shows KundenNrError).
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
    QString m_exeDir;
};
