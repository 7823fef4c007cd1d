#pragma once
// The frame shared by the two base forms: the data panel above, the green control bar below, and
// the buttons of that bar.

#include <QStyle>

class QDialog;
class QFont;
class QFrame;
class QHBoxLayout;
class QPushButton;
class QWidget;

struct FormFrame {
    QWidget *dataPanel;   // p_Adatok
    QFrame *controlBar;   // p_Vezerlosav
    QHBoxLayout *buttons; // the bar's row
};

// Builds the frame on a base form (title bar without close box) and returns its parts.
FormFrame BuildFormFrame(QDialog *form);
// The bold font of the bar's captioned buttons.
QFont ControlBarFont();
// A bar button with a glyph and a caption.
QPushButton *CaptionButton(QWidget *bar, const char *name, const QString &caption, QStyle::StandardPixmap icon);
// A bar button with only a glyph; the hint names it.
QPushButton *GlyphButton(QWidget *bar, const char *name, const QString &hint, QStyle::StandardPixmap icon);
