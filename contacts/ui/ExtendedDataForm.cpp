#include "ExtendedDataForm.h"

#include "ExtendedData.h"

#include "NumberEdit.h"
#include "PaymentHistoryModel.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
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

QLineEdit *field(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

NumberEdit *numberField(Dialogs &dialogs, QWidget *parent, const char *name, ExtendedRules::NumberField which)
{
    auto *e = new NumberEdit(ExtendedRules::numberField(which), &dialogs, parent);
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

QString ExtendedDataForm::termsCaptionPrefix()
{
    return QStringLiteral("Zahlungsbedingungen von: ");
}

void ExtendedDataForm::setupUi(QDialog *window, Dialogs &dialogs)
{
    auto *toolBar = new QToolBar(window);
    toolBar->setObjectName(QStringLiteral("tlbFiPeMehr"));
    btnToolClose = new QToolButton(toolBar);
    btnToolClose->setObjectName(QStringLiteral("btnToolClose"));
    btnToolClose->setIcon(window->style()->standardIcon(QStyle::SP_DialogCloseButton));
    btnToolClose->setText(QStringLiteral("Beenden"));
    btnToolClose->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->addWidget(btnToolClose);

    // terms, delivery and bank on the left; picture, payment history and remark
    // on the right, where the picture's fixed width sets the column
    auto *left = new QVBoxLayout;
    left->addWidget(buildTerms(window, dialogs));
    left->addWidget(buildDelivery(window, dialogs));
    left->addWidget(buildBank(window));
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(buildPicture(window));
    right->addWidget(buildHistory(window), 2);
    right->addWidget(buildRemark(window), 1);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 0);

    auto *layout = new QVBoxLayout(window);
    layout->setMenuBar(toolBar);
    layout->addLayout(columns, 1);
    layout->addLayout(buildButtons(window));
}

QWidget *ExtendedDataForm::buildTerms(QDialog *window, Dialogs &dialogs)
{
    grpPaymentTerms = new QGroupBox(termsCaptionPrefix(), window);
    grpPaymentTerms->setObjectName(QStringLiteral("grpPaymentTerms"));
    edtPaymentDays = numberField(dialogs, grpPaymentTerms, "edtPaymentDays", ExtendedRules::NumberField::Term);
    edtSkontoDays = numberField(dialogs, grpPaymentTerms, "edtCashDiscountDays", ExtendedRules::NumberField::SkontoDays);
    edtSkontoText = field(grpPaymentTerms, "edtCashDiscountText");
    edtSkonto = numberField(dialogs, grpPaymentTerms, "edtCashDiscount", ExtendedRules::NumberField::Skonto);
    edtRabattText = field(grpPaymentTerms, "edtDiscountText");
    edtRabatt = numberField(dialogs, grpPaymentTerms, "edtDiscount", ExtendedRules::NumberField::Rabatt);
    cboVatRate = new QComboBox(grpPaymentTerms);
    cboVatRate->setObjectName(QStringLiteral("cboVatRate"));
    cboVatRate->setMinimumContentsLength(8);
    edtVatId = field(grpPaymentTerms, "edtVatId");
    cboPriceGroup = new QComboBox(grpPaymentTerms);
    cboPriceGroup->setObjectName(QStringLiteral("cboPriceGroup"));
    cboPriceGroup->addItems(priceGroups());
    for (QLineEdit *e : {edtPaymentDays, edtSkontoDays})
        narrow(e, QStringLiteral("99999"));
    for (QLineEdit *e : {edtSkonto, edtRabatt})
        narrow(e, QStringLiteral("100,000"));
    // room for a usual cash-discount or discount text without scrolling
    for (QLineEdit *e : {edtSkontoText, edtRabattText})
        e->setMinimumWidth(e->fontMetrics().averageCharWidth() * 36);

    auto *g = new QGridLayout(grpPaymentTerms);
    g->addWidget(label(QStringLiteral("Netto Zahlungsziel (Tage)"), edtPaymentDays, grpPaymentTerms), 0, 0);
    auto *days = new QHBoxLayout;
    days->addWidget(edtPaymentDays);
    days->addSpacing(12);
    days->addWidget(label(QStringLiteral("Skontotage "), edtSkontoDays, grpPaymentTerms));
    days->addWidget(edtSkontoDays);
    days->addStretch(1);
    g->addLayout(days, 0, 1, 1, 2);
    g->addWidget(label(QStringLiteral("Skontotext / %"), edtSkontoText, grpPaymentTerms), 1, 0);
    g->addWidget(edtSkontoText, 1, 1);
    g->addWidget(edtSkonto, 1, 2);
    g->addWidget(label(QStringLiteral("Rabatttext / %"), edtRabattText, grpPaymentTerms), 2, 0);
    g->addWidget(edtRabattText, 2, 1);
    g->addWidget(edtRabatt, 2, 2);
    g->addWidget(label(QStringLiteral("USt-Satz / UID"), cboVatRate, grpPaymentTerms), 3, 0);
    auto *vat = new QHBoxLayout;
    vat->addWidget(cboVatRate);
    vat->addWidget(edtVatId, 1);
    g->addLayout(vat, 3, 1, 1, 2);
    // the price group is kept with the terms but not offered to the user
    auto *priceLabel = label(QStringLiteral("Preisgruppe"), cboPriceGroup, grpPaymentTerms);
    priceLabel->setObjectName(QStringLiteral("lblPriceGroup"));
    priceLabel->hide();
    cboPriceGroup->hide();
    g->addWidget(priceLabel, 4, 0);
    g->addWidget(cboPriceGroup, 4, 1);
    // What an authority's electronic invoices must name (else the customer number).
    edtBuyerReference = field(grpPaymentTerms, "edtBuyerReference");
    edtBuyerReference->setToolTip(QStringLiteral("Für E-Rechnungen an Behörden; sonst gilt die Kundennummer"));
    g->addWidget(label(QStringLiteral("Leitweg-ID / Käuferreferenz"), edtBuyerReference, grpPaymentTerms), 5, 0);
    g->addWidget(edtBuyerReference, 5, 1, 1, 2);
    g->setColumnStretch(1, 1);
    return grpPaymentTerms;
}

QWidget *ExtendedDataForm::buildDelivery(QDialog *window, Dialogs &dialogs)
{
    auto *box = new QGroupBox(QStringLiteral("Lieferbedingung"), window);
    box->setObjectName(QStringLiteral("grpDelivery"));
    deliveryButtons = new QButtonGroup(box);
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
        deliveryButtons->addButton(rb, i + 1); // the id is the stored flag
        g->addWidget(rb, i, 0);
    }
    edtMaximumAmount = numberField(dialogs, box, "edtMaximumAmount", ExtendedRules::NumberField::Maximum);
    narrow(edtMaximumAmount, QStringLiteral("9.999.999,99"));
    auto *currency = new QLabel(QStringLiteral("€"), box);
    currency->setObjectName(QStringLiteral("lblMaximumCurrency"));
    auto *amount = new QHBoxLayout;
    amount->addWidget(edtMaximumAmount);
    amount->addWidget(currency);
    amount->addStretch(1);
    g->addLayout(amount, 1, 1);
    g->setColumnStretch(1, 1);
    return box;
}

