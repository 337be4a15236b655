// The record export's question and its two endings, each by its own text.
#include <filesystem>

#include "core/LangText.h"
#include "tests/transfer/transfer_fixture.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferFiles.h"

namespace {

class RecordExportMessagesTest : public TransferTest {
protected:
    static std::u16string Text(const char16_t* key) {
        CString text;
        GetLangText(u"CCPTreeRecordExport", key, u"", text);
        return text.str();
    }
    void Export() { OnPage(1332, {"key DOWN", "answer yes", "answer ok", "key ENTER"}); }
};

TEST_F(RecordExportMessagesTest, TheQuestionAndBothEndingsSayTheirOwnTexts) {
    Export();
    EXPECT_EQ(Messages(), (std::vector<std::u16string>{Text(u"RE0018"), Text(u"RE0013")}));
    // The file's name taken by a folder that holds a file: nothing can be
    // put in its place.
    const CString file = TransferFilePath(GetTransferFolder(StorageDeviceFlash), kAttendanceFile);
    std::filesystem::remove(Host(file));
    WriteHostFile(file + u"\\keep", "x");
    Export();
    EXPECT_EQ(Messages(), (std::vector<std::u16string>{Text(u"RE0018"), Text(u"RE0013"), Text(u"RE0018"),
                                                       Text(u"RE0014")}));
}

}  // namespace
