#include "../receivables/ReceivablesFixtures.h"
#include "CalendarNavigator.h"
#include "CalendarStore.h"
#include "TfrmCalendar.h"
#include "WindowHub.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QTabBar>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

namespace {

// Date, week, caption, year list, week overview and the six arrows (< or > when
// usable, - when not) in the order week, month, year.
QString state(const CalendarNavigator &n)
{
    QString arrows;
    for (auto [can, sign] : {std::pair{n.canWeekBack(), '<'}, {n.canWeekForward(), '>'}, {n.canMonthBack(), '<'},
                             {n.canMonthForward(), '>'}, {n.canYearBack(), '<'}, {n.canYearForward(), '>'}})
        arrows += can ? QLatin1Char(sign) : QLatin1Char('-');
    return QStringLiteral("%1 | %2 | %3 | %4-%5 | %6 | %7")
        .arg(n.date().toString(QStringLiteral("dd.MM.yyyy")), n.weekCaption(), n.dayCaption())
        .arg(n.firstYear())
        .arg(n.lastYear())
        .arg(n.weekRangeText(), arrows);
}

// Pretends the project window exists and records what it is asked to open.
class ProjectHub : public WindowHub
{
public:
    bool has(Window w) const override { return w == Window::Project; }
    void showProject(qint64 project, qint64 customer, bool company, bool isNew) override
    {
        opened << QStringLiteral("%1/%2/%3/%4").arg(project).arg(customer).arg(company).arg(isNew);
    }
    void showFiledInvoice(qint64 id) override { opened << QStringLiteral("Eingangsrechnung %1").arg(id); }
    QStringList opened;
};

QString day(int offset)
{
    return DateToStr(QDate::currentDate().addDays(offset));
}

// Open items around today: 1001 overdue with a credit note and a part payment,
// 1002 due today, 1003 due in two days, 1004 settled, 1005 outside the week,
// 1006 whose project is gone; letter 7 dunned 1001 yesterday, letter 8 today.
// Supplier invoices: RE-7 overdue, GS-1 a credit note due in three days, RE-8
// paid, RE-9 without a due date.
void addEntries(TestEnv &env)
{
    AddReceivablesCustomers(env);
    AddInvoice(env, 1001, 1, QStringLiteral("1000"), -2);
    AddCreditNote(env, 1, 1001, QStringLiteral("100"));
    AddPosting(env, 1001, QStringLiteral("250.5"));
    AddInvoice(env, 1002, 2, QStringLiteral("500"), 0);
    AddInvoice(env, 1003, 1, QStringLiteral("1234.56"), 2);
    AddInvoice(env, 1004, 1, QStringLiteral("80"), 1, QStringLiteral("J"));
    AddInvoice(env, 1005, 1, QStringLiteral("90"), 10);
    AddInvoice(env, 1006, 99, QStringLiteral("70"), 3);
    for (auto [letter, level, offset] : {std::tuple{7, 2, -1}, {8, 3, 0}, {9, 1, -20}})
        env.exec(QStringLiteral("INSERT INTO mahnungen (BelegNr, RNr, MNr, ProjektNr, Datum, RL, EFirma) VALUES "
                                "(%1, 1001, %2, '1', '%3', 'N', 'Halvard GmbH')")
                     .arg(letter)
                     .arg(level)
                     .arg(day(offset)));
    for (auto [id, number, offset, state, credit] : {std::tuple{1, "RE-7", "'" + day(-1) + "'", "offen", "N"},
                                                      {2, "GS-1", "'" + day(3) + "'", "offen", "J"},
                                                      {3, "RE-8", "'" + day(0) + "'", "bezahlt", "N"},
                                                      {4, "RE-9", QString("NULL"), "offen", "N"}})
        env.exec(QStringLiteral("INSERT INTO eingangsrechnungen (ID, Eingang, SHA256, Kontakt, Lieferant, RechnungsNr, "
                                "Brutto, Faellig, Status, Gutschrift) VALUES (%1, '%2', '%1', 0, 'Lieferant %1', '%3', "
                                "99.5, %4, '%5', '%6')")
                     .arg(id)
                     .arg(day(-10), QLatin1String(number), offset, QLatin1String(state), QLatin1String(credit)));
}

} // namespace

