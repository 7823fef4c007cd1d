#pragma once
// The attendance sheet form_JelenletiListaNyomt2: A4 landscape, fourteen date boxes.

#include "AttendanceSheetWindow.h"

class Tform_JelenletiListaNyomt2 : public TAttendanceSheetWindow {
    Q_OBJECT
public:
    explicit Tform_JelenletiListaNyomt2(QWidget *parent = nullptr);
    ~Tform_JelenletiListaNyomt2() override;
};

extern Tform_JelenletiListaNyomt2 *form_JelenletiListaNyomt2;
