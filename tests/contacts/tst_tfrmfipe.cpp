#include "CommunicationGroup.h"
#include "ControlCharacterGuard.h"
#include "Desktop.h"
#include "ContactFixtures.h"
#include "ContactGrid.h"
#include "PersonPage.h"
#include "Settings.h"
#include "TfrmFiPe.h"
#include "TfrmFirmaPersonZuordnen.h"
#include "WindowSteps.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace Fixtures;
using namespace Steps;
using Answer = Dialogs::Answer;

namespace {

const QString UnsavedSwitch = QStringLiteral(
    "Daten wurden nicht gesichert. Wenn Sie weitermachen gehen diese  Daten verloren. Wollen Sie das wirklich?");
const QString UnsavedClose = QStringLiteral("Daten wurden nicht gesichert. Dialog wirklich Beenden ?");

// A cell edited as the user does it: through the view's model.
bool edit(QObject *root, const char *grid, int row, int column, const QString &text)
{
    auto *view = find<GridView>(root, grid);
    const QModelIndex i = view->model()->index(row, column);
    view->setCurrentIndex(i);
    return view->model()->setData(i, text, Qt::EditRole);
}

QString text(QObject *root, const char *field)
{
    return find<QLineEdit>(root, field)->text();
}

QTabWidget *tabs(TfrmFiPe &dlg)
{
    return find<QTabWidget>(&dlg, "tabContacts");
}

} // namespace

class TestFiPe : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newCompanyWithAddressesAndEntries();
    void updateReplacesAndDeletes();
    void duplicateCompany_data();
    void duplicateCompany();
    void duplicatePerson_data();
    void duplicatePerson();
    void namesRequired_data();
    void namesRequired();
    void numberHandOverBetweenTabs();
    void newPersonBesideSavedCompany_data();
    void newPersonBesideSavedCompany();
    void switchingWithUnsavedChanges();
    void linkAndUnlinkThroughAssignment();
    void unlinkFromCompanyTab();
    void deactivating();
    void swapMainAddress();
    void typeMenu();
    void webAddressOpensThroughTheDesktop_data();
    void webAddressOpensThroughTheDesktop();
    void enterMovesThroughTheGrid();
    void salutations_data();
    void salutations();
    void readOnlyWithoutWritePermission();
    void closingAsksForUnsavedData();
    void numberCollision();
    void controlCharactersAreRefused_data();
    void controlCharactersAreRefused();
};

void TestFiPe::newCompanyWithAddressesAndEntries()
{
    TestEnv env;
    env.state().grantAll();
    ContactStore(env.state()).insertPerson(person(1, "Eva", "Muster")); // numbers go on from 2
    TfrmFiPe dlg(env.state());
    dlg.prepareNew(true);
    dlg.show();
    QCOMPARE(tabs(dlg)->currentIndex(), 0);
    QCOMPARE(text(&dlg, "edtCompanyNumber"), QStringLiteral("000002"));
    QVERIFY(dlg.isEditable());
    QVERIFY(!find<QToolButton>(&dlg, "btnExtendedData")->isEnabled());

    type(&dlg, "edtCompanyName", "D'Angelo GmbH");
    type(&dlg, "edtCompanyBranche", "Gastronomie");
    type(&dlg, "edtCompanyPhone", "0711 99");
    type(&dlg, "edtCompanyAddressKind", "Sitz");
    type(&dlg, "edtCompanyStreet", "Königstraße 1");
    type(&dlg, "edtCompanyPostcode", "70173");
    type(&dlg, "edtCompanyTown", "Stuttgart");
    QVERIFY(!dlg.isSaved());
    QVERIFY(edit(&dlg, "grdCompanyAddresses", 0, AdrBezeichnung, "Lager"));
    QVERIFY(edit(&dlg, "grdCompanyAddresses", 0, AdrStrasse, "Hafenweg 3"));
    QVERIFY(edit(&dlg, "grdCompanyAddresses", 1, AdrOrt, "Ulm"));
    // every filled last row brings a new empty one
    QCOMPARE(find<GridView>(&dlg, "grdCompanyAddresses")->model()->rowCount(), 3);
    const char *entries[][3] = {{"Telefon", "0711 99", "T"}, {"Fax", "0711 98", "F"}, {"E-Mail", "info@dangelo.de", "E"}};
    auto *com = find<CommunicationGroup>(&dlg, "grpCompanyCommunication");
    for (int r = 0; r < 3; ++r) {
        QVERIFY(edit(&dlg, "grdCompanyCommunication", r, ComBezeichnung, entries[r][0]));
        QVERIFY(edit(&dlg, "grdCompanyCommunication", r, ComInhalt, entries[r][1]));
        com->typeAction(QLatin1Char(entries[r][2][0]))->trigger();
    }
    QVERIFY(edit(&dlg, "grdCompanyCommunication", 3, ComBezeichnung, "Zentrale"));

    click(&dlg, "btnCompanySave");
    QCOMPARE(env.dialogs().questions(), QStringList{});
    QCOMPARE(env.dialogs().messages(), QStringList{"Firma D'Angelo GmbH eingetragen. "});
    QCOMPARE(env.scalar("SELECT IDF || Name || Branche || Telefon || St FROM firma"),
             QStringLiteral("2D'Angelo GmbHGastronomie0711 991"));
    QCOMPARE(addressRows(env, 2), (QStringList{"Sitz|Königstraße 1|70173|Stuttgart||1", "Lager|Hafenweg 3||||",
                                               "|||Ulm||"}));
    QCOMPARE(comRows(env, 2), (QStringList{"Telefon|0711 99|T", "Fax|0711 98|F", "E-Mail|info@dangelo.de|E"}));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM anmerkung WHERE IDA = 2"), QStringLiteral("1"));
    QCOMPARE(env.state().SelectedID, qint64(2));
    // after a save the editor shows the stored company, read-only
    QVERIFY(!dlg.isEditable());
    QVERIFY(dlg.companyExists());
    QVERIFY(!find<QPushButton>(&dlg, "btnCompanySave")->isEnabled());
    QVERIFY(find<QPushButton>(&dlg, "btnCompanyEdit")->isEnabled());
    QCOMPARE(text(&dlg, "edtCompanyName"), QStringLiteral("D'Angelo GmbH"));
    QCOMPARE(find<GridView>(&dlg, "grdCompanyAddresses")->gridModel()->cell(1, AdrOrt), QStringLiteral("Ulm"));
}

