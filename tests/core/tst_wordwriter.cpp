#include "Desktop.h"
#include "Errors.h"
#include "TestEnv.h"
#include "WordWriter.h"
#include "XmlTree.h"
#include "ZipPackage.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kOdfNs = QStringLiteral(
    "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
    "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
    "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\"");

// A text template with bookmarks in every kind of place. It declares neither the style
// nor the fo namespace and has no automatic styles, which a table needs.
const QString kOdfContent = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<office:document-content %1 office:version=\"1.2\"><office:body><office:text>"
    "<text:p>Datum: <text:bookmark text:name=\"Datum\"/></text:p>"
    "<text:p><text:span text:style-name=\"T1\">Name: <text:bookmark-start text:name=\"Name\"/>alt"
    "<text:bookmark-end text:name=\"Name\"/></text:span></text:p>"
    "<text:p><text:bookmark text:name=\"Leer\"/></text:p>"
    "<text:list><text:list-item><text:p>Punkt <text:bookmark text:name=\"Liste\"/></text:p>"
    "</text:list-item></text:list>"
    "<text:p>Vor <text:bookmark text:name=\"Tabelle\"/>der Tabelle</text:p>"
    "<text:p>Ende</text:p>"
    "</office:text></office:body></office:document-content>")
                                 .arg(kOdfNs);

const QString kOdfStyles = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<office:document-styles %1 "
    "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" office:version=\"1.2\">"
    "<office:styles><style:style style:name=\"Standard\" style:family=\"paragraph\"/></office:styles>"
    "<office:master-styles><style:master-page style:name=\"Standard\"><style:header>"
    "<text:p><text:bookmark text:name=\"Absender\"/></text:p>"
    "</style:header></style:master-page></office:master-styles></office:document-styles>")
                                .arg(kOdfNs);

// Every part of the package is listed: LibreOffice refuses a package with a part
// that its manifest does not name.
const QString kOdfManifest = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
    "<manifest:file-entry manifest:full-path=\"/\" "
    "manifest:media-type=\"application/vnd.oasis.opendocument.text-template\"/>"
    "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
    "<manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>"
    "</manifest:manifest>");

const QString kDocumentType =
    QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml");
const QString kTemplateType =
    QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml");

const QString kWordNs = QStringLiteral(
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
    "xmlns:w14=\"http://schemas.microsoft.com/office/word/2010/wordml\" mc:Ignorable=\"w14\"");

// A Word template: a bookmark behind a bold run, a range over a plain run, one
// between paragraphs, one in a table cell, one in an empty italic paragraph that is
// the last before the section properties, and one in the header.
const QString kWordDocument = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<w:document %1><w:body>"
    "<w:p><w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">Datum: </w:t></w:r>"
    "<w:bookmarkStart w:id=\"0\" w:name=\"Datum\"/><w:bookmarkEnd w:id=\"0\"/></w:p>"
    "<w:p><w:r><w:t xml:space=\"preserve\">Name: </w:t></w:r><w:bookmarkStart w:id=\"1\" w:name=\"Name\"/>"
    "<w:r><w:t>alt</w:t></w:r><w:bookmarkEnd w:id=\"1\"/></w:p>"
    "<w:p><w:bookmarkStart w:id=\"2\" w:name=\"Leer\"/><w:bookmarkEnd w:id=\"2\"/></w:p>"
    "<w:bookmarkStart w:id=\"3\" w:name=\"Block\"/>"
    "<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr><w:r><w:t>Mitte</w:t></w:r></w:p><w:bookmarkEnd w:id=\"3\"/>"
    "<w:tbl><w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid><w:tr><w:tc>"
    "<w:p><w:bookmarkStart w:id=\"4\" w:name=\"Zelle\"/><w:bookmarkEnd w:id=\"4\"/></w:p>"
    "</w:tc></w:tr></w:tbl>"
    "<w:p><w:pPr><w:rPr><w:i/></w:rPr></w:pPr><w:bookmarkStart w:id=\"5\" w:name=\"Tabelle\"/>"
    "<w:bookmarkEnd w:id=\"5\"/></w:p>"
    "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rId2\"/><w:pgSz w:w=\"11906\" w:h=\"16838\"/></w:sectPr>"
    "</w:body></w:document>")
                                  .arg(kWordNs);

const QString kWordHeader = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<w:hdr %1><w:p><w:bookmarkStart w:id=\"9\" w:name=\"Absender\"/><w:bookmarkEnd w:id=\"9\"/></w:p></w:hdr>")
                                .arg(kWordNs);

const QString kWordStyles = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Standard\"><w:name w:val=\"Normal\"/></w:style>"
    "</w:styles>");

QString contentTypes(const QString &mainType)
{
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
               "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
               "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
               "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
               "<Override PartName=\"/word/document.xml\" ContentType=\"%1\"/>"
               "<Override PartName=\"/word/styles.xml\" "
               "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
               "<Override PartName=\"/word/header1.xml\" "
               "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml\"/>"
               "</Types>")
        .arg(mainType);
}

const QString kRel = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");

