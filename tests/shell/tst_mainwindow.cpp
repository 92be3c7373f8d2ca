#include "AboutDialog.h"
#include "Icons.h"
#include "ContactListStore.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "TForm1.h"
#include "TestEnv.h"
#include "WindowHub.h"
#include "QtDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

// Pretends every window exists and counts what the main window opens.
class CountingHub : public WindowHub
{
public:
    bool has(Window) const override { return true; }
    void showOpenItems() override { ++openItems; }
    void showCalendar() override { opened << QStringLiteral("calendar"); }
    void showGame() override { opened << QStringLiteral("game"); }
    void showDataMaintenance() override { opened << QStringLiteral("maintenance"); }
    void showOptions(int tab) override { opened << QStringLiteral("options %1").arg(tab); }
    void editContact(qint64 id, bool company, bool editable) override
    {
        edited << QStringLiteral("%1/%2/%3").arg(id).arg(company).arg(editable);
    }
    int openItems = 0;
    QStringList edited;
    QStringList opened;
};

void activate(QWidget &w)
{
    QEvent e(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &e);
}

QStringList enabledControls(TForm1 &w)
{
    QStringList out;
    for (QAction *a : w.findChildren<QAction *>())
        if (!a->objectName().isEmpty() && a->isEnabled() && a->isVisible())
            out << a->objectName();
    for (QToolButton *b : w.findChildren<QToolButton *>())
        if (b->objectName().startsWith("ql") && b->isEnabled())
            out << b->objectName();
    out.sort();
    return out;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsWithDefaults();
    void registryRestoreStopsAtMissingValue();
    void settingsRoundTrip();
    void openItemsArgument_data();
    void openItemsArgument();
    void closeQuestion();
    void qtsOwnDialogsSpeakGerman();
    void permissions_data();
    void permissions();
    void unavailableWindowsStayDisabled();
    void calendarAndHiddenCommands_data();
    void calendarAndHiddenCommands();
    void clockText_data();
    void clockText();
    void columnWidthsFollowTheList();
    void secondInstanceEndsSilently();
    void secondStartRaisesTheFirst();
    void programIcon();
};

void TestMainWindow::startsWithDefaults()
{
    TestEnv env;
    TForm1 w(env.state());
    QCOMPARE(w.windowTitle(), QStringLiteral("Orvella Hauptformular"));
    QCOMPARE(w.minimumSize(), QSize(750, 550));
    // fresh profile: at 10/10 with the search band shown and checked
    QCOMPARE(w.pos(), QPoint(10, 10));
    QVERIFY(w.actShowSearch->isChecked());
    QVERIFY(!w.searchBand->isHidden());
    QVERIFY(w.blockedBand->isHidden());
    QVERIFY(w.rbFirmen->isChecked());
    QCOMPARE(w.contactModel().headerData(1, Qt::Horizontal).toString(), QStringLiteral("Branche"));
    QCOMPARE(w.tabSearch->count(), 7);
    QCOMPARE(w.tabSearch->tabText(3), QStringLiteral("Kundennummer"));
    QVERIFY(!w.actEditEntry->isEnabled());
    QVERIFY(!w.tbDetail->isEnabled());
    // the program folder is remembered, and the size grade gives the print offset
    QCOMPARE(UserSettings().readString("Pfad"), std::optional<QString>(env.home()));
    QCOMPARE(env.state().PrintSizeOffset, 0);
    WriteSizeGrade(env.home(), 8);
    w.ApplySizeGrade();
    QCOMPARE(env.state().PrintSizeOffset, 120);
    // a new data set says how to start; once there is a contact the hint goes, also
    // when a search finds nothing
    w.LoadContactList();
    QVERIFY(!w.lblEmptyList->isHidden());
    QCOMPARE(w.lblEmptyList->text(), QStringLiteral("Noch keine Kontakte – „Neu“ legt den ersten an."));
    env.exec("INSERT INTO name (IDN, VName, NName, St) VALUES (1, 'Eva', 'Muster', '1')");
    w.LoadContactList();
    QVERIFY(w.lblEmptyList->isHidden());
    // the band asks for the company data first and leads to them; it goes once they are there
    QVERIFY(!w.bandFirmendaten->isHidden());
    CountingHub hub;
    env.state().hub = &hub;
    w.btnFirmendaten->click();
    QCOMPARE(hub.opened, QStringList{"options 3"});
    WriteOwnCompany(env.home(), "Halvard GmbH", "Hafenstraße 1", "20457", "Hamburg");
    w.updateStartBand();
    QVERIFY(w.bandFirmendaten->isHidden());
    env.state().hub = nullptr;
}

