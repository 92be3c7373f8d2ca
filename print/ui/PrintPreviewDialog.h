#pragma once

#include "PrintPrompts.h"

#include <QDialog>
#include <QPrinter>

class Dialogs;
class QLabel;
class QPrintPreviewWidget;
class QPushButton;
class QToolButton;

// The pages of a printout as they will come out of the printer, with the
// commands "&Drucken…" (the system print dialog: printer and copies), "Als &PDF
// speichern…" and "&Abbrechen". Printing happens after the window closes, through
// the same code as every other print.
class PrintPreviewDialog : public QDialog
{
    Q_OBJECT
public:
    PrintPreviewDialog(const PreviewRequest &request, Dialogs &dialogs, QWidget *parent = nullptr);

    // What the user chose; valid after the dialog was accepted.
    const PrintTarget &target() const { return m_target; }
    // The preview's printer: the default printer, or a PDF printer when the
    // machine has none.
    const QPrinter &printer() const { return m_printer; }

    QPrintPreviewWidget *preview;
    QPushButton *btnDrucken, *btnPdf, *btnAbbrechen;
    QToolButton *btnGanzeSeite, *btnSeitenbreite, *btnGroesser, *btnKleiner, *btnZurueck, *btnWeiter;
    QLabel *lblSeite;

private:
    void printDialog();
    void savePdf();
    void showPageNumber();

    PreviewRequest m_request;
    Dialogs &m_dialogs;
    QPrinter m_printer;
    PrintTarget m_target;
};
