#include "core/FontResources.h"

#include <functional>

#include "core/AppDir.h"
#include "core/ConfigXml.h"
#include "core/ShowMessage.h"
#include "platform/ui/gdi.h"

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
    // No window of the terminal caches a font list, so there is nobody to
    // tell of the change.
    const bool listed = ForEachFontFile([](const CString& path) { AddFontResourceW(path); });
    if (!listed) ShowMessage(u"XML error in 'FontResourceList' elem! ", 0);
    return 1;
}

int UnloadFontResources() {
    ForEachFontFile([](const CString& path) { RemoveFontResourceW(path); });
    return 1;
}
