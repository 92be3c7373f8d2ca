#include "DocumentStore.h"

#include "Database.h"
#include "Errors.h"
#include "Formats.h"
#include "InvoiceBalanceStore.h"
#include "SqlLiterals.h"
#include "NumberLock.h"
#include "SqlOptional.h"
#include "SqlQuery.h"
#include "SqlText.h"
#include "Totals.h"
#include "Transaction.h"

#include <QRegularExpression>
#include <QSysInfo>
#include <QUuid>

namespace {

// Statements are composed with one multi-argument QString::arg() each: a second
// arg() would also replace "%1"-like text that a user typed into a field.

QString num(qint64 value)
{
    return QString::number(value);
}

QString flag(bool on)
{
    return on ? QStringLiteral("J") : QStringLiteral("N");
}

// Dates are stored in the one form the date collation orders ("dd.MM.yyyy").
QString storedDate(const QString &date)
{
    return date.trimmed().isEmpty() ? QString() : DateToStr(StrToDate(date));
}

// The gross rule column: 'S' for the sum of the shown parts; documents stored
// before it have none.
const QString SumOfShownParts = QStringLiteral("'S'");

bool hasServiceDate(DocumentKind kind)
{
    return DocumentHistory::keepsHistory(kind);
}

bool isPaymentTerm(const QString &term)
{
    static const QRegularExpression days(QStringLiteral("^\\d{1,5}$"));
    return days.match(term.trimmed()).hasMatch();
}

} // namespace

const QString DocumentStore::CreditNoteQuestion = QStringLiteral(
    "Die Gutschrift ist höher als der ausstehende Rechnungsbetrag. Wollen Sie wirklich weitermachen?");

DocumentStore::DocumentStore(Database &db, const QString &currency)
    : m_db(db), m_currency(currency), m_editor{qEnvironmentVariable("USER"), QSysInfo::machineHostName()}
{
}

DocumentStore::DocumentStore(Database &db, Dialogs &, const QString &currency) : DocumentStore(db, currency) {}

QString DocumentStore::refusal(const Document &document)
{
    return document.lines.hasFirstPosition() ? QString() : document.kind.noLinesMessage();
}

void DocumentStore::checkValues(const Document &d)
{
    if (d.number < 1)
        throw ConversionError(QStringLiteral("Die Belegnummer %1 ist ungültig.").arg(d.number));
    if (d.projectNumber < 0 || d.invoiceNumber < 0)
        throw ConversionError(QStringLiteral("Die Projekt- oder Rechnungsnummer ist ungültig."));
    if (d.kind.kind() == DocumentKind::Rechnung) {
        dueDate(d.date, d.paymentTerm); // throws for a missing date or a bad term
    } else {
        storedDate(d.date);
    }
    if (!d.skontoPercent.isEmpty() && !Amount::tryFromText(d.skontoPercent))
        throw ConversionError(
            QStringLiteral("'%1' ist kein gültiger Skonto-Prozentsatz.").arg(d.skontoPercent));
    if (hasServiceDate(d.kind)) {
        for (const QString &date : {d.serviceDate, d.serviceDateTo})
            if (!date.trimmed().isEmpty() && !IsValidDateText(date.trimmed()))
                throw ConversionError(QStringLiteral("'%1' ist kein gültiges Leistungsdatum.").arg(date));
        if (d.hasServicePeriod() && IsValidDateText(d.effectiveServiceDate())
            && StrToDate(d.serviceDateTo) < StrToDate(d.effectiveServiceDate()))
            throw ConversionError(QStringLiteral("Der Leistungszeitraum endet am %1 vor seinem Beginn am %2.")
                                      .arg(d.serviceDateTo, d.effectiveServiceDate()));
    }
}

GrossRule DocumentStore::storedGrossRule(DocumentKind kind, qint64 number)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT BruttoRegel FROM %1 WHERE BelegNr=%2").arg(kind.headerTable()).arg(number));
    return q.isEmpty() || !q.field(QStringLiteral("BruttoRegel")).isEmpty() ? GrossRule::SumOfShownParts
                                                                            : GrossRule::RoundedOnce;
}

