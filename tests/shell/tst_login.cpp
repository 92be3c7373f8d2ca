#include "Desktop.h"
#include "FindControl.h"
#include "LoginCheck.h"
#include "Settings.h"
#include "Startup.h"
#include "TForm1.h"
#include "TfrmLogin.h"
#include "UserFixtures.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using TestControls::find;

namespace {

const QString AllFlags(16, QLatin1Char('1'));
const QString NoFlags(16, QLatin1Char('0'));
const QString Refused = QStringLiteral("Benutzername oder Passwort falsch!");

QStringList userRows(TestEnv &env)
{
    return env.column("SELECT IDU || '|' || Name || '|' || Pass FROM usr ORDER BY IDU");
}

// Answers the log-in window once it is shown modally.
void whenLoginShows(const std::function<void(TfrmLogin *)> &step)
{
    QTimer::singleShot(0, [step] {
        if (auto *login = qobject_cast<TfrmLogin *>(QApplication::activeModalWidget()))
            step(login);
    });
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void passwordHashes_data();
    void passwordHashes();
    void logIn_data();
    void logIn();
    void pauseGrowsAfterFiveFailures();
    void loginWindow();
    void cancelChecksNoPassword();
    void startWithAndWithoutSwitch();
};

void TestLogin::passwordHashes_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("matches");
    QTest::addColumn<bool>("rehash");
    const QString argon = PasswordHash::make("Grüße€");
    QTest::newRow("MD5 of the empty password") << "" << "d41d8cd98f00b204e9800998ecf8427e" << true << true;
    QTest::newRow("MD5 of the Windows code page") << "Grüße€" << "d665eca0e7e9505f46a47cd1ea81074f" << true << true;
    QTest::newRow("MD5 in capitals") << "anna1" << "F4E44D42FE74C7BD3486419A5032E5D9" << true << true;
    QTest::newRow("MD5, wrong password") << "anna2" << "f4e44d42fe74c7bd3486419a5032e5d9" << false << true;
    QTest::newRow("Argon2id") << "Grüße€" << argon << true << false;
    QTest::newRow("Argon2id, other case") << "grüße€" << argon << false << false;
    QTest::newRow("Argon2id, truncated") << "Grüße€" << argon.left(40) << false << true;
    QTest::newRow("neither form") << "x" << "x" << false << true;
    QTest::newRow("nothing stored") << "" << "" << false << true;
}

void TestLogin::passwordHashes()
{
    QFETCH(QString, password);
    QFETCH(QString, stored);
    QFETCH(bool, matches);
    QFETCH(bool, rehash);
    QCOMPARE(PasswordHash::verify(password, stored), matches);
    QCOMPARE(PasswordHash::needsRehash(stored), rehash);
    // every new hash has a salt of its own
    if (matches && !rehash)
        QVERIFY(PasswordHash::make(password) != stored);
}

void TestLogin::logIn_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<qint64>("user"); // 0: refused
    QTest::addColumn<QString>("flags");
    QTest::newRow("right password") << "Administrator" << "geheim" << qint64(1) << AllFlags;
    QTest::newRow("wrong password") << "Administrator" << "Geheim" << qint64(0) << NoFlags;
    QTest::newRow("unknown name") << "niemand" << "" << qint64(0) << NoFlags;
    // "j" grants nothing; rows 0 and 17 are ignored; a missing row is not granted
    QTest::newRow("stored MD5 hash") << "anna" << "anna1" << qint64(2) << "1000110000000010";
    QTest::newRow("blanks around the name") << " anna " << "anna1" << qint64(2) << "1000110000000010";
    QTest::newRow("apostrophe in the name") << "O'Brien" << "x" << qint64(3) << "0000110000000000";
    QTest::newRow("name that ends the statement") << "x' UNION SELECT 1, 'd41d8cd98f00b204e9800998ecf8427e" << ""
                                                  << qint64(0) << NoFlags;
    QTest::newRow("name that is always true") << "' OR '1'='1" << "" << qint64(0) << NoFlags;
    QTest::newRow("no permission rows") << "leer" << "leer" << qint64(5) << NoFlags;
}

