#include "DemoData.h"

#include "AppState.h"
#include "ArticleStore.h"
#include "CompanyStore.h"
#include "ContactStore.h"
#include "Database.h"
#include "Dialogs.h"
#include "Errors.h"
#include "DocumentStore.h"
#include "ExtendedDataStore.h"
#include "Formats.h"
#include "SqlLiterals.h"
#include "OptionsRules.h"
#include "ProjectStore.h"
#include "Settings.h"
#include "SqlQuery.h"
#include "TdmCommon.h"
#include "Totals.h"
#include "Transaction.h"

#include <QDate>
#include <QMap>

namespace {

struct DemoContact
{
    bool company;
    const char *name;     // company name, or "Anrede|Titel|Vorname|Nachname"
    const char *branche;  // company trade
    const char *kategorie;
    const char *strasse, *plz, *ort;
    const char *telefon, *email, *web;
    const char *zahlungsziel, *rabatt, *skonto, *mwst;
    const char *bank, *iban;
    const char *further;  // "Art|Straße|PLZ|Ort" of a further address, or ""
};

const DemoContact contacts[] = {
    {true, "Autohaus Blech GmbH", "Kfz-Handel", "Kunde", "Leopoldstraße 88", "80802", "München", "089 3391-0",
     "info@autohaus-blech.de", "www.autohaus-blech.de", "30", "3,00", "2,00", "19,00 %", "Stadtsparkasse München",
     "DE89370400440532013000", "Werkstatt|Ingolstädter Straße 12|80807|München"},
    {true, "Bäckerei Kühn OHG", "Lebensmittel", "Kunde", "Marktplatz 4", "70173", "Stuttgart", "0711 229 881",
     "kuehn@baeckerei-kuehn.de", "", "14", "", "2,00", "  7,00 %", "BW-Bank", "DE02600501010002034304", ""},
    {true, "Zimmerei Holzwurm", "Bau", "Lieferant", "Am Sägewerk 3", "72070", "Tübingen", "07071 445 12",
     "buero@holzwurm-zimmerei.de", "", "21", "5,00", "", "19,00 %", "Volksbank Tübingen", "", ""},
    {true, "Gasthaus Zum Löwen", "Gastronomie", "Kunde", "Hauptstraße 21", "79098", "Freiburg", "0761 280 77",
     "loewe@gasthaus-loewe.de", "www.gasthaus-loewe.de", "10", "", "", "19,00 %", "Sparkasse Freiburg",
     "DE12680501010012345678", "Lager|Gewerbestraße 7|79108|Freiburg"},
    {true, "Elektro Funke & Söhne KG", "Elektro", "Lieferant", "Industriering 17", "68309", "Mannheim",
     "0621 733 90", "service@funke-elektro.de", "", "30", "", "3,00", "19,00 %", "Commerzbank", "", ""},
    {true, "Praxis Dr. Sonnenschein", "Arztpraxis", "Kunde", "Bahnhofstraße 5", "89073", "Ulm", "0731 610 20",
     "praxis@dr-sonnenschein.de", "", "14", "", "", "19,00 %", "", "", ""},
    {true, "Druckerei O'Connor", "Druck", "Interessent", "Schillerplatz 9", "71638", "Ludwigsburg", "07141 92 55",
     "druck@oconnor.de", "", "", "", "", "", "", "", ""},
    {false, "Frau||Anna|Zeller", "", "Kunde", "Rosenweg 12", "70565", "Stuttgart", "0711 745 321",
     "anna.zeller@web.de", "", "14", "", "", "19,00 %", "", "", ""},
    {false, "Herr|Dr.|Hans|Meier", "", "Kunde", "Am Bach 2", "79100", "Freiburg", "0761 404 12",
     "h.meier@t-online.de", "", "30", "2,00", "", "19,00 %", "Postbank", "DE44500105175407324931",
     "Büro|Kaiser-Joseph-Straße 200|79098|Freiburg"},
    {false, "Frau||Sabine|Groß", "", "Interessent", "Lindenallee 44", "89077", "Ulm", "0731 38 11 09",
     "sabine.gross@gmx.de", "", "", "", "", "", "", "", ""},
    {false, "Herr||Jürgen|Weiß", "", "Lieferant", "Talstraße 8", "72072", "Tübingen", "07071 77 66 5",
     "j.weiss@holzwurm-zimmerei.de", "", "", "", "", "", "", "", ""},
    {false, "Herr||Thomas|Blech", "", "Kunde", "Leopoldstraße 88", "80802", "München", "089 3391-12",
     "t.blech@autohaus-blech.de", "", "30", "", "", "19,00 %", "", "", ""},
};

struct DemoArticle
{
    const char *number, *name, *group, *price, *vat;
    const char *texts; // lines separated by '|'
};

const DemoArticle articles[] = {
    {"H-100", "Dachlatte 30 x 50 mm, 4 m", "Holz", "6,40", "19,00 %", "Fichte, sägerau|imprägniert"},
    {"H-110", "Kantholz 80 x 80 mm, 5 m", "Holz", "24,90", "19,00 %", ""},
    {"H-120", "Leimholzplatte Buche 28 mm", "Holz", "89,00", "19,00 %", "Zuschnitt nach Maß möglich"},
    {"H-130", "OSB-Platte 18 mm, 250 x 125 cm", "Holz", "32,50", "19,00 %", ""},
    {"H-140", "Terrassendiele Lärche 27 x 143 mm", "Holz", "8,95", "19,00 %", "Preis je laufenden Meter"},
    {"M-200", "Holzschrauben 5 x 60 mm, 200 Stück", "Material", "14,80", "19,00 %", ""},
    {"M-210", "Winkelverbinder 90 x 90 mm", "Material", "1,35", "19,00 %", ""},
    {"M-220", "Holzleim D3, 750 g", "Material", "11,20", "19,00 %", "wasserfest"},
    {"M-230", "Lasur Eiche, 2,5 l", "Material", "38,90", "19,00 %", "für außen|2 Anstriche empfohlen"},
    {"M-240", "Schleifpapier K120, 50 Blatt", "Material", "17,60", "19,00 %", ""},
    {"A-300", "Arbeitsstunde Geselle", "Arbeit", "58,00", "19,00 %", ""},
    {"A-310", "Arbeitsstunde Meister", "Arbeit", "72,00", "19,00 %", ""},
    {"A-320", "Anfahrt pauschal", "Arbeit", "35,00", "19,00 %", "im Stadtgebiet"},
    {"A-330", "Aufmaß und Beratung vor Ort", "Arbeit", "0,00", "19,00 %", "kostenlos bei Auftragserteilung"},
    {"A-340", "Entsorgung Altholz je m³", "Arbeit", "45,00", "19,00 %", ""},
    {"B-400", "Fachbuch Holzbau", "Bücher", "49,90", "  7,00 %", ""},
    {"B-410", "Pflegeanleitung Holzterrassen", "Bücher", "4,50", "  7,00 %", ""},
    {"W-500", "Wartungsvertrag Fenster, jährlich", "Wartung", "189,00", "19,00 %", "zwei Termine im Jahr"},
    {"W-510", "Fenstergriff abschließbar", "Wartung", "24,50", "19,00 %", ""},
    {"W-520", "Dichtungsband 10 m", "Wartung", "9,80", "19,00 %", ""},
};

struct Line
{
    int article; // index into articles
    const char *quantity;
};

// Adds article lines with their text lines, as the line-item window does.
void addLines(Document &doc, const QList<Line> &lines, const QMap<int, QStringList> &texts)
{
    LineList &list = doc.lines;
    list.clear();
    int row = 1;
    int position = 1;
    for (const Line &l : lines) {
        if (row > list.lineCount())
            list.appendRow();
        const DemoArticle &a = articles[l.article];
        list.setCell(row, LineList::Pos, QString::number(position++));
        list.setCell(row, LineList::ArtikelNr, QString::fromUtf8(a.number));
        list.setCell(row, LineList::Bezeichnung, QString::fromUtf8(a.name));
        list.setCell(row, LineList::Anzahl, QString::fromUtf8(l.quantity));
        list.setCell(row, LineList::Einzelpreis, Amount::fromText(QString::fromUtf8(a.price)).toText());
        list.setCell(row, LineList::MwSt, QString::fromUtf8(a.vat));
        ++row;
        for (const QString &t : texts.value(l.article)) {
            list.appendRow();
            list.setCell(row++, LineList::Bezeichnung, t);
        }
    }
}

void addDiscount(Document &doc, const QString &text, const QString &percent)
{
    const int row = doc.lines.appendRow();
    doc.lines.setCell(row, LineList::Pos, QStringLiteral("99"));
    doc.lines.setCell(row, LineList::Bezeichnung, text);
    doc.lines.setCell(row, LineList::Einzelpreis, percent + QStringLiteral(" %"));
    doc.lines.setCell(row, LineList::Rabatt, percent);
}

// The additional text of a new document: the default lines of its kind.
void defaultTexts(Database &db, Document &doc)
{
    SqlQuery q(db);
    q.open(QStringLiteral("SELECT Text, Style FROM ztext WHERE Firma=1 AND Art='%1' ORDER BY X")
               .arg(doc.kind.templateLetter()));
    for (int i = 0; i < Document::TextLineCount && !q.eof(); ++i, q.next())
        doc.texts[std::size_t(i)] = {q.field(QStringLiteral("Text")), q.field(QStringLiteral("Style"))};
}

// Books a payment on an invoice as the open-items window does: a booking row, the
// remaining amount and, when nothing remains, the settled mark.
void bookPayment(Database &db, qint64 invoice, const Amount &amount, const QString &date, const QString &text)
{
    Transaction t(db);
    SqlQuery q(db);
    q.open(QStringLiteral("SELECT Betrag FROM rechnungenop WHERE RNR=%1").arg(invoice));
    const Amount gross = q.fieldAmount(QStringLiteral("Betrag"));
    q.open(QStringLiteral("SELECT Betrag FROM teilbuchung WHERE RNr=%1").arg(invoice));
    Amount paid = amount;
    for (; !q.eof(); q.next())
        paid += q.fieldAmount(QStringLiteral("Betrag"));
    const Amount rest = gross - paid;
    q.execSql(QStringLiteral("INSERT INTO teilbuchung (RNr, Betrag, Datum, Text) VALUES (%1, %2, '%3', '%4')")
                  .arg(invoice)
                  .arg(amount.toSqlText(), date, SqlQuote(text)));
    q.execSql(QStringLiteral("UPDATE rechnungenop SET RBetrag=%1, BDatum='%2', ZText='%3', Gebucht='%4', Skonto='N' "
                             "WHERE RNR=%5")
                  .arg(rest.toSqlText(), date, SqlQuote(text), rest.isZero() ? QStringLiteral("J") : QStringLiteral("N"))
                  .arg(invoice));
    t.commit();
}

QString day(int daysAgo)
{
    return DateToStr(QDate::currentDate().addDays(-daysAgo));
}

} // namespace

