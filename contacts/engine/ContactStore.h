#pragma once

#include "ContactRowStore.h"
#include "ContactTypes.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class AppState;
class Database;
class TdmCommon;

// The statements behind the contact editor and the assignment window: companies,
// persons, their notes, addresses, communication entries and person–company
// links. Every text from the user goes through SqlQuote; every save is one
// transaction, so a failing statement leaves nothing of the save behind.
// Database errors are thrown (DatabaseError), never shown here.
class ContactStore
{
public:
    ContactStore(Database &db, TdmCommon &dm);
    explicit ContactStore(AppState &state);

    // --- reading -------------------------------------------------------------

    // Every country stored in an address, for the country boxes.
    QStringList countries();
    // The categories in use for companies (or persons), for the category boxes.
    QStringList categories(bool companies);

    // A company or person with its note, communication entries and addresses;
    // no value when the contact (or its note row) is not stored.
    std::optional<CompanyRecord> loadCompany(qint64 IDF);
    std::optional<PersonRecord> loadPerson(qint64 IDN);

    // The persons linked to a company.
    QList<AssignedPerson> companyPersons(qint64 IDF);
    // Position, telephone, main address and note of a person linked to a company.
    PersonDetails personDetails(qint64 IDN, qint64 IDF);
    // The company a person is linked to, with the person's position in it; IDF 0 when none.
    LinkedCompany linkedCompany(qint64 IDN);

    // No value when the company (person) is not stored.
    std::optional<QString> companyName(qint64 IDF);
    std::optional<QPair<QString, QString>> personName(qint64 IDN);   // first name, last name

    // Duplicate checks before a first save: the names of companies that begin
    // with the first five characters of name, and the persons (first name, last
    // name) with exactly these names.
    QStringList similarCompanies(const QString &name);
    QList<QPair<QString, QString>> samePersons(const QString &vname, const QString &nname);

    // --- saving (each one transaction) ----------------------------------------

    // First save of a company under the number drawn for it; returns the number
    // it was stored under. Contacts are saved one at a time by all workstations;
    // a number taken since it was drawn is replaced once by nextNumber's, drawn
    // then. Without nextNumber, or when that one is taken too, DuplicateNumberError
    // and nothing is written. With linkIDN > 0 the person is linked to the new
    // company with position.
    qint64 insertCompany(const CompanyRecord &company, qint64 linkIDN = 0, const QString &position = {},
                         const std::function<qint64()> &nextNumber = {});
    void updateCompany(const CompanyRecord &company);
    // First save of a person, numbered as a company is; with linkIDF > 0 it is
    // linked to that company.
    qint64 insertPerson(const PersonRecord &person, qint64 linkIDF = 0, const std::function<qint64()> &nextNumber = {});
    // Also writes the position of the person's link to company IDF, if there is one.
    void updatePerson(const PersonRecord &person, qint64 IDF);

    // Person–company links. A person belongs to at most one company.
    void linkPerson(qint64 IDN, qint64 IDF, const QString &position);
    void unlinkPerson(qint64 IDN, qint64 IDF);

    // --- the assignment window ------------------------------------------------

    struct CandidateFilter
    {
        QString category;    // empty: every category
        QString number;      // "Kunden-Nr." (digits), empty: none
        QString company;     // "Firma": part of the company name
        QString lastName;    // "Nachname": part of the last name
        bool blocked = false; // list deactivated contacts instead of active ones
    };
    static constexpr int MaxCandidates = 100;
    // At most MaxCandidates companies (or persons) with their main address;
    // persons that already belong to a company are marked.
    QList<AssignCandidate> candidates(bool companies, const CandidateFilter &filter);
    // The name of the company a person belongs to.
    QString companyOfPerson(qint64 IDN);

private:
    bool numberFree(qint64 number);
    // Under the lock: number, or the next one when it is taken (see insertCompany).
    qint64 claimNumber(qint64 number, const std::function<qint64()> &nextNumber);
    void insertNote(qint64 number, const QString &note);

    Database &m_db;
    TdmCommon &m_dm;
    // The contact's communication entries and addresses.
    ContactRowStore m_rows;
};
