#include "BankStatement.h"

namespace {

// Statements of a year for a busy account stay far below this; anything larger
// is not worth holding in memory as a statement.
constexpr qsizetype MaxFileSize = 20 * 1024 * 1024;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The first line that is not empty, without leading blanks and a UTF-8 BOM.
QByteArray firstLine(const QByteArray &content)
{
    qsizetype i = content.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < content.size() && isBlank(content[i]))
        ++i;
    qsizetype end = content.indexOf('\n', i);
    if (end < 0)
        end = content.size();
    return content.mid(i, end - i).trimmed();
}

bool looksLikeMt940(const QByteArray &content, const QByteArray &first)
{
    if (first.startsWith(":20:") || first.startsWith("{1:"))
        return true;
    // Some banking programs put a line of their own before the first field.
    return content.contains("\n:20:") && content.contains("\n:61:");
}

} // namespace

namespace StatementReader {

StatementFile read(const QByteArray &content, const QString &fileName)
{
    StatementFile result;
    if (content.size() > MaxFileSize) {
        result.error = QStringLiteral("Die Datei „%1“ ist größer als 20 MB und wird nicht als Kontoauszug gelesen.")
                           .arg(fileName);
        return result;
    }
    // XML in UTF-16 carries its byte order mark; QXmlStreamReader reads it.
    if (content.startsWith("\xFF\xFE") || content.startsWith("\xFE\xFF"))
        return readCamt(content, fileName);
    const QByteArray first = firstLine(content);
    if (first.startsWith('<'))
        return readCamt(content, fileName);
    if (looksLikeMt940(content, first))
        return readMt940(content, fileName);
    result.error = QStringLiteral("Die Datei „%1“ ist kein Kontoauszug im Format CAMT.053 oder MT940.").arg(fileName);
    return result;
}

} // namespace StatementReader
