#include "form_GridMezok_Unit.h"

#include "Mnemonics.h"
#include "Controls.h"
#include "DBGrid.h"
#include "Dataset.h"
#include "Guard.h"
#include "UserSettings.h"

#include <QGridLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

// ---- sorting

namespace {

// Lines as a string list holds them: CR LF, LF and CR each end a line; a final break adds no line.
QStringList splitLines(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(breaks);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

QString RewriteOrderBy(const QString &sql, const QString &fieldName, const QString &direction)
{
    QStringList lines = splitLines(sql);
    if (!sql.toLower().contains(QLatin1String("order by"))) {
        if (lines.isEmpty() || !lines.last().isEmpty())
            lines << QString();
        lines.last() = QStringLiteral("order by ");
    }
    QString text;
    for (const QString &l : std::as_const(lines))
        text += l + QStringLiteral("\r\n");
    const qsizetype pos = text.lastIndexOf(QLatin1String("order by"), -1, Qt::CaseInsensitive);
    text = text.left(std::max<qsizetype>(0, pos - 1)) + QStringLiteral("  order by ") + fieldName + direction;
    return splitLines(text).join(u'\n');
}

void SortByColumn(DBGrid *grid, int column)
{
    Dataset *ds = grid ? grid->dataset() : nullptr;
    if (!ds || !ds->isActive() || ds->isEmpty() || column < 0 || column >= grid->columnCount())
        return;
    try {
        const QString title = grid->column(column).title;
        const QString marker = title.endsWith(QLatin1String(" <")) ? QStringLiteral(" <") : QStringLiteral(" >");
        for (int i = 0; i < grid->columnCount(); ++i) {
            grid->setTitleColor(i, colors::MoneyGreen);
            const QString t = grid->column(i).title;
            if (t.endsWith(QLatin1String(" >")) || t.endsWith(QLatin1String(" <")))
                grid->setTitle(i, t.left(t.size() - 2));
        }
        const bool ascending = marker == u" <";
        grid->setTitle(column, grid->column(column).title + (ascending ? QStringLiteral(" >") : QStringLiteral(" <")));
        grid->setTitleColor(column, colors::Yellow);
        const QString sql = RewriteOrderBy(ds->sql(), grid->column(column).fieldName,
                                           ascending ? QStringLiteral(" asc") : QStringLiteral(" desc"));
        ds->close();
        ds->setSql(sql);
        ds->open();
    } catch (...) {
        // Sorting never reports; a statement that cannot be reopened leaves the grid closed.
    }
}

// ---- layout

QString GridLayoutGroup(const DBGrid *grid)
{
    return QStringLiteral("Software/Pellar/Ablakok/") + grid->window()->objectName() + u'/' + grid->objectName();
}

namespace {
constexpr int LayoutSlots = 51;
constexpr int MaxWidth = 10000;

int readInt(QSettings &s, const char *key, bool &ok)
{
    const QVariant v = s.value(QLatin1String(key));
    ok = v.isValid();
    return ok ? v.toString().trimmed().toInt(&ok) : 0;
}
} // namespace

void LoadGridLayout(DBGrid *grid)
{
    auto s = UserSettings();
    s->beginGroup(GridLayoutGroup(grid));
    const int n = grid->columnCount();
    QVector<int> slotOf(LayoutSlots, -1); // saved position -> column (its present index)
    for (int i = 0; i < n; ++i) {
        s->beginGroup(grid->column(i).fieldName);
        bool ok = false;
        const int visible = readInt(*s, "Visible", ok);
        if (ok) {
            grid->setColumnVisible(i, visible != 0);
            const int index = readInt(*s, "Index", ok);
            if (ok) {
                // Positions outside the slot table (a hand-edited value) are ignored.
                if (index >= 0 && index < LayoutSlots)
                    slotOf[index] = i;
                const int width = readInt(*s, "Width", ok);
                if (ok && width > 0 && width <= MaxWidth)
                    grid->setColumnWidthPx(i, width);
            }
        }
        s->endGroup();
    }
    // Saved columns move to the end in saved order; the walk stops at the first empty slot.
    QVector<int> order(n);
    for (int i = 0; i < n; ++i)
        order[i] = i;
    for (int k = 0; k < LayoutSlots && slotOf[k] >= 0; ++k) {
        const int at = int(order.indexOf(slotOf[k]));
        grid->moveColumn(at, n - 1);
        order.move(at, n - 1);
    }
}

void SaveGridLayout(DBGrid *grid)
{
    auto s = UserSettings();
    s->beginGroup(GridLayoutGroup(grid));
    for (int i = 0; i < grid->columnCount(); ++i) {
        const GridColumn &c = grid->column(i);
        s->beginGroup(c.fieldName);
        s->setValue(QStringLiteral("Visible"), c.visible ? 1 : 0);
        s->setValue(QStringLiteral("Index"), i);
        s->setValue(QStringLiteral("Width"), c.width);
        s->endGroup();
    }
}

void ChooseGridColumns(DBGrid *grid)
{
    try {
        LoadGridLayout(grid);
    } catch (...) {
    }
    {
        Tform_GridMezok chooser(grid, grid->parentWidget());
        chooser.exec();
    }
    SaveGridLayout(grid);
}

void WireGridServices(DBGrid *grid)
{
    ConnectGuarded(grid, &DBGrid::titleClicked, grid, [grid](int column) { SortByColumn(grid, column); });
    ConnectGuarded(grid, &DBGrid::keyReleased, grid, [grid](int vk) {
        if (vk == VirtualKey::F12)
            ChooseGridColumns(grid);
    });
}

// ---- the chooser

namespace {

enum class Glyph { Up, Down, First, Last, AllOn, AllOff };

QIcon glyph(Glyph g)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 96, 0), 1.5));
    p.setBrush(QColor(0, 150, 0));
    auto triangle = [&](bool up, qreal top) {
        QPainterPath path;
        if (up) {
            path.moveTo(12, top);
            path.lineTo(20, top + 8);
            path.lineTo(4, top + 8);
        } else {
            path.moveTo(4, top);
            path.lineTo(20, top);
            path.lineTo(12, top + 8);
        }
        path.closeSubpath();
        p.drawPath(path);
    };
    switch (g) {
    case Glyph::Up: triangle(true, 8); break;
    case Glyph::Down: triangle(false, 8); break;
    case Glyph::First:
        p.drawRect(QRectF(4, 4, 16, 2.5));
        triangle(true, 10);
        break;
    case Glyph::Last:
        triangle(false, 6);
        p.drawRect(QRectF(4, 17.5, 16, 2.5));
        break;
    case Glyph::AllOn:
    case Glyph::AllOff:
        p.setBrush(Qt::white);
        p.setPen(QPen(QColor(0, 0, 128), 1.5));
        p.drawRect(QRectF(4, 4, 16, 16));
        if (g == Glyph::AllOn) {
            p.setPen(QPen(QColor(0, 128, 0), 2.5));
            p.drawPolyline(QPolygonF({QPointF(7, 12), QPointF(11, 16), QPointF(17, 7)}));
        }
        break;
    }
    return QIcon(pm);
}

