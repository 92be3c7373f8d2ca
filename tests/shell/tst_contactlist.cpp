#include "CommandGuard.h"
#include "ContactListStore.h"
#include "Desktop.h"
#include "Formats.h"
#include "SqlLiterals.h"
#include "LetterCommand.h"
#include "TForm1.h"
#include "TestEnv.h"
#include "WindowHub.h"
#include "WordWriter.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QtTest>

#include <quazip/JlCompress.h>

namespace {

struct Contact
{
    int id;
    QString name;   // company name or "Vorname Nachname"
    QString branche;
    QString plz;
    QString ort;
    QString telefon;
    QString kategorie;
    QString begriffe;
    QString st = "1";
};

void addAddress(TestEnv &env, int id, const Contact &c, int ida)
{
    env.exec(QStringLiteral("INSERT INTO adresse (IDA, Strasse, PLZ, Ort, Land) VALUES (%1, 'Weg %1', '%2', '%3', 'Deutschland')")
                 .arg(ida).arg(c.plz, SqlQuote(c.ort)));
    env.exec(QStringLiteral("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (%1, %2, 'Hauptadresse', '1')").arg(ida).arg(id));
    // a further address that must never show up in the list
    env.exec(QStringLiteral("INSERT INTO adresse (IDA, Strasse, PLZ, Ort) VALUES (%1, 'Lagerweg', '99999', 'Lagerstadt')").arg(ida + 1));
    env.exec(QStringLiteral("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (%1, %2, 'Lager', '0')").arg(ida + 1).arg(id));
}

void addCompany(TestEnv &env, const Contact &c)
{
    env.exec(QStringLiteral("INSERT INTO firma (IDF, Name, Branche, Kategorie, Begriffe, Telefon, St, SAnrede) "
                            "VALUES (%1, '%2', '%3', '%4', '%5', '%6', '%7', 'Sehr geehrte Damen und Herren,')")
                 .arg(c.id).arg(SqlQuote(c.name), SqlQuote(c.branche), SqlQuote(c.kategorie), SqlQuote(c.begriffe),
                                c.telefon, c.st));
    addAddress(env, c.id, c, c.id * 10);
}

void addPerson(TestEnv &env, const Contact &c)
{
    const QString first = c.name.section(' ', 0, 0), last = c.name.section(' ', 1);
    env.exec(QStringLiteral("INSERT INTO name (IDN, Anrede, VName, NName, Kategorie, Begriffe, Telefon, St, Titel, SAnrede) "
                            "VALUES (%1, 'Herr', '%2', '%3', '%4', '%5', '%6', '%7', 'Dr.', 'Sehr geehrter Herr Dr. %3,')")
                 .arg(c.id).arg(SqlQuote(first), SqlQuote(last), SqlQuote(c.kategorie), SqlQuote(c.begriffe),
                                c.telefon, c.st));
    addAddress(env, c.id, c, c.id * 10);
}

// Companies 1..5 and persons 11..15.
void fill(TestEnv &env)
{
    addCompany(env, {1, "Zimmerei Holzwurm", "Bau", "70173", "Stuttgart", "0711 123", "Kunde", "Dach Holz"});
    addCompany(env, {2, "Autohaus Blech", "Kfz", "80331", "München", "089 55", "Lieferant", "Reifen"});
    addCompany(env, {3, "O'Neil Pub", "Gastro", "17010", "Greifswald", "03834 1", "Kunde", "Bier"});
    addCompany(env, {4, "Bäckerei Kühn", "Lebensmittel", "70569", "Stuttgart-Vaihingen", "0711 999", "", "Brot"});
    addCompany(env, {5, "Alte Mühle", "Gastro", "79098", "Freiburg", "0761 1", "Kunde", "Mühle", "0"});
    addPerson(env, {11, "Anna Zeller", "", "70174", "Stuttgart", "0711 42", "Kunde", "Holz"});
    addPerson(env, {12, "Bernd O'Hara", "", "17011", "Greifswald", "03834 2", "Presse", "Zeitung"});
    addPerson(env, {13, "Clara Adler", "", "80335", "München", "089 1", "Kunde", "Dach"});
    addPerson(env, {14, "Dieter Blau", "", "10115", "Berlin", "030 7", "", "", "0"});
}

QStringList names(const QList<ContactRow> &rows)
{
    QStringList out;
    for (const ContactRow &r : rows)
        out << r.name + (r.second.isEmpty() || r.id.toInt() < 10 ? QString() : QLatin1Char(' ') + r.second);
    return out;
}

class EditorHub : public WindowHub
{
public:
    bool has(Window) const override { return true; }
    void editContact(qint64 id, bool company, bool editable) override
    {
        calls << QStringLiteral("%1 %2 %3").arg(id).arg(company ? "firma" : "name").arg(editable ? "edit" : "show");
    }
    void editNewContact(bool company) override { calls << QStringLiteral("neu %1").arg(company ? "firma" : "name"); }
    QStringList calls;
};

} // namespace

