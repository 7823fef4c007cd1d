#include "TimetableWindows.h"

#include "OpenWindow.h"
#include "form_OrarendDatum_Unit.h"
#include "form_Orarend_Unit.h"

void RegisterTimetableWindows()
{
    RegisterWindow(QStringLiteral("form_Orarend"), [](QWidget *parent) -> QDialog * {
        form_Orarend = new Tform_Orarend(parent);
        return form_Orarend;
    });
    RegisterWindow(QStringLiteral("form_OrarendDatum"), [](QWidget *parent) -> QDialog * {
        form_OrarendDatum = new Tform_OrarendDatum(parent);
        return form_OrarendDatum;
    });
}
