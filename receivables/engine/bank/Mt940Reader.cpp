#include "BankStatement.h"
#include "Identifiers.h"

#include <QMap>
#include <QStringDecoder>

#include <optional>

// Reads SWIFT MT940 statements the way German banks deliver them: the :86: field
// in its structured form (business code, then numbered subfields) and SEPA
// keywords such as EREF+ and SVWZ+ inside the remittance text.

namespace {

struct Field
{
    QString tag;         // "61", "60F"
    QStringList lines;   // the first line after the tag, then continuation lines
    qint64 line = 0;     // where the tag stands, counted from 1
};

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool allDigits(QStringView text)
{
    for (QChar c : text)
        if (!isDigit(c))
            return false;
    return !text.isEmpty();
}

// Text is usually ISO-8859-1; some banks and portals send UTF-8. Latin-1 text with
// umlauts is almost never valid UTF-8, so UTF-8 is taken only when it decodes.
QString decode(const QByteArray &content)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(content);
    if (utf8.hasError())
        text = QString::fromLatin1(content);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// "1234,56" (decimal comma, no grouping) to an amount, exactly.
std::optional<Amount> parseAmount(QStringView text)
{
    const qsizetype comma = text.indexOf(u',');
    const QStringView units = comma < 0 ? text : text.left(comma);
    const QStringView cents = comma < 0 ? QStringView() : text.mid(comma + 1);
    if (comma < 0 || !allDigits(units) || units.size() > 14 || cents.size() > 4
        || (!cents.isEmpty() && !allDigits(cents)))
        return std::nullopt;
    qint64 raw = units.toLongLong() * Amount::Scale;
    qint64 place = Amount::Scale;
    for (QChar c : cents)
        raw += (c.unicode() - u'0') * (place /= 10);
    return Amount::fromRaw(raw);
}

QDate dateFromYymmdd(QStringView text)
{
    if (text.size() != 6 || !allDigits(text))
        return {};
    const int yy = text.left(2).toInt();
    return QDate(yy < 80 ? 2000 + yy : 1900 + yy, text.mid(2, 2).toInt(), text.mid(4, 2).toInt());
}

bool looksLikeIban(const QString &text)
{
    if (text.size() < 15 || text.size() > 34 || !text[0].isUpper() || !text[1].isUpper() || !isDigit(text[2])
        || !isDigit(text[3]))
        return false;
    for (QChar c : text)
        if (!isDigit(c) && !(c >= u'A' && c <= u'Z'))
            return false;
    return true;
}

bool ibanChecksumOk(const QString &iban)
{
    const QString moved = iban.mid(4) + iban.left(4);
    int rest = 0;
    for (QChar c : moved) {
        const int value = isDigit(c) ? c.unicode() - u'0' : c.unicode() - u'A' + 10;
        rest = (value >= 10 ? rest * 100 : rest * 10) + value;
        rest %= 97;
    }
    return rest == 1;
}

// :25: holds "BLZ/Kontonummer" or the IBAN, at some banks with the currency
// appended. Anything that is not an IBAN is kept for the caller to compare.
QString accountOf(const QString &text)
{
    const QString id = CompactIdentifier(text);
    if (looksLikeIban(id) && ibanChecksumOk(id))
        return id;
    const QString withoutCurrency = id.left(id.size() - 3);
    if (looksLikeIban(withoutCurrency) && ibanChecksumOk(withoutCurrency))
        return withoutCurrency;
    return id;
}

// The SEPA keywords banks put into the remittance text; each value runs up to the
// next keyword.
const QStringList SepaKeywords = {
    QStringLiteral("EREF+"), QStringLiteral("KREF+"), QStringLiteral("MREF+"), QStringLiteral("CRED+"),
    QStringLiteral("DEBT+"), QStringLiteral("SVWZ+"), QStringLiteral("ABWA+"), QStringLiteral("ABWE+"),
    QStringLiteral("IBAN+"), QStringLiteral("BIC+"),  QStringLiteral("COAM+"), QStringLiteral("OAMT+"),
    QStringLiteral("SQTP+"), QStringLiteral("PURP+"), QStringLiteral("BREF+"), QStringLiteral("RREF+"),
};

QMap<QString, QString> sepaValues(const QString &text)
{
    QMap<QString, QString> values;
    QString current;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        for (const QString &keyword : SepaKeywords) {
            if (!QStringView(text).mid(i).startsWith(keyword))
                continue;
            if (!current.isEmpty())
                values[current] += text.mid(start, i - start);
            current = keyword.chopped(1);
            start = i + keyword.size();
            i = start - 1;
            break;
        }
    }
    if (!current.isEmpty())
        values[current] += text.mid(start);
    for (QString &value : values)
        value = value.simplified();
    return values;
}

