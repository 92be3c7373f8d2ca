#include "WordExport.h"

#include "DocumentStore.h"
#include "InvoiceTerms.h"

#include "Amount.h"
#include "CorrespondenceStore.h"
#include "Dialogs.h"
#include "Errors.h"
#include "Formats.h"
#include "LineList.h"
#include "ProjectStore.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The texts of a page of the project window that the export needs.
struct PageTexts
{
    const char *folder;
    const char *hint;
};

PageTexts pageTexts(WordExportPage page)
{
    if (!page)
        return {"Allgemein", "Allgemeine Daten in ein Worddokument übernehmen"};
    switch (page->kind()) {
    case DocumentKind::Angebot: return {"Angebote", "Angebot in ein Worddokument übernehmen"};
    case DocumentKind::Auftrag: return {"Aufträge", "Auftrag in ein worddokument übernehemen"};
    case DocumentKind::Lieferschein: return {"Lieferscheine", "Lieferschein in ein Worddokument übernehmen"};
    case DocumentKind::Rechnung: return {"Rechnungen", "Rechnung in ein Worddokument übernehemen"};
    case DocumentKind::Gutschrift: return {"Gutschriften", "Gutschrift in ein Worddokument übernehemen"};
    case DocumentKind::Mahnung: return {"Mahnungen", "Mahnung in ein Worddokument übernehemen"};
    case DocumentKind::Ablage: return {"Ablage", "Arbeitsablage in ein Worddokument übernehemen"};
    }
    return {"Allgemein", ""};
}

// Street, a line break, postcode and town: an address as one bookmark text.
QString addressText(const AddressFields &a)
{
    return a.strasse + QLatin1Char('\r') + a.plz + QLatin1Char(' ') + a.ort;
}

QString totalsCell(const TotalsList &totals, int row, TotalsList::Column column)
{
    return row < totals.rowCount() ? totals.cell(row, column) : QString();
}

bool isFilled(const DocumentAddress &a)
{
    return !a.name.isEmpty() || !a.street.isEmpty() || !a.postcodeTown.isEmpty();
}

QList<WordBookmark> recipientBookmarks(const DocumentAddress &a)
{
    return {{QStringLiteral("FiPe"), a.name}, {QStringLiteral("Strasse"), a.street}, {QStringLiteral("PLZOrt"), a.postcodeTown}};
}

} // namespace

QString WordTemplateFolder(WordExportPage page)
{
    return QString::fromUtf8(pageTexts(page).folder);
}

QString WordButtonHint(WordExportPage page)
{
    return QString::fromUtf8(pageTexts(page).hint);
}

QStringList WordTemplateNames(const QString &folderPath)
{
    if (folderPath.isEmpty())
        return {};
    QStringList names = QDir(folderPath).entryList(
        {QStringLiteral("*.ott"), QStringLiteral("*.odt"), QStringLiteral("*.dotx"), QStringLiteral("*.docx")},
        QDir::Files, QDir::Name | QDir::IgnoreCase);
    // Word keeps "~$name.docx" beside a file it has open; it is no template.
    names.removeIf([](const QString &name) { return name.startsWith(QLatin1String("~$")); });
    return names;
}

QList<double> LineTableWidths()
{
    return {30, 45, 180, 45, 55, 55, 55};
}

QList<Qt::Alignment> LineTableAlignments()
{
    return {Qt::AlignRight, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight, Qt::AlignRight, Qt::AlignRight, Qt::AlignRight};
}

QString LineTableBookmark()
{
    return QStringLiteral("Tabelle");
}

