#pragma once
// A report window: the print preview of a report, opened maximised and fitted to the window, from
// which the user prints it or saves it as a PDF file. Opened through OpenWindow like every window;
// a derived window builds report() in its constructor.

#include "Report.h"

#include <QPrintPreviewDialog>

class QAction;
class QPrintPreviewWidget;

class TReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
public:
    explicit TReportPreview(QWidget *parent = nullptr);

    report::Report &report() { return m_report; }
    const report::Report &report() const { return m_report; }
    // Saves the report as PDF through the save dialog; nothing when it is cancelled.
    void savePdfClick();
    QAction *a_pdf;
    QPrintPreviewWidget *previewWidget() const { return m_preview; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    report::Report m_report;
    QPrintPreviewWidget *m_preview = nullptr;
};
