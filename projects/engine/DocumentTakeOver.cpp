#include "DocumentTakeOver.h"

namespace DocumentTakeOver {
namespace {

// "des Angebotes", "der Rechnung", ...
QString ofSource(DocumentKind kind)
{
    switch (kind.kind()) {
    case DocumentKind::Angebot: return QStringLiteral("des Angebotes");
    case DocumentKind::Auftrag: return QStringLiteral("des Auftrages");
    case DocumentKind::Lieferschein: return QStringLiteral("des Lieferscheins");
    case DocumentKind::Rechnung: return QStringLiteral("der Rechnung");
    case DocumentKind::Gutschrift: return QStringLiteral("der Gutschrift");
    default: return QStringLiteral("der Arbeitsablage");
    }
}

// "ein neues Angebot", "einen neuen Auftrag", ...; the working document is one
// list, so other kinds go "in die Arbeitsablage" and only a working document
// itself makes "eine neue Arbeitsablage".
QString intoTarget(DocumentKind source, DocumentKind target)
{
    switch (target.kind()) {
    case DocumentKind::Angebot: return QStringLiteral("ein neues Angebot");
    case DocumentKind::Auftrag: return QStringLiteral("einen neuen Auftrag");
    case DocumentKind::Lieferschein: return QStringLiteral("einen neuen Lieferschein");
    case DocumentKind::Rechnung: return QStringLiteral("eine neue Rechnung");
    case DocumentKind::Gutschrift: return QStringLiteral("eine neue Gutschrift");
    default:
        return source == DocumentKind::Ablage ? QStringLiteral("eine neue Arbeitsablage")
                                              : QStringLiteral("die Arbeitsablage");
    }
}

// Overwrites the target's address lines with the source's non-empty ones.
void overwrite(QString &target, const QString &source)
{
    if (!source.isEmpty())
        target = source;
}

// Every line with its eight columns; the key of a stored line belongs to that line.
QList<LineList::Row> linesOf(const LineList &lines)
{
    QList<LineList::Row> rows;
    for (int r = 1; r < lines.rowCount(); ++r) {
        LineList::Row row = lines.row(r);
        row[LineList::Id].clear();
        rows << row;
    }
    return rows;
}

// An invoice or credit note made from a delivery note was delivered on the note's
// date; one made from an invoice or credit note keeps that document's date of
// service. Otherwise the new document's own date will be its date of service.
void carryServiceDate(const Document &source, Document &target)
{
    if (target.kind != DocumentKind::Rechnung && target.kind != DocumentKind::Gutschrift)
        return;
    target.serviceDate.clear();
    target.serviceDateTo.clear();
    if (source.kind == DocumentKind::Lieferschein) {
        target.serviceDate = source.date;
    } else if (source.kind == DocumentKind::Rechnung || source.kind == DocumentKind::Gutschrift) {
        target.serviceDate = source.effectiveServiceDate();
        target.serviceDateTo = source.serviceDateTo;
    }
}

} // namespace

QList<DocumentKind> targets(DocumentKind source)
{
    switch (source.kind()) {
    case DocumentKind::Angebot:
    case DocumentKind::Auftrag:
    case DocumentKind::Lieferschein:
    case DocumentKind::Ablage:
        return {DocumentKind::Angebot, DocumentKind::Auftrag, DocumentKind::Lieferschein, DocumentKind::Rechnung,
                DocumentKind::Ablage};
    case DocumentKind::Rechnung:
    case DocumentKind::Gutschrift:
        return {DocumentKind::Angebot, DocumentKind::Auftrag,    DocumentKind::Lieferschein,
                DocumentKind::Rechnung, DocumentKind::Gutschrift, DocumentKind::Ablage};
    case DocumentKind::Mahnung:
        return {};
    }
    return {};
}

bool permitted(DocumentKind source, DocumentKind target)
{
    return targets(source).contains(target);
}

QString listEntry(DocumentKind target)
{
    return target.listCaption();
}

QString menuEntry(DocumentKind source, DocumentKind target)
{
    return QStringLiteral("Inhalt %1 in %2 übernehmen").arg(ofSource(source), intoTarget(source, target));
}

bool carriesAdditionalText(DocumentKind source, DocumentKind target)
{
    return source == target || source == DocumentKind::Ablage || target == DocumentKind::Ablage;
}

void copyInto(const Document &source, Document &target)
{
    target.lines.setLines(linesOf(source.lines));

    overwrite(target.ownCompany, source.ownCompany);
    overwrite(target.address.name, source.address.name);
    overwrite(target.address.street, source.address.street);
    overwrite(target.address.postcodeTown, source.address.postcodeTown);
    if (source.kind.hasSecondAddress() && target.kind.hasSecondAddress()) {
        overwrite(target.secondAddress.name, source.secondAddress.name);
        overwrite(target.secondAddress.street, source.secondAddress.street);
        overwrite(target.secondAddress.postcodeTown, source.secondAddress.postcodeTown);
    }

    carryServiceDate(source, target);
    if (carriesAdditionalText(source.kind, target.kind))
        target.texts = source.texts;
    else
        target.texts = {};

    if (target.kind == DocumentKind::Gutschrift) {
        if (source.kind == DocumentKind::Rechnung)
            target.invoiceNumber = source.number;
        else
            target.invoiceNumber = source.invoiceNumber; // a copy of a credit note reduces the same invoice
    } else {
        target.invoiceNumber = 0;
    }
}

void copyExisting(const Document &existing, Document &target)
{
    target.lines.setLines(linesOf(existing.lines));
    target.skontoText = existing.skontoText;
    target.skontoPercent = existing.skontoPercent;
    target.texts = existing.texts;
    carryServiceDate(existing, target);
}

} // namespace DocumentTakeOver
