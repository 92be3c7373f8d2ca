#include "VatRateStore.h"

#include "Formats.h"
#include "Schema.h"
#include "SqlQuery.h"
#include "SqlText.h"
#include "Transaction.h"

namespace {

// A rate as the documents, projects and articles store it ("  7,00 %", "19,00 %"),
// compared without the blanks and the percent sign.
QString displayedRateIs(const QString &column, Amount rate)
{
    return QStringLiteral("REPLACE(REPLACE(%1, ' ', ''), '%', '') = '%2'").arg(column, rate.toPlainText());
}

} // namespace

VatRateStore::VatRateStore(Database &db) : m_db(db) {}

QList<Amount> VatRateStore::rates()
{
    SqlQuery q(m_db);
    QList<Amount> out;
    for (q.open(QStringLiteral("SELECT DISTINCT UStSatz FROM prust ORDER BY UStSatz")); !q.eof(); q.next())
        if (!q.field(QStringLiteral("UStSatz")).isEmpty())
            out << q.fieldAmount(QStringLiteral("UStSatz"));
    return out;
}

bool VatRateStore::contains(Amount rate)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT DISTINCT UStSatz FROM prust WHERE UStSatz = %1").arg(rate.toSqlText()));
    return !q.isEmpty();
}

VatRateStore::Category VatRateStore::category(Amount rate)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT Kategorie, Befreiungsgrund FROM prust WHERE UStSatz = %1 ORDER BY ID").arg(rate.toSqlText()));
    return {q.field(QStringLiteral("Kategorie")), q.field(QStringLiteral("Befreiungsgrund"))};
}

void VatRateStore::setCategory(Amount rate, const Category &category)
{
    const QString reason = category.reason.trimmed();
    const auto text = [](const QString &v) {
        return v.isEmpty() ? QStringLiteral("NULL") : SqlText(v);
    };
    Transaction t(m_db);
    SqlQuery(m_db).execSql(QStringLiteral("UPDATE prust SET Kategorie=%1, Befreiungsgrund=%2 WHERE UStSatz=%3")
                               .arg(text(category.code), text(reason), rate.toSqlText()));
    t.commit();
}

QList<QPair<QString, QString>> VatRateStore::categoryChoices()
{
    return {{QStringLiteral("S"), QStringLiteral("S – Regelsatz")},
            {QStringLiteral("Z"), QStringLiteral("Z – Nullsatz")},
            {QStringLiteral("E"), QStringLiteral("E – steuerbefreit")},
            {QStringLiteral("AE"), QStringLiteral("AE – Steuerschuld des Leistungsempfängers")},
            {QStringLiteral("K"), QStringLiteral("K – innergemeinschaftliche Lieferung")},
            {QStringLiteral("G"), QStringLiteral("G – Ausfuhr")}};
}

QString VatRateStore::categoryProblem(Amount rate, const Category &category)
{
    const QString code = category.code;
    if (rate > Amount() && code != QLatin1String("S"))
        return QStringLiteral("Ein Steuersatz über 0 % hat die Kategorie S (Regelsatz).");
    if (rate.isZero() && code == QLatin1String("S"))
        return QStringLiteral("Für 0 % wählen Sie Z, E, AE, K oder G.");
    if (code != QLatin1String("S") && code != QLatin1String("Z") && category.reason.trimmed().isEmpty())
        return QStringLiteral("Bitte geben Sie den Befreiungsgrund an, z. B. „Steuerfrei nach § 4 Nr. 1a UStG“.");
    if (code == QLatin1String("Z") && !category.reason.trimmed().isEmpty())
        return QStringLiteral("Der Nullsatz (Z) nennt keinen Befreiungsgrund.");
    return QString();
}

void VatRateStore::add(Amount rate)
{
    Transaction t(m_db);
    SqlQuery(m_db).execSql(QStringLiteral("INSERT INTO prust (UStSatz) VALUES (%1)").arg(rate.toSqlText()));
    t.commit();
}

void VatRateStore::change(Amount from, Amount to)
{
    Transaction t(m_db);
    SqlQuery(m_db).execSql(
        QStringLiteral("UPDATE prust SET UStSatz=%1 WHERE UStSatz=%2").arg(to.toSqlText(), from.toSqlText()));
    t.commit();
}

void VatRateStore::remove(Amount rate)
{
    Transaction t(m_db);
    SqlQuery(m_db).execSql(QStringLiteral("DELETE FROM prust WHERE UStSatz=%1").arg(rate.toSqlText()));
    t.commit();
}

int VatRateStore::count(const QString &sql)
{
    SqlQuery q(m_db);
    q.open(sql);
    return int(q.fieldInt(QStringLiteral("n")));
}

OptionsRules::VatUsage VatRateStore::usage(Amount rate)
{
    OptionsRules::VatUsage u;
    for (const QString &base : Schema::documentBaseNames())
        u.documents += count(QStringLiteral("SELECT COUNT(DISTINCT BelegNr) AS n FROM %1artikel WHERE %2")
                                 .arg(base, displayedRateIs(QStringLiteral("MwSt"), rate)));
    u.articles = count(QStringLiteral("SELECT COUNT(*) AS n FROM artikel WHERE %1")
                           .arg(displayedRateIs(QStringLiteral("MwSt"), rate)));
    u.projects = count(QStringLiteral("SELECT COUNT(*) AS n FROM projekt WHERE %1")
                           .arg(displayedRateIs(QStringLiteral("USt"), rate)));
    for (const char *table : {"firmamehr", "namemehr"})
        u.contacts += count(QStringLiteral("SELECT COUNT(*) AS n FROM %1 WHERE MwSt = %2")
                                .arg(QLatin1String(table), rate.toSqlText()));
    return u;
}
