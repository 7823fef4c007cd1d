#include "CardSelection.h"

#include "Calendar.h"
#include "Crc32.h"
#include "RecordOperations.h"
#include "SqlSplice.h"

#include <QPainter>
#include <QPainterPath>

using namespace report;

QString CardSearchStatement(const CardFilter &f)
{
    QStringList sql;
    sql << QStringLiteral("Select a.hallgato_id, a.hallgato_kod, a.hallgato_nev, hallgato_oa From hallgato a Where "
                          "a.hallgato_id>0 and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Orarend y Where "
                          "x.orarend_id=y.orarend_id and y.felev_id=")
               + SqlId(f.semesterId) + QStringLiteral(" and y.kar_id=") + SqlId(f.facultyId) + QStringLiteral(") ");
    if (!f.courseId.trimmed().isEmpty())
        sql << QStringLiteral("and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Felvett_tantargy y Where "
                              "x.ft_id=y.ft_id and y.kurzus_id=")
                   + SqlId(f.courseId) + QStringLiteral(") ");
    if (!f.languageId.trimmed().isEmpty())
        sql << QStringLiteral("and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Felvett_tantargy y Where "
                              "x.ft_id=y.ft_id and y.nyelv_id=")
                   + SqlId(f.languageId) + QStringLiteral(") ");
    if (f.withoutCard)
        sql << QStringLiteral("and a.hallgato_id not in (Select x.hallgato_id From kartya x Where x.kartya_datum < getdate()) ");
    if (!f.year.isEmpty())
        sql << QStringLiteral("and a.hallgato_id in (Select x.hallgato_id From tan_hall x, felvett_tantargy y Where "
                              "x.ft_id=y.ft_id and y.evfolyam = '")
                   + SqlQuoted(f.year) + QStringLiteral("') ");
    if (!f.lessonId.trimmed().isEmpty())
        sql << QStringLiteral("and a.hallgato_id in (Select x.hallgato_id From tan_hall x Where x.orarend_id = ")
                   + SqlId(f.lessonId) + QStringLiteral(") ");
    sql << QStringLiteral("Order By hallgato_nev");
    return sql.join(QStringLiteral("\r\n"));
}

QString CardSheetStatement(const QString &searchStatement, const QStringList &studentIds)
{
    if (studentIds.isEmpty())
        return searchStatement;
    QStringList lines = searchStatement.split(u'\n');
    for (QString &l : lines)
        if (l.endsWith(u'\r'))
            l.chop(1);
    if (!lines.isEmpty())
        lines.removeLast();
    QStringList ids;
    for (const QString &id : studentIds)
        ids << SqlId(id);
    lines << QStringLiteral("and a.hallgato_id in (") + ids.join(u',') + QStringLiteral(") ")
          << QStringLiteral("Order By hallgato_nev");
    return lines.join(QStringLiteral("\r\n"));
}

int CardCheckNumber(const QString &code) { return PasswordHash(code.left(255)); }

QImage CardLogo()
{
    static const QImage logo = [] {
        QImage img(400, 400, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor navy(0, 0, 128), gold(200, 160, 40);
        // A shield with an open book and the initials.
        QPainterPath shield;
        shield.moveTo(60, 40);
        shield.lineTo(340, 40);
        shield.lineTo(340, 210);
        shield.cubicTo(340, 300, 260, 345, 200, 370);
        shield.cubicTo(140, 345, 60, 300, 60, 210);
        shield.closeSubpath();
        p.fillPath(shield, navy);
        p.setPen(QPen(gold, 12));
        p.drawPath(shield);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(110, 90), QPointF(195, 110), QPointF(195, 185), QPointF(110, 165)}));
        p.drawPolygon(QPolygonF({QPointF(290, 90), QPointF(205, 110), QPointF(205, 185), QPointF(290, 165)}));
        QFont f(QStringLiteral("Liberation Serif"));
        f.setPixelSize(110);
        f.setBold(true);
        p.setFont(f);
        p.setPen(gold);
        p.drawText(QRectF(60, 190, 280, 130), Qt::AlignCenter, QStringLiteral("DE"));
        return img;
    }();
    return logo;
}

Report CardSheetReport(Rows rows)
{
    Report r;
    r.title = QStringLiteral("Kártyák");
    r.orientation = QPageLayout::Portrait;
    r.margins = QMarginsF(10, 10, 10, 10);
    r.columns = 2;
    r.columnSpace = 0;
    r.printIfEmpty = true;

    Band &d = r.detail;
    d.name = QStringLiteral("QRBand2");
    d.width = 95.0;
    d.height = 52.9;
    d.frameSides = AllSides;

    Element logo;
    logo.kind = Kind::Image;
    logo.name = QStringLiteral("QRImage1");
    logo.rect = QRectF(2.1, 2.1, 23.5, 23.5);
    logo.image = CardLogo();
    d.add(logo);

    Element uni;
    uni.name = QStringLiteral("qrl_egyetem");
    uni.rect = QRectF(34.9, 4.2, 53.7, 6.1);
    uni.text = QStringLiteral("Dorvan Egyetem");
    uni.font = LayoutFont(QStringLiteral("Arial"), 14, true);
    uni.color = QColor(0, 0, 128);
    uni.alignment = Qt::AlignRight | Qt::AlignVCenter;
    d.add(uni);

    Element bar;
    bar.kind = Kind::Barcode;
    bar.name = QStringLiteral("QRAsBarcode1");
    bar.rect = QRectF(61.4, 14.8, 27.0, 13.2);
    d.add(bar);

    Element code;
    code.kind = Kind::Field;
    code.name = QStringLiteral("QRDBText2");
    code.field = QStringLiteral("hallgato_kod");
    code.rect = QRectF(64.0, 29.6, 24.1, 5.0);
    code.font = LayoutFont(QStringLiteral("Arial"), 11, true);
    code.color = QColor(128, 0, 0);
    code.alignment = Qt::AlignRight | Qt::AlignVCenter;
    d.add(code);

    Element check;
    check.name = QStringLiteral("QRLabel1");
    check.rect = QRectF(2.1, 29.6, 30.0, 4.5);
    check.font = LayoutFont(QStringLiteral("Arial"), 9);
    check.alignment = Qt::AlignLeft | Qt::AlignVCenter;
    d.add(check);

    Element name;
    name.kind = Kind::Field;
    name.name = QStringLiteral("QRDBText1");
    name.field = QStringLiteral("hallgato_nev");
    name.rect = QRectF(4.2, 38.1, 83.9, 13.0);
    name.font = LayoutFont(QStringLiteral("Arial"), 14, true);
    name.alignment = Qt::AlignRight | Qt::AlignTop;
    name.wordWrap = true;
    d.add(name);

    r.setRows(std::move(rows));
    // Each card: the barcode and the check number of the row's code; an empty code prints neither.
    r.beforePrint = [](const Rows &data, int row, Band &band) {
        const QString kod = data.value(row, QStringLiteral("hallgato_kod"));
        band.element(QStringLiteral("QRAsBarcode1"))->text = kod;
        band.element(QStringLiteral("QRLabel1"))->text = kod.isEmpty() ? QString() : QString::number(CardCheckNumber(kod));
    };
    return r;
}

void RecordCardIssue(const Rows &rows)
{
    const QString today = ServerNow(1);
    for (int row = 0; row < rows.count(); ++row) {
        QString id;
        InsertRecord(QStringLiteral("kartya"),
                     {QStringLiteral("hallgato_id=") + SqlId(rows.value(row, QStringLiteral("hallgato_id"))),
                      QStringLiteral("kartya_datum=") + today},
                     true, id);
    }
}
