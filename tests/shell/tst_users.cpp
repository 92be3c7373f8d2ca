#include "FindControl.h"
#include "PermissionBoxes.h"
#include "Settings.h"
#include "TfrmBenutzer.h"
#include "TfrmPasswort.h"
#include "UserFixtures.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using TestControls::find;
using Answer = Dialogs::Answer;

namespace {

QStringList tables(TestEnv &env)
{
    return env.column("SELECT 'usr ' || IDU || '|' || Name || '|' || Besch || '|' || Pass FROM usr ORDER BY IDU")
           + env.column("SELECT 'perm ' || IDU || '|' || IDP || '|' || Perm FROM permission ORDER BY IDU, IDP");
}

// The sixteen Perm values of a user, in IDP order.
QString permRow(TestEnv &env, qint64 idu)
{
    return env.column(QStringLiteral("SELECT Perm FROM permission WHERE IDU=%1 ORDER BY IDP").arg(idu)).join("");
}

void click(QObject *root, const char *name)
{
    auto *b = find<QAbstractButton>(root, name);
    QVERIFY2(b->isEnabled(), name);
    b->click();
}

void checkBox(TfrmBenutzer &w, int n, bool on)
{
    QCheckBox *box = w.chkPerm[std::size_t(n)];
    if (box->isChecked() != on)
        box->click();
}

} // namespace

class TestUsers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void permissionRules_data();
    void permissionRules();
    void createChangeDelete();
    void badInputStoresNothing_data();
    void badInputStoresNothing();
    void changeOwnPassword_data();
    void changeOwnPassword();
};

void TestUsers::permissionRules_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QList<int>>("clicks"); // box n checked, -n unchecked
    QTest::addColumn<QString>("perms");
    QTest::addColumn<QList<int>>("disabled");
    const QString all(16, 'J');
    const QString none(16, 'N');
    QTest::newRow("nothing granted") << none << QList<int>{} << none
                                     << QList<int>{2, 4, 6, 7, 8, 9, 10, 11, 12, 13, 16};
    QTest::newRow("everything granted") << all << QList<int>{} << all << QList<int>{};
    QTest::newRow("without reading projects nothing of them is left")
        << all << QList<int>{-5} << "JJJJNNNNNNNNNJJJ" << QList<int>{6, 7, 8, 9, 10, 11, 12, 13};
    QTest::newRow("options need writing projects")
        << all << QList<int>{-6} << "JJJJJNJJNNNNNJJJ" << QList<int>{9, 10, 11, 12, 13};
    QTest::newRow("checking offers the next ones without checking them")
        << none << QList<int>{5, 7} << "NNNNJNJNNNNNNNNN" << QList<int>{2, 4, 9, 10, 11, 12, 13, 16};
    QTest::newRow("a disabled box stays unchecked") << none << QList<int>{16, 2} << none
                                                    << QList<int>{2, 4, 6, 7, 8, 9, 10, 11, 12, 13, 16};
    QTest::newRow("user administration stands alone") << none << QList<int>{14} << "NNNNNNNNNNNNNJNN"
                                                      << QList<int>{2, 4, 6, 7, 8, 9, 10, 11, 12, 13, 16};
    QTest::newRow("stored flags without the ones they build on")
        << "NJNJNJJJJJJJJNNJ" << QList<int>{} << none << QList<int>{2, 4, 6, 7, 8, 9, 10, 11, 12, 13, 16};
}

void TestUsers::permissionRules()
{
    QFETCH(QString, stored);
    QFETCH(QList<int>, clicks);
    QFETCH(QString, perms);
    QFETCH(QList<int>, disabled);
    PermissionBoxes boxes = PermissionBoxes::of(stored);
    for (int c : clicks)
        boxes.set(std::abs(c), c > 0);
    QCOMPARE(boxes.perms(), perms);
    QList<int> off;
    for (int n = 1; n <= 16; ++n)
        if (!boxes.enabled(n))
            off << n;
    QCOMPARE(off, disabled);
}

