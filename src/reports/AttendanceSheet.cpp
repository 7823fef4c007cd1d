#include "AttendanceSheet.h"

#include "Dataset.h"
#include "SqlSplice.h"

using namespace report;

QString SheetStatement(const QString &matrixStatement)
{
    QString sql = matrixStatement;
    sql.replace(QStringLiteral("jt_jel"), QStringLiteral("jt_mas"));
    return sql;
}

QString SheetDateHeading(const QString &columnTitle) { return columnTitle.mid(0, 2) + u' ' + columnTitle.mid(3, 2); }

SheetHeader ReadSheetHeader(Dataset &keres, const MatrixBuild &build)
{
    SheetHeader h;
    h.faculty = build.facultyName;
    h.lesson = build.lessonText;
    h.semester = build.semesterText;
    for (const QString &t : build.titles())
        h.dateHeadings << SheetDateHeading(t);
    const QString lesson = SqlId(build.lessonId);
    keres.close();
    keres.clearParams();
    keres.setSql(QStringLiteral("Select left(a.orarend_mettol,5) as orarend_mettol, left(a.orarend_meddig,5) as "
                                "orarend_meddig, a.orarend_nev From orarend a Where a.orarend_id=")
                 + lesson);
    keres.open();
    if (!keres.isEmpty())
        h.time = keres.fieldByName(QStringLiteral("orarend_mettol")).asString() + QStringLiteral(" - ")
                 + keres.fieldByName(QStringLiteral("orarend_meddig")).asString();
    keres.close();
    keres.setSql(QStringLiteral("Select a.oktato_nev From oktato a, tan_okt b Where a.oktato_id=b.oktato_id and "
                                "b.orarend_id=")
                 + lesson);
    keres.open();
    for (keres.first(); !keres.eof(); keres.next())
        h.teachers += keres.fieldByName(QStringLiteral("oktato_nev")).asString() + QStringLiteral(" - ");
    keres.close();
    return h;
}

namespace {

Element text(const QString &name, const QRectF &rect, const QString &value, const QFont &font,
             Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter, const QColor &color = Qt::black)
{
    Element e;
    e.kind = Kind::Text;
    e.name = name;
    e.rect = rect;
    e.text = value;
    e.font = font;
    e.alignment = alignment;
    e.color = color;
    return e;
}

Element field(const QString &name, const QRectF &rect, const QString &fieldName, const QFont &font, Qt::Alignment alignment)
{
    Element e = text(name, rect, {}, font, alignment);
    e.kind = Kind::Field;
    e.field = fieldName;
    return e;
}

Element box(const QRectF &rect)
{
    Element e;
    e.kind = Kind::Frame;
    e.rect = rect;
    e.penMm = 0.25;
    return e;
}

} // namespace

