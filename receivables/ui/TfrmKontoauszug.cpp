#include "TfrmKontoauszug.h"

#include "AppState.h"
#include "Dialogs.h"
#include "DocumentHistory.h"
#include "Formats.h"
#include "OpenItem.h"
#include "Payment.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Larger files are no statements of a small business; reading them would only
// fill the memory.
constexpr qint64 LargestFile = 20 * 1024 * 1024;

const QColor Uncertain(255, 236, 170);
const QColor Grey(128, 128, 128);

} // namespace

TfrmKontoauszug::TfrmKontoauszug(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_store(std::make_unique<BankImportStore>(state.db, state.dmCommon)),
      m_review(std::make_unique<StatementReview>(*m_store))
{
    setObjectName(QStringLiteral("frmKontoauszug"));
    setWindowTitle(QStringLiteral("Kontoauszug"));
    resize(1100, 560);
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    btnOpen = new QPushButton(QStringLiteral("Auszug &einlesen…"), this);
    btnOpen->setObjectName(QStringLiteral("btnOpen"));
    lblFiles = new QLabel(this);
    lblFiles->setObjectName(QStringLiteral("lblFiles"));
    top->addWidget(btnOpen);
    top->addWidget(lblFiles, 1);
    layout->addLayout(top);

    tblEntries = new QTableWidget(0, ColumnCount, this);
    tblEntries->setObjectName(QStringLiteral("tblEntries"));
    tblEntries->setHorizontalHeaderLabels({QStringLiteral("Buchen"), QStringLiteral("Datum"), QStringLiteral("Zahler"),
                                           QStringLiteral("Verwendungszweck"), QStringLiteral("Betrag"),
                                           QStringLiteral("Rechnung(en)"), QStringLiteral("Zuordnung")});
    tblEntries->verticalHeader()->hide();
    tblEntries->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblEntries->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                | QAbstractItemView::AnyKeyPressed);
    tblEntries->horizontalHeader()->setSectionResizeMode(ColPurpose, QHeaderView::Stretch);
    tblEntries->setColumnWidth(ColBook, 60);
    tblEntries->setColumnWidth(ColDate, 85);
    tblEntries->setColumnWidth(ColPayer, 180);
    tblEntries->setColumnWidth(ColAmount, 100);
    tblEntries->setColumnWidth(ColNote, 260);
    layout->addWidget(tblEntries, 1);

    auto *bottom = new QHBoxLayout;
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    btnBook = new QPushButton(QStringLiteral("&Buchen"), this);
    btnBook->setObjectName(QStringLiteral("btnBook"));
    btnClose = new QPushButton(QStringLiteral("&Schließen"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    bottom->addWidget(lblSummary, 1);
    bottom->addWidget(btnBook);
    bottom->addWidget(btnClose);
    layout->addLayout(bottom);

    connect(btnOpen, &QPushButton::clicked, this, [this] { cmdOpen(); });
    connect(btnBook, &QPushButton::clicked, this, &TfrmKontoauszug::cmdBook);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(tblEntries, &QTableWidget::cellChanged, this, &TfrmKontoauszug::cellChanged);
    fill();
}

TfrmKontoauszug::~TfrmKontoauszug() = default;

bool TfrmKontoauszug::cmdOpen()
{
    const QStringList files = m_state.dialogs.openFileNames(
        QStringLiteral("Kontoauszug einlesen"), QString(),
        QStringLiteral("Kontoauszüge (*.xml *.sta *.mt940 *.940 *.txt);;Alle Dateien (*)"));
    return !files.isEmpty() && load(files);
}

bool TfrmKontoauszug::load(const QStringList &files)
{
    QList<StatementSource> sources;
    QString problem;
    for (const QString &path : files) {
        const QString name = QFileInfo(path).fileName();
        QFile f(path);
        if (QFileInfo(path).size() > LargestFile)
            problem = QStringLiteral("Die Datei „%1“ ist größer als 20 MiB und damit kein Kontoauszug. Es wurde "
                                     "nichts eingelesen.")
                          .arg(name);
        else if (!f.open(QIODevice::ReadOnly))
            problem = QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2. Es wurde nichts eingelesen.")
                          .arg(name, f.errorString());
        if (!problem.isEmpty())
            break;
        sources << StatementSource{name, f.readAll()};
    }
    if (problem.isEmpty())
        problem = m_review->load(sources, DocumentEditor::of(m_state).user);
    else
        m_review->load({}, QString());
    QStringList names;
    for (const QString &path : files)
        names << QFileInfo(path).fileName();
    lblFiles->setText(problem.isEmpty() ? names.join(QStringLiteral(", ")) : QString());
    fill();
    if (!problem.isEmpty()) {
        m_state.dialogs.error(problem);
        return false;
    }
    return true;
}

void TfrmKontoauszug::fill()
{
    m_filling = true;
    tblEntries->setRowCount(int(m_review->rows().size()));
    for (int row = 0; row < tblEntries->rowCount(); ++row)
        fillRow(row);
    m_filling = false;
    int toBook = 0;
    for (const ReviewRow &r : m_review->rows())
        toBook += r.state == ReviewRow::State::ToBook;
    lblSummary->setText(QStringLiteral("%1 Einträge, %2 zum Buchen ausgewählt").arg(m_review->rows().size()).arg(toBook));
    btnBook->setEnabled(toBook > 0 && m_state.perm(15));
}

void TfrmKontoauszug::fillRow(int row)
{
    const ReviewRow &r = m_review->rows()[row];
    const StatementEntry &e = r.booking.entry;
    const bool open = r.state == ReviewRow::State::ToBook || r.state == ReviewRow::State::Skipped;
    const QString amount = (e.credit ? QString() : QStringLiteral("-")) + PaymentRules::money(e.amount, QStringLiteral("€"));
    const QStringList texts = {QString(), DateToStr(e.bookingDate), e.counterpartyName, e.purpose, amount,
                               InvoiceNumbersText(r.booking.invoices), r.note};
    QColor background;
    if (r.state == ReviewRow::State::ToBook)
        background = OpenItemRules::MoneyGreen;
    else if (r.match.certainty == MatchCertainty::Uncertain && open)
        background = Uncertain;
    for (int c = 0; c < ColumnCount; ++c) {
        // Items are changed in place: a cell's change signal may be what called
        // this, and its item must outlive it.
        QTableWidgetItem *item = tblEntries->item(row, c);
        if (!item) {
            item = new QTableWidgetItem;
            tblEntries->setItem(row, c, item);
        }
        item->setText(texts[c]);
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (c == ColBook && open) {
            flags |= Qt::ItemIsUserCheckable;
            item->setCheckState(r.state == ReviewRow::State::ToBook ? Qt::Checked : Qt::Unchecked);
        } else if (c == ColBook) {
            item->setData(Qt::CheckStateRole, QVariant()); // booked or not bookable: no box
        }
        if (c == ColInvoices && open)
            flags |= Qt::ItemIsEditable;
        item->setFlags(flags);
        if (c == ColAmount)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        item->setBackground(background.isValid() ? QBrush(background) : QBrush());
        item->setForeground(open ? QBrush() : QBrush(Grey));
        item->setToolTip(c == ColPurpose || c == ColNote ? texts[c] : QString());
    }
}

void TfrmKontoauszug::cellChanged(int row, int column)
{
    if (m_filling)
        return;
    if (column == ColBook) {
        // the review decides which rows can be booked
        const bool checked = tblEntries->item(row, column)->checkState() == Qt::Checked;
        m_review->setChosen(row, checked);
        if (checked && m_review->rows()[row].state != ReviewRow::State::ToBook)
            m_state.dialogs.information(
                QStringLiteral("Tragen Sie zuerst die Rechnung(en) ein, die dieser Eintrag bezahlt."));
    } else if (column == ColInvoices) {
        const QString problem = m_review->setInvoices(row, tblEntries->item(row, column)->text());
        if (!problem.isEmpty())
            m_state.dialogs.warning(problem);
    } else {
        return;
    }
    fill();
}

void TfrmKontoauszug::cmdBook()
{
    if (!m_state.perm(15))
        return;
    const StatementReview::Outcome outcome = m_review->book([this](const ReviewRow &r) {
        return m_state.dialogs.question(QStringLiteral("%1 %2: %3")
                                            .arg(DateToStr(r.booking.entry.bookingDate), r.booking.entry.counterpartyName,
                                                 PaymentRules::OverpaymentQuestion))
               == Dialogs::Answer::Yes;
    });
    fill();
    QString text = QStringLiteral("%1 Einträge gebucht.").arg(outcome.booked);
    if (!outcome.failures.isEmpty()) {
        text += QStringLiteral("\n\nNicht gebucht:\n") + outcome.failures.join(QLatin1Char('\n'));
        m_state.dialogs.warning(text);
    } else {
        m_state.dialogs.information(text);
    }
}
