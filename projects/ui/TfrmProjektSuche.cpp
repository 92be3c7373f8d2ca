#include "TfrmProjektSuche.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "DialogParts.h"
#include "Dialogs.h"
#include "DocumentPage.h"
#include "DunningPage.h"
#include "Formats.h"
#include "ProjectSearchFields.h"
#include "TfrmProjektDetail.h"
#include "WindowHub.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The kinds in the order of the project window's pages; the page of a kind is
// its position here.
const QList<std::optional<DocumentKind>> &pageKinds()
{
    static const QList<std::optional<DocumentKind>> kinds = {
        std::nullopt,           DocumentKind::Angebot,    DocumentKind::Auftrag, DocumentKind::Lieferschein,
        DocumentKind::Rechnung, DocumentKind::Gutschrift, DocumentKind::Mahnung, DocumentKind::Ablage};
    return kinds;
}

int pageOf(std::optional<DocumentKind> kind)
{
    return int(pageKinds().indexOf(kind));
}

QString unsavedPageQuestion(DocumentKind kind)
{
    if (kind == DocumentKind::Angebot)
        return QStringLiteral("In der Angebotsablage befindet sich ein ungesichertes Dokument. Wollen Sie dies "
                              "überschreiben ?");
    QString place;
    switch (kind.kind()) {
    case DocumentKind::Auftrag: place = QStringLiteral("Auftragsablage"); break;
    case DocumentKind::Lieferschein: place = QStringLiteral("\"Lieferscheinablage\""); break;
    case DocumentKind::Rechnung: place = QStringLiteral("\"Rechnungsablage\""); break;
    case DocumentKind::Gutschrift: place = QStringLiteral("\"Gutschriftenablage\""); break;
    case DocumentKind::Mahnung: place = QStringLiteral("\"Mahnungsablage\""); break;
    default: place = QStringLiteral("\"Arbeitsablage\""); break;
    }
    return QStringLiteral("In der %1 bfindet sich ein ungesichertes Dokument. Wollen Sie dies überschreiben ?")
        .arg(place);
}

QLineEdit *displayField(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->setEnabled(false);
    return e;
}

} // namespace

TfrmProjektSuche::TfrmProjektSuche(AppState &state, TfrmProjektDetail *projectWindow, QWidget *parent)
    : QWidget(parent, Qt::Tool), m_state(state), m_projectWindow(projectWindow), m_store(state.db)
{
    setObjectName(QStringLiteral("TfrmProjektSuche"));
    setWindowTitle(QStringLiteral("Projekt Suche"));
    buildUi();
    fillKinds();
    grpSuche->cbVorgangsart->setCurrentIndex(0);
    clearDetail();
    ResizeWithinScreen(this, QSize(734, 519));
}

