#pragma once

#include "DialogButtons.h"
#include "DocumentKind.h"

// What a document page knows about itself when it decides which of its commands
// are open. Everything here is plain state, so the decision is tested without a
// window.
struct DocumentPageState
{
    DocumentKind kind;
    bool mayWrite = true;         // "Projekte schreibend"
    bool hidden = false;          // invoice-like page behind "keine Berechtigung"
    bool editMode = true;         // after "neu", "ändern" or a take-over
    bool creditUnlocked = false;  // the credit note's line commands after "ändern" or a take-over
    bool clean = true;            // no unsaved changes
    bool isNew = false;           // begun on the page and never saved
    bool hasFirstPosition = false; // the first row is an article line
    bool hasFirstLine = false;    // the first row holds anything
};

// The commands of a document page that are open, decided from its state: the
// window only applies them to its buttons, menu entries and fields.
struct DocumentCommands
{
    bool fieldsEditable = false; // addresses, date, date of service, "links"
    PageDialogState dialogs;     // "Artikeldaten", "Rabatt", "Skonto", "Zusatztext"
    bool save = false;
    bool change = false;
    bool create = false;
    bool takeOver = false;     // "Daten aus vorhandenem ... übernehmen"
    bool print = false;
    bool eInvoice = false;     // "E-Rechnung speichern…"
    bool mail = false;         // "Per E-Mail senden…"
    bool history = false;      // "Verlauf…"
    bool printPrices = false;  // "Preis drucken"
    bool takeOverInto = false; // "übernehmen in" and its menu entries
    bool numberList = false;   // the list of stored documents

    static DocumentCommands decide(const DocumentPageState &state);

    bool operator==(const DocumentCommands &) const = default;
};
