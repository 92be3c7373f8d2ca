#pragma once

#include "DatevExport.h"

#include <QDate>
#include <QList>

class Database;

// The DATEV export's side of the data set: its settings (table datev), and the
// invoices, credit notes and payments of a period as the export takes them.
// Database errors are thrown.
class DatevExportStore
{
public:
    explicit DatevExportStore(Database &db);

    // The stored settings; the SKR03 presets when none are stored yet. The fiscal
    // year start holds day and month only (in the year 2000).
    Datev::Settings loadSettings();
    // Writes every setting in one transaction.
    void saveSettings(const Datev::Settings &settings);
    // The first day of the fiscal year that holds day, for a start of day and month.
    static QDate fiscalYearStart(const QDate &dayAndMonth, const QDate &day);

    struct PeriodRecords
    {
        QList<Datev::Document> documents;
        QList<Datev::Payment> payments;
        QList<Datev::Debtor> debtors; // the customers of the documents and payments
    };
    // The invoices and credit notes dated in the period with their gross amount per
    // VAT rate (adding up to the amount their open item counts), and the postings
    // booked in it with the Skonto each took. A posting that settled its invoice
    // with Skonto took what was left of the invoice beyond the amount paid.
    PeriodRecords read(const Datev::Period &period);

private:
    Database &m_db;
};
