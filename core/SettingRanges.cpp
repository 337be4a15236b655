#include "core/SettingRanges.h"

#include <algorithm>
#include <optional>

#include "core/DebugPrint.h"

namespace {

struct SettingRange {
    const char16_t* key;
    int lowest;
    int highest;
};

// The bounds the pages or the settings' meanings give.
constexpr SettingRange kRanges[] = {
    // FPLEVEL x 2 + 5 is the matcher's level: 0 is the usual one, 2 and
    // above its strictest.
    {u"FPLEVEL", 0, 9},          {u"FPCOUNT", 0, 5000},       {u"RING", 0, 4},
    {u"PHOTOMAXNUMBER", 0, 500}, {u"COMMUNICATIONTYPE", 0, 4}, {u"PANELCOLOR", 0, 0xFFFFFF},
    {u"WuRenTestMode", 0, 2},    {u"GprsPort", 0, 65535},     {u"REATTIMEGAP", 0, 250},
    {u"LOCKDELAY", 0, 15},       {u"WIEGANDMODE", 0, 2},      {u"WIEGANDHEAD", 0, 254},
    {u"WARNINGNUM", 0, 5000},
};
// Switches: off or on.
constexpr const char16_t* kSwitches[] = {u"NETTIME", u"WEATHER",      u"UPDATE",       u"PHOTOSAVEDIR", u"WORKCODE",
                                         u"DEBUGMODE", u"FCCHECKALARM", u"MCCHECKALARM", u"PRINT",
                                         u"ALLTIMESMONITOR"};
// Choices of pages the terminal does not have: a byte's worth.
constexpr const char16_t* kChoices[] = {u"TCPMODE",      u"NETWORK",    u"BAUDRATE", u"SNAPTYPE",
                                        u"SHOWICONTYPE", u"ScreenType", u"OPENDOOR"};
// Times no page bounds: a day in seconds.
constexpr const char16_t* kTimes[] = {u"SLEEPCLOCK", u"BACKADMINICLOCK", u"PROOFTIME", u"PLAYMEDIA", u"ScreenInterval"};

template <size_t N>
bool Lists(const char16_t* const (&keys)[N], const CString& name) {
    return std::any_of(std::begin(keys), std::end(keys), [&](const char16_t* key) { return name == key; });
}

std::optional<SettingRange> RangeOf(const char16_t* key) {
    const CString name(key);
    for (const SettingRange& range : kRanges)
        if (name == range.key) return range;
    if (Lists(kSwitches, name)) return SettingRange{key, 0, 1};
    if (Lists(kChoices, name)) return SettingRange{key, 0, 255};
    if (Lists(kTimes, name)) return SettingRange{key, 0, 86400};
    return std::nullopt;
}

}  // namespace

int ClampSetting(const char16_t* key, int value) {
    const std::optional<SettingRange> range = RangeOf(key);
    if (!range) return value;
    const int clamped = std::clamp(value, range->lowest, range->highest);
    if (clamped != value)
        DebugPrint(u"setting %s: %d is outside %d-%d, %d is used", key, value, range->lowest, range->highest, clamped);
    return clamped;
}
