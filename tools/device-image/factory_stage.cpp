#include "tools/device-image/factory_stage.h"

#include <filesystem>

#include "tools/device-image/config_file.h"
#include "tools/device-image/lang_files.h"
#include "tools/device-image/registry_file.h"
#include "tools/device-image/skin/catalogue.h"
#include "tools/device-image/texts_table.h"
#include "tools/device-image/tones.h"
#include "tools/device-image/xml_text.h"

namespace factory {
namespace {

std::string HostPath(std::string devicePath) {
    for (char& ch : devicePath)
        if (ch == '\\') ch = '/';
    return devicePath;
}

}  // namespace

const std::vector<std::string>& ProgramStandIns() {
    static const std::vector<std::string> files = {"ATL90.DLL", "cximagecrtd.dll", "MFC90U.DLL", "msvcr90.dll",
                                                   "Quillon.exe", "wceSQLite3.dll"};
    return files;
}

void WriteGeneratedStage(const std::string& stageRoot, const std::string& textsTable) {
    namespace fs = std::filesystem;
    const std::string app = stageRoot + "/" + kAppFolder;
    WriteTextFile(stageRoot + "/registry.reg", RegistryFileText(FactoryRegistry()));
    WriteTextFile(app + "/config/config.xml", ConfigFileText());
    WriteLanguageFiles(ReadTextTable(textsTable), app + "/LANG");
    skin::WriteSkin(app + "/Skin", kSkinName);
    WriteDoorAlarm(app + "/wav/FCCheckAlarm.wav");
    WriteTamperAlarm(app + "/wav/MCCheckAlarm.wav");
    for (const ShippedFont& font : ShippedFonts()) {
        const fs::path target = app + "/" + HostPath(font.devicePath);
        fs::create_directories(target.parent_path());
        fs::copy_file(font.hostSource, target, fs::copy_options::overwrite_existing);
    }
    for (const char* folder : {"DB/back", "ICON", "Snap", "log"}) fs::create_directories(app + "/" + folder);
    for (const std::string& name : ProgramStandIns())
        WriteTextFile(app + "/" + name, "Stand-in for " + name + ": the simulated terminal runs the host build instead.\r\n");
}

}  // namespace factory
