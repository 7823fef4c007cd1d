#include "ContextMenu.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QMenu>

QMenu *AddContextMenu(QWidget *control, const QString &menuName, const QList<std::pair<QString, QString>> &items)
{
    auto *menu = new QMenu(control);
    menu->setObjectName(menuName);
    for (const auto &[name, caption] : items) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(name);
    }
    // A scroll area reports the click in its viewport's coordinates.
    auto *area = qobject_cast<QAbstractScrollArea *>(control);
    QWidget *origin = area ? area->viewport() : control;
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(control, &QWidget::customContextMenuRequested, menu,
                     [menu, origin](const QPoint &pos) { menu->popup(origin->mapToGlobal(pos)); });
    return menu;
}
