#include "LoginCheck.h"
#include "Settings.h"
#include "Startup.h"
#include "TForm1.h"
#include "TfrmBenutzer.h"
#include "TfrmLogin.h"
#include "TfrmPasswort.h"
#include "UserFixtures.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QElapsedTimer>
#include <QtTest>

// Log-in at start and the administration of users and passwords.

using Answer = Dialogs::Answer;

namespace {

const QString AllFlags(16, QLatin1Char('1'));
const QString NoFlags(16, QLatin1Char('0'));

// Plays the user at the log-in window once it is shown modally; Cancel at the end
// if the steps did not get through, so the test never hangs.
void atLogin(const QString &name, const QStringList &passwords, bool cancel = false)
{
    QTimer::singleShot(0, [=] {
        auto *login = qobject_cast<TfrmLogin *>(QApplication::activeModalWidget());
        if (!login)
            return;
        login->edtBenutzername->setText(name);
        if (cancel)
            login->edtPasswort->setText(passwords.value(0));
        for (int i = 0; i < passwords.size() && !cancel; ++i) {
            login->edtPasswort->setText(passwords[i]);
            // every way out runs the check: OK, the title bar, Enter
            if (i == passwords.size() - 1)
                QTest::keyClick(login->edtPasswort, Qt::Key_Return);
            else if (i == 0)
                login->btnOK->click();
            else
                login->close();
        }
        if (login->isVisible())
            login->btnAbbrechen->click();
    });
}

QStringList tables(TestEnv &env)
{
    return env.column("SELECT IDU || '|' || Name || '|' || Besch || '|' || Pass FROM usr ORDER BY IDU")
           + env.column("SELECT IDU || '|' || IDP || '|' || Perm FROM permission ORDER BY IDU, IDP");
}

// Name and description of every user, and the sixteen Perm values in IDP order.
QStringList users(TestEnv &env)
{
    QStringList out;
    for (const QString &idu : env.column("SELECT IDU FROM usr ORDER BY IDU"))
        out << env.scalar("SELECT IDU || '|' || Name || '|' || Besch FROM usr WHERE IDU=" + idu) + '|'
                   + env.column("SELECT Perm FROM permission WHERE IDU=" + idu + " ORDER BY IDP").join("");
    return out;
}

bool passwordIs(TestEnv &env, qint64 idu, const QString &password)
{
    const QString stored = env.scalar(QStringLiteral("SELECT Pass FROM usr WHERE IDU=%1").arg(idu));
    return stored.startsWith("$argon2id$") && PasswordHash::verify(password, stored);
}

void setBox(TfrmBenutzer &w, int n, bool on)
{
    if (w.chkPerm[std::size_t(n)]->isChecked() != on)
        w.chkPerm[std::size_t(n)]->click();
}

} // namespace

class TestUsers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void logIn_data();
    void logIn();
    void pauseGrowsAfterFiveFailures();
    void unknownNameTakesAsLongAsAWrongPassword();
    void startWithAndWithoutSwitch();
    void createChangeDelete();
    void badInputStoresNothing_data();
    void badInputStoresNothing();
    void changeOwnPassword_data();
    void changeOwnPassword();
};

void TestUsers::logIn_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<qint64>("user"); // 0: refused
    QTest::addColumn<QString>("flags");
    QTest::newRow("right password") << "Administrator" << "geheim" << qint64(1) << AllFlags;
    QTest::newRow("wrong password") << "Administrator" << "Geheim" << qint64(0) << NoFlags;
    // "j" grants nothing; rows 0 and 17 are ignored; a missing row is not granted
    QTest::newRow("stored MD5 hash") << " anna " << "Grüße€" << qint64(2) << "1000110000000010";
    QTest::newRow("MD5, wrong case") << "anna" << "grüße€" << qint64(0) << NoFlags;
    QTest::newRow("apostrophe in the name") << "O'Brien" << "x" << qint64(3) << "0000110000000000";
    QTest::newRow("name that ends the statement") << "x' UNION SELECT 1, 'd41d8cd98f00b204e9800998ecf8427e" << ""
                                                  << qint64(0) << NoFlags;
    QTest::newRow("no permission rows") << "leer" << "leer" << qint64(5) << NoFlags;
}