void writeZip(const QString &path, const QList<QPair<QString, QString>> &entries, bool storeFirst = false)
{
    ZipPackage package;
    for (const auto &e : entries)
        package.setData(e.first, e.second.toUtf8());
    if (storeFirst)
        package.storeFirst(entries.first().first);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(package.write());
}

void writeOdfTemplate(const QString &path, const QString &mime = QStringLiteral(
                                                "application/vnd.oasis.opendocument.text-template"))
{
    writeZip(path,
             {{"mimetype", mime},
              {"content.xml", kOdfContent},
              {"styles.xml", kOdfStyles},
              {"META-INF/manifest.xml", kOdfManifest}},
             true);
}

void writeWordTemplate(const QString &path, const QString &mainType = kTemplateType,
                       const QString &document = kWordDocument)
{
    writeZip(path,
             {{"[Content_Types].xml", contentTypes(mainType)},
              {"_rels/.rels",
               QStringLiteral("<?xml version=\"1.0\"?><Relationships "
                              "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                              "<Relationship Id=\"rId1\" Type=\"%1officeDocument\" Target=\"word/document.xml\"/>"
                              "</Relationships>")
                   .arg(kRel)},
              {"word/document.xml", document},
              {"word/_rels/document.xml.rels",
               QStringLiteral("<?xml version=\"1.0\"?><Relationships "
                              "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                              "<Relationship Id=\"rId1\" Type=\"%1styles\" Target=\"styles.xml\"/>"
                              "<Relationship Id=\"rId2\" Type=\"%1header\" Target=\"header1.xml\"/>"
                              "</Relationships>")
                   .arg(kRel)},
              {"word/styles.xml", kWordStyles},
              {"word/header1.xml", kWordHeader}});
}

ZipPackage readPackage(const QString &path)
{
    QFile file(path);
    ZipPackage package;
    if (!file.open(QIODevice::ReadOnly) || !package.read(file.readAll()))
        qWarning("cannot read %s", qPrintable(path));
    return package;
}

QString entryText(const QString &path, const QString &entry)
{
    return QString::fromUtf8(readPackage(path).data(entry));
}

QString mainPart(const QString &path)
{
    return path.endsWith(QLatin1String(".odt")) ? QStringLiteral("content.xml") : QStringLiteral("word/document.xml");
}

std::unique_ptr<XmlNode> parseEntry(const QString &path, const QString &entry)
{
    return XmlNode::parse(readPackage(path).data(entry));
}

XmlNode *bookmarkIn(XmlNode *doc, const QString &name)
{
    return doc->find([&](const XmlNode &n) {
        return ((n.isElement(QStringLiteral("text:bookmark")) || n.isElement(QStringLiteral("text:bookmark-start")))
                && n.attribute(QStringLiteral("text:name")) == name)
               || (n.isElement(QStringLiteral("w:bookmarkStart")) && n.attribute(QStringLiteral("w:name")) == name);
    });
}

// The text that a reader of the document sees behind the bookmark, up to the next
// bookmark or the end of its paragraph. OpenDocument readers collapse blanks in plain
// text and drop them at the start of a paragraph; only <text:s/> keeps them.
QString visibleTextAfter(XmlNode *bookmark)
{
    QString out;
    bool paragraphStart = bookmark->index() == 0;
    for (XmlNode *n = bookmark->nextSibling(); n; n = n->nextSibling()) {
        const QString name = n->name();
        if (n->kind() == XmlNode::Kind::Text) {
            for (QChar c : n->text()) {
                const bool blank = c == QLatin1Char(' ');
                if (blank && (paragraphStart || out.endsWith(QLatin1Char(' '))))
                    continue;
                out += c;
                paragraphStart = false;
            }
        } else if (name == QLatin1String("text:s")) {
            out += QString(n->attribute(QStringLiteral("text:c"), QStringLiteral("1")).toInt(), QLatin1Char(' '));
            paragraphStart = false;
            // a literal blank after <text:s/> is not collapsed with it
            out += QChar(0x2060);
        } else if (name == QLatin1String("text:line-break")) {
            out += QLatin1Char('\n');
            paragraphStart = true;
        } else if (name == QLatin1String("text:tab")) {
            out += QLatin1Char('\t');
            paragraphStart = false;
        } else if (name == QLatin1String("w:r")) {
            for (int i = 0; i < n->childCount(); ++i) {
                const XmlNode *c = n->child(i);
                if (c->isElement(QStringLiteral("w:t")))
                    out += c->textContent();
                else if (c->isElement(QStringLiteral("w:br")))
                    out += QLatin1Char('\n');
                else if (c->isElement(QStringLiteral("w:tab")))
                    out += QLatin1Char('\t');
            }
        } else {
            break;
        }
    }
    return out.remove(QChar(0x2060));
}

QString visibleTextAt(const QString &path, const QString &entry, const QString &bookmark)
{
    auto doc = parseEntry(path, entry);
    if (!doc)
        return QStringLiteral("<kein XML>");
    XmlNode *b = bookmarkIn(doc.get(), bookmark);
    return b ? visibleTextAfter(b) : QStringLiteral("<keine Textmarke>");
}

} // namespace

