#include "tools/device-image/config_file.h"

#include "tools/device-image/xml_text.h"

namespace factory {

const std::vector<std::pair<std::string, std::string>>& FactoryConfigKeys() {
    // The values a factory reset writes, then the keys the settings load
    // would otherwise add on the first start, so that the first start
    // writes nothing.
    static const std::vector<std::pair<std::string, std::string>> keys = {
        {"PASSWORD", "80516"},       {"PLAYNAME", " "},          {"TCPMODE", "1"},
        {"BAUDRATE", "1"},           {"FPCOUNT", "5000"},        {"FPLEVEL", "1"},
        {"SLEEPCLOCK", "60"},        {"BACKADMINICLOCK", "180"}, {"PROOFTIME", "1"},
        {"PLAYMEDIA", "60"},         {"NETTIME", "0"},           {"WEATHER", "0"},
        {"SNAPTYPE", "0"},           {"PHOTOSAVEDIR", "0"},      {"PHOTOMAXNUMBER", "100"},
        {"SHOWICONTYPE", "1"},       {"SKIN", "flower"},         {"DEBUGMODE", "0"},
        {"PANELCOLOR", "16763292"},  {"VERTIFYTYPE", "201"},     {"UPDATE", "0"},
        {"WORKCODE", "0"},           {"ALLTIMESMONITOR", "0"},   {"RING", "0"},
        {"ScreenType", "0"},         {"ScreenInterval", "5"},    {"NETWORK", "0"},
        {"NETPORT", "5010"},         {"FCCHECKALARM", "1"},      {"MCCHECKALARM", "0"},
        {"REATTIMEGAP", "0"},        {"WARNINGNUM", "1000"},     {"LOCKDELAY", "10"},
        {"OPENDOOR", "0"},           {"WIEGANDMODE", "0"},       {"WIEGANDHEAD", "0"},
        {"COMMUNICATIONTYPE", "2"},  {"InterfaceWaitTime", "10"}, {"PRINT", "0"},
        {"MachineID", "1"},          {"GprsApn", "CMNET"},       {"GprsPwd", ""},
        {"GprsUser", ""},            {"GprsServerIP", "192.168.1.100"}, {"GprsPort", "5010"},
    };
    return keys;
}

const std::vector<ShippedFont>& ShippedFonts() {
    // GOTHIC.TTF is the name the installation check asks for; DejaVu Sans
    // stands in for it. WenQuanYi Micro Hei carries the Chinese texts.
    static const std::vector<ShippedFont> fonts = {
        {"FONTS\\GOTHIC.TTF", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"},
        {"FONTS\\DejaVuSans-Bold.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"},
        {"FONTS\\wqy-microhei.ttc", "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"},
    };
    return fonts;
}

std::string ConfigFileText() {
    XmlGroup fonts{"FontResourceList", {}};
    for (const ShippedFont& font : ShippedFonts()) fonts.children.emplace_back("FileName", font.devicePath);
    return XmlDocumentText("ROOT", {XmlGroup{"CONFIG", FactoryConfigKeys()}, fonts});
}

}  // namespace factory
