// The print commands of the project window: the question before unsaved
// documents, the preview's choice, the band "Drucktool", print jobs, the fall-back
// to a PDF file without printers, and the band settings.

#include "DocumentPage.h"
#include "DunningPage.h"
#include "Errors.h"
#include "Formats.h"
#include "PdfText.h"
#include "PrintJobFile.h"
#include "PrintPreviewDialog.h"
#include "PrintPrompts.h"
#include "PrintQuestionDialog.h"
#include "PrintSystem.h"
#include "ProjectFixtures.h"
#include "ProjectPrinting.h"
#include "Settings.h"
#include "TestEnv.h"
#include "TfrmProjekt.h"
#include "TfrmProjektDetail.h"
#include "WindowHub.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

class Hub : public WindowHub
{
public:
    TfrmProjektDetail *detail = nullptr;
    bool has(Window w) const override { return w == Window::Project; }
    void showProject(qint64 p, qint64 c, bool company, bool isNew) override { detail->openProject(p, c, company, isNew); }
};

// Printers that exist only here: each job is drawn into a PDF file of its own, so
// that the test can look at what the printer would have printed.
class TestPrinters : public PrintSystem
{
public:
    struct Job
    {
        PrintTarget target;
        CopyMode mode;
        QString pdf;
    };
    QStringList installed;
    QList<Job> jobs;
    QString folder;
    bool broken = false; // the printers fail


    QStringList printers() const override { return installed; }
    void run(const PrintTarget &target, const PrintJobInfo &info, CopyMode mode, const PaintCopy &paint) override
    {
        if (broken && !target.isPdf())
            throw OrvellaError(QStringLiteral("Der Drucker „%1“ konnte nicht drucken.").arg(target.printerName));
        const QString pdf = target.isPdf() ? target.pdfPath
                                           : folder + QStringLiteral("/job%1.pdf").arg(jobs.size() + 1);
        PrintSystem::run(target.isPdf() ? target : PrintTarget::pdf(pdf), info, mode, paint);
        jobs << Job{target, mode, pdf};
    }
};

class TestPrompts : public PrintPrompts
{
public:
    std::optional<PrintTarget> answer;
    QList<PreviewRequest> asked;
    std::optional<PrintTarget> preview(const PreviewRequest &request, QWidget *) override
    {
        asked << request;
        return answer;
    }
};

const QColor Green(0, 160, 0);

bool hasLetterhead(const QString &pdf)
{
    return PdfText::picture(pdf, 1).pixelColor(1127, 268) == Green;
}

// Pictures of the windows to look at, when ORVELLA_PICTURES names a folder.
void savePicture(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("ORVELLA_PICTURES");
    if (!dir.isEmpty())
        w->grab().save(dir + QLatin1Char('/') + name);
}

} // namespace

class TestProjectPrint : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void tabPrintAsksBeforeUnsavedDocuments_data();
    void tabPrintAsksBeforeUnsavedDocuments();
    void failingPrinterKeepsTheSavedDocument();
    void pricesFollowTheOrderPage();
    void printJobAndBandPrinting();
    void withoutPrinterTheBandWritesAPdf();
    void bandSettings();
    void bandsFollowPageAndPermission();
    void dunningPagePrintsTheLetter();
    void previewAndQuestionDialogs();

private:
    TfrmProjektDetail *openProject();
    DocumentPage *pageWithArticle(DocumentKind kind);

    std::unique_ptr<TestEnv> m_env;
    Hub m_hub;
    std::unique_ptr<TfrmProjektDetail> m_window;
    std::unique_ptr<TfrmProjekt> m_new;
    TestPrinters *m_printers = nullptr;
    TestPrompts *m_prompts = nullptr;
    QString m_out;
};

