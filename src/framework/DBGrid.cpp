#include "DBGrid.h"

#include "Dataset.h"
#include "GridAccessible.h"
#include "Guard.h"

#include <QAccessible>

#include <QApplication>
#include <QHeaderView>
#include <algorithm>
#include <QItemSelectionModel>
#include <QKeyEvent>

QString WingdingsSymbol(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case 0x00FC: out += QChar(0x2713); break;                    // ü check mark
        case 0x00FB: case 0x0171: out += QChar(0x2717); break;       // û ű cross
        case 0x00FD: case u'x': out += QChar(0x2612); break;         // ý x box with cross
        case 0x00FE: case 0x0163: out += QChar(0x2611); break;       // þ ţ box with check
        case u'J': out += QChar(0x263A); break;                      // smiling face
        case u'K': out += QString::fromUcs4(U"\U0001F610"); break;   // neutral face
        case u'L': out += QChar(0x2639); break;                      // frowning face
        case u'l': out += QChar(0x25CF); break;                      // filled circle
        case u'm': out += QChar(0x274D); break;                      // shadowed circle
        case u'n': out += QChar(0x25A0); break;                      // filled square
        case u'o': out += QChar(0x25A1); break;                      // square
        case u'q': out += QChar(0x2751); break;                      // shadowed square
        case u'u': out += QChar(0x25C6); break;                      // filled diamond
        case u'v': out += QChar(0x2756); break;                      // diamond with cross
        case 0x00A1: out += QChar(0x25CB); break;                    // ¡ circle
        case 0x00A8: out += QChar(0x25FB); break;                    // ¨ small square
        case 0x0178: out += QChar(0x2022); break;                    // Ÿ bullet
        case 0x00A4: out += QChar(0x25C9); break;                    // ¤ fisheye
        default: out += c;
        }
    }
    return out;
}

int VirtualKeyCode(const QKeyEvent *event)
{
    const int key = event->key();
    const bool keypad = event->modifiers().testFlag(Qt::KeypadModifier);
    if (keypad && key >= Qt::Key_0 && key <= Qt::Key_9)
        return 96 + (key - Qt::Key_0);
    if (keypad) {
        switch (key) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period: case Qt::Key_Comma: return 110;
        case Qt::Key_Slash: return 111;
        default: break;
        }
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return 48 + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 65 + (key - Qt::Key_A);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Meta: return 91;
    case Qt::Key_Menu: return 93;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    default: break;
    }
    // Other printable characters (punctuation, accented letters) sit on the OEM keys 186-226.
    const QString t = event->text();
    if (!t.isEmpty() && t[0].isPrint())
        return 186;
    return 0;
}

// ---- model

DBGridModel::DBGridModel(DBGrid *grid) : QAbstractTableModel(grid), m_grid(grid) {}

int DBGridModel::rowCount(const QModelIndex &parent) const
{
    const Dataset *ds = m_grid->dataset();
    return parent.isValid() || !ds ? 0 : ds->recordCount();
}

int DBGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_grid->columnCount(); }

QVariant DBGridModel::data(const QModelIndex &index, int role) const
{
    const Dataset *ds = m_grid->dataset();
    if (!index.isValid() || !ds || index.column() >= m_grid->columnCount())
        return {};
    const GridColumn &c = m_grid->column(index.column());
    switch (role) {
    case Qt::DisplayRole: {
        const int f = m_grid->fieldIndexOf(index.column());
        if (f < 0)
            return {};
        const QString t = ds->text(index.row(), f);
        return c.symbolFont ? WingdingsSymbol(t) : t;
    }
    case Qt::TextAlignmentRole:
        return int(c.alignment);
    case Qt::FontRole:
        if (c.symbolFont) {
            QFont f = m_grid->font();
            f.setBold(true);
            if (f.pixelSize() > 0)
                f.setPixelSize(f.pixelSize() * 4 / 3);
            else
                f.setPointSizeF(f.pointSizeF() * 4 / 3);
            return f;
        }
        return {};
    case Qt::BackgroundRole:
        if (m_grid->m_rowColor) {
            const QColor color = m_grid->m_rowColor(*ds, index.row());
            if (color.isValid())
                return QBrush(color);
        }
        return {};
    default:
        return {};
    }
}