class TestCalendar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void navigation_data();
    void navigation();
    void entriesFromOpenItems();
    void windowKeepsControlsInStep();
    void windowShowsAndOpensEntries();
};

void TestCalendar::navigation_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("expected");
    // D<date> shows a date, d+1 the next day, W<n> chooses a week, w< w> m< m> y< y> are the arrows.
    QTest::newRow("across a month end") << "D31.01.2025 d+1"
                                        << "01.02.2025 | Woche 5 | 1. Februar | 2004-2035 | 27.01.2025 - 02.02.2025 | <><><>";
    QTest::newRow("onto a leap day") << "D28.02.2024 d+1"
                                     << "29.02.2024 | Woche 9 | 29. Februar | 2004-2034 | 26.02.2024 - 03.03.2024 | <><><>";
    QTest::newRow("past a leap day") << "D29.02.2024 d+1"
                                     << "01.03.2024 | Woche 9 | 1. März | 2004-2034 | 26.02.2024 - 03.03.2024 | <><><>";
    QTest::newRow("28 February of a common year") << "D28.02.2025 d+1"
                                                  << "01.03.2025 | Woche 9 | 1. März | 2004-2035 | 24.02.2025 - 02.03.2025 | <><><>";
    QTest::newRow("December day in week 1 of the next year")
        << "D30.12.2024" << "30.12.2024 | Woche 1 | 30. Dezember | 2004-2034 | 30.12.2024 - 05.01.2025 | -><-<>";
    QTest::newRow("across the year end") << "D30.12.2024 d+1 d+1"
                                         << "01.01.2025 | Woche 1 | 1. Januar | 2004-2035 | 30.12.2024 - 05.01.2025 | ->-><>";
    QTest::newRow("last day in week 53") << "D31.12.2020"
                                         << "31.12.2020 | Woche 53 | 31. Dezember | 2004-2030 | 28.12.2020 - 03.01.2021 | <-<-<>";
    QTest::newRow("New Year in last year's week 53")
        << "D31.12.2020 d+1" << "01.01.2021 | Woche 1 | 1. Januar | 2004-2031 | 04.01.2021 - 10.01.2021 | ->-><>";
    QTest::newRow("1 January 2005") << "D01.01.2005"
                                    << "01.01.2005 | Woche 1 | 1. Januar | 2004-2015 | 03.01.2005 - 09.01.2005 | ->-><>";
    QTest::newRow("later January days keep their week")
        << "D20.01.2005" << "20.01.2005 | Woche 3 | 20. Januar | 2004-2015 | 17.01.2005 - 23.01.2005 | <>-><>";
    QTest::newRow("10 February 2005") << "D10.02.2005"
                                      << "10.02.2005 | Woche 6 | 10. Februar | 2004-2015 | 07.02.2005 - 13.02.2005 | <><><>";
    QTest::newRow("before 2004") << "D15.06.1999"
                                 << "15.06.2004 | Woche 25 | 15. Juni | 2004-2014 | 14.06.2004 - 20.06.2004 | <><>->";
    QTest::newRow("week 10 of 2005") << "D10.02.2005 W10"
                                     << "01.03.2005 | Woche 10 | 1. März | 2004-2015 | 07.03.2005 - 13.03.2005 | <><><>";
    QTest::newRow("week 8 of 2005") << "D10.02.2005 W8"
                                    << "01.02.2005 | Woche 8 | 1. Februar | 2004-2015 | 21.02.2005 - 27.02.2005 | <><><>";
    QTest::newRow("week 53") << "D10.02.2005 W53"
                             << "01.12.2005 | Woche 53 | 1. Dezember | 2004-2015 | 02.01.2006 - 08.01.2006 | <-<-<>";
    QTest::newRow("week back from 53") << "D10.02.2005 W53 w<"
                                       << "01.12.2005 | Woche 52 | 1. Dezember | 2004-2015 | 26.12.2005 - 01.01.2006 | <><-<>";
    QTest::newRow("week forward to 2") << "D01.01.2005 w>"
                                       << "01.01.2005 | Woche 2 | 1. Januar | 2004-2015 | 10.01.2005 - 16.01.2005 | <>-><>";
    QTest::newRow("year list of 2026") << "D07.12.2026"
                                       << "07.12.2026 | Woche 50 | 7. Dezember | 2004-2036 | 07.12.2026 - 13.12.2026 | <><-<>";
    QTest::newRow("next year extends the list") << "D07.12.2026 y>"
                                                << "01.12.2027 | Woche 48 | 1. Dezember | 2004-2037 | 29.11.2027 - 05.12.2027 | <><-<>";
    QTest::newRow("month forward from February") << "D10.02.2026 m>"
                                                 << "01.03.2026 | Woche 9 | 1. März | 2004-2036 | 23.02.2026 - 01.03.2026 | <><><>";
    QTest::newRow("month back stops at January") << "D10.02.2025 m< m<"
                                                 << "01.01.2025 | Woche 1 | 1. Januar | 2004-2035 | 30.12.2024 - 05.01.2025 | ->-><>";
    QTest::newRow("year back stops at 2004") << "D10.05.2005 y< y<"
                                             << "01.05.2004 | Woche 18 | 1. Mai | 2004-2014 | 26.04.2004 - 02.05.2004 | <><>->";
}

