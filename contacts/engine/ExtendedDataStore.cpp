#include "ExtendedDataStore.h"

#include "AppState.h"
#include "ContactSql.h"
#include "Database.h"
#include "Errors.h"
#include "Formats.h"
#include "SqlQuery.h"
#include "Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace ExtendedRules;

using ContactSql::Txt;

namespace {

QString tableOf(bool company)
{
    return company ? QStringLiteral("firmamehr") : QStringLiteral("namemehr");
}

QString keyOf(bool company)
{
    return company ? QStringLiteral("IDF") : QStringLiteral("IDN");
}

// The delivery condition "1" to "4"; "1" when none is chosen.
QString deliveryFlag(const QString &typed)
{
    static const QStringList flags = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                      QStringLiteral("4")};
    return flags.contains(typed) ? typed : QStringLiteral("1");
}

} // namespace

ExtendedDataStore::ExtendedDataStore(Database &db, QString dataDir) : m_db(db), m_dataDir(std::move(dataDir)) {}

ExtendedDataStore::ExtendedDataStore(AppState &state) : ExtendedDataStore(state.db, state.DataDir) {}

std::optional<ExtendedData> ExtendedDataStore::load(bool company, qint64 number)
{
    const QString t = tableOf(company);
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT "));
    q.add(t + QStringLiteral(".Zahlungsziel, ") + t + QStringLiteral(".SkontoTage, ") + t
          + QStringLiteral(".SkontoText, ") + t + QStringLiteral(".Skonto, ") + t + QStringLiteral(".RabattText, ")
          + t + QStringLiteral(".Rabatt, ") + t + QStringLiteral(".Preisgruppe, ") + t + QStringLiteral(".MwSt, ") + t
          + QStringLiteral(".UID, ") + t + QStringLiteral(".Lieferbesch, ") + t + QStringLiteral(".Hoechstwert, ") + t
          + QStringLiteral(".Image, ") + t + QStringLiteral(".KInstitut, ") + t + QStringLiteral(".KInhaber, ") + t
          + QStringLiteral(".Konto, ") + t + QStringLiteral(".BLZ, ") + t + QStringLiteral(".IBAN, ") + t + QStringLiteral(".Kaeuferreferenz "));
    q.add(QStringLiteral("FROM ") + t + QLatin1Char(' '));
    q.add(QStringLiteral("WHERE ") + t + QLatin1Char('.') + keyOf(company) + QLatin1Char('=') + QString::number(number));
    q.open();
    if (q.isEmpty())
        return std::nullopt;
    const auto f = [&q](const char *name) { return q.field(QLatin1String(name)); };
    return ExtendedData{f("Zahlungsziel"), f("SkontoTage"), f("SkontoText"), f("Skonto"),     f("RabattText"),
                        f("Rabatt"),       f("Preisgruppe"), f("MwSt"),      f("UID"),        f("Lieferbesch"),
                        f("Hoechstwert"),  f("Image"),      f("KInstitut"), f("KInhaber"),   f("Konto"),
                        f("BLZ"),          f("IBAN"),       f("Kaeuferreferenz")};
}

