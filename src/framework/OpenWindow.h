#pragma once
// The window opener: every work window is opened modally through it, with its position remembered
// per user, and destroyed afterwards. Windows are registered by name so the main window and the
// menus can tell which exist.

#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

// The program-wide edit state of the record window being edited: 0 browse, 1 new, 2 modify.
enum class EditState { Browse = 0, New = 1, Modify = 2 };
extern EditState EditMode;
// Set to 1 by a caller before opening a window that should position itself on the current selection;
// the opener resets it to 0 once that window has returned (or could not be opened).
extern int OpenPositioned;

// While EditMode is not Browse: shows "Zárja le az adatfelvitelt!" and returns true.
bool RefuseWhileEditing();

// Refuses with "Zárja le az adatfelvitelt!" while EditMode is not Browse. Restores the position
// under the window's object name, shows it modally, stores the position and deletes the window.
// Returns the dialog's result, or -1 when nothing was opened.
int OpenWindow(QDialog *window);

// Creates a window of class T into the program-wide variable that holds it while it is open,
// opens it with OpenWindow and sets the variable back to nullptr.
template <class T>
int OpenWindow(T *&windowVariable, QWidget *parent = nullptr)
{
    if (RefuseWhileEditing()) {
        OpenPositioned = 0;
        return -1;
    }
    windowVariable = new T(parent);
    const int result = OpenWindow(static_cast<QDialog *>(windowVariable));
    windowVariable = nullptr;
    return result;
}

using WindowFactory = std::function<QDialog *(QWidget *parent)>;
void RegisterWindow(const QString &name, WindowFactory factory);
// Registers the window class T under name; with instance, each new window is also put into that
// process-wide pointer (the window's form_… variable).
template <class T>
void RegisterWindowOf(const QString &name)
{
    RegisterWindow(name, [](QWidget *parent) -> QDialog * { return new T(parent); });
}
template <class T>
void RegisterWindowOf(const QString &name, T *&instance)
{
    RegisterWindow(name, [&instance](QWidget *parent) -> QDialog * { return instance = new T(parent); });
}
bool IsWindowAvailable(const QString &name);
// The names of the registered windows, sorted.
QStringList RegisteredWindowNames();
// Creates the registered window without opening it; nullptr when none is registered.
QDialog *CreateRegisteredWindow(const QString &name, QWidget *parent = nullptr);
// Creates the registered window and opens it with OpenWindow; -1 when none is registered.
int OpenRegisteredWindow(const QString &name, QWidget *parent = nullptr);