void TestMainWindow::registryRestoreStopsAtMissingValue()
{
    TestEnv env;
    {
        UserSettings s;
        s.writeInt("Left", 200);
        s.writeInt("Top", 150);
        s.writeInt("Width", 900);
        s.writeInt("Height", 700);
        s.writeInt("TabControl1TabIndex", 2);
        s.writeInt("TabControl1Left", 0);
        // TabControl1Top is missing: everything after it keeps its default
        s.writeBool("CheckBox1Checked", true);
        s.writeBool("RadioButton1Checked", false);
        s.writeBool("RadioButton2Checked", true);
        s.writeBool("TabControl1Visible", false);
        s.writeBool("Panel4Visible", true);
        s.sync();
    }
    TForm1 w(env.state());
    QCOMPARE(w.size(), QSize(900, 700));
    QCOMPARE(w.tabSearch->currentIndex(), 2);
    QCOMPARE(w.pos(), QPoint(10, 10));
    QVERIFY(!w.chkGesperrt->isChecked());
    QVERIFY(w.rbFirmen->isChecked());
    QVERIFY(w.actShowSearch->isChecked());
    QVERIFY(!w.actShowBlocked->isChecked());
    QVERIFY(w.blockedBand->isHidden());
}

void TestMainWindow::settingsRoundTrip()
{
    TestEnv env;
    {
        TForm1 w(env.state());
        w.setAskOnClose(false);
        w.move(120, 90);
        w.resize(1000, 640);
        w.rbPersonen->setChecked(true);
        w.chkGesperrt->setChecked(true);
        w.actShowBlocked->setChecked(true);
        w.actShowSearch->setChecked(false);
        w.tabSearch->setCurrentIndex(4);
        w.show();
        QVERIFY(w.close());
    }
    TForm1 again(env.state());
    QCOMPARE(again.pos(), QPoint(120, 90));
    QCOMPARE(again.size(), QSize(1000, 640));
    QVERIFY(again.rbPersonen->isChecked());
    QVERIFY(again.chkGesperrt->isChecked());
    QVERIFY(again.actShowBlocked->isChecked());
    QVERIFY(!again.actShowSearch->isChecked());
    QCOMPARE(again.tabSearch->currentIndex(), 4);
    QCOMPARE(UserSettings().readBool("Panel5Visible"), std::optional<bool>(true));
}

void TestMainWindow::openItemsArgument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("opened");
    QTest::addColumn<bool>("openItemsPermitted");
    QTest::newRow("/OP") << QStringList{"orvella", "/OP"} << 1 << true;
    QTest::newRow("/OP without the open items' permission") << QStringList{"orvella", "/OP"} << 0 << false;
    QTest::newRow("/op") << QStringList{"orvella", "/op"} << 0 << true;
    QTest::newRow("second argument") << QStringList{"orvella", "x", "/OP"} << 0 << true;
    QTest::newRow("none") << QStringList{"orvella"} << 0 << true;
}