QString DocumentStore::dueDate(const QString &date, const QString &paymentTerm)
{
    const QString term = paymentTerm.trimmed();
    if (!term.isEmpty() && !isPaymentTerm(term))
        throw ConversionError(QStringLiteral("'%1' ist kein gültiges Zahlungsziel in Tagen.").arg(paymentTerm));
    const int days = term.isEmpty() ? 30 : term.toInt();
    return DateToStr(StrToDate(date).addDays(days));
}

QString DocumentStore::sqlAmount(const QString &displayed) const
{
    return displayed.trimmed().isEmpty() ? QStringLiteral("0") : SqlDecimal(displayed, m_currency);
}

bool DocumentStore::isStored(DocumentKind kind, qint64 number)
{
    SqlQuery q(m_db);
    if (kind.isDunningLetter())
        q.open(QStringLiteral("SELECT Datum FROM mahnungen WHERE BelegNr=%1").arg(number));
    else
        q.open(QStringLiteral("SELECT ProjektNr FROM %1 WHERE BelegNr=%2").arg(kind.headerTable()).arg(number));
    return !q.isEmpty();
}

bool DocumentStore::isInvoicePaid(qint64 number)
{
    const auto item = InvoiceBalanceStore(m_db).openItem(number);
    return item && item->booked;
}

QString DocumentStore::documentDate(DocumentKind kind, qint64 number)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT Datum FROM %1 WHERE BelegNr=%2").arg(kind.headerTable(), num(number)));
    return q.field(QStringLiteral("Datum"));
}

Amount DocumentStore::outstandingAmount(const Document &creditNote)
{
    InvoiceBalanceStore balance(m_db);
    const auto item = balance.openItem(creditNote.invoiceNumber);
    return Totals::outstanding(item ? item->amount : Amount(),
                               balance.partPayments(creditNote.invoiceNumber)
                                   + balance.creditNoteAmounts(creditNote.invoiceNumber, creditNote.number),
                               creditNote.totals.gross(), m_currency);
}

DocumentStore::SaveResult DocumentStore::save(Document &document, Confirmation confirmed)
{
    return write(document, false, {}, confirmed);
}

std::optional<qint64> DocumentStore::storedUnderToken(DocumentKind kind, const QString &token)
{
    if (token.isEmpty())
        return std::nullopt;
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT BelegNr FROM %1 WHERE Speicherkennung=%2").arg(kind.headerTable(), SqlText(token)));
    if (q.isEmpty())
        return std::nullopt;
    return q.fieldInt(QStringLiteral("BelegNr"));
}

std::optional<qint64> DocumentStore::commitNew(Transaction &transaction, DocumentKind kind, const QString &token)
{
    try {
        transaction.commit();
        return std::nullopt;
    } catch (const DatabaseError &) {
        if (!m_db.connectionLost())
            throw;
    }
    // Cut off at the commit: whether the server stored the document only the data
    // set can say, once the connection is back.
    std::optional<qint64> stored;
    try {
        stored = storedUnderToken(kind, token);
    } catch (const OrvellaError &) {
        throw OrvellaError(QStringLiteral("Die Verbindung zum Datenbankserver brach beim Speichern ab; ob der Beleg "
                                          "(%1) gespeichert wurde, lässt sich noch nicht sagen.\nBitte speichern Sie "
                                          "noch einmal, sobald der Server wieder erreichbar ist: Orvella prüft dann "
                                          "zuerst und speichert nichts doppelt.")
                               .arg(kind.name()));
    }
    if (!stored)
        throw DatabaseError(QStringLiteral("Die Verbindung zum Datenbankserver brach beim Speichern ab. Es wurde "
                                           "nichts gespeichert; bitte speichern Sie noch einmal."),
                            QString(), QString());
    return stored;
}

