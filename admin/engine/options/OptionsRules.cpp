#include "OptionsRules.h"

#include "DunningLetter.h"
#include "DunningLetterPrint.h"
#include "Errors.h"
#include "ExtendedData.h"
#include "Formats.h"
#include "ProjectStore.h"
#include "SellerData.h"
#include "Settings.h"

#include <QRegularExpression>

namespace OptionsRules {

namespace {

// As the IBAN check names what was typed.
QString quoted(const QString &s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

// "Zeile 3", "Zeilen 3 und 7", "Zeilen 3, 5 und 7"
QString lineList(const QList<int> &numbers)
{
    QStringList n;
    for (int i : numbers)
        n << QString::number(i);
    if (n.size() == 1)
        return QStringLiteral("Zeile ") + n.first();
    const QString last = n.takeLast();
    return QStringLiteral("Zeilen ") + n.join(QStringLiteral(", ")) + QStringLiteral(" und ") + last;
}

QString counted(int n, const char *one, const char *many)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? one : many);
}

} // namespace

// --- start numbers ------------------------------------------------------------

const QList<StartNumberField> &startNumberFields()
{
    static const QList<StartNumberField> fields = {
        {StartKey::Angebot, QStringLiteral("Angebot")},       {StartKey::Auftrag, QStringLiteral("Auftrag")},
        {StartKey::Lieferschein, QStringLiteral("Lieferschein")}, {StartKey::Rechnung, QStringLiteral("Rechnung")},
        {StartKey::Gutschrift, QStringLiteral("Gutschrift")}, {StartKey::Mahnung, QStringLiteral("Mahnung")},
        {StartKey::Projekt, QStringLiteral("Projekt")},       {StartKey::Kunden, QStringLiteral("Kundennr.")},
    };
    return fields;
}

NumberInput::Field startNumberInput(const QString &label)
{
    return {NumberInput::Kind::Count, label};
}

bool isZeroNumber(const QString &typed)
{
    static const QRegularExpression zeros(QStringLiteral("^\\s*0+\\s*$"));
    return zeros.match(typed).hasMatch();
}

QString startNumberToStore(const QString &label, const QString &typed)
{
    const std::optional<Amount> value = NumberInput::value(startNumberInput(label), typed);
    if (!value || value->isZero())
        return QStringLiteral("1");
    return value->toSqlText();
}

// --- VAT rates ------------------------------------------------------------------

std::optional<Amount> typedRate(const QString &typed)
{
    return NumberInput::value(VatInput, typed);
}

QString rateFieldText(Amount rate)
{
    return rate.toPlainText();
}

QString duplicateRateMessage(Amount rate)
{
    return QStringLiteral("Steuersatz ") + rate.toPlainText().replace(QLatin1Char(','), QLatin1Char('.'))
           + QStringLiteral(" % ist schon vorhanden");
}

QString rateInUseQuestion(Amount rate, const VatUsage &usage)
{
    if (!usage.any())
        return {};
    QStringList where;
    if (usage.documents > 0)
        where << counted(usage.documents, "Vorgang", "Vorgängen");
    if (usage.projects > 0)
        where << counted(usage.projects, "Projekt", "Projekten");
    if (usage.articles > 0)
        where << counted(usage.articles, "Artikel", "Artikeln");
    if (usage.contacts > 0)
        where << counted(usage.contacts, "Kontakt", "Kontakten");
    const QString last = where.takeLast();
    const QString list = where.isEmpty() ? last : where.join(QStringLiteral(", ")) + QStringLiteral(" und ") + last;
    return QStringLiteral("Der Steuersatz %1 % wird noch in %2 verwendet.\nGespeicherte Vorgänge behalten ihren "
                          "Steuersatz, er wird aber nicht mehr zur Auswahl angeboten.\n\nSteuersatz trotzdem löschen?")
        .arg(rate.toText(), list);
}

// --- print settings -------------------------------------------------------------

QString marginText(int slider)
{
    return QString::number(qRound(slider / 10.0));
}

std::optional<int> typedMargin(const QString &label, const QString &typed, int min, int max)
{
    const std::optional<Amount> mm = NumberInput::value({NumberInput::Kind::Quantity, label}, typed);
    if (!mm)
        return std::nullopt;
    const QString head = QLatin1Char('"') + label + QStringLiteral("\": ");
    if (mm->raw() % 1000 != 0)
        throw ConversionError(head + QStringLiteral("Bitte höchstens eine Nachkommastelle eingeben. Keine Speicherung."));
    const qint64 tenths = mm->raw() / 1000;
    if (tenths < min || tenths > max)
        throw ConversionError(head + QStringLiteral("Bitte einen Wert von %1 bis %2 mm eingeben. Keine Speicherung.")
                                         .arg(marginText(min), marginText(max)));
    return int(tenths);
}