QVariant DBGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The row header is a narrow indicator strip, not a row counter.
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return QString();
    if (orientation != Qt::Horizontal || section < 0 || section >= m_grid->columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridColumn &c = m_grid->column(section);
    switch (role) {
    case Qt::DisplayRole: return c.title;
    case Qt::BackgroundRole: return QBrush(c.titleColor);
    default: return {};
    }
}

// ---- grid

DBGrid::DBGrid(QWidget *parent) : QTableView(parent), m_model(new DBGridModel(this))
{
    InstallGridAccessibility();
    m_autoColumns = true;
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setWordWrap(false);
    // Tab and Shift+Tab leave the grid; the arrows move inside it.
    setTabKeyNavigation(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(12);
    auto *h = horizontalHeader();
    h->setSectionsClickable(true);
    h->setSectionsMovable(false);
    h->setHighlightSections(false);
    h->setStretchLastSection(false);
    connect(h, &QHeaderView::sectionClicked, this, [this](int column) {
        if (!rowLocked())
            Q_EMIT titleClicked(column);
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { userSelectionChanged(); });
    connect(h, &QHeaderView::sectionResized, this, [this](int i, int, int size) {
        if (!m_syncing && i >= 0 && i < m_columns.size() && size > 0 && !isColumnHidden(i))
            m_columns[i].width = size;
    });
}

DBGrid::~DBGrid()
{
    for (const auto &c : m_links)
        disconnect(c);
}

void DBGrid::setDataset(Dataset *dataset)
{
    for (const auto &c : m_links)
        disconnect(c);
    m_links.clear();
    m_model->beginResetModel();
    m_dataset = dataset;
    if (dataset) {
        DatasetModel *source = dataset->model();
        m_links << connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
            rememberSelection();
            m_model->beginResetModel();
        });
        m_links << connect(source, &QAbstractItemModel::modelReset, this, [this] { datasetReset(); });
        m_links << connect(dataset, &Dataset::afterScroll, this, [this] { datasetScrolled(); });
    }
    datasetReset();
}

void DBGrid::datasetReset()
{
    // Called between the source's begin/end of reset, or on its own after setDataset.
    if (m_dataset && m_autoColumns && m_dataset->isActive()) {
        m_columns.clear();
        for (int f = 0; f < m_dataset->fieldCount(); ++f) {
            GridColumn c;
            c.fieldName = c.title = m_dataset->fieldName(f);
            m_columns << c;
        }
    }
    m_fieldIndex.clear();
    for (const GridColumn &c : std::as_const(m_columns))
        m_fieldIndex << (m_dataset ? m_dataset->fieldIndex(c.fieldName) : -1);
    m_model->endResetModel();
    applyColumnState();
    restoreSelection();
    datasetScrolled();
}

void DBGrid::datasetScrolled()
{
    if (m_syncing || !m_dataset)
        return;
    m_syncing = true;
    const int row = m_dataset->recNo() - 1;
    if (row >= 0 && row < m_model->rowCount()) {
        int col = currentIndex().isValid() ? currentIndex().column() : -1;
        if (col < 0 || isColumnHidden(col)) {
            col = 0;
            while (col < m_columns.size() && isColumnHidden(col))
                ++col;
        }
        if (col < m_columns.size()) {
            if (m_multiSelect)
                selectionModel()->setCurrentIndex(m_model->index(row, col), QItemSelectionModel::NoUpdate);
            else
                setCurrentIndex(m_model->index(row, col));
        }
    }
    m_syncing = false;
}

void DBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // The table's own focus event counts hidden columns and the row strip; the grid's accessible
    // table (GridAccessible) numbers its children by the shown columns.
    QAbstractItemView::currentChanged(current, previous);
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        const int child = GridAccessibleChild(this, current);
        if (child >= 0) {
            QAccessibleEvent event(this, QAccessible::Focus);
            event.setChild(child);
            QAccessible::updateAccessibility(&event);
        }
    }
    if (m_syncing || !m_dataset || !current.isValid() || current.row() == previous.row())
        return;
    m_syncing = true;
    const int rec = current.row() + 1;
    RunGuarded([this, rec] { m_dataset->setRecNo(rec); });
    m_syncing = false;
}

