#pragma once

#include "Amount.h"
#include "OptionsRules.h"

#include <QList>
#include <QPair>
#include <QString>

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
    // The electronic-invoice category of a rate ("S", "Z", "E", "AE", "K", "G") and
    // the exemption reason; empty texts when none is stored.
    struct Category
    {
        QString code, reason;
    };
    Category category(Amount rate);
    // Stores both for every row of the rate (one transaction).
    void setCategory(Amount rate, const Category &category);
    // Why the category cannot stand with the rate, as the user is told; empty when
    // it can. A rate above 0 % is standard ("S"); 0 % takes another category, and
    // every one but "Z" (zero rate) must name the exemption.
    static QString categoryProblem(Amount rate, const Category &category);
    // The categories with their captions, for the options' choice.
    static QList<QPair<QString, QString>> categoryChoices();

    // Documents, projects, articles and contacts that name the rate.
    OptionsRules::VatUsage usage(Amount rate);

private:
    int count(const QString &sql);
    Database &m_db;
};
