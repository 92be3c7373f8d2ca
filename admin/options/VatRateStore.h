#pragma once

#include "Amount.h"
#include "OptionsRules.h"

#include <QList>

class Database;

// The VAT rates offered in every VAT choice (table prust), kept free of
// duplicates by the options window.
class VatRateStore
{
public:
    explicit VatRateStore(Database &db);

    // Ascending, each rate once.
    QList<Amount> rates();
    bool contains(Amount rate);
    void add(Amount rate);
    // Documents already written keep their rates.
    void change(Amount from, Amount to);
    void remove(Amount rate);
    // Documents, projects, articles and contacts that name the rate.
    OptionsRules::VatUsage usage(Amount rate);

private:
    int count(const QString &sql);
    Database &m_db;
};
