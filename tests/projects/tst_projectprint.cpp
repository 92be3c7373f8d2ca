// The print commands of the project window: the question before unsaved
// documents, the preview, the band "Drucktool", print jobs, failing printers, the
// PDF file without printers, and the band settings.

#include "Desktop.h"
#include "DocumentPage.h"
#include "DunningPage.h"
#include "Errors.h"
#include "PdfText.h"
#include "PrintJobFile.h"
#include "PrintPreviewDialog.h"
#include "PrintQuestionDialog.h"
#include "ProjectFixtures.h"
#include "ProjectPrinting.h"
#include "Settings.h"
#include "TfrmProjekt.h"
#include "TfrmProjektDetail.h"
#include "WindowHub.h"

#include <QtTest>
#include <QtWidgets>
#include <QPrintPreviewWidget>

namespace {

class Hub : public WindowHub
{
public:
    TfrmProjektDetail *detail = nullptr;
    bool has(Window w) const override { return w == Window::Project; }
    void showProject(qint64 p, qint64 c, bool company, bool isNew) override { detail->openProject(p, c, company, isNew); }
};

// Printers "Laser" and "Archiv" that exist only here: each job is drawn into a
// PDF file of its own, to look at what the printer would have printed.
class TestPrinters : public PrintSystem
{
public:
    QStringList installed{QStringLiteral("Laser"), QStringLiteral("Archiv")};
    struct Job
    {
        PrintTarget target;
        CopyMode mode;
        QString pdf; // what was drawn
    };
    QList<Job> jobs;
    QString folder;
    bool broken = false;

    QStringList printers() const override { return installed; }
    void run(const PrintTarget &target, const PrintJobInfo &info, CopyMode mode, const PaintCopy &paint) override
    {
        if (broken && !target.isPdf())
            throw OrvellaError(QStringLiteral("Der Drucker „%1“ konnte nicht drucken.").arg(target.printerName));
        const QString pdf = target.isPdf() ? target.pdfPath : folder + QStringLiteral("/job%1.pdf").arg(jobs.size());
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

bool hasLetterhead(const QString &pdf)
{
    return PdfText(pdf).picture(1).pixelColor(1127, 268) == QColor(0, 160, 0);
}

} // namespace

class TestProjectPrint : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void pageAsksBeforeUnsavedDocuments_data();
    void pageAsksBeforeUnsavedDocuments();
    void printJobsAndTheBand();
    void bandSettingsAndNoPrinter();
    void dunningPage();
    void previewAndQuestionDialogs();

private:
    void openProject();
    DocumentPage *pageWithArticle(DocumentKind kind);

