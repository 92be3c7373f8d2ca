#include "ContactFixtures.h"
#include "ContactGrid.h"
#include "ContactStore.h"
#include "Database.h"
#include "Errors.h"
#include "TestEnv.h"
#include "RefuseWrites.h"
#include "TdmCommon.h"

#include <QtTest>

#include <thread>

using namespace Fixtures;

class TestContactStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newCompanyWritesExactlyItsRows();
    void newPersonWithThreeFurtherAddresses();
    void updateReplacesChangedAndDeletesEmptiedRows();
    void texts_data();
    void texts();
    void duplicateChecksQuoteUserText();
    void numberCollisionWritesNothing_data();
    void numberCollisionWritesNothing();
    void failingSaveLeavesNothingHalfWritten();
    void twoWorkstationsAddContactsAtOnce();
    void linksAndPanels();
    void candidates();
    void gridRules_data();
    void gridRules();
};

void TestContactStore::newCompanyWritesExactlyItsRows()
{
    TestEnv env;
    ContactStore store(env.state());
    CompanyRecord c = company(1, QStringLiteral("Acme GmbH"));
    c.addresses = {{"Lager", "Hafenweg 3", "70327", "Stuttgart", "Deutschland", {}},
                   {"Filiale", "Marktplatz 2", "", "", "", {}},
                   {}};
    c.communications = {{"Telefon", "0711 4711", {}, "T"},
                        {"Fax", "0711 4712", {}, "F"},
                        {"E-Mail", "info@acme.de", {}, "E"},
                        {"Zentrale", "", {}, ""}, // a description alone is not stored on the first save
                        {}};
    store.insertCompany(c);

    QCOMPARE(env.column("SELECT IDF || '|' || Name || '|' || Branche || '|' || Kategorie || '|' || Begriffe || '|' || "
                        "SAnrede || '|' || Telefon || '|' || St FROM firma"),
             QStringList{"1|Acme GmbH|Maschinenbau|Kunde|Fräsen Drehen|Sehr geehrte Damen und Herren,|0711 4711|1"});
    QCOMPARE(env.column("SELECT IDA || '|' || Anmerkung FROM anmerkung"), QStringList{"1|Lieferung nur vormittags\nTor 3"});
    // the main address first, marked '1'; further addresses saved for the first time carry no mark
    QCOMPARE(addressRows(env, 1), (QStringList{"Firmensitz|Hauptstraße 1|70173|Stuttgart|Deutschland|1",
                                               "Lager|Hafenweg 3|70327|Stuttgart|Deutschland|",
                                               "Filiale|Marktplatz 2||||"}));
    QCOMPARE(comRows(env, 1), (QStringList{"Telefon|0711 4711|T", "Fax|0711 4712|F", "E-Mail|info@acme.de|E"}));
    QCOMPARE(contactTableCounts(env),
             QStringLiteral("firma=1 name=0 anmerkung=1 adresse=3 adressetofn=3 com=3 comtofn=3 nametofirma=0"));

    const std::optional<CompanyRecord> loaded = store.loadCompany(1);
    QVERIFY(loaded);
    QCOMPARE(loaded->name, c.name);
    QCOMPARE(loaded->note, c.note);
    QCOMPARE(loaded->mainAddress.strasse, QStringLiteral("Hauptstraße 1"));
    QVERIFY(!loaded->mainAddress.ida.isEmpty());
    QCOMPARE(loaded->addresses.size(), 2);
    QCOMPARE(loaded->communications.size(), 3);
    QCOMPARE(loaded->communications[2].code, QStringLiteral("E"));
    QVERIFY(!store.loadCompany(2));
}

void TestContactStore::newPersonWithThreeFurtherAddresses()
{
    TestEnv env;
    ContactStore store(env.state());
    PersonRecord p = person(4, QStringLiteral("Eva"), QStringLiteral("Muster"));
    p.addresses = {{"Büro", "A-Weg 1", "", "", "", {}}, {"", "", "", "Bonn", "", {}}, {"Ferien", "", "", "", "", {}}};
    p.communications = {{"Handy", "0170 1", {}, "M"}};
    store.insertPerson(p);
    QCOMPARE(addressRows(env, 4).size(), 4);
    QCOMPARE(comRows(env, 4), QStringList{"Handy|0170 1|M"});
    QCOMPARE(env.scalar("SELECT Titel || Anrede || VName || NName || St FROM name WHERE IDN = 4"),
             QStringLiteral("Dr.FrauEvaMuster1"));
}

