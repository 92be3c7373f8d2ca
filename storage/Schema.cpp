#include "Schema.h"

#include "SchemaParts.h"

#include <vector>

// The tables and indexes of a new data set and the statements that create them.
namespace Schema {
namespace Parts {
namespace {

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

constexpr Type I = Type::Integer;
constexpr Type M = Type::Money;
constexpr Type D = Type::Date;
constexpr Type T = Type::Text;
constexpr Type A = Type::Auto;

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
                         {"Telefon", T}, {"WeitereKonten", T}}},
        // The entries of bank statements booked as payments, each once: Schluessel
        // is the bank's reference of the entry (or a hash of it), Rechnungen the
        // invoices it paid.
        {"bankbuchungen", {{"Schluessel", T}, {"Konto", T}, {"Datum", D}, {"Betrag", M}, {"Zahler", T},
                           {"Zweck", T}, {"Rechnungen", T}, {"Gebucht", T}, {"Benutzer", T}}},
        // Electronic invoices received from suppliers, filed as they came: the
        // original file (Base64 of its bytes, so both engines keep it as text) with
        // its SHA-256, the supplier's contact number (0 when none), the key figures
        // read from it, Status 'offen' or 'bezahlt', and the failures of its check
        // (empty when it passed). No command deletes them.
        {"eingangsrechnungen", {{"ID", A}, {"Eingang", D}, {"Dateiname", T}, {"Datei", T}, {"SHA256", T},
                                {"Kontakt", I}, {"Lieferant", T}, {"RechnungsNr", T}, {"Datum", D}, {"Brutto", M},
                                {"Faellig", D}, {"Status", T}, {"Gutschrift", T}, {"Beanstandungen", T},
                                {"Benutzer", T}}},
        // The settings of the DATEV export, one row per setting: the consultant and
        // client numbers, the chart of accounts and its accounts.
        {"datev", {{"Schluessel", T}, {"Wert", T}}},

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

QString createTable(const Table &t, DatabaseEngine engine, bool ifNotExists = false)
{
    QStringList cols;
    for (const Column &c : t.columns)
        cols << QStringLiteral("%1 %2").arg(QLatin1String(c.name), typeSql(c.type, engine));
    return QStringLiteral("CREATE TABLE %1%2 (%3)")
        .arg(ifNotExists ? QStringLiteral("IF NOT EXISTS ") : QString(), t.name, cols.join(QStringLiteral(", ")));
}

} // namespace

const QStringList &docBases()
{
    static const QStringList bases = {
        QStringLiteral("angebote"), QStringLiteral("auftraege"), QStringLiteral("lieferscheine"),
        QStringLiteral("rechnungen"), QStringLiteral("gutschriften"), QStringLiteral("ablage"),
    };
    return bases;
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
        {"bankbuchungen", "Schluessel", true},
        // A file is filed once: the same bytes filed on two workstations meet here.
        {"eingangsrechnungen", "SHA256", true},
        {"eingangsrechnungen", "Faellig", false},
        {"datev", "Schluessel", true},
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

QString createIndex(const Index &ix, bool ifNotExists)
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

} // namespace Parts

using namespace Parts;

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
        out << serverSearchIndexStatements() << contactTextStatements() << quickListStatements();
    else
        out << searchIndexStatements();
    return out;
}

} // namespace Schema
