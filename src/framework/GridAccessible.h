#pragma once
// What a screen reader hears of a data grid: a table of its shown columns only (hidden id columns
// are left out), a header row with the column titles, and no row-indicator strip or corner button.
// Child i of the table: row i / n, shown column i % n, n the number of shown columns; row 0 is the
// header row.

class DBGrid;
class QModelIndex;

// Installs the accessibility factory for DBGrid once (the grid's constructor calls it).
void InstallGridAccessibility();
// The accessible child index of a cell (for focus events); -1 for a hidden column.
int GridAccessibleChild(const DBGrid *grid, const QModelIndex &index);
