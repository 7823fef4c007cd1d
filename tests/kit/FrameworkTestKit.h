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
