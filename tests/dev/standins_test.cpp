#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/debug.h"
#include "platform/base/files.h"
#include "platform/base/modules.h"
#include "platform/base/registry.h"
#include "platform/dev/drivers.h"
#include "platform/dev/gpio.h"
#include "platform/dev/network.h"
#include "platform/dev/shell.h"
#include "platform/dev/sound.h"
#include "platform/dev/storage.h"
#include "tests/support/device_root.h"
#include "tests/support/pipe_reader.h"

namespace {

std::vector<std::u16string> JournalTexts(const char* kind, uint64_t after) {
    std::vector<std::u16string> texts;
    for (const JournalEntry& e : JournalRead(kind, after)) texts.push_back(e.text);
    return texts;
}

void SetString(HKEY root, const char16_t* path, const char16_t* name, const std::u16string& value, DWORD type = REG_SZ) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(value.data()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);
}

TEST(Gpio, MappedRegistersKeepWhatTheApplicationWrites) {
    PHYSICAL_ADDRESS con{}, dat{};
    con.QuadPart = 0x56000060;
    dat.QuadPart = 0x56000064;
    auto* conRegister = static_cast<volatile DWORD*>(MmMapIoSpace(con, 4, FALSE));
    auto* datRegister = static_cast<volatile DWORD*>(MmMapIoSpace(dat, 4, FALSE));
    ASSERT_NE(conRegister, nullptr);
    ASSERT_NE(datRegister, nullptr);
    // Pin 4 as an output (mode 1 in bits 9..8), then set and clear it.
    *conRegister = (*conRegister & ~(3u << 8)) | (1u << 8);
    *datRegister = *datRegister | (1u << 4);
    EXPECT_EQ(GpioRegister(0x56000060) & (3u << 8), 1u << 8);
    EXPECT_TRUE(GpioRegister(0x56000064) & (1u << 4));
    *datRegister = *datRegister & ~(1u << 4);
    EXPECT_FALSE(GpioRegister(0x56000064) & (1u << 4));

    PHYSICAL_ADDRESS elsewhere{};
    elsewhere.QuadPart = 0x48000000;
    EXPECT_EQ(MmMapIoSpace(elsewhere, 4, FALSE), nullptr);
    PHYSICAL_ADDRESS pastTheEnd{};
    pastTheEnd.QuadPart = kGpioBase + kGpioBlockSize - 4;
    EXPECT_EQ(MmMapIoSpace(pastTheEnd, 8, FALSE), nullptr);
}

TEST(Sound, EverySoundIsJournalledAndTheVolumeFollowsTheRegistry) {
    ScopedDeviceRoot root;
    root.PutFile("NandFlash/zeta42/wav/passed.wav", "RIFF");
    const uint64_t before = JournalLastSequence();
    EXPECT_TRUE(sndPlaySoundW(u"\\NandFlash\\zeta42\\wav\\passed.wav", SND_ASYNC));
    EXPECT_FALSE(sndPlaySoundW(u"\\NandFlash\\zeta42\\wav\\absent.wav", SND_ASYNC));
    EXPECT_TRUE(PlaySoundW(nullptr, nullptr, 0));
    EXPECT_EQ(JournalTexts(kJournalSound, before),
              (std::vector<std::u16string>{u"play \\NandFlash\\zeta42\\wav\\passed.wav",
                                           u"play \\NandFlash\\zeta42\\wav\\absent.wav (missing)", u"stop"}));

    // A link to a sound is played; what is no plain file is not, and a pipe
    // is not waited on.
    std::filesystem::create_symlink(root.HostPath("NandFlash/zeta42/wav/passed.wav"),
                                    root.HostPath("NandFlash/zeta42/wav/linked.wav"));
    std::filesystem::create_directories(root.HostPath("NandFlash/zeta42/wav/folder.wav"));
    const uint64_t beforeOthers = JournalLastSequence();
    EXPECT_TRUE(sndPlaySoundW(u"\\NandFlash\\zeta42\\wav\\linked.wav", 0));
    EXPECT_FALSE(sndPlaySoundW(u"\\NandFlash\\zeta42\\wav\\folder.wav", 0));
    BOOL piped = TRUE;
    EXPECT_TRUE(ReturnsWithoutAWriter(root.HostPath("NandFlash/zeta42/wav/piped.wav"), [&] {
        piped = sndPlaySoundW(u"\\NandFlash\\zeta42\\wav\\piped.wav", 0);
    }));
    EXPECT_FALSE(piped);
    const std::u16string notAFile = u" (not a file but a folder, a pipe or a device)";
    EXPECT_EQ(JournalTexts(kJournalSound, beforeOthers),
              (std::vector<std::u16string>{u"play \\NandFlash\\zeta42\\wav\\linked.wav",
                                           u"play \\NandFlash\\zeta42\\wav\\folder.wav" + notAFile,
                                           u"play \\NandFlash\\zeta42\\wav\\piped.wav" + notAFile}));

    ASSERT_EQ(waveOutSetVolume(nullptr, 0x66666666), MMSYSERR_NOERROR);
    DWORD volume = 0;
    ASSERT_EQ(waveOutGetVolume(nullptr, &volume), MMSYSERR_NOERROR);
    EXPECT_EQ(volume, 0x66666666u);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"ControlPanel\\Volume", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    const DWORD stored = 0xCCCCCCCC;
    RegSetValueExW(key, u"Volume", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored), sizeof stored);
    RegCloseKey(key);
    // The terminal reaches the driver's update through coredll.dll by name,
    // also after another layer adds its own functions to that module.
    RegisterBuiltinModule(u"COREDLL.DLL", {{"CallNextHookEx", +[]() {}}});
    HMODULE coredll = LoadLibraryW(u"coredll.dll");
    ASSERT_NE(coredll, nullptr);
    auto update = reinterpret_cast<void (*)()>(GetProcAddressW(coredll, u"AudioUpdateFromRegistry"));
    ASSERT_NE(update, nullptr);
    update();
    waveOutGetVolume(nullptr, &volume);
    EXPECT_EQ(volume, 0xCCCCCCCCu);
    FreeLibrary(coredll);
}