DocumentStore::SaveResult DocumentStore::saveNew(Document &document, const std::function<qint64()> &nextNumber,
                                                 Confirmation confirmed)
{
    if (document.saveToken.isEmpty()) {
        document.saveToken = QUuid::createUuid().toString(QUuid::WithoutBraces);
    } else if (const auto stored = storedUnderToken(document.kind, document.saveToken)) {
        // An earlier try reached the data set although its answer was lost.
        document.number = *stored;
        return SaveResult::SavedBeforeConnectionLoss;
    }
    try {
        return write(document, true, nextNumber, confirmed);
    } catch (const DuplicateNumberError &) {
        // Taken at the unique index by a writer that drew its number without the
        // lock below: once more with the next number, which a credit note's
        // confirmation was not given for.
        document.number = nextNumber();
        return write(document, true, nextNumber, Confirmation::None);
    }
}

DocumentStore::SaveResult DocumentStore::write(Document &document, bool isNew,
                                               const std::function<qint64()> &nextNumber, Confirmation confirmed)
{
    if (document.kind.isDunningLetter())
        throw OrvellaError(QStringLiteral("Mahnungen werden mit saveDunningLetter gespeichert."));
    if (!refusal(document).isEmpty())
        return SaveResult::NoLines;
    checkValues(document);

    Document computed = document;
    // A stored document keeps the amounts it was issued with; every new one is
    // totalled so that its printed figures add up.
    computed.grossRule = isNew ? GrossRule::SumOfShownParts : storedGrossRule(computed.kind, computed.number);
    if (hasServiceDate(computed.kind) && computed.serviceDate.trimmed().isEmpty())
        computed.serviceDate = storedDate(computed.date);
    if (computed.serviceDateTo == computed.serviceDate)
        computed.serviceDateTo.clear();
    Totals::compute(computed.lines, computed.totals, Totals::readRates(m_db), m_currency, computed.grossRule);

    // Decided before the transaction starts, so no write lock waits for the
    // user's answer; the page asks and saves again.
    if (computed.kind.kind() == DocumentKind::Gutschrift && confirmed != Confirmation::CreditNoteAboveOwed
        && outstandingAmount(computed) < Amount())
        return SaveResult::NeedsConfirmation;

    SqlQuery q(m_db);
    Transaction transaction(m_db);
    if (isNew) {
        LockNumbers(m_db, computed.kind.headerTable());
        // The number the document was begun with may have been taken meanwhile; the
        // next free one, drawn under the lock, cannot be.
        if (isStored(computed.kind, computed.number) && nextNumber)
            computed.number = nextNumber();
        if (isStored(computed.kind, computed.number))
            throw DuplicateNumberError(QStringLiteral("Die Nummer %1 wurde inzwischen an einem anderen Arbeitsplatz "
                                                      "vergeben.\nEs wurde nichts gespeichert.")
                                           .arg(PadNumber(computed.number)),
                                       QString(), QString());
        insert(q, computed); // a number taken all the same fails at its unique index
    } else if (isStored(computed.kind, computed.number)) {
        // An issued document keeps what it went out as before anything is changed.
        if (!DocumentHistory::issuedMark(m_db, computed.kind, computed.number).isEmpty())
            DocumentHistory::keepVersion(q, computed.kind, computed.number, m_editor);
        update(q, computed);
    } else {
        insert(q, computed);
    }
    if (!isNew) {
        transaction.commit();
        document = std::move(computed);
        return SaveResult::Saved;
    }
    const std::optional<qint64> storedEarlier = commitNew(transaction, computed.kind, computed.saveToken);
    if (storedEarlier)
        computed.number = *storedEarlier;
    document = std::move(computed);
    return storedEarlier ? SaveResult::SavedBeforeConnectionLoss : SaveResult::Saved;
}