class TestWordWriter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void fillsBookmarks_data();
    void fillsBookmarks();
    void textFollowsEarlierText_data();
    void textFollowsEarlierText();
    void missingBookmarkChangesNothing_data();
    void missingBookmarkChangesNothing();
    void specialCharacters_data();
    void specialCharacters();
    void tableAtBookmark_data();
    void tableAtBookmark();
    void tableNeedsBookmarkAndFittingSizes();
    void templateBecomesDocument();
    void invalidTemplateWritesNothing_data();
    void invalidTemplateWritesNothing();
    void newNamesNeverOverwrite();
    void showSavesAndOpens();
    void shippedLetterTemplates_data();
    void shippedLetterTemplates();
    void officeConvertsResult_data();
    void officeConvertsResult();

private:
    QString makeTemplate(const QString &format);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_templates;
    QString m_out;
    QList<QUrl> m_desktopOpened;
};

void TestWordWriter::initTestCase()
{
    // nothing in these tests may start a program on the desktop
    SetDesktopOpener([this](const QUrl &url) {
        m_desktopOpened << url;
        return true;
    });
}

void TestWordWriter::cleanupTestCase()
{
    SetDesktopOpener({});
}

void TestWordWriter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_templates = m_dir->filePath(QStringLiteral("Vorlagen"));
    m_out = m_dir->filePath(QStringLiteral("Dokumente"));
    QVERIFY(QDir().mkpath(m_templates));
}

void TestWordWriter::cleanup()
{
    WordWriter::setDefaultTargetDir(QString());
    m_desktopOpened.clear();
    m_dir.reset();
}

QString TestWordWriter::makeTemplate(const QString &format)
{
    if (format == QLatin1String("odf")) {
        const QString path = QDir(m_templates).filePath(QStringLiteral("Rechnung.ott"));
        writeOdfTemplate(path);
        return path;
    }
    const QString path = QDir(m_templates).filePath(QStringLiteral("Rechnung.dotx"));
    writeWordTemplate(path);
    return path;
}

void TestWordWriter::fillsBookmarks_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("bookmark");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("expected");

    QTest::newRow("odf point") << "odf" << "Datum" << "01.02.2025" << "content.xml"
                               << "<text:p>Datum: <text:bookmark text:name=\"Datum\"/>01.02.2025</text:p>";
    QTest::newRow("odf range in span")
        << "odf" << "Name" << "Muster GmbH" << "content.xml"
        << "<text:bookmark-start text:name=\"Name\"/>Muster GmbHalt<text:bookmark-end text:name=\"Name\"/></text:span>";
    QTest::newRow("odf header") << "odf" << "Absender" << "Firma" << "styles.xml"
                                << "<style:header><text:p><text:bookmark text:name=\"Absender\"/>Firma</text:p>";
    QTest::newRow("odf name in other case") << "odf" << "datum" << "heute" << "content.xml"
                                            << "<text:bookmark text:name=\"Datum\"/>heute</text:p>";
    QTest::newRow("ooxml behind bold run")
        << "ooxml" << "Datum" << "01.02.2025" << "word/document.xml"
        << "<w:bookmarkStart w:id=\"0\" w:name=\"Datum\"/><w:r><w:rPr><w:b/></w:rPr>"
           "<w:t xml:space=\"preserve\">01.02.2025</w:t></w:r><w:bookmarkEnd w:id=\"0\"/>";
    QTest::newRow("ooxml range behind plain run")
        << "ooxml" << "Name" << "Muster GmbH" << "word/document.xml"
        << "<w:bookmarkStart w:id=\"1\" w:name=\"Name\"/><w:r><w:t xml:space=\"preserve\">Muster GmbH</w:t></w:r>"
           "<w:r><w:t>alt</w:t></w:r>";
    QTest::newRow("ooxml between paragraphs")
        << "ooxml" << "Block" << "Oben" << "word/document.xml"
        << "<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr><w:r><w:t xml:space=\"preserve\">Oben</w:t></w:r>"
           "<w:r><w:t>Mitte</w:t></w:r></w:p>";
    QTest::newRow("ooxml empty italic paragraph")
        << "ooxml" << "Tabelle" << "kursiv" << "word/document.xml"
        << "<w:bookmarkStart w:id=\"5\" w:name=\"Tabelle\"/><w:r><w:rPr><w:i/></w:rPr>"
           "<w:t xml:space=\"preserve\">kursiv</w:t></w:r><w:bookmarkEnd w:id=\"5\"/>";
    QTest::newRow("ooxml header") << "ooxml" << "Absender" << "Firma" << "word/header1.xml"
                                  << "<w:bookmarkStart w:id=\"9\" w:name=\"Absender\"/><w:r>"
                                     "<w:t xml:space=\"preserve\">Firma</w:t></w:r><w:bookmarkEnd w:id=\"9\"/>";
}

void TestWordWriter::fillsBookmarks()
{
    QFETCH(QString, format);
    QFETCH(QString, bookmark);
    QFETCH(QString, text);
    QFETCH(QString, entry);
    QFETCH(QString, expected);

    WordWriter writer(m_out);
    writer.newDocument(makeTemplate(format));
    QVERIFY(writer.goToBookmark(bookmark));
    writer.typeText(text);
    writer.show();

    const QString xml = entryText(writer.documentPath(), entry);
    QVERIFY2(xml.contains(expected), qPrintable(xml));
    // what stands around the bookmark is kept as it was
    if (format == QLatin1String("ooxml"))
        QVERIFY(xml.contains(QStringLiteral("mc:Ignorable=\"w14\"")));
}

