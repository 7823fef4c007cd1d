#include "CaptureRun.h"

#include "Calendar.h"
#include "Connection.h"
#include "LoginInfo.h"
#include "MakeUpRules.h"
#include "Messages.h"
#include "RecordOperations.h"
#include "TextUtils.h"

#include <QRegularExpression>
#include <QThread>

namespace {
constexpr int MaxConnectionAttempts = 10;
}

QStringList CodeLinesForMatching(const QStringList &lines)
{
    QStringList out;
    out.reserve(lines.size());
    for (const QString &l : lines) {
        const QString clean = RemoveControl(l);
        if (!clean.isEmpty() || l.isEmpty())
            out << clean;
    }
    return out;
}

bool RemoveCodeLine(QStringList &lines, const QString &code, const QString &card)
{
    const QString c = AsciiUpper(code), d = AsciiUpper(card);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString l = AsciiUpper(lines.at(i));
        if (l == c || l == d) {
            lines.removeAt(i);
            return true;
        }
    }
    return false;
}

CaptureRun::CaptureRun(Connection *connection)
    : m_connection(connection), keres(connection, QStringLiteral("keres")),
      lekerdez(connection, QStringLiteral("lekerdez")), ellenor(connection, QStringLiteral("ellenor"))
{
    wait = [](int ms) { QThread::msleep(ulong(ms)); };
}

QString CaptureRun::CodeListLiteral(const QStringList &lines)
{
    QStringList quoted;
    quoted.reserve(lines.size());
    for (const QString &l : lines)
        quoted << u'\'' + SqlQuoted(l) + u'\'';
    return quoted.join(u',');
}

QString CaptureRun::StartJournalText(const CaptureRequest &request, const QStringList &lines)
{
    QString text = QStringLiteral("Jelenlét rögzítés kezdete!\r\n");
    if (request.mode == CaptureMode::EndOfLesson)
        text += QStringLiteral("Óra végi olvasás...\r\n");
    else if (request.mode == CaptureMode::Append)
        text += QStringLiteral("Hozzáírás...\r\n");
    text += request.lessonName + QStringLiteral("\r\n");
    for (const QString &l : lines)
        text += l + QStringLiteral("\r\n");
    return text;
}

void CaptureRun::writeJournal(const QString &text)
{
    QString id;
    InsertRecord(QStringLiteral("Jelentes"),
                 {QStringLiteral("kar_id=") + LoginInfo.FacultyId, QStringLiteral("felh_id=") + LoginInfo.UserId,
                  QStringLiteral("jel_datum=") + ServerNow(2), QStringLiteral("jel_szoveg=") + text},
                 false, id);
}

bool CaptureRun::checkConnection()
{
    while (!m_connection->isOpen()) {
        try {
            m_connection->close();
            m_connection->open();
        } catch (...) {
            // counted below
        }
        ++m_attempts;
        if (m_connection->isOpen())
            break;
        if (wait)
            wait(2000);
        if (m_attempts >= MaxConnectionAttempts) {
            InfoBox(QStringLiteral("Nincs kapcsolata az adatbázissal! Próbálja újra!"));
            return false;
        }
    }
    return true;
}