void DocumentStore::insertLines(SqlQuery &q, const Document &d)
{
    // A few statements whatever the line count: over a network every statement
    // is a round trip.
    const LineList &lines = d.lines;
    QStringList rows;
    for (int r = 1; r < lines.rowCount(); ++r) {
        const LineList::Row &row = lines.row(r);
        rows << QStringLiteral("('%1', %2,%3,%4, %5, %6, %7, %8, %9, '%10')")
                    .arg(num(d.number), SqlText(row[LineList::Pos]), SqlText(row[LineList::ArtikelNr]),
                         SqlText(row[LineList::Bezeichnung]), SqlText(row[LineList::Anzahl]),
                         SqlText(row[LineList::Einzelpreis]), SqlText(row[LineList::Betrag]),
                         SqlText(row[LineList::MwSt]), SqlText(row[LineList::Rabatt]), num(r));
    }
    q.insertRows(QStringLiteral("INSERT INTO %1 (BelegNr, Pos, ArtikelNr, Bezeichnung, Anzahl, Einzelpreis, Betrag, "
                                "MwSt, Rabatt, RF)")
                     .arg(d.kind.lineTable()),
                 rows);
}

void DocumentStore::insert(SqlQuery &q, const Document &d)
{
    const DocumentKind kind = d.kind;
    const QString n = num(d.number);
    q.execSql(QStringLiteral("INSERT INTO %1 (BelegNr, ProjektNr, ReNr, Datum, PName, RL, EFirma, BruttoRegel, "
                             "Speicherkennung%9) VALUES ('%2', '%3', '%4', %5, %6, '%7', %8, %10, %12%11)")
                  .arg(kind.headerTable(), n, num(d.projectNumber), num(d.invoiceNumber),
                       SqlOptional(storedDate(d.date)), SqlText(d.projectName),
                       flag(d.addressLeft && kind.hasAddressLeftBox()), SqlText(d.ownCompany),
                       hasServiceDate(kind) ? QStringLiteral(", LDatum, LDatumBis") : QString(), SumOfShownParts,
                       hasServiceDate(kind) ? QStringLiteral(", %1, %2").arg(SqlOptional(storedDate(d.serviceDate)),
                                                                        SqlOptional(storedDate(d.serviceDateTo)))
                                        : QString(),
                       SqlOptional(d.saveToken)));
    insertLines(q, d);
    q.execSql(QStringLiteral("INSERT INTO %1 (ScontoText, Sconto, BelegNr) VALUES (%2, %3,'%4')")
                  .arg(kind.extraTable(), SqlText(d.skontoText), SqlText(d.skontoPercent), n));

    const QString address = QStringLiteral("('%1', %2, 'Bezeichnung', %3, %4, %5, 'Land')");
    QStringList addresses = {address.arg(n, SqlText(QStringLiteral("Anschrift")), SqlText(d.address.name),
                                         SqlText(d.address.street), SqlText(d.address.postcodeTown))};
    if (kind.hasSecondAddress())
        addresses << address.arg(n, SqlText(kind.secondAddressArt()), SqlText(d.secondAddress.name),
                                 SqlText(d.secondAddress.street), SqlText(d.secondAddress.postcodeTown));
    q.insertRows(QStringLiteral("INSERT INTO %1 (BelegNr, Art, Bezeichnung, Name, Strasse, PLZOrt, Land)")
                     .arg(kind.addressTable()),
                 addresses);

    QStringList texts;
    for (int z = 0; z < Document::TextLineCount; ++z)
        texts << QStringLiteral("('%1',%2, %3, %4)")
                     .arg(n, num(z + 1), SqlText(d.texts[z].style), SqlText(d.texts[z].text));
    q.insertRows(QStringLiteral("INSERT INTO %1 (BelegNr, Zeile, Style, Text)").arg(kind.textTable()), texts);

    const QString gross = sqlAmount(d.totals.gross());
    if (kind.kind() == DocumentKind::Rechnung)
        q.execSql(QStringLiteral("INSERT INTO rechnungenop (RNR, ZZiel, EDatum, Betrag, Name, RBetrag, MStufe, "
                                 "Gebucht) VALUES ('%1',%2, '%3', '%4', %5, '0', '0', 'N')")
                      .arg(n, SqlOptional(d.paymentTerm), dueDate(d.date, d.paymentTerm), gross,
                           SqlText(d.address.name)));
    if (kind.kind() == DocumentKind::Gutschrift)
        q.execSql(QStringLiteral("INSERT INTO gutschriftenop (BelegNr, RNr, Betrag) VALUES ('%1','%2',%3)")
                      .arg(n, num(d.invoiceNumber), gross));
    if (!kind.amountTable().isEmpty())
        q.execSql(QStringLiteral("INSERT INTO %1 (BelegNr, Netto, Brutto ) VALUES ('%2',%3, %4)")
                      .arg(kind.amountTable(), n, sqlAmount(d.totals.net()), gross));
}

