#include "OpenItemsForm.h"

#include "OpenItemsModel.h"
#include "Payment.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
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

} // namespace

void OpenItemsForm::setTextColour(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    const QColor c = colour.isValid() ? colour : QApplication::palette().color(QPalette::Text);
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, colour.isValid() ? colour : QApplication::palette().color(QPalette::ButtonText));
    w->setPalette(p);
}

void OpenItemsForm::buildForm(QDialog *window, QAbstractItemModel *items, Dialogs &dialogs)
{
    QStyle *style = window->style();
    const QFontMetrics metrics = window->fontMetrics();
    auto *root = new QVBoxLayout(window);
    root->setContentsMargins(6, 4, 6, 6);
    root->setSpacing(4);

    auto *tools = new QToolBar(window);
    tools->setObjectName(QStringLiteral("toolBar"));
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    actClose = tools->addAction(style->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Schließen"), window,
                                &QDialog::reject);
    actClose->setObjectName(QStringLiteral("actClose"));
    actPrintList = new QAction(QStringLiteral("Drucken…"), window);
    actPrintList->setObjectName(QStringLiteral("actPrintList"));
    actPdfList = new QAction(QStringLiteral("Als PDF speichern…"), window);
    actPdfList->setObjectName(QStringLiteral("actPdfList"));
    actCsvList = new QAction(QIcon::fromTheme(QStringLiteral("x-office-spreadsheet")), QStringLiteral("Als CSV speichern…"),
                             window);
    actCsvList->setObjectName(QStringLiteral("actCsvList"));
    btnPrintList = new QToolButton(window);
    btnPrintList->setObjectName(QStringLiteral("btnPrintList"));
    btnPrintList->setText(QStringLiteral("Liste drucken"));
    btnPrintList->setToolTip(QStringLiteral("Die Liste so drucken, wie sie gefiltert ist"));
    btnPrintList->setIcon(QIcon::fromTheme(QStringLiteral("document-print"), style->standardIcon(QStyle::SP_FileIcon)));
    btnPrintList->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnPrintList->setPopupMode(QToolButton::MenuButtonPopup);
    auto *printMenu = new QMenu(btnPrintList);
    printMenu->addAction(actPrintList);
    printMenu->addAction(actPdfList);
    btnPrintList->setMenu(printMenu);
    tools->addWidget(btnPrintList);
    btnCsv = new QToolButton(window);
    btnCsv->setObjectName(QStringLiteral("btnCsv"));
    btnCsv->setDefaultAction(actCsvList);
    btnCsv->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tools->addWidget(btnCsv);
    btnKontoauszug = new QToolButton(window);
    btnKontoauszug->setObjectName(QStringLiteral("btnKontoauszug"));
    btnKontoauszug->setText(QStringLiteral("Kontoauszug einlesen…"));
    btnKontoauszug->setToolTip(QStringLiteral("Zahlungen aus einem Kontoauszug (CAMT.053, MT940) den Rechnungen "
                                              "zuordnen und buchen"));
    tools->addWidget(btnKontoauszug);
    tools->addSeparator();
    tools->addWidget(new QLabel(QStringLiteral(" Suche: "), window));
    edtSearch = new QLineEdit(window);
    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    edtSearch->setMaximumWidth(110);
    edtSearch->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,12}")), edtSearch));
    tools->addWidget(edtSearch);
    cbSearchKind = new QComboBox(window);
    cbSearchKind->setObjectName(QStringLiteral("cbSearchKind"));
    cbSearchKind->addItems({QStringLiteral("Kundennummer"), QStringLiteral("Rechnungsnummer")});
    tools->addWidget(cbSearchKind);
    root->addWidget(tools);

    // Filters
    auto *filters = new QGroupBox(QStringLiteral("Suche"), window);
    filters->setObjectName(QStringLiteral("grpSuche"));
    auto *fl = new QGridLayout(filters);
    fl->setContentsMargins(6, 2, 6, 4);
    auto *group = new QButtonGroup(window);
    static const char *const filterNames[] = {"btnUeberfaellig", "btnRestbetrag", "btnUnbezahlt", "btnBeglichen",
                                              "btnAlle"};
    contextMenu = new QMenu(window);
    auto *menuGroup = new QActionGroup(window);
    for (int i = 0; i < FilterCount; ++i) {
        const auto f = OpenItemFilter(i);
        auto *b = new QPushButton(filterCaption(f), filters);
        b->setObjectName(QLatin1String(filterNames[i]));
        b->setCheckable(true);
        setTextColour(b, filterColour(f));
        group->addButton(b, i);
        fl->addWidget(b, i / 3, i % 3);
        btnFilter[std::size_t(i)] = b;
        QAction *a = contextMenu->addAction(filterCaption(f));
        a->setObjectName(QStringLiteral("actFilter%1").arg(i));
        a->setCheckable(true);
        menuGroup->addAction(a);
        actFilter[std::size_t(i)] = a;
    }
    btnWeiter = new QPushButton(QStringLiteral("&weiter"), filters);
    btnWeiter->setObjectName(QStringLiteral("btnWeiter"));
    fl->addWidget(btnWeiter, 1, 2);
    contextMenu->addSeparator();
    actChangeBooking = contextMenu->addAction(QStringLiteral("Buchung ändern"));
    actChangeBooking->setObjectName(QStringLiteral("actChangeBooking"));
    for (QWidget *w : std::initializer_list<QWidget *>{window, filters}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(w, &QWidget::customContextMenuRequested, window,
                         [this, w](const QPoint &p) { contextMenu->popup(w->mapToGlobal(p)); });
    }
    root->addWidget(filters);

    // List
    lstItems = new QTableView(window);
    lstItems->setObjectName(QStringLiteral("lstItems"));
    lstItems->setModel(items);
    lstItems->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstItems->setSelectionMode(QAbstractItemView::SingleSelection);
    lstItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstItems->verticalHeader()->hide();
    lstItems->verticalHeader()->setDefaultSectionSize(metrics.height() + 4);
    lstItems->horizontalHeader()->setStretchLastSection(true);
    lstItems->setWordWrap(false);
    for (int c = 0; c < OpenItemsModel::ColumnCount; ++c) {
        const int heading = metrics.horizontalAdvance(OpenItemsModel::heading(c) + QStringLiteral("  "));
        lstItems->setColumnWidth(c, std::max(OpenItemsModel::width(c), heading));
    }
    lstItems->setColumnWidth(OpenItemsModel::KNr, metrics.horizontalAdvance(QStringLiteral("  0000000  ")));
    lstItems->setColumnWidth(OpenItemsModel::RNr, metrics.horizontalAdvance(QStringLiteral("  Rechnungs-Nr.  ")));
    lstItems->setColumnWidth(OpenItemsModel::Datum, metrics.horizontalAdvance(QStringLiteral("  00.00.0000  ")));
    lstItems->setColumnWidth(OpenItemsModel::EDatum, metrics.horizontalAdvance(QStringLiteral("  00.00.0000  ")));
    lstItems->setColumnWidth(OpenItemsModel::Betrag, metrics.horizontalAdvance(QStringLiteral("  000.000,00 €  ")));
    lstItems->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(lstItems, &QWidget::customContextMenuRequested, window,
                     [this](const QPoint &p) { contextMenu->popup(lstItems->viewport()->mapToGlobal(p)); });
    root->addWidget(lstItems, 1);

    // Invoice panel
    auto *bottom = new QHBoxLayout;
    auto *invoice = new QVBoxLayout;
    auto *facts = new QGridLayout;
    edtDatum = infoField(window, "edtDatum");
    edtAblauf = infoField(window, "edtAblauf");
    edtGebucht = infoField(window, "edtGebucht");
    edtRNr = infoField(window, "edtRNr");
    facts->addWidget(new QLabel(QStringLiteral("Datum"), window), 0, 0);
    facts->addWidget(edtDatum, 0, 1);
    facts->addWidget(new QLabel(QStringLiteral("Ablaufdatum"), window), 0, 2);
    facts->addWidget(edtAblauf, 0, 3);
    facts->addWidget(new QLabel(QStringLiteral("Gebucht"), window), 1, 0);
    facts->addWidget(edtGebucht, 1, 1);
    facts->addWidget(new QLabel(QStringLiteral("Rechnungs-Nr."), window), 1, 2);
    facts->addWidget(edtRNr, 1, 3);
    facts->addWidget(new QLabel(QStringLiteral("Skonto - J/N"), window), 2, 0);
    lblSkonto = new QLabel(window);
    lblSkonto->setObjectName(QStringLiteral("lblSkonto"));
    facts->addWidget(lblSkonto, 2, 1);
    btnSkontoText = new QPushButton(QStringLiteral("S&kontotext"), window);
    btnSkontoText->setObjectName(QStringLiteral("btnSkontoText"));
    btnTeilbuchung = new QPushButton(QStringLiteral("T&eilbuchung"), window);
    btnTeilbuchung->setObjectName(QStringLiteral("btnTeilbuchung"));
    facts->addWidget(btnSkontoText, 2, 2);
    facts->addWidget(btnTeilbuchung, 2, 3);
    invoice->addLayout(facts);
    auto *amounts = new QGroupBox(QStringLiteral("Beträge"), window);
    amounts->setObjectName(QStringLiteral("grpBetraege"));
    auto *al = new QFormLayout(amounts);
    al->setVerticalSpacing(2);
    edtBetrag = amountField(window, "edtBetrag");
    edtNachGutschrift = amountField(window, "edtNachGutschrift");
    edtNachTeilzahlung = amountField(window, "edtNachTeilzahlung");
    edtMitSkonto = amountField(window, "edtMitSkonto");
    edtOhneSkonto = amountField(window, "edtOhneSkonto");
    lblMitSkonto = new QLabel(QStringLiteral("Ausstehender Rechnungsbetrag  mit Skonto"), window);
    lblMitSkonto->setObjectName(QStringLiteral("lblMitSkonto"));
    al->addRow(QStringLiteral("Rechnungsbetrag"), edtBetrag);
    al->addRow(QStringLiteral("Rechnungsbetrag abzüglich Gutschriften"), edtNachGutschrift);
    al->addRow(QStringLiteral("Rechnungsbetrag abzüglich Teilzahlungen"), edtNachTeilzahlung);
    al->addRow(lblMitSkonto, edtMitSkonto);
    auto *rule = new QFrame(window);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setStyleSheet(QStringLiteral("border-top: 1px dashed gray;"));
    al->addRow(rule);
    al->addRow(QStringLiteral("Ausstehender Rechnungsbetrag ohne Skonto"), edtOhneSkonto);
    invoice->addWidget(amounts);
    bottom->addLayout(invoice, 5);

    // Contact panel
    auto *contact = new QGroupBox(QStringLiteral(" Firmendaten / Personendaten"), window);
    contact->setObjectName(QStringLiteral("grpKontakt"));
    auto *cl = new QFormLayout(contact);
    cl->setVerticalSpacing(2);
    edtPersonFirma = infoField(window, "edtPersonFirma");
    lstAnsprechpartner = new QTreeWidget(window);
    lstAnsprechpartner->setObjectName(QStringLiteral("lstAnsprechpartner"));
    lstAnsprechpartner->setColumnCount(2);
    lstAnsprechpartner->setHeaderHidden(true);
    lstAnsprechpartner->setRootIsDecorated(false);
    lstAnsprechpartner->setColumnWidth(0, 100);
    lstAnsprechpartner->setColumnWidth(1, 220);
    lstAnsprechpartner->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstAnsprechpartner->setMaximumHeight(3 * metrics.height() + 10);
    edtTelefonAP = infoField(window, "edtTelefonAP");
    edtTelefon = infoField(window, "edtTelefon");
    edtStrasse = infoField(window, "edtStrasse");
    edtPlz = infoField(window, "edtPlz");
    edtPlz->setMaximumWidth(70);
    edtOrt = infoField(window, "edtOrt");
    auto *town = new QHBoxLayout;
    town->addWidget(edtPlz);
    town->addWidget(edtOrt, 1);
    btnMahnung = new QPushButton(QStringLiteral("&Mahnung"), window);
    btnMahnung->setObjectName(QStringLiteral("btnMahnung"));
    cl->addRow(QStringLiteral("Person / Firma"), edtPersonFirma);
    cl->addRow(QStringLiteral("Ansprechpartner:"), lstAnsprechpartner);
    cl->addRow(QStringLiteral("Telefon Ansprechpartner:"), edtTelefonAP);
    cl->addRow(QStringLiteral("Telefon Firma / Person:"), edtTelefon);
    cl->addRow(QStringLiteral("Straße:"), edtStrasse);
    cl->addRow(QStringLiteral("PLZ / Ort"), town);
    cl->addRow(QString(), btnMahnung);
    bottom->addWidget(contact, 4);

    // Booking panel
    grpBuchen = new QGroupBox(QStringLiteral("Rechnung buchen"), window);
    grpBuchen->setObjectName(QStringLiteral("grpBuchen"));
    auto *bl = new QFormLayout(grpBuchen);
    edtGezahlt = new NumberEdit(PaymentRules::PaidField, &dialogs, window);
    edtGezahlt->setObjectName(QStringLiteral("edtGezahlt"));
    dtBuchung = new QDateEdit(QDate::currentDate(), window);
    dtBuchung->setObjectName(QStringLiteral("dtBuchung"));
    dtBuchung->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    dtBuchung->setCalendarPopup(true);
    edtRest = amountField(window, "edtRest");
    chkMitSkonto = new QCheckBox(QStringLiteral("Mit Skonto"), window);
    chkMitSkonto->setObjectName(QStringLiteral("chkMitSkonto"));
    btnErfassen = new QPushButton(QStringLiteral("&Erfassen"), window);
    btnErfassen->setObjectName(QStringLiteral("btnErfassen"));
    bl->addRow(QStringLiteral("Gezahlter Betrag"), edtGezahlt);
    bl->addRow(QStringLiteral("Datum"), dtBuchung);
    bl->addRow(QStringLiteral("Restbetrag"), edtRest);
    bl->addRow(chkMitSkonto);
    bl->addRow(btnErfassen);
    bottom->addWidget(grpBuchen, 3);
    root->addLayout(bottom);
}
