#pragma once
// The window of a printed attendance sheet: the preview of the sheet of the matrix that the open
// matrix list built; without one it shows an empty sheet.

#include "Connection.h" // complete type for the dataset's connection pointer
#include "Dataset.h"
#include "ReportPreview.h"

class TAttendanceSheetWindow : public TReportPreview {
    Q_OBJECT
public:
    TAttendanceSheetWindow(bool wide, QWidget *parent);

    Dataset SZURES;
    Dataset keres;
};
