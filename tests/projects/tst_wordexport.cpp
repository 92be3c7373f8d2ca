#include "Desktop.h"
#include "Errors.h"
#include "ProjectStore.h"
#include "TestEnv.h"
#include "WordDocumentReader.h"
#include "WordExport.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

using Expected = QMap<QString, QString>;

// A document page as a user left it: special characters in every kind of field.
ShownDocumentPage shownPage(DocumentKind kind)
{
    ShownDocumentPage page{Document(kind), QStringLiteral("      000012"), QStringLiteral("     000007"),
                           QStringLiteral("      000010")};
    Document &d = page.document;
    d.ownCompany = QStringLiteral("Holz & Co. · Sägeweg 1 · 79100 Freiburg");
    d.address = {QStringLiteral("Müller & Söhne <GmbH>"), QStringLiteral("O'Brien-Straße 5"), QStringLiteral("70173 Stuttgart")};
    d.secondAddress = {QStringLiteral("Lager Süd"), QStringLiteral("Lagerweg 9"), QStringLiteral("70565 Stuttgart")};
    d.date = QStringLiteral("03.02.2025");
    d.invoiceNumber = 42;
    d.texts[0].text = QStringLiteral("Zahlbar ohne Abzug");
    d.texts[1].text = QStringLiteral("Lieferung \"frei Haus\" & versichert");
    d.skontoText = QStringLiteral("Skonto bei Zahlung in 8 Tagen");
    d.skontoPercent = QStringLiteral("2");
    // a heading, an article line with its text line, and the discount line
    d.lines.setLines({{"1", "A-7", "Schraube <M8> & Mutter", "1.000", "1,00", "1.000,00", "19,00 %"},
                      {"", "", "verzinkt, 'rostfrei'"},
                      {"2", "", "Treuerabatt", "", "10,00 %", "-100,00", "", "10"}});
    d.totals.setCell(1, TotalsList::Netto, QStringLiteral("900,00 €"));
    d.totals.setCell(1, TotalsList::Vat, QStringLiteral("171,00 € (19,00 %)"));
    d.totals.setCell(2, TotalsList::Vat, QStringLiteral("  0,00 €   (7,00 %)"));
    d.totals.setCell(2, TotalsList::Brutto, QStringLiteral("1.000,00 €"));
    d.letterLines = {QStringLiteral("Sehr geehrte Damen und Herren,"), QString(),
                     QStringLiteral("die Rechnung 'R-42' ist <überfällig> & offen.")};
    return page;
}

ProjectValue shownProject(bool company)
{
    ProjectValue p;
    p.company = company;
    if (company) {
        p.vname = QStringLiteral("Muster GmbH");
        p.nname = QStringLiteral("Bau");
    } else {
        p.anrede = QStringLiteral("Herr");
        p.titel = QStringLiteral("Dr.");
        p.vname = QStringLiteral("Hans");
        p.nname = QStringLiteral("Meier");
    }
    p.prName = QStringLiteral("Umbau & Erweiterung");
    p.anschrift = {QStringLiteral("Hauptadresse"), QStringLiteral("Am Bach 2"), QStringLiteral("79098"),
                   QStringLiteral("Freiburg"), QString()};
    p.lieferanschrift = {QString(), QStringLiteral("Lagerweg 9"), QStringLiteral("70565"), QStringLiteral("Stuttgart"),
                         QString()};
    p.prMemo = QStringLiteral("Erste Zeile\nZweite 'Zeile' <wichtig>");
    return p;
}

const Expected businessValues = {
    {"Absender", "Holz & Co. · Sägeweg 1 · 79100 Freiburg"},
    {"FiPe", "Müller & Söhne <GmbH>"},
    {"Strasse", "O'Brien-Straße 5"},
    {"PLZOrt", "70173 Stuttgart"},
    {"Datum", "03.02.2025"},
    {"ProjektNr", "     000007"},
    {"KundenNr", "      000010"},
    {"VorgangsNr", "      000012"},
    {"UnterText", "Zahlbar ohne Abzug\nLieferung \"frei Haus\" & versichert\n\n"},
    {"Skonto", "Skonto bei Zahlung in 8 Tagen 2 %. Entspricht  980,00 €"},
    {"Nettowert", "900,00 €"},
    {"MwSt", "171,00 € (19,00 %)\n  0,00 €   (7,00 %)\n"},
    {"EndBetrag", "1.000,00 €"},
    {"SAnrede", "Sehr geehrte Damen und Herren,"},
};

