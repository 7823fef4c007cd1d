#pragma once
// Registers the Neptun import window under its name for OpenRegisteredWindow.

void RegisterNeptunWindows();