CaptureOutcome CaptureRun::run(const CaptureRequest &request, QStringList &lines)
{
    if (saveBackup)
        saveBackup(lines);
    const QString compact = DateTextToCompact(request.dateText);
    if (compact.trimmed().isEmpty() || !compact.contains(QRegularExpression(QStringLiteral("\\d")))) {
        InfoBox(QStringLiteral("Nincs kitöltve a dátum!"));
        return CaptureOutcome::NoDate;
    }
    if (!ParseDateText(request.dateText).isValid()) {
        InfoBox(QStringLiteral("Rossz dátum!"));
        return CaptureOutcome::NoDate;
    }
    if (request.semesterId.isEmpty()) {
        InfoBox(QStringLiteral("Nincs kiválasztva a félév!"));
        return CaptureOutcome::NoSemester;
    }
    if (request.lessonId.isEmpty()) {
        InfoBox(QStringLiteral("Nincs kiválasztva az órarend!"));
        return CaptureOutcome::NoLesson;
    }
    // A reader never sends control bytes: they are matched without them (a line of nothing else is
    // dropped); the start journal keeps the lines as read.
    const QStringList asRead = lines;
    lines = CodeLinesForMatching(lines);
    const QString codeList = CodeListLiteral(lines);
    if (lines.isEmpty()) {
        InfoBox(QStringLiteral("Nincs résztvevő hallgató!"));
        return CaptureOutcome::NoCodes;
    }
    writeJournal(StartJournalText(request, asRead));
    if (!checkConnection())
        return CaptureOutcome::NoConnection;

    const QString date = SqlQuoted(compact);
    keres.close();
    keres.clearParams();
    keres.setSql(QStringLiteral("Select COUNT(jelenlet_id) as db From jelenlet Where orarend_id=") + request.lessonId
                 + QStringLiteral("and jelenlet_datum='") + date + u'\'');
    keres.open();
    const int existing = keres.fieldByName(QStringLiteral("db")).asInteger();
    keres.close();
    if (existing > 0 && request.mode == CaptureMode::None && !CurrentTimetableWeekly
        && !ConfirmBox(QStringLiteral("Létezik az órarend adott dátumához jelenlét! Biztos hogy folytatni szeretné?"))) {
        writeJournal(QStringLiteral("Nem történt adatrögzítés."));
        return CaptureOutcome::Declined;
    }

    // Enrolled students of the lesson, with their code and card number.
    keres.setSql(QStringLiteral("Select a.hallgato_id, (Select x.hallgato_kod From hallgato x Where "
                                "x.hallgato_id=a.hallgato_id) as hallgato_kod, (Select x.hallgato_diak From hallgato x "
                                "Where x.hallgato_id=a.hallgato_id) as hallgato_diak From tan_hall a Where a.orarend_id=")
                 + request.lessonId);
    keres.open();
    struct Enrolled {
        QString id, code, card;
    };
    QVector<Enrolled> students;
    students.reserve(keres.recordCount());
    for (keres.first(); !keres.eof(); keres.next())
        students.append({keres.fieldByName(QStringLiteral("hallgato_id")).asString(),
                         keres.fieldByName(QStringLiteral("hallgato_kod")).asString(),
                         keres.fieldByName(QStringLiteral("hallgato_diak")).asString()});
    keres.close();
    for (const Enrolled &s : std::as_const(students)) {
        processStudent(request, compact, codeList, s.id, s.code, s.card, lines);
        if (progress)
            progress(lines);
    }

    if (request.makeUpAllowed) {
        MakeUpRules rules(keres, lekerdez);
        rules.processAll(lines, compact, request.semesterId, progress);
    }
    if (!lines.isEmpty()) {
        QString text = QStringLiteral("Jelenlét rögzítés vége!\r\n");
        for (const QString &l : std::as_const(lines))
            text += l + QStringLiteral("\r\n");
        writeJournal(text);
    }
    return CaptureOutcome::Done;
}

void CaptureRun::processStudent(const CaptureRequest &request, const QString &compactDate, const QString &codeList,
                                const QString &studentId, const QString &code, const QString &card, QStringList &lines)
{
    const QString date = SqlQuoted(compactDate);
    // The week-entry check and the insert or update with their audit rows as one unit: two
    // workstations reading the same lesson give the result of one run after the other.
    WriteUnit unit(m_connection);
    lekerdez.close();
    lekerdez.clearParams();
    lekerdez.setSql(QStringLiteral("Select hallgato_kod From hallgato Where hallgato_id=") + studentId
                    + QStringLiteral(" and ((hallgato_kod in (") + codeList + QStringLiteral(")) or (hallgato_diak in (")
                    + codeList + QStringLiteral(")) or (hallgato_oa in (") + codeList + QStringLiteral(")))"));
    lekerdez.open();
    const QString type = lekerdez.isEmpty() ? QStringLiteral("2") : QStringLiteral("1");
    lekerdez.close();

    lekerdez.setSql(QStringLiteral("Select jelenlet_id From jelenlet Where orarend_id=") + request.lessonId
                    + QStringLiteral(" and hallgato_id=") + studentId
                    + QStringLiteral(" and DATEDIFF(week,jelenlet_datum,'") + date + QStringLiteral("')=0"));
    lekerdez.open();
    const QString weekEntry = lekerdez.isEmpty() ? QString() : lekerdez.fieldByName(QStringLiteral("jelenlet_id")).asString();
    lekerdez.close();

    if (weekEntry.isEmpty()) {
        QString newId;
        InsertRecord(QStringLiteral("jelenlet"),
                     {QStringLiteral("jt_id=") + type, QStringLiteral("jelenlet_datum=") + compactDate,
                      QStringLiteral("orarend_id=") + request.lessonId, QStringLiteral("hallgato_id=") + studentId},
                     true, newId);
    } else {
        if (request.mode == CaptureMode::EndOfLesson || (request.mode == CaptureMode::Append && type == u"1"))
            UpdateRecord(QStringLiteral("jelenlet"), {QStringLiteral("jt_id=") + type},
                         QStringLiteral("jelenlet_datum='") + date + QStringLiteral("' and orarend_id=") + request.lessonId
                             + QStringLiteral(" and hallgato_id=") + studentId);
        if (CurrentTimetableWeekly && type == u"1")
            UpdateRecord(QStringLiteral("jelenlet"), {QStringLiteral("jt_id=1"), QStringLiteral("jelenlet_datum=") + compactDate},
                         QStringLiteral("jelenlet_id=") + weekEntry);
    }
    unit.commit();
    RemoveCodeLine(lines, code, card);
}

