#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class AppState;
class Database;

// Emptying whole groups of tables, for example to hand an installation over with
// its settings but without customer data. Users, permissions, VAT rates, texts,
// footer lines and dunning templates belong to no group and are never touched.
namespace DataMaintenance {

enum class Group { Alle, Artikel, Projekte, Angebote, Auftraege, Lieferscheine, Rechnungen, Gutschriften, Ablage,
                   Mahnungen };
constexpr int GroupCount = 10;

// The caption of the group's button ("Rechnungen löschen").
QString caption(Group group);
// The tables the button empties, followed by those of the buttons it runs after
// its own (all contacts run articles and projects; projects run every document
// kind), in that order.
QStringList tables(Group group);
// The marker files (".ob0") of the same buttons, deleted from the home folder.
QStringList markerFiles(Group group);

using RowCounts = QList<std::pair<QString, qint64>>;
RowCounts rowCounts(Database &db, Group group);
// "... wirklich unwiderruflich löschen?", naming every table with its rows.
QString question(Group group, const RowCounts &rows);
// Issued invoices and credit notes must be kept: the group that would delete any
// is refused with this message (naming them and the credit note as the way to
// correct an invoice); empty when the group may be emptied. The history of
// issued documents belongs to no group.
QString refusal(Database &db, Group group);
// Emptying tables is for the user who administers users (right 14).
bool permitted(const AppState &state);
// Empties the tables of the group in one transaction, so a failure leaves every
// one of them as it was; then deletes the marker files that exist. Throws
// OrvellaError with the refusal, writing nothing, when the group is refused.
void empty(Database &db, const QString &exeDir, Group group);

} // namespace DataMaintenance