void TestFiPe::updateReplacesAndDeletes()
{
    TestEnv env;
    env.state().grantAll();
    ContactStore store(env.state());
    CompanyRecord c = company(1, "Acme");
    c.addresses = {{"Lager", "Hafenweg 3", "", "", "", {}}, {"Alt", "Weg 1", "", "", "", {}}};
    c.communications = {{"Telefon", "1", {}, "T"}, {"Fax", "2", {}, "F"}};
    store.insertCompany(c);
    TfrmFiPe dlg(env.state());
    dlg.prepareShow(1, true, true);
    dlg.show();
    QCOMPARE(text(&dlg, "edtCompanyName"), QStringLiteral("Acme"));
    QCOMPARE(text(&dlg, "edtCompanyStreet"), QStringLiteral("Hauptstraße 1"));

    type(&dlg, "edtCompanyName", "Acme Süd");
    QVERIFY(edit(&dlg, "grdCompanyAddresses", 0, AdrOrt, "Ulm"));
    for (int col = AdrBezeichnung; col <= AdrLand; ++col) // the last further address emptied: deleted
        QVERIFY(edit(&dlg, "grdCompanyAddresses", 1, col, ""));
    QVERIFY(edit(&dlg, "grdCompanyCommunication", 1, ComBezeichnung, ""));
    QVERIFY(edit(&dlg, "grdCompanyCommunication", 1, ComInhalt, ""));
    QVERIFY(edit(&dlg, "grdCompanyCommunication", 2, ComBezeichnung, "Zentrale"));
    click(&dlg, "btnCompanySave");

    QCOMPARE(env.dialogs().messages(), QStringList{"Firma geändert."});
    QCOMPARE(env.scalar("SELECT Name FROM firma"), QStringLiteral("Acme Süd"));
    QCOMPARE(addressRows(env, 1), (QStringList{"Firmensitz|Hauptstraße 1|70173|Stuttgart|Deutschland|1",
                                               "Lager|Hafenweg 3||Ulm||0"}));
    QCOMPARE(comRows(env, 1), (QStringList{"Telefon|1|T", "Zentrale||"}));

    // deleting the last further address leaves the main address alone
    dlg.EditCompany();
    for (int col = AdrBezeichnung; col <= AdrLand; ++col)
        QVERIFY(edit(&dlg, "grdCompanyAddresses", 0, col, ""));
    click(&dlg, "btnCompanySave");
    QCOMPARE(addressRows(env, 1), QStringList{"Firmensitz|Hauptstraße 1|70173|Stuttgart|Deutschland|1"});
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM adresse"), QStringLiteral("1"));
}

void TestFiPe::duplicateCompany_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("companies");
    QTest::addColumn<bool>("asked");
    QTest::newRow("yes") << "Müller" << int(Answer::Yes) << 2 << true;
    QTest::newRow("no") << "Müller" << int(Answer::No) << 1 << true;
    QTest::newRow("cancel") << "Müller" << int(Answer::Cancel) << 1 << true;
    QTest::newRow("four characters: no check") << "Müll" << int(Answer::No) << 2 << false;
}

