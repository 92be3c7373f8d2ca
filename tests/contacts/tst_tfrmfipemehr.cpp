#include "ContactFixtures.h"
#include "ExtendedDataStore.h"
#include "ExtendedFixtures.h"
#include "PaymentHistoryModel.h"
#include "QueryRows.h"
#include "Settings.h"
#include "TfrmFiPe.h"
#include "TfrmFiPeMehr.h"
#include "WindowSteps.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace Fixtures;
using namespace Steps;
using Answer = Dialogs::Answer;

namespace {

const QString UnsavedClose = QStringLiteral("Daten wurden nicht gesichert. Dialog wirklich Beenden ?");

// Text that arrives without the key filter, as a paste does.
void paste(QObject *root, const char *field, const QString &text)
{
    auto *e = find<QLineEdit>(root, field);
    e->selectAll();
    e->insert(text);
}

QString text(QObject *root, const char *field)
{
    return find<QLineEdit>(root, field)->text();
}

const char *const AllFields[] = {"edtPaymentDays", "edtCashDiscountDays", "edtCashDiscountText", "edtCashDiscount",
                                 "edtDiscountText", "edtDiscount",        "edtVatId",           "edtMaximumAmount",
                                 "edtBankName",     "edtAccountHolder",   "edtAccountNumber",   "edtBankCode",
                                 "edtIban"};

// A stored company (1) and person (2) with the window open on one of them.
struct Opened
{
    TestEnv env;
    TfrmFiPeMehr dlg;
    explicit Opened(bool company, bool grant = true) : dlg(env.state())
    {
        if (grant)
            env.state().grantAll();
        ContactStore contacts(env.state());
        contacts.insertCompany(Fixtures::company(1, QStringLiteral("Müller & Söhne GmbH")));
        PersonRecord p = Fixtures::person(2, QStringLiteral("Eva"), QStringLiteral("Muster"));
        contacts.insertPerson(p);
        dlg.prepare(company, company ? 1 : 2);
    }
    void open()
    {
        dlg.show();
    }
};

} // namespace

class TestFiPeMehr : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void firstSaveInsertsSecondUpdates_data();
    void firstSaveInsertsSecondUpdates();
    void everyFieldRoundTrips();
    void priceGroup_data();
    void priceGroup();
    void storedRateMissingFromTheList();
    void damagedNumbersOpenAndCanBeCorrected_data();
    void damagedNumbersOpenAndCanBeCorrected();
    void refusedInput_data();
    void refusedInput();
    void keyFilters_data();
    void keyFilters();
    void wrongIbanIsStoredWithAWarning();
    void picture();
    void fileThatIsNoPicture();
    void paymentHistory();
    void withoutWritePermission();
    void closingAndOk();
    void contactEditorButton_data();
    void contactEditorButton();
};

void TestFiPeMehr::firstSaveInsertsSecondUpdates_data()
{
    QTest::addColumn<bool>("company");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::newRow("company") << true << "Dr." << "Zahlungsbedingungen von: Müller & Söhne GmbH";
    QTest::newRow("person") << false << "Dr." << "Zahlungsbedingungen von: Dr. Eva Muster";
    QTest::newRow("person without title") << false << "" << "Zahlungsbedingungen von: Eva Muster";
}

