#include "ArticleListModel.h"
#include "ArticleStore.h"
#include "Errors.h"
#include "QueryRows.h"
#include "SqlQuery.h"
#include "TestEnv.h"
#include "Transaction.h"

#include <QtTest>

namespace {

qint64 storeArticle(TestEnv &env, const QString &name, const QString &number, const QString &group,
                    const QString &price, const QString &vat)
{
    env.exec(QStringLiteral("INSERT INTO artikel (Bez,ArtikelNr,ArtikelGruppe,Einzelpreis,MwSt,Bestand,MBestand) "
                            "VALUES ('%1','%2','%3',%4,'%5','0','0')")
                 .arg(name, number, group, price, vat));
    return env.scalar(QStringLiteral("SELECT MAX(ID) FROM artikel")).toLongLong();
}

Article article(const QString &name, const QString &price, const QString &group = {}, const QString &vat = {})
{
    return {name, QStringLiteral("N-") + name.left(3), group, Amount::fromText(price), vat};
}

} // namespace

class TestArticleStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void vatTexts_data();
    void vatTexts();
    void vatChoicesFromRateTable();
    void searchCondition_data();
    void searchCondition();
    void searchRows();
    void pagesGiveTheWholeResult();
    void resultListReadsPageByPage();
    void quotedSearchFindsTheApostrophe();
    void groupsWithoutTheEmptyOne();
    void insertWithTexts();
    void identicalArticleGetsItsOwnTexts();
    void updateTextRows();
    void removeTakesTheTexts();
    void similarNames();
    void userTextIsNeverSql();
    void badTextKeyWritesNothing();
};

void TestArticleStore::vatTexts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected"); // "-" when refused
    QTest::newRow("rate below 10 gets two blanks") << "7" << "  7,00 %";
    QTest::newRow("rate from 10 has none") << "19" << "19,00 %";
    QTest::newRow("display text stays") << "  7,00 %" << "  7,00 %";
    QTest::newRow("comma and percent") << "16,0%" << "16,00 %";
    QTest::newRow("zero") << "0" << "  0,00 %";
    QTest::newRow("empty stays empty") << "" << "";
    QTest::newRow("hundred") << "100" << "100,00 %";
    QTest::newRow("word refused") << "neunzehn" << "-";
    QTest::newRow("decimal point refused") << "7.5" << "-";
    QTest::newRow("above hundred refused") << "101" << "-";
    QTest::newRow("negative refused") << "-7" << "-";
}

void TestArticleStore::vatTexts()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    const auto vat = ArticleStore::normaliseVat(typed);
    QCOMPARE(vat.value_or(QStringLiteral("-")), expected);
}

void TestArticleStore::vatChoicesFromRateTable()
{
    TestEnv env;
    env.exec("INSERT INTO prust (UStSatz) VALUES (16)");
    env.exec("INSERT INTO prust (UStSatz) VALUES (7)");
    ArticleStore store(env.db());
    QCOMPARE(store.vatChoices(), (QStringList{"  7,00 %", "16,00 %", "19,00 %"}));
}

void TestArticleStore::searchCondition_data()
{
    QTest::addColumn<bool>("byNumber");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("condition");
    QTest::newRow("whole catalogue") << false << "" << "" << "";
    QTest::newRow("name") << false << "Schr" << "" << " WHERE Bez LIKE '%Schr%'";
    QTest::newRow("number") << true << "A-1" << "" << " WHERE ArtikelNr LIKE '%A-1%'";
    QTest::newRow("group alone") << false << "" << "Möbel" << " WHERE ArtikelGruppe='Möbel'";
    QTest::newRow("name and group") << false << "Schr" << "Möbel"
                                    << " WHERE Bez LIKE '%Schr%' AND ArtikelGruppe='Möbel'";
    QTest::newRow("quotes doubled") << false << "O'Neil" << "Kunde's" << " WHERE Bez LIKE '%O''Neil%' AND ArtikelGruppe='Kunde''s'";
}

