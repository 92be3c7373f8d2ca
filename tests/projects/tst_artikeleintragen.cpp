#include "ArticleStore.h"
#include "DialogDriver.h"
#include "DocumentFixtures.h"
#include "Settings.h"
#include "TestEnv.h"
#include "TextLinesGrid.h"
#include "TfrmArtikelEintragen.h"
#include "TfrmArtikelKlein.h"

#include <QTableView>
#include <QTabBar>
#include <QtTest>

namespace {

const QStringList threeLines = {"1|S1|Schrank|1|100,00|19,00 %", "||aus Eiche", "2|T1|Tisch|2|50,00|19,00 %",
                                "||rund", "||ausziehbar", "3|L1|Lampe|1|20,00|  7,00 %", "4||Rabatt||10,00 %||10,00"};

Document quotation(const QStringList &rows = {})
{
    Document d(DocumentKind::Angebot);
    d.lines = linesFrom(rows);
    return d;
}

// The line-item window of a fresh data set, opened on a document and shown
// offscreen, with a catalogue of three articles.
struct Fixture
{
    explicit Fixture(const Document &doc = quotation(), bool withCatalogue = true)
    {
        if (withCatalogue) {
            ArticleStore store(env.db());
            schrank = store.insert({"Schrank", "S-100", "Möbel", Amount::fromText("1234,5"), "19,00 %"},
                                   {"aus Eiche", "geölt"});
            store.insert({"Schraube", "K-7", "", Amount::fromText("0,1"), "19,00 %"}, {});
            store.insert({"Leuchte", "L-1", "Licht", Amount::fromText("20"), "  7,00 %"}, {"LED"});
        }
        window = std::make_unique<TfrmArtikelEintragen>(env.state());
        window->prepare(doc, QStringLiteral("19,00 %"));
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("window not active");
    }

    TfrmArtikelEintragen &w() { return *window; }
    TextLinesGrid *texts() { return control<TextLinesGrid>(w(), "grdZusatztext"); }
    QListWidget *lineList() { return control<QListWidget>(w(), "lstVorgangsliste"); }
    QTableView *results() { return control<QTableView>(w(), "grdArtikelliste"); }
    QComboBox *vat() { return control<QComboBox>(w(), "cboMwSt"); }
    QStringList rows() { return rowsOf(w().document().lines); }
    QStringList entry()
    {
        return {edit(w(), "edtBezeichnung")->text(), edit(w(), "edtArtikelNr")->text(),
                edit(w(), "edtAnzahl")->text(), edit(w(), "edtEinzelpreis")->text(), vat()->currentText()};
    }
    QStringList resultNames()
    {
        QStringList out;
        for (int r = 0; r < results()->model()->rowCount(); ++r)
            out << results()->model()->index(r, 0).data().toString();
        return out;
    }
    int resultRow(const QString &name) { return int(resultNames().indexOf(name)); }
    // Selects an entry of "Vorgangsliste:" and takes the line over.
    void takeLine(int entry)
    {
        QListWidget *list = lineList();
        list->setCurrentRow(entry);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(entry)).center());
        QVERIFY(click(w(), "btnAusVorgangsliste"));
    }
    void typeLine(const QString &name, const QString &quantity, const QString &price)
    {
        type(w(), "edtBezeichnung", name);
        type(w(), "edtAnzahl", quantity);
        type(w(), "edtEinzelpreis", price);
    }

    TestEnv env;
    qint64 schrank = 0;
    std::unique_ptr<TfrmArtikelEintragen> window;
};

} // namespace

class TestArtikelEintragen : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void enterLinesWithTexts();
    void changeLineKeepsItsPlace();
    void deleteLineWithItsTexts_data();
    void deleteLineWithItsTexts();
    void unreadableStoredLine();
    void refusedInput_data();
    void refusedInput();
    void entryButtons();
    void copyArticleWithTexts();
    void copyAsksBeforeOverwriting_data();
    void copyAsksBeforeOverwriting();
    void search();
    void insertIntoCatalogue();
    void similarNameQuestions_data();
    void similarNameQuestions();
    void changeCatalogueArticle();
    void deleteCatalogueArticle();
    void enterIntoDocumentAndCatalogue();
    void okAndClosing();
    void windowPosition();
};