QWidget *ExtendedDataForm::buildPicture(QDialog *window)
{
    auto *box = new QGroupBox(QStringLiteral("Bild"), window);
    box->setObjectName(QStringLiteral("grpPicture"));
    imgPicture = new QLabel(box);
    imgPicture->setObjectName(QStringLiteral("imgPicture"));
    imgPicture->setFixedSize(PictureWidth, PictureHeight);
    imgPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    btnLoadPicture = new QPushButton(QStringLiteral("Bild &laden"), box);
    btnLoadPicture->setObjectName(QStringLiteral("btnLoadPicture"));
    btnDeletePicture = new QPushButton(QStringLiteral("&Bild l&öschen"), box);
    btnDeletePicture->setObjectName(QStringLiteral("btnDeletePicture"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnLoadPicture);
    buttons->addWidget(btnDeletePicture);
    auto *v = new QVBoxLayout(box);
    v->addWidget(imgPicture, 0, Qt::AlignHCenter);
    v->addLayout(buttons);
    return box;
}

QWidget *ExtendedDataForm::buildBank(QDialog *window)
{
    auto *box = new QGroupBox(QStringLiteral("Bankverbindung"), window);
    box->setObjectName(QStringLiteral("grpBank"));
    edtBankName = field(box, "edtBankName");
    edtAccountHolder = field(box, "edtAccountHolder");
    edtAccountNumber = field(box, "edtAccountNumber");
    edtBankCode = field(box, "edtBankCode");
    edtIban = field(box, "edtIban");
    edtIban->setToolTip(QStringLiteral("Internationele Bankidentifikation"));
    lblIbanProblem = new QLabel(box);
    lblIbanProblem->setObjectName(QStringLiteral("lblIbanProblem"));
    QPalette p = lblIbanProblem->palette();
    p.setColor(QPalette::WindowText, QColor(200, 0, 0));
    lblIbanProblem->setPalette(p);
    lblIbanProblem->setWordWrap(true);
    lblIbanProblem->hide();

    auto *g = new QGridLayout(box);
    g->addWidget(label(QStringLiteral("Kreditinstitut"), edtBankName, box), 0, 0);
    g->addWidget(edtBankName, 0, 1, 1, 3);
    g->addWidget(label(QStringLiteral("Inhaber"), edtAccountHolder, box), 1, 0);
    g->addWidget(edtAccountHolder, 1, 1, 1, 3);
    g->addWidget(label(QStringLiteral("Konto-Nr."), edtAccountNumber, box), 2, 0);
    g->addWidget(edtAccountNumber, 2, 1);
    g->addWidget(label(QStringLiteral("Bankleitzahl"), edtBankCode, box), 2, 2);
    g->addWidget(edtBankCode, 2, 3);
    g->addWidget(label(QStringLiteral("IBAN"), edtIban, box), 3, 0);
    g->addWidget(edtIban, 3, 1, 1, 3);
    g->addWidget(lblIbanProblem, 4, 1, 1, 3);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    return box;
}

QWidget *ExtendedDataForm::buildHistory(QDialog *window)
{
    auto *box = new QGroupBox(QStringLiteral("Zahlungsmoral"), window);
    box->setObjectName(QStringLiteral("grpPaymentHistory"));
    paymentHistory = new PaymentHistoryModel(window);
    grdPaymentHistory = new QTableView(box);
    grdPaymentHistory->setObjectName(QStringLiteral("grdPaymentHistory"));
    grdPaymentHistory->setModel(paymentHistory);
    grdPaymentHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPaymentHistory->setSelectionMode(QAbstractItemView::NoSelection);
    grdPaymentHistory->verticalHeader()->hide();
    grdPaymentHistory->verticalHeader()->setDefaultSectionSize(grdPaymentHistory->fontMetrics().height() + 6);
    grdPaymentHistory->setColumnHidden(PhGebucht, true);
    grdPaymentHistory->setColumnHidden(PhRBetrag, true);
    // the classic column widths, widened where today's fonts need more room
    const QFontMetrics fm = grdPaymentHistory->fontMetrics();
    const QList<QPair<int, QString>> widths = {{20, QStringLiteral(" MS ")},
                                               {60, QStringLiteral(" 00.00.0000 ")},
                                               {22, QStringLiteral(" Ziel ")},
                                               {60, QStringLiteral(" 00.00.0000 ")},
                                               {66, QStringLiteral(" 00.000,00 ")}};
    int total = 0;
    for (int c = 0; c < widths.size(); ++c) {
        const int w = qMax(widths[c].first, fm.horizontalAdvance(widths[c].second) + 8);
        grdPaymentHistory->setColumnWidth(c, w);
        total += w;
    }
    grdPaymentHistory->horizontalHeader()->setStretchLastSection(true);
    grdPaymentHistory->setMinimumWidth(total + grdPaymentHistory->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 6);
    // about six invoices in view; more scroll
    grdPaymentHistory->setMinimumHeight(grdPaymentHistory->horizontalHeader()->sizeHint().height()
                                    + 6 * grdPaymentHistory->verticalHeader()->defaultSectionSize() + 4);
    grdPaymentHistory->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    auto *v = new QVBoxLayout(box);
    v->addWidget(grdPaymentHistory);
    return box;
}

QWidget *ExtendedDataForm::buildRemark(QDialog *window)
{
    auto *box = new QGroupBox(QStringLiteral("Bemerkung"), window);
    box->setObjectName(QStringLiteral("grpRemark"));
    memRemark = new QPlainTextEdit(box);
    memRemark->setObjectName(QStringLiteral("memRemark"));
    // a note for the moment only: the table has no column for it
    memRemark->setToolTip(QStringLiteral("Wird nicht gespeichert."));
    memRemark->setMinimumHeight(memRemark->fontMetrics().lineSpacing() * 3 + 12);
    memRemark->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    auto *v = new QVBoxLayout(box);
    v->addWidget(memRemark);
    return box;
}

QLayout *ExtendedDataForm::buildButtons(QDialog *window)
{
    const auto button = [window](const QString &text, const char *name) {
        auto *b = new QPushButton(text, window);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    btnEdit = button(QStringLiteral("&Bearbeiten"), "btnEdit");
    btnSave = button(QStringLiteral("&Übernehmen"), "btnSave");
    btnOk = button(QStringLiteral("&OK"), "btnOk");
    btnClose = button(QStringLiteral("Beenden / &Abbrechen"), "btnClose");
    auto *h = new QHBoxLayout;
    h->addWidget(btnEdit);
    h->addStretch(1);
    h->addWidget(btnSave);
    h->addWidget(btnOk);
    h->addWidget(btnClose);
    return h;
}
