#include "FindControl.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QWidget>

// A misspelt control name fails the one test function that asks for it; the
// test program goes on with the next function instead of ending.
class Inner : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void asksForAMissingControl()
    {
        QWidget window;
        auto *e = new QLineEdit(&window);
        e->setObjectName(QStringLiteral("edtName"));
        QCOMPARE(TestControls::find<QLineEdit>(&window, "edtName"), e);
        TestControls::find<QAbstractButton>(&window, "btnMisspelt")->click();
        QVERIFY(false); // not reached: the failure above ends the function
    }
    void runsAfterwards() { QVERIFY(true); }
};

class TestFindControl : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void missingControlFailsOneFunction()
    {
        QProcess inner;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ORVELLA_INNER_TEST"), QStringLiteral("1"));
        inner.setProcessEnvironment(env);
        inner.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(inner.waitForFinished(20000));
        const QString out = QString::fromUtf8(inner.readAllStandardOutput());
        QCOMPARE(inner.exitStatus(), QProcess::NormalExit);
        QCOMPARE(inner.exitCode(), 1); // one failed function
        QVERIFY2(out.contains(QStringLiteral("FAIL!  : Inner::asksForAMissingControl() no control named btnMisspelt "
                                             "of type QAbstractButton")),
                 qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("PASS   : Inner::runsAfterwards()")), qPrintable(out));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("ORVELLA_INNER_TEST")) {
        Inner inner;
        return QTest::qExec(&inner, 1, argv);
    }
    TestFindControl test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_findcontrol.moc"
