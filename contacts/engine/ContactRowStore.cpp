#include "ContactRowStore.h"

#include "ContactSql.h"
#include "SqlQuery.h"
#include "TdmCommon.h"

using ContactSql::Num;
using ContactSql::NumText;
using ContactSql::Txt;

bool AddressRow::hasText() const
{
    return !art.isEmpty() || !strasse.isEmpty() || !plz.isEmpty() || !ort.isEmpty() || !land.isEmpty();
}

ContactRowStore::ContactRowStore(Database &db, TdmCommon &dm) : m_db(db), m_dm(dm) {}

void ContactRowStore::exec(const QString &sql)
{
    SqlQuery q(m_db);
    q.execSql(sql);
}

// --- reading -----------------------------------------------------------------

QList<ComRow> ContactRowStore::loadCommunications(qint64 number)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT DISTINCT "));
    q.add(QStringLiteral("com.Inhalt, com.IDC, com.X, comtofn.Bez "));
    q.add(QStringLiteral("FROM com, comtofn"));
    q.add(QStringLiteral("WHERE com.IDC=comtofn.IDC AND "));
    q.add(QStringLiteral("comtofn.IDFN=") + Num(number));
    // in the order they were entered, so rows do not jump about after a save
    q.add(QStringLiteral("ORDER BY com.IDC"));
    q.open();
    QList<ComRow> rows;
    for (; !q.eof(); q.next())
        rows.append({q.field(QStringLiteral("Bez")), q.field(QStringLiteral("Inhalt")),
                     q.field(QStringLiteral("IDC")), q.field(QStringLiteral("X"))});
    return rows;
}

void ContactRowStore::load(qint64 number, ContactData &into)
{
    into.communications = loadCommunications(number);
    loadAddresses(number, into);
}

void ContactRowStore::loadAddresses(qint64 number, ContactData &into)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT DISTINCT "));
    q.add(QStringLiteral("adresse.Strasse, adresse.PLZ, adresse.Ort, "));
    q.add(QStringLiteral("adresse.IDA, "));
    q.add(QStringLiteral("adressetofn.Art, adresse.Land, adressetofn.St "));
    q.add(QStringLiteral("FROM adresse, adressetofn"));
    q.add(QStringLiteral("WHERE "));
    q.add(QStringLiteral("adresse.IDA=adressetofn.IDA AND "));
    q.add(QStringLiteral("adressetofn.IDFN=") + Num(number));
    q.add(QStringLiteral("ORDER BY adresse.IDA"));
    q.open();
    into.mainAddress = AddressRow{};
    into.addresses.clear();
    for (; !q.eof(); q.next()) {
        const AddressRow row{q.field(QStringLiteral("Art")), q.field(QStringLiteral("Strasse")),
                             q.field(QStringLiteral("PLZ")), q.field(QStringLiteral("Ort")),
                             q.field(QStringLiteral("Land")), q.field(QStringLiteral("IDA"))};
        if (q.field(QStringLiteral("St")) == QLatin1String("1"))
            into.mainAddress = row;
        else
            into.addresses.append(row);
    }
}

// --- writing -----------------------------------------------------------------

void ContactRowStore::insertCommunication(qint64 contact, const ComRow &row)
{
    const qint64 IDC = m_dm.GetNextIDC();
    SqlQuery q(m_db);
    q.add(QStringLiteral("INSERT INTO com "));
    q.add(QStringLiteral("(IDC, Inhalt, X) "));
    q.add(QStringLiteral("VALUES "));
    q.add(QStringLiteral("(%1, %2, %3)").arg(Num(IDC), Txt(row.inhalt), Txt(row.code)));
    q.execSql();
    q.clear();
    q.add(QStringLiteral("INSERT INTO comtofn "));
    q.add(QStringLiteral("(IDC, IDFN, Bez) "));
    q.add(QStringLiteral("VALUES "));
    q.add(QStringLiteral("(%1, %2, %3)").arg(Num(IDC), Num(contact), Txt(row.bez)));
    q.execSql();
}

