// kovra-manual: renders the user manual (Markdown) to the PDF the information window opens:
// A4, body text 10.5 pt, pictures no wider than the text, a table of contents after the title
// and page numbers at the foot of every page.

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextStream>
#include <QTextTable>
#include <QUrl>
#include <cmath>

namespace {

// The document is laid out at 96 dots per inch: points and picture pixels keep their usual size.
constexpr double LayoutDpi = 96.0;
constexpr double MarginMm = 20.0;
constexpr double FooterMm = 8.0;

double mmToLayout(double mm) { return mm / 25.4 * LayoutDpi; }

struct Heading {
    QTextBlock block;
    int level;
};

QList<Heading> headings(const QTextDocument &doc, int fromLevel, int toLevel)
{
    QList<Heading> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const int level = b.blockFormat().headingLevel();
        if (level >= fromLevel && level <= toLevel && !b.text().trimmed().isEmpty())
            out.append({b, level});
    }
    return out;
}

// Every picture at most as wide as the text, its proportions kept.
void fitPictures(QTextDocument &doc, double textWidth)
{
    // Found first, changed afterwards: a change while walking the fragments would disturb the walk.
    QList<std::pair<int, QTextImageFormat>> pictures;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                pictures.append({it.fragment().position(), it.fragment().charFormat().toImageFormat()});
    for (auto &[position, image] : pictures) {
        const QImage picture = doc.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
        if (picture.isNull())
            continue;
        const double width = std::min(double(picture.width()), textWidth);
        image.setWidth(width);
        image.setHeight(picture.height() * width / picture.width());
        QTextCursor c(&doc);
        c.setPosition(position);
        c.setPosition(position + 1, QTextCursor::KeepAnchor); // a picture is one character
        c.setCharFormat(image);
    }
}

int pageOf(const QTextDocument &doc, const QTextBlock &block)
{
    const QRectF r = doc.documentLayout()->blockBoundingRect(block);
    return int(r.top() / doc.pageSize().height()) + 1;
}

// The contents: one row per section heading, its page on the right. Returns the table.
QTextTable *insertContents(QTextDocument &doc, const QList<Heading> &entries)
{
    const QList<Heading> titles = headings(doc, 1, 1);
    QTextCursor c(&doc);
    if (!titles.isEmpty()) {
        c.setPosition(titles.first().block.position());
        c.movePosition(QTextCursor::EndOfBlock);
    }
    // Title, then the contents, then the manual from a new page.
    QTextBlockFormat head;
    head.setHeadingLevel(0);
    head.setTopMargin(12);
    head.setBottomMargin(6);
    QTextCharFormat headText;
    headText.setFontWeight(QFont::Bold);
    headText.setFontPointSize(13);
    c.insertBlock(head, headText);
    c.insertText(QStringLiteral("Tartalom"));

    QTextTableFormat tf;
    tf.setBorder(0);
    tf.setCellPadding(1);
    tf.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    tf.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 90), QTextLength(QTextLength::PercentageLength, 10)});
    QTextTable *table = c.insertTable(int(entries.size()), 2, tf);
    for (int i = 0; i < entries.size(); ++i) {
        QTextCursor cell = table->cellAt(i, 0).firstCursorPosition();
        QTextBlockFormat indent;
        indent.setLeftMargin(entries[i].level > 2 ? 18 : 0);
        cell.setBlockFormat(indent);
        QTextCharFormat text;
        text.setFontWeight(entries[i].level <= 2 ? QFont::DemiBold : QFont::Normal);
        cell.insertText(entries[i].block.text(), text);
        QTextCursor page = table->cellAt(i, 1).firstCursorPosition();
        QTextBlockFormat right;
        right.setAlignment(Qt::AlignRight);
        page.setBlockFormat(right);
        page.insertText(QStringLiteral("0"));
    }
    // The first section starts on a page of its own.
    const QTextBlock after = table->lastCursorPosition().block().next();
    if (after.isValid()) {
        QTextCursor a(after);
        QTextBlockFormat f = after.blockFormat();
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        a.setBlockFormat(f);
    }
    return table;
}

// Lays the whole document out afresh; edits after a layout can leave parts of it stale.
void relayout(QTextDocument &doc, const QSizeF &page)
{
    doc.setPageSize(QSizeF(page.width(), page.height() + 1));
    doc.setPageSize(page);
    (void)doc.pageCount();
}

