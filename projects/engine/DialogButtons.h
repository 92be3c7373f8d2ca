#pragma once

#include "DocumentKind.h"

#include <QString>

// How one dialog command appears on a document page: as a panel button, as an
// entry of the page's context menu, and whether it can be used. A command that
// is not offered is neither shown nor enabled.
struct DialogCommand
{
    bool button = false;  // the panel button is shown
    bool menu = false;    // the context-menu entry is shown
    bool enabled = false; // button and entry are enabled
    QString hint;         // tool tip of the button

    bool operator==(const DialogCommand &) const = default;
};

// The four dialog commands of a document page: line items ("Artikeldaten"),
// "&Rabatt", "&Skonto" and "&Zusatztext".
struct PageDialogState
{
    DialogCommand articles;
    DialogCommand rabatt;
    DialogCommand skonto;
    DialogCommand zusatztext;

    bool operator==(const PageDialogState &) const = default;
};

// Which dialog commands a document page shows and enables.
//
// editable: the page's document can be changed now. For the quotation, order,
// delivery note and invoice that is their edit mode; the credit note passes
// true only after "Gutschrift ändern" or a take-over into it, and false again
// at every activation of the project window and after a load that found no
// stored lines. The working document has no read-only mode and is always
// editable, whatever is passed.
// mayWrite: the user holds "Projekte schreibend" (permission flag 6); without
// it every dialog command of the page is disabled.
//
// The dunning letter offers none of them.
PageDialogState dialogButtons(DocumentKind kind, bool editable, bool mayWrite);
