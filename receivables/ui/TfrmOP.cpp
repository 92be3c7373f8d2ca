#include "TfrmOP.h"

#include "NumberEdit.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "Formats.h"
#include "ReceivablesStore.h"
#include "Settings.h"
#include "TfrmMahnung.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStandardPaths>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using namespace OpenItemRules;

QLineEdit *amountField(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignRight);
    e->setFocusPolicy(Qt::ClickFocus);
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("-000.000,00 €   ")));
    return e;
}

QLineEdit *infoField(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::ClickFocus);
    return e;
}

void setTextColour(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    const QColor c = colour.isValid() ? colour : QApplication::palette().color(QPalette::Text);
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, colour.isValid() ? colour : QApplication::palette().color(QPalette::ButtonText));
    w->setPalette(p);
}

} // namespace

TfrmOP::TfrmOP(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_store(std::make_unique<ReceivablesStore>(state.db, state.dmCommon)),
      m_currency(ReadCurrency(state.ExeDir))
{
    setObjectName(QStringLiteral("TfrmOP"));
    setWindowTitle(QStringLiteral("offene / überfällige Rechnungen"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    buildUi();
    setStyleSheet(QStringLiteral("QLineEdit:read-only { background: palette(window); }"));
    ResizeWithinScreen(this, QSize(1000, 640));
    RestoreWindowPosition(this, QStringLiteral("OP"));
    m_showDunning = [](TfrmMahnung &w) { w.exec(); };
    m_choosePrinter = [this](QPrinter &printer) {
        QPrintDialog dialog(&printer, this);
        dialog.setWindowTitle(QStringLiteral("Liste drucken"));
        return dialog.exec() == QDialog::Accepted;
    };
    syncFilterControls();
    clearPanels();
}

TfrmOP::~TfrmOP() = default;

void TfrmOP::buildUi()
{
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(6, 4, 6, 6);
    root->setSpacing(4);
    const auto run = [this](const std::function<void()> &f) { return [this, f] { RunCommand(m_state.dialogs, f); }; };

    auto *tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("toolBar"));
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    actClose = tools->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Schließen"), this,
                                &QDialog::reject);
    actClose->setObjectName(QStringLiteral("actClose"));
    actPrintList = new QAction(QStringLiteral("Drucken…"), this);
    actPrintList->setObjectName(QStringLiteral("actPrintList"));
    actPdfList = new QAction(QStringLiteral("Als PDF speichern…"), this);
    actPdfList->setObjectName(QStringLiteral("actPdfList"));
    actCsvList = new QAction(QIcon::fromTheme(QStringLiteral("x-office-spreadsheet")), QStringLiteral("Als CSV speichern…"),
                             this);
    actCsvList->setObjectName(QStringLiteral("actCsvList"));
    btnPrintList = new QToolButton(this);
    btnPrintList->setObjectName(QStringLiteral("btnPrintList"));
    btnPrintList->setText(QStringLiteral("Liste drucken"));
    btnPrintList->setToolTip(QStringLiteral("Die Liste so drucken, wie sie gefiltert ist"));
    btnPrintList->setIcon(QIcon::fromTheme(QStringLiteral("document-print"), style()->standardIcon(QStyle::SP_FileIcon)));
    btnPrintList->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnPrintList->setPopupMode(QToolButton::MenuButtonPopup);
    auto *printMenu = new QMenu(btnPrintList);
    printMenu->addAction(actPrintList);
    printMenu->addAction(actPdfList);
    btnPrintList->setMenu(printMenu);
    tools->addWidget(btnPrintList);
    btnCsv = new QToolButton(this);
    btnCsv->setObjectName(QStringLiteral("btnCsv"));
    btnCsv->setDefaultAction(actCsvList);
    btnCsv->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tools->addWidget(btnCsv);
    tools->addSeparator();
    tools->addWidget(new QLabel(QStringLiteral(" Suche: "), this));
    edtSearch = new QLineEdit(this);
    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    edtSearch->setMaximumWidth(110);
    edtSearch->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,12}")), edtSearch));
    tools->addWidget(edtSearch);
    cbSearchKind = new QComboBox(this);
    cbSearchKind->setObjectName(QStringLiteral("cbSearchKind"));
    cbSearchKind->addItems({QStringLiteral("Kundennummer"), QStringLiteral("Rechnungsnummer")});
    tools->addWidget(cbSearchKind);
    root->addWidget(tools);
    connect(btnPrintList, &QToolButton::clicked, this, run([this] { cmdPrintList(); }));
    connect(actPrintList, &QAction::triggered, this, run([this] { cmdPrintList(); }));
    connect(actPdfList, &QAction::triggered, this, run([this] { cmdPdfList(); }));
    connect(actCsvList, &QAction::triggered, this, run([this] { cmdCsvList(); }));
    connect(edtSearch, &QLineEdit::textEdited, this, run([this] { reload(); }));
    connect(cbSearchKind, &QComboBox::activated, this, run([this] {
                edtSearch->clear();
                reload();
            }));

    // Filters
    auto *filters = new QGroupBox(QStringLiteral("Suche"), this);
    filters->setObjectName(QStringLiteral("grpSuche"));
    auto *fl = new QGridLayout(filters);
    fl->setContentsMargins(6, 2, 6, 4);
    auto *group = new QButtonGroup(this);
    static const char *const filterNames[] = {"btnUeberfaellig", "btnRestbetrag", "btnUnbezahlt", "btnBeglichen",
                                              "btnAlle"};
    contextMenu = new QMenu(this);
    auto *menuGroup = new QActionGroup(this);
    for (int i = 0; i < FilterCount; ++i) {
        const auto f = OpenItemFilter(i);
        auto *b = new QPushButton(filterCaption(f), filters);
        b->setObjectName(QLatin1String(filterNames[i]));
        b->setCheckable(true);
        setTextColour(b, filterColour(f));
        group->addButton(b, i);
        fl->addWidget(b, i / 3, i % 3);
        btnFilter[std::size_t(i)] = b;
        connect(b, &QPushButton::clicked, this, run([this, f] { setFilter(f, true); }));
        QAction *a = contextMenu->addAction(filterCaption(f));
        a->setObjectName(QStringLiteral("actFilter%1").arg(i));
        a->setCheckable(true);
        menuGroup->addAction(a);
        actFilter[std::size_t(i)] = a;
        connect(a, &QAction::triggered, this, run([this, f] { setFilter(f, false); }));
    }
    btnWeiter = new QPushButton(QStringLiteral("&weiter"), filters);
    btnWeiter->setObjectName(QStringLiteral("btnWeiter"));
    fl->addWidget(btnWeiter, 1, 2);
    connect(btnWeiter, &QPushButton::clicked, this, run([this] { setFilter(nextFilter(m_filter), true); }));
    contextMenu->addSeparator();
    actChangeBooking = contextMenu->addAction(QStringLiteral("Buchung ändern"));
    actChangeBooking->setObjectName(QStringLiteral("actChangeBooking"));
    connect(actChangeBooking, &QAction::triggered, this, run([this] { cmdChangeBooking(); }));
    for (QWidget *w : std::initializer_list<QWidget *>{this, filters}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint &p) { contextMenu->popup(w->mapToGlobal(p)); });
    }
    root->addWidget(filters);

    // List
    lstItems = new QTableView(this);
    lstItems->setObjectName(QStringLiteral("lstItems"));
    lstItems->setModel(&m_model);
    lstItems->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstItems->setSelectionMode(QAbstractItemView::SingleSelection);
    lstItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstItems->verticalHeader()->hide();
    lstItems->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    lstItems->horizontalHeader()->setStretchLastSection(true);
    lstItems->setWordWrap(false);
    for (int c = 0; c < OpenItemsModel::ColumnCount; ++c)
        lstItems->setColumnWidth(c, std::max(OpenItemsModel::width(c), fontMetrics().horizontalAdvance(
                                                                             OpenItemsModel::heading(c) + QStringLiteral("  "))));
    lstItems->setColumnWidth(OpenItemsModel::KNr, fontMetrics().horizontalAdvance(QStringLiteral("  0000000  ")));
    lstItems->setColumnWidth(OpenItemsModel::RNr, fontMetrics().horizontalAdvance(QStringLiteral("  Rechnungs-Nr.  ")));
    lstItems->setColumnWidth(OpenItemsModel::Datum, fontMetrics().horizontalAdvance(QStringLiteral("  00.00.0000  ")));
    lstItems->setColumnWidth(OpenItemsModel::EDatum, fontMetrics().horizontalAdvance(QStringLiteral("  00.00.0000  ")));
    lstItems->setColumnWidth(OpenItemsModel::Betrag, fontMetrics().horizontalAdvance(QStringLiteral("  000.000,00 €  ")));
    lstItems->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstItems, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { contextMenu->popup(lstItems->viewport()->mapToGlobal(p)); });
    connect(lstItems->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (m_loading)
                    return;
                RunCommand(m_state.dialogs, [this, current] {
                    m_row = current.row();
                    m_bookingForced = false;
                    refreshPanels();
                });
            });
    root->addWidget(lstItems, 1);

    // Invoice panel
    auto *bottom = new QHBoxLayout;
    auto *invoice = new QVBoxLayout;
    auto *facts = new QGridLayout;
    edtDatum = infoField(this, "edtDatum");
    edtAblauf = infoField(this, "edtAblauf");
    edtGebucht = infoField(this, "edtGebucht");
    edtRNr = infoField(this, "edtRNr");
    facts->addWidget(new QLabel(QStringLiteral("Datum"), this), 0, 0);
    facts->addWidget(edtDatum, 0, 1);
    facts->addWidget(new QLabel(QStringLiteral("Ablaufdatum"), this), 0, 2);
    facts->addWidget(edtAblauf, 0, 3);
    facts->addWidget(new QLabel(QStringLiteral("Gebucht"), this), 1, 0);
    facts->addWidget(edtGebucht, 1, 1);
    facts->addWidget(new QLabel(QStringLiteral("Rechnungs-Nr."), this), 1, 2);
    facts->addWidget(edtRNr, 1, 3);
    facts->addWidget(new QLabel(QStringLiteral("Skonto - J/N"), this), 2, 0);
    lblSkonto = new QLabel(this);
    lblSkonto->setObjectName(QStringLiteral("lblSkonto"));
    facts->addWidget(lblSkonto, 2, 1);
    btnSkontoText = new QPushButton(QStringLiteral("S&kontotext"), this);
    btnSkontoText->setObjectName(QStringLiteral("btnSkontoText"));
    btnTeilbuchung = new QPushButton(QStringLiteral("T&eilbuchung"), this);
    btnTeilbuchung->setObjectName(QStringLiteral("btnTeilbuchung"));
    facts->addWidget(btnSkontoText, 2, 2);
    facts->addWidget(btnTeilbuchung, 2, 3);
    connect(btnSkontoText, &QPushButton::clicked, this, run([this] { cmdSkontoText(); }));
    connect(btnTeilbuchung, &QPushButton::clicked, this, run([this] { cmdPostings(); }));
    invoice->addLayout(facts);
    auto *amounts = new QGroupBox(QStringLiteral("Beträge"), this);
    amounts->setObjectName(QStringLiteral("grpBetraege"));
    auto *al = new QFormLayout(amounts);
    al->setVerticalSpacing(2);
    edtBetrag = amountField(this, "edtBetrag");
    edtNachGutschrift = amountField(this, "edtNachGutschrift");
    edtNachTeilzahlung = amountField(this, "edtNachTeilzahlung");
    edtMitSkonto = amountField(this, "edtMitSkonto");
    edtOhneSkonto = amountField(this, "edtOhneSkonto");
    lblMitSkonto = new QLabel(QStringLiteral("Ausstehender Rechnungsbetrag  mit Skonto"), this);
    lblMitSkonto->setObjectName(QStringLiteral("lblMitSkonto"));
    al->addRow(QStringLiteral("Rechnungsbetrag"), edtBetrag);
    al->addRow(QStringLiteral("Rechnungsbetrag abzüglich Gutschriften"), edtNachGutschrift);
    al->addRow(QStringLiteral("Rechnungsbetrag abzüglich Teilzahlungen"), edtNachTeilzahlung);
    al->addRow(lblMitSkonto, edtMitSkonto);
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setStyleSheet(QStringLiteral("border-top: 1px dashed gray;"));
    al->addRow(rule);
    al->addRow(QStringLiteral("Ausstehender Rechnungsbetrag ohne Skonto"), edtOhneSkonto);
    invoice->addWidget(amounts);
    bottom->addLayout(invoice, 5);

    // Contact panel
    auto *contact = new QGroupBox(QStringLiteral(" Firmendaten / Personendaten"), this);
    contact->setObjectName(QStringLiteral("grpKontakt"));
    auto *cl = new QFormLayout(contact);
    cl->setVerticalSpacing(2);
    edtPersonFirma = infoField(this, "edtPersonFirma");
    lstAnsprechpartner = new QTreeWidget(this);
    lstAnsprechpartner->setObjectName(QStringLiteral("lstAnsprechpartner"));
    lstAnsprechpartner->setColumnCount(2);
    lstAnsprechpartner->setHeaderHidden(true);
    lstAnsprechpartner->setRootIsDecorated(false);
    lstAnsprechpartner->setColumnWidth(0, 100);
    lstAnsprechpartner->setColumnWidth(1, 220);
    lstAnsprechpartner->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstAnsprechpartner->setMaximumHeight(3 * fontMetrics().height() + 10);
    connect(lstAnsprechpartner, &QTreeWidget::itemClicked, this, run([this] {
                const QTreeWidgetItem *item = lstAnsprechpartner->currentItem();
                if (item && item->data(0, Qt::UserRole).toLongLong() > 0)
                    edtTelefonAP->setText(m_store->personPhone(item->data(0, Qt::UserRole).toLongLong()));
            }));
    edtTelefonAP = infoField(this, "edtTelefonAP");
    edtTelefon = infoField(this, "edtTelefon");
    edtStrasse = infoField(this, "edtStrasse");
    edtPlz = infoField(this, "edtPlz");
    edtPlz->setMaximumWidth(70);
    edtOrt = infoField(this, "edtOrt");
    auto *town = new QHBoxLayout;
    town->addWidget(edtPlz);
    town->addWidget(edtOrt, 1);
    btnMahnung = new QPushButton(QStringLiteral("&Mahnung"), this);
    btnMahnung->setObjectName(QStringLiteral("btnMahnung"));
    connect(btnMahnung, &QPushButton::clicked, this, run([this] { cmdDunning(); }));
    cl->addRow(QStringLiteral("Person / Firma"), edtPersonFirma);
    cl->addRow(QStringLiteral("Ansprechpartner:"), lstAnsprechpartner);
    cl->addRow(QStringLiteral("Telefon Ansprechpartner:"), edtTelefonAP);
    cl->addRow(QStringLiteral("Telefon Firma / Person:"), edtTelefon);
    cl->addRow(QStringLiteral("Straße:"), edtStrasse);
    cl->addRow(QStringLiteral("PLZ / Ort"), town);
    cl->addRow(QString(), btnMahnung);
    bottom->addWidget(contact, 4);

    // Booking panel
    grpBuchen = new QGroupBox(QStringLiteral("Rechnung buchen"), this);
    grpBuchen->setObjectName(QStringLiteral("grpBuchen"));
    auto *bl = new QFormLayout(grpBuchen);
    edtGezahlt = new NumberEdit(PaymentRules::PaidField, &m_state.dialogs, this);
    edtGezahlt->setObjectName(QStringLiteral("edtGezahlt"));
    dtBuchung = new QDateEdit(QDate::currentDate(), this);
    dtBuchung->setObjectName(QStringLiteral("dtBuchung"));
    dtBuchung->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    dtBuchung->setCalendarPopup(true);
    edtRest = amountField(this, "edtRest");
    chkMitSkonto = new QCheckBox(QStringLiteral("Mit Skonto"), this);
    chkMitSkonto->setObjectName(QStringLiteral("chkMitSkonto"));
    btnErfassen = new QPushButton(QStringLiteral("&Erfassen"), this);
    btnErfassen->setObjectName(QStringLiteral("btnErfassen"));
    bl->addRow(QStringLiteral("Gezahlter Betrag"), edtGezahlt);
    bl->addRow(QStringLiteral("Datum"), dtBuchung);
    bl->addRow(QStringLiteral("Restbetrag"), edtRest);
    bl->addRow(chkMitSkonto);
    bl->addRow(btnErfassen);
    connect(edtGezahlt, &QLineEdit::textEdited, this, run([this] { recomputeRemaining(); }));
    connect(chkMitSkonto, &QCheckBox::clicked, this, run([this] { recomputeRemaining(); }));
    connect(btnErfassen, &QPushButton::clicked, this, run([this] { cmdBook(); }));
    bottom->addWidget(grpBuchen, 3);
    root->addLayout(bottom);
}

