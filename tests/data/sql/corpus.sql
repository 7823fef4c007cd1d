-- login: user lookup
Select a.felh_id, a.felh_nev, a.felh_email, (Select x.oktato_id From Oktato x Where x.felh_id=a.felh_id) as okt, a.kar_id, a.szerep_id From felhasznalo a Where a.felh_nev='ADMIN' and a.felh_jelszo = '12345' 
GO
-- login: faculty of the user
Select kar_kod, kar_nev From kar Where kar_id=1
GO
-- main window: faculty selector
Select kar_id as ID, kar_nev as NEV From kar Where kar_aktiv=1 Order By NEV
GO
-- main window: faculty change
Select kar_id, kar_kod, kar_nev From kar Where kar_id=1
GO
-- password change: stored query
Select felh_id, felh_jelszo From felhasznalo Where felh_jelszo = :jelszo and felh_nev = :nev
GO
-- InsertRecord: existing-row check
Select Count(*) DB From felev Where felev_nev = '2024/25/1' AND felev_neptun='2024/25/1' 
GO
-- InsertRecord: existing-row check with NULL
Select Count(*) DB From tan_hall Where hallgato_id = '12' AND orarend_id is null AND ft_id='7'
GO
-- InsertRecord: insert
Insert Into felev (felev_nev, felev_neptun, felev_datumtol, felev_datumig) Values ('2024/25/1', '2024/25/1', '20240901', '20250131')
GO
-- InsertRecord: insert with null
Insert Into tan_hall (hallgato_id, orarend_id, ft_id) Values ('12', null, '7')
GO
-- InsertRecord: new key
select scope_identity() as ID
GO
-- InsertRecord: existing row
Select * from felev where felev_nev = '2024/25/1' AND felev_neptun='2024/25/1'
GO
-- InsertRecord: audit row
Insert Into esemenynaplo (etipus_id, esemeny_datum, felh_id, erintett_tabla, erintett_rekord, uj_ertek) Values ('1', getdate(),'1','felev','1','2024/25/1, 2024/25/1, 20240901, 20250131')
GO
-- UpdateRecord: old row
Select * From felev Where felev_id=1
GO
-- UpdateRecord: update
Update felev Set felev_nev = '2024/25/1', felev_neptun = '2024/25/1', felev_datumtol = '20240901', felev_datumig = '20250131' Where felev_id=1
GO
-- UpdateRecord: update to null
Update tan_hall Set orarend_id = Null Where th_id=1
GO
-- UpdateRecord: audit row
Insert Into esemenynaplo (etipus_id, esemeny_datum, felh_id, erintett_tabla, erintett_rekord, regi_ertek, uj_ertek) Values ('2', getdate(),'1','felev','1','felev_id=1; felev_nev=2024/25/1; ','felev_nev = 2024/25/1')
GO
-- DeleteRecord
delete from orarend_datum Where od_id=1
GO
-- ServerNow
Select convert(varchar(50), getdate(), 20) as DATUM_IDO, convert(varchar(50), getdate(), 102) as DATUM, convert(varchar(50), getdate(), 108) as IDO 
GO
-- SemesterOfDate
Select felev_id From felev Where '20240917' >= felev_datumtol and '20240917' <= felev_datumig
GO
-- FindCurrentSemester
Select felev_id From felev Where '2024.09.17' >= felev_datumtol and '2024.09.17' <= felev_datumig
GO
-- FindCurrentSemester: latest
Select felev_id From felev Order By felev_datumtol desc
GO
-- semester week: first day
Select felev_datumtol From felev Where '20240917' >= felev_datumtol and '20240917' <= felev_datumig
GO
-- semester week: lesson dates before now
Select COUNT(*) as db From orarend_datum Where orarend_id=1 and od_datum < GETDATE()
GO
-- lookup combo: generic
Select szerep_nev as NEV, szerep_id as ID from szerepkor order by szerep_nev
GO
-- lookup combo: semesters
Select felev_nev as NEV, felev_id as ID from felev order by felev_nev
GO
-- grid sorting
Select * From felev
  order by felev_nev desc
