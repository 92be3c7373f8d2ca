#include "TfrmStartinfo.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

TfrmStartinfo::TfrmStartinfo(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TfrmStartinfo"));
    setFixedSize(480, 280);
    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->addStretch(1);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);
    m_bar->setFixedHeight(10);
    m_bar->setStyleSheet(QStringLiteral("QProgressBar { background: white; border: none; }"
                                        "QProgressBar::chunk { background: #1c4fa0; }"));
    l->addWidget(m_bar);
    if (QScreen *s = QApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void TfrmStartinfo::setProgress(int percent)
{
    m_bar->setValue(std::clamp(percent, 0, 100));
    repaint();
}

int TfrmStartinfo::progress() const
{
    return m_bar->value();
}

void TfrmStartinfo::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(0x00, 0x00, 0x80));
    g.setColorAt(1, QColor(0x1c, 0x4f, 0xa0));
    p.fillRect(rect(), g);
    p.setPen(Qt::white);
    QFont big = font();
    big.setPointSize(28);
    big.setBold(true);
    p.setFont(big);
    p.drawText(QRect(0, 70, width(), 60), Qt::AlignCenter, QStringLiteral("Orvella-Suite"));
    QFont small = font();
    small.setPointSize(11);
    p.setFont(small);
    p.drawText(QRect(0, 135, width(), 30), Qt::AlignCenter,
               QStringLiteral("Adressen · Projekte · Angebote · Rechnungen · Mahnungen"));
    p.drawText(QRect(0, 200, width(), 30), Qt::AlignCenter, QStringLiteral("Programm wird gestartet …"));
}
