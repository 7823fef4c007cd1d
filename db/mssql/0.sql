-- KOVRA base schema, SQL Server 2008 or later. Version 0.
--
-- Batches are separated by lines holding only GO. The script opens no transaction (the updater never
-- sends COMMIT lines). Outside comments the text is 7-bit ASCII (accented letters of the code rows come
-- from NCHAR()), so it runs the same in sqlcmd, SSMS or the updater whatever code page they assume.
--
-- The database must be created beforehand with a case-insensitive default collation whose code page
-- holds the Hungarian letters, for example
--     CREATE DATABASE KOVRA COLLATE Hungarian_100_CI_AS;
-- The program writes table names in mixed case (Jelentes, jelentes, Tan_Hall) and sends values as
-- non-Unicode literals ('Győri'), which the server converts through the database's code page: with a
-- Latin-1 default, ő and ű would silently become o and u. The first batch refuses other databases.
--
-- Text columns carry Latin1_General_100_CI_AS: case-insensitive, accent-sensitive and, unlike the
-- Hungarian collations, without digraph contractions (there 'CS' is one letter, so 'CSABA' LIKE 'C%'
-- is false and 'ccs' = 'cscs'); the same comparison as the embedded engine's KOVRA_CI. Columns are
-- nvarchar, so the column collation's code page does not limit what is stored.
--
-- Foreign keys have no cascades. The windows delete dependants first (timetable entry: lesson dates,
-- attendance, enrolments released, teachers, groups, then the entry; subject offering: teachers,
-- enrolments, then the offering), so those orders pass, while the deletes the windows answer with
-- "cannot be deleted" fail here: a user still named by a teacher, journal or error row; a teacher with
-- assignments; an offering still linked to a timetable entry. The audit log has no foreign key.
--
-- NOCOUNT stays on for the session, so no batch returns row counts a client would have to read.

SET NOCOUNT ON;
DECLARE @collation nvarchar(128);
SET @collation = CAST(DATABASEPROPERTYEX(DB_NAME(), 'Collation') AS nvarchar(128));
IF @collation NOT LIKE N'%[_]CI[_]%'
   OR CAST(COLLATIONPROPERTY(@collation, 'CodePage') AS int) NOT IN (1250, 65001)
BEGIN
    RAISERROR (N'KOVRA needs a database whose default collation is case-insensitive with code page 1250 or UTF-8 (for example Hungarian_100_CI_AS); this one has %s.', 16, 1, @collation);
    SET NOEXEC ON;
END
ELSE IF OBJECT_ID(N'dbo.kar', N'U') IS NOT NULL
BEGIN
    RAISERROR (N'The KOVRA tables already exist in this database.', 16, 1);
    SET NOEXEC ON;
END
GO

CREATE TABLE dbo.kar (
    kar_id     int IDENTITY(1,1) NOT NULL CONSTRAINT PK_kar PRIMARY KEY,
    kar_kod    nvarchar(20)  COLLATE Latin1_General_100_CI_AS NULL,
    kar_nev    nvarchar(100) COLLATE Latin1_General_100_CI_AS NOT NULL,
    kar_aktiv  bit NOT NULL CONSTRAINT DF_kar_aktiv DEFAULT (1)
);
GO

CREATE TABLE dbo.szerepkor (
    szerep_id  int IDENTITY(1,1) NOT NULL CONSTRAINT PK_szerepkor PRIMARY KEY,
    szerep_nev nvarchar(50) COLLATE Latin1_General_100_CI_AS NOT NULL
);
GO

-- felh_jelszo: low 16 bits of the complemented CRC-32 of the password; NULL = cannot log in yet.
-- kar_id stays NULL for accounts the teachers window creates (their szerep_id is 3, teacher).
CREATE TABLE dbo.felhasznalo (
    felh_id     int IDENTITY(1,1) NOT NULL CONSTRAINT PK_felhasznalo PRIMARY KEY,
    felh_nev    nvarchar(20)  COLLATE Latin1_General_100_CI_AS NOT NULL,
    felh_jelszo int NULL,
    felh_email  nvarchar(100) COLLATE Latin1_General_100_CI_AS NULL,
    felh_teljes nvarchar(100) COLLATE Latin1_General_100_CI_AS NULL,
    felh_aktiv  bit NOT NULL CONSTRAINT DF_felhasznalo_aktiv DEFAULT (1),
    kar_id      int NULL CONSTRAINT FK_felhasznalo_kar REFERENCES dbo.kar (kar_id),
    szerep_id   int NULL CONSTRAINT FK_felhasznalo_szerepkor REFERENCES dbo.szerepkor (szerep_id)
);
CREATE INDEX ix_felhasznalo_nev ON dbo.felhasznalo (felh_nev);
GO

