#include "ContactFixtures.h"
#include "ContactGrid.h"
#include "TfrmFPDetail.h"
#include "WindowSteps.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

using namespace Fixtures;
using namespace Steps;

namespace {

QString text(QObject *root, const char *field)
{
    return find<QLineEdit>(root, field)->text();
}

// The visible cells of a list, a row as "a|b|c".
QStringList rows(QObject *root, const char *list)
{
    auto *view = find<QTableView>(root, list);
    QStringList out;
    for (int r = 0; r < view->model()->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < view->model()->columnCount(); ++c)
            if (!view->isColumnHidden(c))
                cells << view->model()->index(r, c).data().toString();
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

// Everything the window shows, for "no trace left" checks.
QString everything(TfrmFPDetail &dlg)
{
    QStringList parts{dlg.windowTitle(), find<QLabel>(&dlg, "lblName")->text()};
    for (const char *f : {"edtName", "edtPhone", "edtCategory", "edtContactPhone", "edtContactPosition"})
        parts << text(&dlg, f);
    parts << rows(&dlg, "grdCommunications") << rows(&dlg, "grdContactPersons");
    return parts.join(QLatin1Char('/'));
}

// Acme (1) with Eva (2) as buyer and Sean (3) as managing director, a person
// without a company (4) and a company without persons (5).
void prepare(TestEnv &env)
{
    ContactStore store(env.state());
    CompanyRecord acme = company(1, QStringLiteral("Acme & Co. KG"));
    acme.communications = {{"Telefon", "0711 4711-0", {}, "T"}, {"E-Mail", "info@acme.de", {}, "E"}};
    store.insertCompany(acme);
    PersonRecord eva = person(2, QStringLiteral("Eva"), QStringLiteral("Muster"));
    eva.position = QStringLiteral("Einkauf");
    eva.communications = {{"Handy", "0170 1234567", {}, "M"}};
    store.insertPerson(eva, 1);
    PersonRecord sean = person(3, QStringLiteral("Sean"), QStringLiteral("O'Neil"));
    sean.anrede = QStringLiteral("Herr");
    sean.titel.clear();
    sean.telefon = QStringLiteral("0711 4711-20");
    sean.position = QStringLiteral("Geschäftsführer");
    store.insertPerson(sean, 1);
    PersonRecord juergen = person(4, QStringLiteral("Jürgen"), QStringLiteral("Weiß"));
    juergen.anrede.clear();
    juergen.titel.clear();
    juergen.kategorie = QStringLiteral("Lieferant");
    store.insertPerson(juergen);
    store.insertCompany(company(5, QStringLiteral("Einzel GmbH")));
}

} // namespace

class TestFPDetail : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void companyWithPersons();
    void persons_data();
    void persons();
    void companyWithoutPersons();
    void personAfterCompanyLeavesNoTrace();
    void unknownNumber();
};

