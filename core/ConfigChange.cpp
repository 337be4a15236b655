#include "core/ConfigChange.h"

#include "core/ConfigXml.h"
#include "core/LangText.h"
#include "core/ShowMessage.h"

CConfigChange::CConfigChange() {
    XmlDocLock lock(g_ConfigDoc);
    m_before = g_ConfigDoc.GetDoc();
    m_beforeFlags = g_ConfigDoc.GetDocFlags();
}

bool CConfigChange::Save() {
    {
        XmlDocLock lock(g_ConfigDoc);
        if (SaveConfigFile()) return true;
        g_ConfigDoc.ParseText(m_before);
        g_ConfigDoc.SetDocFlags(m_beforeFlags);
    }
    CString text;
    GetLangText(u"CMachineConfig", u"MCF0003", u"设置未能保存（存储空间可能已满），仍使用原来的设置！", text);
    ShowMessage(text, 0);
    return false;
}