void TestFiPeMehr::firstSaveInsertsSecondUpdates()
{
    QFETCH(bool, company);
    QFETCH(QString, title);
    QFETCH(QString, caption);
    Opened w(company);
    w.env.exec(QStringLiteral("UPDATE name SET Titel = '%1'").arg(title));
    w.open();
    TfrmFiPeMehr &dlg = w.dlg;
    const QString table = company ? QStringLiteral("firmamehr") : QStringLiteral("namemehr");
    const QString key = company ? QStringLiteral("IDF") : QStringLiteral("IDN");
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Erweiterte Angaben"));
    // the "&" of the name is doubled, so that it shows and makes no shortcut
    QCOMPARE(find<QGroupBox>(&dlg, "grpPaymentTerms")->title().replace(QStringLiteral("&&"), QStringLiteral("&")), caption);
    // a contact without extended data opens empty and read-only
    for (const char *f : AllFields) {
        QVERIFY2(text(&dlg, f).isEmpty(), f);
        QVERIFY2(find<QLineEdit>(&dlg, f)->isReadOnly(), f);
    }
    QCOMPARE(find<QComboBox>(&dlg, "cboVatRate")->currentIndex(), -1);
    QCOMPARE(find<QComboBox>(&dlg, "cboVatRate")->count(), 2); // the seed rates 7 and 19
    QVERIFY(!find<QRadioButton>(&dlg, "rbDeliveryUnrestricted")->isChecked());
    QVERIFY(!find<QPushButton>(&dlg, "btnSave")->isEnabled());

    click(&dlg, "btnEdit");
    QVERIFY(dlg.isEditable());
    QVERIFY(!find<QPushButton>(&dlg, "btnEdit")->isEnabled());
    type(&dlg, "edtPaymentDays", "30");
    QVERIFY(!dlg.isSaved());
    click(&dlg, "btnSave");
    QCOMPARE(w.env.dialogs().messages(), QStringList{"Daten geändert."});
    QCOMPARE(w.env.column(QStringLiteral("SELECT %1 || '/' || Zahlungsziel || '/' || Lieferbesch FROM %2").arg(key, table)),
             QStringList{QStringLiteral("%1/30/1").arg(company ? 1 : 2)});
    QVERIFY(!dlg.isEditable());
    QVERIFY(dlg.isSaved());
    QVERIFY(find<QRadioButton>(&dlg, "rbDeliveryUnrestricted")->isChecked());

    click(&dlg, "btnEdit");
    type(&dlg, "edtPaymentDays", "14");
    click(&dlg, "btnSave");
    QCOMPARE(w.env.column(QStringLiteral("SELECT %1 || '/' || Zahlungsziel FROM %2").arg(key, table)),
             QStringList{QStringLiteral("%1/14").arg(company ? 1 : 2)});
    QCOMPARE(w.env.scalar("SELECT (SELECT COUNT(*) FROM firmamehr) + (SELECT COUNT(*) FROM namemehr)"),
             QStringLiteral("1"));
}

void TestFiPeMehr::everyFieldRoundTrips()
{
    Opened w(true);
    w.open();
    TfrmFiPeMehr &dlg = w.dlg;
    click(&dlg, "btnEdit");
    const ExtendedData t = typedTerms();
    type(&dlg, "edtPaymentDays", t.zahlungsziel);
    type(&dlg, "edtCashDiscountDays", t.skontoTage);
    type(&dlg, "edtCashDiscountText", t.skontoText);
    type(&dlg, "edtCashDiscount", t.skonto);
    type(&dlg, "edtDiscountText", t.rabattText);
    type(&dlg, "edtDiscount", t.rabatt);
    find<QComboBox>(&dlg, "cboVatRate")->setCurrentText(t.mwSt);
    type(&dlg, "edtVatId", t.uid);
    click(&dlg, "rbDeliveryMaximum");
    type(&dlg, "edtMaximumAmount", t.hoechstwert);
    type(&dlg, "edtBankName", t.kInstitut);
    type(&dlg, "edtAccountHolder", t.kInhaber);
    type(&dlg, "edtAccountNumber", t.konto);
    type(&dlg, "edtBankCode", t.blz);
    type(&dlg, "edtIban", t.iban);
    find<QComboBox>(&dlg, "cboPriceGroup")->setCurrentText(t.preisgruppe);
    click(&dlg, "btnOk"); // saves the unsaved data, then closes
    QVERIFY(!dlg.isVisible());
    QCOMPARE(w.env.dialogs().messages(), QStringList{"Daten geändert."});
    QCOMPARE(allRows(w.env, "SELECT Zahlungsziel, SkontoTage, SkontoText, Skonto, RabattText, Rabatt, Preisgruppe, "
                            "MwSt, UID, Lieferbesch, Hoechstwert, Image, KInstitut, KInhaber, Konto, BLZ, IBAN "
                            "FROM firmamehr WHERE IDF = 1"),
             QStringList{"30/10/Skonto bei Zahlung binnen 10 Tagen/2,5/Händlerrabatt für D'Angelo/0,335/Zwei/19/"
                         "DE123456789/2/1500,5//Volksbank Süd/Müller & Söhne/0532013000/37040044/"
                         "DE89 3704 0044 0532 0130 00"});

    // the next showing reads everything back into the same fields
    dlg.show();
    QCOMPARE(text(&dlg, "edtPaymentDays"), t.zahlungsziel);
    QCOMPARE(text(&dlg, "edtCashDiscountDays"), t.skontoTage);
    QCOMPARE(text(&dlg, "edtCashDiscountText"), t.skontoText);
    QCOMPARE(text(&dlg, "edtCashDiscount"), t.skonto);
    QCOMPARE(text(&dlg, "edtDiscountText"), t.rabattText);
    QCOMPARE(text(&dlg, "edtDiscount"), t.rabatt);
    QCOMPARE(find<QComboBox>(&dlg, "cboVatRate")->currentText(), t.mwSt);
    QCOMPARE(text(&dlg, "edtVatId"), t.uid);
    QVERIFY(find<QRadioButton>(&dlg, "rbDeliveryMaximum")->isChecked());
    QCOMPARE(text(&dlg, "edtMaximumAmount"), t.hoechstwert);
    QCOMPARE(text(&dlg, "edtBankName"), t.kInstitut);
    QCOMPARE(text(&dlg, "edtAccountHolder"), t.kInhaber);
    QCOMPARE(text(&dlg, "edtAccountNumber"), t.konto);
    QCOMPARE(text(&dlg, "edtBankCode"), t.blz);
    QCOMPARE(text(&dlg, "edtIban"), t.iban);
    QCOMPARE(find<QComboBox>(&dlg, "cboPriceGroup")->currentText(), t.preisgruppe);
    QVERIFY(!find<QLabel>(&dlg, "lblIbanProblem")->isVisible());
    QCOMPARE(w.env.dialogs().messages().size(), 1);
}

