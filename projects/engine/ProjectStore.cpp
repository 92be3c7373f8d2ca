#include "ProjectStore.h"

#include "NumberInput.h"

#include "Amount.h"
#include "Database.h"
#include "Errors.h"
#include "Formats.h"
#include "NumberLock.h"
#include "SqlOptional.h"
#include "SqlQuery.h"
#include "SqlText.h"
#include "TdmCommon.h"
#include "Transaction.h"

namespace {

// A stored percentage shown with two decimals, or empty.
QString percentText(const QString &stored)
{
    if (stored.isEmpty())
        return QString();
    return Amount::fromText(stored).toText();
}

} // namespace

QString ProjectValue::recipientName() const
{
    if (company)
        return vname;
    QStringList parts;
    for (const QString &p : {anrede, titel, vname, nname})
        if (!p.isEmpty())
            parts << p;
    return parts.join(QLatin1Char(' '));
}

ProjectStore::ProjectStore(Database &db) : m_db(db) {}

QString ProjectStore::vatEntryText(const Amount &rate)
{
    const QString text = rate.toText() + QStringLiteral(" %");
    return rate < Amount::fromUnits(10) ? QStringLiteral("  ") + text : text;
}

QStringList ProjectStore::vatChoices()
{
    SqlQuery query(m_db);
    query.open(QStringLiteral("SELECT DISTINCT UStSatz FROM prust ORDER BY UStSatz"));
    QStringList out;
    for (; !query.eof(); query.next())
        if (!query.field(QStringLiteral("UStSatz")).isEmpty())
            out << vatEntryText(query.fieldAmount(QStringLiteral("UStSatz")));
    return out;
}

QString ProjectStore::percentForSql(const QString &text, const QString &label, bool zeroWhenEmpty)
{
    const std::optional<Amount> a = NumberInput::value({NumberInput::Kind::Percent, label}, text);
    if (!a)
        return zeroWhenEmpty ? QStringLiteral("0") : QString();
    return a->toSqlText();
}

QString ProjectStore::termForSql(const QString &text)
{
    const std::optional<Amount> a =
        NumberInput::value({NumberInput::Kind::Days, QStringLiteral("Netto Zahlungsziel")}, text);
    return a ? QString::number(a->raw() / Amount::Scale) : QString();
}

AddressFields ProjectStore::readAddress(const QString &sql)
{
    SqlQuery query(m_db);
    query.open(sql);
    return {query.field(QStringLiteral("Bez")), query.field(QStringLiteral("Strasse")),
            query.field(QStringLiteral("PLZ")), query.field(QStringLiteral("Ort")),
            query.field(QStringLiteral("Land"))};
}

ContactDefaults ProjectStore::loadContact(qint64 contact, bool company)
{
    ContactDefaults d;
    ProjectValue &v = d.value;
    v.knr = contact;
    v.company = company;
    SqlQuery query(m_db);
    if (company) {
        query.open(QStringLiteral(
                       "SELECT DISTINCT firma.Name, firma.Branche, adresse.Strasse, adresse.PLZ, adresse.Ort, "
                       "adresse.Land, adressetofn.Art FROM firma, adresse, adressetofn "
                       "WHERE adressetofn.IDFN=firma.IDF AND adressetofn.IDA=adresse.IDA AND adressetofn.St='1' "
                       "AND firma.IDF='%1'")
                       .arg(contact));
        v.vname = query.field(QStringLiteral("Name"));
        v.nname = query.field(QStringLiteral("Branche"));
    } else {
        query.open(QStringLiteral(
                       "SELECT DISTINCT name.Anrede, name.Titel, name.VName, name.NName, adresse.Strasse, "
                       "adresse.PLZ, adresse.Ort, adresse.Land, adressetofn.Art FROM name, adresse, adressetofn "
                       "WHERE adressetofn.IDFN=name.IDN AND adressetofn.IDA=adresse.IDA AND adressetofn.St='1' "
                       "AND name.IDN='%1'")
                       .arg(contact));
        v.anrede = query.field(QStringLiteral("Anrede"));
        v.titel = query.field(QStringLiteral("Titel"));
        v.vname = query.field(QStringLiteral("VName"));
        v.nname = query.field(QStringLiteral("NName"));
    }
    d.found = !query.isEmpty();
    v.anschrift = {query.field(QStringLiteral("Art")), query.field(QStringLiteral("Strasse")),
                   query.field(QStringLiteral("PLZ")), query.field(QStringLiteral("Ort")),
                   query.field(QStringLiteral("Land"))};

    const QString t = company ? QStringLiteral("firmamehr") : QStringLiteral("namemehr");
    const QString id = company ? QStringLiteral("IDF") : QStringLiteral("IDN");
    query.open(QStringLiteral("SELECT DISTINCT Rabatt, RabattText, Skonto, SkontoText, SkontoTage, Preisgruppe, "
                              "Zahlungsziel, Lieferbesch, Hoechstwert, MwSt, UID FROM %1 WHERE %2='%3'")
                   .arg(t, id)
                   .arg(contact));
    // Stored numbers that cannot be read show as empty rather than ending the command.
    const auto percent = [&](const QString &name) {
        const QString s = query.field(name);
        return Amount::tryFromText(s) ? percentText(s) : QString();
    };
    v.rabatt = percent(QStringLiteral("Rabatt"));
    v.rabattText = query.field(QStringLiteral("RabattText"));
    v.sconto = percent(QStringLiteral("Skonto"));
    v.scontoText = query.field(QStringLiteral("SkontoText"));
    v.uid = query.field(QStringLiteral("UID"));
    const QString term = query.field(QStringLiteral("Zahlungsziel"));
    if (company)
        v.zahlungsziel = (term.isEmpty() || term == QLatin1String("0")) ? QStringLiteral("14") : term;
    else
        v.zahlungsziel = term;
    d.vatRate = percent(QStringLiteral("MwSt"));
    const QString group = query.field(QStringLiteral("Preisgruppe"));
    static const QStringList groups = {QStringLiteral("Eins"), QStringLiteral("Zwei"), QStringLiteral("Drei"),
                                       QStringLiteral("Vier")};
    v.preisgruppe = groups.contains(group) ? group : QStringLiteral("Vier");
    d.addresses = contactAddresses(contact);
    return d;
}

