#pragma once

#include "TFallingBlocks.h"

#include <QTimer>
#include <QWidget>

class Dialogs;
class FallingBlocksView;
class QLabel;
class QProgressBar;
class QPushButton;

// The game window "Quader": drives the board with a timer and the keys 4, 5, 7, 8
// and 9, and shows the removed rows, the score, the free rows, the level and the
// next piece. Made anew each time it is opened and deleted when closed.
class TfrmFallingBlocks : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmFallingBlocks(Dialogs &dialogs, QWidget *parent = nullptr);
    ~TfrmFallingBlocks() override;

    // The pieces the window plays, in this order.
    static const QStringList WindowPieces;

    TFallingBlocks &board() { return m_board; }
    const FallingBlocksScore &score() const { return m_score; }
    QTimer &timer() { return m_timer; }

    // Commands of the buttons, and one timer tick.
    void cmdNewGame();
    void cmdPause();
    void tick();

    FallingBlocksView *boardView;
    QWidget *preview;
    QLabel *lblScore, *lblRemoved, *lblFreeRows, *lblLevel, *lblStatus;
    QProgressBar *pbFilled;
    QPushButton *btnNewGame, *btnPause, *btnCancel;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildUi();
    void connectBoard();
    void lineFull(int lines);
    void showCounters();
    void paintPreview();

    Dialogs &m_dialogs;
    TFallingBlocks m_board;
    FallingBlocksScore m_score;
    QTimer m_timer;
    bool m_shown = false;
};