void TestLogin::logIn()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(qint64, user);
    QFETCH(QString, flags);
    TestEnv env;
    AddTestUsers(env);
    UserStore store(env.state());
    LoginCheck check(store);
    const QStringList before = userRows(env);
    const LoginCheck::Result r = check.check(name, password);
    QCOMPARE(r.outcome, user ? LoginCheck::Outcome::LoggedIn : LoginCheck::Outcome::Refused);
    QCOMPARE(r.user, user);
    QCOMPARE(FlagText(r.perm), flags);
    if (!user) {
        QCOMPARE(userRows(env), before);
        return;
    }
    // the stored hash is the current form afterwards (an MD5 one is replaced) and still fits
    const QString stored = store.storedHash(user);
    QVERIFY2(stored.startsWith("$argon2id$") && !PasswordHash::needsRehash(stored), qPrintable(stored));
    QVERIFY(PasswordHash::verify(password, stored));
    QCOMPARE(check.check(name, password).outcome, LoginCheck::Outcome::LoggedIn);
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM usr"), "5");
}

void TestLogin::pauseGrowsAfterFiveFailures()
{
    TestEnv env;
    AddTestUsers(env);
    UserStore store(env.state());
    qint64 now = 1000;
    LoginCheck check(store, [&now] { return now; });
    using O = LoginCheck::Outcome;
    for (int i = 1; i <= 4; ++i) {
        QCOMPARE(check.check("anna", "falsch").outcome, O::Refused);
        QCOMPARE(check.pauseLeft(), qint64(0));
    }
    QCOMPARE(check.check("anna", "falsch").outcome, O::Refused);
    QCOMPARE(check.pauseLeft(), qint64(2000));
    // during the pause even the right password is not checked, and the try does not count
    QCOMPARE(check.check("anna", "anna1").outcome, O::Waiting);
    now += 1999;
    QCOMPARE(check.check("anna", "anna1").outcome, O::Waiting);
    QCOMPARE(check.failuresInARow(), 5);
    now += 1;
    QCOMPARE(check.check("anna", "falsch").outcome, O::Refused);
    QCOMPARE(check.pauseLeft(), qint64(4000));
    for (int i = 0; i < 10; ++i) {
        now += check.pauseLeft();
        QCOMPARE(check.check("anna", "falsch").outcome, O::Refused);
    }
    QCOMPARE(check.pauseLeft(), qint64(60000));
    now += 60000;
    const LoginCheck::Result r = check.check("anna", "anna1");
    QCOMPARE(r.outcome, O::LoggedIn);
    QCOMPARE(check.failuresInARow(), 0);
    QCOMPARE(check.pauseLeft(), qint64(0));
}