// The remittance part of :86:, structured or not.
void readInformation(const QString &info, StatementEntry &entry)
{
    QString purpose;
    QString name;
    const bool structured = info.size() > 5 && allDigits(QStringView(info).left(3)) && !info[3].isLetterOrNumber()
        && !info[3].isSpace() && isDigit(info[4]) && isDigit(info[5]);
    if (structured) {
        // The character after the business code separates the subfields; most
        // banks use "?", but it is declared here for each field.
        const QChar sep = info[3];
        QMap<int, QString> subfields;
        qsizetype i = 3;
        while (i < info.size()) {
            qsizetype next = i + 3;
            while (next < info.size()
                   && !(info[next] == sep && next + 2 < info.size() && isDigit(info[next + 1]) && isDigit(info[next + 2])))
                ++next;
            subfields[info.mid(i + 1, 2).toInt()] += info.mid(i + 3, next - i - 3);
            i = next;
        }
        for (auto it = subfields.cbegin(); it != subfields.cend(); ++it) {
            const int id = it.key();
            // Banks cut the purpose at a fixed width, so the lines join directly.
            if ((id >= 20 && id <= 29) || (id >= 60 && id <= 63))
                purpose += it.value();
            else if (id == 32 || id == 33)
                name += it.value();
            else if (id == 31 && looksLikeIban(CompactIdentifier(it.value())))
                entry.counterpartyIban = CompactIdentifier(it.value());
        }
    } else {
        purpose = allDigits(QStringView(info).left(3)) && info.startsWith(u"999") ? info.mid(3) : info;
    }
    entry.counterpartyName = name.simplified();
    const auto sepa = sepaValues(purpose);
    const QString endToEnd = sepa.value(QStringLiteral("EREF"));
    if (endToEnd != u"NOTPROVIDED")
        entry.endToEndId = endToEnd;
    entry.purpose = sepa.contains(QStringLiteral("SVWZ")) ? sepa.value(QStringLiteral("SVWZ")) : purpose.simplified();
}

class Mt940Parser
{
public:
    Mt940Parser(const QByteArray &content, const QString &fileName) : m_text(decode(content)), m_fileName(fileName) {}

    StatementFile parse()
    {
        StatementFile result;
        result.format = StatementFile::Format::Mt940;
        const QList<Field> fields = splitFields();
        for (const Field &field : fields)
            if (!take(field))
                break;
        if (m_failure.isEmpty() && m_open)
            failAt(m_statementLine, QStringLiteral("endet vor dem Schlusssaldo (:62F:) des Kontoauszugs"));
        if (m_failure.isEmpty() && m_statements.isEmpty())
            m_failure = QStringLiteral("Die Datei „%1“ enthält keinen Kontoauszug.").arg(m_fileName);
        if (m_failure.isEmpty())
            result.statements = m_statements;
        result.error = m_failure;
        return result;
    }

private:
    bool failAt(qint64 line, const QString &what)
    {
        m_failure = QStringLiteral("Die Datei „%1“ %2 (Zeile %3).").arg(m_fileName, what).arg(line);
        return false;
    }

    QList<Field> splitFields() const
    {
        QList<Field> fields;
        bool inField = false;
        const QStringList lines = m_text.split(u'\n');
        for (qsizetype n = 0; n < lines.size(); ++n) {
            QString line = lines[n];
            if (line.endsWith(u'\r'))
                line.chop(1);
            if (line.startsWith(u'{')) {
                // SWIFT envelope: {1:...}{2:...}{4: and the fields follow, possibly
                // on the same line.
                const qsizetype body = line.indexOf(QStringLiteral("{4:"));
                if (body < 0)
                    continue;
                line = line.mid(body + 3);
                inField = false;
            }
            if (line == u"-" || line.startsWith(QStringLiteral("-}"))) {
                inField = false;
                continue;
            }
            if (line.size() >= 4 && line[0] == u':') {
                const qsizetype close = line.indexOf(u':', 1);
                const QStringView tag = QStringView(line).mid(1, close - 1);
                if (close >= 3 && close <= 4 && allDigits(tag.left(2)) && (tag.size() == 2 || tag[2].isUpper())) {
                    fields.append({tag.toString(), {line.mid(close + 1)}, n + 1});
                    inField = true;
                    continue;
                }
            }
            if (inField && !line.trimmed().isEmpty())
                fields.last().lines.append(line);
        }
        return fields;
    }

