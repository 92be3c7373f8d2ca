#include "AdditionalTextsTab.h"
#include "AppWindows.h"
#include "CompanyTab.h"
#include "DatevExportStore.h"
#include "DunningTextsTab.h"
#include "FindControl.h"
#include "GeneralTab.h"
#include "NumberEdit.h"
#include "OptionsFixtures.h"
#include "PrintJobFile.h"
#include "PrintSettings.h"
#include "PrinterTab.h"
#include "ProjectFixtures.h"
#include "ProjectPrinting.h"
#include "SellerData.h"
#include "Settings.h"
#include "TForm1.h"
#include "TextTemplate.h"
#include "TfrmMahnung.h"
#include "TfrmProjekt.h"
#include "TfrmProjektDetail.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

using TestControls::find;

class TestTfrmOptionen : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void vatRates();
    void startNumbersCurrencyAutostart();
    void companyData();
    void printSettings();
    void unsavedTabsAsk();
    void additionalTexts();
    void datevAccounts();
    void dunningTemplates();
    void closingReloadsJobLists();
};

namespace {

QStringList items(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// As if typed: the field's text and its textEdited signal.
void type(QLineEdit *edit, const QString &text)
{
    edit->setText(text);
    Q_EMIT edit->textEdited(text);
}

void clickRate(QListWidget *list, const QString &text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    list->setCurrentItem(found.first());
    Q_EMIT list->itemClicked(found.first());
}

// The VAT preset a new project of person 20 (preset 7 %) gets, and the warnings.
QString newProjectVat(TestEnv &env)
{
    env.dialogs().clear();
    env.state().SelectedID = 20;
    env.state().CompaniesShown = false;
    TfrmProjekt project(env.state());
    project.prepare();
    return project.cbUSt->currentText() + " | " + env.dialogs().messages().join(" / ");
}

} // namespace

void TestTfrmOptionen::vatRates()
{
    TestEnv env;
    AddProjectContacts(env);
    env.exec("INSERT INTO rechnungenartikel (BelegNr, Pos, MwSt, RF) VALUES (1, '1', '16,00 %', 1)");
    auto w = OpenOptions(env);
    // Each control name stands once in the window (its letterhead window included).
    QStringList names;
    for (const QWidget *c : w->findChildren<QWidget *>())
        if (!c->objectName().isEmpty() && !c->objectName().startsWith("qt_")
            && !qobject_cast<QTabBar *>(c->parentWidget())) // the tab bars' own scroll buttons
            names << c->objectName();
    QStringList twice;
    for (const QString &n : names)
        if (names.count(n) > 1 && !twice.contains(n))
            twice << n;
    QVERIFY2(twice.isEmpty(), qPrintable(twice.join(' ')));
    auto *list = find<QListWidget>(w.get(), "lstUSt");
    auto *rate = find<NumberEdit>(w.get(), "edtUSt");
    auto *add = find<QPushButton>(w.get(), "btnHinzufuegen");
    auto *change = find<QPushButton>(w.get(), "btnAendern");
    auto *remove = find<QPushButton>(w.get(), "btnLoeschen");
    QCOMPARE(items(list), QStringList({"  7,00 %", "19,00 %"}));
    QVERIFY(!add->isEnabled() && !change->isEnabled() && !remove->isEnabled());

    // A rate that is there already, and one that is no number, add nothing.
    type(rate, "7");
    QVERIFY(add->isEnabled());
    add->click();
    type(rate, "7.5");
    add->click();
    QCOMPARE(env.dialogs().messages(),
             QStringList({"Steuersatz 7.00 % ist schon vorhanden",
                          "\"USt. Satz\": \"7.5\" ist kein gültiger Steuersatz. Das Dezimaltrennzeichen ist das Komma. "
                          "Bitte so eingeben: 19 oder 7,5. Keine Speicherung."}));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM prust"), "2");
    type(rate, "16");
    add->click();
    QCOMPARE(items(list), QStringList({"  7,00 %", "16,00 %", "19,00 %"}));
    QVERIFY(rate->text().isEmpty() && !add->isEnabled());

    clickRate(list, "16,00 %");
    QCOMPARE(rate->text(), "16,00");
    QVERIFY(change->isEnabled() && remove->isEnabled());
    type(rate, "5,5");
    change->click();
    QCOMPARE(items(list), QStringList({"  5,50 %", "  7,00 %", "19,00 %"}));
    QCOMPARE(env.scalar("SELECT MwSt FROM rechnungenartikel"), "16,00 %"); // written documents keep theirs

    // 7 % is the preset of person 20: deleting it asks, and new projects of the
    // person then warn that the preset is not in the list.
    env.dialogs().clear();
    clickRate(list, "  7,00 %");
    env.dialogs().answer(Dialogs::Answer::No);
    remove->click();
    QCOMPARE(items(list).size(), 3);
    clickRate(list, "  7,00 %");
    env.dialogs().answer(Dialogs::Answer::Yes);
    remove->click();
    QCOMPARE(env.dialogs().questionButtons(), QStringList({"Ja/Nein", "Ja/Nein"}));
    QVERIFY(env.dialogs().questions().first().startsWith("Der Steuersatz 7,00 % wird noch in 1 Kontakt verwendet."));
    QCOMPARE(items(list), QStringList({"  5,50 %", "19,00 %"}));
    QCOMPARE(newProjectVat(env),
             "  7,00 % | Achtung! Voreingestellter Steuersatz   7,00 % nicht in der Steuersatzliste!");
    clickRate(list, "  5,50 %");
    env.dialogs().clear();
    remove->click(); // used nowhere: no question
    QVERIFY(env.dialogs().questions().isEmpty());
    type(rate, "7");
    add->click();
    QCOMPARE(newProjectVat(env), "  7,00 % | ");
    QCOMPARE(env.column("SELECT UStSatz FROM prust ORDER BY UStSatz"), QStringList({"7", "19"}));
}

void TestTfrmOptionen::startNumbersCurrencyAutostart()
{
    TestEnv env;
    env.exec("INSERT INTO rechnungen (BelegNr) VALUES (120)");
    auto w = OpenOptions(env);
    auto start = [&](const char *key) { return find<NumberEdit>(w.get(), qPrintable(QString("edtStart") + key)); };
    auto *save = find<QPushButton>(w.get(), "btnStartSpeichern");
    QCOMPARE(start("Rechnung")->text(), "1");
    type(start("Rechnung"), "5000");
    type(start("Angebot"), "");
    type(start("Kunden"), "0"); // a start number of 0 empties the field at once
    QCOMPARE(start("Kunden")->text(), QString());
    type(start("Projekt"), "300");
    save->click();
    QCOMPARE(start("Angebot")->text(), "1"); // stored as 1 and shown again
    QCOMPARE(ReadStartNumber(env.home(), "Rechnung"), 5000);
    QCOMPARE(ReadStartNumber(env.home(), "Projekt"), 300);
    QCOMPARE(ReadStartNumber(env.home(), "Kunden"), 1);
    // The number ranges take them at the next draw.
    QCOMPARE(env.state().dmCommon.GetNextBelegNr(NumberRange::Rechnung), 5000);
    QCOMPARE(env.state().dmCommon.GetNextProjektNr(), 300);
    QCOMPARE(env.state().dmCommon.GetNextBelegNr(NumberRange::Angebot), 1);
    env.exec("INSERT INTO rechnungen (BelegNr) VALUES (7000)");
    QCOMPARE(env.state().dmCommon.GetNextBelegNr(NumberRange::Rechnung), 7001);

    // One refused field: nothing of the eight is written.
    type(start("Rechnung"), "6000");
    type(start("Mahnung"), "12a");
    save->click();
    QCOMPARE(env.dialogs().messages(),
             QStringList{"\"Mahnung\": \"12a\" ist keine gültige Zahl. Bitte nur Ziffern eingeben. Keine Speicherung."});
    QCOMPARE(ReadStartNumber(env.home(), "Rechnung"), 5000);

    auto *currency = find<QLineEdit>(w.get(), "edtWaehrung");
    auto *currencySave = find<QPushButton>(w.get(), "btnWaehrung");
    QCOMPARE(currency->text(), "€");
    QVERIFY(!currencySave->isEnabled());
    type(currency, "CHF");
    currencySave->click();
    QCOMPARE(ReadCurrency(env.home()), "CHF");
    QVERIFY(!currencySave->isEnabled());
    QCOMPARE(env.dialogs().messages().last(), "Damit das neue Währungssymbol wirksam wird starten Sie Orvella bitte neu!");

    auto *autostart = find<QCheckBox>(w.get(), "chkAutostart");
    QVERIFY(!autostart->isChecked());
    autostart->click();
    QCOMPARE(ReadAutostartEntry(), env.home() + "Sentry");
    w->prepare();
    QVERIFY(autostart->isChecked());
    // without a stored print origin the box shows unticked (the origin's defaults are written)
    UserSettings().remove("SHLeft");
    w->prepare();
    QVERIFY(!autostart->isChecked());
    QCOMPARE(UserSettings().readInt("SHLeft"), std::optional<int>(200));
    w->prepare();
    QVERIFY(autostart->isChecked());
    autostart->click();
    QCOMPARE(ReadAutostartEntry(), QString());
}

void TestTfrmOptionen::companyData()
{
    TestEnv env;
    // Without the permission "Firmendaten" nothing of it can be changed or saved.
    env.state().grantAll();
    env.state().Perm[13] = false;
    auto w = OpenOptions(env, false);
    w->tabs->setCurrentIndex(TfrmOptionen::FirmendatenTab);
    auto *apply = find<QPushButton>(w.get(), "btnUebernehmen");
    auto *ok = find<QPushButton>(w.get(), "btnOK");
    QVERIFY(!find<QGroupBox>(w.get(), "grpFirma")->isEnabled() && !find<QGroupBox>(w.get(), "grpVerkaeufer")->isEnabled());
    QVERIFY(!apply->isEnabled() && !ok->isEnabled());
    w->cmdOk();
    QVERIFY(!QFile::exists(EFirmaPath(env.home())));

    env.state().Perm[13] = true;
    w->prepare();
    w->tabs->setCurrentIndex(TfrmOptionen::FirmendatenTab);
    QVERIFY(apply->isEnabled() && ok->isEnabled());
    QCOMPARE(find<QLineEdit>(w.get(), "edtFirmenname")->text(), "0"); // no own company yet
    const std::pair<const char *, const char *> typed[] = {
        {"edtFirmenname", "Muster GmbH"}, {"edtStrasse", "Hauptstr. 1"}, {"edtPLZ", "12345"},
        {"edtOrt", "Musterstadt"},        {"edtUStIdNr", "DE 123 456 789"}, {"edtIBAN", "DE02120300000000202051"},
        {"edtKontakt", "Jörg O'Neil"}};
    for (const auto &[name, text] : typed)
        type(find<QLineEdit>(w.get(), name), QString::fromUtf8(text));
    find<QTableWidget>(w.get(), "tblFuss")->item(1, 2)->setText("IBAN: DE02 1203 'Süd'");
    QVERIFY(w->company->isModified());
    apply->click();
    QCOMPARE(ReadOwnCompany(env.home()).line, "Muster GmbH - Hauptstr. 1 - 12345 Musterstadt");
    QCOMPARE(env.scalar("SELECT C FROM foot WHERE X='b'"), "IBAN: DE02 1203 'Süd'");
    const SellerData seller = ReadSellerData(env.db(), env.home());
    QCOMPARE(QStringList({seller.name, seller.vatId, seller.iban, seller.contactName}),
             QStringList({"Muster GmbH", "DE 123 456 789", "DE02120300000000202051", "Jörg O'Neil"}));
    // The wrong check digit is warned about; the data are stored all the same.
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Warning).size(), 1);
    QVERIFY(env.dialogs().messages().first().startsWith("Die USt-IdNr. \"DE 123 456 789\" ist ungültig: Die Prüfziffer"));
    QVERIFY(!w->company->isModified());

    // The footer filled from the company data: the placeholders go, a line of the
    // user's own that the data do not cover stays in its column.
    auto *footer = find<QTableWidget>(w.get(), "tblFuss");
    footer->item(3, 1)->setText("Internet: www.muster.de");
    type(find<QLineEdit>(w.get(), "edtTelefon"), "0761 12345");
    type(find<QLineEdit>(w.get(), "edtBank"), "Sparkasse Freiburg");
    find<QPushButton>(w.get(), "btnFussUebernehmen")->click();
    QVERIFY(w->company->isModified());
    apply->click();
    QStringList rows;
    for (int r = 0; r < 5; ++r)
        rows << env.column(QStringLiteral("SELECT A || '|' || B || '|' || C || '|' || D FROM foot WHERE X='%1'")
                               .arg(QChar('a' + r)))
                    .value(0);
    QCOMPARE(rows, QStringList({"Muster GmbH|Telefon: 0761 12345|Bank: Sparkasse Freiburg|USt-IdNr.: DE 123 456 789",
                                "Hauptstr. 1|Internet: www.muster.de|IBAN: DE02120300000000202051|",
                                "12345 Musterstadt||Kontoinhaber: Muster GmbH|", "|||", "|||"}));
}