namespace DemoData {

bool isEmpty(AppState &state)
{
    SqlQuery q(state.db);
    q.open(QStringLiteral("SELECT (SELECT COUNT(*) FROM firma) + (SELECT COUNT(*) FROM name) + "
                          "(SELECT COUNT(*) FROM artikel) + (SELECT COUNT(*) FROM projekt) AS n"));
    return q.fieldInt(QStringLiteral("n")) == 0;
}

bool fill(AppState &state)
{
    if (!isEmpty(state))
        return false;
    Database &db = state.db;
    Transaction all(db);
    // An invented company, but one whose invoices a reader and an e-invoice validator accept.
    CompanyData company;
    company.name = QStringLiteral("Schreinerei Lindner GmbH");
    company.street = QStringLiteral("Werkstraße 12");
    company.postcode = QStringLiteral("79110");
    company.town = QStringLiteral("Freiburg");
    SellerData &seller = company.seller;
    seller = {company.name, company.street, company.postcode, company.town,
              QStringLiteral("DE283746194"), QStringLiteral("06471/123/45678"),
              QStringLiteral("Amtsgericht Freiburg HRB 712345"), QStringLiteral("DE86680501010047110815"),
              QStringLiteral("MUSTDE66XXX"), QStringLiteral("Musterbank Freiburg"), QStringLiteral("Anna Lindner"),
              QStringLiteral("info@schreinerei-lindner.example"), QStringLiteral("0761 4711-0")};
    company.footer = OptionsRules::footerFromSeller(seller, {});
    company.footer[3][1] = QStringLiteral("www.schreinerei-lindner.example");
    company.footer[3][3] = QStringLiteral("Geschäftsführerin: Anna Lindner");
    CompanyStore(db, state.ExeDir).save(company);

    ContactStore contactsStore(db, state.dmCommon);
    ExtendedDataStore extended(db, state.DataDir);
    QList<qint64> numbers;
    for (const DemoContact &c : contacts) {
        const qint64 number = state.dmCommon.GetNextKundenNr();
        // Told as the contact window tells it; the insert below then refuses the number.
        if (number == -1)
            state.dialogs.error(TdmCommon::KundenNrError);
        numbers << number;
        ContactData data;
        data.telefon = QString::fromUtf8(c.telefon);
        data.kategorie = QString::fromUtf8(c.kategorie);
        data.mainAddress = {QStringLiteral("Hauptadresse"), QString::fromUtf8(c.strasse), QString::fromUtf8(c.plz),
                            QString::fromUtf8(c.ort), QStringLiteral("Deutschland"), QString()};
        const QStringList further = QString::fromUtf8(c.further).split(QLatin1Char('|'));
        if (further.size() == 4)
            data.addresses = {{further[0], further[1], further[2], further[3], QStringLiteral("Deutschland"), {}}};
        data.communications = {{QStringLiteral("Telefon"), QString::fromUtf8(c.telefon), {}, QStringLiteral("T")},
                               {QStringLiteral("E-Mail"), QString::fromUtf8(c.email), {}, QStringLiteral("E")}};
        if (c.web[0])
            data.communications.append({QStringLiteral("Internet"), QString::fromUtf8(c.web), {}, QStringLiteral("I")});
        if (c.company) {
            CompanyRecord r;
            static_cast<ContactData &>(r) = data;
            r.IDF = number;
            r.name = QString::fromUtf8(c.name);
            r.branche = QString::fromUtf8(c.branche);
            r.sanrede = QStringLiteral("Sehr geehrte Damen und Herren,");
            r.begriffe = r.branche;
            contactsStore.insertCompany(r);
        } else {
            const QStringList n = QString::fromUtf8(c.name).split(QLatin1Char('|'));
            PersonRecord r;
            static_cast<ContactData &>(r) = data;
            r.IDN = number;
            r.anrede = n[0];
            r.titel = n[1];
            r.vname = n[2];
            r.nname = n[3];
            r.sanrede = (n[0] == QLatin1String("Herr") ? QStringLiteral("Sehr geehrter Herr ")
                                                       : QStringLiteral("Sehr geehrte Frau "))
                        + (n[1].isEmpty() ? QString() : n[1] + QLatin1Char(' ')) + n[3] + QLatin1Char(',');
            contactsStore.insertPerson(r);
        }
        if (c.zahlungsziel[0] || c.mwst[0]) {
            ExtendedData e;
            e.zahlungsziel = QString::fromUtf8(c.zahlungsziel);
            e.rabatt = QString::fromUtf8(c.rabatt);
            if (!e.rabatt.isEmpty())
                e.rabattText = QStringLiteral("Kundenrabatt");
            e.skonto = QString::fromUtf8(c.skonto);
            if (!e.skonto.isEmpty()) {
                e.skontoTage = QStringLiteral("8");
                e.skontoText = QStringLiteral("Bei Zahlung innerhalb von 8 Tagen %1 % Skonto").arg(e.skonto);
            }
            e.mwSt = QString::fromUtf8(c.mwst);
            e.preisgruppe = QStringLiteral("Eins");
            e.lieferbesch = QStringLiteral("1");
            e.kInstitut = QString::fromUtf8(c.bank);
            e.iban = QString::fromUtf8(c.iban);
            e.kInhaber = QString::fromUtf8(c.name).section(QLatin1Char('|'), -2).replace(QLatin1Char('|'), QLatin1Char(' '));
            extended.save(c.company, number, e);
        }
    }
    // Persons working for companies.
    contactsStore.linkPerson(numbers[11], numbers[0], QStringLiteral("Geschäftsführer"));
    contactsStore.linkPerson(numbers[10], numbers[2], QStringLiteral("Meister"));

    ArticleStore articleStore(db);
    for (const DemoArticle &a : articles) {
        const QStringList texts = QString::fromUtf8(a.texts).split(QLatin1Char('|'), Qt::SkipEmptyParts);
        articleStore.insert({QString::fromUtf8(a.name), QString::fromUtf8(a.number), QString::fromUtf8(a.group),
                             Amount::fromText(QString::fromUtf8(a.price)), QString::fromUtf8(a.vat)},
                            texts);
    }
    QMap<int, QStringList> articleTexts;
    for (int i = 0; i < int(std::size(articles)); ++i)
        articleTexts[i] = QString::fromUtf8(articles[i].texts).split(QLatin1Char('|'), Qt::SkipEmptyParts);

    ProjectStore projects(db);
    const QString currency = ReadCurrency(state.ExeDir);
    DocumentStore documents(db, currency);
    const QList<Amount> rates = Totals::readRates(db);
    const auto newProject = [&](int contact, const QString &name, int daysAgo) {
        const bool company = contacts[contact].company;
        ContactDefaults d = projects.loadContact(numbers[contact], company);
        ProjectValue v = d.value;
        v.prNr = state.dmCommon.GetNextProjektNr();
        v.prName = name;
        v.datum = day(daysAgo);
        v.eFirma = ReadOwnCompany(state.ExeDir).line;
        v.ust = d.vatRate.isEmpty() ? QStringLiteral("19,00 %") : ProjectStore::vatEntryText(Amount::fromText(d.vatRate));
        v.lieferanschrift = v.anschrift;
        v.rechnungsanschrift = {QStringLiteral("Buchhaltung"), v.anschrift.strasse, v.anschrift.plz, v.anschrift.ort,
                                v.anschrift.land};
        projects.createProject(v, state.dmCommon);
        return v;
    };
    const auto makeDocument = [&](DocumentKind kind, const ProjectValue &p, const QList<Line> &lines, int daysAgo) {
        Document doc(kind, currency);
        doc.number = state.dmCommon.GetNextBelegNr(kind.numberRange());
        doc.projectNumber = p.prNr;
        doc.projectName = p.prName;
        doc.date = day(daysAgo);
        doc.ownCompany = p.eFirma;
        doc.address = {p.recipientName(), p.anschrift.strasse, p.anschrift.plz + QLatin1Char(' ') + p.anschrift.ort};
        if (kind.hasSecondAddress()) {
            const AddressFields &second = kind == DocumentKind::Lieferschein ? p.lieferanschrift : p.rechnungsanschrift;
            doc.secondAddress = {second.bez, second.strasse, second.plz + QLatin1Char(' ') + second.ort};
        }
        doc.paymentTerm = p.zahlungsziel;
        addLines(doc, lines, articleTexts);
        defaultTexts(db, doc);
        doc.lines.normalise();
        doc.lines.discountLast(doc.skontoPercent);
        Totals::compute(doc.lines, doc.totals, rates, currency);
        return doc;
    };
    const auto save = [&](Document &doc) {
        if (documents.save(doc) != DocumentStore::SaveResult::Saved)
            throw OrvellaError(QStringLiteral("Die Beispieldaten konnten nicht gespeichert werden."));
        return doc.number;
    };

    // Three projects, the oldest first; every document is saved in the order of its
    // date, so the numbers of each kind follow the dates.
    const ProjectValue windows = newProject(8, QStringLiteral("Fenster Altbau"), 120);
    const ProjectValue workshop = newProject(0, QStringLiteral("Werkstatteinrichtung"), 90);
    const ProjectValue terrace = newProject(3, QStringLiteral("Terrasse Biergarten"), 60);

    // Windows for Dr. Meier: an invoice paid in full, a later one overdue and dunned.
    Document paidInvoice = makeDocument(DocumentKind::Rechnung, windows, {{17, "1"}, {18, "4"}, {19, "3"}}, 100);
    const qint64 paidNumber = save(paidInvoice);
    // The workshop for the car dealer: an invoice part-paid, a credit note against it.
    Document partInvoice = makeDocument(DocumentKind::Rechnung, workshop,
                                        {{2, "6"}, {3, "10"}, {5, "4"}, {11, "16"}, {10, "32"}}, 75);
    const qint64 partNumber = save(partInvoice);
    Document overdue = makeDocument(DocumentKind::Rechnung, windows, {{10, "3"}, {12, "1"}, {19, "2"}}, 70);
    const qint64 overdueNumber = save(overdue);
    bookPayment(db, paidNumber, Amount::fromText(paidInvoice.totals.gross().remove(currency).trimmed()), day(85),
                QStringLiteral("Zahlungseingang"));
    bookPayment(db, partNumber, Amount::fromUnits(2000), day(40), QStringLiteral("Abschlag Überweisung"));

    // A terrace for the restaurant: quotation, order, delivery note, open invoice.
    const QList<Line> terraceLines = {{4, "42"}, {1, "12"}, {5, "3"}, {8, "2"}, {10, "24"}, {12, "1"}};
    Document quote = makeDocument(DocumentKind::Angebot, terrace, terraceLines, 58);
    addDiscount(quote, QStringLiteral("Rabatt für Stammkunden"), QStringLiteral("3,00"));
    quote.lines.discountLast(quote.skontoPercent);
    Totals::compute(quote.lines, quote.totals, rates, currency);
    save(quote);
    Document order = makeDocument(DocumentKind::Auftrag, terrace, terraceLines, 50);
    save(order);

    Document credit = makeDocument(DocumentKind::Gutschrift, workshop, {{3, "2"}}, 35);
    credit.invoiceNumber = partNumber;
    save(credit);

    Document letter(DocumentKind::Mahnung, currency);
    letter.number = state.dmCommon.GetNextBelegNr(NumberRange::Mahnung);
    letter.invoiceNumber = overdueNumber;
    letter.dunningLevel = state.dmCommon.GetNextMNr(overdueNumber);
    letter.projectNumber = windows.prNr;
    letter.projectName = windows.prName;
    letter.date = day(30);
    letter.ownCompany = windows.eFirma;
    letter.address = overdue.address;
    letter.secondAddress = overdue.secondAddress;
    letter.letterLines = {QStringLiteral("Sehr geehrter Herr Dr. Meier,"), QString(),
                          QStringLiteral("sicher ist es Ihrer Aufmerksamkeit entgangen, dass unsere Rechnung"),
                          QStringLiteral("Nr. %1 vom %2 über %3 noch nicht beglichen ist.")
                              .arg(PadNumber(overdueNumber), overdue.date, overdue.totals.gross()),
                          QString(), QStringLiteral("Mit freundlichen Grüßen")};
    documents.insertDunningLetter(letter);

    Document delivery = makeDocument(DocumentKind::Lieferschein, terrace, terraceLines, 20);
    save(delivery);
    Document openInvoice = makeDocument(DocumentKind::Rechnung, terrace, terraceLines, 18);
    openInvoice.skontoText = QStringLiteral("Bei Zahlung innerhalb von 8 Tagen");
    openInvoice.skontoPercent = QStringLiteral("2,00");
    save(openInvoice);
    Document ablage = makeDocument(DocumentKind::Ablage, workshop, {{17, "1"}, {18, "6"}}, 10);
    save(ablage);

    all.commit();
    return true;
}

} // namespace DemoData
