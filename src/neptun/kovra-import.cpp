// kovra-import: the Neptun import of the subject registrations window, unattended (a nightly run).

#include "Adatmodul.h"
#include "CommandLineTool.h"
#include "DbError.h"
#include "IniFile.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "NeptunImport.h"
#include "SqlSplice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <unistd.h>

namespace {

enum Exit {
    Ok = ToolExit::Ok,
    Usage = ToolExit::Usage,
    LoginFailed = ToolExit::LoginFailed,
    Refused = ToolExit::Refused,
    NoRows = 5,
    DatabaseError = ToolExit::DatabaseError,
    NeptunFailed = 7,
};

int usage()
{
    QTextStream(stderr)
        << "usage: kovra-import --ini FILE --user NAME --password PW --faculty ID --semester ID\n"
           "                    [--subject NAME] [--timetable] [--test]\n"
           "  Imports the faculty's subject registrations of the semester from Neptun, as the window\n"
           "  \"Tantárgyjelentkezések\" does; --timetable also creates the timetable entries and dates.\n";
    return Usage;
}

// Roles whose main window offers "Jelentkezés".
bool mayImport(int role) { return role != 3 && role != 4; }

// "\r<label> n/max" on a terminal, at most every 0.2 s and at the end of a part.
class TerminalProgress {
public:
    TerminalProgress() : m_tty(isatty(STDERR_FILENO) == 1) { m_clock.start(); }
    void show(const char *label, int position, int maximum)
    {
        if (!m_tty || (position < maximum && m_clock.elapsed() < 200))
            return;
        m_clock.restart();
        QTextStream err(stderr);
        err << '\r' << label << ' ' << position << '/' << maximum;
        if (position >= maximum)
            err << '\n';
        err.flush();
    }

private:
    bool m_tty;
    QElapsedTimer m_clock;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    ToolArguments cl;
    if (!cl.parse(app.arguments().mid(1),
                  {QStringLiteral("--ini"), QStringLiteral("--user"), QStringLiteral("--password"), QStringLiteral("--faculty"),
                   QStringLiteral("--semester"), QStringLiteral("--subject")},
                  {QStringLiteral("--timetable"), QStringLiteral("--test")})
        || !cl.positional().isEmpty())
        return usage();
    const QString ini = cl.value(QStringLiteral("--ini")), user = cl.value(QStringLiteral("--user")),
                  password = cl.value(QStringLiteral("--password")), faculty = cl.value(QStringLiteral("--faculty")),
                  semester = cl.value(QStringLiteral("--semester")), subject = cl.value(QStringLiteral("--subject"));
    const bool timetable = cl.has(QStringLiteral("--timetable")), test = cl.has(QStringLiteral("--test"));
    if (ini.isEmpty() || user.isEmpty() || faculty.isEmpty() || semester.isEmpty())
        return usage();
    bool facultyOk = false, semesterOk = false;
    faculty.toInt(&facultyOk);
    semester.toInt(&semesterOk);
    if (!facultyOk || !semesterOk) {
        err << "kovra-import: --faculty and --semester take the ids (kar_id, felev_id).\n";
        return Usage;
    }

    ToolSession session("kovra-import", ini);
    Tform_Adatmodul &module = session.module;
    return session.run(test, user, password, out, err, [&]() -> int {
        if (!mayImport(LoginInfo.RoleId)) {
            err << "kovra-import: a(z) " << LoginInfo.UserName << " felhasználó szerepköre nem engedi a Neptun átvételt.\n";
            return Refused;
        }
        // Only a faculty the window would offer this user.
        Dataset q(&module.ADOConn, QStringLiteral("UPDATEQuery"));
        q.setSql(NeptunImport::FacultyListStatement());
        q.open();
        const bool offered = q.locate(QStringLiteral("ID"), {faculty});
        q.close();
        if (!offered) {
            err << "kovra-import: a(z) " << faculty << " szervezet nem választható ennek a felhasználónak.\n";
            return Refused;
        }
        q.setSql(QStringLiteral("Select felev_id From felev Where felev_id=") + SqlId(semester));
        q.open();
        const bool semesterExists = !q.isEmpty();
        q.close();
        if (!semesterExists) {
            err << "kovra-import: nincs " << semester << " azonosítójú félév.\n";
            return Refused;
        }
        NeptunImport::ChooseFaculty(q, faculty);
        CurrentSemesterId = semester;

        NeptunImportRequest request;
        request.facultyId = LoginInfo.FacultyId;
        request.facultyCode = LoginInfo.FacultyCode;
        request.semesterId = semester;
        request.semesterNeptun = NeptunImport::SemesterNeptunName(q, semester);
        request.subjectName = subject;
        request.timetable = timetable;

        NeptunImport import(&module.ADOConn);
        TerminalProgress bar;
        bool partTwo = false;
        import.messageAdded = [&out](const QString &line) { out << line << '\n'; };
        import.messagesCleared = [&partTwo, &out] {
            partTwo = true;
            out.flush();
        };
        import.progress = [&](int position, int maximum) {
            out.flush();
            bar.show(partTwo ? "Órarend" : "Jelentkezések", position, maximum);
        };
        err << "A lekérdezés folyamatban...\n";
        err.flush();
        const int rows = import.query(request);
        if (rows < 0) {
            err << "kovra-import: a Neptun lekérdezés sikertelen.\n";
            return NeptunFailed;
        }
        err << "Neptun sorok: " << rows << '\n';
        err.flush();
        switch (import.run()) {
        case NeptunImportOutcome::Done:
            out.flush();
            InfoBox(NeptunImport::DoneText);
            return Ok;
        case NeptunImportOutcome::NoRows:
            return NoRows;
        case NeptunImportOutcome::ClassInstancesFailed:
            out.flush();
            err << "kovra-import: az órák Neptun lekérdezése sikertelen; az órarendi átvétel félbemaradt.\n";
            return NeptunFailed;
        }
        return Ok;
    });
}
