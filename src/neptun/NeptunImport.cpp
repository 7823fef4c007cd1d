#include "NeptunImport.h"

#include "Calendar.h"
#include "Connection.h"
#include "DbError.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "RecordOperations.h"
#include "SqlSplice.h"

const QString NeptunImport::DoneText = QStringLiteral("Az átvétel megtörtént!");

namespace {

const QString FailedText = QStringLiteral("A művelet végrehajtása sikertelen! Próbálja újra!");

QString dictionaryName(const QString &column)
{
    return QStringLiteral("(SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = ") + column + u')';
}

// A text inside an Oracle literal; NeptunQuery doubles the quotes once more for the pass-through.
QString oracleText(const QString &text) { return SqlQuoted(text); }

// yyyymmdd from the date part of a date-time text ("yyyy.MM.dd …" or "yyyy-MM-dd …").
QString compactDate(const QString &dateTime)
{
    QString d = dateTime.left(10);
    d.remove(u'.').remove(u'-');
    return d;
}

// The time of a date-time text: the six characters from the eleventh, the blank dropped.
QString timeOf(const QString &dateTime) { return dateTime.mid(10, 6).trimmed(); }

} // namespace

NeptunImport::NeptunImport(Connection *connection, Dataset *rows)
    : m_connection(connection), m_ownRows(connection, QStringLiteral("SZURES")), tabla(connection, QStringLiteral("tabla")),
      keres(connection, QStringLiteral("keres")), orak(connection, QStringLiteral("orak")),
      tutors(connection, QStringLiteral("UPDATEQuery")), m_rows(rows ? rows : &m_ownRows)
{
}

QString NeptunImport::RowStatement(const QString &facultyCode, const QString &semesterNeptun, const QString &subjectName)
{
    QString sql = QStringLiteral("SELECT t100.C_CODE AS \"Tárgykód\", t100.C_NAME AS \"Tárgynév\", t151.C_NEPTUNCODE AS NEPTUN_KOD, "
                                 "t150.C_PRINTNAME AS \"Hallgató\", t152.C_OMSIDENTIFIER AS \"Oktatási azonosító\", "
                                 "(Select x.C_SERIALNUMBER From T_SCCARD x Where x.C_STUDENTID=t152.ID AND x.C_STATUS in "
                                 "(56003,56012) and ROWNUM=1) AS \"Diák\", t130.C_CODE AS \"Modulkód\", ")
                  + dictionaryName(QStringLiteral("t110.C_TERM")) + QStringLiteral(" AS \"Félév\", ")
                  + dictionaryName(QStringLiteral("t110.C_STATUS")) + QStringLiteral(" AS \"Státusz\", t170.C_CODE AS \"Kurzuskód\", ")
                  + dictionaryName(QStringLiteral("t170.C_COURSETYPE")) + QStringLiteral(" AS \"KurzusTípus\", t170.ID AS \"KurzusID\", ")
                  + dictionaryName(QStringLiteral("t170.C_LANGUAGE"))
                  + QStringLiteral(" AS \"Nyelv\" FROM T_INDEXLINE t120, T_SUBJECT t100, T_ORGANIZATION t140, "
                                   "T_INTERIORORGANIZATION t141, T_STUDENTTRAININGTERMDATA t110, T_STUDENTTRAINING t160, "
                                   "T_PARTNER t150, T_USER t151, T_STUDENT t152, T_MODULE t130, T_TRAINING t131, "
                                   "T_COURSESTUDENT t180, T_COURSE t170 WHERE t100.C_INTERIORORGANIZATIONID = t141.ID AND "
                                   "t110.C_STUDENTTRAININGID = t160.ID AND t120.C_SUBJECTID = t100.ID AND "
                                   "t120.C_STUDENTTRAININGTERMDATAID = t110.ID AND t120.ID = t180.C_INDEXLINEID AND "
                                   "t130.ID=t131.ID AND t140.ID=t141.ID AND t150.ID=t151.ID AND t151.ID=t152.ID AND "
                                   "t160.C_STUDENTID = t152.ID AND t160.C_TRAININGID = t131.ID AND t180.C_COURSEID = t170.ID AND "
                                   "(to_date(to_char(t120.C_SIGNOUTDATE, 'YYYY.MM.DD HH24:MI'), 'YYYY.MM.DD HH24:MI') IS NULL) AND "
                                   "(t140.C_CODE = '")
                  + oracleText(facultyCode)
                  + QStringLiteral("') AND (to_date(to_char(t180.C_SIGNOUTDATE, 'YYYY.MM.DD HH24:MI'), 'YYYY.MM.DD HH24:MI') IS NULL) ");
    if (!semesterNeptun.isEmpty())
        sql += QStringLiteral("AND ") + dictionaryName(QStringLiteral("t110.C_TERM")) + QStringLiteral(" = '")
               + oracleText(semesterNeptun) + QStringLiteral("' ");
    if (!subjectName.isEmpty())
        sql += QStringLiteral("AND t100.C_NAME = '") + oracleText(subjectName) + QStringLiteral("' ");
    sql += QStringLiteral("ORDER BY \"Modulkód\", \"Tárgykód\", \"Kurzuskód\", NEPTUN_KOD");
    return sql;
}

