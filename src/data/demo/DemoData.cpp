#include "DemoData.h"

#include "Crc32.h"
#include "Random.h"
#include "SqliteWriter.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <map>
#include <tuple>

namespace demo {

namespace {

constexpr uint64_t Seed = 0x4B4F565241ull; // "KOVRA"
constexpr int StudentCount = 500;
constexpr int TeachingWeeks = 14;

QString u(const char *text) { return QString::fromUtf8(text); }

const char *const FamilyNames[] = {
    "Nagy", "Kovács", "Tóth", "Szabó", "Horváth", "Varga", "Kiss", "Molnár", "Németh", "Farkas",
    "Balogh", "Papp", "Takács", "Juhász", "Lakatos", "Mészáros", "Oláh", "Simon", "Rácz", "Fekete",
    "Szilágyi", "Török", "Fehér", "Balázs", "Gál", "Szűcs", "Kocsis", "Pintér", "Fodor", "Szalai",
    "Sipos", "Magyar", "Lukács", "Gulyás", "Bíró", "Király", "Katona", "László", "Jakab", "Sándor",
    "Boros", "Fazekas", "Kelemen", "Antal", "Orosz", "Somogyi", "Fülöp", "Veres", "Vörös", "Győri",
    "Lőrincz", "Hegedűs", "Bencze", "Ács", "Őri", "Ürmös"};
const char *const FemaleNames[] = {
    "Anna", "Dóra", "Eszter", "Réka", "Zsófia", "Lili", "Júlia", "Noémi", "Fanni", "Boglárka",
    "Hanna", "Zoé", "Kinga", "Bernadett", "Gyöngyi", "Tünde", "Csenge", "Luca", "Petra", "Krisztina",
    "Vivien", "Nóra", "Emőke", "Írisz", "Dorottya", "Enikő", "Ünige", "Orsolya"};
const char *const MaleNames[] = {
    "Bence", "Gábor", "Ádám", "Péter", "Máté", "Levente", "Ákos", "Dániel", "Csaba", "Ödön",
    "Örs", "Dénes", "Szilárd", "Márton", "Bálint", "Zsolt", "Tamás", "Attila", "Gergő", "Botond",
    "Kristóf", "Áron", "Lőrinc", "Ferenc", "Ottó"};

const char *const TeacherNames[] = {
    "Dr. Kovács István", "Dr. Szabó Katalin", "Nagy Péter", "Dr. Horváth Erzsébet", "Tóth Gyula",
    "Dr. Varga Ilona", "Dr. Kiss Lajos", "Molnár Judit", "Dr. Németh Zoltán", "Farkas Ágnes",
    "Balogh Tibor", "Dr. Papp Éva"};
constexpr int TeacherFaculty[] = {1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2};

struct SubjectSpec { int faculty; const char *abbr; const char *name; int year; };
const SubjectSpec Subjects[] = {
    {1, "MAT", "Matematika I", 1}, {1, "FIZ", "Fizika I", 1}, {1, "MEC", "Mechanika", 2},
    {1, "ANY", "Anyagismeret", 1}, {1, "MAB", "Műszaki ábrázolás", 1}, {1, "GEP", "Gépelemek", 2},
    {1, "HOT", "Hőtan", 2}, {1, "ARA", "Áramlástan", 3}, {1, "GYT", "Gyártástechnológia", 3},
    {1, "ETI", "Mérnöki etika", 3},
    {2, "PRG", "Programozás alapjai", 1}, {2, "DMA", "Diszkrét matematika", 1}, {2, "ADB", "Adatbázisok", 2},
    {2, "OPR", "Operációs rendszerek", 2}, {2, "HAL", "Számítógép-hálózatok", 2},
    {2, "SZT", "Szoftvertechnológia", 3}, {2, "WEB", "Webfejlesztés", 3},
    {2, "ALG", "Algoritmusok és adatszerkezetek", 2}, {2, "MIN", "Mesterséges intelligencia", 3},
    {2, "TSN", "Testnevelés", 1}};

enum CourseCode { E01 = 1, GY01, GY02, L01, L02 };
enum Language { Hungarian = 1, English, German };
enum Kind { Dated, WeeklyWithDates, Weekly };

struct EntrySpec {
    int faculty;
    bool current;
    int subject; // index into Subjects
    CourseCode course;
    const char *suffix;
    int weekday; // 0 Monday … 4 Friday
    int hour, minute;
    Kind kind;
    int makeUps; // -1: NULL
    int first, last; // student indices placed in the entry
    Language language;
    std::initializer_list<int> teachers; // teacher indices
};

// 18 entries of the current semester and 7 of the previous one. Entries 1 and 2 (and 10 and 11) are two
// groups of one subject offering; the students in both ranges belong to both groups.
const EntrySpec Entries[] = {
    {1, true, 0, E01, "előadás", 0, 8, 0, Dated, 2, 0, 399, Hungarian, {0, 5}},
    {1, true, 0, GY01, "gyakorlat (1. csoport)", 1, 10, 0, Dated, 2, 0, 43, Hungarian, {0}},
    {1, true, 0, GY01, "gyakorlat (2. csoport)", 3, 10, 0, Dated, 2, 36, 79, Hungarian, {0}},
    {1, true, 1, E01, "előadás", 2, 8, 0, WeeklyWithDates, 2, 0, 149, Hungarian, {1}},
    {1, true, 2, E01, "előadás", 4, 12, 0, Weekly, 2, 150, 299, Hungarian, {2}},
    {1, true, 3, L01, "labor", 1, 14, 0, Dated, -1, 100, 139, Hungarian, {2}},
    {1, true, 4, GY01, "gyakorlat", 0, 12, 0, Dated, 0, 140, 189, Hungarian, {3}},
    {1, true, 5, E01, "előadás", 3, 8, 0, Dated, 1, 190, 259, Hungarian, {3}},
    {1, true, 6, E01, "előadás (angol)", 4, 8, 0, WeeklyWithDates, 2, 260, 299, English, {1}},
    {2, true, 10, E01, "előadás", 0, 10, 0, Dated, 2, 200, 349, Hungarian, {6}},
    {2, true, 10, L01, "labor (1. csoport)", 1, 8, 0, Dated, 2, 200, 239, Hungarian, {6}},
    {2, true, 10, L01, "labor (2. csoport)", 2, 12, 0, Dated, 2, 234, 279, Hungarian, {6}},
    {2, true, 11, E01, "előadás", 2, 10, 0, WeeklyWithDates, 2, 300, 449, Hungarian, {7}},
    {2, true, 12, E01, "előadás", 3, 12, 0, Dated, 2, 350, 499, Hungarian, {8}},
    {2, true, 12, L02, "labor", 4, 10, 0, Dated, 2, 450, 499, Hungarian, {8}},
    {2, true, 13, E01, "előadás", 1, 12, 0, Weekly, 2, 280, 379, Hungarian, {9}},
    {2, true, 14, GY01, "gyakorlat", 3, 14, 0, Dated, 3, 380, 429, Hungarian, {9}},
    {2, true, 19, GY01, "", 4, 14, 0, Weekly, -1, 420, 499, Hungarian, {10}},
    {1, false, 7, E01, "előadás", 0, 8, 0, Dated, 2, 0, 119, Hungarian, {4}},
    {1, false, 8, GY01, "gyakorlat", 1, 10, 0, Dated, 2, 120, 199, Hungarian, {4}},
    {1, false, 9, E01, "előadás", 2, 12, 0, WeeklyWithDates, 2, 0, 299, Hungarian, {5}},
    {2, false, 15, E01, "előadás", 0, 10, 0, Dated, 2, 200, 329, Hungarian, {11}},
    {2, false, 16, L01, "labor", 1, 14, 0, Dated, 2, 330, 389, Hungarian, {11}},
    {2, false, 17, E01, "előadás", 3, 8, 0, Weekly, 2, 390, 499, Hungarian, {11}},
    {2, false, 18, E01, "előadás (angol)", 4, 10, 0, Dated, 1, 250, 349, English, {11}},
};

// Offerings with enrolled students who are placed in no timetable entry.
struct UnplacedSpec { int subject; CourseCode course; int first, last; };
const UnplacedSpec Unplaced[] = {{16, E01, 460, 489}, {5, GY01, 190, 209}};

QString neptunCode(Random &rng, QSet<QString> &used)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (;;) {
        QString code;
        code += QLatin1Char(alphabet[rng.below(26)]);
        for (int i = 0; i < 5; ++i)
            code += QLatin1Char(alphabet[rng.below(36)]);
        if (!used.contains(code)) {
            used.insert(code);
            return code;
        }
    }
}

QString digits(Random &rng, const char *prefix, int count, QSet<QString> &used)
{
    for (;;) {
        QString s = QString::fromLatin1(prefix);
        for (int i = 0; i < count; ++i)
            s += QLatin1Char(char('0' + rng.below(10)));
        if (!used.contains(s)) {
            used.insert(s);
            return s;
        }
    }
}

template <size_t N>
QString pick(Random &rng, const char *const (&names)[N])
{
    return u(names[rng.below(int(N))]);
}

QString personName(Random &rng)
{
    const bool female = rng.percent(50);
    QString name = pick(rng, FamilyNames) + QLatin1Char(' ') + (female ? pick(rng, FemaleNames) : pick(rng, MaleNames));
    if (rng.percent(12))
        name += QLatin1Char(' ') + (female ? pick(rng, FemaleNames) : pick(rng, MaleNames));
    return name;
}

QDate firstMonday(const Semester &semester)
{
    QDate d = semester.from;
    while (d.dayOfWeek() != Qt::Monday)
        d = d.addDays(1);
    return d;
}

} // namespace

