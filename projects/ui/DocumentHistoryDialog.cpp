#include "DocumentHistoryDialog.h"

#include "AppState.h"
#include "Dialogs.h"
#include "Formats.h"
#include "InvoiceTerms.h"
#include "LineListModel.h"
#include "Settings.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString addressText(const DocumentAddress &a)
{
    QStringList lines;
    for (const QString &l : {a.name, a.street, a.postcodeTown})
        if (!l.trimmed().isEmpty())
            lines << l.toHtmlEscaped();
    return lines.join(QStringLiteral("<br>"));
}

QTableView *readOnlyTable(const char *name, QAbstractItemModel *model, QWidget *parent)
{
    auto *t = new QTableView(parent);
    t->setObjectName(QLatin1String(name));
    t->setModel(model);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->verticalHeader()->setVisible(false);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return t;
}

} // namespace

DocumentHistoryDialog::DocumentHistoryDialog(const QList<DocumentHistory::Version> &versions, DocumentKind kind,
                                             qint64 number, QWidget *parent)
    : QDialog(parent), m_versions(versions), m_shown(kind)
{
    setObjectName(QStringLiteral("DocumentHistoryDialog"));
    setWindowTitle(QStringLiteral("Verlauf %1 %2")
                       .arg(kind == DocumentKind::Gutschrift ? QStringLiteral("der Gutschrift")
                                                             : QStringLiteral("der Rechnung"),
                            PadNumber(number)));
    auto *root = new QVBoxLayout(this);
    root->addWidget(new QLabel(QStringLiteral("Frühere Fassungen, jeweils so, wie sie vor der Änderung gespeichert "
                                              "waren (neueste zuerst):"),
                               this));
    tblVersions = new QTableWidget(int(versions.size()), 6, this);
    tblVersions->setObjectName(QStringLiteral("tblVersions"));
    tblVersions->setHorizontalHeaderLabels({QStringLiteral("Geändert am"), QStringLiteral("Benutzer"),
                                            QStringLiteral("Arbeitsplatz"), QStringLiteral("Belegdatum"),
                                            QStringLiteral("Nettowert"), kind.grossHeading()});
    tblVersions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblVersions->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblVersions->setSelectionMode(QAbstractItemView::SingleSelection);
    tblVersions->verticalHeader()->setVisible(false);
    for (int r = 0; r < versions.size(); ++r) {
        const DocumentHistory::Version &v = versions[r];
        const QStringList cells = {v.time, v.user, v.workstation, v.document.date, v.document.totals.net(),
                                   v.document.totals.gross()};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c >= 4)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tblVersions->setItem(r, c, item);
        }
    }
    tblVersions->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblVersions->horizontalHeader()->setStretchLastSection(true);
    tblVersions->setMaximumHeight(tblVersions->fontMetrics().height() * 8);
    root->addWidget(tblVersions);

    lblHead = new QLabel(this);
    lblHead->setObjectName(QStringLiteral("lblHead"));
    lblHead->setTextFormat(Qt::RichText);
    lblHead->setTextInteractionFlags(Qt::TextSelectableByMouse);
    root->addWidget(lblHead);
    m_lines = new LineListModel(&m_shown.lines, this);
    m_totals = new TotalsListModel(&m_shown.totals, this);
    tblLines = readOnlyTable("tblLines", m_lines, this);
    tblLines->horizontalHeader()->setSectionResizeMode(LineList::Bezeichnung, QHeaderView::Stretch);
    root->addWidget(tblLines, 1);
    tblTotals = readOnlyTable("tblTotals", m_totals, this);
    tblTotals->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tblTotals->setMaximumHeight(tblTotals->fontMetrics().height() * 6 + 16);
    root->addWidget(tblTotals);
    memText = new QPlainTextEdit(this);
    memText->setObjectName(QStringLiteral("memText"));
    memText->setReadOnly(true);
    memText->setMaximumHeight(memText->fontMetrics().height() * 5 + 12);
    root->addWidget(memText);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("&Schließen"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    root->addWidget(buttons);

    connect(tblVersions, &QTableWidget::currentCellChanged, this, [this](int row) { showVersion(row); });
    resize(860, 620);
    if (!versions.isEmpty())
        tblVersions->selectRow(0);
}

void DocumentHistoryDialog::showVersion(int row)
{
    if (row < 0 || row >= m_versions.size())
        return;
    const DocumentHistory::Version &v = m_versions[row];
    m_shown = v.document;
    m_lines->setLines(&m_shown.lines);
    m_totals->setTotals(&m_shown.totals);
    m_lines->refresh();
    m_totals->refresh();
    const InvoiceTerms::ServiceDateText service = InvoiceTerms::serviceDate(m_shown);
    QString head = QStringLiteral("<b>Datum:</b> %1 &nbsp; <b>%2</b> %3").arg(m_shown.date, service.label, service.value);
    if (!v.issued.isEmpty())
        head += QStringLiteral(" &nbsp; <b>ausgestellt:</b> %1").arg(v.issued.toHtmlEscaped());
    head += QStringLiteral("<br><b>Anschrift:</b> %1").arg(addressText(m_shown.address));
    const QString second = addressText(m_shown.secondAddress);
    if (!second.isEmpty())
        head += QStringLiteral("<br><b>%1:</b> %2").arg(m_shown.kind.secondAddressArt(), second);
    if (!m_shown.skontoPercent.isEmpty())
        head += QStringLiteral("<br><b>Skonto:</b> %1 %2 %").arg(m_shown.skontoText.toHtmlEscaped(),
                                                                  m_shown.skontoPercent.toHtmlEscaped());
    lblHead->setText(head);
    memText->setPlainText(m_shown.textBoxText());
}

void ShowDocumentHistory(AppState &state, DocumentKind kind, qint64 number, QWidget *parent)
{
    const QList<DocumentHistory::Version> versions =
        DocumentHistory::versions(state.db, kind, number, ReadCurrency(state.ExeDir));
    if (versions.isEmpty()) {
        state.dialogs.information(QStringLiteral("Von %1 %2 gibt es keine früheren Fassungen.")
                                      .arg(kind == DocumentKind::Gutschrift ? QStringLiteral("der Gutschrift")
                                                                            : QStringLiteral("der Rechnung"),
                                           PadNumber(number)));
        return;
    }
    DocumentHistoryDialog dialog(versions, kind, number, parent);
    dialog.exec();
}
