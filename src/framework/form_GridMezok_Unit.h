#pragma once
// Grid services: server-side sorting by a title click, the per-user column layout
// ("Software/Pellar/Ablakok/<window>/<grid>/<field>" with "Visible", "Index", "Width"), and the
// column chooser form_GridMezok (F12).

#include <QDialog>

class DBGrid;
class QToolButton;
class QPushButton;
class TCheckListBox;

// Re-sorts the grid's dataset by the clicked column: marker " <" (descending) or " >"
// (ascending) on its title, yellow title, the ORDER BY clause rewritten, the dataset reopened.
// Does nothing on a closed or empty result; never reports an error.
void SortByColumn(DBGrid *grid, int column);
// The statement with its last ORDER BY clause replaced by "  order by <field><direction>".
QString RewriteOrderBy(const QString &sql, const QString &fieldName, const QString &direction);

void LoadGridLayout(DBGrid *grid);
void SaveGridLayout(DBGrid *grid);
// Loads the layout, runs the chooser modally, saves the layout.
void ChooseGridColumns(DBGrid *grid);
// Title click -> SortByColumn, F12 -> ChooseGridColumns.
void WireGridServices(DBGrid *grid);

// The settings group of a grid: "Software/Pellar/Ablakok/<window>/<grid>".
QString GridLayoutGroup(const DBGrid *grid);

class Tform_GridMezok : public QDialog {
    Q_OBJECT
public:
    explicit Tform_GridMezok(DBGrid *grid, QWidget *parent = nullptr);

    TCheckListBox *clb_Mezolista;
    QToolButton *sb_Fel;
    QToolButton *sb_Le;
    QToolButton *sb_elore;
    QToolButton *sb_hatra;
    QToolButton *sb_mindbe;
    QToolButton *sb_mindki;
    QPushButton *bb_Kilep;

private:
    void fill();
    void moveSelected(int to);
    void tickAll(bool on);

    DBGrid *m_grid;
    bool m_filling = false;
};
