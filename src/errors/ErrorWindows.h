#pragma once
// Registers the error layer's windows (the error log browser) for OpenRegisteredWindow.

void RegisterErrorWindows();