void TestUsers::createChangeDelete()
{
    TestEnv env;
    env.state().isAdminAccount = [] { return true; };
    TfrmBenutzer w(env.state());
    w.show();
    // a new data set has its principal user, shown without permissions
    QCOMPARE(w.lstBenutzer->count(), 2);
    QCOMPARE(w.lstBenutzer->item(0)->text(), QStringLiteral("Administrator"));
    QVERIFY(!(w.lstBenutzer->item(0)->flags() & Qt::ItemIsEditable));
    QVERIFY(w.tabRechte->isHidden() && !w.lblAlleRechte->isHidden());
    QCOMPARE(permRow(env, 1), QString(16, 'J'));
    QVERIFY(PasswordHash::verify("", env.scalar("SELECT Pass FROM usr WHERE IDU=1")));

    // a new user in the empty row, with an apostrophe, a password set with "O&K" and six permissions
    w.lstBenutzer->setCurrentRow(1);
    QVERIFY(!w.tabRechte->isHidden());
    w.lstBenutzer->item(1)->setText("O'Neil");
    QCOMPARE(w.lstBenutzer->count(), 3);
    QCOMPARE(find<QGroupBox>(&w, "grpAllgemein")->title(), QStringLiteral("O'Neil"));
    for (int n : {1, 2, 5, 6, 15, 16})
        checkBox(w, n, true);
    w.memBeschreibung->setPlainText("Buchhaltung, it's\nhalbtags");
    w.edtPasswort->setText("Grüße");
    w.edtPasswortWiederholen->setText("Grüße");
    click(&w, "btnPasswortOK");
    QCOMPARE(env.dialogs().messages(), QStringList{"Neues Passwort eingetragen."});
    w.chkBenutzerverwaltung->setChecked(true);
    click(&w, "btnUebernehmen");
    QCOMPARE(env.column("SELECT IDU || '|' || Name || '|' || Besch FROM usr ORDER BY IDU"),
             QStringList({"1|Administrator|", "2|O'Neil|Buchhaltung, it's\nhalbtags"}));
    QString hash = env.scalar("SELECT Pass FROM usr WHERE IDU=2");
    QVERIFY(hash.startsWith("$argon2id$") && PasswordHash::verify("Grüße", hash));
    QCOMPARE(permRow(env, 2), QStringLiteral("JJNNJJNNNNNNNNJJ"));
    QVERIFY(ReadIfLogin());

    // changed: name, description, fewer permissions; a password typed without "O&K" is taken too
    w.lstBenutzer->setCurrentRow(1);
    QVERIFY(w.chkPerm[6]->isChecked());
    w.lstBenutzer->item(1)->setText("  Neil  ");
    checkBox(w, 5, false);
    w.memBeschreibung->setPlainText("Lager");
    w.edtPasswort->setText("neu");
    w.edtPasswortWiederholen->setText("neu");
    click(&w, "btnOK");
    QVERIFY(!w.isVisible());
    QCOMPARE(env.column("SELECT IDU || '|' || Name || '|' || Besch FROM usr ORDER BY IDU"),
             QStringList({"1|Administrator|", "2|Neil|Lager"}));
    QCOMPARE(permRow(env, 2), QStringLiteral("JJNNNNNNNNNNNNJJ"));
    QVERIFY(PasswordHash::verify("neu", env.scalar("SELECT Pass FROM usr WHERE IDU=2")));
    hash = env.scalar("SELECT Pass FROM usr WHERE IDU=2");

    // a new user without password gets the empty one; the stored user keeps its hash
    w.show();
    QCOMPARE(w.lstBenutzer->item(1)->text(), QStringLiteral("Neil"));
    w.lstBenutzer->setCurrentRow(2);
    w.lstBenutzer->item(2)->setText("Gast");
    click(&w, "btnUebernehmen");
    QCOMPARE(env.scalar("SELECT Pass FROM usr WHERE IDU=2"), hash);
    QVERIFY(PasswordHash::verify("", env.scalar("SELECT Pass FROM usr WHERE IDU=3")));
    QCOMPARE(permRow(env, 3), QString(16, 'N'));

    // clearing a name deletes that user with its permission rows, after asking
    w.lstBenutzer->setCurrentRow(0);
    w.lstBenutzer->item(1)->setText("");
    env.dialogs().answer(Answer::No);
    click(&w, "btnUebernehmen");
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM usr"), "3");
    env.dialogs().answer(Answer::Yes);
    click(&w, "btnUebernehmen");
    QCOMPARE(env.dialogs().questions(),
             QStringList(2, "Der Name ist leer. Soll der Benutzer „Neil“ gelöscht werden?"));
    QCOMPARE(env.dialogs().questionButtons(), QStringList({"Ja/Nein", "Ja/Nein"}));
    QCOMPARE(env.column("SELECT Name FROM usr ORDER BY IDU"), QStringList({"Administrator", "Gast"}));
    QCOMPARE(env.column("SELECT DISTINCT IDU FROM permission ORDER BY IDU"), QStringList({"1", "3"}));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM permission"), "32");
    QCOMPARE(w.lstBenutzer->count(), 3);
}