QToolButton *toolButton(QWidget *parent, const char *name, const QString &hint, Glyph g)
{
    QToolButton *b = ToolButton(parent, name, hint, glyph(g));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

Tform_GridMezok::Tform_GridMezok(DBGrid *grid, QWidget *parent) : QDialog(parent), m_grid(grid)
{
    setObjectName(QStringLiteral("form_GridMezok"));
    setWindowTitle(QStringLiteral("Táblázat mezőinek beállítása"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(269, 293);

    clb_Mezolista = new TCheckListBox(this);
    clb_Mezolista->setObjectName(QStringLiteral("clb_Mezolista"));
    SetControlColor(clb_Mezolista, colors::InfoBk);
    sb_Fel = toolButton(this, "sb_Fel", QStringLiteral("Egy sorral előrébb"), Glyph::Up);
    sb_Le = toolButton(this, "sb_Le", QStringLiteral("Egy sorral hátrébb"), Glyph::Down);
    sb_elore = toolButton(this, "sb_elore", QStringLiteral("Legelőre"), Glyph::First);
    sb_hatra = toolButton(this, "sb_hatra", QStringLiteral("Leghátra"), Glyph::Last);
    sb_mindbe = toolButton(this, "sb_mindbe", QStringLiteral("Összes kijelölés"), Glyph::AllOn);
    sb_mindki = toolButton(this, "sb_mindki", QStringLiteral("Kijelölések törlése"), Glyph::AllOff);
    bb_Kilep = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QString(), this);
    bb_Kilep->setObjectName(QStringLiteral("bb_Kilep"));
    bb_Kilep->setDefault(true);
    bb_Kilep->setCursor(Qt::PointingHandCursor);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(clb_Mezolista, 0, 0, 2, 1);
    auto *buttons = new QVBoxLayout;
    for (QToolButton *b : {sb_elore, sb_Fel, sb_Le, sb_hatra})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    buttons->addWidget(sb_mindbe);
    buttons->addWidget(sb_mindki);
    buttons->addStretch(1);
    layout->addLayout(buttons, 0, 1);
    layout->addWidget(bb_Kilep, 1, 1, Qt::AlignBottom);
    layout->setColumnStretch(0, 1);

    fill();
    connect(clb_Mezolista, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (!m_filling)
            m_grid->setColumnVisible(clb_Mezolista->row(item), item->checkState() == Qt::Checked);
    });
    connect(sb_Fel, &QToolButton::clicked, this, [this] {
        const int i = clb_Mezolista->currentRow();
        if (i > 0)
            moveSelected(i - 1);
    });
    connect(sb_Le, &QToolButton::clicked, this, [this] {
        const int i = clb_Mezolista->currentRow();
        if (i >= 0 && i + 1 < clb_Mezolista->count())
            moveSelected(i + 1);
    });
    connect(sb_elore, &QToolButton::clicked, this, [this] { moveSelected(0); });
    connect(sb_hatra, &QToolButton::clicked, this, [this] {
        const int i = clb_Mezolista->currentRow();
        if (i >= 0 && i + 1 < clb_Mezolista->count())
            moveSelected(clb_Mezolista->count() - 1);
    });
    connect(sb_mindbe, &QToolButton::clicked, this, [this] { tickAll(true); });
    connect(sb_mindki, &QToolButton::clicked, this, [this] { tickAll(false); });
    connect(bb_Kilep, &QPushButton::clicked, this, &QDialog::reject);
    AssignMnemonics(this);
}

void Tform_GridMezok::fill()
{
    m_filling = true;
    clb_Mezolista->clear();
    for (int i = 0; i < m_grid->columnCount(); ++i)
        clb_Mezolista->addCheckItem(m_grid->column(i).title, m_grid->column(i).visible);
    if (clb_Mezolista->count() > 0)
        clb_Mezolista->setCurrentRow(0);
    m_filling = false;
}

void Tform_GridMezok::moveSelected(int to)
{
    const int i = clb_Mezolista->currentRow();
    if (i < 0 || to < 0 || to >= clb_Mezolista->count())
        return;
    if (i != to) {
        m_grid->moveColumn(i, to);
        m_filling = true;
        QListWidgetItem *item = clb_Mezolista->takeItem(i);
        clb_Mezolista->insertItem(to, item);
        m_filling = false;
    }
    clb_Mezolista->setCurrentRow(to);
    clb_Mezolista->setFocus();
}

void Tform_GridMezok::tickAll(bool on)
{
    for (int i = 0; i < clb_Mezolista->count(); ++i) {
        clb_Mezolista->setChecked(i, on); // itemChanged shows or hides the column
        m_grid->setColumnVisible(i, on);
    }
}