void DocumentStore::update(SqlQuery &q, const Document &d)
{
    const DocumentKind kind = d.kind;
    const QString n = num(d.number);
    // ReNr stays: a credit note keeps the invoice it was made from.
    q.execSql(QStringLiteral("UPDATE %1 SET ProjektNr=%2, Datum=%3, PName=%4, RL='%5', EFirma=%6%8 "
                             "WHERE BelegNr=%7")
                  .arg(kind.headerTable(), num(d.projectNumber), SqlOptional(storedDate(d.date)),
                       SqlText(d.projectName), flag(d.addressLeft && kind.hasAddressLeftBox()),
                       SqlText(d.ownCompany), n,
                       hasServiceDate(kind) ? QStringLiteral(", LDatum=%1, LDatumBis=%2")
                                              .arg(SqlOptional(storedDate(d.serviceDate)),
                                                   SqlOptional(storedDate(d.serviceDateTo)))
                                        : QString()));
    q.execSql(QStringLiteral("DELETE FROM %1 WHERE BelegNr=%2").arg(kind.lineTable(), n));
    insertLines(q, d);
    q.execSql(QStringLiteral("UPDATE %1 SET ScontoText=%2, Sconto=%3,  BelegNr='%4' WHERE BelegNr=%4")
                  .arg(kind.extraTable(), SqlText(d.skontoText), SqlText(d.skontoPercent), n));

    const QString address = QStringLiteral("UPDATE %1 SET Bezeichnung='Bezeichnung', Name=%2, Strasse=%3, "
                                           "PLZOrt=%4, Land='Land' WHERE BelegNr=%5 AND %6");
    q.execSql(address.arg(kind.addressTable(), SqlText(d.address.name), SqlText(d.address.street),
                          SqlText(d.address.postcodeTown), n, QStringLiteral("Art='Anschrift'")));
    if (kind.hasSecondAddress())
        q.execSql(address.arg(kind.addressTable(), SqlText(d.secondAddress.name), SqlText(d.secondAddress.street),
                              SqlText(d.secondAddress.postcodeTown), n, QStringLiteral("Art<>'Anschrift'")));

    for (int z = 0; z < Document::TextLineCount; ++z)
        q.execSql(QStringLiteral("UPDATE %1 SET Style=%2, Text=%3 WHERE BelegNr='%4' AND Zeile=%5")
                      .arg(kind.textTable(), SqlText(d.texts[z].style), SqlText(d.texts[z].text), n, num(z + 1)));

    const QString gross = sqlAmount(d.totals.gross());
    // Name, remaining amount, dunning level and booking state of the open item
    // belong to the open-items and dunning windows.
    if (kind.kind() == DocumentKind::Rechnung)
        q.execSql(QStringLiteral("UPDATE rechnungenop SET ZZiel=%1, EDatum='%2', Betrag='%3' WHERE RNR='%4'")
                      .arg(SqlOptional(d.paymentTerm), dueDate(d.date, d.paymentTerm), gross, n));
    if (kind.kind() == DocumentKind::Gutschrift)
        q.execSql(QStringLiteral("UPDATE gutschriftenop SET Betrag=%1 WHERE BelegNr='%2'").arg(gross, n));
    if (!kind.amountTable().isEmpty())
        q.execSql(QStringLiteral("UPDATE %1 SET BelegNr='%2', Netto=%3, Brutto=%4 WHERE BelegNr=%2")
                      .arg(kind.amountTable(), n, sqlAmount(d.totals.net()), gross));
}