QString LessonListStatement(const QString &semesterId, const QString &compactDate)
{
    const QString head = QStringLiteral("Select a.orarend_id as ID, (a.orarend_nev +' - ' + dbo.orarend_kurzus(a.orarend_id)) "
                                        "as NEV, a.orarend_mettol, a.orarend_meddig From orarend a");
    const QString filter = QStringLiteral(" Where a.felev_id=") + semesterId + QStringLiteral(" and a.kar_id=")
                           + LoginInfo.FacultyId
                           + QStringLiteral("and ((a.orarend_id in (Select c.orarend_id From orarend_datum c Where "
                                            "(convert(varchar(10), c.od_datum,112)=")
                           + compactDate + QStringLiteral("))) or (a.orarend_heti=1))");
    if (!LoginInfo.TeacherId.isEmpty())
        return head + QStringLiteral(", tan_okt b") + filter + QStringLiteral(" and a.orarend_id=b.orarend_id and b.oktato_id=")
               + LoginInfo.TeacherId + QStringLiteral(" Order By NEV");
    return head + filter + QStringLiteral(" Order By NEV");
}

LessonInfo ReadLesson(Dataset &keres, const QString &semesterId, const QString &lessonId)
{
    LessonInfo info;
    keres.close();
    keres.clearParams();
    keres.setSql(QStringLiteral("Select left(orarend_mettol,5) as orarend_mettol, left(orarend_meddig,5) as orarend_meddig, "
                                "orarend_heti, orarend_potlas From orarend Where felev_id=")
                 + semesterId + QStringLiteral(" and kar_id=") + LoginInfo.FacultyId + QStringLiteral(" and orarend_id=")
                 + lessonId);
    keres.open();
    if (!keres.isEmpty()) {
        info.found = true;
        info.start = keres.fieldByName(QStringLiteral("orarend_mettol")).asString();
        info.end = keres.fieldByName(QStringLiteral("orarend_meddig")).asString();
        info.weekly = keres.fieldByName(QStringLiteral("orarend_heti")).asBoolean();
        info.makeUpAllowed = keres.fieldByName(QStringLiteral("orarend_potlas")).asInteger() > 0;
    }
    keres.close();
    return info;
}

bool RecentEndOfLessonReading(Dataset &ellenor, const QString &lessonName)
{
    ellenor.close();
    ellenor.clearParams();
    ellenor.setSql(QStringLiteral("Select felh_id, DateDiff(hour,jel_datum,getdate()) as orak From jelentes Where jel_szoveg "
                                  "like '%Óra végi olvasás...\r\n")
                   + SqlQuoted(lessonName) + QStringLiteral("%' and felh_id=") + LoginInfo.UserId
                   + QStringLiteral(" and DateDiff(day,jel_datum,getdate())=0"));
    ellenor.open();
    const bool recent = !ellenor.isEmpty() && ellenor.fieldByName(QStringLiteral("orak")).asInteger() < 2;
    ellenor.close();
    return recent;
}