void TestWordWriter::textFollowsEarlierText_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("odf") << "odf";
    QTest::newRow("ooxml") << "ooxml";
}

void TestWordWriter::textFollowsEarlierText()
{
    QFETCH(QString, format);
    WordWriter writer(m_out);
    writer.newDocument(makeTemplate(format));
    QVERIFY(writer.goToBookmark(QStringLiteral("Leer")));
    writer.typeText(QStringLiteral("eins"));
    writer.typeText(QStringLiteral(" zwei"));
    writer.typeText(QString());
    QVERIFY(writer.goToBookmark(QStringLiteral("Datum")));
    writer.typeText(QStringLiteral("heute"));
    writer.show();
    QCOMPARE(visibleTextAt(writer.documentPath(), mainPart(writer.documentPath()), QStringLiteral("Leer")),
             QStringLiteral("eins zwei"));
    QCOMPARE(visibleTextAt(writer.documentPath(), mainPart(writer.documentPath()), QStringLiteral("Datum")),
             QStringLiteral("heute"));
}

void TestWordWriter::missingBookmarkChangesNothing_data()
{
    textFollowsEarlierText_data();
}

void TestWordWriter::missingBookmarkChangesNothing()
{
    QFETCH(QString, format);
    const QString templatePath = makeTemplate(format);
    WordWriter writer(m_out);
    writer.newDocument(templatePath);
    const QString part = mainPart(writer.documentPath());
    const QByteArray before = readPackage(writer.documentPath()).data(part);

    // a bookmark found before must not catch the text of a missing one
    QVERIFY(writer.goToBookmark(QStringLiteral("Datum")));
    QVERIFY(!writer.goToBookmark(QStringLiteral("Fehlt")));
    writer.typeText(QStringLiteral("verloren"));
    QVERIFY(!writer.goToBookmark(QString()));
    writer.typeText(QStringLiteral("verloren"));
    writer.show();

    QCOMPARE(readPackage(writer.documentPath()).data(part), before);
    QCOMPARE(readPackage(writer.documentPath()).data(part), readPackage(templatePath).data(part));
}

void TestWordWriter::specialCharacters_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("visible");

    for (const char *format : {"odf", "ooxml"}) {
        const QString f = QString::fromLatin1(format);
        QTest::addRow("%s markup", format) << f << "Müller & Söhne <GmbH> \"Zitat\" O'Brien ÄÖÜß €"
                                           << "Müller & Söhne <GmbH> \"Zitat\" O'Brien ÄÖÜß €";
        QTest::addRow("%s line ends", format) << f << "Zeile 1\nZeile 2\r\nZeile 3\rZeile 4"
                                              << "Zeile 1\nZeile 2\nZeile 3\nZeile 4";
        QTest::addRow("%s empty lines", format) << f << "19%\r\r" << "19%\n\n";
        QTest::addRow("%s blanks", format) << f << " vorn  zwei   drei\tTab " << " vorn  zwei   drei\tTab ";
        QTest::addRow("%s blanks after break", format) << f << "a\n  b" << "a\n  b";
        QTest::addRow("%s control characters", format) << f << QStringLiteral("a\x01" "b\x1f" "c") << "abc";
    }
}

void TestWordWriter::specialCharacters()
{
    QFETCH(QString, format);
    QFETCH(QString, text);
    QFETCH(QString, visible);

    WordWriter writer(m_out);
    writer.newDocument(makeTemplate(format));
    QVERIFY(writer.goToBookmark(QStringLiteral("Leer")));
    writer.typeText(text);
    writer.show();
    QCOMPARE(visibleTextAt(writer.documentPath(), mainPart(writer.documentPath()), QStringLiteral("Leer")), visible);
}

void TestWordWriter::tableAtBookmark_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("bookmark");
    QTest::addColumn<QString>("container"); // element that must hold the table
    QTest::addColumn<QString>("before");    // element right before the table

    QTest::newRow("odf paragraph") << "odf" << "Tabelle" << "office:text" << "text:p";
    QTest::newRow("odf list item") << "odf" << "Liste" << "office:text" << "text:list";
    QTest::newRow("odf header") << "odf" << "Absender" << "style:header" << "text:p";
    QTest::newRow("ooxml last paragraph") << "ooxml" << "Tabelle" << "w:body" << "w:p";
    QTest::newRow("ooxml table cell") << "ooxml" << "Zelle" << "w:tc" << "w:p";
}