CREATE TABLE dbo.oktato (
    oktato_id  int IDENTITY(1,1) NOT NULL CONSTRAINT PK_oktato PRIMARY KEY,
    oktato_kod nvarchar(20)  COLLATE Latin1_General_100_CI_AS NULL,
    oktato_nev nvarchar(100) COLLATE Latin1_General_100_CI_AS NOT NULL,
    felh_id    int NULL CONSTRAINT FK_oktato_felhasznalo REFERENCES dbo.felhasznalo (felh_id)
);
CREATE INDEX ix_oktato_kod ON dbo.oktato (oktato_kod);
CREATE INDEX ix_oktato_felh ON dbo.oktato (felh_id);
GO

-- A student is recognised by any of the three codes.
CREATE TABLE dbo.hallgato (
    hallgato_id   int IDENTITY(1,1) NOT NULL CONSTRAINT PK_hallgato PRIMARY KEY,
    hallgato_kod  nvarchar(20)  COLLATE Latin1_General_100_CI_AS NULL,
    hallgato_nev  nvarchar(100) COLLATE Latin1_General_100_CI_AS NOT NULL,
    hallgato_diak nvarchar(20)  COLLATE Latin1_General_100_CI_AS NULL,
    hallgato_oa   nvarchar(20)  COLLATE Latin1_General_100_CI_AS NULL
);
CREATE INDEX ix_hallgato_kod ON dbo.hallgato (hallgato_kod);
CREATE INDEX ix_hallgato_diak ON dbo.hallgato (hallgato_diak);
CREATE INDEX ix_hallgato_oa ON dbo.hallgato (hallgato_oa);
CREATE INDEX ix_hallgato_nev ON dbo.hallgato (hallgato_nev);
GO

-- An empty end date is stored as NULL (the semesters window allows it).
CREATE TABLE dbo.felev (
    felev_id       int IDENTITY(1,1) NOT NULL CONSTRAINT PK_felev PRIMARY KEY,
    felev_nev      nvarchar(50) COLLATE Latin1_General_100_CI_AS NOT NULL,
    felev_neptun   nvarchar(20) COLLATE Latin1_General_100_CI_AS NULL,
    felev_datumtol date NULL,
    felev_datumig  date NULL
);
GO

CREATE TABLE dbo.tantargy (
    tantargy_id  int IDENTITY(1,1) NOT NULL CONSTRAINT PK_tantargy PRIMARY KEY,
    tantargy_kod nvarchar(30)  COLLATE Latin1_General_100_CI_AS NULL,
    tantargy_nev nvarchar(200) COLLATE Latin1_General_100_CI_AS NOT NULL
);
CREATE INDEX ix_tantargy_kod ON dbo.tantargy (tantargy_kod);
GO

CREATE TABLE dbo.kurzus (
    kurzus_id  int IDENTITY(1,1) NOT NULL CONSTRAINT PK_kurzus PRIMARY KEY,
    kurzus_kod nvarchar(30)  COLLATE Latin1_General_100_CI_AS NULL,
    kurzus_nev nvarchar(100) COLLATE Latin1_General_100_CI_AS NOT NULL
);
CREATE INDEX ix_kurzus_kod ON dbo.kurzus (kurzus_kod);
GO

-- The Neptun import inserts the language name it reads; a course without one must not end the import.
CREATE TABLE dbo.nyelv (
    nyelv_id  int IDENTITY(1,1) NOT NULL CONSTRAINT PK_nyelv PRIMARY KEY,
    nyelv_nev nvarchar(50) COLLATE Latin1_General_100_CI_AS NULL
);
GO

CREATE TABLE dbo.tanora_forma (
    tof_id  int IDENTITY(1,1) NOT NULL CONSTRAINT PK_tanora_forma PRIMARY KEY,
    tof_nev nvarchar(50) COLLATE Latin1_General_100_CI_AS NOT NULL
);
GO

CREATE TABLE dbo.sportag (
    sa_id  int IDENTITY(1,1) NOT NULL CONSTRAINT PK_sportag PRIMARY KEY,
    sa_nev nvarchar(50) COLLATE Latin1_General_100_CI_AS NOT NULL
);
GO

