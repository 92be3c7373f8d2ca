#pragma once

#include "CorrespondenceStore.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

class AppState;
class Database;

// The contact's letter data as CorrespondenceStore reads them.
LetterData ReadLetterData(Database &db, qint64 contact, bool company);
// The bookmarks of a letter template and their texts, in the order they are filled.
QList<QPair<QString, QString>> LetterBookmarks(const LetterData &data, const QDate &today);

// The letter command: asks for a template of the folder "Allgemein", makes a new
// document from it, fills the bookmarks and opens it. Cancel ends the command.
void WriteLetter(AppState &state, qint64 contact, bool company);