void TestFiPeMehr::priceGroup_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Eins") << "Eins" << "Eins";
    QTest::newRow("Drei") << "Drei" << "Drei";
    QTest::newRow("unknown") << "Sieben" << "Vier";
    QTest::newRow("empty") << "" << "Vier";
}

void TestFiPeMehr::priceGroup()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    Opened w(true);
    w.env.exec(QStringLiteral("INSERT INTO firmamehr (IDF, Preisgruppe) VALUES (1, '%1')").arg(stored));
    w.open();
    auto *box = find<QComboBox>(&w.dlg, "cboPriceGroup");
    QVERIFY(!box->isVisible());
    QCOMPARE(box->currentText(), shown);
}

void TestFiPeMehr::storedRateMissingFromTheList()
{
    Opened w(false);
    w.env.exec("INSERT INTO namemehr (IDN, MwSt) VALUES (2, 16)");
    w.open();
    auto *box = find<QComboBox>(&w.dlg, "cboVatRate");
    QCOMPARE(w.env.dialogs().texts(ScriptedDialogs::Kind::Warning),
             QStringList{"Achtung! Voreingestellter Steuersatz 16,00 % nicht in der Steuersatzliste!"});
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries << box->itemText(i);
    QCOMPARE(entries, (QStringList{"  7,00 %", "19,00 %", "16,00 %"}));
    QCOMPARE(box->currentText(), QStringLiteral("16,00 %"));
    // saving keeps the rate, and the next showing does not warn again about a rate that is listed
    w.env.exec("UPDATE namemehr SET MwSt = 7");
    w.dlg.Activate();
    QCOMPARE(box->currentText(), QStringLiteral("  7,00 %"));
    QCOMPARE(w.env.dialogs().texts(ScriptedDialogs::Kind::Warning).size(), 1);
}

void TestFiPeMehr::damagedNumbersOpenAndCanBeCorrected_data()
{
    QTest::addColumn<QString>("values");
    QTest::newRow("maximum amount NULL") << "Lieferbesch = '2', Hoechstwert = NULL";
    QTest::newRow("maximum amount empty text") << "Lieferbesch = '2', Hoechstwert = ''";
    QTest::newRow("maximum amount unreadable") << "Lieferbesch = '2', Hoechstwert = 'viel'";
    QTest::newRow("unreadable days and percentages")
        << "Lieferbesch = '2', Zahlungsziel = 'x', SkontoTage = '', Skonto = 'zwei', Rabatt = '', MwSt = 'voll'";
}