void TestArticleStore::searchCondition()
{
    QFETCH(bool, byNumber);
    QFETCH(QString, text);
    QFETCH(QString, group);
    QFETCH(QString, condition);
    const auto column = byNumber ? ArticleStore::SearchColumn::ArtikelNr : ArticleStore::SearchColumn::Bezeichnung;
    // the server's LIKE tells upper from lower case; its ILIKE does what LIKE does in the file
    if (CurrentSqlEngine() == DatabaseEngine::PostgreSQL)
        condition.replace(" LIKE ", " ILIKE ");
    QCOMPARE(ArticleStore::searchCondition(column, text, group), condition);
}

void TestArticleStore::searchRows()
{
    TestEnv env;
    const qint64 a = storeArticle(env, "Schrank", "S-1", "Möbel", "1234.5", "19,00 %");
    const qint64 b = storeArticle(env, "Schraube", "K-7", "", "0.1", "  7,00 %");
    storeArticle(env, "Tisch", "T-1", "Möbel", "80", "19,00 %");
    ArticleStore store(env.db());
    const auto rows = store.search(ArticleStore::SearchColumn::Bezeichnung, "schr", QString());
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0], (ArticleRow{"Schrank", "S-1", "Möbel", "1.234,50", "19,00 %", QString::number(a), ""}));
    QCOMPARE(rows[1], (ArticleRow{"Schraube", "K-7", "", "0,10", "  7,00 %", QString::number(b), ""}));
    QCOMPARE(store.search(ArticleStore::SearchColumn::Bezeichnung, "schr", "Möbel").size(), 1);
    QCOMPARE(store.search(ArticleStore::SearchColumn::ArtikelNr, "-1", QString()).size(), 2);
    QCOMPARE(store.search(ArticleStore::SearchColumn::Bezeichnung, QString(), QString()).size(), 3);
}

namespace {
// 700 articles; every third is a screw, every seventh of those in group "Kleinteile".
void fillCatalogue(TestEnv &env)
{
    Transaction t(env.db());
    for (int i = 1; i <= 700; ++i)
        env.exec(QStringLiteral("INSERT INTO artikel (Bez,ArtikelNr,ArtikelGruppe,Einzelpreis,MwSt,Bestand,MBestand) "
                                "VALUES ('%1 %2','A-%2','%3',%2,'19,00 %','0','0')")
                     .arg(i % 3 == 0 ? "Schraube" : "Dübel")
                     .arg(i)
                     .arg(i % 21 == 0 ? "Kleinteile" : ""));
    // A gap in the keys, as deleted articles leave it.
    env.exec("DELETE FROM artikel WHERE ID BETWEEN 100 AND 140");
    t.commit();
}
} // namespace

void TestArticleStore::pagesGiveTheWholeResult()
{
    TestEnv env;
    fillCatalogue(env);
    ArticleStore store(env.db());
    using C = ArticleStore::SearchColumn;
    for (const auto &[text, group] : {std::pair<QString, QString>{"", ""}, {"Schraube", ""}, {"", "Kleinteile"},
                                      {"raube", "Kleinteile"}, {"nichts", ""}}) {
        const QList<ArticleRow> whole = store.search(C::Bezeichnung, text, group);
        QList<ArticleRow> paged;
        for (;;) {
            const QList<ArticleRow> page =
                store.search(C::Bezeichnung, text, group, paged.isEmpty() ? 0 : paged.last().id.toLongLong(), 50);
            QVERIFY(page.size() <= 50);
            paged += page;
            if (page.size() < 50)
                break;
        }
        QCOMPARE(paged, whole);
    }
    QCOMPARE(store.search(C::Bezeichnung, "", "").size(), 659);
}

