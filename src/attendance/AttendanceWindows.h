#pragma once

// Makes the attendance windows known to the window opener.
void RegisterAttendanceWindows();
