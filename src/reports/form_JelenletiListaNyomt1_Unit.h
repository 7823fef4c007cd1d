#pragma once
// The attendance sheet form_JelenletiListaNyomt1: A4 portrait, seven date boxes.

#include "AttendanceSheetWindow.h"

class Tform_JelenletiListaNyomt1 : public TAttendanceSheetWindow {
    Q_OBJECT
public:
    explicit Tform_JelenletiListaNyomt1(QWidget *parent = nullptr);
    ~Tform_JelenletiListaNyomt1() override;
};

extern Tform_JelenletiListaNyomt1 *form_JelenletiListaNyomt1;
