#include "PrintCanvas.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

PrintCanvas::PrintCanvas(QPainter &painter, const PrintSetup &setup, const PrintFonts &fonts)
    : m_painter(painter), m_fonts(fonts), m_left(setup.left), m_top(setup.top)
{
}

qreal PrintCanvas::width(const QString &text, const QFont &font) const
{
    return QFontMetricsF(font, m_painter.device()).horizontalAdvance(text);
}

QString PrintCanvas::cut(const QString &text, qreal maxWidth, const QFont &font) const
{
    if (width(text, font) <= maxWidth)
        return text;
    // the widths of beginnings only grow: halve the range
    qsizetype fits = 0, tooLong = text.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = (fits + tooLong) / 2;
        (width(text.left(middle), font) <= maxWidth ? fits : tooLong) = middle;
    }
    return text.left(fits);
}

QStringList PrintCanvas::wrap(const QString &text, qreal maxWidth, const QFont &font) const
{
    QStringList lines;
    for (const QString &paragraph : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        QString rest = paragraph.trimmed();
        if (rest.isEmpty() && !lines.isEmpty())
            continue;
        do {
            QString line = cut(rest, maxWidth, font);
            if (line.size() < rest.size()) {
                // back to the last blank, unless the line holds a single word
                const qsizetype blank = line.lastIndexOf(QLatin1Char(' '));
                if (rest.at(line.size()) != QLatin1Char(' ') && blank > 0)
                    line.truncate(blank);
                if (line.isEmpty())
                    line = rest.left(1); // not even one character fits: one a line
            }
            lines << line.trimmed();
            rest = rest.mid(line.size()).trimmed();
        } while (!rest.isEmpty());
    }
    return lines;
}

void PrintCanvas::text(qreal a, qreal b, const QString &text, const QFont &font)
{
    if (text.isEmpty())
        return;
    m_painter.setFont(font);
    m_painter.setPen(Qt::black);
    const qreal ascent = QFontMetricsF(font, m_painter.device()).ascent();
    m_painter.drawText(at(a, b) + QPointF(0, ascent), text);
}

void PrintCanvas::textRight(qreal right, qreal b, const QString &text, const QFont &font)
{
    if (!text.isEmpty())
        PrintCanvas::text(right - width(text, font), b, text, font);
}

void PrintCanvas::line(qreal a1, qreal b1, qreal a2, qreal b2, const QPen &pen)
{
    if (pen.style() == Qt::NoPen)
        return;
    m_painter.setPen(pen);
    m_painter.drawLine(at(a1, b1), at(a2, b2));
}

void PrintCanvas::rect(qreal a1, qreal b1, qreal a2, qreal b2, const QPen &pen)
{
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(QRectF(at(a1, b1), at(a2, b2)).normalized());
}

void PrintCanvas::image(qreal a1, qreal b1, qreal a2, qreal b2, const QImage &image)
{
    if (!image.isNull())
        m_painter.drawImage(QRectF(at(a1, b1), at(a2, b2)).normalized(), image);
}

QPen PrintCanvas::framePen()
{
    QPen pen(Qt::black, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    return pen;
}

QPen PrintCanvas::gridPen(const QColor &colour, Qt::PenStyle style)
{
    QPen pen(colour, 1.0, Qt::SolidLine, Qt::FlatCap);
    // Qt's own dash patterns are counted in pen widths and would be tiny at
    // 0.1 mm; these give dashes of 1 mm and dots of 0.2 mm.
    switch (style) {
    case Qt::DashLine: pen.setDashPattern({10, 5}); break;
    case Qt::DotLine: pen.setDashPattern({2, 4}); break;
    case Qt::DashDotLine: pen.setDashPattern({10, 4, 2, 4}); break;
    case Qt::DashDotDotLine: pen.setDashPattern({10, 4, 2, 4, 2, 4}); break;
    default: pen.setStyle(style); break;
    }
    return pen;
}

void PrintCanvas::letterHead(const LetterHead &h)
{
    text(250, 550, h.sender, m_fonts.font(PrintFonts::S900));
    const QFont normal = m_fonts.font(PrintFonts::S1100);
    text(1000, 610, h.windowLabel, normal);
    // A long sender line asks for the smaller address size.
    const bool large = width(h.sender, m_fonts.font(PrintFonts::S1300)) <= 900;
    const QFont address = m_fonts.font(large ? PrintFonts::S1300 : PrintFonts::S1100, true);
    const int rows[3] = {660, 720, 820};
    // Each address ends before what stands right of it: the second address, the
    // information block. The whole text stays in the data.
    for (int r = 0; r < 3; ++r) {
        text(250, rows[r], cut(h.left[r], 990 - 250, address), address);
        text(1000, rows[r], cut(h.right[r], 1690 - 1000, address), address);
    }
    const QString blank = QStringLiteral(" ");
    const struct
    {
        const char *label;
        int b;
        QString value;
        bool beforeBlank;
    } info[] = {{"Datum:", 820, h.date, false},
                {"Kd-Nr.:", 850, h.customer, false},
                {"Projekt Nr.:", 880, h.project, h.projectBeforeBlank},
                {"Seite:", 910, h.page, true}};
    for (const auto &i : info) {
        text(1700, i.b, QString::fromUtf8(i.label), normal);
        textRight(2000 - (i.beforeBlank ? width(blank, normal) : 0), i.b, i.value, normal);
    }
    if (!h.serviceLabel.isEmpty()) {
        // In the free row between the second and third address line; a period is
        // wider than the block, so its label moves left rather than into the value.
        const qreal valueLeft = 2000 - width(h.serviceValue, normal);
        textRight(2000, 790, h.serviceValue, normal);
        text(std::min<qreal>(1700, valueLeft - width(blank, normal) - width(h.serviceLabel, normal)), 790,
             h.serviceLabel, normal);
    }
}

void PrintCanvas::footer(const QList<FooterRow> &rows)
{
    const QFont font = m_fonts.font(PrintFonts::S1000);
    const int columns[4] = {250, 687, 1124, 1561};
    for (int r = 0; r < rows.size() && r < PrintSetup::FooterRows; ++r)
        for (int c = 0; c < 4; ++c)
            text(columns[c], 2620 + 30 * r, rows[r][c], font);
}
