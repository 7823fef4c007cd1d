#include "OpenWindow.h"

#include "Messages.h"
#include "Mnemonics.h"
#include "UserSettings.h"

#include <QDialog>
#include <QHash>
#include <QPushButton>

EditState EditMode = EditState::Browse;
int OpenPositioned = 0;

namespace {
QHash<QString, WindowFactory> &registry()
{
    static QHash<QString, WindowFactory> r;
    return r;
}
} // namespace

bool RefuseWhileEditing()
{
    if (EditMode == EditState::Browse)
        return false;
    InfoBox(QStringLiteral("Zárja le az adatfelvitelt!"));
    return true;
}

int OpenWindow(QDialog *window)
{
    if (!window) {
        OpenPositioned = 0;
        return -1;
    }
    if (RefuseWhileEditing()) {
        OpenPositioned = 0;
        delete window;
        return -1;
    }
    int result = QDialog::Rejected;
    try {
        for (const char *name : {"bb_uj", "bb_modosit", "bb_torol", "bb_felvesz", "bb_megsem", "bb_feladas", "bb_vissza",
                                 "bb_frissit", "sb_cim", "sb_fax", "sb_email"})
            if (auto *b = window->findChild<QWidget *>(QLatin1String(name)))
                b->setEnabled(true);
        AssignMnemonics(window);
        RestoreWindowPosition(window, window->objectName());
        result = window->exec();
        SaveWindowPosition(window, window->objectName());
    } catch (...) {
        // The window's own failures were reported where they happened.
    }
    // The flag was meant for this window only, however it was closed.
    OpenPositioned = 0;
    delete window;
    return result;
}

void RegisterWindow(const QString &name, WindowFactory factory) { registry().insert(name, std::move(factory)); }

bool IsWindowAvailable(const QString &name) { return registry().contains(name); }

QStringList RegisteredWindowNames()
{
    QStringList names = registry().keys();
    names.sort();
    return names;
}

QDialog *CreateRegisteredWindow(const QString &name, QWidget *parent)
{
    const auto it = registry().constFind(name);
    if (it == registry().cend())
        return nullptr;
    QDialog *window = (*it)(parent);
    if (window)
        AssignMnemonics(window);
    return window;
}

int OpenRegisteredWindow(const QString &name, QWidget *parent)
{
    const auto it = registry().constFind(name);
    if (it == registry().cend() || RefuseWhileEditing()) {
        OpenPositioned = 0; // the flag was set for this opening only
        return -1;
    }
    return OpenWindow((*it)(parent));
}
