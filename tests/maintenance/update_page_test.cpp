// The software update page: the program files and icons installed from the
// USB disk's update folder with the supervision switched off and the
// restart asked for, and the refusals and failures that install nothing.
#include <poll.h>
#include <sys/resource.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "core/ConfigXml.h"
#include "platform/ui/imagefile.h"
#include "tests/maintenance/DatabasePageTest.h"
#include "transfer/MaintenanceFiles.h"
#include "transfer/UpdateDlg.h"
#include "transfer/UpdateFolder.h"

namespace {

constexpr UINT kUpdateNode = 136;
const char* const kProgramFiles[] = {"Quillon.exe", "SMApi_WinCE.dll", "SMControl_WinCE.dll", "SMProcess_WinCE.dll",
                                     "launch.exe"};
const char* const kIcons = "SKIN/FLOWER/ControlPanel/ICON";
const char* const kInstalledIcons = "NandFlash/zeta42/Skin/flower/ControlPanel/ICON";

class UpdatePageTest : public DatabasePageTest {
protected:
    // The settings file holds another skin than the update's, so that a
    // save of the update's would show in it.
    UpdatePageTest() {
        EXPECT_TRUE(g_ConfigDoc.ReadFromFile(GetConfigFilePath()));
        SetConfigValue(u"SKIN", u"blue", TRUE);
    }
    ~UpdatePageTest() override { g_ConfigDoc.ParseText(u""); }

    // The update folder with the five program files (the first one larger
    // than a block) and two icons, and a folder that only looks like one.
    void PutUpdate() {
        char fill = 'a';
        for (const char* name : kProgramFiles) {
            root.PutFile(std::string("USB Disk/zeta42/") + name, std::string(fill == 'a' ? 10000 : 100, fill));
            ++fill;
        }
        root.PutFile(std::string("USB Disk/zeta42/") + kIcons + "/new.png", std::string(300, 'n'));
        root.PutFile(std::string("USB Disk/zeta42/") + kIcons + "/Enroll.png", std::string(200, 'e'));
        std::filesystem::create_directories(root.HostPath(std::string("USB Disk/zeta42/") + kIcons + "/dir.png"));
    }
    CString Skin() {
        CString skin;
        GetConfigValue(u"SKIN", skin);
        return skin;
    }
    // Entries under a temporary or kept-aside name in the program and icon
    // folders.
    std::vector<std::string> LeftAside() {
        std::vector<std::string> names;
        for (const std::string& folder : {std::string("NandFlash/app"), std::string(kInstalledIcons)})
            for (const auto& entry : std::filesystem::directory_iterator(root.HostPath(folder)))
                if (entry.path().filename().string().find(".~") != std::string::npos)
                    names.push_back(entry.path().filename().string());
        return names;
    }
    bool Installed(const char* name) { return std::filesystem::exists(root.HostPath(std::string("NandFlash/app/") + name)); }
};

TEST_F(UpdatePageTest, InstallsFromTheUsbDiskAndRestarts) {
    PutUpdate();
    const std::string config = FileBytes("NandFlash/zeta42/config/config.xml");
    ASSERT_NE(config.find("<SKIN>blue</SKIN>"), std::string::npos);
    UINT bar = 0;
    OnPage(kUpdateNode, {"key ENTER", "wait 100", "call"},
           {[&] { bar = ShownPage<CUpdateDlg>()->ProgressBar().GetPos(); }});
    EXPECT_EQ(bar, 100u) << "every file copied fills the bar";
    for (const char* name : kProgramFiles)
        EXPECT_EQ(FileBytes(std::string("NandFlash/app/") + name),
                  FileBytes(std::string("USB Disk/zeta42/") + name)) << name;
    EXPECT_EQ(FileBytes(std::string(kInstalledIcons) + "/new.png"), std::string(300, 'n'));
    EXPECT_EQ(FileBytes(std::string(kInstalledIcons) + "/Enroll.png"), std::string(200, 'e'));
    EXPECT_FALSE(std::filesystem::exists(root.HostPath(std::string(kInstalledIcons) + "/dir.png")));
    EXPECT_TRUE(LeftAside().empty()) << "the old files are not kept once all new ones are in place";
    EXPECT_FALSE(Installed("update.~done"));
    EXPECT_EQ(Skin(), u"flower");
    EXPECT_EQ(FileBytes("NandFlash/zeta42/config/config.xml"), config) << "the settings file is not saved";
    EXPECT_TRUE(Messages().empty());

    const auto frames = ControllerFrames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].first.substr(0, 11), "FB 00 00 FB");
    EXPECT_EQ(frames[1].first.substr(0, 11), "F8 01 01 F8");
    EXPECT_GE(frames[1].second - frames[0].second, 200u);
    EXPECT_EQ(controller.State().restarts, 1);
    EXPECT_FALSE(controller.State().supervision);
}

