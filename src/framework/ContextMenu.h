#pragma once
// Context menus of grids, edits and memos: one menu per control, its items found by object name.

#include <QList>
#include <QString>
#include <utility>

class QMenu;
class QWidget;

// Items: object name and caption of each action, in menu order. The menu (object name menuName) is
// a child of control and pops up on a right click; connect each action's triggered signal yourself
// (menu->findChild<QAction *>(name)). A scroll area's click is mapped from its viewport.
QMenu *AddContextMenu(QWidget *control, const QString &menuName,
                      const QList<std::pair<QString, QString>> &items);
