#pragma once
// Registers the card windows under their names for OpenRegisteredWindow.

void RegisterCardWindows();
