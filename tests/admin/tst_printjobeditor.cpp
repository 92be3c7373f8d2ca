#include "FindControl.h"
#include "IniFile.h"
#include "OptionsFixtures.h"
#include "PrintJobEditor.h"
#include "PrintJobFile.h"
#include "TfrmFirmenkopf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

using TestControls::find;

// The group "Spezial Druckjob" and the letterhead window: every change reaches
// DruckJob.ini at once.
class TestPrintJobEditor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newJobs();
    void stepsAndCopies();
    void missingPrinterAndLetterhead();
};

namespace {

struct Editor
{
    explicit Editor(TestEnv &env) : editor(env.state()), file(env.home())
    {
        editor.setPrintSystem(&printers);
        editor.load();
    }
    FakePrinters printers;
    PrintJobEditor editor;
    PrintJobFile file;

    QStringList listed(const char *combo)
    {
        auto *c = find<QComboBox>(&editor, combo);
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    }
    void choose(const char *combo, int index)
    {
        auto *c = find<QComboBox>(&editor, combo);
        c->setCurrentIndex(index);
        Q_EMIT c->activated(index);
    }
};

// The stored values of a step, as "printer/position/copies/letterhead flag/picture".
QString stepText(const PrintJobFile &file, const QString &job, int k)
{
    const PrintJobStep s = file.step(job, k);
    return QStringList({s.prnName, s.prn, s.count, s.bmpColor, s.bmpName}).join('/');
}

} // namespace

void TestPrintJobEditor::newJobs()
{
    TestEnv env;
    Editor e(env);
    QVERIFY(!find<QComboBox>(&e.editor, "cbJobName")->isEnabled());
    QVERIFY(!find<QPushButton>(&e.editor, "btnStepNeu")->isEnabled());
    QCOMPARE(find<QComboBox>(&e.editor, "cbDrucker")->currentText(), "Tinte"); // the default printer

    env.dialogs().answerInput(QStringLiteral("Versand"));
    find<QPushButton>(&e.editor, "btnJobNeu")->click();
    QCOMPARE(env.dialogs().texts(ScriptedDialogs::Kind::Input), QStringList{"Bitte geben Sie einen neuen Namen ein!"});
    // A new job on an empty file: one step on the printer shown, one copy, letterhead flag J.
    QCOMPARE(e.file.jobNames(), QStringList{"Versand"});
    QCOMPARE(e.file.stepCount("Versand"), 1);
    QCOMPARE(stepText(e.file, "Versand", 1), "Tinte/1/1/J/");
    QCOMPARE(e.listed("cbStep"), QStringList{"1"});
    QVERIFY(find<QPushButton>(&e.editor, "btnStepLoeschen")->isEnabled());

    // The newest job comes first; an empty answer and a name in use create nothing.
    env.dialogs().answerInput(QStringLiteral(" Lager "));
    find<QPushButton>(&e.editor, "btnJobNeu")->click();
    env.dialogs().answerInput(QString());
    find<QPushButton>(&e.editor, "btnJobNeu")->click();
    env.dialogs().answerInput(QStringLiteral("versand"));
    find<QPushButton>(&e.editor, "btnJobNeu")->click();
    QCOMPARE(e.file.jobNames(), QStringList({"Versand", "Lager"}));
    QCOMPARE(e.listed("cbJobName"), QStringList({"Lager", "Versand"}));
    QCOMPARE(env.dialogs().messages(),
             QStringList{"Der Name „versand“ ist schon vergeben. Bitte wählen Sie einen anderen Namen."});

    // Deleting asks; Cancel keeps the job.
    e.choose("cbJobName", 1);
    env.dialogs().answer(Dialogs::Answer::Cancel);
    find<QPushButton>(&e.editor, "btnJobLoeschen")->click();
    env.dialogs().answer(Dialogs::Answer::Yes);
    find<QPushButton>(&e.editor, "btnJobLoeschen")->click();
    QCOMPARE(env.dialogs().questions(), QStringList(2, "DruckJob Versand löschen ?"));
    QCOMPARE(env.dialogs().questionButtons(), QStringList(2, "Ja/Abbrechen"));
    QCOMPARE(e.file.jobNames(), QStringList{"Lager"});
    QVERIFY(!IniFile(e.file.path()).sectionExists("Versand_1"));
    QCOMPARE(e.listed("cbJobName"), QStringList{"Lager"});
}

