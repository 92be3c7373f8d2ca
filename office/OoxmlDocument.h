#pragma once

#include "WordDocument.h"

#include <memory>

// A Word document (.docx) made from a Word template (.dotx) or another document.
// Bookmarks are <w:bookmarkStart w:name=".."/> in the main part or in the headers
// and footers it refers to.
class OoxmlDocument : public WordDocument
{
public:
    // The document for a package that has a "[Content_Types].xml" entry, with the
    // main part's content type already turned from template into document; null when
    // the package is not a wordprocessing document or template.
    static std::unique_ptr<OoxmlDocument> fromTemplate(ZipPackage package);

    QString documentSuffix() const override { return QStringLiteral("docx"); }
    void typeText(const QString &text) override;
    void addTable(const WordTable &table) override;

    // Entry name of the main part ("word/document.xml" as a rule).
    const QString &mainPart() const { return m_mainPart; }

protected:
    QStringList bookmarkParts() const override;
    XmlNode *findBookmark(XmlNode *root, const QString &name, Qt::CaseSensitivity cs) override;
    void placeAt(XmlNode *bookmark) override;

private:
    explicit OoxmlDocument(ZipPackage package);
    // The run properties of the run next to the position, for text that should look
    // like its neighbours; null when there are none. w is the part's prefix.
    std::unique_ptr<XmlNode> neighbourRunProperties(const QString &w) const;

    // The styleId of the table style named name (by id or by its shown name), or
    // empty when the template has none.
    QString tableStyleId(const QString &name);

    QString m_mainPart;
    QStringList m_headerFooterParts;
    QString m_stylesPart;
};
