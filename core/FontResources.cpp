#include "core/FontResources.h"

#include <functional>

#include "core/AppDir.h"
#include "core/ConfigXml.h"
#include "core/ShowMessage.h"
#include "platform/ui/gdi.h"
#include "platform/ui/winuser.h"

namespace {

// Calls `each` with the full path of every listed font file; false when the
// list is missing.
bool ForEachFontFile(const std::function<void(const CString&)>& each) {
    CString appDir;
    GetAppDir(appDir);
    XmlDocLock lock(g_ConfigDoc);
    g_ConfigDoc.RewindMain();
    if (!g_ConfigDoc.NextChildElement(u"FontResourceList")) return false;
    g_ConfigDoc.EnterElement();
    while (g_ConfigDoc.NextChildElement(u"FileName")) each(appDir + g_ConfigDoc.GetChildText());
    g_ConfigDoc.LeaveElement();
    return true;
}

}  // namespace

int LoadFontResources() {
    const bool listed = ForEachFontFile([](const CString& path) {
        AddFontResourceW(path);
        SendMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
    });
    if (!listed) ShowMessage(u"XML error in 'FontResourceList' elem! ", 0);
    return 1;
}

int UnloadFontResources() {
    ForEachFontFile([](const CString& path) { RemoveFontResourceW(path); });
    return 1;
}
