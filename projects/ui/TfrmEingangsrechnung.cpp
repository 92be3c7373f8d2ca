#include "TfrmEingangsrechnung.h"

#include "AppState.h"
#include "Dialogs.h"
#include "EInvoiceChecks.h"
#include "DocumentHistory.h"
#include "Errors.h"
#include "Formats.h"
#include "ReceivedInvoiceOpen.h"
#include "ReceivedInvoiceStore.h"
#include "ReceivedInvoiceView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

TfrmEingangsrechnung::TfrmEingangsrechnung(AppState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("frmEingangsrechnung"));
    setWindowTitle(QStringLiteral("Eingangsrechnung"));
    resize(860, 760);
    auto *layout = new QVBoxLayout(this);
    lblCheck = new QLabel(this);
    lblCheck->setObjectName(QStringLiteral("lblCheck"));
    lblCheck->setWordWrap(true);
    txtInvoice = new QTextBrowser(this);
    txtInvoice->setObjectName(QStringLiteral("txtInvoice"));
    txtInvoice->setOpenLinks(false);
    layout->addWidget(lblCheck);
    layout->addWidget(txtInvoice, 1);
    auto *buttons = new QHBoxLayout;
    btnOpen = new QPushButton(QStringLiteral("Ö&ffnen…"), this);
    btnOpen->setObjectName(QStringLiteral("btnOpen"));
    btnFile = new QPushButton(QStringLiteral("&Ablegen"), this);
    btnFile->setObjectName(QStringLiteral("btnFile"));
    btnFile->setToolTip(QStringLiteral("Die Rechnung mit der Originaldatei im Datenbestand ablegen"));
    btnPrint = new QPushButton(QStringLiteral("&Drucken…"), this);
    btnPrint->setObjectName(QStringLiteral("btnPrint"));
    btnPdf = new QPushButton(QStringLiteral("Als &PDF speichern…"), this);
    btnPdf->setObjectName(QStringLiteral("btnPdf"));
    btnClose = new QPushButton(QStringLiteral("&Schließen"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    buttons->addWidget(btnOpen);
    buttons->addStretch(1);
    buttons->addWidget(btnFile);
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnPdf);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);
    btnFile->setEnabled(false);
    btnPrint->setEnabled(false);
    btnPdf->setEnabled(false);
    connect(btnFile, &QPushButton::clicked, this, [this] { cmdFile(); });
    connect(btnOpen, &QPushButton::clicked, this, [this] { cmdOpen(); });
    connect(btnPrint, &QPushButton::clicked, this, &TfrmEingangsrechnung::cmdPrint);
    connect(btnPdf, &QPushButton::clicked, this, [this] { cmdPdf(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    m_choosePrinter = [this](QPrinter &printer) {
        QPrintDialog dialog(&printer, this);
        dialog.setWindowTitle(QStringLiteral("Eingangsrechnung drucken"));
        return dialog.exec() == QDialog::Accepted;
    };
}

TfrmEingangsrechnung::~TfrmEingangsrechnung() = default;

bool TfrmEingangsrechnung::cmdOpen()
{
    const QString path = m_state.dialogs.openFileName(QStringLiteral("E-Rechnung öffnen"), QString(),
                                                      QStringLiteral("E-Rechnungen (*.xml *.pdf);;Alle Dateien (*)"));
    return !path.isEmpty() && openFile(path);
}

bool TfrmEingangsrechnung::openFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile f(path);
    ReceivedInvoiceFile read;
    if (QFileInfo(path).size() > EInvoiceReader::MaxFileSize)
        read.error = QStringLiteral("Die Datei „%1“ ist größer als 20 MiB und wird nicht gelesen.").arg(name);
    else if (!f.open(QIODevice::ReadOnly))
        read.error = QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2").arg(name, f.errorString());
    if (!read.error.isEmpty()) {
        m_state.dialogs.error(read.error);
        return false;
    }
    m_filed = 0;
    if (!show(f.readAll(), name))
        return false;
    try {
        if (const auto earlier = ReceivedInvoiceStore(m_state.db, m_state.dmCommon).findFiled(m_content))
            m_filed = earlier->id;
    } catch (const OrvellaError &) {
        // Without the data set the invoice can still be read; filing will tell.
    }
    showFiledState();
    return true;
}

bool TfrmEingangsrechnung::openFiled(qint64 id)
{
    try {
        ReceivedInvoiceStore store(m_state.db, m_state.dmCommon);
        const std::optional<FiledInvoice> row = store.find(id);
        if (!row) {
            m_state.dialogs.error(QStringLiteral("Die abgelegte Rechnung gibt es nicht mehr."));
            return false;
        }
        const QByteArray content = store.content(id);
        m_filed = 0;
        if (!show(content, row->fileName))
            return false;
        m_filed = id;
        showFiledState();
        return true;
    } catch (const OrvellaError &e) {
        m_state.dialogs.error(e.message());
        return false;
    }
}

bool TfrmEingangsrechnung::show(const QByteArray &content, const QString &name)
{
    const ReceivedInvoiceFile read = OpenReceivedInvoice(content, name);
    if (!read.ok()) {
        m_state.dialogs.error(read.error);
        return false;
    }
    m_content = content;
    m_invoice = read.invoice;
    m_failures = EInvoiceChecks::check(m_invoice);
    m_fileName = name;
    setWindowTitle(QStringLiteral("Eingangsrechnung – ") + name);
    txtInvoice->setHtml(ReceivedInvoiceHtml(m_invoice, m_failures));
    btnPrint->setEnabled(true);
    btnPdf->setEnabled(true);
    return true;
}

void TfrmEingangsrechnung::showFiledState()
{
    QString text = m_failures.isEmpty() ? QStringLiteral("Geprüft: Pflichtangaben und Summen stimmen.")
                                        : QStringLiteral("Geprüft: %1 Beanstandung(en), siehe unten.").arg(m_failures.size());
    if (m_filed > 0)
        text += QStringLiteral(" Die Rechnung ist abgelegt.");
    lblCheck->setText(text);
    lblCheck->setStyleSheet(m_failures.isEmpty() ? QStringLiteral("color: #006400") : QStringLiteral("color: #b00000"));
    // Filing keeps supplier invoices with the open items, which need their right.
    btnFile->setEnabled(m_filed == 0 && !m_content.isEmpty() && m_state.perm(15));
}

qint64 TfrmEingangsrechnung::cmdFile()
{
    if (m_content.isEmpty() || m_filed > 0 || !m_state.perm(15))
        return 0;
    if (!m_failures.isEmpty()
        && m_state.dialogs.question(QStringLiteral("Die Prüfung der Rechnung hat %1 Beanstandung(en) ergeben.\n\n"
                                                   "Soll sie trotzdem abgelegt werden? Sie bleibt als fehlerhaft "
                                                   "gekennzeichnet.")
                                        .arg(m_failures.size()),
                                    Dialogs::Buttons::YesNo)
               != Dialogs::Answer::Yes)
        return 0;
    try {
        ReceivedInvoiceStore store(m_state.db, m_state.dmCommon);
        if (const auto earlier = store.findFiled(m_content)) {
            m_state.dialogs.information(QStringLiteral("Diese Datei ist bereits abgelegt: Rechnung %1 von %2, abgelegt am %3.")
                                            .arg(earlier->number, earlier->supplier, DateToStr(earlier->received)));
            m_filed = earlier->id;
            showFiledState();
            return 0;
        }
        const std::optional<SupplierMatch> match = store.matchSeller(m_invoice);
        bool newSupplier = false;
        QString supplierText;
        if (match) {
            supplierText = QStringLiteral("Lieferant: %1 (Nr. %2, erkannt an: %3).")
                               .arg(match->name, PadNumber(match->number), match->by);
        } else if (!m_invoice.seller.name.trimmed().isEmpty()) {
            const Dialogs::Answer a = m_state.dialogs.question(
                QStringLiteral("Der Lieferant „%1“ ist noch nicht gespeichert.\n\nSoll er mit den Daten der Rechnung "
                               "(Anschrift, USt-IdNr., IBAN) als neuer Lieferant angelegt werden?\n\n"
                               "Nein: die Rechnung wird ohne Kontakt abgelegt.")
                    .arg(m_invoice.seller.name.trimmed()),
                Dialogs::Buttons::YesNoCancel);
            if (a == Dialogs::Answer::Cancel)
                return 0;
            newSupplier = a == Dialogs::Answer::Yes;
        }
        const qint64 id = store.file(m_content, m_fileName, m_invoice, m_failures, match ? match->number : 0,
                                     newSupplier, DocumentEditor::of(m_state).user, QDate::currentDate());
        m_filed = id;
        m_createdSupplier = m_createdSupplier || newSupplier;
        if (newSupplier)
            if (const auto created = store.matchSeller(m_invoice))
                supplierText = QStringLiteral("Neuer Lieferant: %1 (Nr. %2).").arg(created->name, PadNumber(created->number));
        showFiledState();
        m_state.dialogs.information(QStringLiteral("Die Rechnung %1 ist abgelegt.%2")
                                        .arg(m_invoice.number, supplierText.isEmpty() ? QString() : QStringLiteral("\n") + supplierText));
        return id;
    } catch (const OrvellaError &e) {
        m_state.dialogs.error(e.message());
        return 0;
    }
}

void TfrmEingangsrechnung::cmdPrint()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Eingangsrechnung ") + m_invoice.number);
    if (m_choosePrinter && m_choosePrinter(printer))
        txtInvoice->document()->print(&printer);
}

bool TfrmEingangsrechnung::cmdPdf()
{
    const QString suggested = QDir::home().filePath(QFileInfo(m_fileName).completeBaseName() + QStringLiteral(".pdf"));
    const QString path = m_state.dialogs.saveFileName(QStringLiteral("Eingangsrechnung als PDF speichern"), suggested,
                                                      QStringLiteral("PDF-Dateien (*.pdf)"));
    if (path.isEmpty())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(QStringLiteral("Eingangsrechnung ") + m_invoice.number);
    txtInvoice->document()->print(&printer);
    if (!QFileInfo::exists(path)) {
        m_state.dialogs.error(QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden.").arg(path));
        return false;
    }
    return true;
}
