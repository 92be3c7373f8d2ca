#include "OdfDocument.h"

#include <vector>

namespace {

const QString kOfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kTextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kTableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kStyleNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString kFoNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QString kManifestNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");

const QString kTextMime = QStringLiteral("application/vnd.oasis.opendocument.text");
const QString kTemplateMime = QStringLiteral("application/vnd.oasis.opendocument.text-template");

// The qualified names of one part, whatever prefixes it binds.
struct OdfNames
{
    explicit OdfNames(XmlNode *root)
        : office(NamespacePrefix(root, kOfficeNs, QStringLiteral("office"))),
          text(NamespacePrefix(root, kTextNs, QStringLiteral("text"))),
          table(NamespacePrefix(root, kTableNs, QStringLiteral("table"))),
          style(NamespacePrefix(root, kStyleNs, QStringLiteral("style"))),
          fo(NamespacePrefix(root, kFoNs, QStringLiteral("fo")))
    {
    }
    QString office, text, table, style, fo;
};

// Paragraph content for text. OpenDocument collapses runs of blanks and drops blanks
// at the start of a paragraph, so every blank that could be lost becomes <text:s/>.
std::vector<std::unique_ptr<XmlNode>> odfRuns(const QString &textPrefix, const QString &input)
{
    const QString text = XmlSafeText(input);
    std::vector<std::unique_ptr<XmlNode>> out;
    QString pending;
    bool afterContent = false; // the last character put out was not a blank or break
    const auto flush = [&] {
        if (!pending.isEmpty())
            out.push_back(XmlNode::textNode(pending));
        pending.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            flush();
            out.push_back(XmlNode::element(QualifiedName(textPrefix, QStringLiteral("line-break"))));
            afterContent = false;
        } else if (c == QLatin1Char('\t')) {
            flush();
            out.push_back(XmlNode::element(QualifiedName(textPrefix, QStringLiteral("tab"))));
            afterContent = false;
        } else if (c == QLatin1Char(' ')) {
            qsizetype n = 1;
            while (i + n < text.size() && text[i + n] == QLatin1Char(' '))
                ++n;
            i += n - 1;
            if (afterContent) {
                pending += QLatin1Char(' ');
                --n;
            }
            if (n > 0) {
                flush();
                auto s = XmlNode::element(QualifiedName(textPrefix, QStringLiteral("s")));
                if (n > 1)
                    s->setAttribute(QualifiedName(textPrefix, QStringLiteral("c")), QString::number(n));
                out.push_back(std::move(s));
            }
            afterContent = false;
        } else {
            pending += c;
            afterContent = true;
        }
    }
    flush();
    return out;
}

bool isParagraph(const XmlNode *node, const OdfNames &n)
{
    return node->isElement(QualifiedName(n.text, QStringLiteral("p")))
           || node->isElement(QualifiedName(n.text, QStringLiteral("h")));
}

// The block a table at this bookmark follows: its paragraph, or the list that holds
// that paragraph, because a list item cannot take a table.
XmlNode *blockOf(XmlNode *bookmark, const OdfNames &n)
{
    XmlNode *block = bookmark;
    for (XmlNode *p = bookmark->parent(); p; p = p->parent())
        if (isParagraph(p, n)) {
            block = p;
            break;
        }
    const QStringList listLevels = {QualifiedName(n.text, QStringLiteral("list")),
                                    QualifiedName(n.text, QStringLiteral("list-item")),
                                    QualifiedName(n.text, QStringLiteral("list-header"))};
    while (block->parent() && listLevels.contains(block->parent()->name()))
        block = block->parent();
    return block;
}

// office:automatic-styles of the part, created in its place when missing.
XmlNode *automaticStyles(XmlNode *root, const OdfNames &n)
{
    const QString name = QualifiedName(n.office, QStringLiteral("automatic-styles"));
    if (XmlNode *styles = root->firstChild(name))
        return styles;
    for (const QString &next : {QStringLiteral("master-styles"), QStringLiteral("body")})
        if (XmlNode *before = root->firstChild(QualifiedName(n.office, next)))
            return root->insert(before->index(), XmlNode::element(name));
    return root->append(XmlNode::element(name));
}