void TestCalendar::navigation()
{
    QFETCH(QString, script);
    QFETCH(QString, expected);
    CalendarNavigator n;
    for (const QString &step : script.split(QLatin1Char(' '))) {
        const QString arg = step.mid(1);
        if (step.startsWith(QLatin1Char('D')))
            n.showDate(QDate::fromString(arg, QStringLiteral("dd.MM.yyyy")));
        else if (step == QLatin1String("d+1"))
            n.showDate(n.date().addDays(1));
        else if (step.startsWith(QLatin1Char('W')))
            n.selectWeek(arg.toInt());
        else if (step == QLatin1String("w<"))
            n.weekBack();
        else if (step == QLatin1String("w>"))
            n.weekForward();
        else if (step == QLatin1String("m<"))
            n.monthBack();
        else if (step == QLatin1String("m>"))
            n.monthForward();
        else if (step == QLatin1String("y<"))
            n.yearBack();
        else if (step == QLatin1String("y>"))
            n.yearForward();
        else
            QFAIL(qPrintable(step));
    }
    QCOMPARE(state(n), expected);
}

void TestCalendar::entriesFromOpenItems()
{
    TestEnv env;
    addEntries(env);
    CalendarStore store(env.db(), env.state().dmCommon);
    const QDate today = QDate::currentDate();
    QStringList got;
    for (const CalendarEntry &e : store.entries(today.addDays(-3), today.addDays(3), today))
        got << QStringLiteral("%1 %2 | %3 | %4/%5").arg(DateToStr(e.date), e.kindText(), e.text(QStringLiteral("€")))
                   .arg(e.project)
                   .arg(e.customerNumber);
    QCOMPARE(got, QStringList({
                      day(-2) + " überfällig | Rechnung 001001 · Kunde 1001 · offen 649,50 € | 1/10",
                      day(-1) + " 2. Mahnung | Mahnung 000007 zur Rechnung 001001 · Kunde 1001 | 1/10",
                      day(-1) + " überfällig zu zahlen | Eingangsrechnung RE-7 · Lieferant 1 · 99,50 € | 0/0",
                      day(0) + " überfällig | Rechnung 001002 · Kunde 1002 · offen 500,00 € | 2/20",
                      day(0) + " 3. Mahnung | Mahnung 000008 zur Rechnung 001001 · Kunde 1001 | 1/10",
                      day(2) + " fällig | Rechnung 001003 · Kunde 1003 · offen 1.234,56 € | 1/10",
                      day(3) + " fällig | Rechnung 001006 · Kunde 1006 · offen 70,00 € | 0/0",
                      day(3) + " zu zahlen | Eingangsrechnung GS-1 · Lieferant 2 · -99,50 € | 0/0",
                  }));
    QVERIFY(store.isCompany(10));
    QVERIFY(!store.isCompany(20));
    QVERIFY(store.entries(today, today.addDays(-1), today).isEmpty());
}

