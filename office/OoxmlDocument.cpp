#include "OoxmlDocument.h"

#include <QDir>
#include <QFileInfo>


namespace {

const QString kWordNs = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kWordStrictNs = QStringLiteral("http://purl.oclc.org/ooxml/wordprocessingml/main");

const QString kDocumentType =
    QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml");
const QString kTemplateType =
    QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml");

const QString kContentTypes = QStringLiteral("[Content_Types].xml");

QString wordPrefix(const XmlNode *root)
{
    return DeclaredPrefix(root, {kWordNs, kWordStrictNs});
}

// Relationship parts, read without regard to prefixes: they use the default namespace.
struct Relationship
{
    QString type;
    QString target; // entry name in the package
};

QString relationshipsEntry(const QString &sourcePart)
{
    if (sourcePart.isEmpty())
        return QStringLiteral("_rels/.rels");
    const QFileInfo info(sourcePart);
    const QString dir = info.path() == QLatin1String(".") ? QString() : info.path() + QLatin1Char('/');
    return dir + QStringLiteral("_rels/") + info.fileName() + QStringLiteral(".rels");
}

QString resolveTarget(const QString &sourcePart, const QString &target)
{
    if (target.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(target.mid(1));
    const QString dir = QFileInfo(sourcePart).path();
    if (sourcePart.isEmpty() || dir == QLatin1String("."))
        return QDir::cleanPath(target);
    return QDir::cleanPath(dir + QLatin1Char('/') + target);
}

QString typeSuffix(const QString &type)
{
    return type.mid(type.lastIndexOf(QLatin1Char('/')) + 1);
}

QList<XmlNode *> childrenNamed(XmlNode *parent, const QString &localName)
{
    QList<XmlNode *> out;
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->isElement() && parent->child(i)->localName() == localName)
            out << parent->child(i);
    return out;
}

void removeChildren(XmlNode *parent, const QStringList &qualifiedNames)
{
    for (int i = parent->childCount() - 1; i >= 0; --i)
        if (parent->child(i)->isElement() && qualifiedNames.contains(parent->child(i)->name()))
            parent->take(i);
}

// Makes run properties bold; <w:b/> has its fixed place after the style and fonts.
void makeBold(XmlNode *rPr, const QString &w)
{
    const QString b = QualifiedName(w, QStringLiteral("b"));
    removeChildren(rPr, {b});
    int at = 0;
    while (at < rPr->childCount()
           && (rPr->child(at)->isElement(QualifiedName(w, QStringLiteral("rStyle")))
               || rPr->child(at)->isElement(QualifiedName(w, QStringLiteral("rFonts")))
               || !rPr->child(at)->isElement()))
        ++at;
    rPr->insert(at, XmlNode::element(b));
}

// A run with text: line ends become <w:br/>, tabs <w:tab/>.
std::unique_ptr<XmlNode> makeRun(const QString &w, const QString &input, const XmlNode *properties, bool bold)
{
    auto run = XmlNode::element(QualifiedName(w, QStringLiteral("r")));
    if (properties || bold) {
        XmlNode *rPr = run->append(properties ? properties->clone()
                                              : XmlNode::element(QualifiedName(w, QStringLiteral("rPr"))));
        if (bold)
            makeBold(rPr, w);
    }
    const QString text = XmlSafeText(input);
    QString pending;
    const auto flush = [&] {
        if (pending.isEmpty())
            return;
        XmlNode *t = run->append(XmlNode::element(QualifiedName(w, QStringLiteral("t")),
                                                  {{QStringLiteral("xml:space"), QStringLiteral("preserve")}}));
        t->append(XmlNode::textNode(pending));
        pending.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            flush();
            run->append(XmlNode::element(QualifiedName(w, QStringLiteral("br"))));
        } else if (c == QLatin1Char('\t')) {
            flush();
            run->append(XmlNode::element(QualifiedName(w, QStringLiteral("tab"))));
        } else {
            pending += c;
        }
    }
    flush();
    return run;
}

QString twips(double pointsValue)
{
    return QString::number(qRound64(pointsValue * 20));
}

std::unique_ptr<XmlNode> border(const QString &w, const QString &side)
{
    return XmlNode::element(QualifiedName(w, side), {{QualifiedName(w, QStringLiteral("val")), QStringLiteral("single")},
                                                     {QualifiedName(w, QStringLiteral("sz")), QStringLiteral("4")},
                                                     {QualifiedName(w, QStringLiteral("space")), QStringLiteral("0")},
                                                     {QualifiedName(w, QStringLiteral("color")), QStringLiteral("auto")}});
}

} // namespace