// --- loading ---------------------------------------------------------------------

void TfrmOP::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        RunCommand(m_state.dialogs, [this] { activate(); });
}

void TfrmOP::done(int result)
{
    SaveWindowPosition(this, QStringLiteral("OP"));
    QDialog::done(result);
}

void TfrmOP::activate()
{
    dtBuchung->setDate(QDate::currentDate());
    reload();
}

void TfrmOP::reload(qint64 invoice)
{
    m_loading = true;
    const QDate today = QDate::currentDate();
    m_model.setToday(today);
    const auto kind = cbSearchKind->currentIndex() == 1 ? ReceivablesStore::SearchKind::Invoice
                                                        : ReceivablesStore::SearchKind::Customer;
    const QString search = edtSearch->text();
    const OpenItemFilter filter = m_filter;
    try {
        // The first page is read here; the later ones when the list scrolls down to
        // them, where an error must not leave the event loop.
        bool first = true;
        m_model.setSource([this, kind, search, filter, today, first](const OpenItemRow *after, int limit) mutable {
            QList<OpenItemRow> page;
            if (first) {
                first = false;
                return m_store->loadList(filter, kind, search, today, after, limit);
            }
            RunCommand(m_state.dialogs, [&] { page = m_store->loadList(filter, kind, search, today, after, limit); });
            return page;
        });
    } catch (...) {
        m_model.setRows({});
        m_loading = false;
        clearPanels();
        throw;
    }
    m_loading = false;
    if (invoice > 0)
        m_model.fetchUntilInvoice(invoice);
    m_model.fetchUntilRow(m_row);
    const int wanted = invoice > 0 && m_model.rowOf(invoice) >= 0 ? m_model.rowOf(invoice) : m_row;
    selectRow(std::clamp(wanted, 0, std::max(0, int(m_model.rowCount()) - 1)));
}