void TestProjectPrint::init()
{
    m_env = std::make_unique<TestEnv>();
    m_out = m_env->path(QStringLiteral("ausgabe"));
    QDir().mkpath(m_out);
    // The documents folder of the desktop, where PDF files are proposed.
    QFile dirs(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/user-dirs.dirs"));
    QVERIFY(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DOCUMENTS_DIR=\"" + m_env->path(QStringLiteral("Dokumente")).toUtf8() + "\"\n");
}

void TestProjectPrint::cleanup()
{
    m_new.reset();
    m_window.reset();
    m_env.reset();
}

TfrmProjektDetail *TestProjectPrint::openProject()
{
    AddProjectContacts(*m_env);
    AppState &state = m_env->state();
    state.grantAll();
    state.hub = &m_hub;
    state.SelectedID = 10;
    m_window = std::make_unique<TfrmProjektDetail>(state);
    m_hub.detail = m_window.get();
    auto printers = std::make_unique<TestPrinters>();
    printers->installed = QStringList{QStringLiteral("Laser"), QStringLiteral("Archiv")};
    printers->folder = m_out;
    m_printers = printers.get();
    m_window->printing()->setSystem(std::move(printers));
    auto prompts = std::make_unique<TestPrompts>();
    m_prompts = prompts.get();
    m_window->printing()->setPrompts(std::move(prompts));
    m_new = std::make_unique<TfrmProjekt>(state);
    m_new->prepare();
    m_new->createProject(); // opens the project window
    return m_window.get();
}

DocumentPage *TestProjectPrint::pageWithArticle(DocumentKind kind)
{
    const int index = m_window->tabs()->indexOf(m_window->documentPage(kind));
    m_window->showPage(index);
    DocumentPage *page = m_window->documentPage(kind);
    LineList &lines = page->document().lines;
    lines.setCell(1, LineList::Pos, QStringLiteral("1"));
    lines.setCell(1, LineList::Bezeichnung, QStringLiteral("Regal"));
    lines.setCell(1, LineList::Anzahl, QStringLiteral("2"));
    lines.setCell(1, LineList::Einzelpreis, QStringLiteral("500,00"));
    lines.setCell(1, LineList::MwSt, QStringLiteral("19,00 %"));
    page->documentChanged();
    return page;
}

void TestProjectPrint::tabPrintAsksBeforeUnsavedDocuments_data()
{
    QTest::addColumn<int>("answer"); // to the question, -1: none asked
    QTest::addColumn<bool>("previewAnswered");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("printed");
    QTest::newRow("Abbrechen") << int(Dialogs::Answer::Cancel) << true << false << false;
    QTest::newRow("Probedruck") << int(Dialogs::Answer::No) << true << false << true;
    QTest::newRow("Speichern u. Drucken") << int(Dialogs::Answer::Yes) << true << true << true;
    QTest::newRow("saved, preview cancelled") << int(Dialogs::Answer::Yes) << false << true << false;
}

void TestProjectPrint::tabPrintAsksBeforeUnsavedDocuments()
{
    QFETCH(int, answer);
    QFETCH(bool, previewAnswered);
    QFETCH(bool, saved);
    QFETCH(bool, printed);
    openProject();
    DocumentPage *page = pageWithArticle(DocumentKind::Rechnung);
    const QString pdf = m_out + QStringLiteral("/Rechnung.pdf");
    if (previewAnswered)
        m_prompts->answer = PrintTarget::pdf(pdf);
    m_env->dialogs().answer(Dialogs::Answer(answer));
    page->btnPrint->click();

    QCOMPARE(m_env->dialogs().questions(),
             QStringList{QStringLiteral("Die Rechnung ist zu speichern bevor sie versendet wird!")});
    QCOMPARE(m_env->scalar(QStringLiteral("SELECT COUNT(*) FROM rechnungen")), saved ? "1" : "0");
    QCOMPARE(page->isClean(), saved);
    QCOMPARE(m_prompts->asked.size(), answer == int(Dialogs::Answer::Cancel) ? 0 : 1);
    QCOMPARE(QFile::exists(pdf), printed);
    if (!m_prompts->asked.isEmpty()) {
        QCOMPARE(m_prompts->asked.first().title, QStringLiteral("Rechnung 000001"));
        QCOMPARE(m_prompts->asked.first().pdfProposal, m_env->path(QStringLiteral("Dokumente/Rechnung 000001.pdf")));
    }
    if (printed) {
        const PdfText text(pdf);
        QVERIFY(text.contains(QStringLiteral("Regal")));
        QVERIFY(text.contains(QStringLiteral("Rechnungsanschrift:")) || text.contains(QStringLiteral("Muster GmbH")));
        QVERIFY(!hasLetterhead(pdf));
    }

    // A saved document prints without the question, from the menu entry as well.
    if (saved) {
        m_env->dialogs().clear();
        m_prompts->answer = PrintTarget::pdf(pdf);
        page->actPrint->trigger();
        QCOMPARE(m_env->dialogs().questions(), QStringList());
        QVERIFY(QFile::exists(pdf));
    }
}

void TestProjectPrint::failingPrinterKeepsTheSavedDocument()
{
    openProject();
    DocumentPage *page = pageWithArticle(DocumentKind::Rechnung);
    m_printers->broken = true;
    m_prompts->answer = PrintTarget::printer(QStringLiteral("Laser"), 1);
    m_env->dialogs().answer(Dialogs::Answer::Yes);
    page->btnPrint->click();
    QCOMPARE(m_env->dialogs().texts(ScriptedDialogs::Kind::Error),
             QStringList{QStringLiteral("Der Drucker „Laser“ konnte nicht drucken.")});
    QCOMPARE(m_env->scalar(QStringLiteral("SELECT COUNT(*) FROM rechnungen")), "1");
    QVERIFY(page->isClean());
    QCOMPARE(m_env->scalar(QStringLiteral("SELECT Betrag FROM rechnungenop WHERE RNR=1")), QStringLiteral("1190"));
    // The band fails the same way and the window goes on.
    m_window->printing()->btnDrucktool->click();
    QCOMPARE(m_env->dialogs().texts(ScriptedDialogs::Kind::Error).size(), 2);
    QVERIFY(m_printers->jobs.isEmpty());
}

void TestProjectPrint::pricesFollowTheOrderPage()
{
    openProject();
    DocumentPage *page = pageWithArticle(DocumentKind::Auftrag);
    page->chkPreis->setChecked(false);
    const QString pdf = m_out + QStringLiteral("/Auftrag.pdf");
    m_prompts->answer = PrintTarget::pdf(pdf);
    m_env->dialogs().answer(Dialogs::Answer::No);
    page->btnPrint->click();
    const PdfText text(pdf);
    QVERIFY(text.contains(QStringLiteral("Regal")));
    QVERIFY(!text.contains(QStringLiteral("1.000,00")));
    QVERIFY(!text.contains(QStringLiteral("Nettowert")));
    QCOMPARE(text.lineAt(1, 940 - 100, 200, 1500), QStringLiteral("Auftrag 000001"));
}

void TestProjectPrint::printJobAndBandPrinting()
{
    const QString head = m_env->path(QStringLiteral("kopf.png"));
    QImage picture(400, 80, QImage::Format_RGB32);
    picture.fill(Green);
    QVERIFY(picture.save(head));
    PrintJobFile jobs(m_env->home());
    jobs.createJob(QStringLiteral("Versand"));
    jobs.createJob(QStringLiteral("Kopie"));
    for (const char *job : {"Versand", "Kopie"})
        for (int k = 1; k <= 2; ++k)
            jobs.addStep(QLatin1String(job));
    PrintJobStep first;
    first.prnName = QStringLiteral("Laser");
    first.count = QStringLiteral("2");
    first.bmpColor = QStringLiteral("J");
    first.bmpName = head + QLatin1Char('\n');
    jobs.writeStep(QStringLiteral("Versand"), 1, first);
    PrintJobStep gone;
    gone.prnName = QStringLiteral("Alter Drucker");
    jobs.writeStep(QStringLiteral("Versand"), 2, gone);
    // The second job: no colour key and "0", so no letterhead although a picture is named.
    PrintJobStep plain = first;
    plain.prnName = QStringLiteral("Archiv");
    jobs.writeStep(QStringLiteral("Kopie"), 1, plain);
    jobs.write(PrintJobFile::stepSection(QStringLiteral("Kopie"), 1), QStringLiteral("bmpColor"), QString(),
               PrintJobFile::DeleteKey);
    plain.bmpColor = QStringLiteral("0");
    jobs.writeStep(QStringLiteral("Kopie"), 2, plain);

    openProject();
    ProjectPrinting *printing = m_window->printing();
    pageWithArticle(DocumentKind::Angebot);
    QCOMPARE(printing->cbDruckJob->count(), 2);
    QCOMPARE(printing->cbDruckJob->currentText(), QStringLiteral("Versand"));
    QVERIFY(printing->btnDruckJob->isEnabled());

    printing->btnDruckJob->click();
    // Step 1 printed, then the job stops at the printer that is gone.
    QCOMPARE(m_printers->jobs.size(), 1);
    QCOMPARE(m_printers->jobs[0].target, PrintTarget::printer(QStringLiteral("Laser"), 2));
    QVERIFY(hasLetterhead(m_printers->jobs[0].pdf));
    QCOMPARE(m_env->dialogs().messages(),
             QStringList{QStringLiteral("Eingestellter Drucker ist nicht mehr installiert! Bitte konfigurieren Sie "
                                        "diesen Job und versuchen es erneut.")});
    QCOMPARE(m_env->scalar(QStringLiteral("SELECT COUNT(*) FROM angebote")), "0"); // prints what is shown

    printing->cbDruckJob->setCurrentIndex(1);
    printing->btnDruckJob->click();
    QCOMPARE(m_printers->jobs.size(), 3);
    for (int j : {1, 2}) {
        QCOMPARE(m_printers->jobs[j].target, PrintTarget::printer(QStringLiteral("Archiv"), 2));
        QVERIFY(!hasLetterhead(m_printers->jobs[j].pdf));
    }

    // The band prints on its printer with its copies and the letterhead loaded last.
    printing->cbDrucker->setCurrentIndex(1);
    Q_EMIT printing->cbDrucker->activated(1);
    printing->spnExemplare->setValue(3);
    printing->btnDrucktool->click();
    QCOMPARE(m_printers->jobs.size(), 4);
    QCOMPARE(m_printers->jobs[3].target, PrintTarget::printer(QStringLiteral("Archiv"), 3));
    QCOMPARE(m_printers->jobs[3].mode, CopyMode::OneJob);
    QVERIFY(hasLetterhead(m_printers->jobs[3].pdf));
    QCOMPARE(PdfText(m_printers->jobs[3].pdf).lineAt(1, 940 - 100, 200, 1500), QStringLiteral("Angebot 000001"));
    // a step whose picture cannot be read but must print it stops the job
    first.bmpName = m_env->path(QStringLiteral("fehlt.png"));
    jobs.writeStep(QStringLiteral("Kopie"), 1, first);
    m_env->dialogs().clear();
    printing->btnDruckJob->click();
    QCOMPARE(m_printers->jobs.size(), 4);
    QCOMPARE(m_env->dialogs().messages().size(), 1);
    QVERIFY(m_env->dialogs().messages().first().startsWith(QStringLiteral("Der Firmenkopf")));
}

void TestProjectPrint::withoutPrinterTheBandWritesAPdf()
{
    openProject();
    m_printers->installed.clear();
    m_window->activate();
    pageWithArticle(DocumentKind::Rechnung);
    m_window->printing()->btnDrucktool->click();
    const QString pdf = m_env->path(QStringLiteral("Dokumente/Rechnung 000001.pdf"));
    QVERIFY(QFile::exists(pdf));
    QCOMPARE(m_env->dialogs().messages(),
             QStringList{QStringLiteral("Es ist kein Drucker eingerichtet. Der Ausdruck wurde als PDF-Datei gespeichert:\n")
                         + pdf});
    QVERIFY(PdfText(pdf).contains(QStringLiteral("Regal")));
    // The band's PDF command asks for the file, proposing the same name.
    const QString chosen = m_out + QStringLiteral("/eigener Name");
    m_env->dialogs().answerFile(chosen);
    m_window->printing()->actBandPdf->trigger();
    QVERIFY(QFile::exists(chosen + QStringLiteral(".pdf")));
}

void TestProjectPrint::bandSettings()
{
    {
        UserSettings settings;
        settings.writeInt(QStringLiteral("ProjektLeft"), 0);
        settings.writeInt(QStringLiteral("ProjektTop"), 0);
        settings.writeInt(QStringLiteral("UpDown1Position"), 4);
        settings.writeString(QStringLiteral("Drucker"), QStringLiteral("Archiv"));
        settings.writeBool(QStringLiteral("DruckTool"), false);
        settings.writeBool(QStringLiteral("WordTool"), true);
        settings.writeBool(QStringLiteral("DruckJob"), true);
    }
    openProject();
    ProjectPrinting *printing = m_window->printing();
    QCOMPARE(printing->cbDrucker->currentText(), QStringLiteral("Archiv"));
    QCOMPARE(printing->spnExemplare->value(), 4);
    QVERIFY(!m_window->actDruckTool->isChecked());
    QVERIFY(printing->tbDrucktool->isHidden());
    QVERIFY(m_window->actDruckJob->isChecked());
    // What the user chooses survives the next activation (a dialog closing).
    m_window->actDruckTool->setChecked(true);
    printing->cbDrucker->setCurrentIndex(0);
    Q_EMIT printing->cbDrucker->activated(0);
    printing->spnExemplare->setValue(2);
    m_window->activate();
    QCOMPARE(printing->cbDrucker->currentText(), QStringLiteral("Laser"));
    QCOMPARE(printing->spnExemplare->value(), 2);
    QVERIFY(!printing->tbDrucktool->isHidden());
    m_window->close();
    UserSettings settings;
    QCOMPARE(settings.readString(QStringLiteral("Drucker")), QStringLiteral("Laser"));
    QCOMPARE(settings.readInt(QStringLiteral("UpDown1Position")), 2);
    QCOMPARE(settings.readBool(QStringLiteral("DruckTool")), true);

    // A stored printer that is gone: nothing selected, the default printer prints.
    settings.writeString(QStringLiteral("Drucker"), QStringLiteral("Weg"));
    m_window->openProject(1, 10, true, false);
    QCOMPARE(printing->cbDrucker->currentIndex(), -1);
    pageWithArticle(DocumentKind::Angebot);
    printing->btnDrucktool->click();
    QCOMPARE(m_printers->jobs.last().target, PrintTarget::printer(QString(), 2));
    m_window->close();
    QCOMPARE(UserSettings().readString(QStringLiteral("Drucker")), QStringLiteral("Weg"));
}

void TestProjectPrint::bandsFollowPageAndPermission()
{
    openProject();
    ProjectPrinting *printing = m_window->printing();
    QCOMPARE(m_window->currentPage(), int(TfrmProjektDetail::ProjektPage));
    QVERIFY(!printing->btnDrucktool->isEnabled());
    QVERIFY(!printing->cbDruckJob->isEnabled()); // no print jobs
    m_window->showPage(TfrmProjektDetail::RechnungPage);
    QVERIFY(printing->btnDrucktool->isEnabled());
    QVERIFY(!printing->btnDruckJob->isEnabled());
    PrintJobFile(m_env->home()).createJob(QStringLiteral("Versand"));
    m_window->activate();
    QVERIFY(printing->btnDruckJob->isEnabled());
    // Without the permission to see invoices nothing prints them.
    m_env->state().Perm.fill(false);
    m_window->showPage(TfrmProjektDetail::AngebotPage);
    m_window->showPage(TfrmProjektDetail::RechnungPage);
    QVERIFY(m_window->documentPage(DocumentKind::Rechnung)->grpDocument->isHidden());
    QVERIFY(!printing->btnDrucktool->isEnabled());
    QVERIFY(!printing->btnDruckJob->isEnabled());
    // Hiding a band through "Ansicht".
    m_window->actDruckJob->trigger();
    QVERIFY(printing->tbDruckJob->isHidden());
}

void TestProjectPrint::dunningPagePrintsTheLetter()
{
    openProject();
    m_env->exec("INSERT INTO rechnungenop (RNR, MStufe, Gebucht) VALUES (5, 2, 'N')");
    m_env->exec("INSERT INTO mahnungen (BelegNr, RNr, MNr, ProjektNr, Datum, RL, EFirma) VALUES (3, 5, 2, 1, "
                "'01.02.2026', 'N', 'Holz')");
    m_env->exec("INSERT INTO mahnungentext (BelegNr, Text) VALUES (3, 'Sehr geehrte Damen und Herren,')");
    m_env->exec("INSERT INTO mahnungenanschrift (BelegNr, Art, Name) VALUES (3, 'A', 'Muster GmbH')");
    m_env->exec("INSERT INTO mahnungenanschrift (BelegNr, Art, Name) VALUES (3, 'R', '')");
    m_window->showPage(TfrmProjektDetail::MahnungPage);
    DunningPage *page = m_window->dunningPage();
    page->openDocument(3);
    m_window->showPage(TfrmProjektDetail::MahnungPage);
    QVERIFY(m_window->printing()->btnDrucktool->isEnabled());

    const QString pdf = m_out + QStringLiteral("/Mahnung.pdf");
    m_prompts->answer = PrintTarget::pdf(pdf, 2);
    page->btnPrint->click();
    QCOMPARE(m_env->dialogs().questions(), QStringList()); // a stored letter
    const PdfText text(pdf);
    QCOMPARE(text.pages(), 2); // two copies
    QCOMPARE(text.lineAt(1, 940 - 100), QStringLiteral("2. Mahnung zur Rechnung 000005"));
    QCOMPARE(text.lineAt(1, 1060 - 100), QStringLiteral("Sehr geehrte Damen und Herren,"));

    // Changed and not saved: the question names the letter; cancel prints nothing.
    page->cmdChange();
    page->memLetter->appendPlainText(QStringLiteral("Neue Zeile"));
    m_env->dialogs().answer(Dialogs::Answer::Cancel);
    m_prompts->asked.clear();
    page->btnPrint->click();
    QCOMPARE(m_env->dialogs().questions(),
             QStringList{QStringLiteral("Die Mahnung ist zu speichern bevor sie versendet wird!")});
    QVERIFY(m_prompts->asked.isEmpty());
    // The band prints the letter as shown, one job per copy.
    m_window->printing()->btnDrucktool->click();
    QCOMPARE(m_printers->jobs.last().mode, CopyMode::JobPerCopy);
    QVERIFY(PdfText(m_printers->jobs.last().pdf).contains(QStringLiteral("Neue Zeile")));
}

void TestProjectPrint::previewAndQuestionDialogs()
{
    openProject();
    DocumentPage *page = pageWithArticle(DocumentKind::Rechnung);
    m_window->resize(1000, 700);
    savePicture(m_window.get(), QStringLiteral("projektfenster-drucken.png"));

    // The question: three buttons, the default one has the focus, closing cancels.
    PrintQuestionDialog question(QStringLiteral("Die Rechnung ist zu speichern bevor sie versendet wird!"));
    question.show();
    QVERIFY(QTest::qWaitForWindowExposed(&question));
    QCOMPARE(question.memMessage->toPlainText(), QStringLiteral("Die Rechnung ist zu speichern bevor sie versendet wird!"));
    QVERIFY(question.btnSpeichernDrucken->hasFocus());
    QVERIFY(question.width() >= 282 && question.height() >= 116);
    savePicture(&question, QStringLiteral("druckfrage.png"));
    QTest::keyClick(&question, Qt::Key_Escape);
    QCOMPARE(question.choice(), PrintQuestionDialog::Cancel);
    question.btnProbedruck->click();
    QCOMPARE(question.choice(), PrintQuestionDialog::TestPrint);
    question.btnSpeichernDrucken->click();
    QCOMPARE(question.choice(), PrintQuestionDialog::SaveAndPrint);

    // The preview shows the pages; "Als PDF speichern…" asks for the file.
    m_prompts->answer = std::nullopt;
    m_env->dialogs().answer(Dialogs::Answer::No);
    page->btnPrint->click(); // to learn what the page hands to the preview
    QCOMPARE(m_prompts->asked.size(), 1);
    PrintPreviewDialog preview(m_prompts->asked.first(), m_env->dialogs());
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    preview.preview->updatePreview();
    QCOMPARE(preview.preview->pageCount(), 1);
    QCOMPARE(preview.lblSeite->text(), QStringLiteral("Seite 1 von 1"));
    savePicture(&preview, QStringLiteral("druckvorschau.png"));
    m_env->dialogs().answerFile(QString()); // cancelled: the preview stays
    preview.btnPdf->click();
    QVERIFY(preview.isVisible());
    m_env->dialogs().answerFile(m_out + QStringLiteral("/Vorschau.pdf"));
    preview.btnPdf->click();
    QCOMPARE(preview.result(), int(QDialog::Accepted));
    QCOMPARE(preview.target(), PrintTarget::pdf(m_out + QStringLiteral("/Vorschau.pdf")));
}

QTEST_MAIN(TestProjectPrint)
#include "tst_projectprint.moc"
