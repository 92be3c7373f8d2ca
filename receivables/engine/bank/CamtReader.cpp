#include "BankStatement.h"

#include <QXmlStreamReader>

#include <optional>

// Reads ISO 20022 bank-to-customer statements (camt.053). The versions differ in
// details only (amount of a transaction, the party wrapped in <Pty>, the status as
// a code element), so one reader serves all of them by looking at local names.

namespace {

const QLatin1StringView CamtNamespace("urn:iso:std:iso:20022:tech:xsd:camt.053.001.");

// An ISO decimal ("1234.56", "100", "0.5") to an amount, exactly. Amounts in the
// statement are never negative; the sign is the credit/debit mark.
std::optional<Amount> parseAmount(QStringView text)
{
    text = text.trimmed();
    qint64 raw = 0;
    int digits = 0;
    qsizetype i = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (++digits > 14)
            return std::nullopt;
        raw = raw * 10 + (text[i].unicode() - u'0');
    }
    if (digits == 0)
        return std::nullopt;
    raw *= Amount::Scale;
    if (i < text.size() && text[i] == u'.') {
        qint64 place = Amount::Scale;
        for (++i; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
            place /= 10;
            const int digit = text[i].unicode() - u'0';
            if (place == 0 && digit != 0)
                return std::nullopt; // finer than a ten-thousandth: not a money amount
            raw += digit * place;
        }
    }
    if (i != text.size())
        return std::nullopt;
    return Amount::fromRaw(raw);
}

QString normalIban(const QString &text)
{
    QString out;
    for (QChar c : text)
        if (!c.isSpace())
            out += c.toUpper();
    return out;
}

struct Party
{
    QString name;
    QString iban;
    bool isEmpty() const { return name.isEmpty() && iban.isEmpty(); }
};

struct Transaction
{
    std::optional<Amount> amount;
    QString direction; // CRDT/DBIT when the transaction names its own
    QString bankReference;
    QString endToEndId;
    Party debtor;
    Party creditor;
    QStringList unstructured;
    QStringList creditorReferences;
};

struct Entry
{
    qint64 line = 0;
    QString amountText;
    QString currency;
    QString direction;
    bool reversal = false;
    QString status;
    QDate bookingDate;
    QDate valueDate;
    QString bankReference;
    QString additionalInfo;
    QList<Transaction> transactions;
};

class CamtParser
{
public:
    CamtParser(const QByteArray &content, const QString &fileName) : m_xml(content), m_fileName(fileName) {}

    StatementFile parse()
    {
        StatementFile result;
        result.format = StatementFile::Format::Camt053;
        readDocument();
        if (m_failure.isEmpty() && m_xml.hasError())
            m_failure = QStringLiteral("Die Datei „%1“ ist unvollständig oder beschädigt (Zeile %2).")
                            .arg(m_fileName)
                            .arg(m_xml.lineNumber());
        if (m_failure.isEmpty() && m_statements.isEmpty())
            m_failure = QStringLiteral("Die Datei „%1“ enthält keinen Kontoauszug.").arg(m_fileName);
        if (m_failure.isEmpty())
            result.statements = m_statements;
        result.error = m_failure;
        return result;
    }

private:
    bool failed() const { return !m_failure.isEmpty() || m_xml.hasError(); }

    void fail(const QString &what)
    {
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("Die Datei „%1“ %2").arg(m_fileName, what);
        m_xml.raiseError(m_failure); // stops the reader
    }

    void failAt(qint64 line, const QString &what)
    {
        fail(QStringLiteral("%1 (Zeile %2).").arg(what).arg(line));
    }

    // Calls handle(localName) for each child element; a child the handler does
    // not consume (returns false) is skipped with everything inside.
    template <typename Handler>
    void forEachChild(Handler &&handle)
    {
        while (!failed() && m_xml.readNextStartElement())
            if (!handle(m_xml.name()))
                m_xml.skipCurrentElement();
    }

