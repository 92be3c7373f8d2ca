#pragma once

#include <QImage>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

// A PDF read back the way a reader sees it: the words with their boxes from
// "pdftotext -bbox", converted to tenths of a millimetre from the page's top-left
// corner, and the bold and italic runs from "pdftohtml -xml" (poppler-utils).
struct PdfWord
{
    int page;
    QString text;
    double x0, y0, x1, y1;
};

struct PdfRun
{
    int page;
    QString text;
    bool bold, italic;
};

class PdfText
{
public:
    explicit PdfText(const QString &pdf)
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        if (!p.waitForFinished(30000) || p.exitCode() != 0)
            return;
        const QString xml = QString::fromUtf8(p.readAllStandardOutput());
        static const QRegularExpression tag(
            QStringLiteral("<page |<word xMin=\"([^\"]+)\" yMin=\"([^\"]+)\" xMax=\"([^\"]+)\" yMax=\"([^\"]+)\">([^<]*)</word>"));
        int page = 0;
        for (auto it = tag.globalMatch(xml); it.hasNext();) {
            const auto m = it.next();
            if (m.captured(0).startsWith(QLatin1String("<page"))) {
                ++page;
                continue;
            }
            const auto u = [&](int i) { return m.captured(i).toDouble() * 254.0 / 72.0; };
            m_words << PdfWord{page, unescape(m.captured(5)), u(1), u(2), u(3), u(4)};
        }
        m_pages = page;
    }

    int pages() const { return m_pages; }
    const QList<PdfWord> &words() const { return m_words; }

    // The words of a page whose top lies within 1 mm of y, left to right, joined
    // by blanks.
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

    // The first word sequence of a page that reads text (blanks between words),
    // as one box; page 0 searches every page.
    std::optional<PdfWord> find(const QString &text, int page = 1) const
    {
        const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (int i = 0; i + parts.size() <= m_words.size(); ++i) {
            bool match = true;
            for (int k = 0; k < parts.size() && match; ++k) {
                const PdfWord &w = m_words.at(i + k);
                match = w.text == parts.at(k) && (page == 0 || w.page == page) && w.page == m_words.at(i).page;
            }
            if (match) {
                PdfWord box = m_words.at(i);
                box.text = text;
                box.x1 = m_words.at(i + parts.size() - 1).x1;
                return box;
            }
        }
        return std::nullopt;
    }

    bool contains(const QString &text, int page = 0) const { return find(text, page).has_value(); }

    // Every text run with its bold and italic marks.
    static QList<PdfRun> runs(const QString &pdf)
    {
        QProcess p;
        p.start(QStringLiteral("pdftohtml"), {QStringLiteral("-xml"), QStringLiteral("-stdout"), QStringLiteral("-i"),
                                              QStringLiteral("-q"), pdf});
        QList<PdfRun> out;
        if (!p.waitForFinished(30000))
            return out;
        const QString xml = QString::fromUtf8(p.readAllStandardOutput());
        static const QRegularExpression tag(QStringLiteral("<page number=\"(\\d+)\"|<text [^>]*>(.*)</text>"));
        int page = 0;
        for (auto it = tag.globalMatch(xml); it.hasNext();) {
            const auto m = it.next();
            if (!m.captured(1).isEmpty()) {
                page = m.captured(1).toInt();
                continue;
            }
            // One text may change its style on the way: one run per style.
            static const QRegularExpression part(QStringLiteral("<(/?)([bi])>|([^<]+)"));
            bool bold = false, italic = false;
            for (auto pt = part.globalMatch(m.captured(2)); pt.hasNext();) {
                const auto t = pt.next();
                if (!t.captured(2).isEmpty())
                    (t.captured(2) == QLatin1String("b") ? bold : italic) = t.captured(1).isEmpty();
                else if (!t.captured(3).trimmed().isEmpty())
                    out << PdfRun{page, unescape(t.captured(3)).trimmed(), bold, italic};
            }
        }
        return out;
    }

    // A page as a picture with one pixel per tenth of a millimetre.
    static QImage picture(const QString &pdf, int page)
    {
        QTemporaryDir dir;
        QProcess p;
        p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-aa"),
                                             QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
                                             QStringLiteral("-f"),
                                             QString::number(page), QStringLiteral("-l"), QString::number(page),
                                             QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf,
                                             dir.filePath(QStringLiteral("page"))});
        p.waitForFinished(30000);
        return QImage(dir.filePath(QStringLiteral("page.png")));
    }

    // "pdfinfo" as key → value.
    static QMap<QString, QString> info(const QString &pdf)
    {
        QProcess p;
        p.start(QStringLiteral("pdfinfo"), {pdf});
        p.waitForFinished(30000);
        QMap<QString, QString> out;
        for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'))) {
            const int colon = int(line.indexOf(QLatin1Char(':')));
            if (colon > 0)
                out.insert(line.left(colon), line.mid(colon + 1).trimmed());
        }
        return out;
    }

private:
    static QString unescape(QString s)
    {
        s.replace(QLatin1String("&lt;"), QLatin1String("<")).replace(QLatin1String("&gt;"), QLatin1String(">"));
        s.replace(QLatin1String("&quot;"), QLatin1String("\"")).replace(QLatin1String("&#34;"), QLatin1String("\""));
        s.replace(QLatin1String("&#39;"), QLatin1String("'")).replace(QLatin1String("&amp;"), QLatin1String("&"));
        return s;
    }

    QList<PdfWord> m_words;
    int m_pages = 0;
};
