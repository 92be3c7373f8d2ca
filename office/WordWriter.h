#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class WordDocument;

// The word processor of the letter, the project export and the dunning export:
// makes a new document from a template, fills its bookmarks and hands it to the
// desktop's word processor.
//
// Templates are OpenDocument texts (.ott, also .odt) or Word files (.dotx, also
// .docx). The new document (.odt or .docx) goes into the documents folder under the
// template's name, the date and, when that name is taken, a counter; an existing file
// is never overwritten. Like Word's automation it is used in this order:
//
//     WordWriter writer;
//     writer.newDocument(templatePath);          // throws OrvellaError
//     if (writer.goToBookmark("Datum"))          // false: the template lacks it
//         writer.typeText(today);
//     ...
//     writer.show();                             // saves, then opens it
class WordWriter
{
public:
    // Opens a saved document on the desktop; returns false when that failed.
    using Opener = std::function<bool(const QUrl &document)>;

    // targetDir: the folder for new documents; empty means the default (below).
    explicit WordWriter(const QString &targetDir = QString());
    ~WordWriter();
    WordWriter(const WordWriter &) = delete;
    WordWriter &operator=(const WordWriter &) = delete;

    // The folder for writers that are not given one, so that tests of the commands
    // that write letters can keep them out of the user's folders; empty (the start
    // value) means the user's documents folder.
    static void setDefaultTargetDir(const QString &dir);

    void setTargetDir(const QString &dir);
    // The folder that new documents go to.
    QString targetDir() const;
    // Without a call, show() hands the document to OpenWithDesktop (Desktop.h), whose
    // replacement in tests covers the writer too. An empty opener makes show() save
    // without opening anything.
    void setOpener(Opener opener);

    // Makes a new document from the template and writes it at once, which reserves
    // its name. Throws OrvellaError with a German message naming the file when the
    // template is missing or not a text document of either format, or when the new
    // file cannot be written; no file is left behind then.
    void newDocument(const QString &templatePath);
    bool hasDocument() const;
    // The file of the new document (empty before newDocument).
    QString documentPath() const;

    // Goes to the bookmark; false when the document has no bookmark of that name,
    // and then typeText does nothing until the next bookmark is found.
    bool goToBookmark(const QString &name);
    // Types the text at the bookmark, behind what was typed there before. Line ends
    // ("\r\n", "\r", "\n") become line breaks, tabs become tab stops.
    void typeText(const QString &text);
    // How a table looks beyond its sizes.
    //  - alignments: per column Qt::AlignLeft, Qt::AlignHCenter or Qt::AlignRight
    //    (left for columns without an entry), headings included.
    //  - style: the template's look for the table, so that whoever designs the
    //    template decides borders, shading and fonts. A Word template gives it as a
    //    table style of that name (its heading-row formatting applies to the
    //    headings); an OpenDocument template as common styles "<style>Kopf" and
    //    "<style>Inhalt", each a cell style (borders, background, padding) and a
    //    paragraph style (font) of that name. Without them the table is a plain grid.
    struct TableLook
    {
        QList<Qt::Alignment> alignments;
        QString style;
    };

    // Puts a table behind the paragraph of the bookmark. cells holds the rows, the
    // first headerRows of them headings (bold and repeated on every page); a missing
    // cell stays empty. columnWidthsInPoints gives one width per column, or is empty
    // for equal columns over 16 cm. Throws OrvellaError when the last goToBookmark
    // failed ("the template lacks the bookmark"), or when the sizes do not fit.
    void addTable(int rows, int columns, const QList<double> &columnWidthsInPoints, const QList<QStringList> &cells,
                  int headerRows = 1, const TableLook &look = {});

    // Gives up the new document: its file is removed, so a command that fails
    // half-way leaves nothing behind. Nothing happens without a document.
    void discard();

    // Saves the document and opens it with the desktop's word processor. Returns what
    // the opener returned (false without one); a failure to save throws OrvellaError.
    bool show();

private:
    void requireDocument() const;
    void save();

    std::unique_ptr<WordDocument> m_document;
    QString m_path;
    QString m_templatePath;
    QString m_targetDir;
    std::optional<Opener> m_opener;
    QString m_bookmark; // the name asked for last
};