void TfrmProjektSuche::buildUi()
{
    auto *bar = new QToolBar(this);
    bar->setIconSize(QSize(16, 16));
    QAction *close = bar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Schließen"));
    close->setObjectName(QStringLiteral("actClose"));
    connect(close, &QAction::triggered, this, &QWidget::close);

    auto *outer = new QGroupBox(QStringLiteral("Projekt / Vorgang suchen"), this);
    grpSuche = new ProjectSearchFields(m_state.dialogs, ProjectSearchFields::Style::ProjectSearch, outer);

    auto *detail = new QGroupBox(QStringLiteral("Ergebnisse Detail"), outer);
    detail->setObjectName(QStringLiteral("grpDetail"));
    edtAnrede = displayField("edtAnrede", detail);
    edtTitel = displayField("edtTitel", detail);
    edtVorname = displayField("edtVorname", detail);
    edtNachname = displayField("edtNachname", detail);
    edtProjektNr = displayField("edtProjektNr", detail);
    edtDatum = displayField("edtDatum", detail);
    edtProjektname = displayField("edtProjektname", detail);
    edtKundenNr = displayField("edtKundenNr", detail);
    edtVorgangsNr = displayField("edtVorgangsNr", detail);
    memBemerkung = new QPlainTextEdit(detail);
    memBemerkung->setObjectName(QStringLiteral("memBemerkung"));
    memBemerkung->setReadOnly(true);
    memBemerkung->setEnabled(false);
    memBemerkung->setFixedHeight(memBemerkung->fontMetrics().lineSpacing() * 3 + 10);
    lblAnredeTitel = new QLabel(QStringLiteral("Anrede / Titel"), detail);
    lblVorname = new QLabel(detail);
    lblNachname = new QLabel(detail);
    auto *dl = new QGridLayout(detail);
    dl->setVerticalSpacing(3);
    int r = 0;
    dl->addWidget(lblAnredeTitel, r, 0);
    dl->addWidget(edtAnrede, r, 1);
    dl->addWidget(edtTitel, r++, 2);
    const auto row = [&](QWidget *label, QWidget *field) {
        dl->addWidget(label, r, 0);
        dl->addWidget(field, r++, 1, 1, 2);
    };
    row(lblVorname, edtVorname);
    row(lblNachname, edtNachname);
    row(new QLabel(QStringLiteral("Projekt Nr."), detail), edtProjektNr);
    row(new QLabel(QStringLiteral("Erstellungsdatum"), detail), edtDatum);
    row(new QLabel(QStringLiteral("Projektname"), detail), edtProjektname);
    row(new QLabel(QStringLiteral("Kunden Nr."), detail), edtKundenNr);
    row(new QLabel(QStringLiteral("Vorgangs Nr."), detail), edtVorgangsNr);
    row(new QLabel(QStringLiteral("Bemerkung"), detail), memBemerkung);
    dl->setRowStretch(r - 1, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(grpSuche, 3);
    top->addWidget(detail, 2);
    auto *ol = new QVBoxLayout(outer);
    ol->setContentsMargins(4, 4, 4, 4);
    ol->addLayout(top);
    outer->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    auto *list = new QGroupBox(QStringLiteral("Ergebnisliste"), this);
    m_results = new ProjectSearchModel(this);
    tblResults = new QTableView(list);
    tblResults->setObjectName(QStringLiteral("tblResults"));
    tblResults->setModel(m_results);
    tblResults->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblResults->setSelectionMode(QAbstractItemView::SingleSelection);
    tblResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblResults->verticalHeader()->hide();
    tblResults->verticalHeader()->setDefaultSectionSize(tblResults->fontMetrics().height() + 4);
    tblResults->setWordWrap(false);
    const QFontMetrics fm = tblResults->horizontalHeader()->fontMetrics();
    const int widths[] = {fm.horizontalAdvance(QStringLiteral("Projekt Nr.")) + 20, 170,
                          fm.horizontalAdvance(QStringLiteral("Lieferschein 000000")) + 12,
                          fm.horizontalAdvance(QStringLiteral("00.00.0000")) + 16, 150};
    for (int c = 0; c < ProjectSearchModel::BelegNr; ++c)
        tblResults->setColumnWidth(c, widths[c]);
    tblResults->setColumnHidden(ProjectSearchModel::BelegNr, true);
    tblResults->setColumnHidden(ProjectSearchModel::KNr, true);
    tblResults->horizontalHeader()->setStretchLastSection(true);
    btnSuchen = DialogParts::button(QStringLiteral("&Suchen"), QStringLiteral("btnSuchen"), list);
    btnOK = DialogParts::button(QStringLiteral("&OK"), QStringLiteral("btnOK"), list);
    btnAbbrechen = DialogParts::button(QStringLiteral("&Abbrechen"), QStringLiteral("btnAbbrechen"), list);
    auto *ll = new QVBoxLayout(list);
    ll->addWidget(tblResults, 1);
    ll->addLayout(DialogParts::buttonRow({btnSuchen, btnOK, btnAbbrechen}));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 6);
    layout->addWidget(bar);
    layout->addWidget(outer);
    layout->addWidget(list, 1);

    const auto guarded = [this](auto f) { return Guarded(m_state.dialogs, f); };
    connect(grpSuche, &ProjectSearchFields::kindChanged, this, guarded([this] { fillNumberLists(); }));
    connect(grpSuche, &ProjectSearchFields::contactsChanged, this, guarded([this] { contactsChanged(); }));
    connect(grpSuche, &ProjectSearchFields::searchRequested, this, guarded([this] { search(); }));
    connect(btnSuchen, &QPushButton::clicked, this, guarded([this] { search(); }));
    connect(btnOK, &QPushButton::clicked, this, guarded([this] { openSelected(); }));
    connect(btnAbbrechen, &QPushButton::clicked, this, &QWidget::close);
    connect(tblResults->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                RunCommand(m_state.dialogs, [this, current] { showDetail(current.row()); });
            });
    connect(tblResults, &QTableView::doubleClicked, this, guarded([this] {
        if (btnOK->isEnabled())
            openSelected();
    }));
}