void TestUsers::logIn()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(qint64, user);
    QFETCH(QString, flags);
    TestEnv env;
    AddTestUsers(env);
    UserStore store(env.state());
    LoginCheck check(store);
    const QStringList before = env.column("SELECT Pass FROM usr ORDER BY IDU");
    const LoginCheck::Result r = check.check(name, password);
    QCOMPARE(r.outcome, user ? LoginCheck::Outcome::LoggedIn : LoginCheck::Outcome::Refused);
    QCOMPARE(r.user, user);
    QCOMPARE(FlagText(r.perm), flags);
    if (!user) {
        QCOMPARE(env.column("SELECT Pass FROM usr ORDER BY IDU"), before);
        return;
    }
    // afterwards the stored hash is the current form (an MD5 one is replaced) and still fits
    const QString stored = store.storedHash(user);
    QVERIFY2(!PasswordHash::needsRehash(stored) && PasswordHash::verify(password, stored), qPrintable(stored));
    QCOMPARE(check.check(name, password).outcome, LoginCheck::Outcome::LoggedIn);
}

void TestUsers::pauseGrowsAfterFiveFailures()
{
    TestEnv env;
    AddTestUsers(env);
    UserStore store(env.state());
    qint64 now = 1000;
    LoginCheck check(store, [&now] { return now; });
    using O = LoginCheck::Outcome;
    for (int i = 1; i <= 5; ++i) {
        QCOMPARE(check.pauseLeft("anna"), qint64(0));
        QCOMPARE(check.check("anna", "falsch").outcome, O::Refused);
    }
    QCOMPARE(check.pauseLeft("Anna "), qint64(2000)); // the name counts without regard to case
    QCOMPARE(check.pauseLeft("Administrator"), qint64(0)); // the pause is the name's
    // during the pause even the right password is not checked, and the try does not count
    now += 1999;
    QCOMPARE(check.check("anna", "Grüße€").outcome, O::Waiting);
    now += 1;
    QCOMPARE(check.check("anna", "falsch").outcome, O::Refused);
    QCOMPARE(check.pauseLeft("anna"), qint64(4000));
    // Neither ending the program nor deleting the account's settings file ends the
    // pause, and a clock put back does not lengthen it.
    now += 1000;
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Halvard", "Orbel").clear();
    QFile::remove(QSettings(QSettings::NativeFormat, QSettings::UserScope, "Halvard", "Orbel").fileName());
    LoginCheck restarted(store, [&now] { return now; });
    QCOMPARE(restarted.pauseLeft("anna"), qint64(3000));
    {
        WriteLastUser(env.home(), "anna");
        TfrmLogin w(env.state(), nullptr, [&now] { return now; });
        w.show();
        QVERIFY(!w.btnOK->isEnabled() && !w.edtPasswort->isEnabled());
        QCOMPARE(w.lblPause->text(), QStringLiteral("Zu viele Fehlversuche. Nächster Versuch in 3 Sekunden möglich."));
        QTest::keyClicks(w.edtBenutzername, "x"); // another name may be tried meanwhile
        QVERIFY(w.btnOK->isEnabled() && !w.lblPause->isVisibleTo(&w));
        w.btnAbbrechen->click();
    }
    QCOMPARE(restarted.check("anna", "Grüße€").outcome, O::Waiting);
    now -= 3600000;
    QCOMPARE(restarted.pauseLeft("anna"), qint64(4000));
    now += 3600000 + 3000;
    QCOMPARE(restarted.check("anna", "Grüße€").outcome, O::LoggedIn);
    QCOMPARE(restarted.failuresInARow("anna"), 0);
    QCOMPARE(LoginCheck(store, [&now] { return now; }).pauseLeft("anna"), qint64(0));
    // A name nobody has counts like a wrong password.
    for (int i = 1; i <= 5; ++i)
        QCOMPARE(check.check("niemand", "x").outcome, O::Refused);
    QCOMPARE(check.pauseLeft("niemand"), qint64(2000));
}

