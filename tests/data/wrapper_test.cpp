// The statement wrapper's results and the factory schema.
#include "DataTestSupport.h"

namespace {

using WrapperTest = DataStoreTest;
using SchemaTest = DataStoreTest;

TEST_F(WrapperTest, NullAndTheNullTextReadAsEmpty) {
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO StatusBase VALUES (8, NULL)"));
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO StatusBase VALUES (9, '(null)')"));
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 8"), u"");
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 9"), u"");
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 1"), u"OUT");
}

TEST_F(WrapperTest, TextReadsAlikeWhetherPlainAsciiOrNot) {
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO StatusBase VALUES (8, '张三 Li')"));
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO StatusBase VALUES (9, 'Li 张')"));
    // Text ends at its first NUL, on either path.
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO StatusBase VALUES (10, CAST(x'41004243' AS TEXT))"));
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO StatusBase VALUES (11, CAST(x'E5BCA0004243' AS TEXT))"));
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO StatusBase VALUES (12, 1203)"));
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 8"), u"张三 Li");
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 9"), u"Li 张");
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 10"), u"A");
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 11"), u"张");
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 12"), u"1203");
}

TEST_F(WrapperTest, ExecuteReportsOnlyARunToTheEnd) {
    // A row is not an end, and says nothing.
    EXPECT_FALSE(db.DirectStatement(u"select * from StatusBase"));
    // An update that matches nothing has still run.
    EXPECT_TRUE(db.DirectStatement(u"update Dept set DeptName='x' where Deptid = 77"));
    EXPECT_TRUE(Boxes().empty());
    // A text that does not prepare is a misuse when run; a read just ends.
    EXPECT_FALSE(db.DirectStatement(u"updat Dept"));
    StatementPtr bad(db.Statement(u"selec 1"));
    EXPECT_FALSE(bad->IsPrepared());
    EXPECT_FALSE(bad->NextRow());
    // The box says it in words (here the built-in texts), never with
    // SQLite's code, and each such failure has its own box.
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0], u"CSqlStatement::Execute|数据库写入失败，更改未能保存！");
    // A failing step: a rowid that is not a number.
    EXPECT_FALSE(db.DirectStatement(u"INSERT INTO Dept(rowid, Deptid) VALUES ('x', 2)"));
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes().back(), u"CSqlStatement::Execute|数据库写入失败，更改未能保存！");
}

// A lasting cause (a file that may not be written, a full flash) is told
// once, not at every write, until rows are written again; the developer
// finds SQLite's code and message on standard error each time.
TEST_F(WrapperTest, ALastingCauseIsToldOnceUntilRowsAreWrittenAgain) {
    const CString readOnly = u"CSqlStatement::Execute|数据库文件为只读，更改未能保存！";
    const CString full = u"CSqlStatement::Execute|存储空间已满，更改未能保存！";
    ASSERT_TRUE(db.DirectStatement(u"PRAGMA query_only = 1"));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(db.DirectStatement(u"INSERT INTO Dept(Deptid, DeptName) VALUES (2, 'a')"));
    EXPECT_FALSE(db.DirectStatement(u"update BasePara set UserCount = 3"));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Boxes(), std::vector<CString>{readOnly});
    EXPECT_NE(errors.find("error 8 (attempt to write a readonly database)"), std::string::npos) << errors;
    EXPECT_NE(errors.find("update BasePara set UserCount = 3"), std::string::npos) << errors;

    // A statement that writes no row proves nothing; rows written do.
    ASSERT_TRUE(db.DirectStatement(u"PRAGMA query_only = 0"));
    EXPECT_TRUE(db.DirectStatement(u"update Dept set DeptName = 'x' where Deptid = 77"));
    ASSERT_TRUE(db.DirectStatement(u"PRAGMA query_only = 1"));
    EXPECT_FALSE(db.DirectStatement(u"INSERT INTO Dept(Deptid, DeptName) VALUES (2, 'a')"));
    EXPECT_EQ(Boxes().size(), 1u);
    ASSERT_TRUE(db.DirectStatement(u"PRAGMA query_only = 0"));
    EXPECT_TRUE(db.DirectStatement(u"INSERT INTO Dept(Deptid, DeptName) VALUES (2, 'a')"));
    ASSERT_TRUE(db.DirectStatement(u"PRAGMA query_only = 1"));
    EXPECT_FALSE(db.DirectStatement(u"INSERT INTO Dept(Deptid, DeptName) VALUES (3, 'b')"));
    EXPECT_EQ(Boxes(), (std::vector<CString>{readOnly, readOnly}));

    // Another cause is told at once, and once.
    ASSERT_TRUE(db.DirectStatement(u"PRAGMA query_only = 0"));
    EXPECT_EQ(Int(CString(u"PRAGMA max_page_count = ") + Text(u"PRAGMA page_count")), Int(u"PRAGMA page_count"));
    EXPECT_FALSE(db.DirectStatement(u"CREATE TABLE Spare (x)"));
    EXPECT_FALSE(db.DirectStatement(u"CREATE TABLE Spare (x)"));
    EXPECT_EQ(Boxes(), (std::vector<CString>{readOnly, readOnly, full}));
}

