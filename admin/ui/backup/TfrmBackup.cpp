#include "TfrmBackup.h"

#include "AppState.h"
#include "BackupProgressPanel.h"
#include "CommandGuard.h"
#include "DataSetCopier.h"
#include "Database.h"
#include "Dialogs.h"
#include "Errors.h"
#include "Settings.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QButtonGroup>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using BackupRules::Kind;
using Tone = BackupProgressPanel::Tone;

TfrmBackup::TfrmBackup(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_copier(MakeDataSetCopier(state.db))
{
    setObjectName(QStringLiteral("TfrmBackup"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_context.exeDir = state.ExeDir;
    buildUi();
    const auto [from, to] = BackupRules::defaultPeriod(QDate::currentDate());
    dtVon->setDate(from);
    dtBis->setDate(to);
    connect(m_progressPanel, &BackupProgressPanel::finished, this,
            [this] { RunCommand(m_state.dialogs, [this] { finished(); }); });
    ResizeWithinScreen(this, QSize(560, sizeHint().height()));
    selectMode(Kind::Full);
    ResizeWithinScreen(this, size());
}

TfrmBackup::~TfrmBackup()
{
    // a task still running ends here without reporting to a window that is going
    disconnect(m_progressPanel, nullptr, this, nullptr);
    m_progressPanel->stop();
    m_progressPanel->wait();
}

void TfrmBackup::buildUi()
{
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(6, 4, 6, 6);
    root->setSpacing(6);
    const auto run = [this](const std::function<void()> &f) { return [this, f] { RunCommand(m_state.dialogs, f); }; };

    auto *tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("toolBar"));
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    actClose = tools->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Schließen"), this,
                                &QDialog::reject);
    actClose->setObjectName(QStringLiteral("actClose"));
    tools->addSeparator();
    auto *modes = new QButtonGroup(this);
    const auto modeButton = [&](const char *name, const QString &text, Kind kind) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setStyleSheet(QStringLiteral("QToolButton { font-weight: bold; color: #0000c0; }"));
        modes->addButton(b);
        tools->addWidget(b);
        connect(b, &QToolButton::clicked, this, run([this, kind] { selectMode(kind); }));
        return b;
    };
    btnRechnungen = modeButton("btnRechnungen", QStringLiteral("Rechnungen und Gutschriften"), Kind::InvoiceArchive);
    btnGesamt = modeButton("btnGesamt", QStringLiteral("Gesamter Datenbestand"), Kind::Full);
    root->addWidget(tools);

    grpZeitraum = new QGroupBox(QStringLiteral("Rechnungen aus dem Zeitraum"), this);
    grpZeitraum->setObjectName(QStringLiteral("grpZeitraum"));
    auto *period = new QGridLayout(grpZeitraum);
    rbVonBis = new QRadioButton(QStringLiteral("von / bis"), grpZeitraum);
    rbVonBis->setObjectName(QStringLiteral("rbVonBis"));
    rbVonBis->setChecked(true);
    rbAlleRechnungen = new QRadioButton(QStringLiteral("gesamter Rechnungsbestand"), grpZeitraum);
    rbAlleRechnungen->setObjectName(QStringLiteral("rbAlleRechnungen"));
    const auto dateField = [this](const char *name) {
        auto *d = new QDateEdit(grpZeitraum);
        d->setObjectName(QLatin1String(name));
        d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        d->setCalendarPopup(true);
        return d;
    };
    dtVon = dateField("dtVon");
    dtBis = dateField("dtBis");
    period->addWidget(rbVonBis, 0, 0);
    period->addWidget(dtVon, 0, 1);
    period->addWidget(new QLabel(QStringLiteral("bis"), grpZeitraum), 0, 2);
    period->addWidget(dtBis, 0, 3);
    period->addWidget(rbAlleRechnungen, 1, 0, 1, 4);
    period->setColumnStretch(4, 1);
    connect(rbVonBis, &QRadioButton::toggled, this, [this](bool on) {
        dtVon->setEnabled(on && !isRunning());
        dtBis->setEnabled(on && !isRunning());
    });
    root->addWidget(grpZeitraum);

    // the bars, then the folder, then the status line
    m_progressPanel = new BackupProgressPanel(BackupProgressPanel::Bars::RecordsAndSteps, this);
    m_progressPanel->layout()->setSpacing(root->spacing());
    pbDatensatz = m_progressPanel->recordBar;
    pbGesamt = m_progressPanel->overallBar;
    edtStatus = m_progressPanel->statusLine;
    root->addWidget(m_progressPanel);

    grpVerzeichnis = new QGroupBox(QStringLiteral("Verzeichnis für die Datensicherung"), this);
    grpVerzeichnis->setObjectName(QStringLiteral("grpVerzeichnis"));
    auto *folder = new QHBoxLayout(grpVerzeichnis);
    folder->addWidget(new QLabel(QStringLiteral("Verzeichnis wählen"), grpVerzeichnis));
    edtPath = new QLineEdit(grpVerzeichnis);
    edtPath->setObjectName(QStringLiteral("edtPath"));
    edtPath->setReadOnly(true);
    folder->addWidget(edtPath, 1);
    btnBrowse = new QPushButton(QStringLiteral("&Durchsuchen…"), grpVerzeichnis);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    folder->addWidget(btnBrowse);
    connect(btnBrowse, &QPushButton::clicked, this, run([this] { cmdBrowse(); }));
    m_progressPanel->insertAboveStatus(grpVerzeichnis);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnAbbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    btnAbbrechen->setObjectName(QStringLiteral("btnAbbrechen"));
    btnDatensicherung = new QPushButton(QStringLiteral("&Datensicherung"), this);
    btnDatensicherung->setObjectName(QStringLiteral("btnDatensicherung"));
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    for (QPushButton *b : {btnAbbrechen, btnDatensicherung, btnOK}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    connect(btnAbbrechen, &QPushButton::clicked, this, run([this] { cmdCancel(); }));
    connect(btnDatensicherung, &QPushButton::clicked, this, run([this] { cmdStart(); }));
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    root->addLayout(buttons);
    setStyleSheet(QStringLiteral("QLineEdit:read-only { background: palette(window); }"));
}

void TfrmBackup::selectMode(Kind kind)
{
    // A kind the user may not make is not offered; the other one is shown instead.
    btnGesamt->setEnabled(BackupRules::mayCreate(Kind::Full, m_state));
    btnRechnungen->setEnabled(BackupRules::mayCreate(Kind::InvoiceArchive, m_state));
    if (!BackupRules::mayCreate(kind, m_state))
        kind = kind == Kind::Full ? Kind::InvoiceArchive : Kind::Full;
    m_kind = kind;
    btnGesamt->setChecked(kind == Kind::Full);
    btnRechnungen->setChecked(kind == Kind::InvoiceArchive);
    setWindowTitle(kind == Kind::Full ? QStringLiteral("Orvella-Suite Datensicherung gesamter Datenbestand")
                                      : QStringLiteral("Orvella-Suite Datensicherung Rechnungen und Gutschriften"));
    grpZeitraum->setVisible(kind == Kind::InvoiceArchive);
    // the window is as tall as the mode needs: the period group comes and goes
    layout()->activate();
    resize(width(), sizeHint().height());
    edtPath->setText(ReadBackupPath(m_state.ExeDir, BackupRules::pathKey(kind)));
    btnOK->setEnabled(false);
    updateStartEnabled();
}

void TfrmBackup::activate()
{
    m_progressPanel->clearBars();
    edtStatus->clear();
    btnBrowse->setEnabled(true);
    btnAbbrechen->setEnabled(false);
    updateStartEnabled();
}

void TfrmBackup::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!m_centred) {
        m_centred = true;
        if (const QScreen *screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
    if (!isRunning())
        activate();
}

bool TfrmBackup::isRunning() const
{
    return m_progressPanel->isRunning();
}

void TfrmBackup::updateStartEnabled()
{
    btnDatensicherung->setEnabled(!isRunning() && !edtPath->text().isEmpty() && QFileInfo(edtPath->text()).isDir());
}

void TfrmBackup::setRunning(bool running)
{
    for (QWidget *w : std::initializer_list<QWidget *>{btnRechnungen, btnGesamt, btnBrowse, btnOK, rbVonBis,
                                                       rbAlleRechnungen})
        w->setEnabled(!running);
    dtVon->setEnabled(!running && rbVonBis->isChecked());
    dtBis->setEnabled(!running && rbVonBis->isChecked());
    actClose->setEnabled(true);
    btnAbbrechen->setEnabled(running);
    updateStartEnabled();
    if (running)
        btnDatensicherung->setEnabled(false);
}

void TfrmBackup::cmdBrowse()
{
    const QString chosen = m_state.dialogs.existingDirectory(
        QStringLiteral("Verzeichnis wählen"), edtPath->text().isEmpty() ? QDir::homePath() : edtPath->text());
    if (chosen.isEmpty())
        return;
    edtPath->setText(QDir::cleanPath(chosen));
    try {
        WriteBackupPath(m_state.ExeDir, BackupRules::pathKey(m_kind), edtPath->text());
    } catch (const OrvellaError &) {
        m_state.dialogs.warning(QStringLiteral("Fehler beim speichern des Backupphates"));
    }
    updateStartEnabled();
}

void TfrmBackup::cmdStart()
{
    if (isRunning())
        return;
    if (!BackupRules::mayCreate(m_kind, m_state)) {
        m_state.dialogs.warning(BackupRules::NoPermission);
        return;
    }
    const QString target = edtPath->text();
    std::optional<InvoicePeriod> period;
    if (m_kind == Kind::InvoiceArchive && rbVonBis->isChecked()) {
        period = InvoicePeriod{dtVon->date(), dtBis->date()};
        if (period->from > period->to) {
            m_state.dialogs.warning(QStringLiteral("Das Datum \"von\" liegt nach dem Datum \"bis\".\nBitte geben Sie "
                                                   "den Zeitraum richtig herum ein."));
            return;
        }
    }
    m_progressPanel->setStatus(QString());
    m_result.clear();
    m_removed = RemoveUnfinishedBackups(target);
    BackupContext context = m_context;
    context.now = QDateTime::currentDateTime();
    const Kind kind = m_kind;
    DataSetCopier *copier = m_copier.get();
    m_progressPanel->start(m_hook, [this, kind, context, target, period, copier](BackupProgress &progress) {
        m_result = kind == Kind::Full ? RunFullBackup(context, *copier, target, progress)
                                      : RunInvoiceArchive(context, *copier, target, period, progress);
    });
    setRunning(true);
}

void TfrmBackup::cmdCancel()
{
    if (!isRunning())
        return;
    m_progressPanel->askToStop(m_state.dialogs,
                               QStringLiteral("Datensicherung nicht vollständig! Wollen Sie wirklich abbrechen?"),
                               Dialogs::Buttons::YesNoCancel);
}

void TfrmBackup::finished()
{
    setRunning(false);
    m_progressPanel->fill();
    if (m_progressPanel->cancelled()) {
        m_progressPanel->setStatus(QStringLiteral("Datensicherung abgebrochen!"), Tone::Warning);
        m_progressPanel->clearBars();
        if (!m_closing)
            m_state.dialogs.information(QStringLiteral("Datenischerung wurde abgebrochen!"));
    } else if (!m_progressPanel->failure().isEmpty()) {
        m_progressPanel->setStatus(QStringLiteral("Fehler beim sichern der Daten!"), Tone::Warning);
        m_state.dialogs.error(m_progressPanel->failure());
    } else {
        m_lastFolder = m_result;
        QString status = QStringLiteral("Datensicherung im Verzeichnis: \"%1\".").arg(m_result);
        if (!m_removed.isEmpty())
            status += QStringLiteral(" Entfernt wurden unvollständige Sicherungen abgebrochener Läufe: %1.")
                          .arg(m_removed.join(QStringLiteral(", ")));
        m_progressPanel->setStatus(status, Tone::Success);
    }
}

void TfrmBackup::done(int result)
{
    if (isRunning()) {
        if (!m_progressPanel->askToStop(
                m_state.dialogs, QStringLiteral("Datensicherung noch nicht vollständig! Vorgang wirklich abbrechen?"),
                Dialogs::Buttons::YesNoCancel))
            return;
        m_closing = true;
        m_progressPanel->wait();
        m_closing = false;
    }
    QDialog::done(result);
}