    // The text of a leaf element, or of its child named inner (a code that later
    // versions wrap in <Cd>). Entity references cannot be resolved without a
    // document type, so one left standing means the file is not what it claims.
    QString text(QStringView inner = {})
    {
        QString out;
        while (!failed()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::Characters:
                out += m_xml.text();
                break;
            case QXmlStreamReader::EntityReference:
                failAt(m_xml.lineNumber(), QStringLiteral("enthält einen nicht auflösbaren Verweis „&%1;“")
                                               .arg(m_xml.name()));
                return {};
            case QXmlStreamReader::StartElement:
                if (!inner.isEmpty() && m_xml.name() == inner)
                    out = text();
                else
                    m_xml.skipCurrentElement();
                break;
            case QXmlStreamReader::EndElement:
                return out.trimmed();
            default:
                break;
            }
        }
        return {};
    }

    void readDocument()
    {
        while (!failed() && !m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == QXmlStreamReader::DTD) {
                // Entity declarations can read local files or multiply into
                // gigabytes; a bank never needs them.
                fail(QStringLiteral("enthält eine Dokumenttypdeklaration und wird nicht gelesen."));
                return;
            }
            if (token == QXmlStreamReader::StartElement)
                break;
        }
        if (failed() || m_xml.atEnd())
            return;
        if (m_xml.name() != u"Document" || !m_xml.namespaceUri().startsWith(CamtNamespace)) {
            fail(QStringLiteral("ist kein Kontoauszug im Format CAMT.053."));
            return;
        }
        forEachChild([&](QStringView name) {
            if (name != u"BkToCstmrStmt")
                return false;
            forEachChild([&](QStringView child) {
                if (child != u"Stmt")
                    return false;
                readStatement();
                return true;
            });
            return true;
        });
        // Anything after the root must still be well-formed.
        while (!failed() && !m_xml.atEnd())
            m_xml.readNext();
    }

    QString readAccountId()
    {
        QString id;
        forEachChild([&](QStringView name) {
            if (name == u"IBAN") {
                id = normalIban(text());
                return true;
            }
            if (name != u"Othr")
                return false;
            forEachChild([&](QStringView other) {
                if (other != u"Id")
                    return false;
                const QString value = normalIban(text());
                if (id.isEmpty())
                    id = value;
                return true;
            });
            return true;
        });
        return id;
    }

    // <DbtrAcct>/<CdtrAcct>: the identification is one level down.
    QString readPartyAccount()
    {
        QString id;
        forEachChild([&](QStringView name) {
            if (name != u"Id")
                return false;
            id = readAccountId();
            return true;
        });
        return id;
    }

    // <Dbtr>/<Cdtr>; later versions wrap the name in <Pty>.
    QString readPartyName()
    {
        QString name;
        forEachChild([&](QStringView child) {
            if (child == u"Nm")
                name = text().simplified();
            else if (child == u"Pty")
                name = readPartyName();
            else
                return false;
            return true;
        });
        return name;
    }

    void readStatement()
    {
        BankStatement statement;
        QList<Entry> entries;
        forEachChild([&](QStringView name) {
            if (name == u"Id") {
                statement.statementId = text();
            } else if (name == u"Acct") {
                forEachChild([&](QStringView child) {
                    if (child == u"Id")
                        statement.accountIban = readAccountId();
                    else if (child == u"Ccy")
                        statement.currency = text();
                    else
                        return false;
                    return true;
                });
            } else if (name == u"Ntry") {
                entries.append(readEntry());
            } else {
                return false;
            }
            return true;
        });
        if (failed())
            return;
        for (const Entry &entry : std::as_const(entries))
            addEntries(statement, entry);
        if (statement.currency.isEmpty() && !statement.entries.isEmpty())
            statement.currency = statement.entries.first().currency;
        m_statements.append(statement);
    }

    static QDate readDate(const QString &text)
    {
        // <DtTm> carries a time and zone after the date; the booking day is enough.
        return QDate::fromString(text.left(10), Qt::ISODate);
    }

    QDate readDateElement()
    {
        QDate date;
        forEachChild([&](QStringView name) {
            if (name != u"Dt" && name != u"DtTm")
                return false;
            date = readDate(text());
            return true;
        });
        return date;
    }

    Entry readEntry()
    {
        Entry entry;
        entry.line = m_xml.lineNumber();
        forEachChild([&](QStringView name) {
            if (name == u"Amt") {
                entry.currency = m_xml.attributes().value(QLatin1StringView("Ccy")).toString();
                entry.amountText = text();
            } else if (name == u"CdtDbtInd") {
                entry.direction = text();
            } else if (name == u"RvslInd") {
                const QString value = text();
                entry.reversal = value == u"true" || value == u"1";
            } else if (name == u"Sts") {
                entry.status = text(u"Cd");
            } else if (name == u"BookgDt") {
                entry.bookingDate = readDateElement();
            } else if (name == u"ValDt") {
                entry.valueDate = readDateElement();
            } else if (name == u"AcctSvcrRef") {
                entry.bankReference = text();
            } else if (name == u"AddtlNtryInf") {
                entry.additionalInfo = text().simplified();
            } else if (name == u"NtryDtls") {
                forEachChild([&](QStringView child) {
                    if (child != u"TxDtls")
                        return false;
                    entry.transactions.append(readTransaction());
                    return true;
                });
            } else {
                return false;
            }
            return true;
        });
        return entry;
    }

    Transaction readTransaction()
    {
        Transaction tx;
        forEachChild([&](QStringView name) {
            if (name == u"Refs") {
                forEachChild([&](QStringView ref) {
                    if (ref == u"AcctSvcrRef")
                        tx.bankReference = text();
                    else if (ref == u"EndToEndId")
                        tx.endToEndId = text();
                    else
                        return false;
                    return true;
                });
            } else if (name == u"Amt") {
                tx.amount = amountOrFail(text());
            } else if (name == u"CdtDbtInd") {
                tx.direction = text();
            } else if (name == u"AmtDtls") {
                forEachChild([&](QStringView kind) {
                    if (kind != u"TxAmt")
                        return false;
                    forEachChild([&](QStringView amt) {
                        if (amt != u"Amt")
                            return false;
                        const auto amount = amountOrFail(text());
                        if (!tx.amount)
                            tx.amount = amount;
                        return true;
                    });
                    return true;
                });
            } else if (name == u"RltdPties") {
                forEachChild([&](QStringView party) {
                    if (party == u"Dbtr")
                        tx.debtor.name = readPartyName();
                    else if (party == u"Cdtr")
                        tx.creditor.name = readPartyName();
                    else if (party == u"DbtrAcct")
                        tx.debtor.iban = readPartyAccount();
                    else if (party == u"CdtrAcct")
                        tx.creditor.iban = readPartyAccount();
                    else
                        return false;
                    return true;
                });
            } else if (name == u"RmtInf") {
                readRemittance(tx);
            } else {
                return false;
            }
            return true;
        });
        return tx;
    }

    void readRemittance(Transaction &tx)
    {
        forEachChild([&](QStringView name) {
            if (name == u"Ustrd") {
                tx.unstructured.append(text().simplified());
                return true;
            }
            if (name != u"Strd")
                return false;
            forEachChild([&](QStringView strd) {
                if (strd != u"CdtrRefInf")
                    return false;
                forEachChild([&](QStringView ref) {
                    if (ref != u"Ref")
                        return false;
                    tx.creditorReferences.append(text().simplified());
                    return true;
                });
                return true;
            });
            return true;
        });
    }

    std::optional<Amount> amountOrFail(const QString &value)
    {
        const auto amount = parseAmount(value);
        if (!amount)
            failAt(m_xml.lineNumber(), QStringLiteral("enthält den ungültigen Betrag „%1“").arg(value));
        return amount;
    }

    void addEntries(BankStatement &statement, const Entry &entry)
    {
        // Pending and advice-only entries are not booked on the account.
        if (entry.status == u"PDNG" || entry.status == u"INFO")
            return;
        const auto amount = parseAmount(entry.amountText);
        if (!amount) {
            failAt(entry.line, QStringLiteral("enthält eine Buchung ohne gültigen Betrag"));
            return;
        }
        if (entry.direction != u"CRDT" && entry.direction != u"DBIT") {
            failAt(entry.line, QStringLiteral("enthält eine Buchung ohne Kennzeichen für Soll oder Haben"));
            return;
        }
        StatementEntry base;
        base.bookingDate = entry.bookingDate.isValid() ? entry.bookingDate : entry.valueDate;
        base.valueDate = entry.valueDate.isValid() ? entry.valueDate : entry.bookingDate;
        if (!base.bookingDate.isValid()) {
            failAt(entry.line, QStringLiteral("enthält eine Buchung ohne gültiges Datum"));
            return;
        }
        base.amount = *amount;
        base.credit = entry.direction == u"CRDT";
        base.reversal = entry.reversal;
        base.currency = entry.currency.isEmpty() ? statement.currency : entry.currency;
        base.bankReference = entry.bankReference;
        base.purpose = entry.additionalInfo;

        const auto &txs = entry.transactions;
        bool split = txs.size() > 1;
        for (const Transaction &tx : txs)
            split = split && tx.amount.has_value();
        if (txs.size() == 1) {
            // The entry amount is what was booked; the transaction's own amount
            // may be in the currency the payer sent.
            statement.entries.append(detailed(base, txs.first(), false));
        } else if (split) {
            for (const Transaction &tx : txs)
                statement.entries.append(detailed(base, tx, true));
        } else {
            // A batch without single amounts cannot be divided: one booking.
            statement.entries.append(base);
        }
    }

    static StatementEntry detailed(StatementEntry e, const Transaction &tx, bool ownAmount)
    {
        if (ownAmount) {
            e.amount = *tx.amount;
            if (!tx.direction.isEmpty())
                e.credit = tx.direction == u"CRDT";
        }
        if (!tx.bankReference.isEmpty())
            e.bankReference = tx.bankReference;
        if (tx.endToEndId != u"NOTPROVIDED")
            e.endToEndId = tx.endToEndId;
        // A reversal keeps the parties of the booking it takes back, so the other
        // side is the debtor when the original booking was money received.
        const bool received = e.credit != e.reversal;
        const Party &other = received ? tx.debtor : tx.creditor;
        const Party &party = other.isEmpty() ? (received ? tx.creditor : tx.debtor) : other;
        e.counterpartyName = party.name;
        e.counterpartyIban = party.iban;
        QStringList purpose;
        for (const QString &line : tx.unstructured)
            if (!line.isEmpty())
                purpose.append(line);
        for (const QString &ref : tx.creditorReferences)
            if (!ref.isEmpty())
                purpose.append(ref);
        if (!purpose.isEmpty())
            e.purpose = purpose.join(u' ');
        return e;
    }

    QXmlStreamReader m_xml;
    QString m_fileName;
    QString m_failure;
    QList<BankStatement> m_statements;
};

} // namespace

namespace StatementReader {

StatementFile readCamt(const QByteArray &content, const QString &fileName)
{
    return CamtParser(content, fileName).parse();
}

} // namespace StatementReader
