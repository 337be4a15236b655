// A backup the terminal made of its own data restores, whatever length its
// texts have: a status name typed on the Status Keys page, a user name and a
// department name longer than their columns declare. After the restore the
// pages show them cut to their places and the user export writes the name
// cut to its field.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/DataGlobals.h"
#include "data/DeptStorage.h"
#include "data/RecordStore.h"
#include "data/SqlHelpers.h"
#include "data/UserStorage.h"
#include "platform/base/device_fs.h"
#include "tests/maintenance/DatabasePageTest.h"
#include "tests/maintenance/RecordPageDates.h"
#include "tests/support/text_fit.h"
#include "transfer/CPTreeRecord.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferFiles.h"
#include "users/UserFormPage.h"

namespace {

constexpr UINT kStatusNode = 141;
constexpr UINT kEditUserNode = 122;
constexpr UINT kRecordsNode = 131;
constexpr UINT kUserExportNode = 1331;
constexpr int kF1NameEdit = 1372;

const CString kStatusName(u'a', 30);
const CString kDeptName = u"Research and Development Group";  // 30 characters
// 64 characters, 125 bytes in the device code page.
const CString kUserName = CString(u"Ann") + CString(u'\u4e00', 61);

class OwnBackupTest : public DatabasePageTest {
protected:
    // What the page shows that is not seen whole, edits left out: a field
    // shows the part of its text around the caret.
    static std::vector<TextMisfit> MisfitsBesideEdits() {
        std::vector<TextMisfit> misfits;
        for (const TextMisfit& misfit : FindTextMisfits()) {
            WCHAR name[16] = {};
            GetClassNameW(misfit.window, name, 16);
            if (std::u16string_view(name) != u"EDIT") misfits.push_back(misfit);
        }
        return misfits;
    }
    static CString WindowText(int id) {
        CString text;
        CControlPanel::Open()->ShownPage()->GetDlgItem(id)->GetWindowText(text);
        return text;
    }
    static CString Text(const char16_t* sql) {
        StatementPtr row(g_pDatabase->Statement(sql));
        return row && row->NextRow() ? CString(row->ValueString(0)) : CString(u"(no row)");
    }
};

TEST_F(OwnBackupTest, LongTextsOfTheTerminalsOwnMakingRestoreAndAreShownAndExportedCut) {
    // Thirty letters typed on the on-screen keyboard into the emptied F1 name.
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"update StatusBase set StatuName = '' where ID = 2"));
    std::vector<std::string> typing{"key HASH"};
    typing.insert(typing.end(), 30, "key ENTER");
    typing.push_back("key MENU");
    OnPage(kStatusNode, typing);
    ASSERT_EQ(Text(u"select StatuName from StatusBase where ID = 2"), kStatusName);

    DeptRecord dept;
    dept.Deptid = 2;
    dept.DeptName = kDeptName;
    dept.SupDeptid = 1;
    ASSERT_EQ(g_pDeptStorage->AddDept(dept), 0);
    UserInfoRecord user;
    user.userid = u"42";
    user.CardNo = u"87654321";
    user.Name = kUserName;
    user.Deptid = 2;
    ASSERT_EQ(g_pUserStorage->AddUser(user), 0);
    CheckinoutRecord record;
    record.Userid = u"42";
    record.CheckTime = u"2014-09-01 08:00:00";
    record.CheckType = 2;
    ASSERT_EQ(g_pRecordStore->AddRecord(record), 0);

    OnPage(kBackupNode, Choose(1, {"answer ok", "key ENTER"}));
    // Changed after the backup: the restore brings the user back.
    ASSERT_EQ(g_pUserStorage->DeleteUser(u"42"), 0);
    OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 100"}));
    EXPECT_EQ(Messages(),
              (std::vector<CString>{u"Backup done!", u"Database restored. The terminal restarts now!"}));
    EXPECT_EQ(controller.State().restarts, 1);
    EXPECT_EQ(g_pUserStorage->GetCount(), 1);
    EXPECT_EQ(Text(u"select Name from Userinfo where userid = '42'"), kUserName);
    EXPECT_EQ(Text(u"select DeptName from Dept where Deptid = 2"), kDeptName);

    // The Status Keys page shows the name whole in its field.
    CString shownStatus;
    OnPage(kStatusNode, {"call"}, {[&] { shownStatus = WindowText(kF1NameEdit); }});
    EXPECT_EQ(shownStatus, kStatusName);

    // The records list holds the user and status names whole and shows
    // them cut to their cells.
    std::vector<CString> row;
    std::vector<TextMisfit> recordMisfits;
    OnPage(kRecordsNode, {"call", "key F1", "call"},
           {[] { SetSeptember2014Dates(ShownPage<CCPTreeRecord>(), 1, 1); },
            [&] {
                const CSkinListCtrl& list = ShownPage<CCPTreeRecord>()->List();
                ASSERT_EQ(list.GetItemCount(), 1);
                for (int column = 0; column < 4; ++column) row.push_back(list.GetItemText(0, column));
                recordMisfits = MisfitsBesideEdits();
            }});
    ASSERT_EQ(row.size(), 4u);
    EXPECT_EQ(row[1], kUserName);
    EXPECT_EQ(row[3], kStatusName);
    EXPECT_EQ(Describe(recordMisfits), "") << "no text runs out of its cell";

    // The user's page shows his name in its field and his department cut
    // to its box, with nothing else cut.
    CString shownName;
    std::vector<TextMisfit> userMisfits;
    OnPage(kEditUserNode, {"key 4", "key 2", "key ENTER", "call"}, {[&] {
               shownName = WindowText(IDC_USER_NAME);
               userMisfits = MisfitsBesideEdits();
           }});
    EXPECT_EQ(shownName, kUserName);
    ASSERT_EQ(userMisfits.size(), 1u) << Describe(userMisfits);
    EXPECT_EQ(userMisfits[0].problem, "STATIC " + std::to_string(IDC_USER_DEPT) + ": shortened to fit its box");
    const std::u16string shownDept = userMisfits[0].text;
    ASSERT_GT(shownDept.size(), 3u);
    EXPECT_EQ(shownDept.substr(shownDept.size() - 3), u"...");
    const std::u16string kept = shownDept.substr(0, shownDept.size() - 3);
    EXPECT_EQ(kDeptName.Left(static_cast<int>(kept.size())), kept.c_str());

    // The export writes the whole characters that fit the ten name bytes.
    OnPage(kUserExportNode, {"key DOWN", "answer yes", "answer ok", "key ENTER", "wait 100"});
    const CString file = TransferFilePath(GetTransferFolder(StorageDeviceFlash), kUserFile28);
    std::ifstream exported(DeviceToHostPath(file.GetString()), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(exported)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 3u + PackedUser28Size);
    EXPECT_EQ(bytes.substr(3 + 8, 4), std::string("\x05\x39\x7F\xB1")) << "the card";
    EXPECT_EQ(bytes.substr(3 + 12, 10), std::string("Ann\xD2\xBB\xD2\xBB\xD2\xBB") + std::string(1, '\0'));
    EXPECT_EQ(bytes[3 + 22], 2) << "the department follows the name";
}

}  // namespace
