#pragma once
// The program's button glyphs, drawn at run time: "OK" (green tick), "MEGSEM" (red cross),
// "BELEP" (arrow into a door), "KILEP" (arrow out of a door), and the main window's work areas:
// "JELENTKEZES", "LISTA", "ADMIN", "JELENLET", "KARTYA", "JELSZO", "HIBA", "SEGITSEG". Each is 32 x 32.

#include <QPixmap>

// Throws std::invalid_argument for an unknown name.
QPixmap Glyph(const char *name);