QList<AddressListRow> ProjectStore::contactAddresses(qint64 contact)
{
    SqlQuery query(m_db);
    query.open(QStringLiteral("SELECT DISTINCT adresse.Strasse, adresse.Ort, adresse.IDA, adressetofn.Art, adressetofn.St "
                              "FROM adresse, adressetofn WHERE adressetofn.IDA=adresse.IDA AND adressetofn.IDFN='%1' "
                              "ORDER BY adressetofn.St DESC NULLS LAST, adresse.IDA")
                   .arg(contact));
    QList<AddressListRow> rows;
    for (; !query.eof(); query.next())
        rows.append({query.field(QStringLiteral("Art")), query.field(QStringLiteral("Strasse")),
                     query.field(QStringLiteral("Ort")), query.field(QStringLiteral("IDA"))});
    return rows;
}

AddressFields ProjectStore::pickAddress(qint64 ida)
{
    SqlQuery query(m_db);
    query.open(QStringLiteral("SELECT DISTINCT adresse.Strasse, adresse.Ort, adresse.PLZ, adresse.Land, adresse.IDA, "
                              "adressetofn.Art FROM adresse, adressetofn WHERE adressetofn.IDA=adresse.IDA AND "
                              "adresse.IDA='%1'")
                   .arg(ida));
    return {query.field(QStringLiteral("Art")), query.field(QStringLiteral("Strasse")),
            query.field(QStringLiteral("PLZ")), query.field(QStringLiteral("Ort")),
            query.field(QStringLiteral("Land"))};
}

