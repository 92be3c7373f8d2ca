#pragma once

#include "ZipPackage.h"

#include <QFile>
#include <QHash>
#include <QMap>
#include <QStack>
#include <QString>
#include <QXmlStreamReader>

// Reads back what an export wrote into an .odt or .docx, independently of the
// writer's own XML tree: the text behind every bookmark up to the end of its
// paragraph (line breaks as "\n", tabs as "\t"), and the tables with their cells'
// texts and alignments ("left", "center", "right").
struct ReadBackDocument
{
    struct Cell
    {
        QString text;
        QString align = QStringLiteral("left");
    };
    struct Row
    {
        bool heading = false;
        QList<Cell> cells;
    };

    bool ok = false;
    QMap<QString, QString> afterBookmark;
    QList<QList<Row>> tables;
    QString text; // every paragraph, one per line

    // The table whose first row starts with this text, or an empty list.
    QList<Row> tableStartingWith(const QString &firstCell) const
    {
        for (const auto &t : tables)
            if (!t.isEmpty() && !t.first().cells.isEmpty() && t.first().cells.first().text == firstCell)
                return t;
        return {};
    }
};

inline ReadBackDocument ReadBackWordDocument(const QString &path)
{
    ReadBackDocument out;
    QFile file(path);
    ZipPackage package;
    if (!file.open(QIODevice::ReadOnly) || !package.read(file.readAll()))
        return out;
    const bool odf = package.contains(QStringLiteral("content.xml"));
    QXmlStreamReader xml(package.data(odf ? QStringLiteral("content.xml") : QStringLiteral("word/document.xml")));

    QHash<QString, QString> styleAlign; // automatic paragraph styles of an OpenDocument
    QString styleName;
    struct Paragraph
    {
        QString text;
        QList<QPair<QString, qsizetype>> bookmarks;
        QString align = QStringLiteral("left");
    };
    QStack<Paragraph> paragraphs;
    int inRun = 0, inText = 0, inHeaderRows = 0, inCell = 0;
    const auto alignOf = [](const QString &v) {
        if (v == QLatin1String("end") || v == QLatin1String("right"))
            return QStringLiteral("right");
        return v == QLatin1String("center") ? QStringLiteral("center") : QStringLiteral("left");
    };
    while (!xml.atEnd()) {
        xml.readNext();
        const QString name = xml.qualifiedName().toString();
        const auto attr = [&xml](const char *n) { return xml.attributes().value(QLatin1String(n)).toString(); };
        if (xml.isStartElement()) {
            if (name == QLatin1String("style:style"))
                styleName = attr("style:name");
            else if (name == QLatin1String("style:paragraph-properties") && attr("fo:text-align").size())
                styleAlign[styleName] = alignOf(attr("fo:text-align"));
            else if (name == QLatin1String("text:p") || name == QLatin1String("text:h") || name == QLatin1String("w:p")) {
                paragraphs.push(Paragraph());
                if (odf)
                    paragraphs.top().align = styleAlign.value(attr("text:style-name"), QStringLiteral("left"));
            } else if (name == QLatin1String("w:jc") && !paragraphs.isEmpty())
                paragraphs.top().align = alignOf(attr("w:val"));
            else if ((name == QLatin1String("text:bookmark") || name == QLatin1String("text:bookmark-start")
                      || name == QLatin1String("w:bookmarkStart"))
                     && !paragraphs.isEmpty())
                paragraphs.top().bookmarks.append({attr(odf ? "text:name" : "w:name"), paragraphs.top().text.size()});
            else if (name == QLatin1String("w:r"))
                ++inRun;
            else if (name == QLatin1String("w:t"))
                ++inText;
            else if (!paragraphs.isEmpty() && (name == QLatin1String("text:line-break") || (inRun && name == QLatin1String("w:br"))))
                paragraphs.top().text += QLatin1Char('\n');
            else if (!paragraphs.isEmpty() && (name == QLatin1String("text:tab") || (inRun && name == QLatin1String("w:tab"))))
                paragraphs.top().text += QLatin1Char('\t');
            else if (!paragraphs.isEmpty() && name == QLatin1String("text:s"))
                paragraphs.top().text += QString(qMax(1, attr("text:c").toInt()), QLatin1Char(' '));
            else if (name == QLatin1String("table:table") || name == QLatin1String("w:tbl"))
                out.tables.emplaceBack();
            else if (name == QLatin1String("table:table-header-rows"))
                ++inHeaderRows;
            else if (name == QLatin1String("table:table-row") || name == QLatin1String("w:tr"))
                out.tables.last().emplaceBack().heading = inHeaderRows > 0;
            else if (name == QLatin1String("w:tblHeader"))
                out.tables.last().last().heading = true;
            else if (name == QLatin1String("table:table-cell") || name == QLatin1String("w:tc")) {
                out.tables.last().last().cells.emplaceBack();
                ++inCell;
            }
        } else if (xml.isCharacters() && !paragraphs.isEmpty() && (odf || inText)) {
            paragraphs.top().text += xml.text();
        } else if (xml.isEndElement()) {
            if (name == QLatin1String("w:r"))
                --inRun;
            else if (name == QLatin1String("w:t"))
                --inText;
            else if (name == QLatin1String("table:table-header-rows"))
                --inHeaderRows;
            else if (name == QLatin1String("table:table-cell") || name == QLatin1String("w:tc"))
                --inCell;
            else if (name == QLatin1String("text:p") || name == QLatin1String("text:h") || name == QLatin1String("w:p")) {
                const Paragraph p = paragraphs.pop();
                for (const auto &[bookmark, at] : p.bookmarks)
                    out.afterBookmark[bookmark] = p.text.mid(at);
                out.text += p.text + QLatin1Char('\n');
                if (inCell > 0) {
                    ReadBackDocument::Cell &cell = out.tables.last().last().cells.last();
                    cell.text += (cell.text.isEmpty() ? QString() : QStringLiteral("\n")) + p.text;
                    cell.align = p.align;
                }
            }
        }
    }
    out.ok = !xml.hasError();
    return out;
}
