#pragma once

#include "ContactTypes.h"

#include <QList>
#include <QString>

class Database;
class TdmCommon;

// The rows of a contact's two lists: its communication entries (com, comtofn)
// and its addresses (adresse, adressetofn), the main address among them. They
// are read with the contact and written as part of its save, inside the
// caller's transaction and under the contacts' number lock, since the numbers
// of added rows are drawn while they are written.
class ContactRowStore
{
public:
    enum class SaveKind { First, Update };

    ContactRowStore(Database &db, TdmCommon &dm);

    // The communication entries and the addresses of a contact.
    void load(qint64 number, ContactData &into);
    // The communication entries, then the addresses of a contact.
    void save(qint64 contact, const ContactData &data, SaveKind kind);

private:
    QList<ComRow> loadCommunications(qint64 number);
    // Fills the main address and the further addresses of a contact.
    void loadAddresses(qint64 number, ContactData &into);
    void saveCommunications(qint64 contact, const QList<ComRow> &rows, SaveKind kind);
    void saveAddresses(qint64 contact, const AddressRow &main, const QList<AddressRow> &rows, SaveKind kind);
    void insertCommunication(qint64 contact, const ComRow &row);
    void insertAddress(qint64 contact, const AddressRow &row, bool main);
    void updateAddress(const AddressRow &row, bool main);
    void exec(const QString &sql);

    Database &m_db;
    TdmCommon &m_dm;
};
