#include "DocumentHistory.h"

#include "AppState.h"
#include "Database.h"
#include "Errors.h"
#include "Formats.h"
#include "SqlQuery.h"
#include "SqlText.h"
#include "Totals.h"
#include "Transaction.h"

#include <QDateTime>
#include <QDir>
#include <QSysInfo>

DocumentEditor DocumentEditor::of(AppState &state)
{
    DocumentEditor e;
    if (state.LoggedInUser > 0) {
        SqlQuery q(state.db);
        q.open(QStringLiteral("SELECT Name FROM usr WHERE IDU=%1").arg(state.LoggedInUser));
        e.user = q.field(QStringLiteral("Name"));
    }
    if (e.user.isEmpty())
        e.user = qEnvironmentVariable("USER", QDir::home().dirName());
    e.workstation = QSysInfo::machineHostName();
    return e;
}

namespace DocumentHistory {
namespace {

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

} // namespace

bool keepsHistory(DocumentKind kind)
{
    return kind == DocumentKind::Rechnung || kind == DocumentKind::Gutschrift;
}

QString issuedMark(Database &db, DocumentKind kind, qint64 number)
{
    if (!keepsHistory(kind))
        return QString();
    SqlQuery q(db);
    q.open(QStringLiteral("SELECT Ausgestellt FROM %1 WHERE BelegNr=%2").arg(kind.headerTable()).arg(number));
    return q.field(QStringLiteral("Ausgestellt"));
}

void markIssued(SqlQuery &q, DocumentKind kind, qint64 number, const QString &how)
{
    if (!keepsHistory(kind) || number <= 0)
        return;
    const QString mark = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm")) + QLatin1Char(' ') + how;
    q.execSql(QStringLiteral("UPDATE %1 SET Ausgestellt=%2 WHERE BelegNr=%3 AND (Ausgestellt IS NULL OR Ausgestellt='')")
                  .arg(kind.headerTable(), SqlText(mark))
                  .arg(number));
}

void markIssued(Database &db, DocumentKind kind, qint64 number, const QString &how)
{
    if (!keepsHistory(kind))
        return;
    Transaction t(db);
    SqlQuery q(db);
    markIssued(q, kind, number, how);
    t.commit();
}

QString changeQuestion(DocumentKind kind, qint64 number)
{
    const QString article = kind == DocumentKind::Gutschrift ? QStringLiteral("Die Gutschrift")
                                                             : QStringLiteral("Die Rechnung");
    return QStringLiteral("%1 %2 wurde bereits ausgestellt. Änderungen werden protokolliert; für eine Korrektur ist "
                          "eine Gutschrift vorgesehen. Trotzdem ändern?")
        .arg(article, PadNumber(number));
}

QString deleteRefusal(DocumentKind kind, const QList<qint64> &numbers)
{
    QStringList shown;
    for (qint64 n : numbers.mid(0, 10))
        shown << PadNumber(n);
    if (numbers.size() > 10)
        shown << QStringLiteral("…");
    const bool credit = kind == DocumentKind::Gutschrift;
    return QStringLiteral("%1 %2 %3 bereits ausgestellt und %4 nicht gelöscht werden. Ausgestellte Rechnungen und "
                          "Gutschriften bleiben erhalten; für eine Korrektur ist eine Gutschrift vorgesehen.")
        .arg(numbers.size() == 1 ? (credit ? QStringLiteral("Die Gutschrift") : QStringLiteral("Die Rechnung"))
                                 : (credit ? QStringLiteral("Die Gutschriften") : QStringLiteral("Die Rechnungen")),
             shown.join(QStringLiteral(", ")),
             numbers.size() == 1 ? QStringLiteral("wurde") : QStringLiteral("wurden"),
             numbers.size() == 1 ? QStringLiteral("kann") : QStringLiteral("können"));
}

QList<qint64> issuedNumbers(Database &db, DocumentKind kind)
{
    QList<qint64> out;
    if (!keepsHistory(kind))
        return out;
    SqlQuery q(db);
    for (q.open(QStringLiteral("SELECT BelegNr FROM %1 WHERE Ausgestellt IS NOT NULL AND Ausgestellt<>'' "
                               "ORDER BY BelegNr")
                    .arg(kind.headerTable()));
         !q.eof(); q.next())
        out << q.fieldInt(QStringLiteral("BelegNr"));
    return out;
}

void keepVersion(SqlQuery &q, DocumentKind kind, qint64 number, const DocumentEditor &editor)
{
    const QString x = kind.headerTable();
    const QString n = QString::number(number);
    const bool invoice = kind == DocumentKind::Rechnung;
    // One statement per table: the head with its amounts, then the rows that hang
    // off it, so the copy costs the same for two lines as for five hundred.
    q.open(QStringLiteral("INSERT INTO belegverlauf (Art, BelegNr, Zeitpunkt, Benutzer, Arbeitsplatz, ProjektNr, ReNr, "
                          "Datum, PName, RL, EFirma, LDatum, LDatumBis, BruttoRegel, Ausgestellt, ScontoText, Sconto, "
                          "Netto, Brutto, ZZiel, EDatum) "
                          "SELECT %1, h.BelegNr, %2, %3, %4, h.ProjektNr, h.ReNr, h.Datum, h.PName, h.RL, h.EFirma, "
                          "h.LDatum, h.LDatumBis, h.BruttoRegel, h.Ausgestellt, e.ScontoText, e.Sconto, b.Netto, "
                          "b.Brutto, %5, %6 FROM %7 h LEFT JOIN %8 e ON e.BelegNr=h.BelegNr LEFT JOIN %9 b "
                          "ON b.BelegNr=h.BelegNr %10 WHERE h.BelegNr=%11 RETURNING ID")
               .arg(SqlText(x), SqlText(now()), SqlText(editor.user), SqlText(editor.workstation),
                    invoice ? QStringLiteral("o.ZZiel") : QStringLiteral("NULL"),
                    invoice ? QStringLiteral("o.EDatum") : QStringLiteral("NULL"), x, kind.extraTable(),
                    kind.amountTable(),
                    invoice ? QStringLiteral("LEFT JOIN rechnungenop o ON o.RNR=h.BelegNr") : QString(), n));
    const QString id = q.field(QStringLiteral("ID"));
    q.close();
    if (id.isEmpty())
        return; // nothing stored under the number: nothing to keep
    q.execSql(QStringLiteral("INSERT INTO belegverlaufartikel (VerlaufID, Pos, ArtikelNr, Bezeichnung, Anzahl, "
                             "Einzelpreis, Betrag, MwSt, Rabatt, RF) SELECT %1, Pos, ArtikelNr, Bezeichnung, Anzahl, "
                             "Einzelpreis, Betrag, MwSt, Rabatt, RF FROM %2 WHERE BelegNr=%3")
                  .arg(id, kind.lineTable(), n));
    q.execSql(QStringLiteral("INSERT INTO belegverlaufanschrift (VerlaufID, Art, Name, Strasse, PLZOrt) "
                             "SELECT %1, Art, Name, Strasse, PLZOrt FROM %2 WHERE BelegNr=%3")
                  .arg(id, kind.addressTable(), n));
    q.execSql(QStringLiteral("INSERT INTO belegverlaufztext (VerlaufID, Zeile, Style, Text) "
                             "SELECT %1, Zeile, Style, Text FROM %2 WHERE BelegNr=%3")
                  .arg(id, kind.textTable(), n));
}

QList<Version> versions(Database &db, DocumentKind kind, qint64 number, const QString &currency)
{
    QList<Version> out;
    SqlQuery q(db);
    q.open(QStringLiteral("SELECT ID, Zeitpunkt, Benutzer, Arbeitsplatz, ProjektNr, ReNr, Datum, PName, RL, EFirma, "
                          "LDatum, LDatumBis, BruttoRegel, Ausgestellt, ScontoText, Sconto, Netto, Brutto, ZZiel "
                          "FROM belegverlauf WHERE Art=%1 AND BelegNr=%2 ORDER BY ID DESC")
               .arg(SqlText(kind.headerTable()))
               .arg(number));
    for (; !q.eof(); q.next()) {
        Version v;
        v.id = q.fieldInt(QStringLiteral("ID"));
        v.time = q.field(QStringLiteral("Zeitpunkt"));
        v.user = q.field(QStringLiteral("Benutzer"));
        v.workstation = q.field(QStringLiteral("Arbeitsplatz"));
        v.issued = q.field(QStringLiteral("Ausgestellt"));
        v.storedNet = q.field(QStringLiteral("Netto"));
        v.storedGross = q.field(QStringLiteral("Brutto"));
        Document &d = v.document;
        d = Document(kind, currency);
        d.number = number;
        d.projectNumber = q.fieldInt(QStringLiteral("ProjektNr"));
        d.invoiceNumber = q.fieldInt(QStringLiteral("ReNr"));
        d.date = q.field(QStringLiteral("Datum"));
        d.projectName = q.field(QStringLiteral("PName"));
        d.addressLeft = q.field(QStringLiteral("RL")) == QLatin1String("J");
        d.ownCompany = q.field(QStringLiteral("EFirma"));
        d.serviceDate = q.field(QStringLiteral("LDatum"));
        d.serviceDateTo = q.field(QStringLiteral("LDatumBis"));
        d.grossRule = q.field(QStringLiteral("BruttoRegel")).isEmpty() ? GrossRule::RoundedOnce
                                                                        : GrossRule::SumOfShownParts;
        d.skontoText = q.field(QStringLiteral("ScontoText"));
        d.skontoPercent = q.field(QStringLiteral("Sconto"));
        d.paymentTerm = q.field(QStringLiteral("ZZiel"));
        out << v;
    }
    const QList<Amount> rates = Totals::readRates(db);
    for (Version &v : out) {
        Document &d = v.document;
        const QString id = QString::number(v.id);
        QList<LineList::Row> rows;
        for (q.open(QStringLiteral("SELECT Pos, ArtikelNr, Bezeichnung, Anzahl, Einzelpreis, Betrag, MwSt, Rabatt "
                                   "FROM belegverlaufartikel WHERE VerlaufID=%1 ORDER BY RF")
                        .arg(id));
             !q.eof(); q.next()) {
            LineList::Row row;
            static const char *const columns[] = {"Pos", "ArtikelNr", "Bezeichnung", "Anzahl",
                                                  "Einzelpreis", "Betrag", "MwSt", "Rabatt"};
            for (int c = 0; c < 8; ++c)
                row[c] = q.field(QLatin1String(columns[c]));
            rows << row;
        }
        d.lines.setLines(rows);
        try {
            Totals::compute(d.lines, d.totals, rates, currency, d.grossRule);
        } catch (const OrvellaError &) {
            // shown as stored: the amount row above still tells the totals
        }
        for (q.open(QStringLiteral("SELECT Art, Name, Strasse, PLZOrt FROM belegverlaufanschrift WHERE VerlaufID=%1")
                        .arg(id));
             !q.eof(); q.next()) {
            const DocumentAddress a{q.field(QStringLiteral("Name")), q.field(QStringLiteral("Strasse")),
                                    q.field(QStringLiteral("PLZOrt"))};
            (q.field(QStringLiteral("Art")) == QLatin1String("Anschrift") ? d.address : d.secondAddress) = a;
        }
        int i = 0;
        for (q.open(QStringLiteral("SELECT Zeile, Style, Text FROM belegverlaufztext WHERE VerlaufID=%1 ORDER BY Zeile")
                        .arg(id));
             !q.eof() && i < Document::TextLineCount; q.next(), ++i)
            d.texts[i] = {q.field(QStringLiteral("Text")), q.field(QStringLiteral("Style"))};
    }
    return out;
}

} // namespace DocumentHistory
