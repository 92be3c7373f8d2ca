#include "DatevFile.h"

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

QStringList bookingHeaderFields(const Settings &settings, const Period &period, const QDateTime &created)
{
    // Empty text fields are written as "" here, as in DATEV's own examples of this line.
    const QString none = QStringLiteral("\"\"");
    auto text = [&](const QString &t, int n) { return t.isEmpty() ? none : textField(cut(t, n)); };
    return {
        QStringLiteral("\"EXTF\""),                           // 1 made by a program outside DATEV
        QStringLiteral("700"),                                // 2 version of this line
        QStringLiteral("21"),                                 // 3 data category: booking batch
        QStringLiteral("\"Buchungsstapel\""),                 // 4 format name
        QStringLiteral("13"),                                 // 5 format version
        created.toString(QStringLiteral("yyyyMMddHHmmsszzz")), // 6 created
        QString(),                                            // 7 imported (DATEV fills it)
        QStringLiteral("\"RE\""),                             // 8 origin
        text(settings.exportedBy, 25),                        // 9 exported by
        none,                                                 // 10 imported by
        settings.consultantNumber.trimmed(),                  // 11 Beraternummer
        settings.clientNumber.trimmed(),                      // 12 Mandantennummer
        date(settings.fiscalYearStart, "yyyyMMdd"),           // 13 fiscal year start
        QString::number(settings.accountLength),              // 14 Sachkontenlänge
        date(period.from, "yyyyMMdd"),                        // 15 period from
        date(period.to, "yyyyMMdd"),                          // 16 period to
        text(settings.description, 30),                       // 17 description of the batch
        text(settings.dictationInitials, 2),                  // 18 Diktatkürzel
        QStringLiteral("1"),                                  // 19 booking type: financial accounting
        QStringLiteral("0"),                                  // 20 accounting purpose: any
        QStringLiteral("0"),                                  // 21 not fixed, the advisor may still correct
        QStringLiteral("\"EUR\""),                            // 22 currency
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

} // namespace Datev
