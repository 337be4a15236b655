// What users feel of the core documents: every visible text is a lookup in
// the language file, and every settings page ends with a config.xml save.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/ConfigXml.h"
#include "core/LangText.h"
#include "platform/base/utf.h"
#include "tests/support/device_root.h"

namespace {

// The text keys the pages use, by the page prefix of their section.
const char* const kKeys[] = {
    "AFN001", "AFN002", "AFN003", "AFN004", "AFN005", "AFN006", "AFN007", "AFN008", "AFN009", "BK0001",
    "BK0002", "BK0003", "BK0004", "BK0005", "BK0006", "BK0008", "BK0009", "DI0003", "DI0004", "DI0005",
    "DI0006", "DI0007", "DI0008", "DI0009", "DI0010", "DI0011", "DI0012", "DI0013", "DI0015", "DI0016",
    "DI0017", "DS0001", "FPM0003", "FPM0004", "FPM0005", "FPM0006", "FPM0010", "JHD002", "JT0002", "JT0003",
    "KE0001", "MCF0001", "PGS0001", "PGS0002", "PGS0003", "PGS0004", "PGS0005", "PGS0006", "PGS0007", "RE0004",
    "RE0005", "RE0006", "RE0007", "RE0008", "RE0009", "RE0010", "RE0011", "RE0012", "RE0013", "RE0015",
    "RE0016", "RE0018", "Restore0001", "Restore0003", "Restore0004", "Restore0005", "Restore0006",
    "Restore0007", "Restore0009", "Restore0010", "Restore0011", "Restore0012", "SU0003", "SU0004", "SU0005",
    "SU0006", "SU0007", "SU0008", "SU0009", "SU0014", "SU0015", "SU0016", "SU0017", "SU0018", "SU0019",
    "SU0020", "SU0021", "SU0022", "SU0023", "SU0024", "TAR0001", "TAR0002", "TAR0003", "TAR0004", "TAR0005",
    "TAR0006", "TAR0007", "TAR0008", "TAS0001", "TAS0002", "TAS0003", "TAS0004", "TAS0005", "TAS0006",
    "TAS0007", "TAS0008", "TAS0009", "TAS0010", "TAS0011", "TAS0012", "TAS0013", "TAS0014", "TAS0016",
    "TAS0017", "TAS0018", "TAS0019", "TAS0020", "TSS0001", "TSS0002", "TSS0003", "TSS0004", "TSS0005",
    "TSS0006", "TSS0007", "TSS0008", "TSS0009", "TSS0010", "TSS0011", "TSS0012", "TSS0013", "TSS0014",
    "TSS0015", "TSS0016", "TSS0017", "TSS0018", "TSS0019", "TSS0020", "TSS0021", "TSS0022", "TSS0023",
    "TSS0024", "TSS0025", "UD0001", "UE0003", "UE0004", "UE0005", "UE0006", "UE0007", "UE0008", "UE0009",
    "UE0010", "UE0011", "UE0012", "VF0001", "VF0002", "VF0003", "VF0004", "VF0005", "VF0006", "VF0007",
    "VF0008", "VF0009", "VF0010",
};

struct Lookup {
    CString section;
    CString key;
};

// One section per page prefix, as the language files group them.
std::vector<Lookup> BuildLanguage(std::string& file) {
    std::vector<Lookup> lookups;
    file = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<LANGUAGE>\r\n";
    std::string section;
    for (const char* key : kKeys) {
        std::string prefix(key);
        prefix = "CPage" + prefix.substr(0, prefix.find_first_of("0123456789"));
        if (prefix != section) {
            if (!section.empty())
                file += "\t</" + section + ">\r\n";
            section = prefix;
            file += "\t<" + section + ">\r\n";
        }
        file += "\t\t<" + std::string(key) + ">Text of " + key + " \xE6\x96\x87\xE5\xAD\x97</" + key + ">\r\n";
        lookups.push_back({CString(Utf8ToUtf16(section)), CString(Utf8ToUtf16(key))});
    }
    file += "\t</" + section + ">\r\n\t<language>\r\n\t\t<ft>0</ft>\r\n\t</language>\r\n</LANGUAGE>\r\n";
    return lookups;
}

void BM_GetLangText100000(benchmark::State& state) {
    ScopedDeviceRoot root;
    std::string file;
    const std::vector<Lookup> lookups = BuildLanguage(file);
    root.PutFile("NandFlash/zeta42/LANG/English.LAN", file);
    g_LangDoc.ReadFromFile(u"\\NandFlash\\zeta42\\LANG\\English.LAN");
    CString text;
    for (auto _ : state) {
        for (int i = 0; i < 100000; ++i) {
            const Lookup& lookup = lookups[static_cast<size_t>(i) % lookups.size()];
            GetLangText(lookup.section, lookup.key, u"\u9ed8\u8ba4", text);
        }
        benchmark::DoNotOptimize(text);
    }
    g_LangDoc.ParseText(u"");
}
BENCHMARK(BM_GetLangText100000)->Unit(benchmark::kMillisecond);

void BM_ConfigSave(benchmark::State& state) {
    ScopedDeviceRoot root;
    std::string file = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ROOT>\r\n<CONFIG>\r\n";
    for (int i = 0; i < 80; ++i)
        file += "\t<KEY" + std::to_string(i) + ">" + std::to_string(i * 37) + "</KEY" + std::to_string(i) + ">\r\n";
    file += "</CONFIG>\r\n<FontResourceList>\r\n\t<FileName>font\\a.ttf</FileName>\r\n</FontResourceList>\r\n</ROOT>\r\n";
    root.PutFile("NandFlash/zeta42/config/config.xml", file);
    g_ConfigDoc.ReadFromFile(GetConfigFilePath());
    UINT value = 0;
    for (auto _ : state)
        SetConfigInt(u"KEY40", ++value, TRUE);
    g_ConfigDoc.ParseText(u"");
}
BENCHMARK(BM_ConfigSave)->Unit(benchmark::kMicrosecond);

}  // namespace
