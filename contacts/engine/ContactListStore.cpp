#include "ContactListStore.h"

#include "Database.h"
#include "Formats.h"
#include "SqlLiterals.h"
#include "SqlQuery.h"
#include "SqlSearch.h"

namespace {

// A last name no real entry carries: the list stays empty when a company name is
// searched among persons or a person name among companies.
const QString NoSuchName = QStringLiteral("\x01-keine-Person-\x01");

QString activeValue(bool blocked)
{
    return blocked ? QStringLiteral("0") : QStringLiteral("1");
}

QString selectPart(bool companies)
{
    return companies
               ? QStringLiteral("SELECT DISTINCT firma.Name AS n, firma.Branche AS b, firma.Telefon AS t, "
                                "adresse.PLZ AS p, adresse.Ort AS o, firma.IDF as id, adressetofn.Art as a, "
                                "adresse.Strasse as s FROM firma, adresse, adressetofn WHERE ")
               : QStringLiteral("SELECT DISTINCT name.VName AS n, name.NName AS b, name.Telefon AS t, "
                                "adresse.PLZ as p, adresse.Ort AS o, name.IDN as id, adressetofn.Art as a, "
                                "adresse.Strasse as s FROM name, adresse, adressetofn WHERE ");
}

// The list's conditions on the contact's own row: blocked or not, the category.
QString contactFilter(bool companies, bool blocked, const QString &category)
{
    const QString t = companies ? QStringLiteral("firma") : QStringLiteral("name");
    QString filter;
    if (!category.isEmpty())
        filter = t + QStringLiteral(".Kategorie = '") + SqlQuote(category) + QStringLiteral("' AND ");
    return filter + t + QStringLiteral(".St = '") + activeValue(blocked) + QLatin1Char('\'');
}

QString joinPart(bool companies)
{
    return companies ? QStringLiteral(" AND firma.IDF = adressetofn.IDFN AND adressetofn.IDA = adresse.IDA AND "
                                      "adressetofn.St='1'")
                     : QStringLiteral(" AND name.IDN = adressetofn.IDFN AND adressetofn.IDA = adresse.IDA AND "
                                      "adressetofn.St='1'");
}

QString orderColumn(bool companies)
{
    return companies ? QStringLiteral("firma.Name") : QStringLiteral("name.NName");
}

// Only the first rows are ever shown; the limit lets the engine stop early.
QString orderPart(bool companies)
{
    return QStringLiteral(" ORDER BY ") + orderColumn(companies)
           + QStringLiteral(" LIMIT %1").arg(ContactListStore::MaxRows);
}

QString termCondition(Database &db, bool companies, const QString &filter, int tab, const QString &term)
{
    const Schema::SearchIndex index = companies ? Schema::SearchIndex::Firma : Schema::SearchIndex::Name;
    if (term.isEmpty()) {
        const QString listed =
            SqlListedContacts(index, ListedRows{ContactListStore::MaxRows, orderColumn(companies), filter});
        return listed.isEmpty() ? QString() : QStringLiteral(" AND ") + listed;
    }
    const QString &t = term; // quoted by SqlLike
    const auto contains = [&](const QStringList &columns) {
        return QStringLiteral(" AND ")
               + SqlContains(db, index, columns, t, ListedRows{ContactListStore::MaxRows, orderColumn(companies), filter});
    };
    switch (SearchTab(tab)) {
    case SearchTab::Firmenname:
        return companies ? contains({QStringLiteral("firma.Name")})
                         : QStringLiteral(" AND name.NName = '%1'").arg(NoSuchName);
    case SearchTab::Personenname:
        return companies ? QStringLiteral(" AND Firma.Name = '%1'").arg(NoSuchName)
                         : contains({QStringLiteral("name.NName"), QStringLiteral("name.VName")});
    case SearchTab::Begriff:
        return contains({companies ? QStringLiteral("firma.Begriffe") : QStringLiteral("name.Begriffe")});
    case SearchTab::Kundennummer:
        // Compared as a number; a text that is not one would break the statement.
        if (!ContactListStore::isCustomerNumberText(term))
            return QStringLiteral(" AND 0 = 1");
        return (companies ? QStringLiteral(" AND firma.IDF = ") : QStringLiteral(" AND name.IDN = ")) + term;
    case SearchTab::Postleitzahl:
        return QStringLiteral(" AND ") + SqlLike(QStringLiteral("adresse.plz"), t, LikeMatch::StartsWith);
    case SearchTab::Telefonnummer:
        return QStringLiteral(" AND ")
               + SqlLike(companies ? QStringLiteral("firma.Telefon") : QStringLiteral("name.Telefon"), t,
                         LikeMatch::StartsWith);
    case SearchTab::Allgemein:
        return contains(Schema::contactText(index)->columns);
    }
    return QString();
}

} // namespace

ContactListStore::ContactListStore(Database &db) : m_db(db) {}

bool ContactListStore::isCustomerNumberText(const QString &text)
{
    if (text.isEmpty() || text.size() > 15)
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

QString ContactListStore::searchStatement(bool companies, bool blocked, const QString &category, int tab,
                                          const QString &term)
{
    const QString filter = contactFilter(companies, blocked, category);
    return selectPart(companies) + filter + joinPart(companies) + termCondition(m_db, companies, filter, tab, term)
           + orderPart(companies);
}

QList<ContactRow> ContactListStore::fetch(const QString &sql)
{
    SqlQuery q(m_db);
    q.open(sql);
    QList<ContactRow> rows;
    for (; !q.eof() && rows.size() < MaxRows; q.next())
        rows.append({q.field(QStringLiteral("n")), q.field(QStringLiteral("b")), q.field(QStringLiteral("p")),
                     q.field(QStringLiteral("o")), q.field(QStringLiteral("t")), q.field(QStringLiteral("id")),
                     q.field(QStringLiteral("a")), q.field(QStringLiteral("s"))});
    return rows;
}

QList<ContactRow> ContactListStore::load(bool companies, bool blocked)
{
    return fetch(searchStatement(companies, blocked, QString(), int(SearchTab::Allgemein), QString()));
}

QStringList ContactListStore::categories(bool companies)
{
    SqlQuery q(m_db);
    const QString table = companies ? QStringLiteral("firma") : QStringLiteral("name");
    if (m_db.isServer())
        // The server reads every contact for a DISTINCT; from the index of the
        // categories it takes one after the other instead, a few steps in all.
        q.open(QStringLiteral("WITH RECURSIVE c AS (SELECT min(Kategorie) AS k FROM %1 UNION ALL "
                              "SELECT (SELECT min(Kategorie) FROM %1 WHERE Kategorie > c.k) FROM c WHERE c.k IS NOT NULL) "
                              "SELECT k FROM c WHERE k IS NOT NULL")
                   .arg(table));
    else
        q.open(QStringLiteral("SELECT DISTINCT Kategorie AS k FROM ") + table);
    QStringList out;
    for (; !q.eof(); q.next()) {
        const QString k = q.field(QStringLiteral("k"));
        if (!k.isEmpty())
            out << k;
    }
    return out;
}

QList<ContactRow> ContactListStore::search(bool companies, bool blocked, const QString &category, int tab,
                                           const QString &term)
{
    return fetch(searchStatement(companies, blocked, category, tab, term));
}

bool ContactListStore::noContactsYet()
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT (SELECT COUNT(*) FROM (SELECT 1 FROM firma LIMIT 1) AS f) + "
                          "(SELECT COUNT(*) FROM (SELECT 1 FROM name LIMIT 1) AS p) AS n"));
    return q.fieldInt(QStringLiteral("n")) == 0;
}
