#pragma once
// form_TanoraOktato "Tanórák és oktatók összerendelése": for a semester and a subject of the
// faculty, the teachers assigned to its offerings ("Tanóra oktatói") beside the other teachers
// ("Oktatók"). Read-only: assignments are made in the teachers and timetable windows.

#include "AlapSzures_Unit.h"

class DBGrid;
class QPushButton;
class TVDCComboBox;

class Tform_TanoraOktato : public TAlapSzures_Form {
    Q_OBJECT
public:
    explicit Tform_TanoraOktato(QWidget *parent = nullptr);
    ~Tform_TanoraOktato() override;

    TVDCComboBox *vdc_felev;
    TVDCComboBox *vdc_tanora;
    DBGrid *dbg_lista;  // teachers not assigned to the subject
    DBGrid *dbg_oktato; // the subject's teachers
    QPushButton *bb_hozzaad;
    QPushButton *bb_elvesz;
    Dataset Oktato; // the list of dbg_oktato

    void FormShow() override;
    void bb_kilepesClick() override;
    void vdc_felevChange();
    void vdc_tanoraChange();

    // Subjects with an offering of the faculty in the semester (either empty offers nothing).
    static QString SubjectChoiceStatement(const QString &facultyId, const QString &semesterId);

private:
    void reopenLists();
};

extern Tform_TanoraOktato *form_TanoraOktato;
