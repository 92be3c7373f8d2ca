#include "TfrmCalendar.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "Formats.h"
#include "Settings.h"
#include "WindowHub.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int MinimumGridRows = 10;
const QStringList WeekDays = {QStringLiteral("Mo"), QStringLiteral("Di"), QStringLiteral("Mi"), QStringLiteral("Do"),
                              QStringLiteral("Fr"), QStringLiteral("Sa"), QStringLiteral("So")};

// The first column of an appointment grid: right-aligned on one line, ending two
// blanks' width before the right edge.
class FirstColumnDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() != 0)
            return;
        option->text += QStringLiteral("  ");
        option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
        option->features &= ~QStyleOptionViewItem::WrapText;
    }
};

QToolButton *arrow(QWidget *parent, const char *name, const QString &text, const QString &tip)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setToolTip(tip);
    b->setAutoRaise(false);
    return b;
}

// A cell that is read, not chosen: the heading row and the first column.
QTableWidgetItem *fixedItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(Qt::white);
    return item;
}

QTableWidgetItem *headingItem(const QString &text)
{
    QTableWidgetItem *item = fixedItem(text);
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
    return item;
}

QTableWidgetItem *entryItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QString weekDayText(const QDate &date)
{
    return WeekDays.value(date.dayOfWeek() - 1) + QLatin1Char(' ') + date.toString(QStringLiteral("dd.MM."));
}

} // namespace

TfrmCalendar::TfrmCalendar(AppState &state, QWidget *parent)
    : QMainWindow(parent, Qt::Window), m_state(state), m_store(state.db, state.dmCommon),
      m_currency(ReadCurrency(state.ExeDir))
{
    setObjectName(QStringLiteral("TfrmCalendar"));
    setWindowTitle(QStringLiteral("Orvella-Calendar"));
    buildUi();
    connectControls();
    ResizeWithinScreen(this, QSize(800, 560));
    // The entries are read when the window is first shown, not at start-up.
    m_nav.showDate(QDate::currentDate());
    syncControls(false);
}

TfrmCalendar::~TfrmCalendar() = default;

void TfrmCalendar::run(const std::function<void()> &command)
{
    RunCommand(m_state.dialogs, command);
}

// --- layout ----------------------------------------------------------------------

void TfrmCalendar::buildUi()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Datei"));
    actBeenden = file->addAction(QStringLiteral("&Beenden"), this, &QWidget::close);
    actBeenden->setObjectName(QStringLiteral("actBeenden"));

    auto *central = new QWidget(this);
    auto *root = new QVBoxLayout(central);
    root->setContentsMargins(6, 4, 6, 4);
    root->setSpacing(4);

    auto *top = new QHBoxLayout;
    top->setSpacing(2);
    const auto group = [this, top](const QString &caption, QToolButton *back, QComboBox *list, QToolButton *forward) {
        top->addWidget(new QLabel(caption, this));
        top->addWidget(back);
        top->addWidget(list);
        top->addWidget(forward);
        top->addSpacing(12);
    };
    btnWeekBack = arrow(this, "btnWeekBack", QStringLiteral("<"), QStringLiteral("vorige Woche"));
    btnWeekForward = arrow(this, "btnWeekForward", QStringLiteral(">"), QStringLiteral("nächste Woche"));
    btnMonthBack = arrow(this, "btnMonthBack", QStringLiteral("<"), QStringLiteral("voriger Monat"));
    btnMonthForward = arrow(this, "btnMonthForward", QStringLiteral(">"), QStringLiteral("nächster Monat"));
    btnYearBack = arrow(this, "btnYearBack", QStringLiteral("<"), QStringLiteral("voriges Jahr"));
    btnYearForward = arrow(this, "btnYearForward", QStringLiteral(">"), QStringLiteral("nächstes Jahr"));
    cbWeek = new QComboBox(this);
    cbWeek->setObjectName(QStringLiteral("cbWeek"));
    for (int w = 1; w <= CalendarNavigator::LastWeek; ++w)
        cbWeek->addItem(QString::number(w));
    cbMonth = new QComboBox(this);
    cbMonth->setObjectName(QStringLiteral("cbMonth"));
    for (int m = 1; m <= 12; ++m)
        cbMonth->addItem(CalendarNavigator::monthName(m));
    cbYear = new QComboBox(this);
    cbYear->setObjectName(QStringLiteral("cbYear"));
    cbYear->setMaxVisibleItems(15);
    group(QStringLiteral("Woche:"), btnWeekBack, cbWeek, btnWeekForward);
    group(QStringLiteral("Monat:"), btnMonthBack, cbMonth, btnMonthForward);
    group(QStringLiteral("Jahr:"), btnYearBack, cbYear, btnYearForward);
    top->addStretch(1);
    dtpDate = new QDateEdit(this);
    dtpDate->setObjectName(QStringLiteral("dtpDate"));
    dtpDate->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    dtpDate->setCalendarPopup(true);
    dtpDate->calendarWidget()->setFirstDayOfWeek(Qt::Monday);
    top->addWidget(dtpDate);
    root->addLayout(top);

    tabMonths = new QTabBar(this);
    tabMonths->setObjectName(QStringLiteral("tabMonths"));
    tabMonths->setExpanding(false);
    tabMonths->setUsesScrollButtons(true);
    tabMonths->setDrawBase(false);
    for (int m = 1; m <= 12; ++m)
        tabMonths->addTab(CalendarNavigator::monthName(m));
    root->addWidget(tabMonths);

    pcPages = new QTabWidget(this);
    pcPages->setObjectName(QStringLiteral("pcPages"));
    pcPages->addTab(buildDayPage(), QStringLiteral("Tagesübersicht"));
    pcPages->addTab(buildWeekPage(), QStringLiteral("Wochenübersicht"));
    root->addWidget(pcPages, 1);
    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("statusBar"));
}