void TestFiPe::duplicateCompany()
{
    QFETCH(QString, name);
    QFETCH(int, answer);
    QFETCH(int, companies);
    QFETCH(bool, asked);
    TestEnv env;
    env.state().grantAll();
    ContactStore(env.state()).insertCompany(company(1, "Müllerei GmbH"));
    TfrmFiPe dlg(env.state());
    dlg.prepareNew(true);
    dlg.show();
    type(&dlg, "edtCompanyName", name);
    env.dialogs().answer(Answer(answer));
    click(&dlg, "btnCompanySave");

    const QStringList expected{"Es existiert schon eine Firma: \"Müllerei GmbH\" eingetragen! Wollen Sie die neue Firma "
                               "trotzdem eintragen?"};
    QCOMPARE(env.dialogs().questions(), asked ? expected : QStringList{});
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM firma"), QString::number(companies));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM adressetofn"), QString::number(companies));
    if (Answer(answer) == Answer::Cancel) {
        // Cancel stops at once: the typed company stays, still editable
        QCOMPARE(text(&dlg, "edtCompanyName"), name);
        QVERIFY(dlg.isEditable());
    } else {
        QVERIFY(!dlg.isEditable());
        QCOMPARE(dlg.companyExists(), companies == 2);
    }
}

void TestFiPe::duplicatePerson_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("persons");
    QTest::newRow("yes") << int(Answer::Yes) << 2;
    QTest::newRow("no") << int(Answer::No) << 1;
    QTest::newRow("cancel") << int(Answer::Cancel) << 1;
}

void TestFiPe::duplicatePerson()
{
    QFETCH(int, answer);
    QFETCH(int, persons);
    TestEnv env;
    env.state().grantAll();
    ContactStore(env.state()).insertPerson(person(1, "Sean", "O'Neil"));
    TfrmFiPe dlg(env.state());
    dlg.prepareNew(false);
    dlg.show();
    QCOMPARE(tabs(dlg)->currentIndex(), 1);
    QCOMPARE(text(&dlg, "edtPersonNumber"), QStringLiteral("000002"));
    type(&dlg, "edtPersonFirstName", "Sean");
    type(&dlg, "edtPersonLastName", "O'Neil");
    env.dialogs().answer(Answer(answer));
    click(&dlg, "btnPersonSave");
    QCOMPARE(env.dialogs().questions(),
             QStringList{"Es existiert schon eine Person: \"Sean O'Neil\" eingetragen! Wollen Sie die neue Person "
                         "trotzdem eintragen?"});
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM name"), QString::number(persons));
    if (persons == 2) {
        QCOMPARE(env.dialogs().messages(), QStringList{"Sean, O'Neil eingetragen."});
        QCOMPARE(env.state().SelectedID, qint64(2));
    }
    QCOMPARE(dlg.isEditable(), Answer(answer) == Answer::Cancel);
}

void TestFiPe::namesRequired_data()
{
    QTest::addColumn<bool>("company");
    QTest::addColumn<QString>("message");
    QTest::newRow("company") << true << "Mindest der Firmenname muß eingetragen werden! Keine Speicherung";
    QTest::newRow("person") << false << "Mindest der Vorname oder Nachname muß eingetragen werden! Keine Speicherung";
}

void TestFiPe::namesRequired()
{
    QFETCH(bool, company);
    QFETCH(QString, message);
    TestEnv env;
    env.state().grantAll();
    TfrmFiPe dlg(env.state());
    dlg.prepareNew(company);
    dlg.show();
    type(&dlg, company ? "edtCompanyBranche" : "edtPersonTitle", "nur das");
    click(&dlg, company ? "btnCompanySave" : "btnPersonSave");
    QCOMPARE(env.dialogs().messages(), QStringList{message});
    QCOMPARE(contactTableCounts(env),
             QStringLiteral("firma=0 name=0 anmerkung=0 adresse=0 adressetofn=0 com=0 comtofn=0 nametofirma=0"));
    QVERIFY(dlg.isEditable());

    // a person with only a last name can be saved
    if (!company) {
        type(&dlg, "edtPersonLastName", "Ohnevorname");
        click(&dlg, "btnPersonSave");
        QCOMPARE(env.scalar("SELECT NName FROM name"), QStringLiteral("Ohnevorname"));
    }
}

