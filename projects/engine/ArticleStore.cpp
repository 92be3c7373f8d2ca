#include "ArticleStore.h"

#include "Errors.h"
#include "Formats.h"
#include "SqlLiterals.h"
#include "SqlQuery.h"
#include "SqlSearch.h"
#include "SqlText.h"
#include "Transaction.h"

namespace {

// A text key from a grid cell, checked to be a number before it goes into SQL.
qint64 textKey(const QString &id)
{
    const qint64 key = StrToInt(id);
    if (key <= 0)
        throw ConversionError(QStringLiteral("'%1' ist kein gültiger Schlüssel einer Textzeile.").arg(id));
    return key;
}

QString vatOrZero(const QString &vat)
{
    return vat.isEmpty() ? QStringLiteral("0") : vat;
}

} // namespace

bool ArticleRow::isBlank() const
{
    return name.isEmpty() && number.isEmpty() && group.isEmpty() && price.isEmpty() && vat.isEmpty();
}

ArticleStore::ArticleStore(Database &db) : m_db(db) {}

QString ArticleStore::vatText(Amount rate)
{
    const QString text = rate.toText() + QStringLiteral(" %");
    return rate < Amount::fromUnits(10) ? QStringLiteral("  ") + text : text;
}

std::optional<QString> ArticleStore::normaliseVat(const QString &typed)
{
    QString bare = typed;
    bare.remove(QLatin1Char('%'));
    bare = bare.trimmed();
    if (bare.isEmpty())
        return QString();
    const auto rate = Amount::parseInput(bare);
    if (!rate || rate->isNegative() || *rate > Amount::fromUnits(100))
        return std::nullopt;
    return vatText(*rate);
}

QStringList ArticleStore::vatChoices()
{
    SqlQuery q(m_db);
    QStringList out;
    for (q.open(QStringLiteral("SELECT DISTINCT UStSatz FROM prust ORDER BY UStSatz")); !q.eof(); q.next())
        out << vatText(q.fieldAmount(QStringLiteral("UStSatz")));
    return out;
}

QStringList ArticleStore::groups()
{
    SqlQuery q(m_db);
    QStringList out;
    for (q.open(QStringLiteral("SELECT DISTINCT ArtikelGruppe FROM artikel")); !q.eof(); q.next()) {
        const QString group = q.field(QStringLiteral("ArtikelGruppe"));
        if (!group.isEmpty())
            out << group;
    }
    return out;
}

QString ArticleStore::searchCondition(SearchColumn column, const QString &text, const QString &group, Database *db,
                                      int firstRows)
{
    QString condition;
    if (!text.isEmpty()) {
        const QString name = column == SearchColumn::Bezeichnung ? QStringLiteral("Bez") : QStringLiteral("ArtikelNr");
        condition = QStringLiteral(" WHERE ")
                    + (db ? SqlContains(*db, Schema::SearchIndex::Artikel, {name}, text, firstRows)
                          : SqlLike(name, text, LikeMatch::Contains));
    }
    if (!group.isEmpty())
        condition += (condition.isEmpty() ? QStringLiteral(" WHERE ArtikelGruppe=") : QStringLiteral(" AND ArtikelGruppe="))
                     + SqlText(group);
    return condition;
}

QList<ArticleRow> ArticleStore::search(SearchColumn column, const QString &text, const QString &group,
                                       qint64 afterId, int limit)
{
    QString condition = searchCondition(column, text, group, &m_db, limit);
    if (limit > 0) {
        // Table order is key order (the key is the row number), so a page is
        // the next rows by key, and each page is a statement of its own.
        if (afterId > 0)
            condition += (condition.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND "))
                         + QStringLiteral("ID > %1").arg(afterId);
        condition += QStringLiteral(" ORDER BY ID LIMIT %1").arg(limit);
    }
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT Bez, ArtikelNr, ArtikelGruppe, Einzelpreis, MwSt, ID, IDA FROM artikel") + condition);
    QList<ArticleRow> rows;
    for (; !q.eof(); q.next()) {
        const QString price = q.fieldAt(3);
        rows.append({q.fieldAt(0), q.fieldAt(1), q.fieldAt(2),
                     price.isEmpty() ? QString() : Amount::fromText(price).toText(), q.fieldAt(4), q.fieldAt(5),
                     q.fieldAt(6)});
    }
    return rows;
}

QList<ArticleTextRow> ArticleStore::texts(qint64 articleId)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT ID,IDA,Text FROM artikeltext WHERE IDA='%1' ORDER BY ID").arg(articleId));
    QList<ArticleTextRow> out;
    for (; !q.eof(); q.next())
        out.append({q.field(QStringLiteral("ID")), q.field(QStringLiteral("Text"))});
    return out;
}