void DBGrid::applyColumnState()
{
    const bool was = m_syncing;
    m_syncing = true;
    for (int i = 0; i < m_columns.size(); ++i) {
        setColumnHidden(i, !m_columns[i].visible);
        setColumnWidth(i, m_columns[i].width);
    }
    m_syncing = was;
}

GridColumn &DBGrid::addColumn(const QString &fieldName, const QString &title, bool visible, int width)
{
    if (m_autoColumns) {
        m_autoColumns = false;
        m_columns.clear();
    }
    m_model->beginResetModel();
    GridColumn c;
    c.fieldName = fieldName;
    c.title = title.isNull() ? fieldName : title;
    c.visible = visible;
    c.width = width;
    m_columns << c;
    m_fieldIndex << (m_dataset ? m_dataset->fieldIndex(fieldName) : -1);
    m_model->endResetModel();
    applyColumnState();
    return m_columns.last();
}

void DBGrid::clearColumns()
{
    m_model->beginResetModel();
    m_columns.clear();
    m_fieldIndex.clear();
    m_autoColumns = true;
    m_model->endResetModel();
}

void DBGrid::moveColumn(int from, int to)
{
    const int n = int(m_columns.size());
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return;
    const QModelIndex cur = currentIndex();
    m_model->beginResetModel();
    m_columns.move(from, to);
    m_fieldIndex.move(from, to);
    m_model->endResetModel();
    applyColumnState();
    if (cur.isValid() && m_dataset) {
        const bool was = m_syncing;
        m_syncing = true;
        setCurrentIndex(m_model->index(cur.row(), 0));
        m_syncing = was;
    }
}

void DBGrid::setColumnVisible(int i, bool visible)
{
    if (i < 0 || i >= m_columns.size())
        return;
    m_columns[i].visible = visible;
    applyColumnState();
}

void DBGrid::setColumnWidthPx(int i, int width)
{
    if (i < 0 || i >= m_columns.size())
        return;
    m_columns[i].width = width;
    applyColumnState();
}

void DBGrid::setTitle(int i, const QString &title)
{
    if (i < 0 || i >= m_columns.size())
        return;
    m_columns[i].title = title;
    Q_EMIT m_model->headerDataChanged(Qt::Horizontal, i, i);
}

void DBGrid::setTitleDate(int i, const QDate &date)
{
    if (i >= 0 && i < m_columns.size())
        m_columns[i].titleDate = date;
}

void DBGrid::setTitleColor(int i, const QColor &color)
{
    if (i < 0 || i >= m_columns.size())
        return;
    m_columns[i].titleColor = color;
    Q_EMIT m_model->headerDataChanged(Qt::Horizontal, i, i);
}

void DBGrid::setColumnAlignment(int i, Qt::Alignment alignment)
{
    if (i < 0 || i >= m_columns.size())
        return;
    m_columns[i].alignment = alignment;
    viewport()->update();
}

void DBGrid::setSymbolFont(int i, bool on)
{
    if (i < 0 || i >= m_columns.size())
        return;
    m_columns[i].symbolFont = on;
    viewport()->update();
}

int DBGrid::currentColumn() const { return currentIndex().isValid() ? currentIndex().column() : -1; }

void DBGrid::keyReleaseEvent(QKeyEvent *event)
{
    Q_EMIT keyReleased(VirtualKeyCode(event));
    QTableView::keyReleaseEvent(event);
}

void DBGrid::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    // Without the table's own selection events (numbered by every column); the focus event above
    // tells the reader the row.
    QAbstractItemView::selectionChanged(selected, deselected);
}

// ---- row lock

void DBGrid::setRowLock(RowLock lock)
{
    m_rowLock = std::move(lock);
    // The grid's own rows and those of views laid over it (a frozen column).
    viewport()->installEventFilter(this);
    for (QAbstractItemView *v : findChildren<QAbstractItemView *>())
        v->viewport()->installEventFilter(this);
}