// A stored delivery condition with an empty maximum amount (or any other empty or
// unreadable number) shows as an empty field instead of ending the activation.
void TestFiPeMehr::damagedNumbersOpenAndCanBeCorrected()
{
    QFETCH(QString, values);
    // The server's number columns take no text at all: only a missing value can be met there.
    if (TestsOnServer() && values.contains(QLatin1Char('\'')) && !values.endsWith(QLatin1String("NULL")))
        QSKIP("Der Server speichert in Zahlenspalten keinen Text.");
    Opened w(true);
    prepareOpenItems(w.env);
    w.env.exec("INSERT INTO firmamehr (IDF, UID) VALUES (1, 'DE999')");
    w.env.exec(QStringLiteral("UPDATE firmamehr SET %1").arg(values));
    w.open();
    TfrmFiPeMehr &dlg = w.dlg;
    QCOMPARE(w.env.dialogs().messages(), QStringList{});
    QVERIFY(find<QRadioButton>(&dlg, "rbDeliveryMaximum")->isChecked());
    QCOMPARE(text(&dlg, "edtMaximumAmount"), QString());
    QCOMPARE(text(&dlg, "edtVatId"), QStringLiteral("DE999"));
    // the rest of the activation ran
    QCOMPARE(find<QGroupBox>(&dlg, "grpPaymentTerms")->title(),
             QStringLiteral("Zahlungsbedingungen von: Müller && Söhne GmbH"));
    QCOMPARE(dlg.historyModel()->rowCount(), 3);

    click(&dlg, "btnEdit");
    type(&dlg, "edtMaximumAmount", "2.000");
    click(&dlg, "btnSave");
    QCOMPARE(w.env.dialogs().messages(), QStringList{"Daten geändert."});
    QCOMPARE(allRows(w.env, "SELECT Hoechstwert, UID FROM firmamehr"), QStringList{"2000/DE999"});
    QCOMPARE(text(&dlg, "edtMaximumAmount"), QStringLiteral("2.000,00"));
}

void TestFiPeMehr::refusedInput_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message");
    QTest::newRow("amount with dot as decimal point")
        << QByteArray("edtMaximumAmount") << "1.5"
        << "\"Lieferung Höchstwert\": \"1.5\" ist kein gültiger Betrag. Das Dezimaltrennzeichen ist das Komma. "
           "Bitte so eingeben: 1.500,50 oder 1500,50. Keine Speicherung.";
    QTest::newRow("negative amount") << QByteArray("edtMaximumAmount") << "-100,00"
                                     << "\"Lieferung Höchstwert\": Der Betrag darf nicht negativ sein. Keine Speicherung.";
    QTest::newRow("amount as text") << QByteArray("edtMaximumAmount") << "tausend"
                                    << "\"Lieferung Höchstwert\": \"tausend\" ist kein gültiger Betrag. Bitte so "
                                       "eingeben: 1.500,50 oder 1500,50. Keine Speicherung.";
    QTest::newRow("percentage with dot") << QByteArray("edtCashDiscount") << "2.5"
                                         << "\"Skonto %\": \"2.5\" ist kein gültiger Prozentsatz. Das "
                                            "Dezimaltrennzeichen ist das Komma. Bitte so eingeben: 2,5. Keine "
                                            "Speicherung.";
    QTest::newRow("negative percentage") << QByteArray("edtDiscount") << "-3"
                                         << "\"Rabatt %\": Der Prozentsatz darf nicht negativ sein. Keine Speicherung.";
    QTest::newRow("percentage as text") << QByteArray("edtDiscount") << "viel"
                                        << "\"Rabatt %\": \"viel\" ist kein gültiger Prozentsatz. Bitte so eingeben: "
                                           "2,5. Keine Speicherung.";
    QTest::newRow("days as text") << QByteArray("edtPaymentDays") << "vier"
                                  << "\"Netto Zahlungsziel (Tage)\": \"vier\" ist keine gültige Anzahl Tage. Bitte "
                                     "nur Ziffern eingeben. Keine Speicherung.";
}

