#pragma once
// The program's version as the main window and the error report show it.

inline constexpr const char *ProgramVersion = "2.0.0.27";
