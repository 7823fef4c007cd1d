#include "NeptunWindows.h"

#include "OpenWindow.h"
#include "form_TantargyJelent_Unit.h"

void RegisterNeptunWindows()
{
    RegisterWindowOf(QStringLiteral("form_TantargyJelent"), form_TantargyJelent);
}
