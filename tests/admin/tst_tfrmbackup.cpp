#include "BackupFixtures.h"
#include "DataSetCopier.h"
#include "IniFile.h"
#include "PasswordHash.h"
#include "RestoreUsers.h"
#include "Settings.h"
#include "TfrmBackup.h"
#include "TfrmRestore.h"
#include "WindowHub.h"

#include <QAction>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QToolButton>
#include <QFileInfo>
#include <QtTest>

#include <atomic>

using BackupRules::Kind;

namespace {

struct Windows : WindowHub
{
    bool allowClose = true;
    bool closeDataWindows() override { return allowClose; }
};

QColor statusColour(const QLineEdit *status)
{
    return status->palette().color(QPalette::Text);
}

// Holds the worker at the first checkpoint of a step until released, or for two
// seconds at most (a window that waits for its worker must not wait forever).
struct Gate
{
    std::atomic<bool> hold{false};
    std::atomic<bool> reached{false};
    BackupProgress::Hook hook(int atStep)
    {
        return [this, atStep](int step, qint64) {
            if (step != atStep || !hold || reached)
                return;
            reached = true;
            QElapsedTimer held;
            held.start();
            while (hold && held.elapsed() < 2000)
                QThread::msleep(2);
        };
    }
};

QString today(const char *letter, int serial)
{
    return QLatin1String(letter) + QDate::currentDate().toString("yyMMdd") + QString::number(serial);
}

} // namespace

class TestTfrmBackup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void modesAndTheirFolders();
    void cancelAndCloseWhileRunning();
    void restoreThroughTheWindow();
    void restoreKeepsTheLogInProtected();
};

void TestTfrmBackup::modesAndTheirFolders()
{
    TestEnv env;
    env.state().grantAll();
    AddArchiveInvoice(env, 1, QDate::currentDate().toString("dd.MM.yyyy"), 2);
    AddArchiveInvoice(env, 2, "01.01.1999", 1);
    const QString full = env.path("voll");
    QDir().mkpath(full);
    IniFile ini(env.path("Orbel.ini"));
    ini.writeString("Backup", "PathGesamt", full);
    ini.writeString("Backup", "PathRechnung", env.path("weg"));
    TfrmBackup w(env.state());
    w.selectMode(Kind::Full);
    w.show();
    QCOMPARE(w.windowTitle(), "Orvella-Suite Datensicherung gesamter Datenbestand");
    QVERIFY(w.btnGesamt->isChecked() && !w.btnRechnungen->isChecked() && w.grpZeitraum->isHidden());
    QCOMPARE(w.edtPath->text(), full);
    QVERIFY(w.btnDatensicherung->isEnabled() && !w.btnOK->isEnabled() && !w.btnAbbrechen->isEnabled());

    // the archive remembers a folder that no longer exists
    QTest::mouseClick(w.btnRechnungen, Qt::LeftButton);
    QCOMPARE(w.windowTitle(), "Orvella-Suite Datensicherung Rechnungen und Gutschriften");
    QVERIFY(w.btnRechnungen->isChecked() && !w.btnGesamt->isChecked() && !w.grpZeitraum->isHidden());
    QCOMPARE(w.edtPath->text(), env.path("weg"));
    QVERIFY(!w.btnDatensicherung->isEnabled());

    // a user who may read invoices and open items but not the contacts' bank data
    // is offered the archive, not the full backup
    env.state().Perm[3] = env.state().Perm[14] = false;
    w.selectMode(Kind::Full);
    QVERIFY(w.btnRechnungen->isChecked() && !w.btnGesamt->isEnabled());
    env.state().grantAll();
    w.selectMode(Kind::InvoiceArchive);

    // "Durchsuchen…" takes the folder and remembers it for this mode only
    const QString chosen = env.path("archiv");
    QDir().mkpath(chosen);
    env.dialogs().answerFile(chosen);
    QTest::mouseClick(w.btnBrowse, Qt::LeftButton);
    QCOMPARE(w.edtPath->text(), chosen);
    QCOMPARE(ini.readString("Backup", "PathRechnung"), chosen);
    QCOMPARE(ini.readString("Backup", "PathGesamt"), full);

    // the period of the fields reaches the archive; a reversed one is refused first
    const int year = QDate::currentDate().year();
    w.dtVon->setDate(QDate(year, 12, 31));
    w.dtBis->setDate(QDate(year, 1, 1));
    QTest::mouseClick(w.btnDatensicherung, Qt::LeftButton);
    QVERIFY(!w.isRunning());
    QCOMPARE(env.dialogs().messages().size(), 1);
    w.dtVon->setDate(QDate(year, 1, 1));
    w.dtBis->setDate(QDate(year, 12, 31));
    QTest::mouseClick(w.btnDatensicherung, Qt::LeftButton);
    QTRY_VERIFY(!w.isRunning());
    QCOMPARE(w.lastFolder(), chosen + "/" + today("R", 1));
    QCOMPARE(FileColumn(w.lastFolder() + "/rechnungsarchiv.db", "SELECT BelegNr FROM rechnungen"), QStringList({"1"}));

    // a settings file that cannot be written
    QVERIFY(QFile::remove(env.path("Orbel.ini")));
    QDir().mkpath(env.path("Orbel.ini"));
    env.dialogs().answerFile(full);
    QTest::mouseClick(w.btnBrowse, Qt::LeftButton);
    QCOMPARE(env.dialogs().messages().last(), "Fehler beim speichern des Backupphates");
    QCOMPARE(w.edtPath->text(), full);
}

