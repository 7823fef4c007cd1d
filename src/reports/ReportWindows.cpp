#include "ReportWindows.h"

#include "OpenWindow.h"
#include "form_JelenletLista_Unit.h"
#include "form_JelenletiListaNyomt1_Unit.h"
#include "form_JelenletiListaNyomt2_Unit.h"

void RegisterReportWindows()
{
    RegisterWindowOf(QStringLiteral("form_JelenletLista"), form_JelenletLista);
    RegisterWindowOf(QStringLiteral("form_JelenletiListaNyomt1"), form_JelenletiListaNyomt1);
    RegisterWindowOf(QStringLiteral("form_JelenletiListaNyomt2"), form_JelenletiListaNyomt2);
}