QString DemoModel::courseText(const Entry &entry) const
{
    QStringList codes;
    for (int ft : entry.offerings)
        codes << course(offering(ft).course).code;
    std::sort(codes.begin(), codes.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return codes.join(QStringLiteral(", "));
}

Semester SemesterContaining(QDate day, int id)
{
    int start = day.year(); // academic year start
    int half = 1;
    QDate from, to;
    if (day.month() >= 9) {
        from = QDate(start, 9, 1);
        to = QDate(start + 1, 1, 31);
    } else if (day.month() == 1) {
        start -= 1;
        from = QDate(start, 9, 1);
        to = QDate(start + 1, 1, 31);
    } else {
        start -= 1;
        half = 2;
        from = QDate(start + 1, 2, 1);
        to = QDate(start + 1, 8, 31);
    }
    Semester s;
    s.id = id;
    s.from = from;
    s.to = to;
    s.name = QStringLiteral("%1/%2 %3 félév").arg(start).arg(start + 1).arg(half == 1 ? u("őszi") : u("tavaszi"));
    s.neptunName = QStringLiteral("%1/%2/%3").arg(start).arg((start + 1) % 100, 2, 10, QLatin1Char('0')).arg(half);
    return s;
}

Semester SemesterBefore(const Semester &semester, int id)
{
    return SemesterContaining(semester.from.addDays(-1), id);
}

DemoModel BuildDemoModel(QDate today)
{
    DemoModel m;
    m.today = today;
    Random rng(Seed);
    QSet<QString> codes, cardNumbers, educationIds;

    m.faculties = {{1, QStringLiteral("GEK"), u("Gépészmérnöki Kar")}, {2, QStringLiteral("IK"), u("Informatikai Kar")}};
    const Semester current = SemesterContaining(today, 2);
    m.semesters = {SemesterBefore(current, 1), current};
    m.languages = {u("magyar"), u("angol"), u("német")};
    m.lessonForms = {u("Elmélet"), u("Gyakorlat"), u("Labor")};
    m.sports = {u("Labdarúgás"), u("Kosárlabda"), u("Úszás")};
    m.courses = {{E01, QStringLiteral("E01"), 1}, {GY01, QStringLiteral("GY01"), 2}, {GY02, QStringLiteral("GY02"), 2},
                 {L01, QStringLiteral("L01"), 3}, {L02, QStringLiteral("L02"), 3}};

    // Students.
    for (int i = 0; i < StudentCount; ++i) {
        Student s;
        s.id = i + 1;
        s.code = neptunCode(rng, codes);
        s.name = personName(rng);
        if (i % 25 != 24)
            s.card = digits(rng, "1", 9, cardNumbers);
        if (i % 40 != 39)
            s.educationId = digits(rng, "7", 10, educationIds);
        m.students << s;
    }

    // Users and teachers: the four demo logins, an inactive account, and an account per teacher.
    const auto login = [](int i) {
        const DemoLogin &l = DemoLogins[i];
        return std::make_pair(QString::fromLatin1(l.name), std::optional<int>(PasswordHash(QString::fromUtf8(l.password))));
    };
    const auto [admin, adminHash] = login(0);
    const auto [office, officeHash] = login(1);
    const auto [teacher0, teacherHash] = login(2);
    const auto [cards, cardsHash] = login(3);
    m.users = {
        {1, admin, u("Rendszergazda"), QStringLiteral("admin@kovra.example"), adminHash, true, 1, DemoLogins[0].role},
        {2, office, u("Tanulmányi Osztály"), QStringLiteral("tanulmanyi@kovra.example"), officeHash, true, 1,
         DemoLogins[1].role},
        {3, teacher0, u(TeacherNames[0]), QString(), teacherHash, true, 1, DemoLogins[2].role},
        {4, cards, u("Kártyairoda"), QString(), cardsHash, true, 1, DemoLogins[3].role},
        {5, QStringLiteral("REGI"), u("Régi Felhasználó"), QString(), std::nullopt, false, 2, 2},
    };
    for (int t = 0; t < int(std::size(TeacherNames)); ++t) {
        Teacher teacher;
        teacher.id = t + 1;
        teacher.code = neptunCode(rng, codes);
        teacher.name = u(TeacherNames[t]);
        teacher.faculty = TeacherFaculty[t];
        if (t == 0) {
            teacher.user = 3;
        } else {
            teacher.user = int(m.users.size()) + 1;
            m.users.append({teacher.user, teacher.code, teacher.name, QString(), std::nullopt, true, teacher.faculty, 3});
        }
        m.teachers << teacher;
    }

    // Subjects: code = faculty prefix, abbreviation, number, year of study, letter.
    for (int j = 0; j < int(std::size(Subjects)); ++j) {
        const SubjectSpec &spec = Subjects[j];
        const QString code = QStringLiteral("%1%2%3%4B")
                                 .arg(spec.faculty == 1 ? QStringLiteral("GK") : QStringLiteral("IK"),
                                      QString::fromLatin1(spec.abbr))
                                 .arg(j % 10 + 1, 2, 10, QLatin1Char('0'))
                                 .arg(spec.year);
        m.subjects << Subject{j + 1, spec.faculty, code, u(spec.name)};
    }

    std::map<std::tuple<int, int, int, int>, int> offeringIds;
    const auto offeringFor = [&](int semester, int subject, CourseCode course, Language language) {
        const auto key = std::make_tuple(semester, subject, int(course), int(language));
        if (auto it = offeringIds.find(key); it != offeringIds.end())
            return it->second;
        Offering o;
        o.id = int(m.offerings.size()) + 1;
        o.semester = semester;
        o.subject = subject + 1;
        o.course = course;
        o.form = m.courses[course - 1].form;
        o.language = language;
        o.faculty = Subjects[subject].faculty;
        if (qstrcmp(Subjects[subject].abbr, "TSN") == 0)
            o.sport = 1;
        o.year = QString::number(Subjects[subject].year);
        m.offerings << o;
        offeringIds[key] = o.id;
        return o.id;
    };

    // Timetable entries with their dates, groups, teachers and members.
    for (int e = 0; e < int(std::size(Entries)); ++e) {
        const EntrySpec &spec = Entries[e];
        const Semester &semester = m.semesters[spec.current ? 1 : 0];
        Entry entry;
        entry.id = e + 1;
        entry.faculty = spec.faculty;
        entry.semester = semester.id;
        entry.name = u(Subjects[spec.subject].name);
        if (*spec.suffix)
            entry.name += QLatin1Char(' ') + u(spec.suffix);
        entry.from = QTime(spec.hour, spec.minute);
        entry.to = entry.from.addSecs(90 * 60);
        entry.weekly = spec.kind != Dated;
        if (spec.makeUps >= 0)
            entry.makeUps = spec.makeUps;
        const QDate monday = firstMonday(semester);
        for (int k = 0; k < TeachingWeeks; ++k) {
            if (spec.kind == Dated && k == 7) // a week without lessons (study break)
                continue;
            const QDate day = monday.addDays(7 * k + spec.weekday);
            entry.lessons << day;
            if (spec.kind != Weekly)
                entry.dates << day;
        }
        const int ft = offeringFor(semester.id, spec.subject, spec.course, spec.language);
        entry.offerings << ft;
        for (int t : spec.teachers)
            entry.teachers << t + 1;
        m.entries << entry;

        for (int s = spec.first; s <= spec.last; ++s)
            m.enrolments.append({int(m.enrolments.size()) + 1, s + 1, ft, entry.id});
    }
    // Five students placed into the large lecture directly (group assignment: no offering).
    for (int s = 400; s < 405; ++s)
        m.enrolments.append({int(m.enrolments.size()) + 1, s + 1, std::nullopt, 1});
    for (const UnplacedSpec &spec : Unplaced) {
        const int ft = offeringFor(2, spec.subject, spec.course, Hungarian);
        for (int s = spec.first; s <= spec.last; ++s)
            m.enrolments.append({int(m.enrolments.size()) + 1, s + 1, ft, std::nullopt});
    }

    // Teacher assignments: per timetable entry (timetable window) and per offering (teachers window).
    QSet<QPair<int, int>> byOffering;
    for (const Entry &entry : m.entries) {
        for (int t : entry.teachers) {
            m.teacherAssignments.append({t, std::nullopt, entry.id});
            for (int ft : entry.offerings) {
                if (!byOffering.contains({t, ft})) {
                    byOffering.insert({t, ft});
                    m.teacherAssignments.append({t, ft, std::nullopt});
                }
            }
        }
    }

    // Earlier attendance and the capture journal: every lesson held before today.
    QHash<QPair<int, int>, int> makeUpsUsed; // (student, entry) → make-ups recorded
    QHash<int, QVector<int>> members;        // entry → students in enrolment order
    for (const Enrolment &en : m.enrolments)
        if (en.entry)
            members[*en.entry] << en.student;
    int capture = 0;
    for (const Entry &entry : m.entries) {
        const User &recorder = m.users[m.teacher(entry.teachers.first()).user - 1];
        const QString lesson = entry.name + QStringLiteral(" - ") + m.courseText(entry);
        for (const QDate &day : entry.lessons) {
            if (day >= today)
                break;
            QStringList present;
            for (int student : members.value(entry.id)) {
                int type = 1;
                QDate date = day;
                if (!rng.percent(86)) {
                    type = 2;
                    int &used = makeUpsUsed[{student, entry.id}];
                    if (entry.makeUps.value_or(0) > used && rng.percent(35) && day.addDays(1) < today) {
                        type = 3; // made up the next day at another group's lesson
                        date = day.addDays(1);
                        ++used;
                    }
                }
                if (type == 1)
                    present << m.student(student).code;
                m.attendance.append({student, entry.id, date, type});
            }
            const QDateTime end(day, entry.to);
            m.journal.append({end,
                              u("Jelenlét rögzítés kezdete!\r\nÓra végi olvasás...\r\n") + lesson + QStringLiteral("\r\n")
                                  + present.join(QStringLiteral("\r\n")),
                              recorder.id, entry.faculty});
            if (++capture % 3 == 0 && entry.makeUps.value_or(0) > 0) {
                m.journal.append({end.addSecs(60),
                                  u("Jelenlét rögzítés vége!\r\n") + neptunCode(rng, codes)
                                      + u(" A hallgató nincs a rendszerben!"),
                                  recorder.id, entry.faculty});
            }
        }
    }

    // Cards issued at the start of the previous semester; one student got a replacement.
    const QDate issue = m.semesters[0].from;
    for (int s = 0; s < 350; ++s)
        m.cards.append({s + 1, issue.addDays(s % 20)});
    m.cards.append({5, issue.addDays(30)});

    // Error reports in the three states.
    const auto report = [](const char *window, const char *message, const char *sql) {
        return u("Ablak: %1\r\nHibaüzenet: %2\r\nUtolsó SQL utasítások:\r\n%3").arg(u(window), u(message), u(sql));
    };
    m.errors = {
        {1, QDateTime(today.addDays(-9), QTime(10, 12, 31)),
         report("form_Orarend", "Conversion failed when converting date and/or time from character string.",
                "Insert Into orarend (kar_id, felev_id, orarend_nev) Values ('1', '2', 'Próba')"),
         std::nullopt},
        {3, QDateTime(today.addDays(-4), QTime(8, 47, 5)),
         report("form_Jelenlet", "A hálózati kapcsolat megszakadt.", "Select COUNT(jelenlet_id) as db From jelenlet"), 1},
        {2, QDateTime(today.addDays(-1), QTime(14, 3, 59)),
         report("form_Hallgatok", "Access violation at address 0040A1B2.", "Select * From hallgato Where hallgato_id=0"), 2},
    };

    // Neptun's own rows: new registrations for the database lecture, and a teacher KOVRA does not know.
    for (int i = 0; i < 5; ++i) {
        Student s;
        s.id = 1000 + i;
        s.code = neptunCode(rng, codes);
        s.name = personName(rng);
        s.card = digits(rng, "1", 9, cardNumbers);
        s.educationId = digits(rng, "7", 10, educationIds);
        m.neptunOnlyStudents << s;
    }
    m.neptunOnlyOffering = m.entries[13].offerings.first();
    m.neptunOnlyTeacher = {100, neptunCode(rng, codes), u("Dr. Új Oktató Péter"), 2, 0};
    m.neptunOnlyTeacherOffering = m.entries[15].offerings.first();

    // Two students registered only to the stand-in's quoted subject of the previous semester: Neptun has
    // renamed the first and issued a new card to the second. Drawn from a generator of their own, so they
    // do not depend on the day the attendance above was built for.
    Random fixed(Seed + 1);
    for (int i = 0; i < 2; ++i) {
        Student s;
        s.id = StudentCount + 1 + i;
        s.code = neptunCode(fixed, codes);
        s.name = personName(fixed);
        s.card = digits(fixed, "1", 9, cardNumbers);
        s.educationId = digits(fixed, "7", 10, educationIds);
        m.students << s;
    }
    m.renamedStudent = StudentCount + 1;
    m.renamedTo = u("Kiss-Nagy Anna");
    m.recardedStudent = StudentCount + 2;
    m.newCard = digits(fixed, "1", 9, cardNumbers);
    m.quotedStudent = {1100, neptunCode(fixed, codes), u("O'Brien Kata"), digits(fixed, "1", 9, cardNumbers),
                       digits(fixed, "7", 10, educationIds)};
    return m;
}

void WriteKovraDatabase(sqlite3 *db, const DemoModel &m)
{
    const auto dateText = [](const QDate &d) { return d.toString(QStringLiteral("yyyy-MM-dd")); };
    const auto timeText = [](const QTime &t) { return t.toString(QStringLiteral("HH:mm:ss")); };
    const auto dateTime = [](const QDateTime &t) { return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); };

    Exec(db, "BEGIN IMMEDIATE");
    {
        Statement kar(db, "INSERT INTO kar (kar_id, kar_kod, kar_nev, kar_aktiv) VALUES (?1, ?2, ?3, 1)");
        for (const Faculty &f : m.faculties)
            kar.run(f.id, f.code, f.name);

        Statement felev(db, "INSERT INTO felev (felev_id, felev_nev, felev_neptun, felev_datumtol, felev_datumig) "
                            "VALUES (?1, ?2, ?3, ?4, ?5)");
        for (const Semester &s : m.semesters)
            felev.run(s.id, s.name, s.neptunName, dateText(s.from), dateText(s.to));

        Statement felh(db, "INSERT INTO felhasznalo (felh_id, felh_nev, felh_jelszo, felh_email, felh_teljes, "
                           "felh_aktiv, kar_id, szerep_id) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
        for (const User &x : m.users)
            felh.run(x.id, x.name, x.passwordHash, x.email, x.fullName, x.active, x.faculty, x.role);

        Statement oktato(db, "INSERT INTO oktato (oktato_id, oktato_kod, oktato_nev, felh_id) VALUES (?1, ?2, ?3, ?4)");
        for (const Teacher &t : m.teachers)
            oktato.run(t.id, t.code, t.name, t.user);

        Statement hallgato(db, "INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev, hallgato_diak, "
                               "hallgato_oa) VALUES (?1, ?2, ?3, ?4, ?5)");
        for (const Student &s : m.students)
            hallgato.run(s.id, s.code, s.name, s.card, s.educationId);

        Statement tantargy(db, "INSERT INTO tantargy (tantargy_id, tantargy_kod, tantargy_nev) VALUES (?1, ?2, ?3)");
        for (const Subject &s : m.subjects)
            tantargy.run(s.id, s.code, s.name);
        Statement kurzus(db, "INSERT INTO kurzus (kurzus_id, kurzus_kod, kurzus_nev) VALUES (?1, ?2, ?2)");
        for (const Course &c : m.courses)
            kurzus.run(c.id, c.code);
        Statement nyelv(db, "INSERT INTO nyelv (nyelv_id, nyelv_nev) VALUES (?1, ?2)");
        for (int i = 0; i < m.languages.size(); ++i)
            nyelv.run(i + 1, m.languages[i]);
        Statement forma(db, "INSERT INTO tanora_forma (tof_id, tof_nev) VALUES (?1, ?2)");
        for (int i = 0; i < m.lessonForms.size(); ++i)
            forma.run(i + 1, m.lessonForms[i]);
        Statement sportag(db, "INSERT INTO sportag (sa_id, sa_nev) VALUES (?1, ?2)");
        for (int i = 0; i < m.sports.size(); ++i)
            sportag.run(i + 1, m.sports[i]);

        Statement ft(db, "INSERT INTO felvett_tantargy (ft_id, tantargy_id, kurzus_id, felev_id, nyelv_id, tof_id, "
                         "sa_id, evfolyam, kar_id) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
        for (const Offering &o : m.offerings)
            ft.run(o.id, o.subject, o.course, o.semester, o.language, o.form, o.sport, o.year, o.faculty);

        Statement orarend(db, "INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_mettol, "
                              "orarend_meddig, orarend_heti, orarend_potlas) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
        Statement datum(db, "INSERT INTO orarend_datum (orarend_id, od_datum) VALUES (?1, ?2)");
        Statement csoport(db, "INSERT INTO orarend_csoport (orarend_id, ft_id) VALUES (?1, ?2)");
        for (const Entry &e : m.entries) {
            orarend.run(e.id, e.faculty, e.semester, e.name, timeText(e.from), timeText(e.to), e.weekly, e.makeUps);
            for (const QDate &d : e.dates)
                datum.run(e.id, dateText(d));
            for (int o : e.offerings)
                csoport.run(e.id, o);
        }

        Statement tanHall(db, "INSERT INTO tan_hall (th_id, hallgato_id, ft_id, orarend_id) VALUES (?1, ?2, ?3, ?4)");
        for (const Enrolment &en : m.enrolments)
            tanHall.run(en.id, en.student, en.offering, en.entry);
        Statement tanOkt(db, "INSERT INTO tan_okt (oktato_id, ft_id, orarend_id) VALUES (?1, ?2, ?3)");
        for (const TeacherAssignment &a : m.teacherAssignments)
            tanOkt.run(a.teacher, a.offering, a.entry);

        Statement jelenlet(db, "INSERT INTO jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES (?1, ?2, ?3, ?4)");
        for (const Attendance &a : m.attendance)
            jelenlet.run(a.student, a.entry, dateText(a.date), a.type);

        Statement kartya(db, "INSERT INTO kartya (hallgato_id, kartya_datum) VALUES (?1, ?2)");
        for (const CardIssue &c : m.cards)
            kartya.run(c.student, dateText(c.date));

        Statement jelentes(db, "INSERT INTO Jelentes (jel_datum, jel_szoveg, felh_id, kar_id) VALUES (?1, ?2, ?3, ?4)");
        for (const JournalRow &j : m.journal)
            jelentes.run(dateTime(j.at), j.text, j.user, j.faculty);

        Statement hiba(db, "INSERT INTO hibanaplo (felh_id, hn_datum, hn_leiras, hn_allapot) VALUES (?1, ?2, ?3, ?4)");
        for (const ErrorRow &r : m.errors)
            hiba.run(r.user, dateTime(r.at), r.text, r.state);
    }
    Exec(db, "COMMIT");
}

} // namespace demo
