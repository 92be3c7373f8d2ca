#include "DocumentPrint.h"

#include "GiroCode.h"

#include "Amount.h"
#include "DocumentStore.h"
#include "InvoiceTerms.h"
#include "Formats.h"
#include "PrintCanvas.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace {

// The columns of the line table: separator x positions and where the cells stand.
const int Separators[] = {345, 545, 1395, 1495, 1675, 1880};
const int TableLeft = 250, TableRight = 2000, TableTop = 1000, TableBottom = 2300, HeadingBottom = 1050;
const int FirstSlot = 1060, SlotHeight = 40;
// The description from its left edge to a little before the Anzahl column.
const int DescriptionWidth = 1395 - 550 - 10;

QString cell(const LineList &lines, int row, LineList::Column column)
{
    return lines.cell(row, column).trimmed();
}

QFont styled(const PrintFonts &fonts, const QString &style)
{
    const bool bold = style.contains(QLatin1String("fsBold"));
    const bool italic = style.contains(QLatin1String("fsItalic"));
    return fonts.font(PrintFonts::S1100, bold, italic);
}

} // namespace

DocumentPrint::DocumentPrint(const Document &document, const DocumentPrintOptions &options, const PrintSetup &setup)
    : m_doc(document), m_options(options), m_setup(setup)
{
    const QString gross = m_doc.totals.gross().trimmed();
    if (m_options.prices && !gross.isEmpty() && !m_doc.skontoPercent.trimmed().isEmpty()) {
        // What the customer pays when he takes the Skonto: the gross total less
        // its percentage, worked out to four decimals and shown with two.
        const Amount total = Amount::fromDisplay(gross, m_setup.currency);
        const Amount percent = Amount::fromText(m_doc.skontoPercent);
        const Amount payable = total - Amount::mulDiv(total, percent, 100);
        m_skontoText = m_doc.skontoText + QLatin1Char(' ') + m_doc.skontoPercent + QStringLiteral(" %. Entspricht ");
        m_skontoAmount = QLatin1Char(' ') + payable.toText() + QLatin1Char(' ') + m_setup.currency;
    }
    if (m_doc.kind == DocumentKind::Rechnung && m_options.prices && IsValidDateText(m_doc.date))
        m_dueSentence = InvoiceTerms::dueSentence(DocumentStore::dueDate(m_doc.date, m_doc.paymentTerm));
}

QList<DocumentPrint::Page> DocumentPrint::layOut(const PrintCanvas &canvas) const
{
    const QFont normal = canvas.fonts().font(PrintFonts::S1100);
    QList<Page> pages(1);
    const LineList &lines = m_doc.lines;
    for (int row = 1; row <= lines.lineCount(); ++row) {
        QStringList parts = canvas.wrap(cell(lines, row, LineList::Bezeichnung), DescriptionWidth, normal);
        if (parts.isEmpty())
            parts << QString();
        // a line starts on the next page rather than being torn, unless it fills more than a page
        if (pages.last().size() + parts.size() > SlotsPerPage && !pages.last().isEmpty())
            pages << Page();
        for (int i = 0; i < parts.size(); ++i) {
            if (pages.last().size() == SlotsPerPage)
                pages << Page();
            pages.last() << Slot{row, parts[i], i == 0};
        }
    }
    return pages;
}

void DocumentPrint::paint(QPainter &painter, QPagedPaintDevice &device) const
{
    const PrintFonts fonts(&device, m_setup.sizeOffset);
    PrintCanvas canvas(painter, m_setup, fonts);
    const QList<Page> pages = layOut(canvas);
    for (int page = 1; page <= pages.size(); ++page) {
        if (page > 1)
            device.newPage();
        paintPage(canvas, pages[page - 1], page, int(pages.size()));
    }
}

