#include "TdmCommon.h"

#include "Database.h"
#include "Formats.h"
#include "Settings.h"
#include "SqlQuery.h"

#include <algorithm>

const QString TdmCommon::KundenNrError = QStringLiteral("Fehler beim holen der Kundennummer");

TdmCommon::TdmCommon(Database &db, QString exeDir)
    : m_db(db), m_exeDir(std::move(exeDir))
{
}

QString TdmCommon::PadNumber(qint64 number)
{
    return ::PadNumber(number);
}

QString TdmCommon::tableOf(NumberRange range)
{
    switch (range) {
    case NumberRange::Projekt: return QStringLiteral("projekt");
    case NumberRange::Angebot: return QStringLiteral("angebote");
    case NumberRange::Auftrag: return QStringLiteral("auftraege");
    case NumberRange::Lieferschein: return QStringLiteral("lieferscheine");
    case NumberRange::Rechnung: return QStringLiteral("rechnungen");
    case NumberRange::Gutschrift: return QStringLiteral("gutschriften");
    case NumberRange::Mahnung: return QStringLiteral("mahnungen");
    case NumberRange::Ablage: return QStringLiteral("ablage");
    }
    return {};
}

QString TdmCommon::startKeyOf(NumberRange range)
{
    switch (range) {
    case NumberRange::Projekt: return StartKey::Projekt;
    case NumberRange::Angebot: return StartKey::Angebot;
    case NumberRange::Auftrag: return StartKey::Auftrag;
    case NumberRange::Lieferschein: return StartKey::Lieferschein;
    case NumberRange::Rechnung: return StartKey::Rechnung;
    case NumberRange::Gutschrift: return StartKey::Gutschrift;
    case NumberRange::Mahnung: return StartKey::Mahnung;
    case NumberRange::Ablage: return StartKey::Ablage;
    }
    return {};
}

qint64 TdmCommon::maxOf(const QString &sql)
{
    SqlQuery q(m_db);
    q.open(sql);
    return q.fieldInt(QStringLiteral("m"));
}

qint64 TdmCommon::lifted(const QString &startKey, qint64 highest) const
{
    const qint64 start = ReadStartNumber(m_exeDir, startKey);
    return start > highest ? start : highest + 1;
}

qint64 TdmCommon::GetNextProjektNr()
{
    return GetNextBelegNr(NumberRange::Projekt);
}

qint64 TdmCommon::GetNextBelegNr(NumberRange range)
{
    const QString column = range == NumberRange::Projekt ? QStringLiteral("PrNr") : QStringLiteral("BelegNr");
    const qint64 highest = maxOf(QStringLiteral("SELECT MAX(%1) AS m FROM %2").arg(column, tableOf(range)));
    return lifted(startKeyOf(range), highest);
}

qint64 TdmCommon::GetNextKundenNr()
{
    SqlQuery q(m_db);
    qint64 previous = -1;
    for (;;) {
        const qint64 persons = maxOf(QStringLiteral("SELECT MAX(IDN) AS m FROM name"));
        const qint64 companies = maxOf(QStringLiteral("SELECT MAX(IDF) AS m FROM firma"));
        const qint64 next = lifted(StartKey::Kunden, std::max(persons, companies));
        q.open(QStringLiteral("SELECT IDFN FROM adressetofn WHERE IDFN = %1").arg(next));
        if (q.isEmpty())
            return next;
        // Another workstation may have stored a contact under this number between
        // the two reads: then the highest number has moved on, and the next one is
        // drawn. Only a link whose contact is gone keeps the number blocked.
        if (next == previous)
            return -1;
        previous = next;
    }
}

int TdmCommon::GetNextMNr(qint64 RNr)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT MNr FROM mahnungen WHERE RNr = %1").arg(RNr));
    qint64 highest = 0;
    for (; !q.eof(); q.next())
        highest = std::max(highest, q.fieldInt(QStringLiteral("MNr")));
    return int(highest + 1);
}

qint64 TdmCommon::GetNextIDA()
{
    return maxOf(QStringLiteral("SELECT MAX(IDA) AS m FROM adresse")) + 1;
}

qint64 TdmCommon::GetNextPrAdresseIDA()
{
    return maxOf(QStringLiteral("SELECT MAX(IDA) AS m FROM pradresse")) + 1;
}

qint64 TdmCommon::GetNextIDC()
{
    return maxOf(QStringLiteral("SELECT MAX(IDC) AS m FROM com")) + 1;
}

qint64 TdmCommon::GetNextIDU()
{
    return maxOf(QStringLiteral("SELECT MAX(IDU) AS m FROM usr")) + 1;
}

qint64 TdmCommon::GetFirmaOfPerson(qint64 IDN)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT IDF FROM nametofirma WHERE IDN='%1'").arg(IDN));
    return q.fieldInt(QStringLiteral("IDF"));
}

QString TdmCommon::GetContactTable(qint64 number)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT IDN FROM name WHERE IDN='%1'").arg(number));
    if (!q.isEmpty() && q.field(QStringLiteral("IDN")) == QString::number(number))
        return QStringLiteral("name");
    q.open(QStringLiteral("SELECT IDF FROM firma WHERE IDF='%1'").arg(number));
    if (!q.isEmpty() && q.field(QStringLiteral("IDF")) == QString::number(number))
        return QStringLiteral("firma");
    return QString();
}