void TestTfrmBackup::cancelAndCloseWhileRunning()
{
    TestEnv env;
    env.state().grantAll();
    AddArchiveInvoice(env, 1, "01.03.2004", 2);
    const QString target = env.path("ziel");
    QDir().mkpath(target);
    IniFile(env.path("Orbel.ini")).writeString("Backup", "PathGesamt", target);
    TfrmBackup w(env.state());
    Gate gate;
    w.setCheckpointHook(gate.hook(3));
    w.selectMode(Kind::Full);
    w.show();

    // "Nein" lets the backup go on where it was
    gate.hold = true;
    QTest::mouseClick(w.btnDatensicherung, Qt::LeftButton);
    QTRY_VERIFY(gate.reached);
    // while it runs only cancelling is offered
    for (QWidget *off : std::initializer_list<QWidget *>{w.btnGesamt, w.btnRechnungen, w.btnBrowse, w.btnOK,
                                                         w.btnDatensicherung})
        QVERIFY2(!off->isEnabled(), qPrintable(off->objectName()));
    env.dialogs().answer(Dialogs::Answer::No);
    QTest::mouseClick(w.btnAbbrechen, Qt::LeftButton);
    QCOMPARE(env.dialogs().questions(), QStringList({"Datensicherung nicht vollständig! Wollen Sie wirklich abbrechen?"}));
    QVERIFY(w.isRunning());
    gate.hold = false;
    QTRY_VERIFY(!w.isRunning());
    QCOMPARE(w.edtStatus->text(), "Datensicherung im Verzeichnis: \"" + target + "/" + today("G", 1) + "\".");
    QCOMPARE(statusColour(w.edtStatus), QColor(0, 128, 0));
    QVERIFY(w.btnOK->isEnabled() && w.btnDatensicherung->isEnabled() && !w.btnAbbrechen->isEnabled());
    QCOMPARE(w.pbGesamt->value(), w.pbGesamt->maximum());

    // "Ja" stops it: red status, the message, empty bars and no folder
    gate.reached = false;
    gate.hold = true;
    QTest::mouseClick(w.btnDatensicherung, Qt::LeftButton);
    QTRY_VERIFY(gate.reached);
    env.dialogs().answer(Dialogs::Answer::Yes);
    QTest::mouseClick(w.btnAbbrechen, Qt::LeftButton);
    gate.hold = false;
    QTRY_VERIFY(!w.isRunning());
    QCOMPARE(w.edtStatus->text(), "Datensicherung abgebrochen!");
    QCOMPARE(statusColour(w.edtStatus), QColor(Qt::red));
    QCOMPARE(env.dialogs().messages(), QStringList({"Datenischerung wurde abgebrochen!"}));
    QCOMPARE(w.pbGesamt->value(), 0);
    QCOMPARE(w.pbDatensatz->value(), 0);
    QVERIFY(w.btnDatensicherung->isEnabled() && w.btnBrowse->isEnabled() && !w.btnAbbrechen->isEnabled());
    QCOMPARE(Entries(target), QStringList({today("G", 1)}));

    // closing asks; anything but "Ja" keeps the window and the backup
    gate.reached = false;
    gate.hold = true;
    QTest::mouseClick(w.btnDatensicherung, Qt::LeftButton);
    QTRY_VERIFY(gate.reached);
    env.dialogs().answer(Dialogs::Answer::Cancel);
    w.reject();
    QVERIFY(w.isVisible() && w.isRunning());
    env.dialogs().answer(Dialogs::Answer::Yes);
    w.reject();
    gate.hold = false;
    QVERIFY(!w.isVisible() && !w.isRunning());
    QCOMPARE(env.dialogs().questions().mid(2),
             QStringList(2, "Datensicherung noch nicht vollständig! Vorgang wirklich abbrechen?"));
    QCOMPARE(Entries(target), QStringList({today("G", 1)}));
}