void TestFiPe::numberHandOverBetweenTabs()
{
    TestEnv env;
    env.state().grantAll();
    ContactStore(env.state()).insertCompany(company(4, "Alt"));
    TfrmFiPe dlg(env.state());
    dlg.prepareNew(true);
    dlg.show();
    QCOMPARE(dlg.currentIDF(), qint64(5));
    // nothing typed: the switch asks nothing, and the person takes over the number
    tabs(dlg)->setCurrentIndex(1);
    QCOMPARE(env.dialogs().questions(), QStringList{});
    QCOMPARE(text(&dlg, "edtPersonNumber"), QStringLiteral("000005"));
    QCOMPARE(dlg.currentIDN(), qint64(5));
    QCOMPARE(dlg.currentIDF(), qint64(0));
    QCOMPARE(text(&dlg, "edtLinkedCompanyNumber"), QString());
    QVERIFY(!dlg.companiesChosen());
    tabs(dlg)->setCurrentIndex(0);
    QCOMPARE(text(&dlg, "edtCompanyNumber"), QStringLiteral("000005"));
    QCOMPARE(dlg.currentIDF(), qint64(5));
    QCOMPARE(dlg.currentIDN(), qint64(0));
    QVERIFY(dlg.companiesChosen());
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM firma"), QStringLiteral("1"));
}

void TestFiPe::newPersonBesideSavedCompany_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("link") << int(Answer::Yes);
    QTest::newRow("do not link") << int(Answer::No);
}

void TestFiPe::newPersonBesideSavedCompany()
{
    QFETCH(int, answer);
    TestEnv env;
    env.state().grantAll();
    TfrmFiPe dlg(env.state());
    dlg.prepareNew(true);
    dlg.show();
    type(&dlg, "edtCompanyName", "Acme");
    type(&dlg, "edtCompanyStreet", "Hauptstraße 1");
    click(&dlg, "btnCompanySave");
    QCOMPARE(dlg.currentIDF(), qint64(1));
    tabs(dlg)->setCurrentIndex(1);
    // the person gets its own number, the company stays beside it in the panel
    QCOMPARE(text(&dlg, "edtPersonNumber"), QStringLiteral("000002"));
    QCOMPARE(text(&dlg, "edtLinkedCompanyName"), QStringLiteral("Acme"));
    QCOMPARE(text(&dlg, "edtLinkedCompanyNumber"), QStringLiteral("000001"));
    QCOMPARE(text(&dlg, "edtLinkedCompanyStreet"), QStringLiteral("Hauptstraße 1"));
    dlg.EditPerson();
    type(&dlg, "edtPersonFirstName", "Eva");
    type(&dlg, "edtPersonLastName", "Muster");
    env.dialogs().clear();
    env.dialogs().answer(Answer(answer));
    click(&dlg, "btnPersonSave");
    QCOMPARE(env.dialogs().questions(), QStringList{"Eva Muster der Firma Acme zuordnen?"});
    QCOMPARE(env.column("SELECT IDN || '|' || IDF FROM nametofirma"),
             Answer(answer) == Answer::Yes ? QStringList{"2|1"} : QStringList{});
    QCOMPARE(text(&dlg, "edtLinkedCompanyName"), Answer(answer) == Answer::Yes ? QStringLiteral("Acme") : QString());
}

void TestFiPe::switchingWithUnsavedChanges()
{
    TestEnv env;
    env.state().grantAll();
    TfrmFiPe dlg(env.state());
    dlg.prepareNew(true);
    dlg.show();
    type(&dlg, "edtCompanyName", "Ungesichert");
    env.dialogs().answer(Answer::No);
    tabs(dlg)->setCurrentIndex(1);
    QCOMPARE(env.dialogs().questions(), QStringList{UnsavedSwitch});
    QCOMPARE(tabs(dlg)->currentIndex(), 0);
    QCOMPARE(text(&dlg, "edtCompanyName"), QStringLiteral("Ungesichert"));
    QVERIFY(dlg.isEditable());

    env.dialogs().answer(Answer::Yes);
    tabs(dlg)->setCurrentIndex(1);
    QCOMPARE(tabs(dlg)->currentIndex(), 1);
    QCOMPARE(text(&dlg, "edtCompanyName"), QString());
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM firma"), QStringLiteral("0"));
}