// The answer's time tells nothing about which names exist: an unknown name costs
// one hash against a dummy, as a wrong password costs one against the user's.
void TestUsers::unknownNameTakesAsLongAsAWrongPassword()
{
    TestEnv env;
    AddTestUsers(env);
    UserStore store(env.state());
    qint64 now = 0;
    LoginCheck check(store, [&now] { return now += 3600000; }); // never within a pause
    // The tries take turns, and each kind's fastest counts: other programs on the
    // machine can only make a try slower, never faster.
    qint64 wrong = std::numeric_limits<qint64>::max(), unknown = wrong;
    for (int i = 0; i < 7; ++i)
        for (const QString name : {QStringLiteral("Administrator"), QStringLiteral("Unbekannt")}) {
            QElapsedTimer t;
            t.start();
            QCOMPARE(check.check(name, "falsch").outcome, LoginCheck::Outcome::Refused);
            (name == QLatin1String("Unbekannt") ? unknown : wrong) = std::min(
                name == QLatin1String("Unbekannt") ? unknown : wrong, t.nsecsElapsed());
        }
    QVERIFY2(std::abs(double(unknown - wrong)) <= 0.25 * double(wrong),
             qPrintable(QStringLiteral("unknown %1 ms, wrong %2 ms").arg(unknown / 1e6).arg(wrong / 1e6)));
}

void TestUsers::startWithAndWithoutSwitch()
{
    TestEnv env;
    AddTestUsers(env);
    env.state().isAdminAccount = [] { return false; };
    {
        // switched off: every flag, no password to change, no users for a non-administrator
        TForm1 main(env.state());
        QVERIFY(RunLogin(env.state(), main));
        QCOMPARE(FlagText(env.state().Perm), AllFlags);
        QVERIFY(!main.actChangePassword->isEnabled());
        QVERIFY(!main.actUsers->isVisible());
    }
    QVERIFY(WriteIfLogin(true));
    env.state().Perm.fill(false);
    {
        // Cancel checks no password, even the text the old program put into the field for it
        TForm1 main(env.state());
        atLogin("kwp", {"!!!!!kwp4418"}, true);
        QVERIFY(!RunLogin(env.state(), main));
        QCOMPARE(FlagText(env.state().Perm), NoFlags);
        QCOMPARE(env.state().LoggedInUser, qint64(0));
    }
    {
        TForm1 main(env.state());
        atLogin("O'Brien", {"y", "z", "x"});
        QVERIFY(RunLogin(env.state(), main));
        QCOMPARE(env.dialogs().messages(), QStringList(2, "Benutzername oder Passwort falsch!"));
        QCOMPARE(FlagText(env.state().Perm), QStringLiteral("0000110000000000"));
        QCOMPARE(env.state().LoggedInUser, qint64(3));
        QVERIFY(main.actChangePassword->isEnabled());
        // the flags hold before the main window is ever activated
        QVERIFY(main.actSearchProject->isEnabled());
        QVERIFY(!main.actOpenItems->isEnabled() && !main.actNewEntry->isEnabled() && !main.actOptions->isEnabled());
    }
    // the next start offers the name of the last log-in
    TfrmLogin next(env.state());
    next.show();
    QCOMPARE(next.edtBenutzername->text(), QStringLiteral("O'Brien"));
    next.btnAbbrechen->click();
}

