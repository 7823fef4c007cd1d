#include "AllWindows.h"

#include "AttendanceWindows.h"
#include "CardWindows.h"
#include "ErrorWindows.h"
#include "MasterdataWindows.h"
#include "NeptunWindows.h"
#include "ReportWindows.h"
#include "ShellWindows.h"
#include "TimetableWindows.h"

void RegisterAllWindows()
{
    RegisterShellWindows();
    RegisterMasterdataWindows();
    RegisterAttendanceWindows();
    RegisterTimetableWindows();
    RegisterNeptunWindows();
    RegisterErrorWindows();
    RegisterReportWindows();
    RegisterCardWindows();
}
