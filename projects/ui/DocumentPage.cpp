#include "DocumentPage.h"

#include "AppState.h"
#include "CommandAvailability.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "DialogButtons.h"
#include "DocumentHistory.h"
#include "DocumentHistoryDialog.h"
#include "DocumentStore.h"
#include "DocumentTakeOver.h"
#include "EntryFields.h"
#include "Formats.h"
#include "LineListModel.h"
#include "ProjectStore.h"
#include "ServiceDateFields.h"
#include "Settings.h"
#include "Totals.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString listEntry(qint64 number)
{
    return QStringLiteral("      ") + PadNumber(number);
}

// Menu texts of a page, by kind: articles, new, take over, save, print, text,
// discount, Skonto, change, delete.
struct MenuTexts
{
    const char *articles, *create, *takeOver, *save, *print, *text, *discount, *skonto, *change, *remove;
};

MenuTexts menuTexts(DocumentKind kind)
{
    switch (kind.kind()) {
    case DocumentKind::Angebot:
        return {"&Artikeldaten", "&neues Angebot", "&Daten aus vorhandenem Angebot übernehmen", "Angebot &speichern",
                "Angebot &drucken", "&Zusatztext", "&Rabatt", "&Skonto", "Angebot ändern", "Angebot löschen"};
    case DocumentKind::Auftrag:
        return {"&Artikeldaten", "neuer Auftrag", "Daten aus vorhandenem Auftrag übernehmen", "Auftrag speichern",
                "Auftrag drucken", "Zusatztext", "Rabatt", "Skonto", "Auftrag ändern", "Auftrag löschen"};
    case DocumentKind::Lieferschein:
        return {"Artikeldaten", "neuer Lieferschein", "Daten aus vorhandenem Lieferschein übernehmen",
                "Lieferschein speichern", "Lieferschein drucken", "Zusatztext", "Rabatt", "Skonto",
                "Lieferschein ändern", "Lieferschein löschen"};
    case DocumentKind::Rechnung:
        return {"Artikeldaten", "neue Rechnung", "Daten aus vorhandener Rechnung übernehmen", "Rechnung speichern",
                "Rechnung drucken", "Zusatztext", "Rabatt", "Skonto", "Rechnung ändern", "Rechnung löschen"};
    case DocumentKind::Gutschrift:
        return {"Artikeldaten", "neue Gutschrift", "Daten aus vorhandener Gutschrift übernehmen", "Gutschrift speichern",
                "Gutschrift drucken", "Zusatztext", "Rabatt", "Skonto", "Gutschrift ändern", "Gutschrift löschen"};
    default:
        return {"Artikeldaten", "neuer Vorgang", "Daten aus vorhandenen Voigang übernehmen", "Vorgang speichern",
                "Vorgang drucken", "Zusatztext", "Rabatt", "Skonto", "Vorgang ändern", "Vorgang löschen"};
    }
}

QString numberLabel(DocumentKind kind)
{
    switch (kind.kind()) {
    case DocumentKind::Angebot: return QStringLiteral("Angebot Nr.");
    case DocumentKind::Auftrag: return QStringLiteral("Auftrag Nr.");
    case DocumentKind::Lieferschein: return QStringLiteral("Lief. Nr.");
    case DocumentKind::Rechnung: return QStringLiteral("Rechn. Nr.");
    case DocumentKind::Gutschrift: return QStringLiteral("Gutschr. Nr.");
    default: return QStringLiteral("Vorgang Nr.");
    }
}

} // namespace

DocumentPage::DocumentPage(AppState &state, DocumentStore &store, DocumentKind kind, QWidget *parent)
    : QWidget(parent), m_state(state), m_store(store), m_kind(kind), m_currency(ReadCurrency(state.ExeDir)),
      m_doc(kind, m_currency)
{
    setObjectName(QStringLiteral("page") + kind.name());
    m_lineModel = new LineListModel(&m_doc.lines, this);
    m_totalsModel = new TotalsListModel(&m_doc.totals, this);
    buildUi();
    EnterToNextField::installBelow(this);
    setEditMode(true);
    updateCommands();
}

