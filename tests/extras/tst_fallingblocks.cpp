#include "Errors.h"
#include "FallingBlocksView.h"
#include "ScriptedDialogs.h"
#include "TFallingBlocks.h"
#include "TfrmFallingBlocks.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

namespace {

// A board with a fixed piece sequence that records its events. A script plays it:
// L left, R right, D drop, S step down, A anticlockwise, C clockwise.
struct Game
{
    TFallingBlocks board;
    QStringList events;
    QList<int> sequence;

    Game(int columns, int rows, const QStringList &pieces, const QList<int> &order) : sequence(order)
    {
        board.setColumns(columns);
        board.setRows(rows);
        board.setPieces(pieces);
        board.setRandomSource([this](int bound) { return sequence.isEmpty() ? 0 : sequence.takeFirst() % bound; });
        board.OnNewPiece = [this](int piece) { events << QStringLiteral("new %1").arg(piece); };
        board.OnLineFull = [this](int lines) { events << QStringLiteral("lines %1").arg(lines); };
        board.OnGameEnd = [this] { events << QStringLiteral("end"); };
        board.NewGame();
    }
    void play(const QString &script)
    {
        for (QChar c : script) {
            switch (c.toLatin1()) {
            case 'L': board.MoveLeft(); break;
            case 'R': board.MoveRight(); break;
            case 'D': board.Drop(); break;
            case 'S': board.StepDown(); break;
            case 'A': board.Rotate(TFallingBlocks::Direction::Anticlockwise); break;
            case 'C': board.Rotate(TFallingBlocks::Direction::Clockwise); break;
            default: break;
            }
        }
    }
    // A board row: the stored value of each cell, "." for empty.
    QString row(int r) const
    {
        QString out;
        for (int c = 1; c <= board.Columns(); ++c)
            out += board.Cell(c, r) ? QString::number(board.Cell(c, r)) : QStringLiteral(".");
        return out;
    }
};

QString matrixOf(const TPiece &p)
{
    QStringList rows;
    for (int y = 0; y < p.Size; ++y) {
        QString r;
        for (int x = 0; x < p.Size; ++x)
            r += p.filled(x, y) ? QLatin1Char('X') : QLatin1Char('.');
        rows << r;
    }
    return rows.join(QLatin1Char('/'));
}

// A vertical stick of n cells in the first matrix column.
QString stick(int n)
{
    return QStringLiteral("V;clRed;%1;%2").arg(n).arg(QString(QStringLiteral("1") + QString(n - 1, '0')).repeated(n));
}

} // namespace

class TestFallingBlocks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void windowPieces_data();
    void windowPieces();
    void pieceDefinitions_data();
    void pieceDefinitions();
    void badDefinitionsStartNoGame_data();
    void badDefinitionsStartNoGame();
    void propertiesAreClampedAndHeldDuringAGame();
    void rotation_data();
    void rotation();
    void fullRowsAreRemoved_data();
    void fullRowsAreRemoved();
    void dropLandsAtTheNextStep();
    void gameOver_data();
    void gameOver();
    void scoreAndLevel_data();
    void scoreAndLevel();
    void windowPlaysWithKeysAndTimer();
};

void TestFallingBlocks::windowPieces_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("matrix");
    QTest::addColumn<QString>("entryRow"); // row 1 of a 9-column board as the piece comes in
    QTest::newRow("Stick") << 0 << QColor(255, 0, 0) << ".X../.X../.X../.X.." << "....1....";
    QTest::newRow("Block") << 1 << QColor(0, 0, 255) << "XX/XX" << "...22....";
    QTest::newRow("Z") << 2 << QColor(0, 255, 0) << ".X./XX./X.." << "...3.....";
    QTest::newRow("S") << 3 << QColor(255, 255, 255) << "X../XX./.X." << "....4....";
    QTest::newRow("T") << 4 << QColor(255, 0, 255) << ".X./XXX/..." << "...555...";
    QTest::newRow("L") << 5 << QColor(166, 202, 240) << ".XX/..X/..X" << "....6....";
    QTest::newRow("Inverse L") << 6 << QColor(255, 255, 0) << "XX./X../X.." << "...7.....";
}

