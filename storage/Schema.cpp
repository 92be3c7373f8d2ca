#include "Schema.h"

#include "Formats.h"
#include "SqlText.h"

#include <utility>

#include <vector>

namespace Schema {
namespace {

enum class Type { Integer, Money, Date, Text, Auto };

struct Column
{
    const char *name;
    Type type;
};

struct Table
{
    QString name;
    std::vector<Column> columns;
};

struct Index
{
    QString table;
    QString columns; // comma separated
    bool unique;
};

constexpr Type I = Type::Integer;
constexpr Type M = Type::Money;
constexpr Type D = Type::Date;
constexpr Type T = Type::Text;
constexpr Type A = Type::Auto;

const QStringList &docBases()
{
    static const QStringList bases = {
        QStringLiteral("angebote"), QStringLiteral("auftraege"), QStringLiteral("lieferscheine"),
        QStringLiteral("rechnungen"), QStringLiteral("gutschriften"), QStringLiteral("ablage"),
    };
    return bases;
}

// Companies and persons, the project tables, documents, master data and users.
std::vector<Table> tables()
{
    const std::vector<Column> mehr = {
        {"Zahlungsziel", I}, {"SkontoTage", I}, {"SkontoText", T}, {"RabattText", T},
        {"Skonto", M},       {"Rabatt", M},     {"Preisgruppe", T}, {"MwSt", M},
        {"UID", T},          {"Lieferbesch", T}, {"Hoechstwert", M}, {"Image", T},
        {"KInstitut", T},    {"KInhaber", T},   {"Konto", T},       {"BLZ", T},
        {"IBAN", T},
        // Electronic invoices: the buyer reference (Leitweg-ID of an authority) and
        // the form the customer takes them in ("XRechnung" or "ZUGFeRD").
        {"Kaeuferreferenz", T}, {"ERechnung", T},
    };
    std::vector<Column> firmamehr = {{"IDF", I}};
    firmamehr.insert(firmamehr.end(), mehr.begin(), mehr.end());
    std::vector<Column> namemehr = {{"IDN", I}};
    namemehr.insert(namemehr.end(), mehr.begin(), mehr.end());

    std::vector<Table> t = {
        {"firma", {{"IDF", I}, {"Name", T}, {"Branche", T}, {"Kategorie", T}, {"Begriffe", T},
                   {"SAnrede", T}, {"Telefon", T}, {"St", T}}},
        {"name", {{"IDN", I}, {"Titel", T}, {"Anrede", T}, {"VName", T}, {"NName", T},
                  {"Telefon", T}, {"Begriffe", T}, {"Kategorie", T}, {"SAnrede", T}, {"St", T}}},
        {"anmerkung", {{"IDA", I}, {"Anmerkung", T}}},
        {"adresse", {{"IDA", I}, {"Strasse", T}, {"PLZ", T}, {"Ort", T}, {"Land", T}}},
        {"adressetofn", {{"IDA", I}, {"IDFN", I}, {"Art", T}, {"St", T}}},
        {"com", {{"IDC", I}, {"Inhalt", T}, {"X", T}}},
        {"comtofn", {{"IDC", I}, {"IDFN", I}, {"Bez", T}}},
        {"nametofirma", {{"IDN", I}, {"IDF", I}, {"Pos", T}, {"St", T}}},
        {"firmamehr", firmamehr},
        {"namemehr", namemehr},
        // Kept with the contacts; only data maintenance empties them.
        {"jub", {{"IDJ", I}, {"Datum", D}, {"Text", T}}},
        {"jubtofn", {{"IDJ", I}, {"IDFN", I}}},
        {"memo", {{"IDM", I}, {"Datum", D}, {"Memo", T}}},
        {"memotofn", {{"IDM", I}, {"IDFN", I}}},

        {"projekt", {{"PrNr", I}, {"Anrede", T}, {"Titel", T}, {"VName", T}, {"NName", T},
                     {"PrMemo", T}, {"UID", T}, {"USt", T}, {"Anschrift", I}, {"LAnschrift", I},
                     {"RAnschrift", I}, {"Datum", D}, {"DatumB", D}, {"UIDStatus", T},
                     {"EFirma", T}, {"KNr", I}, {"BelegNr", I}}},
        {"projekttofn", {{"IDP", I}, {"IDFN", I}, {"PrName", T}}},
        {"pradresse", {{"IDA", I}, {"Bez", T}, {"Strasse", T}, {"PLZ", T}, {"Ort", T}, {"Land", T}}},
        {"projektrabatt", {{"PrNr", I}, {"RabattText", T}, {"ScontoText", T}, {"Rabatt", M},
                           {"Sconto", M}, {"Zahlungsziel", I}, {"Preisgruppe", T}}},
    };

    for (const QString &x : docBases()) {
        // BruttoRegel: how the gross amount follows from its parts (see
        // GrossRuleColumn); invoices and credit notes also keep their date of
        // service (LDatum, with LDatumBis for a period) and when they were issued.
        // Speicherkennung: the token of the save that made the document (see
        // SaveTokenStep), by which a save whose commit was cut off is found.
        std::vector<Column> head = {{"BelegNr", I}, {"ProjektNr", I}, {"ReNr", I}, {"Datum", D},
                                    {"PName", T}, {"RL", T}, {"EFirma", T}, {"BruttoRegel", T},
                                    {"Speicherkennung", T}};
        if (x == QLatin1String("rechnungen") || x == QLatin1String("gutschriften"))
            head.insert(head.end(), {{"LDatum", D}, {"LDatumBis", D}, {"Ausgestellt", T}});
        t.push_back({x, head});
        t.push_back({x + "anschrift", {{"BelegNr", I}, {"Art", T}, {"Bezeichnung", T}, {"Name", T},
                                       {"Strasse", T}, {"PLZOrt", T}, {"Land", T}}});
        t.push_back({x + "artikel", {{"ID", A}, {"BelegNr", I}, {"Pos", T}, {"ArtikelNr", T},
                                     {"Bezeichnung", T}, {"Anzahl", T}, {"Einzelpreis", T},
                                     {"Betrag", T}, {"MwSt", T}, {"Rabatt", T}, {"RF", I}}});
        t.push_back({x + "extra", {{"BelegNr", I}, {"ScontoText", T}, {"Sconto", T}}});
        t.push_back({x + "ztext", {{"BelegNr", I}, {"Zeile", I}, {"Style", T}, {"Text", T}}});
    }

    const std::vector<Table> rest = {
        {"rechnungenbetrag", {{"BelegNr", I}, {"Netto", M}, {"Brutto", M}}},
        {"gutschriftenbetrag", {{"BelegNr", I}, {"Netto", M}, {"Brutto", M}}},
        {"rechnungenop", {{"RNR", I}, {"ZZiel", I}, {"EDatum", D}, {"Betrag", M}, {"Name", T},
                          {"RBetrag", M}, {"MStufe", I}, {"Gebucht", T}, {"BDatum", D},
                          {"ZText", T}, {"Skonto", T}}},
        // Skonto: 'J' when the posting took the Skonto within its period, 'S' when
        // after it (the user confirmed), 'N' without; empty on older postings.
        {"teilbuchung", {{"ID", A}, {"RNr", I}, {"Betrag", M}, {"Datum", D}, {"Text", T}, {"Skonto", T}}},
        {"gutschriftenop", {{"BelegNr", I}, {"RNr", I}, {"Betrag", M}}},
        {"mahnungen", {{"BelegNr", I}, {"RNr", I}, {"MNr", I}, {"ProjektNr", I}, {"Datum", D},
                       {"PName", T}, {"RL", T}, {"EFirma", T}, {"Speicherkennung", T}}},
        {"mahnungentext", {{"ID", A}, {"BelegNr", I}, {"Text", T}}},
        {"mahnungenanschrift", {{"BelegNr", I}, {"Art", T}, {"Bezeichnung", T}, {"Name", T},
                                {"Strasse", T}, {"PLZOrt", T}, {"Land", T}}},

        {"artikel", {{"ID", A}, {"Bez", T}, {"ArtikelNr", T}, {"ArtikelGruppe", T},
                     {"Einzelpreis", M}, {"MwSt", T}, {"Bestand", I}, {"MBestand", I}, {"IDA", I}}},
        {"artikeltext", {{"ID", A}, {"IDA", I}, {"Text", T}}},
        // Kategorie: the VAT category of electronic invoices (S, E, AE, K, G, Z), with
        // the exemption reason a rate of 0 % must name.
        {"prust", {{"ID", A}, {"UStSatz", M}, {"Kategorie", T}, {"Befreiungsgrund", T}}},
        {"ztext", {{"Firma", I}, {"Art", T}, {"X", T}, {"Text", T}, {"Style", T}, {"Grad", I}}},
        {"foot", {{"Firma", I}, {"X", T}, {"A", T}, {"B", T}, {"C", T}, {"D", T}}},
        {"mahnungenstext", {{"ID", A}, {"MS", T}, {"RV", I}, {"Text", T}}},
        // The own company's tax, register, bank and contact data (one row, Firma 1),
        // which an electronic invoice names besides the address of EFirma.ob1.
        {"firmendaten", {{"Firma", I}, {"UStIdNr", T}, {"Steuernummer", T}, {"Handelsregister", T},
                         {"IBAN", T}, {"BIC", T}, {"Bank", T}, {"Kontakt", T}, {"EMail", T},
                         {"Telefon", T}}},

        // Earlier versions of issued invoices and credit notes, each kept before a
        // save changed it: the head with its amounts (Art names the document
        // family), and its lines, addresses and additional text as they were.
        // No command deletes them.
        {"belegverlauf", {{"ID", A}, {"Art", T}, {"BelegNr", I}, {"Zeitpunkt", T}, {"Benutzer", T},
                          {"Arbeitsplatz", T}, {"ProjektNr", I}, {"ReNr", I}, {"Datum", D}, {"PName", T},
                          {"RL", T}, {"EFirma", T}, {"LDatum", D}, {"LDatumBis", D}, {"BruttoRegel", T},
                          {"Ausgestellt", T}, {"ScontoText", T}, {"Sconto", T}, {"Netto", M}, {"Brutto", M},
                          {"ZZiel", I}, {"EDatum", D}}},
        {"belegverlaufartikel", {{"ID", A}, {"VerlaufID", I}, {"Pos", T}, {"ArtikelNr", T}, {"Bezeichnung", T},
                                 {"Anzahl", T}, {"Einzelpreis", T}, {"Betrag", T}, {"MwSt", T}, {"Rabatt", T},
                                 {"RF", I}}},
        {"belegverlaufanschrift", {{"VerlaufID", I}, {"Art", T}, {"Name", T}, {"Strasse", T}, {"PLZOrt", T}}},
        {"belegverlaufztext", {{"VerlaufID", I}, {"Zeile", I}, {"Style", T}, {"Text", T}}},

        {"usr", {{"IDU", I}, {"Name", T}, {"Pass", T}, {"Besch", T}}},
        // Failed log-ins in a row per log-in name (lower case), known or not, and
        // until when (milliseconds since 1970) the next try waits.
        {"anmeldeversuche", {{"Name", T}, {"Fehlversuche", I}, {"PauseBis", I}}},
        {"permission", {{"IDU", I}, {"IDP", I}, {"Perm", T}}},
    };
    t.insert(t.end(), rest.begin(), rest.end());
    return t;
}

// Every number and link column that statements search or join on. The numbers
// that identify one row of a kind are unique, so that two workstations drawing
// the same number cannot store two contacts, projects or documents under it.
std::vector<Index> indexes()
{
    std::vector<Index> ix = {
        {"firma", "IDF", true},
        {"name", "IDN", true},
        // The contact list walks companies and persons in name order and tests the
        // search terms on the index alone; prefix searches on postcode and
        // telephone use indexes that ignore case as LIKE does.
        {"firma", "Name,St,Kategorie,Begriffe,Branche,Telefon,IDF", false},
        {"name", "NName,St,Kategorie,VName,Begriffe,Telefon,IDN", false},
        {"firma", "Telefon COLLATE NOCASE", false},
        {"name", "Telefon COLLATE NOCASE", false},
        {"adresse", "PLZ COLLATE NOCASE", false},
        {"anmerkung", "IDA", false},
        {"adresse", "IDA", true},
        {"adressetofn", "IDFN,St,IDA,Art", false},
        {"adressetofn", "IDA", false},
        {"com", "IDC", true},
        {"comtofn", "IDFN", false},
        {"comtofn", "IDC", false},
        {"nametofirma", "IDN", false},
        {"nametofirma", "IDF", false},
        {"firmamehr", "IDF", false},
        {"namemehr", "IDN", false},
        {"jubtofn", "IDFN", false},
        {"memotofn", "IDFN", false},
        {"projekt", "PrNr", true},
        {"projekt", "KNr", false},
        {"projekttofn", "IDP", false},
        {"projekttofn", "IDFN", false},
        {"pradresse", "IDA", true},
        {"projektrabatt", "PrNr", false},
    };
    for (const QString &x : docBases()) {
        ix.push_back({x, "Speicherkennung", false});
        ix.push_back({x, "BelegNr", true});
        ix.push_back({x, "ProjektNr", false});
        ix.push_back({x + "anschrift", "BelegNr", false});
        ix.push_back({x + "artikel", "BelegNr,RF", false});
        ix.push_back({x + "extra", "BelegNr", false});
        ix.push_back({x + "ztext", "BelegNr", false});
    }
    const std::vector<Index> rest = {
        {"gutschriften", "ReNr", false},
        {"rechnungenbetrag", "BelegNr", false},
        {"gutschriftenbetrag", "BelegNr", false},
        {"rechnungenop", "RNR", true},
        // The open-items list walks the items by due date, latest first, a page at a time.
        {"rechnungenop", "EDatum,RNR", false},
        {"teilbuchung", "RNr", false},
        {"gutschriftenop", "BelegNr", false},
        {"gutschriftenop", "RNr", false},
        {"mahnungen", "BelegNr", true},
        {"mahnungen", "Speicherkennung", false},
        {"mahnungen", "RNr", false},
        {"mahnungen", "ProjektNr", false},
        {"mahnungentext", "BelegNr", false},
        {"mahnungenanschrift", "BelegNr", false},
        {"artikel", "ArtikelNr", false},
        {"artikel", "Bez", false},
        {"artikeltext", "IDA", false},
        {"ztext", "Art,X", false},
        {"foot", "X", false},
        {"mahnungenstext", "MS", false},
        {"belegverlauf", "Art,BelegNr", false},
        {"belegverlaufartikel", "VerlaufID,RF", false},
        {"belegverlaufanschrift", "VerlaufID", false},
        {"belegverlaufztext", "VerlaufID", false},
        {"usr", "IDU", true},
        {"usr", "Name", false},
        {"anmeldeversuche", "Name", true},
        {"permission", "IDU,IDP", false},
    };
    ix.insert(ix.end(), rest.begin(), rest.end());
    return ix;
}

QString typeSql(Type type, DatabaseEngine engine)
{
    if (engine == DatabaseEngine::PostgreSQL) {
        // Dates are real dates there, written as dd.MM.yyyy (DateStyle DMY).
        switch (type) {
        case Type::Integer: return QStringLiteral("BIGINT");
        case Type::Money: return QStringLiteral("DOUBLE PRECISION");
        case Type::Date: return QStringLiteral("DATE");
        case Type::Text: return QStringLiteral("TEXT");
        case Type::Auto: return QStringLiteral("BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
        }
        return QStringLiteral("TEXT");
    }
    switch (type) {
    case Type::Integer: return QStringLiteral("INTEGER");
    case Type::Money: return QStringLiteral("REAL");
    case Type::Date: return QStringLiteral("TEXT COLLATE DMY");
    case Type::Text: return QStringLiteral("TEXT");
    case Type::Auto: return QStringLiteral("INTEGER PRIMARY KEY");
    }
    return QStringLiteral("TEXT");
}

QString createTable(const Table &t, DatabaseEngine engine, bool ifNotExists = false)
{
    QStringList cols;
    for (const Column &c : t.columns)
        cols << QStringLiteral("%1 %2").arg(QLatin1String(c.name), typeSql(c.type, engine));
    return QStringLiteral("CREATE TABLE %1%2 (%3)")
        .arg(ifNotExists ? QStringLiteral("IF NOT EXISTS ") : QString(), t.name, cols.join(QStringLiteral(", ")));
}

QString createIndex(const Index &ix, bool ifNotExists = false)
{
    const QString cols = ix.columns;
    QString name = QString(cols).replace(QLatin1Char(','), QLatin1Char('_'));
    name = name.section(QLatin1Char(' '), 0, 0); // "Telefon COLLATE NOCASE" names ix_..._Telefon
    if (name.count(QLatin1Char('_')) > 1)
        name = name.section(QLatin1Char('_'), 0, 0) + QStringLiteral("_list");
    return QStringLiteral("CREATE %1INDEX %2ix_%3_%4 ON %3 (%5)")
        .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(), ifNotExists ? QStringLiteral("IF NOT EXISTS ") : QString(),
             ix.table, name, cols);
}

// For an upgrade step, which may meet a data set that has the table already.
QString createTableIfMissing(const QString &name, DatabaseEngine engine)
{
    for (const Table &t : tables())
        if (t.name == name)
            return createTable(t, engine, true);
    return QString();
}

const QString SellerSeed = QStringLiteral("INSERT INTO firmendaten (Firma) VALUES (1)");

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

// Default additional texts per document kind ('A' Angebot, 'U' Auftrag,
// 'L' Lieferschein, 'R' Rechnung, 'G' Gutschrift), four lines each.
struct ZText
{
    const char *art;
    const char *lines[4];
    const char *firstStyle;
};

const ZText zTexts[] = {
    {"A",
     {"Wir danken für Ihre Anfrage und bieten Ihnen wie folgt an.",
      "Dieses Angebot ist 30 Tage gültig.",
      "Alle Preise verstehen sich zuzüglich der gesetzlichen Mehrwertsteuer.",
      "Wir freuen uns auf Ihren Auftrag."},
     ""},
    {"U",
     {"Vielen Dank für Ihren Auftrag.",
      "Wir bestätigen Ihnen den Auftrag zu den oben genannten Bedingungen.",
      "Liefertermin nach Vereinbarung.", ""},
     "fsBold"},
    {"L",
     {"Bitte prüfen Sie die Lieferung sofort auf Vollständigkeit.",
      "Die Ware bleibt bis zur vollständigen Bezahlung unser Eigentum.", "",
      "Ware vollständig und einwandfrei erhalten: ____________________"},
     ""},
    {"R",
     {"Vielen Dank für Ihren Auftrag.",
      "Bitte überweisen Sie den Rechnungsbetrag unter Angabe der Rechnungsnummer.",
      "Das Leistungsdatum entspricht dem Rechnungsdatum.", ""},
     "fsBold"},
    {"G",
     {"Wir schreiben Ihnen den folgenden Betrag gut.",
      "Den Betrag verrechnen wir mit unserer nächsten Rechnung oder überweisen ihn auf Ihr Konto.",
      "", ""},
     ""},
};

// Footer lines 'a'..'e', four columns each: own company, contact, bank, tax data.
const char *const footRows[5][4] = {
    {"Ihre Firma", "Telefon: [bitte eintragen]", "Bank: [bitte eintragen]", "Steuernummer: [bitte eintragen]"},
    {"Straße und Hausnummer", "Telefax: [bitte eintragen]", "IBAN: [bitte eintragen]", "USt-IdNr.: [bitte eintragen]"},
    {"PLZ Ort", "E-Mail: [bitte eintragen]", "BIC: [bitte eintragen]", "Amtsgericht: [bitte eintragen]"},
    {"", "Internet: [bitte eintragen]", "Kontoinhaber: [bitte eintragen]", "Geschäftsführung: [bitte eintragen]"},
    {"", "", "", ""},
};

// Dunning letters, 25 lines per level. Placeholders are filled by the dunning run.
const char *const dunningLevel1[] = {
    "[SAnrede]",
    "",
    "sicher ist es Ihrer Aufmerksamkeit entgangen, dass unsere Rechnung",
    "Nr. [RNr] vom [Datum] über [brutto] noch nicht beglichen ist.",
    "",
    "Wir bitten Sie freundlich, den offenen Betrag innerhalb der nächsten",
    "zehn Tage auf unser Konto zu überweisen.",
    "",
    "Sollten Sie die Zahlung inzwischen veranlasst haben, betrachten Sie",
    "dieses Schreiben bitte als gegenstandslos.",
    "",
    "Mit freundlichen Grüßen",
};
const char *const dunningLevel2[] = {
    "[SAnrede]",
    "",
    "auf unsere Zahlungserinnerung zu der Rechnung Nr. [RNr] vom [Datum]",
    "über [brutto] haben wir leider noch keinen Zahlungseingang feststellen können.",
    "",
    "Wir bitten Sie, den offenen Betrag nun innerhalb von sieben Tagen",
    "auf unser Konto zu überweisen.",
    "",
    "Falls es Gründe gibt, die einer Zahlung entgegenstehen, sprechen Sie",
    "uns bitte an. Hat sich Ihre Zahlung mit diesem Schreiben überschnitten,",
    "so betrachten Sie es bitte als gegenstandslos.",
    "",
    "Mit freundlichen Grüßen",
};
const char *const dunningLevel3[] = {
    "[SAnrede]",
    "",
    "trotz unserer bisherigen Mahnungen ist die Rechnung Nr. [RNr] vom [Datum]",
    "über [brutto] noch immer nicht bezahlt.",
    "",
    "Wir fordern Sie hiermit letztmalig auf, den offenen Betrag innerhalb",
    "von fünf Tagen auf unser Konto zu überweisen.",
    "",
    "Sollte die Zahlung bis dahin nicht bei uns eingegangen sein, werden wir",
    "die Forderung ohne weitere Ankündigung gerichtlich geltend machen.",
    "Die dadurch entstehenden Kosten gehen zu Ihren Lasten.",
    "",
    "Mit freundlichen Grüßen",
};

template <std::size_t N>
QStringList levelLines(const char *const (&lines)[N])
{
    QStringList out;
    for (std::size_t i = 0; i < 25; ++i)
        out << (i < N ? QString::fromUtf8(lines[i]) : QString());
    return out;
}

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

// The index rows of the rows that meet the condition (all rows for none). Only
// whole numbers can be row numbers of an index; the program draws no others.
QString fillStatement(const TextTable &t, const QString &condition)
{
    QStringList values;
    for (const QString &c : t.columns)
        values << (t.grouped ? QStringLiteral("group_concat(%1, char(10))").arg(c) : c);
    QString sql = QStringLiteral("INSERT INTO %1 (rowid, %2) SELECT %3, %4 FROM %5 WHERE typeof(%3) = 'integer'")
                      .arg(t.name, t.columns.join(QStringLiteral(", ")), t.key, values.join(QStringLiteral(", ")),
                           t.table);
    if (!condition.isEmpty())
        sql += QStringLiteral(" AND ") + condition;
    if (t.grouped)
        sql += QStringLiteral(" GROUP BY ") + t.key;
    return sql;
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
                return SearchIndexPart{t.name, t.columns, keys};
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
        out << QStringLiteral("DROP TABLE IF EXISTS ") + t.name;
        out << QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(%2, tokenize='trigram')")
                   .arg(t.name, t.columns.join(QStringLiteral(", ")));
        out << fillStatement(t, QString());
        // one segment instead of the many that a large fill leaves behind
        out << QStringLiteral("INSERT INTO %1 (%1) VALUES ('optimize')").arg(t.name);
        out << triggerStatements(t);
    }
    return out;
}

QStringList documentBaseNames()
{
    return docBases();
}

QStringList tableNames()
{
    QStringList names;
    for (const Table &t : tables())
        names << t.name;
    return names;
}

QStringList createStatements(DatabaseEngine engine)
{
    const bool server = engine == DatabaseEngine::PostgreSQL;
    QStringList out;
    if (server)
        out << trigramExtensionStatements();
    for (const Table &t : tables())
        out << createTable(t, engine);
    for (const Index &ix : indexes()) {
        // The server's trigram indexes take the place of the indexes that ignore case.
        if (server && ix.columns.contains(QLatin1String("COLLATE NOCASE")))
            continue;
        out << createIndex(ix);
    }
    if (server)
        out << serverSearchIndexStatements() << contactTextStatements();
    else
        out << searchIndexStatements();
    return out;
}

QStringList seedStatements()
{
    QStringList out;
    const char letters[] = {'a', 'b', 'c', 'd', 'e'};
    for (int r = 0; r < 5; ++r)
        out << QStringLiteral("INSERT INTO foot (Firma, X, A, B, C, D) VALUES (1, '%1', %2, %3, %4, %5)")
                   .arg(QString(QLatin1Char(letters[r])), SqlText(QString::fromUtf8(footRows[r][0])),
                        SqlText(QString::fromUtf8(footRows[r][1])), SqlText(QString::fromUtf8(footRows[r][2])),
                        SqlText(QString::fromUtf8(footRows[r][3])));
    for (const ZText &z : zTexts)
        for (int l = 0; l < 4; ++l)
            out << QStringLiteral("INSERT INTO ztext (Firma, Art, X, Text, Style, Grad) "
                                  "VALUES (1, '%1', '%2', %3, '%4', 10)")
                       .arg(QString::fromLatin1(z.art), QString(QLatin1Char(letters[l])),
                            SqlText(QString::fromUtf8(z.lines[l])),
                            l == 0 ? QString::fromLatin1(z.firstStyle) : QString());
    const QStringList levels[3] = {levelLines(dunningLevel1), levelLines(dunningLevel2),
                                   levelLines(dunningLevel3)};
    for (int level = 0; level < 3; ++level)
        for (int rv = 0; rv < 25; ++rv)
            out << QStringLiteral("INSERT INTO mahnungenstext (MS, RV, Text) VALUES ('%1', %2, %3)")
                       .arg(level + 1)
                       .arg(rv)
                       .arg(SqlText(levels[level][rv]));
    out << QStringLiteral("INSERT INTO prust (UStSatz) VALUES (7)")
        << QStringLiteral("INSERT INTO prust (UStSatz) VALUES (19)") << SellerSeed;
    return out;
}

QStringList upgradeStatements(int toVersion, DatabaseEngine engine)
{
    // Each later schema change adds a case here: the statements that bring a data
    // set of version toVersion-1 to toVersion. They run in one transaction together
    // with the version change.
    switch (toVersion) {
    case 2:
        return {QStringLiteral("CREATE INDEX IF NOT EXISTS ix_rechnungenop_EDatum_RNR ON rechnungenop (EDatum,RNR)")};
    case 3:
        return {createTableIfMissing(QStringLiteral("firmendaten"), engine),
                QStringLiteral("INSERT INTO firmendaten (Firma) SELECT 1 WHERE NOT EXISTS "
                               "(SELECT 1 FROM firmendaten WHERE Firma = 1)")};
    case 4:
        // The server has had trigram indexes from its first version; a data set
        // made before the address's country and the project's names were searched
        // that way gets theirs here.
        if (engine == DatabaseEngine::PostgreSQL)
            return trigramExtensionStatements() + serverSearchIndexStatements();
        return searchIndexStatements();
    case EInvoiceColumnsStep: {
        // The electronic invoice's columns in one step, so that it moves as one
        // when steps are renumbered.
        const QString add = engine == DatabaseEngine::PostgreSQL ? QStringLiteral("ALTER TABLE %1 ADD COLUMN IF NOT EXISTS %2 TEXT")
                                                                 : QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT");
        return {add.arg(QStringLiteral("prust"), QStringLiteral("Kategorie")),
                add.arg(QStringLiteral("prust"), QStringLiteral("Befreiungsgrund")),
                add.arg(QStringLiteral("firmamehr"), QStringLiteral("Kaeuferreferenz")),
                add.arg(QStringLiteral("firmamehr"), QStringLiteral("ERechnung")),
                add.arg(QStringLiteral("namemehr"), QStringLiteral("Kaeuferreferenz")),
                add.arg(QStringLiteral("namemehr"), QStringLiteral("ERechnung"))};
    }
    case ContactTextStep:
        if (engine == DatabaseEngine::PostgreSQL)
            return contactTextStatements();
        return {};
    case IssuedDocumentsStep: {
        QStringList out;
        const auto add = [engine](const QString &table, const QString &column, Type type) {
            return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2%3 %4")
                .arg(table, engine == DatabaseEngine::PostgreSQL ? QStringLiteral("IF NOT EXISTS ") : QString(), column,
                     typeSql(type, engine));
        };
        // Documents stored before keep the gross amount rounded once from the
        // exact sums (an empty BruttoRegel), so that nothing they were issued
        // with moves by a cent.
        for (const QString &x : docBases())
            out << add(x, QStringLiteral("BruttoRegel"), T);
        for (const QString &x : {QStringLiteral("rechnungen"), QStringLiteral("gutschriften")}) {
            out << add(x, QStringLiteral("LDatum"), D) << add(x, QStringLiteral("LDatumBis"), D)
                << add(x, QStringLiteral("Ausgestellt"), T);
            // Whatever was stored before may have gone out already: it counts as issued.
            out << QStringLiteral("UPDATE %1 SET Ausgestellt='%2' WHERE Ausgestellt IS NULL")
                       .arg(x, IssuedBeforeUpgrade);
        }
        out << add(QStringLiteral("teilbuchung"), QStringLiteral("Skonto"), T);
        const QStringList history = {QStringLiteral("belegverlauf"), QStringLiteral("belegverlaufartikel"),
                                     QStringLiteral("belegverlaufanschrift"), QStringLiteral("belegverlaufztext")};
        for (const QString &table : history)
            out << createTableIfMissing(table, engine);
        for (const Index &ix : indexes())
            if (history.contains(ix.table))
                out << createIndex(ix, true);
        return out;
    }
    case ExtensionSchemaStep:
        if (engine != DatabaseEngine::PostgreSQL)
            return {};
        // A data set made with the extension in its own schema could never be
        // restored (its schema is dropped and made anew, which the extension
        // prevents): the extension moves out of it.
        return QStringList{QStringLiteral("CREATE SCHEMA IF NOT EXISTS %1").arg(ExtensionSchema),
                           QStringLiteral("DO $$ BEGIN IF EXISTS (SELECT 1 FROM pg_extension e JOIN pg_namespace n "
                                          "ON n.oid = e.extnamespace WHERE e.extname = 'pg_trgm' AND n.nspname = "
                                          "current_schema()) THEN ALTER EXTENSION pg_trgm SET SCHEMA %1; END IF; "
                                          "END $$")
                               .arg(ExtensionSchema)};
    case SaveTokenStep: {
        QStringList out;
        for (const QString &x : docBases() + QStringList{QStringLiteral("mahnungen")})
            out << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2Speicherkennung TEXT")
                       .arg(x, engine == DatabaseEngine::PostgreSQL ? QStringLiteral("IF NOT EXISTS ") : QString())
                << createIndex({x, QStringLiteral("Speicherkennung"), false}, true);
        return out;
    }
    case LoginAttemptsStep:
        return {createTableIfMissing(QStringLiteral("anmeldeversuche"), engine),
                createIndex({QStringLiteral("anmeldeversuche"), QStringLiteral("Name"), true}, true)};
    default:
        return {};
    }
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