void ContactRowStore::saveCommunications(qint64 contact, const QList<ComRow> &rows, SaveKind kind)
{
    for (const ComRow &row : rows) {
        if (kind == SaveKind::First) {
            // a row with only a description is not stored on the first save
            if (!row.inhalt.isEmpty())
                insertCommunication(contact, row);
            continue;
        }
        const bool empty = row.bez.isEmpty() && row.inhalt.isEmpty();
        if (row.idc.isEmpty()) {
            if (!empty)
                insertCommunication(contact, row);
        } else if (empty) {
            exec(QStringLiteral("DELETE FROM com \nWHERE IDC=") + NumText(row.idc));
            exec(QStringLiteral("DELETE FROM comtofn \nWHERE IDC=") + NumText(row.idc));
        } else {
            exec(QStringLiteral("UPDATE com \nSET \nInhalt=%1, \nX=%2 \nWHERE IDC=%3")
                     .arg(Txt(row.inhalt), Txt(row.code), NumText(row.idc)));
            exec(QStringLiteral("UPDATE comtofn \nSET Bez=%1 \nWHERE IDC=%2").arg(Txt(row.bez), NumText(row.idc)));
        }
    }
}

void ContactRowStore::insertAddress(qint64 contact, const AddressRow &row, bool main)
{
    const qint64 IDA = m_dm.GetNextIDA();
    SqlQuery q(m_db);
    q.add(QStringLiteral("INSERT INTO adresse "));
    q.add(QStringLiteral("(IDA, Strasse, PLZ, Ort, Land) "));
    q.add(QStringLiteral("VALUES "));
    q.add(QStringLiteral("(%1, %2, %3, %4, %5)").arg(Num(IDA), Txt(row.strasse), Txt(row.plz), Txt(row.ort), Txt(row.land)));
    q.execSql();
    q.clear();
    q.add(QStringLiteral("INSERT INTO adressetofn "));
    if (main) {
        q.add(QStringLiteral("(IDA, IDFN, Art, St) "));
        q.add(QStringLiteral("VALUES "));
        q.add(QStringLiteral("(%1, %2, %3, '1')").arg(Num(IDA), Num(contact), Txt(row.art)));
    } else {
        // a further address saved for the first time carries no mark
        q.add(QStringLiteral("(IDA, IDFN, Art) "));
        q.add(QStringLiteral("VALUES "));
        q.add(QStringLiteral("(%1, %2, %3)").arg(Num(IDA), Num(contact), Txt(row.art)));
    }
    q.execSql();
}

void ContactRowStore::updateAddress(const AddressRow &row, bool main)
{
    SqlQuery q(m_db);
    q.add(QStringLiteral("UPDATE adresse SET "));
    q.add(QStringLiteral("Strasse=%1, PLZ=%2, Ort=%3, Land=%4")
              .arg(Txt(row.strasse), Txt(row.plz), Txt(row.ort), Txt(row.land)));
    q.add(QStringLiteral("WHERE "));
    q.add(QStringLiteral("IDA=") + NumText(row.ida));
    q.execSql();
    q.clear();
    q.add(QStringLiteral("UPDATE adressetofn "));
    q.add(main ? QStringLiteral("SET St='1', ") : QStringLiteral("SET St='0', "));
    q.add(QStringLiteral("Art=") + Txt(row.art));
    q.add(QStringLiteral("WHERE "));
    q.add(QStringLiteral("IDA=") + NumText(row.ida));
    q.execSql();
}

void ContactRowStore::save(qint64 contact, const ContactData &data, SaveKind kind)
{
    saveCommunications(contact, data.communications, kind);
    saveAddresses(contact, data.mainAddress, data.addresses, kind);
}

void ContactRowStore::saveAddresses(qint64 contact, const AddressRow &main, const QList<AddressRow> &rows, SaveKind kind)
{
    if (kind == SaveKind::First) {
        // every contact gets its main-address link, even with empty fields
        insertAddress(contact, main, true);
        for (const AddressRow &row : rows)
            if (row.hasText())
                insertAddress(contact, row, false);
        return;
    }
    if (!main.ida.isEmpty())
        updateAddress(main, true);
    for (const AddressRow &row : rows) {
        if (row.ida.isEmpty()) {
            if (row.hasText())
                insertAddress(contact, row, false);
        } else if (!row.hasText()) {
            exec(QStringLiteral("DELETE FROM adresse \nWHERE \nIDA=") + NumText(row.ida));
            exec(QStringLiteral("DELETE FROM adressetofn \nWHERE \nIDA=") + NumText(row.ida));
        } else {
            updateAddress(row, false);
        }
    }
}
