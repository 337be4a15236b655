-- The terminal's database as it leaves the factory (DB\KD4700.DB and its
-- copy DB\back\KD4700.bak). Statements read whole rows with "SELECT *" and
-- insert without a column list, so the column order of every table is fixed.
-- Numeric columns have INTEGER affinity: the statements compare them with
-- quoted values ('%d'), which SQLite then compares as numbers.
-- Table AtuoFN is not here: start-up creates it with its default rows when
-- it is missing.

CREATE TABLE IF NOT EXISTS Userinfo (
    userid nvarchar(20),
    CardNo nvarchar(20),
    Name nvarchar(24),
    sex nvarchar(8),
    pwd nvarchar(8),
    Deptid INTEGER,
    ACFlag INTEGER,
    IConPath nvarchar(128),
    AdminFlag INTEGER,
    Birthday nvarchar(20),
    GroupNO INTEGER,
    FPFlag INTEGER
);

CREATE TABLE IF NOT EXISTS FPinfo (
    fingerNO INTEGER,
    UserID nvarchar(20),
    FPTemplate BLOB
);

CREATE TABLE IF NOT EXISTS Dept (
    Deptid INTEGER,
    DeptName nvarchar(24),
    SupDeptid INTEGER,
    DeptGroup INTEGER
);

CREATE TABLE IF NOT EXISTS Checkinout (
    Userid nvarchar(20),
    CheckTime nvarchar(20),
    CheckType INTEGER,
    IsDownLoad INTEGER,
    WorkNumberAndPassType INTEGER
);

CREATE TABLE IF NOT EXISTS BasePara (
    UserCount INTEGER,
    FpCount INTEGER,
    AllRecordcount INTEGER,
    NewRecordcount INTEGER,
    RawRecordBeginRowid INTEGER,
    AllRecordBeginRowid INTEGER,
    NewRecordBeginRowid INTEGER
);

CREATE TABLE IF NOT EXISTS StatusBase (
    ID INTEGER,
    StatuName nvarchar(24)
);

CREATE TABLE IF NOT EXISTS ShortMessage (
    UserID INTEGER,
    BeginTime nvarchar(20),
    EndTime nvarchar(20),
    Message nvarchar(200)
);

CREATE TABLE IF NOT EXISTS RingZone (
    Time nvarchar(8),
    week INTEGER
);

CREATE TABLE IF NOT EXISTS OpenDoorSpace (
    MonStart nvarchar(8),
    MonEnd nvarchar(8),
    TuesStart nvarchar(8),
    TuesEnd nvarchar(8),
    WednStart nvarchar(8),
    WednEnd nvarchar(8),
    ThurStart nvarchar(8),
    ThurEnd nvarchar(8),
    FriStart nvarchar(8),
    FriEnd nvarchar(8),
    SatStart nvarchar(8),
    SatEnd nvarchar(8),
    SunStart nvarchar(8),
    SunEnd nvarchar(8),
    SpaceID INTEGER
);

CREATE TABLE IF NOT EXISTS SpaceGroup (
    GroupID INTEGER,
    FirstSpace INTEGER,
    SecondSpace INTEGER,
    ThirdSpace INTEGER,
    FourSpace INTEGER
);

CREATE INDEX IF NOT EXISTS UserinfoUserid ON Userinfo (userid);
CREATE INDEX IF NOT EXISTS FPinfoUserID ON FPinfo (UserID);
CREATE INDEX IF NOT EXISTS CheckinoutCheckTime ON Checkinout (CheckTime);
-- The record query's: one user's records, and the count by status and time.
CREATE INDEX IF NOT EXISTS CheckinoutUserid ON Checkinout (Userid);
CREATE INDEX IF NOT EXISTS CheckinoutTypeTime ON Checkinout (CheckType, CheckTime);

INSERT INTO BasePara VALUES (0, 0, 0, 0, 1, 1, 1);

INSERT INTO StatusBase VALUES (0, 'IN');
INSERT INTO StatusBase VALUES (1, 'OUT');
INSERT INTO StatusBase VALUES (2, 'F1');
INSERT INTO StatusBase VALUES (3, 'F2');
INSERT INTO StatusBase VALUES (4, 'F3');
INSERT INTO StatusBase VALUES (5, 'F4');
INSERT INTO StatusBase VALUES (6, 'F5');
INSERT INTO StatusBase VALUES (7, 'F6');

-- 32 access time zones, closed all week.
WITH RECURSIVE zone(id) AS (SELECT 1 UNION ALL SELECT id + 1 FROM zone WHERE id < 32)
INSERT INTO OpenDoorSpace
SELECT '00:00', '00:00', '00:00', '00:00', '00:00', '00:00', '00:00',
       '00:00', '00:00', '00:00', '00:00', '00:00', '00:00', '00:00', id FROM zone;

INSERT INTO Dept VALUES (1, '总公司', 0, 0);
