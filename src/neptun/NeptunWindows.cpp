#include "NeptunWindows.h"

#include "OpenWindow.h"
#include "form_TantargyJelent_Unit.h"

void RegisterNeptunWindows()
{
    RegisterWindow(QStringLiteral("form_TantargyJelent"), [](QWidget *parent) -> QDialog * {
        form_TantargyJelent = new Tform_TantargyJelent(parent);
        return form_TantargyJelent;
    });
}
