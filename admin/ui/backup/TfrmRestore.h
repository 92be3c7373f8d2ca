#pragma once

#include "BackupProgress.h"
#include "BackupTasks.h"

#include <QDialog>
#include <memory>

class AppState;
class BackupProgressPanel;
class DataSetCopier;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// "Datensicherung zurückspielen": the user picks the folder of a full backup;
// the window checks it on a worker (manifest, integrity of the copy, rows) and
// shows what it holds. "&Zurückspielen" asks with the backup's date and rows,
// closes the windows that show stored data (they ask about unsaved changes) and
// replaces the data set, its pictures and settings by the backup's; the data set
// as it was is kept in the data folder.
class TfrmRestore : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmRestore(AppState &state, QWidget *parent = nullptr);
    ~TfrmRestore() override;

    // Commands.
    void cmdBrowse();
    // Checks the backup in folder (also what "&Browse" does with its choice).
    void chooseFolder(const QString &folder);
    void cmdRestore();
    void cmdCancel();

    bool isRunning() const;
    // True once a restore has replaced the data set.
    bool restored() const { return m_restored; }
    // For tests, as in the backup window.
    void setContext(const BackupContext &context) { m_context = context; }
    void setCheckpointHook(BackupProgress::Hook hook) { m_hook = std::move(hook); }

    QLineEdit *edtFolder;
    QPushButton *btnBrowse;
    QPlainTextEdit *txtInhalt;
    QProgressBar *pbFortschritt;
    QLineEdit *edtStatus;
    QPushButton *btnZurueckspielen, *btnAbbrechen, *btnSchliessen;

protected:
    void done(int result) override;

private:
    enum class Task { None, Check, Restore };
    void start(Task task, std::function<void(BackupProgress &)> work);
    void finished();
    void updateButtons();

    AppState &m_state;
    BackupContext m_context;
    std::unique_ptr<DataSetCopier> m_copier;
    BackupProgressPanel *m_progressPanel = nullptr;
    BackupProgress::Hook m_hook;
    Task m_task = Task::None;
    std::optional<BackupCheck> m_checked;
    BackupCheck m_checkResult;
    QString m_kept;
    bool m_restored = false;
    bool m_closing = false;
};