QFrame *TfrmCalendar::buildButtonPanel(QToolButton *&today, QToolButton *&open)
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("buttonPanel"));
    panel->setStyleSheet(QStringLiteral(
        "#buttonPanel { background-color: #000080; }"
        "#buttonPanel QToolButton { color: white; border: 1px solid transparent; border-radius: 3px; padding: 3px 8px; }"
        "#buttonPanel QToolButton:hover { background-color: #1a1aa6; border-color: #6f6fd0; }"
        "#buttonPanel QToolButton:disabled { color: #8080b0; }"));
    auto *l = new QHBoxLayout(panel);
    l->setContentsMargins(6, 6, 6, 6);
    today = new QToolButton(panel);
    today->setText(QStringLiteral("Heute"));
    today->setToolTip(QStringLiteral("Zum heutigen Tag"));
    today->setAutoRaise(true);
    open = new QToolButton(panel);
    open->setText(QStringLiteral("Projekt öffnen"));
    open->setToolTip(QStringLiteral("Das Projekt des gewählten Eintrags öffnen (auch mit Doppelklick)"));
    open->setAutoRaise(true);
    l->addWidget(today);
    l->addWidget(open);
    l->addStretch(1);
    return panel;
}

QTableWidget *TfrmCalendar::appointmentGrid(const char *name, const QString &firstHeading)
{
    auto *grid = new QTableWidget(MinimumGridRows, 2, this);
    grid->setObjectName(QLatin1String(name));
    grid->horizontalHeader()->setVisible(false);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setWordWrap(false);
    grid->setItemDelegate(new FirstColumnDelegate(grid));
    int first = 0;
    for (const char *widest : {"30. September", "12. Mahnung", "überfällig", "Mo 00.00."})
        first = std::max(first, grid->fontMetrics().horizontalAdvance(QString::fromUtf8(widest) + QStringLiteral("  ")));
    grid->setColumnWidth(0, first + 12);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setItem(0, 0, headingItem(firstHeading));
    grid->setItem(0, 1, headingItem(QStringLiteral("Termin")));
    return grid;
}

QWidget *TfrmCalendar::buildDayPage()
{
    auto *page = new QWidget(this);
    auto *h = new QHBoxLayout(page);
    auto *left = new QVBoxLayout;
    calMonth = new QCalendarWidget(page);
    calMonth->setObjectName(QStringLiteral("calMonth"));
    calMonth->setFirstDayOfWeek(Qt::Monday);
    calMonth->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    calMonth->setGridVisible(false);
    left->addWidget(calMonth);
    QFrame *panel = buildButtonPanel(btnDayToday, btnDayOpen);
    btnDayToday->setObjectName(QStringLiteral("btnDayToday"));
    btnDayOpen->setObjectName(QStringLiteral("btnDayOpen"));
    left->addWidget(panel);
    left->addStretch(1);
    h->addLayout(left);
    grdDay = appointmentGrid("grdDay", QString());
    h->addWidget(grdDay, 1);
    return page;
}