bool ExtendedDataStore::save(bool company, qint64 number, const ExtendedData &typed, const QImage *picture)
{
    const QString t = tableOf(company);
    const QString k = keyOf(company);
    // every number is checked before the statement is built
    const QString zahlungsziel = sqlDays(typed.zahlungsziel);
    const QString skontoTage = sqlDays(typed.skontoTage);
    const QString skonto = sqlPercent(typed.skonto);
    const QString rabatt = sqlPercent(typed.rabatt);
    const QString mwSt = sqlRate(typed.mwSt);
    const QString hoechstwert = sqlAmount(typed.hoechstwert);
    const QString lieferbesch = deliveryFlag(typed.lieferbesch);

    Transaction transaction(m_db);
    const bool insert = !hasRow(company, number);
    SqlQuery q(m_db);
    if (insert) {
        q.add(QStringLiteral("INSERT INTO ") + t + QLatin1Char(' '));
        q.add(QStringLiteral("(Zahlungsziel,SkontoTage,SkontoText,Skonto,"));
        q.add(QStringLiteral("RabattText,Rabatt,Preisgruppe,MwSt,UID,"));
        q.add(QStringLiteral("Lieferbesch,Hoechstwert,") + k + QStringLiteral(",Image,"));
        q.add(QStringLiteral("KInstitut,KInhaber,Konto,BLZ, IBAN, Kaeuferreferenz)"));
        q.add(QStringLiteral("VALUES (")
              + QStringList{zahlungsziel, skontoTage, Txt(typed.skontoText), skonto, Txt(typed.rabattText), rabatt,
                            Txt(typed.preisgruppe), mwSt, Txt(typed.uid), Txt(lieferbesch), hoechstwert,
                            QString::number(number), Txt(typed.image), Txt(typed.kInstitut), Txt(typed.kInhaber),
                            Txt(typed.konto), Txt(typed.blz), Txt(typed.iban), Txt(typed.kaeuferreferenz.trimmed())}
                    .join(QStringLiteral(", "))
              + QLatin1Char(')'));
    } else {
        q.add(QStringLiteral("UPDATE ") + t + QStringLiteral(" SET "));
        q.add(QStringLiteral("Zahlungsziel=") + zahlungsziel + QStringLiteral(", SkontoTage=") + skontoTage
              + QStringLiteral(", SkontoText=") + Txt(typed.skontoText) + QStringLiteral(", Skonto=") + skonto
              + QStringLiteral(", RabattText=") + Txt(typed.rabattText) + QStringLiteral(", Rabatt=") + rabatt
              + QStringLiteral(", Preisgruppe=") + Txt(typed.preisgruppe) + QStringLiteral(", MwSt=") + mwSt
              + QStringLiteral(", UID=") + Txt(typed.uid) + QStringLiteral(", Lieferbesch=") + Txt(lieferbesch)
              + QStringLiteral(", Hoechstwert=") + hoechstwert + QStringLiteral(", Image=") + Txt(typed.image)
              + QStringLiteral(", KInstitut=") + Txt(typed.kInstitut) + QStringLiteral(", KInhaber=")
              + Txt(typed.kInhaber) + QStringLiteral(", Konto=") + Txt(typed.konto) + QStringLiteral(", BLZ=")
              + Txt(typed.blz) + QStringLiteral(", IBAN=") + Txt(typed.iban) + QStringLiteral(", Kaeuferreferenz=")
              + Txt(typed.kaeuferreferenz.trimmed()) + QLatin1Char(' '));
        q.add(QStringLiteral("WHERE ") + k + QLatin1Char('=') + QString::number(number));
    }
    q.execSql();

    if (picture) {
        const QString path = picturePath(number);
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !picture->save(path, "BMP"))
            throw OrvellaError(QStringLiteral("Das Bild konnte nicht gespeichert werden: ") + path);
    }
    transaction.commit();
    return insert;
}

bool ExtendedDataStore::hasRow(bool company, qint64 number)
{
    const QString k = keyOf(company);
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT ") + k + QStringLiteral(" FROM ") + tableOf(company) + QLatin1Char(' '));
    q.add(QStringLiteral("WHERE ") + k + QLatin1Char('=') + QString::number(number));
    q.open();
    return !q.isEmpty();
}

QString ExtendedDataStore::kaeuferreferenz(bool company, qint64 number)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT Kaeuferreferenz FROM %1 WHERE %2=%3")
               .arg(tableOf(company), keyOf(company), QString::number(number)));
    return q.field(QStringLiteral("Kaeuferreferenz"));
}

QString ExtendedDataStore::eInvoiceForm(bool company, qint64 number)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT ERechnung FROM %1 WHERE %2=%3")
               .arg(tableOf(company), keyOf(company), QString::number(number)));
    return q.field(QStringLiteral("ERechnung"));
}

