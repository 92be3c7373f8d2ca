#include "XmlTree.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

XmlNode::XmlNode(Kind kind, QString name, QString text)
    : m_kind(kind), m_name(std::move(name)), m_text(std::move(text))
{
}

XmlNode::~XmlNode() = default;

std::unique_ptr<XmlNode> XmlNode::element(const QString &qualifiedName, const QList<Attribute> &attributes)
{
    auto node = std::make_unique<XmlNode>(Kind::Element, qualifiedName);
    node->m_attributes = attributes;
    return node;
}

std::unique_ptr<XmlNode> XmlNode::textNode(const QString &text)
{
    return std::make_unique<XmlNode>(Kind::Text, QString(), text);
}

std::unique_ptr<XmlNode> XmlNode::parse(const QByteArray &xml, QString *error)
{
    auto document = std::make_unique<XmlNode>(Kind::Document);
    QXmlStreamReader reader(xml);
    reader.setNamespaceProcessing(false);
    XmlNode *current = document.get();
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
            document->m_version = reader.documentVersion().toString();
            document->m_standalone = reader.isStandaloneDocument();
            break;
        case QXmlStreamReader::DTD:
            current->append(std::make_unique<XmlNode>(Kind::Dtd, QString(), reader.text().toString()));
            break;
        case QXmlStreamReader::StartElement: {
            QList<Attribute> attributes;
            const QXmlStreamAttributes read = reader.attributes();
            attributes.reserve(read.size());
            for (const QXmlStreamAttribute &a : read)
                attributes.append({a.qualifiedName().toString(), a.value().toString()});
            current = current->append(element(reader.qualifiedName().toString(), attributes));
            break;
        }
        case QXmlStreamReader::EndElement:
            current = current->parent();
            break;
        case QXmlStreamReader::Characters:
            if (reader.isCDATA()) {
                current->append(std::make_unique<XmlNode>(Kind::CData, QString(), reader.text().toString()));
            } else if (current->childCount() > 0 && current->child(current->childCount() - 1)->kind() == Kind::Text) {
                // the reader may hand one text over in pieces
                current->child(current->childCount() - 1)->m_text += reader.text();
            } else {
                current->append(textNode(reader.text().toString()));
            }
            break;
        case QXmlStreamReader::Comment:
            current->append(std::make_unique<XmlNode>(Kind::Comment, QString(), reader.text().toString()));
            break;
        case QXmlStreamReader::ProcessingInstruction:
            current->append(std::make_unique<XmlNode>(Kind::ProcessingInstruction,
                                                      reader.processingInstructionTarget().toString(),
                                                      reader.processingInstructionData().toString()));
            break;
        case QXmlStreamReader::EntityReference:
            // only the predefined entities are known to us; anything else would be lost
            if (error)
                *error = QStringLiteral("unbekannte Entität &%1;").arg(reader.name());
            return nullptr;
        default:
            break;
        }
    }
    if (reader.hasError() || !document->documentElement()) {
        if (error)
            *error = reader.hasError() ? reader.errorString() : QStringLiteral("kein Wurzelelement");
        return nullptr;
    }
    return document;
}

namespace {

void writeNode(QXmlStreamWriter &w, const XmlNode &node)
{
    switch (node.kind()) {
    case XmlNode::Kind::Document:
        for (int i = 0; i < node.childCount(); ++i)
            writeNode(w, *node.child(i));
        break;
    case XmlNode::Kind::Element:
        w.writeStartElement(node.name());
        for (const XmlNode::Attribute &a : node.attributes())
            w.writeAttribute(a.name, a.value);
        for (int i = 0; i < node.childCount(); ++i)
            writeNode(w, *node.child(i));
        w.writeEndElement();
        break;
    case XmlNode::Kind::Text:
        w.writeCharacters(node.text());
        break;
    case XmlNode::Kind::CData:
        w.writeCDATA(node.text());
        break;
    case XmlNode::Kind::Comment:
        w.writeComment(node.text());
        break;
    case XmlNode::Kind::ProcessingInstruction:
        w.writeProcessingInstruction(node.name(), node.text());
        break;
    case XmlNode::Kind::Dtd:
        w.writeDTD(node.text());
        break;
    }
}

} // namespace

QByteArray XmlNode::serialize() const
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(false);
    const QString version = m_version.isEmpty() ? QStringLiteral("1.0") : m_version;
    if (m_standalone)
        w.writeStartDocument(version, true);
    else
        w.writeStartDocument(version);
    writeNode(w, *this);
    w.writeEndDocument();
    return out;
}

QString XmlNode::localName() const
{
    const qsizetype colon = m_name.indexOf(QLatin1Char(':'));
    return colon < 0 ? m_name : m_name.mid(colon + 1);
}

bool XmlNode::hasAttribute(const QString &name) const
{
    for (const Attribute &a : m_attributes)
        if (a.name == name)
            return true;
    return false;
}

