#include "ContactStore.h"

#include "AppState.h"
#include "ContactSql.h"
#include "Database.h"
#include "Errors.h"
#include "Formats.h"
#include "SqlLiterals.h"
#include "NumberLock.h"
#include "SqlQuery.h"
#include "TdmCommon.h"
#include "Transaction.h"

using ContactSql::Num;
using ContactSql::Txt;

namespace {

QString StFlag(bool deactivated)
{
    return deactivated ? QStringLiteral("0") : QStringLiteral("1");
}

// The columns that firma and name share, and the note.
void readContactFields(const SqlQuery &q, ContactData &into)
{
    into.deactivated = q.field(QStringLiteral("St")) == QLatin1String("0");
    into.telefon = q.field(QStringLiteral("Telefon"));
    into.kategorie = q.field(QStringLiteral("Kategorie"));
    into.begriffe = q.field(QStringLiteral("Begriffe"));
    into.note = q.field(QStringLiteral("Anmerkung"));
    into.sanrede = q.field(QStringLiteral("SAnrede"));
}

} // namespace

ContactStore::ContactStore(Database &db, TdmCommon &dm) : m_db(db), m_dm(dm), m_rows(db, dm) {}

ContactStore::ContactStore(AppState &state) : ContactStore(state.db, state.dmCommon) {}

// --- reading -----------------------------------------------------------------

QStringList ContactStore::countries()
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT DISTINCT Land FROM adresse ORDER BY Land"));
    QStringList out;
    for (; !q.eof(); q.next())
        out << q.field(QStringLiteral("Land"));
    return out;
}

QStringList ContactStore::categories(bool companies)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT DISTINCT "));
    q.add(companies ? QStringLiteral("Kategorie AS k FROM firma") : QStringLiteral("Kategorie AS k FROM name"));
    q.open();
    QStringList out;
    for (; !q.eof(); q.next()) {
        const QString k = q.field(QStringLiteral("k"));
        if (!k.isEmpty())
            out << k;
    }
    return out;
}

std::optional<CompanyRecord> ContactStore::loadCompany(qint64 IDF)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT DISTINCT "));
    q.add(QStringLiteral("firma.Name, firma.Branche, firma.St, "));
    q.add(QStringLiteral("firma.Telefon, firma.Kategorie, "));
    q.add(QStringLiteral("firma.Begriffe, anmerkung.Anmerkung, "));
    q.add(QStringLiteral("firma.SAnrede "));
    q.add(QStringLiteral("FROM firma, anmerkung"));
    q.add(QStringLiteral("WHERE firma.IDF=") + Num(IDF) + QStringLiteral(" AND "));
    q.add(QStringLiteral("firma.IDF=anmerkung.IDA"));
    q.open();
    if (q.isEmpty())
        return std::nullopt;
    CompanyRecord c;
    c.IDF = IDF;
    c.name = q.field(QStringLiteral("Name"));
    c.branche = q.field(QStringLiteral("Branche"));
    readContactFields(q, c);
    m_rows.load(IDF, c);
    return c;
}

std::optional<PersonRecord> ContactStore::loadPerson(qint64 IDN)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT DISTINCT "));
    q.add(QStringLiteral("name.Titel, name.Anrede, name.VName, name.NName, "));
    q.add(QStringLiteral("name.Telefon, name.St, anmerkung.Anmerkung, "));
    q.add(QStringLiteral("name.Begriffe, name.Kategorie, name.SAnrede "));
    q.add(QStringLiteral("FROM name, anmerkung "));
    q.add(QStringLiteral("WHERE name.IDN=") + Num(IDN) + QStringLiteral(" AND "));
    q.add(QStringLiteral("anmerkung.IDA=") + Num(IDN));
    q.open();
    if (q.isEmpty())
        return std::nullopt;
    PersonRecord p;
    p.IDN = IDN;
    p.titel = q.field(QStringLiteral("Titel"));
    p.anrede = q.field(QStringLiteral("Anrede"));
    p.vname = q.field(QStringLiteral("VName"));
    p.nname = q.field(QStringLiteral("NName"));
    readContactFields(q, p);
    p.position = linkedCompany(IDN).position;
    m_rows.load(IDN, p);
    return p;
}