QWidget *TfrmCalendar::buildWeekPage()
{
    auto *page = new QWidget(this);
    auto *h = new QHBoxLayout(page);
    auto *left = new QVBoxLayout;
    lblWeek = new QLabel(page);
    lblWeek->setObjectName(QStringLiteral("lblWeek"));
    QFont f = lblWeek->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    lblWeek->setFont(f);
    lblWeekRange = new QLabel(page);
    lblWeekRange->setObjectName(QStringLiteral("lblWeekRange"));
    left->addWidget(lblWeek);
    left->addWidget(lblWeekRange);

    // The days of the shown week: a click shows that day, days with entries are bold.
    grdWeekDays = new QTableWidget(2, 7, page);
    grdWeekDays->setObjectName(QStringLiteral("grdWeekDays"));
    grdWeekDays->horizontalHeader()->setVisible(false);
    grdWeekDays->verticalHeader()->setVisible(false);
    grdWeekDays->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdWeekDays->setSelectionMode(QAbstractItemView::SingleSelection);
    grdWeekDays->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdWeekDays->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int cell = grdWeekDays->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 10;
    for (int c = 0; c < 7; ++c) {
        grdWeekDays->setColumnWidth(c, cell);
        auto *head = headingItem(WeekDays.at(c));
        head->setTextAlignment(Qt::AlignCenter);
        grdWeekDays->setItem(0, c, head);
    }
    for (int r = 0; r < 2; ++r)
        grdWeekDays->setRowHeight(r, grdWeekDays->fontMetrics().height() + 6);
    grdWeekDays->setFixedSize(7 * cell + 2 * grdWeekDays->frameWidth(),
                              2 * (grdWeekDays->fontMetrics().height() + 6) + 2 * grdWeekDays->frameWidth());
    left->addWidget(grdWeekDays);
    QFrame *panel = buildButtonPanel(btnWeekToday, btnWeekOpen);
    btnWeekToday->setObjectName(QStringLiteral("btnWeekToday"));
    btnWeekOpen->setObjectName(QStringLiteral("btnWeekOpen"));
    left->addWidget(panel);
    left->addStretch(1);
    h->addLayout(left);
    grdWeek = appointmentGrid("grdWeek", QStringLiteral("Tag"));
    h->addWidget(grdWeek, 1);
    return page;
}

void TfrmCalendar::navigate(const std::function<void()> &move)
{
    // The controls are set from the navigator; what they report meanwhile is an echo.
    if (m_syncing)
        return;
    run([this, &move] {
        move();
        syncControls();
    });
}

void TfrmCalendar::connectControls()
{
    const auto on = [this](std::function<void()> move) { return [this, move] { navigate(move); }; };
    connect(btnWeekBack, &QToolButton::clicked, this, on([this] { m_nav.weekBack(); }));
    connect(btnWeekForward, &QToolButton::clicked, this, on([this] { m_nav.weekForward(); }));
    connect(btnMonthBack, &QToolButton::clicked, this, on([this] { m_nav.monthBack(); }));
    connect(btnMonthForward, &QToolButton::clicked, this, on([this] { m_nav.monthForward(); }));
    connect(btnYearBack, &QToolButton::clicked, this, on([this] { m_nav.yearBack(); }));
    connect(btnYearForward, &QToolButton::clicked, this, on([this] { m_nav.yearForward(); }));
    connect(cbWeek, &QComboBox::currentIndexChanged, this, on([this] { m_nav.selectWeek(cbWeek->currentIndex() + 1); }));
    connect(cbMonth, &QComboBox::currentIndexChanged, this,
            on([this] { m_nav.selectMonth(cbMonth->currentIndex() + 1); }));
    connect(cbYear, &QComboBox::currentIndexChanged, this, on([this] { m_nav.selectYear(cbYear->currentText().toInt()); }));
    connect(tabMonths, &QTabBar::currentChanged, this, on([this] { m_nav.selectMonth(tabMonths->currentIndex() + 1); }));
    connect(dtpDate, &QDateEdit::dateChanged, this, on([this] { m_nav.showDate(dtpDate->date()); }));
    // Days chosen in the month calendar, by mouse or by the arrow keys (which go on
    // across the end of a month); paging it to another month shows that month's first day.
    connect(calMonth, &QCalendarWidget::selectionChanged, this, on([this] { m_nav.showDate(calMonth->selectedDate()); }));
    connect(calMonth, &QCalendarWidget::currentPageChanged, this, [this](int year, int month) {
        const QDate selected = calMonth->selectedDate();
        if (selected.year() != year || selected.month() != month)
            navigate([this, year, month] { m_nav.showDate(QDate(year, month, 1)); });
    });
    connect(grdWeekDays, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (row == 1)
            navigate([this, column] { m_nav.showDate(m_nav.weekStart().addDays(column)); });
    });
    for (QToolButton *b : {btnDayToday, btnWeekToday})
        connect(b, &QToolButton::clicked, this, on([this] { m_nav.showDate(QDate::currentDate()); }));

    const auto openRow = [this](QTableWidget *grid, bool week) {
        return [this, grid, week] {
            run([this, grid, week] {
                if (const CalendarEntry *e = week ? weekEntry(grid->currentRow()) : dayEntry(grid->currentRow()))
                    openEntry(*e);
            });
        };
    };
    connect(btnDayOpen, &QToolButton::clicked, this, openRow(grdDay, false));
    connect(btnWeekOpen, &QToolButton::clicked, this, openRow(grdWeek, true));
    connect(grdDay, &QTableWidget::cellDoubleClicked, this, openRow(grdDay, false));
    connect(grdWeek, &QTableWidget::cellDoubleClicked, this, openRow(grdWeek, true));
    for (QTableWidget *g : {grdDay, grdWeek})
        connect(g, &QTableWidget::currentCellChanged, this, [this] { updateOpenButtons(); });
}

