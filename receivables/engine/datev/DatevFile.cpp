#include "DatevFile.h"

#include "Formats.h"

namespace Datev {

namespace {

// Unicode of the bytes 0x80 to 0x9F; zero where Windows-1252 has no character.
constexpr char32_t HighBlock[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,      // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178, // 98-9F
};

char windows1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int i = 0; i < 32; ++i)
        if (HighBlock[i] == c) // c is at least 0x80, so the gaps never match
            return char(0x80 + i);
    return '?';
}

QString date(const QDate &d, const char *format)
{
    return d.isValid() ? d.toString(QLatin1String(format)) : QString();
}

} // namespace

QByteArray toWindows1252(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4())
        out.append(windows1252(c));
    return out;
}

QString textField(const QString &text)
{
    if (text.isEmpty())
        return {};
    QString t = text;
    for (QChar &c : t)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    t.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

QString amountField(Amount amount)
{
    return (amount.isNegative() ? -amount : amount).toPlainText();
}

QString cut(const QString &text, int n)
{
    const auto ucs = text.toUcs4();
    if (ucs.size() <= n)
        return text;
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(ucs.constData()), n);
}

const QStringList &bookingColumns()
{
    static const QStringList columns = [] {
        QStringList c = {
            QStringLiteral("Umsatz (ohne Soll/Haben-Kz)"), QStringLiteral("Soll/Haben-Kennzeichen"),
            QStringLiteral("WKZ Umsatz"), QStringLiteral("Kurs"), QStringLiteral("Basis-Umsatz"),
            QStringLiteral("WKZ Basis-Umsatz"), QStringLiteral("Konto"),
            QStringLiteral("Gegenkonto (ohne BU-Schlüssel)"), QStringLiteral("BU-Schlüssel"),
            QStringLiteral("Belegdatum"), QStringLiteral("Belegfeld 1"), QStringLiteral("Belegfeld 2"),
            QStringLiteral("Skonto"), QStringLiteral("Buchungstext"), QStringLiteral("Postensperre"),
            QStringLiteral("Diverse Adressnummer"), QStringLiteral("Geschäftspartnerbank"),
            QStringLiteral("Sachverhalt"), QStringLiteral("Zinssperre"), QStringLiteral("Beleglink"),
        };
        for (int i = 1; i <= 8; ++i)
            c << QStringLiteral("Beleginfo - Art %1").arg(i) << QStringLiteral("Beleginfo - Inhalt %1").arg(i);
        c << QStringLiteral("KOST1 - Kostenstelle") << QStringLiteral("KOST2 - Kostenstelle")
          << QStringLiteral("Kost-Menge") << QStringLiteral("EU-Land u. UStID (Bestimmung)")
          << QStringLiteral("EU-Steuersatz (Bestimmung)") << QStringLiteral("Abw. Versteuerungsart")
          << QStringLiteral("Sachverhalt L+L") << QStringLiteral("Funktionsergänzung L+L")
          << QStringLiteral("BU 49 Hauptfunktionstyp") << QStringLiteral("BU 49 Hauptfunktionsnummer")
          << QStringLiteral("BU 49 Funktionsergänzung");
        // DATEV's own sample file writes "Zusatzinformation- Inhalt" without the blank.
        for (int i = 1; i <= 20; ++i)
            c << QStringLiteral("Zusatzinformation - Art %1").arg(i)
              << QStringLiteral("Zusatzinformation- Inhalt %1").arg(i);
        c << QStringLiteral("Stück") << QStringLiteral("Gewicht") << QStringLiteral("Zahlweise")
          << QStringLiteral("Forderungsart") << QStringLiteral("Veranlagungsjahr")
          << QStringLiteral("Zugeordnete Fälligkeit") << QStringLiteral("Skontotyp")
          << QStringLiteral("Auftragsnummer") << QStringLiteral("Buchungstyp")
          << QStringLiteral("USt-Schlüssel (Anzahlungen)") << QStringLiteral("EU-Land (Anzahlungen)")
          << QStringLiteral("Sachverhalt L+L (Anzahlungen)") << QStringLiteral("EU-Steuersatz (Anzahlungen)")
          << QStringLiteral("Erlöskonto (Anzahlungen)") << QStringLiteral("Herkunft-Kz")
          << QStringLiteral("Buchungs GUID") << QStringLiteral("KOST-Datum")
          << QStringLiteral("SEPA-Mandatsreferenz") << QStringLiteral("Skontosperre")
          << QStringLiteral("Gesellschaftername") << QStringLiteral("Beteiligtennummer")
          << QStringLiteral("Identifikationsnummer") << QStringLiteral("Zeichnernummer")
          << QStringLiteral("Postensperre bis") << QStringLiteral("Bezeichnung SoBil-Sachverhalt")
          << QStringLiteral("Kennzeichen SoBil-Buchung") << QStringLiteral("Festschreibung")
          << QStringLiteral("Leistungsdatum") << QStringLiteral("Datum Zuord. Steuerperiode")
          << QStringLiteral("Fälligkeit") << QStringLiteral("Generalumkehr (GU)") << QStringLiteral("Steuersatz")
          << QStringLiteral("Land") << QStringLiteral("Abrechnungsreferenz") << QStringLiteral("BVV-Position")
          << QStringLiteral("EU-Land u. UStID (Ursprung)") << QStringLiteral("EU-Steuersatz (Ursprung)")
          << QStringLiteral("Abw. Skontokonto");
        Q_ASSERT(c.size() == Column::Count);
        return c;
    }();
    return columns;
}

