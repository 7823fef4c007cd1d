#pragma once
// The real schema with a few people: accounts, teachers with and without an account, offerings of
// two faculties, students, a timetable entry with its members. Shared by the people and relation
// list window tests.

#include "WindowTestBase.h"

// Faculty 1 is the user's; faculty 2 is inactive; faculty 3 is another active one. Semester 2 is
// current on the fixture's date (2024-03-06).
inline const char *PeopleSeed = R"(
INSERT INTO kar (kar_id, kar_nev, kar_kod, kar_aktiv) VALUES (1, 'Gépészmérnöki Kar', 'GK', 1),
  (2, 'Régi Intézet', 'RI', 0), (3, 'Közgazdasági Kar', 'KK', 1);
INSERT INTO felev (felev_id, felev_nev, felev_neptun, felev_datumtol, felev_datumig) VALUES
  (1, '2023/24 ősz', '2023/24/1', '2023-09-04', '2024-01-31'),
  (2, '2023/24 tavasz', '2023/24/2', '2024-02-05', '2024-06-30');
INSERT INTO felhasznalo (felh_id, felh_nev, felh_jelszo, felh_email, felh_teljes, felh_aktiv, kar_id, szerep_id) VALUES
  (1, 'admin', 12345, 'admin@example.org', 'Rendszergazda', 1, 1, 1),
  (2, 'KP01', 111, NULL, 'Kovács Péter', 1, 1, 3),
  (3, 'regi', 222, NULL, 'Régi Ügyintéző', 0, 2, 2);
INSERT INTO oktato (oktato_id, oktato_kod, oktato_nev, felh_id) VALUES
  (1, 'KP01', 'Kovács Péter', 2), (2, 'OBA', 'O''Brien Anna', NULL), (3, 'SZE', 'Szabó Éva', NULL);
INSERT INTO tantargy (tantargy_id, tantargy_kod, tantargy_nev) VALUES
  (1, 'MAT1', 'Matematika'), (2, 'FIZ1', 'Fizika'), (3, 'KEM1', 'Kémia');
INSERT INTO kurzus (kurzus_id, kurzus_kod, kurzus_nev) VALUES (1, 'K01', 'Első kurzus'), (2, 'K02', 'Második kurzus');
INSERT INTO tanora_forma (tof_id, tof_nev) VALUES (1, 'Előadás'), (2, 'Gyakorlat');
INSERT INTO felvett_tantargy (ft_id, tantargy_id, kurzus_id, felev_id, tof_id, kar_id) VALUES
  (1, 1, 1, 2, 1, 1), (2, 2, 2, 2, 2, 1), (3, 3, 1, 2, 1, 3), (4, 1, 2, 1, 2, 1), (5, 3, 2, 2, 1, 1);
INSERT INTO tan_okt (oktato_id, ft_id, orarend_id) VALUES (1, 1, NULL);
INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev, hallgato_diak) VALUES
  (1, 'ABC123', 'Nagy Béla', 'D111'), (2, 'XYZ789', 'Kiss Ádám', 'D222'), (3, 'QWE456', 'Tóth Cecília', 'D333');
INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_mettol, orarend_meddig) VALUES
  (1, 1, 2, 'Hétfő 8:00 Matematika', '08:00:00', '09:30:00'), (2, 1, 2, 'Üres óra', '10:00:00', '11:30:00');
INSERT INTO tan_hall (hallgato_id, ft_id, orarend_id) VALUES
  (1, 1, 1), (2, 1, 1), (1, 1, NULL), (3, 2, 1), (2, NULL, 1);
)";

// The window-test base on the people seed.
class PeopleTestBase : public WindowTestBase {
protected:
    using WindowTestBase::startFixture;
    void startFixture() { WindowTestBase::startFixture(PeopleSeed); }
};