void TestTfrmBackup::restoreThroughTheWindow()
{
    TestEnv env;
    env.state().grantAll();
    AddArchiveInvoice(env, 1, "01.03.2004", 2);
    const QStringList saved = DumpDataSet(env.db());
    const QString target = env.path("ziel");
    QDir().mkpath(target);
    auto copier = MakeDataSetCopier(env.db());
    BackupContext context;
    context.exeDir = env.home();
    BackupProgress first, second;
    const QString good = RunFullBackup(context, *copier, target, first);
    const QString damaged = RunFullBackup(context, *copier, target, second);
    const QString damagedCopy = damaged + "/" + copier->copyFileName();
    QVERIFY(QFile::resize(damagedCopy, QFileInfo(damagedCopy).size() / 2));
    AddArchiveInvoice(env, 2, "02.03.2004", 3);
    const QStringList changed = DumpDataSet(env.db());
    Windows windows;
    env.state().hub = &windows;
    TfrmRestore w(env.state());
    w.show();
    QVERIFY(!w.btnZurueckspielen->isEnabled());

    w.chooseFolder(damaged);
    QTRY_VERIFY(!w.isRunning());
    QCOMPARE(env.dialogs().messages().size(), 1);
    QVERIFY2(env.dialogs().messages().first().contains("beschädigt"), qPrintable(env.dialogs().messages().first()));
    QCOMPARE(statusColour(w.edtStatus), QColor(Qt::red));
    QVERIFY(!w.btnZurueckspielen->isEnabled() && w.txtInhalt->toPlainText().isEmpty());

    env.dialogs().clear();
    env.dialogs().answerFile(good);
    QTest::mouseClick(w.btnBrowse, Qt::LeftButton);
    QTRY_VERIFY(!w.isRunning());
    QVERIFY2(w.txtInhalt->toPlainText().contains("Rechnungen: 1 (jetzt 2)"), qPrintable(w.txtInhalt->toPlainText()));
    QCOMPARE(statusColour(w.edtStatus), QColor(0, 128, 0));
    QVERIFY(w.btnZurueckspielen->isEnabled());

    // "Nein", and a window that keeps unsaved data, leave the data set as it is
    env.dialogs().answer(Dialogs::Answer::No);
    QTest::mouseClick(w.btnZurueckspielen, Qt::LeftButton);
    windows.allowClose = false;
    env.dialogs().answer(Dialogs::Answer::Yes);
    QTest::mouseClick(w.btnZurueckspielen, Qt::LeftButton);
    QVERIFY(!w.isRunning());
    QCOMPARE(env.dialogs().messages().size(), 1);
    QVERIFY(env.dialogs().messages().first().contains("ungesicherte Daten"));
    QCOMPARE(DumpDataSet(env.db()), changed);

    windows.allowClose = true;
    env.dialogs().answer(Dialogs::Answer::Yes);
    QTest::mouseClick(w.btnZurueckspielen, Qt::LeftButton);
    QTRY_VERIFY(!w.isRunning());
    QVERIFY(w.restored());
    QCOMPARE(env.dialogs().questions().size(), 3);
    QVERIFY(env.dialogs().questions().first().contains("Wollen Sie diese Datensicherung wirklich zurückspielen?"));
    QCOMPARE(env.dialogs().messages().size(), 2);
    QVERIFY2(env.dialogs().messages().last().contains(env.dataDir() + "/" + copier->copyFileName() + ".vor-Wiederherstellung-"),
             qPrintable(env.dialogs().messages().last()));
    QCOMPARE(DumpDataSet(env.db()), saved);
    QVERIFY(!w.btnZurueckspielen->isEnabled());
}

