#include "DatabaseConfig.h"
#include "Errors.h"
#include "HomeDir.h"
#include "IniFile.h"
#include "Settings.h"
#include "TestEnv.h"

#include <QFile>
#include <QTemporaryDir>
#include <QProcess>
#include <QtTest>

#include <unistd.h>

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void orbelIniDefaults();
    void startNumbers_data();
    void startNumbers();
    void iniFileFormat();
    void ownCompany();
    void userSettingsGroupStopsAtFirstMissing();
    void ifLogin_data();
    void ifLogin();
    void autostartEntry();
    void homeDirChoice();
    void homeDirFailures();
    void shippedDefaultsFound_data();
    void shippedDefaultsFound();
    void shippedDefaultsCopied();
    void databaseChoice_data();
    void databaseChoice();
};

void TestSettings::orbelIniDefaults()
{
    TestEnv env(false);
    QVERIFY(!QFile::exists(OrbelIniPath(env.home())));
    QCOMPARE(ReadCurrency(env.home()), QStringLiteral("€"));
    QCOMPARE(ReadSizeGrade(env.home()), 5);
    QCOMPARE(ReadLastUser(env.home()), QStringLiteral("Administrator"));
    QCOMPARE(ReadBackupPath(env.home(), "PathGesamt"), QString());
    for (const QString &key : {StartKey::Projekt, StartKey::Angebot, StartKey::Auftrag, StartKey::Lieferschein,
                               StartKey::Rechnung, StartKey::Gutschrift, StartKey::Mahnung, StartKey::Ablage,
                               StartKey::Kunden})
        QCOMPARE(ReadStartNumber(env.home(), key), 1);

    WriteCurrency(env.home(), "CHF");
    WriteSizeGrade(env.home(), 8);
    WriteLastUser(env.home(), "Müller");
    QCOMPARE(ReadCurrency(env.home()), QStringLiteral("CHF"));
    QCOMPARE(ReadSizeGrade(env.home()), 8);
    QCOMPARE(ReadLastUser(env.home()), QStringLiteral("Müller"));
    // the file is plain section/key=value text
    QFile f(OrbelIniPath(env.home()));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    QVERIFY2(text.contains("[Personal]\r\nWaehrung=CHF\r\nSGrad=8\r\n"), qPrintable(text));
    QVERIFY(text.contains("[Benutzer]\r\nString=Müller"));
}

void TestSettings::startNumbers_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("read");
    QTest::newRow("number") << "5000" << 5000;
    QTest::newRow("not a number") << "abc" << 1;
    QTest::newRow("empty") << "" << 1;
    QTest::newRow("blanks") << " 42 " << 42;
}

void TestSettings::startNumbers()
{
    QFETCH(QString, stored);
    QFETCH(int, read);
    TestEnv env(false);
    WriteStartNumber(env.home(), StartKey::Rechnung, stored);
    QCOMPARE(ReadStartNumber(env.home(), StartKey::Rechnung), read);
    QCOMPARE(ReadStartNumber(env.home(), StartKey::Angebot), 1);
}

void TestSettings::iniFileFormat()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("DruckJob.ini");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("; Kommentar\n[General]\ncount=2\n1=Rechnung=zweifach\n\n[Andere]\nx = 1 \n");
    }
    IniFile ini(path);
    QCOMPARE(ini.readInteger("general", "COUNT", 0), 2);
    QCOMPARE(ini.readString("general", "1"), QStringLiteral("Rechnung=zweifach"));
    QCOMPARE(ini.readString("Andere", "x"), QStringLiteral("1"));
    QCOMPARE(ini.readString("Andere", "y", "fehlt"), QStringLiteral("fehlt"));
    QCOMPARE(ini.sections(), QStringList({"General", "Andere"}));
    QCOMPARE(ini.keys("General"), QStringList({"count", "1"}));
    ini.writeString("General", "2", "Lieferschein");
    ini.writeString("Neu", "a", "zwei\nZeilen");
    QCOMPARE(ini.keys("General"), QStringList({"count", "1", "2"}));
    QCOMPARE(ini.readString("Neu", "a"), QStringLiteral("zwei Zeilen"));
    ini.eraseSection("andere");
    QVERIFY(!ini.sectionExists("Andere"));
    ini.deleteKey("General", "1");
    QCOMPARE(ini.keys("General"), QStringList({"count", "2"}));
    QVERIFY(ini.valueExists("Neu", "a"));
    QVERIFY(!ini.valueExists("Neu", "b"));
}