OoxmlDocument::OoxmlDocument(ZipPackage package)
    : WordDocument(std::move(package))
{
}

std::unique_ptr<OoxmlDocument> OoxmlDocument::fromTemplate(ZipPackage package)
{
    std::unique_ptr<OoxmlDocument> doc(new OoxmlDocument(std::move(package)));

    // The package relationships name the main part.
    XmlNode *rels = doc->part(relationshipsEntry(QString()));
    if (!rels)
        return nullptr;
    for (XmlNode *rel : childrenNamed(rels->documentElement(), QStringLiteral("Relationship")))
        if (typeSuffix(rel->attribute(QStringLiteral("Type"))) == QLatin1String("officeDocument")
            && rel->attribute(QStringLiteral("TargetMode")) != QLatin1String("External")) {
            doc->m_mainPart = resolveTarget(QString(), rel->attribute(QStringLiteral("Target")));
            break;
        }
    if (doc->m_mainPart.isEmpty())
        return nullptr;

    // Its content type says template or document; the new file must say document,
    // or Word refuses a .docx that holds a template.
    XmlNode *types = doc->part(kContentTypes);
    if (!types)
        return nullptr;
    XmlNode *typesRoot = types->documentElement();
    const QString partName = QLatin1Char('/') + doc->m_mainPart;
    XmlNode *override = nullptr;
    for (XmlNode *o : childrenNamed(typesRoot, QStringLiteral("Override")))
        if (o->attribute(QStringLiteral("PartName")).compare(partName, Qt::CaseInsensitive) == 0)
            override = o;
    QString type;
    if (override) {
        type = override->attribute(QStringLiteral("ContentType"));
    } else {
        const QString extension = QFileInfo(doc->m_mainPart).suffix();
        for (XmlNode *d : childrenNamed(typesRoot, QStringLiteral("Default")))
            if (d->attribute(QStringLiteral("Extension")).compare(extension, Qt::CaseInsensitive) == 0)
                type = d->attribute(QStringLiteral("ContentType"));
    }
    if (type != kDocumentType && type != kTemplateType)
        return nullptr;
    if (type == kTemplateType) {
        if (!override) {
            // the type came from a default for all ".xml" parts: give the main part its own
            const QString prefix = typesRoot->name().contains(QLatin1Char(':'))
                                       ? typesRoot->name().section(QLatin1Char(':'), 0, 0)
                                       : QString();
            override = typesRoot->append(XmlNode::element(QualifiedName(prefix, QStringLiteral("Override")),
                                                          {{QStringLiteral("PartName"), partName}}));
        }
        override->setAttribute(QStringLiteral("ContentType"), kDocumentType);
        doc->markChanged(kContentTypes);
    }

    XmlNode *main = doc->part(doc->m_mainPart);
    if (!main)
        return nullptr;
    XmlNode *root = main->documentElement();
    const QString w = wordPrefix(root);
    if (w.isNull() || !root->isElement(QualifiedName(w, QStringLiteral("document")))
        || !root->firstChild(QualifiedName(w, QStringLiteral("body"))))
        return nullptr;

    // Headers and footers may carry bookmarks too (the sender line, for one).
    if (XmlNode *mainRels = doc->part(relationshipsEntry(doc->m_mainPart))) {
        for (XmlNode *rel : childrenNamed(mainRels->documentElement(), QStringLiteral("Relationship"))) {
            const QString suffix = typeSuffix(rel->attribute(QStringLiteral("Type")));
            if (rel->attribute(QStringLiteral("TargetMode")) == QLatin1String("External"))
                continue;
            const QString target = resolveTarget(doc->m_mainPart, rel->attribute(QStringLiteral("Target")));
            if (suffix == QLatin1String("header") || suffix == QLatin1String("footer"))
                doc->m_headerFooterParts << target;
            else if (suffix == QLatin1String("styles"))
                doc->m_stylesPart = target;
        }
    }
    return doc;
}

QStringList OoxmlDocument::bookmarkParts() const
{
    return QStringList{m_mainPart} + m_headerFooterParts;
}

XmlNode *OoxmlDocument::findBookmark(XmlNode *root, const QString &name, Qt::CaseSensitivity cs)
{
    const QString w = wordPrefix(root->documentElement());
    if (w.isNull())
        return nullptr;
    const QString start = QualifiedName(w, QStringLiteral("bookmarkStart"));
    const QString attr = QualifiedName(w, QStringLiteral("name"));
    return root->find([&](const XmlNode &node) {
        return node.isElement(start) && node.attribute(attr).compare(name, cs) == 0;
    });
}