void DocumentPrint::paintPage(PrintCanvas &canvas, const Page &slots, int page, int pages) const
{
    const PrintFonts &fonts = canvas.fonts();
    const DocumentKind kind = m_doc.kind;
    if (page == 1 && m_options.letterhead)
        canvas.image(250, 200, 2005, 536, m_options.letterheadImage);

    LetterHead head;
    head.sender = m_doc.ownCompany;
    const DocumentAddress &first = m_doc.address;
    const DocumentAddress &second = m_doc.secondAddress;
    const bool secondLeft = kind.hasAddressLeftBox() && m_doc.addressLeft;
    const bool secondFilled = !(second.name.isEmpty() && second.street.isEmpty() && second.postcodeTown.isEmpty());
    if (secondLeft)
        head.windowLabel = QStringLiteral("Postanschrift:");
    else if (secondFilled && kind == DocumentKind::Lieferschein)
        head.windowLabel = QStringLiteral("Lieferanschrift:");
    else if (secondFilled && (kind == DocumentKind::Rechnung || kind == DocumentKind::Gutschrift))
        head.windowLabel = QStringLiteral("Rechnungsanschrift:");
    const DocumentAddress &left = secondLeft ? second : first;
    const DocumentAddress &right = secondLeft ? first : second;
    head.left = {left.name, left.street, left.postcodeTown};
    head.right = {right.name, right.street, right.postcodeTown};
    head.date = m_doc.date;
    head.customer = m_options.customerNumber;
    head.project = m_options.projectNumber;
    head.page = QStringLiteral("%1/%2").arg(page).arg(pages);
    if (kind == DocumentKind::Rechnung || kind == DocumentKind::Gutschrift) {
        const InvoiceTerms::ServiceDateText service = InvoiceTerms::serviceDate(m_doc);
        head.serviceLabel = service.label;
        head.serviceValue = service.value;
    }
    canvas.letterHead(head);

    canvas.text(250, 940, m_options.title, fonts.font(PrintFonts::S1800, true));
    if (kind == DocumentKind::Gutschrift) {
        const QString caption = m_doc.invoiceNumber > 0
                                    ? QStringLiteral("Gutschrift zur Rechnung Nr.: ") + PadNumber(m_doc.invoiceNumber)
                                    : QStringLiteral("Gutschrift");
        canvas.text(950, 960, QLatin1Char('(') + caption + QLatin1Char(')'), fonts.font(PrintFonts::S900));
    }

    paintTable(canvas, slots);
    const int b[Document::TextLineCount] = {2100, 2140, 2180, 2220};
    for (int i = 0; i < Document::TextLineCount; ++i) {
        const QFont font = styled(fonts, m_doc.texts[i].style);
        canvas.text(260, b[i], canvas.cut(m_doc.texts[i].text, TableRight - 10 - 260, font), font);
    }
    paintTotals(canvas, page == pages);
    canvas.footer(m_setup.footer);
}

void DocumentPrint::paintTable(PrintCanvas &canvas, const Page &slots) const
{
    const PrintFonts &fonts = canvas.fonts();
    const QPen frame = PrintCanvas::framePen();
    canvas.rect(TableLeft, TableTop, TableRight, TableBottom, frame);
    canvas.line(TableLeft + 1, HeadingBottom, TableRight - 1, HeadingBottom, frame);
    for (int x : Separators)
        canvas.line(x, TableTop, x, HeadingBottom, frame);
    const QFont heading = fonts.font(PrintFonts::S1000, true);
    const QString currency = m_setup.currency;
    canvas.text(255, 1010, QStringLiteral("Pos."), heading);
    canvas.text(355, 1010, QStringLiteral("Art.-Nr."), heading);
    canvas.text(555, 1010, QStringLiteral("Bezeichnung"), heading);
    canvas.text(1405, 1010, QStringLiteral("Anzahl"), heading);
    canvas.text(1505, 1010, QStringLiteral("Einzelp. ") + currency, heading);
    canvas.text(1685, 1010, QStringLiteral("Betrag ") + currency, heading);
    canvas.text(1895, 1010, QStringLiteral("MwSt."), heading);

    const QPen vertical = PrintCanvas::gridPen(m_setup.pens.verticalColour, m_setup.pens.verticalStyle);
    const QPen horizontal = PrintCanvas::gridPen(m_setup.pens.horizontalColour, m_setup.pens.horizontalStyle);
    const QFont normal = fonts.font(PrintFonts::S1100);
    const LineList &lines = m_doc.lines;
    for (int slot = 1; slot <= SlotsPerPage; ++slot) {
        const int b = FirstSlot + SlotHeight * (slot - 1);
        for (int x : Separators)
            canvas.line(x, b - 3, x, b + 37, vertical);
        // no line between a description and its continuation
        if (slot >= slots.size() || slots[slot].first)
            canvas.line(TableLeft + 1, b + 37, TableRight - 1, b + 37, horizontal);
        if (slot > slots.size())
            continue;
        const Slot &s = slots[slot - 1];
        canvas.text(550, b, s.description, normal);
        if (!s.first)
            continue;
        const int row = s.row;
        canvas.textRight(340, b, cell(lines, row, LineList::Pos), normal);
        // an article number too long for its column shows its beginning
        const QString article = canvas.cut(cell(lines, row, LineList::ArtikelNr), 530 - (Separators[0] + 5), normal);
        canvas.textRight(530, b, article, normal);
        canvas.textRight(1480, b, cell(lines, row, LineList::Anzahl), normal);
        if (m_options.prices) {
            canvas.textRight(1660, b, cell(lines, row, LineList::Einzelpreis), normal);
            canvas.textRight(1870, b, cell(lines, row, LineList::Betrag), normal);
            canvas.textRight(1990, b, cell(lines, row, LineList::MwSt), normal);
        }
    }
}

