#include "ProjectSearchStore.h"

#include "Errors.h"
#include "Formats.h"
#include "SqlQuery.h"
#include "SqlSearch.h"

#include <QStringList>

namespace {

struct ContactTable
{
    QString table, key;
};

ContactTable contactTable(bool persons)
{
    return persons ? ContactTable{QStringLiteral("name"), QStringLiteral("name.IDN")}
                   : ContactTable{QStringLiteral("firma"), QStringLiteral("firma.IDF")};
}

// A date of the search as the statement compares it; anything else is refused.
QString sqlDate(const QString &text)
{
    return QLatin1Char('\'') + DateToStr(StrToDate(text)) + QLatin1Char('\'');
}

} // namespace

ProjectSearchStore::ProjectSearchStore(Database &db) : m_db(db) {}

qint64 ProjectSearchStore::numberFilter(const QString &text, const QString &fieldName)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return 0;
    bool digits = true;
    for (const QChar c : t)
        digits = digits && c.isDigit() && c.unicode() < 128;
    bool ok = false;
    const qint64 n = digits ? t.toLongLong(&ok) : 0;
    if (!ok)
        throw ConversionError(QStringLiteral("Die %1 \"%2\" ist keine Zahl.").arg(fieldName, text));
    return n;
}

QList<qint64> ProjectSearchStore::numbers(const QString &column, std::optional<DocumentKind> kind, bool persons)
{
    const ContactTable c = contactTable(persons);
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT DISTINCT projekttofn.%1 AS N FROM projekttofn").arg(column));
    q.add(QStringLiteral("WHERE projekttofn.IDFN IN (SELECT %1 FROM %2)").arg(c.key, c.table));
    // Only the customers and projects that have a document of the kind.
    if (kind)
        q.add(QStringLiteral("AND projekttofn.IDP IN (SELECT ProjektNr FROM %1)").arg(kind->baseTable()));
    q.add(QStringLiteral("ORDER BY N"));
    QList<qint64> out;
    for (q.open(); !q.eof(); q.next())
        out << q.fieldInt(QStringLiteral("N"));
    return out;
}

QList<qint64> ProjectSearchStore::customerNumbers(std::optional<DocumentKind> kind, bool persons)
{
    return numbers(QStringLiteral("IDFN"), kind, persons);
}

QList<qint64> ProjectSearchStore::projectNumbers(std::optional<DocumentKind> kind, bool persons)
{
    return numbers(QStringLiteral("IDP"), kind, persons);
}

