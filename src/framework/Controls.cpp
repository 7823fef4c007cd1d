#include "Controls.h"

#include "DBGrid.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

QToolButton *ToolButton(QWidget *parent, const char *name, const QString &hint, const QIcon &icon, int iconSize)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    b->setIcon(icon);
    if (iconSize > 0)
        b->setIconSize(QSize(iconSize, iconSize));
    b->setAutoRaise(true);
    return b;
}

QToolButton *ToolButton(QWidget *parent, const char *name, const QString &hint, QStyle::StandardPixmap icon, int iconSize)
{
    return ToolButton(parent, name, hint, parent->style()->standardIcon(icon), iconSize);
}

// ---- keyword, tag, colour

void SetHelpKeyword(QWidget *control, const QString &keyword) { control->setProperty("helpKeyword", keyword); }

QString HelpKeyword(const QWidget *control) { return control->property("helpKeyword").toString(); }

bool IsRequiredKeyword(const QString &keyword) { return keyword == u"k" || keyword.startsWith(u"k_"); }

bool IsNeverEditableKeyword(const QString &keyword) { return keyword.startsWith(u"t_"); }

void SetTag(QWidget *control, int tag) { control->setProperty("tag", tag); }

int Tag(const QWidget *control) { return control->property("tag").toInt(); }

void SetControlColor(QWidget *control, const QColor &color)
{
    QPalette p = control->palette();
    p.setColor(QPalette::Base, color);
    if (qobject_cast<QComboBox *>(control))
        p.setColor(QPalette::Button, color);
    control->setPalette(p);
}

QColor ControlColor(const QWidget *control) { return control->palette().color(QPalette::Base); }

QFont DataPanelFont()
{
    QFont f(QStringLiteral("Calibri"));
    f.setPixelSize(13);
    return f;
}

// ---- MaskEdit

MaskEdit::MaskEdit(QWidget *parent) : QLineEdit(parent) {}

MaskEdit::MaskEdit(const QString &editMask, QWidget *parent) : QLineEdit(parent) { setEditMask(editMask); }

namespace {

// The mask part in Qt's notation.
QString qtMask(const QString &mask)
{
    static const QString qtSpecial = QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{}");
    QString out;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        switch (c.unicode()) {
        case '!': break;
        case 'L': out += u'A'; break;
        case 'l': out += u'a'; break;
        case 'A': out += u'N'; break;
        case 'a': out += u'n'; break;
        case 'C': out += u'X'; break;
        case 'c': out += u'x'; break;
        case '0': out += u'9'; break;
        case '9': out += u'0'; break;
        case '#': out += u'#'; break;
        case '>': out += u'>'; break;
        case '<': out += u'<'; break;
        case '/': out += u'.'; break;
        case ':': out += u':'; break;
        case '\\':
            if (i + 1 < mask.size()) {
                ++i;
                if (qtSpecial.contains(mask[i]))
                    out += u'\\';
                out += mask[i];
            }
            break;
        default:
            if (qtSpecial.contains(c))
                out += u'\\';
            out += c;
        }
    }
    return out;
}

} // namespace

void MaskEdit::setEditMask(const QString &editMask)
{
    m_editMask = editMask;
    const QStringList parts = editMask.split(u';');
    m_saveLiterals = parts.size() < 2 || parts[1] != u"0";
    m_blank = parts.size() >= 3 && !parts[2].isEmpty() ? parts[2][0] : QLatin1Char('_');
    setInputMask(parts.value(0).isEmpty() ? QString() : qtMask(parts[0]) + u';' + m_blank);
}

