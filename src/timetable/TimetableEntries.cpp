#include "TimetableEntries.h"

#include "Dataset.h"
#include "RecordOperations.h"
#include "SqlSplice.h"

#include <QRegularExpression>

namespace {

QString entryIs(const QString &id) { return QStringLiteral("orarend_id=") + SqlId(id); }

bool hasDigit(const QString &text)
{
    for (QChar c : text)
        if (c.isDigit())
            return true;
    return false;
}

// The time as the table stores it: the mask text (normalised) and zero seconds.
QString storedTime(const QString &maskText) { return NormalizedTime(maskText) + QStringLiteral(":00.0000"); }

} // namespace

QString NormalizedTime(const QString &maskText)
{
    static const QRegularExpression shape(QStringLiteral("^\\s*(\\d{1,2})\\s*:(\\d{2})\\s*$"));
    const QRegularExpressionMatch m = shape.match(maskText);
    if (!m.hasMatch())
        return QString();
    const int hours = m.captured(1).toInt();
    const int minutes = m.captured(2).toInt();
    if (hours > 23 || minutes > 59)
        return QString();
    return QStringLiteral("%1:%2").arg(hours, 2, 10, QLatin1Char('0')).arg(minutes, 2, 10, QLatin1Char('0'));
}

FieldProblem CheckTimetableEntry(const TimetableEntryFields &f)
{
    if (SqlId(f.semesterId) == QLatin1String("null"))
        return {QStringLiteral("felev"), QStringLiteral("A(z) félév megadása kötelező!")};
    if (f.name.trimmed().isEmpty())
        return {QStringLiteral("nev"), QStringLiteral("A(z) órarend megadása kötelező!")};
    struct Time {
        const char *field, *label;
        const QString &text;
    };
    for (const Time &t : {Time{"mettol", "mettől", f.from}, Time{"meddig", "meddig", f.to}}) {
        const QString label = QString::fromUtf8(t.label);
        if (!hasDigit(t.text))
            return {QLatin1String(t.field), QStringLiteral("A(z) %1 megadása kötelező!").arg(label)};
        if (NormalizedTime(t.text).isEmpty())
            return {QLatin1String(t.field), QStringLiteral("A(z) %1 mezőben a(z) „%2” nem érvényes időpont: óra 0–23, "
                                                           "perc 00–59 (például 08:15)!")
                                                .arg(label, t.text.trimmed())};
    }
    const QString makeUps = f.makeUps.trimmed();
    if (!makeUps.isEmpty()) {
        bool ok = false;
        const int n = makeUps.toInt(&ok);
        if (!ok || n < 0)
            return {QStringLiteral("potlas"),
                    QStringLiteral("A pótlások száma nem negatív egész szám legyen (vagy üres), nem „%1”!").arg(makeUps)};
    }
    return {};
}

QStringList TimetableEntryAssignments(const TimetableEntryFields &f)
{
    QStringList out;
    out << QStringLiteral("felev_id=") + f.semesterId << QStringLiteral("orarend_nev=") + f.name
        << QStringLiteral("orarend_potlas=") + f.makeUps.trimmed() << QStringLiteral("orarend_mettol=") + storedTime(f.from)
        << QStringLiteral("orarend_meddig=") + storedTime(f.to)
        << QStringLiteral("orarend_heti=") + (f.weekly ? QStringLiteral("1") : QStringLiteral("0"));
    return out;
}

void InsertTimetableEntry(const TimetableEntryFields &fields, const QString &facultyId, QString &newId)
{
    InsertRecord(QStringLiteral("orarend"), QStringList{QStringLiteral("kar_id=") + facultyId} + TimetableEntryAssignments(fields),
                 true, newId);
}

void UpdateTimetableEntry(const QString &id, const TimetableEntryFields &fields)
{
    UpdateRecord(QStringLiteral("orarend"), TimetableEntryAssignments(fields), entryIs(id));
}

