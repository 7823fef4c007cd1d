#pragma once
// Window-save files (".ael"): the values of a window's input fields as a small XML document in
// Windows-1250, lines ending in CR LF, loaded back only into a window of the same name.

#include <QString>

class QWidget;

// Writes the file; an empty name first asks with a save dialog ("Ablak mentések|*.ael").
// A file that cannot be written throws KovraError.
void SaveWindowValues(QWidget *window, const QString &fileName);
// Reads the file and applies it; an empty name first asks with an open dialog. A file saved from
// another window is ignored silently; a field naming no control is skipped. A missing or unreadable
// file, and a value that is no number or date where one is needed, throw KovraError (fields
// applied before stay applied).
void LoadWindowValues(QWidget *window, const QString &fileName);

// "&" -> "&amp;", then "<" -> "&lt;", then ">" -> "&gt;"; nothing else.
QString EscapeAelText(const QString &text);
