#include "ZipPackage.h"

#include <QBuffer>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>
#include <quazip/quazipnewinfo.h>

bool ZipPackage::read(const QByteArray &bytes)
{
    m_entries.clear();
    const auto fail = [this] {
        m_entries.clear();
        return false;
    };
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip))
        return false;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info))
            return fail();
        Entry entry;
        entry.name = info.name;
        entry.modified = info.dateTime;
        entry.externalAttributes = info.externalAttr;
        entry.stored = info.method == 0;
        if (!info.name.endsWith(QLatin1Char('/'))) {
            QuaZipFile file(&zip);
            if (!file.open(QIODevice::ReadOnly))
                return fail();
            entry.data = file.readAll();
            file.close();
            // a damaged entry shows as a CRC error on close
            if (file.getZipError() != UNZ_OK || quint64(entry.data.size()) != info.uncompressedSize)
                return fail();
        }
        m_entries.append(entry);
    }
    const bool ok = zip.getZipError() == UNZ_OK;
    zip.close();
    return ok || fail();
}

QByteArray ZipPackage::write() const
{
    QByteArray out;
    {
        QBuffer buffer(&out);
        QuaZip zip(&buffer);
        zip.setUtf8Enabled(true);
        // the buffer is seekable, so the sizes go into the local headers; strict
        // OpenDocument readers want no data descriptor behind "mimetype"
        zip.setDataDescriptorWritingEnabled(false);
        if (!zip.open(QuaZip::mdCreate))
            return {};
        for (const Entry &entry : m_entries) {
            QuaZipNewInfo info(entry.name);
            if (entry.modified.isValid())
                info.dateTime = entry.modified;
            info.externalAttr = entry.externalAttributes;
            QuaZipFile file(&zip);
            const int method = entry.stored ? 0 : Z_DEFLATED;
            const int level = entry.stored ? 0 : Z_DEFAULT_COMPRESSION;
            if (!file.open(QIODevice::WriteOnly, info, nullptr, 0, method, level))
                return {};
            if (!entry.data.isEmpty() && file.write(entry.data) != entry.data.size())
                return {};
            file.close();
            if (file.getZipError() != ZIP_OK)
                return {};
        }
        zip.close();
        if (zip.getZipError() != ZIP_OK)
            return {};
    }
    return out;
}

QStringList ZipPackage::names() const
{
    QStringList out;
    for (const Entry &e : m_entries)
        out << e.name;
    return out;
}

qsizetype ZipPackage::find(const QString &name) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool ZipPackage::contains(const QString &name) const
{
    return find(name) >= 0;
}

QByteArray ZipPackage::data(const QString &name) const
{
    const qsizetype i = find(name);
    return i < 0 ? QByteArray() : m_entries[i].data;
}

void ZipPackage::setData(const QString &name, const QByteArray &data)
{
    const qsizetype i = find(name);
    if (i >= 0) {
        m_entries[i].data = data;
        return;
    }
    Entry entry;
    entry.name = name;
    entry.data = data;
    entry.modified = QDateTime::currentDateTime();
    m_entries.append(entry);
}

void ZipPackage::storeFirst(const QString &name)
{
    const qsizetype i = find(name);
    if (i < 0)
        return;
    Entry entry = m_entries.takeAt(i);
    entry.stored = true;
    m_entries.prepend(entry);
}
