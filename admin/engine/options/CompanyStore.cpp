#include "CompanyStore.h"

#include "Formats.h"
#include "Settings.h"
#include "SqlQuery.h"
#include "SqlText.h"
#include "Transaction.h"

namespace {

const char *const FooterColumns[] = {"A", "B", "C", "D"};

} // namespace

CompanyStore::CompanyStore(Database &db, QString exeDir) : m_db(db), m_exeDir(std::move(exeDir)) {}

CompanyData CompanyStore::load()
{
    CompanyData data;
    const OwnCompany own = ReadOwnCompany(m_exeDir);
    data.name = own.name;
    data.street = own.strasse;
    data.postcode = own.plz;
    data.town = own.ort;
    data.seller = ReadSellerData(m_db, m_exeDir);

    SqlQuery q(m_db);
    for (q.open(QStringLiteral("SELECT A,B,C,D,X FROM foot WHERE Firma=1 ORDER BY X")); !q.eof(); q.next()) {
        const QString x = q.field(QStringLiteral("X"));
        const int row = x.size() == 1 ? x[0].unicode() - u'a' : -1;
        if (row < 0 || row >= PrintSetup::FooterRows)
            continue;
        for (int c = 0; c < 4; ++c)
            data.footer[row][std::size_t(c)] = q.field(QLatin1String(FooterColumns[c]));
    }
    return data;
}

void CompanyStore::save(const CompanyData &data)
{
    Transaction t(m_db);
    SqlQuery q(m_db);
    for (int row = 0; row < PrintSetup::FooterRows; ++row) {
        const FooterRow &r = data.footer.value(row);
        const QString letter = footerLetter(row);
        q.execSql(QStringLiteral("UPDATE foot SET A=%1, B=%2, C=%3, D=%4 WHERE Firma=1 AND X='%5'")
                      .arg(SqlText(r[0]), SqlText(r[1]), SqlText(r[2]), SqlText(r[3]), letter));
        // A data set that lost a footer row gets it back rather than losing the line typed.
        if (q.rowsAffected() == 0)
            q.execSql(QStringLiteral("INSERT INTO foot (Firma, X, A, B, C, D) VALUES (1, '%1', %2, %3, %4, %5)")
                          .arg(letter, SqlText(r[0]), SqlText(r[1]), SqlText(r[2]), SqlText(r[3])));
    }
    WriteSellerDetails(m_db, data.seller);
    WriteOwnCompany(m_exeDir, data.name, data.street, data.postcode, data.town);
    t.commit();
}
