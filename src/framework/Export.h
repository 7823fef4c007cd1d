#pragma once
// ExportToExcel: the visible columns of a grid's result into a new workbook (.xlsx) in the
// temporary folder, opened with the desktop's default program, then the caller's message.
//
// Cell values are typed as a spreadsheet types what is typed into it: whole numbers and decimal
// numbers (point or comma) become numbers, "yyyy.MM.dd" (also with a final dot, or yyyy-MM-dd)
// dates, with " hh:mm:ss" date-times, "hh:mm" and "hh:mm:ss" times; everything else text. A whole
// number with a leading zero ("007") stays text, so codes keep their zeros. Empty values leave
// the cell empty. A symbol-font column holds the signs the grid draws (WingdingsSymbol), as text;
// a column with a title date has that date as its header cell ("yyyy.mm.dd"), else its title.

#include <QString>
#include <QVariant>

class Dataset;
class DBGrid;

// Returns the path of the workbook written. The folder cannot be written: KovraError.
QString ExportToExcel(Dataset &query, const DBGrid *grid, const QString &message);

// The folder for exported workbooks; empty = the system's temporary folder.
void SetExportFolder(const QString &folder);
QString ExportFolder();

// How a text goes into a cell: a number (double), a QDate, a QDateTime, a QTime, or the text.
QVariant SpreadsheetValue(const QString &text);