QList<AssignedPerson> ContactStore::companyPersons(qint64 IDF)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT DISTINCT "));
    q.add(QStringLiteral("name.Anrede, name.Titel, name.VName , "));
    q.add(QStringLiteral("name.NName, name.IDN, nametofirma.St "));
    q.add(QStringLiteral("FROM name, nametofirma "));
    q.add(QStringLiteral("WHERE name.IDN=nametofirma.IDN AND "));
    q.add(QStringLiteral("nametofirma.IDF=") + Num(IDF));
    q.open();
    QList<AssignedPerson> out;
    for (; !q.eof(); q.next())
        out.append({q.field(QStringLiteral("Anrede")), q.field(QStringLiteral("Titel")),
                    q.field(QStringLiteral("VName")), q.field(QStringLiteral("NName")),
                    q.fieldInt(QStringLiteral("IDN")), q.field(QStringLiteral("St")) == QLatin1String("1")});
    return out;
}

PersonDetails ContactStore::personDetails(qint64 IDN, qint64 IDF)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT DISTINCT "));
    q.add(QStringLiteral("nametofirma.Pos, name.Telefon, "));
    q.add(QStringLiteral("adresse.Strasse, adresse.PLZ, adresse.Ort, "));
    q.add(QStringLiteral("anmerkung.Anmerkung FROM "));
    q.add(QStringLiteral("nametofirma, name, adresse, "));
    q.add(QStringLiteral("anmerkung, adressetofn "));
    q.add(QStringLiteral("WHERE "));
    q.add(QStringLiteral("name.IDN=") + Num(IDN) + QStringLiteral(" AND "));
    q.add(QStringLiteral("name.IDN=nametofirma.IDN AND "));
    q.add(QStringLiteral("name.IDN=adressetofn.IDFN AND "));
    q.add(QStringLiteral("adressetofn.IDA=adresse.IDA AND "));
    q.add(QStringLiteral("name.IDN=anmerkung.IDA AND "));
    q.add(QStringLiteral("nametofirma.IDF=") + Num(IDF) + QStringLiteral(" AND "));
    q.add(QStringLiteral("adressetofn.St='1'"));
    q.open();
    PersonDetails d;
    d.IDN = IDN;
    d.position = q.field(QStringLiteral("Pos"));
    d.telefon = q.field(QStringLiteral("Telefon"));
    d.strasse = q.field(QStringLiteral("Strasse"));
    d.plz = q.field(QStringLiteral("PLZ"));
    d.ort = q.field(QStringLiteral("Ort"));
    d.note = q.field(QStringLiteral("Anmerkung"));
    return d;
}

LinkedCompany ContactStore::linkedCompany(qint64 IDN)
{
    LinkedCompany c;
    const qint64 IDF = m_dm.GetFirmaOfPerson(IDN);
    if (IDF <= 0)
        return c;
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT DISTINCT "));
    q.add(QStringLiteral("firma.Name, firma.Branche, firma.Telefon, "));
    q.add(QStringLiteral("firma.IDF, nametofirma.Pos FROM "));
    q.add(QStringLiteral("name, firma, nametofirma "));
    q.add(QStringLiteral("WHERE "));
    q.add(QStringLiteral("name.IDN=") + Num(IDN) + QStringLiteral(" AND "));
    q.add(QStringLiteral("name.IDN=nametofirma.IDN AND "));
    q.add(QStringLiteral("nametofirma.IDF=firma.IDF"));
    q.open();
    c.IDF = IDF;
    c.name = q.field(QStringLiteral("Name"));
    c.branche = q.field(QStringLiteral("Branche"));
    c.telefon = q.field(QStringLiteral("Telefon"));
    c.position = q.field(QStringLiteral("Pos"));

    q.clear();
    q.add(QStringLiteral("SELECT DISTINCT "));
    q.add(QStringLiteral("adresse.Strasse, adresse.PLZ, adresse.Ort, "));
    q.add(QStringLiteral("anmerkung.Anmerkung, adressetofn.St "));
    q.add(QStringLiteral("FROM adresse, adressetofn, anmerkung"));
    q.add(QStringLiteral("WHERE adressetofn.IDFN=") + Num(IDF) + QStringLiteral(" AND "));
    q.add(QStringLiteral("adressetofn.IDA=adresse.IDA AND "));
    q.add(QStringLiteral("anmerkung.IDA=adressetofn.IDFN"));
    // the panel shows one address: the main address when there is one
    q.add(QStringLiteral("ORDER BY adressetofn.St DESC NULLS LAST"));
    q.open();
    c.strasse = q.field(QStringLiteral("Strasse"));
    c.plz = q.field(QStringLiteral("PLZ"));
    c.ort = q.field(QStringLiteral("Ort"));
    c.note = q.field(QStringLiteral("Anmerkung"));
    return c;
}