// "Tabelle<n>" that neither a table nor a style of the part uses yet.
QString unusedTableName(XmlNode *root, const OdfNames &n)
{
    QSet<QString> used;
    const QString tableName = QualifiedName(n.table, QStringLiteral("name"));
    const QString styleName = QualifiedName(n.style, QStringLiteral("name"));
    root->find([&](const XmlNode &node) {
        if (node.isElement()) {
            used.insert(node.attribute(tableName));
            used.insert(node.attribute(styleName));
        }
        return false;
    });
    for (int i = 1;; ++i) {
        const QString candidate = QStringLiteral("Tabelle%1").arg(i);
        if (!used.contains(candidate) && !used.contains(candidate + QStringLiteral(".Zelle")))
            return candidate;
    }
}

std::unique_ptr<XmlNode> styleElement(const OdfNames &n, const QString &name, const QString &family,
                                      const QString &propertiesName, const QList<XmlNode::Attribute> &properties)
{
    auto style = XmlNode::element(QualifiedName(n.style, QStringLiteral("style")),
                                  {{QualifiedName(n.style, QStringLiteral("name")), name},
                                   {QualifiedName(n.style, QStringLiteral("family")), family}});
    style->append(XmlNode::element(QualifiedName(n.style, propertiesName), properties));
    return style;
}

QString points(double value)
{
    return QString::number(value, 'f', 2) + QStringLiteral("pt");
}

// The common style (office:styles of styles.xml) of that family and name, or null.
XmlNode *commonStyle(XmlNode *stylesPart, const QString &family, const QString &name)
{
    if (!stylesPart || name.isEmpty())
        return nullptr;
    XmlNode *root = stylesPart->documentElement();
    const QString office = DeclaredPrefix(root, {kOfficeNs});
    const QString style = DeclaredPrefix(root, {kStyleNs});
    if (office.isNull() || style.isNull())
        return nullptr;
    XmlNode *styles = root->firstChild(QualifiedName(office, QStringLiteral("styles")));
    if (!styles)
        return nullptr;
    const QString familyAttr = QualifiedName(style, QStringLiteral("family"));
    const QString nameAttr = QualifiedName(style, QStringLiteral("name"));
    for (int i = 0; i < styles->childCount(); ++i) {
        XmlNode *s = styles->child(i);
        if (s->isElement(QualifiedName(style, QStringLiteral("style"))) && s->attribute(familyAttr) == family
            && s->attribute(nameAttr) == name)
            return s;
    }
    return nullptr;
}

// A copy of the attributes of from (an element of the part whose root is fromRoot)
// with their prefixes as the part of toRoot binds the same namespaces; attributes
// of undeclared namespaces are left out.
QList<XmlNode::Attribute> attributesFor(const XmlNode *from, const XmlNode *fromRoot, XmlNode *toRoot)
{
    QList<XmlNode::Attribute> out;
    for (const XmlNode::Attribute &a : from->attributes()) {
        const qsizetype colon = a.name.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        const QString uri = fromRoot->attribute(QStringLiteral("xmlns:") + a.name.left(colon));
        if (uri.isEmpty())
            continue;
        out.append({QualifiedName(NamespacePrefix(toRoot, uri, a.name.left(colon)), a.name.mid(colon + 1)), a.value});
    }
    return out;
}

QString textAlign(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return QStringLiteral("end");
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("center");
    return QStringLiteral("start");
}

} // namespace

OdfDocument::OdfDocument(ZipPackage package)
    : WordDocument(std::move(package))
{
}

std::unique_ptr<OdfDocument> OdfDocument::fromTemplate(ZipPackage package)
{
    const QString mime = QString::fromUtf8(package.data(QStringLiteral("mimetype"))).trimmed();
    if (mime != kTextMime && mime != kTemplateMime)
        return nullptr;
    package.setData(QStringLiteral("mimetype"), kTextMime.toUtf8());
    package.storeFirst(QStringLiteral("mimetype"));

    std::unique_ptr<OdfDocument> doc(new OdfDocument(std::move(package)));
    XmlNode *content = doc->part(QStringLiteral("content.xml"));
    if (!content)
        return nullptr;
    XmlNode *root = content->documentElement();
    const QString office = DeclaredPrefix(root, {kOfficeNs});
    if (office.isNull() || !root->isElement(QualifiedName(office, QStringLiteral("document-content"))))
        return nullptr;
    XmlNode *body = root->firstChild(QualifiedName(office, QStringLiteral("body")));
    if (!body || !body->firstChild(QualifiedName(office, QStringLiteral("text"))))
        return nullptr;
    if (doc->m_package.contains(QStringLiteral("styles.xml")) && !doc->part(QStringLiteral("styles.xml")))
        return nullptr;

    // The manifest names the package's type once more, in its entry for "/".
    const QString manifestEntry = QStringLiteral("META-INF/manifest.xml");
    if (doc->m_package.contains(manifestEntry)) {
        XmlNode *manifest = doc->part(manifestEntry);
        if (!manifest)
            return nullptr;
        XmlNode *manifestRoot = manifest->documentElement();
        const QString m = DeclaredPrefix(manifestRoot, {kManifestNs});
        if (!m.isNull()) {
            const QString path = QualifiedName(m, QStringLiteral("full-path"));
            const QString type = QualifiedName(m, QStringLiteral("media-type"));
            for (XmlNode *entry : manifestRoot->descendants(QualifiedName(m, QStringLiteral("file-entry"))))
                if (entry->attribute(path) == QLatin1String("/") && entry->attribute(type) != kTextMime) {
                    entry->setAttribute(type, kTextMime);
                    doc->markChanged(manifestEntry);
                }
        }
    }
    return doc;
}

