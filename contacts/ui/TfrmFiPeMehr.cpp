#include "TfrmFiPeMehr.h"
#include "WindowPlacement.h"

#include "NumberEdit.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "FieldLook.h"
#include "PaymentHistoryModel.h"
#include "Settings.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace ExtendedRules;

namespace {

const QString UnsavedClose = QStringLiteral("Daten wurden nicht gesichert. Dialog wirklich Beenden ?");
const QString CaptionPrefix = QStringLiteral("Zahlungsbedingungen von: ");

QLineEdit *field(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

QLabel *label(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

// A number field wide enough for its longest sensible value, no wider.
void narrow(QLineEdit *e, const QString &widest)
{
    e->setMaximumWidth(e->fontMetrics().horizontalAdvance(widest) + 24);
}

} // namespace

TfrmFiPeMehr::TfrmFiPeMehr(AppState &state, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_state(state), m_store(state)
{
    setObjectName(QStringLiteral("TfrmFiPeMehr"));
    setWindowTitle(QStringLiteral("Erweiterte Angaben"));
    setModal(true);

    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("tlbFiPeMehr"));
    auto *toolClose = new QToolButton(toolBar);
    toolClose->setObjectName(QStringLiteral("btnToolClose"));
    toolClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    toolClose->setText(QStringLiteral("Beenden"));
    toolClose->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(toolClose, &QToolButton::clicked, this, &QDialog::reject);
    toolBar->addWidget(toolClose);

    // terms, delivery and bank on the left; picture, payment history and remark
    // on the right, where the picture's fixed width sets the column
    auto *left = new QVBoxLayout;
    left->addWidget(buildTerms());
    left->addWidget(buildDelivery());
    left->addWidget(buildBank());
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(buildPicture());
    right->addWidget(buildHistory(), 2);
    right->addWidget(buildRemark(), 1);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 0);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(toolBar);
    layout->addLayout(columns, 1);
    layout->addLayout(buildButtons());

    connectCommands();
    const auto fields = findChildren<QLineEdit *>();
    for (QLineEdit *e : fields)
        e->installEventFilter(this);

    resize(sizeHint().expandedTo(QSize(688, 474)));
    // the last position of the window, as the user left it
    RestoreWindowPosition(this, QStringLiteral("FiPeMehr"), QPoint(10, 10));
    SetEditable(false);
}

TfrmFiPeMehr::~TfrmFiPeMehr() = default;

// --- building ------------------------------------------------------------------------

NumberEdit *TfrmFiPeMehr::numberField(QWidget *parent, const char *name, ExtendedRules::NumberField which)
{
    auto *e = new NumberEdit(ExtendedRules::numberField(which), &m_state.dialogs, parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

QWidget *TfrmFiPeMehr::buildTerms()
{
    m_terms = new QGroupBox(CaptionPrefix, this);
    m_terms->setObjectName(QStringLiteral("grpPaymentTerms"));
    m_paymentDays = numberField(m_terms, "edtPaymentDays", ExtendedRules::NumberField::Term);
    m_discountDays = numberField(m_terms, "edtCashDiscountDays", ExtendedRules::NumberField::SkontoDays);
    m_cashDiscountText = field(m_terms, "edtCashDiscountText");
    m_cashDiscount = numberField(m_terms, "edtCashDiscount", ExtendedRules::NumberField::Skonto);
    m_discountText = field(m_terms, "edtDiscountText");
    m_discount = numberField(m_terms, "edtDiscount", ExtendedRules::NumberField::Rabatt);
    m_vatRate = new QComboBox(m_terms);
    m_vatRate->setObjectName(QStringLiteral("cboVatRate"));
    m_vatRate->setMinimumContentsLength(8);
    m_vatId = field(m_terms, "edtVatId");
    m_priceGroup = new QComboBox(m_terms);
    m_priceGroup->setObjectName(QStringLiteral("cboPriceGroup"));
    m_priceGroup->addItems(priceGroups());
    for (QLineEdit *e : {m_paymentDays, m_discountDays})
        narrow(e, QStringLiteral("99999"));
    for (QLineEdit *e : {m_cashDiscount, m_discount})
        narrow(e, QStringLiteral("100,000"));
    // room for a usual cash-discount or discount text without scrolling
    for (QLineEdit *e : {m_cashDiscountText, m_discountText})
        e->setMinimumWidth(e->fontMetrics().averageCharWidth() * 36);

    auto *g = new QGridLayout(m_terms);
    g->addWidget(label(QStringLiteral("Netto Zahlungsziel (Tage)"), m_paymentDays, m_terms), 0, 0);
    auto *days = new QHBoxLayout;
    days->addWidget(m_paymentDays);
    days->addSpacing(12);
    days->addWidget(label(QStringLiteral("Skontotage "), m_discountDays, m_terms));
    days->addWidget(m_discountDays);
    days->addStretch(1);
    g->addLayout(days, 0, 1, 1, 2);
    g->addWidget(label(QStringLiteral("Skontotext / %"), m_cashDiscountText, m_terms), 1, 0);
    g->addWidget(m_cashDiscountText, 1, 1);
    g->addWidget(m_cashDiscount, 1, 2);
    g->addWidget(label(QStringLiteral("Rabatttext / %"), m_discountText, m_terms), 2, 0);
    g->addWidget(m_discountText, 2, 1);
    g->addWidget(m_discount, 2, 2);
    g->addWidget(label(QStringLiteral("USt-Satz / UID"), m_vatRate, m_terms), 3, 0);
    auto *vat = new QHBoxLayout;
    vat->addWidget(m_vatRate);
    vat->addWidget(m_vatId, 1);
    g->addLayout(vat, 3, 1, 1, 2);
    // the price group is kept with the terms but not offered to the user
    auto *priceLabel = label(QStringLiteral("Preisgruppe"), m_priceGroup, m_terms);
    priceLabel->setObjectName(QStringLiteral("lblPriceGroup"));
    priceLabel->hide();
    m_priceGroup->hide();
    g->addWidget(priceLabel, 4, 0);
    g->addWidget(m_priceGroup, 4, 1);
    // What an authority's electronic invoices must name (else the customer number).
    m_buyerReference = field(m_terms, "edtBuyerReference");
    m_buyerReference->setToolTip(QStringLiteral("Für E-Rechnungen an Behörden; sonst gilt die Kundennummer"));
    g->addWidget(label(QStringLiteral("Leitweg-ID / Käuferreferenz"), m_buyerReference, m_terms), 5, 0);
    g->addWidget(m_buyerReference, 5, 1, 1, 2);
    g->setColumnStretch(1, 1);
    return m_terms;
}

QWidget *TfrmFiPeMehr::buildDelivery()
{
    auto *box = new QGroupBox(QStringLiteral("Lieferbedingung"), this);
    box->setObjectName(QStringLiteral("grpDelivery"));
    m_delivery = new QButtonGroup(box);
    const QList<QPair<const char *, QString>> buttons = {
        {"rbDeliveryUnrestricted", QStringLiteral("Lieferung uneingeschänkt")},
        {"rbDeliveryMaximum", QStringLiteral("Lieferung Höchstwert")},
        {"rbDeliveryPrepayment", QStringLiteral("Lieferung nur Vorkasse")},
        {"rbDeliveryRefused", QStringLiteral("Lieferung ablehnen")},
    };
    auto *g = new QGridLayout(box);
    for (int i = 0; i < buttons.size(); ++i) {
        auto *rb = new QRadioButton(buttons[i].second, box);
        rb->setObjectName(QLatin1String(buttons[i].first));
        m_delivery->addButton(rb, i + 1); // the id is the stored flag
        g->addWidget(rb, i, 0);
    }
    m_maximum = numberField(box, "edtMaximumAmount", ExtendedRules::NumberField::Maximum);
    narrow(m_maximum, QStringLiteral("9.999.999,99"));
    auto *currency = new QLabel(QStringLiteral("€"), box);
    currency->setObjectName(QStringLiteral("lblMaximumCurrency"));
    auto *amount = new QHBoxLayout;
    amount->addWidget(m_maximum);
    amount->addWidget(currency);
    amount->addStretch(1);
    g->addLayout(amount, 1, 1);
    g->setColumnStretch(1, 1);
    return box;
}

QWidget *TfrmFiPeMehr::buildPicture()
{
    auto *box = new QGroupBox(QStringLiteral("Bild"), this);
    box->setObjectName(QStringLiteral("grpPicture"));
    m_picture = new QLabel(box);
    m_picture->setObjectName(QStringLiteral("imgPicture"));
    m_picture->setFixedSize(PictureWidth, PictureHeight);
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_loadPicture = new QPushButton(QStringLiteral("Bild &laden"), box);
    m_loadPicture->setObjectName(QStringLiteral("btnLoadPicture"));
    m_deletePicture = new QPushButton(QStringLiteral("&Bild l&öschen"), box);
    m_deletePicture->setObjectName(QStringLiteral("btnDeletePicture"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_loadPicture);
    buttons->addWidget(m_deletePicture);
    auto *v = new QVBoxLayout(box);
    v->addWidget(m_picture, 0, Qt::AlignHCenter);
    v->addLayout(buttons);
    return box;
}

QWidget *TfrmFiPeMehr::buildBank()
{
    auto *box = new QGroupBox(QStringLiteral("Bankverbindung"), this);
    box->setObjectName(QStringLiteral("grpBank"));
    m_bankName = field(box, "edtBankName");
    m_accountHolder = field(box, "edtAccountHolder");
    m_accountNumber = field(box, "edtAccountNumber");
    m_bankCode = field(box, "edtBankCode");
    m_iban = field(box, "edtIban");
    m_iban->setToolTip(QStringLiteral("Internationele Bankidentifikation"));
    m_ibanProblem = new QLabel(box);
    m_ibanProblem->setObjectName(QStringLiteral("lblIbanProblem"));
    QPalette p = m_ibanProblem->palette();
    p.setColor(QPalette::WindowText, QColor(200, 0, 0));
    m_ibanProblem->setPalette(p);
    m_ibanProblem->setWordWrap(true);
    m_ibanProblem->hide();

    auto *g = new QGridLayout(box);
    g->addWidget(label(QStringLiteral("Kreditinstitut"), m_bankName, box), 0, 0);
    g->addWidget(m_bankName, 0, 1, 1, 3);
    g->addWidget(label(QStringLiteral("Inhaber"), m_accountHolder, box), 1, 0);
    g->addWidget(m_accountHolder, 1, 1, 1, 3);
    g->addWidget(label(QStringLiteral("Konto-Nr."), m_accountNumber, box), 2, 0);
    g->addWidget(m_accountNumber, 2, 1);
    g->addWidget(label(QStringLiteral("Bankleitzahl"), m_bankCode, box), 2, 2);
    g->addWidget(m_bankCode, 2, 3);
    g->addWidget(label(QStringLiteral("IBAN"), m_iban, box), 3, 0);
    g->addWidget(m_iban, 3, 1, 1, 3);
    g->addWidget(m_ibanProblem, 4, 1, 1, 3);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    return box;
}

QWidget *TfrmFiPeMehr::buildHistory()
{
    auto *box = new QGroupBox(QStringLiteral("Zahlungsmoral"), this);
    box->setObjectName(QStringLiteral("grpPaymentHistory"));
    m_history = new PaymentHistoryModel(this);
    m_historyView = new QTableView(box);
    m_historyView->setObjectName(QStringLiteral("grdPaymentHistory"));
    m_historyView->setModel(m_history);
    m_historyView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_historyView->setSelectionMode(QAbstractItemView::NoSelection);
    m_historyView->verticalHeader()->hide();
    m_historyView->verticalHeader()->setDefaultSectionSize(m_historyView->fontMetrics().height() + 6);
    m_historyView->setColumnHidden(PhGebucht, true);
    m_historyView->setColumnHidden(PhRBetrag, true);
    // the classic column widths, widened where today's fonts need more room
    const QFontMetrics fm = m_historyView->fontMetrics();
    const QList<QPair<int, QString>> widths = {{20, QStringLiteral(" MS ")},
                                               {60, QStringLiteral(" 00.00.0000 ")},
                                               {22, QStringLiteral(" Ziel ")},
                                               {60, QStringLiteral(" 00.00.0000 ")},
                                               {66, QStringLiteral(" 00.000,00 ")}};
    int total = 0;
    for (int c = 0; c < widths.size(); ++c) {
        const int w = qMax(widths[c].first, fm.horizontalAdvance(widths[c].second) + 8);
        m_historyView->setColumnWidth(c, w);
        total += w;
    }
    m_historyView->horizontalHeader()->setStretchLastSection(true);
    m_historyView->setMinimumWidth(total + m_historyView->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 6);
    // about six invoices in view; more scroll
    m_historyView->setMinimumHeight(m_historyView->horizontalHeader()->sizeHint().height()
                                    + 6 * m_historyView->verticalHeader()->defaultSectionSize() + 4);
    m_historyView->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    auto *v = new QVBoxLayout(box);
    v->addWidget(m_historyView);
    return box;
}

QWidget *TfrmFiPeMehr::buildRemark()
{
    auto *box = new QGroupBox(QStringLiteral("Bemerkung"), this);
    box->setObjectName(QStringLiteral("grpRemark"));
    m_remark = new QPlainTextEdit(box);
    m_remark->setObjectName(QStringLiteral("memRemark"));
    // a note for the moment only: the table has no column for it
    m_remark->setToolTip(QStringLiteral("Wird nicht gespeichert."));
    m_remark->setMinimumHeight(m_remark->fontMetrics().lineSpacing() * 3 + 12);
    m_remark->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    auto *v = new QVBoxLayout(box);
    v->addWidget(m_remark);
    return box;
}

QLayout *TfrmFiPeMehr::buildButtons()
{
    const auto button = [this](const QString &text, const char *name) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    m_edit = button(QStringLiteral("&Bearbeiten"), "btnEdit");
    m_save = button(QStringLiteral("&Übernehmen"), "btnSave");
    m_ok = button(QStringLiteral("&OK"), "btnOk");
    m_close = button(QStringLiteral("Beenden / &Abbrechen"), "btnClose");
    auto *h = new QHBoxLayout;
    h->addWidget(m_edit);
    h->addStretch(1);
    h->addWidget(m_save);
    h->addWidget(m_ok);
    h->addWidget(m_close);
    return h;
}

void TfrmFiPeMehr::connectCommands()
{
    Dialogs &d = m_state.dialogs;
    connect(m_edit, &QPushButton::clicked, this, Guarded(d, [this] { SetEditable(true); }));
    connect(m_save, &QPushButton::clicked, this, Guarded(d, [this] { Save(); }));
    connect(m_ok, &QPushButton::clicked, this, Guarded(d, [this] {
        if (!m_saved && !Save())
            return;
        close();
    }));
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_loadPicture, &QPushButton::clicked, this, Guarded(d, [this] { LoadPicture(); }));
    connect(m_deletePicture, &QPushButton::clicked, this, Guarded(d, [this] { DeletePicture(); }));

    const auto fields = findChildren<QLineEdit *>();
    for (QLineEdit *e : fields)
        connect(e, &QLineEdit::textEdited, this, &TfrmFiPeMehr::markChanged);
    connect(m_remark, &QPlainTextEdit::textChanged, this, [this] {
        if (m_remark->hasFocus())
            markChanged();
    });
    connect(m_vatRate, &QComboBox::activated, this, &TfrmFiPeMehr::markChanged);
    connect(m_priceGroup, &QComboBox::activated, this, &TfrmFiPeMehr::markChanged);
    connect(m_delivery, &QButtonGroup::idClicked, this, &TfrmFiPeMehr::markChanged);
    connect(m_iban, &QLineEdit::textChanged, this, &TfrmFiPeMehr::showIbanState);
}

// While the data can be saved, every change leaves them unsaved.
void TfrmFiPeMehr::markChanged()
{
    if (m_save->isEnabled())
        m_saved = false;
}

// --- showing ----------------------------------------------------------------------------

void TfrmFiPeMehr::prepare(bool company, qint64 number)
{
    m_company = company;
    m_number = number;
}

void TfrmFiPeMehr::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        RunCommand(m_state.dialogs, [this] { Activate(); });
}

void TfrmFiPeMehr::clearFields()
{
    for (QLineEdit *e : findChildren<QLineEdit *>())
        e->clear();
    m_remark->clear();
    m_vatRate->setCurrentIndex(-1);
    checkDelivery(QString());
    m_pictureMarker.clear();
    m_newPicture = QImage();
    showPicture(neutralPicture());
    m_priceGroup->setCurrentIndex(0);
}

void TfrmFiPeMehr::fillRates()
{
    m_vatRate->clear();
    for (const Amount &rate : m_store.vatRates())
        m_vatRate->addItem(rateEntry(rate));
    m_vatRate->setCurrentIndex(-1);
}

void TfrmFiPeMehr::Activate()
{
    clearFields();
    fillRates();
    Load();
    SetEditable(false);
    m_saved = true;
    // an "&" in a name is part of the name, not a keyboard shortcut
    QString owner = m_store.ownerName(m_company, m_number);
    m_terms->setTitle(CaptionPrefix + owner.replace(QLatin1Char('&'), QStringLiteral("&&")));
    m_history->setRows(m_store.paymentHistory(m_number));
}

void TfrmFiPeMehr::Load()
{
    const std::optional<ExtendedData> stored = m_store.load(m_company, m_number);
    // a number that cannot be read shows as an empty field, so a damaged row can
    // still be opened and corrected
    const ExtendedData d = forDisplay(stored.value_or(ExtendedData{}));
    m_paymentDays->setText(d.zahlungsziel);
    m_discountDays->setText(d.skontoTage);
    m_cashDiscountText->setText(d.skontoText);
    m_cashDiscount->setText(d.skonto);
    m_discountText->setText(d.rabattText);
    m_discount->setText(d.rabatt);
    m_vatId->setText(d.uid);
    m_bankName->setText(d.kInstitut);
    m_accountHolder->setText(d.kInhaber);
    m_accountNumber->setText(d.konto);
    m_bankCode->setText(d.blz);
    m_iban->setText(d.iban);
    m_buyerReference->setText(d.kaeuferreferenz);
    // long texts are read from their beginning
    for (QLineEdit *e : findChildren<QLineEdit *>())
        e->setCursorPosition(0);

    m_newPicture = QImage();
    m_pictureMarker = d.image;
    QImage picture;
    if (!d.image.isEmpty())
        picture = QImageReader(m_store.picturePath(m_number)).read();
    showPicture(picture.isNull() ? neutralPicture() : picture);

    const int group = int(priceGroups().indexOf(d.preisgruppe));
    m_priceGroup->setCurrentIndex(group >= 0 ? group : int(priceGroups().size()) - 1);
    if (!d.mwSt.isEmpty())
        selectRate(d.mwSt);
    else
        m_vatRate->setCurrentIndex(-1);
    checkDelivery(d.lieferbesch);
    m_maximum->setText(d.hoechstwert);
}

// Selects the box entry of the stored rate; a rate that the rate table no
// longer holds is added, so the contact keeps it until the user picks another.
void TfrmFiPeMehr::selectRate(const QString &rate)
{
    const Amount value = Amount::fromText(rate);
    for (int i = 0; i < m_vatRate->count(); ++i) {
        if (Amount::tryFromText(m_vatRate->itemText(i).remove(QLatin1Char('%')).trimmed()) == value) {
            m_vatRate->setCurrentIndex(i);
            return;
        }
    }
    m_vatRate->addItem(rateEntry(value));
    m_vatRate->setCurrentIndex(m_vatRate->count() - 1);
    m_state.dialogs.warning(QStringLiteral("Achtung! Voreingestellter Steuersatz ") + rate
                            + QStringLiteral(" % nicht in der ") + QStringLiteral("Steuersatzliste!"));
}

void TfrmFiPeMehr::checkDelivery(const QString &flag)
{
    bool ok = false;
    const int id = flag.toInt(&ok);
    if (ok && m_delivery->button(id)) {
        m_delivery->button(id)->setChecked(true);
        return;
    }
    // an exclusive group cannot be emptied button by button
    m_delivery->setExclusive(false);
    for (QAbstractButton *b : m_delivery->buttons())
        b->setChecked(false);
    m_delivery->setExclusive(true);
}

void TfrmFiPeMehr::SetEditable(bool a)
{
    m_editable = a;
    for (QLineEdit *e : findChildren<QLineEdit *>())
        SetFieldEditable(e, a);
    SetFieldEditable(m_remark, a);
    for (QWidget *w : {static_cast<QWidget *>(m_vatRate), static_cast<QWidget *>(m_priceGroup),
                       static_cast<QWidget *>(m_loadPicture), static_cast<QWidget *>(m_deletePicture),
                       static_cast<QWidget *>(m_save), static_cast<QWidget *>(m_ok)})
        w->setEnabled(a);
    for (QAbstractButton *b : m_delivery->buttons())
        b->setEnabled(a);
    m_edit->setEnabled(!a);
    if (!m_state.perm(4)) {
        m_save->setEnabled(false);
        m_edit->setEnabled(false);
    }
}

// --- saving -------------------------------------------------------------------------------

ExtendedData TfrmFiPeMehr::typed() const
{
    ExtendedData d;
    d.zahlungsziel = m_paymentDays->text();
    d.skontoTage = m_discountDays->text();
    d.skontoText = m_cashDiscountText->text();
    d.skonto = m_cashDiscount->text();
    d.rabattText = m_discountText->text();
    d.rabatt = m_discount->text();
    d.preisgruppe = m_priceGroup->currentText();
    d.mwSt = m_vatRate->currentIndex() >= 0 ? m_vatRate->currentText() : QString();
    d.uid = m_vatId->text();
    d.lieferbesch = m_delivery->checkedId() > 0 ? QString::number(m_delivery->checkedId()) : QStringLiteral("1");
    d.hoechstwert = m_maximum->text();
    d.image = m_pictureMarker;
    d.kInstitut = m_bankName->text();
    d.kInhaber = m_accountHolder->text();
    d.konto = m_accountNumber->text();
    d.blz = m_bankCode->text();
    d.iban = m_iban->text();
    d.kaeuferreferenz = m_buyerReference->text();
    return d;
}

bool TfrmFiPeMehr::Save()
{
    const ExtendedData d = typed();
    if (const std::optional<QString> problem = inputError(d)) {
        m_state.dialogs.error(*problem);
        return false;
    }
    // a wrong IBAN is stored all the same: the user may have it from a letter and
    // correct it later, but he must know
    if (const QString problem = ibanProblem(d.iban); !problem.isEmpty())
        m_state.dialogs.warning(problem + QStringLiteral(" Sie wird trotzdem gespeichert."));
    m_store.save(m_company, m_number, d, m_newPicture.isNull() ? nullptr : &m_newPicture);
    m_newPicture = QImage();
    Load();
    SetEditable(false);
    m_state.dialogs.information(QStringLiteral("Daten geändert."));
    m_saved = true;
    return true;
}

// --- picture -------------------------------------------------------------------------------

QImage TfrmFiPeMehr::neutralPicture() const
{
    QImage neutral = QImageReader(m_store.neutralPicturePath()).read();
    if (!neutral.isNull())
        return neutral;
    // without the neutral picture in the data folder the area stays a plain surface
    QImage plain(PictureWidth, PictureHeight, QImage::Format_RGB32);
    plain.fill(palette().color(QPalette::Window));
    return plain;
}

void TfrmFiPeMehr::showPicture(const QImage &picture)
{
    m_shownPicture = picture;
    m_picture->setPixmap(QPixmap::fromImage(picture).scaled(m_picture->size(), Qt::KeepAspectRatio,
                                                            Qt::SmoothTransformation));
}

void TfrmFiPeMehr::LoadPicture()
{
    const QString path = m_state.dialogs.openFileName(
        QStringLiteral("Bild laden"), QString(), QStringLiteral("Alle (*.bmp *.ico *);;Bitmaps (*.bmp);;Symbole (*.ico)"));
    if (!path.isEmpty()) {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        const QImage chosen = reader.read();
        if (chosen.isNull()) {
            m_state.dialogs.error(QStringLiteral("Die Datei \"") + QFileInfo(path).fileName()
                                  + QStringLiteral("\" ist kein Bild, das geladen werden kann. Es wurde kein Bild "
                                                   "übernommen."));
        } else {
            // the picture over the neutral background, scaled into the area from its top-left corner
            QImage area(PictureWidth, PictureHeight, QImage::Format_RGB32);
            QPainter painter(&area);
            painter.drawImage(area.rect(), neutralPicture());
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRect(QPoint(0, 0), pictureTargetSize(chosen.size())), chosen);
            painter.end();
            m_newPicture = area;
            m_pictureMarker = PictureMarker;
            showPicture(area);
        }
    }
    markChanged();
}

void TfrmFiPeMehr::DeletePicture()
{
    if (m_state.dialogs.question(QStringLiteral("Bild wirklich löschen?"), Dialogs::Buttons::YesCancel)
        == Dialogs::Answer::Yes) {
        m_pictureMarker.clear();
        m_newPicture = QImage();
        showPicture(neutralPicture());
        if (!m_store.deletePicture(m_number))
            m_state.dialogs.error(QStringLiteral("Fehler beim löschen des Bildes!"));
    }
    markChanged();
}

void TfrmFiPeMehr::showIbanState()
{
    const QString problem = ibanProblem(m_iban->text());
    m_ibanProblem->setVisible(!problem.isEmpty());
    m_ibanProblem->setText(checkIban(m_iban->text()) == IbanState::BadChecksum
                               ? QStringLiteral("Prüfziffern der IBAN stimmen nicht.")
                               : QStringLiteral("Keine gültige IBAN."));
    m_ibanProblem->setToolTip(problem);
}

// --- closing ---------------------------------------------------------------------------------

void TfrmFiPeMehr::done(int result)
{
    if (!m_saved && m_state.dialogs.question(UnsavedClose, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    SaveWindowPosition(this, QStringLiteral("FiPeMehr"));
    m_pictureMarker.clear();
    m_newPicture = QImage();
    QDialog::done(result);
}

bool TfrmFiPeMehr::eventFilter(QObject *watched, QEvent *event)
{
    auto *e = qobject_cast<QLineEdit *>(watched);
    if (e && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