QString MaskEdit::maskedText() const
{
    if (inputMask().isEmpty())
        return text();
    // displayText() holds every place of the mask, the blank character where nothing was typed.
    const QString shown = displayText();
    QString out;
    out.reserve(shown.size());
    // Walk the mask to tell literals from input places.
    const QString mask = qtMask(m_editMask.section(u';', 0, 0));
    qsizetype pos = 0;
    for (qsizetype i = 0; i < mask.size() && pos < shown.size(); ++i) {
        QChar m = mask[i];
        bool literal = true;
        if (m == u'\\') {
            ++i;
        } else if (QStringLiteral("AaNnXx90Dd#HhBb").contains(m)) {
            literal = false;
        } else if (m == u'>' || m == u'<' || m == u'!') {
            continue;
        }
        const QChar c = shown[pos++];
        if (literal) {
            if (m_saveLiterals)
                out += c;
        } else {
            out += c == m_blank ? QChar(u' ') : c;
        }
    }
    return out;
}

void MaskEdit::setMaskedText(const QString &text)
{
    if (inputMask().isEmpty()) {
        setText(text);
        return;
    }
    QString t = text;
    t.replace(u' ', m_blank);
    setText(t);
}

// ---- TDateTimePicker

TDateTimePicker::TDateTimePicker(QWidget *parent) : QDateTimeEdit(QDate::currentDate(), parent), m_check(new QCheckBox(this))
{
    setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    setCalendarPopup(true);
    m_check->setFocusPolicy(Qt::NoFocus);
    m_check->hide();
}

void TDateTimePicker::setShowCheckBox(bool show)
{
    m_check->setVisible(show);
    lineEdit()->setTextMargins(show ? m_check->sizeHint().width() + 2 : 0, 0, 0, 0);
}

bool TDateTimePicker::showCheckBox() const { return !m_check->isHidden(); }

bool TDateTimePicker::isChecked() const { return m_check->isChecked(); }

void TDateTimePicker::setChecked(bool checked) { m_check->setChecked(checked); }

void TDateTimePicker::resizeEvent(QResizeEvent *event)
{
    QDateTimeEdit::resizeEvent(event);
    const QSize s = m_check->sizeHint();
    m_check->setGeometry(4, (height() - s.height()) / 2, s.width(), s.height());
}

// ---- TRadioGroup

TRadioGroup::TRadioGroup(const QString &caption, QWidget *parent) : QGroupBox(caption, parent), m_group(new QButtonGroup(this))
{
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, &TRadioGroup::itemClicked);
}

void TRadioGroup::setItems(const QStringList &items, int columns)
{
    for (QAbstractButton *b : m_group->buttons()) {
        m_group->removeButton(b);
        delete b;
    }
    delete layout();
    auto *grid = new QGridLayout(this);
    columns = std::max(1, columns);
    const int rows = int((items.size() + columns - 1) / columns);
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], this);
        m_group->addButton(b, i);
        grid->addWidget(b, i % std::max(1, rows), i / std::max(1, rows));
    }
}

QStringList TRadioGroup::items() const
{
    QStringList out;
    for (QAbstractButton *b : m_group->buttons())
        out << b->text();
    return out;
}

int TRadioGroup::itemIndex() const { return m_group->checkedId(); }

void TRadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *b = m_group->button(index)) {
        b->setChecked(true);
        return;
    }
    // No choice: an exclusive group cannot untick its last button.
    m_group->setExclusive(false);
    for (QAbstractButton *b : m_group->buttons())
        b->setChecked(false);
    m_group->setExclusive(true);
}

// ---- TCheckListBox

TCheckListBox::TCheckListBox(QWidget *parent) : QListWidget(parent) {}

