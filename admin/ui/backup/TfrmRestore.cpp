#include "TfrmRestore.h"

#include "Settings.h"

#include "AppState.h"
#include "BackupProgressPanel.h"
#include "CommandGuard.h"
#include "DataSetCopier.h"
#include "Dialogs.h"
#include "WindowHub.h"
#include "WindowPlacement.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using Tone = BackupProgressPanel::Tone;

namespace {

QString backupDate(const BackupManifest &m)
{
    return m.created.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

} // namespace

TfrmRestore::TfrmRestore(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_copier(MakeDataSetCopier(state.db))
{
    setObjectName(QStringLiteral("TfrmRestore"));
    setWindowTitle(QStringLiteral("Datensicherung zurückspielen"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_context.exeDir = state.ExeDir;
    const auto run = [this](const std::function<void()> &f) { return [this, f] { RunCommand(m_state.dialogs, f); }; };

    auto *root = new QVBoxLayout(this);
    auto *group = new QGroupBox(QStringLiteral("Verzeichnis der Datensicherung"), this);
    auto *row = new QHBoxLayout(group);
    edtFolder = new QLineEdit(group);
    edtFolder->setObjectName(QStringLiteral("edtFolder"));
    edtFolder->setReadOnly(true);
    btnBrowse = new QPushButton(QStringLiteral("&Durchsuchen…"), group);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    row->addWidget(edtFolder, 1);
    row->addWidget(btnBrowse);
    root->addWidget(group);
    txtInhalt = new QPlainTextEdit(this);
    txtInhalt->setObjectName(QStringLiteral("txtInhalt"));
    txtInhalt->setReadOnly(true);
    txtInhalt->setPlaceholderText(QStringLiteral("Bitte wählen Sie das Verzeichnis einer Sicherung des gesamten "
                                                 "Datenbestands (G…)."));
    root->addWidget(txtInhalt, 1);
    m_progressPanel = new BackupProgressPanel(BackupProgressPanel::Bars::Single, this);
    pbFortschritt = m_progressPanel->overallBar;
    edtStatus = m_progressPanel->statusLine;
    root->addWidget(m_progressPanel);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnAbbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    btnAbbrechen->setObjectName(QStringLiteral("btnAbbrechen"));
    btnZurueckspielen = new QPushButton(QStringLiteral("&Zurückspielen"), this);
    btnZurueckspielen->setObjectName(QStringLiteral("btnZurueckspielen"));
    btnSchliessen = new QPushButton(QStringLiteral("&Schließen"), this);
    btnSchliessen->setObjectName(QStringLiteral("btnSchliessen"));
    for (QPushButton *b : {btnAbbrechen, btnZurueckspielen, btnSchliessen}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    root->addLayout(buttons);
    setStyleSheet(QStringLiteral("QLineEdit:read-only, QPlainTextEdit[readOnly=\"true\"] { background: palette(window); }"));

    connect(btnBrowse, &QPushButton::clicked, this, run([this] { cmdBrowse(); }));
    connect(btnZurueckspielen, &QPushButton::clicked, this, run([this] { cmdRestore(); }));
    connect(btnAbbrechen, &QPushButton::clicked, this, run([this] { cmdCancel(); }));
    connect(btnSchliessen, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_progressPanel, &BackupProgressPanel::finished, this,
            [this] { RunCommand(m_state.dialogs, [this] { finished(); }); });
    ResizeWithinScreen(this, QSize(560, 440));
    updateButtons();
}

TfrmRestore::~TfrmRestore()
{
    // a task still running ends here without reporting to a window that is going
    disconnect(m_progressPanel, nullptr, this, nullptr);
    m_progressPanel->stop();
    m_progressPanel->wait();
}

bool TfrmRestore::isRunning() const
{
    return m_progressPanel->isRunning();
}

void TfrmRestore::updateButtons()
{
    const bool running = isRunning();
    btnBrowse->setEnabled(!running);
    btnZurueckspielen->setEnabled(!running && m_checked.has_value());
    btnAbbrechen->setEnabled(running);
}

void TfrmRestore::cmdBrowse()
{
    const QString chosen = m_state.dialogs.existingDirectory(
        QStringLiteral("Verzeichnis der Datensicherung wählen"),
        edtFolder->text().isEmpty() ? QDir::homePath() : edtFolder->text());
    if (!chosen.isEmpty())
        chooseFolder(chosen);
}

void TfrmRestore::start(Task task, std::function<void(BackupProgress &)> work)
{
    m_task = task;
    m_progressPanel->start(m_hook, std::move(work));
    updateButtons();
}

void TfrmRestore::chooseFolder(const QString &folder)
{
    if (isRunning())
        return;
    m_checked.reset();
    txtInhalt->clear();
    edtFolder->setText(QDir::cleanPath(folder));
    const BackupContext context = m_context;
    DataSetCopier *copier = m_copier.get();
    const QString chosen = edtFolder->text();
    start(Task::Check, [this, context, copier, chosen](BackupProgress &progress) {
        m_checkResult = CheckBackup(context, *copier, chosen, progress);
    });
}

void TfrmRestore::cmdRestore()
{
    if (isRunning() || !m_checked)
        return;
    if (!BackupRules::mayRestore(m_state)) {
        m_state.dialogs.warning(BackupRules::NoPermission);
        return;
    }
    if (m_state.dialogs.question(RestoreQuestion(*m_checked), Dialogs::Buttons::YesNo,
                                 QStringLiteral("Datensicherung zurückspielen"))
        != Dialogs::Answer::Yes)
        return;
    // With the log-in on, a backup without a protected administrator would open the
    // data to anybody: the users of now come along, or nothing is restored.
    std::optional<RestoreUsers::Users> keepUsers;
    if (ReadIfLogin() && !m_checked->usersGuarded) {
        if (m_state.dialogs.question(RestoreUsers::question(), Dialogs::Buttons::YesCancel,
                                     QStringLiteral("Datensicherung zurückspielen"))
            != Dialogs::Answer::Yes)
            return;
        keepUsers = RestoreUsers::read(m_state.db);
    }
    // Windows that show stored data are closed first; one with unsaved changes
    // asks, and when the user keeps it, nothing is replaced.
    if (m_state.hub && !m_state.hub->closeDataWindows()) {
        m_state.dialogs.warning(QStringLiteral("Die Datensicherung wurde nicht zurückgespielt, weil ein Fenster noch "
                                               "ungesicherte Daten enthält.\nBitte speichern oder verwerfen Sie diese "
                                               "und spielen Sie die Sicherung dann zurück."));
        return;
    }
    BackupContext context = m_context;
    context.now = QDateTime::currentDateTime();
    DataSetCopier *copier = m_copier.get();
    const QString folder = edtFolder->text();
    m_kept.clear();
    start(Task::Restore, [this, context, copier, folder, keepUsers](BackupProgress &progress) {
        m_kept = RunRestore(context, *copier, folder, progress, keepUsers);
    });
}

void TfrmRestore::cmdCancel()
{
    if (!isRunning())
        return;
    if (m_progressPanel->lockedIn()) {
        m_state.dialogs.information(QStringLiteral("Der Datenbestand ist schon ersetzt; das Zurückspielen wird noch "
                                                   "zu Ende geführt."));
        return;
    }
    m_progressPanel->askToStop(
        m_state.dialogs,
        m_task == Task::Restore ? QStringLiteral("Das Zurückspielen ist noch nicht fertig. Wollen Sie es wirklich "
                                                 "abbrechen? Der Datenbestand bleibt dann, wie er ist.")
                                : QStringLiteral("Die Prüfung der Datensicherung ist noch nicht fertig. Wollen Sie "
                                                 "sie wirklich abbrechen?"),
        Dialogs::Buttons::YesNo);
}

void TfrmRestore::finished()
{
    const Task task = m_task;
    m_task = Task::None;
    const bool replaced = task == Task::Restore && m_progressPanel->lockedIn();
    if (task == Task::Check && !m_progressPanel->cancelled() && m_progressPanel->failure().isEmpty()) {
        m_checked = m_checkResult;
        const BackupManifest &m = m_checked->manifest;
        txtInhalt->setPlainText(BackupSummary(*m_checked));
        m_progressPanel->setStatus(
            QStringLiteral("Die Datensicherung vom %1 ist vollständig und unbeschädigt.").arg(backupDate(m)),
            Tone::Success);
        m_progressPanel->fill();
    } else if (task == Task::Restore && m_progressPanel->failure().isEmpty() && !m_progressPanel->cancelled()) {
        m_restored = true;
        const QString date = backupDate(m_checked->manifest);
        m_checked.reset();
        m_progressPanel->fill();
        m_progressPanel->setStatus(QStringLiteral("Die Datensicherung vom %1 wurde zurückgespielt.").arg(date),
                                   Tone::Success);
        m_state.dialogs.information(QStringLiteral("Die Datensicherung vom %1 wurde zurückgespielt.\nDer bisherige "
                                                   "Datenbestand liegt in \"%2\".\nEinstellungen wie die Währung "
                                                   "gelten ab dem nächsten Programmstart.")
                                        .arg(date, m_kept));
    } else if (m_progressPanel->cancelled()) {
        m_progressPanel->clearBars();
        m_progressPanel->setStatus(task == Task::Restore
                                       ? QStringLiteral("Zurückspielen abgebrochen, der Datenbestand ist unverändert.")
                                       : QStringLiteral("Prüfung abgebrochen."),
                                   Tone::Warning);
    } else {
        m_restored = m_restored || replaced;
        if (task == Task::Check)
            m_checked.reset();
        m_progressPanel->setStatus(
            task == Task::Restore && !replaced
                ? QStringLiteral("Die Datensicherung wurde nicht zurückgespielt, der Datenbestand ist unverändert.")
            : task == Task::Restore ? QStringLiteral("Fehler beim Zurückspielen!")
                                    : QStringLiteral("Die Datensicherung kann nicht zurückgespielt werden."),
            Tone::Warning);
        if (!m_closing)
            m_state.dialogs.error(m_progressPanel->failure());
    }
    updateButtons();
}

void TfrmRestore::done(int result)
{
    if (isRunning()) {
        if (m_progressPanel->lockedIn()) {
            m_state.dialogs.information(QStringLiteral("Der Datenbestand ist schon ersetzt; das Zurückspielen wird "
                                                       "noch zu Ende geführt."));
            return;
        }
        if (!m_progressPanel->askToStop(m_state.dialogs,
                                        QStringLiteral("Das Zurückspielen ist noch nicht fertig. Wollen Sie es "
                                                       "wirklich abbrechen?"),
                                        Dialogs::Buttons::YesNo))
            return;
        m_closing = true;
        m_progressPanel->wait();
        m_closing = false;
    }
    QDialog::done(result);
}
