#include "WordWriter.h"

#include "Desktop.h"
#include "Errors.h"
#include "OdfDocument.h"
#include "OoxmlDocument.h"
#include "WordDocument.h"
#include "ZipPackage.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// Width of a table without given column widths: the text width of an A4 page with
// margins of 2.5 cm, about 16 cm.
constexpr double kDefaultTableWidth = 453.5;

QString &defaultTargetDir()
{
    static QString dir;
    return dir;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

std::unique_ptr<WordDocument> readTemplate(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        throw OrvellaError(QStringLiteral("Die Dokumentvorlage \"%1\" wurde nicht gefunden.").arg(shown(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw OrvellaError(QStringLiteral("Die Dokumentvorlage \"%1\" kann nicht gelesen werden:\n%2")
                               .arg(shown(path), file.errorString()));
    ZipPackage package;
    std::unique_ptr<WordDocument> document;
    if (package.read(file.readAll())) {
        if (package.contains(QStringLiteral("mimetype")))
            document = OdfDocument::fromTemplate(std::move(package));
        else if (package.contains(QStringLiteral("[Content_Types].xml")))
            document = OoxmlDocument::fromTemplate(std::move(package));
    }
    if (!document)
        throw OrvellaError(QStringLiteral("Die Datei \"%1\" ist keine gültige Dokumentvorlage.\n"
                                          "Verwendet werden können Textvorlagen im OpenDocument-Format "
                                          "(.ott, .odt) und im Word-Format (.dotx, .docx).")
                               .arg(shown(path)));
    return document;
}

// Creates an empty file under a name that is not taken yet: "<template> <date>.odt",
// then "<template> <date> (2).odt" and so on. Creating it exclusively means two
// exports at the same moment cannot pick the same name.
QString reserveFileName(const QString &dir, const QString &templatePath, const QString &suffix)
{
    QString base = QFileInfo(templatePath).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("Dokument");
    const QString stem = base + QLatin1Char(' ') + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    for (int n = 1; n < 10000; ++n) {
        const QString name = n == 1 ? QStringLiteral("%1.%2").arg(stem, suffix)
                                    : QStringLiteral("%1 (%2).%3").arg(stem).arg(n).arg(suffix);
        QFile file(QDir(dir).filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file.fileName();
        if (!file.exists())
            break; // not a name clash: the folder refuses new files
    }
    throw OrvellaError(QStringLiteral("Im Ordner \"%1\" kann kein neues Dokument angelegt werden.\n"
                                      "Bitte prüfen Sie Ihre Schreibrechte.")
                           .arg(shown(dir)));
}

// Writes through a temporary file, so a failure never leaves half a document.
void writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile out(path);
    if (bytes.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw OrvellaError(QStringLiteral("Das Dokument \"%1\" kann nicht gespeichert werden.%2")
                               .arg(shown(path), out.errorString().isEmpty() ? QString()
                                                                             : QStringLiteral("\n") + out.errorString()));
}

} // namespace

WordWriter::WordWriter(const QString &targetDir)
    : m_targetDir(targetDir)
{
}

WordWriter::~WordWriter() = default;

void WordWriter::setDefaultTargetDir(const QString &dir)
{
    defaultTargetDir() = dir;
}

void WordWriter::setTargetDir(const QString &dir)
{
    m_targetDir = dir;
}

QString WordWriter::targetDir() const
{
    if (!m_targetDir.isEmpty())
        return m_targetDir;
    if (!defaultTargetDir().isEmpty())
        return defaultTargetDir();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

void WordWriter::setOpener(Opener opener)
{
    m_opener = std::move(opener);
}

void WordWriter::newDocument(const QString &templatePath)
{
    m_document.reset();
    m_path.clear();
    m_templatePath = templatePath;
    m_bookmark.clear();

    // Everything is read and checked before the first byte is written.
    std::unique_ptr<WordDocument> document = readTemplate(templatePath);
    const QByteArray bytes = document->save();
    if (bytes.isEmpty())
        throw OrvellaError(
            QStringLiteral("Aus der Dokumentvorlage \"%1\" kann kein Dokument erstellt werden.").arg(shown(templatePath)));

    const QString dir = targetDir();
    if (!QDir().mkpath(dir))
        throw OrvellaError(QStringLiteral("Der Ordner \"%1\" für neue Dokumente kann nicht angelegt werden.").arg(shown(dir)));
    const QString path = reserveFileName(dir, templatePath, document->documentSuffix());
    try {
        writeFile(path, bytes);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
    m_document = std::move(document);
    m_path = path;
}

bool WordWriter::hasDocument() const
{
    return m_document != nullptr;
}

QString WordWriter::documentPath() const
{
    return m_path;
}

void WordWriter::requireDocument() const
{
    if (!m_document)
        throw OrvellaError(QStringLiteral("Es ist kein Dokument geöffnet."));
}

bool WordWriter::goToBookmark(const QString &name)
{
    requireDocument();
    m_bookmark = name;
    return m_document->goToBookmark(name);
}

void WordWriter::typeText(const QString &text)
{
    requireDocument();
    m_document->typeText(text);
}

void WordWriter::addTable(int rows, int columns, const QList<double> &columnWidthsInPoints,
                          const QList<QStringList> &cells, int headerRows, const TableLook &look)
{
    requireDocument();
    if (!m_document->hasPosition())
        throw OrvellaError(QStringLiteral("Die Dokumentvorlage \"%1\" hat keine Textmarke \"%2\"; "
                                          "die Tabelle kann nicht eingefügt werden.")
                               .arg(shown(m_templatePath), m_bookmark));
    bool fits = rows >= 1 && columns >= 1 && headerRows >= 0 && cells.size() <= rows
                && (columnWidthsInPoints.isEmpty() || columnWidthsInPoints.size() == columns);
    for (double width : columnWidthsInPoints)
        fits = fits && width > 0;
    for (const QStringList &row : cells)
        fits = fits && row.size() <= columns;
    fits = fits && look.alignments.size() <= columns;
    if (!fits)
        throw OrvellaError(QStringLiteral("Die Tabelle mit %1 Zeilen und %2 Spalten passt nicht zu ihren "
                                          "Spaltenbreiten oder Zellen.")
                               .arg(rows)
                               .arg(columns));

    WordTable table;
    table.columnWidths = columnWidthsInPoints;
    if (table.columnWidths.isEmpty())
        table.columnWidths = QList<double>(columns, kDefaultTableWidth / columns);
    table.headerRows = qMin(headerRows, rows);
    table.alignments = look.alignments;
    table.style = look.style;
    for (int r = 0; r < rows; ++r) {
        QStringList row = cells.value(r);
        while (row.size() < columns)
            row << QString();
        table.rows << row;
    }
    m_document->addTable(table);
}

void WordWriter::discard()
{
    if (!m_document)
        return;
    QFile::remove(m_path);
    m_document.reset();
    m_path.clear();
    m_bookmark.clear();
}

void WordWriter::save()
{
    requireDocument();
    writeFile(m_path, m_document->save());
}

bool WordWriter::show()
{
    save();
    const QUrl document = QUrl::fromLocalFile(QFileInfo(m_path).absoluteFilePath());
    if (!m_opener)
        return OpenWithDesktop(document);
    return *m_opener ? (*m_opener)(document) : false;
}