void TestUsers::badInputStoresNothing_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("message");
    const QString nothing = QStringLiteral(" Es wurde nichts gespeichert.");
    QTest::newRow("new user without a name") << 0 << "Bitte geben Sie einen Benutzernamen ein." + nothing;
    QTest::newRow("name taken") << 1 << "Der Benutzername „ANNA“ ist bereits vergeben." + nothing;
    QTest::newRow("passwords differ") << 2 << "Passwörter stimmen nicht überein! Kein Eintrag.";
    const QString last = "Der letzte Benutzer mit dem Recht zur Benutzerverwaltung kann weder gelöscht werden "
                         "noch dieses Recht verlieren."
                         + nothing;
    QTest::newRow("last administrator loses the right") << 3 << last;
    QTest::newRow("last administrator deleted") << 4 << last;
    QTest::newRow("not an administrator of the machine") << 5 << "Erforderliche Rechte fehlen!";
}

void TestUsers::badInputStoresNothing()
{
    QFETCH(int, step);
    QFETCH(QString, message);
    TestEnv env;
    // an older data set whose principal user lacks the right to administer users
    AddUser(env, 1, "Administrator", CachedHash(""), "JJJJJJJJJJJJJNJJ");
    AddUser(env, 2, "anna", CachedHash("anna1"), "JJJJJJJJJJJJJJJJ");
    env.state().isAdminAccount = [step] { return step != 5; };
    TfrmBenutzer w(env.state());
    w.show();
    const QStringList before = tables(env);
    w.lstBenutzer->setCurrentRow(step == 0 || step == 1 ? 2 : 1);
    w.memBeschreibung->setPlainText("geändert");
    w.chkBenutzerverwaltung->setChecked(true);
    switch (step) {
    case 1: w.lstBenutzer->item(2)->setText("ANNA"); break;
    case 2:
        w.edtPasswort->setText("eins");
        w.edtPasswortWiederholen->setText("zwei");
        break;
    case 3: checkBox(w, 14, false); break;
    case 4:
        w.lstBenutzer->item(1)->setText("");
        env.dialogs().answer(Answer::Yes);
        break;
    default: break;
    }
    click(&w, "btnOK");
    QCOMPARE(env.dialogs().messages(), QStringList{message});
    QCOMPARE(tables(env), before);
    QVERIFY(!ReadIfLogin());
    QVERIFY(w.isVisible()); // what was typed is still there
}

void TestUsers::changeOwnPassword_data()
{
    QTest::addColumn<qint64>("user");
    QTest::addColumn<QStringList>("typed"); // old, new, repeated
    QTest::addColumn<QString>("message");
    QTest::newRow("changed") << qint64(2) << QStringList{"anna1", "Neu 1", "Neu 1"} << "Neues Passwort eingetragen.";
    QTest::newRow("wrong old password") << qint64(2) << QStringList{"anna2", "Neu 1", "Neu 1"}
                                        << "Das bisherige Passwort ist falsch! Keine Änderung.";
    QTest::newRow("repetition differs") << qint64(2) << QStringList{"anna1", "Neu 1", "Neu 2"}
                                        << "Passwörter stimmen nicht überein! Kein Eintrag.";
    QTest::newRow("nothing typed") << qint64(2) << QStringList{"anna1", "", ""}
                                   << "Bitte neue Passwörter eingeben! Keine Änderung.";
    QTest::newRow("no log-in") << qint64(0) << QStringList{"anna1", "Neu 1", "Neu 1"}
                               << "Ohne Anmeldung gibt es kein eigenes Passwort zu ändern.";
}

void TestUsers::changeOwnPassword()
{
    QFETCH(qint64, user);
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    TestEnv env;
    AddTestUsers(env);
    env.state().LoggedInUser = user;
    const QStringList before = tables(env);
    TfrmPasswort w(env.state());
    w.show();
    find<QLineEdit>(&w, "edtAltesPasswort")->setText(typed[0]);
    find<QLineEdit>(&w, "edtNeuesPasswort")->setText(typed[1]);
    find<QLineEdit>(&w, "edtWiederholen")->setText(typed[2]);
    // Enter in the last field stores and closes
    QTest::keyClick(w.edtWiederholen, Qt::Key_Return);
    QCOMPARE(env.dialogs().messages(), QStringList{message});
    const bool changed = message == QLatin1String("Neues Passwort eingetragen.");
    QCOMPARE(w.isVisible(), !changed);
    if (!changed) {
        QCOMPARE(tables(env), before);
        return;
    }
    const QString stored = env.scalar("SELECT Pass FROM usr WHERE IDU=2");
    QVERIFY(stored.startsWith("$argon2id$") && PasswordHash::verify("Neu 1", stored));
    QVERIFY(!PasswordHash::verify("anna1", stored));
}

QTEST_MAIN(TestUsers)
#include "tst_users.moc"
