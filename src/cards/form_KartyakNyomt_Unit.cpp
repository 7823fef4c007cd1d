#include "form_KartyakNyomt_Unit.h"

#include "Adatmodul.h"
#include "CardSelection.h"
#include "Guard.h"
#include "Messages.h"
#include "form_Kartyak_Unit.h"

Tform_KartyakNyomt *form_KartyakNyomt = nullptr;

Tform_KartyakNyomt::Tform_KartyakNyomt(QWidget *parent)
    : TReportPreview(parent), SZURES(form_Adatmodul ? &form_Adatmodul->ADOConn : nullptr, QStringLiteral("SZURES"), this)
{
    setObjectName(QStringLiteral("form_KartyakNyomt"));
    setWindowTitle(QStringLiteral("Kártyák"));
    if (form_Kartyak && form_Kartyak->SZURES.isActive()) {
        SZURES.setSql(CardSheetStatement(form_Kartyak->SZURES.sql(), form_Kartyak->selectionList().split(u',', Qt::SkipEmptyParts)));
        SZURES.open();
    }
    report() = CardSheetReport(report::RowsOf(SZURES));
    if (report::Element *e = report().detail.element(QStringLiteral("qrl_egyetem")))
        e->text = QStringLiteral("Dorvan Egyetem");
}

Tform_KartyakNyomt::~Tform_KartyakNyomt()
{
    if (form_KartyakNyomt == this)
        form_KartyakNyomt = nullptr;
}

void Tform_KartyakNyomt::done(int result)
{
    TReportPreview::done(result);
    RunGuarded([this] {
        if (SZURES.isActive() && ConfirmBox(QStringLiteral("A nyomtatás rendben megtörtént?")))
            RecordCardIssue(report().rows());
    });
}