void TestFiPe::linkAndUnlinkThroughAssignment()
{
    TestEnv env;
    env.state().grantAll();
    ContactStore store(env.state());
    store.insertCompany(company(1, "Acme"));
    store.insertPerson(person(2, "Eva", "Muster"));
    TfrmFiPe dlg(env.state());
    dlg.prepareShow(2, false, true);
    dlg.show();
    QCOMPARE(text(&dlg, "edtPersonLastName"), QStringLiteral("Muster"));
    QVERIFY(!find<QPushButton>(&dlg, "btnPersonUnlink")->isEnabled());
    click(&dlg, "btnLinkCompany");
    TfrmFirmaPersonZuordnen *assign = dlg.assignWindow();
    QVERIFY(assign->isVisible());
    QCOMPARE(assign->mode(), TfrmFirmaPersonZuordnen::Mode::Company);
    QCOMPARE(assign->windowTitle(), QStringLiteral("Eva Muster einer Firma zuordnen"));
    QVERIFY(!find<QLineEdit>(assign, "edtAssignLastName")->isEnabled());
    assign->RowClicked(0);
    QCOMPARE(assign->windowTitle(), QStringLiteral("Der Person Frau Muster der Firma Acme zuordnen"));
    type(assign, "edtAssignPosition", "Einkauf O'Brien");
    click(assign, "btnAssignOk");

    QVERIFY(!assign->isVisible());
    QCOMPARE(env.column("SELECT IDN || '|' || Pos || '|' || IDF FROM nametofirma"), QStringList{"2|Einkauf O'Brien|1"});
    QCOMPARE(text(&dlg, "edtLinkedCompanyName"), QStringLiteral("Acme"));
    QCOMPARE(text(&dlg, "edtPersonPosition"), QStringLiteral("Einkauf O'Brien"));
    QVERIFY(!find<QPushButton>(&dlg, "btnLinkCompany")->isEnabled());
    QVERIFY(find<QPushButton>(&dlg, "btnPersonUnlink")->isEnabled());

    env.dialogs().answer(Answer::Yes);
    click(&dlg, "btnPersonUnlink");
    QCOMPARE(env.dialogs().questions(), QStringList{"Sie sind im Begriff die Verbindung von Eva Muster zu lösen!"});
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM nametofirma"), QStringLiteral("0"));
    QCOMPARE(text(&dlg, "edtLinkedCompanyName"), QString());
    QVERIFY(find<QPushButton>(&dlg, "btnLinkCompany")->isEnabled());
    QVERIFY(!find<QPushButton>(&dlg, "btnPersonUnlink")->isEnabled());
}

void TestFiPe::unlinkFromCompanyTab()
{
    TestEnv env;
    env.state().grantAll();
    ContactStore store(env.state());
    store.insertCompany(company(1, "Acme"));
    store.insertPerson(person(2, "Eva", "Muster"), 1);
    store.insertPerson(person(3, "Udo", "Frei"));
    TfrmFiPe dlg(env.state());
    dlg.prepareShow(1, true, true);
    dlg.show();
    // the linked person is selected and shown in the panel
    QCOMPARE(dlg.currentIDN(), qint64(2));
    QCOMPARE(text(&dlg, "edtContactNumber"), QStringLiteral("000002"));
    QCOMPARE(text(&dlg, "edtContactStreet"), QStringLiteral("Ringstraße 9"));

    // assigning a further person: the linked one is greyed and cannot be chosen
    click(&dlg, "btnLinkPerson");
    TfrmFirmaPersonZuordnen *assign = dlg.assignWindow();
    QCOMPARE(assign->mode(), TfrmFirmaPersonZuordnen::Mode::Person);
    auto *list = find<GridView>(assign, "grdAssignList");
    int eva = -1;
    for (int r = 0; r < list->model()->rowCount(); ++r)
        if (list->gridModel()->cell(r, 1) == QLatin1String("Muster"))
            eva = r;
    QVERIFY(eva >= 0);
    QVERIFY(list->gridModel()->isGreyed(eva));
    assign->RowClicked(eva);
    QVERIFY(!find<QPushButton>(assign, "btnAssignOk")->isEnabled());
    QCOMPARE(find<QPlainTextEdit>(assign, "memAssignInfo")->toPlainText(),
             QStringLiteral("Eva Muster kann nicht der Firma: Acme zugeordnet werden.\n"
                            "Eva Muster ist schon der Firma: \"Acme\" zugeordnet!"));
    assign->RowClicked(1 - eva);
    click(assign, "btnAssignOk");
    QCOMPARE(env.column("SELECT IDN FROM nametofirma ORDER BY IDN"), (QStringList{"2", "3"}));
    QCOMPARE(dlg.currentIDN(), qint64(3));

    dlg.ShowPersonDetails(find<GridView>(&dlg, "grdCompanyPersons")->gridModel()->cell(0, PlIDN) == "2" ? 0 : 1);
    QCOMPARE(dlg.currentIDN(), qint64(2));
    env.dialogs().answer(Answer::Yes);
    click(&dlg, "btnCompanyUnlink");
    QCOMPARE(env.dialogs().questions(),
             QStringList{"Sie sind im Begriff die Verbindung von Acme mit Frau Dr. Eva Muster zu lösen!"});
    QCOMPARE(env.column("SELECT IDN FROM nametofirma"), QStringList{"3"});
    QCOMPARE(find<GridView>(&dlg, "grdCompanyPersons")->model()->rowCount(), 1);
}

