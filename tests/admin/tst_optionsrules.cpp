#include "Errors.h"
#include "OptionsRules.h"
#include "SellerData.h"

#include <QtTest>

using namespace OptionsRules;

// What the fields of the options accept, and the texts shown for stored values.
class TestOptionsRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void typedValues_data();
    void typedValues();
    void shownValues();
    void dunningPreview_data();
    void dunningPreview();
    void overlongTemplateLines();
    void vatId_data();
    void vatId();
};

namespace {

enum Field { Rate, StartNumber, LeftMargin, TopMargin };

// The value a field stores, or the message that refuses the text.
QString typed(int field, const QString &text)
{
    try {
        switch (field) {
        case Rate: {
            const auto r = typedRate(text);
            return r ? r->toSqlText() : QStringLiteral("(leer)");
        }
        case StartNumber: return startNumberToStore(QStringLiteral("Rechnung"), text);
        case LeftMargin: {
            const auto m = typedMargin(QStringLiteral("Linker Rand"), text, LeftMin, LeftMax);
            return m ? QString::number(*m) : QStringLiteral("(leer)");
        }
        default: {
            const auto m = typedMargin(QStringLiteral("Oberer Rand"), text, TopMin, TopMax);
            return m ? QString::number(*m) : QStringLiteral("(leer)");
        }
        }
    } catch (const ConversionError &e) {
        return e.message();
    }
}

} // namespace

void TestOptionsRules::typedValues_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result"); // the stored value, or the start of the message

    QTest::newRow("rate 19") << int(Rate) << "19" << "19";
    QTest::newRow("rate 7,5") << int(Rate) << " 7,5 " << "7.5";
    QTest::newRow("rate empty") << int(Rate) << "" << "(leer)";
    QTest::newRow("rate 7,125: three decimals")
        << int(Rate) << "7,125" << "\"USt. Satz\": Bitte höchstens zwei Nachkommastellen eingeben. Keine Speicherung.";
    QTest::newRow("rate 7.5: decimal point")
        << int(Rate) << "7.5"
        << "\"USt. Satz\": \"7.5\" ist kein gültiger Steuersatz. Das Dezimaltrennzeichen ist das Komma.";
    QTest::newRow("rate 101") << int(Rate) << "101" << "\"USt. Satz\": Der Steuersatz muss zwischen 0 und 100 liegen.";
    QTest::newRow("rate -7") << int(Rate) << "-7" << "\"USt. Satz\": Der Steuersatz darf nicht negativ sein.";
    QTest::newRow("start number") << int(StartNumber) << "5000" << "5000";
    QTest::newRow("start number empty: 1") << int(StartNumber) << "  " << "1";
    QTest::newRow("start number 0: 1") << int(StartNumber) << "000" << "1";
    QTest::newRow("start number with letters")
        << int(StartNumber) << "12a" << "\"Rechnung\": \"12a\" ist keine gültige Zahl. Bitte nur Ziffern eingeben.";
    QTest::newRow("start number too long") << int(StartNumber) << "1234567890" << "\"Rechnung\": \"1234567890\" ist zu groß.";
    QTest::newRow("left margin 30 mm") << int(LeftMargin) << "30" << "300";
    QTest::newRow("left margin 12,5 mm") << int(LeftMargin) << "12,5" << "125";
    QTest::newRow("left margin hundredths")
        << int(LeftMargin) << "12,55" << "\"Linker Rand\": Bitte höchstens eine Nachkommastelle eingeben.";
    QTest::newRow("left margin beyond 50 mm")
        << int(LeftMargin) << "51" << "\"Linker Rand\": Bitte einen Wert von 0 bis 50 mm eingeben.";
    QTest::newRow("left margin text") << int(LeftMargin) << "breit" << "\"Linker Rand\": \"breit\" ist keine gültige Anzahl.";
    QTest::newRow("top margin below 25 mm")
        << int(TopMargin) << "20" << "\"Oberer Rand\": Bitte einen Wert von 25 bis 75 mm eingeben.";
    QTest::newRow("top margin 75 mm") << int(TopMargin) << "75" << "750";
}

void TestOptionsRules::typedValues()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, result);
    const QString got = typed(field, text);
    QVERIFY2(got.startsWith(result), qPrintable(got));
    if (got != result)
        QVERIFY2(got.endsWith(" Keine Speicherung."), qPrintable(got));
}