TEST_F(UpdatePageTest, MissingFolderOrFileInstallsNothing) {
    OnPage(kUpdateNode, {"answer ok", "key ENTER"});
    PutUpdate();
    std::filesystem::remove(root.HostPath("USB Disk/zeta42/SMProcess_WinCE.dll"));
    OnPage(kUpdateNode, {"answer ok", "key ENTER", "wait 1000"});
    const std::vector<CString> messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], u"No update found on the USB disk");
    EXPECT_EQ(messages[1], u"Update files incomplete on the USB disk");
    EXPECT_FALSE(Installed("Quillon.exe"));
    EXPECT_EQ(Skin(), u"blue");
    EXPECT_TRUE(ControllerFrames().empty());
}

// Five program files that hold nothing, and no icons: there is nothing to
// install, and empty files in the program's place would never start.
TEST_F(UpdatePageTest, AnUpdateWithoutAByteIsIncompleteAndInstallsNothing) {
    root.PutFile("NandFlash/app/Quillon.exe", "old program");
    for (const char* name : kProgramFiles) root.PutFile(std::string("USB Disk/zeta42/") + name, "");
    OnPage(kUpdateNode, {"answer ok", "key ENTER", "wait 1000"});
    EXPECT_EQ(Messages(), std::vector<CString>{u"Update files incomplete on the USB disk"});
    EXPECT_EQ(FileBytes("NandFlash/app/Quillon.exe"), "old program");
    EXPECT_FALSE(Installed("launch.exe"));
    EXPECT_EQ(Skin(), u"blue");
    EXPECT_TRUE(ControllerFrames().empty());
}

// One empty program file among full ones is no program either.
TEST_F(UpdatePageTest, AnEmptyProgramFileIsIncompleteAndInstallsNothing) {
    root.PutFile("NandFlash/app/Quillon.exe", "old program");
    std::vector<CString> told;
    for (const char* empty : {"Quillon.exe", "SMProcess_WinCE.dll"}) {
        PutUpdate();
        root.PutFile(std::string("USB Disk/zeta42/") + empty, "");
        OnPage(kUpdateNode, {"answer ok", "key ENTER", "wait 1000"});
        told.push_back(u"Update files incomplete on the USB disk");
        EXPECT_EQ(Messages(), told) << empty;
        EXPECT_EQ(FileBytes("NandFlash/app/Quillon.exe"), "old program") << empty;
        EXPECT_FALSE(Installed("launch.exe")) << empty;
        EXPECT_FALSE(std::filesystem::exists(root.HostPath(std::string(kInstalledIcons) + "/new.png"))) << empty;
        EXPECT_EQ(Skin(), u"blue") << empty;
        EXPECT_TRUE(ControllerFrames().empty()) << empty;
    }
}