void TestFiPe::deactivating()
{
    TestEnv env;
    env.state().grantAll();
    ContactStore(env.state()).insertCompany(company(1, "Acme"));
    TfrmFiPe dlg(env.state());
    dlg.prepareShow(1, true, true);
    dlg.show();
    QVERIFY(!find<QCheckBox>(&dlg, "chkCompanyDeactivated")->isChecked());
    click(&dlg, "chkCompanyDeactivated");
    QVERIFY(!dlg.isSaved());
    click(&dlg, "btnCompanyOk");
    QVERIFY(!dlg.isVisible());
    QCOMPARE(env.scalar("SELECT St FROM firma"), QStringLiteral("0"));
    QCOMPARE(env.dialogs().questions(), QStringList{}); // OK saved first, so closing asks nothing
    dlg.prepareShow(1, true, false);
    dlg.show();
    QVERIFY(find<QCheckBox>(&dlg, "chkCompanyDeactivated")->isChecked());
}

void TestFiPe::swapMainAddress()
{
    TestEnv env;
    env.state().grantAll();
    CompanyRecord c = company(1, "Acme");
    c.addresses = {{"Lager", "Hafenweg 3", "70327", "Ulm", "", {}}};
    ContactStore(env.state()).insertCompany(c);
    const QStringList idas = env.column("SELECT IDA FROM adressetofn ORDER BY IDA");
    TfrmFiPe dlg(env.state());
    dlg.prepareShow(1, true, true);
    dlg.show();
    find<GridView>(&dlg, "grdCompanyAddresses")->setCurrentRow(0);
    click(&dlg, "btnCompanySwapMainAddress");
    QCOMPARE(text(&dlg, "edtCompanyStreet"), QStringLiteral("Hafenweg 3"));
    click(&dlg, "btnCompanySave");
    // the records keep their numbers and exchange their contents
    QCOMPARE(env.column("SELECT IDA FROM adressetofn ORDER BY IDA"), idas);
    QCOMPARE(addressRows(env, 1), (QStringList{"Lager|Hafenweg 3|70327|Ulm||1",
                                               "Firmensitz|Hauptstraße 1|70173|Stuttgart|Deutschland|0"}));
}

void TestFiPe::typeMenu()
{
    TestEnv env;
    env.state().grantAll();
    TfrmFiPe dlg(env.state());
    dlg.prepareNew(false);
    dlg.show();
    auto *com = find<CommunicationGroup>(&dlg, "grpPersonCommunication");
    auto *model = find<GridView>(&dlg, "grdPersonCommunication")->gridModel();
    QVERIFY(edit(&dlg, "grdPersonCommunication", 0, ComInhalt, "0170 1"));
    // on the person tab a type needs description and content
    com->typeAction(QLatin1Char('M'))->trigger();
    QCOMPARE(model->cell(0, ComX), QString());
    QVERIFY(edit(&dlg, "grdPersonCommunication", 0, ComBezeichnung, "Handy"));
    com->typeAction(QLatin1Char('M'))->trigger();
    QCOMPARE(model->cell(0, ComX), QStringLiteral("M"));
    QVERIFY(com->typeAction(QLatin1Char('M'))->isChecked());
    com->typeAction(QLatin1Char('F'))->trigger();
    QCOMPARE(model->cell(0, ComX), QStringLiteral("F"));
    QVERIFY(!com->typeAction(QLatin1Char('M'))->isChecked());
    // choosing the type the row has takes it away
    com->typeAction(QLatin1Char('F'))->trigger();
    QCOMPARE(model->cell(0, ComX), QString());
}

void TestFiPe::webAddressOpensThroughTheDesktop_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("opened"); // empty: nothing is opened
    QTest::newRow("bare host") << "www.mueller-soehne.de" << "http://www.mueller-soehne.de";
    QTest::newRow("https with path") << "https://example.de/kontakt?a=1" << "https://example.de/kontakt?a=1";
    QTest::newRow("local path") << "/etc/passwd" << "";
    QTest::newRow("file scheme") << "file:///etc/passwd" << "";
    QTest::newRow("script") << "javascript:alert(1)" << "";
}

void TestFiPe::webAddressOpensThroughTheDesktop()
{
    QFETCH(QString, typed);
    QFETCH(QString, opened);
    TestEnv env;
    env.state().grantAll();
    CompanyRecord c = company(1, "Acme");
    c.communications = {{"Internet", typed, {}, "I"}, {"Telefon", "0711 1", {}, "T"}};
    ContactStore(env.state()).insertCompany(c);
    QList<QUrl> urls;
    SetDesktopOpener([&](const QUrl &u) { urls << u; return true; });
    TfrmFiPe dlg(env.state());
    dlg.prepareShow(1, true, false);
    dlg.show();
    auto *com = find<CommunicationGroup>(&dlg, "grpCompanyCommunication");
    com->activateRow(1); // the telephone row opens nothing
    com->activateRow(0);
    SetDesktopOpener({});
    QCOMPARE(urls.size(), opened.isEmpty() ? 0 : 1);
    if (!opened.isEmpty())
        QCOMPARE(urls.first().toString(), opened);
}