class TestContactList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void searchTabs_data();
    void searchTabs();
    void wildcardsMatchLiterally_data();
    void wildcardsMatchLiterally();
    void blockedAndCategories();
    void hundredRowLimit();
    void listWindow();
    void customerNumberKeys();
    void tabChangeMessages();
    void reselectionAfterEditor();
    void emptyListDisablesCommands();
    void letterBookmarks();
    void letterThroughTemplate();
};

void TestContactList::searchTabs_data()
{
    QTest::addColumn<bool>("companies");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QStringList>("expected");
    const int firmen = int(SearchTab::Firmenname), personen = int(SearchTab::Personenname),
              begriff = int(SearchTab::Begriff), nummer = int(SearchTab::Kundennummer),
              plz = int(SearchTab::Postleitzahl), tel = int(SearchTab::Telefonnummer),
              allg = int(SearchTab::Allgemein);
    QTest::newRow("company name anywhere") << true << firmen << "hau" << QStringList{"Autohaus Blech"};
    QTest::newRow("company name with apostrophe") << true << firmen << "O'Neil" << QStringList{"O'Neil Pub"};
    QTest::newRow("company name umlaut") << true << firmen << "Kühn" << QStringList{"Bäckerei Kühn"};
    QTest::newRow("company name empty term lists all") << true << firmen << ""
                                                         << QStringList{"Autohaus Blech", "Bäckerei Kühn", "O'Neil Pub", "Zimmerei Holzwurm"};
    QTest::newRow("person name among companies") << true << personen << "Anna" << QStringList{};
    QTest::newRow("company name among persons") << false << firmen << "Anna" << QStringList{};
    QTest::newRow("person first name") << false << personen << "nna" << QStringList{"Anna Zeller"};
    QTest::newRow("person last name apostrophe") << false << personen << "O'Ha" << QStringList{"Bernd O'Hara"};
    QTest::newRow("company term") << true << begriff << "Holz" << QStringList{"Zimmerei Holzwurm"};
    QTest::newRow("person term") << false << begriff << "Dach" << QStringList{"Clara Adler"};
    QTest::newRow("company number") << true << nummer << "2" << QStringList{"Autohaus Blech"};
    QTest::newRow("person number is no company") << true << nummer << "11" << QStringList{};
    QTest::newRow("person number") << false << nummer << "11" << QStringList{"Anna Zeller"};
    QTest::newRow("number that is no number") << true << nummer << "1 OR 1=1" << QStringList{};
    QTest::newRow("postcode from the start") << true << plz << "701" << QStringList{"Zimmerei Holzwurm"};
    QTest::newRow("postcode not inside") << true << plz << "010" << QStringList{};
    QTest::newRow("main address only") << true << plz << "999" << QStringList{};
    QTest::newRow("person postcode") << false << plz << "170" << QStringList{"Bernd O'Hara"};
    QTest::newRow("telephone from the start") << true << tel << "0711" << QStringList{"Bäckerei Kühn", "Zimmerei Holzwurm"};
    QTest::newRow("telephone not inside") << true << tel << "123" << QStringList{};
    QTest::newRow("general by town") << true << allg << "Stuttgart" << QStringList{"Bäckerei Kühn", "Zimmerei Holzwurm"};
    QTest::newRow("general by trade") << true << allg << "Gastro" << QStringList{"O'Neil Pub"};
    QTest::newRow("general by country") << false << allg << "Deutsch"
                                         << QStringList{"Clara Adler", "Bernd O'Hara", "Anna Zeller"};
    QTest::newRow("general person by last name") << false << allg << "Adler" << QStringList{"Clara Adler"};
    QTest::newRow("general apostrophe") << true << allg << "'" << QStringList{"O'Neil Pub"};
    QTest::newRow("tab outside the band") << true << 9 << "xyz"
                                           << QStringList{"Autohaus Blech", "Bäckerei Kühn", "O'Neil Pub", "Zimmerei Holzwurm"};
}

