#include "SellerData.h"

#include "Formats.h"
#include "IniFile.h"
#include "Settings.h"
#include "SqlQuery.h"
#include "SqlText.h"
#include "Transaction.h"

namespace {

struct Column
{
    const char *name;
    QString SellerData::*member;
};

const Column Columns[] = {
    {"UStIdNr", &SellerData::vatId},       {"Steuernummer", &SellerData::taxNumber},
    {"Handelsregister", &SellerData::commercialRegister},
    {"IBAN", &SellerData::iban},           {"BIC", &SellerData::bic},
    {"Bank", &SellerData::bankName},       {"Kontakt", &SellerData::contactName},
    {"EMail", &SellerData::email},         {"Telefon", &SellerData::telephone},
    {"WeitereKonten", &SellerData::furtherAccounts},
};

} // namespace

SellerData ReadSellerData(Database &db, const QString &exeDir)
{
    SellerData s;
    const IniFile ini(EFirmaPath(exeDir));
    const QString key = QStringLiteral("String");
    s.name = ini.readString(QStringLiteral("EFirmaName"), key);
    s.street = ini.readString(QStringLiteral("EFirmaStrasse"), key);
    s.postcode = ini.readString(QStringLiteral("EFirmaPLZ"), key);
    s.town = ini.readString(QStringLiteral("EFirmaOrt"), key);

    SqlQuery q(db);
    q.open(QStringLiteral("SELECT * FROM firmendaten WHERE Firma = 1"));
    if (!q.eof())
        for (const Column &c : Columns)
            s.*c.member = q.field(QLatin1String(c.name));
    return s;
}

void WriteSellerDetails(Database &db, const SellerData &seller)
{
    QStringList assignments;
    for (const Column &c : Columns)
        assignments << QLatin1String(c.name) + QLatin1Char('=') + SqlText((seller.*c.member).trimmed());
    Transaction t(db);
    SqlQuery q(db);
    q.open(QStringLiteral("SELECT COUNT(*) AS n FROM firmendaten WHERE Firma = 1"));
    const bool present = q.fieldInt(QStringLiteral("n")) > 0;
    q.close();
    if (!present)
        q.execSql(QStringLiteral("INSERT INTO firmendaten (Firma) VALUES (1)"));
    q.execSql(QStringLiteral("UPDATE firmendaten SET %1 WHERE Firma = 1").arg(assignments.join(QStringLiteral(", "))));
    t.commit();
}