void TestFiPe::enterMovesThroughTheGrid()
{
    TestEnv env;
    env.state().grantAll();
    CompanyRecord c = company(1, "Acme");
    c.addresses = {{"Lager", "Hafenweg 3", "", "", "", {}}};
    ContactStore(env.state()).insertCompany(c);
    TfrmFiPe dlg(env.state());
    dlg.prepareShow(1, true, true);
    dlg.show();
    auto *grid = find<GridView>(&dlg, "grdCompanyAddresses");
    QCOMPARE(grid->model()->rowCount(), 3);
    // typed into a cell, Enter stores it and moves on to the next column
    grid->setCurrentIndex(grid->model()->index(0, AdrOrt));
    grid->edit(grid->currentIndex());
    auto *editor = grid->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, "Ulm");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(grid->gridModel()->cell(0, AdrOrt), QStringLiteral("Ulm")); // the delegate commits queued
    QCOMPARE(grid->currentIndex(), grid->model()->index(0, AdrLand));
    QVERIFY(!dlg.isSaved());
    // from the last visible column to the first column of the next row, never into the hidden one
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(grid->currentIndex(), grid->model()->index(1, AdrBezeichnung));
    grid->setCurrentIndex(grid->model()->index(2, AdrLand));
    QTest::keyClick(grid, Qt::Key_Enter);
    QCOMPARE(grid->currentIndex(), grid->model()->index(2, AdrLand));
}

void TestFiPe::salutations_data()
{
    QTest::addColumn<QString>("anrede");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Herr") << "Herr" << "Sehr geehrter Herr Ößwald,";
    QTest::newRow("Frau") << "Frau" << "Sehr geehrte Frau Ößwald,";
    QTest::newRow("other") << "Familie" << "Sehr geehrte ...,";
    QTest::newRow("lower case is other") << "herr" << "Sehr geehrte ...,";
}

void TestFiPe::salutations()
{
    QFETCH(QString, anrede);
    QFETCH(QString, expected);
    TestEnv env;
    env.state().grantAll();
    TfrmFiPe dlg(env.state());
    dlg.prepareNew(false);
    dlg.show();
    type(&dlg, "edtPersonAnrede", anrede);
    type(&dlg, "edtPersonLastName", "Ößwald");
    find<QAction>(&dlg, "actPersonSalutationStandard")->trigger();
    QCOMPARE(text(&dlg, "edtPersonSalutation"), expected);
    find<QAction>(&dlg, "actPersonSalutationHerr")->trigger();
    QCOMPARE(text(&dlg, "edtPersonSalutation"), QStringLiteral("Sehr geehrter Herr ,"));
    find<QAction>(&dlg, "actCompanySalutationDamenHerren")->trigger();
    QCOMPARE(text(&dlg, "edtCompanySalutation"), QStringLiteral("Sehr geehrte Damen und Herren,"));
    // a read-only field is left alone
    dlg.SetEditable(false);
    find<QAction>(&dlg, "actPersonSalutationFrau")->trigger();
    QCOMPARE(text(&dlg, "edtPersonSalutation"), QStringLiteral("Sehr geehrter Herr ,"));
}

