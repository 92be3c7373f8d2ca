#include "DocumentPageForm.h"

#include "DocumentHistory.h"
#include "DocumentTakeOver.h"
#include "LineList.h"
#include "LineListModel.h"
#include "ServiceDateFields.h"
#include "Totals.h"

#include <QAction>
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
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

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

QToolButton *commandButton(QWidget *page, const QString &objectName, const QString &hint, const QString &text,
                           QStyle::StandardPixmap icon)
{
    auto *b = new QToolButton(page);
    b->setObjectName(objectName);
    b->setToolTip(hint);
    b->setText(text);
    b->setIcon(page->style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setMinimumWidth(118);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return b;
}

QAction *menuEntry(QWidget *page, const QString &objectName, const QString &text)
{
    auto *a = new QAction(text, page);
    a->setObjectName(objectName);
    return a;
}

} // namespace

void DocumentPageForm::buildForm(QWidget *page, DocumentKind kind, QAbstractItemModel *lines,
                                 QAbstractItemModel *totals)
{
    const bool credit = kind == DocumentKind::Gutschrift;
    const bool ablage = kind == DocumentKind::Ablage;
    const bool invoiceLike = kind == DocumentKind::Rechnung || credit || ablage;
    auto *root = new QVBoxLayout(page);
    root->setContentsMargins(4, 4, 4, 4);
    QHBoxLayout *outer = createFrame(page, root, kind.listCaption());
    auto *main = new QVBoxLayout;
    outer->addLayout(main, 1);

    const auto edit = [page](const char *name, const QString &placeholder = {}) {
        auto *e = new QLineEdit(page);
        e->setObjectName(QLatin1String(name));
        e->setPlaceholderText(placeholder);
        return e;
    };
    auto *head = new QHBoxLayout;
    QGroupBox *first = createFirstAddress(page, edit);
    QFont small = edtEFirma->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    edtEFirma->setFont(small);
    head->addWidget(first, 3);

    const QString secondTitle = kind == DocumentKind::Lieferschein ? QStringLiteral("Lieferanschrift")
                                : ablage                             ? QStringLiteral("Rechnungs/Lieferanschrift")
                                                                     : QStringLiteral("Rechnungsanschrift");
    grpSecond = new QGroupBox(secondTitle, page);
    grpSecond->setObjectName(QStringLiteral("grpSecond"));
    auto *sl = new QVBoxLayout(grpSecond);
    edtName2 = edit("edtName2", QStringLiteral("Name"));
    edtStrasse2 = edit("edtStrasse2", QStringLiteral("Straße"));
    edtPlzOrt2 = edit("edtPlzOrt2", QStringLiteral("PLZ Ort"));
    chkLinks = new QCheckBox(kind == DocumentKind::Lieferschein ? QStringLiteral("Lieferanschrift links")
                                                                  : QStringLiteral("Rechnungsanschrift links"),
                             page);
    chkLinks->setObjectName(QStringLiteral("chkLinks"));
    chkLinks->setToolTip(kind == DocumentKind::Lieferschein
                             ? QStringLiteral("Lieferadresse links im Brieffenster drucken")
                             : QStringLiteral("Rechnungsadresse links im Brieffenster drucken"));
    for (QWidget *w : std::initializer_list<QWidget *>{edtName2, edtStrasse2, edtPlzOrt2, chkLinks})
        sl->addWidget(w);
    chkLinks->setVisible(kind.hasAddressLeftBox());
    grpSecond->setVisible(kind.hasSecondAddress());
    head->addWidget(grpSecond, 3);

    auto *info = new QGridLayout;
    edtPrNr = edit("edtPrNr");
    edtPrNr->setReadOnly(true);
    dtDatum = new QDateEdit(page);
    dtDatum->setObjectName(QStringLiteral("dtDatum"));
    dtDatum->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    dtDatum->setCalendarPopup(true);
    dtDatum->setDate(QDate::currentDate());
    lblNumber = new QLabel(numberLabel(kind), page);
    cbNummer = new QComboBox(page);
    cbNummer->setObjectName(QStringLiteral("cbNummer"));
    edtKNr = edit("edtKNr");
    edtKNr->setReadOnly(true);
    edtUID = edit("edtUID");
    int r = 0;
    info->addWidget(new QLabel(QStringLiteral("Projekt Nr."), page), r, 0);
    info->addWidget(edtPrNr, r++, 1);
    info->addWidget(new QLabel(QStringLiteral("Datum"), page), r, 0);
    info->addWidget(dtDatum, r++, 1);
    if (DocumentHistory::keepsHistory(kind)) {
        serviceDates = new ServiceDateFields(page);
        serviceDates->setObjectName(QStringLiteral("serviceDates"));
        info->addWidget(new QLabel(QStringLiteral("Leistungsdatum"), page), r, 0);
        info->addWidget(serviceDates, r++, 1);
    }
    info->addWidget(lblNumber, r, 0);
    info->addWidget(cbNummer, r++, 1);
    info->addWidget(new QLabel(QStringLiteral("Kunden Nr."), page), r, 0);
    info->addWidget(edtKNr, r++, 1);
    auto *lblUID = new QLabel(QStringLiteral("UID"), page);
    info->addWidget(lblUID, r, 0);
    info->addWidget(edtUID, r++, 1);
    lblUID->setVisible(invoiceLike);
    edtUID->setVisible(invoiceLike);
    head->addLayout(info, 2);
    main->addLayout(head);

    tblLines = new QTableView(page);
    tblLines->setObjectName(QStringLiteral("tblLines"));
    tblLines->setModel(lines);
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
    memText = new QPlainTextEdit(page);
    memText->setObjectName(QStringLiteral("memText"));
    memText->setReadOnly(true);
    memText->setMaximumHeight(tblLines->fontMetrics().height() * 5 + 12);
    memText->setPlaceholderText(QStringLiteral("Zusatztext"));
    bottom->addWidget(memText, 3);
    tblTotals = new QTableView(page);
    tblTotals->setObjectName(QStringLiteral("tblTotals"));
    tblTotals->setModel(totals);
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
    btnNew = commandButton(page, QStringLiteral("btnNew"),
                           kind == DocumentKind::Rechnung ? QStringLiteral("Neue Rechnung erstellen")
                                                            : QStringLiteral("Neu"),
                           QStringLiteral("Neu"), QStyle::SP_FileIcon);
    btnArticles = commandButton(page, QStringLiteral("btnArticles"),
                                kind == DocumentKind::Rechnung ? QStringLiteral("Artikeldaten eintragen")
                                                                 : QStringLiteral("Artikeldaten verwalten"),
                                QStringLiteral("Artikel"), QStyle::SP_FileDialogDetailedView);
    btnTakeOver = commandButton(page, QStringLiteral("btnTakeOver"), QString::fromUtf8(menuTexts(kind).takeOver).remove('&'),
                                QStringLiteral("Übernehmen"), QStyle::SP_FileDialogBack);
    btnRabatt = commandButton(page, QStringLiteral("btnRabatt"), QStringLiteral("Rabatt"), QStringLiteral("&Rabatt"),
                              QStyle::SP_ArrowDown);
    btnSkonto = commandButton(page, QStringLiteral("btnSkonto"), QStringLiteral("Skonto"), QStringLiteral("&Skonto"),
                              QStyle::SP_ArrowDown);
    btnZusatztext = commandButton(page, QStringLiteral("btnZusatztext"), QStringLiteral("Zusatztext"),
                                  QStringLiteral("&Zusatztext"), QStyle::SP_FileDialogContentsView);
    btnSave = commandButton(page, QStringLiteral("btnSave"),
                            credit ? QStringLiteral("Gutschrift in Datenbank speichern") : QStringLiteral("Speichern"),
                            QStringLiteral("Speichern"), QStyle::SP_DialogSaveButton);
    btnPrint = commandButton(page, QStringLiteral("btnPrint"),
                             credit ? QStringLiteral("Gutschrift in Standardformular ausdrucken")
                                    : QStringLiteral("Drucken"),
                             QStringLiteral("Drucken"), QStyle::SP_FileDialogListView);
    btnMail = commandButton(page, QStringLiteral("btnMail"),
                            QStringLiteral("Als PDF (oder E-Rechnung) an den Kunden senden"), QStringLiteral("E-Mail"),
                            QStyle::SP_CommandLink);
    for (QToolButton *b :
         {btnNew, btnArticles, btnTakeOver, btnRabatt, btnSkonto, btnZusatztext, btnSave, btnPrint, btnMail})
        panel->addWidget(b);
    const bool electronic = kind == DocumentKind::Rechnung || credit;
    if (electronic) {
        btnERechnung = commandButton(page, QStringLiteral("btnERechnung"),
                                     QStringLiteral("Als XRechnung oder ZUGFeRD-PDF speichern"),
                                     QStringLiteral("E-Rechnung"), QStyle::SP_DriveNetIcon);
        panel->addWidget(btnERechnung);
        btnVerlauf = commandButton(page, QStringLiteral("btnVerlauf"), QStringLiteral("Frühere Fassungen ansehen"),
                                   QStringLiteral("Verlauf…"), QStyle::SP_FileDialogInfoView);
        panel->addWidget(btnVerlauf);
    }
    chkPreis = new QCheckBox(QStringLiteral("Preis drucken"), page);
    chkPreis->setObjectName(QStringLiteral("chkPreis"));
    chkPreis->setChecked(true);
    panel->addWidget(chkPreis);
    panel->addStretch(1);
    lblUebernehmen = new QLabel(QStringLiteral("übernehmen in"), page);
    cbUebernehmen = new QComboBox(page);
    cbUebernehmen->setObjectName(QStringLiteral("cbUebernehmen"));
    const QList<DocumentKind> targets = DocumentTakeOver::targets(kind);
    for (DocumentKind target : targets)
        cbUebernehmen->addItem(DocumentTakeOver::listEntry(target), target.number());
    cbUebernehmen->setCurrentIndex(-1);
    panel->addWidget(lblUebernehmen);
    panel->addWidget(cbUebernehmen);
    outer->addLayout(panel);

    // Which commands a kind shows on its panel.
    btnNew->setVisible(!credit);
    btnTakeOver->setVisible(!credit);
    btnPrint->setVisible(!ablage);
    btnMail->setVisible(!ablage);
    chkPreis->setVisible(kind == DocumentKind::Auftrag || kind == DocumentKind::Lieferschein);
    lblUebernehmen->setVisible(!credit);
    cbUebernehmen->setVisible(!credit);

    const MenuTexts t = menuTexts(kind);
    contextMenu = new QMenu(page);
    contextMenu->setObjectName(QStringLiteral("contextMenu"));
    contextMenu->setToolTipsVisible(true);
    for (DocumentKind target : targets) {
        QAction *a = contextMenu->addAction(DocumentTakeOver::menuEntry(kind, target));
        a->setObjectName(QStringLiteral("actTakeOverInto") + target.name());
        a->setData(target.number());
        takeOverActions << a;
    }
    if (!targets.isEmpty())
        contextMenu->addSeparator();
    actArticles = menuEntry(page, QStringLiteral("actArticles"), QString::fromUtf8(t.articles));
    actNew = menuEntry(page, QStringLiteral("actNew"), QString::fromUtf8(t.create));
    actTakeOver = menuEntry(page, QStringLiteral("actTakeOver"), QString::fromUtf8(t.takeOver));
    actSave = menuEntry(page, QStringLiteral("actSave"), QString::fromUtf8(t.save));
    actPrint = menuEntry(page, QStringLiteral("actPrint"), QString::fromUtf8(t.print));
    actZusatztext = menuEntry(page, QStringLiteral("actZusatztext"), QString::fromUtf8(t.text));
    actRabatt = menuEntry(page, QStringLiteral("actRabatt"), QString::fromUtf8(t.discount));
    actSkonto = menuEntry(page, QStringLiteral("actSkonto"), QString::fromUtf8(t.skonto));
    actChange = menuEntry(page, QStringLiteral("actChange"), QString::fromUtf8(t.change));
    actDelete = menuEntry(page, QStringLiteral("actDelete"), QString::fromUtf8(t.remove));
    actMail = menuEntry(page, QStringLiteral("actMail"), QStringLiteral("Per E-Mail senden…"));
    for (QAction *a : {actArticles, actNew, actTakeOver, actSave, actPrint, actMail, actZusatztext, actRabatt,
                       actSkonto, actChange, actDelete})
        contextMenu->addAction(a);
    if (electronic) {
        actERechnung = menuEntry(page, QStringLiteral("actERechnung"), QStringLiteral("E-Rechnung speichern…"));
        contextMenu->insertAction(actZusatztext, actERechnung);
        actVerlauf = menuEntry(page, QStringLiteral("actVerlauf"), QStringLiteral("Verlauf…"));
        contextMenu->insertAction(actDelete, actVerlauf);
    }
    // Documents are never deleted from the project window.
    actDelete->setVisible(false);
    actDelete->setEnabled(false);
    actNew->setVisible(!credit);
    actTakeOver->setVisible(!credit);
    actPrint->setVisible(!ablage);
    actMail->setVisible(!ablage);
    actChange->setVisible(!ablage);
}

QList<QLineEdit *> DocumentPageForm::lineEdits() const
{
    return {edtEFirma, edtName, edtStrasse, edtPlzOrt, edtName2, edtStrasse2, edtPlzOrt2, edtPrNr, edtKNr, edtUID};
}
