#pragma once

#include "DocumentKind.h"

#include <QList>
#include <QString>
#include <optional>

class Database;

// What the project search and the search of "aus Vorgang übernehmen" look for.
// Empty texts and zero numbers do not filter; the dates always do.
struct ProjectSearch
{
    enum class Dates { Range, Day };

    std::optional<DocumentKind> kind; // none: the projects themselves
    bool persons = false;             // customers among the persons, else the companies
    qint64 customer = 0;              // projekttofn.IDFN, 0 for every customer
    qint64 project = 0;               // projekttofn.IDP, 0 for every project
    QString projectName;              // part of the project name, as typed
    QString contactName;              // part of the company name; of a person's last name
    Dates dates = Dates::Range;
    QString from, to;                 // "dd.MM.yyyy", both ends included; empty: no limit
    QString day;
    // The take-over search asks when the project was created; the project search
    // when the document was written (for projects both are the creation date).
    bool byProjectDate = false;
};

// One match: a project, or one document of the kind searched.
struct ProjectSearchRow
{
    qint64 project = 0;
    QString projectName;
    std::optional<DocumentKind> kind;
    qint64 number = 0;   // BelegNr; 0 for a project
    QString date;        // the document's date; a project's creation date
    QString contact;     // the company, or the person's first and last name
    qint64 customer = 0; // projekt.KNr

    bool operator==(const ProjectSearchRow &) const = default;
};

// What the detail group shows of the project of a match.
struct ProjectSearchDetail
{
    QString anrede, titel, vname, nname, memo, date, projectName;
    qint64 project = 0;
    qint64 customer = 0; // projekttofn.IDFN
};

// The statements of both search windows. Typed texts reach SQL only quoted and
// matched literally (a "%" finds a percent sign); numbers and dates are checked
// first and refused with a German message.
class ProjectSearchStore
{
public:
    explicit ProjectSearchStore(Database &db);

    // A number field: 0 (no filter) when empty or zero, else the number. Throws
    // ConversionError naming the field for anything but digits.
    static qint64 numberFilter(const QString &text, const QString &fieldName);

    // The customers and the projects that have documents of the kind (any project
    // for kind none), ascending.
    QList<qint64> customerNumbers(std::optional<DocumentKind> kind, bool persons);
    QList<qint64> projectNumbers(std::optional<DocumentKind> kind, bool persons);

    // Highest project number first, within a project the highest document number.
    // Throws ConversionError for a date that is not a date.
    QList<ProjectSearchRow> search(const ProjectSearch &criteria);

    std::optional<ProjectSearchDetail> detail(qint64 project);

private:
    QList<qint64> numbers(const QString &column, std::optional<DocumentKind> kind, bool persons);

    Database &m_db;
};