TEST(Shell, StartsAreJournalledNeverRun) {
    const uint64_t before = JournalLastSequence();
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpFile = u"\\windows\\explorer.exe";
    info.nShow = SW_SHOW;
    ASSERT_TRUE(ShellExecuteEx(&info));
    ASSERT_NE(info.hProcess, nullptr);
    EXPECT_EQ(ObjectFromHandle(info.hProcess)->Wait(0), WAIT_OBJECT_0);
    CloseHandle(info.hProcess);
    info = SHELLEXECUTEINFO{};
    info.lpVerb = u"open";
    info.lpFile = u"\\NandFlash\\windows\\zetawatch.exe";
    info.lpParameters = u"-q";
    ASSERT_TRUE(ShellExecuteEx(&info));
    EXPECT_EQ(info.hProcess, nullptr);
    info.lpFile = u"";
    EXPECT_FALSE(ShellExecuteEx(&info));
    EXPECT_EQ(JournalTexts(kJournalShell, before),
              (std::vector<std::u16string>{u"open \\windows\\explorer.exe", u"open \\NandFlash\\windows\\zetawatch.exe -q"}));
}

TEST(Storage, MediaAreTheProfileFoldersAndPresentWhenTheyExist) {
    ScopedDeviceRoot root;
    EXPECT_EQ(StorageMediumFolder(StorageMedium::SdCard), u"\\Storage Card");
    EXPECT_EQ(StorageMediumFolder(StorageMedium::UsbDisk), u"\\USB Disk");
    SetString(HKEY_LOCAL_MACHINE, u"System\\StorageManager\\Profiles\\USBHDProfile", u"Folder", u"Hard Disk");
    EXPECT_EQ(StorageMediumFolder(StorageMedium::UsbDisk), u"\\Hard Disk");

    EXPECT_FALSE(StorageMediumPresent(StorageMedium::UsbDisk));
    ASSERT_TRUE(InsertStorageMedium(StorageMedium::UsbDisk));
    EXPECT_TRUE(std::filesystem::is_directory(root.HostPath("Hard Disk")));
    root.PutFile("Hard Disk/Bak.yg2", "x");
    ASSERT_TRUE(InsertStorageMedium(StorageMedium::UsbDisk));
    EXPECT_EQ(root.ReadFile("Hard Disk/Bak.yg2"), "x") << "inserting again keeps the files";
    EXPECT_FALSE(StorageMediumPresent(StorageMedium::SdCard));
    ASSERT_TRUE(RemoveStorageMedium(StorageMedium::UsbDisk));
    EXPECT_FALSE(StorageMediumPresent(StorageMedium::UsbDisk));
}

TEST(Drivers, PluggedDevicesAppearInTheActiveList) {
    ScopedDeviceRoot root;
    SetString(HKEY_LOCAL_MACHINE, u"Drivers\\Active\\01", u"Name", u"COM1:");
    ASSERT_TRUE(PlugInDriver(u"LDM1:"));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\Active\\02", 0, KEY_READ, &key), ERROR_SUCCESS);
    char16_t name[32] = {};
    DWORD size = sizeof name - 2;
    RegQueryValueExW(key, u"Name", nullptr, nullptr, reinterpret_cast<BYTE*>(name), &size);
    RegCloseKey(key);
    EXPECT_EQ(std::u16string(name), u"LDM1:");
    UnplugDriver(u"ldm1:");
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\Active\\02", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\Active\\01", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST(Network, RebindTakesTheAdapterValuesAsTheyStandThen) {
    ScopedDeviceRoot root;
    const char16_t* tcpip = u"Comm\\DM9CE1\\Parms\\TcpIp";
    SetString(HKEY_LOCAL_MACHINE, tcpip, u"IpAddress", std::u16string(u"192.168.1.201\0", 14), REG_MULTI_SZ);
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, tcpip, 0, KEY_ALL_ACCESS, &key);
    const DWORD dhcp = 0;
    RegSetValueExW(key, u"EnableDHCP", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dhcp), sizeof dhcp);
    RegCloseKey(key);

    const HANDLE driver = CreateFileW(u"NDS0:", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(driver, INVALID_HANDLE_VALUE);
    const char16_t adapter[20] = u"DM9CE1";
    const uint64_t before = JournalLastSequence();
    const int rebindsBefore = NetworkAdapterState(u"DM9CE1").rebinds;
    ASSERT_TRUE(DeviceIoControl(driver, IOCTL_NDIS_REBIND_ADAPTER, const_cast<char16_t*>(adapter), 18, nullptr, 0,
                                nullptr, nullptr));
    EXPECT_FALSE(DeviceIoControl(driver, 0x1234, nullptr, 0, nullptr, 0, nullptr, nullptr));
    CloseHandle(driver);

    const AdapterState state = NetworkAdapterState(u"dm9ce1");
    EXPECT_EQ(state.rebinds, rebindsBefore + 1);
    EXPECT_EQ(state.tcpip.at(u"IpAddress"), u"192.168.1.201");
    EXPECT_EQ(state.tcpip.at(u"EnableDHCP"), u"0");
    EXPECT_EQ(JournalTexts("network", before), std::vector<std::u16string>{u"rebind DM9CE1"});
    EXPECT_EQ(NetworkAdapterState(u"PPP1").rebinds, 0);
}

}  // namespace
