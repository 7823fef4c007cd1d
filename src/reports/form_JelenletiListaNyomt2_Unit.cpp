#include "form_JelenletiListaNyomt2_Unit.h"

Tform_JelenletiListaNyomt2 *form_JelenletiListaNyomt2 = nullptr;

Tform_JelenletiListaNyomt2::Tform_JelenletiListaNyomt2(QWidget *parent) : TAttendanceSheetWindow(true, parent)
{
    setObjectName(QStringLiteral("form_JelenletiListaNyomt2"));
}

Tform_JelenletiListaNyomt2::~Tform_JelenletiListaNyomt2()
{
    if (form_JelenletiListaNyomt2 == this)
        form_JelenletiListaNyomt2 = nullptr;
}