void TestFiPeMehr::refusedInput()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, input);
    QFETCH(QString, message);
    Opened w(true);
    w.env.exec("INSERT INTO firmamehr (IDF, Zahlungsziel, Skonto, Rabatt, Lieferbesch, Hoechstwert, UID) "
               "VALUES (1, 30, 2, 5, '2', 1000, 'alt')");
    const QStringList before = allRows(w.env, "SELECT Zahlungsziel, Skonto, Rabatt, Hoechstwert, UID FROM firmamehr");
    w.open();
    TfrmFiPeMehr &dlg = w.dlg;
    click(&dlg, "btnEdit");
    type(&dlg, "edtVatId", "neu");
    paste(&dlg, field.constData(), input);
    click(&dlg, "btnSave");
    QCOMPARE(w.env.dialogs().messages(), QStringList{message});
    QCOMPARE(allRows(w.env, "SELECT Zahlungsziel, Skonto, Rabatt, Hoechstwert, UID FROM firmamehr"), before);
    // the user can correct the value: the window stays editable with his input
    QVERIFY(dlg.isEditable());
    QVERIFY(!dlg.isSaved());
    QCOMPARE(text(&dlg, field.constData()), input);
    // OK does not close over a refused value
    w.env.dialogs().clear();
    click(&dlg, "btnOk");
    QVERIFY(dlg.isVisible());
    QCOMPARE(w.env.dialogs().messages(), QStringList{message});
}

void TestFiPeMehr::keyFilters_data()
{
    // Every character typed stays in the field; leaving a number field reports
    // at once what cannot be stored.
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("message"); // empty: accepted without a word
    QTest::newRow("days") << QByteArray("edtPaymentDays") << "30" << "";
    QTest::newRow("days with letters") << QByteArray("edtPaymentDays") << "3a0"
                                       << "\"Netto Zahlungsziel (Tage)\": \"3a0\" ist keine gültige Anzahl Tage";
    QTest::newRow("six digits of days") << QByteArray("edtCashDiscountDays") << "123456" << "ist zu groß";
    QTest::newRow("percentage with comma") << QByteArray("edtCashDiscount") << "1,5" << "";
    QTest::newRow("percentage with a point") << QByteArray("edtCashDiscount") << "1.5"
                                             << "Das Dezimaltrennzeichen ist das Komma.";
    QTest::newRow("negative percentage") << QByteArray("edtDiscount") << "-3"
                                         << "\"Rabatt %\": Der Prozentsatz darf nicht negativ sein. Keine Speicherung.";
    QTest::newRow("amount with thousands point") << QByteArray("edtMaximumAmount") << "1.234,50" << "";
    QTest::newRow("amount beyond a billion") << QByteArray("edtMaximumAmount") << "99999999999999" << "ist zu groß";
    QTest::newRow("text field takes anything") << QByteArray("edtVatId") << "ATU-1 x" << "";
}

void TestFiPeMehr::keyFilters()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, keys);
    QFETCH(QString, message);
    Opened w(true);
    w.open();
    click(&w.dlg, "btnEdit");
    auto *e = find<QLineEdit>(&w.dlg, field.constData());
    QApplication::setActiveWindow(&w.dlg);
    e->setFocus();
    QTest::keyClicks(e, keys);
    QCOMPARE(e->text(), keys);
    // Enter moves on to the next field and presses no button
    QTest::keyClick(e, Qt::Key_Return);
    QVERIFY(!e->hasFocus());
    QVERIFY(w.dlg.isVisible());
    const QStringList said = w.env.dialogs().messages();
    if (message.isEmpty()) {
        QCOMPARE(said, QStringList());
    } else {
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.first().contains(message), qPrintable(said.first()));
        // saving refuses the same text and stores nothing
        w.env.dialogs().clear();
        click(&w.dlg, "btnSave");
        QCOMPARE(w.env.dialogs().messages(), said);
        QCOMPARE(w.env.scalar("SELECT COUNT(*) FROM firmamehr"), QStringLiteral("0"));
    }
}

void TestFiPeMehr::wrongIbanIsStoredWithAWarning()
{
    Opened w(false);
    w.open();
    TfrmFiPeMehr &dlg = w.dlg;
    click(&dlg, "btnEdit");
    auto *hint = find<QLabel>(&dlg, "lblIbanProblem");
    type(&dlg, "edtIban", "DE88 3704 0044 0532 0130 00");
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->text(), QStringLiteral("Prüfziffern der IBAN stimmen nicht."));
    click(&dlg, "btnSave");
    QCOMPARE(w.env.dialogs().messages(),
             (QStringList{"Die IBAN \"DE88 3704 0044 0532 0130 00\" ist ungültig: Die Prüfziffern stimmen nicht. "
                          "Bitte prüfen Sie die IBAN auf Tippfehler. Sie wird trotzdem gespeichert.",
                          "Daten geändert."}));
    QCOMPARE(w.env.scalar("SELECT IBAN FROM namemehr WHERE IDN = 2"), QStringLiteral("DE88 3704 0044 0532 0130 00"));
    // shown again as wrong after loading; a corrected one is accepted silently
    QVERIFY(hint->isVisible());
    click(&dlg, "btnEdit");
    type(&dlg, "edtIban", "DE89370400440532013000");
    QVERIFY(!hint->isVisible());
    w.env.dialogs().clear();
    click(&dlg, "btnSave");
    QCOMPARE(w.env.dialogs().messages(), QStringList{"Daten geändert."});
}

