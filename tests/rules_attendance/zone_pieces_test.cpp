// The pieces the zone pages share: the row write by number and the reading
// of stored hour-and-minute texts.
#include "rules/ZoneRowWrite.h"
#include "rules/ZoneTimes.h"
#include "tests/rules_attendance/rules_fixture.h"

namespace {

using ZonePiecesTest = RulesTest;

constexpr ZoneRowStatements kRow{u"select * from Piece where Number = ?",
                                 u"update Piece set Label = ?, Count = ? where Number = ?",
                                 u"insert into Piece values (?, ?, ?)"};

TEST_F(ZonePiecesTest, ARowIsInsertedOnceThenUpdatedWithItsValuesBound) {
    Exec(u"create table Piece (Number int, Label nvarchar(8), Count int)");
    const CString quote(u"a'); drop table Piece; --");
    EXPECT_EQ(WriteZoneRow(kRow, 4, {quote, 1, 4}, {4, quote, 1}), ZoneRowResult::Inserted);
    EXPECT_EQ(WriteZoneRow(kRow, 4, {CString(u"b"), 2, 4}, {4, CString(u"b"), 2}), ZoneRowResult::Updated);
    EXPECT_EQ(WriteZoneRow(kRow, 5, {quote, 3, 5}, {5, quote, 3}), ZoneRowResult::Inserted);
    EXPECT_EQ(Text(u"select group_concat(Number || ':' || Label || ':' || Count, ',') from Piece"),
              u"4:b:2,5:a'); drop table Piece; --:3");
    EXPECT_EQ(Text(u"select typeof(Count) from Piece where Number = 4"), u"integer");
}

TEST_F(ZonePiecesTest, WithoutAnInsertAMissingRowStaysMissing) {
    Exec(u"create table Piece (Number int, Label nvarchar(8), Count int)");
    const ZoneRowStatements updateOnly{kRow.find, kRow.update, nullptr};
    EXPECT_EQ(WriteZoneRow(updateOnly, 9, {CString(u"x"), 1, 9}), ZoneRowResult::Missing);
    EXPECT_EQ(Int(u"select count(*) from Piece"), 0);
}

TEST_F(ZonePiecesTest, StoredTimesReadByTheHourAndMinuteRule) {
    EXPECT_EQ(StoredTimeMinutes(u"08:05"), 485);
    EXPECT_EQ(StoredTimeMinutes(u"8:5"), 485);
    EXPECT_EQ(StoredTimeMinutes(u"23:59"), 1439);
    EXPECT_EQ(StoredTimeMinutes(u":45"), 45);
    EXPECT_EQ(StoredTimeMinutes(u"45"), 45) << "without a colon the text is minutes";
    EXPECT_EQ(StoredTimeMinutes(u""), 0);
    EXPECT_EQ(StoredTimeMinutes(u"abc"), 0);
    EXPECT_EQ(StoredTimeMinutes(u"4294967296:0"), 255 * 60) << "the hour's low byte of the saturated number";
}

}  // namespace