// A statement made before the database was closed (its file replaced
// meanwhile) does not run on the old connection: it ends quietly, and a
// new statement reaches the file opened again.
TEST_F(WrapperTest, StatementsOfAClosedConnectionDoNotRun) {
    StatementPtr before(db.Statement(u"select ID from StatusBase"));
    StatementPtr write(db.Statement(u"update StatusBase set StatuName='x'"));
    db.Close();
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(before->NextRow());
    EXPECT_FALSE(db.DirectStatement(u"select 1"));
    ASSERT_TRUE(db.Open(kTestDbPath));
    EXPECT_FALSE(before->NextRow());
    EXPECT_FALSE(write->Execute());
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 1"), u"OUT");
}

TEST_F(WrapperTest, BindersUseTheIndexTheyAreGiven) {
    const BYTE blob[4] = {1, 2, 3, 4};
    StatementPtr insert(db.Statement(u"INSERT INTO FPinfo VALUES (?, ?, ?)"));
    ASSERT_TRUE(insert->Bind(0, 3));
    ASSERT_TRUE(insert->Bind(1, u"42"));
    ASSERT_TRUE(insert->BindBlob(2, blob, sizeof blob));
    ASSERT_TRUE(insert->Execute());
    StatementPtr row(db.Statement(u"select fingerNO, UserID, FPTemplate from FPinfo"));
    ASSERT_TRUE(row->NextRow());
    EXPECT_EQ(row->ValueInt(0), 3);
    EXPECT_EQ(CString(row->ValueString(1)), u"42");
    int bytes = 0;
    const BYTE* stored = static_cast<const BYTE*>(row->ValueBlob(2, bytes));
    ASSERT_EQ(bytes, 4);
    EXPECT_EQ(std::vector<BYTE>(stored, stored + 4), Bytes({1, 2, 3, 4}));
    EXPECT_EQ(CString(row->FieldTypeName(2)), u"BLOBL");
}

TEST_F(WrapperTest, NoTextBindsNullAndReadsBackEmpty) {
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO StatusBase VALUES (8, 'eight')"));
    StatementPtr update(db.Statement(u"update StatusBase set StatuName = ? where ID = ?"));
    ASSERT_TRUE(update->Bind(0, static_cast<LPCWSTR>(nullptr)));
    ASSERT_TRUE(update->Bind(1, 8));
    ASSERT_TRUE(update->Execute());
    EXPECT_EQ(Int(u"select count(*) from StatusBase where ID = 8 and StatuName is null"), 1);
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 8"), u"");
    EXPECT_FALSE(QueryHasRow(db, u"select 1 from StatusBase where StatuName = ?", {nullptr}))
        << "no text matches nothing, not every row";
}

TEST_F(WrapperTest, TwelveDigitIdsSurviveTextAndInteger) {
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO Checkinout VALUES ('987654321012', '2014-09-01 08:05:00', 0, 0, 0)"));
    StatementPtr row(db.Statement(u"select Userid from Checkinout"));
    ASSERT_TRUE(row->NextRow());
    EXPECT_EQ(row->ValueInt64(0), 987654321012LL);
    EXPECT_EQ(CString(row->ValueString(0)), u"987654321012");
}

