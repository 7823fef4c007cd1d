#include "ShellWindows.h"

#include "Admin.h"
#include "Indito2.h"
#include "JelszoMod.h"
#include "OpenWindow.h"

void RegisterShellWindows()
{
    RegisterWindow(QStringLiteral("form_Admin"), [](QWidget *parent) -> QDialog * { return new Tform_Admin(parent); });
    RegisterWindow(QStringLiteral("form_JelszoMod"), [](QWidget *parent) -> QDialog * { return new Tform_JelszoMod(parent); });
    RegisterWindow(QStringLiteral("form_Indito2"), [](QWidget *parent) -> QDialog * { return new Tform_Indito2(parent); });
}
