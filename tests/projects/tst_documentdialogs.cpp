#include "DialogDriver.h"
#include "DocumentFixtures.h"
#include "TestEnv.h"
#include "Totals.h"
#include "TfrmRabatt.h"
#include "TfrmSconto.h"
#include "TfrmZusatzText.h"

#include <QCheckBox>
#include <QtTest>

namespace {

// 100,00 at 19 % and 20,00 at 7 %: the rate table holds 7 and 19.
const QStringList twoLines = {"1||Schrank|1|100,00|19,00 %", "||aus Eiche", "2||Lampe|2|10,00|  7,00 %"};

Document documentOf(DocumentKind kind, const QStringList &rows = twoLines)
{
    Document d(kind);
    d.lines = linesFrom(rows);
    return d;
}

QStringList totalsOf(const Document &d)
{
    return QStringList{d.totals.net()} + d.totals.vatLines() + QStringList{d.totals.gross()};
}

// The ztext templates of quotation and invoice, with known lines and styles.
void setTemplates(TestEnv &env)
{
    const char *rows[][4] = {{"A", "a", "Angebot eins", "fsBold"},
                             {"A", "b", "Angebot zwei", ""},
                             {"A", "c", "Angebot drei", "fsItalic"},
                             {"A", "d", "Angebot vier", "fsBold, fsItalic"},
                             {"R", "a", "Rechnung eins", ""},
                             {"R", "b", "Rechnung zwei", "fsUnderline"},
                             {"R", "c", "", ""},
                             {"R", "d", "Rechnung vier", "fsItalic"}};
    for (const auto &r : rows)
        env.exec(QStringLiteral("UPDATE ztext SET Text='%1', Style='%2' WHERE Firma=1 AND Art='%3' AND X='%4'")
                     .arg(QString::fromUtf8(r[2]), QString::fromUtf8(r[3]), QString::fromUtf8(r[0]),
                          QString::fromUtf8(r[1])));
}

// The four lines of the dialog as "text|FK" (F bold, K italic ticked).
QStringList shownLines(TfrmZusatzText &dialog)
{
    QStringList out;
    for (int i = 1; i <= 4; ++i) {
        const QByteArray n = QByteArray::number(i);
        QString marks;
        if (control<QCheckBox>(dialog, "chkFett" + n)->isChecked())
            marks += QLatin1Char('F');
        if (control<QCheckBox>(dialog, "chkKursiv" + n)->isChecked())
            marks += QLatin1Char('K');
        out << edit(dialog, "edtZeile" + n)->text() + QLatin1Char('|') + marks;
    }
    return out;
}

QStringList storedLines(const Document &d)
{
    QStringList out;
    for (const AdditionalTextLine &l : d.texts)
        out << l.text + QLatin1Char('|') + l.style;
    return out;
}

} // namespace

class TestDocumentDialogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void discountWaitsForAText();
    void discountEnterChangeRemove();
    void discountChangeWithEmptyPercent();
    void discountInTheMiddleMovesLast();
    void discountCancel();
    void skontoOpening_data();
    void skontoOpening();
    void skontoButtons_data();
    void skontoButtons();
    void additionalTextOpening_data();
    void additionalTextOpening();
    void additionalTextTemplateChoice();
    void additionalTextStyles();
};

void TestDocumentDialogs::discountWaitsForAText()
{
    TestEnv env;
    TfrmRabatt dialog(env.state());
    dialog.prepare(documentOf(DocumentKind::Angebot), QString(), QString());
    QVERIFY(!button(dialog, "btnEintragen")->isEnabled());
    QVERIFY(!button(dialog, "btnAendern")->isEnabled());
    QVERIFY(!button(dialog, "btnLoeschen")->isEnabled());
    type(dialog, "edtText", "Treue");
    QVERIFY(button(dialog, "btnEintragen")->isEnabled());
    type(dialog, "edtText", "");
    QVERIFY(!button(dialog, "btnEintragen")->isEnabled());
}

