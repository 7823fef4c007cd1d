-- KOVRA base schema, embedded engine (SQLite 3.40+). Version 0.
--
-- Run with sqlite3_exec on a new, empty file after registering the collation KOVRA_CI
-- (sql::RegisterKovraCollation) and switching foreign keys on. The script opens no transaction of its
-- own: the caller wraps it in one. Outside comments the text is 7-bit ASCII (accented letters through
-- char()), so it runs the same whatever code page a tool assumes when reading it.
--
-- Conventions the statement translator relies on:
--   * an entity table's first column is its key: INTEGER PRIMARY KEY AUTOINCREMENT (ids never reused,
--     as with IDENTITY); tan_okt, orarend_csoport and esemenynaplo have no identity column;
--   * text: NVARCHAR(n) / NTEXT with COLLATE KOVRA_CI (Unicode case folding, accent-sensitive,
--     trailing blanks ignored);
--   * dates: DATE TEXT 'YYYY-MM-DD'; date-times: DATETIME TEXT 'YYYY-MM-DD HH:MM:SS'; times of day:
--     TIME TEXT 'HH:MM:SS'. TEXT affinity keeps '20240305' a text; the CHECKs refuse any other form and
--     impossible dates, so a value that was not normalised fails loudly instead of comparing wrongly;
--   * flags: BIT holding 0 or 1; integers: INTEGER.
--
-- Foreign keys have no cascades. The windows delete dependants first (timetable entry: lesson dates,
-- attendance, enrolments released, teachers, groups, then the entry; subject offering: teachers,
-- enrolments, then the offering), so those orders pass, while the deletes the windows answer with
-- "cannot be deleted" fail here: a user still named by a teacher, journal or error row; a teacher with
-- assignments; an offering still linked to a timetable entry. The audit log has no foreign key: it keeps
-- the history of rows that are gone and must never make a write fail.

CREATE TABLE kar (
  kar_id     INTEGER PRIMARY KEY AUTOINCREMENT,
  kar_kod    NVARCHAR(20)  COLLATE KOVRA_CI,
  kar_nev    NVARCHAR(100) COLLATE KOVRA_CI NOT NULL,
  kar_aktiv  BIT NOT NULL DEFAULT 1 CHECK (kar_aktiv IN (0, 1))
);

CREATE TABLE szerepkor (
  szerep_id  INTEGER PRIMARY KEY AUTOINCREMENT,
  szerep_nev NVARCHAR(50) COLLATE KOVRA_CI NOT NULL
);

-- felh_jelszo: low 16 bits of the complemented CRC-32 of the password; NULL = cannot log in yet.
-- kar_id stays NULL for accounts the teachers window creates (their szerep_id is 3, teacher).
CREATE TABLE felhasznalo (
  felh_id     INTEGER PRIMARY KEY AUTOINCREMENT,
  felh_nev    NVARCHAR(20)  COLLATE KOVRA_CI NOT NULL,
  felh_jelszo INTEGER,
  felh_email  NVARCHAR(100) COLLATE KOVRA_CI,
  felh_teljes NVARCHAR(100) COLLATE KOVRA_CI,
  felh_aktiv  BIT NOT NULL DEFAULT 1 CHECK (felh_aktiv IN (0, 1)),
  kar_id      INTEGER REFERENCES kar (kar_id),
  szerep_id   INTEGER REFERENCES szerepkor (szerep_id)
);
CREATE INDEX ix_felhasznalo_nev ON felhasznalo (felh_nev);

CREATE TABLE oktato (
  oktato_id  INTEGER PRIMARY KEY AUTOINCREMENT,
  oktato_kod NVARCHAR(20)  COLLATE KOVRA_CI,
  oktato_nev NVARCHAR(100) COLLATE KOVRA_CI NOT NULL,
  felh_id    INTEGER REFERENCES felhasznalo (felh_id)
);
CREATE INDEX ix_oktato_kod ON oktato (oktato_kod);
CREATE INDEX ix_oktato_felh ON oktato (felh_id);

