#include "Amount.h"
#include "CommandGuard.h"
#include "Errors.h"
#include "Formats.h"
#include "SqlLiterals.h"
#include "ScriptedDialogs.h"
#include "Settings.h"

#include <QProcess>
#include <QtTest>

#include <cstdio>

class TestFormats : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void padNumber_data();
    void padNumber();
    void sqlQuote_data();
    void sqlQuote();
    void toSystemDate_data();
    void toSystemDate();
    void badDates_data();
    void badDates();
    void strToInt();
    void sizeGrade_data();
    void sizeGrade();
    void initFormatsSetsGermanDefault();
    void datesUnderDesktopLanguages_data();
    void datesUnderDesktopLanguages();
    void commandGuardShowsError();
};

void TestFormats::cleanup()
{
    SetSystemDateFormat(QStringLiteral("dd.MM.yyyy"));
    QLocale::setDefault(QLocale::c());
}

void TestFormats::padNumber_data()
{
    QTest::addColumn<qint64>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << qint64(0) << "000000";
    QTest::newRow("5") << qint64(5) << "000005";
    QTest::newRow("42") << qint64(42) << "000042";
    QTest::newRow("12345") << qint64(12345) << "012345";
    QTest::newRow("123456 gets seven") << qint64(123456) << "0123456";
}

void TestFormats::padNumber()
{
    QFETCH(qint64, number);
    QFETCH(QString, text);
    QCOMPARE(PadNumber(number), text);
}

void TestFormats::sqlQuote_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("plain") << "Müller & Söhne" << "Müller & Söhne";
    QTest::newRow("apostrophe") << "O'Neil" << "O''Neil";
    QTest::newRow("two apostrophes") << "''" << "''''";
    QTest::newRow("other quotes untouched") << "\"a\" \\ %_" << "\"a\" \\ %_";
}

void TestFormats::sqlQuote()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(SqlQuote(in), out);
}

void TestFormats::toSystemDate_data()
{
    QTest::addColumn<QString>("systemFormat");
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("german") << "dd.MM.yyyy" << "05.03.2004" << "05.03.2004";
    QTest::newRow("us") << "M/d/yyyy" << "05.03.2004" << "3/5/2004";
    QTest::newRow("iso") << "yyyy-MM-dd" << "31.12.1999" << "1999-12-31";
    QTest::newRow("short input") << "dd.MM.yyyy" << "5.3.2004" << "05.03.2004";
}

void TestFormats::toSystemDate()
{
    QFETCH(QString, systemFormat);
    QFETCH(QString, in);
    QFETCH(QString, out);
    SetSystemDateFormat(systemFormat);
    QCOMPARE(ToSystemDate(in), out);
}

void TestFormats::badDates_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("30 February") << "30.02.2005";
    QTest::newRow("month 13") << "01.13.2005";
    QTest::newRow("slashes") << "01/02/2005";
    QTest::newRow("text") << "morgen";
    QTest::newRow("three-digit year") << "01.02.205";
}

void TestFormats::badDates()
{
    QFETCH(QString, text);
    QVERIFY(!IsValidDateText(text));
    try {
        ToSystemDate(text);
        QFAIL("no conversion error");
    } catch (const ConversionError &e) {
        QVERIFY(e.message().contains(QStringLiteral("kein gültiges Datum")));
    }
}

void TestFormats::strToInt()
{
    QCOMPARE(StrToInt(" 42 "), qint64(42));
    QCOMPARE(StrToIntDef("abc", 1), qint64(1));
    QCOMPARE(StrToIntDef("", 7), qint64(7));
    QVERIFY_THROWS_EXCEPTION(ConversionError, StrToInt("12a"));
    QCOMPARE(StrToDate("29.02.2004"), QDate(2004, 2, 29));
    QCOMPARE(StrToDate("01.02.05"), QDate(2005, 2, 1));
    QCOMPARE(DateToStr(QDate(2026, 1, 9)), QStringLiteral("09.01.2026"));
}

void TestFormats::sizeGrade_data()
{
    QTest::addColumn<int>("grade");
    QTest::addColumn<int>("offset");
    QTest::newRow("0") << 0 << -200;
    QTest::newRow("1") << 1 << -160;
    QTest::newRow("4") << 4 << -40;
    QTest::newRow("5") << 5 << 0;
    QTest::newRow("6") << 6 << 40;
    QTest::newRow("10") << 10 << 200;
    QTest::newRow("11") << 11 << 0;
    QTest::newRow("-1") << -1 << 0;
}

void TestFormats::sizeGrade()
{
    QFETCH(int, grade);
    QFETCH(int, offset);
    QCOMPARE(SizeGradeOffset(grade), offset);
}

void TestFormats::initFormatsSetsGermanDefault()
{
    InitFormats();
    QCOMPARE(QLocale().toString(1234.5, 'f', 2), QStringLiteral("1.234,50"));
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    // whatever the desktop's short format, the year keeps four digits
    QVERIFY(SystemDateFormat().contains(QLatin1String("yyyy")));
}

void TestFormats::datesUnderDesktopLanguages_data()
{
    // A stored date as the program shows it when started on such a desktop.
    QTest::addColumn<QString>("lang");
    QTest::newRow("C") << "C";
    QTest::newRow("English (US)") << "en_US.UTF-8";
    QTest::newRow("English (GB)") << "en_GB.UTF-8";
    QTest::newRow("German") << "de_DE.UTF-8";
    QTest::newRow("Swiss German") << "de_CH.UTF-8";
}

void TestFormats::datesUnderDesktopLanguages()
{
    QFETCH(QString, lang);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LC_ALL"));
    env.remove(QStringLiteral("LC_TIME"));
    env.insert(QStringLiteral("LANG"), lang);
    env.insert(QStringLiteral("ORVELLA_SHOW_DATE"), QStringLiteral("09.12.2026"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).trimmed(), QStringLiteral("09.12.2026"));
}

void TestFormats::commandGuardShowsError()
{
    ScriptedDialogs dialogs;
    bool after = false;
    const bool ok = RunCommand(dialogs, [&] {
        Amount::fromText("zwölf");
        after = true;
    });
    QVERIFY(!ok);
    QVERIFY(!after);
    QCOMPARE(dialogs.texts(ScriptedDialogs::Kind::Error).size(), 1);
    QVERIFY(dialogs.texts(ScriptedDialogs::Kind::Error).first().contains(QStringLiteral("'zwölf'")));
    QVERIFY(RunCommand(dialogs, [] {}));
    QCOMPARE(dialogs.log().size(), 1);
}

// Started with ORVELLA_SHOW_DATE, the program only prints that date as a window
// would show it, so the test sees the formats a fresh process takes from its desktop.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("ORVELLA_SHOW_DATE")) {
        InitFormats();
        std::printf("%s\n", qPrintable(ToSystemDate(qEnvironmentVariable("ORVELLA_SHOW_DATE"))));
        return 0;
    }
    TestFormats test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_formats.moc"
