#include "DocumentCommands.h"

DocumentCommands DocumentCommands::decide(const DocumentPageState &s)
{
    const bool credit = s.kind == DocumentKind::Gutschrift;
    const bool write = s.mayWrite;
    const bool edit = s.editMode && write;
    const bool first = s.hasFirstPosition;
    // A page behind "keine Berechtigung" offers nothing that would show or hand
    // out its document.
    const bool shown = !s.hidden;
    DocumentCommands c;
    c.fieldsEditable = edit;
    c.dialogs = dialogButtons(s.kind, s.editMode && (!credit || s.creditUnlocked), write);
    c.save = edit && first;
    c.change = write && !s.editMode && first;
    c.create = write && first;
    // Taking over from a stored document starts a new document itself.
    c.takeOver = write;
    c.print = shown && first;
    c.eInvoice = shown && first;
    c.mail = shown && first;
    c.history = shown && first && !s.isNew;
    c.printPrices = first;
    // Offered once the first row holds anything: a text line first is refused
    // with its warning when chosen, rather than never offered.
    c.takeOverInto = write && s.hasFirstLine;
    // While a page holds unsaved changes its list stays where it is (the credit
    // note's stays open: it has no new command of its own).
    c.numberList = s.clean || credit;
    return c;
}
