#include "Errors.h"
#include "PrintJobFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString fileText(const PrintJobFile &file)
{
    QFile f(file.path());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).replace(QLatin1String("\r\n"), "\n") : QString();
}

PrintJobStep step(const QString &printer, const QString &copies, const QString &colour = "J", const QString &bitmap = {})
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
    void writesJobsAndStepsInItsFormat();
    void readsDefaults_data();
    void readsDefaults();
    void refusesNamesThatWouldBreakTheFile_data();
    void refusesNamesThatWouldBreakTheFile();
};

void TestPrintJobFile::writesJobsAndStepsInItsFormat()
{
    QTemporaryDir dir;
    PrintJobFile file(dir.path());
    // A new job on an empty file, as the editor sets it up.
    file.createJob(QStringLiteral("Versand"));
    QCOMPARE(file.addStep(QStringLiteral("Versand")), 1);
    PrintJobStep first = step(QStringLiteral("Laser Büro"), QStringLiteral("1"), "J", "/home/anna/kopf.png\n");
    first.prn = QStringLiteral("2");
    file.writeStep(QStringLiteral("Versand"), 1, first);
    QCOMPARE(fileText(file), QStringLiteral("[general]\ncount=1\n1=Versand\n\n[Versand]\ncount=1\n\n[Versand_1]\n"
                                            "count=1\nprn=2\nprnName=Laser Büro\nbin=0\nbinName=0\nbmpColor=J\n"
                                            "bmpName=/home/anna/kopf.png\n"));
    first.bmpName.chop(1); // read back up to the line break
    QCOMPARE(file.step(QStringLiteral("Versand"), 1), first);

    // Deleting step 2 of 3 moves step 3 up, a key it lacks included.
    for (int k = 2; k <= 3; ++k)
        file.writeStep(QStringLiteral("Versand"), file.addStep(QStringLiteral("Versand")), step(QString("P%1").arg(k), "3"));
    file.write(QStringLiteral("Versand_3"), QStringLiteral("bmpColor"), QString(), PrintJobFile::DeleteKey);
    const PrintJobStep third = file.step(QStringLiteral("Versand"), 3);
    QVERIFY(!file.deleteStep(QStringLiteral("Versand"), 4));
    QVERIFY(file.deleteStep(QStringLiteral("Versand"), 2));
    QCOMPARE(file.stepCount(QStringLiteral("Versand")), 2);
    QCOMPARE(file.step(QStringLiteral("Versand"), 2), third);
    QVERIFY(!file.step(QStringLiteral("Versand"), 2).printsLetterhead());
    QVERIFY(!fileText(file).contains("[Versand_3]"));
    QVERIFY(file.deleteStep(QStringLiteral("Versand"), 1));
    const QString oneStep = fileText(file);
    QVERIFY(!file.deleteStep(QStringLiteral("Versand"), 1)); // the last step stays
    QCOMPARE(fileText(file), oneStep);

    // Deleting the first of three jobs renumbers the others and erases its sections.
    for (const char *job : {"Kunde", "Archiv"}) {
        file.createJob(QLatin1String(job));
        file.writeStep(QLatin1String(job), file.addStep(QLatin1String(job)), step(QLatin1String(job), "1"));
    }
    QVERIFY(!file.deleteJob(QStringLiteral("Unbekannt")));
    QVERIFY(file.deleteJob(QStringLiteral("Versand")));
    QCOMPARE(file.jobNames(), (QStringList{QStringLiteral("Kunde"), QStringLiteral("Archiv")}));
    QVERIFY(fileText(file).startsWith("[general]\ncount=2\n1=Kunde\n2=Archiv\n\n"));
    QVERIFY(!fileText(file).contains(QStringLiteral("Versand")));

    // The generic write: a number, a key deleted, a section erased.
    file.write(QStringLiteral("Archiv"), QStringLiteral("count"), QString(), 7);
    QCOMPARE(file.stepCount(QStringLiteral("Archiv")), 7);
    file.write(QStringLiteral("Kunde_1"), QString(), QString(), PrintJobFile::EraseSection);
    file.write(QStringLiteral("general"), QStringLiteral("2"), QString(), PrintJobFile::DeleteKey);
    QCOMPARE(file.jobNames(), (QStringList{QStringLiteral("Kunde"), QString()}));
    QCOMPARE(file.step(QStringLiteral("Kunde"), 1), PrintJobStep());
}

void TestPrintJobFile::readsDefaults_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("jobs");
    QTest::addColumn<int>("steps"); // of the first job; step 1's printer, copies, letterhead, bitmap:
    QTest::addColumn<QString>("printer");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("letterhead");
    QTest::addColumn<QString>("bitmap");
    QTest::newRow("no file") << QString() << QStringList() << 0 << "0" << 1 << false << "";
    QTest::newRow("job without sections") << "[general]\ncount=1\n1=V\n" << QStringList{"V"} << 0 << "0" << 1 << false << "";
    QTest::newRow("step with a printer only") << "[general]\ncount=1\n1=V\n[V]\ncount=1\n[V_1]\nprnName=Laser\n"
                                              << QStringList{"V"} << 1 << "Laser" << 1 << false << "";
    QTest::newRow("no colour: no letterhead despite a picture")
        << "[general]\ncount=1\n1=V\n[V]\ncount=1\n[V_1]\ncount=3\nbmpName=/k.png\n" << QStringList{"V"} << 1 << "0" << 3
        << false << "/k.png";
    QTest::newRow("colour N prints the letterhead, copies 0 count as 1")
        << "[general]\ncount=1\n1=V\n[V]\ncount=2\n[V_1]\ncount=0\nbmpColor=N\n" << QStringList{"V"} << 2 << "0" << 1
        << true << "";
    QTest::newRow("copies not a number") << "[general]\ncount=1\n1=V\n[V]\ncount=1\n[V_1]\ncount=zwei\n"
                                         << QStringList{"V"} << 1 << "0" << 1 << false << "";
    QTest::newRow("other case and CRLF, written elsewhere")
        << "[GENERAL]\r\nCount=2\r\n1=Kunde\r\n2=Archiv\r\n[kunde]\r\nCOUNT=1\r\n[Kunde_1]\r\nPrnName=HP\r\nCount=2\r\n"
        << QStringList{"Kunde", "Archiv"} << 1 << "HP" << 2 << false << "";
}

void TestPrintJobFile::readsDefaults()
{
    QFETCH(QString, file);
    QFETCH(QStringList, jobs);
    QTemporaryDir dir;
    PrintJobFile f(dir.path());
    QFile out(f.path());
    if (!file.isNull() && out.open(QIODevice::WriteOnly))
        out.write(file.toUtf8());
    out.close();
    QCOMPARE(f.jobNames(), jobs);
    const QString job = jobs.value(0, QStringLiteral("V"));
    QTEST(f.stepCount(job), "steps");
    const PrintJobStep s = f.step(job, 1);
    QTEST(s.prnName, "printer");
    QTEST(s.copies(), "copies");
    QTEST(s.printsLetterhead(), "letterhead");
    QTEST(s.bmpName, "bitmap");
    QCOMPARE(s.bin, QStringLiteral("0"));
}

void TestPrintJobFile::refusesNamesThatWouldBreakTheFile_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"", "  ", "General", "Kunde]", "Ku\nnde", "versand" /* other case */,
                             "Versand_2" /* a step section */, "Post" /* its steps would be job Post_1 */})
        QTest::newRow(name) << QString::fromUtf8(name);
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

QTEST_GUILESS_MAIN(TestPrintJobFile)
#include "tst_printjobfile.moc"