void TestUsers::createChangeDelete()
{
    TestEnv env;
    env.state().isAdminAccount = [] { return true; };
    TfrmBenutzer w(env.state());
    w.show();
    // a new data set has its principal user: empty password, every permission, name and rights fixed
    QCOMPARE(users(env), QStringList{"1|Administrator||JJJJJJJJJJJJJJJJ"});
    QVERIFY(passwordIs(env, 1, ""));
    QVERIFY(!(w.lstBenutzer->item(0)->flags() & Qt::ItemIsEditable));
    QVERIFY(w.tabRechte->isHidden() && !w.lblAlleRechte->isHidden());

    // "Neuer Benutzer" opens the empty row for the name: apostrophes, a password set with "O&K", six permissions
    w.btnNeu->click();
    QCOMPARE(w.lstBenutzer->currentRow(), 1);
    auto *nameEditor = w.lstBenutzer->findChild<QLineEdit *>();
    QVERIFY(nameEditor && nameEditor->isVisible());
    QTest::keyClicks(nameEditor, "O'Neil");
    QTest::keyClick(nameEditor, Qt::Key_Return);
    QTRY_COMPARE(w.lstBenutzer->item(1)->text(), "O'Neil");
    for (int n : {1, 2, 5, 6, 15, 16})
        setBox(w, n, true);
    w.memBeschreibung->setPlainText("Buchhaltung, it's\nhalbtags");
    w.edtPasswort->setText("Grüße");
    w.edtPasswortWiederholen->setText("Grüße");
    w.btnPasswortOK->click();
    w.chkBenutzerverwaltung->setChecked(true);
    w.btnUebernehmen->click();
    QCOMPARE(users(env), QStringList({"1|Administrator||JJJJJJJJJJJJJJJJ",
                                      "2|O'Neil|Buchhaltung, it's\nhalbtags|JJNNJJNNNNNNNNJJ"}));
    QVERIFY(passwordIs(env, 2, "Grüße"));
    // the log-in is not switched on while the one user who administers users has no password
    QCOMPARE(env.dialogs().messages().last(), "Bitte vergeben Sie zuerst ein Passwort für „Administrator“.");
    QVERIFY(!ReadIfLogin() && w.chkBenutzerverwaltung->isChecked());
    w.lstBenutzer->setCurrentRow(0);
    w.edtPasswort->setText("Chef");
    w.edtPasswortWiederholen->setText("Chef");
    w.btnUebernehmen->click();
    QVERIFY(passwordIs(env, 1, "Chef"));
    QVERIFY(ReadIfLogin());

    // changed; without reading projects nothing of them stays; a password typed without "O&K" counts,
    // also when another user is selected then
    w.lstBenutzer->setCurrentRow(1);
    w.lstBenutzer->item(1)->setText("  Neil  ");
    setBox(w, 5, false);
    for (int n : {6, 7, 8, 9, 10, 11, 12, 13})
        QVERIFY(!w.chkPerm[std::size_t(n)]->isEnabled());
    // the description keeps two lines: on a third one only backspace counts
    w.memBeschreibung->clear();
    QTest::keyClicks(w.memBeschreibung, "Lager");
    QTest::keyClick(w.memBeschreibung, Qt::Key_Return);
    QTest::keyClicks(w.memBeschreibung, "Halle 2");
    QTest::keyClick(w.memBeschreibung, Qt::Key_Return);
    QTest::keyClicks(w.memBeschreibung, "x");
    QCOMPARE(w.memBeschreibung->toPlainText(), "Lager\nHalle 2\n");
    QTest::keyClick(w.memBeschreibung, Qt::Key_Backspace);
    w.edtPasswort->setText("neu");
    w.edtPasswortWiederholen->setText("neu");
    w.lstBenutzer->setCurrentRow(0);
    w.btnOK->click();
    QVERIFY(!w.isVisible());
    QCOMPARE(users(env).value(1), QStringLiteral("2|Neil|Lager\nHalle 2|JJNNNNNNNNNNNNJJ"));
    QVERIFY(passwordIs(env, 2, "neu"));
    const QString hash = env.scalar("SELECT Pass FROM usr WHERE IDU=2");

    // a new user without a password gets the empty one; the others keep theirs
    w.show();
    w.lstBenutzer->setCurrentRow(2);
    w.lstBenutzer->item(2)->setText("Gast");
    w.btnUebernehmen->click();
    QCOMPARE(env.scalar("SELECT Pass FROM usr WHERE IDU=2"), hash);
    QCOMPARE(users(env).value(2), QStringLiteral("3|Gast||NNNNNNNNNNNNNNNN"));
    QVERIFY(passwordIs(env, 3, ""));

    // clearing a name deletes that user and its permission rows, after asking
    w.lstBenutzer->setCurrentRow(0);
    w.lstBenutzer->item(1)->setText("");
    env.dialogs().answer(Answer::No);
    w.btnUebernehmen->click();
    QCOMPARE(users(env).size(), 3);
    env.dialogs().answer(Answer::Yes);
    w.btnUebernehmen->click();
    QCOMPARE(env.dialogs().questions(), QStringList(2, "Der Name ist leer. Soll der Benutzer „Neil“ gelöscht werden?"));
    QCOMPARE(env.dialogs().questionButtons(), QStringList(2, "Ja/Nein"));
    QCOMPARE(users(env), QStringList({"1|Administrator||JJJJJJJJJJJJJJJJ", "3|Gast||NNNNNNNNNNNNNNNN"}));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM permission"), "32");
}