QStringList sizeGradeEntries()
{
    QStringList out;
    for (int p = 0; p <= 10; ++p) {
        const int d = p - 5;
        out << QStringLiteral("Schriftgrad ")
                   + (d < 0 ? QString::number(d) : d == 0 ? QStringLiteral(" 0") : QStringLiteral("+%1").arg(d));
    }
    return out;
}

// --- additional texts --------------------------------------------------------------

const QList<TextKind> &textKinds()
{
    static const QList<TextKind> kinds = {
        {QStringLiteral("A"), QStringLiteral("Angebot")},      {QStringLiteral("U"), QStringLiteral("Auftrag")},
        {QStringLiteral("L"), QStringLiteral("Lieferschein")}, {QStringLiteral("R"), QStringLiteral("Rechnung")},
        {QStringLiteral("G"), QStringLiteral("Gutschrift")},
    };
    return kinds;
}

QString styleText(bool bold, bool italic)
{
    if (bold && italic)
        return QStringLiteral("fsBold, fsItalic");
    if (bold)
        return QStringLiteral("fsBold");
    if (italic)
        return QStringLiteral("fsItalic");
    return {};
}

bool styleIsBold(const QString &style)
{
    return style == QLatin1String("fsBold") || style == QLatin1String("fsBold, fsItalic");
}

bool styleIsItalic(const QString &style)
{
    return style == QLatin1String("fsItalic") || style == QLatin1String("fsBold, fsItalic");
}

// --- dunning templates ------------------------------------------------------------

