#include "form_JelenletiListaNyomt1_Unit.h"

Tform_JelenletiListaNyomt1 *form_JelenletiListaNyomt1 = nullptr;

Tform_JelenletiListaNyomt1::Tform_JelenletiListaNyomt1(QWidget *parent) : TAttendanceSheetWindow(false, parent)
{
    setObjectName(QStringLiteral("form_JelenletiListaNyomt1"));
}

Tform_JelenletiListaNyomt1::~Tform_JelenletiListaNyomt1()
{
    if (form_JelenletiListaNyomt1 == this)
        form_JelenletiListaNyomt1 = nullptr;
}
