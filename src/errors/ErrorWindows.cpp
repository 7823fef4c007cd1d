#include "ErrorWindows.h"

#include "OpenWindow.h"
#include "form_Hibanaplo_Unit.h"

void RegisterErrorWindows()
{
    RegisterWindowOf(QStringLiteral("form_Hibanaplo"), form_Hibanaplo);
}