void TestContactList::searchTabs()
{
    QFETCH(bool, companies);
    QFETCH(int, tab);
    QFETCH(QString, term);
    QFETCH(QStringList, expected);
    TestEnv env;
    fill(env);
    ContactListStore store(env.db());
    QCOMPARE(names(store.search(companies, false, QString(), tab, term)), expected);
}

void TestContactList::wildcardsMatchLiterally_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QStringList>("expected");
    const int firmen = int(SearchTab::Firmenname), allg = int(SearchTab::Allgemein), tel = int(SearchTab::Telefonnummer);
    QTest::newRow("percent sign") << firmen << "%" << QStringList{"100% Bio"};
    QTest::newRow("underscore") << firmen << "o_L" << QStringList{"Bio_Laden"};
    QTest::newRow("backslash") << firmen << "\\" << QStringList{"Back\\Slash"};
    QTest::newRow("general percent") << allg << "0%" << QStringList{"100% Bio"};
    QTest::newRow("phone prefix underscore") << tel << "07_1" << QStringList{};
    QTest::newRow("plain text still found") << firmen << "Bio" << QStringList{"100% Bio", "Bio Laden", "Bio_Laden"};
}

void TestContactList::wildcardsMatchLiterally()
{
    QFETCH(int, tab);
    QFETCH(QString, term);
    QFETCH(QStringList, expected);
    TestEnv env;
    int id = 1;
    for (const char *name : {"100% Bio", "Bio Laden", "Bio_Laden", "Back\\Slash"})
        addCompany(env, {id++, QString::fromUtf8(name), "Handel", "70173", "Stuttgart", "0711 5", "", ""});
    ContactListStore store(env.db());
    QCOMPARE(names(store.search(true, false, QString(), tab, term)), expected);
}

void TestContactList::blockedAndCategories()
{
    TestEnv env;
    fill(env);
    ContactListStore store(env.db());
    QCOMPARE(names(store.load(true, true)), QStringList{"Alte Mühle"});
    QCOMPARE(names(store.load(false, true)), QStringList{"Dieter Blau"});
    QCOMPARE(names(store.search(true, false, "Kunde", int(SearchTab::Firmenname), "")),
             QStringList({"O'Neil Pub", "Zimmerei Holzwurm"}));
    QCOMPARE(names(store.search(true, false, "Kunde", int(SearchTab::Postleitzahl), "17")), QStringList{"O'Neil Pub"});
    QCOMPARE(names(store.search(false, false, "Presse", int(SearchTab::Personenname), "")), QStringList{"Bernd O'Hara"});
    QStringList cats = store.categories(true);
    cats.sort();
    QCOMPARE(cats, QStringList({"Kunde", "Lieferant"}));
    env.exec("INSERT INTO firma (IDF, Name, Kategorie, St) VALUES (7, 'X''Y', 'O''Brien', '1')");
    QVERIFY(store.categories(true).contains("O'Brien"));
    QCOMPARE(store.search(true, false, "O'Brien", 0, "").size(), 0); // no main address, never listed
}