void OoxmlDocument::placeAt(XmlNode *bookmark)
{
    const QString w = wordPrefix(part(m_partEntry)->documentElement());
    const QString p = QualifiedName(w, QStringLiteral("p"));
    if (bookmark->ancestor(p)) {
        m_textParent = bookmark->parent();
        m_textAfter = bookmark;
        return;
    }
    // A bookmark between paragraphs: its text goes to the start of the next one.
    for (XmlNode *s = bookmark->nextSibling(); s; s = s->nextSibling()) {
        if (!s->isElement() || s->localName().startsWith(QLatin1String("bookmark")))
            continue;
        if (s->isElement(p)) {
            m_textParent = s;
            m_textAfter = s->firstChild(QualifiedName(w, QStringLiteral("pPr")));
        }
        break;
    }
}

std::unique_ptr<XmlNode> OoxmlDocument::neighbourRunProperties(const QString &w) const
{
    if (!m_textParent)
        return nullptr;
    const QString r = QualifiedName(w, QStringLiteral("r"));
    const QString rPr = QualifiedName(w, QStringLiteral("rPr"));
    // Like Word: the run before the position decides, else the run behind it (a run
    // without properties means plain text), else the paragraph mark.
    const int at = m_textAfter ? m_textAfter->index() + 1 : 0;
    const XmlNode *neighbour = nullptr;
    for (int i = at - 1; i >= 0 && !neighbour; --i)
        if (m_textParent->child(i)->isElement(r))
            neighbour = m_textParent->child(i);
    for (int i = at; i < m_textParent->childCount() && !neighbour; ++i)
        if (m_textParent->child(i)->isElement(r))
            neighbour = m_textParent->child(i);
    const XmlNode *found = neighbour ? neighbour->firstChild(rPr) : nullptr;
    if (!neighbour) {
        // an empty paragraph: Word types with the properties of its paragraph mark
        const QString p = QualifiedName(w, QStringLiteral("p"));
        const XmlNode *paragraph = m_textParent->isElement(p) ? m_textParent : m_textParent->ancestor(p);
        if (paragraph)
            if (const XmlNode *pPr = paragraph->firstChild(QualifiedName(w, QStringLiteral("pPr"))))
                found = pPr->firstChild(rPr);
    }
    if (!found)
        return nullptr;
    auto copy = found->clone();
    // revision marks belong to the neighbour, not to our text
    removeChildren(copy.get(), {QualifiedName(w, QStringLiteral("rPrChange")), QualifiedName(w, QStringLiteral("ins")),
                                QualifiedName(w, QStringLiteral("del")), QualifiedName(w, QStringLiteral("moveFrom")),
                                QualifiedName(w, QStringLiteral("moveTo"))});
    return copy;
}

void OoxmlDocument::typeText(const QString &text)
{
    if (!m_bookmark || text.isEmpty())
        return;
    const QString w = wordPrefix(part(m_partEntry)->documentElement());
    if (!m_textParent) {
        // nothing to type into behind a bookmark between blocks: start a paragraph there
        m_textParent = m_bookmark->insertAfter(XmlNode::element(QualifiedName(w, QStringLiteral("p"))));
        m_textAfter = nullptr;
    }
    const std::unique_ptr<XmlNode> properties = neighbourRunProperties(w);
    const int at = m_textAfter ? m_textAfter->index() + 1 : 0;
    m_textAfter = m_textParent->insert(at, makeRun(w, text, properties.get(), false));
    markChanged(m_partEntry);
}

QString OoxmlDocument::tableStyleId(const QString &name)
{
    if (name.isEmpty() || m_stylesPart.isEmpty())
        return QString();
    XmlNode *styles = part(m_stylesPart);
    if (!styles)
        return QString();
    const QString w = wordPrefix(styles->documentElement());
    if (w.isNull())
        return QString();
    const QString id = QualifiedName(w, QStringLiteral("styleId"));
    const QString val = QualifiedName(w, QStringLiteral("val"));
    XmlNode *found = styles->find([&](const XmlNode &n) {
        if (!n.isElement(QualifiedName(w, QStringLiteral("style")))
            || n.attribute(QualifiedName(w, QStringLiteral("type"))) != QLatin1String("table"))
            return false;
        const XmlNode *shown = n.firstChild(QualifiedName(w, QStringLiteral("name")));
        return n.attribute(id) == name || (shown && shown->attribute(val) == name);
    });
    return found ? found->attribute(id) : QString();
}