-- A student is recognised by any of the three codes.
CREATE TABLE hallgato (
  hallgato_id   INTEGER PRIMARY KEY AUTOINCREMENT,
  hallgato_kod  NVARCHAR(20)  COLLATE KOVRA_CI,
  hallgato_nev  NVARCHAR(100) COLLATE KOVRA_CI NOT NULL,
  hallgato_diak NVARCHAR(20)  COLLATE KOVRA_CI,
  hallgato_oa   NVARCHAR(20)  COLLATE KOVRA_CI
);
CREATE INDEX ix_hallgato_kod ON hallgato (hallgato_kod);
CREATE INDEX ix_hallgato_diak ON hallgato (hallgato_diak);
CREATE INDEX ix_hallgato_oa ON hallgato (hallgato_oa);
CREATE INDEX ix_hallgato_nev ON hallgato (hallgato_nev);

-- An empty end date is stored as NULL (the semesters window allows it).
CREATE TABLE felev (
  felev_id       INTEGER PRIMARY KEY AUTOINCREMENT,
  felev_nev      NVARCHAR(50) COLLATE KOVRA_CI NOT NULL,
  felev_neptun   NVARCHAR(20) COLLATE KOVRA_CI,
  felev_datumtol DATE TEXT CHECK (felev_datumtol IS date(felev_datumtol, '+0 days')),
  felev_datumig  DATE TEXT CHECK (felev_datumig IS date(felev_datumig, '+0 days'))
);

CREATE TABLE tantargy (
  tantargy_id  INTEGER PRIMARY KEY AUTOINCREMENT,
  tantargy_kod NVARCHAR(30)  COLLATE KOVRA_CI,
  tantargy_nev NVARCHAR(200) COLLATE KOVRA_CI NOT NULL
);
CREATE INDEX ix_tantargy_kod ON tantargy (tantargy_kod);

CREATE TABLE kurzus (
  kurzus_id  INTEGER PRIMARY KEY AUTOINCREMENT,
  kurzus_kod NVARCHAR(30)  COLLATE KOVRA_CI,
  kurzus_nev NVARCHAR(100) COLLATE KOVRA_CI NOT NULL
);
CREATE INDEX ix_kurzus_kod ON kurzus (kurzus_kod);

-- The Neptun import inserts the language name it reads; a course without one must not end the import.
CREATE TABLE nyelv (
  nyelv_id  INTEGER PRIMARY KEY AUTOINCREMENT,
  nyelv_nev NVARCHAR(50) COLLATE KOVRA_CI
);

CREATE TABLE tanora_forma (
  tof_id  INTEGER PRIMARY KEY AUTOINCREMENT,
  tof_nev NVARCHAR(50) COLLATE KOVRA_CI NOT NULL
);

CREATE TABLE sportag (
  sa_id  INTEGER PRIMARY KEY AUTOINCREMENT,
  sa_nev NVARCHAR(50) COLLATE KOVRA_CI NOT NULL
);

-- The windows write an offering first and check their required fields afterwards, so every
-- reference may be NULL here.
CREATE TABLE felvett_tantargy (
  ft_id       INTEGER PRIMARY KEY AUTOINCREMENT,
  tantargy_id INTEGER REFERENCES tantargy (tantargy_id),
  kurzus_id   INTEGER REFERENCES kurzus (kurzus_id),
  felev_id    INTEGER REFERENCES felev (felev_id),
  nyelv_id    INTEGER REFERENCES nyelv (nyelv_id),
  tof_id      INTEGER REFERENCES tanora_forma (tof_id),
  sa_id       INTEGER REFERENCES sportag (sa_id),
  evfolyam    NVARCHAR(10) COLLATE KOVRA_CI,
  kar_id      INTEGER REFERENCES kar (kar_id)
);
CREATE INDEX ix_felvett_tantargy_felev_kar ON felvett_tantargy (felev_id, kar_id);
CREATE INDEX ix_felvett_tantargy_tantargy ON felvett_tantargy (tantargy_id);
CREATE INDEX ix_felvett_tantargy_kurzus ON felvett_tantargy (kurzus_id);

