#include "TVorgang.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "DialogParts.h"
#include "LineListModel.h"
#include "ProjectSearchFields.h"
#include "Settings.h"
#include "WindowPlacement.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QTableView *listView(const char *name, QAbstractItemModel *model, QWidget *parent)
{
    auto *v = new QTableView(parent);
    v->setObjectName(QLatin1String(name));
    v->setModel(model);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->verticalHeader()->hide();
    v->verticalHeader()->setDefaultSectionSize(v->fontMetrics().height() + 4);
    v->setWordWrap(false);
    return v;
}

} // namespace

TVorgang::TVorgang(AppState &state, QWidget *parent)
    : QDialog(parent, DialogParts::Flags), m_state(state), m_store(state.db),
      m_documents(state.db, state.dialogs, ReadCurrency(state.ExeDir)), m_details(DocumentKind::Angebot,
                                                                                  ReadCurrency(state.ExeDir))
{
    setObjectName(QStringLiteral("TVorgang"));
    setModal(true);

    grpSuche = new ProjectSearchFields(state.dialogs, ProjectSearchFields::Style::TakeOver, this);
    grpSuche->setKinds({DocumentKind::Angebot, DocumentKind::Auftrag, DocumentKind::Lieferschein,
                        DocumentKind::Rechnung, DocumentKind::Gutschrift, DocumentKind::Ablage});

    auto *results = new QGroupBox(QStringLiteral("&Ergebnisliste"), this);
    m_results = new ProjectSearchModel(this);
    tblResults = listView("tblResults", m_results, results);
    const QFontMetrics fm = tblResults->horizontalHeader()->fontMetrics();
    const int widths[] = {fm.horizontalAdvance(QStringLiteral("Projekt Nr.")) + 20, 150,
                          fm.horizontalAdvance(QStringLiteral("Lieferschein 000000")) + 12,
                          fm.horizontalAdvance(QStringLiteral("00.00.0000")) + 16, 150};
    for (int c = 0; c < ProjectSearchModel::BelegNr; ++c)
        tblResults->setColumnWidth(c, widths[c]);
    tblResults->setColumnHidden(ProjectSearchModel::BelegNr, true);
    tblResults->setColumnHidden(ProjectSearchModel::KNr, true);
    tblResults->horizontalHeader()->setStretchLastSection(true);
    lblResult = new QLabel(results);
    lblResult->setObjectName(QStringLiteral("lblResult"));
    auto *rl = new QVBoxLayout(results);
    rl->addWidget(tblResults, 1);
    rl->addWidget(lblResult);

    auto *details = new QGroupBox(QStringLiteral("&Vorgang Details"), this);
    m_detailModel = new LineListModel(&m_details.lines, this);
    tblDetails = listView("tblDetails", m_detailModel, details);
    const int lineWidths[] = {25, 60, 263, 44, 80, 80, 59};
    for (int c = 0; c < LineListModel::VisibleColumns; ++c)
        tblDetails->setColumnWidth(c, lineWidths[c]);
    tblDetails->horizontalHeader()->setSectionResizeMode(LineList::Bezeichnung, QHeaderView::Stretch);
    (new QVBoxLayout(details))->addWidget(tblDetails);

    btnUebernehmen = DialogParts::button(QStringLiteral("&Übernehmen"), QStringLiteral("btnUebernehmen"), this);
    btnAbbrechen = DialogParts::button(QStringLiteral("&Abbrechen"), QStringLiteral("btnAbbrechen"), this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 6);
    layout->addWidget(DialogParts::closeBar(this));
    layout->addWidget(grpSuche);
    layout->addWidget(results, 2);
    layout->addWidget(details, 3);
    layout->addLayout(DialogParts::buttonRow({btnUebernehmen, btnAbbrechen}));
    // Taller than the 642 × 509 of old, so both lists show more than two rows.
    ResizeWithinScreen(this, QSize(642, 600));

    const auto guarded = [this](auto f) { return Guarded(m_state.dialogs, f); };
    connect(grpSuche, &ProjectSearchFields::kindChanged, this, guarded([this] { kindChanged(); }));
    connect(grpSuche, &ProjectSearchFields::contactsChanged, this, guarded([this] {
        fillNumberLists();
        search();
    }));
    // Every change of the criteria searches again.
    for (auto signal : {&ProjectSearchFields::numberChosen, &ProjectSearchFields::datesChanged,
                        &ProjectSearchFields::searchRequested})
        connect(grpSuche, signal, this, guarded([this] { search(); }));
    connect(tblResults->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                RunCommand(m_state.dialogs, [this, current] { showDetails(current.row()); });
            });
    connect(tblResults, &QTableView::doubleClicked, this, guarded([this] { takeOver(); }));
    connect(tblDetails, &QTableView::doubleClicked, this, guarded([this] { takeOver(); }));
    connect(btnUebernehmen, &QPushButton::clicked, this, guarded([this] { takeOver(); }));
    connect(btnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

void TVorgang::prepare(DocumentKind target)
{
    m_chosen.reset();
    {
        const QSignalBlocker block(grpSuche);
        grpSuche->selectKind(target);
    }
    if (parentWidget())
        move(parentWidget()->window()->pos() + QPoint(10, 10));
    kindChanged();
}

void TVorgang::kindChanged()
{
    setWindowTitle(QStringLiteral("aus ") + grpSuche->cbVorgangsart->currentText() + QStringLiteral(" übernehmen"));
    fillNumberLists();
    search();
}

void TVorgang::fillNumberLists()
{
    grpSuche->setNumberLists(m_store.customerNumbers(grpSuche->kind(), grpSuche->persons()),
                             m_store.projectNumbers(grpSuche->kind(), grpSuche->persons()));
}

void TVorgang::search()
{
    m_results->setRows({});
    showDetails(-1);
    ProjectSearch criteria = grpSuche->criteria();
    criteria.byProjectDate = true; // "Projekt erstellt"
    m_results->setRows(m_store.search(criteria));
    const bool found = m_results->rowCount() > 0;
    lblResult->setText(found ? QString() : QStringLiteral("Es wurde kein passender Vorgang gefunden."));
    btnUebernehmen->setEnabled(found);
    if (found)
        tblResults->selectRow(0); // shows its details
}

void TVorgang::showDetails(int row)
{
    if (row < 0 || row >= m_results->rowCount()) {
        m_details = Document(m_details.kind, ReadCurrency(m_state.ExeDir));
    } else {
        const ProjectSearchRow &r = m_results->rows().at(row);
        m_details = m_documents.load(*r.kind, r.number).document;
    }
    m_detailModel->refresh();
}

void TVorgang::takeOver()
{
    const int row = tblResults->currentIndex().row();
    if (row < 0 || row >= m_results->rowCount())
        return;
    m_chosen = m_details;
    accept();
}

std::optional<Document> PickExistingDocument(AppState &state, DocumentKind target, QWidget *parent)
{
    std::unique_ptr<TVorgang> owned;
    TVorgang *window = parent ? parent->findChild<TVorgang *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window) {
        window = new TVorgang(state, parent);
        if (!parent)
            owned.reset(window);
    }
    window->prepare(target);
    window->exec();
    return window->chosen();
}
