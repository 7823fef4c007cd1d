#include "TimetableWindows.h"

#include "OpenWindow.h"
#include "form_OrarendDatum_Unit.h"
#include "form_Orarend_Unit.h"

void RegisterTimetableWindows()
{
    RegisterWindowOf(QStringLiteral("form_Orarend"), form_Orarend);
    RegisterWindowOf(QStringLiteral("form_OrarendDatum"), form_OrarendDatum);
}