QList<QStringList> LineTableRows(const LineList &lines, const QString &currency)
{
    QList<QStringList> rows;
    rows.reserve(lines.rowCount());
    rows << QStringList{QStringLiteral("Pos."),
                        QStringLiteral("Art.-Nr."),
                        QStringLiteral("Beschreibung"),
                        QStringLiteral("Anzahl"),
                        QStringLiteral("Einzelpreis ") + currency,
                        QStringLiteral("Betrag ") + currency,
                        QStringLiteral("MwSt")};
    for (int r = 1; r < lines.rowCount(); ++r) {
        const LineList::Row &line = lines.row(r);
        rows << QStringList{line[LineList::Pos],     line[LineList::ArtikelNr],   line[LineList::Bezeichnung],
                            line[LineList::Anzahl],  line[LineList::Einzelpreis], line[LineList::Betrag],
                            line[LineList::MwSt]};
    }
    return rows;
}

QString SkontoSentence(const QString &skontoText, const QString &percent, const QString &gross, const QString &currency)
{
    if (gross.isEmpty() || percent.isEmpty())
        return QString();
    const Amount g = Amount::fromDisplay(gross, currency);
    const Amount p = Amount::fromDisplay(percent, currency);
    const Amount discount = Amount::mulDiv(g, p, 100);
    return skontoText + QLatin1Char(' ') + percent + QStringLiteral(" %. Entspricht ") + QLatin1Char(' ')
           + (g - discount).toText() + QLatin1Char(' ') + currency;
}

QString ReadSalutation(Database &db, qint64 customer, bool company)
{
    return CorrespondenceStore(db).salutation(company, customer);
}

QList<WordBookmark> ProjectPageBookmarks(const ProjectValue &shown, qint64 projectNumber, const QDate &today)
{
    QString name;
    for (const QString &part : {shown.anrede, shown.titel, shown.vname})
        if (!part.isEmpty())
            name += part + QLatin1Char(' ');
    if (!shown.company)
        name += shown.nname;
    return {
        {QStringLiteral("Projekt"), shown.prName + QStringLiteral(" (") + PadNumber(projectNumber) + QLatin1Char(')')},
        {QStringLiteral("Datum"), DateToStr(today)},
        {QStringLiteral("Name"), name},
        {QStringLiteral("Adresse"), addressText(shown.anschrift)},
        {QStringLiteral("LAdresse"), addressText(shown.lieferanschrift)},
        {QStringLiteral("RAdresse"), addressText(shown.rechnungsanschrift)},
        {QStringLiteral("Bemerkung"), shown.prMemo},
    };
}

WordExportContent BusinessDocumentContent(const ShownDocumentPage &page, const QString &salutation,
                                          const QString &currency)
{
    const Document &d = page.document;
    const TotalsList &t = d.totals;
    // The envelope window shows the second address when the page's box says so, as
    // on the printed document.
    const bool secondInWindow = d.kind.hasAddressLeftBox() && d.addressLeft && isFilled(d.secondAddress);
    WordExportContent content;
    content.bookmarks << WordBookmark{QStringLiteral("Absender"), d.ownCompany};
    content.bookmarks << recipientBookmarks(secondInWindow ? d.secondAddress : d.address);
    content.bookmarks << QList<WordBookmark>{
        {QStringLiteral("Datum"), d.date},
        {QStringLiteral("ProjektNr"), page.projectNumberText},
        {QStringLiteral("KundenNr"), page.customerNumberText},
        {QStringLiteral("VorgangsArt"), d.kind.name()},
        {QStringLiteral("VorgangsNr"), page.documentListText},
        {QStringLiteral("UnterText"), d.textBoxText()},
        {QStringLiteral("Skonto"), SkontoSentence(d.skontoText, d.skontoPercent, t.gross(), currency)},
        {QStringLiteral("Nettowert"), t.net()},
        {QStringLiteral("MwSt"), QStringList{totalsCell(t, 1, TotalsList::Vat), totalsCell(t, 2, TotalsList::Vat),
                                             totalsCell(t, 3, TotalsList::Vat)}
                                     .join(QLatin1Char('\r'))},
        {QStringLiteral("EndBetrag"), t.gross()},
        {QStringLiteral("GRNr"), d.kind == DocumentKind::Gutschrift
                                     ? QStringLiteral("Gutschrift zur Rechnung Nr.: ") + PadNumber(d.invoiceNumber)
                                     : QString()},
        {QStringLiteral("SAnrede"), salutation},
    };
    if (d.kind == DocumentKind::Rechnung || d.kind == DocumentKind::Gutschrift)
        content.bookmarks << WordBookmark{QStringLiteral("Leistungsdatum"), InvoiceTerms::serviceDate(d).value};
    if (d.kind == DocumentKind::Rechnung && IsValidDateText(d.date))
        content.bookmarks << WordBookmark{QStringLiteral("Zahlungsziel"),
                                          InvoiceTerms::dueSentence(DocumentStore::dueDate(d.date, d.paymentTerm))};
    content.hasTable = true;
    content.tableRows = LineTableRows(d.lines, currency);
    return content;
}

