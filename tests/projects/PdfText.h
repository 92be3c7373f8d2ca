#pragma once

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <optional>

// A PDF read back as a reader sees it (poppler-utils): the words of "pdftotext
// -bbox" with their boxes in tenths of a millimetre from the page's top-left
// corner, the bold and italic runs of "pdftohtml -xml", a page as picture.
struct PdfWord
{
    int page;
    QString text;
    double x0, y0, x1, y1;
};

inline QString runTool(const QString &tool, const QStringList &arguments)
{
    QProcess p;
    p.start(tool, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput())
        .replace(QLatin1String("&amp;"), QLatin1String("&"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""));
}

class PdfText
{
public:
    explicit PdfText(const QString &pdf) : m_pdf(pdf)
    {
        static const QRegularExpression tag(QStringLiteral("<page |<word xMin=\"([^\"]+)\" yMin=\"([^\"]+)\" "
                                                           "xMax=\"([^\"]+)\" yMax=\"([^\"]+)\">([^<]*)</word>"));
        for (auto it = tag.globalMatch(runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, "-"}));
             it.hasNext();) {
            const auto m = it.next();
            const auto u = [&](int i) { return m.captured(i).toDouble() * 254.0 / 72.0; };
            if (m.captured(5).isNull())
                ++m_pages;
            else
                m_words << PdfWord{m_pages, m.captured(5), u(1), u(2), u(3), u(4)};
        }
    }

    int pages() const { return m_pages; }

    // The words of a page whose top lies within 1 mm of y (and between x0 and x1),
    // left to right, joined by blanks.
    QString lineAt(int page, double y, double x0 = -1e9, double x1 = 1e9) const
    {
        QList<PdfWord> line;
        for (const PdfWord &w : m_words)
            if (w.page == page && std::abs(w.y0 - y) < 10 && w.x0 >= x0 - 5 && w.x1 <= x1 + 5)
                line << w;
        std::sort(line.begin(), line.end(), [](const PdfWord &a, const PdfWord &b) { return a.x0 < b.x0; });
        QStringList texts;
        for (const PdfWord &w : line)
            texts << w.text;
        return texts.join(QLatin1Char(' '));
    }

    // The first run of words reading text (on one page; 0: any page), as one box.
    std::optional<PdfWord> find(const QString &text, int page = 0) const
    {
        const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (int i = 0; i + parts.size() <= m_words.size(); ++i) {
            bool match = page == 0 || m_words.at(i).page == page;
            for (int k = 0; k < parts.size() && match; ++k)
                match = m_words.at(i + k).text == parts.at(k) && m_words.at(i + k).page == m_words.at(i).page;
            if (match)
                return PdfWord{m_words.at(i).page, text, m_words.at(i).x0, m_words.at(i).y0,
                               m_words.at(i + parts.size() - 1).x1, m_words.at(i).y1};
        }
        return std::nullopt;
    }
    bool contains(const QString &text, int page = 0) const { return find(text, page).has_value(); }

    // The point size of a text: the box is ascent plus descent, 1.117 times the size.
    int points(const QString &text) const
    {
        const auto w = find(text);
        return w ? qRound((w->y1 - w->y0) * 72.0 / 254.0 / 1.117) : 0;
    }

    // The texts of the pages drawn in bold ("b"), italic ("i") or both ("bi"),
    // with their style as key.
    QMultiMap<QString, QString> styled() const
    {
        QMultiMap<QString, QString> out;
        static const QRegularExpression part(QStringLiteral("<(/?)([bi])>|([^<]+)"));
        static const QRegularExpression text(QStringLiteral("<text [^>]*>(.*)</text>"));
        const QString xml = runTool(QStringLiteral("pdftohtml"), {"-xml", "-stdout", "-i", "-q", m_pdf});
        for (auto t = text.globalMatch(xml); t.hasNext();) {
            bool bold = false, italic = false;
            for (auto it = part.globalMatch(t.next().captured(1)); it.hasNext();) {
                const auto m = it.next();
                if (!m.captured(2).isEmpty())
                    (m.captured(2) == QLatin1String("b") ? bold : italic) = m.captured(1).isEmpty();
                else if (!m.captured(3).trimmed().isEmpty())
                    out.insert(QString(bold ? "b" : "") + (italic ? "i" : ""), m.captured(3).trimmed());
            }
        }
        return out;
    }

    // A page as picture, one pixel per tenth of a millimetre, without smoothing.
    QImage picture(int page) const
    {
        QTemporaryDir dir;
        const QString n = QString::number(page);
        runTool(QStringLiteral("pdftoppm"), {"-r", "254", "-aa", "no", "-aaVector", "no", "-f", n, "-l", n,
                                             "-singlefile", "-png", m_pdf, dir.filePath(QStringLiteral("p"))});
        return QImage(dir.filePath(QStringLiteral("p.png")));
    }

private:
    QString m_pdf;
    QList<PdfWord> m_words;
    int m_pages = 0;
};