void TestFiPeMehr::picture()
{
    Opened w(true);
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("logo.png"));
    QImage logo(1000, 200, QImage::Format_RGB32);
    logo.fill(QColor(200, 0, 0));
    QVERIFY(logo.save(path));
    ExtendedDataStore store(w.env.state());
    const QString stored = w.env.dataDir() + QStringLiteral("/Images/1.BMP");
    QCOMPARE(store.picturePath(1), stored);
    w.open();
    TfrmFiPeMehr &dlg = w.dlg;
    QCOMPARE(dlg.pictureMarker(), QString());
    QVERIFY(!find<QPushButton>(&dlg, "btnLoadPicture")->isEnabled());
    click(&dlg, "btnEdit");
    w.env.dialogs().answerFile(path);
    click(&dlg, "btnLoadPicture");
    QCOMPARE(dlg.pictureMarker(), QStringLiteral("TPicture"));
    QVERIFY(!dlg.isSaved());
    // drawn 350 wide over the neutral background, from the top-left corner
    QCOMPARE(dlg.shownPicture().size(), QSize(350, 144));
    QCOMPARE(dlg.shownPicture().pixelColor(340, 60), QColor(200, 0, 0));
    QVERIFY(dlg.shownPicture().pixelColor(340, 100) != QColor(200, 0, 0));
    QVERIFY(!QFile::exists(stored)); // nothing is written before the save
    click(&dlg, "btnSave");
    QVERIFY(QFile::exists(stored));
    QCOMPARE(QImage(stored).pixelColor(10, 10), QColor(200, 0, 0));
    QCOMPARE(w.env.scalar("SELECT Image FROM firmamehr WHERE IDF = 1"), QStringLiteral("TPicture"));

    // the next showing loads the stored picture
    dlg.close();
    dlg.show();
    QCOMPARE(dlg.pictureMarker(), QStringLiteral("TPicture"));
    QCOMPARE(dlg.shownPicture().pixelColor(10, 10), QColor(200, 0, 0));

    // deleting asks, removes the file at once and clears the marker with the next save
    click(&dlg, "btnEdit");
    w.env.dialogs().answer(Answer::Cancel);
    click(&dlg, "btnDeletePicture");
    QVERIFY(QFile::exists(stored));
    w.env.dialogs().answer(Answer::Yes);
    click(&dlg, "btnDeletePicture");
    QCOMPARE(w.env.dialogs().questions(), (QStringList{"Bild wirklich löschen?", "Bild wirklich löschen?"}));
    QVERIFY(!QFile::exists(stored));
    QCOMPARE(dlg.pictureMarker(), QString());
    click(&dlg, "btnSave");
    QCOMPARE(w.env.scalar("SELECT Image FROM firmamehr WHERE IDF = 1"), QString());
}

