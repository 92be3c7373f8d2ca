#include "Errors.h"
#include "PaperBins.h"
#include "PrintJobFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString fileText(const PrintJobFile &file)
{
    QFile f(file.path());
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll()).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

void setFileText(const PrintJobFile &file, const QString &text)
{
    QFile f(file.path());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

PrintJobStep stepOf(const QString &printer, const QString &copies, const QString &colour, const QString &bitmap)
{
    PrintJobStep s;
    s.prnName = printer;
    s.count = copies;
    s.bmpColor = colour;
    s.bmpName = bitmap;
    return s;
}

} // namespace

class TestPrintJobFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newJobWritesTheFileFormat();
    void readsDefaults_data();
    void readsDefaults();
    void deleteJobRenumbersTheList();
    void deleteStepMovesLaterStepsUp();
    void genericWriteModes();
    void refusesNamesThatWouldBreakTheFile_data();
    void refusesNamesThatWouldBreakTheFile();
    void paperBinsOfAMissingPrinter();
};

void TestPrintJobFile::newJobWritesTheFileFormat()
{
    QTemporaryDir dir;
    PrintJobFile file(dir.path());
    QVERIFY(!QFile::exists(file.path()));
    file.createJob(QStringLiteral("Versand"));
    QCOMPARE(file.addStep(QStringLiteral("Versand")), 1);
    PrintJobStep s = stepOf(QStringLiteral("Laser Büro"), QStringLiteral("1"), QStringLiteral("J"),
                            QStringLiteral("/home/anna/kopf.png\n"));
    s.prn = QStringLiteral("2");
    file.writeStep(QStringLiteral("Versand"), 1, s);
    QCOMPARE(fileText(file), QStringLiteral("[general]\ncount=1\n1=Versand\n\n"
                                            "[Versand]\ncount=1\n\n"
                                            "[Versand_1]\ncount=1\nprn=2\nprnName=Laser Büro\nbin=0\nbinName=0\n"
                                            "bmpColor=J\nbmpName=/home/anna/kopf.png\n"));
    // Read back: the path only up to its line break.
    s.bmpName = QStringLiteral("/home/anna/kopf.png");
    QCOMPARE(file.jobNames(), QStringList{QStringLiteral("Versand")});
    QCOMPARE(file.stepCount(QStringLiteral("Versand")), 1);
    QCOMPARE(file.step(QStringLiteral("Versand"), 1), s);

    file.createJob(QStringLiteral("Ablage"));
    QCOMPARE(file.jobNames(), (QStringList{QStringLiteral("Versand"), QStringLiteral("Ablage")}));
    QCOMPARE(file.stepCount(QStringLiteral("Ablage")), 0); // no steps until the editor adds one
}

void TestPrintJobFile::readsDefaults_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("jobs");
    QTest::addColumn<int>("steps");       // of the first job
    QTest::addColumn<QString>("printer"); // step 1 of the first job
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("letterhead");
    QTest::addColumn<QString>("bitmap");

    QTest::newRow("no file") << QString() << QStringList() << 0 << "0" << 1 << false << "";
    QTest::newRow("job without sections")
        << "[general]\ncount=1\n1=Versand\n" << QStringList{"Versand"} << 0 << "0" << 1 << false << "";
    QTest::newRow("list shorter than its count")
        << "[general]\ncount=2\n1=Versand\n" << QStringList{"Versand", ""} << 0 << "0" << 1 << false << "";
    QTest::newRow("step with printer only")
        << "[general]\ncount=1\n1=Versand\n[Versand]\ncount=1\n[Versand_1]\nprnName=Laser\n"
        << QStringList{"Versand"} << 1 << "Laser" << 1 << false << "";
    QTest::newRow("colour missing, bitmap set: no letterhead")
        << "[general]\ncount=1\n1=V\n[V]\ncount=1\n[V_1]\ncount=3\nprnName=L\nbmpName=/k.png\n"
        << QStringList{"V"} << 1 << "L" << 3 << false << "/k.png";
    QTest::newRow("colour N prints the letterhead")
        << "[general]\ncount=1\n1=V\n[V]\ncount=2\n[V_1]\ncount=0\nbmpColor=N\n"
        << QStringList{"V"} << 2 << "0" << 1 << true << "";
    QTest::newRow("copies not a number")
        << "[general]\ncount=1\n1=V\n[V]\ncount=1\n[V_1]\ncount=zwei\nbmpColor=0\n"
        << QStringList{"V"} << 1 << "0" << 1 << false << "";
    QTest::newRow("other case, CRLF, written elsewhere")
        << "[GENERAL]\r\nCount=2\r\n1=Kunde\r\n2=Archiv\r\n[kunde]\r\nCOUNT=1\r\n[Kunde_1]\r\nPrnName=HP\r\nCount=2\r\n"
        << QStringList{"Kunde", "Archiv"} << 1 << "HP" << 2 << false << "";
}

void TestPrintJobFile::readsDefaults()
{
    QFETCH(QString, file);
    QFETCH(QStringList, jobs);
    QTemporaryDir dir;
    PrintJobFile f(dir.path());
    if (!file.isNull())
        setFileText(f, file);
    QCOMPARE(f.jobNames(), jobs);
    const QString job = jobs.value(0, QStringLiteral("Versand"));
    QTEST(f.stepCount(job), "steps");
    const PrintJobStep s = f.step(job, 1);
    QTEST(s.prnName, "printer");
    QTEST(s.copies(), "copies");
    QTEST(s.printsLetterhead(), "letterhead");
    QTEST(s.bmpName, "bitmap");
    QCOMPARE(f.step(job, 9).bin, QStringLiteral("0")); // a step that does not exist
}