// Icon names the device would read as paths (escaping the icon folder to
// replace the splash or to land in the application folder) or that its file
// system does not take: the whole update is refused.
TEST_F(UpdatePageTest, AnIconNameThatIsNoSingleNameRefusesTheWholeUpdate) {
    const std::string splash = "NandFlash/zeta42/Skin/flower/232_1.png";
    root.PutFile(splash, "the splash");
    const std::string icons = std::string("USB Disk/zeta42/") + kIcons + "/";
    const std::vector<std::string> names{"..\\..\\232_1.png", "..\\..\\..\\..\\evil.png", "a:b.png",
                                         "what?.png",          "a\"b\".png",                  "x|y.png",
                                         std::string("bell\x07.png")};
    std::vector<CString> told;
    for (const std::string& name : names) {
        std::filesystem::remove_all(root.HostPath("USB Disk/zeta42"));
        PutUpdate();
        root.PutFile(icons + name, "an icon from outside");
        // Where the escaping names lead on the disk.
        root.PutFile("USB Disk/zeta42/SKIN/FLOWER/232_1.png", "a splash from outside");
        root.PutFile("USB Disk/zeta42/evil.png", "a file from outside");
        OnPage(kUpdateNode, {"answer ok", "key ENTER", "wait 1000"});
        told.push_back(
            u"Update refused: a file name in the update folder the terminal cannot take. Nothing was installed.");
        EXPECT_EQ(Messages(), told) << name;
        EXPECT_EQ(FileBytes(splash), "the splash") << name;
        EXPECT_FALSE(std::filesystem::exists(root.HostPath("NandFlash/zeta42/evil.png"))) << name;
        EXPECT_FALSE(Installed("Quillon.exe")) << name;
        EXPECT_FALSE(std::filesystem::exists(root.HostPath(std::string(kInstalledIcons) + "/new.png"))) << name;
        EXPECT_EQ(Skin(), u"blue") << name;
        EXPECT_TRUE(ControllerFrames().empty()) << name;
    }
}

// The last program file grows after the update was sized, while the first
// ones are copied: the update says so and installs nothing.
TEST_F(UpdatePageTest, AFileThatGrowsWhileTheUpdateCopiesSaysSoAndInstallsNothing) {
    PutUpdate();
    // Large enough middle files that the growth, made as the copy opens the
    // first one, lands long before the last one is read.
    for (const char* name : {"SMApi_WinCE.dll", "SMControl_WinCE.dll", "SMProcess_WinCE.dll"})
        root.PutFile(std::string("USB Disk/zeta42/") + name, std::string(4 << 20, 'm'));
    root.PutFile("NandFlash/app/Quillon.exe", "old program");
    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, root.HostPath("USB Disk/zeta42/Quillon.exe").c_str(), IN_OPEN), 0);
    std::thread grower([&] {
        pollfd opened{watch, POLLIN, 0};
        char event[sizeof(inotify_event) + 256];
        if (poll(&opened, 1, 10000) != 1 || read(watch, event, sizeof event) <= 0) return;
        std::ofstream(root.HostPath("USB Disk/zeta42/launch.exe"), std::ios::binary | std::ios::app) << "more";
    });
    OnPage(kUpdateNode, {"answer ok", "key ENTER", "wait 1000"});
    grower.join();
    close(watch);
    EXPECT_EQ(Messages(), std::vector<CString>{u"Update stopped: a file changed while it was copied. Nothing was "
                                               u"installed."});
    EXPECT_EQ(FileBytes("NandFlash/app/Quillon.exe"), "old program");
    EXPECT_FALSE(Installed("launch.exe"));
    EXPECT_TRUE(LeftAside().empty());
    EXPECT_EQ(Skin(), u"blue");
    EXPECT_TRUE(ControllerFrames().empty());
}

