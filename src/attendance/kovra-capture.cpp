// kovra-capture: runs the attendance capture on a file of codes stored by an offline reader.

#include "Adatmodul.h"
#include "Calendar.h"
#include "CaptureRun.h"
#include "CommandLineTool.h"
#include "DbError.h"
#include "IniFile.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "TextCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

namespace {

enum Exit {
    Ok = ToolExit::Ok,
    Usage = ToolExit::Usage,
    LoginFailed = ToolExit::LoginFailed,
    Refused = ToolExit::Refused,
    Declined = 5,
    DatabaseError = ToolExit::DatabaseError,
};

int usage()
{
    QTextStream(stderr)
        << "usage: kovra-capture --ini FILE --user NAME --password PW --date yyyy.MM.dd --semester ID\n"
           "                     --lesson ID [--mode 0|1] [--yes] [--test] CODES\n"
           "  CODES: a text file of student codes, one per line (UTF-8, UTF-16 with its byte-order mark, or\n"
           "  Windows-1250); control bytes in a line are ignored.\n"
           "  --mode 0: end-of-lesson reading, 1: append (late comers); without a mode an existing\n"
           "  capture of the date is kept unless --yes confirms it.\n";
    return Usage;
}

QStringList readCodes(const QString &path, bool *ok)
{
    QFile f(path);
    *ok = f.open(QIODevice::ReadOnly);
    if (!*ok)
        return {};
    QString text = DecodeUtf8OrWindows1250(f.readAll());
    // Readers under a Hungarian layout type "ö" for the digit zero.
    text.replace(u'ö', u'0').remove(u'\r');
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    ToolArguments cl;
    if (!cl.parse(app.arguments().mid(1),
                  {QStringLiteral("--ini"), QStringLiteral("--user"), QStringLiteral("--password"), QStringLiteral("--date"),
                   QStringLiteral("--semester"), QStringLiteral("--lesson"), QStringLiteral("--mode")},
                  {QStringLiteral("--yes"), QStringLiteral("--test")})
        || cl.positional().size() != 1)
        return usage();
    const QString ini = cl.value(QStringLiteral("--ini")), user = cl.value(QStringLiteral("--user")),
                  password = cl.value(QStringLiteral("--password")), date = cl.value(QStringLiteral("--date")),
                  semester = cl.value(QStringLiteral("--semester")), lesson = cl.value(QStringLiteral("--lesson")),
                  codesFile = cl.positional().first();
    const bool yes = cl.has(QStringLiteral("--yes")), test = cl.has(QStringLiteral("--test"));
    CaptureMode mode = CaptureMode::None;
    if (cl.has(QStringLiteral("--mode"))) {
        const QString m = cl.value(QStringLiteral("--mode"));
        if (m != u"0" && m != u"1")
            return usage();
        mode = m == u"0" ? CaptureMode::EndOfLesson : CaptureMode::Append;
    }
    if (ini.isEmpty() || user.isEmpty() || date.isEmpty() || semester.isEmpty() || lesson.isEmpty() || codesFile.isEmpty())
        return usage();

    bool readOk = false;
    QStringList lines = readCodes(codesFile, &readOk);
    if (!readOk) {
        err << "kovra-capture: cannot read " << codesFile << '\n';
        return Usage;
    }

    ToolSession session("kovra-capture", ini, yes);
    Tform_Adatmodul &module = session.module;
    return session.run(test, user, password, out, err, [&]() -> int {
        const QDate day = ParseDateText(date);
        if (!day.isValid()) {
            err << "Rossz dátum!\n";
            return Refused;
        }
        if (SemesterOfDate(date).isEmpty())
            err << "A dátum nem tartozik félévhez!\n";
        // Only a lesson the capture window offers for that date and semester.
        Dataset lessons(&module.ADOConn, QStringLiteral("UPDATEQuery"));
        lessons.setSql(LessonListStatement(semester, DateTextToCompact(date)));
        lessons.open();
        if (!lessons.locate(QStringLiteral("ID"), {lesson})) {
            err << "kovra-capture: lesson " << lesson << " is not offered on " << date << " in semester " << semester
                << " for this user.\n";
            return Refused;
        }
        CaptureRequest request;
        request.dateText = date;
        request.semesterId = semester;
        request.lessonId = lesson;
        request.lessonName = lessons.fieldByName(QStringLiteral("NEV")).asString();
        request.mode = mode;
        lessons.close();

        CaptureRun run(&module.ADOConn);
        CurrentTimetableWeekly = false;
        CurrentTimetableId = lesson;
        CurrentSemesterId = semester;
        Dataset keres(&module.ADOConn, QStringLiteral("keres"));
        const LessonInfo info = ReadLesson(keres, semester, lesson);
        request.makeUpAllowed = info.makeUpAllowed;
        CurrentTimetableWeekly = info.weekly;

        const CaptureOutcome outcome = run.run(request, lines);
        for (const QString &l : std::as_const(lines))
            out << l << '\n';
        switch (outcome) {
        case CaptureOutcome::Done: return Ok;
        case CaptureOutcome::Declined: return Declined;
        case CaptureOutcome::NoConnection: return DatabaseError;
        default: return Refused;
        }
    });
}
