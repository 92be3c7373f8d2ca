#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

// A small element tree for the XML parts of word-processor files.
//
// QDomDocument (Qt 6.4) drops text nodes that hold only blanks, yet a run of
// <w:t xml:space="preserve"> </w:t> or a <text:span> </text:span> is real content:
// the blank between two words. This tree keeps every character of text, and it keeps
// qualified names and namespace declarations exactly as the file spells them (no
// namespace processing), so a part that is read and written back differs only where
// we changed it. Word refers to prefixes by name (mc:Ignorable="w14"), which a
// namespace-aware round trip could break.
class XmlNode
{
public:
    enum class Kind { Document, Element, Text, CData, Comment, ProcessingInstruction, Dtd };

    struct Attribute
    {
        QString name;
        QString value;
    };

    explicit XmlNode(Kind kind, QString name = {}, QString text = {});
    ~XmlNode();
    XmlNode(const XmlNode &) = delete;
    XmlNode &operator=(const XmlNode &) = delete;

    static std::unique_ptr<XmlNode> element(const QString &qualifiedName, const QList<Attribute> &attributes = {});
    static std::unique_ptr<XmlNode> textNode(const QString &text);

    // Parses a whole part. Returns null and sets error when the bytes are not
    // well-formed XML.
    static std::unique_ptr<XmlNode> parse(const QByteArray &xml, QString *error = nullptr);
    // Writes a document node back as UTF-8, without adding any whitespace.
    QByteArray serialize() const;

    Kind kind() const { return m_kind; }
    bool isElement() const { return m_kind == Kind::Element; }
    bool isElement(const QString &qualifiedName) const { return isElement() && m_name == qualifiedName; }
    // Qualified name of an element, target of a processing instruction.
    const QString &name() const { return m_name; }
    // The name without its prefix.
    QString localName() const;
    // Characters of a text, CDATA or comment node, data of a processing instruction.
    const QString &text() const { return m_text; }
    XmlNode *parent() const { return m_parent; }

    const QList<Attribute> &attributes() const { return m_attributes; }
    bool hasAttribute(const QString &name) const;
    QString attribute(const QString &name, const QString &fallback = {}) const;
    void setAttribute(const QString &name, const QString &value);

    int childCount() const { return int(m_children.size()); }
    XmlNode *child(int index) const { return m_children[size_t(index)].get(); }
    int indexOf(const XmlNode *child) const;
    // Position among the parent's children, -1 without a parent.
    int index() const;
    XmlNode *nextSibling() const;
    XmlNode *previousSibling() const;
    XmlNode *insert(int index, std::unique_ptr<XmlNode> child);
    XmlNode *append(std::unique_ptr<XmlNode> child);
    // Inserts node right after this one in its parent.
    XmlNode *insertAfter(std::unique_ptr<XmlNode> node);
    std::unique_ptr<XmlNode> take(int index);
    std::unique_ptr<XmlNode> clone() const;

    // The first child element with that qualified name.
    XmlNode *firstChild(const QString &qualifiedName) const;
    // The nearest enclosing element with that qualified name.
    XmlNode *ancestor(const QString &qualifiedName) const;
    // This node and all nodes below it, depth first in document order, until visit
    // returns true; returns the node it stopped at.
    XmlNode *find(const std::function<bool(const XmlNode &)> &visit);
    QList<XmlNode *> descendants(const QString &qualifiedName);
    // All text below this node, concatenated.
    QString textContent() const;

    // The root element of a document node.
    XmlNode *documentElement() const;

private:
    Kind m_kind;
    QString m_name;
    QString m_text;
    QList<Attribute> m_attributes;
    std::vector<std::unique_ptr<XmlNode>> m_children;
    XmlNode *m_parent = nullptr;
    // XML declaration of a document node
    QString m_version;
    bool m_standalone = false;
};

// The prefix that the root element binds to namespaceUri (empty for the default
// namespace). When the part does not declare it, declares preferredPrefix on the root
// and returns that.
QString NamespacePrefix(XmlNode *root, const QString &namespaceUri, const QString &preferredPrefix);
// The prefix bound to one of the given namespaces, or a null string when none is declared.
QString DeclaredPrefix(const XmlNode *root, const QStringList &namespaceUris);
// "prefix:local", or "local" for an empty prefix.
QString QualifiedName(const QString &prefix, const QString &local);
// Text with the characters that XML 1.0 cannot carry (control characters other than
// tab and line ends, unpaired surrogates, U+FFFE/U+FFFF) removed.
QString XmlSafeText(const QString &text);