QString NeptunImport::TeachersStatement(const QString &courseId)
{
    return QStringLiteral("SELECT t271.C_NEPTUNCODE, t270.C_PRINTNAME FROM T_CourseTutor t28, T_PARTNER t270, T_USER t271, "
                          "T_EMPLOYEE t272 WHERE t28.C_COURSEID=")
           + SqlId(courseId) + QStringLiteral(" AND t28.C_EMPLOYEEID=t272.ID AND t270.ID=t271.ID AND t271.ID=t272.ID");
}

QString NeptunImport::ClassInstancesStatement(const QString &semesterNeptun, const QString &subjectCode,
                                              const QString &courseName)
{
    return QStringLiteral("SELECT t110.C_CODE AS kurzus, t100.C_CORRECTFROMDATE AS datumtol, t100.C_CORRECTTODATE AS datumig, ")
           + dictionaryName(QStringLiteral("t110.C_COURSETYPE"))
           + QStringLiteral(" AS Kurzustipus FROM T_CLASSINSTANCE t100, T_COURSE t110, T_SUBJECT t120 WHERE "
                            "t100.C_COURSEID = t110.ID AND t110.C_SUBJECTID = t120.ID AND ")
           + dictionaryName(QStringLiteral("t110.C_TERM")) + QStringLiteral(" = '") + oracleText(semesterNeptun)
           + QStringLiteral("' AND (t120.C_CODE = '") + oracleText(subjectCode) + QStringLiteral("') AND (t110.C_CODE = '")
           + oracleText(courseName) + QStringLiteral("')");
}

QString NeptunImport::FacultyListStatement()
{
    if (LoginInfo.RoleId == 1)
        return QStringLiteral("Select kar_id as ID, kar_nev as NEV From kar Where kar_aktiv=1 Order By NEV");
    return QStringLiteral("Select kar_id as ID, kar_nev as NEV From kar Where kar_aktiv=1 and kar_id=") + SqlId(LoginInfo.FacultyId)
           + QStringLiteral(" Order By NEV");
}

void NeptunImport::ChooseFaculty(Dataset &q, const QString &facultyId)
{
    q.close();
    q.clearParams();
    q.setSql(QStringLiteral("Select kar_kod, kar_nev From kar Where kar_id=") + SqlId(facultyId));
    q.open();
    LoginInfo.FacultyId = facultyId;
    LoginInfo.FacultyCode = q.isEmpty() ? QString() : q.fieldByName(QStringLiteral("kar_kod")).asString();
    LoginInfo.FacultyName = q.isEmpty() ? QString() : q.fieldByName(QStringLiteral("kar_nev")).asString();
    q.close();
}

QString NeptunImport::SemesterNeptunName(Dataset &q, const QString &semesterId)
{
    return FirstValue(q, QStringLiteral("Select felev_neptun From felev Where felev_id=") + SqlId(semesterId),
                      QStringLiteral("felev_neptun"));
}

QString NeptunImport::YearOfSubjectCode(const QString &code)
{
    return code.size() >= 2 ? QString(code.at(code.size() - 2)) : QString();
}