void TestArticleStore::resultListReadsPageByPage()
{
    TestEnv env;
    fillCatalogue(env);
    ArticleStore store(env.db());
    ArticleListModel model;
    int reads = 0;
    model.setSearch(env.dialogs(), [&](qint64 after, int limit) {
        ++reads;
        return store.search(ArticleStore::SearchColumn::Bezeichnung, QString(), QString(), after, limit);
    });
    QCOMPARE(model.rowCount(), ArticleListModel::PageSize);
    QVERIFY(model.canFetchMore());
    while (model.canFetchMore())
        model.fetchMore();
    QCOMPARE(model.rowCount(), 659);
    QCOMPARE(reads, 3);
    QCOMPARE(model.rows(), store.search(ArticleStore::SearchColumn::Bezeichnung, QString(), QString()));
    QCOMPARE(model.index(0, ArticleListModel::Preis).data().toString(), QStringLiteral("1,00 "));
    QCOMPARE(model.index(0, ArticleListModel::Preis).data(Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignRight | Qt::AlignVCenter));

    // A failing read is shown once and ends the result.
    model.setSearch(env.dialogs(), [](qint64, int) -> QList<ArticleRow> {
        throw DatabaseError(QStringLiteral("Datenbank gesperrt"), QStringLiteral("SELECT"));
    });
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.canFetchMore());
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Error).size(), 1);
}

void TestArticleStore::quotedSearchFindsTheApostrophe()
{
    TestEnv env;
    ArticleStore store(env.db());
    store.insert(article("O'Neil Spezial", "5"), {});
    store.insert(article("Oneil", "5"), {});
    const auto rows = store.search(ArticleStore::SearchColumn::Bezeichnung, "O'Neil", QString());
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].name, QStringLiteral("O'Neil Spezial"));
}

void TestArticleStore::groupsWithoutTheEmptyOne()
{
    TestEnv env;
    storeArticle(env, "A", "", "", "1", "");
    storeArticle(env, "B", "", "Möbel", "1", "");
    storeArticle(env, "C", "", "Möbel", "1", "");
    storeArticle(env, "D", "", "Licht", "1", "");
    ArticleStore store(env.db());
    QStringList groups = store.groups();
    groups.sort();
    QCOMPARE(groups, (QStringList{"Licht", "Möbel"}));
}

void TestArticleStore::insertWithTexts()
{
    TestEnv env;
    ArticleStore store(env.db());
    const qint64 id = store.insert(article("Schrank", "1234,5", "Möbel", "19,00 %"), {"aus Eiche", "", "geölt"});
    QCOMPARE(allRows(env, QStringLiteral("SELECT Bez,ArtikelNr,ArtikelGruppe,Einzelpreis,MwSt,Bestand,MBestand "
                                         "FROM artikel WHERE ID=%1").arg(id)),
             QStringList{"Schrank/N-Sch/Möbel/1234,5/19,00 %/0/0"});
    QCOMPARE(env.column(QStringLiteral("SELECT Text FROM artikeltext WHERE IDA=%1 ORDER BY ID").arg(id)),
             (QStringList{"aus Eiche", "geölt"}));
    // An article without VAT stores "0", as the catalogue always has.
    const qint64 bare = store.insert(article("Bolzen", "0,5"), {});
    QCOMPARE(env.scalar(QStringLiteral("SELECT MwSt FROM artikel WHERE ID=%1").arg(bare)), QStringLiteral("0"));
}

void TestArticleStore::identicalArticleGetsItsOwnTexts()
{
    TestEnv env;
    ArticleStore store(env.db());
    const qint64 first = store.insert(article("Schrank", "100"), {"alt"});
    const qint64 second = store.insert(article("Schrank", "100"), {"neu"});
    QVERIFY(second != first);
    QCOMPARE(env.column(QStringLiteral("SELECT Text FROM artikeltext WHERE IDA=%1").arg(first)), QStringList{"alt"});
    QCOMPARE(env.column(QStringLiteral("SELECT Text FROM artikeltext WHERE IDA=%1").arg(second)), QStringList{"neu"});
}