void TestWordWriter::tableAtBookmark()
{
    QFETCH(QString, format);
    QFETCH(QString, bookmark);
    QFETCH(QString, container);
    QFETCH(QString, before);

    // the line table of a business document: heading row and two lines
    const QList<double> widths = {30, 45, 180, 45, 55, 55, 55};
    const QList<QStringList> cells = {
        {"Pos.", "Art.-Nr.", "Beschreibung", "Anzahl", "Einzelpreis €", "Betrag €", "MwSt"},
        {"1", "A-100", "Schrauben & Dübel\nverzinkt", "2", "1,50", "3,00", "19"},
        {"", "", "Textzeile <ohne> Preis"},
    };
    WordWriter writer(m_out);
    writer.newDocument(makeTemplate(format));
    QVERIFY(writer.goToBookmark(bookmark));
    writer.addTable(3, 7, widths, cells);
    writer.show();

    const bool odf = format == QLatin1String("odf");
    const QString entry = bookmark == QLatin1String("Absender") ? QStringLiteral("styles.xml") : mainPart(writer.documentPath());
    auto doc = parseEntry(writer.documentPath(), entry);
    QVERIFY(doc);
    // the Word template's own table has no table properties
    XmlNode *table = doc->find([&](const XmlNode &n) {
        return odf ? n.isElement(QStringLiteral("table:table"))
                   : n.isElement(QStringLiteral("w:tbl")) && n.firstChild(QStringLiteral("w:tblPr"));
    });
    QVERIFY(table);
    QCOMPARE(table->parent()->name(), container);

    // behind the block that holds the bookmark
    XmlNode *mark = bookmarkIn(doc.get(), bookmark);
    XmlNode *previous = table->previousSibling();
    QVERIFY(previous);
    QCOMPARE(previous->name(), before);
    QVERIFY(mark == previous || mark->ancestor(previous->name()) == previous);
    if (!odf) {
        // a cell and the body end with a paragraph; the section properties follow one
        QVERIFY(table->nextSibling());
        QCOMPARE(table->nextSibling()->name(), QStringLiteral("w:p"));
    }

    // rows and cells in order, the heading row marked as such
    QStringList texts;
    int rowCount = 0;
    const QString rowName = odf ? QStringLiteral("table:table-row") : QStringLiteral("w:tr");
    const QString cellName = odf ? QStringLiteral("table:table-cell") : QStringLiteral("w:tc");
    for (XmlNode *row : table->descendants(rowName)) {
        ++rowCount;
        const QList<XmlNode *> rowCells = row->descendants(cellName);
        QCOMPARE(rowCells.size(), 7);
        for (XmlNode *cell : rowCells) {
            QString text;
            cell->find([&](const XmlNode &n) {
                if (n.kind() == XmlNode::Kind::Text)
                    text += n.text();
                else if (n.isElement(QStringLiteral("text:line-break")) || n.isElement(QStringLiteral("w:br")))
                    text += QLatin1Char('\n');
                else if (n.isElement(QStringLiteral("text:s")))
                    text += QLatin1Char(' ');
                return false;
            });
            texts << text;
        }
    }
    QCOMPARE(rowCount, 3);
    QStringList expected;
    for (const QStringList &row : cells)
        for (int c = 0; c < 7; ++c)
            expected << row.value(c);
    QCOMPARE(texts, expected);

    const QString xml = entryText(writer.documentPath(), entry);
    if (odf) {
        QCOMPARE(table->firstChild(QStringLiteral("table:table-header-rows"))->descendants(rowName).size(), 1);
        const QList<XmlNode *> columns = table->descendants(QStringLiteral("table:table-column"));
        QCOMPARE(columns.size(), 7);
        // each column's style gives its width
        for (int c = 0; c < 7; ++c) {
            const QString style = columns[c]->attribute(QStringLiteral("table:style-name"));
            XmlNode *styleNode = doc->find([&](const XmlNode &n) {
                return n.isElement(QStringLiteral("style:style")) && n.attribute(QStringLiteral("style:name")) == style;
            });
            QVERIFY2(styleNode, qPrintable(style));
            QCOMPARE(styleNode->firstChild(QStringLiteral("style:table-column-properties"))
                         ->attribute(QStringLiteral("style:column-width")),
                     QStringLiteral("%1pt").arg(widths[c], 0, 'f', 2));
        }
    } else {
        QCOMPARE(table->descendants(QStringLiteral("w:tblHeader")).size(), 1);
        QStringList grid;
        for (XmlNode *col : table->descendants(QStringLiteral("w:gridCol")))
            grid << col->attribute(QStringLiteral("w:w"));
        QCOMPARE(grid, QStringList({"600", "900", "3600", "900", "1100", "1100", "1100"}));
        QVERIFY(xml.contains(QStringLiteral("<w:tblW w:w=\"9300\" w:type=\"dxa\"/>")));
    }
}