int NeptunImport::query(const NeptunImportRequest &request)
{
    m_queried = false;
    m_rows->close();
    if (request.semesterId.trimmed().isEmpty()) {
        InfoBox(QStringLiteral("A félév megadása kötelező!"));
        return -1;
    }
    try {
        NeptunQuery(*m_rows, RowStatement(request.facultyCode, request.semesterNeptun, request.subjectName), QString());
    } catch (const DbError &) {
        m_rows->close();
        InfoBox(FailedText);
        return -1;
    }
    m_request = request;
    m_queried = true;
    return m_rows->recordCount();
}

void NeptunImport::addMessage(const QString &line)
{
    m_messages << line;
    if (messageAdded)
        messageAdded(line);
}

QString NeptunImport::lookup(QHash<QString, QString> &found, const QString &key, const QString &sql, const QString &column)
{
    if (const auto it = found.constFind(key); it != found.cend())
        return *it;
    const QString id = FirstValue(keres, sql, column);
    if (!id.isEmpty())
        found.insert(key, id);
    return id;
}

const QVector<NeptunImport::Tutor> &NeptunImport::tutorsOf(const QString &courseId)
{
    auto it = m_tutors.find(courseId);
    if (it != m_tutors.end())
        return *it;
    QVector<Tutor> list;
    try {
        NeptunQuery(tutors, TeachersStatement(courseId), QString());
        for (int r = 0; r < tutors.recordCount(); ++r)
            list.append({tutors.text(r, 0), tutors.text(r, 1)});
    } catch (const DbError &) {
        // The row gets no teacher assignment.
    }
    tutors.close();
    return *m_tutors.insert(courseId, list);
}

NeptunImportOutcome NeptunImport::run()
{
    m_messages.clear();
    m_journal.clear();
    m_tutors.clear();
    for (QHash<QString, QString> *found : {&m_subjects, &m_languages, &m_courses, &m_forms, &m_teachers})
        found->clear();
    if (!hasRows()) {
        InfoBox(QStringLiteral("Nincs átvehető Neptun adat!"));
        return NeptunImportOutcome::NoRows;
    }
    Dataset &rows = *m_rows;
    const auto column = [&rows](const char *name) {
        const int i = rows.fieldIndex(QString::fromUtf8(name));
        if (i < 0)
            throw DbError(QStringLiteral("A Neptun adatokból hiányzik a(z) %1 oszlop.").arg(QString::fromUtf8(name)));
        return i;
    };
    c_subjectCode = column("Tárgykód");
    c_subjectName = column("Tárgynév");
    c_code = column("NEPTUN_KOD");
    c_name = column("Hallgató");
    c_education = column("Oktatási azonosító");
    c_card = column("Diák");
    c_courseCode = column("Kurzuskód");
    c_form = column("KurzusTípus");
    c_courseId = column("KurzusID");
    c_language = column("Nyelv");

    const int count = rows.recordCount();
    for (int r = 0; r < count; ++r) {
        if (progress)
            progress(r + 1, count);
        importRow(r);
    }
    if (progress)
        progress(count, count);

    m_journal = m_messages.join(QStringLiteral("\r\n"));
    QString journalId;
    InsertRecord(QStringLiteral("Jelentes"),
                 {QStringLiteral("kar_id=") + m_request.facultyId, QStringLiteral("felh_id=") + LoginInfo.UserId,
                  QStringLiteral("jel_datum=") + ServerNow(2), QStringLiteral("jel_szoveg=") + m_journal},
                 false, journalId);

    if (m_request.timetable && !importTimetable())
        return NeptunImportOutcome::ClassInstancesFailed;
    return NeptunImportOutcome::Done;
}

