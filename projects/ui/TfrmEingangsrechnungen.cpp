#include "TfrmEingangsrechnungen.h"

#include "AppState.h"
#include "Dialogs.h"
#include "Errors.h"
#include "Formats.h"
#include "TfrmEingangsrechnung.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QStringList Headers = {QStringLiteral("Fällig"),  QStringLiteral("Lieferant"), QStringLiteral("Rechnungs-Nr."),
                             QStringLiteral("Datum"),   QStringLiteral("Betrag"),    QStringLiteral("Status"),
                             QStringLiteral("Prüfung"), QStringLiteral("Eingang"),   QStringLiteral("Datei")};

QString dateText(const QDate &d)
{
    return d.isValid() ? DateToStr(d) : QString();
}

} // namespace

TfrmEingangsrechnungen::TfrmEingangsrechnungen(AppState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("frmEingangsrechnungen"));
    setWindowTitle(QStringLiteral("Eingangsrechnungen"));
    resize(980, 520);
    auto *layout = new QVBoxLayout(this);
    tblInvoices = new QTableWidget(0, int(Headers.size()), this);
    tblInvoices->setObjectName(QStringLiteral("tblInvoices"));
    tblInvoices->setHorizontalHeaderLabels(Headers);
    tblInvoices->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblInvoices->setSelectionMode(QAbstractItemView::SingleSelection);
    tblInvoices->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblInvoices->verticalHeader()->hide();
    tblInvoices->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    layout->addWidget(tblInvoices, 1);
    layout->addWidget(lblSummary);
    auto *buttons = new QHBoxLayout;
    btnAdd = new QPushButton(QStringLiteral("E-Rechnung ö&ffnen…"), this);
    btnAdd->setObjectName(QStringLiteral("btnAdd"));
    btnShow = new QPushButton(QStringLiteral("&Anzeigen"), this);
    btnShow->setObjectName(QStringLiteral("btnShow"));
    btnState = new QPushButton(QStringLiteral("Als &bezahlt markieren"), this);
    btnState->setObjectName(QStringLiteral("btnState"));
    btnSave = new QPushButton(QStringLiteral("&Originaldatei speichern…"), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnClose = new QPushButton(QStringLiteral("&Schließen"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    buttons->addWidget(btnAdd);
    buttons->addStretch(1);
    buttons->addWidget(btnShow);
    buttons->addWidget(btnState);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);
    connect(btnAdd, &QPushButton::clicked, this, &TfrmEingangsrechnungen::cmdAdd);
    connect(btnShow, &QPushButton::clicked, this, &TfrmEingangsrechnungen::cmdShow);
    connect(btnState, &QPushButton::clicked, this, &TfrmEingangsrechnungen::cmdToggleState);
    connect(btnSave, &QPushButton::clicked, this, [this] { cmdSaveOriginal(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(tblInvoices, &QTableWidget::cellDoubleClicked, this, [this] { cmdShow(); });
    connect(tblInvoices, &QTableWidget::currentCellChanged, this, [this] { updateButtons(); });
    reload();
}

const FiledInvoice *TfrmEingangsrechnungen::current() const
{
    const int row = tblInvoices->currentRow();
    return row >= 0 && row < m_rows.size() ? &m_rows.at(row) : nullptr;
}

void TfrmEingangsrechnungen::reload()
{
    const qint64 keep = current() ? current()->id : 0;
    try {
        m_rows = ReceivedInvoiceStore(m_state.db, m_state.dmCommon).list();
    } catch (const OrvellaError &e) {
        m_rows.clear();
        m_state.dialogs.error(e.message());
    }
    const QDate today = QDate::currentDate();
    tblInvoices->setRowCount(int(m_rows.size()));
    Amount openSum;
    int open = 0, keepRow = -1;
    for (int r = 0; r < m_rows.size(); ++r) {
        const FiledInvoice &f = m_rows.at(r);
        const Amount signedGross = f.creditNote ? -f.gross : f.gross;
        if (f.open()) {
            ++open;
            openSum += signedGross;
        }
        const QStringList texts = {dateText(f.due),
                                   f.supplier,
                                   f.number + (f.creditNote ? QStringLiteral(" (Gutschrift)") : QString()),
                                   dateText(f.date),
                                   signedGross.toText() + QStringLiteral(" €"),
                                   f.state,
                                   f.failed() ? QStringLiteral("fehlerhaft") : QStringLiteral("in Ordnung"),
                                   dateText(f.received),
                                   f.fileName};
        const bool overdue = f.open() && f.due.isValid() && f.due <= today;
        for (int c = 0; c < texts.size(); ++c) {
            auto *item = new QTableWidgetItem(texts.at(c));
            if (c == 4)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (overdue)
                item->setForeground(Qt::red);
            else if (!f.open())
                item->setForeground(Qt::gray);
            if (c == 6 && f.failed()) {
                item->setForeground(QColor(0xb0, 0, 0));
                item->setToolTip(f.failures);
            }
            tblInvoices->setItem(r, c, item);
        }
        if (f.id == keep)
            keepRow = r;
    }
    tblInvoices->resizeColumnsToContents();
    tblInvoices->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    if (!m_rows.isEmpty())
        tblInvoices->setCurrentCell(keepRow >= 0 ? keepRow : 0, 0);
    lblSummary->setText(QStringLiteral("%1 abgelegte Rechnung(en), davon %2 offen über %3 €")
                            .arg(m_rows.size())
                            .arg(open)
                            .arg(openSum.toText()));
    updateButtons();
}

void TfrmEingangsrechnungen::updateButtons()
{
    const FiledInvoice *f = current();
    btnShow->setEnabled(f);
    btnSave->setEnabled(f);
    btnState->setEnabled(f);
    btnState->setText(f && !f->open() ? QStringLiteral("Als &offen markieren") : QStringLiteral("Als &bezahlt markieren"));
}

void TfrmEingangsrechnungen::cmdShow()
{
    const FiledInvoice *f = current();
    if (!f)
        return;
    TfrmEingangsrechnung window(m_state, this);
    if (window.openFiled(f->id))
        window.exec();
}

void TfrmEingangsrechnungen::cmdToggleState()
{
    const FiledInvoice *f = current();
    if (!f)
        return;
    try {
        ReceivedInvoiceStore(m_state.db, m_state.dmCommon)
            .setState(f->id, f->open() ? ReceivedInvoiceStore::Paid : ReceivedInvoiceStore::Open);
    } catch (const OrvellaError &e) {
        m_state.dialogs.error(e.message());
    }
    reload();
}

bool TfrmEingangsrechnungen::cmdSaveOriginal()
{
    const FiledInvoice *f = current();
    if (!f)
        return false;
    try {
        const QByteArray bytes = ReceivedInvoiceStore(m_state.db, m_state.dmCommon).content(f->id);
        const QString path = m_state.dialogs.saveFileName(QStringLiteral("Originaldatei speichern"),
                                                          QDir::home().filePath(f->fileName),
                                                          QStringLiteral("Alle Dateien (*)"));
        if (path.isEmpty())
            return false;
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
            m_state.dialogs.error(QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: %2").arg(path, out.errorString()));
            return false;
        }
        return true;
    } catch (const OrvellaError &e) {
        m_state.dialogs.error(e.message());
        return false;
    }
}

void TfrmEingangsrechnungen::cmdAdd()
{
    TfrmEingangsrechnung window(m_state, this);
    if (window.cmdOpen())
        window.exec();
    m_createdSupplier = m_createdSupplier || window.createdSupplier();
    reload();
}