void TestArticleStore::updateTextRows()
{
    TestEnv env;
    ArticleStore store(env.db());
    const qint64 id = store.insert(article("Schrank", "100"), {"eins", "zwei", "drei"});
    const qint64 other = store.insert(article("Tisch", "50"), {"fremd"});
    QList<ArticleTextRow> rows = store.texts(id);
    QCOMPARE(rows.size(), 3);
    rows[0].text = QStringLiteral("eins neu"); // text and key: updated
    rows[1].text.clear();                      // key without text: deleted
    rows.append({QString(), QStringLiteral("vier")}); // text without key: inserted
    rows.append({QString(), QString()});              // neither: nothing
    store.update(id, article("Schrank XL", "1.234,5", "Möbel", "  7,00 %"), rows);

    QCOMPARE(allRows(env, QStringLiteral("SELECT Bez,ArtikelGruppe,Einzelpreis,MwSt FROM artikel WHERE ID=%1").arg(id)),
             QStringList{"Schrank XL/Möbel/1234,5/  7,00 %"});
    QCOMPARE(env.column(QStringLiteral("SELECT Text FROM artikeltext WHERE IDA=%1 ORDER BY ID").arg(id)),
             (QStringList{"eins neu", "drei", "vier"}));
    QCOMPARE(env.column(QStringLiteral("SELECT Text FROM artikeltext WHERE IDA=%1").arg(other)), QStringList{"fremd"});
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM artikel"), QStringLiteral("2"));
}

void TestArticleStore::removeTakesTheTexts()
{
    TestEnv env;
    ArticleStore store(env.db());
    const qint64 id = store.insert(article("Schrank", "100"), {"eins", "zwei"});
    const qint64 other = store.insert(article("Tisch", "50"), {"fremd"});
    store.remove(id);
    QCOMPARE(env.column("SELECT Bez FROM artikel"), QStringList{"Tisch"});
    QCOMPARE(env.column("SELECT IDA FROM artikeltext"), QStringList{QString::number(other)});
}

void TestArticleStore::similarNames()
{
    TestEnv env;
    ArticleStore store(env.db());
    for (const char *name : {"Schrank klein", "Schrankwand", "Schraube", "Tisch"})
        store.insert(article(QString::fromUtf8(name), "1"), {});
    // Five characters decide: "Schra" also finds the screw.
    QCOMPARE(store.similarNames("Schrank groß"), (QStringList{"Schrank klein", "Schrankwand", "Schraube"}));
    QCOMPARE(store.similarNames("Lampe"), QStringList());
    // a typed "%" or "_" is a character like any other
    store.insert(article("Rabatt 10%", "1"), {});
    QCOMPARE(store.similarNames("%"), QStringList());
    QCOMPARE(store.similarNames("_chra"), QStringList());
    QCOMPARE(store.search(ArticleStore::SearchColumn::Bezeichnung, "%", QString()).size(), 1);
    QCOMPARE(store.search(ArticleStore::SearchColumn::Bezeichnung, "S_hr", QString()).size(), 0);
}

void TestArticleStore::userTextIsNeverSql()
{
    TestEnv env;
    ArticleStore store(env.db());
    const QString nasty = QStringLiteral("Kunde's %1 %2'); DELETE FROM artikel; --");
    const qint64 id = store.insert({nasty, nasty, nasty, Amount::fromText("1"), QString()}, {nasty});
    QList<ArticleTextRow> rows = store.texts(id);
    rows.append({QString(), nasty + QStringLiteral("!")});
    store.update(id, {nasty, nasty, nasty, Amount::fromText("2"), QString()}, rows);
    QCOMPARE(allRows(env, "SELECT Bez,ArtikelNr,ArtikelGruppe FROM artikel"), QStringList{nasty + "/" + nasty + "/" + nasty});
    QCOMPARE(env.column("SELECT Text FROM artikeltext ORDER BY ID"), (QStringList{nasty, nasty + "!"}));
    QCOMPARE(store.search(ArticleStore::SearchColumn::Bezeichnung, "'s %1", nasty).size(), 1);
}

void TestArticleStore::badTextKeyWritesNothing()
{
    TestEnv env;
    ArticleStore store(env.db());
    const qint64 id = store.insert(article("Schrank", "100"), {"eins"});
    QList<ArticleTextRow> rows = {{QStringLiteral("1 OR 1=1"), QStringLiteral("weg")}};
    QVERIFY_THROWS_EXCEPTION(ConversionError, store.update(id, article("Anders", "5"), rows));
    QCOMPARE(env.column("SELECT Bez FROM artikel"), QStringList{"Schrank"});
    QCOMPARE(env.column("SELECT Text FROM artikeltext"), QStringList{"eins"});
}

QTEST_GUILESS_MAIN(TestArticleStore)
#include "tst_articlestore.moc"