void TestContactList::hundredRowLimit()
{
    TestEnv env;
    QStringList all;
    for (int i = 130; i >= 1; --i) {
        const QString name = QStringLiteral("Firma %1").arg(i, 3, 10, QLatin1Char('0'));
        addCompany(env, {i, name, "", "12345", "Ort", "01", "", ""});
        all << name;
    }
    all.sort();
    ContactListStore store(env.db());
    QCOMPARE(names(store.load(true, false)), all.mid(0, 100));
    QCOMPARE(names(store.search(true, false, QString(), int(SearchTab::Postleitzahl), "123")), all.mid(0, 100));
}

void TestContactList::listWindow()
{
    TestEnv env;
    fill(env);
    TForm1 w(env.state());
    QCOMPARE(w.contactModel().dataRows(), 4);
    QCOMPARE(w.contactModel().cell(0, ContactListModel::Name), QStringLiteral("Autohaus Blech"));
    QCOMPARE(w.contactModel().cell(0, ContactListModel::Plz), QStringLiteral("80331"));
    QCOMPARE(w.cbKategorie->itemText(0), QStringLiteral("Alle Kategorien"));
    QCOMPARE(w.cbKategorie->count(), 3);
    // persons: heading, list, categories
    w.rbPersonen->click();
    QCOMPARE(w.contactModel().headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nachname"));
    QCOMPARE(w.contactModel().cell(0, ContactListModel::Second), QStringLiteral("Adler"));
    QCOMPARE(w.cbKategorie->count(), 3);
    // a category picked filters the list with an empty search field
    w.cbKategorie->setCurrentIndex(w.cbKategorie->findText("Presse"));
    Q_EMIT w.cbKategorie->activated(w.cbKategorie->currentIndex());
    QCOMPARE(w.contactModel().dataRows(), 1);
    QCOMPARE(w.contactModel().cell(0, ContactListModel::Id), QStringLiteral("12"));
    // blocked entries replace the active ones
    w.chkGesperrt->setChecked(true);
    QCOMPARE(w.contactModel().dataRows(), 1);
    QCOMPARE(w.contactModel().cell(0, ContactListModel::Second), QStringLiteral("Blau"));
    // typing searches
    w.chkGesperrt->setChecked(false);
    w.edtSearch->setText("Zel");
    Q_EMIT w.edtSearch->textEdited("Zel");
    QCOMPARE(w.contactModel().dataRows(), 1);
    QCOMPARE(w.contactModel().cell(0, ContactListModel::Name), QStringLiteral("Anna"));
}

void TestContactList::customerNumberKeys()
{
    TestEnv env;
    fill(env);
    TForm1 w(env.state());
    w.tabSearch->setCurrentIndex(int(SearchTab::Kundennummer));
    // switching to the tab lists contact 1 at once
    QCOMPARE(w.edtSearch->text(), QStringLiteral("1"));
    QCOMPARE(w.contactModel().dataRows(), 1);
    QCOMPARE(w.contactModel().cell(0, ContactListModel::Id), QStringLiteral("1"));
    // only digits reach the field, typed or pasted
    w.edtSearch->clear();
    QTest::keyClicks(w.edtSearch, "2a;x");
    QCOMPARE(w.edtSearch->text(), QStringLiteral("2"));
    QCOMPARE(w.contactModel().cell(0, ContactListModel::Name), QStringLiteral("Autohaus Blech"));
    w.edtSearch->selectAll();
    w.edtSearch->insert("12 OR 1=1");
    QCOMPARE(w.edtSearch->text(), QStringLiteral("2"));
    // a leading zero empties the field with a hint and does not search
    w.edtSearch->clear();
    QTest::keyClicks(w.edtSearch, "0");
    QCOMPARE(w.edtSearch->text(), QString());
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Information),
             QStringList{"Bitte die Kundennummer ohne führende Nullen eingeben"});
    // other tabs take any text again
    w.tabSearch->setCurrentIndex(int(SearchTab::Begriff));
    QTest::keyClicks(w.edtSearch, "Bier");
    QCOMPARE(w.edtSearch->text(), QStringLiteral("Bier"));
    QCOMPARE(w.contactModel().cell(0, ContactListModel::Name), QStringLiteral("O'Neil Pub"));
}

