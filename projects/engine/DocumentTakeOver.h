#pragma once

#include "Document.h"
#include "DocumentKind.h"

#include <QList>
#include <QString>

// Which kind of document may be filled from which, and what goes along. The
// pages hand in their documents as values; nothing here touches widgets or the
// database, and nothing is saved: the new document waits for the user's save.
namespace DocumentTakeOver {

// The kinds a document may be taken over into, in the order of the page's
// drop-down list and context menu. A credit note arises only from an invoice or
// another credit note; the dunning letter is neither source nor target.
QList<DocumentKind> targets(DocumentKind source);
bool permitted(DocumentKind source, DocumentKind target);

// A target as the drop-down list names it ("Angebot", ..., "Arbeitsablage").
QString listEntry(DocumentKind target);
// The context-menu entry, e.g. "Inhalt des Angebotes in einen neuen Auftrag übernehmen".
QString menuEntry(DocumentKind source, DocumentKind target);

// The additional text goes along when both are of one kind or either is the
// working document. Otherwise the new document starts without one, so that the
// text dialog offers the template of its own kind.
bool carriesAdditionalText(DocumentKind source, DocumentKind target);

// "übernehmen in": target holds what the target page shows (its addresses and its
// own Skonto). It receives every line of the source, each non-empty line of the
// source's addresses (the second address only where both kinds have one), the
// additional text by the rule above and, for a credit note made from an invoice,
// that invoice as the one it refers to. An invoice or credit note takes its date
// of service from a delivery note's date or the source invoice's date of service.
// Number, date and totals are the page's.
void copyInto(const Document &source, Document &target);

// "Daten aus vorhandenem ... übernehmen": the lines, the Skonto and the additional
// text of a stored document of any kind; the target keeps its own addresses.
void copyExisting(const Document &existing, Document &target);

} // namespace DocumentTakeOver
