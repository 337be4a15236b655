#include "tests/device-image/image_files.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <random>

namespace imagetest {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("device-image-test-" + std::to_string(std::random_device{}()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

namespace {

const std::string kApp = "\\NandFlash\\zeta42";

std::vector<std::string> Numbered(const std::string& prefix, int from, int to, const std::string& suffix) {
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i) out.push_back(prefix + std::to_string(i) + suffix);
    return out;
}

void Append(std::vector<std::string>& out, const std::string& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names) out.push_back(folder + name);
}

}  // namespace

std::vector<std::string> InstallationInventory() {
    std::vector<std::string> files;
    Append(files, kApp + "\\",
           {"ATL90.DLL", "cximagecrtd.dll", "MFC90U.DLL", "msvcr90.dll", "SMApi_WinCE.dll", "SMControl_WinCE.dll",
            "SMProcess_WinCE.dll", "Quillon.exe", "wceSQLite3.dll", "CONFIG\\CONFIG.XML", "DB\\KD4700.DB",
            "DB\\back\\KD4700.bak", "FONTS\\GOTHIC.TTF", "wav\\not_passed.wav", "wav\\passed.wav",
            "wav\\FCCheckAlarm.wav", "wav\\MCCheckAlarm.wav", "wav\\place_your_finger_again.wav",
            "wav\\place_your_finger.wav", "wav\\you_are_passed.wav"});
    Append(files, kApp + "\\SKIN\\", {"loading.bmp", "loading.png"});
    const std::string skin = kApp + "\\SKIN\\flower\\";
    Append(files, skin,
           {"232_1.png", "232_2.png", "485_1.png", "485_2.png", "BackGround.bmp", "door_1.png", "door_2.png",
            "Finger.png", "FP.PNG", "ICONBK.PNG", "Information.png", "input.png", "Input_user1.png",
            "Input_user2.png", "Input_user3.png", "l_cn.png", "l_en.png", "logo.png", "msg.png", "reged.png",
            "TaskPlate.png", "tcpip_1.png", "tcpip_2.png", "Top_bg.png", "Top_info_bg_c.png", "Top_info_bg_l.png",
            "Top_info_bg_r.png", "USER.PNG", "wifi_1.png", "wifi_2.png"});
    const std::string clock = skin + "CLOCK\\IPHONE\\";
    Append(files, clock, Numbered("", 0, 9, ".png"));
    Append(files, clock, {"C.png", "Clock.png", "S.PNG"});
    Append(files, clock, Numbered("S_", 0, 9, ".PNG"));
    Append(files, clock, {"T_AM.png", "T_PM.png"});
    Append(files, clock, Numbered("w", 0, 9, ".png"));
    Append(files, clock, {"wC.png"});
    files.push_back(skin + "ControlPanel\\LOGO.PNG");
    const std::string icons = skin + "ControlPanel\\ICON\\";
    Append(files, icons, Numbered("", 11, 16, ".PNG"));
    Append(files, icons, {"121.PNG", "123.PNG", "124.PNG", "131.PNG", "132.PNG", "133.PNG", "134.PNG", "135.png",
                          "136.png", "141.PNG", "142.PNG", "143.png", "144.PNG"});
    Append(files, icons, Numbered("", 151, 156, ".PNG"));
    Append(files, icons, Numbered("", 161, 166, ".PNG"));
    Append(files, icons, {"1331.PNG", "1332.PNG", "bg.png", "Enroll FP.png", "Enroll.png", "Identify mode.png",
                          "Identify.png", "picture.png", "sbg.png"});
    Append(files, skin + "Dialog\\",
           {"abc_1.png", "abc_2.png", "BigInput.png", "button_center.png", "button_left.png", "button_right.png",
            "CE_finger.png", "DialogBG.bmp", "EnrollFP_l.png", "EnrollFP_r.png", "Finger.png", "finger_bg.png",
            "Finger_r.png", "Finger_red.png", "finger-reg.png", "input_dl.png", "input_dr.png", "input_l.png",
            "input_l_h.png", "input_r.png", "input_r_h.png", "l_cn.png", "l_en.png", "messages.png",
            "PogressBar_bg.png", "PogressBar_center.png", "PogressBar_left.png", "PogressBar_right.png",
            "SearchInfo.png", "select_bg.png", "select_gb.png", "Shift_1.png", "Shift_1_cl.png", "Shift_2.png",
            "SmallInput.png"});
    Append(files, skin + "FPFrame\\",
           {"default_Card.png", "default_Finger.png", "default_ID.png", "error.png", "ICONBK.PNG", "OK.png",
            "Photo_no.png", "PhotoFrame1.png", "PhotoFrame.png"});
    return files;
}

std::vector<std::string> InstallationFolders() {
    std::vector<std::string> folders;
    for (const char* folder : {"\\CONFIG", "\\DB", "\\DB\\back", "\\FONTS", "\\ICON", "\\log", "\\snap", "\\wav"})
        folders.push_back(kApp + folder);
    return folders;
}

std::vector<std::string> WidgetImages() {
    const std::string skin = kApp + "\\Skin\\flower\\";
    return {skin + "ControlPanel\\buttonU.png", skin + "ControlPanel\\buttonD.png",
            skin + "messagebox\\MessageBoxBK.png", skin + "messagebox\\top.png", skin + "messagebox\\botton.png",
            skin + "messagebox\\Middle.png"};
}


std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

fs::path FactoryImage() {
    return QUILLON_FACTORY_IMAGE_DIR;
}

}  // namespace imagetest
