#include "core/LangText.h"

#include <vector>

#include "core/AppDir.h"
#include "core/BidiText.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"
#include "core/XmlLookup.h"
#include "platform/base/files.h"

CXmlDoc g_LangDoc;
FriBidiRtoLProc g_pfnFriBidiRtoL = nullptr;

namespace {

// The device number that marks every translated text, so that a translator
// sees which texts come from the file.
constexpr const char16_t* kTranslatorMachineId = u"6048213975";

void ReorderRightToLeft(CString& text) {
    if (g_pfnFriBidiRtoL && !text.IsEmpty()) {
        const CString input = text;
        std::vector<char16_t> output(static_cast<size_t>(input.GetLength()) + 1, u'\0');
        g_pfnFriBidiRtoL(input.GetString(), output.data(), input.GetLength());
        text = CString(output.data(), input.GetLength());
    }
    text.Remove(u'\uFEFF');
}

// The conversions of a printf format, each as its length modifier and
// letter ("%-08I64d" gives "I64d"); "%%" is no conversion.
std::vector<CString> FormatConversions(const CString& format) {
    std::vector<CString> conversions;
    const int length = format.GetLength();
    for (int i = 0; i < length; ++i) {
        if (format[i] != u'%')
            continue;
        ++i;
        while (i < length && CString(u"-+ #0123456789.*").Find(format[i]) >= 0) ++i;
        CString conversion;
        while (i < length && CString(u"hlLIqjzt3264").Find(format[i]) >= 0) conversion += format[i++];
        if (i >= length)
            conversions.push_back(conversion + u"?");
        else if (format[i] != u'%')
            conversions.push_back(conversion + format[i]);
    }
    return conversions;
}

}  // namespace

int GetLangFormat(CString section, CString key, CString defaultFormat, CString& format) {
    const int found = GetLangText(section, key, defaultFormat, format);
    if (FormatConversions(format) != FormatConversions(defaultFormat))
        format = u"*" + defaultFormat;
    return found;
}

int GetLangText(CString section, CString key, CString defaultText, CString& text) {
    text = u"*" + defaultText;
    bool found = false;
    {
        XmlDocLock lock(g_LangDoc);
        if (!ReadSectionKey(g_LangDoc, section, key, text, &found))
            return 0;
    }
    if (found && g_MachineConfig.MachineID == kTranslatorMachineId)
        text = u"@" + text;
    if (g_MachineConfig.RightToLeft)
        ReorderRightToLeft(text);
    return 1;
}

int GetLangTextRaw(CString section, CString key, CString& text) {
    text = key;
    {
        XmlDocLock lock(g_LangDoc);
        if (ReadSectionKey(g_LangDoc, section, key, text))
            return 1;
    }
    ShowMessage(u"XML error in 'XMLLanguage' elem! ", 0);
    return 0;
}

int GetLanguageSwitch(CString key, CString& text) {
    text.Empty();
    XmlDocLock lock(g_LangDoc);
    return ReadSectionKey(g_LangDoc, u"language", key, text) ? 1 : 0;
}

bool ReadLanguageFile() {
    XmlDocLock lock(g_LangDoc);
    return g_LangDoc.ReadFromFile(GetLanguageFilePath());
}

CString GetLanguageFilePath() {
    CString appDir;
    GetAppDir(appDir);
    CString language = g_MachineConfig.LanguageName;
    if (language.IsEmpty())
        language = u"English";
    const CString path = appDir + u"LANG\\" + language + u".LAN";
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        CString message;
        message.Format(u"Get Language File %s err", path);
        ShowMessage(message, 0);
    }
    return path;
}
