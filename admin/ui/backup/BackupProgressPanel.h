#pragma once

#include "BackupProgress.h"
#include "Dialogs.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLineEdit;
class QProgressBar;
class QVBoxLayout;

// The progress part of the backup and the restore window: the bars, the status
// line under them and the task they show. Each task runs on a worker thread with
// a BackupProgress of its own; the panel moves the bars as steps and items are
// reported and puts each step's text in the status line. What the end of a task
// means is the window's to decide once finished() arrives.
class BackupProgressPanel : public QWidget
{
    Q_OBJECT
public:
    // RecordsAndSteps: "Datensatz" for the items of the running step above "Gesamt"
    // for the steps (the backup). Single: one bar across all steps, each step's
    // items filling its share of it (the restore).
    enum class Bars { RecordsAndSteps, Single };
    // The colour of the status text: the normal one, green for a task that went
    // well, red for one that was cancelled or failed.
    enum class Tone { Plain, Success, Warning };

    explicit BackupProgressPanel(Bars bars, QWidget *parent = nullptr);
    ~BackupProgressPanel() override;

    // Places w between the bars and the status line (the backup window's folder).
    void insertAboveStatus(QWidget *w);

    // Runs task on the worker; hook is the tests' look at every checkpoint.
    void start(const BackupProgress::Hook &hook, std::function<void(BackupProgress &)> task);
    bool isRunning() const { return m_worker.isRunning(); }
    // How the last task ended.
    bool cancelled() const { return m_worker.cancelled(); }
    QString failure() const { return m_worker.failure(); }
    // True once the running (or last) task no longer takes a stop.
    bool lockedIn() const { return m_progress && m_progress->lockedIn(); }

    // Holds the task while the user is asked (titled "Warnung"): "Ja" stops it,
    // any other answer lets it go on. True when it was stopped.
    bool askToStop(Dialogs &dialogs, const QString &question, Dialogs::Buttons buttons);
    // Stops the task without asking.
    void stop();
    // Blocks until the task has ended; finished() is sent before this returns.
    void wait();

    void setStatus(const QString &text, Tone tone = Tone::Plain);
    // The overall bar full, or every bar empty.
    void fill();
    void clearBars();

    // RecordsAndSteps: pbDatensatz and pbGesamt; Single: pbFortschritt only, and
    // recordBar stays null.
    QProgressBar *recordBar = nullptr;
    QProgressBar *overallBar = nullptr;
    QLineEdit *statusLine = nullptr;

Q_SIGNALS:
    // The task has ended, however it ended.
    void finished();

private:
    void stepStarted(int step, int steps, const QString &status);
    void itemsDone(qint64 done, qint64 items);

    Bars m_bars;
    QVBoxLayout *m_layout = nullptr;
    std::unique_ptr<BackupProgress> m_progress;
    BackupWorker m_worker;
};
