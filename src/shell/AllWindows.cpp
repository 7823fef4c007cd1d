#include "AllWindows.h"

#include "AttendanceWindows.h"
#include "MasterdataWindows.h"
#include "ShellWindows.h"

void RegisterAllWindows()
{
    RegisterShellWindows();
    RegisterMasterdataWindows();
    RegisterAttendanceWindows();
}
