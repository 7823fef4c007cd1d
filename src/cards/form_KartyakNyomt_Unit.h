#pragma once
// The card sheet form_KartyakNyomt: the cards of the students the card window selected, two side
// by side; after the preview, on confirmation, the issue of every printed card is recorded.

#include "Connection.h" // complete type for the dataset's connection pointer
#include "Dataset.h"
#include "ReportPreview.h"

class Tform_KartyakNyomt : public TReportPreview {
    Q_OBJECT
public:
    explicit Tform_KartyakNyomt(QWidget *parent = nullptr);
    ~Tform_KartyakNyomt() override;

    Dataset SZURES;

    void done(int result) override;
};

extern Tform_KartyakNyomt *form_KartyakNyomt;