void TestCalendar::windowKeepsControlsInStep()
{
    TestEnv env;
    env.state().grantAll();
    TfrmCalendar w(env.state());
    QCOMPARE(w.windowTitle(), QStringLiteral("Orvella-Calendar"));
    w.prepareShow(QDate(2024, 12, 31));
    w.show();
    const auto controls = [&] {
        return QStringList({w.dtpDate->date().toString(QStringLiteral("dd.MM.yyyy")), w.cbWeek->currentText(),
                            w.cbMonth->currentText(), w.tabMonths->tabText(w.tabMonths->currentIndex()),
                            w.cbYear->currentText(), w.cbYear->itemText(0), w.cbYear->itemText(w.cbYear->count() - 1),
                            w.calMonth->selectedDate().toString(QStringLiteral("dd.MM.yyyy")), w.grdDay->item(0, 0)->text(),
                            w.lblWeek->text(), w.lblWeekRange->text()})
            .join(QLatin1Char(' '));
    };
    QCOMPARE(controls(), QStringLiteral("31.12.2024 1 Dezember Dezember 2024 2004 2034 31.12.2024 31. Dezember Woche 1 "
                                        "30.12.2024 - 05.01.2025"));
    QVERIFY(!w.btnMonthForward->isEnabled());
    QVERIFY(!w.btnWeekBack->isEnabled());

    // The arrow key in the month calendar goes on into the next year.
    QTableView *days = w.calMonth->findChild<QTableView *>();
    QVERIFY(days);
    QTest::keyClick(days, Qt::Key_Right);
    QCOMPARE(controls(), QStringLiteral("01.01.2025 1 Januar Januar 2025 2004 2035 01.01.2025 1. Januar Woche 1 "
                                        "30.12.2024 - 05.01.2025"));
    QVERIFY(w.btnMonthForward->isEnabled());
    QVERIFY(!w.btnMonthBack->isEnabled());

    // Each control moves the others.
    w.cbMonth->setCurrentIndex(1);
    QTest::mouseClick(w.btnMonthForward, Qt::LeftButton);
    QCOMPARE(controls(), QStringLiteral("01.03.2025 9 März März 2025 2004 2035 01.03.2025 1. März Woche 9 "
                                        "24.02.2025 - 02.03.2025"));
    w.cbWeek->setCurrentIndex(52);
    QCOMPARE(w.grdDay->item(0, 0)->text(), QStringLiteral("1. Dezember"));
    QVERIFY(!w.btnWeekForward->isEnabled());
    w.tabMonths->setCurrentIndex(5);
    w.cbYear->setCurrentIndex(w.cbYear->findText(QStringLiteral("2030")));
    w.dtpDate->setDate(QDate(1999, 3, 14)); // shown in 2004
    QCOMPARE(controls(), QStringLiteral("14.03.2004 11 März März 2004 2004 2014 14.03.2004 14. März Woche 11 "
                                        "08.03.2004 - 14.03.2004"));
    QVERIFY(!w.btnYearBack->isEnabled());
    w.grdWeekDays->cellClicked(1, 0);
    QCOMPARE(w.dtpDate->date(), QDate(2004, 3, 8));
    QCOMPARE(w.grdWeekDays->item(0, 6)->text(), QStringLiteral("So"));
    QCOMPARE(w.grdWeekDays->item(1, 6)->text(), QStringLiteral("14"));
}

