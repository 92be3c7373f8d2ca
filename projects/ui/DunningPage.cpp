#include "DunningPage.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "DocumentStore.h"
#include "MahnungPanel.h"
#include "EntryFields.h"
#include "Formats.h"
#include "ProjectStore.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

DunningPage::DunningPage(AppState &state, DocumentStore &store, QWidget *parent)
    : QWidget(parent), m_state(state), m_store(store), m_doc(DocumentKind::Mahnung)
{
    setObjectName(QStringLiteral("pageMahnung"));
    buildUi();
    EnterToNextField::installBelow(this);
    setEditMode(false);
}

void DunningPage::buildUi()
{
    auto *root = new QVBoxLayout(this);
    QHBoxLayout *outer = createFrame(this, root, QStringLiteral("Mahnung"));
    m_letter = new MahnungPanel({.storedLetterList = true, .titledAddresses = true, .wrapLines = true}, this);
    outer->addWidget(m_letter, 1);
    // The page's head and the tests reach the fields as the page's own.
    edtEFirma = m_letter->edtEFirma;
    edtName = m_letter->edtName;
    edtStrasse = m_letter->edtStrasse;
    edtPlzOrt = m_letter->edtPlzOrt;
    chkLinks = m_letter->chkLinks;
    edtName2 = m_letter->edtName2;
    edtStrasse2 = m_letter->edtStrasse2;
    edtPlzOrt2 = m_letter->edtPlzOrt2;
    edtPrNr = m_letter->edtPrNr;
    dtDatum = m_letter->dtDatum;
    cbNummer = m_letter->cbNummer;
    edtKNr = m_letter->edtKNr;
    edtUID = m_letter->edtUID;
    lblInvoice = m_letter->lblInvoice;
    lblLevel = m_letter->lblLevel;
    memLetter = m_letter->memLetter;
    connect(m_letter, &MahnungPanel::fieldChanged, this, [this] { markModified(); });
    connect(cbNummer, &QComboBox::activated, this,
            [this](int i) { RunCommand(m_state.dialogs, [this, i] { pickDocument(i); }); });
    memLetter->installEventFilter(this);

    auto *panel = new QVBoxLayout;
    btnSave = new QToolButton(this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnSave->setText(QStringLiteral("Speichern"));
    btnSave->setToolTip(QStringLiteral("Lieferschein in Datenbank speichern"));
    btnSave->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    btnPrint = new QToolButton(this);
    btnPrint->setObjectName(QStringLiteral("btnPrint"));
    btnPrint->setText(QStringLiteral("Drucken"));
    btnPrint->setToolTip(QStringLiteral("Mahnung in Standardformular ausdrucken"));
    btnPrint->setIcon(style()->standardIcon(QStyle::SP_FileDialogListView));
    btnMail = new QToolButton(this);
    btnMail->setObjectName(QStringLiteral("btnMail"));
    btnMail->setText(QStringLiteral("E-Mail"));
    btnMail->setToolTip(QStringLiteral("Per E-Mail senden…"));
    btnMail->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    for (QToolButton *b : {btnSave, btnPrint, btnMail}) {
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setMinimumWidth(118);
        panel->addWidget(b);
    }
    panel->addStretch(1);
    outer->addLayout(panel);

    contextMenu = new QMenu(this);
    actSave = contextMenu->addAction(QStringLiteral("Mahnung speichern"));
    actSave->setObjectName(QStringLiteral("actSave"));
    actPrint = contextMenu->addAction(QStringLiteral("Mahnung drucken"));
    actPrint->setObjectName(QStringLiteral("actPrint"));
    actMail = contextMenu->addAction(QStringLiteral("Per E-Mail senden…"));
    actMail->setObjectName(QStringLiteral("actMail"));
    actChange = contextMenu->addAction(QStringLiteral("Mahnung ändern"));
    actChange->setObjectName(QStringLiteral("actChange"));
    actDelete = contextMenu->addAction(QStringLiteral("Mahnung löschen"));
    actDelete->setObjectName(QStringLiteral("actDelete"));
    actDelete->setVisible(false);
    actDelete->setEnabled(false);
    grpDocument->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grpDocument, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        if (m_canWrite)
            contextMenu->popup(grpDocument->mapToGlobal(p));
    });
    const auto run = [this](const std::function<void()> &f) { return [this, f] { RunCommand(m_state.dialogs, f); }; };
    connect(btnSave, &QToolButton::clicked, this, run([this] { cmdSave(); }));
    connect(actSave, &QAction::triggered, this, run([this] { cmdSave(); }));
    connect(actChange, &QAction::triggered, this, run([this] { cmdChange(); }));
    connect(btnPrint, &QToolButton::clicked, this, [this] { Q_EMIT printRequested(); });
    connect(actPrint, &QAction::triggered, this, [this] { Q_EMIT printRequested(); });
    connect(btnMail, &QToolButton::clicked, this, [this] { Q_EMIT mailRequested(); });
    connect(actMail, &QAction::triggered, this, [this] { Q_EMIT mailRequested(); });
}