QToolButton *DocumentPage::commandButton(const QString &objectName, const QString &hint, const QString &text,
                                         QStyle::StandardPixmap icon)
{
    auto *b = new QToolButton(this);
    b->setObjectName(objectName);
    b->setToolTip(hint);
    b->setText(text);
    b->setIcon(style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setMinimumWidth(118);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return b;
}

QAction *DocumentPage::menuEntry(const QString &objectName, const QString &text)
{
    auto *a = new QAction(text, this);
    a->setObjectName(objectName);
    return a;
}

void DocumentPage::buildUi()
{
    const bool credit = m_kind == DocumentKind::Gutschrift;
    const bool ablage = m_kind == DocumentKind::Ablage;
    const bool invoiceLike = m_kind == DocumentKind::Rechnung || credit || ablage;
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(4, 4, 4, 4);
    QHBoxLayout *outer = createFrame(this, root, m_kind.listCaption());
    auto *main = new QVBoxLayout;
    outer->addLayout(main, 1);

    const auto edit = [this](const char *name, const QString &placeholder = {}) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setPlaceholderText(placeholder);
        connect(e, &QLineEdit::textEdited, this, [this] { markModified(); });
        return e;
    };
    auto *head = new QHBoxLayout;
    QGroupBox *first = createFirstAddress(this, edit);
    QFont small = edtEFirma->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    edtEFirma->setFont(small);
    head->addWidget(first, 3);

    const QString secondTitle = m_kind == DocumentKind::Lieferschein ? QStringLiteral("Lieferanschrift")
                                : ablage                             ? QStringLiteral("Rechnungs/Lieferanschrift")
                                                                     : QStringLiteral("Rechnungsanschrift");
    grpSecond = new QGroupBox(secondTitle, this);
    grpSecond->setObjectName(QStringLiteral("grpSecond"));
    auto *sl = new QVBoxLayout(grpSecond);
    edtName2 = edit("edtName2", QStringLiteral("Name"));
    edtStrasse2 = edit("edtStrasse2", QStringLiteral("Straße"));
    edtPlzOrt2 = edit("edtPlzOrt2", QStringLiteral("PLZ Ort"));
    chkLinks = new QCheckBox(m_kind == DocumentKind::Lieferschein ? QStringLiteral("Lieferanschrift links")
                                                                  : QStringLiteral("Rechnungsanschrift links"),
                             this);
    chkLinks->setObjectName(QStringLiteral("chkLinks"));
    chkLinks->setToolTip(m_kind == DocumentKind::Lieferschein
                             ? QStringLiteral("Lieferadresse links im Brieffenster drucken")
                             : QStringLiteral("Rechnungsadresse links im Brieffenster drucken"));
    connect(chkLinks, &QCheckBox::clicked, this, [this] { markModified(); });
    for (QWidget *w : std::initializer_list<QWidget *>{edtName2, edtStrasse2, edtPlzOrt2, chkLinks})
        sl->addWidget(w);
    chkLinks->setVisible(m_kind.hasAddressLeftBox());
    grpSecond->setVisible(m_kind.hasSecondAddress());
    head->addWidget(grpSecond, 3);

    auto *info = new QGridLayout;
    edtPrNr = edit("edtPrNr");
    edtPrNr->setReadOnly(true);
    dtDatum = new QDateEdit(this);
    dtDatum->setObjectName(QStringLiteral("dtDatum"));
    dtDatum->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    dtDatum->setCalendarPopup(true);
    dtDatum->setDate(QDate::currentDate());
    connect(dtDatum, &QDateEdit::dateChanged, this, [this](const QDate &date) {
        if (serviceDates)
            serviceDates->documentDateChanged(date);
        if (!m_filling)
            markModified();
    });
    lblNumber = new QLabel(numberLabel(m_kind), this);
    cbNummer = new QComboBox(this);
    cbNummer->setObjectName(QStringLiteral("cbNummer"));
    connect(cbNummer, &QComboBox::activated, this, [this](int i) {
        RunCommand(m_state.dialogs, [this, i] { pickDocument(i); });
    });
    edtKNr = edit("edtKNr");
    edtKNr->setReadOnly(true);
    edtUID = edit("edtUID");
    int r = 0;
    info->addWidget(new QLabel(QStringLiteral("Projekt Nr."), this), r, 0);
    info->addWidget(edtPrNr, r++, 1);
    info->addWidget(new QLabel(QStringLiteral("Datum"), this), r, 0);
    info->addWidget(dtDatum, r++, 1);
    if (DocumentHistory::keepsHistory(m_kind)) {
        serviceDates = new ServiceDateFields(this);
        serviceDates->setObjectName(QStringLiteral("serviceDates"));
        connect(serviceDates, &ServiceDateFields::edited, this, [this] { markModified(); });
        info->addWidget(new QLabel(QStringLiteral("Leistungsdatum"), this), r, 0);
        info->addWidget(serviceDates, r++, 1);
    }
    info->addWidget(lblNumber, r, 0);
    info->addWidget(cbNummer, r++, 1);
    info->addWidget(new QLabel(QStringLiteral("Kunden Nr."), this), r, 0);
    info->addWidget(edtKNr, r++, 1);
    auto *lblUID = new QLabel(QStringLiteral("UID"), this);
    info->addWidget(lblUID, r, 0);
    info->addWidget(edtUID, r++, 1);
    lblUID->setVisible(invoiceLike);
    edtUID->setVisible(invoiceLike);
    head->addLayout(info, 2);
    main->addLayout(head);

    tblLines = new QTableView(this);
    tblLines->setObjectName(QStringLiteral("tblLines"));
    tblLines->setModel(m_lineModel);
    tblLines->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblLines->setSelectionMode(QAbstractItemView::SingleSelection);
    tblLines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblLines->verticalHeader()->setVisible(false);
    tblLines->verticalHeader()->setDefaultSectionSize(tblLines->fontMetrics().height() + 6);
    tblLines->setWordWrap(false);
    tblLines->setAlternatingRowColors(true);
    const int widths[] = {35, 70, 263, 50, 90, 90, 70};
    for (int c = 0; c < LineListModel::VisibleColumns; ++c)
        tblLines->setColumnWidth(c, widths[c]);
    tblLines->horizontalHeader()->setSectionResizeMode(LineList::Bezeichnung, QHeaderView::Stretch);
    main->addWidget(tblLines, 3);

    auto *bottom = new QHBoxLayout;
    memText = new QPlainTextEdit(this);
    memText->setObjectName(QStringLiteral("memText"));
    memText->setReadOnly(true);
    memText->setMaximumHeight(tblLines->fontMetrics().height() * 5 + 12);
    memText->setPlaceholderText(QStringLiteral("Zusatztext"));
    bottom->addWidget(memText, 3);
    tblTotals = new QTableView(this);
    tblTotals->setObjectName(QStringLiteral("tblTotals"));
    tblTotals->setModel(m_totalsModel);
    tblTotals->verticalHeader()->setVisible(false);
    tblTotals->verticalHeader()->setDefaultSectionSize(tblLines->fontMetrics().height() + 4);
    tblTotals->setSelectionMode(QAbstractItemView::NoSelection);
    tblTotals->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblTotals->setShowGrid(false);
    tblTotals->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tblTotals->horizontalHeader()->setSectionResizeMode(TotalsList::Spacer1, QHeaderView::Fixed);
    tblTotals->horizontalHeader()->setSectionResizeMode(TotalsList::Spacer2, QHeaderView::Fixed);
    tblTotals->setColumnWidth(TotalsList::Spacer1, 4);
    tblTotals->setColumnWidth(TotalsList::Spacer2, 4);
    tblTotals->setMaximumHeight(tblLines->fontMetrics().height() * 5 + 16);
    bottom->addWidget(tblTotals, 4);
    main->addLayout(bottom, 1);

    auto *panel = new QVBoxLayout;
    btnNew = commandButton(QStringLiteral("btnNew"),
                           m_kind == DocumentKind::Rechnung ? QStringLiteral("Neue Rechnung erstellen")
                                                            : QStringLiteral("Neu"),
                           QStringLiteral("Neu"), QStyle::SP_FileIcon);
    btnArticles = commandButton(QStringLiteral("btnArticles"),
                                m_kind == DocumentKind::Rechnung ? QStringLiteral("Artikeldaten eintragen")
                                                                 : QStringLiteral("Artikeldaten verwalten"),
                                QStringLiteral("Artikel"), QStyle::SP_FileDialogDetailedView);
    btnTakeOver = commandButton(QStringLiteral("btnTakeOver"), QString::fromUtf8(menuTexts(m_kind).takeOver).remove('&'),
                                QStringLiteral("Übernehmen"), QStyle::SP_FileDialogBack);
    btnRabatt = commandButton(QStringLiteral("btnRabatt"), QStringLiteral("Rabatt"), QStringLiteral("&Rabatt"),
                              QStyle::SP_ArrowDown);
    btnSkonto = commandButton(QStringLiteral("btnSkonto"), QStringLiteral("Skonto"), QStringLiteral("&Skonto"),
                              QStyle::SP_ArrowDown);
    btnZusatztext = commandButton(QStringLiteral("btnZusatztext"), QStringLiteral("Zusatztext"),
                                  QStringLiteral("&Zusatztext"), QStyle::SP_FileDialogContentsView);
    btnSave = commandButton(QStringLiteral("btnSave"),
                            credit ? QStringLiteral("Gutschrift in Datenbank speichern") : QStringLiteral("Speichern"),
                            QStringLiteral("Speichern"), QStyle::SP_DialogSaveButton);
    btnPrint = commandButton(QStringLiteral("btnPrint"),
                             credit ? QStringLiteral("Gutschrift in Standardformular ausdrucken")
                                    : QStringLiteral("Drucken"),
                             QStringLiteral("Drucken"), QStyle::SP_FileDialogListView);
    for (QToolButton *b : {btnNew, btnArticles, btnTakeOver, btnRabatt, btnSkonto, btnZusatztext, btnSave, btnPrint})
        panel->addWidget(b);
    const bool electronic = m_kind == DocumentKind::Rechnung || credit;
    if (electronic) {
        btnERechnung = commandButton(QStringLiteral("btnERechnung"),
                                     QStringLiteral("Als XRechnung oder ZUGFeRD-PDF speichern"),
                                     QStringLiteral("E-Rechnung"), QStyle::SP_DriveNetIcon);
        panel->addWidget(btnERechnung);
        btnVerlauf = commandButton(QStringLiteral("btnVerlauf"), QStringLiteral("Frühere Fassungen ansehen"),
                                   QStringLiteral("Verlauf…"), QStyle::SP_FileDialogInfoView);
        panel->addWidget(btnVerlauf);
    }
    chkPreis = new QCheckBox(QStringLiteral("Preis drucken"), this);
    chkPreis->setObjectName(QStringLiteral("chkPreis"));
    chkPreis->setChecked(true);
    panel->addWidget(chkPreis);
    panel->addStretch(1);
    lblUebernehmen = new QLabel(QStringLiteral("übernehmen in"), this);
    cbUebernehmen = new QComboBox(this);
    cbUebernehmen->setObjectName(QStringLiteral("cbUebernehmen"));
    const QList<DocumentKind> targets = DocumentTakeOver::targets(m_kind);
    for (DocumentKind target : targets)
        cbUebernehmen->addItem(DocumentTakeOver::listEntry(target), target.number());
    cbUebernehmen->setCurrentIndex(-1);
    // A choice is a command: it runs, and the list shows no choice again.
    connect(cbUebernehmen, &QComboBox::activated, this, [this](int i) {
        const std::optional<DocumentKind> target = DocumentKind::fromNumber(cbUebernehmen->itemData(i).toInt());
        cbUebernehmen->setCurrentIndex(-1);
        if (target)
            Q_EMIT takeOverIntoRequested(*target);
    });
    panel->addWidget(lblUebernehmen);
    panel->addWidget(cbUebernehmen);
    outer->addLayout(panel);

    // Which commands a kind shows on its panel.
    const bool quotationLike = m_kind == DocumentKind::Angebot || m_kind == DocumentKind::Auftrag;
    btnNew->setVisible(!credit);
    btnTakeOver->setVisible(!credit);
    Q_UNUSED(quotationLike);
    btnPrint->setVisible(!ablage);
    chkPreis->setVisible(m_kind == DocumentKind::Auftrag || m_kind == DocumentKind::Lieferschein);
    lblUebernehmen->setVisible(!credit);
    cbUebernehmen->setVisible(!credit);

    const MenuTexts t = menuTexts(m_kind);
    contextMenu = new QMenu(this);
    contextMenu->setObjectName(QStringLiteral("contextMenu"));
    contextMenu->setToolTipsVisible(true);
    for (DocumentKind target : targets) {
        QAction *a = contextMenu->addAction(DocumentTakeOver::menuEntry(m_kind, target));
        a->setObjectName(QStringLiteral("actTakeOverInto") + target.name());
        connect(a, &QAction::triggered, this, [this, target] { Q_EMIT takeOverIntoRequested(target); });
        takeOverActions << a;
    }
    if (!targets.isEmpty())
        contextMenu->addSeparator();
    actArticles = menuEntry(QStringLiteral("actArticles"), QString::fromUtf8(t.articles));
    actNew = menuEntry(QStringLiteral("actNew"), QString::fromUtf8(t.create));
    actTakeOver = menuEntry(QStringLiteral("actTakeOver"), QString::fromUtf8(t.takeOver));
    actSave = menuEntry(QStringLiteral("actSave"), QString::fromUtf8(t.save));
    actPrint = menuEntry(QStringLiteral("actPrint"), QString::fromUtf8(t.print));
    actZusatztext = menuEntry(QStringLiteral("actZusatztext"), QString::fromUtf8(t.text));
    actRabatt = menuEntry(QStringLiteral("actRabatt"), QString::fromUtf8(t.discount));
    actSkonto = menuEntry(QStringLiteral("actSkonto"), QString::fromUtf8(t.skonto));
    actChange = menuEntry(QStringLiteral("actChange"), QString::fromUtf8(t.change));
    actDelete = menuEntry(QStringLiteral("actDelete"), QString::fromUtf8(t.remove));
    for (QAction *a : {actArticles, actNew, actTakeOver, actSave, actPrint, actZusatztext, actRabatt, actSkonto,
                       actChange, actDelete})
        contextMenu->addAction(a);
    if (electronic) {
        actERechnung = menuEntry(QStringLiteral("actERechnung"), QStringLiteral("E-Rechnung speichern…"));
        contextMenu->insertAction(actZusatztext, actERechnung);
        actVerlauf = menuEntry(QStringLiteral("actVerlauf"), QStringLiteral("Verlauf…"));
        contextMenu->insertAction(actDelete, actVerlauf);
    }
    // Documents are never deleted from the project window.
    actDelete->setVisible(false);
    actDelete->setEnabled(false);
    actNew->setVisible(!credit);
    actTakeOver->setVisible(!credit);
    actPrint->setVisible(!ablage);
    actChange->setVisible(!ablage);
    grpDocument->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grpDocument, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        if (m_canWrite)
            contextMenu->popup(grpDocument->mapToGlobal(p));
    });
    tblLines->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tblLines, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        if (m_canWrite)
            contextMenu->popup(tblLines->viewport()->mapToGlobal(p));
    });

    const auto both = [this](QToolButton *b, QAction *a, const std::function<void()> &f) {
        if (b)
            connect(b, &QToolButton::clicked, this, [this, f] { RunCommand(m_state.dialogs, f); });
        connect(a, &QAction::triggered, this, [this, f] { RunCommand(m_state.dialogs, f); });
    };
    both(btnNew, actNew, [this] { cmdNew(); });
    both(btnSave, actSave, [this] { cmdSave(); });
    both(nullptr, actChange, [this] { cmdChange(); });
    both(btnArticles, actArticles, [this] { Q_EMIT articleDataRequested(); });
    both(btnRabatt, actRabatt, [this] { Q_EMIT discountRequested(); });
    both(btnSkonto, actSkonto, [this] { Q_EMIT skontoRequested(); });
    both(btnZusatztext, actZusatztext, [this] { Q_EMIT additionalTextRequested(); });
    both(btnPrint, actPrint, [this] { Q_EMIT printRequested(); });
    if (actERechnung)
        both(btnERechnung, actERechnung, [this] { Q_EMIT eInvoiceRequested(); });
    if (actVerlauf)
        both(btnVerlauf, actVerlauf, [this] { cmdHistory(); });
    both(btnTakeOver, actTakeOver, [this] { Q_EMIT takeOverRequested(); });
    chkPreis->installEventFilter(this);
}

