// kovra-capture: runs the attendance capture on a file of codes stored by an offline reader.

#include "Adatmodul.h"
#include "Calendar.h"
#include "CaptureRun.h"
#include "DbError.h"
#include "IniFile.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "TextCodec.h"
#include "UserLogin.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

namespace {

enum Exit { Ok = 0, Usage = 2, LoginFailed = 3, Refused = 4, Declined = 5, DatabaseError = 6 };

class ConsoleMessages final : public MessagePresenter {
public:
    explicit ConsoleMessages(bool yes) : m_yes(yes) {}
    bool info(const QString &text) override
    {
        QTextStream(stderr) << text << '\n';
        return true;
    }
    bool confirm(const QString &text) override
    {
        QTextStream(stderr) << text << (m_yes ? " -> Igen (--yes)\n" : " -> Nem (no --yes given)\n");
        return m_yes;
    }

private:
    bool m_yes;
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
    QString ini, user, password, date, semester, lesson, codesFile;
    CaptureMode mode = CaptureMode::None;
    bool yes = false, test = false;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto next = [&](QString &v) {
            if (i + 1 >= args.size())
                return false;
            v = args[++i];
            return true;
        };
        QString m;
        if (a == u"--ini") { if (!next(ini)) return usage(); }
        else if (a == u"--user") { if (!next(user)) return usage(); }
        else if (a == u"--password") { if (!next(password)) return usage(); }
        else if (a == u"--date") { if (!next(date)) return usage(); }
        else if (a == u"--semester") { if (!next(semester)) return usage(); }
        else if (a == u"--lesson") { if (!next(lesson)) return usage(); }
        else if (a == u"--mode") {
            if (!next(m) || (m != u"0" && m != u"1")) return usage();
            mode = m == u"0" ? CaptureMode::EndOfLesson : CaptureMode::Append;
        }
        else if (a == u"--yes") yes = true;
        else if (a == u"--test") test = true;
        else if (!a.startsWith(u'-') && codesFile.isEmpty()) codesFile = a;
        else return usage();
    }
    if (ini.isEmpty() || user.isEmpty() || date.isEmpty() || semester.isEmpty() || lesson.isEmpty() || codesFile.isEmpty())
        return usage();

    bool readOk = false;
    QStringList lines = readCodes(codesFile, &readOk);
    if (!readOk) {
        err << "kovra-capture: cannot read " << codesFile << '\n';
        return Usage;
    }

    ConsoleMessages messages(yes);
    SetMessagePresenter(&messages);
    SetConfigFilePath(ini);
    Tform_Adatmodul module;
    try {
        Dataset felh(&module.ADOConn, QStringLiteral("felh"));
        switch (LoginWithConfig(IniFile(ini), test, user, password, module, felh)) {
        case LoginResult::NoConnection:
            err << "Nincs kapcsolat az adatbázissal!\n";
            return LoginFailed;
        case LoginResult::WrongUser:
            err << "A megadott névvel és jelszóval nem tudja beléptetni a rendszer!\n";
            return LoginFailed;
        case LoginResult::Ok:
            break;
        }
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
    } catch (const DbError &e) {
        out.flush();
        err << "kovra-capture: " << e.message() << '\n';
        return DatabaseError;
    }
}
