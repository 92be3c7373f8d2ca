#include "TakeOverCommands.h"

#include "AppState.h"
#include "Dialogs.h"
#include "DocumentPage.h"
#include "DocumentStore.h"
#include "DocumentTakeOver.h"
#include "TVorgang.h"
#include "ProjectPages.h"

#include <QTabWidget>

namespace {

QString existingNotice(DocumentKind kind)
{
    switch (kind.kind()) {
    case DocumentKind::Angebot: return QStringLiteral("Hiermit fügen Sie Daten eines Angebote in ein neues Angebot ein!");
    case DocumentKind::Auftrag:
        return QStringLiteral("Hiermit fügen Sie Daten eines Auftrages in einen neuen Auftrag ein!");
    case DocumentKind::Lieferschein:
        return QStringLiteral("Hiermit fügen Sie Daten eines Lieferscheines in einen neuen Lieferschein ein!");
    case DocumentKind::Rechnung: return QStringLiteral("Hiermit fügen Sie Daten einer Rechnung in eine neue Rechnung ein!");
    case DocumentKind::Gutschrift:
        return QStringLiteral("Hiermit fügen Sie Daten einer Gutschrift in eine neue Gutschrift ein!");
    default: return QStringLiteral("Hiermit fügen Sie Daten einer Arbeitsablage in eine neue Ablage ein!");
    }
}

void showPageOf(ProjectPages &pages, DocumentPage &page)
{
    pages.showPage(pages.indexOfPage(&page));
}

} // namespace

bool TakeOverInto(AppState &state, ProjectPages &pages, DocumentPage &source, DocumentKind targetKind)
{
    DocumentPage *target = pages.documentPage(targetKind);
    if (!target || !DocumentTakeOver::permitted(source.kind(), targetKind))
        return false;
    DocumentStore &store = pages.documentStore();
    const bool creditNote = source.kind() == DocumentKind::Rechnung && targetKind == DocumentKind::Gutschrift;

    if (creditNote && store.isInvoicePaid(source.currentNumber())
        && state.dialogs.question(QStringLiteral("Rechung ist schon Bezahlt! Wollen Sie trozdem Weitermachen?"),
                                  Dialogs::Buttons::YesNoCancel, QStringLiteral("Warnung"))
               != Dialogs::Answer::Yes)
        return false;
    if (!source.document().lines.hasFirstPosition()) {
        state.dialogs.warning(QStringLiteral("Es sind keine Daten vorhanden. Vorgang wurde abgebrochen!"));
        return false;
    }
    // A credit note refers to the invoice as it is stored.
    if (creditNote && (!source.isClean() || !store.isStored(DocumentKind::Rechnung, source.currentNumber()))) {
        if (state.dialogs.question(QStringLiteral("Die Rechnung muss bevor sie zur Gutschrift gemacht wird, "
                                                  "gespeichert werden! Wollen Sie jetz die Rechnung speichern?"),
                                   Dialogs::Buttons::YesCancel, QStringLiteral("Information"))
            != Dialogs::Answer::Yes)
            return false;
        if (!source.cmdSave())
            return false;
    }
    // Taken before the target's question: on the source's own page, saving or
    // discarding changes the page, not what is taken over.
    const Document taken = source.shownDocument();
    if (!target->isClean()
        && state.dialogs.question(QStringLiteral("Der Zielvorgang ist nicht gesichert. Daten gehen verloren!"),
                                  Dialogs::Buttons::YesCancel, QStringLiteral("Warnung"))
               != Dialogs::Answer::Yes)
        return false;

    Document filled = target->shownDocument();
    DocumentTakeOver::copyInto(taken, filled);
    target->takeOverDocument(filled);
    showPageOf(pages, *target);
    return true;
}

bool TakeOverExisting(AppState &state, ProjectPages &pages, DocumentPage &target)
{
    state.dialogs.warning(existingNotice(target.kind()));
    if (!target.cmdNew() || !target.isClean())
        return false;
    const std::optional<Document> chosen = PickExistingDocument(state, target.kind(), pages.pagesWindow());
    if (!chosen)
        return false;
    Document filled = target.shownDocument();
    DocumentTakeOver::copyExisting(*chosen, filled);
    target.takeOverDocument(filled);
    showPageOf(pages, target);
    return true;
}
