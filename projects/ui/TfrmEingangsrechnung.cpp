#include "TfrmEingangsrechnung.h"

#include "AppState.h"
#include "Dialogs.h"
#include "EInvoiceChecks.h"
#include "ReceivedInvoiceOpen.h"
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
    btnPrint = new QPushButton(QStringLiteral("&Drucken…"), this);
    btnPrint->setObjectName(QStringLiteral("btnPrint"));
    btnPdf = new QPushButton(QStringLiteral("Als &PDF speichern…"), this);
    btnPdf->setObjectName(QStringLiteral("btnPdf"));
    btnClose = new QPushButton(QStringLiteral("&Schließen"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    buttons->addWidget(btnOpen);
    buttons->addStretch(1);
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnPdf);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);
    btnPrint->setEnabled(false);
    btnPdf->setEnabled(false);
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
    else
        read = OpenReceivedInvoice(f.readAll(), name);
    if (!read.ok()) {
        m_state.dialogs.error(read.error);
        return false;
    }
    m_invoice = read.invoice;
    m_failures = EInvoiceChecks::check(m_invoice);
    m_fileName = name;
    setWindowTitle(QStringLiteral("Eingangsrechnung – ") + name);
    txtInvoice->setHtml(ReceivedInvoiceHtml(m_invoice, m_failures));
    lblCheck->setText(m_failures.isEmpty()
                          ? QStringLiteral("Geprüft: Pflichtangaben und Summen stimmen.")
                          : QStringLiteral("Geprüft: %1 Beanstandung(en), siehe unten.").arg(m_failures.size()));
    lblCheck->setStyleSheet(m_failures.isEmpty() ? QStringLiteral("color: #006400") : QStringLiteral("color: #b00000"));
    btnPrint->setEnabled(true);
    btnPdf->setEnabled(true);
    return true;
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
