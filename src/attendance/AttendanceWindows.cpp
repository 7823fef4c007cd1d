#include "AttendanceWindows.h"

#include "OpenWindow.h"
#include "form_JelenletElem_Unit.h"
#include "form_JelenletTor_Unit.h"
#include "form_Jelenlet_Unit.h"

void RegisterAttendanceWindows()
{
    RegisterWindowOf(QStringLiteral("form_Jelenlet"), form_Jelenlet);
    RegisterWindowOf(QStringLiteral("form_JelenletElem"), form_JelenletElem);
    RegisterWindowOf(QStringLiteral("form_JelenletTor"), form_JelenletTor);
}
