#include "WordDocument.h"

WordDocument::WordDocument(ZipPackage package)
    : m_package(std::move(package))
{
}

WordDocument::~WordDocument() = default;

XmlNode *WordDocument::part(const QString &entry)
{
    auto it = m_parts.find(entry);
    if (it != m_parts.end())
        return it->second.get();
    if (!m_package.contains(entry))
        return nullptr;
    std::unique_ptr<XmlNode> parsed = XmlNode::parse(m_package.data(entry));
    if (!parsed)
        return nullptr;
    return m_parts.emplace(entry, std::move(parsed)).first->second.get();
}

bool WordDocument::goToBookmark(const QString &name)
{
    m_bookmark = nullptr;
    m_textParent = m_textAfter = m_tableAfter = nullptr;
    m_partEntry.clear();
    if (name.isEmpty())
        return false;
    for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (const QString &entry : bookmarkParts()) {
            XmlNode *root = part(entry);
            if (!root)
                continue;
            if (XmlNode *bookmark = findBookmark(root, name, cs)) {
                m_bookmark = bookmark;
                m_partEntry = entry;
                placeAt(bookmark);
                return true;
            }
        }
    }
    return false;
}

QByteArray WordDocument::save()
{
    for (const QString &entry : std::as_const(m_changed))
        if (XmlNode *root = part(entry))
            m_package.setData(entry, root->serialize());
    return m_package.write();
}