QStringList previewLines(const QStringList &templateLines)
{
    DunningPlaceholders sample;
    sample.anrede = QStringLiteral("Frau");
    sample.titel = QStringLiteral("Dr.");
    sample.vname = QStringLiteral("Ines");
    sample.nname = QStringLiteral("Mustermann");
    sample.sAnrede = QStringLiteral("Sehr geehrte Frau Mustermann,");
    sample.invoiceNumber = PadNumber(1);
    sample.amount = QStringLiteral("1336,54 €");
    sample.invoiceDate = QStringLiteral("29.07.2003");
    // The salutation placeholders show fixed samples, not what the letter's rules
    // would make of the sample person.
    static const QRegularExpression anrede1(QStringLiteral("\\[anrede1\\]"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression anrede2(QStringLiteral("\\[anrede2\\]"), QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    for (const QString &line : templateLines)
        out << DunningRules::fill(QString(line)
                                      .replace(anrede1, QStringLiteral("geehrte Frau"))
                                      .replace(anrede2, QStringLiteral("Frau")),
                                  sample);
    return out;
}

QString placeholderHelpLeft()
{
    return QStringLiteral("[VName]  = Vorname oder Firmenname\n[RNr]    = Rechnungsnummer\n[Titel]  = Titel\n"
                          "[Brutto] = Rechnungsbetrag\n[Datum]  = Rechnungsdatum");
}

QString placeholderHelpRight()
{
    return QStringLiteral("[Anrede1] = geehrte Frau bzw. sehr \n            geehrter Herr\n"
                          "[Anrede2] = Herr oder Frau Mustermann\n[NName]   = Nachname oder Firmenbranche\n"
                          "[SAnrede] = Sehr geehrte Frau Mustermann");
}

QList<int> linesBeyondLimit(const QStringList &templateLines)
{
    QList<int> out;
    for (int i = TemplateLines; i < templateLines.size(); ++i)
        if (!templateLines[i].trimmed().isEmpty())
            out << i + 1;
    return out;
}

QList<int> overlongLines(const QStringList &templateLines, int sizeOffset)
{
    const QStringList filled = previewLines(templateLines.mid(0, TemplateLines));
    QList<int> out;
    for (int i = 0; i < filled.size(); ++i)
        if (!DunningLetterPrint::bodyLineFits(filled[i], sizeOffset))
            out << i + 1;
    return out;
}

QString overlongMessage(const QList<int> &lineNumbers)
{
    return QStringLiteral("%1 der Vorlage %2 breiter als eine Zeile des gedruckten Mahnbriefs und %3 am rechten "
                          "Rand über das Briefformular hinaus.\nBitte kürzen Sie %4 oder verteilen Sie den Text auf "
                          "mehrere Zeilen. Die Vorlage wurde trotzdem gespeichert.")
        .arg(lineList(lineNumbers), lineNumbers.size() == 1 ? QStringLiteral("ist") : QStringLiteral("sind"),
             lineNumbers.size() == 1 ? QStringLiteral("läuft") : QStringLiteral("laufen"),
             lineNumbers.size() == 1 ? QStringLiteral("die Zeile") : QStringLiteral("diese Zeilen"));
}

QString beyondLimitMessage(const QList<int> &lineNumbers)
{
    return QStringLiteral("Maximale Anzahl der Linien erreicht!\nEine Mahnvorlage hat höchstens 25 Zeilen; %1 "
                          "hätte keinen Platz. Bitte kürzen Sie die Vorlage. Es wurde nichts gespeichert.")
        .arg(lineList(lineNumbers));
}

// --- seller data ------------------------------------------------------------------

VatIdState checkVatId(const QString &vatId)
{
    const QString s = vatId.toUpper().remove(QRegularExpression(QStringLiteral("\\s")));
    if (s.isEmpty())
        return VatIdState::Empty;
    static const QRegularExpression form(QStringLiteral("^DE[0-9]{9}$"));
    if (!form.match(s).hasMatch())
        return VatIdState::BadForm;
    int product = 10;
    for (int i = 2; i < 10; ++i) {
        int sum = (s[i].digitValue() + product) % 10;
        if (sum == 0)
            sum = 10;
        product = (2 * sum) % 11;
    }
    const int check = (11 - product) % 10;
    return check == s[10].digitValue() ? VatIdState::Valid : VatIdState::BadCheckDigit;
}

QString sellerDataProblems(const SellerData &seller)
{
    QStringList out;
    switch (checkVatId(seller.vatId)) {
    case VatIdState::BadForm:
        out << QStringLiteral("Die USt-IdNr. %1 hat nicht die Form einer deutschen USt-IdNr.: DE und neun Ziffern, "
                              "zum Beispiel DE123456788.")
                   .arg(quoted(seller.vatId.trimmed()));
        break;
    case VatIdState::BadCheckDigit:
        out << QStringLiteral("Die USt-IdNr. %1 ist ungültig: Die Prüfziffer stimmt nicht. Bitte prüfen Sie sie auf "
                              "Tippfehler.")
                   .arg(quoted(seller.vatId.trimmed()));
        break;
    case VatIdState::Empty:
    case VatIdState::Valid:
        break;
    }
    const QString iban = ExtendedRules::ibanProblem(seller.iban);
    if (!iban.isEmpty())
        out << iban;
    static const QRegularExpression separators(QStringLiteral("[,;\\n]"));
    for (const QString &further : seller.furtherAccounts.split(separators, Qt::SkipEmptyParts))
        if (const QString problem = ExtendedRules::ibanProblem(further.trimmed()); !problem.isEmpty())
            out << QStringLiteral("Weitere Konten: ") + problem;
    if (out.isEmpty())
        return {};
    return out.join(QStringLiteral("\n\n")) + QStringLiteral("\n\nDie Firmendaten wurden trotzdem gespeichert.");
}

} // namespace OptionsRules

QList<std::array<QString, 4>> OptionsRules::footerFromSeller(const SellerData &seller,
                                                            const QList<std::array<QString, 4>> &old)
{
    const auto labelled = [](const char *label, const QString &value) {
        return value.trimmed().isEmpty() ? QString() : QString::fromUtf8(label) + value.trimmed();
    };
    const QString town = (seller.postcode.trimmed() + QLatin1Char(' ') + seller.town.trimmed()).trimmed();
    const std::array<QStringList, 4> filled = {
        QStringList{seller.name.trimmed(), seller.street.trimmed(), town},
        QStringList{labelled("Telefon: ", seller.telephone), labelled("E-Mail: ", seller.email)},
        QStringList{labelled("Bank: ", seller.bankName), labelled("IBAN: ", seller.iban), labelled("BIC: ", seller.bic),
                    labelled("Kontoinhaber: ", seller.bankName.trimmed().isEmpty() ? QString() : seller.name)},
        QStringList{labelled("USt-IdNr.: ", seller.vatId), labelled("Steuernummer: ", seller.taxNumber),
                    seller.commercialRegister.trimmed()}};
    // labels this fill writes: an old line with one of them is replaced, not kept
    static const QStringList written = {"Telefon:", "E-Mail:", "Bank:", "IBAN:", "BIC:", "Kontoinhaber:",
                                        "USt-IdNr.:", "Steuernummer:", "Amtsgericht:", "Handelsregister:"};
    const int rows = int(std::max<qsizetype>(old.size(), 5));
    QList<std::array<QString, 4>> out(rows);
    for (int c = 0; c < 4; ++c) {
        QStringList lines;
        for (const QString &l : filled[std::size_t(c)])
            if (!l.isEmpty())
                lines << l;
        for (int r = 0; c > 0 && r < old.size(); ++r) {
            const QString l = old[r][std::size_t(c)].trimmed();
            const bool replaced = std::any_of(written.begin(), written.end(),
                                              [&](const QString &w) { return l.startsWith(w); });
            if (!l.isEmpty() && !l.contains(QStringLiteral("[bitte eintragen]")) && !replaced && !lines.contains(l))
                lines << l;
        }
        for (int r = 0; r < rows; ++r)
            out[r][std::size_t(c)] = lines.value(r);
    }
    return out;
}
