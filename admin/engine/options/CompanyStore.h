#pragma once

#include "PrintSetup.h"
#include "SellerData.h"

#include <QList>
#include <QString>

class Database;

// The tab "Firmendaten": the own company of EFirma.ob1 (which gives the sender
// line of new projects), the five footer lines of foot and the seller data of
// the electronic invoice.
struct CompanyData
{
    QString name, street, postcode, town;
    QList<FooterRow> footer = QList<FooterRow>(PrintSetup::FooterRows); // rows 'a' … 'e'
    SellerData seller; // its name and address are those above

    bool operator==(const CompanyData &) const = default;
};

class CompanyStore
{
public:
    CompanyStore(Database &db, QString exeDir);

    // A missing own-company value reads as "0", a missing footer row as empty texts.
    CompanyData load();
    // Writes the footer rows and the seller data in one transaction together with
    // EFirma.ob1: when the file cannot be written, the tables keep their rows.
    void save(const CompanyData &data);

    static QChar footerLetter(int row) { return QChar(u'a' + row); }

private:
    Database &m_db;
    QString m_exeDir;
};
