#include "OpenItemsReport.h"

#include "Errors.h"
#include "Formats.h"
#include "OpenItemsModel.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace {

enum ReportColumn { RKNr, RRNr, RDatum, RZiel, REDatum, RStufe, RBetrag, ROffen, RName, RColumnCount };

// Widths in millimetres; the name takes what is left of the line.
constexpr double ColumnMm[RColumnCount] = {17, 23, 19, 10, 19, 8, 24, 24, 0};

bool rightAligned(int column)
{
    return column == RZiel || column == REDatum || column == RStufe || column == RBetrag || column == ROffen;
}

// A field of the CSV file: quoted when it holds a separator, a quote or a line
// break. A text that a spreadsheet would take for a formula is kept as text.
QString csvField(const QString &text, bool isText)
{
    QString t = text;
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (isText && !t.isEmpty() && formulaStarts.contains(t.front()))
        t.prepend(QLatin1Char('\''));
    if (t.contains(QLatin1Char(';')) || t.contains(QLatin1Char('"')) || t.contains(QLatin1Char('\n'))
        || t.contains(QLatin1Char('\r'))) {
        t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        t = QLatin1Char('"') + t + QLatin1Char('"');
    }
    return t;
}

} // namespace

QStringList OpenItemsReport::headings()
{
    QStringList h;
    for (int c = OpenItemsModel::KNr; c <= OpenItemsModel::Betrag; ++c)
        h << OpenItemsModel::heading(c);
    h << QStringLiteral("Offen") << OpenItemsModel::heading(OpenItemsModel::Name);
    return h;
}

QStringList OpenItemsReport::cells(int row) const
{
    const OpenItemRow &r = rows[row];
    QStringList c;
    for (int col = OpenItemsModel::KNr; col <= OpenItemsModel::Betrag; ++col)
        c << OpenItemsModel::cellText(r, col).trimmed();
    c[RBetrag] = r.amount.toText() + QLatin1Char(' ') + currency;
    c << outstanding.value(row).toText() + QLatin1Char(' ') + currency << r.name;
    return c;
}

Amount OpenItemsReport::total() const
{
    Amount sum;
    for (const Amount &a : outstanding)
        sum += a;
    return sum;
}

QByteArray OpenItemsReport::toCsv() const
{
    const QString eol = QStringLiteral("\r\n");
    QString out;
    QStringList head;
    for (const QString &h : headings())
        head << csvField(h, true);
    out += head.join(QLatin1Char(';')) + eol;
    for (int i = 0; i < rows.size(); ++i) {
        const OpenItemRow &r = rows[i];
        const QStringList fields = {PadNumber(r.customer), PadNumber(r.invoice), r.date, r.term, r.dueDate, r.level,
                                    r.amount.toPlainText(), outstanding.value(i).toPlainText(), csvField(r.name, true)};
        out += fields.join(QLatin1Char(';')) + eol;
    }
    QStringList sum(RColumnCount);
    sum[RKNr] = QStringLiteral("Summe");
    sum[ROffen] = total().toPlainText();
    out += sum.join(QLatin1Char(';')) + eol;
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

void OpenItemsReport::writeCsv(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toCsv()) < 0 || !file.commit())
        throw OrvellaError(QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden: %2")
                               .arg(path, file.errorString()));
}

void OpenItemsReport::paint(QPagedPaintDevice &device) const
{
    QPainter p(&device);
    if (!p.isActive())
        throw OrvellaError(QStringLiteral("Die Liste konnte nicht gedruckt werden: Drucker oder Datei nicht bereit."));
    const double dpi = device.logicalDpiY();
    const auto mm = [dpi](double v) { return v * dpi / 25.4; };
    // The painter's origin is the top left corner of the printable area.
    const QRectF page(0, 0, device.width(), device.height());

    QFont body(QStringLiteral("Liberation Sans"));
    body.setStyleHint(QFont::SansSerif);
    body.setPointSizeF(9);
    QFont bold = body;
    bold.setBold(true);
    QFont title = bold;
    title.setPointSizeF(13);
    const double lineHeight = QFontMetricsF(body, &device).height() * 1.35;

    double x[RColumnCount + 1];
    x[0] = 0;
    for (int c = 0; c < RColumnCount; ++c)
        x[c + 1] = x[c] + (ColumnMm[c] > 0 ? mm(ColumnMm[c]) : page.width() - x[c]);
    const double pad = mm(1);

    const double top = QFontMetricsF(title, &device).height() * 1.6 + lineHeight * 1.4;
    const double bottom = page.height() - lineHeight * 1.5;
    const int perPage = std::max(1, int((bottom - top) / lineHeight));
    // The total needs two lines below the last row.
    const int pages = std::max(1, int((rows.size() + 2 + perPage - 1) / perPage));

    const auto drawRow = [&](double y, const QStringList &cells) {
        for (int c = 0; c < RColumnCount && c < cells.size(); ++c) {
            const QRectF cell(x[c] + pad, y, x[c + 1] - x[c] - 2 * pad, lineHeight);
            const QString text = QFontMetricsF(p.font(), &device).elidedText(cells[c], Qt::ElideRight, cell.width());
            p.drawText(cell, Qt::AlignVCenter | (rightAligned(c) ? Qt::AlignRight : Qt::AlignLeft), text);
        }
    };

    int row = 0;
    for (int pageNo = 1; pageNo <= pages; ++pageNo) {
        if (pageNo > 1)
            device.newPage();
        p.setFont(title);
        const QRectF head(0, 0, page.width(), QFontMetricsF(title, &device).height());
        p.drawText(head, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Offene Posten: ") + filterName);
        p.setFont(body);
        p.drawText(head, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Stand: ") + DateToStr(date));
        double y = top - lineHeight * 1.2;
        p.setFont(bold);
        drawRow(y, headings());
        p.drawLine(QPointF(0, y + lineHeight), QPointF(page.width(), y + lineHeight));
        p.setFont(body);
        y = top;
        for (int n = 0; n < perPage && row < rows.size(); ++n, ++row, y += lineHeight) {
            p.setPen(QColor(Qt::black));
            drawRow(y, cells(row));
        }
        if (pageNo == pages) {
            p.drawLine(QPointF(x[RBetrag], y + lineHeight * 0.2), QPointF(x[ROffen + 1], y + lineHeight * 0.2));
            p.setFont(bold);
            QStringList sum(RColumnCount);
            sum[RBetrag] = QStringLiteral("Summe:");
            sum[ROffen] = total().toText() + QLatin1Char(' ') + currency;
            sum[RName] = QStringLiteral("%1 Rechnungen").arg(rows.size());
            drawRow(y + lineHeight * 0.3, sum);
            p.setFont(body);
        }
        p.drawText(QRectF(0, page.height() - lineHeight, page.width(), lineHeight), Qt::AlignCenter,
                   QStringLiteral("Seite %1 von %2").arg(pageNo).arg(pages));
    }
}

void OpenItemsReport::writePdf(const QString &path) const
{
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly))
            throw OrvellaError(QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden: %2")
                                   .arg(path, probe.errorString()));
    }
    QPdfWriter writer(path);
    writer.setTitle(QStringLiteral("Offene Posten: ") + filterName);
    writer.setCreator(QStringLiteral("Orvella"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                     QPageLayout::Millimeter));
    paint(writer);
}
