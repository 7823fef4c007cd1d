#pragma once
// A user's hand on a lookup combo box in window tests: a pick from the opened list, typed text.

#include "VDCComboBox.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>

// A user's pick of item `index` from a lookup combo's opened list (focus first, then the list,
// then Enter in the list).
inline void PickFromList(TVDCComboBox *combo, int index)
{
    combo->setFocus(Qt::MouseFocusReason);
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    view->setCurrentIndex(combo->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
}
inline bool PickFromList(TVDCComboBox *combo, const QString &name)
{
    const int i = combo->findText(name);
    if (i < 0)
        return false;
    PickFromList(combo, i);
    return true;
}
// Keys that type `text` (accented letters too) into a widget.
inline void TypeKeys(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        const QChar up = c.toUpper();
        const Qt::Key key = up.unicode() < 0x100 ? Qt::Key(up.unicode()) : Qt::Key_unknown;
        const bool shift = c.isLetter() && c.isUpper();
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), shift ? Qt::ShiftModifier : Qt::NoModifier);
    }
}
// Text typed over a lookup combo's text, accepted by leaving the field with Tab.
inline void TypeIntoCombo(TVDCComboBox *combo, const QString &text)
{
    combo->setFocus(Qt::TabFocusReason);
    combo->lineEdit()->selectAll();
    TypeKeys(combo->lineEdit(), text);
    QTest::keyClick(combo, Qt::Key_Tab);
}
