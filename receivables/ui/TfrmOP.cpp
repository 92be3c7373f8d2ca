#include "TfrmOP.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "Formats.h"
#include "ReceivablesStore.h"
#include "Settings.h"
#include "TfrmMahnung.h"
#include "WindowHub.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>

using namespace OpenItemRules;

TfrmOP::TfrmOP(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_store(std::make_unique<ReceivablesStore>(state.db, state.dmCommon)),
      m_currency(ReadCurrency(state.ExeDir))
{
    setObjectName(QStringLiteral("TfrmOP"));
    setWindowTitle(QStringLiteral("offene / überfällige Rechnungen"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    buildForm(this, &m_model, m_state.dialogs);
    connectControls();
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

void TfrmOP::connectControls()
{
    const auto run = [this](const std::function<void()> &f) { return [this, f] { RunCommand(m_state.dialogs, f); }; };
    connect(btnPrintList, &QToolButton::clicked, this, run([this] { cmdPrintList(); }));
    connect(actPrintList, &QAction::triggered, this, run([this] { cmdPrintList(); }));
    connect(actPdfList, &QAction::triggered, this, run([this] { cmdPdfList(); }));
    connect(actCsvList, &QAction::triggered, this, run([this] { cmdCsvList(); }));
    connect(btnKontoauszug, &QToolButton::clicked, this, run([this] {
                if (m_state.hub)
                    m_state.hub->showBankStatements();
                reload(); // the payments booked
            }));
    connect(edtSearch, &QLineEdit::textEdited, this, run([this] { reload(); }));
    connect(cbSearchKind, &QComboBox::activated, this, run([this] {
                edtSearch->clear();
                reload();
            }));
    for (int i = 0; i < FilterCount; ++i) {
        const auto f = OpenItemFilter(i);
        connect(btnFilter[std::size_t(i)], &QPushButton::clicked, this, run([this, f] { setFilter(f, true); }));
        connect(actFilter[std::size_t(i)], &QAction::triggered, this, run([this, f] { setFilter(f, false); }));
    }
    connect(btnWeiter, &QPushButton::clicked, this, run([this] { setFilter(nextFilter(m_filter), true); }));
    connect(actChangeBooking, &QAction::triggered, this, run([this] { cmdChangeBooking(); }));
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
    connect(btnSkontoText, &QPushButton::clicked, this, run([this] { cmdSkontoText(); }));
    connect(btnTeilbuchung, &QPushButton::clicked, this, run([this] { cmdPostings(); }));
    connect(lstAnsprechpartner, &QTreeWidget::itemClicked, this, run([this] {
                const QTreeWidgetItem *item = lstAnsprechpartner->currentItem();
                if (item && item->data(0, Qt::UserRole).toLongLong() > 0)
                    edtTelefonAP->setText(m_store->personPhone(item->data(0, Qt::UserRole).toLongLong()));
            }));
    connect(btnMahnung, &QPushButton::clicked, this, run([this] { cmdDunning(); }));
    connect(edtGezahlt, &QLineEdit::textEdited, this, run([this] { recomputeRemaining(); }));
    connect(chkMitSkonto, &QCheckBox::clicked, this, run([this] { recomputeRemaining(); }));
    connect(btnErfassen, &QPushButton::clicked, this, run([this] { cmdBook(); }));
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
