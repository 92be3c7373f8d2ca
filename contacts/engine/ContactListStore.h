#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Database;

// One row of the main window's contact list.
struct ContactRow
{
    QString name;    // company name, or the person's first name
    QString second;  // trade, or the person's last name
    QString plz;
    QString ort;
    QString telefon;
    QString id;      // contact number
    QString art;     // kind of the main address
    QString strasse;
};

// The search kinds of the search band, in tab order.
enum class SearchTab { Firmenname, Personenname, Begriff, Kundennummer, Postleitzahl, Telefonnummer, Allgemein };

// The statements behind the contact list: every active (or every blocked) company
// or person with its main address, at most 100 rows in name order.
class ContactListStore
{
public:
    static constexpr int MaxRows = 100;

    explicit ContactListStore(Database &db);

    QList<ContactRow> load(bool companies, bool blocked);
    // The categories in use for the kind, in the order the database delivers them.
    QStringList categories(bool companies);
    // category empty = all categories; tab as int so an index outside the tabs
    // (no term condition) can be passed.
    QList<ContactRow> search(bool companies, bool blocked, const QString &category, int tab,
                             const QString &term);

    // True while the data set holds no company and no person at all.
    bool noContactsYet();

    // Terms that match anywhere are looked up in the substring index first
    // (SqlContains); on the server a list without a term picks its first contacts
    // first (SqlListedContacts).
    QString searchStatement(bool companies, bool blocked, const QString &category, int tab, const QString &term);
    // The number search takes digits only; anything else never reaches a statement.
    static bool isCustomerNumberText(const QString &text);

private:
    QList<ContactRow> fetch(const QString &sql);

    Database &m_db;
};