// --- showing ---------------------------------------------------------------------

void TfrmCalendar::prepareShow(const QDate &today)
{
    showDate(today);
}

void TfrmCalendar::showDate(const QDate &date)
{
    m_nav.showDate(date);
    syncControls();
}

void TfrmCalendar::syncControls(bool withEntries)
{
    m_syncing = true;
    const QDate date = m_nav.date();
    cbWeek->setCurrentIndex(m_nav.week() - 1);
    cbMonth->setCurrentIndex(m_nav.month() - 1);
    tabMonths->setCurrentIndex(m_nav.month() - 1);
    cbYear->clear();
    for (int y = m_nav.firstYear(); y <= m_nav.lastYear(); ++y)
        cbYear->addItem(QString::number(y));
    cbYear->setCurrentIndex(m_nav.year() - m_nav.firstYear());
    btnWeekBack->setEnabled(m_nav.canWeekBack());
    btnWeekForward->setEnabled(m_nav.canWeekForward());
    btnMonthBack->setEnabled(m_nav.canMonthBack());
    btnMonthForward->setEnabled(m_nav.canMonthForward());
    btnYearBack->setEnabled(m_nav.canYearBack());
    btnYearForward->setEnabled(m_nav.canYearForward());
    if (dtpDate->date() != date)
        dtpDate->setDate(date);
    calMonth->setSelectedDate(date);
    calMonth->setCurrentPage(date.year(), date.month());
    grdDay->item(0, 0)->setText(m_nav.dayCaption());
    lblWeek->setText(m_nav.weekCaption());
    lblWeekRange->setText(m_nav.weekRangeText());
    m_syncing = false;
    if (withEntries)
        reloadEntries();
}

void TfrmCalendar::reloadEntries()
{
    const QDate day = m_nav.date();
    const QDate from = std::min(day, m_nav.weekStart()), to = std::max(day, m_nav.weekEnd());
    // Due invoices and dunning letters belong to the open items, which only users
    // with that permission see.
    const bool permitted = m_state.perm(15);
    m_entries = permitted ? m_store.entries(from, to, QDate::currentDate()) : QList<CalendarEntry>();
    m_dayEntries = CalendarStore::onDay(m_entries, day);
    m_weekEntries.clear();
    for (const CalendarEntry &e : std::as_const(m_entries))
        if (e.date >= m_nav.weekStart() && e.date <= m_nav.weekEnd())
            m_weekEntries << e;
    fillGrid(grdDay, m_dayEntries, false);
    fillGrid(grdWeek, m_weekEntries, true);
    fillWeekDays();
    updateOpenButtons();
    if (!permitted)
        statusBar()->showMessage(QStringLiteral("Fällige Rechnungen und Mahnungen zeigt der Kalender nur Benutzern mit "
                                                "der Berechtigung „Offene Rechnungen“."));
    else
        statusBar()->showMessage(QStringLiteral("%1 am %2, %3 in der %4")
                                     .arg(m_dayEntries.size() == 1 ? QStringLiteral("1 Eintrag")
                                                                   : QStringLiteral("%1 Einträge").arg(m_dayEntries.size()),
                                          day.toString(QStringLiteral("dd.MM.yyyy")))
                                     .arg(m_weekEntries.size())
                                     .arg(m_nav.weekCaption()));
}

