#pragma once

#include "ContactTypes.h"

#include <QList>
#include <QString>
#include <optional>

class AppState;
class Database;
class TdmCommon;

// What the detail view shows of one contact.
struct ContactDetail
{
    bool company = false;
    // The company name, or the person's form of address, title, first and last
    // name, each only when not empty, separated by single blanks.
    QString nameLine;
    QString telefon;
    QString kategorie;
    QList<ComRow> communications;
    // A company's contact persons; empty for a person.
    QList<AssignedPerson> persons;
};

// The telephone number of a contact person and the position in the company.
struct ContactPersonLine
{
    QString telefon;
    QString position;
};

// The reading statements of the read-only contact detail view. It writes nothing.
class ContactDetailStore
{
public:
    ContactDetailStore(Database &db, TdmCommon &dm);
    explicit ContactDetailStore(AppState &state);

    // No value when the number is neither a company nor a person.
    std::optional<ContactDetail> load(qint64 number);
    ContactPersonLine contactPerson(qint64 IDN);

private:
    Database &m_db;
    TdmCommon &m_dm;
};
