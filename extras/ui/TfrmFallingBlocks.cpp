#include "TfrmFallingBlocks.h"

#include "CommandGuard.h"
#include "FallingBlocksView.h"

#include <QGridLayout>
#include <QHash>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

namespace {

// A surface that something else paints: the preview of the next piece.
class PaintBox : public QWidget
{
public:
    using QWidget::QWidget;
    std::function<void(QPainter &)> onPaint;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        if (onPaint)
            onPaint(p);
    }
};

QLabel *valueLabel(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    return l;
}

} // namespace

const QStringList TfrmFallingBlocks::WindowPieces = {
    QStringLiteral("Stick;clRed;4;0100010001000100"), QStringLiteral("Block;clBlue;2;1111"),
    QStringLiteral("Z;clLime;3;01011010"),            QStringLiteral("S;clWhite;3;10011001"),
    QStringLiteral("T;clFuchsia;3;010111000"),        QStringLiteral("L;clSkyBlue;3; 11001001"),
    QStringLiteral("Inverse L;clYellow;3;1101001"),
};

TfrmFallingBlocks::TfrmFallingBlocks(Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TfrmFallingBlocks"));
    setWindowTitle(QStringLiteral("Quader"));
    m_board.setColor(Qt::black);
    m_board.setGridColor(Qt::white);
    m_board.setBlockSize(16);
    m_board.setRows(20);
    m_board.setColumns(9);
    m_board.setDrawGrid(false);
    m_board.setPieces(WindowPieces);
    m_board.setUseDefaultPieces(false);
    m_timer.setInterval(m_score.interval);
    buildUi();
    connectBoard();
    resize(sizeHint().expandedTo(QSize(371, 400)));
}

TfrmFallingBlocks::~TfrmFallingBlocks()
{
    // The board's events point into this window; nothing may call them any more.
    m_board.OnChanged = nullptr;
    m_board.OnNewPiece = nullptr;
    m_board.OnLineFull = nullptr;
    m_board.OnGameEnd = nullptr;
}

void TfrmFallingBlocks::buildUi()
{
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(10, 12, 10, 10);
    root->setSpacing(8);

    auto *middle = new QHBoxLayout;
    middle->setSpacing(12);
    auto *values = new QGridLayout;
    values->setVerticalSpacing(6);
    lblScore = valueLabel(this, "lblScore");
    lblRemoved = valueLabel(this, "lblRemoved");
    lblFreeRows = valueLabel(this, "lblFreeRows");
    lblLevel = valueLabel(this, "lblLevel");
    pbFilled = new QProgressBar(this);
    pbFilled->setObjectName(QStringLiteral("pbFilled"));
    pbFilled->setRange(0, m_board.Rows());
    pbFilled->setValue(0);
    pbFilled->setTextVisible(false);
    pbFilled->setMaximumHeight(12);
    values->addWidget(new QLabel(QStringLiteral("Spielstand:"), this), 0, 0);
    values->addWidget(lblScore, 0, 1);
    values->addWidget(new QLabel(QStringLiteral("Entfernte Zeilen:"), this), 1, 0);
    values->addWidget(lblRemoved, 1, 1);
    values->addWidget(new QLabel(QStringLiteral("Freie Zeilen:"), this), 2, 0);
    values->addWidget(lblFreeRows, 2, 1);
    values->addWidget(pbFilled, 3, 0, 1, 2);
    values->addWidget(new QLabel(QStringLiteral("Spielstufe:"), this), 4, 0);
    values->addWidget(lblLevel, 4, 1);

    // The keys as they lie on the number pad.
    auto *legend = new QGridLayout;
    legend->setHorizontalSpacing(10);
    const auto key = [this, legend](const QString &text, const QString &digit, int row, int column) {
        auto *l = new QLabel(QStringLiteral("<b>%1</b> %2").arg(digit, text), this);
        legend->addWidget(l, row, column);
    };
    key(QStringLiteral("links "), QStringLiteral("7"), 0, 0);
    key(QStringLiteral("drehen "), QStringLiteral("8"), 1, 0);
    key(QStringLiteral("rechts"), QStringLiteral("9"), 2, 0);
    key(QStringLiteral("fallen "), QStringLiteral("5"), 3, 0);
    key(QStringLiteral("nach unten"), QStringLiteral("4"), 4, 0);

    auto *left = new QVBoxLayout;
    left->addLayout(values);
    left->addSpacing(16);
    left->addWidget(new QLabel(QStringLiteral("Tasten:"), this));
    left->addLayout(legend);
    left->addStretch(1);
    middle->addLayout(left);

    boardView = new FallingBlocksView(m_board, this);
    middle->addWidget(boardView, 0, Qt::AlignTop);

    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Vorschau"), this));
    auto *box = new PaintBox(this);
    box->setObjectName(QStringLiteral("pbPreview"));
    box->setFixedSize(5 * m_board.BlockSize(), 5 * m_board.BlockSize());
    box->onPaint = [this](QPainter &p) {
        p.fillRect(preview->rect(), m_board.Color());
        FallingBlocksView::DrawPiece(p, m_board, m_board.NextPiece(), 1, 1);
    };
    preview = box;
    right->addWidget(preview);
    right->addStretch(1);
    middle->addLayout(right);
    root->addLayout(middle);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    QFont bold = lblStatus->font();
    bold.setBold(true);
    bold.setPixelSize(16);
    lblStatus->setFont(bold);
    root->addWidget(lblStatus);

    auto *buttons = new QHBoxLayout;
    btnNewGame = new QPushButton(QStringLiteral("&Neues Spiel"), this);
    btnNewGame->setObjectName(QStringLiteral("btnNewGame"));
    btnPause = new QPushButton(QStringLiteral("Pause"), this);
    btnPause->setObjectName(QStringLiteral("btnPause"));
    btnPause->setEnabled(false);
    btnCancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton *b : {btnNewGame, btnPause, btnCancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    root->addLayout(buttons);

    connect(btnNewGame, &QPushButton::clicked, this, Guarded(m_dialogs, [this] { cmdNewGame(); }));
    connect(btnPause, &QPushButton::clicked, this, Guarded(m_dialogs, [this] { cmdPause(); }));
    connect(btnCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_timer, &QTimer::timeout, this, Guarded(m_dialogs, [this] { tick(); }));
    for (QPushButton *b : {btnNewGame, btnPause})
        b->installEventFilter(this);
}

void TfrmFallingBlocks::connectBoard()
{
    m_board.OnChanged = [this] { boardView->boardChanged(); };
    m_board.OnNewPiece = [this](int) { preview->update(); };
    m_board.OnGameEnd = [this] {
        m_timer.stop();
        btnPause->setEnabled(false);
        lblStatus->setText(QStringLiteral("Game over"));
    };
    m_board.OnLineFull = [this](int lines) { lineFull(lines); };
}

void TfrmFallingBlocks::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Once per window: it is made anew for every opening, and the counters of a
    // game must not be blanked when the window only comes to the front again.
    if (m_shown)
        return;
    m_shown = true;
    lblRemoved->setText(QStringLiteral("0"));
    lblScore->setText(QStringLiteral("0"));
    lblFreeRows->clear();
    lblLevel->setText(QStringLiteral("0"));
    lblStatus->setText(QStringLiteral("Quader"));
    btnNewGame->setFocus();
}