bool DocumentPage::eventFilter(QObject *watched, QEvent *event)
{
    return QWidget::eventFilter(watched, event);
}

void DocumentPage::setUnavailable(const QList<QObject *> &controls)
{
    for (QObject *c : controls)
        m_availability.markUnavailable(c);
}

void DocumentPage::enable(QObject *control, bool enabled)
{
    m_availability.setEnabledIfAvailable(control, enabled);
}

void DocumentPage::setClean(bool clean)
{
    if (m_clean == clean)
        return;
    m_clean = clean;
    updateCommands();
    Q_EMIT modifiedChanged();
}

void DocumentPage::markModified()
{
    if (m_filling)
        return;
    setClean(false);
}

bool DocumentPage::acceptsProjectCopy() const
{
    if (m_kind == DocumentKind::Ablage)
        return true;
    return m_editMode;
}

void DocumentPage::setEditMode(bool edit)
{
    m_editMode = edit || m_kind == DocumentKind::Ablage; // the working document has no read-only mode
    updateCommands();
}

void DocumentPage::updateCommands()
{
    const bool first = m_doc.lines.hasFirstPosition();
    const bool credit = m_kind == DocumentKind::Gutschrift;
    const bool write = m_canWrite;
    const bool edit = m_editMode && write;
    for (QLineEdit *e : {edtEFirma, edtName, edtStrasse, edtPlzOrt, edtName2, edtStrasse2, edtPlzOrt2, edtUID})
        e->setReadOnly(!edit);
    dtDatum->setEnabled(edit);
    chkLinks->setEnabled(edit);
    if (serviceDates)
        serviceDates->setEditable(edit);
    // The dialog commands follow the table of the document kinds.
    const PageDialogState dialogs =
        dialogButtons(m_kind, m_editMode && (!credit || m_creditUnlocked), write);
    const auto apply = [this](const DialogCommand &c, QToolButton *button, QAction *entry) {
        button->setVisible(c.button);
        entry->setVisible(c.menu);
        if (!c.hint.isEmpty() && !m_availability.isUnavailable(button))
            button->setToolTip(c.hint);
        enable(button, c.enabled);
        enable(entry, c.enabled);
    };
    apply(dialogs.articles, btnArticles, actArticles);
    apply(dialogs.rabatt, btnRabatt, actRabatt);
    apply(dialogs.skonto, btnSkonto, actSkonto);
    apply(dialogs.zusatztext, btnZusatztext, actZusatztext);
    enable(btnSave, edit && first);
    enable(actSave, edit && first);
    enable(actChange, write && !m_editMode && first);
    enable(btnNew, write && first);
    enable(actNew, write && first);
    // Taking over from a stored document starts a new document itself.
    enable(btnTakeOver, write);
    enable(actTakeOver, write);
    enable(btnPrint, first);
    enable(actPrint, first);
    if (actERechnung) {
        enable(btnERechnung, first);
        enable(actERechnung, first);
        enable(btnVerlauf, first && !m_isNew);
        enable(actVerlauf, first && !m_isNew);
    }
    enable(chkPreis, first);
    // Offered once the first row holds anything: a text line first is refused
    // with its warning when chosen, rather than never offered.
    const bool firstLine = m_doc.lines.hasFirstLine();
    enable(cbUebernehmen, write && firstLine);
    lblUebernehmen->setEnabled(write && firstLine);
    for (QAction *a : takeOverActions)
        enable(a, write && firstLine);
    // While a page holds unsaved changes its list stays where it is (the credit
    // note's stays open: it has no new command of its own).
    cbNummer->setEnabled(m_clean || credit);
}

