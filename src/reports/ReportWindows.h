#pragma once
// Registers the attendance list windows under their names for OpenRegisteredWindow.

void RegisterReportWindows();
