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
#include <QGroupBox>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

using namespace ExtendedRules;

namespace {

const QString UnsavedClose = QStringLiteral("Daten wurden nicht gesichert. Dialog wirklich Beenden ?");

} // namespace

TfrmFiPeMehr::TfrmFiPeMehr(AppState &state, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_state(state), m_store(state)
{
    setObjectName(QStringLiteral("TfrmFiPeMehr"));
    setWindowTitle(QStringLiteral("Erweiterte Angaben"));
    setModal(true);

    setupUi(this, m_state.dialogs);
    connect(btnToolClose, &QToolButton::clicked, this, &QDialog::reject);
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

// --- commands ---------------------------------------------------------------------------

void TfrmFiPeMehr::connectCommands()
{
    Dialogs &d = m_state.dialogs;
    connect(btnEdit, &QPushButton::clicked, this, Guarded(d, [this] { SetEditable(true); }));
    connect(btnSave, &QPushButton::clicked, this, Guarded(d, [this] { Save(); }));
    connect(btnOk, &QPushButton::clicked, this, Guarded(d, [this] {
        if (!m_saved && !Save())
            return;
        close();
    }));
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnLoadPicture, &QPushButton::clicked, this, Guarded(d, [this] { LoadPicture(); }));
    connect(btnDeletePicture, &QPushButton::clicked, this, Guarded(d, [this] { DeletePicture(); }));

    const auto fields = findChildren<QLineEdit *>();
    for (QLineEdit *e : fields)
        connect(e, &QLineEdit::textEdited, this, &TfrmFiPeMehr::markChanged);
    connect(memRemark, &QPlainTextEdit::textChanged, this, [this] {
        if (memRemark->hasFocus())
            markChanged();
    });
    connect(cboVatRate, &QComboBox::activated, this, &TfrmFiPeMehr::markChanged);
    connect(cboPriceGroup, &QComboBox::activated, this, &TfrmFiPeMehr::markChanged);
    connect(deliveryButtons, &QButtonGroup::idClicked, this, &TfrmFiPeMehr::markChanged);
    connect(edtIban, &QLineEdit::textChanged, this, &TfrmFiPeMehr::showIbanState);
}

// While the data can be saved, every change leaves them unsaved.
void TfrmFiPeMehr::markChanged()
{
    if (btnSave->isEnabled())
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
    memRemark->clear();
    cboVatRate->setCurrentIndex(-1);
    checkDelivery(QString());
    m_pictureMarker.clear();
    m_newPicture = QImage();
    showPicture(neutralPicture());
    cboPriceGroup->setCurrentIndex(0);
}

void TfrmFiPeMehr::fillRates()
{
    cboVatRate->clear();
    for (const Amount &rate : m_store.vatRates())
        cboVatRate->addItem(rateEntry(rate));
    cboVatRate->setCurrentIndex(-1);
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
    grpPaymentTerms->setTitle(termsCaptionPrefix() + owner.replace(QLatin1Char('&'), QStringLiteral("&&")));
    paymentHistory->setRows(m_store.paymentHistory(m_number));
}

void TfrmFiPeMehr::Load()
{
    const std::optional<ExtendedData> stored = m_store.load(m_company, m_number);
    // a number that cannot be read shows as an empty field, so a damaged row can
    // still be opened and corrected
    const ExtendedData d = forDisplay(stored.value_or(ExtendedData{}));
    edtPaymentDays->setText(d.zahlungsziel);
    edtSkontoDays->setText(d.skontoTage);
    edtSkontoText->setText(d.skontoText);
    edtSkonto->setText(d.skonto);
    edtRabattText->setText(d.rabattText);
    edtRabatt->setText(d.rabatt);
    edtVatId->setText(d.uid);
    edtBankName->setText(d.kInstitut);
    edtAccountHolder->setText(d.kInhaber);
    edtAccountNumber->setText(d.konto);
    edtBankCode->setText(d.blz);
    edtIban->setText(d.iban);
    edtBuyerReference->setText(d.kaeuferreferenz);
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
    cboPriceGroup->setCurrentIndex(group >= 0 ? group : int(priceGroups().size()) - 1);
    if (!d.mwSt.isEmpty())
        selectRate(d.mwSt);
    else
        cboVatRate->setCurrentIndex(-1);
    checkDelivery(d.lieferbesch);
    edtMaximumAmount->setText(d.hoechstwert);
}

// Selects the box entry of the stored rate; a rate that the rate table no
// longer holds is added, so the contact keeps it until the user picks another.
void TfrmFiPeMehr::selectRate(const QString &rate)
{
    const Amount value = Amount::fromText(rate);
    for (int i = 0; i < cboVatRate->count(); ++i) {
        if (Amount::tryFromText(cboVatRate->itemText(i).remove(QLatin1Char('%')).trimmed()) == value) {
            cboVatRate->setCurrentIndex(i);
            return;
        }
    }
    cboVatRate->addItem(rateEntry(value));
    cboVatRate->setCurrentIndex(cboVatRate->count() - 1);
    m_state.dialogs.warning(QStringLiteral("Achtung! Voreingestellter Steuersatz ") + rate
                            + QStringLiteral(" % nicht in der ") + QStringLiteral("Steuersatzliste!"));
}

void TfrmFiPeMehr::checkDelivery(const QString &flag)
{
    bool ok = false;
    const int id = flag.toInt(&ok);
    if (ok && deliveryButtons->button(id)) {
        deliveryButtons->button(id)->setChecked(true);
        return;
    }
    // an exclusive group cannot be emptied button by button
    deliveryButtons->setExclusive(false);
    for (QAbstractButton *b : deliveryButtons->buttons())
        b->setChecked(false);
    deliveryButtons->setExclusive(true);
}

void TfrmFiPeMehr::SetEditable(bool a)
{
    m_editable = a;
    for (QLineEdit *e : findChildren<QLineEdit *>())
        SetFieldEditable(e, a);
    SetFieldEditable(memRemark, a);
    for (QWidget *w : {static_cast<QWidget *>(cboVatRate), static_cast<QWidget *>(cboPriceGroup),
                       static_cast<QWidget *>(btnLoadPicture), static_cast<QWidget *>(btnDeletePicture),
                       static_cast<QWidget *>(btnSave), static_cast<QWidget *>(btnOk)})
        w->setEnabled(a);
    for (QAbstractButton *b : deliveryButtons->buttons())
        b->setEnabled(a);
    btnEdit->setEnabled(!a);
    if (!m_state.perm(4)) {
        btnSave->setEnabled(false);
        btnEdit->setEnabled(false);
    }
}

// --- saving -------------------------------------------------------------------------------

ExtendedData TfrmFiPeMehr::typed() const
{
    ExtendedData d;
    d.zahlungsziel = edtPaymentDays->text();
    d.skontoTage = edtSkontoDays->text();
    d.skontoText = edtSkontoText->text();
    d.skonto = edtSkonto->text();
    d.rabattText = edtRabattText->text();
    d.rabatt = edtRabatt->text();
    d.preisgruppe = cboPriceGroup->currentText();
    d.mwSt = cboVatRate->currentIndex() >= 0 ? cboVatRate->currentText() : QString();
    d.uid = edtVatId->text();
    d.lieferbesch = deliveryButtons->checkedId() > 0 ? QString::number(deliveryButtons->checkedId()) : QStringLiteral("1");
    d.hoechstwert = edtMaximumAmount->text();
    d.image = m_pictureMarker;
    d.kInstitut = edtBankName->text();
    d.kInhaber = edtAccountHolder->text();
    d.konto = edtAccountNumber->text();
    d.blz = edtBankCode->text();
    d.iban = edtIban->text();
    d.kaeuferreferenz = edtBuyerReference->text();
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
    imgPicture->setPixmap(QPixmap::fromImage(picture).scaled(imgPicture->size(), Qt::KeepAspectRatio,
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
    const QString problem = ibanProblem(edtIban->text());
    lblIbanProblem->setVisible(!problem.isEmpty());
    lblIbanProblem->setText(checkIban(edtIban->text()) == IbanState::BadChecksum
                               ? QStringLiteral("Prüfziffern der IBAN stimmen nicht.")
                               : QStringLiteral("Keine gültige IBAN."));
    lblIbanProblem->setToolTip(problem);
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