bool DunningPage::eventFilter(QObject *watched, QEvent *event)
{
    // A letter has at most 25 lines: typing on a further line is refused.
    if (watched == memLetter && event->type() == QEvent::KeyPress && !memLetter->isReadOnly()) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool editing = !key->text().isEmpty() && key->key() != Qt::Key_Backspace && key->key() != Qt::Key_Delete;
        const QTextBlock line26 = memLetter->document()->findBlockByNumber(MaxLines);
        const bool beyond = memLetter->textCursor().blockNumber() >= MaxLines;
        const bool full = line26.isValid() && !line26.text().isEmpty();
        if (editing && (beyond || full || (key->key() == Qt::Key_Return
                                           && memLetter->document()->blockCount() >= MaxLines))) {
            if (full || memLetter->document()->blockCount() >= MaxLines)
                m_state.dialogs.information(QStringLiteral("Maximale Anzahl der Linien erreicht!"));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DunningPage::setClean(bool clean)
{
    if (m_clean == clean)
        return;
    m_clean = clean;
    Q_EMIT modifiedChanged();
}

void DunningPage::markModified()
{
    if (!m_filling && m_editMode)
        setClean(false);
}

bool DunningPage::storedLetterShown() const
{
    return m_stored && cbNummer->currentIndex() > 0;
}

void DunningPage::setEditMode(bool edit)
{
    m_editMode = edit;
    updateCommands();
}

void DunningPage::updateCommands()
{
    const bool edit = m_editMode && m_canWrite && m_stored;
    m_letter->setEditable(edit);
    btnSave->setEnabled(edit);
    actSave->setEnabled(edit);
    actChange->setEnabled(m_canWrite && !m_editMode && m_stored);
    const bool printable = !memLetter->toPlainText().isEmpty();
    btnPrint->setEnabled(printable);
    actPrint->setEnabled(printable && cbNummer->currentIndex() > 0);
    // What goes out by mail is a stored letter.
    btnMail->setEnabled(printable && m_stored);
    actMail->setEnabled(printable && m_stored);
}

void DunningPage::fillNumberList()
{
    cbNummer->clear();
    cbNummer->addItem(QStringLiteral("      ") + PadNumber(m_number));
    int selected = 0;
    for (qint64 n : m_store.documentNumbers(DocumentKind::Mahnung, m_projectNumber)) {
        cbNummer->addItem(QStringLiteral("      ") + PadNumber(n));
        if (n == m_number && selected == 0)
            selected = cbNummer->count() - 1;
    }
    cbNummer->setCurrentIndex(selected);
}

void DunningPage::build()
{
    if (m_number <= 0)
        m_number = m_state.dmCommon.GetNextBelegNr(NumberRange::Mahnung);
    fillNumberList();
    if (m_clean)
        setEditMode(false);
    updateCommands();
}

void DunningPage::copyProject(const ProjectValue &p)
{
    if (m_stored)
        return; // a letter keeps the addresses it was written with
    m_filling = true;
    showFirstAddress(p);
    edtUID->setText(p.uid);
    edtName2->setText(p.rechnungsanschrift.bez);
    edtStrasse2->setText(p.rechnungsanschrift.strasse);
    edtPlzOrt2->setText(p.rechnungsanschrift.plz.isEmpty()
                            ? p.rechnungsanschrift.ort
                            : p.rechnungsanschrift.plz + QLatin1Char(' ') + p.rechnungsanschrift.ort);
    m_filling = false;
}

void DunningPage::showLetter()
{
    m_filling = true;
    m_letter->showLetter(m_doc);
    const int level = m_doc.dunningLevel;
    const char *colour = level == 1 ? "black" : level == 2 ? "blue" : level == 3 ? "magenta" : "red";
    lblLevel->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(colour)));
    if (m_doc.invoiceNumber > 0) {
        lblInvoice->setText(QStringLiteral("Rechnung ") + PadNumber(m_doc.invoiceNumber) + QStringLiteral("/"));
        lblLevel->setText(QString::number(level) + QStringLiteral(". Mahnung"));
        lblLevel->setVisible(true);
    } else if (m_stored) {
        lblInvoice->setText(QStringLiteral("Rechnungsnummer ") + cbNummer->currentText() + QStringLiteral("\r ungültig!"));
        lblLevel->setVisible(false);
    } else {
        lblInvoice->clear();
        lblLevel->clear();
    }
    m_filling = false;
}

