// The language file, any bytes: read as the start reads it, and every text
// the terminal uses as a format taken from it and formatted with the
// arguments its page gives. The first byte sets right-to-left reordering
// and the translator's machine number.
#include <cstdint>
#include <cstdlib>

#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "fuzz/fuzz_device.h"

namespace {

CString Format(const char16_t* section, const char16_t* key, const char16_t* fallback) {
    CString format;
    GetLangFormat(section, key, fallback, format);
    return format;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzDeviceRoot();
    if (size == 0) return 0;
    g_MachineConfig.RightToLeft = data[0] & 1;
    // The machine number of the translator's terminal marks the texts found.
    g_MachineConfig.MachineID = (data[0] & 2) ? u"6048213975" : u"1";
    WriteFuzzFile(FuzzAppFile("LANG/English.LAN"), data + 1, size - 1);
    if (!g_LangDoc.ReadFromFile(u"\\NandFlash\\zeta42\\LANG\\English.LAN")) return 0;
    const CString user = u"12345";
    const CString day = u"Mon";
    CString text;
    text.Format(Format(u"CCPTreeRegFP", u"R0018", u"你选择了第%d枚指纹,请保存!"), 3);
    text.Format(Format(u"CCPTreeRegFP", u"R0007", u"保存第%d枚指纹！"), 9);
    text.Format(Format(u"CCPTreeSearchUser", u"SU0008", u"确认删除用户ID为%s的用户吗?"), user.GetString());
    text.Format(Format(u"CAutoFNDlg", u"AFN009", u"与时间段 %d%s %s~%s有冲突，请从新设置"), 12, day.GetString(),
                u"08:00", u"17:30");
    text.Format(Format(u"CCPTreeDataImport", u"DI0018", u"导入完成，%d条记录未能导入！"), 17);
    text.Format(Format(u"CCPTreeDataImport", u"DI0019", u"文件%s末尾的不完整记录已忽略！"), u"Bak.yg2");
    return 0;
}