void TestLogin::loginWindow()
{
    TestEnv env;
    AddTestUsers(env);
    TfrmLogin login(env.state());
    login.show();
    QCOMPARE(login.windowTitle(), QStringLiteral("Login"));
    QCOMPARE(login.size(), QSize(350, 236));
    QCOMPARE(find<QLineEdit>(&login, "edtBenutzername")->text(), QStringLiteral("Administrator"));
    QCOMPARE(find<QLineEdit>(&login, "edtPasswort")->echoMode(), QLineEdit::Password);
    // the help button opens the manual's page on logging in
    QUrl opened;
    SetDesktopOpener([&opened](const QUrl &url) {
        opened = url;
        return true;
    });
    QTest::mouseClick(find<QPushButton>(&login, "btnHilfe"), Qt::LeftButton);
    SetDesktopOpener({});
    QCOMPARE(opened.fragment(), QStringLiteral("anmeldung"));
    QVERIFY2(QFile::exists(opened.toLocalFile()), qPrintable(opened.toString()));
    login.edtBenutzername->setText("O'Brien");
    login.edtPasswort->setText("y");
    QTest::mouseClick(find<QPushButton>(&login, "btnOK"), Qt::LeftButton);
    // the title bar leaves only with a successful check as well
    login.edtPasswort->setText("z");
    login.close();
    QVERIFY(login.isVisible());
    QCOMPARE(env.dialogs().messages(), QStringList({Refused, Refused}));
    QCOMPARE(FlagText(env.state().Perm), NoFlags);

    login.edtPasswort->setText("x");
    QTest::keyClick(login.edtPasswort, Qt::Key_Return);
    QVERIFY(!login.isVisible());
    QCOMPARE(login.result(), int(QDialog::Accepted));
    QVERIFY(!login.Cancelled());
    QCOMPARE(FlagText(env.state().Perm), QStringLiteral("0000110000000000"));
    QCOMPARE(env.state().LoggedInUser, qint64(3));
    QCOMPARE(env.dialogs().messages().size(), 2);
    // the next start offers the name of this log-in
    QCOMPARE(ReadLastUser(env.home()), QStringLiteral("O'Brien"));
    TfrmLogin next(env.state());
    next.show();
    QCOMPARE(next.edtBenutzername->text(), QStringLiteral("O'Brien"));
    next.btnAbbrechen->click();
}

void TestLogin::cancelChecksNoPassword()
{
    TestEnv env;
    AddTestUsers(env);
    TfrmLogin login(env.state());
    login.show();
    login.edtBenutzername->setText("kwp");
    login.edtPasswort->setText("!!!!!kwp4418");
    QTest::mouseClick(find<QPushButton>(&login, "btnAbbrechen"), Qt::LeftButton);
    QVERIFY(!login.isVisible());
    QVERIFY(login.Cancelled());
    QCOMPARE(login.result(), int(QDialog::Rejected));
    QCOMPARE(FlagText(env.state().Perm), NoFlags);
    QCOMPARE(env.state().LoggedInUser, qint64(0));
    QCOMPARE(env.dialogs().messages(), QStringList());
    QCOMPARE(ReadLastUser(env.home()), QStringLiteral("Administrator"));
    QCOMPARE(login.loginCheck().failuresInARow(), 0);
}

void TestLogin::startWithAndWithoutSwitch()
{
    TestEnv env;
    AddTestUsers(env);
    {
        // every flag, but user administration only for an administrator of the machine
        env.state().isAdminAccount = [] { return false; };
        TForm1 main(env.state());
        QVERIFY(RunLogin(env.state(), main));
        QCOMPARE(FlagText(env.state().Perm), AllFlags);
        QVERIFY(!main.actChangePassword->isEnabled());
        QVERIFY(!main.actUsers->isVisible());
        QCOMPARE(env.state().LoggedInUser, qint64(0));
        env.state().isAdminAccount = [] { return true; };
    }
    QVERIFY(WriteIfLogin(true));
    env.state().Perm.fill(false);
    {
        TForm1 main(env.state());
        whenLoginShows([](TfrmLogin *login) { login->btnAbbrechen->click(); });
        QVERIFY(!RunLogin(env.state(), main));
        QCOMPARE(FlagText(env.state().Perm), NoFlags);
    }
    {
        TForm1 main(env.state());
        whenLoginShows([](TfrmLogin *login) {
            login->edtBenutzername->setText("anna");
            login->edtPasswort->setText("anna1");
            login->btnOK->click();
        });
        QVERIFY(RunLogin(env.state(), main));
        QCOMPARE(FlagText(env.state().Perm), QStringLiteral("1000110000000010"));
        QCOMPARE(env.state().LoggedInUser, qint64(2));
        QVERIFY(main.actChangePassword->isEnabled() && main.actChangePassword->isVisible());
    }
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