void TestWordWriter::tableNeedsBookmarkAndFittingSizes()
{
    for (const QString &format : {QStringLiteral("odf"), QStringLiteral("ooxml")}) {
        WordWriter writer(m_out);
        writer.newDocument(makeTemplate(format));
        // the export stops with an error when the template lacks "Tabelle"
        QVERIFY(!writer.goToBookmark(QStringLiteral("Tabelle2")));
        try {
            writer.addTable(1, 1, {}, {{"x"}});
            QFAIL("a table without bookmark was accepted");
        } catch (const OrvellaError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("\"Tabelle2\"")), qPrintable(e.message()));
            QVERIFY(e.message().contains(QStringLiteral("Rechnung.")));
        }
        QVERIFY(writer.goToBookmark(QStringLiteral("Tabelle")));
        QVERIFY_THROWS_EXCEPTION(OrvellaError, writer.addTable(1, 2, {30}, {}));
        QVERIFY_THROWS_EXCEPTION(OrvellaError, writer.addTable(1, 2, {}, {{"a", "b", "c"}}));
        QVERIFY_THROWS_EXCEPTION(OrvellaError, writer.addTable(1, 2, {}, {{"a"}, {"b"}}));
        QVERIFY_THROWS_EXCEPTION(OrvellaError, writer.addTable(0, 2, {}, {}));
        QVERIFY_THROWS_EXCEPTION(OrvellaError, writer.addTable(1, 2, {30, -1}, {}));
        // missing cells stay empty; two tables at one bookmark stay two tables
        writer.addTable(2, 2, {}, {{"a"}});
        writer.addTable(1, 1, {}, {{"b"}});
        writer.show();
        auto doc = parseEntry(writer.documentPath(), mainPart(writer.documentPath()));
        const QList<XmlNode *> tables =
            doc->descendants(format == QLatin1String("odf") ? QStringLiteral("table:table") : QStringLiteral("w:tbl"));
        QCOMPARE(tables.size(), format == QLatin1String("odf") ? 2 : 3); // the Word template has one already
        XmlNode *first = tables[format == QLatin1String("odf") ? 0 : 1];
        XmlNode *second = tables.last();
        QCOMPARE(first->textContent(), QStringLiteral("a"));
        QCOMPARE(second->textContent(), QStringLiteral("b"));
        if (format == QLatin1String("ooxml"))
            QVERIFY(first->nextSibling() != second); // Word would join them
        if (format == QLatin1String("odf"))
            QVERIFY(first->attribute(QStringLiteral("table:name")) != second->attribute(QStringLiteral("table:name")));
    }
}

