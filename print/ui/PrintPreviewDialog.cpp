#include "PrintPreviewDialog.h"

#include "Dialogs.h"
#include "PrintSystem.h"
#include "WindowPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

std::optional<PrintTarget> QtPrintPrompts::preview(const PreviewRequest &request, QWidget *parent)
{
    PrintPreviewDialog dialog(request, m_dialogs, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.target();
}

QString AskPdfFileName(Dialogs &dialogs, const QString &proposal)
{
    QString path = dialogs.saveFileName(QStringLiteral("Als PDF speichern"), proposal,
                                        QStringLiteral("PDF-Dateien (*.pdf)"));
    if (!path.isEmpty() && !path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    return path;
}

PrintPreviewDialog::PrintPreviewDialog(const PreviewRequest &request, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_request(request), m_dialogs(dialogs), m_printer(QPrinter::HighResolution)
{
    setObjectName(QStringLiteral("PrintPreviewDialog"));
    setWindowTitle(QStringLiteral("Druckvorschau – ") + request.title);
    const bool noPrinter = QPrinterInfo::availablePrinterNames().isEmpty();
    PrintSystem::setUpPrinter(m_printer, noPrinter ? PrintTarget::pdf(request.pdfProposal) : request.printer);
    m_printer.setCopyCount(std::max(1, request.printer.copies));

    auto *layout = new QVBoxLayout(this);
    auto *tools = new QHBoxLayout;
    const auto tool = [this, tools](const char *name, const QString &hint, QStyle::StandardPixmap icon,
                                    const QString &text = {}) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        if (text.isEmpty())
            b->setIcon(style()->standardIcon(icon));
        else
            b->setText(text);
        tools->addWidget(b);
        return b;
    };
    btnZurueck = tool("btnZurueck", QStringLiteral("Vorige Seite"), QStyle::SP_ArrowLeft);
    lblSeite = new QLabel(this);
    lblSeite->setObjectName(QStringLiteral("lblSeite"));
    tools->addWidget(lblSeite);
    btnWeiter = tool("btnWeiter", QStringLiteral("Nächste Seite"), QStyle::SP_ArrowRight);
    tools->addSpacing(16);
    btnGanzeSeite = tool("btnGanzeSeite", QStringLiteral("Ganze Seite"), QStyle::SP_TitleBarNormalButton,
                         QStringLiteral("Ganze Seite"));
    btnSeitenbreite = tool("btnSeitenbreite", QStringLiteral("Seitenbreite"), QStyle::SP_TitleBarMaxButton,
                           QStringLiteral("Seitenbreite"));
    btnKleiner = tool("btnKleiner", QStringLiteral("Verkleinern"), QStyle::SP_ArrowDown, QStringLiteral("−"));
    btnGroesser = tool("btnGroesser", QStringLiteral("Vergrößern"), QStyle::SP_ArrowUp, QStringLiteral("+"));
    tools->addStretch(1);
    layout->addLayout(tools);

    preview = new QPrintPreviewWidget(&m_printer, this);
    preview->setObjectName(QStringLiteral("preview"));
    connect(preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) {
        QPainter painter(printer);
        m_request.paint(painter, *printer);
    });
    connect(preview, &QPrintPreviewWidget::previewChanged, this, [this] { showPageNumber(); });
    layout->addWidget(preview, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnDrucken = new QPushButton(QStringLiteral("&Drucken…"), this);
    btnDrucken->setObjectName(QStringLiteral("btnDrucken"));
    btnPdf = new QPushButton(QStringLiteral("Als &PDF speichern…"), this);
    btnPdf->setObjectName(QStringLiteral("btnPdf"));
    btnAbbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    btnAbbrechen->setObjectName(QStringLiteral("btnAbbrechen"));
    for (QPushButton *b : {btnDrucken, btnPdf, btnAbbrechen}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    btnDrucken->setDefault(true);
    layout->addLayout(buttons);

    connect(btnZurueck, &QToolButton::clicked, this, [this] {
        preview->setCurrentPage(preview->currentPage() - 1);
        showPageNumber();
    });
    connect(btnWeiter, &QToolButton::clicked, this, [this] {
        preview->setCurrentPage(preview->currentPage() + 1);
        showPageNumber();
    });
    connect(btnGanzeSeite, &QToolButton::clicked, preview, &QPrintPreviewWidget::fitInView);
    connect(btnSeitenbreite, &QToolButton::clicked, preview, &QPrintPreviewWidget::fitToWidth);
    connect(btnGroesser, &QToolButton::clicked, this, [this] { preview->zoomIn(); });
    connect(btnKleiner, &QToolButton::clicked, this, [this] { preview->zoomOut(); });
    connect(btnDrucken, &QPushButton::clicked, this, [this] { printDialog(); });
    connect(btnPdf, &QPushButton::clicked, this, [this] { savePdf(); });
    connect(btnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    ResizeWithinScreen(this, QSize(820, 740));
}

void PrintPreviewDialog::showPageNumber()
{
    lblSeite->setText(QStringLiteral("Seite %1 von %2").arg(preview->currentPage()).arg(preview->pageCount()));
    btnZurueck->setEnabled(preview->currentPage() > 1);
    btnWeiter->setEnabled(preview->currentPage() < preview->pageCount());
}

void PrintPreviewDialog::printDialog()
{
    QPrintDialog dialog(&m_printer, this);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (m_printer.outputFormat() == QPrinter::PdfFormat && !m_printer.outputFileName().isEmpty())
        m_target = PrintTarget::pdf(m_printer.outputFileName(), m_printer.copyCount());
    else
        m_target = PrintTarget::printer(m_printer.outputFormat() == QPrinter::NativeFormat ? m_printer.printerName()
                                                                                             : QString(),
                                        m_printer.copyCount());
    accept();
}

void PrintPreviewDialog::savePdf()
{
    const QString path = AskPdfFileName(m_dialogs, m_request.pdfProposal);
    if (path.isEmpty())
        return;
    m_target = PrintTarget::pdf(path);
    accept();
}