void NeptunImport::importRow(int r)
{
    Dataset &rows = *m_rows;
    const QString code = rows.text(r, c_code), name = rows.text(r, c_name), card = rows.text(r, c_card);
    const QString subjectCode = rows.text(r, c_subjectCode), subjectName = rows.text(r, c_subjectName);
    const QString courseCode = rows.text(r, c_courseCode), form = rows.text(r, c_form);
    const QString language = rows.text(r, c_language), courseId = rows.text(r, c_courseId);
    const QString &faculty = m_request.facultyId, &semester = m_request.semesterId;
    // Every id belongs to this row: empty until this row found or stored it.
    QString studentId, subjectId, languageId, kurzusId, formId, offeringId;

    // Student.
    keres.close();
    keres.clearParams();
    keres.setSql(QStringLiteral("Select hallgato_id, hallgato_nev, hallgato_diak From hallgato Where hallgato_kod='")
                 + SqlQuoted(code) + u'\'');
    keres.open();
    if (keres.isEmpty()) {
        keres.close();
        try {
            QString id;
            InsertRecord(QStringLiteral("hallgato"),
                         {QStringLiteral("hallgato_kod=") + code, QStringLiteral("hallgato_nev=") + name,
                          QStringLiteral("hallgato_diak=") + card,
                          QStringLiteral("hallgato_oa=") + rows.text(r, c_education)},
                         true, id);
            studentId = id;
            addMessage(QStringLiteral("Hallgató rögzítésre került: ") + code);
        } catch (const DbError &) {
            InfoBox(QStringLiteral("Hiba: ") + name + QStringLiteral(" (hallgató)"));
        }
    } else {
        studentId = keres.fieldByName(QStringLiteral("hallgato_id")).asString();
        const QString storedName = keres.fieldByName(QStringLiteral("hallgato_nev")).asString();
        const QString storedCard = keres.fieldByName(QStringLiteral("hallgato_diak")).asString();
        keres.close();
        if (storedName != name)
            UpdateRecord(QStringLiteral("hallgato"), {QStringLiteral("hallgato_nev=") + name},
                         QStringLiteral("hallgato_id=") + SqlId(studentId));
        if (storedCard != card)
            UpdateRecord(QStringLiteral("hallgato"), {QStringLiteral("hallgato_diak=") + card},
                         QStringLiteral("hallgato_id=") + SqlId(studentId));
    }

    // Subject.
    subjectId = lookup(m_subjects, subjectCode, QStringLiteral("Select tantargy_id From tantargy Where tantargy_kod='") + SqlQuoted(subjectCode) + u'\'',
                       QStringLiteral("tantargy_id"));
    if (subjectId.isEmpty()) {
        const QString title = subjectName + QStringLiteral(" (") + subjectCode + u')';
        try {
            QString id;
            InsertRecord(QStringLiteral("tantargy"),
                         {QStringLiteral("tantargy_kod=") + subjectCode, QStringLiteral("tantargy_nev=") + title}, true, id);
            subjectId = id;
            addMessage(QStringLiteral("Új tantárgy sor került a rendszerbe: ") + title);
        } catch (const DbError &) {
            InfoBox(QStringLiteral("Hiba: ") + name + QStringLiteral(" (tantargy)") + title);
        }
    }

    // Language (no message).
    languageId = lookup(m_languages, language, QStringLiteral("Select nyelv_id From nyelv Where nyelv_nev='") + SqlQuoted(language) + u'\'',
                        QStringLiteral("nyelv_id"));
    if (languageId.isEmpty()) {
        QString id;
        InsertRecord(QStringLiteral("nyelv"), {QStringLiteral("nyelv_nev=") + language}, true, id);
        languageId = id;
    }

    // Course: stored under the first five characters of its code, the whole code as its name.
    kurzusId = lookup(m_courses, courseCode, QStringLiteral("Select kurzus_id From kurzus Where kurzus_kod='") + SqlQuoted(courseCode) + u'\'',
                      QStringLiteral("kurzus_id"));
    if (kurzusId.isEmpty()) {
        try {
            QString id;
            InsertRecord(QStringLiteral("kurzus"),
                         {QStringLiteral("kurzus_kod=") + courseCode.left(5), QStringLiteral("kurzus_nev=") + courseCode},
                         true, id);
            kurzusId = id;
            addMessage(QStringLiteral("Új kurzus sor került a rendszerbe: ") + courseCode);
        } catch (const DbError &) {
            InfoBox(QStringLiteral("Hiba: ") + name + QStringLiteral(" (kurzus)"));
        }
    }

    // Lesson form.
    formId = lookup(m_forms, form, QStringLiteral("Select tof_id From tanora_forma Where tof_nev='") + SqlQuoted(form) + u'\'',
                    QStringLiteral("tof_id"));
    if (formId.isEmpty()) {
        try {
            QString id;
            InsertRecord(QStringLiteral("tanora_forma"), {QStringLiteral("tof_nev=") + form}, true, id);
            formId = id;
            addMessage(QStringLiteral("Új tanóraforma sor került a rendszerbe: ") + form);
        } catch (const DbError &) {
            InfoBox(QStringLiteral("Hiba: ") + name + QStringLiteral(" (tanóra forma)"));
        }
    }

    // Subject offering: needs the faculty, subject, course and lesson form of this row.
    QStringList missing;
    if (faculty.trimmed().isEmpty())
        missing << QStringLiteral("szervezet");
    if (subjectId.isEmpty())
        missing << QStringLiteral("tantárgy");
    if (kurzusId.isEmpty())
        missing << QStringLiteral("kurzus");
    if (formId.isEmpty())
        missing << QStringLiteral("tanóraforma");
    const QString rowText = code + u' ' + subjectName + QStringLiteral(" (") + subjectCode + QStringLiteral(") ") + courseCode;
    if (!missing.isEmpty()) {
        addMessage(QStringLiteral("Kimaradt (hiányzik: ") + missing.join(QStringLiteral(", ")) + QStringLiteral("): ") + rowText);
        return;
    }
    QStringList fields{QStringLiteral("kar_id=") + faculty,         QStringLiteral("tof_id=") + formId,
                       QStringLiteral("tantargy_id=") + subjectId,  QStringLiteral("kurzus_id=") + kurzusId,
                       QStringLiteral("felev_id=") + semester,      QStringLiteral("nyelv_id=") + languageId,
                       QStringLiteral("evfolyam=") + YearOfSubjectCode(subjectCode)};
    {
        QString id;
        try {
            InsertRecord(QStringLiteral("felvett_tantargy"), fields, true, id);
        } catch (const DbError &) {
            fields.removeLast();
            id.clear();
            InsertRecord(QStringLiteral("felvett_tantargy"), fields, true, id);
        }
        offeringId = id;
    }
    CurrentOfferingId = offeringId;

    // Enrolment.
    if (studentId.isEmpty()) {
        addMessage(QStringLiteral("Kimaradt (hiányzik: hallgató): ") + rowText);
    } else {
        QString id;
        InsertRecord(QStringLiteral("Tan_Hall"),
                     {QStringLiteral("hallgato_id=") + studentId, QStringLiteral("ft_id=") + offeringId}, true, id);
        CurrentStudentId = studentId;
    }

    // Teachers of the course.
    for (const Tutor &t : tutorsOf(courseId)) {
        QString teacherId = lookup(m_teachers, t.code, QStringLiteral("Select oktato_id From oktato Where oktato_kod='") + SqlQuoted(t.code) + u'\'',
                                   QStringLiteral("oktato_id"));
        if (teacherId.isEmpty()) {
            if (t.code.trimmed().isEmpty()) {
                addMessage(subjectName + QStringLiteral(" (") + subjectCode + QStringLiteral(") nincs oktató rendelve"));
                continue;
            }
            try {
                QString userId, id;
                InsertRecord(QStringLiteral("felhasznalo"),
                             {QStringLiteral("szerep_id=3"), QStringLiteral("felh_nev=") + t.code,
                              QStringLiteral("kar_id=") + faculty, QStringLiteral("felh_teljes=") + t.name},
                             true, userId);
                CurrentUserId = userId;
                InsertRecord(QStringLiteral("oktato"),
                             {QStringLiteral("oktato_kod=") + t.code, QStringLiteral("oktato_nev=") + t.name,
                              QStringLiteral("felh_id=") + userId},
                             true, id);
                teacherId = id;
            } catch (const DbError &) {
                InfoBox(QStringLiteral("Hiba: ") + name + QStringLiteral(" (oktató)"));
                continue;
            }
            QString assignment;
            InsertRecord(QStringLiteral("Tan_Okt"),
                         {QStringLiteral("oktato_id=") + teacherId, QStringLiteral("ft_id=") + offeringId}, true, assignment);
            addMessage(QStringLiteral("Oktató rögzítésre került: ") + t.code);
        } else {
            QString assignment;
            InsertRecord(QStringLiteral("Tan_Okt"),
                         {QStringLiteral("oktato_id=") + teacherId, QStringLiteral("ft_id=") + offeringId}, true, assignment);
        }
        CurrentTeacherId = teacherId;
    }
}

