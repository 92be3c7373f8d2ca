#include "Schema.h"

#include "SqlText.h"

// The rows a new data set carries: the default additional texts, footer lines and
// dunning letters, the VAT rates and the row of the own company's data.
namespace Schema {
namespace {

const QString SellerSeed = QStringLiteral("INSERT INTO firmendaten (Firma) VALUES (1)");

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

} // namespace

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

} // namespace Schema
