#pragma once
// The attendance tests' database: one faculty, one semester, five lessons, twelve students.

// Faculty 1, spring semester 2024-02-05 .. 2024-05-31; the server's clock stands on
// Wednesday 2024-03-06 10:00.
//  lesson 1 "Anatómia" non-weekly, 2 make-ups, dates Wednesdays from 02-07 to 03-06 and Friday 03-08;
//           students 1..5 enrolled
//  lesson 2 "Torna"    weekly, 1 make-up, no dates; student 8 enrolled
//  lesson 3 "Kémia"    non-weekly, 2 make-ups, dates Tuesdays 02-06 .. 03-05; students 6, 7, 9 enrolled
//  lesson 4 "Fizika"   non-weekly, make-ups NULL, dates Mondays; student 10 enrolled
//  lesson 5 "Latin"    non-weekly, 2 make-ups, dates Mondays; student 11 enrolled, no entries yet
inline const char *AttendanceSeed = R"(
INSERT INTO kar (kar_id, kar_kod, kar_nev) VALUES (1, 'GTK', 'Gazdaság');
INSERT INTO felhasznalo (felh_id, felh_nev) VALUES (7, 'TANULMANYI');
INSERT INTO felev (felev_id, felev_nev, felev_datumtol, felev_datumig) VALUES (1, 'tavasz', '2024-02-05', '2024-05-31');
INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_mettol, orarend_meddig, orarend_heti, orarend_potlas) VALUES
 (1, 1, 1, 'Anatómia', '08:00:00', '09:30:00', 0, 2), (2, 1, 1, 'Torna', '10:00:00', '11:30:00', 1, 1),
 (3, 1, 1, 'Kémia', '12:00:00', '13:30:00', 0, 2), (4, 1, 1, 'Fizika', '14:00:00', '15:30:00', 0, NULL),
 (5, 1, 1, 'Latin', '16:00:00', '17:30:00', 0, 2);
INSERT INTO orarend_datum (orarend_id, od_datum) VALUES
 (1, '2024-02-07'), (1, '2024-02-14'), (1, '2024-02-21'), (1, '2024-02-28'), (1, '2024-03-06'), (1, '2024-03-08'),
 (3, '2024-02-06'), (3, '2024-02-13'), (3, '2024-02-20'), (3, '2024-02-27'), (3, '2024-03-05'),
 (4, '2024-02-05'), (4, '2024-02-12'), (5, '2024-02-05'), (5, '2024-02-12');
INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev, hallgato_diak, hallgato_oa) VALUES
 (1, 'AAA111', 'Ács Anna', '1001', '71000001'), (2, 'BBB222', 'Bíró Béla', '1002', '71000002'),
 (3, 'CCC333', 'Cseh Csaba', '1003', '71000003'), (4, 'DDD444', 'Dénes Dóra', '1004', '71000004'),
 (5, 'EEE555', 'Erdős Éva', '1005', '71000005'), (6, 'FFF666', 'Fehér Ferenc', '1006', '71000006'),
 (7, 'GGG777', 'Gál Gréta', '1007', '71000007'), (8, 'HHH888', 'Horváth Hugó', '1008', '71000008'),
 (9, 'III999', 'Illés Ida', '1009', '71000009'), (10, 'JJJ000', 'Jakab János', '1010', '71000010'),
 (11, 'KKK111', 'Kiss Kata', '1011', '71000011'), (12, 'LLL222', 'Lukács Lili', '1012', '71000012');
INSERT INTO tan_hall (hallgato_id, orarend_id) VALUES (1, 1), (2, 1), (3, 1), (4, 1), (5, 1), (8, 2), (6, 3), (7, 3),
 (9, 3), (10, 4), (11, 5);
-- Guests' own entries: 6 missed two Tuesdays; 7 attended Tuesday of this week; 9 used both make-ups.
INSERT INTO jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES
 (6, 3, '2024-02-06', 1), (6, 3, '2024-02-13', 2), (6, 3, '2024-02-20', 2), (6, 3, '2024-02-27', 1),
 (7, 3, '2024-02-27', 2), (7, 3, '2024-03-05', 1),
 (9, 3, '2024-02-06', 3), (9, 3, '2024-02-13', 3), (9, 3, '2024-02-20', 2),
 (10, 4, '2024-02-05', 2);
)";