void DocumentPage::showCaptions(const LineList::Captions &captions)
{
    btnRabatt->setText(captions.discount);
    btnSkonto->setText(captions.skonto);
}

void DocumentPage::showDocument()
{
    m_filling = true;
    showFirstAddress(m_doc);
    edtName2->setText(m_doc.secondAddress.name);
    edtStrasse2->setText(m_doc.secondAddress.street);
    edtPlzOrt2->setText(m_doc.secondAddress.postcodeTown);
    chkLinks->setChecked(m_doc.addressLeft);
    if (IsValidDateText(m_doc.date))
        dtDatum->setDate(StrToDate(m_doc.date));
    if (serviceDates)
        serviceDates->showDocument(m_doc);
    memText->setPlainText(m_doc.textBoxText());
    if (m_kind == DocumentKind::Gutschrift)
        grpDocument->setTitle(QStringLiteral("Gutschrift zur Rechnung Nr.: ") + PadNumber(m_doc.invoiceNumber));
    m_lineModel->refresh();
    m_totalsModel->refresh();
    showCaptions(m_doc.lines.captions(m_doc.skontoPercent));
    m_filling = false;
    updateCommands();
}

void DocumentPage::gatherFields()
{
    readFields(m_doc);
}

void DocumentPage::readFields(Document &d) const
{
    d.number = m_number;
    d.projectNumber = m_projectNumber;
    d.projectName = m_projectName;
    d.date = DateToStr(dtDatum->date());
    d.addressLeft = m_kind.hasAddressLeftBox() && chkLinks->isChecked();
    readFirstAddress(d);
    d.secondAddress = m_kind.hasSecondAddress()
                          ? DocumentAddress{edtName2->text(), edtStrasse2->text(), edtPlzOrt2->text()}
                          : DocumentAddress{};
    if (m_kind == DocumentKind::Rechnung && m_paymentTerm)
        d.paymentTerm = m_paymentTerm();
    if (serviceDates)
        serviceDates->readInto(d);
}

