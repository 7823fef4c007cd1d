#pragma once
// Helpers of the window tests: scripted file dialogs, a reader for the .xlsx files the export
// writes (a zip of XML parts, inflated with zlib), modal-window driving, file reading.

#include "FileChooser.h"
#include "Guard.h"
#include "ComboDriver.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QQueue>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>
#include <QWidget>
#include <functional>
#include <zlib.h>

// Answers the file dialogs from queues; an empty queue answers "cancelled".
class ScriptedFileChooser final : public FileChooser {
public:
    ScriptedFileChooser() : m_previous(SetFileChooser(this)) {}
    ~ScriptedFileChooser() override { SetFileChooser(m_previous); }
    QString saveFileName(QWidget *, const QString &filter) override
    {
        filters << filter;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }
    QString openFileName(QWidget *, const QString &filter) override
    {
        filters << filter;
        return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
    }
    QQueue<QString> saveAnswers, openAnswers;
    QStringList filters;

private:
    FileChooser *m_previous;
};

// Records what reaches the program's error handling.
class RecordedErrors {
public:
    RecordedErrors()
        : m_previous(SetExceptionHandler([this](std::exception_ptr e) { texts << ExceptionText(e); }))
    {
    }
    ~RecordedErrors() { SetExceptionHandler(m_previous); }
    QStringList texts;

private:
    ExceptionHandler m_previous;
};

// The statements of a recorded list that change data: those that are no Select.
inline QStringList WritesOf(const QStringList &statements)
{
    QStringList w;
    for (const QString &s : statements)
        if (!s.startsWith(QLatin1String("Select"), Qt::CaseInsensitive))
            w << s;
    return w;
}

inline QByteArray ReadFileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs action on the next modal window once it is up (from inside its event loop).
inline void WhenModalShown(std::function<void(QWidget *modal)> action)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        if (QWidget *m = QApplication::activeModalWidget(); m && m->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(m);
        }
    });
    timer->start();
}

// The entries of a zip file by name, inflated.
inline QHash<QString, QByteArray> UnzipAll(const QByteArray &zip)
{
    QHash<QString, QByteArray> out;
    auto u16 = [&](qsizetype at) { return quint16(uchar(zip[at]) | uchar(zip[at + 1]) << 8); };
    auto u32 = [&](qsizetype at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    const qsizetype eocd = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (eocd < 0)
        return out;
    const int entries = u16(eocd + 10);
    qsizetype at = u32(eocd + 16);
    for (int i = 0; i < entries && zip.mid(at, 4) == QByteArray("PK\x01\x02", 4); ++i) {
        const int method = u16(at + 10);
        const quint32 packed = u32(at + 20), size = u32(at + 24);
        const int nameLen = u16(at + 28), extraLen = u16(at + 30), commentLen = u16(at + 32);
        const quint32 local = u32(at + 42);
        const QString name = QString::fromUtf8(zip.mid(at + 46, nameLen));
        const qsizetype data = local + 30 + u16(local + 26) + u16(local + 28);
        QByteArray bytes = zip.mid(data, packed);
        if (method == 8) {
            QByteArray plain(qsizetype(size), '\0');
            z_stream z{};
            inflateInit2(&z, -MAX_WBITS);
            z.next_in = reinterpret_cast<Bytef *>(bytes.data());
            z.avail_in = uInt(bytes.size());
            z.next_out = reinterpret_cast<Bytef *>(plain.data());
            z.avail_out = uInt(plain.size());
            inflate(&z, Z_FINISH);
            inflateEnd(&z);
            bytes = plain;
        }
        out.insert(name, bytes);
        at += 46 + nameLen + extraLen + commentLen;
    }
    return out;
}

// A cell of a written sheet: its type ("s" shared string, empty for a number), its style index,
// the number format code of that style, and its value (shared strings resolved).
struct Cell {
    QString type, style, value, format;
};

// The first sheet's cells of an .xlsx by reference ("A1"); rows gets the number of rows.
inline QHash<QString, Cell> ReadSheet(const QString &xlsx, int *rows = nullptr)
{
    const auto parts = UnzipAll(ReadFileBytes(xlsx));
    QStringList shared;
    QXmlStreamReader ss(parts.value(QStringLiteral("xl/sharedStrings.xml")));
    while (!ss.atEnd())
        if (ss.readNext() == QXmlStreamReader::StartElement && ss.name() == u"t")
            shared << ss.readElementText();
    QHash<QString, QString> formatCodes; // numFmtId -> code
    QStringList styleFormats;           // cell style index -> numFmtId
    QXmlStreamReader st(parts.value(QStringLiteral("xl/styles.xml")));
    bool inCellXfs = false;
    while (!st.atEnd()) {
        st.readNext();
        if (st.isStartElement() && st.name() == u"numFmt")
            formatCodes.insert(st.attributes().value(QLatin1String("numFmtId")).toString(),
                               st.attributes().value(QLatin1String("formatCode")).toString());
        else if (st.name() == u"cellXfs")
            inCellXfs = st.isStartElement();
        else if (inCellXfs && st.isStartElement() && st.name() == u"xf")
            styleFormats << st.attributes().value(QLatin1String("numFmtId")).toString();
    }
    QHash<QString, Cell> cells;
    QXmlStreamReader x(parts.value(QStringLiteral("xl/worksheets/sheet1.xml")));
    QString ref;
    int rowCount = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement())
            continue;
        if (x.name() == u"row")
            ++rowCount;
        if (x.name() == u"c") {
            ref = x.attributes().value(QLatin1String("r")).toString();
            const QString style = x.attributes().value(QLatin1String("s")).toString();
            cells[ref] = Cell{x.attributes().value(QLatin1String("t")).toString(), style, QString(),
                              formatCodes.value(styleFormats.value(style.toInt()))};
        } else if (x.name() == u"v") {
            QString v = x.readElementText();
            if (cells[ref].type == u"s")
                v = shared.value(v.toInt());
            cells[ref].value = v;
        }
    }
    if (rows)
        *rows = rowCount;
    return cells;
}
