#include "AttendanceSheetWindow.h"

#include "Adatmodul.h"
#include "AttendanceSheet.h"
#include "form_JelenletLista_Unit.h"

TAttendanceSheetWindow::TAttendanceSheetWindow(bool wide, QWidget *parent)
    : TReportPreview(parent),
      SZURES(form_Adatmodul ? &form_Adatmodul->ADOConn : nullptr, QStringLiteral("SZURES"), this),
      keres(form_Adatmodul ? &form_Adatmodul->ADOConn : nullptr, QStringLiteral("keres"), this)
{
    setWindowTitle(QStringLiteral("Jelenléti lista"));
    if (form_JelenletLista && form_JelenletLista->build().opened)
        report() = BuildAttendanceSheet(form_JelenletLista->build(), wide, SZURES, keres);
    else
        report() = AttendanceSheetReport(wide, SheetHeader(), report::Rows());
}
