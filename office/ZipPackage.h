#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The entries of a zip archive held in memory: word-processor files are small, and
// keeping them in memory lets us check a template completely before a single byte
// of the new document is written.
class ZipPackage
{
public:
    // Reads every entry of the archive. False when the bytes are not a readable zip
    // archive (the package is then empty).
    bool read(const QByteArray &bytes);
    // The archive with the entries in their order; entries that were stored without
    // compression stay so (OpenDocument needs its "mimetype" entry stored). Returns an
    // empty array when the archive cannot be built.
    QByteArray write() const;

    QStringList names() const;
    // Entry names compare without regard to case, as Office Open XML part names do.
    bool contains(const QString &name) const;
    QByteArray data(const QString &name) const;
    // Replaces the data of an entry, or adds a compressed entry at the end.
    void setData(const QString &name, const QByteArray &data);
    // Moves an entry to the front of the archive and stores it uncompressed.
    void storeFirst(const QString &name);

private:
    struct Entry
    {
        QString name;
        QByteArray data;
        QDateTime modified;
        quint32 externalAttributes = 0;
        bool stored = false; // no compression
    };
    qsizetype find(const QString &name) const;

    QList<Entry> m_entries;
};