void TfrmOP::selectRow(int row)
{
    m_model.fetchUntilRow(row);
    m_row = row;
    m_bookingForced = false;
    m_loading = true;
    if (m_model.row(row))
        lstItems->setCurrentIndex(m_model.index(row, 0));
    m_loading = false;
    refreshPanels();
}

const OpenItemRow *TfrmOP::currentRow() const
{
    return m_model.row(m_row);
}

void TfrmOP::setFilter(OpenItemFilter filter, bool fromButton)
{
    m_filter = filter;
    if (fromButton)
        edtSearch->clear();
    syncFilterControls();
    reload();
}

void TfrmOP::syncFilterControls()
{
    for (int i = 0; i < FilterCount; ++i) {
        btnFilter[std::size_t(i)]->setChecked(i == int(m_filter));
        actFilter[std::size_t(i)]->setChecked(i == int(m_filter));
    }
}

// --- panels ----------------------------------------------------------------------

void TfrmOP::setAmount(QLineEdit *field, const std::optional<Amount> &amount, const QColor &colour)
{
    field->setText(amount ? PaymentRules::money(*amount, m_currency) : QString());
    setTextColour(field, colour);
}

void TfrmOP::setBookingEnabled(bool enabled)
{
    grpBuchen->setEnabled(enabled);
    btnErfassen->setEnabled(enabled);
}