void TestMainWindow::openItemsArgument()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, opened);
    QFETCH(bool, openItemsPermitted);
    TestEnv env;
    CountingHub hub;
    env.state().hub = &hub;
    env.state().grantAll();
    env.state().Perm[15] = openItemsPermitted;
    TForm1 w(env.state());
    w.setArguments(arguments);
    activate(w);
    activate(w);
    activate(w);
    QCOMPARE(hub.openItems, opened);
}

void TestMainWindow::closeQuestion()
{
    TestEnv env;
    TForm1 w(env.state());
    w.show();
    env.dialogs().answer(Dialogs::Answer::No);
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(env.dialogs().questions(), QStringList({"Wollen Sie Orvella beenden?"}));
    QCOMPARE(UserSettings().readInt("Width"), std::nullopt); // nothing saved on No
    env.dialogs().answer(Dialogs::Answer::Yes);
    QVERIFY(w.close());
    QCOMPARE(UserSettings().readInt("Width"), std::optional<int>(w.width()));
}

void TestMainWindow::permissions_data()
{
    QTest::addColumn<int>("flag");
    QTest::addColumn<QStringList>("disabled");
    QTest::newRow("1") << 1 << QStringList{"actEditEntry", "popEditEntry", "qlEditEntry", "tbDetail"};
    QTest::newRow("2") << 2 << QStringList{"actEditEntry", "actNewEntry", "popEditEntry", "popNewEntry",
                                           "qlEditEntry", "qlNewEntry", "tbEditEntry", "tbNewEntry"};
    QTest::newRow("5") << 5 << QStringList{"actNewProject", "actOptions", "actSearchProject", "popNewProject",
                                           "popSearchProject", "qlNewProject", "qlSearchProject"};
    QTest::newRow("6") << 6 << QStringList{"actNewProject", "popNewProject", "qlNewProject"};
    QTest::newRow("7") << 7 << QStringList{"actDatevExport"};
    QTest::newRow("9") << 9 << QStringList{"actOptions"};
    QTest::newRow("14") << 14 << QStringList{"actRestore", "actUsers"};
    QTest::newRow("15") << 15 << QStringList{"actImportStatement", "actOpenItems", "actReceivedInvoices", "qlOpenItems"};
    QTest::newRow("3 guards nothing here") << 3 << QStringList{};
}

void TestMainWindow::permissions()
{
    QFETCH(int, flag);
    QFETCH(QStringList, disabled);
    TestEnv env;
    env.exec("INSERT INTO firma (IDF, Name, St) VALUES (4, 'Muster GmbH', '1')");
    env.exec("INSERT INTO adresse (IDA, Strasse) VALUES (1, 'Weg 1')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (1, 4, 'Hauptadresse', '1')");
    CountingHub hub;
    env.state().hub = &hub;
    env.state().grantAll();
    TForm1 w(env.state());
    w.updateAvailability();
    w.actUsers->setVisible(true);
    w.lstContacts->setCurrentIndex(w.contactModel().index(0, 0));
    w.UpdateSelection();
    const QStringList before = enabledControls(w);
    env.state().Perm[flag] = false;
    w.ApplyPermissions();
    QStringList gone;
    for (const QString &c : before)
        if (!enabledControls(w).contains(c))
            gone << c;
    QCOMPARE(gone, disabled);
    // granting again re-enables nothing
    env.state().Perm[flag] = true;
    w.ApplyPermissions();
    for (const QString &c : disabled)
        QVERIFY2(!enabledControls(w).contains(c), qPrintable(c));
}

