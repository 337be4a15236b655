#include "core/SettingRanges.h"

#include <algorithm>

#include "core/DebugPrint.h"

namespace {

struct SettingRange {
    const char16_t* key;
    int lowest;
    int highest;
};

// Switches take 0 or 1; choices their lists' values; numbers the pages'
// bounds; settings no page bounds a generous range of their kind.
constexpr int kDaySeconds = 86400;
constexpr int kHighestChoice = 255;
constexpr int kHighestPort = 65535;
constexpr SettingRange kRanges[] = {
    {u"TCPMODE", 0, kHighestChoice},
    {u"NETWORK", 0, kHighestChoice},
    {u"BAUDRATE", 0, kHighestChoice},
    {u"FPCOUNT", 0, 5000},
    // FPLEVEL x 2 + 5 is the matcher's level; 0 is the usual one, 2 and
    // above its strictest.
    {u"FPLEVEL", 0, 9},
    {u"SLEEPCLOCK", 0, kDaySeconds},
    {u"BACKADMINICLOCK", 0, kDaySeconds},
    {u"PROOFTIME", 0, kDaySeconds},
    {u"PLAYMEDIA", 0, kDaySeconds},
    {u"NETTIME", 0, 1},
    {u"WEATHER", 0, 1},
    {u"RING", 0, 4},
    {u"UPDATE", 0, 1},
    {u"SNAPTYPE", 0, kHighestChoice},
    {u"PHOTOSAVEDIR", 0, 1},
    {u"PHOTOMAXNUMBER", 0, 500},
    {u"SHOWICONTYPE", 0, kHighestChoice},
    {u"WORKCODE", 0, 1},
    {u"COMMUNICATIONTYPE", 0, 4},
    {u"DEBUGMODE", 0, 1},
    {u"PANELCOLOR", 0, 0xFFFFFF},
    {u"WuRenTestMode", 0, 2},
    {u"FCCHECKALARM", 0, 1},
    {u"MCCHECKALARM", 0, 1},
    {u"ScreenType", 0, kHighestChoice},
    {u"ScreenInterval", 0, kDaySeconds},
    {u"PRINT", 0, 1},
    {u"GprsPort", 0, kHighestPort},
    {u"REATTIMEGAP", 0, 250},
    {u"ALLTIMESMONITOR", 0, 1},
    {u"LOCKDELAY", 0, 15},
    {u"WIEGANDMODE", 0, 2},
    {u"OPENDOOR", 0, kHighestChoice},
    {u"WIEGANDHEAD", 0, 254},
    {u"WARNINGNUM", 0, 5000},
};

}  // namespace

int ClampSetting(const char16_t* key, int value) {
    const CString name(key);
    for (const SettingRange& range : kRanges) {
        if (name != range.key) continue;
        const int clamped = std::clamp(value, range.lowest, range.highest);
        if (clamped != value)
            DebugPrint(u"setting %s: %d is outside %d-%d, %d is used", key, value, range.lowest, range.highest,
                       clamped);
        return clamped;
    }
    return value;
}
