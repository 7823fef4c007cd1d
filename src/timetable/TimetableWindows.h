#pragma once
// Registers the timetable windows by name: form_Orarend, form_OrarendDatum.

void RegisterTimetableWindows();