TEST_F(UpdatePageTest, AFileThatCannotBeCopiedLeavesTheOldProgram) {
    PutUpdate();
    root.PutFile("NandFlash/app/Quillon.exe", "old program");
    // A folder in the place of a program file: nothing is copied.
    std::filesystem::remove(root.HostPath("USB Disk/zeta42/launch.exe"));
    std::filesystem::create_directories(root.HostPath("USB Disk/zeta42/launch.exe"));
    OnPage(kUpdateNode, {"answer ok", "key ENTER", "wait 1000"});
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(FileBytes("NandFlash/app/Quillon.exe"), "old program");
    EXPECT_FALSE(Installed("SMApi_WinCE.dll"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.HostPath("NandFlash/app")),
                            std::filesystem::directory_iterator{}),
              1) << "no new file stays behind";
    EXPECT_EQ(Skin(), u"blue");
    EXPECT_TRUE(ControllerFrames().empty());
}

// Files are replaced one after another; one that cannot be put in place
// (a folder in its place) puts back the files replaced before it.
TEST_F(UpdatePageTest, AFileThatCannotBePutInPlaceLeavesTheWholeOldProgram) {
    PutUpdate();
    root.PutFile("NandFlash/app/Quillon.exe", "old program");
    root.PutFile("NandFlash/app/SMControl_WinCE.dll", "old control");
    root.PutFile("NandFlash/app/launch.exe/in the way", "");
    root.PutFile(std::string(kInstalledIcons) + "/Enroll.png", "old icon");
    OnPage(kUpdateNode, {"answer ok", "key ENTER", "wait 1000"});
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(FileBytes("NandFlash/app/Quillon.exe"), "old program");
    EXPECT_EQ(FileBytes("NandFlash/app/SMControl_WinCE.dll"), "old control");
    EXPECT_FALSE(Installed("SMApi_WinCE.dll")) << "a file new to the terminal goes again";
    EXPECT_EQ(FileBytes(std::string(kInstalledIcons) + "/Enroll.png"), "old icon");
    EXPECT_FALSE(std::filesystem::exists(root.HostPath(std::string(kInstalledIcons) + "/new.png")));
    EXPECT_TRUE(LeftAside().empty()) << "nothing new or kept aside stays behind";
    EXPECT_EQ(Skin(), u"blue");
    EXPECT_TRUE(ControllerFrames().empty());
}

// A power cut among the renames: start-up puts the kept old files back,
// unless every new file was already in place.
TEST_F(UpdatePageTest, StartUpUndoesAnInstallCutBeforeItsLastRenameAndFinishesOneCutAfter) {
    const std::string kept = "NandFlash/app/Quillon.exe.~kept";
    const std::string keptIcon = std::string(kInstalledIcons) + "/Enroll.png.~kept";
    const auto cutInstall = [&] {
        root.PutFile("NandFlash/app/Quillon.exe", "new program");
        root.PutFile(kept, "old program");
        root.PutFile(std::string(kInstalledIcons) + "/Enroll.png", "new icon");
        root.PutFile(keptIcon, "old icon");
    };
    cutInstall();
    RemoveMaintenanceLeftovers();
    EXPECT_EQ(FileBytes("NandFlash/app/Quillon.exe"), "old program");
    EXPECT_EQ(FileBytes(std::string(kInstalledIcons) + "/Enroll.png"), "old icon");
    EXPECT_FALSE(std::filesystem::exists(root.HostPath(kept)));
    EXPECT_FALSE(std::filesystem::exists(root.HostPath(keptIcon)));

    cutInstall();
    root.PutFile("NandFlash/app/update.~done", "");
    RemoveMaintenanceLeftovers();
    EXPECT_EQ(FileBytes("NandFlash/app/Quillon.exe"), "new program");
    EXPECT_EQ(FileBytes(std::string(kInstalledIcons) + "/Enroll.png"), "new icon");
    EXPECT_FALSE(std::filesystem::exists(root.HostPath(kept)));
    EXPECT_FALSE(std::filesystem::exists(root.HostPath(keptIcon)));
    EXPECT_FALSE(std::filesystem::exists(root.HostPath("NandFlash/app/update.~done")));
}