void DunningPage::clearPage()
{
    m_number = 0;
    m_stored = false;
    m_doc = Document(DocumentKind::Mahnung);
    m_clean = true;
    showLetter();
    for (QLineEdit *e : {edtEFirma, edtName, edtStrasse, edtPlzOrt, edtName2, edtStrasse2, edtPlzOrt2, edtUID})
        e->clear();
    cbNummer->clear();
    setEditMode(false);
    Q_EMIT modifiedChanged();
}

void DunningPage::applyPermissions(bool projectsWrite, bool invoicesRead)
{
    m_canWrite = projectsWrite;
    const bool hidden = !projectsWrite && !invoicesRead;
    showNoPermission(hidden);
    updateCommands();
    if (hidden)
        for (QWidget *b : {static_cast<QWidget *>(btnPrint), static_cast<QWidget *>(btnMail)})
            b->setEnabled(false);
}

void DunningPage::openDocument(qint64 number)
{
    const DocumentStore::Loaded loaded = m_store.loadDunningLetter(number);
    m_number = number;
    m_stored = loaded.stored;
    if (m_stored)
        m_doc = loaded.document;
    else
        m_doc = Document(DocumentKind::Mahnung);
    m_clean = true;
    fillNumberList();
    showLetter();
    setEditMode(false);
    Q_EMIT modifiedChanged();
}

void DunningPage::pickDocument(int listIndex)
{
    const QString entry = cbNummer->itemText(listIndex);
    if (!m_clean && !askSaveChanges(m_state.dialogs, [this] { return cmdSave(); }))
        return;
    openDocument(entry.trimmed().toLongLong());
}

bool DunningPage::cmdSave()
{
    if (!m_stored)
        return false; // the placeholder entry: letters come from the dunning run
    m_doc = shownDocument();
    m_store.saveDunningLetter(m_doc);
    m_clean = true;
    setEditMode(false);
    Q_EMIT modifiedChanged();
    Q_EMIT saved(SavedMessage(DocumentKind(DocumentKind::Mahnung).name(), m_doc.number));
    return true;
}

Document DunningPage::shownDocument() const
{
    Document d = m_doc;
    d.number = m_number;
    d.projectNumber = m_projectNumber;
    d.projectName = m_projectName;
    m_letter->readLetter(d);
    return d;
}

void DunningPage::cmdChange()
{
    setEditMode(true);
}
