#pragma once
// Registers the shell's own windows with the window opener: "form_Admin", "form_JelszoMod",
// "form_Indito2".

void RegisterShellWindows();
