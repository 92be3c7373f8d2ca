#include "ContactFixtures.h"
#include "ContactGrid.h"
#include "TfrmFirmaPersonZuordnen.h"
#include "WindowSteps.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace Fixtures;
using namespace Steps;

namespace {

QStringList listed(TfrmFirmaPersonZuordnen &w)
{
    GridModel *m = find<GridView>(&w, "grdAssignList")->gridModel();
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->cell(r, 0) + QLatin1Char(' ') + m->cell(r, 1);
    return out;
}

} // namespace

class TestAssignment : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void search_data();
    void search();
    void leadingZeroIsRefused();
    void chosenLinkGoesToTheCaller();

private:
    std::unique_ptr<TestEnv> m_env;
};

void TestAssignment::init()
{
    m_env = std::make_unique<TestEnv>();
    ContactStore store(m_env->state());
    CompanyRecord acme = company(1, "Acme");
    acme.kategorie = QStringLiteral("Lieferant");
    store.insertCompany(acme);
    store.insertCompany(company(2, "Beta"));
    PersonRecord eva = person(3, "Eva", "Muster");
    eva.kategorie = QStringLiteral("Presse");
    store.insertPerson(eva);
    store.insertPerson(person(4, "Sean", "O'Neil"));
    store.insertPerson(person(5, "Max", "Muster"));
}

void TestAssignment::search_data()
{
    QTest::addColumn<bool>("companyMode");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("all persons") << false << QString() << QString() << QString()
                                 << QStringList{"Eva Muster", "Sean O'Neil", "Max Muster"};
    QTest::newRow("last name with apostrophe") << false << QString() << "edtAssignLastName" << "O'N"
                                               << QStringList{"Sean O'Neil"};
    QTest::newRow("last name part") << false << QString() << "edtAssignLastName" << "uste"
                                    << QStringList{"Eva Muster", "Max Muster"};
    QTest::newRow("customer number") << false << QString() << "edtAssignNumber" << "5" << QStringList{"Max Muster"};
    QTest::newRow("person category") << false << "Presse" << QString() << QString() << QStringList{"Eva Muster"};
    QTest::newRow("company name") << true << QString() << "edtAssignCompany" << "et" << QStringList{"Beta Maschinenbau"};
    QTest::newRow("company category") << true << "Lieferant" << QString() << QString()
                                      << QStringList{"Acme Maschinenbau"};
}

void TestAssignment::search()
{
    QFETCH(bool, companyMode);
    QFETCH(QString, category);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    TfrmFirmaPersonZuordnen w(m_env->state());
    if (companyMode)
        w.prepareForPerson(3, "Frau", "Eva", "Muster");
    else
        w.prepareForCompany(1, "Acme");
    w.show();
    QVERIFY(find<QLineEdit>(&w, "edtAssignCompany")->isEnabled() == companyMode);
    QVERIFY(find<QLineEdit>(&w, "edtAssignLastName")->isEnabled() == !companyMode);
    if (!category.isEmpty()) {
        auto *box = find<QComboBox>(&w, "cboAssignCategory");
        QCOMPARE(box->itemText(0), QStringLiteral("Ohne Kategorie"));
        box->setCurrentText(category);
        Q_EMIT box->activated(box->currentIndex());
    }
    if (!field.isEmpty()) {
        // typing into one search field empties the others
        if (field == QLatin1String("edtAssignNumber"))
            typeOn(&w, companyMode ? "edtAssignCompany" : "edtAssignLastName", "x");
        else
            typeOn(&w, "edtAssignNumber", "9");
        typeOn(&w, field.toLatin1().constData(), typed);
        for (const char *other : {"edtAssignNumber", "edtAssignCompany", "edtAssignLastName"})
            if (field != QLatin1String(other))
                QCOMPARE(find<QLineEdit>(&w, other)->text(), QString());
    }
    QCOMPARE(listed(w), expected);
    QVERIFY(!find<QPushButton>(&w, "btnAssignOk")->isEnabled());
}

void TestAssignment::leadingZeroIsRefused()
{
    TfrmFirmaPersonZuordnen w(m_env->state());
    w.prepareForCompany(1, "Acme");
    w.show();
    typeOn(&w, "edtAssignNumber", "0");
    QCOMPARE(m_env->dialogs().messages(), QStringList{"Bitte die Kundennummer ohne führende Nullen eingeben"});
    QCOMPARE(find<QLineEdit>(&w, "edtAssignNumber")->text(), QString());
    QCOMPARE(listed(w).size(), 3);
    // the field takes digits only
    typeOn(&w, "edtAssignNumber", "x4");
    QCOMPARE(find<QLineEdit>(&w, "edtAssignNumber")->text(), QStringLiteral("4"));
    QCOMPARE(listed(w), QStringList{"Sean O'Neil"});
}

void TestAssignment::chosenLinkGoesToTheCaller()
{
    TfrmFirmaPersonZuordnen w(m_env->state());
    QSignalSpy chosen(&w, &TfrmFirmaPersonZuordnen::assignmentChosen);
    w.prepareForCompany(1, "Acme");
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("Der Firma Acme eine Person zuordnen"));
    w.RowClicked(1);
    QCOMPARE(w.windowTitle(), QStringLiteral("Der Firma Acme die Person Sean O'Neil zuordnen"));
    typeOn(&w, "edtAssignPosition", "Chef d'équipe");
    QTest::mouseClick(find<QPushButton>(&w, "btnAssignOk"), Qt::LeftButton);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen[0], (QVariantList{qint64(4), qint64(1), QStringLiteral("Chef d'équipe")}));
    QVERIFY(!w.isVisible());
    // the window only chooses; the caller stores the link
    QCOMPARE(m_env->scalar("SELECT COUNT(*) FROM nametofirma"), QStringLiteral("0"));
}

QTEST_MAIN(TestAssignment)
#include "tst_assignment.moc"