void TestFallingBlocks::windowPieces()
{
    QFETCH(int, index);
    QFETCH(QColor, colour);
    QFETCH(QString, matrix);
    QFETCH(QString, entryRow);
    Game g(9, 20, TfrmFallingBlocks::WindowPieces, {index, 0});
    QCOMPARE(int(g.board.PieceList().size()), 7);
    const TPiece &p = g.board.PieceList().at(std::size_t(index));
    QCOMPARE(p.Color, colour);
    QCOMPARE(matrixOf(p), matrix);
    // Where it comes in: centred, only its lowest row visible, in row 1.
    QString row;
    for (int c = 1; c <= 9; ++c) {
        bool filled = false;
        for (int y = 0; y < p.Size; ++y)
            for (int x = 0; x < p.Size; ++x)
                filled = filled || (p.filled(x, y) && g.board.PieceX() + x == c && g.board.PieceY() + y == 1);
        row += filled ? QString::number(index + 1) : QStringLiteral(".");
    }
    QCOMPARE(row, entryRow);
    QCOMPARE(g.events, QStringList{QStringLiteral("new %1").arg(index)});
}

void TestFallingBlocks::pieceDefinitions_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QList<int>>("draws"); // what the random source gives, used up exactly
    QTest::addColumn<QString>("matrix");
    QTest::addColumn<QColor>("colour");
    const QColor black(Qt::black);
    QTest::newRow("matrix filled up with 0") << "A;clLime;2;1" << black << QList<int>{} << "X./.." << QColor(0, 255, 0);
    QTest::newRow("size above 5") << "A;clLime;9;1111" << black << QList<int>{} << "XXXX./...../...../...../....."
                                  << QColor(0, 255, 0);
    QTest::newRow("size not a number") << "A;clAqua;abc;0100" << black << QList<int>{} << ".X../..../..../...."
                                       << QColor(0, 255, 255);
    QTest::newRow("only 1 fills; more fields ignored") << "A;clBlack;2;1x 1;more" << QColor(Qt::white) << QList<int>{}
                                                       << "X./.X" << black;
    QTest::newRow("colour number, blue first") << "A;$FF8000;1;1" << black << QList<int>{} << "X" << QColor(0, 128, 255);
    QTest::newRow("unreadable colour is white") << "A;clNix;1;1" << black << QList<int>{} << "X" << QColor(Qt::white);
    // 0x123456 from the random source: red 0x56, green 0x34, blue 0x12
    QTest::newRow("white on a white board") << "A;clNix;1;1" << QColor(Qt::white) << QList<int>{0x123456} << "X"
                                            << QColor(0x56, 0x34, 0x12);
    QTest::newRow("board colour drawn again") << "A;clLime;1;1" << QColor(0, 255, 0) << QList<int>{0x00FF00, 0x123456}
                                              << "X" << QColor(0x56, 0x34, 0x12);
}

void TestFallingBlocks::pieceDefinitions()
{
    QFETCH(QString, line);
    QFETCH(QColor, background);
    QFETCH(QList<int>, draws);
    QFETCH(QString, matrix);
    QFETCH(QColor, colour);
    int extra = 0;
    const TPiece p = TFallingBlocks::ParsePiece(line, background, [&](int bound) {
        if (draws.isEmpty()) {
            ++extra;
            return bound - 1;
        }
        return draws.takeFirst();
    });
    QCOMPARE(matrixOf(p), matrix);
    QCOMPARE(p.Color, colour);
    QVERIFY(draws.isEmpty());
    QCOMPARE(extra, 0);
}