void TfrmOP::clearPanels()
{
    for (QLineEdit *e : {edtDatum, edtAblauf, edtGebucht, edtRNr, edtBetrag, edtNachGutschrift, edtNachTeilzahlung,
                         edtMitSkonto, edtOhneSkonto, edtPersonFirma, edtTelefonAP, edtTelefon, edtStrasse, edtPlz,
                         edtOrt, static_cast<QLineEdit *>(edtGezahlt), edtRest}) {
        e->clear();
        setTextColour(e, {});
    }
    lblSkonto->clear();
    lstAnsprechpartner->clear();
    chkMitSkonto->setChecked(false);
    m_panel = {};
    m_figures = {};
    btnMahnung->setEnabled(false);
    btnSkontoText->setEnabled(false);
    btnTeilbuchung->setEnabled(false);
    chkMitSkonto->setEnabled(false);
    setBookingEnabled(false);
}

void TfrmOP::refreshPanels()
{
    clearPanels();
    const OpenItemRow *r = currentRow();
    if (!r) {
        lblMitSkonto->setText(QStringLiteral("Ausstehender Rechnungsbetrag  mit Skonto"));
        return;
    }
    const QDate today = QDate::currentDate();
    btnMahnung->setEnabled(mayDun(*r, today, m_state.perm(16)));
    setBookingEnabled(isUnsettled(*r) || m_bookingForced);

    const ReceivablesStore::ContactPanel c = m_store->loadContact(r->customer);
    edtPersonFirma->setText(c.name);
    edtTelefon->setText(c.phone);
    edtStrasse->setText(c.street);
    edtPlz->setText(c.postcode);
    edtOrt->setText(c.town);
    for (const ReceivablesStore::ContactPerson &p : c.persons) {
        auto *item = new QTreeWidgetItem(lstAnsprechpartner, {p.position, p.name});
        item->setData(0, Qt::UserRole, p.idn);
    }
    edtTelefonAP->setText(c.contactPhone);

    const bool settled = r->booked == QLatin1String("J");
    m_figures = m_store->figures(r->invoice);
    m_panel = PaymentRules::panelAmounts(m_figures, settled);
    setAmount(edtBetrag, m_panel.invoice);
    if (m_panel.shown) {
        setAmount(edtNachGutschrift, m_panel.afterCredits, m_panel.afterCreditsColour);
        setAmount(edtNachTeilzahlung, m_panel.outstanding, m_panel.outstandingColour);
        setAmount(edtMitSkonto, m_panel.withSkonto, m_panel.withSkontoColour);
        setAmount(edtOhneSkonto, m_panel.outstanding, m_panel.withoutSkontoColour);
    }
    chkMitSkonto->setEnabled(m_panel.skontoBoxEnabled);
    btnSkontoText->setEnabled(m_panel.skontoTextEnabled);

    edtRNr->setText(PadNumber(r->invoice));
    if (!r->bookedOn.isEmpty())
        edtGebucht->setText(ToSystemDate(r->bookedOn));
    if (!r->date.isEmpty())
        edtDatum->setText(ToSystemDate(r->date));
    if (!r->dueDate.isEmpty())
        edtAblauf->setText(ToSystemDate(r->dueDate));
    lblSkonto->setText(PaymentRules::skontoLabel(r->sconto, r->skontoFlag));
    lblMitSkonto->setText(settled ? QStringLiteral("Rechnungsbetrag  mit Skonto")
                                  : QStringLiteral("Ausstehender Rechnungsbetrag  mit Skonto"));
    btnTeilbuchung->setEnabled(m_store->hasPostings(r->invoice));
    if (settled)
        edtOhneSkonto->clear();
    recomputeRemaining();
    if (!m_panel.negativeWarning.isEmpty())
        m_state.dialogs.warning(m_panel.negativeWarning);
}