void TestArtikelEintragen::enterLinesWithTexts()
{
    Fixture f;
    QCOMPARE(f.vat()->currentText(), QStringLiteral("19,00 %"));
    QCOMPARE(f.vat()->count(), 2); // 7 and 19 from the rate table
    f.typeLine("Schrank", "1,5", "1.234,50");
    type(f.w(), "edtArtikelNr", "S-100");
    f.texts()->setTexts({"aus Eiche", "", "geölt"});
    QVERIFY(click(f.w(), "btnUebernehmen"));
    QCOMPARE(f.env.dialogs().messages(), QStringList{"Artikel eingetragen"});
    QCOMPARE(f.rows(), (QStringList{"1|S-100|Schrank|1,5|1.234,50|19,00 %", "||aus Eiche", "||geölt"}));
    QCOMPARE(f.entry(), (QStringList{"", "", "", "", "19,00 %"}));
    QVERIFY(!f.texts()->hasText());
    QCOMPARE(edit(f.w(), "edtNettobetrag")->text(), QStringLiteral("1.851,75 €"));
    QCOMPARE(edit(f.w(), "edtRechnungsbetrag")->text(), QStringLiteral("2.203,58 €"));
    QVERIFY(!button(f.w(), "btnUebernehmen")->isEnabled());

    f.typeLine("Lampe", "3", "0,5");
    f.vat()->setCurrentText(QStringLiteral("  7,00 %"));
    QVERIFY(click(f.w(), "btnUebernehmen"));
    QCOMPARE(f.rows(), (QStringList{"1|S-100|Schrank|1,5|1.234,50|19,00 %", "||aus Eiche", "||geölt",
                                    "2||Lampe|3|0,50|  7,00 %"}));
    QCOMPARE(f.lineList()->count(), 2);
    QCOMPARE(f.lineList()->item(1)->text(), QStringLiteral("Lampe"));
    QCOMPARE(f.w().document().totals.net(), QStringLiteral("1.853,25 €"));
    QCOMPARE(f.w().document().totals.vatLines(), (QStringList{"0,10 €   (7,00 %)", "351,83 € (19,00 %)"}));
    QVERIFY(f.w().changed());
}

void TestArtikelEintragen::changeLineKeepsItsPlace()
{
    Fixture f(quotation(threeLines));
    // The discount line is never offered for a change.
    QCOMPARE(f.lineList()->count(), 3);
    f.takeLine(1);
    QCOMPARE(f.w().mode(), TfrmArtikelEintragen::Mode::Change);
    QCOMPARE(f.entry(), (QStringList{"Tisch", "T1", "2", "50,00", "19,00 %"}));
    QCOMPARE(f.texts()->texts().mid(0, 3), (QStringList{"rund", "ausziehbar", ""}));
    QVERIFY(button(f.w(), "btnLoeschen")->isEnabled());

    type(f.w(), "edtEinzelpreis", "1234,5");
    f.texts()->setTexts({"oval", "", "Nussbaum"});
    QVERIFY(click(f.w(), "btnUebernehmen"));
    QCOMPARE(f.env.dialogs().messages(), QStringList{"Artikel geändert"});
    QCOMPARE(f.rows(), (QStringList{"1|S1|Schrank|1|100,00|19,00 %", "||aus Eiche", "2|T1|Tisch|2|1.234,50|19,00 %",
                                    "||oval", "||Nussbaum", "3|L1|Lampe|1|20,00|  7,00 %",
                                    "4||Rabatt||10,00 %||10,00"}));
    // 2.589,00 net less 10 % discount: 2.330,10; VAT 7 % of 18,00 and 19 % of 2.312,10.
    QCOMPARE(edit(f.w(), "edtNettobetrag")->text(), QStringLiteral("2.330,10 €"));
    QCOMPARE(f.w().document().totals.vatLines(), (QStringList{"1,26 €   (7,00 %)", "439,30 € (19,00 %)"}));
    QCOMPARE(edit(f.w(), "edtRechnungsbetrag")->text(), QStringLiteral("2.770,66 €"));
    QCOMPARE(f.w().mode(), TfrmArtikelEintragen::Mode::Entry);

    // The next entry is a new line again.
    f.typeLine("Stuhl", "4", "25");
    QVERIFY(click(f.w(), "btnUebernehmen"));
    QCOMPARE(f.rows().mid(5), (QStringList{"3|L1|Lampe|1|20,00|  7,00 %", "4||Stuhl|4|25,00|19,00 %",
                                           "5||Rabatt||10,00 %||10,00"}));
}

