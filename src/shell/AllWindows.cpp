#include "AllWindows.h"

#include "AttendanceWindows.h"
#include "CardWindows.h"
#include "MasterdataWindows.h"
#include "ReportWindows.h"
#include "ShellWindows.h"

void RegisterAllWindows()
{
    RegisterShellWindows();
    RegisterMasterdataWindows();
    RegisterAttendanceWindows();
    RegisterReportWindows();
    RegisterCardWindows();
}