void TfrmOP::recomputeRemaining()
{
    for (;;) {
        const Amount reference = PaymentRules::referenceAmount(m_panel, chkMitSkonto->isChecked());
        const PaymentRules::Remaining r = PaymentRules::remaining(reference, edtGezahlt->text());
        if (r.invalid) {
            edtRest->clear();
            return;
        }
        setAmount(edtRest, r.value, r.value < Amount() ? QColor(Qt::red) : QColor(Qt::black));
        if (!r.overpaid)
            return;
        if (m_state.dialogs.question(PaymentRules::OverpaymentQuestion, Dialogs::Buttons::YesNo,
                                     QStringLiteral("Warnung"))
            == Dialogs::Answer::Yes)
            return;
        QString typed = edtGezahlt->text();
        typed.chop(1);
        edtGezahlt->setText(typed);
        edtGezahlt->setCursorPosition(int(typed.size()));
    }
}

// --- commands --------------------------------------------------------------------

void TfrmOP::cmdBook()
{
    const OpenItemRow *r = currentRow();
    if (!r || !btnErfassen->isEnabled())
        return;
    const bool withSkonto = chkMitSkonto->isChecked();
    const QString typed = edtGezahlt->text();
    const std::optional<PaymentRules::Booking> booking =
        PaymentRules::planBooking(PaymentRules::referenceAmount(m_panel, withSkonto), typed, withSkonto);
    if (!booking) {
        m_state.dialogs.warning(PaymentRules::invalidPaidMessage(typed));
        return;
    }
    PaymentRules::Booking planned = *booking;
    if (withSkonto) {
        // A Skonto taken after its period is the customer's wish, not his right.
        const std::optional<QDate> deadline = m_store->skontoDeadline(r->invoice);
        planned.skontoLate = PaymentRules::skontoLate(deadline, dtBuchung->date());
        if (planned.skontoLate
            && m_state.dialogs.question(PaymentRules::lateSkontoQuestion(*deadline), Dialogs::Buttons::YesNo)
                   != Dialogs::Answer::Yes)
            return;
    }
    if (m_state.dialogs.question(PaymentRules::bookingQuestion(booking->remaining, m_currency, withSkonto),
                                 Dialogs::Buttons::YesCancel)
        != Dialogs::Answer::Yes)
        return;
    const qint64 invoice = r->invoice;
    m_store->book(invoice, m_figures, planned, dtBuchung->date());
    reload(m_filter == OpenItemFilter::All ? invoice : 0);
}