Expected with(Expected base, const Expected &changes)
{
    for (auto it = changes.begin(); it != changes.end(); ++it)
        base[it.key()] = it.value();
    return base;
}

QString officeProgram()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    return soffice.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("libreoffice")) : soffice;
}

} // namespace

class TestWordExport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void pageExport_data();
    void pageExport();
    void skontoSentence_data();
    void skontoSentence();
    void missingBookmarksAreSkipped();
    void failuresLeaveNothing_data();
    void failuresLeaveNothing();
    void templateList();
    void officeConvertsExport_data();
    void officeConvertsExport();

private:
    QString exportPage(const QString &templatePath, const WordExportContent &content);
    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<QTemporaryDir> m_out;
    QList<QUrl> m_opened;
};

void TestWordExport::initTestCase()
{
    SetDesktopOpener([this](const QUrl &url) {
        m_opened << url;
        return true;
    });
}

void TestWordExport::cleanupTestCase()
{
    SetDesktopOpener({});
}

void TestWordExport::init()
{
    // a new home folder holds the shipped templates
    m_env = std::make_unique<TestEnv>(false);
    m_out = std::make_unique<QTemporaryDir>();
    m_opened.clear();
}

QString TestWordExport::exportPage(const QString &templatePath, const WordExportContent &content)
{
    WordWriter writer(m_out->path());
    if (!WriteWordDocument(writer, templatePath, content))
        return QString();
    return writer.documentPath();
}

void TestWordExport::pageExport_data()
{
    QTest::addColumn<QString>("page"); // a kind's name, or "Projekt"
    QTest::addColumn<bool>("variant"); // company project, delivery address left, dunning without invoice address
    QTest::addColumn<QString>("templateFile");
    QTest::addColumn<Expected>("expected");

    const QList<std::tuple<QString, bool, QString, Expected>> rows = {
        {"Projekt", false, "Allgemein/Projekt",
         {{"Projekt", "Umbau & Erweiterung (000007)"},
          {"Datum", QDate::currentDate().toString("dd.MM.yyyy")},
          {"Name", "Herr Dr. Hans Meier"},
          {"Adresse", "Am Bach 2\n79098 Freiburg"},
          {"LAdresse", "Lagerweg 9\n70565 Stuttgart"},
          {"RAdresse", "\n "},
          {"Bemerkung", "Erste Zeile\nZweite 'Zeile' <wichtig>"}}},
        {"Projekt", true, "Allgemein/Projekt", {{"Name", "Muster GmbH "}}},
        {"Angebot", false, "Angebote/Angebot", with(businessValues, {{"VorgangsArt", "Angebot"}})},
        {"Auftrag", false, "Aufträge/Auftrag", with(businessValues, {{"VorgangsArt", "Auftrag"}})},
        {"Lieferschein", false, "Lieferscheine/Lieferschein", with(businessValues, {{"VorgangsArt", "Lieferschein"}})},
        {"Lieferschein", true, "Lieferscheine/Lieferschein",
         with(businessValues, {{"FiPe", "Lager Süd"}, {"Strasse", "Lagerweg 9"}, {"PLZOrt", "70565 Stuttgart"}})},
        {"Rechnung", false, "Rechnungen/Rechnung", with(businessValues, {{"VorgangsArt", "Rechnung"}})},
        {"Gutschrift", false, "Gutschriften/Gutschrift",
         with(businessValues, {{"VorgangsArt", "Gutschrift"}, {"GRNr", "Gutschrift zur Rechnung Nr.: 000042"}})},
        {"Ablage", false, "Ablage/Ablage", with(businessValues, {{"VorgangsArt", "Ablage"}})},
        {"Mahnung", false, "Mahnungen/Mahnung",
         {{"Absender", "Holz & Co. · Sägeweg 1 · 79100 Freiburg"},
          {"FiPe", "Lager Süd"},
          {"Strasse", "Lagerweg 9"},
          {"PLZOrt", "70565 Stuttgart"},
          {"Datum", "03.02.2025"},
          {"ProjektNr", "     000007"},
          {"KundenNr", "      000010"},
          {"VorgangsArt", "Mahnung"},
          {"VorgangsNr", "      000012"},
          {"MahnText", "Sehr geehrte Damen und Herren,\n\ndie Rechnung 'R-42' ist <überfällig> & offen."}}},
        {"Mahnung", true, "Mahnungen/Mahnung",
         {{"FiPe", "Müller & Söhne <GmbH>"}, {"Strasse", "O'Brien-Straße 5"}, {"PLZOrt", "70173 Stuttgart"}}},
    };
    for (const auto &[page, variant, file, expected] : rows)
        for (const char *suffix : {".ott", ".dotx"})
            QTest::addRow("%s%s %s", qPrintable(page), variant ? " variant" : "", suffix)
                << page << variant << file + suffix << expected;
}