bool NeptunImport::importTimetable()
{
    m_messages.clear();
    if (messagesCleared)
        messagesCleared();
    const QString &faculty = m_request.facultyId, &semester = m_request.semesterId;
    tabla.close();
    tabla.clearParams();
    tabla.setSql(QStringLiteral("Select a.*, (Select x.tantargy_kod From Tantargy x Where x.tantargy_id=a.tantargy_id) as tantargy, "
                                "(Select x.tantargy_nev From Tantargy x Where x.tantargy_id=a.tantargy_id) as tantargy_nev, "
                                "(Select x.kurzus_nev From Kurzus x Where x.kurzus_id=a.kurzus_id) as kurzus, "
                                "(Select x.tof_nev From Tanora_forma x Where x.tof_id=a.tof_id) as forma "
                                "From Felvett_tantargy a Where a.felev_id=")
                 + SqlId(semester) + QStringLiteral(" and kar_id=") + SqlId(faculty) + u' ');
    tabla.open();
    const int count = tabla.recordCount();
    const int c_ft = tabla.fieldIndex(QStringLiteral("ft_id")), c_subject = tabla.fieldIndex(QStringLiteral("tantargy")),
              c_title = tabla.fieldIndex(QStringLiteral("tantargy_nev")), c_course = tabla.fieldIndex(QStringLiteral("kurzus")),
              c_kind = tabla.fieldIndex(QStringLiteral("forma"));
    for (int r = 0; r < count; ++r) {
        if (progress)
            progress(r + 1, count);
        const QString offeringId = tabla.text(r, c_ft);
        const QString entryName = tabla.text(r, c_title) + QStringLiteral(" - ") + tabla.text(r, c_kind);
        QString entryId;
        InsertRecord(QStringLiteral("Orarend"),
                     {QStringLiteral("orarend_nev=") + entryName, QStringLiteral("felev_id=") + semester,
                      QStringLiteral("orarend_potlas=2"), QStringLiteral("kar_id=") + faculty},
                     false, entryId);
        CurrentTimetableId = entryId;
        addMessage(QStringLiteral("Az órarend rögzítésre került: ") + entryName);
        QString groupId;
        InsertRecord(QStringLiteral("orarend_csoport"),
                     {QStringLiteral("orarend_id=") + entryId, QStringLiteral("ft_id=") + offeringId}, true, groupId);
        UpdateRecord(QStringLiteral("tan_hall"), {QStringLiteral("orarend_id=") + entryId},
                     QStringLiteral("ft_id=") + SqlId(offeringId));

        // Its class instances, in a dataset of their own.
        try {
            NeptunQuery(orak, ClassInstancesStatement(m_request.semesterNeptun, tabla.text(r, c_subject), tabla.text(r, c_course)),
                        QString());
        } catch (const DbError &) {
            orak.close();
            tabla.close();
            InfoBox(FailedText);
            return false;
        }
        const int c_from = orak.fieldIndex(QStringLiteral("datumtol")), c_to = orak.fieldIndex(QStringLiteral("datumig"));
        for (int i = 0; i < orak.recordCount(); ++i) {
            const QString from = orak.text(i, c_from).trimmed(), to = orak.text(i, c_to).trimmed();
            if (from.isEmpty()) {
                addMessage(QStringLiteral("Kezdő időpont nélküli óra kimaradt: ") + entryName);
                continue;
            }
            QString dateId;
            InsertRecord(QStringLiteral("orarend_datum"),
                         {QStringLiteral("orarend_id=") + entryId, QStringLiteral("od_datum=") + compactDate(from)}, true,
                         dateId);
            UpdateRecord(QStringLiteral("orarend"),
                         {QStringLiteral("orarend_mettol=") + timeOf(from), QStringLiteral("orarend_meddig=") + timeOf(to),
                          QStringLiteral("orarend_potlas=2"), QStringLiteral("orarend_heti=1")},
                         QStringLiteral("orarend_id=") + SqlId(entryId));
        }
        orak.close();
    }
    if (progress)
        progress(count, count);
    tabla.close();
    return true;
}