void TestContactStore::updateReplacesChangedAndDeletesEmptiedRows()
{
    TestEnv env;
    ContactStore store(env.state());
    CompanyRecord c = company(1, QStringLiteral("Acme GmbH"));
    c.addresses = {{"Lager", "Hafenweg 3", "70327", "Stuttgart", "", {}}, {"Alt", "Weg 1", "", "", "", {}}};
    c.communications = {{"Telefon", "1", {}, "T"}, {"Fax", "2", {}, "F"}, {"E-Mail", "a@b.de", {}, "E"}};
    store.insertCompany(c);
    const QString faxIdc = env.scalar("SELECT IDC FROM comtofn WHERE Bez = 'Fax'");

    CompanyRecord u = *store.loadCompany(1);
    u.name = QStringLiteral("Acme AG");
    u.deactivated = true;
    u.mainAddress.strasse = QStringLiteral("Neue Straße 5");
    u.addresses[0].ort = QStringLiteral("Esslingen");
    u.addresses[1] = AddressRow{{}, {}, {}, {}, {}, u.addresses[1].ida}; // emptied: deleted
    u.addresses.append({"Neu", "Am Bach 2", "", "", "", {}});
    u.communications[0].inhalt = QStringLiteral("0711 1");
    u.communications[0].code = QStringLiteral("M");
    u.communications[1].bez.clear();
    u.communications[1].inhalt.clear();
    u.communications.append({"Zentrale", "", {}, ""}); // a description alone is stored on a later save
    store.updateCompany(u);

    QCOMPARE(env.scalar("SELECT Name || St FROM firma WHERE IDF = 1"), QStringLiteral("Acme AG0"));
    QCOMPARE(addressRows(env, 1), (QStringList{"Firmensitz|Neue Straße 5|70173|Stuttgart|Deutschland|1",
                                               "Lager|Hafenweg 3|70327|Esslingen||0",
                                               "Neu|Am Bach 2||||"}));
    // the emptied address is gone with its link (its number is free again and may be drawn anew)
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM adresse WHERE Strasse = 'Weg 1'"), QStringLiteral("0"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM adressetofn WHERE Art = 'Alt'"), QStringLiteral("0"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM adresse"), QStringLiteral("3"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM adressetofn"), QStringLiteral("3"));
    QCOMPARE(comRows(env, 1), (QStringList{"Telefon|0711 1|M", "E-Mail|a@b.de|E", "Zentrale||"}));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM com WHERE IDC = " + faxIdc), QStringLiteral("0"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM comtofn WHERE IDC = " + faxIdc), QStringLiteral("0"));
}

void TestContactStore::texts_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("apostrophe") << QStringLiteral("O'Neil");
    QTest::newRow("apostrophe in company") << QStringLiteral("D'Angelo GmbH");
    QTest::newRow("two apostrophes") << QStringLiteral("''");
    QTest::newRow("umlauts and sharp s") << QStringLiteral("Müller & Söhne Straßenbau ÄÖÜ");
    QTest::newRow("statement text") << QStringLiteral("x'); DELETE FROM firma; --");
    QTest::newRow("very long") << QString(5000, QLatin1Char('x')) + QStringLiteral("'ß");
}

void TestContactStore::texts()
{
    QFETCH(QString, text);
    TestEnv env;
    ContactStore store(env.state());
    CompanyRecord c = company(1, text);
    c.note = text;
    c.mainAddress.strasse = text;
    c.addresses = {{text, text, text, text, text, {}}};
    c.communications = {{text, text, {}, "N"}};
    store.insertCompany(c);
    PersonRecord p = person(2, text, text);
    p.titel = p.anrede = p.begriffe = p.kategorie = p.sanrede = p.note = text;
    store.insertPerson(p, 1);

    const CompanyRecord lc = *store.loadCompany(1);
    QCOMPARE(lc.name, text);
    QCOMPARE(lc.note, text);
    QCOMPARE(lc.mainAddress.strasse, text);
    QCOMPARE(lc.addresses.value(0), (AddressRow{text, text, text, text, text, lc.addresses.value(0).ida}));
    QCOMPARE(lc.communications.value(0).inhalt, text);
    PersonRecord lp = *store.loadPerson(2);
    QCOMPARE(lp.vname, text);
    QCOMPARE(lp.sanrede, text);
    QCOMPARE(store.linkedCompany(2).name, text);

    // the update statements quote as well
    lp.nname = text + text;
    lp.position = text;
    store.updatePerson(lp, 1);
    QCOMPARE(store.loadPerson(2)->nname, text + text);
    QCOMPARE(store.loadPerson(2)->position, text);
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM firma"), QStringLiteral("1"));
}