void TestWordExport::pageExport()
{
    QFETCH(QString, page);
    QFETCH(bool, variant);
    QFETCH(QString, templateFile);
    QFETCH(Expected, expected);

    WordExportContent content;
    if (page == QLatin1String("Projekt")) {
        content.bookmarks = ProjectPageBookmarks(shownProject(variant), 7, QDate::currentDate());
    } else {
        const QList<DocumentKind> kinds = DocumentKind::all();
        const DocumentKind kind = *std::find_if(kinds.begin(), kinds.end(), [&](DocumentKind k) { return k.name() == page; });
        ShownDocumentPage shown = shownPage(kind);
        if (kind == DocumentKind::Mahnung) {
            if (variant)
                shown.document.secondAddress = {};
            content = DunningLetterContent(shown);
        } else {
            shown.document.addressLeft = variant;
            content = BusinessDocumentContent(shown, QStringLiteral("Sehr geehrte Damen und Herren,"),
                                              QStringLiteral("€"));
        }
    }
    const QString path = exportPage(m_env->path(templateFile), content);
    QVERIFY(!path.isEmpty());
    QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(path)});
    const ReadBackDocument doc = ReadBackWordDocument(path);
    QVERIFY(doc.ok);
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(doc.afterBookmark.value(it.key(), QStringLiteral("<fehlt>")), it.value());
    // the shipped templates carry every bookmark of their page; "GRNr" only the credit note's
    if (page != QLatin1String("Gutschrift"))
        QVERIFY(!doc.afterBookmark.contains(QStringLiteral("GRNr")));

    if (!content.hasTable) {
        QCOMPARE(doc.tableStartingWith(QStringLiteral("Pos.")).size(), 0);
        return;
    }
    // the line table: a heading row and one row per line, seven columns
    const QList<ReadBackDocument::Row> table = doc.tableStartingWith(QStringLiteral("Pos."));
    QCOMPARE(table.size(), 4);
    const QList<QStringList> cells = {
        {"Pos.", "Art.-Nr.", "Beschreibung", "Anzahl", "Einzelpreis €", "Betrag €", "MwSt"},
        {"1", "A-7", "Schraube <M8> & Mutter", "1.000", "1,00", "1.000,00", "19,00 %"},
        {"", "", "verzinkt, 'rostfrei'", "", "", "", ""},
        {"2", "", "Treuerabatt", "", "10,00 %", "-100,00", ""}};
    const QStringList aligns = {"right", "left", "left", "right", "right", "right", "right"};
    for (int r = 0; r < table.size(); ++r) {
        QCOMPARE(table[r].heading, r == 0);
        QCOMPARE(table[r].cells.size(), 7);
        for (int c = 0; c < 7; ++c) {
            QCOMPARE(table[r].cells[c].text, cells[r][c]);
            QCOMPARE(table[r].cells[c].align, aligns[c]);
        }
    }
    // the table stands between the introduction and the totals
    const QString text = doc.text;
    QVERIFY2(text.indexOf("Schraube <M8>") > text.indexOf("Sehr geehrte Damen")
                 && text.indexOf("Schraube <M8>") < text.indexOf("900,00 €"),
             qPrintable(text));
}