void TfrmOP::cmdChangeBooking()
{
    if (!currentRow())
        return;
    m_bookingForced = true;
    setBookingEnabled(true);
    edtGezahlt->setFocus();
}

void TfrmOP::cmdDunning()
{
    const OpenItemRow *r = currentRow();
    if (!r || !m_dunning || !btnMahnung->isEnabled())
        return;
    TfrmMahnung::Request request;
    request.customer = r->customer;
    request.project = r->project;
    request.uid = r->uid;
    request.eFirma = r->company;
    request.invoice = r->invoice;
    request.amount = OpenItemsModel::cellText(*r, OpenItemsModel::Betrag);
    m_dunning->prepare(request);
    m_showDunning(*m_dunning);
    if (m_dunning->wasSaved())
        reload();
}

void TfrmOP::cmdSkontoText()
{
    const OpenItemRow *r = currentRow();
    if (!r)
        return;
    const auto [text, percent] = m_store->skontoText(r->invoice);
    const QString message = PaymentRules::skontoMessage(percent, text, r->amount, m_currency);
    if (!message.isEmpty())
        m_state.dialogs.information(message);
}

void TfrmOP::cmdPostings()
{
    if (const OpenItemRow *r = currentRow())
        m_state.dialogs.information(PaymentRules::postingsMessage(m_store->postings(r->invoice), m_currency));
}