void TestFallingBlocks::badDefinitionsStartNoGame_data()
{
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QString>("message");
    QTest::newRow("none") << QStringList{} << "No pieces to initialize.";
    QTest::newRow("only blank lines") << QStringList{"", "  "} << "No pieces to initialize.";
    QTest::newRow("empty matrix after an empty line")
        << QStringList{"", "Leer;clRed;2;0000", "Block;clBlue;2;1111"} << "Piece 1 defines an empty matrix: \"0000\".";
}

void TestFallingBlocks::badDefinitionsStartNoGame()
{
    QFETCH(QStringList, pieces);
    QFETCH(QString, message);
    TFallingBlocks board;
    board.setPieces(pieces);
    int newPieces = 0;
    board.OnNewPiece = [&](int) { ++newPieces; };
    try {
        board.NewGame();
        QFAIL("the game started");
    } catch (const OrvellaError &e) {
        QCOMPARE(e.message(), message);
    }
    QVERIFY(!board.Playing());
    QCOMPARE(newPieces, 0);
    board.StepDown(); // an idle board does nothing
    QCOMPARE(board.FreeRows(), 20);
}

void TestFallingBlocks::propertiesAreClampedAndHeldDuringAGame()
{
    TFallingBlocks board;
    board.setRows(60);
    board.setColumns(1);
    QCOMPARE(board.Rows(), 50);
    QCOMPARE(board.Columns(), 2);
    QCOMPARE(board.pixelSize(), QSize(33, 801));
    board.setUseDefaultPieces(true);
    board.setPieces({"Leer;clRed;2;0000"}); // not used: the built-in set plays
    board.NewGame();
    QCOMPARE(int(board.PieceList().size()), 7);
    board.setRows(10);
    board.setColumns(9);
    board.setBlockSize(20);
    QCOMPARE(board.pixelSize(), QSize(33, 801));
}

void TestFallingBlocks::rotation_data()
{
    // 4 columns, 6 rows; pieces 0 a single cell, 1 the window's stick, which comes
    // in upright in column 3.
    QTest::addColumn<QList<int>>("order");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("matrix");
    const QString upright = ".X../.X../.X../.X..";
    QTest::newRow("anticlockwise: lies in row 2") << QList<int>{1} << "LDA" << "..../..../XXXX/....";
    QTest::newRow("clockwise: lies in row 1") << QList<int>{1} << "LDC" << "..../XXXX/..../....";
    QTest::newRow("twice anticlockwise") << QList<int>{1} << "LDAA" << "..X./..X./..X./..X.";
    QTest::newRow("at the left wall") << QList<int>{1} << "LLDA" << upright;
    QTest::newRow("at the right wall") << QList<int>{1} << "RDA" << upright;
    QTest::newRow("against blocks") << QList<int>{0, 0, 1} << "RDS RDS LDA" << upright;
    QTest::newRow("above the board it may turn") << QList<int>{1} << "LA" << "..../..../XXXX/....";
}

void TestFallingBlocks::rotation()
{
    QFETCH(QList<int>, order);
    QFETCH(QString, script);
    QFETCH(QString, matrix);
    Game g(4, 6, {"D;clLime;1;1", TfrmFallingBlocks::WindowPieces.at(0)}, order);
    g.play(script);
    QCOMPARE(g.board.CurrentIndex(), 1);
    QCOMPARE(matrixOf(g.board.CurrentPiece()), matrix);
}

void TestFallingBlocks::fullRowsAreRemoved_data()
{
    QTest::addColumn<int>("lines");
    for (int n = 1; n <= 4; ++n)
        QTest::addRow("%d", n) << n;
}

