#include "DataMaintenance.h"

#include "AppState.h"
#include "Database.h"
#include "DocumentHistory.h"
#include "Errors.h"
#include "SqlQuery.h"
#include "Transaction.h"

#include <QDir>
#include <QFile>
#include <QLocale>

namespace DataMaintenance {
namespace {

struct GroupDef
{
    const char *caption;
    QStringList tables;
    const char *marker; // empty: none
    QList<Group> then;
};

QStringList family(const QString &base)
{
    return {base, base + QStringLiteral("anschrift"), base + QStringLiteral("artikel"), base + QStringLiteral("extra"),
            base + QStringLiteral("ztext")};
}

const GroupDef &def(Group group)
{
    static const GroupDef defs[GroupCount] = {
        {"Alle Tabellen löschen",
         {"adresse", "adressetofn", "anmerkung", "com", "comtofn", "firma", "firmamehr", "jub", "jubtofn", "memo",
          "memotofn", "name", "nametofirma", "namemehr"},
         "",
         {Group::Artikel, Group::Projekte}},
        {"Artikel löschen", {"artikel", "artikeltext"}, "", {}},
        {"Projekte löschen",
         {"projekt", "pradresse", "projektrabatt", "projekttofn"},
         "PrNr.ob0",
         {Group::Angebote, Group::Auftraege, Group::Lieferscheine, Group::Rechnungen, Group::Gutschriften,
          Group::Ablage, Group::Mahnungen}},
        {"Angebote löschen", family(QStringLiteral("angebote")), "Angebot.ob0", {}},
        {"Aufträge löschen", family(QStringLiteral("auftraege")), "Auftrag.ob0", {}},
        {"Lieferscheine löschen", family(QStringLiteral("lieferscheine")), "Lieferschein.ob0", {}},
        {"Rechnungen löschen",
         family(QStringLiteral("rechnungen"))
             << QStringLiteral("rechnungenop") << QStringLiteral("rechnungenbetrag") << QStringLiteral("teilbuchung"),
         "Rechnung.ob0",
         {}},
        {"Gutschriften löschen",
         family(QStringLiteral("gutschriften")) << QStringLiteral("gutschriftenbetrag")
                                                << QStringLiteral("gutschriftenop"),
         "Gutschrift.ob0",
         {}},
        {"Ablage löschen", family(QStringLiteral("ablage")), "Ablage.ob0", {}},
        {"Mahnungen löschen", {"mahnungen", "mahnungentext", "mahnungenanschrift"}, "Mahnung.ob0", {}},
    };
    return defs[int(group)];
}

} // namespace

QString caption(Group group)
{
    return QString::fromUtf8(def(group).caption);
}

QStringList tables(Group group)
{
    QStringList out = def(group).tables;
    for (const Group next : def(group).then)
        out << tables(next);
    return out;
}

QStringList markerFiles(Group group)
{
    QStringList out;
    if (*def(group).marker)
        out << QString::fromLatin1(def(group).marker);
    for (const Group next : def(group).then)
        out << markerFiles(next);
    return out;
}

RowCounts rowCounts(Database &db, Group group)
{
    RowCounts out;
    SqlQuery q(db);
    for (const QString &table : tables(group)) {
        q.open(QStringLiteral("SELECT COUNT(*) AS n FROM %1").arg(table));
        out.append({table, q.fieldInt(QStringLiteral("n"))});
    }
    return out;
}

QString question(Group group, const RowCounts &rows)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QStringList listed;
    qint64 total = 0;
    for (const auto &[table, n] : rows) {
        listed << QStringLiteral("%1 (%2)").arg(table, german.toString(n));
        total += n;
    }
    return QStringLiteral("\"%1\" leert diese Tabellen (in Klammern die Zahl ihrer Zeilen):\n%2\n\n"
                          "Wollen Sie diese %3 Zeilen wirklich unwiderruflich löschen?")
        .arg(caption(group), listed.join(QStringLiteral(", ")), german.toString(total));
}

bool permitted(const AppState &state)
{
    return state.perm(14);
}

QString refusal(Database &db, Group group)
{
    const QStringList emptied = tables(group);
    QStringList refused;
    for (const DocumentKind kind : {DocumentKind::Rechnung, DocumentKind::Gutschrift}) {
        if (!emptied.contains(kind.headerTable()))
            continue;
        const QList<qint64> issued = DocumentHistory::issuedNumbers(db, kind);
        if (!issued.isEmpty())
            refused << DocumentHistory::deleteRefusal(kind, issued);
    }
    return refused.join(QStringLiteral("\n\n"));
}

void empty(Database &db, const QString &exeDir, Group group)
{
    Transaction t(db);
    if (const QString refused = refusal(db, group); !refused.isEmpty())
        throw OrvellaError(refused);
    for (const QString &table : tables(group))
        db.exec(QStringLiteral("DELETE FROM %1").arg(table));
    t.commit();
    for (const QString &marker : markerFiles(group)) {
        const QString path = QDir(exeDir).filePath(marker);
        if (QFile::exists(path))
            QFile::remove(path);
    }
}

} // namespace DataMaintenance
