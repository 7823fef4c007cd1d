// kovra-print: prints the attendance sheet of a lesson or the cards of a selection to a PDF file,
// with the statements and layouts of the windows.

#include "Adatmodul.h"
#include "AttendanceMatrix.h"
#include "AttendanceSheet.h"
#include "CardSelection.h"
#include "CommandLineTool.h"
#include "DbError.h"
#include "Guard.h"
#include "IniFile.h"
#include "LoginInfo.h"
#include "Messages.h"

#include <QGuiApplication>
#include <QTextStream>

namespace {

enum Exit {
    Ok = ToolExit::Ok,
    Usage = ToolExit::Usage,
    LoginFailed = ToolExit::LoginFailed,
    Refused = ToolExit::Refused,
    NothingToPrint = 5,
    DatabaseError = ToolExit::DatabaseError,
    WriteFailed = 7,
};

int usage()
{
    QTextStream(stderr)
        << "usage: kovra-print --ini FILE --user NAME --password PW [--test] sheet --semester ID --lesson ID OUT.pdf\n"
           "       kovra-print --ini FILE --user NAME --password PW [--test] cards --semester ID [--lesson ID]\n"
           "                   [--course ID] [--language ID] [--year TEXT] [--without-card] [--students ID,ID,...]\n"
           "                   [--record] OUT.pdf\n"
           "  sheet: the attendance sheet of the lesson (landscape from eight lesson dates on).\n"
           "  cards: the cards of the students the card window would list; --students prints only those of\n"
           "  them, --record records the issue of today's card for every card printed.\n"
           "exit codes: 0 printed, 2 usage, 3 login failed, 4 refused (role, lesson), 5 nothing to print,\n"
           "            6 database error, 7 the file cannot be written\n";
    return Usage;
}

bool isId(const QString &s)
{
    if (s.isEmpty() || s.size() > 18)
        return false;
    for (QChar c : s)
        if (!c.isDigit())
            return false;
    return true;
}

// The lesson's name as the lesson combos show it; empty when the faculty and semester have no such lesson.
QString lessonText(Dataset &q, const QString &semester, const QString &lesson)
{
    q.close();
    q.setSql(LessonComboStatement(LoginInfo.FacultyId, semester));
    q.open();
    const QString text = q.locate(QStringLiteral("ID"), {lesson}) ? q.fieldByName(QStringLiteral("NEV")).asString() : QString();
    q.close();
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    ToolArguments cl;
    if (!cl.parse(app.arguments().mid(1),
                  {QStringLiteral("--ini"), QStringLiteral("--user"), QStringLiteral("--password"),
                   QStringLiteral("--semester"), QStringLiteral("--lesson"), QStringLiteral("--course"),
                   QStringLiteral("--language"), QStringLiteral("--year"), QStringLiteral("--students")},
                  {QStringLiteral("--without-card"), QStringLiteral("--record"), QStringLiteral("--test")})
        || cl.positional().size() != 2)
        return usage();
    const QString ini = cl.value(QStringLiteral("--ini")), user = cl.value(QStringLiteral("--user")),
                  password = cl.value(QStringLiteral("--password")), semester = cl.value(QStringLiteral("--semester")),
                  lesson = cl.value(QStringLiteral("--lesson")), course = cl.value(QStringLiteral("--course")),
                  language = cl.value(QStringLiteral("--language")), year = cl.value(QStringLiteral("--year")),
                  students = cl.value(QStringLiteral("--students")), command = cl.positional()[0],
                  output = cl.positional()[1];
    const bool test = cl.has(QStringLiteral("--test")), withoutCard = cl.has(QStringLiteral("--without-card")),
               record = cl.has(QStringLiteral("--record")), yearGiven = cl.has(QStringLiteral("--year"));
    const bool sheet = command == u"sheet", cards = command == u"cards";
    if (ini.isEmpty() || user.isEmpty() || output.isEmpty() || (!sheet && !cards) || !isId(semester))
        return usage();
    if (sheet && (!isId(lesson) || !course.isEmpty() || !language.isEmpty() || yearGiven || !students.isEmpty()
                  || withoutCard || record))
        return usage();
    for (const QString &id : {lesson, course, language})
        if (!id.isEmpty() && !isId(id))
            return usage();
    const QStringList studentIds = students.split(u',', Qt::SkipEmptyParts);
    for (const QString &id : studentIds)
        if (!isId(id.trimmed()))
            return usage();

    ToolSession session("kovra-print", ini);
    Tform_Adatmodul &module = session.module;
    return session.run(test, user, password, out, err, [&]() -> int {
        // The main window's role table: "Listák" for every role, "Kártya" for roles 1, 2 and 4.
        const int role = LoginInfo.RoleId;
        const bool allowed = sheet ? (role >= 1 && role <= 4) : (role == 1 || role == 2 || role == 4);
        if (!allowed) {
            err << "kovra-print: the role of " << user << " may not print " << (sheet ? "attendance sheets" : "cards") << ".\n";
            return Refused;
        }
        if (LoginInfo.FacultyId.trimmed().isEmpty()) {
            err << "Nincs kiválasztva tenszék!\n";
            return Refused;
        }
        Dataset q(&module.ADOConn, QStringLiteral("keres"));
        Dataset szures(&module.ADOConn, QStringLiteral("SZURES"));
        QString lessonName;
        if (!lesson.isEmpty()) {
            lessonName = lessonText(q, semester, lesson);
            if (lessonName.isEmpty()) {
                err << "kovra-print: lesson " << lesson << " is not a lesson of the faculty in semester " << semester << ".\n";
                return Refused;
            }
        }

        report::Report printed;
        if (sheet) {
            Dataset diagnosis(&module.ADOConn, QStringLiteral("ADOQuery1"));
            MatrixBuild build = BuildMatrix(LoginInfo.FacultyId, semester, lesson, q, szures, diagnosis, q);
            if (!build.opened) {
                err << "kovra-print: the attendance matrix cannot be built. " << build.duplicateMessage << '\n';
                return DatabaseError;
            }
            if (szures.isEmpty()) {
                err << "Nincs nyomtatható adat!\n";
                return NothingToPrint;
            }
            build.facultyName = LoginInfo.FacultyName;
            build.lessonText = lessonName;
            build.semesterText = FirstValue(q, QStringLiteral("Select felev_nev From felev Where felev_id=") + semester,
                                            QStringLiteral("felev_nev"));
            if (build.truncated())
                err << "kovra-print: the lesson has " << build.dates.size() << " dates; the sheet shows the first "
                    << MatrixGridDates << ".\n";
            printed = BuildAttendanceSheet(build, build.wide(), szures, q);
        } else {
            CardFilter f;
            f.facultyId = LoginInfo.FacultyId;
            f.semesterId = semester;
            f.courseId = course;
            f.languageId = language;
            f.lessonId = lesson;
            f.year = year;
            f.withoutCard = withoutCard;
            szures.setSql(CardSheetStatement(CardSearchStatement(f), studentIds));
            szures.open();
            if (szures.isEmpty()) {
                err << "Nincs nyomtatható adat!\n";
                return NothingToPrint;
            }
            printed = CardSheetReport(report::RowsOf(szures));
        }
        try {
            printed.savePdf(output);
        } catch (const KovraError &e) {
            err << "kovra-print: " << e.message() << '\n';
            return WriteFailed;
        }
        out << output << ": " << printed.rows().count() << (sheet ? " students, " : " cards, ") << printed.pageCount()
            << " pages\n";
        if (cards && record) {
            RecordCardIssue(printed.rows());
            out << "recorded " << printed.rows().count() << " card issues\n";
        }
        return Ok;
    });
}
