#include "TfrmMahnung.h"

#include <QUuid>

#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "DunningLetter.h"
#include "MahnungPanel.h"
#include "DunningStore.h"
#include "Formats.h"
#include "IniFile.h"
#include "PrintCommands.h"
#include "PrintPrompts.h"
#include "PrintQuestionDialog.h"
#include "PrintSystem.h"
#include "Settings.h"
#include "WindowHub.h"
#include "WindowPlacement.h"
#include "WordWriter.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QSpinBox>
#include <QToolButton>

TfrmMahnung::TfrmMahnung(AppState &state, QWidget *parent)
    : QDialog(parent, Qt::Window), m_state(state),
      m_store(std::make_unique<DunningStore>(state.db, state.dialogs, state.dmCommon, ReadCurrency(state.ExeDir))),
      m_printSystem(std::make_unique<PrintSystem>()), m_printPrompts(std::make_unique<QtPrintPrompts>(state.dialogs)),
      m_currency(ReadCurrency(state.ExeDir))
{
    setObjectName(QStringLiteral("TfrmMahnung"));
    setWindowTitle(QStringLiteral("Mahnung"));
    buildForm(this);
    connectControls();
    setStyleSheet(QStringLiteral("QLineEdit:read-only, QPlainTextEdit[readOnly=\"true\"] { background: palette(window); }"));
    ResizeWithinScreen(this, QSize(800, 560));
    setEditable(false);
}

TfrmMahnung::~TfrmMahnung() = default;

void TfrmMahnung::connectControls()
{
    const auto run = [this](const std::function<void()> &f) { return [this, f] { RunCommand(m_state.dialogs, f); }; };
    connect(actOptions, &QAction::triggered, this, run([this] {
                if (m_state.hub)
                    m_state.hub->showOptions();
            }));
    connect(cbDrucker, &QComboBox::activated, this, [this] { m_storedPrinter = cbDrucker->currentText(); });
    connect(btnWord, &QToolButton::clicked, this, run([this] { cmdWordExport(); }));
    connect(btnSave, &QToolButton::clicked, this, run([this] { cmdSave(); }));
    connect(btnPrint, &QToolButton::clicked, this, run([this] { cmdPrint(); }));
    connect(btnDruckPanel, &QToolButton::clicked, this, run([this] { cmdPrintAtOnce(); }));
    // The job button starts nothing in this window; it is there so that the bar looks
    // like the project window's.
}

void TfrmMahnung::readSettings()
{
    const UserSettings settings;
    SettingsGroupReader reader(settings);
    RestoreWindowPosition(this, reader, QStringLiteral("Mahnung"));
    int copies = 1;
    QString printer;
    bool druck = true, wordTool = true, job = true;
    if (!reader.readInt(QStringLiteral("UpDown1Position"), copies))
        copies = 1;
    reader.readString(QStringLiteral("Drucker"), printer);
    // Bands whose value cannot be read keep the state they have.
    if (reader.readBool(QStringLiteral("DruckTool"), druck))
        actDruckTool->setChecked(druck);
    if (reader.readBool(QStringLiteral("WordTool"), wordTool))
        actWordTool->setChecked(wordTool);
    if (reader.readBool(QStringLiteral("DruckJob"), job))
        actDruckJob->setChecked(job);
    spnKopien->setValue(std::clamp(copies, 1, 99));
    m_storedPrinter = printer;
}

void TfrmMahnung::writeSettings()
{
    SaveWindowPosition(this, QStringLiteral("Mahnung"));
    UserSettings settings;
    settings.writeInt(QStringLiteral("UpDown1Position"), spnKopien->value());
    settings.writeString(QStringLiteral("Drucker"), m_storedPrinter);
    settings.writeBool(QStringLiteral("DruckTool"), actDruckTool->isChecked());
    settings.writeBool(QStringLiteral("WordTool"), actWordTool->isChecked());
    settings.writeBool(QStringLiteral("DruckJob"), actDruckJob->isChecked());
    settings.sync();
}

void TfrmMahnung::done(int result)
{
    writeSettings();
    QDialog::done(result);
}

void TfrmMahnung::fillPrinters()
{
    cbDrucker->clear();
    cbDrucker->addItems(QPrinterInfo::availablePrinterNames());
    // A printer that is no longer installed leaves the choice empty: the default printer is used.
    cbDrucker->setCurrentIndex(cbDrucker->findText(m_storedPrinter));
}