void TestUsers::badInputStoresNothing_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("message");
    const QString nothing = QStringLiteral(" Es wurde nichts gespeichert.");
    const QString last = "Der letzte Benutzer mit dem Recht zur Benutzerverwaltung kann weder gelöscht werden "
                         "noch dieses Recht verlieren."
                         + nothing;
    QTest::newRow("new user without a name") << 0 << "Bitte geben Sie einen Benutzernamen ein." + nothing;
    QTest::newRow("name taken") << 1 << "Der Benutzername „ANNA“ ist bereits vergeben." + nothing;
    QTest::newRow("passwords differ") << 2 << "Passwörter stimmen nicht überein! Kein Eintrag.";
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
    w.lstBenutzer->setCurrentRow(step <= 1 ? 2 : 1);
    w.memBeschreibung->setPlainText("geändert");
    w.chkBenutzerverwaltung->setChecked(true);
    if (step == 1)
        w.lstBenutzer->item(2)->setText("ANNA");
    if (step == 2) {
        w.edtPasswort->setText("eins");
        w.edtPasswortWiederholen->setText("zwei");
    }
    if (step == 3)
        setBox(w, 14, false);
    if (step == 4) {
        w.lstBenutzer->item(1)->setText("");
        env.dialogs().answer(Answer::Yes);
    }
    w.btnOK->click();
    QCOMPARE(env.dialogs().messages(), QStringList{message});
    QCOMPARE(tables(env), before);
    QVERIFY(!ReadIfLogin());
    QVERIFY(w.isVisible()); // what was typed is still there
}

void TestUsers::changeOwnPassword_data()
{
    QTest::addColumn<qint64>("user");
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("message");
    QTest::newRow("changed") << qint64(2) << "Grüße€" << "Neues Passwort eingetragen.";
    QTest::newRow("wrong old password") << qint64(2) << "anna2" << "Das bisherige Passwort ist falsch! Keine Änderung.";
    QTest::newRow("no log-in") << qint64(0) << "Grüße€" << "Ohne Anmeldung gibt es kein eigenes Passwort zu ändern.";
}

void TestUsers::changeOwnPassword()
{
    QFETCH(qint64, user);
    QFETCH(QString, old);
    QFETCH(QString, message);
    TestEnv env;
    AddTestUsers(env);
    env.state().LoggedInUser = user;
    const QStringList before = tables(env);
    TfrmPasswort w(env.state());
    w.show();
    w.edtAltesPasswort->setText(old);
    w.edtNeuesPasswort->setText("Neu 1");
    w.edtWiederholen->setText("Neu 1");
    QTest::keyClick(w.edtWiederholen, Qt::Key_Return); // Enter in the last field stores and closes
    QCOMPARE(env.dialogs().messages(), QStringList{message});
    const bool changed = QTest::currentDataTag() == QByteArray("changed");
    QCOMPARE(w.isVisible(), !changed);
    QCOMPARE(passwordIs(env, 2, "Neu 1"), changed);
    if (!changed)
        QCOMPARE(tables(env), before);
}

QTEST_MAIN(TestUsers)
#include "tst_users.moc"