QStringList ArticleStore::similarNames(const QString &name)
{
    SqlQuery q(m_db);
    QStringList out;
    q.open(QStringLiteral("SELECT Bez FROM artikel WHERE ") + SqlLike(QStringLiteral("Bez"), name.left(5), LikeMatch::StartsWith));
    for (; !q.eof(); q.next())
        out << q.field(QStringLiteral("Bez"));
    return out;
}

qint64 ArticleStore::insert(const Article &a, const QStringList &texts)
{
    Transaction t(m_db);
    SqlQuery q(m_db);
    const QString price = a.price.toSqlText();
    // The number the engine gave this row: an identical article stored at the
    // same time on another workstation has its own.
    q.open(QStringLiteral("INSERT INTO artikel (Bez,ArtikelNr,ArtikelGruppe,Einzelpreis,MwSt,Bestand,MBestand) "
                          "VALUES (%1,%2,%3,%4,%5,'0','0') RETURNING ID")
               .arg(SqlText(a.name), SqlText(a.number), SqlText(a.group), price, SqlText(vatOrZero(a.vat))));
    const qint64 id = q.fieldInt(QStringLiteral("ID"));
    q.close();
    if (id <= 0)
        throw DatabaseError(QStringLiteral("Der neue Artikel wurde nicht gefunden."), q.text());
    for (const QString &text : texts)
        if (!text.isEmpty())
            q.execSql(QStringLiteral("INSERT INTO artikeltext (IDA,Text) VALUES ('%1',%2)").arg(QString::number(id), SqlText(text)));
    t.commit();
    return id;
}

void ArticleStore::update(qint64 articleId, const Article &a, const QList<ArticleTextRow> &texts)
{
    Transaction t(m_db);
    SqlQuery q(m_db);
    q.execSql(QStringLiteral("UPDATE artikel SET Bez=%1,ArtikelNr=%2,ArtikelGruppe=%3,Einzelpreis=%4,MwSt=%5,"
                             "Bestand='0',MBestand='0' WHERE ID='%6'")
                  .arg(SqlText(a.name), SqlText(a.number), SqlText(a.group), a.price.toSqlText(), SqlText(vatOrZero(a.vat)),
                       QString::number(articleId)));
    for (const ArticleTextRow &row : texts) {
        if (!row.id.isEmpty() && !row.text.isEmpty())
            q.execSql(QStringLiteral("UPDATE artikeltext SET Text=%1 WHERE ID='%2'")
                          .arg(SqlText(row.text), QString::number(textKey(row.id))));
        else if (!row.id.isEmpty())
            q.execSql(QStringLiteral("DELETE FROM artikeltext WHERE ID='%1'").arg(textKey(row.id)));
        else if (!row.text.isEmpty())
            q.execSql(QStringLiteral("INSERT INTO artikeltext (IDA,Text) VALUES ('%1',%2)")
                          .arg(QString::number(articleId), SqlText(row.text)));
    }
    t.commit();
}

void ArticleStore::remove(qint64 articleId)
{
    Transaction t(m_db);
    SqlQuery q(m_db);
    q.execSql(QStringLiteral("DELETE FROM artikel WHERE ID='%1'").arg(articleId));
    q.execSql(QStringLiteral("DELETE FROM artikeltext WHERE IDA='%1'").arg(articleId));
    t.commit();
}
