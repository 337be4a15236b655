// The position model and reading element texts.
#include "core/XmlDoc.h"

int CXmlDoc::FindMatchingElement(int parent, int from, const char16_t* name) const {
    int index = from ? m_elements[from].next : m_elements[parent].firstChild;
    if (!name || !*name)
        return index;
    for (; index; index = m_elements[index].next) {
        TokenScanner scanner(m_text.GetString(), m_text.GetLength(), m_docFlags);
        scanner.next = m_elements[index].start + 1;
        if (scanner.FindName() && NameMatches(scanner, name))
            return index;
    }
    return 0;
}

bool CXmlDoc::NextElement(const char16_t* name) {
    if (m_elements.Allocated() == 0)
        return false;
    const int found = FindMatchingElement(m_parentPos, m_currentPos, name);
    if (!found)
        return false;
    SetPosition(m_elements[found].parent, found, 0);
    return true;
}

bool CXmlDoc::NextChildElement(const char16_t* name) {
    if (!m_currentPos && !NextElement(nullptr))
        return false;
    const int found = FindMatchingElement(m_currentPos, m_childPos, name);
    if (!found)
        return false;
    SetPosition(m_elements[m_currentPos].parent, m_currentPos, found);
    return true;
}

bool CXmlDoc::EnterElement() {
    if (!m_currentPos || m_nodeKind != XNK_ELEMENT)
        return false;
    SetPosition(m_currentPos, m_childPos, 0);
    return true;
}

bool CXmlDoc::LeaveElement() {
    if (!m_parentPos)
        return false;
    SetPosition(m_elements[m_parentPos].parent, m_parentPos, m_currentPos);
    return true;
}

// The text data of an element: its text pieces unescaped and its CDATA
// sections as they are, comments and other nodes left out, nothing trimmed.
CString CXmlDoc::GetElementText(int index) const {
    if (!index)
        return CString();
    const ElementRecord& record = m_elements[index];
    if (HasChildElement(index) || record.IsEmpty())
        return CString();
    const char16_t* text = m_text.GetString();
    const int contentStart = record.ContentStart();
    const int contentLength = record.ContentLength();
    if (std::u16string_view(text + contentStart, contentLength).find(u'<') == std::u16string_view::npos)
        return UnescapeMarkup(text + contentStart, contentLength);

    static constexpr int kCdataOpen = 9;   // "<![CDATA["
    static constexpr int kCdataClose = 3;  // "]]>"
    CString result;
    TokenScanner scanner(text, contentStart + contentLength, m_docFlags);
    scanner.next = contentStart;
    NodeInfo node;
    for (int kind = scanner.ScanNode(node); kind != XNK_END; kind = scanner.ScanNode(node)) {
        if (kind == XNK_TEXT || kind == XNK_WHITESPACE)
            result += UnescapeMarkup(text + node.start, node.length);
        else if (kind == XNK_CDATA && node.length >= kCdataOpen + kCdataClose)
            result += CString(text + node.start + kCdataOpen, node.length - kCdataOpen - kCdataClose);
    }
    return result;
}

// The tag name as the scanner captures it, so that an end tag built from
// it always closes the element.
CString CXmlDoc::TagName(int index) const {
    const char16_t* text = m_text.GetString();
    const int start = m_elements[index].start + 1;
    const int end = m_elements[index].End();
    int at = start;
    while (at < end && text[at] != u' ' && text[at] != u'\t' && text[at] != u'\n' && text[at] != u'\r' &&
           text[at] != u'/' && text[at] != u'>')
        ++at;
    return CString(text + start, at - start);
}