DocumentStore::Loaded DocumentStore::load(DocumentKind kind, qint64 number)
{
    if (kind.isDunningLetter())
        return loadDunningLetter(number);
    Loaded out;
    out.document = Document(kind, m_currency);
    Document &d = out.document;
    d.number = number;
    const QString x = kind.headerTable();
    const QString n = num(number);
    SqlQuery q(m_db);

    q.open(QStringLiteral("SELECT ProjektNr, PName, BruttoRegel%3 FROM %1 WHERE BelegNr=%2")
               .arg(x, n, hasServiceDate(kind) ? QStringLiteral(", LDatum, LDatumBis") : QString()));
    out.stored = !q.isEmpty();
    d.projectNumber = q.fieldInt(QStringLiteral("ProjektNr"));
    d.projectName = q.field(QStringLiteral("PName"));
    d.grossRule = !out.stored || !q.field(QStringLiteral("BruttoRegel")).isEmpty() ? GrossRule::SumOfShownParts
                                                                                  : GrossRule::RoundedOnce;
    if (hasServiceDate(kind)) {
        d.serviceDate = q.field(QStringLiteral("LDatum"));
        d.serviceDateTo = q.field(QStringLiteral("LDatumBis"));
    }

    // A document whose lines cannot be read or computed still opens: what was read
    // stays, and the rest of the document loads as usual.
    try {
        const QString a = kind.lineTable();
        q.open(QStringLiteral("SELECT %1.Datum, %1.ReNr, %1.RL, %2.Pos, %2.ArtikelNr, %2.Bezeichnung, "
                              "%2.Anzahl, %2.Einzelpreis, %2.Betrag, %2.MwSt, %2.Rabatt, %2.ID, %2.RF "
                              "FROM %1, %2 WHERE %1.BelegNr='%3' AND %2.BelegNr=%1.BelegNr ORDER BY RF")
                   .arg(x, a, n));
        out.linesFound = !q.isEmpty();
        const QString date = q.field(QStringLiteral("Datum"));
        if (out.linesFound && !date.isEmpty()) {
            d.date = date;
            d.addressLeft = q.field(QStringLiteral("RL")) == QLatin1String("J");
            if (kind.kind() == DocumentKind::Gutschrift)
                d.invoiceNumber = StrToIntDef(q.field(QStringLiteral("ReNr")), 0);
            static const char *const columns[] = {"Pos", "ArtikelNr", "Bezeichnung", "Anzahl", "Einzelpreis",
                                                  "Betrag", "MwSt", "Rabatt", "ID"};
            QList<LineList::Row> rows;
            for (; !q.eof(); q.next()) {
                LineList::Row row;
                for (int c = 0; c < LineList::ColumnCount; ++c)
                    row[c] = q.field(QLatin1String(columns[c]));
                rows << row;
            }
            d.lines.setLines(rows);
        }
        d.lines.discountLast(d.skontoPercent);
        Totals::compute(d.lines, d.totals, Totals::readRates(m_db), m_currency, d.grossRule);
    } catch (const OrvellaError &e) {
        out.lineError = e.message();
    }

    q.open(QStringLiteral("SELECT %1.ScontoText, %1.Sconto FROM %1 WHERE %1.BelegNr=%2").arg(kind.extraTable(), n));
    d.skontoText = q.field(QStringLiteral("ScontoText"));
    d.skontoPercent = q.field(QStringLiteral("Sconto"));

    q.open(QStringLiteral("SELECT %1.Zeile, %1.Style, %1.Text FROM %1 WHERE %1.BelegNr=%2 ORDER BY %1.Zeile")
               .arg(kind.textTable(), n));
    for (int i = 0; i < Document::TextLineCount && !q.eof(); ++i, q.next())
        d.texts[i] = {q.field(QStringLiteral("Text")), q.field(QStringLiteral("Style"))};

    d.lines.normalise();

    q.open(QStringLiteral("SELECT %2.Name, %2.Strasse, %2.PLZOrt, %2.Art, %1.EFirma FROM %1, %2 "
                          "WHERE %1.BelegNr=%2.BelegNr AND %1.BelegNr=%3")
               .arg(x, kind.addressTable(), n));
    for (; !q.eof(); q.next()) {
        const DocumentAddress address{q.field(QStringLiteral("Name")), q.field(QStringLiteral("Strasse")),
                                      q.field(QStringLiteral("PLZOrt"))};
        if (q.field(QStringLiteral("Art")) == QLatin1String("Anschrift")) {
            d.ownCompany = q.field(QStringLiteral("EFirma"));
            d.address = address;
        } else {
            d.secondAddress = address;
        }
    }
    out.captions = d.lines.captions(d.skontoPercent);
    return out;
}