void TCheckListBox::addCheckItem(const QString &text, bool checked)
{
    auto *item = new QListWidgetItem(text, this);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool TCheckListBox::isChecked(int row) const
{
    const QListWidgetItem *i = item(row);
    return i && i->checkState() == Qt::Checked;
}

void TCheckListBox::setChecked(int row, bool checked)
{
    if (QListWidgetItem *i = item(row))
        i->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

// ---- TStringGrid

TStringGrid::TStringGrid(QWidget *parent) : QTableWidget(parent)
{
    // Tab and Shift+Tab leave the grid; the arrows move inside it.
    setTabKeyNavigation(false);
}

QString TStringGrid::cell(int column, int row) const
{
    const QTableWidgetItem *i = item(row, column);
    return i ? i->text() : QString();
}

void TStringGrid::setCell(int column, int row, const QString &text)
{
    if (QTableWidgetItem *i = item(row, column))
        i->setText(text);
    else
        setItem(row, column, new QTableWidgetItem(text));
}

// ---- kinds and the walk

ControlKind KindOf(const QWidget *w)
{
    if (qobject_cast<const MaskEdit *>(w))
        return ControlKind::MaskEdit;
    if (qobject_cast<const QLineEdit *>(w))
        return ControlKind::Edit;
    if (qobject_cast<const QComboBox *>(w))
        return ControlKind::Combo;
    if (qobject_cast<const QPlainTextEdit *>(w))
        return ControlKind::Memo;
    if (qobject_cast<const QTextEdit *>(w))
        return ControlKind::RichEdit;
    if (qobject_cast<const QCheckBox *>(w))
        return ControlKind::CheckBox;
    if (qobject_cast<const TRadioGroup *>(w))
        return ControlKind::RadioGroup;
    if (qobject_cast<const TCheckListBox *>(w))
        return ControlKind::CheckListBox;
    if (qobject_cast<const QListWidget *>(w))
        return ControlKind::ListBox;
    if (qobject_cast<const TStringGrid *>(w))
        return ControlKind::StringGrid;
    if (qobject_cast<const DBGrid *>(w))
        return ControlKind::DataGrid;
    if (qobject_cast<const QSpinBox *>(w))
        return ControlKind::SpinEdit;
    if (qobject_cast<const TDateTimePicker *>(w))
        return ControlKind::DateTimePicker;
    if (qobject_cast<const QTabWidget *>(w))
        return ControlKind::PageControl;
    if (qobject_cast<const TFrame *>(w))
        return ControlKind::Frame;
    return ControlKind::None;
}

namespace {

// Widgets whose children are their own inner parts.
bool isLeaf(const QWidget *w)
{
    return qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QComboBox *>(w)
           || qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const QAbstractButton *>(w)
           || qobject_cast<const QLineEdit *>(w) || qobject_cast<const QTextEdit *>(w)
           || qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QTabBar *>(w)
           || qobject_cast<const QScrollBar *>(w) || qobject_cast<const QCalendarWidget *>(w)
           || qobject_cast<const TRadioGroup *>(w);
}

void walk(QWidget *container, const QString &prefix, const ControlVisitor &visit)
{
    for (QObject *o : container->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (!w || w->isWindow())
            continue;
        const ControlKind kind = KindOf(w);
        if (kind != ControlKind::None)
            visit(w, kind, prefix);
        if (kind == ControlKind::Frame)
            walk(w, prefix + w->objectName() + u'.', visit);
        else if (!isLeaf(w))
            walk(w, prefix, visit);
    }
}

} // namespace

void ForEachControl(QWidget *container, const ControlVisitor &visit)
{
    if (container)
        walk(container, QString(), visit);
}

bool ScrollMemoToLine(QPlainTextEdit *memo, int line)
{
    QTextDocument *doc = memo->document();
    const int last = std::max(0, doc->blockCount() - 1);
    const QTextBlock block = doc->findBlockByNumber(std::clamp(line, 0, last));
    QTextCursor c(block);
    memo->setTextCursor(c);
    memo->ensureCursorVisible();
    return true;
}

TSpinButton::TSpinButton(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    upButton = new QToolButton(this);
    upButton->setObjectName(QStringLiteral("up"));
    upButton->setArrowType(Qt::UpArrow);
    downButton = new QToolButton(this);
    downButton->setObjectName(QStringLiteral("down"));
    downButton->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {upButton, downButton}) {
        b->setFixedSize(20, 12);
        b->setAutoRepeat(true);
        layout->addWidget(b);
    }
    connect(upButton, &QToolButton::clicked, this, &TSpinButton::upClick);
    connect(downButton, &QToolButton::clicked, this, &TSpinButton::downClick);
}
