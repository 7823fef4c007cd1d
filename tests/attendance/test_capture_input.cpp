// Code files as readers and other programs leave them: byte-order marks decide the encoding, control
// bytes are no part of a code, and the journal keeps the lines as read.

#include "DataFixture.h"
#include "CaptureRun.h"
#include "MakeUpRules.h"
#include "ScriptedMessages.h"
#include "TextCodec.h"

#include "AttendanceSeed.h"

#include <QProcess>

namespace {
const QString Bin = QStringLiteral(KOVRA_BINARY_DIR);

QByteArray utf16(const QString &text, bool littleEndian)
{
    QByteArray out = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (QChar c : text) {
        const char lo = char(c.unicode() & 0xFF), hi = char(c.unicode() >> 8);
        out += littleEndian ? lo : hi;
        out += littleEndian ? hi : lo;
    }
    return out;
}

QString runProgram(const QString &program, const QStringList &args, int *code)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000))
        qFatal("%s did not finish", qPrintable(program));
    *code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
}
} // namespace

class TestCaptureInput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QString codes = QStringLiteral("ÁRVÍZ1\r\nőrség2\r\n");
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF") + codes.toUtf8() << codes;
        QTest::newRow("UTF-8") << codes.toUtf8() << codes;
        QTest::newRow("UTF-16 LE") << utf16(codes, true) << codes;
        QTest::newRow("UTF-16 BE") << utf16(codes, false) << codes;
        QTest::newRow("Windows-1250") << QByteArray("\xC1RV\xCDZ1\r\n\xF5rs\xE9g2\r\n") << codes;
        // the mark decides even where the bytes would be valid UTF-8 otherwise
        QTest::newRow("UTF-16 LE of ASCII") << utf16(QStringLiteral("AB1"), true) << QStringLiteral("AB1");
    }
    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DecodeUtf8OrWindows1250(bytes), text);
    }

    // On the class: codes with control bytes match; a line of nothing else is no code; the start
    // journal has the lines as read, NUL included.
    void controlBytesInLines()
    {
        DataFixture fx(BaseSchema() + QString::fromUtf8(AttendanceSeed), QDateTime(QDate(2024, 3, 6), QTime(10, 0)));
        LoginInfo.FacultyId = QStringLiteral("1");
        LoginInfo.UserId = QStringLiteral("7");
        ScriptedMessages boxes;
        CaptureRequest r;
        r.dateText = QStringLiteral("2024.03.06.");
        r.semesterId = QStringLiteral("1");
        r.lessonId = QStringLiteral("1");
        r.lessonName = QStringLiteral("Anatómia");
        CurrentTimetableWeekly = false;
        CurrentTimetableId = r.lessonId;
        const QStringList read{QString::fromUtf16(u"AAA111\0", 7), QString::fromUtf16(u"\x02" "1002\x03\x7f"),
                               QString::fromUtf16(u"\x01\x1b"), QString::fromUtf16(u"cc\0c333", 7)};
        QStringList lines = read;
        CaptureRun run(&fx.conn());
        QCOMPARE(run.run(r, lines), CaptureOutcome::Done);
        QVERIFY(lines.isEmpty());
        QCOMPARE(fx.rows(QStringLiteral("select hallgato_id, jt_id from jelenlet where orarend_id=1 and jelenlet_datum='20240306' "
                                        "order by hallgato_id")),
                 QStringList({"1|1", "2|1", "3|1", "4|2", "5|2"}));
        const ResultSet journal = fx.conn().query(QStringLiteral("t"), QStringLiteral("select jel_szoveg from Jelentes order by jel_id"));
        QCOMPARE(journal.rows.size(), 1); // nothing left over, no end row
        // as written by InsertRecord: the final line break trimmed
        QCOMPARE(journal.rows[0][0].toString(), CaptureRun::StartJournalText(r, read).chopped(2));
        QVERIFY(boxes.shown.isEmpty());
    }

    // kovra-capture on the demo database: a UTF-16 file (each byte order) and lines with NUL bytes.
    void kovraCaptureReadsMarkedFiles()
    {
        QTemporaryDir dir;
        int code = 0;
        const QString demo = runProgram(Bin + QStringLiteral("/src/data/kovra-demo"), {dir.path(), QStringLiteral("--today"), QStringLiteral("2024-10-09")}, &code);
        QVERIFY2(code == 0, qPrintable(demo));
        const QString ini = dir.filePath(QStringLiteral("kovra.ini"));
        auto query = [&](const QString &sql) {
            int rc = 0;
            const QString out = runProgram(Bin + QStringLiteral("/src/data/kovra-sql"), {QStringLiteral("--ini"), ini, QStringLiteral("-Q"), sql}, &rc);
            if (rc != 0)
                qFatal("kovra-sql: %s", qPrintable(out));
            QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
            return lines.mid(1, lines.size() - 2); // without header and count
        };
        const QStringList codes = query(QStringLiteral("Select top 6 h.hallgato_kod From hallgato h, tan_hall t Where h.hallgato_id=t.hallgato_id "
                                                       "and t.orarend_id=1 Order By h.hallgato_kod"));
        QCOMPARE(codes.size(), 6);
        struct Case {
            QString date;
            QByteArray bytes;
        };
        const QList<Case> cases{
            {QStringLiteral("2024.10.14"), utf16(codes[0] + QStringLiteral("\r\n") + codes[1] + QStringLiteral("\r\n"), true)},
            {QStringLiteral("2024.10.28"), utf16(codes[2] + QStringLiteral("\n") + codes[3].toLower(), false)},
            {QStringLiteral("2024.11.04"), codes[4].toUtf8() + QByteArray("\0\r\n\x01", 4) + codes[5].toUtf8() + "\x7f\r\n\x02\r\n"},
        };
        for (const Case &c : cases) {
            const QString file = dir.filePath(QStringLiteral("codes.txt"));
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(c.bytes);
            f.close();
            const QString out = runProgram(Bin + QStringLiteral("/src/attendance/kovra-capture"),
                                           {QStringLiteral("--ini"), ini, QStringLiteral("--user"), QStringLiteral("TANULMANYI"),
                                            QStringLiteral("--password"), QStringLiteral("tanulmanyi"), QStringLiteral("--date"), c.date,
                                            QStringLiteral("--semester"), QStringLiteral("2"), QStringLiteral("--lesson"), QStringLiteral("1"), file},
                                           &code);
            QVERIFY2(code == 0, qPrintable(out));
            QCOMPARE(query(QStringLiteral("Select count(*) From jelenlet Where orarend_id=1 and jt_id=1 and jelenlet_datum='")
                           + QString(c.date).remove(u'.') + u'\''),
                     QStringList{QStringLiteral("2")});
        }
    }
};

QTEST_GUILESS_MAIN(TestCaptureInput)
#include "test_capture_input.moc"