-- The windows write an offering first and check their required fields afterwards, so every
-- reference may be NULL here.
CREATE TABLE dbo.felvett_tantargy (
    ft_id       int IDENTITY(1,1) NOT NULL CONSTRAINT PK_felvett_tantargy PRIMARY KEY,
    tantargy_id int NULL CONSTRAINT FK_felvett_tantargy_tantargy REFERENCES dbo.tantargy (tantargy_id),
    kurzus_id   int NULL CONSTRAINT FK_felvett_tantargy_kurzus REFERENCES dbo.kurzus (kurzus_id),
    felev_id    int NULL CONSTRAINT FK_felvett_tantargy_felev REFERENCES dbo.felev (felev_id),
    nyelv_id    int NULL CONSTRAINT FK_felvett_tantargy_nyelv REFERENCES dbo.nyelv (nyelv_id),
    tof_id      int NULL CONSTRAINT FK_felvett_tantargy_tanora_forma REFERENCES dbo.tanora_forma (tof_id),
    sa_id       int NULL CONSTRAINT FK_felvett_tantargy_sportag REFERENCES dbo.sportag (sa_id),
    evfolyam    nvarchar(10) COLLATE Latin1_General_100_CI_AS NULL,
    kar_id      int NULL CONSTRAINT FK_felvett_tantargy_kar REFERENCES dbo.kar (kar_id)
);
CREATE INDEX ix_felvett_tantargy_felev_kar ON dbo.felvett_tantargy (felev_id, kar_id);
CREATE INDEX ix_felvett_tantargy_tantargy ON dbo.felvett_tantargy (tantargy_id);
CREATE INDEX ix_felvett_tantargy_kurzus ON dbo.felvett_tantargy (kurzus_id);
GO

-- felev_id may be NULL: the timetable window writes the entry before it checks the semester.
-- Times are written as 'hh:mm:00.0000' and read back through Left(x, 5).
CREATE TABLE dbo.orarend (
    orarend_id     int IDENTITY(1,1) NOT NULL CONSTRAINT PK_orarend PRIMARY KEY,
    kar_id         int NULL CONSTRAINT FK_orarend_kar REFERENCES dbo.kar (kar_id),
    felev_id       int NULL CONSTRAINT FK_orarend_felev REFERENCES dbo.felev (felev_id),
    orarend_nev    nvarchar(300) COLLATE Latin1_General_100_CI_AS NOT NULL,
    orarend_mettol time(0) NULL,
    orarend_meddig time(0) NULL,
    orarend_heti   bit NOT NULL CONSTRAINT DF_orarend_heti DEFAULT (0),
    orarend_potlas int NULL CONSTRAINT DF_orarend_potlas DEFAULT (0)
);
CREATE INDEX ix_orarend_felev_kar ON dbo.orarend (felev_id, kar_id);
GO

-- An enrolment: ft_id NULL for rows of the group assignment window, orarend_id NULL when the student
-- is placed in no timetable entry. One student may have several rows for one offering.
CREATE TABLE dbo.tan_hall (
    th_id       int IDENTITY(1,1) NOT NULL CONSTRAINT PK_tan_hall PRIMARY KEY,
    hallgato_id int NOT NULL CONSTRAINT FK_tan_hall_hallgato REFERENCES dbo.hallgato (hallgato_id),
    ft_id       int NULL CONSTRAINT FK_tan_hall_felvett_tantargy REFERENCES dbo.felvett_tantargy (ft_id),
    orarend_id  int NULL CONSTRAINT FK_tan_hall_orarend REFERENCES dbo.orarend (orarend_id)
);
CREATE INDEX ix_tan_hall_orarend ON dbo.tan_hall (orarend_id);
CREATE INDEX ix_tan_hall_hallgato ON dbo.tan_hall (hallgato_id);
CREATE INDEX ix_tan_hall_ft ON dbo.tan_hall (ft_id);
GO

-- A teacher of an offering (ft_id) or of a timetable entry (orarend_id). No identity column.
CREATE TABLE dbo.tan_okt (
    oktato_id  int NOT NULL CONSTRAINT FK_tan_okt_oktato REFERENCES dbo.oktato (oktato_id),
    ft_id      int NULL CONSTRAINT FK_tan_okt_felvett_tantargy REFERENCES dbo.felvett_tantargy (ft_id),
    orarend_id int NULL CONSTRAINT FK_tan_okt_orarend REFERENCES dbo.orarend (orarend_id)
);
CREATE INDEX ix_tan_okt_oktato ON dbo.tan_okt (oktato_id);
CREATE INDEX ix_tan_okt_ft ON dbo.tan_okt (ft_id);
CREATE INDEX ix_tan_okt_orarend ON dbo.tan_okt (orarend_id);
GO