// What a cut update left under temporary names goes at the next start, a
// new icon's too; the installed files stay.
TEST_F(UpdatePageTest, StartUpRemovesTheTemporariesACutUpdateLeft) {
    const std::string icons = std::string(kInstalledIcons) + "/";
    root.PutFile(icons + "Enroll.png", "icon");
    root.PutFile(icons + "Enroll.png.~tmpabc123", "half an icon");
    root.PutFile(icons + "cut.png.~tmpxyz789", "half a new icon");
    root.PutFile("NandFlash/app/Quillon.exe", "program");
    root.PutFile("NandFlash/app/Quillon.exe.~tmpqwe456", "half a program");
    RemoveMaintenanceLeftovers();
    EXPECT_TRUE(LeftAside().empty());
    EXPECT_EQ(FileBytes(icons + "Enroll.png"), "icon");
    EXPECT_EQ(FileBytes("NandFlash/app/Quillon.exe"), "program");
}

TEST(UpdateFolder, ProgramFilesThenTheIconsTheSkinHasRoomFor) {
    ScopedDeviceRoot root;
    std::filesystem::create_directories(root.HostPath("NandFlash/zeta42"));
    for (const char* name : kProgramFiles) root.PutFile(std::string("u/") + name, "12345");
    root.PutFile(std::string("u/") + kIcons + "/a.png", "123");
    root.PutFile(std::string("u/") + kIcons + "/b.bmp", "123");
    std::vector<UpdateFile> files;
    ASSERT_EQ(CollectUpdateFiles(u"\\u", files), UpdateFolderState::Usable);
    ASSERT_EQ(files.size(), 5u) << "no icon folder in the skin: no icons";
    EXPECT_EQ(files[0].source, u"\\u\\Quillon.exe");
    EXPECT_EQ(files[0].target, u"nandflash\\app\\Quillon.exe");
    EXPECT_EQ(files[4].target, u"nandflash\\app\\launch.exe");
    EXPECT_EQ(files[4].size, 5u);
    std::filesystem::create_directories(root.HostPath(kInstalledIcons));
    ASSERT_EQ(CollectUpdateFiles(u"\\u", files), UpdateFolderState::Usable);
    ASSERT_EQ(files.size(), 6u);
    EXPECT_EQ(files[5].target, u"\\NandFlash\\zeta42\\SKIN\\FLOWER\\ControlPanel\\ICON\\a.png");
    EXPECT_EQ(files[5].size, 3u);
    std::filesystem::remove(root.HostPath("u/launch.exe"));
    EXPECT_EQ(CollectUpdateFiles(u"\\u", files), UpdateFolderState::Incomplete);
}