QStringList OdfDocument::bookmarkParts() const
{
    return {QStringLiteral("content.xml"), QStringLiteral("styles.xml")};
}

XmlNode *OdfDocument::findBookmark(XmlNode *root, const QString &name, Qt::CaseSensitivity cs)
{
    const QString text = DeclaredPrefix(root->documentElement(), {kTextNs});
    if (text.isNull())
        return nullptr;
    const QString point = QualifiedName(text, QStringLiteral("bookmark"));
    const QString start = QualifiedName(text, QStringLiteral("bookmark-start"));
    const QString attr = QualifiedName(text, QStringLiteral("name"));
    return root->find([&](const XmlNode &node) {
        return (node.isElement(point) || node.isElement(start)) && node.attribute(attr).compare(name, cs) == 0;
    });
}

void OdfDocument::placeAt(XmlNode *bookmark)
{
    m_textParent = bookmark->parent();
    m_textAfter = bookmark;
}

void OdfDocument::typeText(const QString &text)
{
    if (!m_bookmark || text.isEmpty())
        return;
    const OdfNames n(part(m_partEntry)->documentElement());
    int at = m_textAfter ? m_textAfter->index() + 1 : 0;
    for (auto &node : odfRuns(n.text, text))
        m_textAfter = m_textParent->insert(at++, std::move(node));
    markChanged(m_partEntry);
}