void TestSettings::ownCompany()
{
    TestEnv env(false);
    OwnCompany c = ReadOwnCompany(env.home());
    QCOMPARE(c.name, QStringLiteral("0"));
    QCOMPARE(c.line, QStringLiteral("0"));
    WriteOwnCompany(env.home(), "Holz & Co. KG", "Sägewerkstraße 4", "79098", "Freiburg");
    c = ReadOwnCompany(env.home());
    QCOMPARE(c.ort, QStringLiteral("Freiburg"));
    QCOMPARE(c.line, QStringLiteral("Holz & Co. KG - Sägewerkstraße 4 - 79098 Freiburg"));
}

void TestSettings::userSettingsGroupStopsAtFirstMissing()
{
    TestEnv env(false);
    {
        UserSettings s;
        s.writeInt("Left", 120);
        s.writeInt("Top", 80);
        // Width missing
        s.writeInt("Height", 600);
        s.writeBool("CheckBox1Checked", true);
        s.sync();
    }
    UserSettings s;
    SettingsGroupReader r(s);
    int left = 10, top = 10, width = 750, height = 550;
    QVERIFY(r.readInt("Left", left));
    QVERIFY(r.readInt("Top", top));
    QVERIFY(!r.readInt("Width", width));
    QVERIFY(!r.readInt("Height", height));
    QVERIFY(r.failed());
    QCOMPARE(left, 120);
    QCOMPARE(top, 80);
    QCOMPARE(width, 750);
    QCOMPARE(height, 550);
    QCOMPARE(s.readBool("CheckBox1Checked"), std::optional<bool>(true));
    s.writeString("Drucker", "Büro");
    QCOMPARE(s.readInt("Drucker"), std::nullopt);
    QCOMPARE(s.readString("Drucker"), std::optional<QString>("Büro"));
}

void TestSettings::ifLogin_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("value");
    QTest::newRow("missing") << QString() << false;
    QTest::newRow("true") << "1" << true;
    QTest::newRow("false") << "0" << false;
    QTest::newRow("not a yes or no") << "vielleicht" << false;
    QTest::newRow("file that cannot be read") << "/" << true;
}

void TestSettings::ifLogin()
{
    QFETCH(QString, stored);
    QFETCH(bool, value);
    TestEnv env(false);
    if (stored == "/") {
        QVERIFY(QDir().mkpath(MachineSettingsFile())); // there, but no file to read
        QCOMPARE(ReadLoginSwitch(), LoginSwitch::Unreadable);
    } else if (!stored.isNull()) {
        QSettings s(MachineSettingsFile(), QSettings::IniFormat);
        s.setValue("1/IfLogin", stored);
    }
    QCOMPARE(ReadIfLogin(), value);
    // the user's own settings never switch the log-in on
    UserSettings u;
    u.writeInt("IfLogin", 1);
    u.sync();
    QCOMPARE(ReadIfLogin(), value);
    if (stored != "1")
        return;
    // Nor does the environment switch it off: a program started with the
    // settings folders pointed elsewhere still asks for the log-in.
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_DIRS", "/x");
    environment.insert("XDG_CONFIG_HOME", "/x");
    probe.setProcessEnvironment(environment);
    probe.start(QStringLiteral(ORVELLA_LOGIN_PROBE), {MachineSettingsFile()});
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(QString::fromUtf8(probe.readAllStandardOutput()).trimmed(), "Anmeldung");
}

void TestSettings::autostartEntry()
{
    TestEnv env(false);
    QCOMPARE(ReadAutostartEntry(), QString());
    WriteAutostartEntry(env.home() + "Sentry");
    QVERIFY(AutostartFilePath().startsWith(env.home().section('/', 0, -3)));
    QCOMPARE(ReadAutostartEntry(), env.home() + "Sentry");
    WriteAutostartEntry(QString());
    QCOMPARE(ReadAutostartEntry(), QString());
    QVERIFY(!QFile::exists(AutostartFilePath()));
}