Report AttendanceSheetReport(bool wide, const SheetHeader &header, Rows rows, const QDateTime &printed)
{
    Report r;
    r.title = QStringLiteral("Jelenléti lista");
    r.orientation = wide ? QPageLayout::Landscape : QPageLayout::Portrait;
    r.margins = QMarginsF(10, 10, 10, 10);
    r.columns = 1;
    const double width = wide ? 276.9 : 189.8;
    const double nameWidth = wide ? 88.0 : 79.2;
    const double firstBox = wide ? 94.8 : 86.0;
    const double pitch = wide ? 8.6 : 8.4;
    const double totalAt = wide ? 215.6 : 145.1;
    const int boxes = wide ? 14 : 7;
    const double half = width / 2;

    const QFont title = LayoutFont(QStringLiteral("Arial"), 12, true);
    const QColor silver(192, 192, 192);
    Band &h = r.pageHeader;
    h.name = QStringLiteral("PageHeader");
    h.height = 36.8;
    h.width = width;
    h.frameSides = Top | Bottom;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter, right = Qt::AlignRight | Qt::AlignVCenter;
    h.add(text(QStringLiteral("qrl_fejlec"), QRectF(0, 1.5, half, 6), QStringLiteral("Dorvan Egyetem"), title));
    h.add(text(QStringLiteral("QRLabel1"), QRectF(half, 1.5, half, 6), QStringLiteral("Jelenléti lista"), title, right));
    h.add(text(QStringLiteral("qrl_oktato"), QRectF(0, 8.5, half, 6), header.faculty, title, left, silver));
    h.add(text(QStringLiteral("qrl_orarend"), QRectF(half, 8.5, half, 6), header.lesson, title, right, silver));
    h.add(text(QStringLiteral("qrl_felev"), QRectF(0, 15.5, half, 6), header.semester, title, left, silver));
    h.add(text(QStringLiteral("qrl_idopont"), QRectF(half, 15.5, half, 6), header.time, title, right, silver));
    h.add(text(QStringLiteral("qrl_tanar"), QRectF(0, 22.5, width, 6), header.teachers, title, left, silver));
    const QFont heading = LayoutFont(QStringLiteral("Tahoma"), 10, true);
    const QFont small = LayoutFont(QStringLiteral("Tahoma"), 7, true);
    h.add(text(QStringLiteral("qr_nap2"), QRectF(0, 30.5, nameWidth, 5.5), QStringLiteral("Név"), heading));
    // Over the boxes; a substitute for Tahoma wider than its box prints a little smaller.
    for (int k = 1; k <= boxes; ++k) {
        Element date = text(QStringLiteral("qrl_dat") + QString::number(k), QRectF(firstBox + (k - 1) * pitch, 31.5, 6.4, 4.5),
                            header.dateHeadings.value(k - 1), small, Qt::AlignCenter);
        date.shrinkToFit = true;
        h.add(date);
    }
    h.add(text(wide ? QStringLiteral("QRLabel2") : QStringLiteral("qrl_dat8"), QRectF(totalAt, 31.5, 13.9, 4.5),
               QStringLiteral("összesen"), small, Qt::AlignCenter));

    const QFont plain = LayoutFont(QStringLiteral("Arial"), 10);
    Band &d = r.detail;
    d.name = QStringLiteral("Detail");
    d.height = 6.8;
    d.width = width;
    Element name = field(QStringLiteral("hallgato_nev"), QRectF(0, 0.2, nameWidth, 6.4), QStringLiteral("hallgato_nev"), plain, left);
    name.shrinkToFit = true;
    d.add(name);
    for (int k = 1; k <= boxes; ++k) {
        const QRectF sq(firstBox + (k - 1) * pitch, 0.2, 6.4, 6.4);
        d.add(box(sq));
        d.add(field(QStringLiteral("QRDBText") + QString::number(k), sq, QString::number(k), plain, Qt::AlignCenter));
    }
    const QRectF total(totalAt, 0.2, 13.9, 6.4);
    d.add(box(total));
    d.add(field(QStringLiteral("ossz"), total.adjusted(0, 0, -1.0, 0), QStringLiteral("ossz"),
                LayoutFont(QStringLiteral("Arial"), 10, true), right));

    Band &f = r.pageFooter;
    f.name = QStringLiteral("PageFooter");
    f.height = 8.2;
    f.width = width;
    f.frameSides = Top;
    f.add(text(QStringLiteral("QRSysData1"), QRectF(0, 1.5, 80, 5), printed.toString(QStringLiteral("yyyy.MM.dd hh:mm:ss")),
               LayoutFont(QStringLiteral("Arial"), 8)));

    r.setRows(std::move(rows));
    return r;
}

Report BuildAttendanceSheet(const MatrixBuild &build, bool wide, Dataset &szures, Dataset &keres)
{
    const SheetHeader header = ReadSheetHeader(keres, build);
    szures.close();
    szures.clearParams();
    szures.setSql(SheetStatement(build.statement));
    szures.open();
    Rows rows = RowsOf(szures);
    return AttendanceSheetReport(wide, header, std::move(rows));
}
