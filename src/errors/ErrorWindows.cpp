#include "ErrorWindows.h"

#include "OpenWindow.h"
#include "form_Hibanaplo_Unit.h"

void RegisterErrorWindows()
{
    RegisterWindow(QStringLiteral("form_Hibanaplo"), [](QWidget *parent) -> QDialog * {
        form_Hibanaplo = new Tform_Hibanaplo(parent);
        return form_Hibanaplo;
    });
}
