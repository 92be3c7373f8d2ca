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

// A document page as a user left it, with special characters in every kind of field.
ShownDocumentPage shownPage(DocumentKind kind)
{
    ShownDocumentPage page{Document(kind), "      000012", "     000007", "      000010"};
    Document &d = page.document;
    d.ownCompany = "Holz & Co. · Sägeweg 1 · 79100 Freiburg";
    d.address = {"Müller & Söhne <GmbH>", "O'Brien-Straße 5", "70173 Stuttgart"};
    d.secondAddress = {"Lager Süd", "Lagerweg 9", "70565 Stuttgart"};
    d.date = "03.02.2025";
    d.invoiceNumber = 42;
    d.texts[0].text = "Zahlbar ohne Abzug";
    d.texts[1].text = "Lieferung \"frei Haus\" & versichert";
    d.skontoText = "Skonto bei Zahlung in 8 Tagen";
    d.skontoPercent = "2";
    // an article line with its text line, and the discount line
    d.lines.setLines({{"1", "A-7", "Schraube <M8> & Mutter", "1.000", "1,00", "1.000,00", "19,00 %"},
                      {"", "", "verzinkt, 'rostfrei'"},
                      {"2", "", "Treuerabatt", "", "10,00 %", "-100,00", "", "10"}});
    d.totals.setCell(1, TotalsList::Netto, "900,00 €");
    d.totals.setCell(1, TotalsList::Vat, "171,00 € (19,00 %)");
    d.totals.setCell(2, TotalsList::Vat, "  0,00 €   (7,00 %)");
    d.totals.setCell(2, TotalsList::Brutto, "1.000,00 €");
    d.letterLines = {"Sehr geehrte Damen und Herren,", "", "die Rechnung 'R-42' ist <überfällig> & offen."};
    return page;
}

ProjectValue shownProject(bool company)
{
    ProjectValue p;
    p.company = company;
    p.anrede = company ? "" : "Herr";
    p.titel = company ? "" : "Dr.";
    p.vname = company ? "Muster GmbH" : "Hans";
    p.nname = company ? "Bau" : "Meier";
    p.prName = "Umbau & Erweiterung";
    p.anschrift = {"Hauptadresse", "Am Bach 2", "79098", "Freiburg", ""};
    p.lieferanschrift = {"", "Lagerweg 9", "70565", "Stuttgart", ""};
    p.prMemo = "Erste Zeile\nZweite 'Zeile' <wichtig>";
    return p;
}

WordExportContent contentOf(const QString &page, bool variant)
{
    if (page == QLatin1String("Projekt"))
        return {ProjectPageBookmarks(shownProject(variant), 7, QDate::currentDate()), false, {}};
    const QList<DocumentKind> kinds = DocumentKind::all();
    const DocumentKind kind = *std::find_if(kinds.begin(), kinds.end(), [&](DocumentKind k) { return k.name() == page; });
    ShownDocumentPage shown = shownPage(kind);
    if (kind == DocumentKind::Mahnung) {
        if (variant)
            shown.document.secondAddress = {};
        return DunningLetterContent(shown);
    }
    shown.document.addressLeft = variant;
    return BusinessDocumentContent(shown, "Sehr geehrte Damen und Herren,", "€");
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

} // namespace

class TestWordExport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        SetDesktopOpener([this](const QUrl &url) {
            m_opened << url;
            return true;
        });
    }
    void cleanupTestCase() { SetDesktopOpener({}); }
    void init();
    void pageExport_data();
    void pageExport();
    void skontoSentence_data();
    void skontoSentence();
    void failuresLeaveNothing_data();
    void failuresLeaveNothing();
    void templateList();
    void officeConvertsExport_data();
    void officeConvertsExport();

private:
    QString exportTo(const QString &templateFile, const WordExportContent &content)
    {
        WordWriter writer(m_out->path());
        return WriteWordDocument(writer, m_env->path(templateFile), content) ? writer.documentPath() : QString();
    }
    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<QTemporaryDir> m_out;
    QList<QUrl> m_opened;
};

void TestWordExport::init()
{
    // a new home folder holds the shipped templates
    m_env = std::make_unique<TestEnv>(false);
    m_out = std::make_unique<QTemporaryDir>();
    m_opened.clear();
}

