#pragma once

#include "ContactTypes.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <functional>

// Columns of the contact editor's grids. The columns after the visible ones
// are hidden and carry the stored numbers.
enum AddressColumn { AdrBezeichnung, AdrStrasse, AdrPLZ, AdrOrt, AdrLand, AdrIDA, AdrColumnCount };
enum ComColumn { ComBezeichnung, ComInhalt, ComIDC, ComX, ComColumnCount };
enum PersonListColumn { PlAnredeTitel, PlVorname, PlNachname, PlIDN, PlColumnCount };

// A grid of texts with a heading per column, as the editor's grids hold them.
// Edits through the view (setData) are reported as userEdited; filling the grid
// from code is not, so loading never counts as a change.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    GridModel(const QStringList &headings, int columnCount, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setEditable(bool editable);
    bool isEditable() const { return m_editable; }

    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString &text);
    const QList<QStringList> &rows() const { return m_rows; }
    // Replaces all rows; the grid keeps at least minRows rows.
    void setRows(const QList<QStringList> &rows, int minRows = 1);
    void appendEmptyRow();
    // A grid with one empty row.
    void clear();
    // Rows drawn greyed (the assignment window's linked persons).
    void setGreyedRows(const QList<bool> &greyed);
    bool isGreyed(int row) const { return row >= 0 && row < m_greyed.size() && m_greyed[row]; }

Q_SIGNALS:
    void userEdited(int row, int column);

private:
    QStringList m_headings;
    int m_columns;
    QList<QStringList> m_rows;
    QList<bool> m_greyed;
    bool m_editable = false;
};

// The grid rules of the editor that need no widget.
namespace ContactGrid {
QList<QStringList> fromAddresses(const QList<AddressRow> &rows);
QList<AddressRow> toAddresses(const QList<QStringList> &rows);
QList<QStringList> fromCommunications(const QList<ComRow> &rows);
QList<ComRow> toCommunications(const QList<QStringList> &rows);
// Whether the grid needs a new empty row below its last one after an edit:
// an address grid when any of the last row's five columns holds text; a
// communication grid when the last row's description holds text, or its content
// does and the row being edited is not the first.
bool addressGridNeedsRow(const QList<QStringList> &rows);
bool comGridNeedsRow(const QList<QStringList> &rows, int currentRow);
// Whether the current row is drawn highlighted.
bool addressRowHasText(const QStringList &row);
bool comRowHasText(const QStringList &row);
} // namespace ContactGrid

// The view of an editor grid: Enter moves on to the next visible column and from
// the last one to the first column of the next row; read-only grids select whole
// rows on a grey background; the current row is drawn white on navy when it
// holds text.
class GridView : public QTableView
{
    Q_OBJECT
public:
    explicit GridView(QWidget *parent = nullptr);

    void setGridModel(GridModel *model);
    GridModel *gridModel() const { return m_model; }
    void setEditable(bool editable);
    // Which rows are highlighted when current.
    void setRowHasText(std::function<bool(const QStringList &)> test) { m_rowHasText = std::move(test); }
    bool currentRowHighlighted(const QModelIndex &index) const;
    // Makes a row the current one (its first visible cell) and selects it.
    void setCurrentRow(int row);
    // Moves to the next visible cell as Enter does.
    void moveToNextCell();

Q_SIGNALS:
    // A key was typed into a cell editor (the contact changes).
    void typing();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    GridModel *m_model = nullptr;
    std::function<bool(const QStringList &)> m_rowHasText;
};