void TestContactStore::duplicateChecksQuoteUserText()
{
    TestEnv env;
    ContactStore store(env.state());
    store.insertCompany(company(1, QStringLiteral("Müllerei GmbH")));
    store.insertCompany(company(2, QStringLiteral("D'Angelo GmbH")));
    store.insertPerson(person(3, QStringLiteral("Sean"), QStringLiteral("O'Neil")));

    QCOMPARE(store.similarCompanies(QStringLiteral("Müller")), QStringList{"Müllerei GmbH"});
    QCOMPARE(store.similarCompanies(QStringLiteral("D'Angelo Pizzeria")), QStringList{"D'Angelo GmbH"});
    QCOMPARE(store.similarCompanies(QStringLiteral("Meier")), QStringList{});
    // typed wildcards stand for themselves
    store.insertCompany(company(4, QStringLiteral("Autohaus Blech GmbH")));
    QCOMPARE(store.similarCompanies(QStringLiteral("_____ Neu GmbH")), QStringList{});
    QCOMPARE(store.similarCompanies(QStringLiteral("%")), QStringList{});
    QCOMPARE(store.samePersons(QStringLiteral("Sean"), QStringLiteral("O'Neil")).size(), 1);
    QCOMPARE(store.samePersons(QStringLiteral("Sean"), QStringLiteral("O'Neill")).size(), 0);
    QCOMPARE(store.companyName(2), std::optional<QString>(QStringLiteral("D'Angelo GmbH")));
    QVERIFY(!store.companyName(3));
    QVERIFY(store.personName(3));
    QVERIFY(!store.personName(1));
}

void TestContactStore::numberCollisionWritesNothing_data()
{
    QTest::addColumn<QString>("occupy");
    QTest::newRow("left-over address link") << QStringLiteral("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (90, 7, 'x', '1')");
    QTest::newRow("person with the number") << QStringLiteral("INSERT INTO name (IDN, NName, St) VALUES (7, 'Alt', '1')");
    QTest::newRow("company with the number") << QStringLiteral("INSERT INTO firma (IDF, Name, St) VALUES (7, 'Alt', '1')");
}

void TestContactStore::numberCollisionWritesNothing()
{
    QFETCH(QString, occupy);
    TestEnv env;
    ContactStore store(env.state());
    env.exec(occupy);
    const QString before = contactTableCounts(env);
    CompanyRecord c = company(7, QStringLiteral("Neu GmbH"));
    c.communications = {{"Telefon", "1", {}, "T"}};
    QVERIFY_THROWS_EXCEPTION(OrvellaError, store.insertCompany(c));
    QVERIFY_THROWS_EXCEPTION(OrvellaError, store.insertPerson(person(7, "A", "B")));
    QCOMPARE(contactTableCounts(env), before);
}

void TestContactStore::failingSaveLeavesNothingHalfWritten()
{
    TestEnv env;
    ContactStore store(env.state());
    // the address statements come after the contact, its note and its entries
    RefuseWrites(env, "refuse", "INSERT", "adresse", "Platte voll");
    CompanyRecord c = company(1, QStringLiteral("Acme"));
    c.communications = {{"Telefon", "1", {}, "T"}};
    QVERIFY_THROWS_EXCEPTION(DatabaseError, store.insertCompany(c));
    QCOMPARE(contactTableCounts(env),
             QStringLiteral("firma=0 name=0 anmerkung=0 adresse=0 adressetofn=0 com=0 comtofn=0 nametofirma=0"));
    AllowWrites(env, "refuse", "adresse");

    store.insertCompany(c);
    CompanyRecord u = *store.loadCompany(1);
    u.name = QStringLiteral("Acme neu");
    u.communications[0].inhalt = QStringLiteral("2");
    RefuseWrites(env, "refuse", "UPDATE", "adresse", "Platte voll");
    QVERIFY_THROWS_EXCEPTION(DatabaseError, store.updateCompany(u));
    QCOMPARE(env.scalar("SELECT Name FROM firma"), QStringLiteral("Acme"));
    QCOMPARE(comRows(env, 1), QStringList{"Telefon|1|T"});
}

