#include "PrintJobEditor.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "PaperBins.h"
#include "PrintSystem.h"
#include "TfrmFirmenkopf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>

PrintJobEditor::PrintJobEditor(AppState &state, QWidget *parent)
    : QGroupBox(QStringLiteral("Spezial Druckjob"), parent), m_state(state), m_file(state.ExeDir)
{
    setObjectName(QStringLiteral("grpDruckjob"));
    buildUi();
}

PrintJobEditor::~PrintJobEditor() = default;

void PrintJobEditor::buildUi()
{
    Dialogs &dialogs = m_state.dialogs;
    const auto button = [](QWidget *parent, const char *name, const QString &text) {
        auto *b = new QPushButton(text, parent);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    const auto combo = [this](const char *name) {
        auto *c = new QComboBox(this);
        c->setObjectName(QLatin1String(name));
        return c;
    };

    pnlJob = new QFrame(this);
    pnlJob->setObjectName(QStringLiteral("pnlJob"));
    pnlJob->setAutoFillBackground(true);
    QPalette green = pnlJob->palette();
    green.setColor(QPalette::Window, QColor(0x80, 0xc0, 0x80));
    pnlJob->setPalette(green);
    btnJobNeu = button(pnlJob, "btnJobNeu", QStringLiteral("&Neu"));
    btnJobLoeschen = button(pnlJob, "btnJobLoeschen", QStringLiteral("&Löschen"));
    auto *panel = new QHBoxLayout(pnlJob);
    panel->setContentsMargins(6, 4, 6, 4);
    panel->addWidget(btnJobNeu);
    panel->addWidget(btnJobLoeschen);

    cbJobName = combo("cbJobName");
    cbJobName->setMinimumContentsLength(14);
    cbJobName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbStep = combo("cbStep");
    cbStep->setMinimumContentsLength(3);
    btnStepNeu = button(this, "btnStepNeu", QStringLiteral("neu"));
    btnStepLoeschen = button(this, "btnStepLoeschen", QStringLiteral("löschen"));
    btnFirmenkopf = button(this, "btnFirmenkopf", QStringLiteral("Firmenkopf"));
    chkFirmenkopf = new QCheckBox(QStringLiteral("Firmenkopf Drucken"), this);
    chkFirmenkopf->setObjectName(QStringLiteral("chkFirmenkopf"));
    // Whether a step prints its letterhead follows this flag; new steps print it.
    chkFarbe = new QCheckBox(QStringLiteral("Firmenkopf in Farbe"), this);
    chkFarbe->setObjectName(QStringLiteral("chkFarbe"));
    chkFarbe->setChecked(true);
    chkFarbe->hide();
    cbDrucker = combo("cbDrucker");
    cbDrucker->setMinimumContentsLength(14);
    cbDrucker->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // Printing ignores the paper bin, so the choice stays hidden.
    cbPapier = combo("cbPapier");
    cbPapier->hide();
    spnExemplare = new QSpinBox(this);
    spnExemplare->setObjectName(QStringLiteral("spnExemplare"));
    spnExemplare->setRange(1, 999);
    // A field left empty gives one copy.
    spnExemplare->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);

    auto *grid = new QGridLayout(this);
    grid->addWidget(pnlJob, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Name"), this), 1, 0);
    grid->addWidget(cbJobName, 1, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Unterauftrag"), this), 2, 0);
    auto *steps = new QHBoxLayout;
    steps->addWidget(cbStep);
    steps->addWidget(btnStepNeu);
    steps->addWidget(btnStepLoeschen);
    steps->addStretch(1);
    grid->addLayout(steps, 2, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Drucker"), this), 3, 0);
    grid->addWidget(cbDrucker, 3, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Exemplare"), this), 4, 0);
    grid->addWidget(spnExemplare, 4, 1);
    auto *head = new QHBoxLayout;
    head->addWidget(btnFirmenkopf);
    head->addWidget(chkFirmenkopf);
    head->addStretch(1);
    grid->addLayout(head, 5, 0, 1, 4);
    grid->setColumnStretch(3, 1);

    letterhead = new TfrmFirmenkopf(dialogs, this);

    connect(btnJobNeu, &QPushButton::clicked, this, Guarded(dialogs, [this] { cmdNewJob(); }));
    connect(btnJobLoeschen, &QPushButton::clicked, this, Guarded(dialogs, [this] { cmdDeleteJob(); }));
    connect(btnStepNeu, &QPushButton::clicked, this, Guarded(dialogs, [this] { cmdNewStep(); }));
    connect(btnStepLoeschen, &QPushButton::clicked, this, Guarded(dialogs, [this] { cmdDeleteStep(); }));
    connect(btnFirmenkopf, &QPushButton::clicked, this, Guarded(dialogs, [this] { cmdLetterhead(); }));
    connect(cbJobName, &QComboBox::activated, this, Guarded(dialogs, [this] { jobChosen(); }));
    connect(cbStep, &QComboBox::activated, this, Guarded(dialogs, [this] { stepChosen(); }));
    connect(cbDrucker, &QComboBox::activated, this,
            [this](int index) { RunCommand(m_state.dialogs, [this, index] { printerChosen(index); }); });
    connect(cbPapier, &QComboBox::activated, this,
            [this](int index) { RunCommand(m_state.dialogs, [this, index] { binChosen(index); }); });
    connect(spnExemplare, &QSpinBox::valueChanged, this,
            [this](int copies) { RunCommand(m_state.dialogs, [this, copies] { copiesChanged(copies); }); });
    connect(chkFirmenkopf, &QCheckBox::clicked, this,
            [this](bool on) { RunCommand(m_state.dialogs, [this, on] { letterheadToggled(on); }); });
    connect(letterhead, &TfrmFirmenkopf::pictureChosen, this, [this](const QString &path) {
        RunCommand(m_state.dialogs, [this, path] {
            write(QStringLiteral("bmpName"), path);
            setLetterheadShown(true);
        });
    });
    connect(letterhead, &TfrmFirmenkopf::pictureRemoved, this, [this] {
        RunCommand(m_state.dialogs, [this] {
            write(QStringLiteral("bmpName"), QString());
            setLetterheadShown(false);
        });
    });
    connect(letterhead, &TfrmFirmenkopf::pictureRestored, this, [this](const QString &path) {
        RunCommand(m_state.dialogs, [this, path] {
            write(QStringLiteral("bmpName"), path);
            setLetterheadShown(!path.isEmpty());
        });
    });
}

QString PrintJobEditor::currentJob() const
{
    return cbJobName->currentIndex() >= 0 ? cbJobName->currentText() : QString();
}

int PrintJobEditor::currentStep() const
{
    return cbStep->currentIndex() + 1;
}

void PrintJobEditor::write(const QString &key, const QString &text)
{
    const QString job = currentJob();
    if (job.isEmpty() || currentStep() < 1)
        return;
    m_file.write(PrintJobFile::stepSection(job, currentStep()), key, text);
}

void PrintJobEditor::load()
{
    const QSignalBlocker block(cbDrucker);
    cbDrucker->clear();
    if (m_system) {
        cbDrucker->addItems(m_system->printers());
        cbDrucker->setCurrentIndex(cbDrucker->findText(m_system->defaultPrinter()));
    }
    cbDrucker->setPlaceholderText(QString());
    {
        const QSignalBlocker copies(spnExemplare);
        spnExemplare->setValue(1);
    }
    loadJobs();
}

void PrintJobEditor::enableJobControls(bool on)
{
    for (QWidget *w : std::initializer_list<QWidget *>{cbJobName, cbStep, btnJobLoeschen, btnStepNeu, btnStepLoeschen,
                                                      cbDrucker, spnExemplare, chkFirmenkopf})
        w->setEnabled(on);
    if (!on)
        btnFirmenkopf->setEnabled(false);
}

void PrintJobEditor::loadJobs(const QString &select)
{
    QStringList names = m_file.jobNames();
    std::reverse(names.begin(), names.end());
    cbJobName->clear();
    cbJobName->addItems(names);
    enableJobControls(!names.isEmpty());
    if (names.isEmpty()) {
        cbStep->clear();
        return;
    }
    cbJobName->setCurrentIndex(std::max(0, int(names.indexOf(select))));
    showJob();
}

void PrintJobEditor::showJob()
{
    const QString job = currentJob();
    int m = m_file.stepCount(job);
    const bool fresh = m < 1; // a job gets its first step when it is first shown
    if (fresh)
        m = m_file.addStep(job);
    cbStep->clear();
    for (int k = 1; k <= m; ++k)
        cbStep->addItem(QString::number(k));
    cbStep->setCurrentIndex(0);
    if (fresh)
        initStep();
    showStep(1);
}

void PrintJobEditor::initStep()
{
    int printer = cbDrucker->currentIndex();
    if (printer < 0 && m_system)
        printer = cbDrucker->findText(m_system->defaultPrinter());
    if (printer >= 0)
        applyPrinter(printer);
    write(QStringLiteral("count"), QStringLiteral("1"));
    write(QStringLiteral("bmpColor"), chkFarbe->isChecked() ? QStringLiteral("J") : QStringLiteral("N"));
}

void PrintJobEditor::showStep(int k)
{
    m_showing = true;
    const PrintJobStep step = m_file.step(currentJob(), k);
    spnExemplare->setValue(step.copies());

    const int printer = cbDrucker->findText(step.prnName);
    if (printer >= 0) {
        cbDrucker->setCurrentIndex(printer);
        cbDrucker->setPlaceholderText(QString());
        applyPrinter(printer, step.binName);
    } else {
        // A printer that is gone (or not reachable just now) shows as none; the
        // step keeps its name until the user chooses another printer.
        cbDrucker->setCurrentIndex(-1);
        const bool named = !step.prnName.isEmpty() && step.prnName != QLatin1String("0");
        cbDrucker->setPlaceholderText(named ? QStringLiteral("„%1“ nicht installiert").arg(step.prnName)
                                            : QStringLiteral("kein Drucker"));
        cbPapier->clear();
    }
    chkFarbe->setChecked(step.bmpColor == QLatin1String("J"));

    if (step.bmpName.isEmpty()) {
        letterhead->clearPicture();
        setLetterheadShown(false);
    } else {
        const bool loaded = letterhead->loadPicture(step.bmpName);
        setLetterheadShown(true);
        if (!loaded)
            m_state.dialogs.error(QStringLiteral("Imag nicht gefunden!"));
    }
    if (step.count != QString::number(step.copies()))
        write(QStringLiteral("count"), QString::number(step.copies()));
    m_showing = false;
}

void PrintJobEditor::applyPrinter(int index, const QString &binName)
{
    const QString name = cbDrucker->itemText(index);
    write(QStringLiteral("prnName"), name);
    write(QStringLiteral("prn"), QString::number(index));
    cbPapier->clear();
    for (const PaperBin &bin : PaperBins(name))
        cbPapier->addItem(bin.name);
    cbPapier->setEnabled(cbPapier->count() > 1);
    if (cbPapier->count() > 0)
        applyBin(std::max(0, cbPapier->findText(binName)));
}

void PrintJobEditor::applyBin(int index)
{
    cbPapier->setCurrentIndex(index);
    write(QStringLiteral("bin"), QString::number(index));
    write(QStringLiteral("binName"), cbPapier->itemText(index));
}

void PrintJobEditor::setLetterheadShown(bool on)
{
    chkFirmenkopf->setChecked(on);
    btnFirmenkopf->setEnabled(on && chkFirmenkopf->isEnabled());
}

void PrintJobEditor::jobChosen()
{
    showJob();
}

void PrintJobEditor::stepChosen()
{
    showStep(currentStep());
}

void PrintJobEditor::printerChosen(int index)
{
    if (index < 0)
        return;
    cbDrucker->setPlaceholderText(QString());
    applyPrinter(index);
}

void PrintJobEditor::binChosen(int index)
{
    if (index >= 0)
        applyBin(index);
}

void PrintJobEditor::copiesChanged(int copies)
{
    if (!m_showing)
        write(QStringLiteral("count"), QString::number(std::max(1, copies)));
}

void PrintJobEditor::letterheadToggled(bool on)
{
    if (on) {
        btnFirmenkopf->setEnabled(true);
        return;
    }
    if (letterhead->file().isEmpty()) {
        btnFirmenkopf->setEnabled(false);
        return;
    }
    if (m_state.dialogs.question(QStringLiteral("Firmenkopf löschen?"), Dialogs::Buttons::YesNoCancel)
        == Dialogs::Answer::Yes) {
        letterhead->clearPicture();
        write(QStringLiteral("bmpName"), QString());
        setLetterheadShown(false);
    } else {
        chkFirmenkopf->setChecked(true);
    }
}

void PrintJobEditor::cmdLetterhead()
{
    letterhead->exec();
    if (letterhead->file().isEmpty())
        setLetterheadShown(false);
}

void PrintJobEditor::cmdNewJob()
{
    const std::optional<QString> name =
        m_state.dialogs.inputText(QStringLiteral("Neuer Drujob"), QStringLiteral("Bitte geben Sie einen neuen Namen ein!"));
    const QString trimmed = name ? name->trimmed() : QString();
    if (trimmed.isEmpty()) {
        loadJobs(currentJob());
        return;
    }
    m_file.createJob(trimmed);
    loadJobs(trimmed);
}

void PrintJobEditor::cmdDeleteJob()
{
    const QString job = currentJob();
    if (job.isEmpty())
        return;
    if (m_state.dialogs.question(QStringLiteral("DruckJob ") + job + QStringLiteral(" löschen ?"),
                                 Dialogs::Buttons::YesCancel)
        != Dialogs::Answer::Yes)
        return;
    m_file.deleteJob(job);
    loadJobs();
}

void PrintJobEditor::cmdNewStep()
{
    const QString job = currentJob();
    if (job.isEmpty())
        return;
    const int k = m_file.addStep(job);
    cbStep->clear();
    for (int i = 1; i <= k; ++i)
        cbStep->addItem(QString::number(i));
    cbStep->setCurrentIndex(k - 1);
    initStep();
    showStep(k);
}

void PrintJobEditor::cmdDeleteStep()
{
    const QString job = currentJob();
    if (job.isEmpty())
        return;
    if (!m_file.deleteStep(job, currentStep()))
        m_state.dialogs.warning(PrintJobFile::LastStepRefused);
    showJob();
}