void DocumentPrint::paintTotals(PrintCanvas &canvas, bool lastPage) const
{
    const PrintFonts &fonts = canvas.fonts();
    const QPen frame = PrintCanvas::framePen();
    const int edges[] = {250, 613, 957, 1274, 1637, 2000};
    for (int i = 0; i < 5; ++i)
        canvas.rect(edges[i], 2310, edges[i + 1], 2500, frame);
    canvas.line(250, 2600, 2000, 2600, frame);
    if (!m_options.prices)
        return;
    const QFont normal = fonts.font(PrintFonts::S1100);
    if (!lastPage) {
        canvas.text(1650, 2320, m_doc.kind.grossHeading(), normal);
        canvas.text(1650, 2380, QStringLiteral("Siehe letzte Seite"), normal);
        return;
    }
    // Every row of the totals: with three VAT rates the third VAT line stands in a
    // fourth row, and an invoice must not lose it on paper.
    const int rights[TotalsList::ColumnCount] = {520, 883, 1246, 1609, 1972};
    const TotalsList &totals = m_doc.totals;
    for (int row = 0; row < totals.rowCount(); ++row)
        for (int c = 0; c < TotalsList::ColumnCount; ++c) {
            const bool gross = row == TotalsList::GrossRow && c == TotalsList::Brutto;
            canvas.textRight(rights[c], 2350 + 40 * row, totals.cell(row, TotalsList::Column(c)).trimmed(),
                             gross ? fonts.font(PrintFonts::S1100, true) : normal);
        }
    if (!m_options.giroCode.isEmpty())
        paintGiroCode(canvas);
    if (!m_skontoText.isEmpty()) {
        canvas.text(250, 2530, m_skontoText, normal);
        canvas.text(250 + canvas.width(m_skontoText, normal), 2530, m_skontoAmount, fonts.font(PrintFonts::S1100, true));
    }
    if (!m_dueSentence.isEmpty())
        canvas.text(250, m_skontoText.isEmpty() ? 2530 : 2565, m_dueSentence, normal);
}

void DocumentPrint::paintGiroCode(PrintCanvas &canvas) const
{
    // In the first of the two empty boxes between net value and VAT: the code,
    // 17 mm square with its quiet zone of four modules, and a short hint.
    const GiroCode::Matrix code = GiroCode::encode(m_options.giroCode);
    if (code.size == 0)
        return;
    const qreal side = 170, left = 623, top = 2320;
    const qreal module = side / (code.size + 8);
    QPainter &p = canvas.painter();
    const QPointF origin = canvas.at(left, top);
    p.fillRect(QRectF(origin, QSizeF(side, side)), Qt::white);
    for (int y = 0; y < code.size; ++y)
        for (int x = 0; x < code.size; ++x)
            if (code.at(x, y))
                p.fillRect(QRectF(origin.x() + (x + 4) * module, origin.y() + (y + 4) * module, module, module),
                           Qt::black);
    const QFont small = canvas.fonts().font(PrintFonts::S900);
    canvas.text(left + side + 8, top + 40, QStringLiteral("GiroCode:"), small);
    canvas.text(left + side + 8, top + 75, QStringLiteral("mit der"), small);
    canvas.text(left + side + 8, top + 110, QStringLiteral("Banking-App"), small);
    canvas.text(left + side + 8, top + 145, QStringLiteral("bezahlen"), small);
}
