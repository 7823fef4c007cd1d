#include "AllWindows.h"

#include "AttendanceWindows.h"
#include "MasterdataWindows.h"
#include "ShellWindows.h"
#include "TimetableWindows.h"

void RegisterAllWindows()
{
    RegisterShellWindows();
    RegisterMasterdataWindows();
    RegisterAttendanceWindows();
    RegisterTimetableWindows();
}
