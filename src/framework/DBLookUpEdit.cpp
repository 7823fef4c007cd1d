#include "DBLookUpEdit.h"

#include "DBGrid.h"
#include "Dataset.h"

#include <QKeyEvent>

TDBLookUpEdit::TDBLookUpEdit(QWidget *parent) : QLineEdit(parent) {}

void TDBLookUpEdit::keyReleaseEvent(QKeyEvent *event)
{
    QLineEdit::keyReleaseEvent(event);
    handleKey(VirtualKeyCode(event));
}

void TDBLookUpEdit::handleKey(int vk)
{
    try {
        Dataset *ds = DataSource.data();
        if (ds && ds->isActive()) {
            if ((vk >= 32 && vk <= 36) || (vk >= 41 && vk <= 250)) {
                const QString typed = text().left(text().size() - selectedText().size());
                ds->locate(FieldName, {text()}, LocateOption::CaseInsensitive | LocateOption::PartialKey);
                const QString found = ds->fieldByName(FieldName).asString();
                const int caret = cursorPosition();
                if (!typed.isEmpty() && found.startsWith(typed, Qt::CaseSensitive)) {
                    if (cursorPosition() != typed.size())
                        setCursorPosition(int(typed.size()));
                    insert(found.mid(typed.size()));
                }
                setCursorPosition(caret);
                setSelection(caret, int(text().size() - typed.size()));
            } else if (vk == VirtualKey::Up) {
                ds->prior();
                setText(ds->fieldByName(FieldName).asString());
            } else if (vk == VirtualKey::Down) {
                ds->next();
                setText(ds->fieldByName(FieldName).asString());
            }
        }
    } catch (...) {
        // The search never troubles the user.
    }
    try {
        Dataset *ds = DataSource.data();
        if (ds && ds->isActive() && !ds->isEmpty() && ds->fieldIndex(Azonosito) >= 0)
            Eredmeny = ds->fieldByName(Azonosito).asString();
    } catch (...) {
    }
}
