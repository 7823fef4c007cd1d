#include "AttendanceWindows.h"

#include "OpenWindow.h"
#include "form_Jelenlet_Unit.h"

void RegisterAttendanceWindows()
{
    RegisterWindow(QStringLiteral("form_Jelenlet"), [](QWidget *parent) -> QDialog * {
        form_Jelenlet = new Tform_Jelenlet(parent);
        return form_Jelenlet;
    });
}