void TestPrintJobEditor::stepsAndCopies()
{
    TestEnv env;
    Editor e(env);
    env.dialogs().answerInput(QStringLiteral("Rechnung"));
    find<QPushButton>(&e.editor, "btnJobNeu")->click();
    auto *copies = find<QSpinBox>(&e.editor, "spnExemplare");
    auto *newStep = find<QPushButton>(&e.editor, "btnStepNeu");
    auto *deleteStep = find<QPushButton>(&e.editor, "btnStepLoeschen");

    // Three copies typed for step 1 stay when step 2 is added and shown.
    copies->setValue(3);
    newStep->click();
    QCOMPARE(e.listed("cbStep"), QStringList({"1", "2"}));
    QCOMPARE(copies->value(), 1);
    e.choose("cbDrucker", 0);
    newStep->click();
    copies->setValue(2);
    QCOMPARE(stepText(e.file, "Rechnung", 1), "Tinte/1/3/J/");
    QCOMPARE(stepText(e.file, "Rechnung", 2), "Laser Büro/0/1/J/");
    QCOMPARE(stepText(e.file, "Rechnung", 3), "Laser Büro/0/2/J/");
    e.choose("cbStep", 0);
    QCOMPARE(copies->value(), 3);
    QCOMPARE(find<QComboBox>(&e.editor, "cbDrucker")->currentText(), "Tinte");

    // Deleting step 2 of 3 moves step 3 up.
    e.choose("cbStep", 1);
    deleteStep->click();
    QCOMPARE(e.file.stepCount("Rechnung"), 2);
    QCOMPARE(stepText(e.file, "Rechnung", 2), "Laser Büro/0/2/J/");
    QCOMPARE(e.listed("cbStep"), QStringList({"1", "2"}));
    deleteStep->click(); // step 1 is shown again
    QCOMPARE(stepText(e.file, "Rechnung", 1), "Laser Büro/0/2/J/");
    deleteStep->click();
    QCOMPARE(env.dialogs().messages(), QStringList{"Unterjobs geringste Anzahl 1! Löschen abgebrochen!"});
    QCOMPARE(e.file.stepCount("Rechnung"), 1);
    // A copies field left empty gives one copy.
    copies->findChild<QLineEdit *>()->clear();
    QTest::keyClick(copies, Qt::Key_Return);
    QCOMPARE(copies->value(), 1);
    QCOMPARE(e.file.step("Rechnung", 1).count, "1");
}

void TestPrintJobEditor::missingPrinterAndLetterhead()
{
    TestEnv env;
    const QString picture = env.path("kopf.png");
    const QString other = env.path("kopf2.png");
    QImage image(200, 40, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QVERIFY(image.save(picture) && image.save(other));
    PrintJobFile file(env.home());
    file.createJob("Brief");
    file.addStep("Brief");
    file.writeStep("Brief", 1, {"0", "4", "Alt", "0", "0", "J", picture});
    file.createJob("Kopie");
    file.addStep("Kopie");
    file.writeStep("Kopie", 1, {"2", "0", "Tinte", "0", "0", "N", env.path("weg.bmp")});

    Editor e(env);
    // The newest job: its picture file is gone.
    QCOMPARE(env.dialogs().messages(), QStringList{"Imag nicht gefunden!"});
    auto *print = find<QCheckBox>(&e.editor, "chkFirmenkopf");
    QVERIFY(print->isChecked());

    // A printer no longer installed shows as none and stays stored until another is chosen.
    e.choose("cbJobName", 1);
    auto *printer = find<QComboBox>(&e.editor, "cbDrucker");
    QCOMPARE(printer->currentIndex(), -1);
    QCOMPARE(printer->placeholderText(), "„Alt“ nicht installiert");
    QCOMPARE(stepText(file, "Brief", 1), "Alt/4/1/J/" + picture);
    QVERIFY(e.editor.letterhead->hasPicture());
    QVERIFY(find<QPushButton>(&e.editor, "btnFirmenkopf")->isEnabled());

    // Unticking asks; No keeps the letterhead, Yes removes it.
    env.dialogs().clear();
    env.dialogs().answer(Dialogs::Answer::No);
    print->click();
    QVERIFY(print->isChecked());
    QCOMPARE(file.step("Brief", 1).bmpName, picture);
    env.dialogs().answer(Dialogs::Answer::Yes);
    print->click();
    QCOMPARE(env.dialogs().questionButtons(), QStringList(2, "Ja/Nein/Abbrechen"));
    QCOMPARE(env.dialogs().questions().first(), "Firmenkopf löschen?");
    QVERIFY(!print->isChecked() && !find<QPushButton>(&e.editor, "btnFirmenkopf")->isEnabled());
    QCOMPARE(file.step("Brief", 1).bmpName, QString());

    // The letterhead window: a picture loaded is written at once; "Abbrechen" goes
    // back to the file the window was opened with.
    print->click();
    TfrmFirmenkopf *window = e.editor.letterhead;
    QString whileOpen;
    QTimer::singleShot(0, [&] {
        env.dialogs().answerFile(picture);
        window->cmdLoad();
        window->btnBildOK->click();
    });
    find<QPushButton>(&e.editor, "btnFirmenkopf")->click();
    QVERIFY(print->isChecked());
    QCOMPARE(file.step("Brief", 1).bmpName, picture);
    QTimer::singleShot(0, [&] {
        env.dialogs().answerFile(other);
        window->cmdLoad();
        whileOpen = file.step("Brief", 1).bmpName;
        window->cmdCancel();
    });
    find<QPushButton>(&e.editor, "btnFirmenkopf")->click();
    QCOMPARE(whileOpen, other);
    QCOMPARE(file.step("Brief", 1).bmpName, picture);
    // the remembered file gone: "Abbrechen" says so and keeps it as the letterhead
    QVERIFY(QFile::remove(picture));
    QTimer::singleShot(0, [&] { window->btnBildAbbrechen->click(); });
    find<QPushButton>(&e.editor, "btnFirmenkopf")->click();
    QCOMPARE(env.dialogs().messages().last(), "Image nicht gefunden!");
    QCOMPARE(file.step("Brief", 1).bmpName, picture);
    QVERIFY(print->isChecked());
    QTimer::singleShot(0, [&] {
        window->cmdRemove();
        window->btnBildOK->click();
    });
    find<QPushButton>(&e.editor, "btnFirmenkopf")->click();
    QCOMPARE(file.step("Brief", 1).bmpName, QString());
    QVERIFY(!print->isChecked() && !find<QPushButton>(&e.editor, "btnFirmenkopf")->isEnabled());
    QVERIFY(env.dialogs().allAnswersUsed());
}

QTEST_MAIN(TestPrintJobEditor)
#include "tst_printjobeditor.moc"
