#pragma once
// Registers the attendance windows under their names for OpenRegisteredWindow.

void RegisterAttendanceWindows();