void TfrmFallingBlocks::cmdNewGame()
{
    m_timer.stop();
    m_score.newGame();
    lblRemoved->setText(QStringLiteral("0"));
    lblScore->setText(QStringLiteral("0"));
    lblFreeRows->clear();
    lblStatus->setText(QStringLiteral("Neues Spiel"));
    btnPause->setText(QStringLiteral("Pause"));
    btnPause->setEnabled(false);
    pbFilled->setValue(0);
    m_board.NewGame(); // a piece set that cannot be read ends the command here
    m_timer.setInterval(m_score.interval);
    m_timer.start();
    btnPause->setEnabled(true);
}

void TfrmFallingBlocks::cmdPause()
{
    if (!m_board.Playing())
        return;
    if (m_timer.isActive()) {
        m_timer.stop();
        btnPause->setText(QStringLiteral("Weiter"));
    } else {
        m_timer.start();
        btnPause->setText(QStringLiteral("Pause"));
    }
}

void TfrmFallingBlocks::tick()
{
    m_board.StepDown();
    const int free = m_board.FreeRows();
    lblFreeRows->setText(QString::number(free));
    pbFilled->setValue(m_board.Rows() - free);
}

void TfrmFallingBlocks::lineFull(int lines)
{
    m_score.linesRemoved(lines, m_board.FreeRows());
    m_timer.setInterval(m_score.interval);
    showCounters();
}

void TfrmFallingBlocks::showCounters()
{
    lblLevel->setText(QString::number(m_score.level));
    lblRemoved->setText(QString::number(m_score.removedRows));
    lblScore->setText(QString::number(m_score.score));
}

bool TfrmFallingBlocks::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || (watched != btnNewGame && watched != btnPause))
        return QWidget::eventFilter(watched, event);
    const auto *press = static_cast<QKeyEvent *>(event);
    int key = press->key();
    // The number pad with Num Lock off sends its second meaning; the digits are meant.
    if (press->modifiers() & Qt::KeypadModifier) {
        static const QHash<int, int> digits = {{Qt::Key_Left, Qt::Key_4}, {Qt::Key_Clear, Qt::Key_5},
                                               {Qt::Key_Home, Qt::Key_7}, {Qt::Key_Up, Qt::Key_8},
                                               {Qt::Key_PageUp, Qt::Key_9}};
        key = digits.value(key, key);
    }
    const std::function<void()> moves[] = {
        [this] { m_board.StepDown(); },
        [this] { m_board.Drop(); },
        [] {},
        [this] { m_board.MoveLeft(); },
        [this] { m_board.Rotate(TFallingBlocks::Direction::Anticlockwise); },
        [this] { m_board.MoveRight(); },
    };
    if (key < Qt::Key_4 || key > Qt::Key_9 || key == Qt::Key_6)
        return QWidget::eventFilter(watched, event);
    // The keys act while a game runs, paused or not.
    if (m_board.Playing())
        RunCommand(m_dialogs, moves[key - Qt::Key_4]);
    return true;
}