Document DocumentPage::shownDocument() const
{
    Document d = m_doc;
    readFields(d);
    return d;
}

void DocumentPage::takeOverDocument(const Document &document)
{
    m_number = 0;
    m_doc = document;
    m_doc.grossRule = GrossRule::SumOfShownParts; // a new document
    m_doc.saveToken.clear();
    m_creditUnlocked = true; // the credit note's lines and text may be changed now
    build();                 // draws the new number
    m_doc.number = m_number;
    m_doc.date = DateToStr(QDate::currentDate());
    setEditMode(true);
    showDocument();
    documentChanged();
}

void DocumentPage::fillNumberList()
{
    cbNummer->clear();
    cbNummer->addItem(listEntry(m_number));
    int selected = 0;
    for (qint64 n : m_store.documentNumbers(m_kind, m_projectNumber)) {
        cbNummer->addItem(listEntry(n));
        if (n == m_number && selected == 0)
            selected = cbNummer->count() - 1;
    }
    cbNummer->setCurrentIndex(selected);
}

void DocumentPage::build()
{
    if (m_number <= 0) {
        m_number = m_state.dmCommon.GetNextBelegNr(m_kind.numberRange());
        m_isNew = true;
    }
    fillNumberList();
    showCaptions(m_doc.lines.captions(m_doc.skontoPercent));
    updateCommands();
}