void OoxmlDocument::addTable(const WordTable &table)
{
    if (!m_bookmark)
        return;
    const QString w = wordPrefix(part(m_partEntry)->documentElement());
    const auto q = [&w](const char *local) { return QualifiedName(w, QLatin1String(local)); };
    const QString val = q("val");
    const QString width = q("w");
    const QString type = q("type");
    const QString styleId = tableStyleId(table.style);
    // A table style of the template decides the look of the text too; otherwise the
    // cells write like the text around the bookmark.
    const std::unique_ptr<XmlNode> properties = styleId.isEmpty() ? neighbourRunProperties(w) : nullptr;

    double total = 0;
    for (double c : table.columnWidths)
        total += c;
    auto tbl = XmlNode::element(q("tbl"));
    XmlNode *tblPr = tbl->append(XmlNode::element(q("tblPr")));
    if (!styleId.isEmpty())
        tblPr->append(XmlNode::element(q("tblStyle"), {{val, styleId}}));
    tblPr->append(XmlNode::element(q("tblW"), {{width, twips(total)}, {type, QStringLiteral("dxa")}}));
    if (styleId.isEmpty()) {
        XmlNode *borders = tblPr->append(XmlNode::element(q("tblBorders")));
        for (const char *side : {"top", "left", "bottom", "right", "insideH", "insideV"})
            borders->append(border(w, QLatin1String(side)));
    }
    tblPr->append(XmlNode::element(q("tblLayout"), {{type, QStringLiteral("fixed")}}));
    if (!styleId.isEmpty())
        // the style's heading-row and row-band formatting apply, the column ones not
        tblPr->append(XmlNode::element(q("tblLook"), {{val, QStringLiteral("04A0")},
                                                      {q("firstRow"), QStringLiteral("1")},
                                                      {q("lastRow"), QStringLiteral("0")},
                                                      {q("firstColumn"), QStringLiteral("0")},
                                                      {q("lastColumn"), QStringLiteral("0")},
                                                      {q("noHBand"), QStringLiteral("0")},
                                                      {q("noVBand"), QStringLiteral("1")}}));
    XmlNode *grid = tbl->append(XmlNode::element(q("tblGrid")));
    for (double c : table.columnWidths)
        grid->append(XmlNode::element(q("gridCol"), {{width, twips(c)}}));

    for (int r = 0; r < table.rows.size(); ++r) {
        const bool header = r < table.headerRows;
        XmlNode *tr = tbl->append(XmlNode::element(q("tr")));
        if (header)
            tr->append(XmlNode::element(q("trPr")))->append(XmlNode::element(q("tblHeader")));
        for (int c = 0; c < table.rows[r].size(); ++c) {
            XmlNode *tc = tr->append(XmlNode::element(q("tc")));
            tc->append(XmlNode::element(q("tcPr")))
                ->append(XmlNode::element(q("tcW"), {{width, twips(table.columnWidths.value(c))}, {type, QStringLiteral("dxa")}}));
            XmlNode *p = tc->append(XmlNode::element(q("p")));
            XmlNode *pPr = p->append(XmlNode::element(q("pPr")));
            // the body text's spacing after paragraphs would make every row tall
            pPr->append(XmlNode::element(q("spacing"), {{q("before"), QStringLiteral("0")}, {q("after"), QStringLiteral("0")}}));
            const Qt::Alignment align = table.alignments.value(c, Qt::AlignLeft);
            if (align & (Qt::AlignRight | Qt::AlignHCenter))
                pPr->append(XmlNode::element(
                    q("jc"), {{val, align & Qt::AlignRight ? QStringLiteral("right") : QStringLiteral("center")}}));
            if (!table.rows[r][c].isEmpty())
                p->append(makeRun(w, table.rows[r][c], properties.get(), header));
        }
    }

    if (!m_tableAfter) {
        XmlNode *paragraph = m_bookmark->ancestor(q("p"));
        m_tableAfter = paragraph ? paragraph : m_bookmark;
    }
    // Two tables in a row would melt into one.
    if (m_tableAfter->isElement(q("tbl")))
        m_tableAfter = m_tableAfter->insertAfter(XmlNode::element(q("p")));
    XmlNode *inserted = m_tableAfter->insertAfter(std::move(tbl));
    // A table cell, like the body, must end with a paragraph, and the body's section
    // properties must follow one.
    XmlNode *next = inserted->nextSibling();
    while (next && (!next->isElement() || next->localName().startsWith(QLatin1String("bookmark"))))
        next = next->nextSibling();
    if (!next || !next->isElement(q("p")))
        inserted->insertAfter(XmlNode::element(q("p")));
    m_tableAfter = inserted;
    markChanged(m_partEntry);
}