void TestContactList::tabChangeMessages()
{
    TestEnv env;
    fill(env);
    TForm1 w(env.state());
    w.edtSearch->setText("x");
    w.tabSearch->setCurrentIndex(int(SearchTab::Personenname));
    QCOMPARE(w.tabSearch->currentIndex(), int(SearchTab::Firmenname));
    QCOMPARE(w.edtSearch->text(), QString());
    QCOMPARE(env.dialogs().messages(), QStringList{"Suche nach Personennamen bei Firmen nicht möglich!"});
    w.rbPersonen->click();
    QCOMPARE(w.tabSearch->currentIndex(), int(SearchTab::Personenname)); // moved without a message
    QCOMPARE(env.dialogs().messages().size(), 1);
    w.tabSearch->setCurrentIndex(int(SearchTab::Firmenname));
    QCOMPARE(w.tabSearch->currentIndex(), int(SearchTab::Personenname));
    QCOMPARE(env.dialogs().messages().last(), QStringLiteral("Suche nach Firmennamen bei Personen nicht möglich!"));
    w.rbFirmen->click();
    QCOMPARE(w.tabSearch->currentIndex(), int(SearchTab::Firmenname));
    QVERIFY(!w.actNewProject->isEnabled());
}

void TestContactList::reselectionAfterEditor()
{
    TestEnv env;
    fill(env);
    env.state().grantAll();
    EditorHub hub;
    env.state().hub = &hub;
    TForm1 w(env.state());
    w.updateAvailability();
    w.cbKategorie->setCurrentIndex(w.cbKategorie->findText("Kunde"));
    Q_EMIT w.cbKategorie->activated(w.cbKategorie->currentIndex());
    QCOMPARE(w.contactModel().dataRows(), 2);
    // the first row, edited, is selected again with the category kept
    w.lstContacts->setCurrentIndex(w.contactModel().index(0, 0));
    QCOMPARE(env.state().SelectedID, qint64(3));
    w.actEditEntry->trigger();
    QCOMPARE(hub.calls, QStringList{"3 firma edit"});
    QCOMPARE(w.cbKategorie->currentText(), QStringLiteral("Kunde"));
    QCOMPARE(w.contactModel().dataRows(), 2);
    QCOMPARE(w.lstContacts->currentIndex().row(), 0);
    // detail view of the second row
    w.lstContacts->setCurrentIndex(w.contactModel().index(1, 0));
    w.tbDetail->trigger();
    QCOMPARE(hub.calls.last(), QStringLiteral("1 firma show"));
    QCOMPARE(w.lstContacts->currentIndex().row(), 1);
    // a new entry saved by the editor (it sets SelectedID) is selected when listed
    w.rbPersonen->click();
    env.state().SelectedID = 13;
    w.actNewEntry->trigger();
    QCOMPARE(hub.calls.last(), QStringLiteral("neu name"));
    QVERIFY(w.rbPersonen->isChecked());
    QCOMPARE(w.contactModel().cell(w.lstContacts->currentIndex().row(), ContactListModel::Id), QStringLiteral("13"));
}