-- felev_id may be NULL: the timetable window writes the entry before it checks the semester.
CREATE TABLE orarend (
  orarend_id     INTEGER PRIMARY KEY AUTOINCREMENT,
  kar_id         INTEGER REFERENCES kar (kar_id),
  felev_id       INTEGER REFERENCES felev (felev_id),
  orarend_nev    NVARCHAR(300) COLLATE KOVRA_CI NOT NULL,
  orarend_mettol TIME TEXT CHECK (orarend_mettol IS time(orarend_mettol, '+0 seconds')),
  orarend_meddig TIME TEXT CHECK (orarend_meddig IS time(orarend_meddig, '+0 seconds')),
  orarend_heti   BIT NOT NULL DEFAULT 0 CHECK (orarend_heti IN (0, 1)),
  orarend_potlas INTEGER DEFAULT 0
);
CREATE INDEX ix_orarend_felev_kar ON orarend (felev_id, kar_id);

-- An enrolment: ft_id NULL for rows of the group assignment window, orarend_id NULL when the student
-- is placed in no timetable entry. One student may have several rows for one offering.
CREATE TABLE tan_hall (
  th_id       INTEGER PRIMARY KEY AUTOINCREMENT,
  hallgato_id INTEGER NOT NULL REFERENCES hallgato (hallgato_id),
  ft_id       INTEGER REFERENCES felvett_tantargy (ft_id),
  orarend_id  INTEGER REFERENCES orarend (orarend_id)
);
CREATE INDEX ix_tan_hall_orarend ON tan_hall (orarend_id);
CREATE INDEX ix_tan_hall_hallgato ON tan_hall (hallgato_id);
CREATE INDEX ix_tan_hall_ft ON tan_hall (ft_id);

-- A teacher of an offering (ft_id) or of a timetable entry (orarend_id).
CREATE TABLE tan_okt (
  oktato_id  INTEGER NOT NULL REFERENCES oktato (oktato_id),
  ft_id      INTEGER REFERENCES felvett_tantargy (ft_id),
  orarend_id INTEGER REFERENCES orarend (orarend_id)
);
CREATE INDEX ix_tan_okt_oktato ON tan_okt (oktato_id);
CREATE INDEX ix_tan_okt_ft ON tan_okt (ft_id);
CREATE INDEX ix_tan_okt_orarend ON tan_okt (orarend_id);

-- One row per lesson date of an entry.
CREATE TABLE orarend_datum (
  od_id      INTEGER PRIMARY KEY AUTOINCREMENT,
  orarend_id INTEGER NOT NULL REFERENCES orarend (orarend_id),
  od_datum   DATE TEXT NOT NULL CHECK (od_datum IS date(od_datum, '+0 days'))
);
CREATE UNIQUE INDEX ux_orarend_datum ON orarend_datum (orarend_id, od_datum);

-- Timetable group: one row per (entry, offering) pair.
CREATE TABLE orarend_csoport (
  orarend_id INTEGER NOT NULL REFERENCES orarend (orarend_id),
  ft_id      INTEGER NOT NULL REFERENCES felvett_tantargy (ft_id)
);
CREATE UNIQUE INDEX ux_orarend_csoport ON orarend_csoport (orarend_id, ft_id);
CREATE INDEX ix_orarend_csoport_ft ON orarend_csoport (ft_id);