void TfrmProjektSuche::fillKinds()
{
    // Without the permission to read invoices, credit notes and dunning letters
    // those kinds are not offered.
    QList<std::optional<DocumentKind>> kinds = pageKinds();
    if (!m_state.perm(7))
        kinds = {std::nullopt, DocumentKind::Angebot, DocumentKind::Auftrag, DocumentKind::Lieferschein,
                 DocumentKind::Ablage};
    const QSignalBlocker block(grpSuche);
    grpSuche->setKinds(kinds);
}

void TfrmProjektSuche::prepare(std::optional<int> page, qint64 currentProject)
{
    m_currentProject = currentProject;
    fillKinds();
    if (page) {
        // A page whose kind is not offered preselects the projects.
        const std::optional<DocumentKind> kind = pageKinds().value(*page, std::nullopt);
        const QSignalBlocker block(grpSuche);
        if (!grpSuche->selectKind(kind))
            grpSuche->selectKind(std::nullopt);
    } else {
        grpSuche->clearTexts();
    }
    RestoreWindowPosition(this, QStringLiteral("Projekt"));
    if (!m_opened) {
        grpSuche->setPersons(!m_state.CompaniesShown);
        m_opened = true;
    }
    contactsChanged();
    btnOK->setEnabled(false);
    if (m_state.hub)
        m_state.hub->enableProjectSearchButton(false);
}

void TfrmProjektSuche::contactsChanged()
{
    const bool persons = grpSuche->persons();
    lblAnredeTitel->setVisible(persons);
    edtAnrede->setVisible(persons);
    edtTitel->setVisible(persons);
    lblVorname->setText(persons ? QStringLiteral("Vorname") : QStringLiteral("Firmenname"));
    lblNachname->setText(persons ? QStringLiteral("Nachname") : QStringLiteral("Branche"));
    m_results->setContactHeading(persons ? QStringLiteral("Vorname - Nachname") : QStringLiteral("Firmenname"));
    fillNumberLists();
}

void TfrmProjektSuche::fillNumberLists()
{
    grpSuche->setNumberLists(m_store.customerNumbers(grpSuche->kind(), grpSuche->persons()),
                             m_store.projectNumbers(grpSuche->kind(), grpSuche->persons()));
}

void TfrmProjektSuche::clearDetail()
{
    for (QLineEdit *e : {edtAnrede, edtTitel, edtVorname, edtNachname, edtProjektNr, edtDatum, edtProjektname,
                         edtKundenNr, edtVorgangsNr})
        e->clear();
    memBemerkung->clear();
    btnOK->setEnabled(false);
}

void TfrmProjektSuche::search()
{
    clearDetail();
    m_results->setRows({});
    m_results->setRows(m_store.search(grpSuche->criteria()));
    // no match: the list stays empty, without a message
    if (m_results->rowCount() > 0)
        tblResults->selectRow(0);
}

