#include "CardWindows.h"

#include "OpenWindow.h"
#include "form_KartyakNyomt_Unit.h"
#include "form_Kartyak_Unit.h"

void RegisterCardWindows()
{
    RegisterWindowOf(QStringLiteral("form_Kartyak"), form_Kartyak);
    RegisterWindowOf(QStringLiteral("form_KartyakNyomt"), form_KartyakNyomt);
}