    bool take(const Field &f)
    {
        const QString value = f.lines.first().trimmed();
        if (f.tag == u"20") {
            if (m_open)
                return failAt(m_statementLine, QStringLiteral("enthält einen Kontoauszug ohne Schlusssaldo (:62F:)"));
            m_open = true;
            m_statementLine = f.line;
            m_current = BankStatement();
            m_current.statementId = value;
            m_hasAccount = m_hasOpening = false;
            m_lastWasLine = false;
            return true;
        }
        if (!m_open) {
            // After the closing balance a bank may still add :64:, :65: or a
            // closing :86: for the whole statement.
            if (f.tag == u"64" || f.tag == u"65" || f.tag == u"86")
                return true;
            return failAt(f.line, QStringLiteral("enthält das Feld :%1: außerhalb eines Kontoauszugs").arg(f.tag));
        }
        const bool afterLine = m_lastWasLine;
        m_lastWasLine = false;
        if (f.tag == u"25") {
            m_current.accountIban = accountOf(value);
            m_hasAccount = !m_current.accountIban.isEmpty();
        } else if (f.tag == u"28C") {
            // The statement number is more telling than :20:, which many banks
            // fill with the same word for every statement.
            const QString number = CompactIdentifier(value);
            if (!number.isEmpty() && number.count(u'0') + number.count(u'/') != number.size())
                m_current.statementId = number;
        } else if (f.tag == u"60F" || f.tag == u"60M") {
            if (value.size() < 11 || !(value[0] == u'C' || value[0] == u'D') || !dateFromYymmdd(value.mid(1, 6)).isValid()
                || !parseAmount(value.mid(10)))
                return failAt(f.line, QStringLiteral("enthält einen ungültigen Anfangssaldo (:%1:)").arg(f.tag));
            m_current.currency = value.mid(7, 3);
            m_hasOpening = true;
        } else if (f.tag == u"61") {
            if (!m_hasAccount || !m_hasOpening)
                return failAt(f.line, QStringLiteral("enthält eine Umsatzzeile vor Konto und Anfangssaldo"));
            StatementEntry entry;
            entry.currency = m_current.currency;
            const QString problem = readLine(value, entry);
            if (!problem.isEmpty())
                return failAt(f.line, QStringLiteral("enthält eine Umsatzzeile (:61:) %1").arg(problem));
            m_current.entries.append(entry);
            m_lastWasLine = true;
        } else if (f.tag == u"86") {
            if (afterLine)
                readInformation(f.lines.join(QString()), m_current.entries.last());
        } else if (f.tag == u"62F" || f.tag == u"62M") {
            if (!m_hasAccount)
                return failAt(m_statementLine, QStringLiteral("enthält einen Kontoauszug ohne Konto (:25:)"));
            if (!m_hasOpening)
                return failAt(m_statementLine, QStringLiteral("enthält einen Kontoauszug ohne Anfangssaldo (:60F:)"));
            m_statements.append(m_current);
            m_open = false;
        }
        return true;
    }

    // :61: — value date YYMMDD, booking date MMDD (optional), C/D/RC/RD, the third
    // letter of the currency (optional), amount, transaction type, customer
    // reference, "//" and the bank's reference. Returns what is wrong, if anything.
    static QString readLine(const QString &v, StatementEntry &e)
    {
        e.valueDate = dateFromYymmdd(QStringView(v).left(6));
        if (!e.valueDate.isValid())
            return QStringLiteral("ohne gültiges Valutadatum");
        qsizetype i = 6;
        e.bookingDate = e.valueDate;
        if (v.size() >= 10 && allDigits(QStringView(v).mid(6, 4))) {
            const int month = v.mid(6, 2).toInt();
            int year = e.valueDate.year();
            // Booked at the turn of the year: the booking date lies in the other year.
            if (e.valueDate.month() == 12 && month == 1)
                ++year;
            else if (e.valueDate.month() == 1 && month == 12)
                --year;
            e.bookingDate = QDate(year, month, v.mid(8, 2).toInt());
            if (!e.bookingDate.isValid())
                return QStringLiteral("ohne gültiges Buchungsdatum");
            i = 10;
        }
        if (v.mid(i, 2) == u"RC" || v.mid(i, 2) == u"RD") {
            e.reversal = true;
            ++i;
        }
        if (i >= v.size() || (v[i] != u'C' && v[i] != u'D'))
            return QStringLiteral("ohne Kennzeichen für Soll oder Haben");
        // "RC" takes back a credit, so money leaves the account; "RD" brings it back.
        e.credit = (v[i++] == u'C') != e.reversal;
        if (i < v.size() && v[i].isLetter())
            ++i; // third letter of the currency
        const qsizetype amountStart = i;
        while (i < v.size() && (isDigit(v[i]) || v[i] == u','))
            ++i;
        const auto amount = parseAmount(QStringView(v).mid(amountStart, i - amountStart));
        if (!amount)
            return QStringLiteral("ohne gültigen Betrag");
        e.amount = *amount;
        if (i + 4 <= v.size() && (v[i] == u'N' || v[i] == u'F' || v[i] == u'S'))
            i += 4; // transaction type, e.g. NTRF
        const qsizetype slashes = v.indexOf(QStringLiteral("//"), i);
        if (slashes >= 0)
            e.bankReference = v.mid(slashes + 2).trimmed();
        return {};
    }

    QString m_text;
    QString m_fileName;
    QString m_failure;
    QList<BankStatement> m_statements;
    BankStatement m_current;
    qint64 m_statementLine = 0;
    bool m_open = false;
    bool m_hasAccount = false;
    bool m_hasOpening = false;
    bool m_lastWasLine = false;
};

} // namespace

namespace StatementReader {

StatementFile readMt940(const QByteArray &content, const QString &fileName)
{
    return Mt940Parser(content, fileName).parse();
}

} // namespace StatementReader
