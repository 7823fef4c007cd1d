#pragma once
// Registers the master data windows under their names for OpenRegisteredWindow.

void RegisterMasterdataWindows();