void TestArtikelEintragen::deleteLineWithItsTexts_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("middle line")
        << 1 << true
        << QStringList{"1|S1|Schrank|1|100,00|19,00 %", "||aus Eiche", "2|L1|Lampe|1|20,00|  7,00 %",
                       "3||Rabatt||10,00 %||10,00"};
    QTest::newRow("last article line")
        << 2 << true
        << QStringList{"1|S1|Schrank|1|100,00|19,00 %", "||aus Eiche", "2|T1|Tisch|2|50,00|19,00 %", "||rund",
                       "||ausziehbar", "3||Rabatt||10,00 %||10,00"};
    QTest::newRow("answered No") << 1 << false << threeLines;
}

void TestArtikelEintragen::deleteLineWithItsTexts()
{
    QFETCH(int, entry);
    QFETCH(bool, yes);
    QFETCH(QStringList, expected);
    Fixture f(quotation(threeLines));
    f.takeLine(entry);
    f.env.dialogs().answer(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    QVERIFY(click(f.w(), "btnLoeschen"));
    QCOMPARE(f.env.dialogs().questions(), QStringList{"Daten wirklich löschen?"});
    QCOMPARE(f.rows(), expected);
    QCOMPARE(f.lineList()->count(), yes ? 2 : 3);
    QVERIFY(f.w().changed());
    if (yes) {
        QCOMPARE(f.entry().mid(0, 4), (QStringList{"", "", "", ""}));
        QCOMPARE(f.w().mode(), TfrmArtikelEintragen::Mode::Entry);
        QVERIFY(!button(f.w(), "btnLoeschen")->isEnabled());
    }
}

void TestArtikelEintragen::unreadableStoredLine()
{
    Fixture f(quotation({"1||Kiste|viele|12,5x|19,00 %"}));
    f.takeLine(0);
    QCOMPARE(f.env.dialogs().messages(), (QStringList{"'viele' ist kein gültiger Integerwert!",
                                                      "'12,5x' ist kein gültiger Gleitkommawert!"}));
    QCOMPARE(f.entry().mid(0, 4), (QStringList{"Kiste", "", "", ""}));
    f.env.dialogs().clear();
    QVERIFY(click(f.w(), "btnUebernehmen"));
    // Nothing is entered; the totals then stop at the unreadable line and say so.
    const QStringList errors = f.env.dialogs().texts(ScriptedDialogs::Kind::Error);
    QCOMPARE(errors.value(0), QStringLiteral("Keine Daten!"));
    QCOMPARE(errors.value(1), QStringLiteral("Zeile 1: 'viele' ist keine gültige Menge."));
    QCOMPARE(f.rows(), QStringList{"1||Kiste|viele|12,5x|19,00 %"});
}

void TestArtikelEintragen::refusedInput_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("vat");
    QTest::addColumn<QString>("message");
    QTest::newRow("decimal point as in English")
        << "2" << "1.5" << "19,00 %" << "\"Einzelpreis\": \"1.5\" ist kein gültiger Betrag";
    QTest::newRow("points in the wrong places")
        << "2" << "12.34,5" << "19,00 %" << "\"Einzelpreis\": \"12.34,5\" ist kein gültiger Betrag";
    QTest::newRow("quantity with a point") << "1.5" << "3" << "19,00 %" << "\"Anzahl\": \"1.5\" ist keine gültige Anzahl";
    QTest::newRow("price too large") << "1" << "99999999999999" << "19,00 %" << "\"Einzelpreis\": \"99999999999999\" ist zu groß";
    QTest::newRow("VAT that is not a rate") << "2" << "3" << "voll" << "'voll' ist kein gültiger MwSt-Satz";
}

void TestArtikelEintragen::refusedInput()
{
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(QString, vat);
    QFETCH(QString, message);
    Fixture f(quotation({"1||A|1|1,00|19,00 %"}));
    f.typeLine("Kiste", quantity, price);
    f.vat()->setCurrentText(vat);
    QVERIFY(click(f.w(), "btnUebernehmen"));
    // Leaving a refused field says so at once; the take-over refuses with the same words.
    const QStringList said = f.env.dialogs().messages();
    QVERIFY(!said.isEmpty());
    QVERIFY2(said.last().startsWith(message), qPrintable(said.last()));
    QCOMPARE(said.count(said.last()), said.size());
    QCOMPARE(f.rows(), QStringList{"1||A|1|1,00|19,00 %"});
    // The typing stays for the user to correct.
    QCOMPARE(f.entry(), (QStringList{"Kiste", "", quantity, price, vat}));
}

