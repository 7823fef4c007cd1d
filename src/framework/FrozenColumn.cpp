#include "FrozenColumn.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTableView>

namespace {

class FrozenColumnView final : public QTableView {
public:
    explicit FrozenColumnView(QTableView *grid) : QTableView(grid), m_grid(grid)
    {
        setObjectName(grid->objectName() + QStringLiteral("_rogzitett"));
        setFocusPolicy(Qt::NoFocus);
        setTabKeyNavigation(false);
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        verticalHeader()->hide();
        horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        // Pixel steps: a column scrolled under the overlay by whole columns would vanish behind it.
        grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        attach();

        connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int logical) {
            if (logical == 0)
                follow();
        });
        connect(grid->verticalHeader(), &QHeaderView::sectionResized, this,
                [this](int logical, int, int size) { setRowHeight(logical, size); });
        connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
        connect(verticalScrollBar(), &QScrollBar::valueChanged, grid->verticalScrollBar(), &QScrollBar::setValue);
        connect(this, &QAbstractItemView::clicked, grid, &QAbstractItemView::clicked);
        connect(this, &QAbstractItemView::doubleClicked, grid, &QAbstractItemView::doubleClicked);
        connect(horizontalHeader(), &QHeaderView::sectionClicked, grid->horizontalHeader(), &QHeaderView::sectionClicked);
        grid->installEventFilter(this);
        grid->horizontalHeader()->installEventFilter(this);
        follow();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::FontChange:
            follow();
            break;
        default: break;
        }
        return QTableView::eventFilter(watched, event);
    }

private:
    // Model and selection of the grid; the grid may have replaced its model since.
    void attach()
    {
        if (model() != m_grid->model()) {
            setModel(m_grid->model());
            if (QAbstractItemModel *m = model()) {
                connect(m, &QAbstractItemModel::modelReset, this, [this] { follow(); });
                connect(m, &QAbstractItemModel::columnsInserted, this, [this] { follow(); });
                connect(m, &QAbstractItemModel::layoutChanged, this, [this] { follow(); });
                connect(m, &QAbstractItemModel::headerDataChanged, this, [this] { follow(); });
            }
        }
        if (selectionModel() != m_grid->selectionModel() && m_grid->selectionModel()) {
            setSelectionModel(m_grid->selectionModel());
            disconnect(m_currentLink);
            m_currentLink = connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
                                    [this](const QModelIndex &current) { keepVisible(current); });
        }
    }

    // The grid has scrolled its new current cell into view; one that would sit under the overlay
    // moves right of it.
    void keepVisible(const QModelIndex &current)
    {
        if (!isVisible() || !current.isValid() || current.column() == 0)
            return;
        const int hidden = columnWidth(0) - m_grid->visualRect(current).left();
        if (hidden > 0) {
            QScrollBar *bar = m_grid->horizontalScrollBar();
            bar->setValue(bar->value() - hidden);
        }
    }

    void follow()
    {
        attach();
        if (!model())
            return;
        setSelectionBehavior(m_grid->selectionBehavior());
        setSelectionMode(m_grid->selectionMode());
        setFont(m_grid->font());
        setPalette(m_grid->palette());
        horizontalHeader()->setFont(m_grid->horizontalHeader()->font());
        horizontalHeader()->setPalette(m_grid->horizontalHeader()->palette());
        for (int c = 1; c < model()->columnCount(); ++c)
            setColumnHidden(c, true);
        const bool shown = model()->columnCount() > 0 && !m_grid->isColumnHidden(0);
        setColumnHidden(0, !shown);
        if (!shown) {
            hide();
            return;
        }
        setColumnWidth(0, m_grid->columnWidth(0));
        for (int r = 0; r < model()->rowCount(); ++r)
            if (rowHeight(r) != m_grid->rowHeight(r))
                setRowHeight(r, m_grid->rowHeight(r));
        horizontalHeader()->setFixedHeight(m_grid->horizontalHeader()->height());
        horizontalHeader()->setVisible(m_grid->horizontalHeader()->isVisible());
        const int left = m_grid->frameWidth() + (m_grid->verticalHeader()->isVisible() ? m_grid->verticalHeader()->width() : 0);
        const int top = m_grid->frameWidth();
        const int headerHeight = m_grid->horizontalHeader()->isVisible() ? m_grid->horizontalHeader()->height() : 0;
        setGeometry(left, top, m_grid->columnWidth(0), m_grid->viewport()->height() + headerHeight);
        verticalScrollBar()->setValue(m_grid->verticalScrollBar()->value());
        show();
        raise();
    }

    QTableView *m_grid;
    QMetaObject::Connection m_currentLink;
};

} // namespace

QTableView *FreezeFirstColumn(QTableView *grid) { return new FrozenColumnView(grid); }
