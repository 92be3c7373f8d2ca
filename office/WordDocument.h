#pragma once

#include "XmlTree.h"
#include "ZipPackage.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>

// A table as the writer inserts it: every row has exactly as many cells as there
// are column widths.
struct WordTable
{
    QList<double> columnWidths; // points
    QList<QStringList> rows;
    int headerRows = 0;         // the first rows, bold and repeated on every page
    // Per column Qt::AlignLeft, Qt::AlignHCenter or Qt::AlignRight; a column
    // without an entry is left-aligned.
    QList<Qt::Alignment> alignments;
    // The name of the template's own look for tables (see WordWriter::TableLook);
    // empty or not in the template: a plain grid.
    QString style;
};

// One word-processor document of either format, held in memory from the template
// until it is saved. The format classes know where text and tables go; this class
// keeps the package, the parsed parts and the position that goToBookmark chose.
class WordDocument
{
public:
    virtual ~WordDocument();

    // File name extension of a document (not template) of this format.
    virtual QString documentSuffix() const = 0;

    // Goes to the bookmark of that name (exact spelling first, then regardless of
    // case, as Word does). False, and no position, when the document lacks it.
    bool goToBookmark(const QString &name);
    bool hasPosition() const { return m_bookmark != nullptr; }
    // Inserts text at the position; later text follows it. Line ends ("\r\n", "\r"
    // or "\n") become line breaks, tabs become tab stops.
    virtual void typeText(const QString &text) = 0;
    // Inserts the table behind the paragraph of the position; a second table at the
    // same position follows the first.
    virtual void addTable(const WordTable &table) = 0;

    // The whole file with every change.
    QByteArray save();

protected:
    explicit WordDocument(ZipPackage package);

    // The parsed part, parsed on first use; null when it is missing or not XML.
    XmlNode *part(const QString &entry);
    // The part's changes go into the file on save.
    void markChanged(const QString &entry) { m_changed.insert(entry); }

    // The parts that can hold bookmarks, main text first.
    virtual QStringList bookmarkParts() const = 0;
    // The bookmark element of that name below root, or null.
    virtual XmlNode *findBookmark(XmlNode *root, const QString &name, Qt::CaseSensitivity cs) = 0;
    // Sets m_textParent and m_textAfter for a bookmark just found.
    virtual void placeAt(XmlNode *bookmark) = 0;

    ZipPackage m_package;
    // The position: the bookmark gone to and the part that holds it.
    XmlNode *m_bookmark = nullptr;
    QString m_partEntry;
    // Typed text goes into m_textParent behind m_textAfter (at its start when null).
    XmlNode *m_textParent = nullptr;
    XmlNode *m_textAfter = nullptr;
    // The block that the next table follows; null until the first table is placed.
    XmlNode *m_tableAfter = nullptr;

private:
    std::map<QString, std::unique_ptr<XmlNode>> m_parts;
    QSet<QString> m_changed;
};