namespace {

// The first line is the same for every kind of file; a booking batch adds its
// period and how it is to be booked.
QStringList headerFields(const Settings &settings, const QDateTime &created, int category, const QString &format,
                         int version, const Period *period)
{
    // Empty text fields are written as "" here, as in DATEV's own examples of this line.
    const QString none = QStringLiteral("\"\"");
    auto text = [&](const QString &t, int n) { return t.isEmpty() ? none : textField(cut(t, n)); };
    QStringList f = {
        QStringLiteral("\"EXTF\""),                           // 1 made by a program outside DATEV
        QStringLiteral("700"),                                // 2 version of this line
        QString::number(category),                            // 3 data category
        textField(format),                                    // 4 format name
        QString::number(version),                             // 5 format version
        created.toString(QStringLiteral("yyyyMMddHHmmsszzz")), // 6 created
        QString(),                                            // 7 imported (DATEV fills it)
        QStringLiteral("\"RE\""),                             // 8 origin
        text(settings.exportedBy, 25),                        // 9 exported by
        none,                                                 // 10 imported by
        settings.consultantNumber.trimmed(),                  // 11 Beraternummer
        settings.clientNumber.trimmed(),                      // 12 Mandantennummer
        date(settings.fiscalYearStart, "yyyyMMdd"),           // 13 fiscal year start
        QString::number(settings.accountLength),              // 14 Sachkontenlänge
        QString(),                                            // 15 period from
        QString(),                                            // 16 period to
        none,                                                 // 17 description of the batch
        none,                                                 // 18 Diktatkürzel
        QString(),                                            // 19 booking type
        QString(),                                            // 20 accounting purpose
        QString(),                                            // 21 fixing
        none,                                                 // 22 currency
        QString(),                                            // 23 reserved
        none,                                                 // 24 Derivatskennzeichen
        QString(),                                            // 25 reserved
        QString(),                                            // 26 reserved
        settings.chart == Chart::Skr04 ? QStringLiteral("\"04\"") : QStringLiteral("\"03\""), // 27 chart
        QString(),                                            // 28 industry solution
        QString(),                                            // 29 reserved
        none,                                                 // 30 reserved
        none,                                                 // 31 application information
    };
    if (period) {
        f[14] = date(period->from, "yyyyMMdd");
        f[15] = date(period->to, "yyyyMMdd");
        f[16] = text(settings.description, 30);
        f[17] = text(settings.dictationInitials, 2);
        f[18] = QStringLiteral("1");       // financial accounting
        f[19] = QStringLiteral("0");       // for any purpose
        f[20] = QStringLiteral("0");       // not fixed: the advisor may still correct
        f[21] = QStringLiteral("\"EUR\"");
    }
    return f;
}

} // namespace