-- One row per lesson date of an entry.
CREATE TABLE dbo.orarend_datum (
    od_id      int IDENTITY(1,1) NOT NULL CONSTRAINT PK_orarend_datum PRIMARY KEY,
    orarend_id int NOT NULL CONSTRAINT FK_orarend_datum_orarend REFERENCES dbo.orarend (orarend_id),
    od_datum   date NOT NULL
);
CREATE UNIQUE INDEX ux_orarend_datum ON dbo.orarend_datum (orarend_id, od_datum);
GO

-- Timetable group: one row per (entry, offering) pair. No identity column.
CREATE TABLE dbo.orarend_csoport (
    orarend_id int NOT NULL CONSTRAINT FK_orarend_csoport_orarend REFERENCES dbo.orarend (orarend_id),
    ft_id      int NOT NULL CONSTRAINT FK_orarend_csoport_felvett_tantargy REFERENCES dbo.felvett_tantargy (ft_id)
);
CREATE UNIQUE INDEX ux_orarend_csoport ON dbo.orarend_csoport (orarend_id, ft_id);
CREATE INDEX ix_orarend_csoport_ft ON dbo.orarend_csoport (ft_id);
GO

-- Attendance types; jt_jel is a Wingdings character (see the code rows below), jt_mas the plain mark
-- of the printed sheets.
CREATE TABLE dbo.jelenlet_tipusa (
    jt_id  int IDENTITY(1,1) NOT NULL CONSTRAINT PK_jelenlet_tipusa PRIMARY KEY,
    jt_jel nvarchar(1) COLLATE Latin1_General_100_CI_AS NOT NULL,
    jt_mas nvarchar(5) COLLATE Latin1_General_100_CI_AS NOT NULL
);
GO

-- Duplicates are kept out by the record operations' existing-row check, deliberately not by a unique
-- index: the day summary diagnoses duplicates that concurrent captures may leave.
CREATE TABLE dbo.jelenlet (
    jelenlet_id    int IDENTITY(1,1) NOT NULL CONSTRAINT PK_jelenlet PRIMARY KEY,
    hallgato_id    int NOT NULL CONSTRAINT FK_jelenlet_hallgato REFERENCES dbo.hallgato (hallgato_id),
    orarend_id     int NOT NULL CONSTRAINT FK_jelenlet_orarend REFERENCES dbo.orarend (orarend_id),
    jelenlet_datum date NOT NULL,
    jt_id          int NOT NULL CONSTRAINT FK_jelenlet_jelenlet_tipusa REFERENCES dbo.jelenlet_tipusa (jt_id)
);
CREATE INDEX ix_jelenlet_orarend_datum ON dbo.jelenlet (orarend_id, jelenlet_datum);
CREATE INDEX ix_jelenlet_hallgato ON dbo.jelenlet (hallgato_id, orarend_id, jelenlet_datum);
GO

CREATE TABLE dbo.kartya (
    kartya_id    int IDENTITY(1,1) NOT NULL CONSTRAINT PK_kartya PRIMARY KEY,
    hallgato_id  int NOT NULL CONSTRAINT FK_kartya_hallgato REFERENCES dbo.hallgato (hallgato_id),
    kartya_datum date NOT NULL
);
CREATE INDEX ix_kartya_hallgato ON dbo.kartya (hallgato_id, kartya_datum);
GO

-- Capture journal.
CREATE TABLE dbo.Jelentes (
    jel_id     int IDENTITY(1,1) NOT NULL CONSTRAINT PK_Jelentes PRIMARY KEY,
    jel_datum  datetime NOT NULL,
    jel_szoveg nvarchar(max) COLLATE Latin1_General_100_CI_AS NULL,
    felh_id    int NULL CONSTRAINT FK_Jelentes_felhasznalo REFERENCES dbo.felhasznalo (felh_id),
    kar_id     int NULL CONSTRAINT FK_Jelentes_kar REFERENCES dbo.kar (kar_id)
);
CREATE INDEX ix_jelentes_kar_datum ON dbo.Jelentes (kar_id, jel_datum);
CREATE INDEX ix_jelentes_felh ON dbo.Jelentes (felh_id);
GO

-- Audit log: insert only, no key, no foreign key.
CREATE TABLE dbo.esemenynaplo (
    etipus_id       int NOT NULL,
    esemeny_datum   datetime NOT NULL,
    felh_id         int NULL,
    erintett_tabla  nvarchar(50) COLLATE Latin1_General_100_CI_AS NULL,
    erintett_rekord nvarchar(50) COLLATE Latin1_General_100_CI_AS NULL,
    regi_ertek      nvarchar(max) COLLATE Latin1_General_100_CI_AS NULL,
    uj_ertek        nvarchar(max) COLLATE Latin1_General_100_CI_AS NULL
);
GO

