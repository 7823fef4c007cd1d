#pragma once
// Hungarian for the whole program: Qt's own texts (file dialogs, context menus, standard buttons)
// from Qt's translation catalogues, and the Hungarian locale for numbers, dates and sorting.

// Returns false when Qt's Hungarian catalogue was not found (the dialogs then stay in English).
bool InstallHungarianTranslations();