void ProjectStore::createProject(ProjectValue &v, TdmCommon &numbers)
{
    const QString rabatt = percentForSql(v.rabatt, QStringLiteral("Rabatt %"), false);
    const QString sconto = percentForSql(v.sconto, QStringLiteral("Sconto %"), false);
    const QString term = termForSql(v.zahlungsziel);
    if (v.prNr <= 0)
        throw OrvellaError(QStringLiteral("Es ist keine Projektnummer gezogen."));
    Transaction tr(m_db);
    SqlQuery query(m_db);
    // The number was drawn when the window opened; another workstation may have
    // created a project under it since. The next one, drawn under the lock, is free.
    LockNumbers(m_db, QStringLiteral("projekt"));
    query.open(QStringLiteral("SELECT PrNr FROM projekt WHERE PrNr = %1 UNION SELECT IDP FROM projekttofn WHERE IDP = %1")
                   .arg(v.prNr));
    const bool taken = !query.isEmpty();
    query.close();
    if (taken)
        v.prNr = numbers.GetNextProjektNr();
    const auto insertAddress = [&](const AddressFields &a) {
        const qint64 ida = numbers.GetNextPrAdresseIDA();
        query.execSql(QStringLiteral("INSERT INTO pradresse (IDA,Bez,Strasse,PLZ,Ort,Land) VALUES ('%1',%2,%3,%4,%5,%6)")
                          .arg(ida)
                          .arg(SqlText(a.bez), SqlText(a.strasse), SqlText(a.plz), SqlText(a.ort), SqlText(a.land)));
        return ida;
    };
    v.idaAnschrift = insertAddress(v.anschrift);
    v.idaLieferanschrift = insertAddress(v.lieferanschrift);
    v.idaRechnungsanschrift = numbers.GetNextPrAdresseIDA();
    query.execSql(QStringLiteral("INSERT INTO pradresse (IDA) VALUES ('%1')").arg(v.idaRechnungsanschrift));
    query.execSql(QStringLiteral("INSERT INTO projekttofn (IDP, IDFN, PrName) VALUES ('%1','%2',%3)")
                      .arg(v.prNr)
                      .arg(v.knr)
                      .arg(SqlText(v.prName)));
    query.execSql(QStringLiteral("INSERT INTO projekt (PrNr, Anrede, Titel, VName, NName, PrMemo, UID, USt, Anschrift, "
                                 "LAnschrift, RAnschrift, Datum, UIDStatus, EFirma, KNr) VALUES ('%1',%2,%3,%4,%5,%6,%7,"
                                 "%8,'%9','%10','%11',%12,'%13',%14,%15)")
                      .arg(v.prNr)
                      .arg(SqlText(v.anrede), SqlText(v.titel), SqlText(v.vname), SqlText(v.nname), SqlText(v.prMemo), SqlText(v.uid), SqlText(v.ust))
                      .arg(v.idaAnschrift)
                      .arg(v.idaLieferanschrift)
                      .arg(v.idaRechnungsanschrift)
                      .arg(SqlOptional(v.datum), v.uidStatus ? QStringLiteral("Y") : QStringLiteral("N"), SqlText(v.eFirma))
                      .arg(v.knr));
    query.execSql(QStringLiteral("INSERT INTO projektrabatt (PrNr, RabattText, Rabatt, ScontoText, Sconto, Zahlungsziel, "
                                 "Preisgruppe) VALUES ('%1',%2,%3,%4,%5,%6,%7)")
                      .arg(v.prNr)
                      .arg(SqlText(v.rabattText), SqlOptional(rabatt), SqlText(v.scontoText), SqlOptional(sconto), SqlOptional(term),
                           SqlText(v.preisgruppe)));
    tr.commit();
}

std::optional<ProjectValue> ProjectStore::loadProject(qint64 prNr)
{
    SqlQuery query(m_db);
    query.open(QStringLiteral(
                   "SELECT DISTINCT projekttofn.PrName, projekt.Anrede, projekt.UID, projekt.Titel, projekt.VName, "
                   "projekt.NName, projekt.PrMemo, projekt.Datum, projekt.DatumB, projekt.Anschrift, projekt.LAnschrift, "
                   "projekt.RAnschrift, projekt.UIDStatus, projekt.EFirma, projekt.KNr, pradresse.Bez, pradresse.Strasse, "
                   "pradresse.PLZ, pradresse.Ort, pradresse.Land, projekt.USt, projektrabatt.RabattText, "
                   "projektrabatt.Rabatt, projektrabatt.ScontoText, projektrabatt.Sconto, projektrabatt.Zahlungsziel, "
                   "projektrabatt.Preisgruppe FROM projekttofn, projekt, pradresse, projektrabatt "
                   "WHERE projekttofn.IDP=projekt.PrNr AND projekt.Anschrift=pradresse.IDA AND "
                   "projekt.PrNr=projektrabatt.PrNr AND projekt.PrNr='%1'")
                   .arg(prNr));
    if (query.isEmpty())
        return std::nullopt;
    ProjectValue v;
    v.prNr = prNr;
    const auto f = [&](const char *name) { return query.field(QLatin1String(name)); };
    v.prName = f("PrName");
    v.datum = f("Datum");
    v.anrede = f("Anrede");
    v.titel = f("Titel");
    v.vname = f("VName");
    v.nname = f("NName");
    v.anschrift = {f("Bez"), f("Strasse"), f("PLZ"), f("Ort"), f("Land")};
    v.uid = f("UID");
    v.eFirma = f("EFirma");
    v.rabattText = f("RabattText");
    v.zahlungsziel = f("Zahlungsziel");
    v.rabatt = Amount::tryFromText(f("Rabatt")) ? percentText(f("Rabatt")) : QString();
    v.scontoText = f("ScontoText");
    v.sconto = Amount::tryFromText(f("Sconto")) ? percentText(f("Sconto")) : QString();
    v.uidStatus = f("UIDStatus") == QLatin1String("Y");
    v.ust = f("USt");
    v.prMemo = f("PrMemo");
    static const QStringList groups = {QStringLiteral("Eins"), QStringLiteral("Zwei"), QStringLiteral("Drei"),
                                       QStringLiteral("Vier")};
    v.preisgruppe = groups.contains(f("Preisgruppe")) ? f("Preisgruppe") : QStringLiteral("Vier");
    v.idaAnschrift = StrToIntDef(f("Anschrift"), 0);
    v.idaLieferanschrift = StrToIntDef(f("LAnschrift"), 0);
    v.idaRechnungsanschrift = StrToIntDef(f("RAnschrift"), 0);
    v.knr = StrToIntDef(f("KNr"), 0);
    const auto second = [&](const QString &column) {
        return readAddress(QStringLiteral("SELECT DISTINCT pradresse.Strasse, pradresse.PLZ, pradresse.Ort, "
                                          "pradresse.Land, pradresse.Bez FROM pradresse, projekt WHERE "
                                          "projekt.%1=pradresse.IDA AND projekt.PrNr='%2'")
                               .arg(column)
                               .arg(prNr));
    };
    v.lieferanschrift = second(QStringLiteral("LAnschrift"));
    v.rechnungsanschrift = second(QStringLiteral("RAnschrift"));
    return v;
}