void TestDocumentDialogs::discountEnterChangeRemove()
{
    TestEnv env;
    Document doc = documentOf(DocumentKind::Rechnung);

    // Enter the project's default discount.
    {
        TfrmRabatt dialog(env.state());
        dialog.prepare(doc, QStringLiteral("Treuerabatt"), QStringLiteral("10"));
        QCOMPARE(edit(dialog, "edtText")->text(), QStringLiteral("Treuerabatt"));
        QVERIFY(click(dialog, "btnEintragen"));
        QVERIFY(dialog.changed());
        doc = dialog.document();
    }
    QCOMPARE(rowsOf(doc.lines), (QStringList(twoLines) << "3||Treuerabatt||10,00 %||10,00"));
    QCOMPARE(doc.lines.cell(4, LineList::Betrag), QStringLiteral("-12,00"));
    // 120,00 less 10 %: 108,00; VAT 7 % of 20,00 and 19 % of 100,00, each less 10 %.
    QCOMPARE(totalsOf(doc), (QStringList{"108,00 €", "1,26 €   (7,00 %)", "17,10 € (19,00 %)", "126,36 €"}));
    QCOMPARE(doc.lines.captions(doc.skontoPercent).discount, QStringLiteral("&Rabatt 10,00 %"));

    // Change it: the percentage stays as typed.
    {
        TfrmRabatt dialog(env.state());
        dialog.prepare(doc, QStringLiteral("anderer"), QStringLiteral("3"));
        QCOMPARE(edit(dialog, "edtText")->text(), QStringLiteral("Treuerabatt"));
        QCOMPARE(edit(dialog, "edtProzent")->text(), QStringLiteral("10,00"));
        QVERIFY(!button(dialog, "btnEintragen")->isEnabled());
        type(dialog, "edtText", "Sonderrabatt");
        type(dialog, "edtProzent", "7,5");
        QVERIFY(click(dialog, "btnAendern"));
        doc = dialog.document();
    }
    QCOMPARE(rowsOf(doc.lines).last(), QStringLiteral("3||Sonderrabatt||7,5 %||7,5"));
    // 120,00 less 7,5 %: 111,00; 19 % VAT 17,575 and 7 % VAT 1,295 round half to even.
    QCOMPARE(totalsOf(doc), (QStringList{"111,00 €", "1,30 €   (7,00 %)", "17,58 € (19,00 %)", "129,88 €"}));
    QCOMPARE(doc.lines.captions(doc.skontoPercent).discount, QStringLiteral("&Rabatt 7,5 %"));

    // Remove it.
    {
        TfrmRabatt dialog(env.state());
        dialog.prepare(doc, QString(), QString());
        QVERIFY(click(dialog, "btnLoeschen"));
        QVERIFY(dialog.changed());
        doc = dialog.document();
    }
    QCOMPARE(rowsOf(doc.lines), twoLines);
    QCOMPARE(totalsOf(doc), (QStringList{"120,00 €", "1,40 €   (7,00 %)", "19,00 € (19,00 %)", "140,40 €"}));
    QCOMPARE(doc.lines.captions(doc.skontoPercent).discount, QStringLiteral("&Rabatt"));
}

void TestDocumentDialogs::discountChangeWithEmptyPercent()
{
    TestEnv env;
    TfrmRabatt dialog(env.state());
    dialog.prepare(documentOf(DocumentKind::Angebot, {"1||A|1|50,00|19,00 %", "2||Rabatt||5,00 %||5,00"}),
                   QString(), QString());
    type(dialog, "edtProzent", "");
    QVERIFY(click(dialog, "btnAendern"));
    QCOMPARE(rowsOf(dialog.document().lines).last(), QStringLiteral("2||Rabatt||0 %||0"));
    QCOMPARE(dialog.document().totals.gross(), QStringLiteral("59,50 €"));
    QCOMPARE(env.dialogs().messages(), QStringList());
}

void TestDocumentDialogs::discountInTheMiddleMovesLast()
{
    TestEnv env;
    TfrmRabatt dialog(env.state());
    dialog.prepare(documentOf(DocumentKind::Ablage, {"1||A|1|100,00|19,00 %", "2||Rabatt||10,00 %||10,00",
                                                      "3||B|1|50,00|19,00 %"}),
                   QString(), QString());
    QCOMPARE(edit(dialog, "edtProzent")->text(), QStringLiteral("10,00"));
    type(dialog, "edtProzent", "20");
    QVERIFY(click(dialog, "btnAendern"));
    QCOMPARE(rowsOf(dialog.document().lines),
             (QStringList{"1||A|1|100,00|19,00 %", "2||B|1|50,00|19,00 %", "3||Rabatt||20 %||20"}));
    QCOMPARE(dialog.document().totals.net(), QStringLiteral("120,00 €"));
}