void TestWordWriter::templateBecomesDocument()
{
    // OpenDocument: the mimetype first and uncompressed, and saying "text"
    {
        WordWriter writer(m_out);
        const QString templatePath = makeTemplate(QStringLiteral("odf"));
        writer.newDocument(templatePath);
        QVERIFY(writer.documentPath().endsWith(QLatin1String(".odt")));
        QFile file(writer.documentPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QByteArray mime = "application/vnd.oasis.opendocument.text";
        QCOMPARE(bytes.left(4), QByteArray("PK\x03\x04"));
        QCOMPARE(bytes.mid(8, 2), QByteArray(2, '\0'));   // method: stored
        QCOMPARE(bytes.mid(28, 2), QByteArray(2, '\0'));  // no extra field
        QCOMPARE(bytes.mid(30, 8 + mime.size()), "mimetype" + mime);
        QCOMPARE(readPackage(writer.documentPath()).data("mimetype"), mime);
        const QString manifest = entryText(writer.documentPath(), "META-INF/manifest.xml");
        QVERIFY2(manifest.contains("manifest:full-path=\"/\" manifest:media-type=\"" + QString::fromLatin1(mime) + "\""),
                 qPrintable(manifest));
        // untouched parts stay byte for byte
        QCOMPARE(readPackage(writer.documentPath()).data("styles.xml"), readPackage(templatePath).data("styles.xml"));
        QCOMPARE(readPackage(writer.documentPath()).data("content.xml"), readPackage(templatePath).data("content.xml"));
    }
    // Word: the main part's content type says document
    {
        WordWriter writer(m_out);
        const QString templatePath = makeTemplate(QStringLiteral("ooxml"));
        writer.newDocument(templatePath);
        QVERIFY(writer.documentPath().endsWith(QLatin1String(".docx")));
        const QString types = entryText(writer.documentPath(), "[Content_Types].xml");
        QVERIFY2(types.contains("PartName=\"/word/document.xml\" ContentType=\"" + kDocumentType + "\""), qPrintable(types));
        QVERIFY(!types.contains(kTemplateType));
        QCOMPARE(readPackage(writer.documentPath()).names(), readPackage(templatePath).names());
        for (const char *entry : {"word/styles.xml", "word/document.xml", "word/header1.xml", "_rels/.rels"})
            QCOMPARE(readPackage(writer.documentPath()).data(entry), readPackage(templatePath).data(entry));
    }
    // a document used as template stays a document
    {
        const QString docx = QDir(m_templates).filePath("Alt.docx");
        writeWordTemplate(docx, kDocumentType);
        WordWriter writer(m_out);
        writer.newDocument(docx);
        QVERIFY(writer.documentPath().endsWith(QLatin1String(".docx")));
        QCOMPARE(readPackage(writer.documentPath()).data("[Content_Types].xml"),
                 readPackage(docx).data("[Content_Types].xml"));
    }
}

void TestWordWriter::invalidTemplateWritesNothing_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
    QTest::addColumn<QString>("message");

    const QString invalid = QStringLiteral("ist keine gültige Dokumentvorlage");
    QTest::newRow("missing") << "Fehlt.ott" << QByteArray() << "wurde nicht gefunden";
    QTest::newRow("empty file") << "Leer.dotx" << QByteArray("") << invalid;
    QTest::newRow("old Word template") << "Brief.dot" << QByteArray("\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1 Word 97") << invalid;
    QTest::newRow("text file") << "Notiz.ott" << QByteArray("Hallo Welt") << invalid;

    const auto zipped = [](const QList<QPair<QString, QString>> &entries) {
        ZipPackage package;
        for (const auto &e : entries)
            package.setData(e.first, e.second.toUtf8());
        return package.write();
    };
    QTest::newRow("zip without document") << "Archiv.ott" << zipped({{"liesmich.txt", "x"}}) << invalid;
    QTest::newRow("spreadsheet template")
        << "Tabelle.ott"
        << zipped({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet-template"}, {"content.xml", kOdfContent}})
        << invalid;
    QTest::newRow("broken content")
        << "Kaputt.ott"
        << zipped({{"mimetype", "application/vnd.oasis.opendocument.text-template"},
                   {"content.xml", "<office:document-content><office:body>"}})
        << invalid;
    QTest::newRow("odf without content")
        << "Ohne.ott" << zipped({{"mimetype", "application/vnd.oasis.opendocument.text-template"}}) << invalid;
    QTest::newRow("workbook") << "Mappe.dotx"
                              << zipped({{"[Content_Types].xml",
                                          contentTypes("application/vnd.openxmlformats-officedocument."
                                                       "spreadsheetml.sheet.main+xml")},
                                         {"_rels/.rels",
                                          QStringLiteral("<Relationships xmlns=\"http://schemas.openxmlformats.org/"
                                                         "package/2006/relationships\"><Relationship Id=\"r\" "
                                                         "Type=\"%1officeDocument\" Target=\"word/document.xml\"/>"
                                                         "</Relationships>")
                                              .arg(kRel)},
                                         {"word/document.xml", kWordDocument}})
                              << invalid;
    QTest::newRow("word without relationships")
        << "Ohne.dotx" << zipped({{"[Content_Types].xml", contentTypes(kTemplateType)}, {"word/document.xml", kWordDocument}})
        << invalid;
}

void TestWordWriter::invalidTemplateWritesNothing()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);

    const QString path = QDir(m_templates).filePath(fileName);
    if (!bytes.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    WordWriter writer(m_out);
    try {
        writer.newDocument(path);
        QFAIL("the template was accepted");
    } catch (const OrvellaError &e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        QVERIFY2(e.message().contains(fileName), qPrintable(e.message()));
    }
    QVERIFY(!writer.hasDocument());
    QVERIFY(writer.documentPath().isEmpty());
    QCOMPARE(QDir(m_out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    QVERIFY_THROWS_EXCEPTION(OrvellaError, writer.goToBookmark(QStringLiteral("Datum")));
    QVERIFY_THROWS_EXCEPTION(OrvellaError, writer.show());
}

void TestWordWriter::newNamesNeverOverwrite()
{
    const QString stem = "Rechnung " + QDate::currentDate().toString("yyyy-MM-dd");
    const QString taken = QDir(m_out).filePath(stem + ".odt");
    QVERIFY(QDir().mkpath(m_out));
    {
        QFile old(taken);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("alt");
    }
    const QString templatePath = makeTemplate(QStringLiteral("odf"));
    WordWriter first(m_out);
    first.newDocument(templatePath);
    WordWriter second(m_out);
    second.newDocument(templatePath);
    second.goToBookmark(QStringLiteral("Datum"));
    second.typeText(QStringLiteral("zwei"));
    second.show();
    first.show();

    QCOMPARE(QFileInfo(first.documentPath()).fileName(), stem + " (2).odt");
    QCOMPARE(QFileInfo(second.documentPath()).fileName(), stem + " (3).odt");
    QFile old(taken);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("alt"));
    // each writer keeps to its own file
    QCOMPARE(visibleTextAt(first.documentPath(), "content.xml", "Datum"), QString());
    QCOMPARE(visibleTextAt(second.documentPath(), "content.xml", "Datum"), QStringLiteral("zwei"));

    // a Word template gets its own series
    WordWriter word(m_out);
    word.newDocument(makeTemplate(QStringLiteral("ooxml")));
    QCOMPARE(QFileInfo(word.documentPath()).fileName(), stem + ".docx");
    // the same writer makes a new file for a new document
    const QString earlier = word.documentPath();
    word.newDocument(makeTemplate(QStringLiteral("ooxml")));
    QCOMPARE(QFileInfo(word.documentPath()).fileName(), stem + " (2).docx");
    QVERIFY(QFile::exists(earlier));
}

void TestWordWriter::showSavesAndOpens()
{
    QList<QUrl> opened;
    WordWriter writer(m_out);
    writer.setOpener([&](const QUrl &url) {
        opened << url;
        return true;
    });
    writer.newDocument(makeTemplate(QStringLiteral("ooxml")));
    QVERIFY(opened.isEmpty());
    writer.goToBookmark(QStringLiteral("Datum"));
    writer.typeText(QStringLiteral("heute"));
    QVERIFY(writer.show());
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(writer.documentPath())});
    QCOMPARE(visibleTextAt(writer.documentPath(), "word/document.xml", "Datum"), QStringLiteral("heute"));

    // an opener that fails is reported, the document is saved all the same
    writer.setOpener([](const QUrl &) { return false; });
    writer.typeText(QStringLiteral(" und morgen"));
    QVERIFY(!writer.show());
    QCOMPARE(visibleTextAt(writer.documentPath(), "word/document.xml", "Datum"), QStringLiteral("heute und morgen"));

    // an empty opener opens nothing
    writer.setOpener({});
    QVERIFY(!writer.show());
    QCOMPARE(opened.size(), 1);

    // writers without their own folder and opener take the process-wide folder and
    // go to the desktop
    const QString elsewhere = m_dir->filePath(QStringLiteral("Anderswo"));
    WordWriter::setDefaultTargetDir(elsewhere);
    WordWriter plain;
    QCOMPARE(plain.targetDir(), elsewhere);
    plain.newDocument(makeTemplate(QStringLiteral("odf")));
    QVERIFY(plain.documentPath().startsWith(elsewhere + "/"));
    QVERIFY(m_desktopOpened.isEmpty());
    QVERIFY(plain.show());
    QCOMPARE(m_desktopOpened, QList<QUrl>{QUrl::fromLocalFile(plain.documentPath())});
    QCOMPARE(opened.size(), 1);

    WordWriter::setDefaultTargetDir(QString());
    QVERIFY(WordWriter().targetDir() != elsewhere);
}

