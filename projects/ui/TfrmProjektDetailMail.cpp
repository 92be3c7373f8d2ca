// The project window's command "Per E-Mail senden…" of the document and dunning pages.
#include "TfrmProjektDetail.h"

#include "AppState.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "DocumentHistory.h"
#include "DocumentPage.h"
#include "DunningPage.h"
#include "EInvoiceSource.h"
#include "Formats.h"
#include "PrintCommands.h"
#include "ProjectPage.h"
#include "ProjectPrinting.h"
#include "TextTemplate.h"

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
    if (sendMail(kind.listCaption() + QLatin1Char(' ') + PadNumber(number), path))
        DocumentHistory::markIssued(m_state.db, kind, number, DocumentHistory::ByMail);
}

void TfrmProjektDetail::cmdMailDunning()
{
    if (!m_dunning->isClean() || m_dunning->currentNumber() <= 0) {
        m_state.dialogs.information(QStringLiteral("Bitte speichern Sie den Beleg, bevor Sie ihn per E-Mail senden."));
        return;
    }
    const QString caption = DocumentKind(DocumentKind::Mahnung).listCaption();
    const QString path = ProposedPdfPath(caption, m_dunning->currentNumber());
    if (m_printing->writeDunningPdf(path).isEmpty())
        return;
    sendMail(caption + QLatin1Char(' ') + PadNumber(m_dunning->currentNumber()), path);
}

bool TfrmProjektDetail::sendMail(const QString &subject, const QString &path)
{
    MailDraft draft;
    draft.to = EInvoiceSource::customerEmail(m_state.db, m_projectPage->value().knr);
    draft.subject = subject;
    draft.body = TextTemplate::mailBody(TextTemplate::mailText(m_state.db), subject);
    draft.attachments = {path};
    if (ComposeMail(draft))
        return true;
    m_state.dialogs.information(QStringLiteral("Es ist kein E-Mail-Programm eingerichtet (xdg-email). Die Datei "
                                               "wurde gespeichert:\n%1")
                                    .arg(QDir::toNativeSeparators(path)));
    return false;
}
