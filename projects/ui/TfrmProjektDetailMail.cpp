// The project window's command "Per E-Mail senden…" of the document pages.
#include "TfrmProjektDetail.h"

#include "AppState.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "DocumentHistory.h"
#include "DocumentPage.h"
#include "EInvoiceSource.h"
#include "Formats.h"
#include "PrintCommands.h"
#include "ProjectPage.h"
#include "ProjectPrinting.h"

#include <QDir>
#include <QFileInfo>

void TfrmProjektDetail::cmdMail(DocumentPage *page)
{
    // What goes out is what is stored: a page with changes is saved first.
    if (!page->isClean() || page->currentNumber() <= 0) {
        m_state.dialogs.information(QStringLiteral("Bitte speichern Sie den Beleg, bevor Sie ihn per E-Mail senden."));
        return;
    }
    const DocumentKind kind = page->kind();
    const qint64 number = page->currentNumber();
    const ProjectValue project = m_projectPage->value();
    QString path = ProposedPdfPath(kind.listCaption(), number);
    const bool electronic = kind == DocumentKind::Rechnung || kind == DocumentKind::Gutschrift;
    const auto form = electronic ? EInvoiceSource::customerForm(m_state.db, project) : std::nullopt;
    if (form) {
        if (*form == EInvoice::Profile::XRechnung)
            path = QFileInfo(path).path() + QLatin1Char('/') + QFileInfo(path).completeBaseName() + QStringLiteral(".xml");
        cmdEInvoice(page, path);
        if (!QFileInfo::exists(path))
            return; // the e-invoice said why
    } else if (m_printing->writePdf(page, path).isEmpty()) {
        return;
    }
    MailDraft draft;
    draft.to = EInvoiceSource::customerEmail(m_state.db, project.knr);
    draft.subject = kind.listCaption() + QLatin1Char(' ') + PadNumber(number);
    draft.body = QStringLiteral("Sehr geehrte Damen und Herren,\n\nanbei erhalten Sie %1.\n\nMit freundlichen Grüßen")
                     .arg(draft.subject);
    draft.attachments = {path};
    if (!ComposeMail(draft)) {
        m_state.dialogs.information(QStringLiteral("Es ist kein E-Mail-Programm eingerichtet (xdg-email). Die Datei "
                                                   "wurde gespeichert:\n%1")
                                        .arg(QDir::toNativeSeparators(path)));
        return;
    }
    DocumentHistory::markIssued(m_state.db, kind, number, DocumentHistory::ByMail);
}