void TestFiPe::readOnlyWithoutWritePermission()
{
    TestEnv env;
    env.state().Perm[1] = true;
    env.state().Perm[3] = true;
    ContactStore(env.state()).insertCompany(company(1, "Acme"));
    TfrmFiPe dlg(env.state());
    dlg.prepareShow(1, true, true);
    dlg.show();
    QCOMPARE(text(&dlg, "edtCompanyName"), QStringLiteral("Acme"));
    QVERIFY(!dlg.isEditable());
    for (const char *field : {"edtCompanyName", "edtCompanyBranche", "edtCompanyStreet", "edtCompanySalutation"})
        QVERIFY2(find<QLineEdit>(&dlg, field)->isReadOnly(), field);
    for (const char *button : {"btnCompanySave", "btnCompanyOk", "btnCompanyEdit", "btnNewCompany", "btnLinkPerson",
                               "btnCompanyUnlink", "btnPersonSave", "btnPersonOk", "btnPersonEdit", "btnNewPerson",
                               "btnLinkCompany", "btnPersonUnlink", "btnCompanySwapMainAddress"})
        QVERIFY2(!find<QPushButton>(&dlg, button)->isEnabled(), button);
    QVERIFY(!find<QCheckBox>(&dlg, "chkCompanyDeactivated")->isEnabled());
    auto *grid = find<GridView>(&dlg, "grdCompanyAddresses");
    QVERIFY(!(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(!grid->model()->setData(grid->model()->index(0, 0), "x", Qt::EditRole));
    dlg.close();
    QVERIFY(!dlg.isVisible());
    QCOMPARE(env.dialogs().questions(), QStringList{});
}

void TestFiPe::closingAsksForUnsavedData()
{
    TestEnv env;
    env.state().grantAll();
    ContactStore(env.state()).insertCompany(company(1, "Acme"));
    TfrmFiPe dlg(env.state());
    dlg.prepareShow(1, true, true);
    dlg.show();
    dlg.move(120, 80);
    type(&dlg, "edtCompanyBranche", "geändert");
    env.dialogs().answer(Answer::No);
    click(&dlg, "btnCompanyClose");
    QCOMPARE(env.dialogs().questions(), QStringList{UnsavedClose});
    QVERIFY(dlg.isVisible());
    env.dialogs().answer(Answer::Yes);
    dlg.close();
    QVERIFY(!dlg.isVisible());
    QVERIFY(!dlg.isEditable());
    QCOMPARE(env.scalar("SELECT Branche FROM firma"), QStringLiteral("Maschinenbau"));
    QCOMPARE(UserSettings().readInt("FiPeLeft"), std::optional<int>(dlg.pos().x()));
    QCOMPARE(UserSettings().readInt("FiPeTop"), std::optional<int>(dlg.pos().y()));
}

void TestFiPe::numberCollision()
{
    TestEnv env;
    env.state().grantAll();
    // an address link left behind by a contact that no longer exists holds number 1
    env.exec("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (1, 1, 'alt', '1')");
    const QString before = contactTableCounts(env);
    TfrmFiPe dlg(env.state());
    dlg.prepareNew(true);
    dlg.show();
    QCOMPARE(env.dialogs().messages(), QStringList{"Fehler beim holen der Kundennummer"});
    type(&dlg, "edtCompanyName", "Neu GmbH");
    click(&dlg, "btnCompanySave");
    QCOMPARE(env.dialogs().messages().size(), 2);
    QCOMPARE(contactTableCounts(env), before);
    QVERIFY(!dlg.isEditable());
    QVERIFY(!dlg.companyExists());
}

void TestFiPe::controlCharactersAreRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("named");
    QTest::newRow("NUL in a name") << "edtCompanyName" << QStringLiteral("Mül") + QChar(0) + "ler GmbH" << "Firmenname";
    QTest::newRow("escape in a street") << "edtCompanyStreet" << "Weg\x1b[31m 1" << "Straße";
    QTest::newRow("tab and line break are fine") << "edtCompanyBranche" << "Bau\tHandel" << "";
    QTest::newRow("form feed in a note") << "memCompanyNote" << "Seite 1\fSeite 2" << "Anmerkung";
    QTest::newRow("line breaks in a note") << "memCompanyNote" << "Zeile 1\nZeile 2" << "";
}

// What is pasted into a field with control characters in it is refused as a
// whole, naming the field; the field keeps what it held.
void TestFiPe::controlCharactersAreRefused()
{
    QFETCH(QString, field);
    QFETCH(QString, pasted);
    QFETCH(QString, named);
    TestEnv env;
    env.state().grantAll();
    ControlCharacterGuard guard(env.dialogs());
    guard.installOnApplication();
    TfrmFiPe dlg(env.state());
    dlg.prepareNew(true);
    dlg.show();
    auto *widget = find<QWidget>(&dlg, field.toLatin1().constData());
    auto *edit = qobject_cast<QLineEdit *>(widget);
    auto *note = qobject_cast<QPlainTextEdit *>(widget);
    const auto text = [&] { return edit ? edit->text() : note->toPlainText(); };
    widget->setFocus();
    QTRY_VERIFY(widget->hasFocus());
    QApplication::clipboard()->setText(pasted);
    if (edit) {
        edit->setText("vorher ");
        edit->end(false);
        edit->paste();
    } else {
        note->setPlainText("vorher ");
        note->moveCursor(QTextCursor::End);
        note->paste();
    }
    QCoreApplication::processEvents();
    if (named.isEmpty()) {
        QCOMPARE(text(), "vorher " + pasted);
        QVERIFY(env.dialogs().messages().isEmpty());
        return;
    }
    QCOMPARE(text(), QStringLiteral("vorher "));
    QTRY_COMPARE(env.dialogs().messages(), QStringList{ControlCharacterGuard::message(named)});
}

QTEST_MAIN(TestFiPe)
#include "tst_tfrmfipe.moc"