QModelIndex DBGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    if (rowLocked()) {
        const QModelIndex here = currentIndex();
        // Left and right stay within the row.
        if (cursorAction == MoveLeft || cursorAction == MoveRight) {
            const QModelIndex to = QTableView::moveCursor(cursorAction, modifiers);
            return to.row() == here.row() ? to : here;
        }
        QApplication::beep();
        return here;
    }
    return QTableView::moveCursor(cursorAction, modifiers);
}

void DBGrid::keyboardSearch(const QString &search)
{
    if (!rowLocked())
        QTableView::keyboardSearch(search);
}

bool DBGrid::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        if (rowLocked() && qobject_cast<QWidget *>(watched) && watched != this) {
            if (event->type() == QEvent::MouseButtonPress)
                QApplication::beep();
            return true; // swallowed: the row stays
        }
        break;
    default: break;
    }
    return QTableView::eventFilter(watched, event);
}

// ---- multi-row selection

void DBGrid::setMultiSelect(bool on)
{
    m_multiSelect = on;
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    clearRowSelection();
    if (!on) {
        selectionModel()->clearSelection();
        datasetScrolled();
    }
}

void DBGrid::selectRow(int row, bool on)
{
    if (!m_multiSelect || row < 0 || row >= m_model->rowCount())
        return;
    if (on)
        m_selected.insert(row);
    else
        m_selected.remove(row);
    showSelection();
}

void DBGrid::selectAllRows()
{
    if (!m_multiSelect)
        return;
    for (int r = 0; r < m_model->rowCount(); ++r)
        m_selected.insert(r);
    showSelection();
}

void DBGrid::clearRowSelection()
{
    m_selected.clear();
    m_pendingSelection.clear();
    m_selectionPending = false;
    if (m_multiSelect)
        showSelection();
}

QList<int> DBGrid::selectedRows() const
{
    QList<int> rows(m_selected.begin(), m_selected.end());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void DBGrid::setRowColorHook(RowColorHook hook)
{
    m_rowColor = std::move(hook);
    viewport()->update();
}

void DBGrid::userSelectionChanged()
{
    if (m_syncing || !m_multiSelect)
        return;
    m_selected.clear();
    for (const QModelIndex &i : selectionModel()->selectedRows())
        m_selected.insert(i.row());
}

void DBGrid::showSelection()
{
    const bool was = m_syncing;
    m_syncing = true;
    QItemSelection selection;
    const int last = m_model->columnCount() - 1;
    if (last >= 0)
        for (int r : std::as_const(m_selected))
            selection.select(m_model->index(r, 0), m_model->index(r, last));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_syncing = was;
}

void DBGrid::rememberSelection()
{
    // A close followed by an open is two resets: the rows of the first one are kept.
    if (!m_multiSelect || m_selectionPending)
        return;
    m_pendingSelection.clear();
    if (m_dataset && m_dataset->isActive()) {
        for (int r : selectedRows()) {
            QVariantList values;
            for (int f = 0; f < m_dataset->fieldCount(); ++f)
                values << m_dataset->value(r, f);
            m_pendingSelection << values;
        }
    }
    m_selectionPending = true;
    m_selected.clear();
}

void DBGrid::restoreSelection()
{
    if (!m_multiSelect)
        return;
    if (!m_dataset || !m_dataset->isActive()) {
        showSelection();
        return; // keep what was remembered for the next open
    }
    m_selected.clear();
    const int rows = m_dataset->recordCount();
    for (const QVariantList &values : std::as_const(m_pendingSelection)) {
        if (values.size() != m_dataset->fieldCount())
            continue;
        for (int r = 0; r < rows; ++r) {
            if (m_selected.contains(r))
                continue;
            bool same = true;
            for (int f = 0; same && f < values.size(); ++f)
                same = m_dataset->value(r, f) == values[f];
            if (same) {
                m_selected.insert(r);
                break;
            }
        }
    }
    m_pendingSelection.clear();
    m_selectionPending = false;
    showSelection();
}
