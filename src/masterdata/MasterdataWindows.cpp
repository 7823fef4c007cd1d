#include "MasterdataWindows.h"

#include "OpenWindow.h"
#include "form_Felev_Unit.h"
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
    RegisterWindow(QStringLiteral("form_Tanora"), [](QWidget *parent) -> QDialog * {
        form_Tanora = new Tform_Tanora(parent);
        return form_Tanora;
    });
    RegisterWindow(QStringLiteral("form_TanoraHallgato"), [](QWidget *parent) -> QDialog * {
        form_TanoraHallgato = new Tform_TanoraHallgato(parent);
        return form_TanoraHallgato;
    });
}