void TestMainWindow::unavailableWindowsStayDisabled()
{
    TestEnv env;
    env.exec("INSERT INTO firma (IDF, Name, St) VALUES (4, 'Muster GmbH', '1')");
    env.exec("INSERT INTO adresse (IDA, Strasse) VALUES (1, 'Weg 1')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (1, 4, 'Hauptadresse', '1')");
    env.state().grantAll();
    TForm1 w(env.state()); // no windows exist
    w.updateAvailability();
    w.lstContacts->setCurrentIndex(w.contactModel().index(0, 0));
    w.UpdateSelection();
    QCOMPARE(env.state().SelectedID, qint64(4));
    for (QAction *a : {w.actEditEntry, w.actNewProject, w.actOptions, w.actOpenItems}) {
        QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        QCOMPARE(a->toolTip(), QStringLiteral("Noch nicht verfügbar"));
    }
    QVERIFY(!w.qlEditEntry->isEnabled());
    QCOMPARE(w.qlEditEntry->toolTip(), QStringLiteral("Noch nicht verfügbar"));
    QVERIFY(w.actAbout->isEnabled());
    QVERIFY(w.actCalculator->isEnabled());
    QCOMPARE(w.lblStatusAddress->text(), QStringLiteral("Hauptadresse Weg 1"));
}

void TestMainWindow::calendarAndHiddenCommands_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("opened");
    const int begriff = int(SearchTab::Begriff);
    QTest::newRow("quader on Begriff") << begriff << "Quader" << QStringList{"calendar", "calendar", "game"};
    QTest::newRow("QUADER on another tab") << int(SearchTab::Firmenname) << "QUADER"
                                           << QStringList{"calendar", "calendar"};
    QTest::newRow("access code") << begriff << "zimtsterne" << QStringList{"calendar", "calendar", "maintenance"};
    QTest::newRow("other text") << begriff << "Quader GmbH" << QStringList{"calendar", "calendar"};
}

void TestMainWindow::calendarAndHiddenCommands()
{
    QFETCH(int, tab);
    QFETCH(QString, text);
    QFETCH(QStringList, opened);
    TestEnv env;
    CountingHub hub;
    env.state().hub = &hub;
    env.state().grantAll();
    TForm1 w(env.state());
    w.updateAvailability();
    w.ApplyPermissions();
    // "Terminkalender" is offered in the list's pop-up menu and the quick-launch column.
    QVERIFY(w.popCalendar->isVisible() && w.popCalendar->isEnabled());
    QVERIFY(!w.qlCalendar->isHidden() && w.qlCalendar->isEnabled());
    w.popCalendar->trigger();
    QTest::mouseClick(w.qlCalendar, Qt::LeftButton);
    w.tabSearch->setCurrentIndex(tab);
    w.edtSearch->setText(text);
    QTest::mouseDClick(w.edtSearch, Qt::LeftButton);
    QCOMPARE(hub.opened, opened);
}

void TestMainWindow::clockText_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("Sonntag") << QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7)) << "Sonntag - 06.12.2026 - ";
    QTest::newRow("Montag") << QDateTime(QDate(2026, 12, 7), QTime(23, 59, 59)) << "Montag - 07.12.2026 - ";
    QTest::newRow("Mittwoch") << QDateTime(QDate(2026, 12, 9), QTime(0, 0, 0)) << "Mittwoch - 09.12.2026 - ";
    QTest::newRow("Samstag") << QDateTime(QDate(2027, 1, 2), QTime(12, 0, 0)) << "Samstag - 02.01.2027 - ";
}

void TestMainWindow::clockText()
{
    QFETCH(QDateTime, when);
    QFETCH(QString, prefix);
    const QString text = ClockText(when);
    QVERIFY2(text.startsWith(prefix), qPrintable(text));
    QVERIFY(text.endsWith(QString(7, ' ')));
    QVERIFY(!text.endsWith(QString(8, ' ')));
    const QString time = text.mid(prefix.size()).trimmed();
    QVERIFY2(time.contains(QString::number(when.time().second()).rightJustified(2, '0')), qPrintable(time));
}