void TfrmProjektSuche::showDetail(int row)
{
    clearDetail();
    if (row < 0 || row >= m_results->rowCount())
        return;
    const ProjectSearchRow &r = m_results->rows().at(row);
    const std::optional<ProjectSearchDetail> d = m_store.detail(r.project);
    if (!d)
        return;
    edtAnrede->setText(d->anrede);
    edtTitel->setText(d->titel);
    edtVorname->setText(d->vname);
    edtNachname->setText(d->nname);
    edtProjektNr->setText(QStringLiteral("    ") + PadNumber(d->project));
    edtDatum->setText(IsValidDateText(d->date) ? ToSystemDate(d->date) : d->date);
    edtProjektname->setText(d->projectName);
    edtKundenNr->setText(QStringLiteral("    ") + PadNumber(d->customer));
    if (r.kind)
        edtVorgangsNr->setText(QStringLiteral("      ") + PadNumber(r.number));
    memBemerkung->setPlainText(d->memo);
    btnOK->setEnabled(true);
}

bool TfrmProjektSuche::mayOpen(const ProjectSearchRow &row)
{
    TfrmProjektDetail &w = *m_projectWindow;
    bool keep = false;
    const bool otherProject = w.projectNumber() > 0 && w.projectNumber() != row.project;
    bool unsaved = false;
    for (int p = 0; p < TfrmProjektDetail::PageCount; ++p)
        unsaved = unsaved || !w.isPageClean(p);
    if (otherProject && unsaved)
        keep = m_state.dialogs.question(
                   QStringLiteral("Sie haben einen Vorgang aus einem anderem als dem aktuellen Projekt ausgewählt. "
                                  "Im aktuellen Projekt befinden sich noch ungesicherte Vorgänge. Wenn Sie auf Ja "
                                  "klicken gehen diese Vorgänge verloren und Sie wechseln zu einem anderem "
                                  "Projekt!"),
                   Dialogs::Buttons::YesCancel, QStringLiteral("Warnung"))
               != Dialogs::Answer::Yes;
    else if (!otherProject && row.kind && !w.isPageClean(pageOf(row.kind)))
        keep = m_state.dialogs.question(unsavedPageQuestion(*row.kind), Dialogs::Buttons::YesCancel,
                                        QStringLiteral("Warnung"))
               != Dialogs::Answer::Yes;
    if (!keep)
        return true;
    // The project window stays as it is.
    w.setHold(true);
    close();
    w.show();
    w.raise();
    w.activateWindow();
    return false;
}

void TfrmProjektSuche::openSelected()
{
    const int index = tblResults->currentIndex().row();
    if (!m_projectWindow || index < 0 || index >= m_results->rowCount())
        return;
    const ProjectSearchRow row = m_results->rows().at(index);
    if (!mayOpen(row))
        return;
    TfrmProjektDetail &w = *m_projectWindow;
    // Another project: nothing of the one before stays on the pages.
    if (w.projectNumber() != row.project)
        w.clearAllPages();
    w.setHold(false);
    w.openProject(row.project, row.customer, !grpSuche->persons(), false);
    if (!row.kind) {
        w.showPage(TfrmProjektDetail::ProjektPage);
    } else {
        if (row.kind->isDunningLetter()) {
            // the invoice page starts anew when it is next shown
            if (DocumentPage *invoices = w.documentPage(DocumentKind::Rechnung))
                invoices->forgetNumber();
            w.dunningPage()->openDocument(row.number);
        }
        else
            w.documentPage(*row.kind)->openDocument(row.number);
        w.showPage(pageOf(row.kind));
    }
    w.move(pos());
    close();
    w.raise();
    w.activateWindow();
}

void TfrmProjektSuche::closeEvent(QCloseEvent *event)
{
    SaveWindowPosition(this, QStringLiteral("Projekt"));
    m_opened = false;
    if (m_state.hub && !(m_projectWindow && m_projectWindow->isVisible()))
        m_state.hub->enableProjectSearchButton(true);
    event->accept();
}
