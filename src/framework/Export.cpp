#include "Export.h"

#include "DBGrid.h"
#include "Dataset.h"
#include "FileChooser.h"
#include "Guard.h"
#include "Messages.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <xlsxwriter.h>

namespace {

QString &exportFolder()
{
    static QString f;
    return f;
}

// Restores the cursor on every way out.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

struct Workbook {
    lxw_workbook *wb = nullptr;
    ~Workbook()
    {
        if (wb)
            workbook_close(wb);
    }
};

lxw_datetime toLxw(const QDate &d, const QTime &t)
{
    lxw_datetime x{};
    x.year = d.isValid() ? d.year() : 0;
    x.month = d.isValid() ? d.month() : 0;
    x.day = d.isValid() ? d.day() : 0;
    x.hour = t.hour();
    x.min = t.minute();
    x.sec = t.second();
    return x;
}

} // namespace

void SetExportFolder(const QString &folder) { exportFolder() = folder; }

QString ExportFolder()
{
    return exportFolder().isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::TempLocation) : exportFolder();
}

QVariant SpreadsheetValue(const QString &text)
{
    static const QRegularExpression whole(QStringLiteral("^[+-]?(0|[1-9][0-9]{0,14})$"));
    static const QRegularExpression decimal(QStringLiteral("^[+-]?(0|[1-9][0-9]{0,14})[.,][0-9]+$"));
    static const QRegularExpression date(QStringLiteral("^(\\d{4})[.-](\\d{2})[.-](\\d{2})\\.?$"));
    static const QRegularExpression dateTime(
        QStringLiteral("^(\\d{4})[.-](\\d{2})[.-](\\d{2})\\.? (\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"));
    static const QRegularExpression time(QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"));
    const QString t = text.trimmed();
    if (whole.match(t).hasMatch())
        return t.toDouble();
    if (decimal.match(t).hasMatch())
        return QString(t).replace(u',', u'.').toDouble();
    if (auto m = date.match(t); m.hasMatch()) {
        const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (d.isValid() && d.year() >= 1900)
            return d;
    }
    if (auto m = dateTime.match(t); m.hasMatch()) {
        const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        const QTime tm(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
        if (d.isValid() && tm.isValid() && d.year() >= 1900)
            return QDateTime(d, tm);
    }
    if (auto m = time.match(t); m.hasMatch()) {
        const QTime tm(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (tm.isValid())
            return tm;
    }
    return text;
}

QString ExportToExcel(Dataset &query, const DBGrid *grid, const QString &message)
{
    QString path;
    {
        BusyCursor busy;
        const QDir folder(ExportFolder());
        path = folder.filePath(QStringLiteral("KOVRA_") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss_zzz"))
                               + QStringLiteral(".xlsx"));
        Workbook book;
        book.wb = workbook_new(QFile::encodeName(path).constData());
        if (!book.wb)
            throw KovraError(QStringLiteral("Az Excel fájl nem hozható létre: %1").arg(path));
        lxw_worksheet *sheet = workbook_add_worksheet(book.wb, "Munka1");
        lxw_format *dateFormat = workbook_add_format(book.wb);
        format_set_num_format(dateFormat, "yyyy.mm.dd");
        lxw_format *dateTimeFormat = workbook_add_format(book.wb);
        format_set_num_format(dateTimeFormat, "yyyy.mm.dd hh:mm:ss");
        lxw_format *timeFormat = workbook_add_format(book.wb);
        format_set_num_format(timeFormat, "hh:mm:ss");

        QVector<int> fields; // dataset column per visible grid column, -1 when the field is missing
        QVector<bool> symbols; // the column shows its stored letters as symbols
        lxw_col_t col = 0;
        for (const GridColumn &c : grid->columns()) {
            if (!c.visible)
                continue;
            if (c.titleDate.isValid()) {
                lxw_datetime d = toLxw(c.titleDate, QTime(0, 0));
                worksheet_write_datetime(sheet, 0, col++, &d, dateFormat);
            } else {
                worksheet_write_string(sheet, 0, col++, c.title.toUtf8().constData(), nullptr);
            }
            fields << query.fieldIndex(c.fieldName);
            symbols << c.symbolFont;
        }
        lxw_row_t row = 1;
        query.first();
        while (!query.eof()) {
            for (int i = 0; i < fields.size(); ++i) {
                if (fields[i] < 0)
                    continue;
                const QString text = query.field(fields[i]).asString();
                if (text.isEmpty())
                    continue;
                if (symbols[i]) { // the signs the grid draws, not the symbol font's letters
                    worksheet_write_string(sheet, row, lxw_col_t(i), WingdingsSymbol(text).toUtf8().constData(), nullptr);
                    continue;
                }
                const QVariant v = SpreadsheetValue(text);
                const auto c = lxw_col_t(i);
                switch (v.typeId()) {
                case QMetaType::Double: worksheet_write_number(sheet, row, c, v.toDouble(), nullptr); break;
                case QMetaType::QDate: {
                    lxw_datetime d = toLxw(v.toDate(), QTime(0, 0));
                    worksheet_write_datetime(sheet, row, c, &d, dateFormat);
                    break;
                }
                case QMetaType::QDateTime: {
                    lxw_datetime d = toLxw(v.toDateTime().date(), v.toDateTime().time());
                    worksheet_write_datetime(sheet, row, c, &d, dateTimeFormat);
                    break;
                }
                case QMetaType::QTime: {
                    lxw_datetime d = toLxw(QDate(), v.toTime());
                    worksheet_write_datetime(sheet, row, c, &d, timeFormat);
                    break;
                }
                default: worksheet_write_string(sheet, row, c, text.toUtf8().constData(), nullptr);
                }
            }
            ++row;
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            query.next();
        }
        const lxw_error rc = workbook_close(book.wb);
        book.wb = nullptr;
        if (rc != LXW_NO_ERROR)
            throw KovraError(QStringLiteral("Az Excel fájl nem hozható létre: %1 (%2)")
                                 .arg(path, QString::fromUtf8(lxw_strerror(rc))));
    }
    if (OpenDocument(path)) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        InfoBox(message);
    } else {
        InfoBox(QStringLiteral("A táblázat elkészült, de nincs program, amely megnyitná. A fájl helye: ") + path);
    }
    return path;
}