void TestMainWindow::columnWidthsFollowTheList()
{
    TestEnv env;
    TForm1 w(env.state());
    w.resize(1200, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const int lw = w.lstContacts->width();
    QCOMPARE(w.lstContacts->columnWidth(0), lw / 4 + 50);
    QCOMPARE(w.lstContacts->columnWidth(2), lw / 4 - 100);
    QCOMPARE(w.lstContacts->columnWidth(4), 150);
    w.setAskOnClose(false);
}

void TestMainWindow::secondInstanceEndsSilently()
{
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", dir.filePath("run"));
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.insert("XDG_CONFIG_DIRS", dir.filePath("sysconfig"));
    env.insert("ORVELLA_HOME", dir.filePath("home"));
    QDir().mkpath(dir.filePath("run"));
    QFile::setPermissions(dir.filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(ORVELLA_BINARY, {});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath("run/orvella.lock")), 10000);

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(ORVELLA_BINARY, {});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(second.readAllStandardOutput(), QByteArray());
    QCOMPARE(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished();
    // after the first copy is gone, a new start runs again (stale lock taken over)
    QProcess third;
    third.setProcessEnvironment(env);
    env.insert("ORVELLA_EXIT_WHEN_SHOWN", "1");
    third.setProcessEnvironment(env);
    third.start(ORVELLA_BINARY, {});
    QVERIFY(third.waitForFinished(20000));
    QVERIFY2(third.readAllStandardOutput().contains("main window shown"), "third start did not come up");
}

void TestMainWindow::secondStartRaisesTheFirst()
{
    QTemporaryDir dir;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    {
        SingleInstance first;
        QVERIFY(first.acquire());
        int raised = 0;
        first.onActivationRequest([&] { ++raised; });
        SingleInstance second;
        QVERIFY(!second.acquire());
        // the second start blocks on its request while the first answers from its event loop
        std::atomic<int> confirmed{-1};
        std::thread asking([&] { confirmed = SingleInstance::notifyRunning(5000) ? 1 : 0; });
        QTRY_COMPARE_WITH_TIMEOUT(confirmed.load(), 1, 6000);
        asking.join();
        QCOMPARE(raised, 1);
    }
    // with nobody running, the request finds no one and the next start takes over
    QVERIFY(!SingleInstance::notifyRunning(500));
    SingleInstance next;
    QVERIFY(next.acquire());
    qputenv("XDG_RUNTIME_DIR", runtime);
}

void TestMainWindow::programIcon()
{
    // The pictures are compiled into a static library; one that is not linked in
    // leaves an empty icon without any error.
    const QIcon icon = ProgramIcon();
    QList<int> sizes;
    for (const QSize &s : icon.availableSizes()) {
        QCOMPARE(s.width(), s.height());
        sizes << s.width();
    }
    for (int wanted : {16, 24, 32, 48, 64, 128, 256})
        QVERIFY2(sizes.contains(wanted), qPrintable(QString::number(wanted)));
    const QImage small = icon.pixmap(QSize(16, 16), 1.0).toImage();
    QCOMPARE(small.size(), QSize(16, 16));
    QVERIFY(small.pixelColor(8, 8).alpha() > 0);

    // the information window shows the same picture
    AboutDialog about(QStringLiteral("/tmp/orvella"));
    auto *label = about.findChild<QLabel *>("lblIcon");
    QVERIFY(label);
    const QImage shown = label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!shown.isNull());
    QCOMPARE(shown, icon.pixmap(QSize(64, 64), about.devicePixelRatio()).toImage().convertToFormat(QImage::Format_ARGB32));
}

// Qt's own file dialog and standard buttons in German once its texts are loaded.
void TestMainWindow::qtsOwnDialogsSpeakGerman()
{
    QVERIFY(InstallQtGermanTexts());
    QFileDialog dialog(nullptr, QStringLiteral("Sichern"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    auto *buttons = dialog.findChild<QDialogButtonBox *>();
    QVERIFY(buttons);
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    QCOMPARE(buttons->button(QDialogButtonBox::Save)->text(), QStringLiteral("S&peichern"));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("fileNameLabel"))->text(), QStringLiteral("Datei&name:"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
