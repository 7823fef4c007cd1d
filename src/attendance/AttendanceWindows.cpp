#include "AttendanceWindows.h"

#include "OpenWindow.h"
#include "form_JelenletElem_Unit.h"
#include "form_JelenletTor_Unit.h"
#include "form_Jelenlet_Unit.h"

void RegisterAttendanceWindows()
{
    RegisterWindow(QStringLiteral("form_Jelenlet"), [](QWidget *parent) -> QDialog * {
        form_Jelenlet = new Tform_Jelenlet(parent);
        return form_Jelenlet;
    });
    RegisterWindow(QStringLiteral("form_JelenletElem"), [](QWidget *parent) -> QDialog * {
        form_JelenletElem = new Tform_JelenletElem(parent);
        return form_JelenletElem;
    });
    RegisterWindow(QStringLiteral("form_JelenletTor"), [](QWidget *parent) -> QDialog * {
        form_JelenletTor = new Tform_JelenletTor(parent);
        return form_JelenletTor;
    });
}
