#include "Schema.h"

#include "SchemaParts.h"

#include <utility>
#include <vector>

// The indexes of the searches that match anywhere in a text: the SQLite file's
// substring index tables with their triggers, the server's trigram indexes and
// its contact texts.
namespace Schema {
namespace Parts {
namespace {

// The text columns the searches look into anywhere ("contains"). On the server a
// trigram index serves ILIKE '%text%' and ILIKE 'text%' alike.
const std::vector<std::pair<const char *, const char *>> &searchedColumns()
{
    static const std::vector<std::pair<const char *, const char *>> columns = {
        {"firma", "Name"},      {"firma", "Branche"},   {"firma", "Begriffe"},   {"firma", "Telefon"},
        {"name", "VName"},      {"name", "NName"},      {"name", "Begriffe"},    {"name", "Telefon"},
        {"adresse", "Strasse"}, {"adresse", "PLZ"},     {"adresse", "Ort"},      {"adresse", "Land"},
        {"artikel", "Bez"},     {"artikel", "ArtikelNr"}, {"projekttofn", "PrName"},
        {"projekt", "VName"},   {"projekt", "NName"},
    };
    return columns;
}

} // namespace

// The server's trigram extension lives in a schema of its own, outside every data
// set: a data set's schema is dropped and made anew by a restore, and one the
// extension depends on could not be. Connections find it on their search path.
QStringList trigramExtensionStatements()
{
    return {QStringLiteral("CREATE SCHEMA IF NOT EXISTS %1").arg(ExtensionSchema),
            QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm SCHEMA %1").arg(ExtensionSchema)};
}

// The server's trigram indexes: one per searched column, so that every ILIKE of
// an "anywhere" search (one column or several joined by OR) is served by them.
QStringList serverSearchIndexStatements()
{
    QStringList out;
    for (const auto &[table, column] : searchedColumns())
        out << QStringLiteral("CREATE INDEX IF NOT EXISTS ix_%1_%2_trgm ON %1 USING gin (%2 gin_trgm_ops)")
                   .arg(QLatin1String(table), QLatin1String(column));
    return out;
}

// The server's contact texts (see contactText): a column of the contact's row, a
// trigger that writes it whenever the row is written, and triggers on the links
// and addresses that have their contacts' rows written anew. Every statement may
// run again on a data set that has them.
QStringList contactTextStatements()
{
    // The main addresses' texts, one address after the other; NULL without one.
    // E'\n' is ContactTextSeparator.
    QStringList out = {QStringLiteral(
        "CREATE OR REPLACE FUNCTION orvella_adresstext(kontakt BIGINT) RETURNS TEXT LANGUAGE sql STABLE "
        "SET search_path FROM CURRENT AS $$ SELECT string_agg(concat_ws(E'\\n', a.Strasse, a.PLZ, a.Ort, a.Land), "
        "E'\\n' ORDER BY a.IDA) FROM adressetofn l JOIN adresse a ON a.IDA = l.IDA "
        "WHERE l.IDFN = kontakt AND l.St = '1' $$")};
    for (const SearchIndex index : {SearchIndex::Firma, SearchIndex::Name}) {
        const ContactText text = *contactText(index);
        const QString &table = text.table;
        const QString key = index == SearchIndex::Firma ? QStringLiteral("IDF") : QStringLiteral("IDN");
        QStringList own;
        for (const QString &column : text.columns)
            if (column.startsWith(table + QLatin1Char('.')))
                own << QStringLiteral("NEW.") + column.section(QLatin1Char('.'), 1);
        out << QStringLiteral("ALTER TABLE %1 ADD COLUMN IF NOT EXISTS suchtext TEXT").arg(table)
            << QStringLiteral("CREATE OR REPLACE FUNCTION orvella_suchtext_%1() RETURNS trigger LANGUAGE plpgsql "
                              "SET search_path FROM CURRENT AS $$ DECLARE adressen TEXT := orvella_adresstext(NEW.%2); "
                              "BEGIN NEW.suchtext := CASE WHEN adressen IS NOT NULL THEN lower(concat_ws(E'\\n', %3, "
                              "adressen)) END; RETURN NEW; END $$")
                   .arg(table, key, own.join(QStringLiteral(", ")))
            << QStringLiteral("DROP TRIGGER IF EXISTS suchtext_%1 ON %1").arg(table)
            << QStringLiteral("CREATE TRIGGER suchtext_%1 BEFORE INSERT OR UPDATE ON %1 FOR EACH ROW "
                              "EXECUTE FUNCTION orvella_suchtext_%1()")
                   .arg(table);
    }
    // A link names a company or a person by number: both rows are written anew, and
    // their own trigger gives them their text.
    out << QStringLiteral("CREATE OR REPLACE FUNCTION orvella_kontakt_auffrischen(kontakt BIGINT) RETURNS void "
                          "LANGUAGE sql SET search_path FROM CURRENT AS $$ UPDATE firma SET suchtext = NULL "
                          "WHERE IDF = kontakt; UPDATE name SET suchtext = NULL WHERE IDN = kontakt $$")
        << QStringLiteral("CREATE OR REPLACE FUNCTION orvella_suchtext_verweis() RETURNS trigger LANGUAGE plpgsql "
                          "SET search_path FROM CURRENT AS $$ BEGIN "
                          "IF TG_OP <> 'INSERT' THEN PERFORM orvella_kontakt_auffrischen(OLD.IDFN); END IF; "
                          "IF TG_OP = 'INSERT' OR (TG_OP = 'UPDATE' AND NEW.IDFN IS DISTINCT FROM OLD.IDFN) THEN "
                          "PERFORM orvella_kontakt_auffrischen(NEW.IDFN); END IF; RETURN NULL; END $$")
        << QStringLiteral("DROP TRIGGER IF EXISTS suchtext_verweis ON adressetofn")
        << QStringLiteral("CREATE TRIGGER suchtext_verweis AFTER INSERT OR UPDATE OR DELETE ON adressetofn "
                          "FOR EACH ROW EXECUTE FUNCTION orvella_suchtext_verweis()")
        << QStringLiteral("CREATE OR REPLACE FUNCTION orvella_suchtext_adresse() RETURNS trigger LANGUAGE plpgsql "
                          "SET search_path FROM CURRENT AS $$ BEGIN "
                          "IF TG_OP <> 'INSERT' THEN PERFORM orvella_kontakt_auffrischen(l.IDFN) FROM adressetofn l "
                          "WHERE l.IDA = OLD.IDA; END IF; "
                          "IF TG_OP = 'INSERT' OR (TG_OP = 'UPDATE' AND NEW.IDA IS DISTINCT FROM OLD.IDA) THEN "
                          "PERFORM orvella_kontakt_auffrischen(l.IDFN) FROM adressetofn l WHERE l.IDA = NEW.IDA; "
                          "END IF; RETURN NULL; END $$")
        << QStringLiteral("DROP TRIGGER IF EXISTS suchtext_adresse ON adresse")
        << QStringLiteral("CREATE TRIGGER suchtext_adresse AFTER INSERT OR UPDATE OR DELETE ON adresse "
                          "FOR EACH ROW EXECUTE FUNCTION orvella_suchtext_adresse()")
        // the texts of the contacts already stored, then their index
        << QStringLiteral("UPDATE firma SET suchtext = NULL") << QStringLiteral("UPDATE name SET suchtext = NULL")
        << QStringLiteral("CREATE INDEX IF NOT EXISTS ix_firma_suchtext_trgm ON firma USING gin "
                          "(suchtext gin_trgm_ops)")
        << QStringLiteral("CREATE INDEX IF NOT EXISTS ix_name_suchtext_trgm ON name USING gin "
                          "(suchtext gin_trgm_ops)")
        // the names in list order within blocked and active contacts: a list of
        // the few blocked ones walks them alone
        << QStringLiteral("CREATE INDEX IF NOT EXISTS ix_firma_St_Name ON firma (St, Name)")
        << QStringLiteral("CREATE INDEX IF NOT EXISTS ix_name_St_NName ON name (St, NName)");
    return out;
}

// The server's trigram indexes cannot find a term of one or two characters. The
// contact text's own characters and pairs of characters, each once, serve as a
// second index of it: a short term lies in the contact text only if the array
// holds it, and the few contacts that hold a rare pair are found without reading
// the others. The indexes of the categories serve the list of those in use and a
// list of one category in name order.
QStringList quickListStatements()
{
    return {QStringLiteral("CREATE OR REPLACE FUNCTION %1(t TEXT) RETURNS TEXT[] LANGUAGE sql IMMUTABLE STRICT "
                           "PARALLEL SAFE AS $$ SELECT array_agg(DISTINCT substr(t, i, n)) "
                           "FROM generate_series(1, length(t)) AS i, generate_series(1, 2) AS n "
                           "WHERE i + n - 1 <= length(t) $$")
                .arg(ShortTermFunction),
            QStringLiteral("CREATE INDEX IF NOT EXISTS ix_firma_suchtext_kurz ON firma USING gin (%1(suchtext))")
                .arg(ShortTermFunction),
            QStringLiteral("CREATE INDEX IF NOT EXISTS ix_name_suchtext_kurz ON name USING gin (%1(suchtext))")
                .arg(ShortTermFunction),
            QStringLiteral("CREATE INDEX IF NOT EXISTS ix_firma_Kategorie_St_Name ON firma (Kategorie, St, Name)"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS ix_name_Kategorie_St_NName ON name (Kategorie, St, NName)")};
}

} // namespace Parts

namespace {

// One substring index table: the texts of one searched table under the row's
// number. Where the number is not unique (a project's name row), the index row
// holds the texts of all rows with the number, one per line.
struct TextTable
{
    QString name;
    QString table;
    QString key;
    QStringList columns;
    bool grouped = false;
};

const std::vector<TextTable> &textTables()
{
    static const std::vector<TextTable> tables = {
        {"suche_firma", "firma", "IDF", {"Name", "Branche", "Begriffe", "Telefon"}},
        {"suche_name", "name", "IDN", {"NName", "VName", "Begriffe", "Telefon"}},
        {"suche_adresse", "adresse", "IDA", {"Strasse", "PLZ", "Ort", "Land"}},
        {"suche_projekt", "projekt", "PrNr", {"VName", "NName"}},
        {"suche_projektname", "projekttofn", "IDP", {"PrName"}, true},
        {"suche_artikel", "artikel", "ID", {"Bez", "ArtikelNr"}},
    };
    return tables;
}

// Appended to every indexed text, so that each of its characters, the last two
// included, starts a run of three: a term of one or two characters is then the
// beginning of the runs that hold it (see SearchIndexPart::runs).
const QString ShortTermPadding = QStringLiteral("char(31, 31)");

// The index rows of the rows that meet the condition (all rows for none). Only
// whole numbers can be row numbers of an index; the program draws no others.
QString fillStatement(const TextTable &t, const QString &condition)
{
    QStringList values;
    for (const QString &c : t.columns) {
        const QString padded = c + QStringLiteral(" || ") + ShortTermPadding;
        values << (t.grouped ? QStringLiteral("group_concat(%1, char(10))").arg(padded) : padded);
    }
    QString sql = QStringLiteral("INSERT INTO %1 (rowid, %2) SELECT %3, %4 FROM %5 WHERE typeof(%3) = 'integer'")
                      .arg(t.name, t.columns.join(QStringLiteral(", ")), t.key, values.join(QStringLiteral(", ")),
                           t.table);
    if (!condition.isEmpty())
        sql += QStringLiteral(" AND ") + condition;
    if (t.grouped)
        sql += QStringLiteral(" GROUP BY ") + t.key;
    return sql;
}

QString runsTable(const QString &indexTable)
{
    return indexTable + QStringLiteral("_teile");
}

QString triggerName(const TextTable &t, const char *event)
{
    return QStringLiteral("%1_%2").arg(t.name, QLatin1String(event));
}

// Every insert, change and deletion of a row rewrites the index rows of its
// number (the old and the new one), from the rows that have it afterwards.
QStringList triggerStatements(const TextTable &t)
{
    const QString key = t.key;
    const auto drop = [&](const char *row) {
        return QStringLiteral("DELETE FROM %1 WHERE rowid = %2.%3; ").arg(t.name, QLatin1String(row), key);
    };
    const auto fill = [&](const QString &condition) { return fillStatement(t, condition) + QStringLiteral("; "); };
    const QString on = QStringLiteral(" ON ") + t.table + QStringLiteral(" BEGIN ");
    const QString oldKey = QStringLiteral("old.") + key, newKey = QStringLiteral("new.") + key;
    return {
        QStringLiteral("CREATE TRIGGER ") + triggerName(t, "ai") + QStringLiteral(" AFTER INSERT") + on + drop("new")
            + fill(key + QStringLiteral(" = ") + newKey) + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER ") + triggerName(t, "au") + QStringLiteral(" AFTER UPDATE OF ")
            + (QStringList{key} + t.columns).join(QStringLiteral(", ")) + on + drop("old") + drop("new")
            + fill(key + QStringLiteral(" = ") + oldKey)
            + fill(key + QStringLiteral(" = ") + newKey + QStringLiteral(" AND ") + newKey + QStringLiteral(" IS NOT ")
                   + oldKey)
            + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER ") + triggerName(t, "ad") + QStringLiteral(" AFTER DELETE") + on + drop("old")
            + fill(key + QStringLiteral(" = ") + oldKey) + QStringLiteral("END"),
    };
}

} // namespace

SearchIndexInfo searchIndexInfo(SearchIndex index)
{
    const auto part = [](const char *name, const QString &keys = QStringLiteral("%1")) {
        for (const TextTable &t : textTables())
            if (t.name == QLatin1String(name))
                return SearchIndexPart{t.name, t.columns, keys, runsTable(t.name)};
        return SearchIndexPart{};
    };
    // A contact's address texts are those of its main address.
    const QString mainAddress = QStringLiteral(
        "SELECT adressetofn.IDFN FROM adressetofn WHERE adressetofn.St = '1' AND adressetofn.IDA IN (%1)");
    switch (index) {
    case SearchIndex::Firma: return {QStringLiteral("firma.IDF"), {part("suche_firma"), part("suche_adresse", mainAddress)}};
    case SearchIndex::Name: return {QStringLiteral("name.IDN"), {part("suche_name"), part("suche_adresse", mainAddress)}};
    case SearchIndex::Projekt:
        return {QStringLiteral("projekt.PrNr"), {part("suche_projekt"), part("suche_projektname")}};
    case SearchIndex::Artikel: return {QStringLiteral("artikel.ID"), {part("suche_artikel")}};
    }
    return {};
}

QStringList searchIndexStatements()
{
    QStringList out;
    for (const TextTable &t : textTables()) {
        for (const char *event : {"ai", "au", "ad"})
            out << QStringLiteral("DROP TRIGGER IF EXISTS ") + triggerName(t, event);
        out << QStringLiteral("DROP TABLE IF EXISTS ") + runsTable(t.name);
        out << QStringLiteral("DROP TABLE IF EXISTS ") + t.name;
        out << QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(%2, tokenize='trigram')")
                   .arg(t.name, t.columns.join(QStringLiteral(", ")));
        out << QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5vocab(%2, 'instance')").arg(runsTable(t.name), t.name);
        out << fillStatement(t, QString());
        // one segment instead of the many that a large fill leaves behind
        out << QStringLiteral("INSERT INTO %1 (%1) VALUES ('optimize')").arg(t.name);
        out << triggerStatements(t);
    }
    return out;
}

std::optional<ContactText> contactText(SearchIndex index)
{
    // What the contact list's general search looks into; a person's terms are not
    // among them.
    const QStringList address = {QStringLiteral("adresse.Strasse"), QStringLiteral("adresse.PLZ"),
                                 QStringLiteral("adresse.Ort"), QStringLiteral("adresse.Land")};
    switch (index) {
    case SearchIndex::Firma:
        return ContactText{QStringLiteral("firma"), QStringLiteral("firma.suchtext"),
                           QStringList{"firma.Name", "firma.Branche", "firma.Begriffe", "firma.Telefon"} + address};
    case SearchIndex::Name:
        return ContactText{QStringLiteral("name"), QStringLiteral("name.suchtext"),
                           QStringList{"name.NName", "name.VName", "name.Telefon"} + address};
    default:
        return std::nullopt;
    }
}

} // namespace Schema