// Two workstations add companies and persons at the same time, each drawing the
// number just before its save as the contact window does, and again during the
// save when it was taken meanwhile. Every contact is stored, none under another
// contact's number, whose addresses and entries it would then share.
void TestContactStore::twoWorkstationsAddContactsAtOnce()
{
    TestEnv env;
    constexpr int PerWorkstation = 60;
    QStringList failures[2];
    const auto workstation = [&](int w) {
        Database db(QStringLiteral("workstation%1").arg(w));
        db.open(env.databaseConfig());
        TdmCommon numbers(db, env.home());
        ContactStore store(db, numbers);
        const auto draw = [&] { return numbers.GetNextKundenNr(); };
        for (int i = 0; i < PerWorkstation; ++i) {
            const QString name = QStringLiteral("W%1-%2").arg(w).arg(i);
            try {
                // one workstation adds persons and companies by turns, the other companies
                if (w == 0 && i % 2)
                    store.insertPerson(person(draw(), name, name), 0, draw);
                else
                    store.insertCompany(company(draw(), name), 0, {}, draw);
            } catch (const std::exception &e) {
                failures[w] << QString::fromUtf8(e.what());
            }
        }
    };
    std::thread first(workstation, 0), second(workstation, 1);
    first.join();
    second.join();
    QCOMPARE(failures[0] + failures[1], QStringList());
    const QString all = QString::number(2 * PerWorkstation);
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM (SELECT IDF FROM firma UNION SELECT IDN FROM name) AS numbers"), all);
    // each contact with its own note and its one main address
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM anmerkung"), all);
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM adressetofn GROUP BY IDFN ORDER BY COUNT(*) DESC LIMIT 1"),
             QStringLiteral("1"));
}

void TestContactStore::linksAndPanels()
{
    TestEnv env;
    ContactStore store(env.state());
    CompanyRecord c = company(1, QStringLiteral("Acme"));
    c.addresses = {{"Lager", "Hafenweg 3", "70327", "Stuttgart", "", {}}};
    store.insertCompany(c);
    store.insertCompany(company(2, QStringLiteral("Beta")));
    store.insertPerson(person(3, QStringLiteral("Eva"), QStringLiteral("Muster")), 1);
    store.insertPerson(person(4, QStringLiteral("Udo"), QStringLiteral("Frei")));

    QCOMPARE(env.column("SELECT IDN || '|' || IDF || '|' || Pos FROM nametofirma"), QStringList{"3|1|"});
    store.linkPerson(4, 1, QStringLiteral("Einkauf O'Brien"));
    // a person belongs to one company at most
    QVERIFY_THROWS_EXCEPTION(OrvellaError, store.linkPerson(4, 2, QString()));

    const QList<AssignedPerson> persons = store.companyPersons(1);
    QCOMPARE(persons.size(), 2);
    const PersonDetails d = store.personDetails(4, 1);
    QCOMPARE(d.position, QStringLiteral("Einkauf O'Brien"));
    QCOMPARE(d.strasse, QStringLiteral("Ringstraße 9"));
    QCOMPARE(d.telefon, QStringLiteral("089 123"));

    LinkedCompany l = store.linkedCompany(4);
    QCOMPARE(l.IDF, qint64(1));
    QCOMPARE(l.name, QStringLiteral("Acme"));
    QCOMPARE(l.strasse, QStringLiteral("Hauptstraße 1"));
    // the panel shows the main address even when a further address was stored first
    env.exec("UPDATE adressetofn SET St = '0' WHERE IDFN = 1 AND St = '1'");
    env.exec("UPDATE adressetofn SET St = '1' WHERE IDFN = 1 AND Art = 'Lager'");
    QCOMPARE(store.linkedCompany(4).strasse, QStringLiteral("Hafenweg 3"));

    PersonRecord p = *store.loadPerson(4);
    QCOMPARE(p.position, QStringLiteral("Einkauf O'Brien"));
    p.position = QStringLiteral("Leitung");
    store.updatePerson(p, 1);
    QCOMPARE(env.scalar("SELECT Pos FROM nametofirma WHERE IDN = 4"), QStringLiteral("Leitung"));

    store.unlinkPerson(4, 1);
    QCOMPARE(env.state().dmCommon.GetFirmaOfPerson(4), qint64(0));
    QCOMPARE(store.linkedCompany(4).IDF, qint64(0));
    QCOMPARE(store.companyPersons(1).size(), 1);
}