void TestWordExport::skontoSentence_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("percent");
    QTest::addColumn<QString>("gross");
    QTest::addColumn<QString>("sentence");

    QTest::newRow("example") << "T" << "2" << "1.000,00 €" << "T 2 %. Entspricht  980,00 €";
    QTest::newRow("three on 200") << "Skonto" << "3" << "200,00 €" << "Skonto 3 %. Entspricht  194,00 €";
    QTest::newRow("as entered") << "T" << "2,00" << "1.000,00 €" << "T 2,00 %. Entspricht  980,00 €";
    QTest::newRow("fraction") << "T" << "2,5" << "1.234,56 €" << "T 2,5 %. Entspricht  1.203,70 €";
    QTest::newRow("no text") << "" << "2" << "100,00 €" << " 2 %. Entspricht  98,00 €";
    QTest::newRow("credit note") << "T" << "3" << "-200,00 €" << "T 3 %. Entspricht  -194,00 €";
    QTest::newRow("no percentage") << "T" << "" << "1.000,00 €" << "";
    QTest::newRow("no gross") << "T" << "2" << "" << "";
}

void TestWordExport::skontoSentence()
{
    QFETCH(QString, text);
    QFETCH(QString, percent);
    QFETCH(QString, gross);
    QFETCH(QString, sentence);
    QCOMPARE(SkontoSentence(text, percent, gross, QStringLiteral("€")), sentence);
}

void TestWordExport::missingBookmarksAreSkipped()
{
    // a template with the date and the table only
    const QString path = m_env->path(QStringLiteral("Rechnungen/Knapp.odt"));
    {
        ZipPackage package;
        package.setData("mimetype", "application/vnd.oasis.opendocument.text");
        package.storeFirst("mimetype");
        package.setData("content.xml",
                        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
                        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:text>"
                        "<text:p>Vom <text:bookmark text:name=\"Datum\"/></text:p>"
                        "<text:p><text:bookmark text:name=\"Tabelle\"/></text:p>"
                        "</office:text></office:body></office:document-content>");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(package.write());
    }
    const QString document = exportPage(path, BusinessDocumentContent(shownPage(DocumentKind::Rechnung), {}, "€"));
    const ReadBackDocument doc = ReadBackWordDocument(document);
    QCOMPARE(doc.afterBookmark, (QMap<QString, QString>{{"Datum", "03.02.2025"}, {"Tabelle", ""}}));
    QCOMPARE(doc.tableStartingWith(QStringLiteral("Pos.")).size(), 4);
    // nothing of the skipped bookmarks went anywhere else
    QVERIFY(!doc.text.contains(QStringLiteral("Müller")));
}

void TestWordExport::failuresLeaveNothing_data()
{
    QTest::addColumn<QString>("templateFile");
    QTest::addColumn<bool>("brokenGross");
    QTest::addColumn<QString>("message");

    // the letter has no "Tabelle": the table cannot be placed
    QTest::newRow("no table bookmark") << "Allgemein/Brief.dotx" << false << "keine Textmarke \"Tabelle\"";
    QTest::newRow("not a document") << "Rechnungen/Kaputt.ott" << false << "keine gültige Dokumentvorlage";
    QTest::newRow("gross not a number") << "Rechnungen/Rechnung.ott" << true << "'12,3x €' ist kein gültiger Betrag";
}

