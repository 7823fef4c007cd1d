#pragma once
// A table view's first column kept in place while the other columns scroll sideways: a second
// view of the same model and selection lies over the left edge and shows that column alone.

class QTableView;

// Returns the overlay view (object name "<grid>_rogzitett"); it follows the grid's rows, sizes
// and the first column's width and visibility, and passes clicks and double-clicks to the grid.
QTableView *FreezeFirstColumn(QTableView *grid);
