#include "core/ConfigXml.h"

#include <filesystem>

#include "core/AppDir.h"
#include "core/ShowMessage.h"
#include "core/UnreadableFile.h"
#include "core/XmlLookup.h"
#include "platform/base/device_fs.h"
#include "platform/base/numparse.h"

CXmlDoc g_ConfigDoc;

namespace {

constexpr const char16_t* kConfigSection = u"CONFIG";

}  // namespace

CString GetConfigFilePath() {
    CString appDir;
    GetAppDir(appDir);
    return appDir + u"config\\config.xml";
}

bool ConfigFileReads(const std::string& deviceRoot) {
    SetDeviceRoot(deviceRoot);
    CXmlDoc settings;
    return settings.ReadFromFile(GetConfigFilePath());
}

void ExplainUnreadableConfigFile(const CString& devicePath) {
    const std::string host = DeviceToHostPath(devicePath.str());
    std::error_code error;
    if (!std::filesystem::exists(host, error)) return;
    ExplainUnreadableFile(host, "cut short, not text or nested too deeply", "the factory settings");
}

int GetConfigInt(CString key, int& value) {
    value = 0;
    CString text;
    bool found = false;
    {
        XmlDocLock lock(g_ConfigDoc);
        ReadSectionKey(g_ConfigDoc, kConfigSection, key, text, &found);
    }
    if (!found)
        return 0;
    value = _wtol(text);
    return 1;
}

int GetConfigValue(CString key, CString& value) {
    bool found = false;
    XmlDocLock lock(g_ConfigDoc);
    ReadSectionKey(g_ConfigDoc, kConfigSection, key, value, &found);
    return found ? 1 : 0;
}

bool SaveConfigFile() {
    XmlDocLock lock(g_ConfigDoc);
    return g_ConfigDoc.WriteToFile(GetConfigFilePath());
}

int SetConfigValue(CString key, CString value, BOOL save) {
    {
        XmlDocLock lock(g_ConfigDoc);
        if (WriteSectionKey(g_ConfigDoc, kConfigSection, key, value)) {
            if (save) SaveConfigFile();
            return 1;
        }
    }
    ShowMessage(u"XML error in 'CONFIG' elem! ", 0);
    return 0;
}

int SetConfigInt(CString key, UINT value, BOOL save) {
    CString text;
    text.Format(u"%u", value);
    return SetConfigValue(key, text, save);
}