    std::unique_ptr<TestEnv> m_env;
    Hub m_hub;
    std::unique_ptr<TfrmProjektDetail> m_window;
    std::unique_ptr<TfrmProjekt> m_new;
    TestPrinters *m_printers = nullptr;
    TestPrompts *m_prompts = nullptr;
    ProjectPrinting *m_printing = nullptr;
    QString m_out;
};

void TestProjectPrint::init()
{
    m_env = std::make_unique<TestEnv>();
    m_out = m_env->path(QStringLiteral("ausgabe"));
    QDir().mkpath(m_out);
    // The desktop's documents folder, where PDF files are proposed.
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

void TestProjectPrint::openProject()
{
    AddProjectContacts(*m_env);
    m_env->state().grantAll();
    m_env->state().hub = &m_hub;
    m_env->state().SelectedID = 10;
    m_window = std::make_unique<TfrmProjektDetail>(m_env->state());
    m_hub.detail = m_window.get();
    m_printing = m_window->printing();
    auto printers = std::make_unique<TestPrinters>();
    printers->folder = m_out;
    m_printers = printers.get();
    m_printing->setSystem(std::move(printers));
    auto prompts = std::make_unique<TestPrompts>();
    m_prompts = prompts.get();
    m_printing->setPrompts(std::move(prompts));
    m_new = std::make_unique<TfrmProjekt>(m_env->state());
    m_new->prepare();
    m_new->createProject(); // opens the project window
}

DocumentPage *TestProjectPrint::pageWithArticle(DocumentKind kind)
{
    DocumentPage *page = m_window->documentPage(kind);
    m_window->showPage(m_window->indexOfPage(page));
    const QStringList cells = {"1", "", "Regal", "2", "500,00", "", "19,00 %"};
    for (int c = 0; c < cells.size(); ++c)
        page->document().lines.setCell(1, LineList::Column(c), cells[c]);
    page->documentChanged();
    return page;
}

void TestProjectPrint::pageAsksBeforeUnsavedDocuments_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("target"); // the preview's answer: a file, a printer (which fails) or none
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("printed");
    QTest::newRow("Abbrechen") << int(Dialogs::Answer::Cancel) << "Rechnung.pdf" << false << false;
    QTest::newRow("Probedruck") << int(Dialogs::Answer::No) << "Rechnung.pdf" << false << true;
    QTest::newRow("Speichern u. Drucken") << int(Dialogs::Answer::Yes) << "Rechnung.pdf" << true << true;
    QTest::newRow("saved, preview cancelled") << int(Dialogs::Answer::Yes) << "" << true << false;
    QTest::newRow("saved, the printer fails") << int(Dialogs::Answer::Yes) << "Laser" << true << false;
}

void TestProjectPrint::pageAsksBeforeUnsavedDocuments()
{
    QFETCH(int, answer);
    QFETCH(QString, target);
    QFETCH(bool, saved);
    QFETCH(bool, printed);
    openProject();
    DocumentPage *page = pageWithArticle(DocumentKind::Rechnung);
    const QString pdf = m_out + QStringLiteral("/Rechnung.pdf");
    if (!target.isEmpty())
        m_prompts->answer = target.endsWith(QLatin1String(".pdf")) ? PrintTarget::pdf(pdf) : PrintTarget::printer(target);
    m_printers->broken = true;
    m_env->dialogs().answer(Dialogs::Answer(answer));
    page->btnPrint->click();
    QCOMPARE(m_env->dialogs().questions(), QStringList{"Die Rechnung ist zu speichern bevor sie versendet wird!"});
    QCOMPARE(m_env->scalar(QStringLiteral("SELECT COUNT(*) FROM rechnungenop WHERE Betrag=1190")), saved ? "1" : "0");
    QCOMPARE(page->isClean(), saved);
    QCOMPARE(QFile::exists(pdf), printed);
    QCOMPARE(m_env->dialogs().texts(ScriptedDialogs::Kind::Error),
             target == QLatin1String("Laser") ? QStringList{"Der Drucker „Laser“ konnte nicht drucken."} : QStringList());
    QCOMPARE(m_prompts->asked.size(), answer == int(Dialogs::Answer::Cancel) ? 0 : 1);
    if (!m_prompts->asked.isEmpty()) {
        QCOMPARE(m_prompts->asked[0].title, QStringLiteral("Rechnung 000001"));
        QCOMPARE(m_prompts->asked[0].pdfProposal, m_env->path(QStringLiteral("Dokumente/Rechnung 000001.pdf")));
    }
    QVERIFY(!printed || (PdfText(pdf).contains(QStringLiteral("Regal")) && !hasLetterhead(pdf)));
    // Only what went out as stored is issued: not a test print of unsaved changes.
    const QString issued = m_env->scalar(QStringLiteral("SELECT COALESCE(Ausgestellt, '') FROM rechnungen"));
    QCOMPARE(!issued.isEmpty(), saved && printed);
    QVERIFY2(issued.isEmpty() || issued.endsWith(QLatin1String(" PDF")), qPrintable(issued));
    // An order prints its prices as "Preis drucken" says.
    page = pageWithArticle(DocumentKind::Auftrag);
    page->chkPreis->setChecked(false);
    m_prompts->answer = PrintTarget::pdf(pdf);
    m_env->dialogs().answer(Dialogs::Answer::No);
    page->btnPrint->click();
    QVERIFY(!PdfText(pdf).contains(QStringLiteral("1.000,00")) && PdfText(pdf).contains(QStringLiteral("Auftrag")));
}

void TestProjectPrint::printJobsAndTheBand()
{
    const QString head = m_env->path(QStringLiteral("kopf.png"));
    QImage picture(400, 80, QImage::Format_RGB32);
    picture.fill(QColor(0, 160, 0));
    QVERIFY(picture.save(head));
    PrintJobFile jobs(m_env->home());
    const auto setStep = [&](const QString &job, int k, const QString &printer, const QString &colour) {
        PrintJobStep s;
        s.prnName = printer;
        s.count = QStringLiteral("2");
        s.bmpColor = colour;
        s.bmpName = head + QLatin1Char('\n');
        jobs.writeStep(job, k, s);
    };
    for (const char *job : {"Versand", "Kopie"}) {
        jobs.createJob(QLatin1String(job));
        jobs.addStep(QLatin1String(job));
        jobs.addStep(QLatin1String(job));
    }
    setStep("Versand", 1, "Laser", "J");
    setStep("Versand", 2, "Alter Drucker", "J");
    setStep("Kopie", 1, "Archiv", "0"); // no letterhead, although a picture is named
    setStep("Kopie", 2, "Archiv", "0");

    openProject();
    QVERIFY(!m_printing->btnDrucktool->isEnabled() && !m_printing->btnDruckJob->isEnabled()); // the project page
    pageWithArticle(DocumentKind::Angebot);
    QVERIFY(m_printing->btnDrucktool->isEnabled() && m_printing->btnDruckJob->isEnabled());
    QCOMPARE(m_printing->cbDruckJob->currentText(), QStringLiteral("Versand"));
    m_printing->btnDruckJob->click();
    // Step 1 prints, then the job stops at the printer that is gone.
    QCOMPARE(m_printers->jobs.size(), 1);
    QCOMPARE(m_printers->jobs[0].target, PrintTarget::printer(QStringLiteral("Laser"), 2));
    QVERIFY(hasLetterhead(m_printers->jobs[0].pdf));
    QCOMPARE(m_env->dialogs().messages(), QStringList{"Eingestellter Drucker ist nicht mehr installiert! Bitte "
                                                      "konfigurieren Sie diesen Job und versuchen es erneut."});
    QCOMPARE(m_env->scalar(QStringLiteral("SELECT COUNT(*) FROM angebote")), "0"); // what is shown, unsaved
    m_printing->cbDruckJob->setCurrentIndex(1);
    m_printing->btnDruckJob->click();
    QCOMPARE(m_printers->jobs.size(), 3);
    QVERIFY(!hasLetterhead(m_printers->jobs[1].pdf) && !hasLetterhead(m_printers->jobs[2].pdf));

    // The band prints on its printer with its copies and the letterhead loaded last.
    m_printing->cbDrucker->setCurrentIndex(1);
    m_printing->spnExemplare->setValue(3);
    m_printing->btnDrucktool->click();
    QCOMPARE(m_printers->jobs.last().target, PrintTarget::printer(QStringLiteral("Archiv"), 3));
    QVERIFY(hasLetterhead(m_printers->jobs.last().pdf));
    QCOMPARE(PdfText(m_printers->jobs.last().pdf).lineAt(1, 840, 200, 1500), QStringLiteral("Angebot 000001"));
    // A step that must print a picture that cannot be read stops the job.
    jobs.write(QStringLiteral("Kopie_1"), QStringLiteral("bmpColor"), QStringLiteral("J"));
    jobs.write(QStringLiteral("Kopie_1"), QStringLiteral("bmpName"), m_env->path(QStringLiteral("fehlt.png")));
    m_env->dialogs().clear();
    m_printing->btnDruckJob->click();
    QCOMPARE(m_printers->jobs.size(), 4);
    QVERIFY(m_env->dialogs().messages().value(0).startsWith(QStringLiteral("Der Firmenkopf")));
    // Without the permission to see invoices, the bands do not print them either.
    m_env->state().Perm.fill(false);
    m_window->showPage(TfrmProjektDetail::RechnungPage);
    QVERIFY(!m_printing->btnDrucktool->isEnabled() && !m_printing->btnDruckJob->isEnabled());
}

void TestProjectPrint::bandSettingsAndNoPrinter()
{
    {
        UserSettings s;
        for (const char *key : {"ProjektLeft", "ProjektTop"})
            s.writeInt(QLatin1String(key), 0);
        s.writeInt(QStringLiteral("UpDown1Position"), 4);
        s.writeString(QStringLiteral("Drucker"), QStringLiteral("Archiv"));
        s.writeBool(QStringLiteral("DruckTool"), false);
        s.writeBool(QStringLiteral("WordTool"), true);
        s.writeBool(QStringLiteral("DruckJob"), true);
    }
    openProject();
    QCOMPARE(m_printing->cbDrucker->currentText(), QStringLiteral("Archiv"));
    QCOMPARE(m_printing->spnExemplare->value(), 4);
    QVERIFY(!m_window->actDruckTool->isChecked() && m_printing->tbDrucktool->isHidden());
    QVERIFY(m_window->actDruckJob->isChecked());
    // What the user chooses survives the next activation (a dialog closing).
    m_window->actDruckTool->setChecked(true);
    m_printing->cbDrucker->setCurrentIndex(0);
    Q_EMIT m_printing->cbDrucker->activated(0);
    m_printing->spnExemplare->setValue(2);
    m_window->activate();
    QCOMPARE(m_printing->cbDrucker->currentText(), QStringLiteral("Laser"));
    QCOMPARE(m_printing->spnExemplare->value(), 2);
    QVERIFY(!m_printing->tbDrucktool->isHidden());
    m_window->close();
    UserSettings settings;
    QCOMPARE(settings.readString(QStringLiteral("Drucker")), QStringLiteral("Laser"));
    QCOMPARE(settings.readInt(QStringLiteral("UpDown1Position")), 2);
    QCOMPARE(settings.readBool(QStringLiteral("DruckTool")), true);
    // A stored printer that is gone: nothing selected, the default printer prints.
    settings.writeString(QStringLiteral("Drucker"), QStringLiteral("Weg"));
    m_window->openProject(1, 10, true, false);
    QCOMPARE(m_printing->cbDrucker->currentIndex(), -1);
    pageWithArticle(DocumentKind::Angebot);
    m_printing->btnDrucktool->click();
    QCOMPARE(m_printers->jobs.last().target, PrintTarget::printer(QString(), 2));
    m_window->close();
    QCOMPARE(UserSettings().readString(QStringLiteral("Drucker")), QStringLiteral("Weg"));

    // Without any printer the band keeps the printout as a PDF in the documents folder.
    m_printing->setSystem(std::make_unique<PrintSystem>()); // the machine's: no CUPS queue here
    m_env->dialogs().clear();
    m_printing->btnDrucktool->click();
    const QString pdf = m_env->path(QStringLiteral("Dokumente/Angebot 000001.pdf"));
    QCOMPARE(m_env->dialogs().messages(),
             QStringList{"Es ist kein Drucker eingerichtet. Der Ausdruck wurde als PDF-Datei gespeichert:\n" + pdf});
    QVERIFY(PdfText(pdf).contains(QStringLiteral("Regal")));
    m_env->dialogs().answerFile(m_out + QStringLiteral("/eigener Name")); // the band's PDF command adds ".pdf"
    m_printing->actBandPdf->trigger();
    QVERIFY(QFile::exists(m_out + QStringLiteral("/eigener Name.pdf")));
}

void TestProjectPrint::dunningPage()
{
    openProject();
    m_env->exec("INSERT INTO mahnungen (BelegNr, RNr, MNr, ProjektNr, Datum, RL, EFirma) VALUES (3, 5, 2, 1, "
                "'01.02.2026', 'N', 'Holz')");
    m_env->exec("INSERT INTO mahnungentext (BelegNr, Text) VALUES (3, 'Sehr geehrte Damen und Herren,')");
    m_env->exec("INSERT INTO mahnungenanschrift (BelegNr, Art, Name) VALUES (3, 'A', 'Muster GmbH')");
    m_window->showPage(TfrmProjektDetail::MahnungPage);
    DunningPage *page = m_window->dunningPage();
    page->openDocument(3);
    QVERIFY(m_printing->btnDrucktool->isEnabled()); // the letter has text now
    const QString pdf = m_out + QStringLiteral("/Mahnung.pdf");
    m_prompts->answer = PrintTarget::pdf(pdf, 2);
    page->btnPrint->click();
    QCOMPARE(m_env->dialogs().questions(), QStringList()); // a stored letter
    QCOMPARE(PdfText(pdf).lineAt(1, 840), QStringLiteral("2. Mahnung zur Rechnung 000005"));
    // By mail: the stored letter as PDF, to the mail program.
    QStandardPaths::setTestModeEnabled(true); // the documents folder of tests
    QStringList call;
    SetProgramRunner([&](const QString &program, const QStringList &args) {
        call = QStringList{program} + args;
        return true;
    });
    page->btnMail->click();
    QCOMPARE(call.mid(1, 2), (QStringList{"--subject", "Mahnung 000003"}));
    const QString mailed = call.value(call.indexOf("--attach") + 1);
    QCOMPARE(PdfText(mailed).lineAt(1, 840), QStringLiteral("2. Mahnung zur Rechnung 000005"));
    QFile::remove(mailed);
    // Changed and not saved: the question names the letter; cancel prints nothing.
    page->cmdChange();
    page->memLetter->appendPlainText(QStringLiteral("Neue Zeile"));
    call.clear();
    page->btnMail->click();
    SetProgramRunner({});
    QVERIFY(call.isEmpty());
    QCOMPARE(m_env->dialogs().messages().last(), QStringLiteral("Bitte speichern Sie den Beleg, bevor Sie ihn per E-Mail senden."));
    m_env->dialogs().answer(Dialogs::Answer::Cancel);
    page->btnPrint->click();
    QCOMPARE(m_env->dialogs().questions(), QStringList{"Die Mahnung ist zu speichern bevor sie versendet wird!"});
    QCOMPARE(m_prompts->asked.size(), 1);
    // The band prints the letter as shown, one job per copy.
    m_printing->btnDrucktool->click();
    QVERIFY(PdfText(m_printers->jobs.last().pdf).contains(QStringLiteral("Neue Zeile")));
    QCOMPARE(m_printers->jobs.last().mode, CopyMode::JobPerCopy);
}

void TestProjectPrint::previewAndQuestionDialogs()
{
    openProject();
    DocumentPage *page = pageWithArticle(DocumentKind::Rechnung);
    // The question: the default button has the focus, Escape cancels.
    PrintQuestionDialog question(QStringLiteral("Die Rechnung ist zu speichern bevor sie versendet wird!"));
    QTest::keyClick(&question, Qt::Key_Escape);
    QVERIFY(question.btnSpeichernDrucken->isDefault() && question.choice() == PrintQuestionDialog::Cancel);
    // The preview shows the pages; "Als PDF speichern…" asks for the file.
    m_env->dialogs().answer(Dialogs::Answer::No);
    page->btnPrint->click(); // what the page hands to the preview
    PrintPreviewDialog preview(m_prompts->asked.value(0), m_env->dialogs());
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    preview.preview->updatePreview();
    QCOMPARE(preview.lblSeite->text(), QStringLiteral("Seite 1 von 1"));
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