bool DocumentStore::insertDunningLetter(const Document &letter)
{
    if (letter.number < 1 || letter.invoiceNumber < 1 || letter.dunningLevel < 1 || letter.projectNumber < 0)
        throw OrvellaError(QStringLiteral("Eine Mahnung braucht eine Nummer, eine Rechnung und eine Mahnstufe."));
    const QString date = storedDate(letter.date);
    const QString n = num(letter.number);
    const QString level = num(letter.dunningLevel);
    const QString invoice = num(letter.invoiceNumber);

    // An earlier try whose answer was lost may have stored it already.
    if (storedUnderToken(DocumentKind::Mahnung, letter.saveToken))
        return true;
    SqlQuery q(m_db);
    Transaction transaction(m_db);
    if (isStored(DocumentKind::Mahnung, letter.number))
        return false;
    q.execSql(QStringLiteral("INSERT INTO mahnungen (BelegNr, RNr, MNr, ProjektNr, Datum, PName, RL, EFirma, "
                             "Speicherkennung) VALUES (%1, %2, %3, '%4', %5, %6, '%7', %8, %9)")
                  .arg(n, invoice, level, num(letter.projectNumber), SqlOptional(date), SqlText(letter.projectName),
                       flag(letter.addressLeft), SqlText(letter.ownCompany), SqlOptional(letter.saveToken)));
    // the lines keep their order through the row ids, given in the order listed
    QStringList lines;
    for (const QString &line : letter.letterLines)
        lines << QStringLiteral("(%1, %2)").arg(n, SqlText(line));
    q.insertRows(QStringLiteral("INSERT INTO mahnungentext (BelegNr, Text)"), lines);
    const QString address = QStringLiteral("(%1, '%2', 'Bezeichnung', %3, %4, %5, 'Land')");
    q.insertRows(QStringLiteral("INSERT INTO mahnungenanschrift (BelegNr, Art, Bezeichnung, Name, Strasse, PLZOrt, Land)"),
                 {address.arg(n, QStringLiteral("A"), SqlText(letter.address.name), SqlText(letter.address.street),
                              SqlText(letter.address.postcodeTown)),
                  address.arg(n, QStringLiteral("R"), SqlText(letter.secondAddress.name),
                              SqlText(letter.secondAddress.street), SqlText(letter.secondAddress.postcodeTown))});
    q.execSql(QStringLiteral("UPDATE rechnungenop SET MStufe=%1 WHERE RNR='%2' AND (MStufe IS NULL OR MStufe<%1)")
                  .arg(level, invoice));
    DocumentHistory::markIssued(q, DocumentKind::Rechnung, letter.invoiceNumber, DocumentHistory::ByDunning);
    commitNew(transaction, DocumentKind::Mahnung, letter.saveToken);
    return true;
}

