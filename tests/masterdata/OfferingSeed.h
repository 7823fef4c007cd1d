#pragma once
// A faculty's offerings, timetable entries, enrolments and attendance on the real schema, shared by
// the offering and group assignment window tests.
//
// Faculty 1, semester 1 "2023/24 tavasz" (the clock's), semester 2 "2023/24 ősz".
//  Offerings of faculty 1: 1 Mikroökonómia/MIK-G1 and 2 Statisztika/STA-E1 and 3 Testnevelés/TES-01
//  in semester 1; 4 Mikroökonómia/MIK-G1 and 6 Régi tárgy/REG-01 in semester 2. Offering 5 belongs to
//  faculty 2.
//  Entries: 1 "Mikro gyakorlat" (no group), 2 "Mikro pótgyakorlat" (group: offering 1),
//  3 "Statisztika előadás" (group: offering 2), 6 "Sportnap" (no group) in faculty 1 / semester 1;
//  4 "Régi óra" in semester 2; 5 "Élettan" in faculty 2.
//  Enrolments: Ács Anna and Bíró Béla in offering 1 (placed in entry 2), Csóka Csilla and Ács Anna in
//  offering 2 (entry 3), Dénes Dóra directly in entry 1, Erdős Emil in offering 3 (no entry).
//  Teachers: Oktató Olga of offerings 1 and 3 and of entry 3.
//  Attendance: Anna and Béla in entry 2, Anna in entries 3, 4 and 6, Csilla in entry 3.
inline const char *OfferingSeed = R"(
INSERT INTO kar (kar_id, kar_kod, kar_nev) VALUES (1, 'GTK', 'Gazdaság'), (2, 'MK', 'Mérnöki');
INSERT INTO felhasznalo (felh_id, felh_nev) VALUES (7, 'TANULMANYI');
INSERT INTO felev (felev_id, felev_nev, felev_datumtol, felev_datumig) VALUES
 (1, '2023/24 tavasz', '2024-02-05', '2024-05-31'), (2, '2023/24 ősz', '2023-09-04', '2024-01-31');
INSERT INTO tantargy (tantargy_id, tantargy_kod, tantargy_nev) VALUES
 (1, 'MIK', 'Mikroökonómia'), (2, 'STA', 'Statisztika'), (3, 'TES', 'Testnevelés'), (4, 'REG', 'Régi tárgy');
INSERT INTO kurzus (kurzus_id, kurzus_kod, kurzus_nev) VALUES
 (1, 'MIK-G1', 'MIK-G1 gyakorlat'), (2, 'STA-E1', 'STA-E1 előadás'), (3, 'TES-01', 'TES-01 sport'), (4, 'REG-01', 'REG-01');
INSERT INTO nyelv (nyelv_id, nyelv_nev) VALUES (1, 'magyar'), (2, 'angol');
INSERT INTO tanora_forma (tof_id, tof_nev) VALUES (1, 'gyakorlat'), (2, 'előadás');
INSERT INTO felvett_tantargy (ft_id, tantargy_id, kurzus_id, felev_id, nyelv_id, tof_id, evfolyam, kar_id) VALUES
 (1, 1, 1, 1, 1, 1, '1', 1), (2, 2, 2, 1, 1, 2, '2', 1), (3, 3, 3, 1, 2, 1, NULL, 1),
 (4, 1, 1, 2, 1, 1, '1', 1), (5, 2, 2, 1, 1, 2, '2', 2), (6, 4, 4, 2, 2, 2, '3', 1);
INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_mettol, orarend_meddig) VALUES
 (1, 1, 1, 'Mikro gyakorlat', '08:00:00', '09:30:00'), (2, 1, 1, 'Mikro pótgyakorlat', '10:00:00', '11:30:00'),
 (3, 1, 1, 'Statisztika előadás', '12:00:00', '13:30:00'), (4, 1, 2, 'Régi óra', '08:00:00', '09:30:00'),
 (5, 2, 1, 'Élettan', '08:00:00', '09:30:00'), (6, 1, 1, 'Sportnap', '14:00:00', '15:30:00');
INSERT INTO orarend_csoport (orarend_id, ft_id) VALUES (2, 1), (3, 2);
INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev, hallgato_diak) VALUES
 (1, 'AAA111', 'Ács Anna', '7001'), (2, 'BBB222', 'Bíró Béla', '7002'), (3, 'CCC333', 'Csóka Csilla', '7003'),
 (4, 'DDD444', 'Dénes Dóra', '7004'), (5, 'EEE555', 'Erdős Emil', '7005');
INSERT INTO tan_hall (th_id, hallgato_id, ft_id, orarend_id) VALUES
 (1, 1, 1, 2), (2, 2, 1, 2), (3, 3, 2, 3), (4, 1, 2, 3), (5, 4, NULL, 1), (6, 5, 3, NULL);
INSERT INTO oktato (oktato_id, oktato_nev) VALUES (1, 'Oktató Olga');
INSERT INTO tan_okt (oktato_id, ft_id, orarend_id) VALUES (1, 1, NULL), (1, 3, NULL), (1, NULL, 3);
INSERT INTO jelenlet (jelenlet_id, hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES
 (1, 1, 2, '2024-02-07', 1), (2, 1, 6, '2024-02-08', 1), (3, 2, 2, '2024-02-07', 2), (4, 1, 4, '2023-10-10', 1),
 (5, 3, 3, '2024-02-09', 1), (6, 1, 3, '2024-02-09', 3);
)";