void DocumentPage::copyProject(const ProjectValue &p)
{
    m_filling = true;
    showFirstAddress(p);
    const auto second = [&](const AddressFields &a, bool alwaysBoth) {
        edtName2->setText(a.bez);
        edtStrasse2->setText(a.strasse);
        edtPlzOrt2->setText(alwaysBoth || !a.plz.isEmpty() ? a.plz + QLatin1Char(' ') + a.ort : a.ort);
    };
    switch (m_kind.kind()) {
    case DocumentKind::Lieferschein:
        second(p.lieferanschrift, false);
        break;
    case DocumentKind::Rechnung:
    case DocumentKind::Gutschrift:
        edtUID->setText(p.uid);
        second(p.rechnungsanschrift, false);
        break;
    case DocumentKind::Ablage:
        edtUID->setText(p.uid);
        second(p.rechnungsanschrift, true);
        break;
    default:
        break;
    }
    m_filling = false;
}

void DocumentPage::dateNewDocument()
{
    if (!m_editMode || m_store.isStored(m_kind, m_number))
        return;
    m_filling = true;
    dtDatum->setDate(QDate::currentDate());
    m_filling = false;
}

void DocumentPage::clearPage()
{
    m_number = 0;
    m_doc = Document(m_kind, m_currency);
    m_creditUnlocked = false;
    m_clean = true;
    showDocument();
    for (QLineEdit *e : {edtEFirma, edtName, edtStrasse, edtPlzOrt, edtName2, edtStrasse2, edtPlzOrt2, edtUID})
        e->clear();
    cbNummer->clear();
    setEditMode(true);
    Q_EMIT modifiedChanged();
}