void TestContactList::emptyListDisablesCommands()
{
    TestEnv env;
    env.state().grantAll();
    EditorHub hub;
    env.state().hub = &hub;
    TForm1 w(env.state());
    w.updateAvailability();
    env.state().SelectedID = 77;
    QCOMPARE(w.contactModel().dataRows(), 1);
    w.lstContacts->setCurrentIndex(w.contactModel().index(0, 0));
    w.UpdateSelection();
    for (QAction *a : {w.actEditEntry, w.tbDetail, w.tbLetter, w.tbEditEntry, w.actNewProject, w.popNewProject})
        QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    QCOMPARE(env.state().SelectedID, qint64(77));
}

void TestContactList::letterBookmarks()
{
    TestEnv env;
    fill(env);
    const QDate day(2026, 12, 9);
    const auto company = LetterBookmarks(ReadLetterData(env.db(), 3, true), day);
    QStringList keys;
    for (const auto &[k, v] : company)
        keys << k;
    QCOMPARE(keys, QStringList({"Datum", "SAnrede", "Anrede1", "Anrede2", "Titel", "NName", "VName", "Name",
                                "Strasse", "PLZ", "Ort"}));
    QCOMPARE(company[0].second, QStringLiteral("09.12.2026"));
    QCOMPARE(company[7].second, QStringLiteral("O'Neil Pub"));
    QCOMPARE(company[8].second, QStringLiteral("Weg 30")); // the main address, not the store
    QCOMPARE(company[2].second, QString());
    const auto person = LetterBookmarks(ReadLetterData(env.db(), 12, false), day);
    QCOMPARE(person[1].second, QStringLiteral("Sehr geehrter Herr Dr. O'Hara,"));
    QCOMPARE(person[2].second, QStringLiteral("Sehr geehrter Herr"));
    QCOMPARE(person[3].second, QStringLiteral("Herr"));
    QCOMPARE(person[4].second, QStringLiteral("Dr."));
    QCOMPARE(person[5].second, QStringLiteral("O'Hara"));
    QCOMPARE(person[7].second, QString());
    QCOMPARE(person[10].second, QStringLiteral("Greifswald"));
    env.exec("UPDATE name SET Anrede='Familie' WHERE IDN=12");
    QCOMPARE(LetterBookmarks(ReadLetterData(env.db(), 12, false), day)[2].second, QString());
}

void TestContactList::letterThroughTemplate()
{
    TestEnv env;
    fill(env);
    QTemporaryDir out;
    WordWriter::setDefaultTargetDir(out.path());
    QList<QUrl> opened;
    SetDesktopOpener([&opened](const QUrl &u) { opened << u; return true; });

    env.dialogs().answerFile(QString()); // cancelled: nothing written
    WriteLetter(env.state(), 3, true);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 0);

    env.dialogs().answerFile(env.path("Allgemein/Brief.ott"));
    WriteLetter(env.state(), 3, true);
    QCOMPARE(opened.size(), 1);
    const QString doc = opened.first().toLocalFile();
    QVERIFY(doc.startsWith(out.path()));
    const QString xml = QString::fromUtf8(
        QFile(JlCompress::extractFile(doc, "content.xml", out.filePath("content.xml"))).exists()
            ? [&] { QFile f(out.filePath("content.xml")); f.open(QIODevice::ReadOnly); return f.readAll(); }()
            : QByteArray());
    QVERIFY(xml.contains("O&apos;Neil Pub") || xml.contains("O'Neil Pub"));
    QVERIFY(xml.contains("17010"));

    // a template that is no document: clear message, no file
    QFile bad(env.path("Allgemein/kaputt.ott"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("kein zip");
    bad.close();
    env.dialogs().answerFile(bad.fileName());
    QVERIFY(!RunCommand(env.dialogs(), [&] { WriteLetter(env.state(), 3, true); }));
    QVERIFY(env.dialogs().texts(ScriptedDialogs::Kind::Error).last().contains("kaputt.ott"));
    QCOMPARE(QDir(out.path()).entryList({"*.odt"}, QDir::Files).size(), 1);
    SetDesktopOpener({});
    WordWriter::setDefaultTargetDir(QString());
}

QTEST_MAIN(TestContactList)
#include "tst_contactlist.moc"
