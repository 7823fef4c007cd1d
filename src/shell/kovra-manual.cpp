// kovra-manual: renders the user manual (Markdown) to the PDF the information window opens.

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextStream>
#include <QUrl>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 3) {
        err << "usage: kovra-manual MANUAL.md OUTPUT.pdf\n";
        return 2;
    }
    QFile in(args[1]);
    if (!in.open(QIODevice::ReadOnly)) {
        err << "kovra-manual: cannot read " << args[1] << '\n';
        return 1;
    }
    QPdfWriter writer(args[2]);
    writer.setTitle(QStringLiteral("KOVRA felhasználói leírás"));
    writer.setCreator(QStringLiteral("KOVRA"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                                     QPageLayout::Millimeter));
    writer.setResolution(300);

    QTextDocument doc;
    // Pictures are referenced relative to the manual's folder.
    doc.setBaseUrl(QUrl::fromLocalFile(QFileInfo(args[1]).absolutePath() + u'/'));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10.5);
    doc.setDefaultFont(font);
    doc.setMarkdown(QString::fromUtf8(in.readAll()));
    doc.setPageSize(writer.pageLayout().paintRectPixels(writer.resolution()).size());
    doc.print(&writer);
    if (!QFileInfo::exists(args[2])) {
        err << "kovra-manual: cannot write " << args[2] << '\n';
        return 1;
    }
    return 0;
}