void TestFallingBlocks::fullRowsAreRemoved()
{
    // Four upright sticks of n cells side by side fill n rows at the fourth landing.
    QFETCH(int, lines);
    Game g(4, 6, {stick(lines)}, {});
    g.play(QStringLiteral("LLDS LDS DS RDS"));
    QCOMPARE(g.events, QStringList({"new 0", "new 0", "new 0", "new 0", "lines " + QString::number(lines), "new 0"}));
    QCOMPARE(g.board.FreeRows(), 6);

    // Two full rows with a part-filled one between them go in one landing, and the
    // part-filled row comes down to the bottom.
    Game h(3, 5, {"P;clRed;2;1100", "D;clLime;1;1", "C;clAqua;3;100000100"}, {0, 1, 0, 2});
    h.play(QStringLiteral("DS LDS DS"));
    QCOMPARE(QStringList({h.row(3), h.row(4), h.row(5)}), QStringList({"11.", "2..", "11."}));
    h.play(QStringLiteral("RDS"));
    QCOMPARE(h.events.mid(4), QStringList({"lines 2", "new 0"}));
    QCOMPARE(QStringList({h.row(3), h.row(4), h.row(5)}), QStringList({"...", "...", "2.."}));
    QCOMPARE(h.board.FreeRows(), 4);
}

void TestFallingBlocks::dropLandsAtTheNextStep()
{
    Game g(4, 6, {"O;clBlue;2;1111"}, {});
    g.play(QStringLiteral("D"));
    QCOMPARE(g.board.PieceY(), 5);
    QCOMPARE(g.row(6), QStringLiteral("...."));
    QCOMPARE(g.events.size(), 1);
    g.play(QStringLiteral("D")); // nothing further to fall
    QCOMPARE(g.board.PieceY(), 5);
    g.play(QStringLiteral("S"));
    QCOMPARE(g.row(6), QStringLiteral(".11."));
    QCOMPARE(g.board.FreeRows(), 4);
    QCOMPARE(g.events.size(), 2);
}

void TestFallingBlocks::gameOver_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("piece");
    QTest::addColumn<QStringList>("events");
    // Two blocks fill the left columns; the third cannot come wholly onto the board.
    QTest::newRow("stack reaches the top") << 4 << "O;clBlue;2;1111"
                                           << QStringList{"new 0", "new 0", "new 0", "end"};
    // A flat piece that comes in over blocks ends the game instead of overwriting them.
    QTest::newRow("comes in over blocks") << 2 << "P;clRed;2;1100" << QStringList{"new 0", "new 0", "new 0", "end"};
}

void TestFallingBlocks::gameOver()
{
    QFETCH(int, rows);
    QFETCH(QString, piece);
    QFETCH(QStringList, events);
    Game g(3, rows, {piece}, {});
    const QString left = QStringLiteral("11.");
    g.play(QStringLiteral("DS DS DS"));
    QCOMPARE(g.events, events);
    QVERIFY(!g.board.Playing());
    g.play(QStringLiteral("SDLA")); // nothing moves once the game is over
    QCOMPARE(g.events, events);
    for (int r = 1; r <= rows; ++r) // the board stays as it was
        QCOMPARE(g.row(r), left);
}

void TestFallingBlocks::scoreAndLevel_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("freeRows");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("points");
    // points = free rows + 5 × lines ÷ interval in ms (to the nearest: 0 at every level) − 1
    QTest::newRow("one row at the start") << 0 << 1 << 18 << 0 << 1000 << 18 - 1;
    QTest::newRow("four rows at the start") << 0 << 4 << 19 << 0 << 1000 << 19 - 1;
    QTest::newRow("after 15 still level 0") << 15 << 2 << 10 << 0 << 1000 << 10 - 1;
    QTest::newRow("after 16 level 1") << 16 << 1 << 10 << 1 << 800 << 10 - 1;
    QTest::newRow("level 1, three rows, nothing free") << 30 << 3 << 0 << 1 << 800 << -1;
    QTest::newRow("after 31 level 2") << 31 << 1 << 5 << 2 << 640 << 5 - 1;
    QTest::newRow("from 211 level 14, four rows: 0.47 to 0") << 500 << 4 << 5 << 14 << 43 << 5 - 1;
}