void DocumentPage::forgetNumber()
{
    if (m_clean)
        clearPage();
    m_number = 0;
}

void DocumentPage::applyPermissions(bool projectsWrite, bool invoicesRead)
{
    const bool invoiceLike = m_kind == DocumentKind::Rechnung || m_kind == DocumentKind::Gutschrift;
    m_canWrite = projectsWrite;
    const bool hidden = !projectsWrite && invoiceLike && !invoicesRead;
    showNoPermission(hidden);
    if (hidden)
        enable(btnPrint, false);
    if (hidden && btnERechnung)
        enable(btnERechnung, false);
    updateCommands();
}

void DocumentPage::lockCreditNoteCommands()
{
    if (m_kind != DocumentKind::Gutschrift)
        return;
    m_creditUnlocked = false;
    updateCommands();
}

bool DocumentPage::askSaveFirst()
{
    // A save that refuses (no lines, a declined credit note) keeps the page as it
    // is, so nothing typed is lost.
    return m_clean || askSaveChanges(m_state.dialogs, [this] { return cmdSave(); });
}

void DocumentPage::loadNumber(qint64 number)
{
    m_number = number;
    m_isNew = false;
    DocumentStore::Loaded loaded = m_kind == DocumentKind::Mahnung ? m_store.loadDunningLetter(number)
                                                                   : m_store.load(m_kind, number);
    m_doc = loaded.document;
    m_doc.number = number;
    if (!loaded.linesFound) {
        // Not stored yet: a new, empty document in edit mode.
        m_doc = Document(m_kind, m_currency);
        m_doc.number = number;
        showDocument();
        Q_EMIT activationRequested();
        setEditMode(true);
        m_creditUnlocked = false;
        updateCommands();
        return;
    }
    m_creditUnlocked = false;
    showDocument();
    setEditMode(false);
}

