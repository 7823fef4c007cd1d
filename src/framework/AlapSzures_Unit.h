#pragma once
// The base filter form TAlapSzures_Form: filter controls and a result grid over SZURES placed by
// the derived window in p_Adatok; the base gives the search, the count, clearing the conditions,
// the choice, the text-file save and the colouring of the filter controls.
//
// A derived "Indítás" handler closes SZURES, sets its statement (base statement, one "and …"
// line per filled condition, an "Order By" line) and then calls the base bb_inditClick.

#include "Connection.h" // complete type for the dataset's connection pointer
#include "Dataset.h"

#include <QDialog>

class DBGrid;
class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

class TAlapSzures_Form : public QDialog {
    Q_OBJECT
public:
    explicit TAlapSzures_Form(QWidget *parent = nullptr);

    QWidget *p_Adatok;
    QFrame *p_Vezerlosav;
    QPushButton *bb_indit;
    QPushButton *bb_felttorol;
    QFrame *p_TalalatokSzama;
    QLabel *l_talalatszov;
    QLabel *l_szumma;
    QPushButton *bb_Ment;
    QPushButton *bb_excel;
    QPushButton *bb_Ok;
    QToolButton *sb_nyomtat;
    QToolButton *sb_email;
    QPushButton *bb_kilepes;
    Dataset SZURES;
    Dataset ADOQuery1; // scratch query of the window's combo boxes

    virtual void FormShow();
    virtual void bb_inditClick();
    virtual void bb_felttorolClick();
    virtual void bb_kilepesClick();
    void bb_OkClick();
    void bb_MentClick();
    void SZURESAfterOpen();

    // The grid showing SZURES (the last one found), found on first use; nullptr when none.
    DBGrid *resultGrid();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    DBGrid *m_resultGrid = nullptr;
};

// Writes the rows of query as the grid's columns show them (hidden columns included) to a
// Windows-1250 text file: the titles, then one line per row, a TAB after every field, CR LF.
// A column whose field the query lacks contributes nothing to the data lines.
void SaveGridText(Dataset &query, const DBGrid *grid, const QString &fileName);
