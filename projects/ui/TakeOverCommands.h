#pragma once

#include "DocumentKind.h"

class AppState;
class DocumentPage;
class ProjectPages;

// The two take-over commands of the project window's document pages. Both fill a
// new document on a page and leave it unsaved; nothing is written unless the
// user agrees to save a document first.

// "übernehmen in": the document of the source page into a new document of the
// target kind. False when the user stopped it or there was nothing to take over.
bool TakeOverInto(AppState &state, ProjectPages &pages, DocumentPage &source, DocumentKind target);

// "Daten aus vorhandenem ... übernehmen": a new document on the page, filled from
// a stored document chosen in "aus Vorgang übernehmen".
bool TakeOverExisting(AppState &state, ProjectPages &pages, DocumentPage &target);
