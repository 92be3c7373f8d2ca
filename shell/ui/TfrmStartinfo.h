#pragma once

#include <QWidget>

class QProgressBar;

// The splash window shown while the windows are created: a start picture with a
// progress bar along its bottom edge.
class TfrmStartinfo : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmStartinfo(QWidget *parent = nullptr);
    void setProgress(int percent);
    int progress() const;

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QProgressBar *m_bar;
};
