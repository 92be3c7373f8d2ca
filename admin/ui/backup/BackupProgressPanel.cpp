#include "BackupProgressPanel.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

QProgressBar *bar(const char *name, QWidget *parent)
{
    auto *b = new QProgressBar(parent);
    b->setObjectName(QLatin1String(name));
    b->setTextVisible(false);
    b->setMaximumHeight(16);
    return b;
}

} // namespace

BackupProgressPanel::BackupProgressPanel(Bars bars, QWidget *parent) : QWidget(parent), m_bars(bars)
{
    setObjectName(QStringLiteral("progressPanel"));
    m_layout = new QVBoxLayout(this);
    // the panel's parts line up with the window's own as if they were placed there
    m_layout->setContentsMargins(0, 0, 0, 0);
    if (bars == Bars::RecordsAndSteps) {
        auto *grid = new QGridLayout;
        recordBar = bar("pbDatensatz", this);
        overallBar = bar("pbGesamt", this);
        grid->addWidget(new QLabel(QStringLiteral("Datensatz"), this), 0, 0);
        grid->addWidget(recordBar, 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("Gesamt"), this), 1, 0);
        grid->addWidget(overallBar, 1, 1);
        m_layout->addLayout(grid);
    } else {
        overallBar = bar("pbFortschritt", this);
        m_layout->addWidget(overallBar);
    }
    statusLine = new QLineEdit(this);
    statusLine->setObjectName(QStringLiteral("edtStatus"));
    statusLine->setReadOnly(true);
    statusLine->setFocusPolicy(Qt::ClickFocus);
    m_layout->addWidget(statusLine);
    connect(&m_worker, &BackupWorker::finished, this, &BackupProgressPanel::finished);
}

BackupProgressPanel::~BackupProgressPanel()
{
    // a task still running ends here without reporting to a window that is going
    disconnect(&m_worker, nullptr, this, nullptr);
    stop();
    m_worker.wait();
}

void BackupProgressPanel::insertAboveStatus(QWidget *w)
{
    m_layout->insertWidget(m_layout->indexOf(statusLine), w);
}

void BackupProgressPanel::start(const BackupProgress::Hook &hook, std::function<void(BackupProgress &)> task)
{
    m_progress = std::make_unique<BackupProgress>();
    m_progress->setCheckpointHook(hook);
    connect(m_progress.get(), &BackupProgress::stepStarted, this, &BackupProgressPanel::stepStarted);
    connect(m_progress.get(), &BackupProgress::itemsDone, this, &BackupProgressPanel::itemsDone);
    BackupProgress *progress = m_progress.get();
    m_worker.start([task = std::move(task), progress] { task(*progress); });
}

void BackupProgressPanel::stepStarted(int step, int steps, const QString &status)
{
    if (m_bars == Bars::RecordsAndSteps) {
        overallBar->setRange(0, steps);
        overallBar->setValue(step - 1);
    } else {
        overallBar->setRange(0, steps * 1000);
        overallBar->setValue((step - 1) * 1000);
    }
    setStatus(status);
}

void BackupProgressPanel::itemsDone(qint64 done, qint64 items)
{
    if (m_bars == Bars::RecordsAndSteps) {
        recordBar->setRange(0, 1000);
        recordBar->setValue(items > 0 ? int(done * 1000 / items) : 0);
    } else {
        // the step's share starts at its thousand and ends just short of the next
        const int base = overallBar->value() / 1000 * 1000;
        overallBar->setValue(base + (items > 0 ? int(done * 999 / items) : 0));
    }
}

bool BackupProgressPanel::askToStop(Dialogs &dialogs, const QString &question, Dialogs::Buttons buttons)
{
    if (!m_progress)
        return false;
    m_progress->pause();
    if (dialogs.question(question, buttons, QStringLiteral("Warnung")) == Dialogs::Answer::Yes) {
        m_progress->stop();
        return true;
    }
    m_progress->resume();
    return false;
}

void BackupProgressPanel::stop()
{
    if (m_progress)
        m_progress->stop();
}

void BackupProgressPanel::wait()
{
    m_worker.wait();
}

void BackupProgressPanel::setStatus(const QString &text, Tone tone)
{
    const QColor colour = tone == Tone::Success   ? QColor(0, 128, 0)
                          : tone == Tone::Warning ? QColor(Qt::red)
                                                  : QApplication::palette().color(QPalette::Text);
    QPalette p = statusLine->palette();
    p.setColor(QPalette::Text, colour);
    statusLine->setPalette(p);
    statusLine->setText(text);
    statusLine->setCursorPosition(0);
}

void BackupProgressPanel::fill()
{
    overallBar->setValue(overallBar->maximum());
}

void BackupProgressPanel::clearBars()
{
    for (QProgressBar *b : {recordBar, overallBar})
        if (b)
            b->setValue(0);
}