void TestArtikelEintragen::entryButtons()
{
    Fixture f;
    QPushButton *enter = button(f.w(), "btnUebernehmen");
    QPushButton *catalogue = button(f.w(), "btnInDatenbank");
    QPushButton *both = button(f.w(), "btnVorgangUndDatenbank");
    type(f.w(), "edtBezeichnung", "Kiste");
    type(f.w(), "edtEinzelpreis", "5");
    QVERIFY(!enter->isEnabled());
    QVERIFY(catalogue->isEnabled());
    QVERIFY(!both->isEnabled());
    type(f.w(), "edtAnzahl", "2");
    QVERIFY(enter->isEnabled());
    QVERIFY(both->isEnabled());
    type(f.w(), "edtEinzelpreis", "");
    QVERIFY(!enter->isEnabled());
    QVERIFY(!catalogue->isEnabled());
    QVERIFY(!both->isEnabled());

    // A copied article is already in the catalogue: typing the quantity enables
    // the entry alone.
    type(f.w(), "edtAnzahl", "");
    type(f.w(), "edtBezeichnung", "");
    clickRow(f.results(), f.resultRow("Leuchte"));
    QVERIFY(click(f.w(), "btnListeUebernehmen"));
    type(f.w(), "edtAnzahl", "3");
    QVERIFY(enter->isEnabled());
    QVERIFY(!catalogue->isEnabled());
    QVERIFY(!both->isEnabled());
}

void TestArtikelEintragen::copyArticleWithTexts()
{
    Fixture f;
    QVERIFY(!button(f.w(), "btnListeUebernehmen")->isEnabled());
    type(f.w(), "edtSuche", "Schr");
    QCOMPARE(f.resultNames(), (QStringList{"Schrank", "Schraube"}));
    QCOMPARE(f.results()->model()->index(0, 3).data().toString(), QStringLiteral("1.234,50 "));
    clickRow(f.results(), 0, true); // a double click copies
    QCOMPARE(f.env.dialogs().questions(), QStringList());
    QCOMPARE(f.entry(), (QStringList{"Schrank", "S-100", "", "1.234,50", "19,00 %"}));
    const QList<ArticleTextRow> texts = f.texts()->lines();
    QCOMPARE(texts.value(0).text, QStringLiteral("aus Eiche"));
    QCOMPARE(texts.value(1).text, QStringLiteral("geölt"));
    QVERIFY(!texts.value(0).id.isEmpty());
    QCOMPARE(QApplication::focusWidget(), edit(f.w(), "edtAnzahl"));

    type(f.w(), "edtAnzahl", "2");
    QVERIFY(click(f.w(), "btnUebernehmen"));
    QCOMPARE(f.rows(), (QStringList{"1|S-100|Schrank|2|1.234,50|19,00 %", "||aus Eiche", "||geölt"}));
    QCOMPARE(f.w().document().totals.gross(), QStringLiteral("2.938,11 €"));
}

void TestArtikelEintragen::copyAsksBeforeOverwriting_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("yes");
    QTest::newRow("name, Yes") << "edtBezeichnung" << true;
    QTest::newRow("quantity, Cancel") << "edtAnzahl" << false;
    QTest::newRow("first text line, Cancel") << "" << false;
}

void TestArtikelEintragen::copyAsksBeforeOverwriting()
{
    QFETCH(QString, field);
    QFETCH(bool, yes);
    Fixture f;
    if (field.isEmpty())
        f.texts()->setTexts({"eigener Text"});
    else
        type(f.w(), field.toLatin1().constData(), "7");
    const QStringList before = f.entry();
    f.env.dialogs().answer(yes ? Dialogs::Answer::Yes : Dialogs::Answer::Cancel);
    clickRow(f.results(), f.resultRow("Leuchte"));
    QVERIFY(click(f.w(), "btnListeUebernehmen"));
    QCOMPARE(f.env.dialogs().questions(), QStringList{"Zieldatenfelder nicht leer! Wollen Sie diese überschreiben?"});
    if (yes) {
        QCOMPARE(f.entry(), (QStringList{"Leuchte", "L-1", "", "20,00", "  7,00 %"}));
        QCOMPARE(f.texts()->texts().first(), QStringLiteral("LED"));
    } else {
        QCOMPARE(f.entry(), before);
    }
}