void TestFiPeMehr::fileThatIsNoPicture()
{
    Opened w(false);
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("rechnung.png"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("Dies ist kein Bild, nur Text mit falscher Endung.\n");
    f.close();
    w.open();
    click(&w.dlg, "btnEdit");
    w.env.dialogs().answerFile(path);
    click(&w.dlg, "btnLoadPicture");
    QCOMPARE(w.env.dialogs().messages(),
             QStringList{"Die Datei \"rechnung.png\" ist kein Bild, das geladen werden kann. Es wurde kein Bild "
                         "übernommen."});
    QCOMPARE(w.dlg.pictureMarker(), QString());
    click(&w.dlg, "btnSave");
    QCOMPARE(w.env.scalar("SELECT Image FROM namemehr WHERE IDN = 2"), QString());
    QVERIFY(!QDir(w.env.dataDir() + QStringLiteral("/Images")).exists());
}

void TestFiPeMehr::paymentHistory()
{
    Opened w(true);
    prepareOpenItems(w.env);
    w.open();
    auto *view = find<QTableView>(&w.dlg, "grdPaymentHistory");
    PaymentHistoryModel *m = w.dlg.historyModel();
    QCOMPARE(view->model(), m);
    QStringList headings;
    for (int c = 0; c < m->columnCount(); ++c)
        if (!view->isColumnHidden(c))
            headings << m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    QCOMPARE(headings, (QStringList{"MS", "Datum ->", "Ziel", "<- Datum", "Betrag"}));
    QCOMPARE(m->rowCount(), 3);
    // oldest due date first, each cell with a blank on either side, amounts as money
    QCOMPARE(m->data(m->index(0, PhFaellig), Qt::DisplayRole).toString(), QStringLiteral(" 15.12.2023 "));
    QCOMPARE(m->data(m->index(0, PhBetrag), Qt::DisplayRole).toString(), QStringLiteral(" 2.380,50 "));
    QCOMPARE(m->data(m->index(0, PhStufe), Qt::DisplayRole).toString(), QStringLiteral(" 2 "));
    QCOMPARE(m->data(m->index(2, PhDatum), Qt::DisplayRole).toString(), QStringLiteral(" 01.02.2024 "));
    QCOMPARE(m->data(m->index(0, PhDatum), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignLeft,
             Qt::AlignLeft);
    QCOMPARE(m->data(m->index(0, PhBetrag), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
             Qt::AlignRight);
    QCOMPARE(m->headerData(PhBetrag, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHCenter,
             Qt::AlignHCenter);
    // the overdue open invoice orange on white, the settled one green
    m->setToday(QDate(2024, 2, 1));
    QCOMPARE(m->data(m->index(0, PhBetrag), Qt::ForegroundRole).value<QColor>(), QColor(226, 143, 0));
    QCOMPARE(m->data(m->index(0, PhBetrag), Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    QCOMPARE(m->data(m->index(1, PhStufe), Qt::ForegroundRole).value<QColor>(), QColor(0, 188, 0));
    QCOMPARE(m->data(m->index(2, PhStufe), Qt::BackgroundRole).value<QColor>(), QColor(192, 220, 192));
}

void TestFiPeMehr::withoutWritePermission()
{
    Opened w(true, false);
    w.env.state().Perm[1] = w.env.state().Perm[2] = w.env.state().Perm[3] = true;
    w.env.exec("INSERT INTO firmamehr (IDF, Zahlungsziel, KInstitut) VALUES (1, 21, 'Sparkasse')");
    w.open();
    TfrmFiPeMehr &dlg = w.dlg;
    QCOMPARE(text(&dlg, "edtPaymentDays"), QStringLiteral("21"));
    QCOMPARE(text(&dlg, "edtBankName"), QStringLiteral("Sparkasse"));
    for (const char *b : {"btnEdit", "btnSave", "btnOk", "btnLoadPicture", "btnDeletePicture"})
        QVERIFY2(!find<QPushButton>(&dlg, b)->isEnabled(), b);
    QVERIFY(find<QPushButton>(&dlg, "btnClose")->isEnabled());
    QVERIFY(find<QLineEdit>(&dlg, "edtBankName")->isReadOnly());
    QVERIFY(!find<QRadioButton>(&dlg, "rbDeliveryRefused")->isEnabled());
    // even when the window is made editable from code, nothing can be saved
    dlg.SetEditable(true);
    QVERIFY(!find<QPushButton>(&dlg, "btnSave")->isEnabled());
    type(&dlg, "edtBankName", "andere Bank");
    QVERIFY(dlg.isSaved());
    dlg.close();
    QVERIFY(!dlg.isVisible());
    QCOMPARE(w.env.dialogs().questions(), QStringList{});
}

void TestFiPeMehr::closingAndOk()
{
    Opened w(true);
    w.open();
    TfrmFiPeMehr &dlg = w.dlg;
    dlg.move(140, 90);
    click(&dlg, "btnEdit");
    type(&dlg, "edtAccountHolder", "Hans Müller");
    w.env.dialogs().answer(Answer::No);
    click(&dlg, "btnClose");
    QCOMPARE(w.env.dialogs().questions(), QStringList{UnsavedClose});
    QVERIFY(dlg.isVisible());
    w.env.dialogs().answer(Answer::Yes);
    find<QToolButton>(&dlg, "btnToolClose")->click();
    QVERIFY(!dlg.isVisible());
    QCOMPARE(w.env.scalar("SELECT COUNT(*) FROM firmamehr"), QStringLiteral("0"));
    QCOMPARE(UserSettings().readInt("FiPeMehrLeft"), std::optional<int>(dlg.pos().x()));
    QCOMPARE(UserSettings().readInt("FiPeMehrTop"), std::optional<int>(dlg.pos().y()));

    // a window built later starts where this one was left
    TfrmFiPeMehr again(w.env.state());
    QCOMPARE(again.pos(), dlg.pos());
    // OK without changes closes without asking or saving
    w.env.dialogs().clear();
    dlg.show();
    click(&dlg, "btnEdit");
    click(&dlg, "btnOk");
    QVERIFY(!dlg.isVisible());
    QCOMPARE(w.env.dialogs().log().size(), 0);
}

void TestFiPeMehr::contactEditorButton_data()
{
    QTest::addColumn<bool>("company");
    QTest::addColumn<bool>("flag3");
    QTest::addColumn<bool>("flag4");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("company") << true << true << true << true;
    QTest::newRow("person") << false << true << true << true;
    QTest::newRow("company, only reading") << true << true << false << true;
    QTest::newRow("company without flag 3") << true << false << true << false;
    QTest::newRow("person without flag 3") << false << false << true << false;
}

void TestFiPeMehr::contactEditorButton()
{
    QFETCH(bool, company);
    QFETCH(bool, flag3);
    QFETCH(bool, flag4);
    QFETCH(bool, enabled);
    TestEnv env;
    env.state().grantAll();
    env.state().Perm[3] = flag3;
    env.state().Perm[4] = flag4;
    ContactStore contacts(env.state());
    contacts.insertCompany(Fixtures::company(1, QStringLiteral("Acme")));
    PersonRecord p = Fixtures::person(2, QStringLiteral("Eva"), QStringLiteral("Muster"));
    p.position = QStringLiteral("Einkauf");
    contacts.insertPerson(p, 1);
    env.exec("INSERT INTO firmamehr (IDF, Zahlungsziel) VALUES (1, 10)");
    env.exec("INSERT INTO namemehr (IDN, Zahlungsziel) VALUES (2, 20)");

    TfrmFiPe editor(env.state());
    // a new entry has nothing to extend yet
    editor.prepareNew(company);
    editor.show();
    auto *button = find<QToolButton>(&editor, "btnExtendedData");
    QVERIFY(!button->isEnabled());
    editor.close();

    editor.prepareShow(company ? 1 : 2, company, false);
    editor.show();
    QCOMPARE(button->isEnabled(), enabled);
    if (!enabled)
        return;
    // the window opens modally for the contact shown, with its data
    QString seen;
    bool modal = false;
    QTimer::singleShot(0, &editor, [&] {
        TfrmFiPeMehr *w = editor.extendedWindow();
        modal = w->isModal() && w->isVisible();
        seen = QStringLiteral("%1 %2 %3 %4")
                   .arg(int(w->isCompany()))
                   .arg(w->number())
                   .arg(find<QLineEdit>(w, "edtPaymentDays")->text())
                   .arg(int(find<QPushButton>(w, "btnEdit")->isEnabled()));
        w->close();
    });
    button->click();
    QVERIFY(modal);
    QCOMPARE(seen, company ? QStringLiteral("1 1 10 %1").arg(int(flag4)) : QStringLiteral("0 2 20 %1").arg(int(flag4)));

    // the other tab switches the button to the other contact
    find<QTabWidget>(&editor, "tabContacts")->setCurrentIndex(company ? 1 : 0);
    QVERIFY(button->isEnabled());
    QTimer::singleShot(0, &editor, [&] {
        seen = QString::number(editor.extendedWindow()->number());
        editor.extendedWindow()->close();
    });
    button->click();
    QCOMPARE(seen, company ? QStringLiteral("2") : QStringLiteral("1"));
}

QTEST_MAIN(TestFiPeMehr)
#include "tst_tfrmfipemehr.moc"
