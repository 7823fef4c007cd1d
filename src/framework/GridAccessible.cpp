#include "GridAccessible.h"

#include "DBGrid.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>
#include <QWindow>

namespace {

QList<int> shownColumns(const DBGrid *grid)
{
    QList<int> out;
    const QHeaderView *h = grid->horizontalHeader();
    for (int visual = 0; visual < h->count(); ++visual) {
        const int logical = h->logicalIndex(visual);
        if (!grid->isColumnHidden(logical))
            out << logical;
    }
    return out;
}

// A cell (row >= 0) or a column title (row -1) of a grid; column is the grid's (logical) column.
class GridCell final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    GridCell(DBGrid *grid, int row, int column) : m_grid(grid), m_row(row), m_column(column) {}

    bool isValid() const override
    {
        return m_grid && m_column < m_grid->model()->columnCount() && m_row < m_grid->model()->rowCount();
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_grid.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value))
            return {};
        if (m_row < 0)
            return t == QAccessible::Name ? m_grid->model()->headerData(m_column, Qt::Horizontal).toString() : QString();
        return m_grid->model()->index(m_row, m_column).data().toString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        QRect r;
        QWidget *on;
        if (m_row < 0) {
            const QHeaderView *h = m_grid->horizontalHeader();
            r = QRect(h->sectionViewportPosition(m_column), 0, h->sectionSize(m_column), h->height());
            on = h->viewport();
        } else {
            r = m_grid->visualRect(m_grid->model()->index(m_row, m_column));
            on = m_grid->viewport();
        }
        return r.translated(on->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override { return m_row < 0 ? QAccessible::ColumnHeader : QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        if (m_row >= 0) {
            const QModelIndex index = m_grid->model()->index(m_row, m_column);
            s.selectable = true;
            s.focusable = true;
            s.selected = m_grid->selectionModel()->isSelected(index);
            s.focused = m_grid->currentIndex() == index;
            s.invisible = !m_grid->viewport()->rect().intersects(m_grid->visualRect(index));
        }
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::TableCellInterface && m_row >= 0 ? static_cast<QAccessibleTableCellInterface *>(this) : nullptr;
    }

    bool isSelected() const override { return isValid() && m_row >= 0 && m_grid->selectionModel()->isRowSelected(m_row, {}); }
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_grid ? int(shownColumns(m_grid).indexOf(m_column)) : -1; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

    int row() const { return m_row; }
    int column() const { return m_column; }

private:
    QPointer<DBGrid> m_grid;
    int m_row, m_column;
};

class GridTable final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridTable(DBGrid *grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~GridTable() override
    {
        for (QAccessible::Id id : std::as_const(m_cells))
            QAccessible::deleteAccessibleInterface(id);
    }

    DBGrid *grid() const { return static_cast<DBGrid *>(widget()); }

    // The interface of a cell (row -1: a title), made once and kept.
    QAccessibleInterface *cell(int row, int column) const
    {
        const quint64 key = (quint64(quint32(row + 1)) << 32) | quint32(column);
        if (const auto it = m_cells.constFind(key); it != m_cells.cend())
            if (QAccessibleInterface *known = QAccessible::accessibleInterface(*it))
                return known;
        auto *c = new GridCell(grid(), row, column);
        m_cells.insert(key, QAccessible::registerAccessibleInterface(c));
        return c;
    }

    int childCount() const override
    {
        const qsizetype n = shownColumns(grid()).size();
        return int(n * (grid()->model()->rowCount() + 1));
    }
    QAccessibleInterface *child(int index) const override
    {
        const QList<int> shown = shownColumns(grid());
        if (index < 0 || shown.isEmpty() || index >= childCount())
            return nullptr;
        return cell(int(index / shown.size()) - 1, shown[index % shown.size()]);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (auto it = m_cells.cbegin(); it != m_cells.cend(); ++it)
            if (QAccessible::accessibleInterface(*it) == child) {
                const auto *c = static_cast<const GridCell *>(child);
                const QList<int> shown = shownColumns(grid());
                const qsizetype at = shown.indexOf(c->column());
                return at < 0 ? -1 : int((c->row() + 1) * shown.size() + at);
            }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint p = grid()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex index = grid()->indexAt(p);
        return index.isValid() && !grid()->isColumnHidden(index.column()) ? cell(index.row(), index.column()) : nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        const QModelIndex index = grid()->currentIndex();
        return index.isValid() && !grid()->isColumnHidden(index.column()) ? cell(index.row(), index.column()) : nullptr;
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        const QList<int> shown = shownColumns(grid());
        if (row < 0 || row >= grid()->model()->rowCount() || column < 0 || column >= shown.size())
            return nullptr;
        return cell(row, shown[column]);
    }
    int columnCount() const override { return int(shownColumns(grid()).size()); }
    int rowCount() const override { return grid()->model()->rowCount(); }
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    QString columnDescription(int column) const override
    {
        const QList<int> shown = shownColumns(grid());
        return column >= 0 && column < shown.size() ? grid()->model()->headerData(shown[column], Qt::Horizontal).toString()
                                                   : QString();
    }
    QString rowDescription(int) const override { return {}; }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QList<QAccessibleInterface *> out;
        const QList<int> shown = shownColumns(grid());
        for (int row : selectedRows())
            for (int c : shown)
                out << cell(row, c);
        return out;
    }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> out;
        for (const QModelIndex &i : grid()->selectionModel()->selectedRows())
            out << i.row();
        std::sort(out.begin(), out.end());
        return out;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override { return grid()->selectionModel()->isRowSelected(row, {}); }
    bool selectRow(int row) override
    {
        // Choosing a row is what a click does: refused while the list keeps its row.
        if (grid()->rowLocked() || row < 0 || row >= rowCount() || columnCount() == 0)
            return false;
        grid()->setCurrentIndex(grid()->model()->index(row, shownColumns(grid()).constFirst()));
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

private:
    mutable QHash<quint64, QAccessible::Id> m_cells;
};

QList<QAccessibleInterface *> GridCell::columnHeaderCells() const
{
    if (!m_grid)
        return {};
    auto *t = static_cast<GridTable *>(QAccessible::queryAccessibleInterface(m_grid.data()));
    return {t->cell(-1, m_column)};
}

QAccessibleInterface *gridFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("DBGrid"))
        if (auto *g = qobject_cast<DBGrid *>(object))
            return new GridTable(g);
    return nullptr;
}

} // namespace

void InstallGridAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

int GridAccessibleChild(const DBGrid *grid, const QModelIndex &index)
{
    const QList<int> shown = shownColumns(grid);
    const qsizetype at = shown.indexOf(index.column());
    return at < 0 || !index.isValid() ? -1 : int((index.row() + 1) * shown.size() + at);
}