void TestCalendar::windowShowsAndOpensEntries()
{
    TestEnv env;
    addEntries(env);
    env.state().grantAll();
    ProjectHub hub;
    env.state().hub = &hub;
    TfrmCalendar w(env.state());
    const QDate today = QDate::currentDate();
    w.prepareShow(today);
    w.show();
    QCOMPARE(w.grdDay->item(0, 1)->text(), QStringLiteral("Termin"));
    QCOMPARE(w.grdDay->item(1, 0)->text(), QStringLiteral("überfällig"));
    QCOMPARE(w.grdDay->item(1, 1)->text(), QStringLiteral("Rechnung 001002 · Kunde 1002 · offen 500,00 €"));
    QCOMPARE(w.grdDay->item(1, 1)->foreground().color(), QColor(Qt::red));
    QCOMPARE(w.grdDay->item(2, 0)->text(), QStringLiteral("3. Mahnung"));
    QCOMPARE(w.grdDay->item(3, 1)->text(), QString());
    QCOMPARE(w.grdDay->rowCount(), 10);
    // The week lists what lies in the week of today, with the day in front.
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    int inWeek = 0;
    for (int offset : {-2, -1, -1, 0, 0, 2, 3, 3})
        inWeek += today.addDays(offset) >= monday && today.addDays(offset) <= monday.addDays(6);
    QCOMPARE(w.weekEntry(inWeek) != nullptr, true);
    QCOMPARE(w.weekEntry(inWeek + 1), nullptr);
    const int todayRow = int(monday.daysTo(today)) >= 2 ? 4 : int(monday.daysTo(today)) == 1 ? 3 : 1;
    QCOMPARE(w.grdWeek->item(todayRow, 0)->text(), QStringLiteral("%1 %2").arg(
                 QStringList{"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"}.at(today.dayOfWeek() - 1),
                 today.toString(QStringLiteral("dd.MM."))));

    // A double-click opens the project of the entry, for a company or a person.
    w.grdDay->setCurrentCell(1, 1);
    QVERIFY(w.btnDayOpen->isEnabled());
    w.grdDay->cellDoubleClicked(1, 1);
    w.grdDay->setCurrentCell(2, 1);
    QTest::mouseClick(w.btnDayOpen, Qt::LeftButton);
    QCOMPARE(hub.opened, QStringList({"2/20/0/0", "1/10/1/0"}));
    // An invoice whose project is gone opens nothing.
    w.showDate(today.addDays(3));
    w.grdDay->setCurrentCell(1, 1);
    QVERIFY(!w.btnDayOpen->isEnabled());
    w.grdDay->cellDoubleClicked(1, 1);
    QCOMPARE(env.dialogs().messages(), QStringList{"Zur Rechnung 001006 gibt es kein Projekt mehr."});
    // A supplier's invoice opens as the invoice it is.
    w.grdDay->setCurrentCell(2, 1);
    QVERIFY(w.btnDayOpen->isEnabled());
    w.grdDay->cellDoubleClicked(2, 1);
    QCOMPARE(hub.opened.last(), QStringLiteral("Eingangsrechnung 2"));

    // Without the permission for open items the entries stay hidden; without the
    // one for projects nothing opens.
    env.state().Perm[5] = false;
    w.showDate(today);
    w.grdDay->setCurrentCell(1, 1);
    QVERIFY(!w.btnDayOpen->isEnabled());
    w.grdDay->cellDoubleClicked(1, 1);
    QCOMPARE(hub.opened.size(), 3);
    env.state().Perm[15] = false;
    w.reloadEntries();
    QCOMPARE(w.grdDay->item(1, 1)->text(), QString());
    QCOMPARE(w.dayEntry(1), nullptr);
}

QTEST_MAIN(TestCalendar)
#include "tst_calendar.moc"
