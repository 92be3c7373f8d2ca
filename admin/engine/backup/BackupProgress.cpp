#include "BackupProgress.h"

#include <QMutexLocker>
#include <QThread>

namespace {

// How often the item count may reach the window.
constexpr qint64 SignalIntervalMs = 40;

} // namespace

BackupProgress::BackupProgress(QObject *parent) : QObject(parent)
{
    m_sinceSignal.start();
}

void BackupProgress::setSteps(int steps)
{
    m_steps = steps;
    m_step = 0;
}

void BackupProgress::beginStep(const QString &status, qint64 items)
{
    ++m_step;
    m_items = items;
    m_done = 0;
    Q_EMIT stepStarted(m_step, m_steps, status);
    Q_EMIT itemsDone(0, items);
    m_sinceSignal.restart();
    checkpoint();
}

void BackupProgress::setItems(qint64 items)
{
    m_items = items;
}

void BackupProgress::advance(qint64 done)
{
    m_done = done;
    if (done >= m_items || m_sinceSignal.elapsed() >= SignalIntervalMs) {
        Q_EMIT itemsDone(done, m_items);
        m_sinceSignal.restart();
    }
}

void BackupProgress::checkpoint()
{
    if (m_hook)
        m_hook(m_step, m_done);
    if (m_lockedIn.load())
        return;
    if (m_paused.load())
        waitWhilePaused();
    if (m_stop.load())
        throw BackupCancelled();
}

bool BackupProgress::waitOrStop()
{
    if (m_hook)
        m_hook(m_step, m_done);
    if (m_lockedIn.load())
        return false;
    if (m_paused.load())
        waitWhilePaused();
    return m_stop.load();
}

void BackupProgress::waitWhilePaused()
{
    QMutexLocker lock(&m_mutex);
    while (m_paused.load() && !m_stop.load())
        m_resumed.wait(&m_mutex);
}

void BackupProgress::pause()
{
    QMutexLocker lock(&m_mutex);
    m_paused = true;
}

void BackupProgress::resume()
{
    QMutexLocker lock(&m_mutex);
    m_paused = false;
    m_resumed.wakeAll();
}

void BackupProgress::stop()
{
    QMutexLocker lock(&m_mutex);
    m_stop = true;
    m_paused = false;
    m_resumed.wakeAll();
}

BackupWorker::BackupWorker(QObject *parent) : QObject(parent) {}

BackupWorker::~BackupWorker()
{
    wait();
}

void BackupWorker::start(std::function<void()> task)
{
    if (m_thread)
        return;
    m_cancelled = false;
    m_failure.clear();
    // Exceptions end the task here, on its own thread; the window learns how it
    // ended from cancelled() and failure() once finished() arrives.
    m_thread = QThread::create([this, task = std::move(task)] {
        try {
            task();
        } catch (const BackupCancelled &) {
            m_cancelled = true;
        } catch (const OrvellaError &e) {
            m_failure = e.message();
        } catch (const std::exception &e) {
            m_failure = QString::fromLocal8Bit(e.what());
        }
    });
    const int run = ++m_run;
    connect(m_thread, &QThread::finished, this, [this, run] {
        // wait() may have ended this run already, and another may have started
        if (!m_thread || run != m_run)
            return;
        m_thread->wait();
        delete m_thread;
        m_thread = nullptr;
        Q_EMIT finished();
    });
    m_thread->start();
}

void BackupWorker::wait()
{
    if (!m_thread)
        return;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    Q_EMIT finished();
}
