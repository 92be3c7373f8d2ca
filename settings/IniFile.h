#pragma once

#include <QString>
#include <QStringList>

// A text file of sections in square brackets, each followed by key=value lines.
// Every access opens the file, reads or writes one value and closes it again, so
// changes made by another window or program are seen at once. Section and key
// names are compared without regard to case. Missing files, sections and keys read
// as the default; a failed write throws OrvellaError with a German message.
class IniFile
{
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    QString readString(const QString &section, const QString &key, const QString &fallback = {}) const;
    // A value that is missing or not a whole number gives the fallback.
    int readInteger(const QString &section, const QString &key, int fallback) const;
    bool readBool(const QString &section, const QString &key, bool fallback) const;
    bool valueExists(const QString &section, const QString &key) const;
    bool sectionExists(const QString &section) const;
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    void deleteKey(const QString &section, const QString &key);
    void eraseSection(const QString &section);

private:
    QStringList readLines() const;
    void writeLines(const QStringList &lines);

    QString m_path;
};