void TestWordWriter::shippedLetterTemplates_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("OpenDocument") << "Brief.ott";
    QTest::newRow("Word") << "Brief.dotx";
}

void TestWordWriter::shippedLetterTemplates()
{
    QFETCH(QString, fileName);
    // a new home folder receives the templates from the program's resources
    TestEnv env(false);
    const QString templatePath = env.path("Allgemein/" + fileName);
    QVERIFY2(QFile::exists(templatePath), qPrintable(templatePath));

    // the letter command of the contact list, for a person
    const QList<QPair<QString, QString>> values = {
        {"Datum", "01.02.2025"}, {"SAnrede", "Sehr geehrter Herr Dr. Meier,"}, {"Anrede1", "Sehr geehrter Herr"},
        {"Anrede2", "Herr"},     {"Titel", "Dr."},                             {"NName", "Meier"},
        {"VName", "Hans"},       {"Name", ""},                                 {"Strasse", "Hauptstraße 1"},
        {"PLZ", "12345"},        {"Ort", "Musterstadt"},
    };
    WordWriter writer(m_out);
    writer.newDocument(templatePath);
    for (const auto &v : values) {
        QVERIFY2(writer.goToBookmark(v.first), qPrintable(v.first));
        writer.typeText(v.second);
    }
    writer.show();
    for (const auto &v : values) {
        const QString after = visibleTextAt(writer.documentPath(), mainPart(writer.documentPath()), v.first);
        QVERIFY2(after.left(v.second.size()) == v.second, qPrintable(v.first + ": " + after));
    }
    const QString xml = entryText(writer.documentPath(), mainPart(writer.documentPath()));
    QVERIFY(xml.contains(QStringLiteral("Mit freundlichen Grüßen")));
}

void TestWordWriter::officeConvertsResult_data()
{
    QTest::addColumn<QString>("templateFile"); // below resources/defaults, or a test template
    QTest::newRow("letter odf") << "Brief.ott";
    QTest::newRow("letter word") << "Brief.dotx";
    QTest::newRow("table odf") << "odf";
    QTest::newRow("table word") << "ooxml";
}

void TestWordWriter::officeConvertsResult()
{
    QFETCH(QString, templateFile);
    QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty())
        QSKIP("LibreOffice is not installed");

    TestEnv env(false);
    const bool letter = templateFile.startsWith(QLatin1String("Brief"));
    WordWriter writer(m_out);
    writer.newDocument(letter ? env.path("Allgemein/" + templateFile) : makeTemplate(templateFile));
    QVERIFY(writer.goToBookmark(letter ? QStringLiteral("Ort") : QStringLiteral("Datum")));
    writer.typeText(QStringLiteral("Prüfstadt"));
    if (!letter) {
        QVERIFY(writer.goToBookmark(QStringLiteral("Tabelle")));
        writer.addTable(2, 3, {40, 200, 60}, {{"Pos.", "Beschreibung", "Betrag €"}, {"1", "Zeile\nzwei", "3,00"}});
    }
    writer.show();

    const QString pdfDir = m_dir->filePath(QStringLiteral("pdf"));
    QProcess process;
    process.start(office, {"-env:UserInstallation=" + QUrl::fromLocalFile(m_dir->filePath("profil")).toString(),
                           "--headless", "--convert-to", "pdf", "--outdir", pdfDir, writer.documentPath()});
    QVERIFY(process.waitForFinished(240000));
    QCOMPARE(process.exitCode(), 0);
    const QString pdf = QDir(pdfDir).filePath(QFileInfo(writer.documentPath()).completeBaseName() + ".pdf");
    QVERIFY2(QFileInfo(pdf).size() > 0, qPrintable(process.readAllStandardError()));

    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (!pdftotext.isEmpty()) {
        QProcess text;
        text.start(pdftotext, {pdf, "-"});
        QVERIFY(text.waitForFinished(60000));
        const QString out = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(out.contains(QStringLiteral("Prüfstadt")), qPrintable(out));
        if (!letter)
            QVERIFY2(out.contains(QStringLiteral("Beschreibung")), qPrintable(out));
    }
}

QTEST_GUILESS_MAIN(TestWordWriter)
#include "tst_wordwriter.moc"