void TestContactStore::candidates()
{
    TestEnv env;
    ContactStore store(env.state());
    CompanyRecord a = company(1, QStringLiteral("Acme"));
    a.kategorie = QStringLiteral("Lieferant");
    store.insertCompany(a);
    store.insertPerson(person(2, QStringLiteral("Eva"), QStringLiteral("Muster")), 1);
    store.insertPerson(person(3, QStringLiteral("Sean"), QStringLiteral("O'Neil")));
    PersonRecord blocked = person(4, QStringLiteral("Gesperrt"), QStringLiteral("Person"));
    blocked.deactivated = true;
    store.insertPerson(blocked);
    PersonRecord noMain = person(5, QStringLiteral("Ohne"), QStringLiteral("Adresse"));
    store.insertPerson(noMain);
    env.exec("DELETE FROM adressetofn WHERE IDFN = 5");

    using F = ContactStore::CandidateFilter;
    QList<AssignCandidate> persons = store.candidates(false, F{});
    QCOMPARE(persons.size(), 2); // no deactivated person, none without main address
    for (const AssignCandidate &c : persons)
        QCOMPARE(c.linked, c.id == 2);
    QCOMPARE(store.candidates(false, F{{}, {}, {}, "O'Ne", false}).value(0).id, qint64(3));
    QCOMPARE(store.candidates(false, F{{}, "3", {}, {}, false}).size(), 1);
    QCOMPARE(store.candidates(false, F{{}, {}, {}, {}, true}).value(0).id, qint64(4));
    QCOMPARE(store.candidates(true, F{"Lieferant", {}, {}, {}, false}).size(), 1);
    QCOMPARE(store.candidates(true, F{"Kunde", {}, {}, {}, false}).size(), 0);
    QCOMPARE(store.candidates(true, F{{}, {}, "cm", {}, false}).value(0).name, QStringLiteral("Acme"));
    QCOMPARE(store.companyOfPerson(2), QStringLiteral("Acme"));

    env.exec("BEGIN");
    for (int i = 10; i < 115; ++i) {
        env.exec(QStringLiteral("INSERT INTO firma (IDF, Name, St) VALUES (%1, 'F%1', '1')").arg(i));
        env.exec(QStringLiteral("INSERT INTO adresse (IDA, Ort) VALUES (%1, 'X')").arg(i + 1000));
        env.exec(QStringLiteral("INSERT INTO adressetofn (IDA, IDFN, St) VALUES (%1, %2, '1')").arg(i + 1000).arg(i));
    }
    env.exec("COMMIT");
    QCOMPARE(store.candidates(true, F{}).size(), ContactStore::MaxCandidates);
}

void TestContactStore::gridRules_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QStringList>("lastRow");
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<bool>("needsRow");
    QTest::newRow("address: empty last row") << "address" << QStringList{"", "", "", "", "", ""} << 0 << false;
    QTest::newRow("address: land only") << "address" << QStringList{"", "", "", "", "CH", ""} << 0 << true;
    QTest::newRow("address: hidden number only") << "address" << QStringList{"", "", "", "", "", "12"} << 0 << false;
    QTest::newRow("com: description") << "com" << QStringList{"Fax", "", "", ""} << 0 << true;
    QTest::newRow("com: content in first row") << "com" << QStringList{"", "0711", "", ""} << 0 << false;
    QTest::newRow("com: content further down") << "com" << QStringList{"", "0711", "", ""} << 1 << true;
    QTest::newRow("com: empty") << "com" << QStringList{"", "", "", "T"} << 3 << false;
}

void TestContactStore::gridRules()
{
    QFETCH(QString, grid);
    QFETCH(QStringList, lastRow);
    QFETCH(int, currentRow);
    QFETCH(bool, needsRow);
    const QList<QStringList> rows{QStringList{"a", "b", "", "", "", ""}, lastRow};
    if (grid == QLatin1String("address"))
        QCOMPARE(ContactGrid::addressGridNeedsRow(rows), needsRow);
    else
        QCOMPARE(ContactGrid::comGridNeedsRow(rows, currentRow), needsRow);
}

QTEST_GUILESS_MAIN(TestContactStore)
#include "tst_contactstore.moc"