void TestDocumentDialogs::discountCancel()
{
    TestEnv env;
    TfrmRabatt dialog(env.state());
    Document doc = documentOf(DocumentKind::Angebot);
    dialog.prepare(doc, QStringLiteral("Treuerabatt"), QStringLiteral("10"));
    QVERIFY(click(dialog, "btnAbbrechen"));
    QVERIFY(!dialog.changed());
    QCOMPARE(rowsOf(dialog.document().lines), twoLines);
    // Closing computes the totals in any case.
    QCOMPARE(dialog.document().totals.gross(), QStringLiteral("140,40 €"));
}

void TestDocumentDialogs::skontoOpening_data()
{
    QTest::addColumn<QString>("docText");
    QTest::addColumn<QString>("docPercent");
    QTest::addColumn<QString>("shownText");
    QTest::addColumn<QString>("shownPercent");
    QTest::newRow("document without Skonto shows the project's") << "" << "" << "binnen 10 Tagen" << "3";
    QTest::newRow("document's own Skonto") << "sofort" << "2,00" << "sofort" << "2,00";
    QTest::newRow("text alone counts as own") << "sofort" << "" << "sofort" << "";
}

void TestDocumentDialogs::skontoOpening()
{
    QFETCH(QString, docText);
    QFETCH(QString, docPercent);
    QFETCH(QString, shownText);
    QFETCH(QString, shownPercent);
    TestEnv env;
    Document doc = documentOf(DocumentKind::Rechnung);
    doc.skontoText = docText;
    doc.skontoPercent = docPercent;
    TfrmSconto dialog(env.state());
    dialog.prepare(doc, QStringLiteral("binnen 10 Tagen"), QStringLiteral("3"));
    QCOMPARE(edit(dialog, "edtText")->text(), shownText);
    QCOMPARE(edit(dialog, "edtProzent")->text(), shownPercent);
    QCOMPARE(edit(dialog, "edtSkontotext")->text(), shownPercent + " % " + shownText + ". Entspricht xxx,xx €");
    // Abbrechen leaves the document as it was.
    QVERIFY(click(dialog, "btnAbbrechen"));
    QVERIFY(!dialog.changed());
    QCOMPARE(dialog.document().skontoText, docText);
    QCOMPARE(dialog.document().skontoPercent, docPercent);
}

void TestDocumentDialogs::skontoButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("percent");
    QTest::addColumn<QString>("storedText");
    QTest::addColumn<QString>("storedPercent");
    QTest::addColumn<QString>("caption");
    QTest::newRow("enter") << "btnEintragen" << "2" << "bei Zahlung binnen 8 Tagen" << "2,00" << "&Skonto 2,00 %";
    QTest::newRow("change does the same") << "btnAendern" << "2,5" << "bei Zahlung binnen 8 Tagen" << "2,50"
                                          << "&Skonto 2,50 %";
    QTest::newRow("0 % is no Skonto") << "btnEintragen" << "0" << "bei Zahlung binnen 8 Tagen" << "" << "&Skonto";
    QTest::newRow("empty is no Skonto") << "btnEintragen" << "" << "bei Zahlung binnen 8 Tagen" << "" << "&Skonto";
    QTest::newRow("remove keeps the text") << "btnLoeschen" << "2" << "alt" << "" << "&Skonto";
}

void TestDocumentDialogs::skontoButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, percent);
    QFETCH(QString, storedText);
    QFETCH(QString, storedPercent);
    QFETCH(QString, caption);
    TestEnv env;
    Document doc = documentOf(DocumentKind::Rechnung);
    doc.skontoText = QStringLiteral("alt");
    doc.skontoPercent = QStringLiteral("3,00");
    Totals::compute(doc.lines, doc.totals, Totals::readRates(env.db()));
    const TotalsList totals = doc.totals;
    TfrmSconto dialog(env.state());
    dialog.prepare(doc, QString(), QString());
    type(dialog, "edtText", "bei Zahlung binnen 8 Tagen");
    type(dialog, "edtProzent", percent);
    QVERIFY(click(dialog, button.toLatin1().constData()));
    QVERIFY(dialog.changed());
    QCOMPARE(dialog.document().skontoText, storedText);
    QCOMPARE(dialog.document().skontoPercent, storedPercent);
    QCOMPARE(dialog.document().lines.captions(dialog.document().skontoPercent).skonto, caption);
    // The Skonto is a note; the totals stay.
    QCOMPARE(dialog.document().totals, totals);
}

