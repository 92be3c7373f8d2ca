#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <random>
#include <vector>

// One piece of the game: a name, a colour and a square matrix of up to 5 × 5
// cells, of which only the first Size rows and columns are used. x runs from the
// left, y from the top.
struct TPiece
{
    static constexpr int MaxSize = 5;

    QString Name;
    QColor Color;
    int Size = 4;
    std::array<std::array<bool, MaxSize>, MaxSize> cells{}; // [y][x]

    bool filled(int x, int y) const { return x >= 0 && y >= 0 && x < Size && y < Size && cells[y][x]; }
    bool operator==(const TPiece &) const = default;
};

// The falling-blocks board: its cells, the pieces, the rules, and three events.
// It draws nothing; FallingBlocksView paints it, and tests play it directly.
// Columns run from 1 at the left, rows from 1 at the top; rows of 0 and less lie
// above the board, where a piece enters.
class TFallingBlocks
{
public:
    static constexpr int MaxColumns = 30;
    static constexpr int MaxRows = 50;
    enum class Direction { Anticlockwise, Clockwise };

    // Returns a number from 0 up to, but not including, bound. The default draws
    // from a generator seeded from the clock at every new game; a test puts in a
    // fixed sequence so that the pieces come in a known order.
    using RandomSource = std::function<int(int bound)>;

    // The pieces the board plays unless told otherwise.
    static const QStringList DefaultPieces;

    TFallingBlocks();

    // Properties. BlockSize, Rows, Columns and Pieces keep their value while a
    // game runs; Rows is held to 2..50 and Columns to 2..30.
    QColor Color() const { return m_color; }
    void setColor(const QColor &color);
    QColor GridColor() const { return m_gridColor; }
    void setGridColor(const QColor &color);
    int BlockSize() const { return m_blockSize; }
    void setBlockSize(int size);
    int Rows() const { return m_rows; }
    void setRows(int rows);
    int Columns() const { return m_columns; }
    void setColumns(int columns);
    bool DrawGrid() const { return m_drawGrid; }
    void setDrawGrid(bool on);
    QStringList Pieces() const { return m_pieces; }
    void setPieces(const QStringList &lines);
    bool UseDefaultPieces() const { return m_useDefaultPieces; }
    void setUseDefaultPieces(bool on);

    // Columns × BlockSize + 1 by Rows × BlockSize + 1 pixels.
    QSize pixelSize() const;

    // Events. OnLineFull: rows were removed, how many at once. OnNewPiece: a piece
    // came in; its position in the piece list. OnChanged: the board must be drawn
    // again (and resized when its size changed).
    std::function<void(int lines)> OnLineFull;
    std::function<void()> OnGameEnd;
    std::function<void(int piece)> OnNewPiece;
    std::function<void()> OnChanged;

    void setRandomSource(RandomSource source) { m_random = std::move(source); }

    // Starts a game with an empty board. A piece list that cannot be built throws
    // OrvellaError and leaves the board idle.
    void NewGame();
    // One row down, or lands the piece when it cannot go further.
    void StepDown();
    // Straight down as far as the piece goes; it lands at the next StepDown.
    void Drop();
    void MoveLeft();
    void MoveRight();
    void Rotate(Direction direction);
    // Empty rows counted from the top down to the first row that holds a block.
    int FreeRows() const;
    // The list position of the piece that comes next; -1 before the first game.
    int NextPiece() const { return m_next; }

    bool Playing() const { return m_playing; }
    // 0 for an empty cell, else the list position + 1 of the piece that filled it.
    int Cell(int column, int row) const;
    const std::vector<TPiece> &PieceList() const { return m_list; }
    const TPiece &CurrentPiece() const { return m_current; }
    int CurrentIndex() const { return m_currentIndex; }
    int PieceX() const { return m_px; }
    int PieceY() const { return m_py; }

    // A definition line "name;colour;size;matrix" read into a piece. The colour is
    // a colour name of the Windows set ("clRed") or a colour number; one that
    // cannot be read gives white. background is the board colour: a piece of that
    // colour gets a random one instead, so it stays visible.
    static TPiece ParsePiece(const QString &line, const QColor &background, const RandomSource &random);
    // A colour name or number as the Windows colour set writes it; no value when
    // the text is neither.
    static std::optional<QColor> ColorFromText(const QString &text);

private:
    bool fits(const TPiece &piece, int px, int py) const;
    bool fits(int dx, int dy) const { return fits(m_current, m_px + dx, m_py + dy); }
    void bringInPiece();
    void land();
    int removeFullRows();
    std::vector<TPiece> buildPieceList(const RandomSource &random) const;
    int draw(int bound);
    void changed();

    QColor m_color = Qt::black;
    QColor m_gridColor = Qt::white;
    int m_blockSize = 16;
    int m_rows = 20;
    int m_columns = 9;
    bool m_drawGrid = false;
    QStringList m_pieces = DefaultPieces;
    bool m_useDefaultPieces = false;

    std::array<std::array<int, MaxRows + 1>, MaxColumns + 1> m_cells{}; // [column][row], from 1
    std::vector<TPiece> m_list;
    TPiece m_current;
    int m_currentIndex = -1;
    int m_px = 0;
    int m_py = 0;
    int m_next = -1;
    bool m_playing = false;
    RandomSource m_random;
    std::mt19937 m_generator;
};

// How the game window counts: the level and the timer interval follow the rows
// removed before each removal, and every removal adds the free rows above the
// stack and a bonus for rows removed at once that grows with the speed.
struct FallingBlocksScore
{
    static constexpr int MaxLevel = 14;

    int removedRows = 0;
    int score = 0;
    int level = 0;
    int interval = 1000; // ms

    // Level 0 up to 15 removed rows, one more for each further 15, at most 14.
    static int levelFor(int removedBefore);
    // 1000 ms × 0.8 to the power of the level, rounded down.
    static int intervalFor(int level);
    // 5 points per row divided by the interval in milliseconds, to the nearest
    // point (so almost always 0: the game as it was designed).
    static int bonus(int lines, int interval);

    // A new game counts rows and points from 0 and keeps the level and the
    // interval; they change at the next removal of rows.
    void newGame()
    {
        removedRows = 0;
        score = 0;
    }
    // Rows were removed; freeRows is counted after the removal.
    void linesRemoved(int lines, int freeRows);
};
