#include "Report.h"

#include "Code128.h"
#include "Dataset.h"
#include "Guard.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace report {

Element &Band::add(const Element &e)
{
    elements << e;
    return elements.last();
}

Element *Band::element(const QString &elementName)
{
    for (Element &e : elements)
        if (e.name == elementName)
            return &e;
    return nullptr;
}

const Element *Band::element(const QString &elementName) const
{
    for (const Element &e : elements)
        if (e.name == elementName)
            return &e;
    return nullptr;
}

int Rows::fieldIndex(const QString &name) const
{
    for (qsizetype i = 0; i < fields.size(); ++i)
        if (fields[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QString Rows::value(int row, const QString &field) const
{
    const int f = fieldIndex(field);
    if (f < 0 || row < 0 || row >= count())
        return {};
    return values[row].value(f);
}

Rows RowsOf(const Dataset &dataset)
{
    Rows r;
    if (!dataset.isActive())
        return r;
    for (int c = 0; c < dataset.fieldCount(); ++c)
        r.fields << dataset.fieldName(c);
    r.values.reserve(dataset.recordCount());
    for (int row = 0; row < dataset.recordCount(); ++row) {
        QStringList line;
        line.reserve(dataset.fieldCount());
        for (int c = 0; c < dataset.fieldCount(); ++c)
            line << dataset.text(row, c);
        r.values << line;
    }
    return r;
}

QFont LayoutFont(const QString &family, double pointSize, bool bold)
{
    QFont f(family);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QSizeF Report::paperSize() const
{
    const QSizeF s = QPageSize(pageSize).size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? s.transposed() : s;
}

QPageLayout Report::pageLayout() const
{
    return QPageLayout(QPageSize(pageSize), orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

double Report::columnWidth() const
{
    const double printable = paperSize().width() - margins.left() - margins.right();
    const int n = std::max(1, columns);
    return detail.width > 0 ? detail.width : (printable - (n - 1) * columnSpace) / n;
}

QVector<Page> Report::layout() const
{
    // A small tolerance so bands that fill the page exactly are not pushed to the next one.
    constexpr double Eps = 1e-6;
    const QSizeF paper = paperSize();
    const double top = margins.top() + pageHeader.height;
    const double bottom = paper.height() - margins.bottom() - pageFooter.height;
    const int n = std::max(1, columns);
    const double pitch = columnWidth() + columnSpace;

    QVector<Page> pages;
    auto newPage = [&] {
        Page p;
        if (pageHeader.height > 0)
            p << Placement{Placement::Header, -1, 0, QPointF(margins.left(), margins.top())};
        pages << p;
    };
    auto closePage = [&] {
        if (pageFooter.height > 0)
            pages.last() << Placement{Placement::Footer, -1, 0,
                                      QPointF(margins.left(), paper.height() - margins.bottom() - pageFooter.height)};
    };

    if (m_rows.count() == 0) {
        if (printIfEmpty) {
            newPage();
            closePage();
        }
        return pages;
    }
    newPage();
    int column = 0;
    double y = top;
    for (int row = 0; row < m_rows.count(); ++row) {
        if (y + detail.height > bottom + Eps && y > top + Eps) {
            y = top;
            if (++column >= n) {
                closePage();
                newPage();
                column = 0;
            }
        }
        pages.last() << Placement{Placement::Detail, row, column, QPointF(margins.left() + column * pitch, y)};
        y += detail.height;
    }
    closePage();
    return pages;
}

Band Report::bandFor(const Placement &placement) const
{
    switch (placement.type) {
    case Placement::Header: return pageHeader;
    case Placement::Footer: return pageFooter;
    case Placement::Detail: break;
    }
    Band b = detail;
    if (beforePrint)
        beforePrint(m_rows, placement.row, b);
    return b;
}

void Report::paintBand(QPainter &painter, const Band &band, int row, const QPointF &at, double dotsPerMm) const
{
    const double width = band.width > 0 ? band.width : columnWidth();
    auto device = [&](const QRectF &mm) {
        return QRectF((at.x() + mm.x()) * dotsPerMm, (at.y() + mm.y()) * dotsPerMm, mm.width() * dotsPerMm,
                      mm.height() * dotsPerMm);
    };
    auto pen = [&](const QColor &color, double mm) {
        QPen p(color);
        p.setWidthF(std::max(1.0, mm * dotsPerMm));
        p.setCapStyle(Qt::FlatCap);
        return p;
    };
    auto frame = [&](const QRectF &r, int sides, const QPen &p) {
        painter.setPen(p);
        if (sides & Top)
            painter.drawLine(r.topLeft(), r.topRight());
        if (sides & Bottom)
            painter.drawLine(r.bottomLeft(), r.bottomRight());
        if (sides & Left)
            painter.drawLine(r.topLeft(), r.bottomLeft());
        if (sides & Right)
            painter.drawLine(r.topRight(), r.bottomRight());
    };

    for (const Element &e : band.elements) {
        const QRectF r = device(e.rect);
        switch (e.kind) {
        case Kind::Text:
        case Kind::Field: {
            const QString text = e.kind == Kind::Text ? e.text : m_rows.value(row, e.field);
            if (text.isEmpty())
                break;
            QFont font = e.font;
            if (e.shrinkToFit && !e.wordWrap) {
                const double wide = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
                if (wide > r.width() && wide > 0)
                    font.setPointSizeF(std::max(5.0, font.pointSizeF() * r.width() / wide * 0.98));
            }
            painter.setFont(font);
            painter.setPen(e.color);
            // Texts are never clipped: a heading longer than its box prints in full.
            int flags = int(e.alignment) | Qt::TextDontClip;
            if (e.wordWrap)
                flags |= Qt::TextWordWrap;
            painter.drawText(r, flags, text);
            break;
        }
        case Kind::Frame: frame(r, e.sides, pen(e.color, e.penMm)); break;
        case Kind::Line:
            painter.setPen(pen(e.color, e.penMm));
            if (e.rect.width() > 0)
                painter.drawLine(r.topLeft(), r.topRight());
            else
                painter.drawLine(r.topLeft(), r.bottomLeft());
            break;
        case Kind::Image:
            if (!e.image.isNull())
                painter.drawImage(r, e.image);
            break;
        case Kind::Barcode: {
            const QString code = e.field.isEmpty() ? e.text : m_rows.value(row, e.field);
            const QVector<int> widths = code128::ModuleWidths(code);
            int modules = 0;
            for (int w : widths)
                modules += w;
            if (modules == 0)
                break;
            const double module = r.width() / modules;
            double x = r.left();
            for (qsizetype i = 0; i < widths.size(); ++i) {
                const double w = widths[i] * module;
                if (i % 2 == 0)
                    painter.fillRect(QRectF(x, r.top(), w, r.height()), e.color);
                x += w;
            }
            break;
        }
        }
    }
    if (band.frameSides)
        frame(device(QRectF(0, 0, width, band.height)), band.frameSides, pen(Qt::black, band.framePenMm));
}

void Report::paintPage(QPainter &painter, const Page &page, double dotsPerMm) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Placement &p : page)
        paintBand(painter, bandFor(p), p.row, p.at, dotsPerMm);
    painter.restore();
}

bool Report::render(QPagedPaintDevice *device, double dotsPerInch) const
{
    const QVector<Page> pages = layout();
    QPainter painter;
    if (!painter.begin(device))
        return false;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device->newPage();
        paintPage(painter, pages[i], dotsPerInch / 25.4);
    }
    return painter.end();
}

void Report::savePdf(const QString &fileName, int dotsPerInch) const
{
    bool done = false;
    {
        QPdfWriter pdf(fileName);
        pdf.setResolution(dotsPerInch);
        pdf.setPageLayout(pageLayout());
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("KOVRA"));
        done = render(&pdf, dotsPerInch);
    }
    const QFileInfo written(fileName);
    if (!done || !written.exists() || written.size() == 0)
        throw KovraError(QStringLiteral("A fájl nem írható: %1").arg(fileName));
}

QImage Report::pageImage(int page, double dotsPerInch) const
{
    const QVector<Page> pages = layout();
    if (page < 0 || page >= pages.size())
        return {};
    const QSizeF paper = paperSize();
    const double dpmm = dotsPerInch / 25.4;
    QImage image(QSize(qRound(paper.width() * dpmm), qRound(paper.height() * dpmm)), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpmm * 1000));
    image.setDotsPerMeterY(qRound(dpmm * 1000));
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, pages[page], dpmm);
    return image;
}

} // namespace report
