#pragma once
// Registers every window of the program by name (OpenWindow.h), layer by layer. A new layer of
// windows adds its registration here; the program and the tests over all windows call this.
void RegisterAllWindows();