const QStringList &debtorColumns()
{
    static const QStringList columns = [] {
        QStringList c = {
            QStringLiteral("Konto"), QStringLiteral("Name (Adressattyp Unternehmen)"),
            QStringLiteral("Unternehmensgegenstand"), QStringLiteral("Name (Adressattyp natürl. Person)"),
            QStringLiteral("Vorname (Adressattyp natürl. Person)"), QStringLiteral("Name (Adressattyp keine Angabe)"),
            QStringLiteral("Adressattyp"), QStringLiteral("Kurzbezeichnung"), QStringLiteral("EU-Land"),
            QStringLiteral("EU-UStID"), QStringLiteral("Anrede"), QStringLiteral("Titel/Akad. Grad"),
            QStringLiteral("Adelstitel"), QStringLiteral("Namensvorsatz"), QStringLiteral("Adressart"),
            QStringLiteral("Straße"), QStringLiteral("Postfach"), QStringLiteral("Postleitzahl"), QStringLiteral("Ort"),
            QStringLiteral("Land"), QStringLiteral("Versandzusatz"), QStringLiteral("Adresszusatz"),
            QStringLiteral("Abweichende Anrede"), QStringLiteral("Abw. Zustellbezeichnung 1"),
            QStringLiteral("Abw. Zustellbezeichnung 2"), QStringLiteral("Kennz. Korrespondenzadresse"),
            QStringLiteral("Adresse Gültig von"), QStringLiteral("Adresse Gültig bis"), QStringLiteral("Telefon"),
            QStringLiteral("Bemerkung (Telefon)"), QStringLiteral("Telefon GL"), QStringLiteral("Bemerkung (Telefon GL)"),
            QStringLiteral("E-Mail"), QStringLiteral("Bemerkung (E-Mail)"), QStringLiteral("Internet"),
            QStringLiteral("Bemerkung (Internet)"), QStringLiteral("Fax"), QStringLiteral("Bemerkung (Fax)"),
            QStringLiteral("Sonstige"), QStringLiteral("Bemerkung (Sonstige)"),
        };
        const auto bank = [&c](int i) {
            c << QStringLiteral("Bankleitzahl %1").arg(i) << QStringLiteral("Bankbezeichnung %1").arg(i)
              << QStringLiteral("Bank-Kontonummer %1").arg(i) << QStringLiteral("Länderkennzeichen %1").arg(i)
              << QStringLiteral("IBAN-Nr. %1").arg(i) << QStringLiteral("Leerfeld")
              << QStringLiteral("SWIFT-Code %1").arg(i) << QStringLiteral("Abw. Kontoinhaber %1").arg(i)
              << QStringLiteral("Kennz. Hauptbankverb. %1").arg(i) << QStringLiteral("Bankverb %1 Gültig von").arg(i)
              << QStringLiteral("Bankverb %1 Gültig bis").arg(i);
        };
        for (int i = 1; i <= 5; ++i)
            bank(i);
        c << QStringLiteral("Leerfeld") << QStringLiteral("Briefanrede") << QStringLiteral("Grußformel")
          << QStringLiteral("Kunden-/Lief.-Nr.") << QStringLiteral("Steuernummer") << QStringLiteral("Sprache")
          << QStringLiteral("Ansprechpartner") << QStringLiteral("Vertreter") << QStringLiteral("Sachbearbeiter")
          << QStringLiteral("Diverse-Konto") << QStringLiteral("Ausgabeziel") << QStringLiteral("Währungssteuerung")
          << QStringLiteral("Kreditlimit (Debitor)") << QStringLiteral("Zahlungsbedingung")
          << QStringLiteral("Fälligkeit in Tagen (Debitor)") << QStringLiteral("Skonto in Prozent (Debitor)")
          << QStringLiteral("Kreditoren-Ziel 1 Tg.") << QStringLiteral("Kreditoren-Skonto 1 %")
          << QStringLiteral("Kreditoren-Ziel 2 Tg.") << QStringLiteral("Kreditoren-Skonto 2 %")
          << QStringLiteral("Kreditoren-Ziel 3 Brutto Tg.") << QStringLiteral("Kreditoren-Ziel 4 Tg.")
          << QStringLiteral("Kreditoren-Skonto 4 %") << QStringLiteral("Kreditoren-Ziel 5 Tg.")
          << QStringLiteral("Kreditoren-Skonto 5 %") << QStringLiteral("Mahnung") << QStringLiteral("Kontoauszug")
          << QStringLiteral("Mahntext 1") << QStringLiteral("Mahntext 2") << QStringLiteral("Mahntext 3")
          << QStringLiteral("Kontoauszugstext") << QStringLiteral("Mahnlimit Betrag") << QStringLiteral("Mahnlimit %")
          << QStringLiteral("Zinsberechnung") << QStringLiteral("Mahnzinssatz 1") << QStringLiteral("Mahnzinssatz 2")
          << QStringLiteral("Mahnzinssatz 3") << QStringLiteral("Lastschrift") << QStringLiteral("Leerfeld")
          << QStringLiteral("Mandantenbank") << QStringLiteral("Zahlungsträger");
        for (int i = 1; i <= 15; ++i)
            c << QStringLiteral("Indiv. Feld %1").arg(i);
        for (const char *f : {"Abweichende Anrede", "Adressart", "Straße", "Postfach", "Postleitzahl", "Ort", "Land",
                              "Versandzusatz", "Adresszusatz", "Abw. Zustellbezeichnung 1", "Abw. Zustellbezeichnung 2",
                              "Adresse Gültig von", "Adresse Gültig bis"})
            c << QString::fromUtf8(f) + QStringLiteral(" (Rechnungsadresse)");
        for (int i = 6; i <= 10; ++i)
            bank(i);
        c << QStringLiteral("Nummer Fremdsystem") << QStringLiteral("Insolvent");
        for (int i = 1; i <= 10; ++i)
            c << QStringLiteral("SEPA-Mandatsreferenz %1").arg(i);
        c << QStringLiteral("Verknüpftes OPOS-Konto") << QStringLiteral("Mahnsperre bis")
          << QStringLiteral("Lastschriftsperre bis") << QStringLiteral("Zahlungssperre bis")
          << QStringLiteral("Gebührenberechnung") << QStringLiteral("Mahngebühr 1") << QStringLiteral("Mahngebühr 2")
          << QStringLiteral("Mahngebühr 3") << QStringLiteral("Pauschalenberechnung")
          << QStringLiteral("Verzugspauschale 1") << QStringLiteral("Verzugspauschale 2")
          << QStringLiteral("Verzugspauschale 3") << QStringLiteral("Alternativer Suchname") << QStringLiteral("Status")
          << QStringLiteral("Anschrift manuell geändert (Korrespondenzadresse)")
          << QStringLiteral("Anschrift individuell (Korrespondenzadresse)")
          << QStringLiteral("Anschrift manuell geändert (Rechnungsadresse)")
          << QStringLiteral("Anschrift individuell (Rechnungsadresse)") << QStringLiteral("Fristberechnung bei Debitor")
          << QStringLiteral("Mahnfrist 1") << QStringLiteral("Mahnfrist 2") << QStringLiteral("Mahnfrist 3")
          << QStringLiteral("Letzte Frist");
        return c;
    }();
    return columns;
}