void TestArtikelEintragen::search()
{
    Fixture f;
    QCOMPARE(f.resultNames(), (QStringList{"Schrank", "Schraube", "Leuchte"}));
    auto *groups = control<QComboBox>(f.w(), "cboArtikelgruppe");
    QCOMPARE(groups->itemText(0), QStringLiteral("keine Artikelgruppe"));
    QCOMPARE(groups->count(), 3);
    groups->setCurrentText(QStringLiteral("Möbel"));
    Q_EMIT groups->activated(groups->currentIndex());
    QCOMPARE(f.resultNames(), QStringList{"Schrank"});
    type(f.w(), "edtSuche", "L-");
    QCOMPARE(f.resultNames(), QStringList());
    groups->setCurrentIndex(0);
    Q_EMIT groups->activated(0);
    QCOMPARE(f.resultNames(), QStringList());
    // Switching the tab alone does not search; the next key does.
    control<QTabBar>(f.w(), "tabSuche")->setCurrentIndex(1);
    QCOMPARE(f.resultNames(), QStringList());
    QTest::keyClick(edit(f.w(), "edtSuche"), Qt::Key_1);
    QCOMPARE(f.resultNames(), QStringList{"Leuchte"});
    // A new search chooses no row; the keyboard chooses one as a click does.
    QVERIFY(!button(f.w(), "btnListeUebernehmen")->isEnabled());
    f.results()->setFocus();
    QTest::keyClick(f.results(), Qt::Key_Down);
    QVERIFY(button(f.w(), "btnListeUebernehmen")->isEnabled());
    QVERIFY(button(f.w(), "btnArtikelAendern")->isEnabled());
}

void TestArtikelEintragen::insertIntoCatalogue()
{
    Fixture f;
    f.typeLine("Regal", "", "89,9");
    type(f.w(), "edtArtikelNr", "R-1");
    f.vat()->setCurrentText(QStringLiteral("7"));
    f.texts()->setTexts({"Buche", "", "hell"});
    QStringList preset;
    f.w().setCatalogueRunner([&](TfrmArtikelKlein &k) {
        QCOMPARE(k.windowTitle(), QStringLiteral("Artikelverwaltung"));
        QCOMPARE(button(k, "btnSpeichern")->text(), QStringLiteral("Artikel &eintragen"));
        preset = {edit(k, "edtBezeichnung")->text(), edit(k, "edtArtikelnummer")->text(),
                  edit(k, "edtEinzelpreisNetto")->text(), control<QComboBox>(k, "cboMwSt")->currentText(),
                  edit(k, "edtBestand")->text()};
        QVERIFY(!edit(k, "edtBestand")->isEnabled());
        control<QComboBox>(k, "cboArtikelgruppe")->setCurrentText(QStringLiteral("Möbel"));
        control<TextLinesGrid>(k, "grdZusatztext")->setTexts({"Buche", "", "hell", "stapelbar"});
        QVERIFY(click(k, "btnSpeichern"));
    });
    QVERIFY(click(f.w(), "btnInDatenbank"));
    QCOMPARE(preset, (QStringList{"Regal", "R-1", "89,9", "7", ""}));
    QCOMPARE(f.env.column("SELECT Bez||'/'||ArtikelNr||'/'||ArtikelGruppe||'/'||Einzelpreis||'/'||MwSt FROM artikel "
                          "WHERE Bez='Regal'"),
             QStringList{"Regal/R-1/Möbel/89.9/  7,00 %"});
    QCOMPARE(f.env.column("SELECT Text FROM artikeltext WHERE IDA=(SELECT ID FROM artikel WHERE Bez='Regal') "
                          "ORDER BY ID"),
             (QStringList{"Buche", "hell", "stapelbar"}));
    // The list shows the new article; the document is untouched.
    QVERIFY(f.resultNames().contains("Regal"));
    QCOMPARE(f.rows(), QStringList{""});
    QVERIFY(!f.w().changed());
}