QList<ProjectSearchRow> ProjectSearchStore::search(const ProjectSearch &s)
{
    const ContactTable c = contactTable(s.persons);
    const QString k = s.kind ? s.kind->baseTable() : QStringLiteral("projekt");
    // an empty end of the period sets no limit
    const auto dates = [&s](const QString &column) {
        if (s.dates == ProjectSearch::Dates::Day)
            return column + QStringLiteral("=") + sqlDate(s.day);
        QStringList limits;
        if (!s.from.isEmpty())
            limits << column + QStringLiteral(">=") + sqlDate(s.from);
        if (!s.to.isEmpty())
            limits << column + QStringLiteral("<=") + sqlDate(s.to);
        return limits.isEmpty() ? QStringLiteral("1=1") : limits.join(QStringLiteral(" AND "));
    };
    const bool documentDates = s.kind && !s.byProjectDate;

    QStringList where;
    if (s.kind)
        where << k + QStringLiteral(".ProjektNr=projekttofn.IDP");
    where << QStringLiteral("projekt.PrNr=projekttofn.IDP") << QStringLiteral("projekttofn.IDFN=") + c.key;
    if (s.customer > 0)
        where << QStringLiteral("projekttofn.IDFN=%1").arg(s.customer);
    if (s.project > 0)
        where << QStringLiteral("projekttofn.IDP=%1").arg(s.project);
    if (s.kind) // "+": the number is no way into the documents, the project is
        where << QStringLiteral("+") + k + QStringLiteral(".BelegNr>0");
    if (!s.projectName.isEmpty())
        where << SqlContains(m_db, Schema::SearchIndex::Projekt, {QStringLiteral("projekttofn.PrName")}, s.projectName);

    // Companies are found by their name, persons by their last name (the project
    // keeps a person's first name in VName).
    const auto onProject = [&](const QString &prefix) {
        QStringList conditions;
        if (!s.contactName.isEmpty())
            conditions << SqlContains(m_db, Schema::SearchIndex::Projekt,
                                      {prefix + (s.persons ? QStringLiteral("NName") : QStringLiteral("VName"))},
                                      s.contactName);
        if (!documentDates)
            conditions << dates(prefix + QStringLiteral("Datum"));
        return conditions;
    };
    // The engine joins from the table it scans first. A number or a project name
    // already leads it to the few projects that match; without them, the
    // conditions on the project row, or else the document date, pick the projects
    // in a subquery, so the search starts from those instead of from every project.
    const bool led = s.customer > 0 || s.project > 0 || !s.projectName.isEmpty();
    if (!led && (!s.contactName.isEmpty() || !documentDates))
        where << QStringLiteral("projekttofn.IDP IN (SELECT PrNr FROM projekt WHERE %1)")
                     .arg(onProject(QString()).join(QStringLiteral(" AND ")));
    else
        where << onProject(QStringLiteral("projekt."));
    if (documentDates) {
        if (!led && s.contactName.isEmpty())
            where << QStringLiteral("projekttofn.IDP IN (SELECT ProjektNr FROM %1 WHERE %2)")
                         .arg(k, dates(QStringLiteral("Datum")));
        where << dates(k + QStringLiteral(".Datum"));
    }

    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT DISTINCT projekt.PrNr, projekt.VName, projekt.NName, projekt.KNr, projekttofn.PrName,"));
    q.add(QStringLiteral("%1.Datum AS Datum, %2 AS BelegNr")
              .arg(k, s.kind ? k + QStringLiteral(".BelegNr") : QStringLiteral("0")));
    q.add(QStringLiteral("FROM projekt, projekttofn, ") + c.table + (s.kind ? QStringLiteral(", ") + k : QString()));
    q.add(QStringLiteral("WHERE ") + where.join(QStringLiteral(" AND ")));
    q.add(QStringLiteral("ORDER BY projekt.PrNr DESC, BelegNr DESC"));
    QList<ProjectSearchRow> out;
    for (q.open(); !q.eof(); q.next()) {
        ProjectSearchRow row;
        row.project = q.fieldInt(QStringLiteral("PrNr"));
        row.projectName = q.field(QStringLiteral("PrName"));
        row.kind = s.kind;
        row.number = q.fieldInt(QStringLiteral("BelegNr"));
        row.date = q.field(QStringLiteral("Datum"));
        row.contact = q.field(QStringLiteral("VName"));
        if (s.persons)
            row.contact = (row.contact + QLatin1Char(' ') + q.field(QStringLiteral("NName"))).trimmed();
        row.customer = q.fieldInt(QStringLiteral("KNr"));
        out << row;
    }
    return out;
}

std::optional<ProjectSearchDetail> ProjectSearchStore::detail(qint64 project)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT projekt.Anrede, projekt.Titel, projekt.VName, projekt.NName, projekt.PrNr, "
                          "projekt.PrMemo, projekt.Datum, projekttofn.PrName, projekttofn.IDFN "
                          "FROM projekt, projekttofn WHERE projekt.PrNr=projekttofn.IDP AND projekt.PrNr=%1")
               .arg(project));
    if (q.isEmpty())
        return std::nullopt;
    ProjectSearchDetail d;
    d.anrede = q.field(QStringLiteral("Anrede"));
    d.titel = q.field(QStringLiteral("Titel"));
    d.vname = q.field(QStringLiteral("VName"));
    d.nname = q.field(QStringLiteral("NName"));
    d.memo = q.field(QStringLiteral("PrMemo"));
    d.date = q.field(QStringLiteral("Datum"));
    d.projectName = q.field(QStringLiteral("PrName"));
    d.project = q.fieldInt(QStringLiteral("PrNr"));
    d.customer = q.fieldInt(QStringLiteral("IDFN"));
    return d;
}