void TfrmCalendar::fillGrid(QTableWidget *grid, const QList<CalendarEntry> &entries, bool withDay)
{
    grid->setRowCount(std::max(MinimumGridRows, int(entries.size()) + 1));
    for (int r = 1; r < grid->rowCount(); ++r) {
        const CalendarEntry *e = r - 1 < entries.size() ? &entries.at(r - 1) : nullptr;
        QString first, second;
        if (e) {
            first = withDay ? weekDayText(e->date) : e->kindText();
            second = withDay ? e->kindText() + QStringLiteral(": ") + e->text(m_currency) : e->text(m_currency);
        }
        QTableWidgetItem *head = fixedItem(first);
        QTableWidgetItem *body = e ? entryItem(second) : fixedItem(QString());
        if (e) {
            body->setToolTip(e->kind == CalendarEntry::Kind::ReceivedInvoice
                                 ? QStringLiteral("Doppelklick öffnet die Eingangsrechnung")
                             : e->project > 0 ? QStringLiteral("Doppelklick öffnet das Projekt")
                                              : QStringLiteral("Zu diesem Eintrag gibt es kein Projekt mehr"));
            if (e->overdue) {
                head->setForeground(Qt::red);
                body->setForeground(Qt::red);
            }
        } else {
            body->setBackground(QBrush());
        }
        grid->setItem(r, 0, head);
        grid->setItem(r, 1, body);
    }
    grid->clearSelection();
    grid->setCurrentCell(-1, -1);
}

void TfrmCalendar::fillWeekDays()
{
    for (int c = 0; c < 7; ++c) {
        const QDate d = m_nav.weekStart().addDays(c);
        auto *item = new QTableWidgetItem(QString::number(d.day()));
        item->setTextAlignment(Qt::AlignCenter);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        const bool busy = std::any_of(m_weekEntries.cbegin(), m_weekEntries.cend(),
                                      [&](const CalendarEntry &e) { return e.date == d; });
        if (busy) {
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
            item->setToolTip(QStringLiteral("Einträge an diesem Tag"));
        }
        grdWeekDays->setItem(1, c, item);
    }
    const int shown = int(m_nav.weekStart().daysTo(m_nav.date()));
    m_syncing = true;
    if (shown >= 0 && shown < 7)
        grdWeekDays->setCurrentCell(1, shown);
    else
        grdWeekDays->clearSelection();
    m_syncing = false;
}

void TfrmCalendar::updateOpenButtons()
{
    const bool mayOpen = m_state.perm(5) && m_state.hub && m_state.hub->has(WindowHub::Window::Project);
    const CalendarEntry *day = dayEntry(grdDay->currentRow());
    const CalendarEntry *week = weekEntry(grdWeek->currentRow());
    const auto opens = [&](const CalendarEntry *e) {
        if (!e)
            return false;
        if (e->kind == CalendarEntry::Kind::ReceivedInvoice)
            return m_state.hub != nullptr;
        return mayOpen && e->project > 0;
    };
    btnDayOpen->setEnabled(opens(day));
    btnWeekOpen->setEnabled(opens(week));
}

const CalendarEntry *TfrmCalendar::dayEntry(int row) const
{
    return row >= 1 && row <= m_dayEntries.size() ? &m_dayEntries.at(row - 1) : nullptr;
}

const CalendarEntry *TfrmCalendar::weekEntry(int row) const
{
    return row >= 1 && row <= m_weekEntries.size() ? &m_weekEntries.at(row - 1) : nullptr;
}

void TfrmCalendar::openEntry(const CalendarEntry &entry)
{
    if (m_state.hub && entry.kind == CalendarEntry::Kind::ReceivedInvoice) {
        m_state.hub->showFiledInvoice(entry.filed);
        return;
    }
    if (!m_state.hub || !m_state.perm(5))
        return;
    if (entry.project <= 0) {
        m_state.dialogs.information(QStringLiteral("Zur Rechnung %1 gibt es kein Projekt mehr.").arg(PadNumber(entry.invoice)));
        return;
    }
    m_state.hub->showProject(entry.project, entry.customerNumber, m_store.isCompany(entry.customerNumber), false);
}

void TfrmCalendar::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Payments and dunning letters made in other windows show when the user comes back.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        run([this] { reloadEntries(); });
}
