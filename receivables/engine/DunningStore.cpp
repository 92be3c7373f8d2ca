#include "DunningStore.h"

#include "Database.h"
#include "DocumentKind.h"
#include "DocumentStore.h"
#include "Errors.h"
#include "SqlQuery.h"
#include "TdmCommon.h"

DunningStore::DunningStore(Database &db, Dialogs &dialogs, TdmCommon &numbers, const QString &currency)
    : m_db(db), m_numbers(numbers), m_documents(std::make_unique<DocumentStore>(db, dialogs, currency))
{
}

DunningStore::~DunningStore() = default;

DunningProject DunningStore::loadProject(qint64 project)
{
    DunningProject p;
    SqlQuery q(m_db);
    q.add(QStringLiteral("SELECT DISTINCT projekt.Anrede, projekt.UID, projekt.Anschrift, projekt.Titel, "
                         "projekt.VName, projekt.NName, projekt.EFirma, projekt.RAnschrift, projekt.UIDStatus, "
                         "pradresse.Bez, pradresse.Strasse, pradresse.PLZ, pradresse.Ort, pradresse.Land, projekttofn.PrName"));
    q.add(QStringLiteral("FROM projekttofn, projekt, pradresse"));
    q.add(QStringLiteral("WHERE projekttofn.IDP=projekt.PrNr AND projekt.Anschrift=pradresse.IDA AND "
                         "projekt.PrNr='%1'")
              .arg(project));
    q.open();
    p.found = !q.isEmpty();
    p.anrede = q.field(QStringLiteral("Anrede"));
    p.titel = q.field(QStringLiteral("Titel"));
    p.vname = q.field(QStringLiteral("VName"));
    p.nname = q.field(QStringLiteral("NName"));
    p.eFirma = q.field(QStringLiteral("EFirma"));
    p.uid = q.field(QStringLiteral("UID"));
    p.projectName = q.field(QStringLiteral("PrName"));
    p.street = q.field(QStringLiteral("Strasse"));
    p.postcode = q.field(QStringLiteral("PLZ"));
    p.town = q.field(QStringLiteral("Ort"));

    q.clear();
    q.add(QStringLiteral("SELECT DISTINCT pradresse.Strasse, pradresse.PLZ, pradresse.Ort, pradresse.Land, "
                         "pradresse.Bez, projekt.Lanschrift FROM pradresse, projekt"));
    q.add(QStringLiteral("WHERE projekt.Ranschrift=pradresse.IDA AND projekt.PrNr='%1'").arg(project));
    q.open();
    p.billName = q.field(QStringLiteral("Bez"));
    p.billStreet = q.field(QStringLiteral("Strasse"));
    p.billPostcode = q.field(QStringLiteral("PLZ"));
    p.billTown = q.field(QStringLiteral("Ort"));
    return p;
}

bool DunningStore::isCompany(qint64 customer)
{
    return m_numbers.GetContactTable(customer) == QLatin1String("firma");
}

QString DunningStore::letterSalutation(qint64 customer, bool company)
{
    SqlQuery q(m_db);
    q.open(company ? QStringLiteral("SELECT SAnrede FROM firma WHERE IDF=%1").arg(customer)
                   : QStringLiteral("SELECT SAnrede FROM name WHERE IDN=%1").arg(customer));
    return q.field(QStringLiteral("SAnrede"));
}

QString DunningStore::invoiceDate(qint64 invoice)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT Datum FROM rechnungen WHERE BelegNr=%1").arg(invoice));
    return q.field(QStringLiteral("Datum"));
}

QStringList DunningStore::templateRows(int level)
{
    SqlQuery q(m_db);
    QStringList rows;
    for (q.open(QStringLiteral("SELECT Text FROM mahnungenstext WHERE MS='%1' ORDER BY ID")
                    .arg(DunningRules::templateLevel(level)));
         !q.eof(); q.next())
        rows << q.field(QStringLiteral("Text"));
    return rows;
}

qint64 DunningStore::nextNumber()
{
    return m_numbers.GetNextBelegNr(NumberRange::Mahnung);
}

int DunningStore::nextLevel(qint64 invoice)
{
    return m_numbers.GetNextMNr(invoice);
}

DunningStore::SaveResult DunningStore::save(const Document &letter)
{
    try {
        return m_documents->insertDunningLetter(letter) ? SaveResult::Saved : SaveResult::NumberTaken;
    } catch (const DatabaseError &) {
        // A server without a write lock for the whole transaction reports the taken
        // number through the unique key instead; the transaction is rolled back then.
        if (m_documents->isStored(DocumentKind::Mahnung, letter.number))
            return SaveResult::NumberTaken;
        throw;
    }
}
