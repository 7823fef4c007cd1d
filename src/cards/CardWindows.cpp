#include "CardWindows.h"

#include "OpenWindow.h"
#include "form_KartyakNyomt_Unit.h"
#include "form_Kartyak_Unit.h"

void RegisterCardWindows()
{
    RegisterWindow(QStringLiteral("form_Kartyak"), [](QWidget *parent) -> QDialog * {
        form_Kartyak = new Tform_Kartyak(parent);
        return form_Kartyak;
    });
    RegisterWindow(QStringLiteral("form_KartyakNyomt"), [](QWidget *parent) -> QDialog * {
        form_KartyakNyomt = new Tform_KartyakNyomt(parent);
        return form_KartyakNyomt;
    });
}
