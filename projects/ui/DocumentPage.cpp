#include "DocumentPage.h"

#include "AppState.h"
#include "CommandAvailability.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "DocumentCommands.h"
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

} // namespace

DocumentPage::DocumentPage(AppState &state, DocumentStore &store, DocumentKind kind, QWidget *parent)
    : QWidget(parent), m_state(state), m_store(store), m_kind(kind), m_currency(ReadCurrency(state.ExeDir)),
      m_doc(kind, m_currency)
{
    setObjectName(QStringLiteral("page") + kind.name());
    m_lineModel = new LineListModel(&m_doc.lines, this);
    m_totalsModel = new TotalsListModel(&m_doc.totals, this);
    buildForm(this, m_kind, m_lineModel, m_totalsModel);
    wireUp();
    EnterToNextField::installBelow(this);
    setEditMode(true);
    updateCommands();
}

// The form's controls to the page's commands; every change of a field marks the
// page modified.
void DocumentPage::wireUp()
{
    for (QLineEdit *e : lineEdits())
        connect(e, &QLineEdit::textEdited, this, [this] { markModified(); });
    connect(chkLinks, &QCheckBox::clicked, this, [this] { markModified(); });
    connect(dtDatum, &QDateEdit::dateChanged, this, [this](const QDate &date) {
        if (serviceDates)
            serviceDates->documentDateChanged(date);
        if (!m_filling)
            markModified();
    });
    if (serviceDates)
        connect(serviceDates, &ServiceDateFields::edited, this, [this] { markModified(); });
    connect(cbNummer, &QComboBox::activated, this, [this](int i) {
        RunCommand(m_state.dialogs, [this, i] { pickDocument(i); });
    });
    // A choice is a command: it runs, and the list shows no choice again.
    connect(cbUebernehmen, &QComboBox::activated, this, [this](int i) {
        const std::optional<DocumentKind> target = DocumentKind::fromNumber(cbUebernehmen->itemData(i).toInt());
        cbUebernehmen->setCurrentIndex(-1);
        if (target)
            Q_EMIT takeOverIntoRequested(*target);
    });
    for (QAction *a : takeOverActions)
        connect(a, &QAction::triggered, this, [this, a] {
            if (const std::optional<DocumentKind> target = DocumentKind::fromNumber(a->data().toInt()))
                Q_EMIT takeOverIntoRequested(*target);
        });
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
    both(btnMail, actMail, [this] { Q_EMIT mailRequested(); });
    if (actERechnung)
        both(btnERechnung, actERechnung, [this] { Q_EMIT eInvoiceRequested(); });
    if (actVerlauf)
        both(btnVerlauf, actVerlauf, [this] { cmdHistory(); });
    both(btnTakeOver, actTakeOver, [this] { Q_EMIT takeOverRequested(); });
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
    DocumentPageState s;
    s.kind = m_kind;
    s.mayWrite = m_canWrite;
    s.hidden = m_hidden;
    s.editMode = m_editMode;
    s.creditUnlocked = m_creditUnlocked;
    s.clean = m_clean;
    s.isNew = m_isNew;
    s.hasFirstPosition = m_doc.lines.hasFirstPosition();
    s.hasFirstLine = m_doc.lines.hasFirstLine();
    const DocumentCommands c = DocumentCommands::decide(s);
    for (QLineEdit *e : {edtEFirma, edtName, edtStrasse, edtPlzOrt, edtName2, edtStrasse2, edtPlzOrt2, edtUID})
        e->setReadOnly(!c.fieldsEditable);
    dtDatum->setEnabled(c.fieldsEditable);
    chkLinks->setEnabled(c.fieldsEditable);
    if (serviceDates)
        serviceDates->setEditable(c.fieldsEditable);
    const auto apply = [this](const DialogCommand &d, QToolButton *button, QAction *entry) {
        button->setVisible(d.button);
        entry->setVisible(d.menu);
        if (!d.hint.isEmpty() && !m_availability.isUnavailable(button))
            button->setToolTip(d.hint);
        enable(button, d.enabled);
        enable(entry, d.enabled);
    };
    apply(c.dialogs.articles, btnArticles, actArticles);
    apply(c.dialogs.rabatt, btnRabatt, actRabatt);
    apply(c.dialogs.skonto, btnSkonto, actSkonto);
    apply(c.dialogs.zusatztext, btnZusatztext, actZusatztext);
    const auto both = [this](QObject *button, QAction *entry, bool on) {
        enable(button, on);
        enable(entry, on);
    };
    both(btnSave, actSave, c.save);
    enable(actChange, c.change);
    both(btnNew, actNew, c.create);
    both(btnTakeOver, actTakeOver, c.takeOver);
    both(btnPrint, actPrint, c.print);
    both(btnMail, actMail, c.mail);
    if (actERechnung) {
        both(btnERechnung, actERechnung, c.eInvoice);
        both(btnVerlauf, actVerlauf, c.history);
    }
    enable(chkPreis, c.printPrices);
    enable(cbUebernehmen, c.takeOverInto);
    lblUebernehmen->setEnabled(c.takeOverInto);
    for (QAction *a : takeOverActions)
        enable(a, c.takeOverInto);
    cbNummer->setEnabled(c.numberList);
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
    m_hidden = !projectsWrite && invoiceLike && !invoicesRead;
    showNoPermission(m_hidden);
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
    const qint64 begun = m_number;
    const auto store = [this](DocumentStore::Confirmation confirmed) {
        if (!m_isNew)
            return m_store.save(m_doc, confirmed);
        DocumentStore::SaveResult result;
        try {
            result = m_store.saveNew(
                m_doc, [this] { return m_state.dmCommon.GetNextBelegNr(m_kind.numberRange()); }, confirmed);
        } catch (...) {
            // A number taken twice meanwhile: the next save tries the newest one.
            m_number = m_doc.number;
            throw;
        }
        m_number = m_doc.number;
        return result;
    };
    // The store writes nothing when it refuses or wants a confirmation; the page
    // warns, or asks and saves again.
    DocumentStore::SaveResult result = store(DocumentStore::Confirmation::None);
    while (result == DocumentStore::SaveResult::NeedsConfirmation) {
        if (m_state.dialogs.question(DocumentStore::CreditNoteQuestion, Dialogs::Buttons::YesNoCancel,
                                     QStringLiteral("Warnung"))
            != Dialogs::Answer::Yes)
            return false;
        result = store(DocumentStore::Confirmation::CreditNoteAboveOwed);
    }
    if (result == DocumentStore::SaveResult::NoLines) {
        m_state.dialogs.warning(DocumentStore::refusal(m_doc));
        return false;
    }
    if (m_isNew) {
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
