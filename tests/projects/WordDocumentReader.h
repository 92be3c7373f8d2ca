#pragma once

#include "XmlTree.h"
#include "ZipPackage.h"

#include <QFile>
#include <QMap>

// Reads back an exported .odt or .docx: the text behind every bookmark to the end of
// its paragraph ("\n" for line breaks, "\t" for tabs), and every table with its
// cells' texts and alignments and its look (the Word table style, or the background
// of the OpenDocument heading cells).
struct ReadBackDocument
{
    struct Cell
    {
        QString text, align;
    };
    struct Row
    {
        bool heading = false;
        QList<Cell> cells;
    };
    struct Table
    {
        QString look;
        QList<Row> rows;
    };

    QMap<QString, QString> afterBookmark;
    QList<Table> tables;
    QString text; // every paragraph, one per line

    Table tableStartingWith(const QString &firstCell) const
    {
        for (const Table &t : tables)
            if (!t.rows.isEmpty() && t.rows[0].cells.value(0).text == firstCell)
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
    const bool odf = package.contains("content.xml");
    const auto doc = XmlNode::parse(package.data(odf ? "content.xml" : "word/document.xml"));
    const auto named = [&](const QString &element, const QString &name) {
        return doc->find([&](const XmlNode &n) { return n.isElement(element) && n.attribute("style:name") == name; });
    };
    const auto alignment = [](const QString &v) {
        return v == "end" || v == "right" ? QStringLiteral("right") : v == "center" ? v : QStringLiteral("left");
    };
    // A paragraph's text as a reader sees it, and where its bookmarks stand in it.
    const auto paragraphText = [odf](XmlNode *p, QList<QPair<QString, qsizetype>> *marks = nullptr) {
        QString text;
        p->find([&](const XmlNode &n) {
            if (marks && (n.isElement("text:bookmark") || n.isElement("text:bookmark-start") || n.isElement("w:bookmarkStart")))
                marks->append({n.attribute(odf ? "text:name" : "w:name"), text.size()});
            else if (n.kind() == XmlNode::Kind::Text && (odf || n.parent()->isElement("w:t")))
                text += n.text();
            else if (n.isElement("text:line-break") || (n.isElement("w:br") && n.parent()->isElement("w:r")))
                text += '\n';
            else if (n.isElement("text:tab") || (n.isElement("w:tab") && n.parent()->isElement("w:r")))
                text += '\t';
            else if (n.isElement("text:s"))
                text += QString(qMax(1, n.attribute("text:c").toInt()), ' ');
            return false;
        });
        return text;
    };
    for (XmlNode *p : doc->descendants(odf ? "text:p" : "w:p")) {
        QList<QPair<QString, qsizetype>> marks;
        const QString text = paragraphText(p, &marks);
        for (const auto &[name, at] : marks)
            out.afterBookmark[name] = text.mid(at);
        out.text += text + '\n';
    }
    for (XmlNode *t : doc->descendants(odf ? "table:table" : "w:tbl")) {
        ReadBackDocument::Table &table = out.tables.emplaceBack();
        if (XmlNode *style = t->descendants("w:tblStyle").value(0))
            table.look = style->attribute("w:val");
        for (XmlNode *r : t->descendants(odf ? "table:table-row" : "w:tr")) {
            ReadBackDocument::Row &row = table.rows.emplaceBack();
            row.heading = odf ? r->parent()->isElement("table:table-header-rows") : !r->descendants("w:tblHeader").isEmpty();
            for (XmlNode *c : r->descendants(odf ? "table:table-cell" : "w:tc")) {
                XmlNode *p = c->descendants(odf ? "text:p" : "w:p").value(0);
                QString align;
                if (XmlNode *jc = odf ? nullptr : p->descendants("w:jc").value(0))
                    align = jc->attribute("w:val");
                if (XmlNode *s = odf ? named("style:style", p->attribute("text:style-name")) : nullptr)
                    align = s->firstChild("style:paragraph-properties")->attribute("fo:text-align");
                XmlNode *cellStyle = odf ? named("style:style", c->attribute("table:style-name")) : nullptr;
                if (row.heading && cellStyle && table.look.isEmpty())
                    table.look = cellStyle->firstChild("style:table-cell-properties")->attribute("fo:background-color");
                row.cells.append({paragraphText(p), alignment(align)});
            }
        }
    }
    return out;
}
