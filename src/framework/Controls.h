#pragma once
// The input controls of the windows and what the field services need to know about them: the
// control kinds, the help keyword ("k_…" required, "t_…" never editable), the Tag, the colour.
//
// Kinds map onto Qt widgets: edit box = QLineEdit (also TDBLookUpEdit), mask edit = MaskEdit,
// combo box = QComboBox (also TVDCComboBox), memo = QPlainTextEdit, rich edit = QTextEdit,
// check box = QCheckBox, radio group = TRadioGroup, list box = QListWidget, check list box =
// TCheckListBox, string grid = TStringGrid, data grid = DBGrid, spin edit = QSpinBox,
// date-time picker = TDateTimePicker, page control = QTabWidget, frame = TFrame.

#include <QCheckBox>
#include <QColor>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QTableWidget>
#include <functional>

class QButtonGroup;
class QPlainTextEdit;
class QToolButton;

// Colours of the program (RGB).
namespace colors {
inline const QColor Browse(255, 255, 208);
inline const QColor NewRecord(255, 255, 128);
inline const QColor Modify(192, 255, 255);
inline const QColor MoneyGreen(192, 220, 192); // clMoneyGreen, also state 22 of the filter windows
inline const QColor Required(255, 177, 155);
inline const QColor NeverEditable(231, 201, 209);
inline const QColor Yellow(255, 255, 0);
inline const QColor InfoBk(255, 255, 225);
inline const QColor Navy(0, 0, 128);
inline const QColor Maroon(128, 0, 0);
} // namespace colors

// A flat (auto-raised) tool button whose hint is its tooltip and its screen-reader name, with the
// icon at iconSize pixels (0: the style's size).
QToolButton *ToolButton(QWidget *parent, const char *name, const QString &hint, const QIcon &icon, int iconSize = 24);
// The same with an icon of the parent's style.
QToolButton *ToolButton(QWidget *parent, const char *name, const QString &hint, QStyle::StandardPixmap icon,
                        int iconSize = 24);

// Help keyword and Tag of a control (dynamic properties "helpKeyword" and "tag").
void SetHelpKeyword(QWidget *control, const QString &keyword);
QString HelpKeyword(const QWidget *control);
bool IsRequiredKeyword(const QString &keyword);      // "k" or "k_…"
bool IsNeverEditableKeyword(const QString &keyword); // "t_…"
void SetTag(QWidget *control, int tag);
int Tag(const QWidget *control);

// The control's background colour (the palette's Base role; combo boxes also Button).
void SetControlColor(QWidget *control, const QColor &color);
QColor ControlColor(const QWidget *control);

// A single-line edit with an edit mask in the notation of the window definitions:
// "<mask>;<save literals 0|1>;<blank character>". In the mask "0" is a required digit, "9" an
// optional digit, "/" the date separator ("."), ":" the time separator, a leading "!" is ignored.
// Examples: "!9999/99/99/;1;_" (a date, empty text "    .  .  ."), "90:00;1;_" (a time).
class MaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskEdit(QWidget *parent = nullptr);
    MaskEdit(const QString &editMask, QWidget *parent = nullptr);
    void setEditMask(const QString &editMask);
    const QString &editMask() const { return m_editMask; }
    // The text as the window reads it: unfilled places as blanks, literals kept when the mask says so.
    QString maskedText() const;
    // Blanks in the text stand for unfilled places.
    void setMaskedText(const QString &text);
    void clearMasked() { setMaskedText(QString()); }

private:
    QString m_editMask;
    QChar m_blank = QLatin1Char('_');
    bool m_saveLiterals = true;
};

// A date picker, optionally with a check box in front (unticked = no date chosen).
class TDateTimePicker : public QDateTimeEdit {
    Q_OBJECT
public:
    explicit TDateTimePicker(QWidget *parent = nullptr);
    void setShowCheckBox(bool show);
    bool showCheckBox() const;
    bool isChecked() const;
    void setChecked(bool checked);
    QCheckBox *checkBox() const { return m_check; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QCheckBox *m_check;
};

// A group of radio buttons with an item index (-1 = none chosen).
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget *parent = nullptr) : TRadioGroup(QString(), parent) {}
    explicit TRadioGroup(const QString &caption, QWidget *parent = nullptr);
    void setItems(const QStringList &items, int columns = 1);
    QStringList items() const;
    int itemIndex() const;
    void setItemIndex(int index);

Q_SIGNALS:
    void itemClicked(int index);

private:
    QButtonGroup *m_group;
};

// A list whose lines carry a tick.
class TCheckListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TCheckListBox(QWidget *parent = nullptr);
    void addCheckItem(const QString &text, bool checked);
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
};

// A grid of texts: cells addressed (column, row) as in the window definitions.
class TStringGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget *parent = nullptr);
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString &text);
};

// A frame: a container whose controls are named "<frame>.<control>" in window-save files.
class TFrame : public QFrame {
    Q_OBJECT
public:
    using QFrame::QFrame;
};

enum class ControlKind {
    None,        // not an input control (labels, buttons, panels)
    Edit,        // QLineEdit, TDBLookUpEdit
    MaskEdit,
    Combo,       // QComboBox, TVDCComboBox
    Memo,        // QPlainTextEdit
    RichEdit,    // QTextEdit
    CheckBox,
    RadioGroup,
    ListBox,
    CheckListBox,
    StringGrid,
    DataGrid,
    SpinEdit,
    DateTimePicker,
    PageControl,
    Frame,
};
ControlKind KindOf(const QWidget *widget);

// Walks the controls of a container in creation order, recursing into panels, group boxes,
// frames and pages, but not into the inner parts of a control (the line edit of a combo box).
// The visitor gets the control, its kind and the frame-name prefix ("" or "frame1.").
using ControlVisitor = std::function<void(QWidget *control, ControlKind kind, const QString &framePrefix)>;
void ForEachControl(QWidget *container, const ControlVisitor &visit);

// Puts the caret at the start of line (0-based, clamped) and scrolls it into view; true.
bool ScrollMemoToLine(QPlainTextEdit *memo, int line);

// The font of the data panels: "Calibri", navy.
QFont DataPanelFont();

class QToolButton;

// Two small arrow buttons; what they change is the window's business.
class TSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButton(QWidget *parent = nullptr);
    QToolButton *upButton;
    QToolButton *downButton;

Q_SIGNALS:
    void upClick();
    void downClick();
};