void TestFPDetail::companyWithPersons()
{
    TestEnv env;
    prepare(env);
    TfrmFPDetail dlg(env.state());
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Firma / Person Detail"));
    QCOMPARE(find<QLabel>(&dlg, "lblName")->text(), QStringLiteral("Titel - Vor - Nachname:"));
    QVERIFY(dlg.showContact(1));
    QVERIFY(dlg.isVisible());
    QVERIFY(!dlg.isModal());
    QCOMPARE(dlg.contactNumber(), 1);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Firma Detail"));
    QCOMPARE(find<QLabel>(&dlg, "lblName")->text(), QStringLiteral("Firmenname"));
    QCOMPARE(text(&dlg, "edtName"), QStringLiteral("Acme & Co. KG"));
    QCOMPARE(text(&dlg, "edtPhone"), QStringLiteral("0711 4711"));
    QCOMPARE(text(&dlg, "edtCategory"), QStringLiteral("Kunde"));
    for (const char *f : {"edtName", "edtPhone", "edtCategory", "edtContactPhone", "edtContactPosition"})
        QVERIFY2(find<QLineEdit>(&dlg, f)->isReadOnly(), f);
    QCOMPARE(rows(&dlg, "grdCommunications"), (QStringList{"Telefon|0711 4711-0", "E-Mail|info@acme.de"}));
    QVERIFY(find<QGroupBox>(&dlg, "grpContactPersons")->isEnabled());
    QCOMPARE(rows(&dlg, "grdContactPersons"), (QStringList{"Frau Dr.|Eva|Muster", "Herr|Sean|O'Neil"}));
    // the first person is selected and its details shown
    auto *persons = find<QTableView>(&dlg, "grdContactPersons");
    QCOMPARE(persons->currentIndex().row(), 0);
    QCOMPARE(text(&dlg, "edtContactPhone"), QStringLiteral("089 123"));
    QCOMPARE(text(&dlg, "edtContactPosition"), QStringLiteral("Einkauf"));
    // a click on another person shows its telephone number and position
    const QRect cell = persons->visualRect(persons->model()->index(1, PlNachname));
    QTest::mouseClick(persons->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(text(&dlg, "edtContactPhone"), QStringLiteral("0711 4711-20"));
    QCOMPARE(text(&dlg, "edtContactPosition"), QStringLiteral("Geschäftsführer"));
    // nothing is ever written
    QCOMPARE(find<QTableView>(&dlg, "grdCommunications")->editTriggers(), QAbstractItemView::NoEditTriggers);
}

void TestFPDetail::persons_data()
{
    QTest::addColumn<qint64>("number");
    QTest::addColumn<QString>("nameLine");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("communications");
    QTest::newRow("with salutation and title") << qint64(2) << "Frau Dr. Eva Muster" << "" << QStringList{"Handy|0170 1234567"};
    QTest::newRow("salutation without title") << qint64(3) << "Herr Sean O'Neil" << "" << QStringList{"|"};
    QTest::newRow("first and last name only") << qint64(4) << "Jürgen Weiß" << "Lieferant" << QStringList{"|"};
}

void TestFPDetail::persons()
{
    QFETCH(qint64, number);
    QFETCH(QString, nameLine);
    QFETCH(QString, category);
    QFETCH(QStringList, communications);
    TestEnv env;
    prepare(env);
    TfrmFPDetail dlg(env.state());
    QVERIFY(dlg.showContact(number));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Person Detail"));
    QCOMPARE(find<QLabel>(&dlg, "lblName")->text(), QStringLiteral("Vor - Nachname"));
    QCOMPARE(text(&dlg, "edtName"), nameLine);
    QCOMPARE(text(&dlg, "edtCategory"), category);
    QCOMPARE(rows(&dlg, "grdCommunications"), communications);
    // a person has no contact persons: the group is off and its list keeps one empty row
    QVERIFY(!find<QGroupBox>(&dlg, "grpContactPersons")->isEnabled());
    QCOMPARE(rows(&dlg, "grdContactPersons"), QStringList{"||"});
    QCOMPARE(text(&dlg, "edtContactPhone"), QString());
}

void TestFPDetail::companyWithoutPersons()
{
    TestEnv env;
    prepare(env);
    TfrmFPDetail dlg(env.state());
    QVERIFY(dlg.showContact(5));
    QCOMPARE(text(&dlg, "edtName"), QStringLiteral("Einzel GmbH"));
    QVERIFY(find<QGroupBox>(&dlg, "grpContactPersons")->isEnabled());
    QCOMPARE(rows(&dlg, "grdContactPersons"), QStringList{"||"});
    QCOMPARE(rows(&dlg, "grdCommunications"), QStringList{"|"});
    QCOMPARE(text(&dlg, "edtContactPhone"), QString());
    QCOMPARE(text(&dlg, "edtContactPosition"), QString());
}

void TestFPDetail::personAfterCompanyLeavesNoTrace()
{
    TestEnv env;
    prepare(env);
    TfrmFPDetail dlg(env.state());
    QVERIFY(dlg.showContact(4));
    const QString personAlone = everything(dlg);
    QVERIFY(dlg.showContact(1));
    QVERIFY(dlg.showContact(4));
    QCOMPARE(everything(dlg), personAlone);
    QVERIFY(!everything(dlg).contains(QStringLiteral("Acme")));
    QVERIFY(!everything(dlg).contains(QStringLiteral("Einkauf")));
}

void TestFPDetail::unknownNumber()
{
    TestEnv env;
    prepare(env);
    TfrmFPDetail dlg(env.state());
    QVERIFY(!dlg.showContact(99));
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Error), QStringList{"Fehler beim Aufruf!"});
    QVERIFY(!dlg.isVisible());
    const QString empty = everything(dlg);
    QCOMPARE(empty, QStringLiteral("Firma / Person Detail/Titel - Vor - Nachname://////|/||"));

    // shown over a company, the window is emptied
    QVERIFY(dlg.showContact(1));
    QVERIFY(!dlg.showContact(0));
    QVERIFY(dlg.isVisible());
    QCOMPARE(everything(dlg), empty);
    QCOMPARE(dlg.contactNumber(), 0);
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Error).size(), 2);
}

QTEST_MAIN(TestFPDetail)
#include "tst_tfrmfpdetail.moc"