GO
-- semesters: list
Select * From felev
GO
-- faculties: list
Select *, (Case When kar_aktiv='1' Then 'ü' Else 'ű' End) as aktiv From kar
GO
-- faculties: insert
Insert Into kar (kar_nev, kar_kod, kar_aktiv) Values ('Bölcsészettudományi Kar', 'BTK', '1')
GO
-- users: list
Select a.*, (Select x.szerep_nev From szerepkor x Where x.szerep_id=a.szerep_id) as szerepkor, (Select x.kar_nev From kar x Where x.kar_id=a.kar_id) as kar, (Case When a.felh_aktiv = 1 Then 'ü' Else 'ű' End) as aktiv From felhasznalo a Order By a.felh_nev
GO
-- users: active only
Select a.*, (Select x.szerep_nev From szerepkor x Where x.szerep_id=a.szerep_id) as szerepkor, (Select x.kar_nev From kar x Where x.kar_id=a.kar_id) as kar, (Case When a.felh_aktiv = 1 Then 'ü' Else 'ű' End) as aktiv From felhasznalo a Where a.felh_aktiv=1 Order By a.felh_nev
GO
-- users: inactive only
Select a.*, (Select x.szerep_nev From szerepkor x Where x.szerep_id=a.szerep_id) as szerepkor, (Select x.kar_nev From kar x Where x.kar_id=a.kar_id) as kar, (Case When a.felh_aktiv = 1 Then 'ü' Else 'ű' End) as aktiv From felhasznalo a Where a.felh_aktiv=0 Order By a.felh_nev
GO
-- users: insert
Insert Into Felhasznalo (felh_nev, szerep_id, kar_id, felh_aktiv, felh_jelszo, felh_teljes, felh_email) Values ('KISSA', '3', '1', '1', '48701', 'Kiss Anna', 'kiss.anna@example.hu')
GO
-- users: update
Update Felhasznalo Set felh_nev = 'KISSA', szerep_id = '3', kar_id = '1', felh_aktiv = '1', felh_teljes = 'Kiss Anna', felh_email = '' Where felh_id=1
GO
-- users: delete
delete from felhasznalo Where felh_id=99
GO
-- teachers: list
Select a.oktato_id, a.felh_id, a.oktato_kod, a.oktato_nev From oktato a Order By a.oktato_nev
GO
-- teachers: offerings
Select b.oktato_id, a.ft_id, (Select x.tantargy_nev From tantargy x Where x.tantargy_id=a.tantargy_id) as tantargy, (Select x.kurzus_nev From kurzus x Where x.kurzus_id=a.kurzus_id) as kurzus, (Select x.nyelv_nev From nyelv x Where x.nyelv_id=a.nyelv_id) as nyelv, (Select x.felev_nev From felev x Where x.felev_id=a.felev_id) as felev, (Select x.tof_nev From tanora_forma x Where x.tof_id=a.tof_id) as forma From felvett_tantargy a, tan_okt b Where a.ft_id=b.ft_id and b.oktato_id=:OKT_ID
GO
-- teachers: offering choice
Select a.ft_id as ID, (b.tantargy_nev + ' - ' + (Select x.kurzus_kod From Kurzus x Where x.kurzus_id=a.kurzus_id)) as NEV From felvett_tantargy a, tantargy b Where a.tantargy_id=b.tantargy_id and a.kar_id=1 Order By NEV
GO
-- teachers: name search
Select oktato_id From oktato Where oktato_nev like '%O''Neil%'
GO
-- teachers: insert user
Insert Into felhasznalo (felh_aktiv, felh_nev, felh_teljes) Values ('1', 'OKT1', 'Dr. Tanár Ödön')
GO
-- teachers: insert teacher
Insert Into oktato (felh_id, oktato_kod, oktato_nev) Values ('1', 'OKT1', 'Dr. Tanár Ödön')
GO
-- teachers: remove offering
delete from tan_okt Where ft_id=1 and oktato_id=1
GO
-- students: list
Select a.hallgato_kod, a.hallgato_nev, a.hallgato_id, a.hallgato_diak, a.hallgato_oa From hallgato a Where a.hallgato_id in (Select b.hallgato_id From Tan_Hall b, Orarend c Where b.orarend_id=c.orarend_id and c.kar_id=:KAR_ID) Order By a.hallgato_nev
GO
-- students: enrolments
Select a.tantargy_id, a.felev_id, a.nyelv_id, a.kurzus_id, tof_id, a.ft_id, b.orarend_id, b.th_id, (Select x.orarend_nev From orarend x Where x.orarend_id=b.orarend_id) as orarend, (Select x.tantargy_nev From tantargy x Where x.tantargy_id=a.tantargy_id) as tantargy, (Select x.kurzus_nev From kurzus x Where x.kurzus_id=a.kurzus_id) as kurzus, (Select x.nyelv_nev From nyelv x Where x.nyelv_id=a.nyelv_id) as nyelv, (Select x.felev_nev From felev x Where x.felev_id=a.felev_id) as felev, (Select x.tof_nev From tanora_forma x Where x.tof_id=a.tof_id) as forma From felvett_tantargy a, tan_hall b Where a.ft_id=b.ft_id and b.hallgato_id=:hal_id and a.kar_id=:kar_id
GO
-- students: attendance entries
Select a.hallgato_id, a.orarend_id, a.jelenlet_datum, a.jt_id, a.jelenlet_id, (Select x.jt_jel From jelenlet_tipusa x Where x.jt_id=a.jt_id) as jel, b.orarend_nev From jelenlet a, orarend b Where a.hallgato_id = :HALL_ID and a.orarend_id=b.orarend_id and b.felev_id = :FE_ID and b.kar_id=:KAR_ID Order By a.jelenlet_datum
GO
-- students: subject list
Select a.tantargy_id as ID, a.tantargy_nev as NEV From Tantargy a Where a.tantargy_id in (Select x.tantargy_id From Felvett_tantargy x Where x.kar_id = 1 and x.felev_id = 1)
GO
-- students: insert
Insert Into hallgato (hallgato_kod, hallgato_nev, hallgato_diak, hallgato_oa) Values ('ABC123', 'Kiss Ádám', '1234567', '71234567890')
GO
-- students: offering insert
Insert Into felvett_tantargy (kar_id, tantargy_id, nyelv_id, felev_id, tof_id, kurzus_id) Values ('1', '1', null, '1', '1', '1')
GO
-- students: move enrolment
Update tan_hall Set orarend_id = '1' Where th_id=1
GO
-- offerings: one semester
Select a.ft_id, a.tantargy_id, a.kurzus_id, a.felev_id, a.nyelv_id, a.tof_id, a.evfolyam, (Select x.tof_nev From tanora_forma x Where x.tof_id=a.tof_id) as forma, (Select x.nyelv_nev From nyelv x Where x.nyelv_id=a.nyelv_id) as nyelv, (Select x.felev_nev From felev x Where x.felev_id=a.felev_id) as felev, (Select x.kurzus_nev From kurzus x Where x.kurzus_id=a.kurzus_id) as kurzus, (Select x.tantargy_nev From tantargy x Where x.tantargy_id=a.tantargy_id) as tantargy From felvett_tantargy a Where a.felev_id=1 and a.kar_id=1
GO
-- offerings: all semesters
Select a.ft_id, a.tantargy_id, a.kurzus_id, a.felev_id, a.nyelv_id, a.tof_id, a.evfolyam, (Select x.tof_nev From tanora_forma x Where x.tof_id=a.tof_id) as forma, (Select x.nyelv_nev From nyelv x Where x.nyelv_id=a.nyelv_id) as nyelv, (Select x.felev_nev From felev x Where x.felev_id=a.felev_id) as felev, (Select x.kurzus_nev From kurzus x Where x.kurzus_id=a.kurzus_id) as kurzus, (Select x.tantargy_nev From tantargy x Where x.tantargy_id=a.tantargy_id) as tantargy From felvett_tantargy a Where a.kar_id=1
GO
-- offerings: filter without selection
Select a.ft_id, a.tantargy_id From felvett_tantargy a Where a.felev_id=null and a.kar_id=1
GO
-- offerings: students of the offering
Select (a.hallgato_nev + ' (' + a.hallgato_kod + ')') as hallgato From hallgato a, tan_hall b Where a.hallgato_id=b.hallgato_id and b.ft_id=:FT_ID
GO
-- offerings: courses
Select a.kurzus_id as ID, a.kurzus_nev as NEV From Kurzus a Where a.kurzus_id in (Select x.kurzus_id From Felvett_tantargy x Where x.kar_id = 1 and x.felev_id = 1)
GO
-- offerings: insert
Insert Into felvett_tantargy (kar_id, felev_id, tantargy_id, tof_id, kurzus_id, nyelv_id, evfolyam) Values ('1', '1', '1', '1', '1', '1', '2')
GO
-- offerings: moved attendance
Select a.jelenlet_id, a.orarend_id, a.hallgato_id From Jelenlet a Where a.hallgato_id in (Select x.hallgato_id From Tan_Hall x Where x.orarend_id=1 and x.ft_id=1) and a.orarend_id in (Select x.orarend_id From Orarend x Where x.felev_id=1)
GO
-- offerings: link group
Insert Into orarend_csoport (orarend_id, ft_id) Values ('1', '1')
GO
-- offerings: place students
Update tan_hall Set orarend_id = '1' Where ft_id=1
GO
-- offerings: delete enrolments
delete from tan_hall Where ft_id=1
GO
-- group assignment: candidates
Select a.hallgato_nev, a.hallgato_id, a.hallgato_kod, a.hallgato_diak From Hallgato a Where a.hallgato_id not in (Select y.hallgato_id From Orarend x, Tan_Hall y Where x.orarend_id=y.orarend_id and x.orarend_id = :tan_id and x.felev_id = :fe_id) Order By a.hallgato_nev
GO
-- group assignment: members
Select b.hallgato_id as id, b.th_id, (Select x.hallgato_nev From Hallgato x Where x.hallgato_id=b.hallgato_id) as nev, (Select x.tantargy_nev From tantargy x, felvett_tantargy y Where x.tantargy_id=y.tantargy_id and y.ft_id=b.ft_id) as tantargy From Orarend a, Tan_Hall b Where a.orarend_id=b.orarend_id and a.orarend_id = :tan_id and a.felev_id = :fe_id Order By nev
GO
-- group assignment: timetable entries
Select orarend_id as ID, (orarend_nev +' - ' + dbo.orarend_kurzus(orarend_id)) as NEV From orarend Where kar_id=1 and felev_id=1 Order By NEV
GO
-- group assignment: add
Insert Into tan_hall (orarend_id, hallgato_id) Values ('1', '1')
GO
-- relation lists: students of an offering
Select (a.hallgato_nev + ' (' + a.hallgato_kod + ')') as hallgato, a.hallgato_id, a.hallgato_nev, a.hallgato_kod From hallgato a, tan_hall b Where a.hallgato_id=b.hallgato_id and b.ft_id=:FT_ID
GO
-- relation lists: members of an entry
Select a.hallgato_id, (a.hallgato_nev + ' (' + a.hallgato_kod + ')') as hallgato, a.hallgato_kod, a.hallgato_diak, (Select y.kurzus_nev From felvett_tantargy x, kurzus y Where x.kurzus_id=y.kurzus_id and x.ft_id=b.ft_id) as kurzus_nev, (Select y.tantargy_nev From felvett_tantargy x, tantargy y Where x.tantargy_id=y.tantargy_id and x.ft_id=b.ft_id) as tantargy_nev, (Select y.tantargy_kod From felvett_tantargy x, tantargy y Where x.tantargy_id=y.tantargy_id and x.ft_id=b.ft_id) as tantargy_kod From hallgato a, tan_hall b Where a.hallgato_id=b.hallgato_id and b.orarend_id=:OR_ID Order By tantargy_kod, hallgato
GO
-- relation lists: lessons
Select a.tantargy_id as ID, a.tantargy_nev as NEV From Tantargy a Where a.tantargy_id in (Select x.tantargy_id From Felvett_tantargy x Where x.kar_id = 1 and x.felev_id = 1)
GO
-- timetable: list
Select a.orarend_id, a.orarend_heti, a.orarend_nev, Left(a.orarend_mettol,5) as orarend_mettol, Left(a.orarend_meddig,5) as orarend_meddig, a.orarend_potlas, a.felev_id, dbo.orarend_kurzus(a.orarend_id) as kurzus From orarend a Where a.felev_id=1 and a.kar_id=1 Order By a.orarend_nev
GO
-- timetable: list without semester
Select a.orarend_id, a.orarend_heti, a.orarend_nev, Left(a.orarend_mettol,5) as orarend_mettol, Left(a.orarend_meddig,5) as orarend_meddig, a.orarend_potlas, a.felev_id, dbo.orarend_kurzus(a.orarend_id) as kurzus From orarend a Where a.felev_id=null and a.kar_id=1 Order By a.orarend_nev
GO
-- timetable: lesson dates
Select od_id, orarend_id, convert(varchar(10), od_datum, 102) as datum, ROW_NUMBER() OVER (Order By od_datum) as sor From orarend_datum Where orarend_id = :OR_ID Order By datum
GO
-- timetable: groups
Select ((Select x.tantargy_nev From tantargy x Where x.tantargy_id=a.tantargy_id) + ' - ' + (Select x.kurzus_kod From kurzus x Where x.kurzus_id=a.kurzus_id)) as tanora, b.orarend_id, a.ft_id From felvett_tantargy a, orarend_csoport b Where a.ft_id=b.ft_id and b.orarend_id=:OR_ID Order By tanora
GO
-- timetable: teachers
Select a.oktato_nev, b.orarend_id, a.oktato_id From oktato a, tan_okt b Where a.oktato_id=b.oktato_id and b.orarend_id=:OR_ID Order By a.oktato_nev
GO
-- timetable: current semester preset
Select a.felev_id From felev a Where a.felev_id in (Select x.felev_id From felev x Where getdate() between x.felev_datumtol and x.felev_datumig)
GO
-- timetable: insert
Insert Into orarend (kar_id, felev_id, orarend_nev, orarend_potlas, orarend_mettol, orarend_meddig, orarend_heti) Values ('1', '1', 'Analízis gyakorlat', '2', '08:15:00.0000', '09:45:00.0000', '1')
GO
-- timetable: insert without make-up count
Insert Into orarend (kar_id, felev_id, orarend_nev, orarend_potlas, orarend_mettol, orarend_meddig, orarend_heti) Values ('1', '1', 'Analízis gyakorlat', null, '08:15:00.0000', '09:45:00.0000', '0')
GO
-- timetable: insert check
Select Count(*) DB From orarend Where kar_id = '1' AND felev_id='1' AND orarend_nev='Analízis gyakorlat' AND orarend_potlas='2' AND orarend_mettol='08:15:00.0000' AND orarend_meddig='09:45:00.0000' AND orarend_heti='1'
GO
-- timetable: update
Update orarend Set felev_id = '1', orarend_nev = 'Analízis gyakorlat', orarend_potlas = '2', orarend_mettol = '08:15:00.0000', orarend_meddig = '09:45:00.0000', orarend_heti = '1' Where orarend_id=1
GO
-- timetable: delete dates
delete from orarend_datum Where orarend_id=1
GO
-- timetable: delete attendance
delete from jelenlet Where orarend_id=1
GO
-- timetable: release students
Update tan_hall Set orarend_id = Null Where orarend_id=1
GO
-- timetable: delete teachers
delete from tan_okt Where orarend_id=1
GO
-- timetable: delete groups
delete from orarend_csoport Where orarend_id=1
GO
-- timetable: delete entry
delete from orarend Where orarend_id=1
GO
-- timetable copy: groups
Select * From orarend_csoport Where orarend_id=1
GO
-- timetable copy: entry
Insert Into orarend (kar_id, felev_id, orarend_nev, orarend_mettol, orarend_meddig, orarend_heti) Values ('1', '1', 'Analízis gyakorlat (másolat)', '08:15:00.0000', '09:45:00.0000', '1')
GO
-- timetable copy: members
Select * From tan_hall Where orarend_id=1
GO
-- timetable copy: member insert check
Select Count(*) DB From tan_hall Where orarend_id = '2' AND hallgato_id='1' AND ft_id is null
GO
-- timetable: unlink offering
delete from orarend_csoport Where orarend_id=1 and ft_id=1
GO
-- timetable: release offering
Update tan_hall Set orarend_id = Null Where ft_id=1
GO
-- timetable: add teacher
Insert Into tan_okt (orarend_id, oktato_id) Values ('1', '1')
GO
-- timetable: remove teacher
delete from tan_okt Where orarend_id=1 and oktato_id=1
GO
-- lesson dates: list
Select od_id, orarend_id, convert(varchar(10), od_datum, 102) as datum From orarend_datum Where orarend_id = :OR_ID Order By datum
GO
-- lesson dates: insert
Insert Into orarend_datum (orarend_id, od_datum) Values ('1', '20240914')
GO
-- lesson dates: insert check
Select Count(*) DB From orarend_datum Where orarend_id = '1' AND od_datum='20240914'
GO
-- capture: lessons of the date (teacher)
Select a.orarend_id as ID, (a.orarend_nev +' - ' + dbo.orarend_kurzus(a.orarend_id)) as NEV, a.orarend_mettol, a.orarend_meddig From orarend a, tan_okt b Where a.felev_id=1 and a.kar_id=1and ((a.orarend_id in (Select c.orarend_id From orarend_datum c Where (convert(varchar(10), c.od_datum,112)=20240917))) or (a.orarend_heti=1)) and a.orarend_id=b.orarend_id and b.oktato_id=1 Order By NEV
GO
-- capture: lessons of the date
Select a.orarend_id as ID, (a.orarend_nev +' - ' + dbo.orarend_kurzus(a.orarend_id)) as NEV, a.orarend_mettol, a.orarend_meddig From orarend a Where a.felev_id=1 and a.kar_id=1and ((a.orarend_id in (Select c.orarend_id From orarend_datum c Where (convert(varchar(10), c.od_datum,112)=20240917))) or (a.orarend_heti=1)) Order By NEV
GO
-- capture: lesson change
Select left(orarend_mettol,5) as orarend_mettol, left(orarend_meddig,5) as orarend_meddig, orarend_heti, orarend_potlas From orarend Where felev_id=1 and kar_id=1 and orarend_id=1
GO
-- capture: re-read warning
Select felh_id, DateDiff(hour,jel_datum,getdate()) as orak From jelentes Where jel_szoveg like '%Óra végi olvasás...
Analízis gyakorlat - K01%' and felh_id=1 and DateDiff(day,jel_datum,getdate())=0
GO
-- capture: journal start row
Insert Into Jelentes (kar_id, felh_id, jel_datum, jel_szoveg) Values ('1', '1', '2024-09-17 10:15:00', 'Jelenlét rögzítés kezdete!
Óra végi olvasás...
Analízis gyakorlat - K01
ABC123
XYZ789')
GO
-- capture: existing attendance
Select COUNT(jelenlet_id) as db From jelenlet Where orarend_id=1and jelenlet_datum='20240917'
GO
-- capture: enrolled students
Select a.hallgato_id, (Select x.hallgato_kod From hallgato x Where x.hallgato_id=a.hallgato_id) as hallgato_kod, (Select x.hallgato_diak From hallgato x Where x.hallgato_id=a.hallgato_id) as hallgato_diak From tan_hall a Where a.orarend_id=1
GO
-- capture: presence
Select hallgato_kod From hallgato Where hallgato_id=1 and ((hallgato_kod in ('K00000','K00001','K00002','K00003','K00004','K00005','K00006','K00007','K00008','K00009','K00010','K00011','K00012','K00013','K00014','K00015','K00016','K00017','K00018','K00019','K00020','K00021','K00022','K00023','K00024','K00025','K00026','K00027','K00028','K00029','K00030','K00031','K00032','K00033','K00034','K00035','K00036','K00037','K00038','K00039','')) or (hallgato_diak in ('K00000','K00001','K00002','K00003','K00004','K00005','K00006','K00007','K00008','K00009','K00010','K00011','K00012','K00013','K00014','K00015','K00016','K00017','K00018','K00019','K00020','K00021','K00022','K00023','K00024','K00025','K00026','K00027','K00028','K00029','K00030','K00031','K00032','K00033','K00034','K00035','K00036','K00037','K00038','K00039','')) or (hallgato_oa in ('K00000','K00001','K00002','K00003','K00004','K00005','K00006','K00007','K00008','K00009','K00010','K00011','K00012','K00013','K00014','K00015','K00016','K00017','K00018','K00019','K00020','K00021','K00022','K00023','K00024','K00025','K00026','K00027','K00028','K00029','K00030','K00031','K00032','K00033','K00034','K00035','K00036','K00037','K00038','K00039','')))
GO
-- capture: entry of the week
Select jelenlet_id From jelenlet Where orarend_id=1 and hallgato_id=1 and DATEDIFF(week,jelenlet_datum,'20240917')=0
GO
-- capture: attendance insert check
Select Count(*) DB From jelenlet Where jt_id = '1' AND jelenlet_datum='20240917' AND orarend_id='1' AND hallgato_id='1'
GO
-- capture: attendance insert
Insert Into jelenlet (jt_id, jelenlet_datum, orarend_id, hallgato_id) Values ('1', '20240917', '1', '1')
GO
-- capture: end-of-lesson update
Update jelenlet Set jt_id = '2' Where jelenlet_datum='20240917' and orarend_id=1 and hallgato_id=1
GO
-- capture: weekly move
Update jelenlet Set jt_id = '1', jelenlet_datum = '20240917' Where jelenlet_id=1
GO
-- capture: journal end row
Insert Into Jelentes (kar_id, felh_id, jel_datum, jel_szoveg) Values ('1', '1', '2024-09-17 10:20:00', 'Jelenlét rögzítés vége!
XYZ789 A hallgató nincs a rendszerben!')
GO
-- make-up: find student
Select hallgato_id, hallgato_kod, hallgato_diak From hallgato Where (hallgato_kod='XYZ789') or (hallgato_diak='XYZ789')
GO
-- make-up: same-day entry
Select jelenlet_id From jelenlet Where hallgato_id=1 and jelenlet_datum='20240917'
GO
-- make-up: own entry
Select a.orarend_id From jelenlet a, orarend b Where a.hallgato_id=1 and a.orarend_id=b.orarend_id and b.felev_id=1 and b.kar_id=1 Order By a.jelenlet_datum desc
GO
-- make-up: enrolment of the semester
Select a.orarend_id From Tan_Hall a Where a.hallgato_id=1 and a.orarend_id in (Select x.orarend_id From Orarend x Where x.felev_id=1)
GO
-- make-up: allowance
Select orarend_potlas, orarend_heti From orarend Where orarend_id=1
GO
-- make-up: used make-ups
Select Count(jelenlet_id) as db From jelenlet Where jt_id=3 and hallgato_id=1 and orarend_id=1
GO
-- make-up: lessons held
Select COUNT(od_datum) as sorszam From orarend_datum Where orarend_id=1 and od_datum < GETDATE()
GO
-- make-up: lessons attended
Select count(jelenlet_id) as db From jelenlet Where jt_id<>2 and hallgato_id=1 and orarend_id=1
GO
-- make-up: weekly rule
Select count(jelenlet_id) as db From jelenlet Where jt_id<>2 and hallgato_id=1 and orarend_id=1 and jelenlet_datum >= '20240916' and jelenlet_datum < '20240921'
GO
-- make-up: earliest absence
Select TOP 1 jelenlet_id From jelenlet Where jt_id=2 and hallgato_id=1 and orarend_id=1 Order By jelenlet_datum
GO
-- make-up: delete absence
delete from jelenlet Where jelenlet_id=1
GO
-- make-up: insert
Insert Into jelenlet (jt_id, jelenlet_datum, orarend_id, hallgato_id) Values ('3', '20240917', '1', '1')
GO
-- day summary: lesson dates
Select od_datum From orarend_datum Where orarend_id=1 Order By od_datum
GO
-- day summary: matrix
Select a.hallgato_nev, a.hallgato_id, a.hallgato_kod, (a.hallgato_nev + ' - ' + a.hallgato_kod) as hallgato, (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=1) as "1", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=2) as "2", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=3) as "3", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=4) as "4", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=5) as "5", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=6) as "6", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=7) as "7", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=8) as "8", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=9) as "9", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=10) as "10", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=11) as "11", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=12) as "12", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=13) as "13", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=14) as "14", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=15) as "15" From Hallgato a, Tan_Hall b, Orarend c Where a.hallgato_id=b.hallgato_id and b.orarend_id=c.orarend_id and c.kar_id=1 
and c.orarend_id=1 
and c.felev_id=1 
Order By hallgato_nev
GO
-- day summary: matrix without lesson
Select a.hallgato_nev, a.hallgato_id, a.hallgato_kod, (a.hallgato_nev + ' - ' + a.hallgato_kod) as hallgato, (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=1) as "1", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=2) as "2", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=3) as "3", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=4) as "4", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=5) as "5", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=6) as "6", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=7) as "7", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=8) as "8", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=9) as "9", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=10) as "10", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=11) as "11", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=12) as "12", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=13) as "13", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=14) as "14", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=15) as "15" From Hallgato a, Tan_Hall b, Orarend c Where a.hallgato_id=b.hallgato_id and b.orarend_id=c.orarend_id and c.kar_id=1 
and c.felev_id=1 
Order By hallgato_nev
GO
-- day summary: duplicated dates
Select a.jelenlet_datum From Jelenlet a Where a.orarend_id=1 Group by a.jelenlet_datum Having (COUNT(a.jt_id) > (Select COUNT(x.th_id) From Tan_Hall x Where x.orarend_id=1))
GO
-- day summary: duplicate detail
Select a.jelenlet_datum, (Select TOP 1 x.hallgato_nev From hallgato x Where x.hallgato_id=a.hallgato_id) as hallgato From jelenlet a Where a.jelenlet_datum='20240917' and a.orarend_id=1
GO
-- day deletion: check
Select jelenlet_id From jelenlet Where orarend_id=1 and jelenlet_datum='20240917'
GO
-- day deletion
delete from Jelenlet Where orarend_id=1 and jelenlet_datum='20240917'
GO
-- matrix list: timetable entries
Select orarend_id as ID, (orarend_nev +' - ' + dbo.orarend_kurzus(orarend_id)) as NEV From orarend Where kar_id=1 and felev_id=1 Order By NEV
GO
-- matrix list: matrix
Select a.hallgato_nev, a.hallgato_id, c.orarend_id, (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=1) as "1", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=2) as "2", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=3) as "3", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=4) as "4", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=5) as "5", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=6) as "6", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=7) as "7", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=8) as "8", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=9) as "9", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=10) as "10", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=11) as "11", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=12) as "12", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=13) as "13", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=14) as "14", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=15) as "15", (Select Count(x.jelenlet_id) From jelenlet x Where x.orarend_id=b.orarend_id and x.hallgato_id=b.hallgato_id and x.jt_id in (1,3)) as "ossz" From Hallgato a, Tan_Hall b, Orarend c Where a.hallgato_id=b.hallgato_id and b.orarend_id=c.orarend_id and c.kar_id=1 
and c.orarend_id=1 
and c.felev_id=1 
Order By hallgato_nev
GO
-- printed sheet: matrix with printed marks
Select a.hallgato_nev, a.hallgato_id, c.orarend_id, (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=1) as "1", (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=2) as "2", (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=3) as "3", (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=4) as "4", (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=5) as "5", (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=6) as "6", (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=7) as "7", (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=8) as "8", (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=9) as "9", (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=10) as "10", (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=11) as "11", (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=12) as "12", (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=13) as "13", (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=14) as "14", (Select x.jt_mas From (Select x2.*, x4.jt_mas, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=15) as "15", (Select Count(x.jelenlet_id) From jelenlet x Where x.orarend_id=b.orarend_id and x.hallgato_id=b.hallgato_id and x.jt_id in (1,3)) as "ossz" From Hallgato a, Tan_Hall b, Orarend c Where a.hallgato_id=b.hallgato_id and b.orarend_id=c.orarend_id and c.kar_id=1 
and c.orarend_id=1 
and c.felev_id=1 
Order By hallgato_nev
GO
-- printed sheet: times
Select left(a.orarend_mettol,5) as orarend_mettol, left(a.orarend_meddig,5) as orarend_meddig, a.orarend_nev From orarend a Where a.orarend_id=1
GO
-- printed sheet: teachers
Select a.oktato_nev From oktato a, tan_okt b Where a.oktato_id=b.oktato_id and b.orarend_id=1
GO
-- entry maintenance: list
Select a.hallgato_id, a.orarend_id, a.jelenlet_datum, a.jt_id, a.jelenlet_id, (Select x.jt_jel From jelenlet_tipusa x Where x.jt_id=a.jt_id) as jel, b.orarend_nev From jelenlet a, orarend b Where a.hallgato_id=:HALL_ID and a.orarend_id=b.orarend_id and b.felev_id=:FE_ID and b.kar_id=:KAR_ID Order By a.jelenlet_datum
GO
-- entry maintenance: entries (teacher)
Select a.orarend_id as ID, a.orarend_nev as NEV, a.orarend_mettol, a.orarend_meddig From orarend a, tan_okt b Where a.felev_id=1 and a.kar_id=1 and a.orarend_id=b.orarend_id and b.oktato_id=1 Order By NEV
GO
-- entry maintenance: entries
Select orarend_id as ID, orarend_nev as NEV, orarend_mettol, orarend_meddig From orarend Where felev_id=1 and kar_id=1 Order By NEV
GO
-- entry maintenance: update
Update jelenlet Set jt_id = '3', jelenlet_datum = '20240917', orarend_id = '1' Where jelenlet_id=1
GO
-- journal: all rows
Select a.jel_id, a.jel_datum, a.jel_szoveg, (Select x.felh_nev From Felhasznalo x Where x.felh_id=a.felh_id) as nev From Jelentes a Where a.kar_id = 1 
Order By a.jel_datum desc
GO
-- journal: every filter
Select a.jel_id, a.jel_datum, a.jel_szoveg, (Select x.felh_nev From Felhasznalo x Where x.felh_id=a.felh_id) as nev From Jelentes a Where a.kar_id = 1 
and a.jel_datum >= '20240301' 
and a.jel_datum < '20240302' 
and a.felh_id in (Select x.felh_id From Felhasznalo x Where x.felh_nev='ADMIN') 
and jel_szoveg like '%ABC123%' 
Order By a.jel_datum desc
GO
-- Neptun import: faculties (role 1)
Select kar_id as ID, kar_nev as NEV From kar Where kar_aktiv=1 Order By NEV
GO
-- Neptun import: faculties
Select kar_id as ID, kar_nev as NEV From kar Where kar_aktiv=1 and kar_id=1 Order By NEV
GO
-- Neptun import: semester's Neptun name
Select felev_neptun From felev Where felev_id=1
GO
-- Neptun import: registrations
select a.* from openquery(NEPTUN3R,'SELECT t100.C_CODE AS "Tárgykód", t100.C_NAME AS "Tárgynév", t151.C_NEPTUNCODE AS NEPTUN_KOD, t150.C_PRINTNAME AS "Hallgató", t152.C_OMSIDENTIFIER AS "Oktatási azonosító", (Select x.C_SERIALNUMBER From T_SCCARD x Where x.C_STUDENTID=t152.ID AND x.C_STATUS in (56003,56012) and ROWNUM=1) AS "Diák", t130.C_CODE AS "Modulkód", (SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = t110.C_TERM) AS "Félév", (SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = t110.C_STATUS) AS "Státusz", t170.C_CODE AS "Kurzuskód", (SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = t170.C_COURSETYPE) AS "KurzusTípus", t170.ID AS "KurzusID", (SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = t170.C_LANGUAGE) AS "Nyelv" FROM T_INDEXLINE t120, T_SUBJECT t100, T_ORGANIZATION t140, T_INTERIORORGANIZATION t141, T_STUDENTTRAININGTERMDATA t110, T_STUDENTTRAINING t160, T_PARTNER t150, T_USER t151, T_STUDENT t152, T_MODULE t130, T_TRAINING t131, T_COURSESTUDENT t180, T_COURSE t170 WHERE t100.C_INTERIORORGANIZATIONID = t141.ID AND t110.C_STUDENTTRAININGID = t160.ID AND t120.C_SUBJECTID = t100.ID AND t120.C_STUDENTTRAININGTERMDATAID = t110.ID AND t120.ID = t180.C_INDEXLINEID AND t130.ID=t131.ID AND t140.ID=t141.ID AND t150.ID=t151.ID AND t151.ID=t152.ID AND t160.C_STUDENTID = t152.ID AND t160.C_TRAININGID = t131.ID AND t180.C_COURSEID = t170.ID AND (to_date(to_char(t120.C_SIGNOUTDATE, ''YYYY.MM.DD HH24:MI''), ''YYYY.MM.DD HH24:MI'') IS NULL) AND (t140.C_CODE = ''BTK'') AND (to_date(to_char(t180.C_SIGNOUTDATE, ''YYYY.MM.DD HH24:MI''), ''YYYY.MM.DD HH24:MI'') IS NULL) ORDER BY "Modulkód", "Tárgykód", "Kurzuskód", NEPTUN_KOD') a 
GO
-- Neptun import: registrations of a term and subject
select a.* from openquery(NEPTUN3R,'SELECT t100.C_CODE AS "Tárgykód", t100.C_NAME AS "Tárgynév", t151.C_NEPTUNCODE AS NEPTUN_KOD, t150.C_PRINTNAME AS "Hallgató", t152.C_OMSIDENTIFIER AS "Oktatási azonosító", (Select x.C_SERIALNUMBER From T_SCCARD x Where x.C_STUDENTID=t152.ID AND x.C_STATUS in (56003,56012) and ROWNUM=1) AS "Diák", t130.C_CODE AS "Modulkód", (SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = t110.C_TERM) AS "Félév", (SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = t110.C_STATUS) AS "Státusz", t170.C_CODE AS "Kurzuskód", (SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = t170.C_COURSETYPE) AS "KurzusTípus", t170.ID AS "KurzusID", (SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = t170.C_LANGUAGE) AS "Nyelv" FROM T_INDEXLINE t120, T_SUBJECT t100, T_ORGANIZATION t140, T_INTERIORORGANIZATION t141, T_STUDENTTRAININGTERMDATA t110, T_STUDENTTRAINING t160, T_PARTNER t150, T_USER t151, T_STUDENT t152, T_MODULE t130, T_TRAINING t131, T_COURSESTUDENT t180, T_COURSE t170 WHERE t100.C_INTERIORORGANIZATIONID = t141.ID AND t110.C_STUDENTTRAININGID = t160.ID AND t120.C_SUBJECTID = t100.ID AND t120.C_STUDENTTRAININGTERMDATAID = t110.ID AND t120.ID = t180.C_INDEXLINEID AND t130.ID=t131.ID AND t140.ID=t141.ID AND t150.ID=t151.ID AND t151.ID=t152.ID AND t160.C_STUDENTID = t152.ID AND t160.C_TRAININGID = t131.ID AND t180.C_COURSEID = t170.ID AND (to_date(to_char(t120.C_SIGNOUTDATE, ''YYYY.MM.DD HH24:MI''), ''YYYY.MM.DD HH24:MI'') IS NULL) AND (t140.C_CODE = ''BTK'') AND (to_date(to_char(t180.C_SIGNOUTDATE, ''YYYY.MM.DD HH24:MI''), ''YYYY.MM.DD HH24:MI'') IS NULL) AND (SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = t110.C_TERM) = ''2024/25/1'' AND t100.C_NAME = ''Matematika'' ORDER BY "Modulkód", "Tárgykód", "Kurzuskód", NEPTUN_KOD') a 
GO
-- Neptun import: teachers of a course
select a.* from openquery(NEPTUN3R,'SELECT t271.C_NEPTUNCODE, t270.C_PRINTNAME FROM T_CourseTutor t28, T_PARTNER t270, T_USER t271, T_EMPLOYEE t272 WHERE t28.C_COURSEID=80 AND t28.C_EMPLOYEEID=t272.ID AND t270.ID=t271.ID AND t271.ID=t272.ID') a 
GO
-- Neptun import: class instances
select a.* from openquery(NEPTUN3R,'SELECT t110.C_CODE AS kurzus, t100.C_CORRECTFROMDATE AS datumtol, t100.C_CORRECTTODATE AS datumig, (SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = t110.C_COURSETYPE) AS Kurzustipus FROM T_CLASSINSTANCE t100, T_COURSE t110, T_SUBJECT t120 WHERE t100.C_COURSEID = t110.ID AND t110.C_SUBJECTID = t120.ID AND (SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = t110.C_TERM) = ''2024/25/1'' AND (t120.C_CODE = ''MAT1A'') AND (t110.C_CODE = ''K01'')') a 
GO
-- Neptun import: student
Select hallgato_id, hallgato_nev, hallgato_diak From hallgato Where hallgato_kod='ABC123'
GO
-- Neptun import: subject
Select tantargy_id From tantargy Where tantargy_kod='MAT1A'
GO
-- Neptun import: language
Select nyelv_id From nyelv Where nyelv_nev='magyar'
GO
-- Neptun import: course
Select kurzus_id From kurzus Where kurzus_kod='K01'
GO
-- Neptun import: lesson form
Select tof_id From tanora_forma Where tof_nev='Gyakorlat'
GO
-- Neptun import: teacher
Select oktato_id From oktato Where oktato_kod='OKT1'
GO
-- Neptun import: subject insert
Insert Into tantargy (tantargy_kod, tantargy_nev) Values ('MAT1A', 'Matematika (MAT1A)')
GO
-- Neptun import: enrolment insert
Insert Into Tan_Hall (hallgato_id, ft_id) Values ('1', '1')
GO
-- Neptun import: teacher account
Insert Into felhasznalo (szerep_id, felh_nev, kar_id, felh_teljes) Values ('3', 'OKT1', '1', 'Dr. Tanár Ödön')
GO
-- Neptun import: assignment
Insert Into Tan_Okt (oktato_id, ft_id) Values ('1', '1')
GO
-- Neptun import: journal row
Insert Into Jelentes (kar_id, felh_id, jel_datum, jel_szoveg) Values ('1', '1', '2024-09-17 10:15:00', 'Hallgató rögzítésre került: ABC123')
GO
-- Neptun import: offerings of the faculty
Select a.*, (Select x.tantargy_kod From Tantargy x Where x.tantargy_id=a.tantargy_id) as tantargy, (Select x.tantargy_nev From Tantargy x Where x.tantargy_id=a.tantargy_id) as tantargy_nev, (Select x.kurzus_nev From Kurzus x Where x.kurzus_id=a.kurzus_id) as kurzus, (Select x.tof_nev From Tanora_forma x Where x.tof_id=a.tof_id) as forma From Felvett_tantargy a Where a.felev_id=1 and kar_id=1 
GO
-- Neptun import: timetable entry
Insert Into Orarend (orarend_nev, felev_id, orarend_potlas, kar_id) Values ('Matematika (MAT1A) - Gyakorlat', '1', '2', '1')
GO
-- Neptun import: lesson date
Insert Into orarend_datum (orarend_id, od_datum) Values ('1', '2024.09.02')
GO
-- Neptun import: times
Update orarend Set orarend_mettol = '08:15', orarend_meddig = '09:45', orarend_potlas = '2', orarend_heti = '1' Where orarend_id=1
GO
-- cards: issued cards
Select a.kartya_id, a.kartya_datum From kartya a Where a.hallgato_id=:HAL_ID
GO
-- cards: courses
Select a.kurzus_id as ID, a.kurzus_nev as NEV From Kurzus a Where a.kurzus_id in (Select x.kurzus_id From Felvett_tantargy x Where x.kar_id = 1) Order By NEV
GO
-- cards: timetable entries
Select orarend_id as ID, (orarend_nev +' - ' + dbo.orarend_kurzus(orarend_id)) as NEV From orarend Where kar_id=1 and felev_id=1 Order By NEV
GO
-- cards: search
Select a.hallgato_id, a.hallgato_kod, a.hallgato_nev, hallgato_oa From hallgato a Where a.hallgato_id>0 and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Orarend y Where x.orarend_id=y.orarend_id and y.felev_id=1 and y.kar_id=1) 
Order By hallgato_nev
GO
-- cards: search with every filter
Select a.hallgato_id, a.hallgato_kod, a.hallgato_nev, hallgato_oa From hallgato a Where a.hallgato_id>0 and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Orarend y Where x.orarend_id=y.orarend_id and y.felev_id=1 and y.kar_id=1) 
and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Felvett_tantargy y Where x.ft_id=y.ft_id and y.kurzus_id=1) 
and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Felvett_tantargy y Where x.ft_id=y.ft_id and y.nyelv_id=1) 
and a.hallgato_id not in (Select x.hallgato_id From kartya x Where x.kartya_datum < getdate()) 
and a.hallgato_id in (Select x.hallgato_id From tan_hall x, felvett_tantargy y Where x.ft_id=y.ft_id and y.evfolyam = 2) 
and a.hallgato_id in (Select x.hallgato_id From tan_hall x Where x.orarend_id = 1) 
Order By hallgato_nev
GO
-- card sheet: ticked students
Select a.hallgato_id, a.hallgato_kod, a.hallgato_nev, hallgato_oa From hallgato a Where a.hallgato_id>0 and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Orarend y Where x.orarend_id=y.orarend_id and y.felev_id=1 and y.kar_id=1) 
and a.hallgato_id in (1,2,3) 
Order By hallgato_nev
GO
-- card sheet: issue record
Insert Into kartya (hallgato_id, kartya_datum) Values ('1', '2024.09.17')
GO
-- card sheet: issue check
Select Count(*) DB From kartya Where hallgato_id = '1' AND kartya_datum='2024.09.17'
GO
-- error report: log row
Insert Into hibanaplo (felh_id, hn_datum, hn_leiras) Values ('1', '2024-09-17 10:15:00', 'Hiba: Select ''x'' From y')
GO
-- error log: users
Select felh_id as ID, felh_nev as NEV From felhasznalo Where felh_aktiv=1 Order By NEV
GO
-- error log: in progress
Select a.*, 
(Select x.felh_nev From felhasznalo x Where a.felh_id=x.felh_id) as felhasznalo 
FROM hibanaplo a WHERE a.hn_datum is not NULL 
and (a.hn_allapot=0 or a.hn_allapot is null) 
Order by a.hn_datum desc
GO
-- error log: every filter
Select a.*, 
(Select x.felh_nev From felhasznalo x Where a.felh_id=x.felh_id) as felhasznalo 
FROM hibanaplo a WHERE a.hn_datum is not NULL 
and a.felh_id = 1 
and a.hn_datum >= '20240901' 
and a.hn_datum <= '20240918' 
and a.hn_allapot=1 
Order by a.hn_datum desc
GO
-- error log: all states
Select a.*, 
(Select x.felh_nev From felhasznalo x Where a.felh_id=x.felh_id) as felhasznalo 
FROM hibanaplo a WHERE a.hn_datum is not NULL 
Order by a.hn_datum desc
GO
-- error log: set state
Update hibanaplo Set hn_allapot = '2' Where hn_id=1
GO
-- updater: database version
Select ADATBAZIS_VERZIO from beallitasok
GO
-- updater: script batch
CREATE TABLE uj_tabla (ut_id int IDENTITY(1,1) PRIMARY KEY, ut_nev nvarchar(50) NOT NULL, ut_datum datetime NULL)
CREATE INDEX ix_uj_tabla_datum ON uj_tabla (ut_datum)
UPDATE beallitasok SET ADATBAZIS_VERZIO = 7
GO
-- timetable: current semester preset (date)
Select a.felev_id From felev a Where a.felev_id in (Select x.felev_id From felev x Where convert(date, getdate()) between x.felev_datumtol and x.felev_datumig)
GO
-- timetable copy: equal copy check
Select orarend_id From orarend Where kar_id=1 and felev_id=1 and orarend_nev='Anatómia (másolat)' and orarend_mettol='08:00:00.0000' and orarend_meddig='09:30:00.0000' and orarend_heti='1'
GO
-- timetable copy: entry insert check
Select Count(*) DB From orarend Where kar_id = '1' AND felev_id='1' AND orarend_nev='Anatómia (másolat)' AND orarend_mettol='08:00:00.0000' AND orarend_meddig='09:30:00.0000' AND orarend_heti='1'
GO
-- timetable copy: entry existing row
Select * from orarend where kar_id = '1' AND felev_id='1' AND orarend_nev='Anatómia (másolat)' AND orarend_mettol='08:00:00.0000' AND orarend_meddig='09:30:00.0000' AND orarend_heti='1'
GO
-- timetable copy: group insert check
Select Count(*) DB From orarend_csoport Where orarend_id = '5' AND ft_id='1'
GO
-- timetable copy: member insert
Insert Into tan_hall (orarend_id, hallgato_id, ft_id) Values ('5', '1', '1')
GO
-- timetable copy: member existing row
Select * from tan_hall where orarend_id = '5' AND hallgato_id='1' AND ft_id='1'
GO
-- timetable: teacher insert check
Select Count(*) DB From tan_okt Where orarend_id = '2' AND oktato_id='1'
GO
-- timetable delete: moved attendance of a group
Select a.jelenlet_id, a.orarend_id, a.hallgato_id From Jelenlet a Where a.hallgato_id in (Select x.hallgato_id From Tan_Hall x Where x.orarend_id=2 and x.ft_id=2) and a.orarend_id in (Select x.orarend_id From Orarend x, Orarend_Csoport y Where x.orarend_id=y.orarend_id and y.ft_id=2 and x.felev_id=1)
GO
-- lesson dates: date of the entry
Select od_id From orarend_datum Where orarend_id=1 and od_datum='20240320'
GO
-- enrolment: offering insert check
Select Count(*) DB From felvett_tantargy Where kar_id = '1' AND tantargy_id='2' AND nyelv_id='1' AND felev_id='1' AND tof_id='2' AND kurzus_id='2'
GO
-- enrolment: offering existing row
Select * from felvett_tantargy where kar_id = '1' AND tantargy_id='2' AND nyelv_id='1' AND felev_id='1' AND tof_id='2' AND kurzus_id='2'
GO
-- enrolment: insert
Insert Into tan_hall (hallgato_id, orarend_id, ft_id) Values ('8', '2', '2')
GO
-- enrolment: offering update
Update felvett_tantargy Set tantargy_id = '2', nyelv_id = '1', felev_id = '1', tof_id = '1', kurzus_id = '2' Where ft_id=1
GO
-- enrolment: old row
Select * From tan_hall Where th_id=1
GO
-- enrolment: delete
delete from tan_hall Where th_id=2
GO
-- students: student update
Update hallgato Set hallgato_kod = 'ABCDEFGHIJKL', hallgato_nev = 'D''Artagnan Dénes', hallgato_diak = '1099', hallgato_oa = '72000099' Where hallgato_id=8
GO
-- students: subjects without faculty
Select a.tantargy_id as ID, a.tantargy_nev as NEV From Tantargy a Where a.tantargy_id in (Select x.tantargy_id From Felvett_tantargy x Where x.kar_id = null and x.felev_id = 1)
GO
-- cards: search by course
Select a.hallgato_id, a.hallgato_kod, a.hallgato_nev, hallgato_oa From hallgato a Where a.hallgato_id>0 and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Orarend y Where x.orarend_id=y.orarend_id and y.felev_id=1 and y.kar_id=1) 
and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Felvett_tantargy y Where x.ft_id=y.ft_id and y.kurzus_id=2) 
Order By hallgato_nev
GO
-- cards: search by language
Select a.hallgato_id, a.hallgato_kod, a.hallgato_nev, hallgato_oa From hallgato a Where a.hallgato_id>0 and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Orarend y Where x.orarend_id=y.orarend_id and y.felev_id=1 and y.kar_id=1) 
and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Felvett_tantargy y Where x.ft_id=y.ft_id and y.nyelv_id=1) 
Order By hallgato_nev
GO
-- cards: search without card
Select a.hallgato_id, a.hallgato_kod, a.hallgato_nev, hallgato_oa From hallgato a Where a.hallgato_id>0 and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Orarend y Where x.orarend_id=y.orarend_id and y.felev_id=1 and y.kar_id=1) 
and a.hallgato_id not in (Select x.hallgato_id From kartya x Where x.kartya_datum < getdate()) 
Order By hallgato_nev
GO
-- cards: search sorted by name descending
Select a.hallgato_id, a.hallgato_kod, a.hallgato_nev, hallgato_oa From hallgato a Where a.hallgato_id>0 and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Orarend y Where x.orarend_id=y.orarend_id and y.felev_id=1 and y.kar_id=1) 
  order by hallgato_nev desc
