#include "IniFile.h"

#include "FileModes.h"

#include "Errors.h"

#include <QFile>
#include <QSaveFile>

namespace {

bool isSectionLine(const QString &line, QString *name = nullptr)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        return false;
    if (name)
        *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

// The key of a "key=value" line, or an empty text for other lines.
QString lineKey(const QString &line, QString *value = nullptr)
{
    const int eq = int(line.indexOf(QLatin1Char('=')));
    if (eq <= 0 || line.trimmed().startsWith(QLatin1Char(';')))
        return QString();
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return line.left(eq).trimmed();
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the section line, or -1.
int findSection(const QStringList &lines, const QString &section)
{
    for (int i = 0; i < lines.size(); ++i) {
        QString name;
        if (isSectionLine(lines[i], &name) && sameName(name, section))
            return i;
    }
    return -1;
}

// Index one past the last line belonging to the section that starts at `start`.
int sectionEnd(const QStringList &lines, int start)
{
    int i = start + 1;
    while (i < lines.size() && !isSectionLine(lines[i]))
        ++i;
    return i;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

QStringList IniFile::readLines() const
{
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(f.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void IniFile::writeLines(const QStringList &lines)
{
    QSaveFile f(m_path);
    if (f.open(QIODevice::WriteOnly)) {
        QByteArray data;
        for (const QString &l : lines)
            data += l.toUtf8() + "\r\n";
        f.write(data);
        if (f.commit()) {
            KeepPrivate(m_path); // the company's and the program's settings are the account's
            return;
        }
    }
    throw OrvellaError(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
                           .arg(m_path, f.errorString()));
}

QString IniFile::readString(const QString &section, const QString &key, const QString &fallback) const
{
    const QStringList lines = readLines();
    const int s = findSection(lines, section);
    if (s < 0)
        return fallback;
    const int end = sectionEnd(lines, s);
    for (int i = s + 1; i < end; ++i) {
        QString value;
        if (sameName(lineKey(lines[i], &value), key))
            return value;
    }
    return fallback;
}

bool IniFile::valueExists(const QString &section, const QString &key) const
{
    const QString marker = QStringLiteral("\x01missing\x01");
    return readString(section, key, marker) != marker;
}

int IniFile::readInteger(const QString &section, const QString &key, int fallback) const
{
    bool ok = false;
    const int v = readString(section, key).trimmed().toInt(&ok);
    return ok ? v : fallback;
}

bool IniFile::readBool(const QString &section, const QString &key, bool fallback) const
{
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

bool IniFile::sectionExists(const QString &section) const
{
    return findSection(readLines(), section) >= 0;
}

QStringList IniFile::sections() const
{
    QStringList out;
    for (const QString &l : readLines()) {
        QString name;
        if (isSectionLine(l, &name))
            out << name;
    }
    return out;
}

QStringList IniFile::keys(const QString &section) const
{
    const QStringList lines = readLines();
    const int s = findSection(lines, section);
    QStringList out;
    if (s < 0)
        return out;
    const int end = sectionEnd(lines, s);
    for (int i = s + 1; i < end; ++i) {
        const QString k = lineKey(lines[i]);
        if (!k.isEmpty())
            out << k;
    }
    return out;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    // Values are single lines; a line break would start a new key.
    QString v = value;
    v.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    QStringList lines = readLines();
    const QString entry = key + QLatin1Char('=') + v;
    int s = findSection(lines, section);
    if (s < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        writeLines(lines);
        return;
    }
    int end = sectionEnd(lines, s);
    for (int i = s + 1; i < end; ++i) {
        if (sameName(lineKey(lines[i]), key)) {
            lines[i] = entry;
            writeLines(lines);
            return;
        }
    }
    // Insert after the section's last non-empty line.
    int at = end;
    while (at > s + 1 && lines[at - 1].trimmed().isEmpty())
        --at;
    lines.insert(at, entry);
    writeLines(lines);
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::deleteKey(const QString &section, const QString &key)
{
    QStringList lines = readLines();
    const int s = findSection(lines, section);
    if (s < 0)
        return;
    const int end = sectionEnd(lines, s);
    for (int i = s + 1; i < end; ++i) {
        if (sameName(lineKey(lines[i]), key)) {
            lines.removeAt(i);
            writeLines(lines);
            return;
        }
    }
}

void IniFile::eraseSection(const QString &section)
{
    QStringList lines = readLines();
    const int s = findSection(lines, section);
    if (s < 0)
        return;
    const int end = sectionEnd(lines, s);
    lines.erase(lines.begin() + s, lines.begin() + end);
    writeLines(lines);
}