-- Error log; hn_allapot NULL or 0 in progress, 1 fixed, 2 deleted.
CREATE TABLE dbo.hibanaplo (
    hn_id      int IDENTITY(1,1) NOT NULL CONSTRAINT PK_hibanaplo PRIMARY KEY,
    felh_id    int NULL CONSTRAINT FK_hibanaplo_felhasznalo REFERENCES dbo.felhasznalo (felh_id),
    hn_datum   datetime NULL,
    hn_leiras  nvarchar(max) COLLATE Latin1_General_100_CI_AS NULL,
    hn_allapot int NULL
);
CREATE INDEX ix_hibanaplo_datum ON dbo.hibanaplo (hn_datum);
CREATE INDEX ix_hibanaplo_felh ON dbo.hibanaplo (felh_id);
GO

-- Roles: 1 Adminisztrátor, 2 Tanulmányi ügyintéző, 3 Oktató, 4 Kártyakezelő, 5 Hallgató.
SET IDENTITY_INSERT dbo.szerepkor ON;
INSERT INTO dbo.szerepkor (szerep_id, szerep_nev) VALUES
    (1, N'Adminisztr' + NCHAR(225) + N'tor'),
    (2, N'Tanulm' + NCHAR(225) + N'nyi ' + NCHAR(252) + N'gyint' + NCHAR(233) + N'z' + NCHAR(337)),
    (3, N'Oktat' + NCHAR(243)),
    (4, N'K' + NCHAR(225) + N'rtyakezel' + NCHAR(337)),
    (5, N'Hallgat' + NCHAR(243));
SET IDENTITY_INSERT dbo.szerepkor OFF;
GO

-- Attendance types. jt_jel is the Wingdings character stored as the character the Windows-1250 code
-- page gives its byte (as the program's own 'ü'/'ű' ticks are):
--   1 present  NCHAR(252) 'ü', Wingdings 0xFC = check mark   U+2713   jt_mas '+'
--   2 absent   NCHAR(369) 'ű', Wingdings 0xFB = ballot x     U+2717   jt_mas '-'
--   3 make-up  NCHAR(355) 'ţ', Wingdings 0xFE = ballot box with check U+2611   jt_mas 'P'
SET IDENTITY_INSERT dbo.jelenlet_tipusa ON;
INSERT INTO dbo.jelenlet_tipusa (jt_id, jt_jel, jt_mas) VALUES
    (1, NCHAR(252), N'+'),
    (2, NCHAR(369), N'-'),
    (3, NCHAR(355), N'P');
SET IDENTITY_INSERT dbo.jelenlet_tipusa OFF;
GO

-- XML methods need QUOTED_IDENTIFIER ON; a module keeps the settings it was created with.
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO

-- The course codes of a timetable entry's groups, joined with ', ' in code order; '' when it has none
-- (never NULL: callers append it to names with +). NULL codes are left out, repeated ones kept.
CREATE FUNCTION dbo.orarend_kurzus (@orarend_id int)
RETURNS nvarchar(4000)
AS
BEGIN
    DECLARE @kurzusok nvarchar(max);
    SET @kurzusok = (SELECT N', ' + k.kurzus_kod
                     FROM dbo.orarend_csoport AS cs
                     INNER JOIN dbo.felvett_tantargy AS ft ON ft.ft_id = cs.ft_id
                     INNER JOIN dbo.kurzus AS k ON k.kurzus_id = ft.kurzus_id
                     WHERE cs.orarend_id = @orarend_id AND k.kurzus_kod IS NOT NULL
                     ORDER BY k.kurzus_kod
                     FOR XML PATH(''), TYPE).value('.', 'nvarchar(max)');
    RETURN ISNULL(STUFF(@kurzusok, 1, 2, N''), N'');
END
GO

-- Settings: one row; the updater reads ADATBAZIS_VERZIO and runs the scripts numbered above it.
-- Every later script ends with: UPDATE dbo.beallitasok SET ADATBAZIS_VERZIO = <its number>
-- Created last, so a base script that stopped half way leaves the version unreadable.
CREATE TABLE dbo.beallitasok (
    ADATBAZIS_VERZIO int NOT NULL
);
INSERT INTO dbo.beallitasok (ADATBAZIS_VERZIO) VALUES (0);
GO