OpenItemsReport TfrmOP::report()
{
    OpenItemsReport report;
    report.filterName = filterCaption(m_filter);
    report.date = QDate::currentDate();
    report.currency = m_currency;
    m_model.fetchAll();
    report.rows = m_model.rows();
    report.outstanding = m_store->outstandingAmounts(report.rows);
    return report;
}

QString TfrmOP::suggestedFile(const QString &suffix) const
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(dir).filePath(QStringLiteral("Offene Posten %1 %2.%3")
                                  .arg(filterCaption(m_filter), QDate::currentDate().toString(Qt::ISODate), suffix));
}

void TfrmOP::cmdPrintList()
{
    // Without an installed printer the list goes into a PDF file.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        cmdPdfList();
        return;
    }
    const OpenItemsReport list = report();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Offene Posten"));
    if (!m_choosePrinter(printer))
        return;
    list.paint(printer);
}

void TfrmOP::cmdPdfList()
{
    const QString path = m_state.dialogs.saveFileName(QStringLiteral("Liste als PDF speichern"), suggestedFile(
                                                          QStringLiteral("pdf")),
                                                      QStringLiteral("PDF-Dateien (*.pdf)"));
    if (path.isEmpty())
        return;
    report().writePdf(path);
}

void TfrmOP::cmdCsvList()
{
    const QString path = m_state.dialogs.saveFileName(QStringLiteral("Liste als CSV speichern"),
                                                      suggestedFile(QStringLiteral("csv")),
                                                      QStringLiteral("CSV-Dateien (*.csv)"));
    if (path.isEmpty())
        return;
    report().writeCsv(path);
}