std::optional<QString> ContactStore::companyName(qint64 IDF)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT Name FROM firma "));
    q.add(QStringLiteral("WHERE IDF=") + Num(IDF));
    q.open();
    if (q.isEmpty())
        return std::nullopt;
    return q.field(QStringLiteral("Name"));
}

std::optional<QPair<QString, QString>> ContactStore::personName(qint64 IDN)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT VName, NName FROM name WHERE IDN=") + Num(IDN));
    if (q.isEmpty())
        return std::nullopt;
    return QPair<QString, QString>(q.field(QStringLiteral("VName")), q.field(QStringLiteral("NName")));
}

QStringList ContactStore::similarCompanies(const QString &name)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT Name FROM firma "));
    q.add(QStringLiteral("WHERE ") + SqlLike(QStringLiteral("Name"), name.left(5), LikeMatch::StartsWith));
    q.open();
    QStringList out;
    for (; !q.eof(); q.next())
        out << q.field(QStringLiteral("Name"));
    return out;
}

QList<QPair<QString, QString>> ContactStore::samePersons(const QString &vname, const QString &nname)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT NName, VName FROM name "));
    q.add(QStringLiteral("WHERE VName=") + Txt(vname) + QStringLiteral(" AND "));
    q.add(QStringLiteral("NName=") + Txt(nname));
    q.open();
    QList<QPair<QString, QString>> out;
    for (; !q.eof(); q.next())
        out.append({q.field(QStringLiteral("VName")), q.field(QStringLiteral("NName"))});
    return out;
}

// --- saving ------------------------------------------------------------------

// The number was drawn before the save asked its questions; if another window
// has taken it since, or an address link still uses it, nothing is written.
bool ContactStore::numberFree(qint64 number)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT IDFN FROM adressetofn WHERE IDFN = %1").arg(number));
    return number > 0 && q.isEmpty() && m_dm.GetContactTable(number).isEmpty();
}

qint64 ContactStore::claimNumber(qint64 number, const std::function<qint64()> &nextNumber)
{
    if (number <= 0 && !nextNumber)
        throw OrvellaError(QStringLiteral("Fehler beim holen der Kundennummer"));
    // A company and a person must never get one number: they would share their
    // addresses and entries by it.
    LockNumbers(m_db, QStringLiteral("kontakte"));
    if (number > 0 && numberFree(number))
        return number;
    // Taken since it was drawn: the next one, drawn under the lock, is free unless
    // a left-over link holds it.
    if (nextNumber) {
        const qint64 next = nextNumber();
        if (numberFree(next))
            return next;
    }
    throw DuplicateNumberError(
        QStringLiteral("Die Kundennummer %1 ist inzwischen vergeben.\nEs wurde nichts gespeichert.").arg(number),
        QString(), QString());
}

void ContactStore::insertNote(qint64 number, const QString &note)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("INSERT INTO anmerkung "));
    q.add(QStringLiteral("(IDA, Anmerkung) "));
    q.add(QStringLiteral("VALUES "));
    q.add(QStringLiteral("(") + Num(number) + QStringLiteral(", ") + Txt(note) + QStringLiteral(")"));
    q.execSql();
}

qint64 ContactStore::insertCompany(const CompanyRecord &company, qint64 linkIDN, const QString &position,
                                   const std::function<qint64()> &nextNumber)
{
    Transaction t(m_db);
    CompanyRecord c = company;
    c.IDF = claimNumber(company.IDF, nextNumber);
    SqlQuery q(m_db);
    q.add(QStringLiteral("INSERT INTO firma "));
    q.add(QStringLiteral("(IDF, Name, Branche,  Kategorie, Begriffe, "));
    q.add(QStringLiteral("SAnrede, Telefon, St) "));
    q.add(QStringLiteral("VALUES "));
    q.add(QStringLiteral("(%1, %2, %3, %4, %5, %6, %7, %8)")
              .arg(Num(c.IDF), Txt(c.name), Txt(c.branche), Txt(c.kategorie), Txt(c.begriffe),
                   Txt(c.sanrede), Txt(c.telefon), Txt(StFlag(c.deactivated))));
    q.execSql();
    insertNote(c.IDF, c.note);
    m_rows.save(c.IDF, c, ContactRowStore::SaveKind::First);
    if (linkIDN > 0)
        linkPerson(linkIDN, c.IDF, position);
    t.commit();
    return c.IDF;
}