-- Attendance types. jt_jel is a character of the Wingdings symbol font, stored as the character the
-- Windows-1250 code page gives its byte (as the program's own 'ü'/'ű' ticks are), drawn by the program
-- as the Unicode symbol:
--   1 present  jt_jel 'ü' (U+00FC, Wingdings 0xFC) = check mark      U+2713 ✓   jt_mas '+'
--   2 absent   jt_jel 'ű' (U+0171, Wingdings 0xFB) = ballot x        U+2717 ✗   jt_mas '-'
--   3 make-up  jt_jel 'ţ' (U+0163, Wingdings 0xFE) = ballot box with check U+2611 ☑   jt_mas 'P'
-- jt_mas is the plain mark the printed sheets use instead.
CREATE TABLE jelenlet_tipusa (
  jt_id  INTEGER PRIMARY KEY AUTOINCREMENT,
  jt_jel NVARCHAR(1) COLLATE KOVRA_CI NOT NULL,
  jt_mas NVARCHAR(5) COLLATE KOVRA_CI NOT NULL
);

-- Duplicates are kept out by the record operations' existing-row check, deliberately not by a unique
-- index: the day summary diagnoses duplicates that concurrent captures may leave.
CREATE TABLE jelenlet (
  jelenlet_id    INTEGER PRIMARY KEY AUTOINCREMENT,
  hallgato_id    INTEGER NOT NULL REFERENCES hallgato (hallgato_id),
  orarend_id     INTEGER NOT NULL REFERENCES orarend (orarend_id),
  jelenlet_datum DATE TEXT NOT NULL CHECK (jelenlet_datum IS date(jelenlet_datum, '+0 days')),
  jt_id          INTEGER NOT NULL REFERENCES jelenlet_tipusa (jt_id)
);
CREATE INDEX ix_jelenlet_orarend_datum ON jelenlet (orarend_id, jelenlet_datum);
CREATE INDEX ix_jelenlet_hallgato ON jelenlet (hallgato_id, orarend_id, jelenlet_datum);

CREATE TABLE kartya (
  kartya_id    INTEGER PRIMARY KEY AUTOINCREMENT,
  hallgato_id  INTEGER NOT NULL REFERENCES hallgato (hallgato_id),
  kartya_datum DATE TEXT NOT NULL CHECK (kartya_datum IS date(kartya_datum, '+0 days'))
);
CREATE INDEX ix_kartya_hallgato ON kartya (hallgato_id, kartya_datum);

-- Capture journal.
CREATE TABLE Jelentes (
  jel_id     INTEGER PRIMARY KEY AUTOINCREMENT,
  jel_datum  DATETIME TEXT NOT NULL CHECK (jel_datum IS datetime(jel_datum, '+0 seconds')),
  jel_szoveg NTEXT COLLATE KOVRA_CI,
  felh_id    INTEGER REFERENCES felhasznalo (felh_id),
  kar_id     INTEGER REFERENCES kar (kar_id)
);
CREATE INDEX ix_jelentes_kar_datum ON Jelentes (kar_id, jel_datum);
CREATE INDEX ix_jelentes_felh ON Jelentes (felh_id);

-- Audit log: insert only, no key, no foreign key.
CREATE TABLE esemenynaplo (
  etipus_id       INTEGER NOT NULL,
  esemeny_datum   DATETIME TEXT NOT NULL CHECK (esemeny_datum IS datetime(esemeny_datum, '+0 seconds')),
  felh_id         INTEGER,
  erintett_tabla  NVARCHAR(50) COLLATE KOVRA_CI,
  erintett_rekord NVARCHAR(50) COLLATE KOVRA_CI,
  regi_ertek      NTEXT COLLATE KOVRA_CI,
  uj_ertek        NTEXT COLLATE KOVRA_CI
);

-- Error log; hn_allapot NULL or 0 in progress, 1 fixed, 2 deleted.
CREATE TABLE hibanaplo (
  hn_id      INTEGER PRIMARY KEY AUTOINCREMENT,
  felh_id    INTEGER REFERENCES felhasznalo (felh_id),
  hn_datum   DATETIME TEXT CHECK (hn_datum IS datetime(hn_datum, '+0 seconds')),
  hn_leiras  NTEXT COLLATE KOVRA_CI,
  hn_allapot INTEGER
);
CREATE INDEX ix_hibanaplo_datum ON hibanaplo (hn_datum);
CREATE INDEX ix_hibanaplo_felh ON hibanaplo (felh_id);

-- Code rows.
-- 1 Adminisztrátor, 2 Tanulmányi ügyintéző, 3 Oktató, 4 Kártyakezelő, 5 Hallgató
INSERT INTO szerepkor (szerep_id, szerep_nev) VALUES
  (1, 'Adminisztr' || char(225) || 'tor'),
  (2, 'Tanulm' || char(225) || 'nyi ' || char(252) || 'gyint' || char(233) || 'z' || char(337)),
  (3, 'Oktat' || char(243)),
  (4, 'K' || char(225) || 'rtyakezel' || char(337)),
  (5, 'Hallgat' || char(243));

INSERT INTO jelenlet_tipusa (jt_id, jt_jel, jt_mas) VALUES
  (1, char(252), '+'),
  (2, char(369), '-'),
  (3, char(355), 'P');

-- Settings: one row; the updater reads ADATBAZIS_VERZIO and runs the scripts numbered above it.
-- Every later script ends with: UPDATE beallitasok SET ADATBAZIS_VERZIO = <its number>;
CREATE TABLE beallitasok (
  ADATBAZIS_VERZIO INTEGER NOT NULL
);
INSERT INTO beallitasok (ADATBAZIS_VERZIO) VALUES (0);