QStringList bookingHeaderFields(const Settings &settings, const Period &period, const QDateTime &created)
{
    return headerFields(settings, created, 21, QStringLiteral("Buchungsstapel"), 13, &period);
}

QStringList debtorHeaderFields(const Settings &settings, const QDateTime &created)
{
    return headerFields(settings, created, 16, QStringLiteral("Debitoren/Kreditoren"), 5, nullptr);
}

QStringList bookingFields(const Booking &b)
{
    QStringList f(Column::Count);
    auto set = [&](int column, const QString &value) { f[column - 1] = value; };
    set(Column::Amount, amountField(b.amount));
    set(Column::Side, b.side == Side::Debit ? QStringLiteral("\"S\"") : QStringLiteral("\"H\""));
    set(Column::Account, QString::number(b.account));
    set(Column::ContraAccount, QString::number(b.contraAccount));
    set(Column::VoucherDate, date(b.date, "ddMM"));
    set(Column::Voucher, textField(b.voucher));
    set(Column::Text, textField(cut(b.text, 60)));
    set(Column::VatId, textField(b.vatId));
    set(Column::ServiceDate, date(b.serviceDate, "ddMMyyyy"));
    return f;
}

QByteArray bookingBatchBytes(const Settings &settings, const Period &period, const QDateTime &created,
                             const QList<Booking> &bookings)
{
    const QByteArray crlf("\r\n");
    QByteArray out = toWindows1252(bookingHeaderFields(settings, period, created).join(QLatin1Char(';'))) + crlf;
    out += toWindows1252(bookingColumns().join(QLatin1Char(';'))) + crlf;
    for (const Booking &b : bookings)
        out += toWindows1252(bookingFields(b).join(QLatin1Char(';'))) + crlf;
    return out;
}

