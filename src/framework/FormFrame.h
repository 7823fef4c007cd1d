#pragma once
// The frame shared by the two base forms: the data panel above, the green control bar below, and
// the buttons of that bar.

#include <QColor>
#include <QStyle>

class QDialog;
class QFont;
class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

struct FormFrame {
    QWidget *dataPanel;   // p_Adatok
    QFrame *controlBar;   // p_Vezerlosav
    QHBoxLayout *buttons; // the bar's row
};

// Builds the frame on a base form (title bar without close box) and returns its parts.
FormFrame BuildFormFrame(QDialog *form);
// A label beside an input control that names it for screen readers (its buddy); the label's
// parent is the given one, else the control's parent.
QLabel *BuddyLabel(const QString &text, QWidget *buddy, QWidget *parent = nullptr);
// A labelled field in a grid row: the label (the control's buddy) in column, the control beside it
// over columnSpan columns. Returns the label.
QLabel *AddLabelledField(QGridLayout *grid, int row, int column, const QString &caption, QWidget *control,
                         int columnSpan = 1);
// The bold font of the bar's captioned buttons.
QFont ControlBarFont();
// A bar button with a glyph and a caption.
QPushButton *CaptionButton(QWidget *bar, const char *name, const QString &caption, QStyle::StandardPixmap icon);
// The caption colour of a bar button while it is enabled; a disabled one is drawn grey.
void SetBarButtonColour(QPushButton *button, const QColor &colour);
inline constexpr QRgb DisabledBarButtonText = 0xff8c8c8c;
// A bar button with only a glyph; the hint names it (tooltip and accessible name).
QPushButton *GlyphButton(QWidget *bar, const char *name, const QString &hint, QStyle::StandardPixmap icon);