// A section heading in the last lines of a page starts the next page instead.
void keepHeadingsWithText(QTextDocument &doc, const QSizeF &page)
{
    for (const Heading &h : headings(doc, 2, 3)) {
        const QRectF r = doc.documentLayout()->blockBoundingRect(h.block);
        const double below = page.height() - std::fmod(r.top(), page.height());
        if (below < page.height() / 6) {
            QTextCursor c(h.block);
            QTextBlockFormat f = h.block.blockFormat();
            f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            c.setBlockFormat(f);
        }
    }
}

// Tables of the manual: a single thin grid and room around the text.
void styleTables(QTextDocument &doc)
{
    for (QTextFrame *f : doc.rootFrame()->childFrames()) {
        auto *table = qobject_cast<QTextTable *>(f);
        if (!table)
            continue;
        QTextTableFormat tf = table->format();
        if (tf.border() <= 0)
            continue; // the contents
        tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        tf.setBorder(0.5);
        tf.setBorderBrush(QColor(120, 120, 120));
        tf.setCellPadding(3);
        tf.setCellSpacing(0);
        tf.setTopMargin(4);
        tf.setBottomMargin(6);
        table->setFormat(tf);
    }
}

void setPageNumbers(QTextDocument &doc, QTextTable *table, const QList<Heading> &entries)
{
    for (int i = 0; i < entries.size(); ++i) {
        QTextCursor c = table->cellAt(i, 1).firstCursorPosition();
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        c.insertText(QString::number(pageOf(doc, entries[i].block)));
    }
}

} // namespace

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
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm), QPageLayout::Millimeter));
    writer.setResolution(300);

    // A reference device of 96 dpi for the layout, whatever the screen (or none) says.
    QImage reference(1, 1, QImage::Format_RGB32);
    reference.setDotsPerMeterX(qRound(LayoutDpi / 0.0254));
    reference.setDotsPerMeterY(qRound(LayoutDpi / 0.0254));

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&reference);
    // Pictures are referenced relative to the manual's folder.
    doc.setBaseUrl(QUrl::fromLocalFile(QFileInfo(args[1]).absolutePath() + u'/'));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10.5);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setMarkdown(QString::fromUtf8(in.readAll()));

    const QRectF paper = writer.pageLayout().paintRect(QPageLayout::Millimeter);
    const QSizeF page(mmToLayout(paper.width()), mmToLayout(paper.height() - FooterMm));
    doc.setPageSize(page); // paginated: a page break before a block is kept
    fitPictures(doc, page.width());

    styleTables(doc);
    const QList<Heading> entries = headings(doc, 2, 3);
    QTextTable *contents = entries.isEmpty() ? nullptr : insertContents(doc, entries);
    relayout(doc, page);
    keepHeadingsWithText(doc, page);
    relayout(doc, page);
    if (contents) {
        setPageNumbers(doc, contents, entries);
        relayout(doc, page);
    }

    QPainter painter(&writer);
    if (!painter.isActive()) {
        err << "kovra-manual: cannot write " << args[2] << '\n';
        return 1;
    }
    const double scale = writer.resolution() / LayoutDpi;
    // In layout pixels, as the scaled painter draws: 9 pt.
    QFont footFont = font;
    footFont.setPixelSize(qRound(9 * LayoutDpi / 72));
    const int pages = doc.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        painter.save();
        painter.scale(scale, scale);
        const QRectF clip(0, i * page.height(), page.width(), page.height());
        painter.translate(0, -clip.top());
        doc.drawContents(&painter, clip);
        painter.restore();
        // The page number, centred below the text.
        painter.save();
        painter.scale(scale, scale);
        painter.setFont(footFont);
        painter.drawText(QRectF(0, page.height(), page.width(), mmToLayout(FooterMm)), Qt::AlignCenter | Qt::AlignBottom,
                         QString::number(i + 1) + QStringLiteral(". oldal"));
        painter.restore();
    }
    painter.end();
    if (!QFileInfo::exists(args[2])) {
        err << "kovra-manual: cannot write " << args[2] << '\n';
        return 1;
    }
    return 0;
}