TEST_F(SchemaTest, TablesHaveTheirColumnsInOrder) {
    auto columns = [&](LPCWSTR table) {
        CString sql;
        sql.Format(u"PRAGMA table_info(%s)", table);
        StatementPtr rows(db.Statement(sql));
        CString names;
        while (rows->NextRow()) names += CString(rows->ValueString(1)) + u",";
        return names;
    };
    EXPECT_EQ(columns(u"Userinfo"), u"userid,CardNo,Name,sex,pwd,Deptid,ACFlag,IConPath,AdminFlag,Birthday,GroupNO,FPFlag,");
    EXPECT_EQ(columns(u"FPinfo"), u"fingerNO,UserID,FPTemplate,");
    EXPECT_EQ(columns(u"Dept"), u"Deptid,DeptName,SupDeptid,DeptGroup,");
    EXPECT_EQ(columns(u"Checkinout"), u"Userid,CheckTime,CheckType,IsDownLoad,WorkNumberAndPassType,");
    EXPECT_EQ(columns(u"BasePara"),
              u"UserCount,FpCount,AllRecordcount,NewRecordcount,RawRecordBeginRowid,AllRecordBeginRowid,"
              u"NewRecordBeginRowid,");
    EXPECT_EQ(columns(u"StatusBase"), u"ID,StatuName,");
    EXPECT_EQ(columns(u"ShortMessage"), u"UserID,BeginTime,EndTime,Message,");
    EXPECT_EQ(columns(u"RingZone"), u"Time,week,");
    EXPECT_EQ(columns(u"OpenDoorSpace"),
              u"MonStart,MonEnd,TuesStart,TuesEnd,WednStart,WednEnd,ThurStart,ThurEnd,FriStart,FriEnd,SatStart,"
              u"SatEnd,SunStart,SunEnd,SpaceID,");
    EXPECT_EQ(columns(u"SpaceGroup"), u"GroupID,FirstSpace,SecondSpace,ThirdSpace,FourSpace,");
    EXPECT_EQ(Int(u"select count(*) from sqlite_master where name = 'AtuoFN'"), 0);
}

TEST_F(SchemaTest, FactoryRows) {
    EXPECT_EQ(Int(u"select count(*) from BasePara"), 1);
    EXPECT_EQ(Int(u"select count(*) from BasePara where UserCount = 0 and AllRecordcount = 0 and NewRecordcount = 0 "
                  u"and RawRecordBeginRowid = 1 and AllRecordBeginRowid = 1 and NewRecordBeginRowid = 1"),
              1);
    EXPECT_EQ(Text(u"select group_concat(StatuName, ',') from (select StatuName from StatusBase order by ID)"),
              u"IN,OUT,F1,F2,F3,F4,F5,F6");
    EXPECT_EQ(Int(u"select count(*) from OpenDoorSpace where MonStart = '00:00' and SunEnd = '00:00'"), 32);
    EXPECT_EQ(Int(u"select sum(SpaceID) from OpenDoorSpace"), 32 * 33 / 2);
    EXPECT_EQ(Text(u"select DeptName from Dept where Deptid = 1 and SupDeptid = 0"), u"总公司");
    EXPECT_EQ(Int(u"select count(*) from Userinfo") + Int(u"select count(*) from Checkinout"), 0);
}

TEST_F(SchemaTest, QuotedNumbersCompareAsNumbers) {
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO Checkinout VALUES ('1', '2014-09-01 17:30:00', '7', '0', '0')"));
    EXPECT_EQ(Int(u"select count(*) from Checkinout where CheckType = 7"), 1);
    EXPECT_EQ(Int(u"select count(*) from Checkinout where CheckTime > '2014-09-01 08:05:00'"), 1);
    // Time texts sort in time order.
    EXPECT_LT(CString(u"2014-09-01 08:05:00").Compare(u"2014-09-01 17:30:00"), 0);
}

TEST_F(SchemaTest, AFactoryDatabaseIsNotBuiltOverAnExistingOne) {
    db.Close();
    EXPECT_FALSE(CreateFactoryDatabase(kTestDbPath));
    ASSERT_TRUE(db.Open(kTestDbPath));
    EXPECT_EQ(Int(u"select count(*) from StatusBase"), 8);
}

}  // namespace