// An update folder from outside whose entries are not all plain files lying
// in it: the whole update is refused before anything is copied.
TEST_F(UpdatePageTest, AnythingButPlainFilesInTheFolderRefusesTheWholeUpdate) {
    root.PutFile("Elsewhere/launch.exe", "a program from elsewhere");
    root.PutFile("Elsewhere/ICON/new.png", "an icon from elsewhere");
    const std::string update = root.HostPath("USB Disk/zeta42");
    const auto replaceBy = [&](const std::string& entry, const std::string& target) {
        return [&, entry, target] {
            std::filesystem::remove_all(update + "/" + entry);
            std::filesystem::create_symlink(target, update + "/" + entry);
        };
    };
    const std::string icons = std::string(kIcons) + "/";
    struct Case {
        const char* what;
        std::function<void()> change;
    };
    const std::vector<Case> cases{
        {"program linked to a file elsewhere", replaceBy("launch.exe", root.HostPath("Elsewhere/launch.exe"))},
        {"icon linked to a system file", replaceBy(icons + "new.png", "/etc/passwd")},
        {"icon folder linked to a folder elsewhere", replaceBy(kIcons, root.HostPath("Elsewhere/ICON"))},
        {"update folder linked to a folder elsewhere",
         [&] {
             std::filesystem::rename(update, root.HostPath("Elsewhere/zeta42"));
             std::filesystem::create_symlink(root.HostPath("Elsewhere/zeta42"), update);
         }},
        {"program linked to an endless device", replaceBy("Quillon.exe", "/dev/zero")},
        {"program as a pipe",
         [&] {
             std::filesystem::remove(update + "/SMApi_WinCE.dll");
             ASSERT_EQ(mkfifo((update + "/SMApi_WinCE.dll").c_str(), 0600), 0);
         }},
        {"program larger than the flash's free room",
         [&] {
             // A terabyte beyond the free room (sparse): other work on the
             // machine freeing space meanwhile cannot make it fit.
             std::filesystem::resize_file(update + "/SMControl_WinCE.dll",
                                          std::filesystem::space(update).available + (1ull << 40));
         }},
    };
    const CString refused = u"Update refused: a link, a device or too large a file in the update folder. Nothing was "
                            u"installed.";
    std::vector<CString> told;
    for (const Case& c : cases) {
        std::filesystem::remove_all(update);
        std::filesystem::remove_all(root.HostPath("Elsewhere/zeta42"));
        PutUpdate();
        c.change();
        OnPage(kUpdateNode, {"answer ok", "key ENTER", "wait 1000"});
        told.push_back(refused);
        EXPECT_EQ(Messages(), told) << c.what;
        EXPECT_FALSE(std::filesystem::exists(root.HostPath("NandFlash/app")) &&
                     !std::filesystem::is_empty(root.HostPath("NandFlash/app")))
            << c.what;
        EXPECT_FALSE(std::filesystem::exists(root.HostPath(std::string(kInstalledIcons) + "/new.png"))) << c.what;
        EXPECT_EQ(Skin(), u"blue") << c.what;
        EXPECT_TRUE(ControllerFrames().empty()) << c.what;
    }
}

// An icon that the control panel would refuse to show, and a bomb besides
// (its pixels would take more than the terminal's memory): the update is
// refused before anything is copied; one within the bound is installed.
TEST_F(UpdatePageTest, AnIconLargerThanTheTerminalShowsRefusesTheWholeUpdate) {
    const std::string icon = std::string("USB Disk/zeta42/") + kIcons + "/new.png";
    PutUpdate();
    ASSERT_TRUE(WritePng(Surface(kMaxImageFileSide + 1, 1), root.HostPath(icon), false));
    OnPage(kUpdateNode, {"answer ok", "key ENTER", "wait 1000"});
    EXPECT_EQ(Messages(), std::vector<CString>{u"Update refused: a link, a device or too large a file in the update "
                                               u"folder. Nothing was installed."});
    EXPECT_FALSE(Installed("Quillon.exe"));
    EXPECT_FALSE(std::filesystem::exists(root.HostPath(std::string(kInstalledIcons) + "/new.png")));
    EXPECT_EQ(Skin(), u"blue");

    ASSERT_TRUE(WritePng(Surface(kMaxImageFileSide, 1), root.HostPath(icon), false));
    OnPage(kUpdateNode, {"key ENTER", "wait 100"});
    EXPECT_EQ(FileBytes(std::string(kInstalledIcons) + "/new.png"), FileBytes(icon));
}

// The files this process may hold open lowered to `limit` while it lives.
class OpenFileLimit {
public:
    explicit OpenFileLimit(rlim_t limit) {
        getrlimit(RLIMIT_NOFILE, &m_before);
        rlimit lowered = m_before;
        lowered.rlim_cur = std::min(limit, m_before.rlim_cur);
        m_lowered = setrlimit(RLIMIT_NOFILE, &lowered) == 0;
    }
    ~OpenFileLimit() { setrlimit(RLIMIT_NOFILE, &m_before); }
    OpenFileLimit(const OpenFileLimit&) = delete;
    OpenFileLimit& operator=(const OpenFileLimit&) = delete;
    bool Lowered() const { return m_lowered; }

private:
    rlimit m_before{};
    bool m_lowered = false;
};

