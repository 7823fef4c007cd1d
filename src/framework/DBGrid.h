#pragma once
// The data grid: a table view over a dataset with declared columns (field, title, visibility,
// width, alignment, symbol font), title colours, and the dataset's current row kept in step with
// the selected row. Column i of the grid is always columns()[i]; reordering moves the declared
// columns. A grid without declared columns shows every field of the result, titled by name.

#include <QAbstractTableModel>
#include <QColor>
#include <QDate>
#include <QPointer>
#include <QSet>
#include <QTableView>
#include <QVector>
#include <functional>

#include "Connection.h" // complete type for the dataset's connection pointer
#include "Dataset.h"

#include "Controls.h"

class DBGrid;

struct GridColumn {
    QString fieldName;
    QString title;
    bool visible = true;
    int width = 100;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool symbolFont = false; // drawn with the symbol mapping of WingdingsSymbol
    QColor titleColor = colors::MoneyGreen;
    QDate titleDate; // a date column's header: the export writes it as a date cell
};

// The characters of the Wingdings symbol font that the program stores, as Unicode symbols:
//   "ü" (0xFC) ✓ check mark        "û" (0xFB) and "ű" (0xFB in code page 1250) ✗ cross
//   "ý" (0xFD) ☒ box with cross     "þ" (0xFE) and "ţ" (0xFE in 1250) ☑ box with check
//   "J" ☺  "K" 😐  "L" ☹  "l" ● filled circle  "m" ❍ circle  "n" ■ filled square
//   "o" □ square  "q" ❑  "u" ◆  "v" ❖  "x" ☒  "¡" ○  "¨" ◻  "Ÿ" •  "¤" ◉
// Any other character is shown as it is.
QString WingdingsSymbol(const QString &text);

class DBGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DBGridModel(DBGrid *grid);
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    friend class DBGrid;
    DBGrid *m_grid;
};

class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget *parent = nullptr);
    ~DBGrid() override;

    void setDataset(Dataset *dataset);
    Dataset *dataset() const { return m_dataset; }

    GridColumn &addColumn(const QString &fieldName, const QString &title = {}, bool visible = true, int width = 100);
    int columnCount() const { return int(m_columns.size()); }
    const GridColumn &column(int i) const { return m_columns[i]; }
    const QVector<GridColumn> &columns() const { return m_columns; }
    void clearColumns();

    // Changes that the view shows at once.
    void moveColumn(int from, int to);
    void setColumnVisible(int i, bool visible);
    void setColumnWidthPx(int i, int width);
    void setTitle(int i, const QString &title);
    void setTitleDate(int i, const QDate &date);
    void setTitleColor(int i, const QColor &color);
    void setColumnAlignment(int i, Qt::Alignment alignment);
    void setSymbolFont(int i, bool on);
    // The column shown at a view position (the current column of the view).
    int currentColumn() const;

    // Multi-row selection (off by default): the user selects with Ctrl/Shift clicks; rows are
    // dataset row numbers, 0-based. Walking the dataset moves only the current row, never the
    // selection; reopening keeps the rows whose values are found again and drops the others.
    void setMultiSelect(bool on);
    bool multiSelect() const { return m_multiSelect; }
    void selectRow(int row, bool on = true);
    void selectAllRows();
    void clearRowSelection();
    bool isRowSelected(int row) const { return m_selected.contains(row); }
    // A snapshot, ascending: safe to walk the dataset over it.
    QList<int> selectedRows() const;

    // Background colour per row; an invalid colour keeps the default.
    using RowColorHook = std::function<QColor(const Dataset &dataset, int row)>;
    void setRowColorHook(RowColorHook hook);

    // While lock() is true the user cannot change the current row: arrow and page keys, typed
    // search, clicks on rows (also of a frozen column) and title clicks (a re-sort) do nothing.
    // The program still moves it. An empty function unlocks.
    using RowLock = std::function<bool()>;
    void setRowLock(RowLock lock);
    bool rowLocked() const { return m_rowLock && m_rowLock(); }

Q_SIGNALS:
    void titleClicked(int column);
    // Every released key, as its Windows virtual key code (123 = F12).
    void keyReleased(int virtualKey);

protected:
    void keyReleaseEvent(QKeyEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyboardSearch(const QString &search) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;

private:
    friend class DBGridModel;
    void datasetReset(); // ends a reset of the model begun before
    void datasetScrolled();
    void rememberSelection();  // before the dataset's rows are replaced
    void restoreSelection();   // after: the remembered rows found again by their values
    void showSelection();      // the view's selection from m_selected
    void userSelectionChanged();
    void applyColumnState();
    int fieldIndexOf(int column) const { return m_fieldIndex.value(column, -1); }

    QPointer<Dataset> m_dataset;
    QVector<GridColumn> m_columns;
    QVector<int> m_fieldIndex; // dataset column of each grid column, -1 when it has none
    bool m_autoColumns = false;
    bool m_syncing = false;
    DBGridModel *m_model;
    QVector<QMetaObject::Connection> m_links;
    bool m_multiSelect = false;
    QSet<int> m_selected;
    QList<QVariantList> m_pendingSelection; // values of the selected rows across a reopen
    bool m_selectionPending = false;
    RowColorHook m_rowColor;
    RowLock m_rowLock;
};

// The Windows virtual key code of a key event (0 when it has none).
int VirtualKeyCode(const QKeyEvent *event);

// Virtual key codes the windows react to.
namespace VirtualKey {
constexpr int Up = 38;
constexpr int Down = 40;
constexpr int F12 = 123; // a grid's column chooser
} // namespace VirtualKey