void DocumentStore::saveDunningLetter(const Document &letter)
{
    const QString date = storedDate(letter.date);
    const QString n = num(letter.number);
    SqlQuery q(m_db);
    Transaction transaction(m_db);
    if (!isStored(DocumentKind::Mahnung, letter.number))
        throw OrvellaError(QStringLiteral("Die Mahnung Nr. %1 ist nicht gespeichert. Neue Mahnungen "
                                          "entstehen nur im Mahnlauf.")
                               .arg(PadNumber(letter.number)));
    // The letter keeps the invoice and level it was written for.
    q.execSql(QStringLiteral("UPDATE mahnungen SET ProjektNr='%1', Datum=%2, PName=%3, RL='%4', EFirma=%5 "
                             "WHERE BelegNr=%6")
                  .arg(num(letter.projectNumber), SqlOptional(date), SqlText(letter.projectName),
                       flag(letter.addressLeft), SqlText(letter.ownCompany), n));

    q.open(QStringLiteral("SELECT ID FROM mahnungentext WHERE  BelegNr=%1 ORDER BY ID").arg(n));
    QList<qint64> ids;
    for (; !q.eof(); q.next())
        ids << q.fieldInt(QStringLiteral("ID"));
    for (int i = 0; i < ids.size(); ++i)
        q.execSql(QStringLiteral("UPDATE mahnungentext SET Text=%1 WHERE ID=%2")
                      .arg(SqlText(letter.letterLines.value(i)), num(ids[i])));

    const QString address = QStringLiteral("UPDATE mahnungenanschrift SET Name=%1, Strasse=%2, PLZOrt=%3 "
                                           "WHERE BelegNr=%4 AND Art='%5'");
    q.execSql(address.arg(SqlText(letter.address.name), SqlText(letter.address.street),
                          SqlText(letter.address.postcodeTown), n, QStringLiteral("A")));
    q.execSql(address.arg(SqlText(letter.secondAddress.name), SqlText(letter.secondAddress.street),
                          SqlText(letter.secondAddress.postcodeTown), n, QStringLiteral("R")));
    transaction.commit();
}

DocumentStore::Loaded DocumentStore::loadDunningLetter(qint64 number)
{
    Loaded out;
    out.document = Document(DocumentKind::Mahnung, m_currency);
    Document &d = out.document;
    d.number = number;
    const QString n = num(number);
    SqlQuery q(m_db);

    q.open(QStringLiteral("SELECT ID, Text FROM mahnungentext WHERE BelegNr=%1 ORDER BY ID").arg(n));
    for (; !q.eof(); q.next())
        d.letterLines << q.field(QStringLiteral("Text"));

    q.open(QStringLiteral("SELECT RNr, MNr, RL, ProjektNr, Datum, PName FROM mahnungen WHERE BelegNr=%1").arg(n));
    out.stored = !q.isEmpty();
    d.addressLeft = q.field(QStringLiteral("RL")) == QLatin1String("J");
    d.dunningLevel = int(StrToIntDef(q.field(QStringLiteral("MNr")), 0));
    d.invoiceNumber = StrToIntDef(q.field(QStringLiteral("RNr")), 0);
    d.projectNumber = StrToIntDef(q.field(QStringLiteral("ProjektNr")), 0);
    d.date = q.field(QStringLiteral("Datum"));
    d.projectName = q.field(QStringLiteral("PName"));

    q.open(QStringLiteral("SELECT mahnungenanschrift.Name, mahnungenanschrift.Strasse, mahnungenanschrift.PLZOrt, "
                          "mahnungenanschrift.Art, mahnungen.EFirma FROM mahnungen, mahnungenanschrift "
                          "WHERE mahnungen.BelegNr=mahnungenanschrift.BelegNr AND mahnungen.BelegNr=%1")
               .arg(n));
    for (; !q.eof(); q.next()) {
        const DocumentAddress address{q.field(QStringLiteral("Name")), q.field(QStringLiteral("Strasse")),
                                      q.field(QStringLiteral("PLZOrt"))};
        if (q.field(QStringLiteral("Art")) == QLatin1String("A")) {
            d.ownCompany = q.field(QStringLiteral("EFirma"));
            d.address = address;
        } else {
            d.secondAddress = address;
        }
    }
    return out;
}

QList<qint64> DocumentStore::documentNumbers(DocumentKind kind, qint64 projectNumber)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT DISTINCT BelegNr FROM %1 WHERE ProjektNr = %2 ORDER BY BelegNr DESC")
               .arg(kind.headerTable(), num(projectNumber)));
    QList<qint64> numbers;
    for (; !q.eof(); q.next())
        numbers << q.fieldInt(QStringLiteral("BelegNr"));
    return numbers;
}