void ContactStore::updateCompany(const CompanyRecord &c)
{
    Transaction t(m_db);
    // the numbers of added addresses and entries are drawn during the save
    LockNumbers(m_db, QStringLiteral("kontakte"));
    SqlQuery q(m_db);
    q.add(QStringLiteral("UPDATE firma SET "));
    q.add(QStringLiteral("IDF=%1, Name=%2, Branche=%3, Begriffe=%4, Kategorie=%5, Telefon=%6, SAnrede=%7, St=%8")
              .arg(Num(c.IDF), Txt(c.name), Txt(c.branche), Txt(c.begriffe), Txt(c.kategorie),
                   Txt(c.telefon), Txt(c.sanrede), Txt(StFlag(c.deactivated))));
    q.add(QStringLiteral("WHERE IDF=") + Num(c.IDF));
    q.execSql();
    q.clear();
    q.add(QStringLiteral("UPDATE anmerkung "));
    q.add(QStringLiteral("SET Anmerkung=") + Txt(c.note));
    q.add(QStringLiteral("WHERE  "));
    q.add(QStringLiteral("IDA=") + Num(c.IDF));
    q.execSql();
    m_rows.save(c.IDF, c, ContactRowStore::SaveKind::Update);
    t.commit();
}

qint64 ContactStore::insertPerson(const PersonRecord &person, qint64 linkIDF, const std::function<qint64()> &nextNumber)
{
    Transaction t(m_db);
    PersonRecord p = person;
    p.IDN = claimNumber(person.IDN, nextNumber);
    SqlQuery q(m_db);
    q.add(QStringLiteral("INSERT INTO name "));
    q.add(QStringLiteral("(IDN,Titel, Anrede, VName, NName, Telefon, "));
    q.add(QStringLiteral("Begriffe, Kategorie, SAnrede, "));
    q.add(QStringLiteral("St)"));
    q.add(QStringLiteral("VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9, %10)")
              .arg(Num(p.IDN), Txt(p.titel), Txt(p.anrede), Txt(p.vname), Txt(p.nname), Txt(p.telefon),
                   Txt(p.begriffe), Txt(p.kategorie), Txt(p.sanrede))
              .arg(Txt(StFlag(p.deactivated))));
    q.execSql();
    insertNote(p.IDN, p.note);
    m_rows.save(p.IDN, p, ContactRowStore::SaveKind::First);
    if (linkIDF > 0)
        linkPerson(p.IDN, linkIDF, p.position);
    t.commit();
    return p.IDN;
}

void ContactStore::updatePerson(const PersonRecord &p, qint64 IDF)
{
    Transaction t(m_db);
    // the numbers of added addresses and entries are drawn during the save
    LockNumbers(m_db, QStringLiteral("kontakte"));
    SqlQuery q(m_db);
    q.add(QStringLiteral("UPDATE name "));
    q.add(QStringLiteral("SET "));
    q.add(QStringLiteral("Titel=%1, Anrede=%2, VName=%3, Begriffe=%4, NName=%5, SAnrede=%6, Telefon=%7, Kategorie=%8, St=%9")
              .arg(Txt(p.titel), Txt(p.anrede), Txt(p.vname), Txt(p.begriffe), Txt(p.nname), Txt(p.sanrede),
                   Txt(p.telefon), Txt(p.kategorie), Txt(StFlag(p.deactivated))));
    q.add(QStringLiteral("WHERE "));
    q.add(QStringLiteral("IDN=") + Num(p.IDN));
    q.execSql();
    q.clear();
    q.add(QStringLiteral("UPDATE anmerkung "));
    q.add(QStringLiteral("SET "));
    q.add(QStringLiteral("Anmerkung=") + Txt(p.note) + QStringLiteral(" "));
    q.add(QStringLiteral("WHERE IDA=") + Num(p.IDN));
    q.execSql();
    q.clear();
    q.add(QStringLiteral("UPDATE nametofirma "));
    q.add(QStringLiteral("SET "));
    q.add(QStringLiteral("Pos=") + Txt(p.position) + QStringLiteral(" "));
    q.add(QStringLiteral("WHERE IDN=") + Num(p.IDN) + QStringLiteral(" AND "));
    q.add(QStringLiteral("IDF=") + Num(IDF));
    q.execSql();
    m_rows.save(p.IDN, p, ContactRowStore::SaveKind::Update);
    t.commit();
}