WordExportContent DunningLetterContent(const ShownDocumentPage &page)
{
    const Document &d = page.document;
    WordExportContent content;
    content.bookmarks << WordBookmark{QStringLiteral("Absender"), d.ownCompany};
    content.bookmarks << recipientBookmarks(isFilled(d.secondAddress) ? d.secondAddress : d.address);
    content.bookmarks << QList<WordBookmark>{
        {QStringLiteral("Datum"), d.date},
        {QStringLiteral("ProjektNr"), page.projectNumberText},
        {QStringLiteral("KundenNr"), page.customerNumberText},
        {QStringLiteral("VorgangsArt"), QStringLiteral("Mahnung")},
        {QStringLiteral("VorgangsNr"), page.documentListText},
        {QStringLiteral("MahnText"), d.letterLines.join(QLatin1Char('\n'))},
    };
    return content;
}

QString MissingTemplateMessage(const QString &folderPath, bool listEmpty)
{
    const QString shown = QDir::toNativeSeparators(folderPath);
    if (!QFileInfo(folderPath).isDir())
        return QStringLiteral("Der Vorlagenordner \"%1\" fehlt.\n"
                              "Legen Sie ihn an und speichern Sie dort die Dokumentvorlagen für diese Seite.")
            .arg(shown);
    if (listEmpty)
        return QStringLiteral("Im Vorlagenordner \"%1\" liegt keine Dokumentvorlage.\n"
                              "Verwendet werden können Vorlagen im OpenDocument-Format (.ott, .odt) und im "
                              "Word-Format (.dotx, .docx).")
            .arg(shown);
    return QString();
}

bool WriteWordDocument(WordWriter &writer, const QString &templatePath, const WordExportContent &content)
{
    writer.newDocument(templatePath);
    try {
        for (const WordBookmark &b : content.bookmarks)
            if (writer.goToBookmark(b.name))
                writer.typeText(b.text);
        if (content.hasTable) {
            writer.goToBookmark(LineTableBookmark());
            const QList<double> widths = LineTableWidths();
            writer.addTable(int(content.tableRows.size()), int(widths.size()), widths, content.tableRows, 1,
                            {LineTableAlignments(), LineTableBookmark()});
        }
        return writer.show();
    } catch (...) {
        writer.discard();
        throw;
    }
}

bool RunWordExport(Dialogs &dialogs, const QString &folderPath, const QString &templateName,
                   const std::function<WordExportContent()> &gather, WordWriter &writer)
{
    const QString missing = MissingTemplateMessage(folderPath, templateName.isEmpty());
    if (!missing.isEmpty()) {
        dialogs.warning(missing);
        return false;
    }
    const WordExportContent content = gather();
    if (!WriteWordDocument(writer, QDir(folderPath).filePath(templateName), content))
        dialogs.information(QStringLiteral("Die Daten wurden in ein Dokument übernommen und gespeichert unter:\n%1\n\n"
                                           "Es konnte nicht automatisch geöffnet werden.")
                                .arg(QDir::toNativeSeparators(writer.documentPath())));
    return true;
}