CopyResult CopyTimetableEntry(const QString &sourceId, const TimetableEntryFields &f, const QString &facultyId,
                              Dataset &groups, Dataset &members)
{
    CopyResult result;
    const QString name = f.name + QStringLiteral(" (másolat)");
    const QString heti = f.weekly ? QStringLiteral("1") : QStringLiteral("0");

    groups.close();
    groups.clearParams();
    groups.setSql(QStringLiteral("Select * From orarend_csoport Where orarend_id=") + SqlId(sourceId));
    groups.open();

    // An equal copy made before is reused by the insert below; tell the caller so.
    Dataset &probe = members;
    result.existed = !FirstValue(probe,
                                 QStringLiteral("Select orarend_id From orarend Where kar_id=") + SqlId(facultyId)
                                     + QStringLiteral(" and felev_id=") + SqlId(f.semesterId)
                                     + QStringLiteral(" and orarend_nev='") + SqlQuoted(name)
                                     + QStringLiteral("' and orarend_mettol='") + storedTime(f.from)
                                     + QStringLiteral("' and orarend_meddig='") + storedTime(f.to)
                                     + QStringLiteral("' and orarend_heti='") + heti + u'\'',
                                 QStringLiteral("orarend_id"))
                            .isEmpty();

    InsertRecord(QStringLiteral("orarend"),
                 {QStringLiteral("kar_id=") + facultyId, QStringLiteral("felev_id=") + f.semesterId,
                  QStringLiteral("orarend_nev=") + name, QStringLiteral("orarend_mettol=") + storedTime(f.from),
                  QStringLiteral("orarend_meddig=") + storedTime(f.to), QStringLiteral("orarend_heti=") + heti},
                 true, result.newId);

    for (groups.first(); !groups.eof(); groups.next()) {
        QString ignored;
        InsertRecord(QStringLiteral("orarend_csoport"),
                     {QStringLiteral("orarend_id=") + result.newId,
                      QStringLiteral("ft_id=") + groups.fieldByName(QStringLiteral("ft_id")).asString()},
                     true, ignored);
    }
    groups.close();

    members.close();
    members.clearParams();
    members.setSql(QStringLiteral("Select * From tan_hall Where orarend_id=") + SqlId(sourceId));
    members.open();
    for (members.first(); !members.eof(); members.next()) {
        QString ignored;
        InsertRecord(QStringLiteral("tan_hall"),
                     {QStringLiteral("orarend_id=") + result.newId,
                      QStringLiteral("hallgato_id=") + members.fieldByName(QStringLiteral("hallgato_id")).asString(),
                      QStringLiteral("ft_id=") + members.fieldByName(QStringLiteral("ft_id")).asString()},
                     true, ignored);
    }
    members.close();
    return result;
}

void DeleteTimetableEntry(const QString &id)
{
    const QString where = entryIs(id);
    DeleteRecord(QStringLiteral("orarend_datum"), where);
    DeleteRecord(QStringLiteral("jelenlet"), where);
    UpdateRecord(QStringLiteral("tan_hall"), {QStringLiteral("orarend_id=NULL")}, where);
    DeleteRecord(QStringLiteral("tan_okt"), where);
    DeleteRecord(QStringLiteral("orarend_csoport"), where);
    DeleteRecord(QStringLiteral("orarend"), where);
}

void UnlinkOfferingReleasingStudents(const QString &entryId, const QString &offeringId)
{
    UpdateRecord(QStringLiteral("tan_hall"), {QStringLiteral("orarend_id=NULL")}, QStringLiteral("ft_id=") + SqlId(offeringId));
    UnlinkOffering(entryId, offeringId);
}

void UnlinkOffering(const QString &entryId, const QString &offeringId)
{
    DeleteRecord(QStringLiteral("orarend_csoport"), entryIs(entryId) + QStringLiteral(" and ft_id=") + SqlId(offeringId));
}

void AddTeacher(const QString &entryId, const QString &teacherId)
{
    QString ignored;
    InsertRecord(QStringLiteral("tan_okt"), {QStringLiteral("orarend_id=") + entryId, QStringLiteral("oktato_id=") + teacherId},
                 true, ignored);
}

void RemoveTeacher(const QString &entryId, const QString &teacherId)
{
    DeleteRecord(QStringLiteral("tan_okt"), entryIs(entryId) + QStringLiteral(" and oktato_id=") + SqlId(teacherId));
}

void DeleteLessonDate(const QString &dateId) { DeleteRecord(QStringLiteral("orarend_datum"), QStringLiteral("od_id=") + SqlId(dateId)); }