void TestWordExport::pageExport_data()
{
    QTest::addColumn<QString>("page"); // a kind's name, or "Projekt"
    QTest::addColumn<bool>("variant"); // company project, delivery address left, dunning without invoice address
    QTest::addColumn<QString>("templateFile");
    QTest::addColumn<Expected>("expected");

    const QList<std::tuple<QString, bool, QString, Expected>> rows = {
        {"Projekt", false, "Allgemein/Projekt",
         {{"Projekt", "Umbau & Erweiterung (000007)"}, {"Datum", QDate::currentDate().toString("dd.MM.yyyy")},
          {"Name", "Herr Dr. Hans Meier"}, {"Adresse", "Am Bach 2\n79098 Freiburg"},
          {"LAdresse", "Lagerweg 9\n70565 Stuttgart"}, {"RAdresse", "\n "},
          {"Bemerkung", "Erste Zeile\nZweite 'Zeile' <wichtig>"}}},
        {"Projekt", true, "Allgemein/Projekt", {{"Name", "Muster GmbH "}}},
        {"Angebot", false, "Angebote/Angebot", with(businessValues, {{"VorgangsArt", "Angebot"}})},
        {"Auftrag", false, "Aufträge/Auftrag", with(businessValues, {{"VorgangsArt", "Auftrag"}})},
        {"Lieferschein", false, "Lieferscheine/Lieferschein", with(businessValues, {{"VorgangsArt", "Lieferschein"}})},
        {"Lieferschein", true, "Lieferscheine/Lieferschein",
         {{"FiPe", "Lager Süd"}, {"Strasse", "Lagerweg 9"}, {"PLZOrt", "70565 Stuttgart"}}},
        {"Rechnung", false, "Rechnungen/Rechnung", with(businessValues, {{"VorgangsArt", "Rechnung"}})},
        {"Gutschrift", false, "Gutschriften/Gutschrift",
         with(businessValues, {{"VorgangsArt", "Gutschrift"}, {"GRNr", "Gutschrift zur Rechnung Nr.: 000042"}})},
        {"Ablage", false, "Ablage/Ablage", with(businessValues, {{"VorgangsArt", "Ablage"}})},
        {"Mahnung", false, "Mahnungen/Mahnung",
         {{"Absender", businessValues["Absender"]}, {"FiPe", "Lager Süd"}, {"Strasse", "Lagerweg 9"},
          {"PLZOrt", "70565 Stuttgart"}, {"Datum", "03.02.2025"}, {"ProjektNr", "     000007"},
          {"KundenNr", "      000010"}, {"VorgangsArt", "Mahnung"}, {"VorgangsNr", "      000012"},
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

    const WordExportContent content = contentOf(page, variant);
    const QString path = exportTo(templateFile, content);
    QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(path)});
    const ReadBackDocument doc = ReadBackWordDocument(path);
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(doc.afterBookmark.value(it.key(), "<fehlt>"), it.value());
    // the credit note's invoice reference means nothing to the other kinds' templates
    QCOMPARE(doc.afterBookmark.contains("GRNr"), page == QLatin1String("Gutschrift"));

    // the line table: headings and one row per line, aligned by column, in the
    // template's look, between the introduction and the totals
    const ReadBackDocument::Table table = doc.tableStartingWith("Pos.");
    QCOMPARE(table.rows.size(), content.hasTable ? 4 : 0);
    if (!content.hasTable)
        return;
    const QList<QStringList> cells = {
        {"Pos.", "Art.-Nr.", "Beschreibung", "Anzahl", "Einzelpreis €", "Betrag €", "MwSt"},
        {"1", "A-7", "Schraube <M8> & Mutter", "1.000", "1,00", "1.000,00", "19,00 %"},
        {"", "", "verzinkt, 'rostfrei'", "", "", "", ""},
        {"2", "", "Treuerabatt", "", "10,00 %", "-100,00", ""}};
    const QStringList aligns = {"right", "left", "left", "right", "right", "right", "right"};
    for (int r = 0; r < 4; ++r) {
        QCOMPARE(table.rows[r].heading, r == 0);
        QCOMPARE(table.rows[r].cells.size(), 7);
        for (int c = 0; c < 7; ++c) {
            QCOMPARE(table.rows[r].cells[c].text, cells[r][c]);
            QCOMPARE(table.rows[r].cells[c].align, aligns[c]);
        }
    }
    QCOMPARE(table.look, templateFile.endsWith(".ott") ? "#2F4A6D" : "Tabelle");
    QVERIFY(doc.text.indexOf("Schraube") > doc.text.indexOf("Sehr geehrte")
            && doc.text.indexOf("Schraube") < doc.text.indexOf("900,00 €"));
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
    QCOMPARE(SkontoSentence(text, percent, gross, "€"), sentence);
}

void TestWordExport::failuresLeaveNothing_data()
{
    QTest::addColumn<QString>("templateFile");
    QTest::addColumn<QString>("gross");
    QTest::addColumn<QString>("message");

    // the letter has no "Tabelle": the line table has nowhere to go
    QTest::newRow("no table bookmark") << "Allgemein/Brief.dotx" << "1,00 €" << "keine Textmarke \"Tabelle\"";
    QTest::newRow("not a document") << "Rechnungen/Kaputt.ott" << "1,00 €" << "keine gültige Dokumentvorlage";
    QTest::newRow("gross not a number") << "Rechnungen/Rechnung.ott" << "12,3x €" << "'12,3x €' ist kein gültiger Betrag";
}

void TestWordExport::failuresLeaveNothing()
{
    QFETCH(QString, templateFile);
    QFETCH(QString, gross);
    QFETCH(QString, message);

    QFile broken(m_env->path("Rechnungen/Kaputt.ott"));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("kein Archiv") > 0);
    broken.close();
    ShownDocumentPage page = shownPage(DocumentKind::Rechnung);
    page.document.totals.setCell(2, TotalsList::Brutto, gross);
    WordWriter writer(m_out->path());
    try {
        RunWordExport(m_env->dialogs(), QFileInfo(m_env->path(templateFile)).path(), QFileInfo(templateFile).fileName(),
                      [&] { return BusinessDocumentContent(page, {}, "€"); }, writer);
        QFAIL("the export did not fail");
    } catch (const OrvellaError &e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
    QCOMPARE(QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QVERIFY(m_opened.isEmpty() && m_env->dialogs().messages().isEmpty());
}

void TestWordExport::templateList()
{
    // templates of both formats by name, whatever the case; no hidden or lock
    // files, folders or other files
    const QDir dir(m_env->path("Vorlagen"));
    QVERIFY(QDir().mkpath(dir.filePath("Ordner.ott")));
    for (const char *name : {"b.dotx", "A.ott", "c.DOCX", "d.odt", ".versteckt.ott", "~$b.dotx", "Brief.dot", "e.txt"})
        QVERIFY(QFile(dir.filePath(QString::fromUtf8(name))).open(QIODevice::WriteOnly));
    QCOMPARE(WordTemplateNames(dir.path()), (QStringList{"A.ott", "b.dotx", "c.DOCX", "d.odt"}));

    // a template without the page's bookmarks: the project page into the letter
    WordExportContent project = contentOf("Projekt", false);
    const ReadBackDocument letter = ReadBackWordDocument(exportTo("Allgemein/Brief.ott", project));
    QCOMPARE(letter.afterBookmark.value("Datum"), QDate::currentDate().toString("dd.MM.yyyy"));
    QVERIFY(letter.afterBookmark.value("Name").startsWith("Herr Dr. Hans Meier"));
    QVERIFY(!letter.text.contains("Am Bach 2") && !letter.text.contains("Umbau"));

    // a missing folder and an empty one are named to the user; nothing is gathered
    const QString missing = m_env->path("Fehlt"), empty = m_env->path("Leer");
    QVERIFY(QDir().mkpath(empty));
    WordWriter writer(m_out->path());
    bool gathered = false;
    for (const QString &folder : {missing, empty})
        RunWordExport(m_env->dialogs(), folder, WordTemplateNames(folder).value(0),
                      [&] { return gathered = true, WordExportContent(); }, writer);
    QVERIFY(!gathered && !writer.hasDocument());
    const QStringList warnings = m_env->dialogs().texts(ScriptedDialogs::Kind::Warning);
    QCOMPARE(warnings.size(), 2);
    QVERIFY2(warnings[0].contains("\"" + missing + "\" fehlt"), qPrintable(warnings[0]));
    QVERIFY2(warnings[1].contains("\"" + empty + "\" liegt keine Dokumentvorlage"), qPrintable(warnings[1]));
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
    const QString office = QStandardPaths::findExecutable("soffice");
    if (office.isEmpty())
        QSKIP("LibreOffice is not installed (scripts/bootstrap installs it)");

    const QString document = exportTo(templateFile, contentOf("Rechnung", false));
    QProcess convert;
    convert.start(office, {"-env:UserInstallation=" + QUrl::fromLocalFile(m_out->filePath("profil")).toString(),
                           "--headless", "--convert-to", "pdf", "--outdir", m_out->filePath("pdf"), document});
    QVERIFY(convert.waitForFinished(240000));
    const QString pdf = m_out->filePath("pdf/" + QFileInfo(document).completeBaseName() + ".pdf");
    QVERIFY2(QFileInfo(pdf).size() > 0, qPrintable(convert.readAllStandardError()));
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    QVERIFY(text.waitForFinished(60000));
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    for (const char *expected : {"Müller & Söhne <GmbH>", "O'Brien-Straße 5", "Rechnungs-Nr.", "000012", "Beschreibung",
                                 "Schraube <M8> & Mutter", "verzinkt, 'rostfrei'", "Rechnungsbetrag: 1.000,00 €",
                                 "Entspricht", "980,00 €", "Lieferung \"frei Haus\"", "Seite 1 von 1"})
        QVERIFY2(out.contains(QString::fromUtf8(expected)), qPrintable(QString::fromUtf8(expected) + "\n" + out));
    // each VAT line on a line of its own
    const QStringList vatLines = out.split('\n').filter("%)");
    QCOMPARE(vatLines.size(), 2);
    QVERIFY2(vatLines[0].count("%)") == 1 && vatLines[1].count("%)") == 1, qPrintable(vatLines.join('\n')));
}

QTEST_MAIN(TestWordExport)
#include "tst_wordexport.moc"
