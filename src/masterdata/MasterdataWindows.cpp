#include "MasterdataWindows.h"

#include "OpenWindow.h"
#include "form_Felev_Unit.h"
#include "form_Felhasznalo_Unit.h"
#include "form_Oktatok_Unit.h"
#include "form_OrarendHallgato_Unit.h"
#include "form_TanoraOktato_Unit.h"
#include "form_TantargyHallgatoi_Unit.h"
#include "form_Hallgatok_Unit.h"
#include "form_Szervezet_Unit.h"
#include "form_TanoraHallgato_Unit.h"
#include "form_Tanora_Unit.h"

void RegisterMasterdataWindows()
{
    RegisterWindowOf(QStringLiteral("form_Felev"), form_Felev);
    RegisterWindowOf(QStringLiteral("form_Szervezet"), form_Szervezet);
    RegisterWindowOf(QStringLiteral("form_Felhasznalo"), form_Felhasznalo);
    RegisterWindowOf(QStringLiteral("form_Oktatok"), form_Oktatok);
    RegisterWindowOf(QStringLiteral("form_TantargyHallgatoi"), form_TantargyHallgatoi);
    RegisterWindowOf(QStringLiteral("form_OrarendHallgato"), form_OrarendHallgato);
    RegisterWindowOf(QStringLiteral("form_TanoraOktato"), form_TanoraOktato);
    RegisterWindowOf(QStringLiteral("form_Tanora"), form_Tanora);
    RegisterWindowOf(QStringLiteral("form_TanoraHallgato"), form_TanoraHallgato);
    RegisterWindowOf(QStringLiteral("form_Hallgatok"), form_Hallgatok);
}
