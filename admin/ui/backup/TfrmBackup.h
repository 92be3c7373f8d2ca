#pragma once

#include "BackupProgress.h"
#include "BackupRules.h"
#include "BackupTasks.h"

#include <QDialog>
#include <memory>

class AppState;
class BackupProgressPanel;
class DataSetCopier;
class QAction;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;

// The backup window "Datensicherung" in its two modes: the full backup of the
// data set and the archive of invoices and credit notes. The copying runs on a
// worker thread with a connection of its own; while it runs, the window offers
// nothing but cancelling. Created once and shown modally by the main window's
// entries, which choose the mode first.
class TfrmBackup : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmBackup(AppState &state, QWidget *parent = nullptr);
    ~TfrmBackup() override;

    // Sets the title, shows the period only for the archive, loads the mode's
    // remembered folder and enables "&Datensicherung" when that folder exists.
    void selectMode(BackupRules::Kind kind);
    BackupRules::Kind mode() const { return m_kind; }
    // Each opening: both bars empty, no status, "&Browse" on, "&Abbrechen" off.
    void activate();

    // Commands.
    void cmdBrowse();
    void cmdStart();
    void cmdCancel();

    bool isRunning() const;
    // The folder the last backup that finished was written to.
    QString lastFolder() const { return m_lastFolder; }
    // For tests: free space and the moment that names the backup, and a hook that
    // runs on the worker at every checkpoint.
    void setContext(const BackupContext &context) { m_context = context; }
    void setCheckpointHook(BackupProgress::Hook hook) { m_hook = std::move(hook); }

    QAction *actClose;
    QToolButton *btnRechnungen, *btnGesamt;
    QGroupBox *grpZeitraum;
    QRadioButton *rbVonBis, *rbAlleRechnungen;
    QDateEdit *dtVon, *dtBis;
    QProgressBar *pbDatensatz, *pbGesamt;
    QGroupBox *grpVerzeichnis;
    QLineEdit *edtPath;
    QPushButton *btnBrowse;
    QLineEdit *edtStatus;
    QPushButton *btnAbbrechen, *btnDatensicherung, *btnOK;

protected:
    void showEvent(QShowEvent *e) override;
    void done(int result) override;

private:
    void buildUi();
    void setRunning(bool running);
    void updateStartEnabled();
    void finished();

    AppState &m_state;
    BackupRules::Kind m_kind = BackupRules::Kind::Full;
    BackupContext m_context;
    std::unique_ptr<DataSetCopier> m_copier;
    BackupProgressPanel *m_progressPanel = nullptr;
    BackupProgress::Hook m_hook;
    QString m_result;
    QStringList m_removed; // unfinished folders of killed backups, removed before this one
    QString m_lastFolder;
    bool m_centred = false;
    bool m_closing = false;
};
