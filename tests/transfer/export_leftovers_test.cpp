// What a power cut during an export leaves, taken away at start-up: the
// temporaries of the export's files in the transfer folders of the flash
// and of the media present, and nothing else.
#include <filesystem>
#include <string>
#include <vector>

#include "core/MachineConfig.h"
#include "tests/transfer/transfer_fixture.h"
#include "transfer/ExportLeftovers.h"
#include "transfer/StorageLocation.h"

namespace {

class ExportLeftoversTest : public TransferTest {
protected:
    ~ExportLeftoversTest() override { g_MachineConfig.MachineID = u"1"; }
    // Writes a file of that name into the device folder (a path below its
    // root written with '\').
    void Put(const CString& devicePath) { WriteHostFile(devicePath, "bytes"); }
    bool Exists(const CString& devicePath) const { return std::filesystem::exists(Host(devicePath)); }
};

TEST_F(ExportLeftoversTest, TheExportsTemporariesGoFromTheFlashAndTheMediaPresentAndNothingElse) {
    InsertMedium(StorageSDCard);
    const CString flash = GetTransferFolder(StorageDeviceFlash), card = GetTransferFolder(StorageSDCard);
    const std::vector<CString> temporaries = {flash + u"\\Bak.yg2.~tmpa1b2c3", flash + u"\\Bak.zw.~tmpzz9y8x",
                                              flash + u"\\Bak.kq.~tmp000000", card + u"\\Bak.zw.~tmpqwerty"};
    const std::vector<CString> kept = {
        flash + u"\\Bak.yg2",            flash + u"\\Bak.zw",
        flash + u"\\notes.txt.~tmpa1b2c3",  // a person's file that looks like one
        flash + u"\\Bak.yg.~tmpa1b2c3",     // no file an export writes
        flash + u"\\Bak.yg2.~tmp",          // no temporary's name
        card + u"\\Bak.yg2.~tmpa1b2c3x",
        GetStorageRoot(StorageSDCard) + u"\\Bak.yg2.~tmpa1b2c3",  // beside the transfer folder
        GetStorageRoot(StorageSDCard) + u"\\2\\Bak.yg2.~tmpa1b2c3",  // another machine ID's folder
    };
    for (const CString& file : temporaries) Put(file);
    for (const CString& file : kept) Put(file);
    // The USB disk's transfer folder is a link, which no export writes through.
    InsertMedium(StorageUSBDisk);
    Put(u"\\Elsewhere\\Bak.yg2.~tmpa1b2c3");
    std::filesystem::create_directory_symlink(Host(u"\\Elsewhere"), Host(GetTransferFolder(StorageUSBDisk)));

    RemoveExportLeftovers();
    for (const CString& file : temporaries) EXPECT_FALSE(Exists(file)) << Host(file);
    for (const CString& file : kept) EXPECT_TRUE(Exists(file)) << Host(file);
    EXPECT_TRUE(Exists(u"\\Elsewhere\\Bak.yg2.~tmpa1b2c3")) << "removed through a link";
}

// A machine ID that is a path names a folder outside the transfer folders,
// into which no export writes: nothing there is taken for its temporary.
TEST_F(ExportLeftoversTest, AMachineIdThatIsAPathTakesNothingOutsideTheTransferFolders) {
    g_MachineConfig.MachineID = u"..";
    const CString outside = GetTransferFolder(StorageDeviceFlash) + u"\\Bak.yg2.~tmpa1b2c3";
    Put(outside);
    ASSERT_TRUE(Exists(u"\\NandFlash\\Bak.yg2.~tmpa1b2c3")) << "the path leads out of the application folder";
    RemoveExportLeftovers();
    EXPECT_TRUE(Exists(outside));
}

}  // namespace