void TestSettings::homeDirChoice()
{
    qputenv("ORVELLA_HOME", "/tmp/aus-der-umgebung");
    QCOMPARE(ResolveHomeDir({"orvella", "--home", "/tmp/x"}), QStringLiteral("/tmp/x"));
    QCOMPARE(ResolveHomeDir({"orvella", "/OP", "--home=/tmp/y"}), QStringLiteral("/tmp/y"));
    QCOMPARE(ResolveHomeDir({"orvella"}), QStringLiteral("/tmp/aus-der-umgebung"));
    qunsetenv("ORVELLA_HOME");
    QVERIFY(!ResolveHomeDir({"orvella"}).isEmpty());
    QCOMPARE(ArgumentsWithoutHome({"orvella", "--home", "/tmp/x", "/OP"}), QStringList({"orvella", "/OP"}));

    QTemporaryDir dir;
    const QString home = PrepareHomeDir(dir.filePath("neu/tief"));
    QVERIFY(home.endsWith("/neu/tief/"));
    QVERIFY(QFileInfo(home + "data").isDir());
}

void TestSettings::homeDirFailures()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("datei"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        PrepareHomeDir(dir.filePath("datei/unter"));
        QFAIL("folder below a file accepted");
    } catch (const OrvellaError &e) {
        QVERIFY2(e.message().contains("kann nicht angelegt werden"), qPrintable(e.message()));
    }
    if (geteuid() == 0)
        QSKIP("root may write into read-only folders; that case needs an ordinary account");
    const QString locked = dir.filePath("gesperrt");
    QVERIFY(QDir().mkpath(locked));
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    try {
        PrepareHomeDir(locked);
        QFAIL("read-only folder accepted");
    } catch (const OrvellaError &e) {
        QVERIFY2(e.message().contains("kann nicht geschrieben werden"), qPrintable(e.message()));
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(fehlt)");
}

} // namespace

void TestSettings::shippedDefaultsFound_data()
{
    // folders (relative to a scratch root) that hold shipped defaults, where the
    // program runs, and which of them it must take; "xdg:" marks the desktop's
    // data search path
    QTest::addColumn<QStringList>("defaults");
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<QString>("expected");
    QTest::newRow("installed") << QStringList{"usr/share/orvella/defaults"} << "usr/bin"
                               << "usr/share/orvella/defaults";
    QTest::newRow("other prefix") << QStringList{"opt/orvella/share/orvella/defaults", "xdg:orvella/defaults"}
                                  << "opt/orvella/bin" << "opt/orvella/share/orvella/defaults";
    QTest::newRow("test in the build folder") << QStringList{"build/share/orvella/defaults"} << "build/tests/core"
                                              << "build/share/orvella/defaults";
    QTest::newRow("nearest wins") << QStringList{"build/share/orvella/defaults", "build/app/share/orvella/defaults"}
                                  << "build/app" << "build/app/share/orvella/defaults";
    QTest::newRow("copied program") << QStringList{"xdg:orvella/defaults"} << "home/bin" << "xdg:orvella/defaults";
    QTest::newRow("none") << QStringList{} << "home/bin" << "";
}

void TestSettings::shippedDefaultsFound()
{
    QFETCH(QStringList, defaults);
    QFETCH(QString, programDir);
    QFETCH(QString, expected);
    QTemporaryDir root;
    const QString xdg = root.filePath("xdg");
    const QByteArray oldHome = qgetenv("XDG_DATA_HOME"), oldDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath("xdg-home")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(xdg));
    auto place = [&](const QString &relative) {
        return relative.startsWith("xdg:") ? QDir(xdg).filePath(relative.mid(4)) : root.filePath(relative);
    };
    for (const QString &d : defaults)
        writeFile(place(d) + "/Allgemein/Brief.ott", "Vorlage");
    QVERIFY(QDir().mkpath(root.filePath(programDir)));

    const QString found = FindShippedDefaults(root.filePath(programDir));
    qputenv("XDG_DATA_HOME", oldHome);
    qputenv("XDG_DATA_DIRS", oldDirs);
    QCOMPARE(QDir::cleanPath(found), expected.isEmpty() ? QString() : QDir::cleanPath(place(expected)));
}