void TestArtikelEintragen::similarNameQuestions_data()
{
    QTest::addColumn<QList<int>>("answers"); // Dialogs::Answer per question
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("inserted");
    const int Y = int(Dialogs::Answer::Yes), N = int(Dialogs::Answer::No);
    QTest::newRow("No at the first") << QList<int>{N} << 1 << false;
    QTest::newRow("Yes, then No") << QList<int>{Y, N} << 2 << false;
    QTest::newRow("Yes to both") << QList<int>{Y, Y} << 2 << true;
}

void TestArtikelEintragen::similarNameQuestions()
{
    QFETCH(QList<int>, answers);
    QFETCH(int, questions);
    QFETCH(bool, inserted);
    Fixture f(quotation(), false);
    ArticleStore(f.env.db()).insert({"Schrank", "", "", Amount::fromText("5"), ""}, {});
    ArticleStore(f.env.db()).insert({"Schrankwand", "", "", Amount::fromText("5"), ""}, {});
    for (int a : answers)
        f.env.dialogs().answer(Dialogs::Answer(a));
    f.typeLine("Schrank groß", "", "499");
    f.w().setCatalogueRunner([](TfrmArtikelKlein &k) { QVERIFY(click(k, "btnSpeichern")); });
    QVERIFY(click(f.w(), "btnInDatenbank"));
    const QStringList asked = f.env.dialogs().questions();
    QCOMPARE(asked.size(), questions);
    QCOMPARE(asked.first(), QStringLiteral("Hinweis: Es steht ein Artikel \"Schrank\" in der Artikeldatenbank. \n\n"
                                           "Wollen sie den neuen Artikel \"Schrank groß\" in die Artikeldatenbank neu "
                                           "aufnehmen ?"));
    if (questions > 1)
        QVERIFY(asked[1].contains("\"Schrankwand\""));
    QCOMPARE(f.env.scalar("SELECT COUNT(*) FROM artikel WHERE Bez='Schrank groß'"), inserted ? "1" : "0");
}

void TestArtikelEintragen::changeCatalogueArticle()
{
    Fixture f;
    clickRow(f.results(), f.resultRow("Schrank"));
    f.w().setCatalogueRunner([&](TfrmArtikelKlein &k) {
        QCOMPARE(button(k, "btnSpeichern")->text(), QStringLiteral("Artikel ä&ndern"));
        QCOMPARE(edit(k, "edtEinzelpreisNetto")->text(), QStringLiteral("1.234,50"));
        QCOMPARE(control<QComboBox>(k, "cboArtikelgruppe")->currentText(), QStringLiteral("Möbel"));
        auto *grid = control<TextLinesGrid>(k, "grdZusatztext");
        QList<ArticleTextRow> lines = grid->lines();
        QCOMPARE(lines.value(0).text, QStringLiteral("aus Eiche"));
        lines[0].text = QStringLiteral("aus Kirsche");
        lines[1].text.clear();
        lines[2].text = QStringLiteral("mit Schloss");
        grid->setLines(lines);
        type(k, "edtBezeichnung", "Schrank 'Hamburg'");
        QVERIFY(click(k, "btnSpeichern"));
    });
    QVERIFY(click(f.w(), "btnArtikelAendern"));
    QCOMPARE(f.env.column(QStringLiteral("SELECT Bez||'/'||Einzelpreis||'/'||ArtikelGruppe FROM artikel WHERE ID=%1")
                              .arg(f.schrank)),
             QStringList{"Schrank 'Hamburg'/1234.5/Möbel"});
    QCOMPARE(f.env.column(QStringLiteral("SELECT Text FROM artikeltext WHERE IDA=%1 ORDER BY ID").arg(f.schrank)),
             (QStringList{"aus Kirsche", "mit Schloss"}));
    QVERIFY(f.resultNames().contains("Schrank 'Hamburg'"));

    // The group confirmed last presets the next new article.
    f.typeLine("Bank", "", "10");
    QString group;
    f.w().setCatalogueRunner([&](TfrmArtikelKlein &k) {
        group = control<QComboBox>(k, "cboArtikelgruppe")->currentText();
        QVERIFY(click(k, "btnAbbrechen"));
    });
    QVERIFY(click(f.w(), "btnInDatenbank"));
    QCOMPARE(group, QStringLiteral("Möbel"));
    QCOMPARE(f.env.scalar("SELECT COUNT(*) FROM artikel WHERE Bez='Bank'"), QStringLiteral("0"));
}