void TestOptionsRules::shownValues()
{
    QCOMPARE(duplicateRateMessage(Amount::fromText("7")), "Steuersatz 7.00 % ist schon vorhanden");
    QCOMPARE(rateFieldText(Amount::fromText("19")), "19,00");
    // Slider values in tenths of a millimetre; the defaults 200/100 are 25 mm and 45 mm.
    QCOMPARE(QStringList({marginText(leftSliderOf(200)), marginText(topSliderOf(100)), marginText(255),
                          marginText(0), marginText(500)}),
             QStringList({"25", "45", "26", "0", "50"}));
    QCOMPARE(shLeftOf(300), 250);
    QCOMPARE(shTopOf(topSliderOf(-37)), -37);
    const QStringList grades = sizeGradeEntries();
    QCOMPARE(grades.size(), 11);
    QCOMPARE(QStringList({grades[0], grades[5], grades[7], grades[10]}),
             QStringList({"Schriftgrad -5", "Schriftgrad  0", "Schriftgrad +2", "Schriftgrad +5"}));
    QCOMPARE(QStringList({styleText(true, true), styleText(true, false), styleText(false, true), styleText(false, false)}),
             QStringList({"fsBold, fsItalic", "fsBold", "fsItalic", ""}));
    for (const QString &style : QStringList{"fsBold, fsItalic", "fsBold", "fsItalic", ""})
        QCOMPARE(styleText(styleIsBold(style), styleIsItalic(style)), style);
    QVERIFY(!styleIsBold("fsUnderline") && !styleIsItalic("fsUnderline"));
    QVERIFY(isZeroNumber("0") && isZeroNumber("000") && !isZeroNumber("10") && !isZeroNumber(""));
}

void TestOptionsRules::dunningPreview_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("preview");
    QTest::newRow("salutation after Sehr") << "Sehr [SAnrede]" << "Sehr Sehr geehrte Frau Mustermann,";
    QTest::newRow("any case") << "[rnr] [RNR] [RNr]" << "000001 000001 000001";
    QTest::newRow("invoice") << "über [brutto] vom [Datum]" << "über 1336,54 € vom 29.07.2003";
    QTest::newRow("names") << "[Titel] [VName] [NName], [Anrede2]" << "Dr. Ines Mustermann, Frau";
    QTest::newRow("salutation parts") << "Sehr [anrede1] [ANREDE2] [NName]," << "Sehr geehrte Frau Frau Mustermann,";
    QTest::newRow("no placeholder") << "Mit freundlichen Grüßen [Unbekannt]" << "Mit freundlichen Grüßen [Unbekannt]";
}

void TestOptionsRules::dunningPreview()
{
    QFETCH(QString, line);
    QFETCH(QString, preview);
    QCOMPARE(previewLines({line, QString()}), QStringList({preview, QString()}));
}

void TestOptionsRules::overlongTemplateLines()
{
    // Lines beyond the 25th hold no text the template can keep.
    QStringList lines(27, QString());
    QVERIFY(linesBeyondLimit(lines).isEmpty());
    lines[26] = "zu viel";
    QCOMPARE(linesBeyondLimit(lines), QList<int>{27});

    // The longest line of "a" that fits the printed letter at the normal font scale
    // no longer fits with the largest scale, and a filled-in placeholder counts
    // with its value.
    int fitting = 1;
    while (overlongLines({QString(fitting + 1, 'a')}, 0).isEmpty())
        ++fitting;
    QVERIFY2(fitting > 60 && fitting < 200, qPrintable(QString::number(fitting)));
    QCOMPARE(overlongLines({"kurz", QString(fitting, 'a'), QString(fitting + 1, 'a')}, 0), QList<int>{3});
    QCOMPARE(overlongLines({QString(fitting, 'a')}, 200), QList<int>{1});
    QCOMPARE(overlongLines({QString(fitting - 20, 'a') + "[SAnrede]"}, 0), QList<int>{1});
    QVERIFY(overlongMessage({3, 7}).startsWith("Zeilen 3 und 7 der Vorlage sind breiter"));
}

void TestOptionsRules::vatId_data()
{
    QTest::addColumn<QString>("vatId");
    QTest::addColumn<int>("state");
    QTest::newRow("valid") << "DE123456788" << int(VatIdState::Valid);
    QTest::newRow("valid, blanks and small letters") << " de 136 695 976" << int(VatIdState::Valid);
    QTest::newRow("wrong check digit") << "DE123456789" << int(VatIdState::BadCheckDigit);
    QTest::newRow("eight digits") << "DE12345678" << int(VatIdState::BadForm);
    QTest::newRow("not German") << "ATU12345678" << int(VatIdState::BadForm);
    QTest::newRow("empty") << "  " << int(VatIdState::Empty);
}

void TestOptionsRules::vatId()
{
    QFETCH(QString, vatId);
    QFETCH(int, state);
    QCOMPARE(int(checkVatId(vatId)), state);
    SellerData seller;
    seller.vatId = vatId;
    const QString problems = sellerDataProblems(seller);
    QCOMPARE(problems.isEmpty(), state == int(VatIdState::Valid) || state == int(VatIdState::Empty));
    // A wrong IBAN is named as well; both are stored all the same.
    seller.iban = "DE02 1203 0000 0000 2020 52";
    const QStringList paragraphs = sellerDataProblems(seller).split("\n\n");
    QCOMPARE(paragraphs.size(), problems.isEmpty() ? 2 : 3);
    QVERIFY(paragraphs.value(paragraphs.size() - 2).startsWith("Die IBAN \"DE02 1203 0000 0000 2020 52\" ist ungültig"));
    QCOMPARE(paragraphs.last(), "Die Firmendaten wurden trotzdem gespeichert.");
}

QTEST_MAIN(TestOptionsRules)
#include "tst_optionsrules.moc"