void OdfDocument::addTable(const WordTable &table)
{
    if (!m_bookmark)
        return;
    XmlNode *root = part(m_partEntry)->documentElement();
    const OdfNames n(root);
    const QString name = unusedTableName(root, n);
    const QString cellStyle = name + QStringLiteral(".Zelle");
    const QString headStyle = name + QStringLiteral(".Kopf");

    double totalWidth = 0;
    for (double w : table.columnWidths)
        totalWidth += w;
    XmlNode *styles = automaticStyles(root, n);
    styles->append(styleElement(n, name, QStringLiteral("table"), QStringLiteral("table-properties"),
                                {{QualifiedName(n.style, QStringLiteral("width")), points(totalWidth)},
                                 {QualifiedName(n.table, QStringLiteral("align")), QStringLiteral("left")}}));
    for (int c = 0; c < table.columnWidths.size(); ++c)
        styles->append(styleElement(n, QStringLiteral("%1.S%2").arg(name).arg(c + 1), QStringLiteral("table-column"),
                                    QStringLiteral("table-column-properties"),
                                    {{QualifiedName(n.style, QStringLiteral("column-width")),
                                      points(table.columnWidths[c])}}));

    // Writer takes no common cell styles, so the template's cell looks are copied
    // into automatic styles; its paragraph styles are parents of the cell paragraphs.
    XmlNode *templateStyles = table.style.isEmpty() ? nullptr : part(QStringLiteral("styles.xml"));
    const QList<XmlNode::Attribute> plainCell = {
        {QualifiedName(n.fo, QStringLiteral("padding")), QStringLiteral("0.05cm")},
        {QualifiedName(n.fo, QStringLiteral("border")), QStringLiteral("0.5pt solid #000000")}};
    const auto cellLook = [&](const QString &styleName, const QString &templateName) {
        const XmlNode *look = commonStyle(templateStyles, QStringLiteral("table-cell"), templateName);
        const XmlNode *properties =
            look ? look->firstChild(QualifiedName(DeclaredPrefix(templateStyles->documentElement(), {kStyleNs}),
                                                  QStringLiteral("table-cell-properties")))
                 : nullptr;
        styles->append(styleElement(
            n, styleName, QStringLiteral("table-cell"), QStringLiteral("table-cell-properties"),
            properties ? attributesFor(properties, templateStyles->documentElement(), root) : plainCell));
    };
    const QString headTemplate = table.style + QStringLiteral("Kopf");
    const QString bodyTemplate = table.style + QStringLiteral("Inhalt");
    cellLook(cellStyle, bodyTemplate);
    cellLook(headStyle, headTemplate);
    const QString boldStyle = name + QStringLiteral(".Fett");
    styles->append(styleElement(n, boldStyle, QStringLiteral("text"), QStringLiteral("text-properties"),
                                {{QualifiedName(n.fo, QStringLiteral("font-weight")), QStringLiteral("bold")},
                                 {QualifiedName(n.style, QStringLiteral("font-weight-asian")), QStringLiteral("bold")},
                                 {QualifiedName(n.style, QStringLiteral("font-weight-complex")), QStringLiteral("bold")}}));
    // One paragraph style per column: its alignment, and the template's font.
    const QString paragraphParent[2] = {
        commonStyle(templateStyles, QStringLiteral("paragraph"), bodyTemplate) ? bodyTemplate : QString(),
        commonStyle(templateStyles, QStringLiteral("paragraph"), headTemplate) ? headTemplate : QString()};
    const auto paragraphStyle = [&](int column, bool header) {
        return QStringLiteral("%1.%2%3").arg(name, header ? QStringLiteral("K") : QStringLiteral("P")).arg(column + 1);
    };
    for (int header = 0; header < 2; ++header)
        for (int c = 0; c < table.columnWidths.size(); ++c) {
            auto style = styleElement(n, paragraphStyle(c, header), QStringLiteral("paragraph"),
                                      QStringLiteral("paragraph-properties"),
                                      {{QualifiedName(n.fo, QStringLiteral("text-align")),
                                        textAlign(table.alignments.value(c, Qt::AlignLeft))}});
            if (!paragraphParent[header].isEmpty())
                style->setAttribute(QualifiedName(n.style, QStringLiteral("parent-style-name")), paragraphParent[header]);
            styles->append(std::move(style));
        }

    const QString styleName = QualifiedName(n.table, QStringLiteral("style-name"));
    auto tableNode = XmlNode::element(QualifiedName(n.table, QStringLiteral("table")),
                                      {{QualifiedName(n.table, QStringLiteral("name")), name}, {styleName, name}});
    for (int c = 0; c < table.columnWidths.size(); ++c)
        tableNode->append(XmlNode::element(QualifiedName(n.table, QStringLiteral("table-column")),
                                           {{styleName, QStringLiteral("%1.S%2").arg(name).arg(c + 1)}}));
    XmlNode *headerRows = nullptr;
    if (table.headerRows > 0)
        headerRows = tableNode->append(XmlNode::element(QualifiedName(n.table, QStringLiteral("table-header-rows"))));
    for (int r = 0; r < table.rows.size(); ++r) {
        const bool header = r < table.headerRows;
        XmlNode *rowParent = header ? headerRows : tableNode.get();
        XmlNode *row = rowParent->append(XmlNode::element(QualifiedName(n.table, QStringLiteral("table-row"))));
        for (int c = 0; c < table.rows[r].size(); ++c) {
            XmlNode *cell = row->append(XmlNode::element(
                QualifiedName(n.table, QStringLiteral("table-cell")),
                {{styleName, header ? headStyle : cellStyle},
                 {QualifiedName(n.office, QStringLiteral("value-type")), QStringLiteral("string")}}));
            XmlNode *paragraph = cell->append(
                XmlNode::element(QualifiedName(n.text, QStringLiteral("p")),
                                 {{QualifiedName(n.text, QStringLiteral("style-name")), paragraphStyle(c, header)}}));
            if (header)
                paragraph = paragraph->append(XmlNode::element(
                    QualifiedName(n.text, QStringLiteral("span")),
                    {{QualifiedName(n.text, QStringLiteral("style-name")), boldStyle}}));
            for (auto &node : odfRuns(n.text, table.rows[r][c]))
                paragraph->append(std::move(node));
        }
    }
    if (!m_tableAfter)
        m_tableAfter = blockOf(m_bookmark, n);
    m_tableAfter = m_tableAfter->insertAfter(std::move(tableNode));
    markChanged(m_partEntry);
}
