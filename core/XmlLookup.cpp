#include "core/XmlLookup.h"

bool ReadSectionKey(CXmlDoc& doc, const char16_t* section, const char16_t* key, CString& value, bool* found) {
    if (found)
        *found = false;
    doc.RewindMain();
    if (!doc.NextChildElement(section))
        return false;
    doc.EnterElement();
    while (doc.NextChildElement(key)) {
        value = doc.GetChildText();
        if (found)
            *found = true;
    }
    doc.LeaveElement();
    return true;
}

bool WriteSectionKey(CXmlDoc& doc, const char16_t* section, const char16_t* key, const char16_t* value) {
    doc.RewindMain();
    if (!doc.NextChildElement(section))
        return false;
    doc.EnterElement();
    if (doc.NextChildElement(key))
        doc.SetChildText(value, 0);
    else
        doc.AppendChildElement(key, value, 0);
    doc.LeaveElement();
    return true;
}
