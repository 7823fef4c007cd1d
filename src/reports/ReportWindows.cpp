#include "ReportWindows.h"

#include "OpenWindow.h"
#include "form_JelenletLista_Unit.h"
#include "form_JelenletiListaNyomt1_Unit.h"
#include "form_JelenletiListaNyomt2_Unit.h"

void RegisterReportWindows()
{
    RegisterWindow(QStringLiteral("form_JelenletLista"), [](QWidget *parent) -> QDialog * {
        form_JelenletLista = new Tform_JelenletLista(parent);
        return form_JelenletLista;
    });
    RegisterWindow(QStringLiteral("form_JelenletiListaNyomt1"), [](QWidget *parent) -> QDialog * {
        form_JelenletiListaNyomt1 = new Tform_JelenletiListaNyomt1(parent);
        return form_JelenletiListaNyomt1;
    });
    RegisterWindow(QStringLiteral("form_JelenletiListaNyomt2"), [](QWidget *parent) -> QDialog * {
        form_JelenletiListaNyomt2 = new Tform_JelenletiListaNyomt2(parent);
        return form_JelenletiListaNyomt2;
    });
}