void TestArtikelEintragen::deleteCatalogueArticle()
{
    Fixture f;
    clickRow(f.results(), f.resultRow("Schrank"));
    f.env.dialogs().answer(Dialogs::Answer::No);
    QVERIFY(click(f.w(), "btnArtikelLoeschen"));
    QCOMPARE(f.env.scalar("SELECT COUNT(*) FROM artikel"), QStringLiteral("3"));
    clickRow(f.results(), f.resultRow("Schrank"));
    f.env.dialogs().answer(Dialogs::Answer::Yes);
    QVERIFY(click(f.w(), "btnArtikelLoeschen"));
    QCOMPARE(f.env.dialogs().questions(), (QStringList(2, "Wollen Sie den Artikel wirklich löschen?")));
    QCOMPARE(f.env.scalar(QStringLiteral("SELECT COUNT(*) FROM artikel WHERE ID=%1").arg(f.schrank)), "0");
    QCOMPARE(f.env.scalar(QStringLiteral("SELECT COUNT(*) FROM artikeltext WHERE IDA=%1").arg(f.schrank)), "0");
    QCOMPARE(f.env.scalar("SELECT COUNT(*) FROM artikeltext"), QStringLiteral("1"));
    QCOMPARE(f.resultNames(), (QStringList{"Schraube", "Leuchte"}));
    QVERIFY(!button(f.w(), "btnArtikelLoeschen")->isEnabled());
}

void TestArtikelEintragen::enterIntoDocumentAndCatalogue()
{
    Fixture f(quotation(), false);
    f.typeLine("Hocker", "4", "35");
    f.texts()->setTexts({"dreibeinig"});
    f.w().setCatalogueRunner([](TfrmArtikelKlein &k) { QVERIFY(click(k, "btnSpeichern")); });
    QVERIFY(click(f.w(), "btnVorgangUndDatenbank"));
    QCOMPARE(f.rows(), (QStringList{"1||Hocker|4|35,00|19,00 %", "||dreibeinig"}));
    QCOMPARE(f.env.column("SELECT Bez||'/'||MwSt FROM artikel"), QStringList{"Hocker/19,00 %"});
    QCOMPARE(f.env.column("SELECT Einzelpreis FROM artikel"), QStringList{"35"});
    QCOMPARE(f.env.column("SELECT Text FROM artikeltext"), QStringList{"dreibeinig"});
    QCOMPARE(f.env.dialogs().messages(), QStringList{"Artikel eingetragen"});
    QVERIFY(f.w().changed());
}

void TestArtikelEintragen::okAndClosing()
{
    Fixture f;
    // A name without quantity asks; Cancel stays in the window.
    type(f.w(), "edtBezeichnung", "Kiste");
    type(f.w(), "edtEinzelpreis", "3");
    f.env.dialogs().answer(Dialogs::Answer::Cancel);
    QVERIFY(click(f.w(), "btnOk"));
    QCOMPARE(f.env.dialogs().questions(), QStringList{"Artikel eintragen wirklich beenden?"});
    QVERIFY(f.w().isVisible());
    QCOMPARE(QApplication::focusWidget(), edit(f.w(), "edtAnzahl"));

    // With the quantity the line is entered first, then the window closes.
    type(f.w(), "edtAnzahl", "2");
    QVERIFY(click(f.w(), "btnOk"));
    QVERIFY(!f.w().isVisible());
    QCOMPARE(f.rows(), QStringList{"1||Kiste|2|3,00|19,00 %"});
    QCOMPARE(f.w().document().totals.gross(), QStringLiteral("7,14 €"));
    QCOMPARE(f.env.dialogs().questions().size(), 1);
}

void TestArtikelEintragen::windowPosition()
{
    Fixture f;
    QCOMPARE(f.w().pos(), QPoint(0, 0)); // nothing stored yet
    f.w().move(120, 80);
    f.w().reject();
    UserSettings settings;
    QCOMPARE(settings.readInt("ArtikelLeft"), std::optional<int>(120));
    QCOMPARE(settings.readInt("ArtikelTop"), std::optional<int>(80));
    f.w().move(0, 0);
    f.w().prepare(quotation(), QStringLiteral("19,00 %"));
    QCOMPARE(f.w().pos(), QPoint(120, 80));
}

QTEST_MAIN(TestArtikelEintragen)
#include "tst_artikeleintragen.moc"