// A backup made before the log-in was set up holds no user with a password: with
// the log-in on, restoring it keeps the users and rights of now.
void TestTfrmBackup::restoreKeepsTheLogInProtected()
{
    TestEnv env;
    env.state().grantAll();
    AddArchiveInvoice(env, 1, "01.03.2004", 2);
    env.exec("DELETE FROM usr");
    env.exec("DELETE FROM permission");
    const QString target = env.path("ziel");
    QDir().mkpath(target);
    auto copier = MakeDataSetCopier(env.db());
    BackupContext context;
    context.exeDir = env.home();
    BackupProgress progress;
    const QString userless = RunFullBackup(context, *copier, target, progress);
    const QString hash = PasswordHash::make("geheim");
    env.exec("INSERT INTO usr (IDU, Name, Pass, Besch) VALUES (1, 'Chefin', '" + hash + "', 'alles')");
    for (int p = 1; p <= 16; ++p)
        env.exec(QStringLiteral("INSERT INTO permission (IDU, IDP, Perm) VALUES (1, %1, 'J')").arg(p));
    QVERIFY(WriteIfLogin(true));

    Windows windows;
    env.state().hub = &windows;
    TfrmRestore w(env.state());
    w.show();
    w.chooseFolder(userless);
    QTRY_VERIFY(!w.isRunning());
    // asked, and "Abbrechen" restores nothing
    env.dialogs().answer(Dialogs::Answer::Yes);
    env.dialogs().answer(Dialogs::Answer::Cancel);
    QTest::mouseClick(w.btnZurueckspielen, Qt::LeftButton);
    QCOMPARE(env.dialogs().questions().last(), RestoreUsers::question());
    QVERIFY(!w.isRunning() && !w.restored());
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungen"), "1");
    env.exec("DELETE FROM rechnungen");
    // "Ja": the backup's data with the users and rights of now
    env.dialogs().answer(Dialogs::Answer::Yes);
    env.dialogs().answer(Dialogs::Answer::Yes);
    QTest::mouseClick(w.btnZurueckspielen, Qt::LeftButton);
    QTRY_VERIFY(!w.isRunning());
    QVERIFY2(w.restored(), qPrintable(env.dialogs().messages().join('\n')));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungen"), "1");
    QCOMPARE(env.column("SELECT Name || '/' || Pass FROM usr"), QStringList{"Chefin/" + hash});
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM permission WHERE IDU=1 AND Perm='J'"), "16");
    // a backup that has such a user is restored as it is, without the question
    env.dialogs().clear();
    const QString guarded = RunFullBackup(context, *copier, target, progress);
    w.chooseFolder(guarded);
    QTRY_VERIFY(!w.isRunning());
    env.dialogs().answer(Dialogs::Answer::Yes);
    QTest::mouseClick(w.btnZurueckspielen, Qt::LeftButton);
    QTRY_VERIFY(!w.isRunning());
    QCOMPARE(env.dialogs().questions().size(), 1);
}

QTEST_MAIN(TestTfrmBackup)
#include "tst_tfrmbackup.moc"