void TestTfrmOptionen::printSettings()
{
    TestEnv env;
    auto w = OpenOptions(env);
    UserSettings settings;
    // The origin could not be read: its defaults are written and shown.
    QCOMPARE(settings.readInt("SHLeft"), std::optional<int>(200));
    QCOMPARE(settings.readInt("SHTop"), std::optional<int>(100));
    auto *left = find<NumberEdit>(w.get(), "edtLinkerRand");
    auto *top = find<NumberEdit>(w.get(), "edtOberrerRand");
    QCOMPARE(left->text() + "/" + top->text(), "25/45");

    find<QSlider>(w.get(), "sldLinkerRand")->setValue(300);
    QCOMPARE(settings.readInt("SHLeft"), std::optional<int>(250));
    QCOMPARE(left->text(), "30");
    type(top, "30,5");
    Q_EMIT top->editingFinished();
    QCOMPARE(find<QSlider>(w.get(), "sldOberrerRand")->value(), 305);
    QCOMPARE(settings.readInt("SHTop"), std::optional<int>(245));
    type(top, "80");
    Q_EMIT top->editingFinished();
    QCOMPARE(settings.readInt("SHTop"), std::optional<int>(245));
    QVERIFY(env.dialogs().messages().value(0).startsWith("\"Oberer Rand\": Bitte einen Wert von 25 bis 75 mm"));

    auto *colour = find<QComboBox>(w.get(), "cbFarbeS");
    colour->setCurrentIndex(9);
    Q_EMIT colour->activated(9);
    auto *style = find<QComboBox>(w.get(), "cbLinieW");
    style->setCurrentIndex(2);
    Q_EMIT style->activated(2);
    const GridPens pens = ReadGridPens(settings);
    QCOMPARE(pens.verticalColour, QColor(Qt::red));
    QCOMPARE(pens.verticalStyle, Qt::NoPen);
    QCOMPARE(pens.horizontalStyle, Qt::DashLine);

    auto *grade = find<QComboBox>(w.get(), "cbSchriftgrad");
    QCOMPARE(grade->currentText(), "Schriftgrad  0");
    grade->setCurrentIndex(7);
    Q_EMIT grade->activated(7);
    QCOMPARE(ReadSizeGrade(env.home()), 7);
    QCOMPARE(env.state().PrintSizeOffset, 80);

    // A pen that cannot be read puts every list back to its first entry.
    settings.writeString("StiftLinieS", "gestrichelt");
    w->prepare();
    QCOMPARE(QList<int>({colour->currentIndex(), style->currentIndex()}), QList<int>({0, 0}));
    QCOMPARE(grade->currentIndex(), 7);
    QCOMPARE(left->text(), "30");
    // Without the permission "Allgemein" the print options cannot be changed.
    env.state().Perm[10] = false;
    w->prepare();
    QVERIFY(!find<QGroupBox>(w.get(), "grpDruckoptionen")->isEnabled() && !find<QGroupBox>(w.get(), "grpUSt")->isEnabled());
    QVERIFY(find<QGroupBox>(w.get(), "grpSchriftgrad")->isEnabled() && find<QGroupBox>(w.get(), "grpStart")->isEnabled());
}

