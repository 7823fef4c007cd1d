#pragma once
// A small faculty for the list and sheet tests.
//  Faculty 1 "Gazdasági Kar"; semester 1 "2023/24 tavasz" (the clock's), semester 2 "2023/24 ősz".
//  Lesson 1 "Anatómia" (semester 1, 08:00-09:30, five dates, teachers Olga and Tamás): Ács Anna
//    present / absent / make-up on the first three dates, Bíró Béla absent on the first, Cser Cecil
//    without entries. Lesson 2 "Kémia" nine dates; lesson 3 "Sok" fifteen dates, Ács Anna present at
//    each; lesson 4 "Régi" in semester 2; lesson 5 in faculty 2.

#include <QDate>
#include <QString>
#include <QStringList>

inline const char *ReportSeed = R"(
INSERT INTO kar (kar_id, kar_kod, kar_nev) VALUES (1, 'GTK', 'Gazdasági Kar'), (2, 'MK', 'Mérnöki Kar');
INSERT INTO felev (felev_id, felev_nev, felev_datumtol, felev_datumig) VALUES
 (1, '2023/24 tavasz', '2024-02-05', '2024-05-31'), (2, '2023/24 ősz', '2023-09-04', '2024-01-31');
INSERT INTO oktato (oktato_id, oktato_nev) VALUES (1, 'Oktató Olga'), (2, 'Tanár Tamás');
INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_mettol, orarend_meddig) VALUES
 (1, 1, 1, 'Anatómia', '08:00:00', '09:30:00'), (2, 1, 1, 'Kémia', '12:00:00', '13:30:00'),
 (3, 1, 1, 'Sok', '14:00:00', '15:30:00'), (4, 1, 2, 'Régi', '08:00:00', '09:30:00'),
 (5, 2, 1, 'Élettan', '10:00:00', '11:30:00');
INSERT INTO tan_okt (oktato_id, orarend_id) VALUES (1, 1), (2, 1);
INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev) VALUES
 (1, 'AAA111', 'Ács Anna'), (2, 'BBB222', 'Bíró Béla'), (3, 'CCC333', 'Cser Cecil');
INSERT INTO tan_hall (hallgato_id, orarend_id) VALUES (1, 1), (2, 1), (3, 1), (1, 2), (2, 2), (1, 3), (3, 4), (1, 5);
INSERT INTO orarend_datum (orarend_id, od_datum) VALUES
 (1, '2024-02-07'), (1, '2024-02-14'), (1, '2024-02-21'), (1, '2024-02-28'), (1, '2024-03-06'),
 (2, '2024-02-06'), (2, '2024-02-13'), (2, '2024-02-20'), (2, '2024-02-27'), (2, '2024-03-05'),
 (2, '2024-03-12'), (2, '2024-03-19'), (2, '2024-03-26'), (2, '2024-04-02'),
 (4, '2023-10-10'), (4, '2023-10-17');
INSERT INTO jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES
 (1, 1, '2024-02-07', 1), (1, 1, '2024-02-14', 2), (1, 1, '2024-02-21', 3), (2, 1, '2024-02-07', 2),
 (1, 2, '2024-02-06', 1);
)";

// Lesson 3 gets fifteen weekly dates from 2024-02-08 on, Ács Anna present at every one.
inline QString ManyDatesSeed()
{
    QString sql;
    for (int k = 0; k < 15; ++k) {
        const QString d = QDate(2024, 2, 8).addDays(7 * k).toString(QStringLiteral("yyyy-MM-dd"));
        sql += QStringLiteral("INSERT INTO orarend_datum (orarend_id, od_datum) VALUES (3, '%1');\n"
                              "INSERT INTO jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES (1, 3, '%1', 1);\n")
                   .arg(d);
    }
    return sql;
}

// Lesson 10 "Nagy" of faculty 1 / semester 1 with the given numbers of students and dates.
inline QString BigLessonSeed(int students, int dates)
{
    QString sql = QStringLiteral("INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_mettol, "
                                 "orarend_meddig) VALUES (10, 1, 1, 'Nagy', '10:00:00', '11:30:00');\n");
    for (int k = 0; k < dates; ++k)
        sql += QStringLiteral("INSERT INTO orarend_datum (orarend_id, od_datum) VALUES (10, '%1');\n")
                   .arg(QDate(2024, 2, 9).addDays(7 * k).toString(QStringLiteral("yyyy-MM-dd")));
    for (int s = 0; s < students; ++s)
        sql += QStringLiteral("INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev) VALUES (%1, 'N%1', 'Nagy %2');\n"
                              "INSERT INTO tan_hall (hallgato_id, orarend_id) VALUES (%1, 10);\n")
                   .arg(100 + s)
                   .arg(s, 3, 10, QLatin1Char('0'));
    return sql;
}
