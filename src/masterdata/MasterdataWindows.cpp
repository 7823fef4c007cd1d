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
    RegisterWindow(QStringLiteral("form_Felev"), [](QWidget *parent) -> QDialog * {
        form_Felev = new Tform_Felev(parent);
        return form_Felev;
    });
    RegisterWindow(QStringLiteral("form_Szervezet"), [](QWidget *parent) -> QDialog * {
        form_Szervezet = new Tform_Szervezet(parent);
        return form_Szervezet;
    });
    RegisterWindow(QStringLiteral("form_Felhasznalo"), [](QWidget *parent) -> QDialog * {
        form_Felhasznalo = new Tform_Felhasznalo(parent);
        return form_Felhasznalo;
    });
    RegisterWindow(QStringLiteral("form_Oktatok"), [](QWidget *parent) -> QDialog * {
        form_Oktatok = new Tform_Oktatok(parent);
        return form_Oktatok;
    });
    RegisterWindow(QStringLiteral("form_TantargyHallgatoi"), [](QWidget *parent) -> QDialog * {
        form_TantargyHallgatoi = new Tform_TantargyHallgatoi(parent);
        return form_TantargyHallgatoi;
    });
    RegisterWindow(QStringLiteral("form_OrarendHallgato"), [](QWidget *parent) -> QDialog * {
        form_OrarendHallgato = new Tform_OrarendHallgato(parent);
        return form_OrarendHallgato;
    });
    RegisterWindow(QStringLiteral("form_TanoraOktato"), [](QWidget *parent) -> QDialog * {
        form_TanoraOktato = new Tform_TanoraOktato(parent);
        return form_TanoraOktato;
    });
    RegisterWindow(QStringLiteral("form_Tanora"), [](QWidget *parent) -> QDialog * {
        form_Tanora = new Tform_Tanora(parent);
        return form_Tanora;
    });
    RegisterWindow(QStringLiteral("form_TanoraHallgato"), [](QWidget *parent) -> QDialog * {
        form_TanoraHallgato = new Tform_TanoraHallgato(parent);
        return form_TanoraHallgato;
    });
    RegisterWindow(QStringLiteral("form_Hallgatok"), [](QWidget *parent) -> QDialog * {
        form_Hallgatok = new Tform_Hallgatok(parent);
        return form_Hallgatok;
    });
}