void TestTfrmOptionen::unsavedTabsAsk()
{
    TestEnv env;
    auto w = OpenOptions(env);
    w->show();
    type(find<NumberEdit>(w.get(), "edtUSt"), "16");
    // Cancel stays on the tab, Yes saves it before the next one is shown.
    env.dialogs().answer(Dialogs::Answer::Cancel);
    w->tabs->setCurrentIndex(TfrmOptionen::FirmendatenTab);
    QCOMPARE(w->tabs->currentIndex(), int(TfrmOptionen::AllgemeinTab));
    env.dialogs().answer(Dialogs::Answer::Yes);
    w->tabs->setCurrentIndex(TfrmOptionen::FirmendatenTab);
    QCOMPARE(w->tabs->currentIndex(), int(TfrmOptionen::FirmendatenTab));
    QCOMPARE(env.dialogs().questions(), QStringList(2, "Daten wurden nicht gesichert! Änderungen speichern? "));
    QCOMPARE(env.dialogs().questionButtons(), QStringList(2, "Ja/Abbrechen"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM prust WHERE UStSatz=16"), "1");

    // Closing with unsaved company data asks; Cancel keeps the window open, Yes
    // closes it without saving.
    type(find<QLineEdit>(w.get(), "edtOrt"), "Ulm");
    env.dialogs().clear();
    env.dialogs().answer(Dialogs::Answer::Cancel);
    find<QPushButton>(w.get(), "btnBeenden")->click();
    QVERIFY(w->isVisible());
    env.dialogs().answer(Dialogs::Answer::Yes);
    w->close();
    QVERIFY(!w->isVisible());
    QCOMPARE(env.dialogs().questions(), QStringList(2, "Daten wurden nicht gesichert! Wirklich beenden ?"));
    QVERIFY(!QFile::exists(EFirmaPath(env.home())));
    // The next opening shows the stored values and asks nothing.
    w->prepare();
    w->show();
    env.dialogs().clear();
    w->close();
    QVERIFY(!w->isVisible() && env.dialogs().questions().isEmpty());
}

void TestTfrmOptionen::additionalTexts()
{
    TestEnv env;
    const QStringList angebot = env.column("SELECT Text || '|' || Style FROM ztext WHERE Art='A' ORDER BY X");
    auto w = OpenOptions(env);
    w->tabs->setCurrentIndex(TfrmOptionen::ZusatztexteTab);
    auto *kinds = find<QTabBar>(w.get(), "tabsArt");
    auto *line1 = find<QLineEdit>(w.get(), "edtZeile1");
    QCOMPARE(line1->text() + "|", angebot[0]);
    type(line1, "verworfen");
    find<QCheckBox>(w.get(), "chkBold2")->click();
    // Switching to "Rechnung" asks once; No drops the quotation's changes.
    env.dialogs().answer(Dialogs::Answer::No);
    kinds->setCurrentIndex(3);
    QCOMPARE(env.dialogs().questions(), QStringList{"Daten wurden nicht gesichert! Ändernungen speichern?"});
    QCOMPARE(env.column("SELECT Text || '|' || Style FROM ztext WHERE Art='A' ORDER BY X"), angebot);
    QCOMPARE(line1->text(), env.scalar("SELECT Text FROM ztext WHERE Art='R' AND X='a'"));

    type(line1, "Zahlbar sofort, Herr O'Brien");
    find<QCheckBox>(w.get(), "chkBold1")->setChecked(false);
    find<QCheckBox>(w.get(), "chkItalic1")->setChecked(false);
    find<QCheckBox>(w.get(), "chkItalic2")->setChecked(true);
    find<QCheckBox>(w.get(), "chkBold2")->setChecked(false);
    // the mail text starts as the default and is kept with the lines
    auto *mail = find<QPlainTextEdit>(w.get(), "edtMailText");
    QCOMPARE(mail->toPlainText(), TextTemplate::DefaultMailText);
    mail->setPlainText("Hallo,\nanbei {Beleg}.\nO'Brien");
    find<QPushButton>(w.get(), "btnUebernehmen")->click();
    QCOMPARE(TextTemplate::mailText(env.db()), "Hallo,\nanbei {Beleg}.\nO'Brien");
    QCOMPARE(env.column("SELECT Text || '|' || Style FROM ztext WHERE Art='R' AND X IN ('a','b') ORDER BY X"),
             QStringList({"Zahlbar sofort, Herr O'Brien|",
                          env.scalar("SELECT Text FROM ztext WHERE Art='R' AND X='b'") + "|fsItalic"}));
    kinds->setCurrentIndex(0);
    QCOMPARE(env.dialogs().questions().size(), 1);

    // Without the permission the texts are shown but cannot be changed.
    env.state().Perm[11] = false;
    w->prepare();
    w->tabs->setCurrentIndex(TfrmOptionen::ZusatztexteTab);
    QVERIFY(!find<QGroupBox>(w.get(), "grpZusatztexte")->isEnabled());
    QVERIFY(!find<QGroupBox>(w.get(), "grpMail")->isEnabled());
    QVERIFY(!find<QPushButton>(w.get(), "btnUebernehmen")->isEnabled());
}

void TestTfrmOptionen::datevAccounts()
{
    TestEnv env;
    auto w = OpenOptions(env);
    w->tabs->setCurrentIndex(TfrmOptionen::DatevTab);
    // one row per rate of the rate table, with the SKR03 presets
    auto *accounts = find<QTableWidget>(w.get(), "tblKonten");
    QStringList rows;
    for (int r = 0; r < accounts->rowCount(); ++r)
        rows << QStringList{accounts->item(r, 0)->text(), accounts->item(r, 1)->text(), accounts->item(r, 2)->text(),
                            accounts->item(r, 3)->text()}
                    .join('|');
    QCOMPARE(rows, QStringList({"7,00 %|S|8300|8731", "19,00 %|S|8400|8736"}));
    // SKR04 chosen with its presets, one account typed wrong: refused, nothing stored
    auto *chart = find<QComboBox>(w.get(), "cbKontenrahmen");
    chart->setCurrentIndex(1);
    find<QPushButton>(w.get(), "btnVorgaben")->click();
    type(find<QLineEdit>(w.get(), "edtBerater"), "29098");
    accounts->item(0, 2)->setText("43OO");
    find<QPushButton>(w.get(), "btnUebernehmen")->click();
    QVERIFY2(env.dialogs().messages().last().contains("„43OO“ als Erlöskonto für 7,00 %"),
             qPrintable(env.dialogs().messages().last()));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM datev"), QStringLiteral("0"));
    accounts->item(0, 2)->setText("4300");
    find<QPushButton>(w.get(), "btnUebernehmen")->click();
    const Datev::Settings s = DatevExportStore(env.db()).loadSettings();
    QCOMPARE(s.consultantNumber, QStringLiteral("29098"));
    QCOMPARE(s.chart, Datev::Chart::Skr04);
    QCOMPARE(s.revenueAccount(Amount::fromUnits(7), "S"), std::optional<qint64>(4300));
    QCOMPARE(s.skontoAccount(Amount::fromUnits(19), "S"), std::optional<qint64>(4736));
    QCOMPARE(s.bankAccount, qint64(1800));
}

void TestTfrmOptionen::dunningTemplates()
{
    TestEnv env;
    auto w = OpenOptions(env);
    w->tabs->setCurrentIndex(TfrmOptionen::MahntexteTab);
    auto *editor = find<QPlainTextEdit>(w.get(), "memVorlage");
    auto *preview = find<QPlainTextEdit>(w.get(), "memVorschau");
    QCOMPARE(editor->toPlainText().split('\n'), env.column("SELECT Text FROM mahnungenstext WHERE MS='1' ORDER BY ID"));
    QCOMPARE(preview->toPlainText().section('\n', 0, 0), "Sehr geehrte Frau Mustermann,");

    // Twenty lines, one of them wider than the printed letter.
    QStringList lines;
    for (int i = 1; i <= 20; ++i)
        lines << QString("Zeile %1 [RNr]").arg(i);
    lines[4] = QString(150, 'x');
    editor->setPlainText(lines.join('\n'));
    QVERIFY(preview->toPlainText().startsWith("Zeile 1 000001\n"));
    QVERIFY(w->dunning->isModified());
    find<QPushButton>(w.get(), "btnUebernehmen")->click();
    const QStringList stored = env.column("SELECT Text FROM mahnungenstext WHERE MS='1' ORDER BY ID");
    QCOMPARE(stored, lines + QStringList(5, QString()));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM mahnungenstext WHERE MS='3' AND Text LIKE '%[RNr]%'"), "1");
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Warning).size(), 1);
    QVERIFY(env.dialogs().messages().first().startsWith("Zeile 5 der Vorlage ist breiter als eine Zeile des gedruckten "
                                                        "Mahnbriefs"));

    // Nothing is typed on a 26th line.
    env.dialogs().clear();
    QTextCursor end = editor->textCursor();
    end.movePosition(QTextCursor::End);
    editor->setTextCursor(end);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "zu viel");
    QCOMPARE(editor->toPlainText().split('\n').size(), 26);
    QCOMPARE(editor->toPlainText().split('\n').last(), QString());
    QCOMPARE(env.dialogs().messages(), QStringList(7, "Maximale Anzahl der Linien erreicht!"));

    // Another level while the template is unsaved: Cancel keeps level 1 pressed.
    env.dialogs().clear();
    auto *level2 = find<QPushButton>(w.get(), "btnMahnung2");
    env.dialogs().answer(Dialogs::Answer::Cancel);
    level2->click();
    QVERIFY(find<QPushButton>(w.get(), "btnMahnung1")->isChecked() && !level2->isChecked());
    QCOMPARE(w->dunning->level(), 1);
    env.dialogs().answer(Dialogs::Answer::Yes);
    level2->click();
    QCOMPARE(w->dunning->level(), 2);
    QCOMPARE(editor->toPlainText().split('\n'), env.column("SELECT Text FROM mahnungenstext WHERE MS='2' ORDER BY ID"));
    QCOMPARE(env.dialogs().questions(), QStringList(2, "Daten nicht gesichert! Wirklich weitermachen?"));
    QCOMPARE(env.dialogs().questionButtons(), QStringList(2, "Ja/Abbrechen"));
    // Each opening starts at level 1 again.
    w->prepare();
    w->tabs->setCurrentIndex(TfrmOptionen::MahntexteTab);
    QCOMPARE(editor->toPlainText().split('\n'), stored);
}

void TestTfrmOptionen::closingReloadsJobLists()
{
    TestEnv env;
    env.state().grantAll();
    TForm1 main(env.state());
    AppWindows windows(env.state(), main);
    windows.createAll();
    env.state().hub = &windows;
    QVERIFY(windows.has(WindowHub::Window::Options));
    auto *dunning = main.findChild<TfrmMahnung *>();
    auto *project = main.findChild<TfrmProjektDetail *>();
    QVERIFY(dunning && project);
    QCOMPARE(dunning->cbDruckJob->count() + project->printing()->cbDruckJob->count(), 0);
    // While the options are open a job comes into the file; closing them shows it.
    QTimer::singleShot(0, [&] {
        auto *options = qobject_cast<TfrmOptionen *>(QApplication::activeModalWidget());
        QVERIFY(options);
        PrintJobFile(env.home()).createJob("Versand");
        options->reject();
    });
    windows.showOptions();
    QCOMPARE(dunning->cbDruckJob->itemText(0), "Versand");
    QCOMPARE(project->printing()->cbDruckJob->itemText(0), "Versand");
}

QTEST_MAIN(TestTfrmOptionen)
#include "tst_tfrmoptionen.moc"