GO
-- cards: search sorted by code
Select a.hallgato_id, a.hallgato_kod, a.hallgato_nev, hallgato_oa From hallgato a Where a.hallgato_id>0 and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Orarend y Where x.orarend_id=y.orarend_id and y.felev_id=1 and y.kar_id=1) 
    order by hallgato_kod asc
GO
-- cards: search without semester
Select a.hallgato_id, a.hallgato_kod, a.hallgato_nev, hallgato_oa From hallgato a Where a.hallgato_id>0 and a.hallgato_id in (Select x.hallgato_id From Tan_Hall x, Orarend y Where x.orarend_id=y.orarend_id and y.felev_id=null and y.kar_id=null) 
Order By hallgato_nev
GO
-- card sheet: issue existing row
Select * from kartya where hallgato_id = '2' AND kartya_datum='2024.03.06'
GO
-- matrix list: students of a lesson
Select a.hallgato_nev, a.hallgato_id, c.orarend_id, (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=1) as "1", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=2) as "2", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=3) as "3", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=4) as "4", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=5) as "5", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=6) as "6", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=7) as "7", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=8) as "8", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=9) as "9", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=10) as "10", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=11) as "11", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=12) as "12", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=13) as "13", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=14) as "14", (Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=15) as "15", (Select Count(x.jelenlet_id) From jelenlet x Where x.orarend_id=b.orarend_id and x.hallgato_id=b.hallgato_id and x.jt_id in (1,3)) as "ossz" From Hallgato a, Tan_Hall b, Orarend c Where a.hallgato_id=b.hallgato_id and b.orarend_id=c.orarend_id and c.kar_id=1 
and c.orarend_id=1 
and c.felev_id=1 
Order By hallgato_nev
GO
-- matrix list: lessons without selection
Select orarend_id as ID, (orarend_nev +' - ' + dbo.orarend_kurzus(orarend_id)) as NEV From orarend Where kar_id=null and felev_id=null Order By NEV
GO
-- Neptun import: student check
Select Count(*) DB From hallgato Where hallgato_kod = 'PBNK2B' AND hallgato_nev='Lőrincz Márton Ottó' AND hallgato_diak is null AND hallgato_oa='71955594387'
GO
-- Neptun import: student insert without card
Insert Into hallgato (hallgato_kod, hallgato_nev, hallgato_diak, hallgato_oa) Values ('PBNK2B', 'Lőrincz Márton Ottó', null, '71955594387')
GO
-- Neptun import: language check
Select Count(*) DB From nyelv Where nyelv_nev = 'magyar'
GO
-- Neptun import: language without name
Insert Into nyelv (nyelv_nev) Values (null)
GO
-- Neptun import: offering check
Select Count(*) DB From felvett_tantargy Where kar_id = '1' AND tof_id='1' AND tantargy_id='2' AND kurzus_id='1' AND felev_id='1' AND nyelv_id='1' AND evfolyam is null
GO
-- Neptun import: offering insert
Insert Into felvett_tantargy (kar_id, tof_id, tantargy_id, kurzus_id, felev_id, nyelv_id, evfolyam) Values ('1', '1', '2', '1', '1', '1', null)
GO
-- Neptun import: offering existing row
Select * from felvett_tantargy where kar_id = '1' AND tof_id='1' AND tantargy_id='2' AND kurzus_id='1' AND felev_id='1' AND nyelv_id='1' AND evfolyam is null
GO
-- Neptun import: teacher account check
Select Count(*) DB From felhasznalo Where szerep_id = '3' AND felh_nev='AERVZ8' AND kar_id='2' AND felh_teljes='Farkas Ágnes'
GO
-- Neptun import: teacher check
Select Count(*) DB From oktato Where oktato_kod = 'AERVZ8' AND oktato_nev='Farkas Ágnes' AND felh_id='2'
GO
-- Neptun import: assignment existing row
Select * from Tan_Okt where oktato_id = '1' AND ft_id='1'
GO
-- Neptun import: enrolment existing row
Select * from Tan_Hall where hallgato_id = '1' AND ft_id='1'
GO
-- Neptun import: card serial update
Update hallgato Set hallgato_diak = '1671150098' Where hallgato_id=502
GO
-- Neptun import: name update
Update hallgato Set hallgato_nev = 'Kiss-Nagy Anna' Where hallgato_id=501
GO
-- Neptun import: journal of the run
Insert Into Jelentes (kar_id, felh_id, jel_datum, jel_szoveg) Values (null, '1', '2024-11-13 10:15:30', 'Hallgató rögzítésre került: CK4X4Y
Új tantárgy sor került a rendszerbe: Ma''tek (GKMA''T11A)
Új kurzus sor került a rendszerbe: E''01
Új tanóraforma sor került a rendszerbe: Elmélet
Kimaradt (hiányzik: szervezet): CK4X4Y Ma''tek (GKMA''T11A) E''01
Hallgató rögzítésre került: SLER0H
Kimaradt (hiányzik: szervezet): SLER0H Ma''tek (GKMA''T11A) E''01
Hallgató rögzítésre került: TYQHXQ
Kimaradt (hiányzik: szervezet): TYQHXQ Ma''tek (GKMA''T11A) E''01
Új kurzus sor került a rendszerbe: GYAKORLAT01
Új tanóraforma sor került a rendszerbe: Gyakorlat
Kimaradt (hiányzik: szervezet): TYQHXQ Ma''tek (GKMA''T11A) GYAKORLAT01
Hallgató rögzítésre került: QIPIAQ
Kimaradt (hiányzik: szervezet): QIPIAQ Ma''tek (GKMA''T11A) E''01
Hallgató rögzítésre került: T8W7YE
Kimaradt (hiányzik: szervezet): T8W7YE Ma''tek (GKMA''T11A) E''01
Új kurzus sor került a rendszerbe: GYAKORLAT01
Kimaradt (hiányzik: szervezet): T8W7YE Ma''tek (GKMA''T11A) GYAKORLAT01
Új kurzus sor került a rendszerbe: L01
Kimaradt (hiányzik: szervezet, tanóraforma): QIPIAQ Ma''tek (GKMA''T11A) L01')
GO