void ExtendedDataStore::setEInvoiceForm(bool company, qint64 number, const QString &form)
{
    const QString t = tableOf(company), k = keyOf(company), n = QString::number(number);
    Transaction transaction(m_db);
    if (hasRow(company, number))
        SqlQuery(m_db).execSql(QStringLiteral("UPDATE %1 SET ERechnung=%2 WHERE %3=%4").arg(t, Txt(form), k, n));
    else
        SqlQuery(m_db).execSql(QStringLiteral("INSERT INTO %1 (%2, ERechnung) VALUES (%3, %4)").arg(t, k, n, Txt(form)));
    transaction.commit();
}

QList<Amount> ExtendedDataStore::vatRates()
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT DISTINCT UStSatz FROM prust ORDER BY UStSatz"));
    QList<Amount> rates;
    for (; !q.eof(); q.next()) {
        // a rate row that is empty or not a number offers nothing to choose
        if (const std::optional<Amount> a = Amount::tryFromText(q.field(QStringLiteral("UStSatz")));
            a && !q.field(QStringLiteral("UStSatz")).isEmpty())
            rates.append(*a);
    }
    return rates;
}

QList<PaymentRow> ExtendedDataStore::paymentHistory(qint64 number)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT "));
    q.add(QStringLiteral("rechnungen.Datum, rechnungenop.EDatum, "));
    q.add(QStringLiteral("rechnungenop.Betrag, rechnungenop.MStufe, "));
    q.add(QStringLiteral("rechnungenop.MStufe, rechnungenop.ZZiel, "));
    q.add(QStringLiteral("rechnungenop.Gebucht, rechnungenop.RBetrag "));
    q.add(QStringLiteral("FROM rechnungen, rechnungenop, projekttofn "));
    q.add(QStringLiteral("WHERE "));
    q.add(QStringLiteral("rechnungenop.RNR=rechnungen.BelegNr AND "));
    q.add(QStringLiteral("rechnungen.ProjektNr=projekttofn.IDP AND "));
    q.add(QStringLiteral("projekttofn.IDFN=") + QString::number(number));
    q.add(QStringLiteral("ORDER BY EDatum NULLS FIRST")); // as the file orders them
    q.open();
    QList<PaymentRow> rows;
    for (; !q.eof(); q.next())
        rows.append({q.field(QStringLiteral("MStufe")), q.field(QStringLiteral("Datum")),
                     q.field(QStringLiteral("ZZiel")), q.field(QStringLiteral("EDatum")),
                     q.field(QStringLiteral("Betrag")), q.field(QStringLiteral("Gebucht")),
                     q.field(QStringLiteral("RBetrag"))});
    return rows;
}

QString ExtendedDataStore::ownerName(bool company, qint64 number)
{
    SqlQuery q(m_db);
    if (company) {
        q.open(QStringLiteral("SELECT Name FROM firma WHERE IDF=%1").arg(number));
        return q.field(QStringLiteral("Name"));
    }
    q.open(QStringLiteral("SELECT Titel, VName, NName FROM name WHERE IDN=%1").arg(number));
    if (q.isEmpty())
        return {};
    // an empty title or first name leaves no double blank
    QStringList parts;
    for (const char *column : {"Titel", "VName", "NName"})
        if (const QString part = q.field(QLatin1String(column)); !part.isEmpty())
            parts << part;
    return parts.join(QLatin1Char(' '));
}

QString ExtendedDataStore::picturePath(qint64 number) const
{
    return QDir(m_dataDir).filePath(QStringLiteral("Images/%1.BMP").arg(number));
}

QString ExtendedDataStore::neutralPicturePath() const
{
    return QDir(m_dataDir).filePath(QStringLiteral("Images/dummy.bmp"));
}

bool ExtendedDataStore::deletePicture(qint64 number)
{
    const QString path = picturePath(number);
    return !QFileInfo::exists(path) || QFile::remove(path);
}