QStringList debtorFields(qint64 account, const Debtor &d)
{
    QStringList f(DebtorColumn::Count);
    auto set = [&](int column, const QString &text, int n) { f[column - 1] = textField(cut(text.trimmed(), n).trimmed()); };
    f[DebtorColumn::Account - 1] = QString::number(account);
    set(DebtorColumn::CompanyName, d.name, 50);
    set(DebtorColumn::AddresseeType, QStringLiteral("2"), 1);
    set(DebtorColumn::ShortName, d.name, 15);
    // The master data hold the VAT ID's country and its number in two columns.
    QString vatId = d.vatId;
    vatId.remove(QLatin1Char(' '));
    vatId = vatId.toUpper();
    if (vatId.size() > 2) {
        set(DebtorColumn::EuCountry, vatId.left(2), 2);
        set(DebtorColumn::EuVatId, vatId.mid(2), 13);
    }
    if (!d.street.trimmed().isEmpty())
        set(DebtorColumn::AddressKind, QStringLiteral("STR"), 3);
    set(DebtorColumn::Street, d.street, 36);
    set(DebtorColumn::Postcode, d.postcode, 10);
    set(DebtorColumn::City, d.city, 30);
    set(DebtorColumn::Country, d.country.toUpper(), 2);
    set(DebtorColumn::CustomerNumber, PadNumber(d.customerNumber), 15);
    return f;
}

QByteArray debtorBytes(const Settings &settings, const QDateTime &created, const QList<QPair<qint64, Debtor>> &accounts)
{
    const QByteArray crlf("\r\n");
    QByteArray out = toWindows1252(debtorHeaderFields(settings, created).join(QLatin1Char(';'))) + crlf;
    out += toWindows1252(debtorColumns().join(QLatin1Char(';'))) + crlf;
    for (const auto &[account, debtor] : accounts)
        out += toWindows1252(debtorFields(account, debtor).join(QLatin1Char(';'))) + crlf;
    return out;
}

} // namespace Datev