std::string IconName(size_t n, const char* format) {
    char name[32];
    std::snprintf(name, sizeof name, format, n);
    return name;
}

// The update folder of PutUpdate with icons added up to `count`; every
// fourth replaces an installed icon whose name differs only in case.
void PutIcons(ScopedDeviceRoot& root, size_t count) {
    const std::string icons = std::string("USB Disk/zeta42/") + kIcons + "/";
    for (size_t n = 2; n < count; ++n) {
        root.PutFile(icons + IconName(n, "icon%04zu.png"), "new " + std::to_string(n));
        if (n % 4 == 0) root.PutFile(std::string(kInstalledIcons) + "/" + IconName(n, "ICON%04zu.PNG"), "old");
    }
}

// Many icons under a limit of open files far below their count: each new
// file is closed once copied, and every icon is put in place (under the
// name the device has for it where there is one).
TEST_F(UpdatePageTest, ManyIconsAreInstalledUnderAFewOpenFiles) {
    constexpr size_t kIcons = 500;
    PutUpdate();
    PutIcons(root, kIcons);
    {
        OpenFileLimit limit(128);
        ASSERT_TRUE(limit.Lowered());
        OnPage(kUpdateNode, {"answer ok", "key ENTER", "wait 100"});
    }
    EXPECT_TRUE(Messages().empty());
    for (const char* name : kProgramFiles)
        EXPECT_EQ(FileBytes(std::string("NandFlash/app/") + name), FileBytes(std::string("USB Disk/zeta42/") + name));
    size_t installed = 0, twice = 0;
    for (size_t n = 2; n < kIcons; ++n) {
        const std::string name = IconName(n, n % 4 == 0 ? "ICON%04zu.PNG" : "icon%04zu.png");
        installed += FileBytes(std::string(kInstalledIcons) + "/" + name) == "new " + std::to_string(n);
        twice += n % 4 == 0 && std::filesystem::exists(root.HostPath(std::string(kInstalledIcons) + "/" +
                                                                     IconName(n, "icon%04zu.png")));
    }
    EXPECT_EQ(installed, kIcons - 2);
    EXPECT_EQ(twice, 0u) << "an icon the device has is replaced under its own name";
    EXPECT_EQ(FileBytes(std::string(kInstalledIcons) + "/new.png"), std::string(300, 'n'));
    EXPECT_TRUE(LeftAside().empty()) << "nothing kept aside or left half";
    EXPECT_EQ(controller.State().restarts, 1);
}

// One icon more than an update takes: the refusal says how many it takes,
// and nothing is installed.
TEST_F(UpdatePageTest, MoreIconsThanAnUpdateTakesRefuseTheWholeUpdate) {
    PutUpdate();
    PutIcons(root, kUpdateIconLimit + 1);
    OnPage(kUpdateNode, {"answer ok", "key ENTER", "wait 1000"});
    EXPECT_EQ(Messages(), std::vector<CString>{u"Update refused: more than 1000 icons in the update folder. Nothing "
                                               u"was installed."});
    EXPECT_FALSE(Installed("Quillon.exe"));
    EXPECT_FALSE(std::filesystem::exists(root.HostPath(std::string(kInstalledIcons) + "/new.png")));
    EXPECT_EQ(FileBytes(std::string(kInstalledIcons) + "/ICON0004.PNG"), "old");
    EXPECT_EQ(Skin(), u"blue");
    EXPECT_TRUE(ControllerFrames().empty());
}

TEST_F(UpdatePageTest, UpdatePageGolden) {
    OnPage(kUpdateNode, {"golden transfer_update"});
    EXPECT_TRUE(golden);
}

}  // namespace
