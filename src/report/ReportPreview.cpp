#include "ReportPreview.h"

#include "FileChooser.h"
#include "Guard.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QShowEvent>
#include <QStyle>
#include <QToolBar>

TReportPreview::TReportPreview(QWidget *parent) : QPrintPreviewDialog(parent)
{
    setWindowTitle(QStringLiteral("Nyomtatási kép"));
    m_preview = findChild<QPrintPreviewWidget *>();
    // The preview's own page number and zoom controls, named for screen readers.
    for (QLineEdit *e : findChildren<QLineEdit *>())
        if (e->accessibleName().isEmpty() && !qobject_cast<QComboBox *>(e->parentWidget()))
            e->setAccessibleName(QStringLiteral("Oldalszám"));
    for (QComboBox *c : findChildren<QComboBox *>())
        if (c->accessibleName().isEmpty())
            c->setAccessibleName(QStringLiteral("Nagyítás"));
    connect(this, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *printer) {
        RunGuarded([this, printer] {
            printer->setFullPage(true);
            printer->setPageLayout(m_report.pageLayout());
            printer->setDocName(m_report.title);
            m_report.render(printer, printer->resolution());
        });
    });
    a_pdf = new QAction(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Mentés PDF fájlba"), this);
    a_pdf->setObjectName(QStringLiteral("a_pdf"));
    a_pdf->setToolTip(QStringLiteral("Mentés PDF fájlba"));
    if (auto *bar = findChild<QToolBar *>()) {
        bar->addSeparator();
        bar->addAction(a_pdf);
    }
    ConnectGuarded(a_pdf, &QAction::triggered, this, [this] { savePdfClick(); });
}

void TReportPreview::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        printer()->setFullPage(true);
        printer()->setPageLayout(m_report.pageLayout());
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    QPrintPreviewDialog::showEvent(event);
    if (!event->spontaneous() && m_preview) {
        m_preview->updatePreview();
        m_preview->fitInView();
    }
}

void TReportPreview::savePdfClick()
{
    QString name = ChooseSaveFile(this, QStringLiteral("PDF fájlok|*.pdf"), QStringLiteral("pdf"));
    if (name.isEmpty())
        return;
    m_report.savePdf(name);
}
