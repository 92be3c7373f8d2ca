#pragma once

#include "Errors.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QWaitCondition>

#include <atomic>
#include <functional>

class QThread;

// Thrown inside a backup task when the user stopped it.
class BackupCancelled : public OrvellaError
{
public:
    BackupCancelled() : OrvellaError(QStringLiteral("Datensicherung abgebrochen!")) {}
};

// Progress and control of one backup, archive, check or restore. The task runs on
// a worker thread and reports steps and items here; the window listens to the
// signals (they reach its thread queued) and pauses, resumes or stops the task.
// The task looks at the controls at its checkpoints, which come often enough
// that a stop takes effect within a few milliseconds.
class BackupProgress : public QObject
{
    Q_OBJECT
public:
    explicit BackupProgress(QObject *parent = nullptr);

    // Task side.
    void setSteps(int steps);
    // Starts the next step with its status text and the number of its items.
    void beginStep(const QString &status, qint64 items = 0);
    void setItems(qint64 items);
    // Items of the current step done so far; the signal is sent at most every few
    // dozen milliseconds so the window's thread is never flooded.
    void advance(qint64 done);
    // Waits while paused; throws BackupCancelled once a stop was asked for.
    void checkpoint();
    // The same for callbacks from C code, which must not throw: true means stop.
    bool waitOrStop();
    // From here the task finishes as it goes: stops and pauses are no longer taken
    // (the data set has been replaced, or the backup is being given its name).
    void lockIn() { m_lockedIn = true; }
    bool lockedIn() const { return m_lockedIn.load(); }
    int step() const { return m_step; }

    // Window side.
    void pause();
    void resume();
    void stop();
    bool stopRequested() const { return m_stop.load(); }
    bool paused() const { return m_paused.load(); }

    // For tests: called on the task's thread at every checkpoint, with the step and
    // the items done, before the controls are looked at.
    using Hook = std::function<void(int step, qint64 done)>;
    void setCheckpointHook(Hook hook) { m_hook = std::move(hook); }

Q_SIGNALS:
    void stepStarted(int step, int steps, const QString &status);
    void itemsDone(qint64 done, qint64 items);

private:
    void waitWhilePaused();

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_paused{false};
    std::atomic<bool> m_lockedIn{false};
    QMutex m_mutex;
    QWaitCondition m_resumed;
    Hook m_hook;
    int m_step = 0;
    int m_steps = 0;
    qint64 m_items = 0;
    qint64 m_done = 0;
    QElapsedTimer m_sinceSignal;
};

// Runs one task on a thread of its own. finished() is sent in the thread that
// owns the worker once the task has ended, however it ended.
class BackupWorker : public QObject
{
    Q_OBJECT
public:
    explicit BackupWorker(QObject *parent = nullptr);
    ~BackupWorker() override;

    void start(std::function<void()> task);
    bool isRunning() const { return m_thread != nullptr; }
    // Blocks until the task has ended (used when the window closes).
    void wait();

    // How the last task ended: cancelled, or failed with a German message.
    bool cancelled() const { return m_cancelled; }
    QString failure() const { return m_failure; }

Q_SIGNALS:
    void finished();

private:
    QThread *m_thread = nullptr;
    int m_run = 0;
    bool m_cancelled = false;
    QString m_failure;
};
