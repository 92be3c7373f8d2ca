#pragma once

#include "PrintTarget.h"

#include <QString>
#include <optional>

class Dialogs;
class QWidget;

// What a print preview shows and offers.
struct PreviewRequest
{
    QString title;       // of the printout, for the window caption
    QString pdfProposal; // the file "Als PDF speichern…" proposes
    PrintTarget printer; // the printer and copies the print dialog starts with
    PaintCopy paint;
};

// The modal steps of a print command, so that tests can answer them: the preview
// with "Drucken…" (the system print dialog chooses printer and copies) and "Als
// PDF speichern…" (a file name). No value when the user cancels.
class PrintPrompts
{
public:
    virtual ~PrintPrompts() = default;
    virtual std::optional<PrintTarget> preview(const PreviewRequest &request, QWidget *parent) = 0;
};

// The program's preview window.
class QtPrintPrompts : public PrintPrompts
{
public:
    explicit QtPrintPrompts(Dialogs &dialogs) : m_dialogs(dialogs) {}
    std::optional<PrintTarget> preview(const PreviewRequest &request, QWidget *parent) override;

private:
    Dialogs &m_dialogs;
};

// Asks for the PDF file through the program's dialogs, proposing the given file;
// adds ".pdf" when the name has no such ending. Empty when the user cancels.
QString AskPdfFileName(Dialogs &dialogs, const QString &proposal);