void ContactStore::linkPerson(qint64 IDN, qint64 IDF, const QString &position)
{
    Transaction t(m_db);
    const qint64 current = m_dm.GetFirmaOfPerson(IDN);
    if (current > 0)
        throw OrvellaError(QStringLiteral("Die Person ist schon der Firma \"%1\" zugeordnet.").arg(companyName(current).value_or(QString())));
    SqlQuery q(m_db);
    q.add(QStringLiteral("INSERT INTO nametofirma "));
    q.add(QStringLiteral("(IDN, Pos, IDF) "));
    q.add(QStringLiteral("VALUES "));
    q.add(QStringLiteral("(%1, %2, %3)").arg(Num(IDN), Txt(position), Num(IDF)));
    q.execSql();
    t.commit();
}

void ContactStore::unlinkPerson(qint64 IDN, qint64 IDF)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("DELETE FROM nametofirma "));
    q.add(QStringLiteral("WHERE "));
    q.add(QStringLiteral("IDN=") + Num(IDN) + QStringLiteral(" AND "));
    q.add(QStringLiteral("IDF=") + Num(IDF));
    q.execSql();
}

// --- the assignment window -------------------------------------------------------

QList<AssignCandidate> ContactStore::candidates(bool companies, const CandidateFilter &filter)
{
    QSet<qint64> linked;
    {
        SqlQuery q(m_db);
        q.open(QStringLiteral("SELECT IDN FROM nametofirma"));
        for (; !q.eof(); q.next())
            linked.insert(q.fieldInt(QStringLiteral("IDN")));
    }
    const QString t = companies ? QStringLiteral("firma") : QStringLiteral("name");
    const QString category = filter.category.isEmpty()
        ? QString()
        : t + QStringLiteral(".Kategorie = ") + Txt(filter.category) + QStringLiteral(" AND ");
    QString search;
    if (!filter.number.isEmpty())
        search = QStringLiteral(" AND (%1 = %2)").arg(companies ? QStringLiteral("firma.IDF") : QStringLiteral("name.IDN"))
                     .arg(StrToInt(filter.number));
    else if (!filter.company.isEmpty())
        search = QStringLiteral(" AND ") + SqlLike(QStringLiteral("firma.Name"), filter.company, LikeMatch::Contains);
    else if (!filter.lastName.isEmpty())
        search = QStringLiteral(" AND ") + SqlLike(QStringLiteral("name.NName"), filter.lastName, LikeMatch::Contains);

    SqlQuery q(m_db);
    if (companies)
        q.add(QStringLiteral("SELECT DISTINCT firma.Name AS n, firma.Branche AS b, firma.Telefon AS t, "
                             "adresse.PLZ AS p, adresse.Ort AS o, firma.IDF as id FROM firma, adresse, adressetofn"));
    else
        q.add(QStringLiteral("SELECT DISTINCT name.VName AS n, name.NName AS b, name.Telefon AS t, "
                             "adresse.PLZ AS p, adresse.Ort AS o, name.IDN as id FROM name, adresse, adressetofn"));
    q.add(QStringLiteral("WHERE ") + category + t + QStringLiteral(".") + (companies ? QStringLiteral("IDF") : QStringLiteral("IDN"))
          + QStringLiteral(" = adressetofn.IDFN AND adressetofn.IDA = adresse.IDA AND ") + t + QStringLiteral(".St = '")
          + (filter.blocked ? QStringLiteral("0") : QStringLiteral("1")) + QStringLiteral("' AND adressetofn.St='1'") + search);
    // in the order the contacts were entered, the same on every engine
    q.add(QStringLiteral("ORDER BY id"));
    q.open();
    QList<AssignCandidate> out;
    for (; !q.eof() && out.size() < MaxCandidates; q.next()) {
        AssignCandidate c{q.field(QStringLiteral("n")), q.field(QStringLiteral("b")), q.field(QStringLiteral("p")),
                          q.field(QStringLiteral("o")), q.field(QStringLiteral("t")), q.fieldInt(QStringLiteral("id")), false};
        c.linked = linked.contains(c.id);
        out.append(c);
    }
    return out;
}

QString ContactStore::companyOfPerson(qint64 IDN)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT firma.Name FROM firma, name, nametofirma WHERE firma.IDF=nametofirma.IDF AND "
                          "name.IDN=nametofirma.IDN AND name.IDN=") + Num(IDN));
    return q.field(QStringLiteral("Name"));
}
