#pragma once
// Keyboard reach of a window's buttons: every push and tool button of its bars and menus takes the
// focus by Tab and has an Alt mnemonic, no two alike in one window. A captioned button shows its
// letter underlined ("&Felvesz"); a glyph-only button gets the Alt key as its shortcut and names it
// in its hint ("Kilépés (Alt+K)").

#include <QChar>
#include <QList>

class QAbstractButton;
class QWidget;

// The buttons of window that the rule covers: push and tool buttons of the window itself (not of a
// dialog it owns), without the inner parts of other controls (a table's corner button, a combo
// box's arrow, a tab bar's scroll buttons).
QList<QAbstractButton *> BarButtons(QWidget *window);

// Gives every bar button of window Tab focus and a mnemonic. Letters already given stay; a letter
// given twice is given anew to the later button. Letters are ASCII: a word's first letter first,
// then its other letters, then digits. Buttons shown come before hidden ones. Safe to call again
// (after captions changed).
void AssignMnemonics(QWidget *window);

// The button's Alt letter (upper case), from its caption's "&" or its Alt shortcut; null when none.
QChar MnemonicOf(const QAbstractButton *button);
