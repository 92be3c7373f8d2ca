#pragma once

#include "WordDocument.h"

#include <memory>

// An OpenDocument text (.odt) made from a text template (.ott) or another text.
// Bookmarks are <text:bookmark/> points or <text:bookmark-start/> ranges in the
// body (content.xml) or in headers and footers (styles.xml).
class OdfDocument : public WordDocument
{
public:
    // The document for a package that has a "mimetype" entry, with its mimetype and
    // manifest already turned from template into text; null when the package is not
    // an OpenDocument text or text template.
    static std::unique_ptr<OdfDocument> fromTemplate(ZipPackage package);

    QString documentSuffix() const override { return QStringLiteral("odt"); }
    void typeText(const QString &text) override;
    void addTable(const WordTable &table) override;

protected:
    QStringList bookmarkParts() const override;
    XmlNode *findBookmark(XmlNode *root, const QString &name, Qt::CaseSensitivity cs) override;
    void placeAt(XmlNode *bookmark) override;

private:
    explicit OdfDocument(ZipPackage package);
};
