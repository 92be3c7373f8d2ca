#pragma once

#include "Amount.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Database;

// One article of the catalogue as the result list shows it: every cell as text,
// the price in the list form "1.234,50".
struct ArticleRow
{
    QString name;   // Bez
    QString number; // ArtikelNr
    QString group;  // ArtikelGruppe
    QString price;  // Einzelpreis, "1.234,50"
    QString vat;    // MwSt, the VAT display text
    QString id;     // ID
    QString ida;    // IDA, read and never used

    // A row whose five visible cells are all empty offers no article to copy.
    bool isBlank() const;
    bool operator==(const ArticleRow &) const = default;
};

// One line of an article's additional text with its row key (empty for a line
// not stored yet).
struct ArticleTextRow
{
    QString id;
    QString text;

    bool operator==(const ArticleTextRow &) const = default;
};

// What the catalogue window writes for one article.
struct Article
{
    QString name;
    QString number;
    QString group;
    Amount price;
    QString vat; // VAT display text; empty is written as "0"
};

// The article catalogue: the tables artikel and artikeltext and the VAT rates
// of prust. Writes go to the tables at once (the catalogue is not part of a
// document); each write is one transaction, so an article is never left with
// half of its text lines. Every text goes through SqlQuote; searches match a
// typed "%" or "_" literally (SqlLike).
class ArticleStore
{
public:
    enum class SearchColumn { Bezeichnung, ArtikelNr };

    explicit ArticleStore(Database &db);

    // A VAT rate as every VAT choice shows it: two decimals and " %", with two
    // leading blanks below 10 ("  7,00 %", "19,00 %").
    static QString vatText(Amount rate);
    // A VAT text typed into an editable VAT choice, brought into the display
    // form: "19", "19,0 %" and "19,00 %" all give "19,00 %". Empty stays empty.
    // No value for a text that is not a rate from 0 to 100 as German users
    // write it.
    static std::optional<QString> normaliseVat(const QString &typed);

    // SELECT DISTINCT UStSatz FROM prust ORDER BY UStSatz, as display texts.
    QStringList vatChoices();
    // The groups in use (SELECT DISTINCT ArtikelGruppe FROM artikel), without
    // the empty one.
    QStringList groups();

    // The condition of a search: "" for an empty search text without group,
    // " WHERE Bez LIKE '%<text>%'", then " AND ArtikelGruppe='<group>'" (or
    // " WHERE ArtikelGruppe=..." alone). An empty group means no group filter.
    // With the data set, the text is looked up in its substring index first
    // (SqlContains, firstRows for a page in key order); the rows found stay the same.
    static QString searchCondition(SearchColumn column, const QString &text, const QString &group,
                                   Database *db = nullptr, int firstRows = 0);
    // The articles in table order. With a limit, at most that many of those
    // whose key is above afterId: the result list reads a large catalogue a
    // page at a time, as the user scrolls.
    QList<ArticleRow> search(SearchColumn column, const QString &text, const QString &group, qint64 afterId = 0,
                             int limit = 0);

    // The additional text of an article in ID order.
    QList<ArticleTextRow> texts(qint64 articleId);

    // Names of the articles whose names begin with the first five characters of
    // this one; the catalogue window asks about each before inserting.
    QStringList similarNames(const QString &name);

    // Inserts the article and its non-empty text lines; returns the new key.
    qint64 insert(const Article &article, const QStringList &texts);
    // Updates the article; per text row: text and key update the line, a key
    // without text deletes it, a text without key inserts it.
    void update(qint64 articleId, const Article &article, const QList<ArticleTextRow> &texts);
    // Deletes the article and its text lines.
    void remove(qint64 articleId);

private:
    Database &m_db;
};