void TestPrintJobFile::deleteJobRenumbersTheList()
{
    QTemporaryDir dir;
    PrintJobFile file(dir.path());
    for (const char *name : {"Kunde", "Archiv", "Versand"}) {
        file.createJob(QLatin1String(name));
        file.addStep(QLatin1String(name));
        file.addStep(QLatin1String(name));
        for (int k = 1; k <= 2; ++k)
            file.writeStep(QLatin1String(name), k, stepOf(QLatin1String(name), QString::number(k), "J", ""));
    }
    QVERIFY(!file.deleteJob(QStringLiteral("Unbekannt")));
    QVERIFY(file.deleteJob(QStringLiteral("Kunde")));
    QCOMPARE(file.jobNames(), (QStringList{QStringLiteral("Archiv"), QStringLiteral("Versand")}));
    const QString text = fileText(file);
    QVERIFY2(text.startsWith("[general]\ncount=2\n1=Archiv\n2=Versand\n\n"), qPrintable(text));
    QVERIFY(!text.contains("Kunde"));
    QCOMPARE(file.step(QStringLiteral("Versand"), 2).prnName, QStringLiteral("Versand"));

    QVERIFY(file.deleteJob(QStringLiteral("Versand")));
    QVERIFY(file.deleteJob(QStringLiteral("Archiv")));
    QCOMPARE(file.jobNames(), QStringList());
    QCOMPARE(fileText(file).trimmed(), QStringLiteral("[general]\ncount=0"));
}

void TestPrintJobFile::deleteStepMovesLaterStepsUp()
{
    QTemporaryDir dir;
    PrintJobFile file(dir.path());
    const QString job = QStringLiteral("Versand");
    file.createJob(job);
    for (int k = 1; k <= 3; ++k) {
        QCOMPARE(file.addStep(job), k);
        file.writeStep(job, k, stepOf(QStringLiteral("P%1").arg(k), QString::number(k), "J", QStringLiteral("/b%1").arg(k)));
    }
    // Step 3 lacks its colour: the moved step must lack it too, not inherit step 2's.
    file.write(PrintJobFile::stepSection(job, 3), QStringLiteral("bmpColor"), QString(), PrintJobFile::DeleteKey);
    const PrintJobStep third = file.step(job, 3);

    QVERIFY(!file.deleteStep(job, 4));
    QVERIFY(file.deleteStep(job, 2));
    QCOMPARE(file.stepCount(job), 2);
    QCOMPARE(file.step(job, 1).prnName, QStringLiteral("P1"));
    QCOMPARE(file.step(job, 2), third);
    QVERIFY(!file.step(job, 2).printsLetterhead());
    QVERIFY(!fileText(file).contains("[Versand_3]"));

    QVERIFY(file.deleteStep(job, 1));
    QCOMPARE(file.step(job, 1), third);
    // The last step stays.
    const QString before = fileText(file);
    QVERIFY(!file.deleteStep(job, 1));
    QCOMPARE(fileText(file), before);
    QCOMPARE(PrintJobFile::LastStepRefused, QStringLiteral("Unterjobs geringste Anzahl 1! Löschen abgebrochen!"));
}

void TestPrintJobFile::genericWriteModes()
{
    QTemporaryDir dir;
    PrintJobFile file(dir.path());
    file.write(QStringLiteral("A"), QStringLiteral("count"), QStringLiteral("ignored"), 7);
    file.write(QStringLiteral("A"), QStringLiteral("text"), QStringLiteral("eins\r\nzwei"));
    file.write(QStringLiteral("B"), QStringLiteral("x"), QStringLiteral("1"));
    QCOMPARE(fileText(file), QStringLiteral("[A]\ncount=7\ntext=eins\n\n[B]\nx=1\n"));
    file.write(QStringLiteral("A"), QStringLiteral("text"), QString(), PrintJobFile::DeleteKey);
    file.write(QStringLiteral("B"), QString(), QString(), PrintJobFile::EraseSection);
    file.write(QString(), QString(), QString(), PrintJobFile::Flush);
    QCOMPARE(fileText(file), QStringLiteral("[A]\ncount=7\n\n"));
}

void TestPrintJobFile::refusesNamesThatWouldBreakTheFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "  ";
    QTest::newRow("the list section") << "General";
    QTest::newRow("bracket") << "Kunde]";
    QTest::newRow("line break") << "Ku\nnde";
    QTest::newRow("same job, other case") << "versand";
    QTest::newRow("a step of an existing job") << "Versand_2";
    QTest::newRow("its steps would be another job") << "Post";
}

void TestPrintJobFile::refusesNamesThatWouldBreakTheFile()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    PrintJobFile file(dir.path());
    file.createJob(QStringLiteral("Versand"));
    file.addStep(QStringLiteral("Versand"));
    file.createJob(QStringLiteral("Post_1"));
    const QString before = fileText(file);
    QVERIFY_THROWS_EXCEPTION(OrvellaError, file.createJob(name));
    QCOMPARE(fileText(file), before);
}

void TestPrintJobFile::paperBinsOfAMissingPrinter()
{
    // Whether or not a print system runs here: no bins, and no waiting.
    QElapsedTimer t;
    t.start();
    QCOMPARE(PaperBins(QStringLiteral("Gibt es nicht")), QList<PaperBin>());
    QCOMPARE(PaperBins(QString()), QList<PaperBin>());
    QVERIFY(t.elapsed() < 5000);
}

QTEST_GUILESS_MAIN(TestPrintJobFile)
#include "tst_printjobfile.moc"
