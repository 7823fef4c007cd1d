#pragma once
// Per-user settings (window positions, grid layouts), stored with the registry's key paths:
// "Software/KOVRA/Ablakok/<window>" and "Software/Pellar/Ablakok/<window>/<grid>/<field>".

#include <QSettings>
#include <QString>
#include <memory>

class QWidget;

std::unique_ptr<QSettings> UserSettings();

// Applies "Top", "Left", "Width", "Height" in that order; a missing or unusable value ends the
// reading silently and the window keeps its designed placement. Returns true when all four applied.
bool RestoreWindowPosition(QWidget *window, const QString &windowName);
void SaveWindowPosition(const QWidget *window, const QString &windowName);
// Deletes "Software/KOVRA/Ablakok" with everything below it (grid layouts stay).
void ResetWindowPositions();
