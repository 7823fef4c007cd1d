#pragma once
// The banded report: a page (size, orientation, margins, columns), a page header and a page footer
// printed on every page, and a detail band repeated for every row of the data, filled down the
// first column, then down the next. Bands hold elements at millimetre rectangles. One layout
// renders to the print preview, a printer, a PDF file and images, so every output looks the same.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPointF>
#include <QRectF>
#include <QStringList>
#include <QVector>
#include <functional>

class Dataset;
class QPainter;
class QPagedPaintDevice;

namespace report {

enum class Kind {
    Text,    // a fixed text
    Field,   // the value of a data field of the row
    Frame,   // a rectangle outline (the sides chosen)
    Line,    // a line along the top edge of the rectangle, or its left edge when it has no width
    Image,   // a picture stretched into the rectangle
    Barcode, // Code 128 set A of the text (or of the field when one is named), bars filling the rectangle
};

enum Side { Left = 1, Top = 2, Right = 4, Bottom = 8, AllSides = 15 };

struct Element {
    Kind kind = Kind::Text;
    QString name;
    QRectF rect; // millimetres from the band's top-left corner
    QString text;
    QString field;
    QFont font;
    QColor color = Qt::black;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool wordWrap = false;
    bool shrinkToFit = false; // a single-line text too wide for its box prints smaller, never clipped
    int sides = AllSides;
    double penMm = 0.2;
    QImage image;
};

struct Band {
    QString name;
    double height = 0; // millimetres; a band without height is not printed
    double width = 0;  // millimetres; 0 = the width of a column
    int frameSides = 0;
    double framePenMm = 0.2;
    QList<Element> elements;

    Element &add(const Element &e);
    // The element of that name, nullptr when there is none.
    Element *element(const QString &elementName);
    const Element *element(const QString &elementName) const;
};

// The data of a report: field names and the rows' texts, taken once.
struct Rows {
    QStringList fields;
    QVector<QStringList> values;

    int count() const { return int(values.size()); }
    int fieldIndex(const QString &name) const; // case-insensitive; -1 when missing
    QString value(int row, const QString &field) const;
};
// Every row of an open dataset as the grids render it (closed: no rows).
Rows RowsOf(const Dataset &dataset);

// Where a band prints: its top-left corner on the paper, in millimetres.
struct Placement {
    enum Type { Header, Detail, Footer } type = Detail;
    int row = -1;  // detail: the data row
    int column = 0;
    QPointF at;
};
using Page = QVector<Placement>;

// A text font of the layouts: family, point size, bold.
QFont LayoutFont(const QString &family, double pointSize, bool bold = false);

class Report {
public:
    QPageSize::PageSizeId pageSize = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{10, 10, 10, 10}; // millimetres
    int columns = 1;
    double columnSpace = 0; // millimetres between columns
    bool printIfEmpty = true;
    QString title; // the document name of printers and PDF files

    Band pageHeader, detail, pageFooter;
    // Called before a detail band prints, on a copy of the band for that row.
    std::function<void(const Rows &rows, int row, Band &band)> beforePrint;

    void setRows(Rows rows) { m_rows = std::move(rows); }
    const Rows &rows() const { return m_rows; }

    // The paper in millimetres, as oriented.
    QSizeF paperSize() const;
    QPageLayout pageLayout() const; // no margins: bands are placed on the whole sheet
    double columnWidth() const;
    // The pages with their bands.
    QVector<Page> layout() const;
    int pageCount() const { return int(layout().size()); }

    // Paints one page; the painter's origin is the paper's corner, dotsPerMm its resolution.
    void paintPage(QPainter &painter, const Page &page, double dotsPerMm) const;
    // Every page onto a printer or PDF writer set up with pageLayout(); false when it cannot be painted on.
    bool render(QPagedPaintDevice *device, double dotsPerInch) const;
    // Throws KovraError when the file cannot be written.
    void savePdf(const QString &fileName, int dotsPerInch = 300) const;
    QImage pageImage(int page, double dotsPerInch) const;

    // The band that prints at a placement, with the row's hook applied.
    Band bandFor(const Placement &placement) const;

private:
    void paintBand(QPainter &painter, const Band &band, int row, const QPointF &at, double dotsPerMm) const;

    Rows m_rows;
};

} // namespace report