QList<AddressListRow> ProjectStore::projectAddresses(qint64 prNr)
{
    SqlQuery query(m_db);
    query.open(QStringLiteral("SELECT DISTINCT adresse.Strasse, adresse.Ort, adresse.IDA, adressetofn.Art, "
                              "adressetofn.St, projekttofn.IDP FROM adresse, adressetofn, projekttofn WHERE "
                              "adressetofn.IDA=adresse.IDA AND adressetofn.IDFN=projekttofn.IDFN AND "
                              "projekttofn.IDP='%1' ORDER BY adressetofn.St DESC NULLS LAST, adresse.IDA")
                   .arg(prNr));
    QList<AddressListRow> rows;
    for (; !query.eof(); query.next())
        rows.append({query.field(QStringLiteral("Art")), query.field(QStringLiteral("Strasse")),
                     query.field(QStringLiteral("Ort")), query.field(QStringLiteral("IDA"))});
    return rows;
}

void ProjectStore::saveProject(const ProjectValue &v)
{
    const QString rabatt = percentForSql(v.rabatt, QStringLiteral("Rabatt %"), true);
    const QString sconto = percentForSql(v.sconto, QStringLiteral("Skonto %"), true);
    const QString term = termForSql(v.zahlungsziel);
    Transaction tr(m_db);
    SqlQuery query(m_db);
    query.execSql(QStringLiteral("UPDATE projekt SET Anrede=%1, Titel=%2, VName=%3, NName=%4, UID=%5, USt=%6, "
                                 "PrMemo=%7, EFirma=%8, UIDStatus='%9' WHERE PrNr=%10")
                      .arg(SqlText(v.anrede), SqlText(v.titel), SqlText(v.vname), SqlText(v.nname), SqlText(v.uid), SqlText(v.ust), SqlText(v.prMemo),
                           SqlText(v.eFirma), v.uidStatus ? QStringLiteral("Y") : QStringLiteral("N"))
                      .arg(v.prNr));
    // An empty payment term is stored as an empty term.
    query.execSql(QStringLiteral("UPDATE projektrabatt SET RabattText=%1, Rabatt=%2, ScontoText=%3, Sconto=%4, "
                                 "Zahlungsziel=%5, Preisgruppe=%6 WHERE PrNr=%7")
                      .arg(SqlText(v.rabattText), rabatt, SqlText(v.scontoText), sconto,
                           SqlOptional(term), SqlText(v.preisgruppe))
                      .arg(v.prNr));
    query.execSql(QStringLiteral("UPDATE projekttofn SET PrName=%1 WHERE IDP=%2").arg(SqlText(v.prName)).arg(v.prNr));
    const auto updateAddress = [&](const AddressFields &a, qint64 ida) {
        query.execSql(QStringLiteral("UPDATE pradresse SET Bez=%1, Strasse=%2, PLZ=%3, Ort=%4, Land=%5 WHERE IDA=%6")
                          .arg(SqlText(a.bez), SqlText(a.strasse), SqlText(a.plz), SqlText(a.ort), SqlText(a.land))
                          .arg(ida));
    };
    updateAddress(v.anschrift, v.idaAnschrift);
    updateAddress(v.lieferanschrift, v.idaLieferanschrift);
    updateAddress(v.rechnungsanschrift, v.idaRechnungsanschrift);
    tr.commit();
}