QString XmlNode::attribute(const QString &name, const QString &fallback) const
{
    for (const Attribute &a : m_attributes)
        if (a.name == name)
            return a.value;
    return fallback;
}

void XmlNode::setAttribute(const QString &name, const QString &value)
{
    for (Attribute &a : m_attributes)
        if (a.name == name) {
            a.value = value;
            return;
        }
    m_attributes.append({name, value});
}

int XmlNode::indexOf(const XmlNode *child) const
{
    for (size_t i = 0; i < m_children.size(); ++i)
        if (m_children[i].get() == child)
            return int(i);
    return -1;
}

int XmlNode::index() const
{
    return m_parent ? m_parent->indexOf(this) : -1;
}

XmlNode *XmlNode::nextSibling() const
{
    const int i = index();
    return i >= 0 && i + 1 < m_parent->childCount() ? m_parent->child(i + 1) : nullptr;
}

XmlNode *XmlNode::previousSibling() const
{
    const int i = index();
    return i > 0 ? m_parent->child(i - 1) : nullptr;
}

XmlNode *XmlNode::insert(int index, std::unique_ptr<XmlNode> child)
{
    child->m_parent = this;
    XmlNode *raw = child.get();
    m_children.insert(m_children.begin() + index, std::move(child));
    return raw;
}

XmlNode *XmlNode::append(std::unique_ptr<XmlNode> child)
{
    return insert(childCount(), std::move(child));
}

XmlNode *XmlNode::insertAfter(std::unique_ptr<XmlNode> node)
{
    return m_parent->insert(index() + 1, std::move(node));
}

std::unique_ptr<XmlNode> XmlNode::take(int index)
{
    std::unique_ptr<XmlNode> child = std::move(m_children[size_t(index)]);
    m_children.erase(m_children.begin() + index);
    child->m_parent = nullptr;
    return child;
}

std::unique_ptr<XmlNode> XmlNode::clone() const
{
    auto copy = std::make_unique<XmlNode>(m_kind, m_name, m_text);
    copy->m_attributes = m_attributes;
    copy->m_version = m_version;
    copy->m_standalone = m_standalone;
    for (const auto &c : m_children)
        copy->append(c->clone());
    return copy;
}

XmlNode *XmlNode::firstChild(const QString &qualifiedName) const
{
    for (const auto &c : m_children)
        if (c->isElement(qualifiedName))
            return c.get();
    return nullptr;
}

XmlNode *XmlNode::ancestor(const QString &qualifiedName) const
{
    for (XmlNode *p = m_parent; p; p = p->m_parent)
        if (p->isElement(qualifiedName))
            return p;
    return nullptr;
}

XmlNode *XmlNode::find(const std::function<bool(const XmlNode &)> &visit)
{
    if (visit(*this))
        return this;
    for (const auto &c : m_children)
        if (XmlNode *hit = c->find(visit))
            return hit;
    return nullptr;
}

QList<XmlNode *> XmlNode::descendants(const QString &qualifiedName)
{
    QList<XmlNode *> out;
    find([&](const XmlNode &n) {
        if (n.isElement(qualifiedName))
            out.append(const_cast<XmlNode *>(&n));
        return false;
    });
    return out;
}

QString XmlNode::textContent() const
{
    if (m_kind == Kind::Text || m_kind == Kind::CData)
        return m_text;
    QString out;
    for (const auto &c : m_children)
        if (c->m_kind != Kind::Comment && c->m_kind != Kind::ProcessingInstruction)
            out += c->textContent();
    return out;
}

XmlNode *XmlNode::documentElement() const
{
    for (const auto &c : m_children)
        if (c->isElement())
            return c.get();
    return nullptr;
}

QString DeclaredPrefix(const XmlNode *root, const QStringList &namespaceUris)
{
    for (const XmlNode::Attribute &a : root->attributes()) {
        if (!namespaceUris.contains(a.value))
            continue;
        if (a.name == QLatin1String("xmlns"))
            return QLatin1String("");
        if (a.name.startsWith(QLatin1String("xmlns:")))
            return a.name.mid(6);
    }
    return QString();
}

QString NamespacePrefix(XmlNode *root, const QString &namespaceUri, const QString &preferredPrefix)
{
    const QString declared = DeclaredPrefix(root, {namespaceUri});
    if (!declared.isNull())
        return declared;
    root->setAttribute(QStringLiteral("xmlns:") + preferredPrefix, namespaceUri);
    return preferredPrefix;
}

QString QualifiedName(const QString &prefix, const QString &local)
{
    return prefix.isEmpty() ? local : prefix + QLatin1Char(':') + local;
}

QString XmlSafeText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
            continue;
        }
        const char16_t u = c.unicode();
        const bool allowed = u == u'\t' || u == u'\n' || u == u'\r'
                             || (u >= 0x20 && !c.isSurrogate() && u != 0xFFFE && u != 0xFFFF);
        if (allowed)
            out += c;
    }
    return out;
}