void TestWordExport::failuresLeaveNothing()
{
    QFETCH(QString, templateFile);
    QFETCH(bool, brokenGross);
    QFETCH(QString, message);

    QFile broken(m_env->path(QStringLiteral("Rechnungen/Kaputt.ott")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("kein Archiv");
    broken.close();

    ShownDocumentPage page = shownPage(DocumentKind::Rechnung);
    if (brokenGross)
        page.document.totals.setCell(2, TotalsList::Brutto, QStringLiteral("12,3x €"));
    const QDir folder(QFileInfo(m_env->path(templateFile)).path());
    WordWriter writer(m_out->path());
    try {
        RunWordExport(m_env->dialogs(), folder.path(), QFileInfo(templateFile).fileName(),
                      [&] { return BusinessDocumentContent(page, {}, "€"); }, writer);
        QFAIL("the export did not fail");
    } catch (const OrvellaError &e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
    QCOMPARE(QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QVERIFY(m_opened.isEmpty());
    QVERIFY(m_env->dialogs().messages().isEmpty());
}

void TestWordExport::templateList()
{
    // every template kind, sorted by name whatever its case; no hidden files, lock
    // files, folders or other files
    const QDir dir(m_env->path(QStringLiteral("Vorlagen")));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("Ordner.ott"))));
    for (const char *name : {"b.dotx", "A.ott", "c.DOCX", "d.odt", ".versteckt.ott", "~$b.dotx", "Brief.dot", "e.txt"}) {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QCOMPARE(WordTemplateNames(dir.path()), (QStringList{"A.ott", "b.dotx", "c.DOCX", "d.odt"}));
    // the shipped folders, with the letter beside the project sheet
    QCOMPARE(WordTemplateNames(m_env->path(WordTemplateFolder({}))),
             (QStringList{"Brief.dotx", "Brief.ott", "Projekt.dotx", "Projekt.ott"}));
    for (DocumentKind kind : DocumentKind::all())
        QCOMPARE(WordTemplateNames(m_env->path(WordTemplateFolder(kind))).size(), 2);

    // a missing folder and an empty list are named to the user, nothing is gathered
    const QString missing = m_env->path(QStringLiteral("Fehlt"));
    const QString empty = m_env->path(QStringLiteral("Leer"));
    QVERIFY(QDir().mkpath(empty));
    WordWriter writer(m_out->path());
    bool gathered = false;
    for (const QString &folder : {missing, empty})
        RunWordExport(m_env->dialogs(), folder, WordTemplateNames(folder).value(0),
                      [&] {
                          gathered = true;
                          return WordExportContent();
                      },
                      writer);
    const QStringList warnings = m_env->dialogs().texts(ScriptedDialogs::Kind::Warning);
    QCOMPARE(warnings.size(), 2);
    QVERIFY2(warnings[0].contains("\"" + missing + "\" fehlt"), qPrintable(warnings[0]));
    QVERIFY2(warnings[1].contains("\"" + empty + "\" liegt keine Dokumentvorlage"), qPrintable(warnings[1]));
    QVERIFY(!gathered);
    QVERIFY(!writer.hasDocument());
}

void TestWordExport::officeConvertsExport_data()
{
    QTest::addColumn<QString>("templateFile");
    QTest::newRow("OpenDocument") << "Rechnungen/Rechnung.ott";
    QTest::newRow("Word") << "Rechnungen/Rechnung.dotx";
}

void TestWordExport::officeConvertsExport()
{
    QFETCH(QString, templateFile);
    const QString office = officeProgram();
    if (office.isEmpty())
        QSKIP("LibreOffice is not installed (scripts/bootstrap installs it)");

    const QString document = exportPage(
        m_env->path(templateFile),
        BusinessDocumentContent(shownPage(DocumentKind::Rechnung), QStringLiteral("Sehr geehrte Damen und Herren,"), "€"));
    QProcess convert;
    convert.start(office, {"-env:UserInstallation=" + QUrl::fromLocalFile(m_out->filePath("profil")).toString(),
                           "--headless", "--convert-to", "pdf", "--outdir", m_out->filePath("pdf"), document});
    QVERIFY(convert.waitForFinished(240000));
    const QString pdf = m_out->filePath("pdf/" + QFileInfo(document).completeBaseName() + ".pdf");
    QVERIFY2(QFileInfo(pdf).size() > 0, qPrintable(convert.readAllStandardError()));

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
    QVERIFY(text.waitForFinished(60000));
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    for (const char *expected : {"Müller & Söhne <GmbH>", "O'Brien-Straße 5", "Rechnungs-Nr.", "000012", "Beschreibung",
                                 "Schraube <M8> & Mutter", "verzinkt, 'rostfrei'", "1.000,00", "Rechnungsbetrag: 1.000,00 €",
                                 "Skonto bei Zahlung in 8 Tagen 2 %. Entspricht 980,00 €", "Lieferung \"frei Haus\"",
                                 "Seite 1 von 1"})
        QVERIFY2(out.contains(QString::fromUtf8(expected)), qPrintable(QString::fromUtf8(expected) + "\n" + out));
}

QTEST_MAIN(TestWordExport)
#include "tst_wordexport.moc"