void TestFallingBlocks::scoreAndLevel()
{
    QFETCH(int, before);
    QFETCH(int, lines);
    QFETCH(int, freeRows);
    QFETCH(int, level);
    QFETCH(int, interval);
    QFETCH(int, points);
    FallingBlocksScore s;
    s.removedRows = before;
    s.score = 100;
    s.linesRemoved(lines, freeRows);
    QCOMPARE(s.level, level);
    QCOMPARE(s.interval, interval);
    QCOMPARE(s.removedRows, before + lines);
    QCOMPARE(s.score, 100 + points);
    // a new game starts counting anew at the level and speed reached
    s.newGame();
    QCOMPARE(QList<int>({s.removedRows, s.score, s.level, s.interval}), QList<int>({0, 0, level, interval}));
}

void TestFallingBlocks::windowPlaysWithKeysAndTimer()
{
    ScriptedDialogs dialogs;
    TfrmFallingBlocks w(dialogs);
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("Quader"));
    QCOMPARE(w.boardView->size(), QSize(9 * 16 + 1, 20 * 16 + 1));
    QCOMPARE(QStringList({w.lblRemoved->text(), w.lblScore->text(), w.lblFreeRows->text(), w.lblLevel->text(),
                          w.lblStatus->text()}),
             QStringList({"0", "0", "", "0", "Quader"}));

    // A piece set that cannot be read: the message, and no game.
    w.board().setPieces({});
    QTest::mouseClick(w.btnNewGame, Qt::LeftButton);
    QCOMPARE(dialogs.messages(), QStringList{"No pieces to initialize."});
    QVERIFY(!w.timer().isActive());
    QVERIFY(!w.btnPause->isEnabled());

    // Four blocks along the bottom and a stick in the last column take two rows.
    w.board().setPieces(TfrmFallingBlocks::WindowPieces);
    QList<int> order = {1, 1, 1, 1, 0};
    w.board().setRandomSource([&](int) { return order.isEmpty() ? 1 : order.takeFirst(); });
    QTest::mouseClick(w.btnNewGame, Qt::LeftButton);
    QVERIFY(w.timer().isActive());
    QCOMPARE(w.lblStatus->text(), QStringLiteral("Neues Spiel"));
    const auto keys = [&](const QString &digits) {
        for (QChar d : digits)
            QTest::keyClick(w.btnNewGame, d.toLatin1());
        w.tick();
    };
    keys("7775");
    QCOMPARE(w.lblFreeRows->text(), QStringLiteral("18"));
    QCOMPARE(w.pbFilled->value(), 2);
    QTest::mouseClick(w.btnPause, Qt::LeftButton); // a paused game still takes the keys
    QCOMPARE(w.btnPause->text(), QStringLiteral("Weiter"));
    QTest::keyClick(w.btnPause, '9');
    QCOMPARE(w.board().PieceX(), 5);
    QTest::keyClick(w.btnPause, '7');
    QCOMPARE(w.board().PieceX(), 4);
    QTest::mouseClick(w.btnPause, Qt::LeftButton);
    QVERIFY(w.timer().isActive());
    QTest::keyClick(w.btnNewGame, Qt::Key_Home, Qt::KeypadModifier); // 7 on the pad with Num Lock off
    QCOMPARE(w.board().PieceX(), 3);
    keys("5");
    keys("95");
    keys("9995");
    keys("99995");
    QCOMPARE(QStringList({w.lblRemoved->text(), w.lblScore->text(), w.lblLevel->text()}),
             QStringList({"2", QString::number(18 - 1), "0"}));

    // Blocks stacked in the middle until one no longer fits.
    for (int i = 0; i < 12 && w.board().Playing(); ++i)
        keys("5");
    QVERIFY(!w.board().Playing());
    QCOMPARE(w.lblStatus->text(), QStringLiteral("Game over"));
    QVERIFY(!w.timer().isActive());
    QVERIFY(!w.btnPause->isEnabled());
    QCOMPARE(dialogs.messages().size(), 1);
}

QTEST_MAIN(TestFallingBlocks)
#include "tst_fallingblocks.moc"