QString TfrmMahnung::templateFolder() const
{
    return QDir(m_state.ExeDir).filePath(QStringLiteral("Mahnungen"));
}

void TfrmMahnung::fillTemplates()
{
    cbVorlage->clear();
    const QDir folder(templateFolder());
    cbVorlage->addItems(folder.entryList({QStringLiteral("*.ott"), QStringLiteral("*.odt"), QStringLiteral("*.dotx"),
                                          QStringLiteral("*.docx")},
                                         QDir::Files, QDir::Name | QDir::IgnoreCase));
    cbVorlage->setCurrentIndex(cbVorlage->count() > 0 ? 0 : -1);
}

void TfrmMahnung::fillPrintJobs()
{
    cbDruckJob->clear();
    const IniFile jobs(QDir(m_state.ExeDir).filePath(QStringLiteral("DruckJob.ini")));
    const int count = jobs.readInteger(QStringLiteral("general"), QStringLiteral("count"), 0);
    for (int i = 1; i <= count; ++i)
        cbDruckJob->addItem(jobs.readString(QStringLiteral("general"), QString::number(i)));
    cbDruckJob->setCurrentIndex(cbDruckJob->count() > 0 ? 0 : -1);
    btnDruckJob->setEnabled(cbDruckJob->count() > 0);
}

void TfrmMahnung::reloadPrintJobs()
{
    const QString chosen = cbDruckJob->currentText();
    fillPrintJobs();
    if (const int i = cbDruckJob->findText(chosen); i >= 0)
        cbDruckJob->setCurrentIndex(i);
}

void TfrmMahnung::setLevel(int level)
{
    m_level = level;
    lblLevel->setText(DunningRules::levelText(level));
    lblLevel->setStyleSheet(QStringLiteral("color: %1;").arg(DunningRules::levelColour(level).name()));
}

void TfrmMahnung::setEditable(bool editable)
{
    letter->setEditable(editable);
    btnSave->setEnabled(editable);
}

void TfrmMahnung::prepare(const Request &request)
{
    m_request = request;
    m_saved = false;
    m_saveToken = QUuid::createUuid().toString(QUuid::WithoutBraces); // this letter's, across its save tries
    for (QLineEdit *e : {edtEFirma, edtName, edtStrasse, edtPlzOrt, edtName2, edtStrasse2, edtPlzOrt2, edtPrNr, edtMNr,
                         edtKNr, edtUID})
        e->clear();
    chkLinks->setChecked(false);
    memLetter->clear();
    readSettings();
    fillPrinters();

    edtPrNr->setText(PadNumber(request.project));
    edtKNr->setText(PadNumber(request.customer));
    m_number = m_store->nextNumber();
    edtMNr->setText(PadNumber(m_number));
    edtUID->setText(request.uid);
    dtDatum->setDate(QDate::currentDate());

    const bool company = m_store->isCompany(request.customer);
    const DunningProject project = m_store->loadProject(request.project);
    m_projectName = project.projectName;
    edtEFirma->setText(project.found ? project.eFirma : request.eFirma);
    edtName->setText(DunningRules::postalNameLine(project, company));
    edtStrasse->setText(project.street);
    edtPlzOrt->setText(DunningRules::postalTownLine(project));
    edtName2->setText(project.billName);
    edtStrasse2->setText(project.billStreet);
    edtPlzOrt2->setText(DunningRules::billingTownLine(project));

    lblInvoice->setText(DunningRules::invoiceLabel(request.invoice));
    setLevel(m_store->nextLevel(request.invoice));

    DunningPlaceholders values;
    values.anrede = project.anrede;
    values.titel = project.titel;
    values.vname = project.vname;
    values.nname = project.nname;
    values.sAnrede = m_store->letterSalutation(request.customer, company);
    values.invoiceNumber = PadNumber(request.invoice);
    values.amount = request.amount;
    values.invoiceDate = m_store->invoiceDate(request.invoice);
    memLetter->setPlainText(DunningRules::composeLetter(m_store->templateRows(m_level), values).join(QLatin1Char('\n')));

    fillTemplates();
    fillPrintJobs();
    const bool hasOptions = m_state.hub && m_state.hub->has(WindowHub::Window::Options);
    if (!hasOptions)
        m_availability.markUnavailable(actOptions);
    // The options stay closed to a user without their permission, from here as from the other windows.
    m_availability.setEnabledIfAvailable(actOptions, m_state.perm(9));
    setEditable(true);
}