void DocumentPage::pickDocument(int listIndex)
{
    const QString entry = cbNummer->itemText(listIndex);
    if (!askSaveFirst())
        return;
    const qint64 number = entry.trimmed().toLongLong();
    m_clean = true;
    loadNumber(number);
    fillNumberList();
    Q_EMIT modifiedChanged();
}

void DocumentPage::openDocument(qint64 number)
{
    m_clean = true;
    loadNumber(number);
    fillNumberList();
    Q_EMIT modifiedChanged();
}

bool DocumentPage::cmdNew()
{
    if (!askSaveFirst())
        return false;
    m_clean = true;
    m_number = 0;
    m_doc = Document(m_kind, m_currency);
    m_creditUnlocked = false;
    build();
    setEditMode(true);
    showDocument();
    Q_EMIT activationRequested();
    m_filling = true;
    dtDatum->setDate(QDate::currentDate());
    m_filling = false;
    updateCommands();
    Q_EMIT modifiedChanged();
    return true;
}

bool DocumentPage::cmdSave()
{
    gatherFields();
    DocumentStore::SaveResult result;
    if (m_isNew) {
        const qint64 begun = m_number;
        try {
            result = m_store.saveNew(m_doc, [this] { return m_state.dmCommon.GetNextBelegNr(m_kind.numberRange()); });
        } catch (...) {
            // A number taken twice meanwhile: the next save tries the newest one.
            m_number = m_doc.number;
            throw;
        }
        m_number = m_doc.number;
        if (result == DocumentStore::SaveResult::SavedBeforeConnectionLoss) {
            // What the data set holds is what the page shows from now on.
            m_state.dialogs.information(QStringLiteral("Die Verbindung zum Datenbankserver brach beim Speichern ab. "
                                                       "%1 %2 wurde gespeichert.")
                                            .arg(m_kind.name(), PadNumber(m_number)));
            m_isNew = false;
            m_clean = true;
            loadNumber(m_number);
            fillNumberList();
            Q_EMIT modifiedChanged();
            Q_EMIT saved(SavedMessage(m_kind.name(), m_number));
            return true;
        }
        if (result == DocumentStore::SaveResult::Saved && m_number != begun)
            m_state.dialogs.information(QStringLiteral("Die Nummer %1 wurde inzwischen an einem anderen Arbeitsplatz "
                                                       "vergeben. Der Beleg wurde unter der Nummer %2 gespeichert.")
                                            .arg(PadNumber(begun), PadNumber(m_number)));
    } else {
        result = m_store.save(m_doc);
    }
    if (result != DocumentStore::SaveResult::Saved)
        return false;
    m_isNew = false;
    if (m_kind == DocumentKind::Ablage) {
        m_clean = true;
        loadNumber(m_number);
    } else {
        m_clean = true;
        showDocument();
        setEditMode(false);
    }
    fillNumberList();
    Q_EMIT modifiedChanged();
    Q_EMIT saved(SavedMessage(m_kind.name(), m_doc.number));
    return true;
}

void DocumentPage::cmdChange()
{
    // What went out must stay traceable: the user is told that the change is kept.
    if (!DocumentHistory::issuedMark(m_state.db, m_kind, m_number).isEmpty()
        && m_state.dialogs.question(DocumentHistory::changeQuestion(m_kind, m_number), Dialogs::Buttons::YesNo)
               != Dialogs::Answer::Yes)
        return;
    m_creditUnlocked = true;
    setEditMode(true);
}

void DocumentPage::cmdHistory()
{
    ShowDocumentHistory(m_state, m_kind, m_number, this);
}

void DocumentPage::dialogClosed(bool changed)
{
    m_lineModel->refresh();
    m_totalsModel->refresh();
    memText->setPlainText(m_doc.textBoxText());
    showCaptions(m_doc.lines.captions(m_doc.skontoPercent));
    if (changed)
        setClean(false);
    updateCommands();
}

void DocumentPage::documentChanged()
{
    m_doc.lines.normalise();
    const LineList::Captions captions = m_doc.lines.discountLast(m_doc.skontoPercent);
    Totals::compute(m_doc.lines, m_doc.totals, Totals::readRates(m_state.db), m_currency, m_doc.grossRule);
    m_lineModel->refresh();
    m_totalsModel->refresh();
    memText->setPlainText(m_doc.textBoxText());
    showCaptions(captions);
    setClean(false);
    updateCommands();
}