void TestSettings::shippedDefaultsCopied()
{
    QTemporaryDir dir;
    const QString shipped = dir.filePath("share/orvella/defaults");
    writeFile(shipped + "/Allgemein/Brief.ott", "neue Vorlage");
    writeFile(shipped + "/Aufträge/Auftrag.ott", "Auftrag");
    writeFile(shipped + "/Handbuch/Handbuch.html", "<h1>Handbuch</h1>");
    // installed files are read-only for the user
    for (const char *f : {"/Allgemein/Brief.ott", "/Aufträge/Auftrag.ott", "/Handbuch/Handbuch.html"})
        QVERIFY(QFile::setPermissions(shipped + QString::fromUtf8(f), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    // the user has changed the letter template in an older home folder
    const QString homeDir = dir.filePath("home");
    writeFile(homeDir + "/Allgemein/Brief.ott", "eigene Vorlage");

    const QString home = PrepareHomeDir(homeDir, shipped);
    QCOMPARE(readFile(home + "Allgemein/Brief.ott"), QByteArray("eigene Vorlage"));
    QCOMPARE(readFile(home + "Aufträge/Auftrag.ott"), QByteArray("Auftrag"));
    QCOMPARE(readFile(home + "Handbuch/Handbuch.html"), QByteArray("<h1>Handbuch</h1>"));
    QVERIFY(QFileInfo(home + "Handbuch/Handbuch.html").permissions() & QFile::WriteOwner);
    QVERIFY(QFileInfo(home + "data").isDir());

    // without shipped defaults the home folder is made all the same
    const QString bare = PrepareHomeDir(dir.filePath("leer"), QString());
    QCOMPARE(QDir(bare).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"data"});
}

void TestSettings::databaseChoice_data()
{
    // The command line before the environment before Orbel.ini before the file.
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("environment");
    QTest::addColumn<QString>("ini"); // the section's lines
    QTest::addColumn<QString>("expected"); // engine|host|port|name|user, or the start of the message
    const QString ini = QStringLiteral("Server=buero-server\nPort=5433\nName=firma\nBenutzer=anna");
    QTest::newRow("nothing: the file") << "" << "" << "" << "file";
    QTest::newRow("ini") << "" << "" << ini << "server|buero-server|5433|firma|anna";
    QTest::newRow("ini without a name") << "" << "" << "Server=10.0.0.2" << "server|10.0.0.2|0|orvella|";
    QTest::newRow("environment over ini") << "" << "postgresql://bert@db:6000/lager" << ini
                                          << "server|db|6000|lager|bert";
    QTest::newRow("option over all") << "--database=postgres:///probe" << "postgresql://bert@db/lager" << ini
                                     << "server||0|probe|";
    QTest::newRow("option as two words") << "--database postgresql://c@h/n" << "" << "" << "server|h|0|n|c";
    QTest::newRow("not an address") << "--database mysql://h/n" << "" << ""
                                    << "Die Datenbankangabe \"mysql://h/n\" (--database) kann nicht gelesen werden.";
    QTest::newRow("port not a number") << "" << "postgresql://h:abc/n" << "" << "Die Datenbankangabe";
    QTest::newRow("no database name") << "" << "postgresql://h:5432" << "" << "Die Datenbankangabe";
}

void TestSettings::databaseChoice()
{
    QFETCH(QString, option);
    QFETCH(QString, environment);
    QFETCH(QString, ini);
    QFETCH(QString, expected);
    TestEnv env(false);
    if (!ini.isEmpty()) {
        QFile f(OrbelIniPath(env.home()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(("[Datenbank]\n" + ini + "\n").toUtf8());
    }
    const QByteArray saved = qgetenv("ORVELLA_DATABASE");
    qputenv("ORVELLA_DATABASE", environment.toUtf8());
    const QStringList arguments = QStringList{"orvella"} + option.split(' ', Qt::SkipEmptyParts);
    QString got;
    try {
        const DatabaseConfig c = ChooseDatabase(arguments, env.home(), env.dataDir());
        got = c.isServer() ? QStringList{"server", c.host, QString::number(c.port), c.name, c.user}.join('|')
                           : (c.dataDir == env.dataDir() ? QStringLiteral("file") : c.dataDir);
    } catch (const OrvellaError &e) {
        got = e.message();
    }
    qputenv("ORVELLA_DATABASE", saved);
    QVERIFY2(got.startsWith(expected), qPrintable(got));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