Document TfrmMahnung::letterValue() const
{
    Document d(DocumentKind::Mahnung, m_currency);
    d.number = m_number;
    d.projectNumber = m_request.project;
    d.invoiceNumber = m_request.invoice;
    d.dunningLevel = m_level;
    d.projectName = m_projectName;
    letter->readLetter(d);
    d.saveToken = m_saveToken;
    return d;
}

bool TfrmMahnung::cmdSave()
{
    if (m_saved || m_number < 1)
        return false;
    if (m_store->save(letterValue()) == DunningStore::SaveResult::NumberTaken) {
        const qint64 taken = m_number;
        m_number = m_store->nextNumber();
        edtMNr->setText(PadNumber(m_number));
        QString message = QStringLiteral("Die Mahnungsnummer %1 wurde inzwischen an einem anderen Arbeitsplatz "
                                         "vergeben. Die Mahnung erhält die neue Nummer %2 und ist noch nicht "
                                         "gespeichert; bitte speichern Sie sie erneut.")
                              .arg(PadNumber(taken), PadNumber(m_number));
        const int level = m_store->nextLevel(m_request.invoice);
        if (level != m_level) {
            setLevel(level);
            message += QStringLiteral("\n\nFür diese Rechnung wurde inzwischen eine weitere Mahnung geschrieben; "
                                      "dies ist nun die %1. Bitte prüfen Sie den Text.")
                           .arg(DunningRules::levelText(level));
        }
        m_state.dialogs.warning(message);
        return false;
    }
    m_saved = true;
    setEditable(false);
    return true;
}

void TfrmMahnung::setPrintSystem(std::unique_ptr<PrintSystem> system)
{
    m_printSystem = std::move(system);
}

void TfrmMahnung::setPrintPrompts(std::unique_ptr<PrintPrompts> prompts)
{
    m_printPrompts = std::move(prompts);
}

void TfrmMahnung::cmdPrint()
{
    if (m_number < 1)
        return;
    if (!m_saved) {
        switch (AskPrint(m_state.dialogs, QStringLiteral("Die Mahnung ist zu speichern bevor sie versendet wird!"))) {
        case PrintQuestionDialog::SaveAndPrint:
            if (!cmdSave())
                return;
            break;
        case PrintQuestionDialog::TestPrint: break;
        default: return;
        }
    }
    PrintWithPreview(m_state, *m_printSystem, *m_printPrompts,
                     DunningLetterPrintRequest(m_state, letterValue(), edtKNr->text().trimmed()),
                     PrintTarget::printer(printerName(), spnKopien->value()), this);
}

void TfrmMahnung::cmdPrintAtOnce()
{
    if (m_number < 1)
        return;
    // Without a printer the letter goes into a PDF file, and Print says where.
    Print(m_state, *m_printSystem, DunningLetterPrintRequest(m_state, letterValue(), edtKNr->text().trimmed()),
          PrintTarget::printer(printerName(), spnKopien->value()));
}

QString TfrmMahnung::printerName() const
{
    // Nothing chosen (or the stored printer is gone): the default printer.
    return cbDrucker->currentIndex() >= 0 ? cbDrucker->currentText() : QString();
}

void TfrmMahnung::cmdWordExport()
{
    if (cbVorlage->currentIndex() < 0) {
        m_state.dialogs.warning(QStringLiteral("Im Ordner \"%1\" gibt es keine Vorlage für Mahnungen "
                                               "(*.ott, *.odt, *.dotx, *.docx).")
                                    .arg(QDir::toNativeSeparators(templateFolder())));
        return;
    }
    WordWriter writer;
    writer.newDocument(QDir(templateFolder()).filePath(cbVorlage->currentText()));
    for (const WordBookmark &b : DunningRules::wordBookmarks(letterValue(), m_request.customer))
        if (writer.goToBookmark(b.name))
            writer.typeText(b.text);
    if (!writer.show())
        m_state.dialogs.information(QStringLiteral("Die Mahnung wurde gespeichert unter:\n%1\n\n"
                                                   "Sie konnte nicht automatisch geöffnet werden.")
                                        .arg(writer.documentPath()));
}