void TestDocumentDialogs::additionalTextOpening_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("withText");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("shown");
    const QStringList angebot = {"Angebot eins|F", "Angebot zwei|", "Angebot drei|K", "Angebot vier|FK"};
    QTest::newRow("quotation without text gets its template")
        << int(DocumentKind::Angebot) << false << "Angebot" << angebot;
    QTest::newRow("working document uses the quotation's")
        << int(DocumentKind::Ablage) << false << "Angebot" << angebot;
    QTest::newRow("invoice keeps its own text")
        << int(DocumentKind::Rechnung) << true << "Rechnung"
        << QStringList{"Zeile 1|K", "|F", "Zeile 3|FK", "Zeile 4|F"};
    QTest::newRow("credit note") << int(DocumentKind::Gutschrift) << true << "Gutschrift"
                                 << QStringList{"Zeile 1|K", "|F", "Zeile 3|FK", "Zeile 4|F"};
}

void TestDocumentDialogs::additionalTextOpening()
{
    QFETCH(int, kind);
    QFETCH(bool, withText);
    QFETCH(QString, entry);
    QFETCH(QStringList, shown);
    TestEnv env;
    setTemplates(env);
    Document doc = documentOf(*DocumentKind::fromNumber(kind));
    if (withText)
        doc.texts = {AdditionalTextLine{"Zeile 1", "fsItalic"}, AdditionalTextLine{"", "fsBold"},
                     AdditionalTextLine{"Zeile 3", "fsBold, fsItalic"}, AdditionalTextLine{"Zeile 4", "fsBold"}};
    TfrmZusatzText dialog(env.state());
    dialog.prepare(doc);
    QCOMPARE(control<QComboBox>(dialog, "cboVorlage")->currentText(), entry);
    QCOMPARE(shownLines(dialog), shown);
    QVERIFY(click(dialog, "btnAbbrechen"));
    QVERIFY(!dialog.changed());
    QCOMPARE(dialog.document().texts, doc.texts);
}

void TestDocumentDialogs::additionalTextTemplateChoice()
{
    TestEnv env;
    setTemplates(env);
    Document doc = documentOf(DocumentKind::Angebot);
    TfrmZusatzText dialog(env.state());
    dialog.prepare(doc);
    control<QCheckBox>(dialog, "chkFett2")->setChecked(true);
    control<QComboBox>(dialog, "cboVorlage")->setCurrentText(QStringLiteral("Rechnung"));
    // An empty style clears the marks; a style the program does not know
    // leaves them as they were.
    QCOMPARE(shownLines(dialog), (QStringList{"Rechnung eins|", "Rechnung zwei|F", "|", "Rechnung vier|K"}));
}

void TestDocumentDialogs::additionalTextStyles()
{
    TestEnv env;
    Document doc = documentOf(DocumentKind::Auftrag);
    doc.texts[0] = {QStringLiteral("vorher"), QStringLiteral("fsBold")};
    TfrmZusatzText dialog(env.state());
    dialog.prepare(doc);
    type(dialog, "edtZeile1", "Lieferung frei Haus");
    type(dialog, "edtZeile2", "Zahlbar in 14 Tagen");
    type(dialog, "edtZeile4", "Mit freundlichen Grüßen");
    control<QCheckBox>(dialog, "chkFett1")->setChecked(false);
    control<QCheckBox>(dialog, "chkFett2")->setChecked(true);
    control<QCheckBox>(dialog, "chkKursiv2")->setChecked(true);
    control<QCheckBox>(dialog, "chkKursiv4")->setChecked(true);
    QVERIFY(click(dialog, "btnAendern"));
    QVERIFY(dialog.changed());
    QCOMPARE(storedLines(dialog.document()),
             (QStringList{"Lieferung frei Haus|", "Zahlbar in 14 Tagen|fsBold, fsItalic", "|",
                          "Mit freundlichen Grüßen|fsItalic"}));
    QCOMPARE(dialog.document().textBoxText(),
             QStringLiteral("Lieferung frei Haus\nZahlbar in 14 Tagen\n\nMit freundlichen Grüßen"));
}

QTEST_MAIN(TestDocumentDialogs)
#include "tst_documentdialogs.moc"
