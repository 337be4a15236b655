// The document's file side: reading a file of any common encoding into the
// UTF-16 text and writing it back in the form it came in.
#include "core/TextFile.h"
#include "core/XmlDoc.h"

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

bool SameNoCase(const char16_t* text, int length, const char16_t* word) {
    return CString(text, length).CompareNoCase(word) == 0;
}

// The value of a named attribute of the tag or processing instruction that
// runs from `at` to `end`, empty when it has none.
CString AttributeValue(const char16_t* text, int at, int end, const char16_t* name) {
    while (at < end) {
        while (at < end && (IsSpace(text[at]) || text[at] == u'/' || text[at] == u'?'))
            ++at;
        const int nameStart = at;
        while (at < end && !IsSpace(text[at]) && text[at] != u'=' && text[at] != u'>' && text[at] != u'/' &&
               text[at] != u'?')
            ++at;
        const int nameEnd = at;
        while (at < end && IsSpace(text[at]))
            ++at;
        int valueStart = at;
        int valueEnd = at;
        if (at < end && text[at] == u'=') {
            ++at;
            while (at < end && IsSpace(text[at]))
                ++at;
            if (at < end && (text[at] == u'"' || text[at] == u'\'')) {
                const char16_t quote = text[at++];
                valueStart = at;
                while (at < end && text[at] != quote)
                    ++at;
                valueEnd = at;
                ++at;
            } else {
                valueStart = at;
                while (at < end && !IsSpace(text[at]) && text[at] != u'>')
                    ++at;
                valueEnd = at;
            }
        }
        if (nameEnd > nameStart && SameNoCase(text + nameStart, nameEnd - nameStart, name))
            return CXmlDoc::UnescapeMarkup(text + valueStart, valueEnd - valueStart);
        if (nameEnd == nameStart)
            ++at;
    }
    return CString();
}

// The token after "charset" and "=" in a content type.
CString CharsetOf(const CString& contentType) {
    CString lowered = contentType;
    lowered.MakeLower();
    int at = lowered.Find(u"charset");
    if (at < 0)
        return CString();
    at += 7;
    const int length = contentType.GetLength();
    while (at < length && IsSpace(contentType[at]))
        ++at;
    if (at >= length || contentType[at] != u'=')
        return CString();
    ++at;
    while (at < length && IsSpace(contentType[at]))
        ++at;
    const int start = at;
    while (at < length && !IsSpace(contentType[at]) && contentType[at] != u';' && contentType[at] != u'"' &&
           contentType[at] != u'\'')
        ++at;
    return contentType.Mid(start, at - start);
}

}  // namespace

CString CXmlDoc::FindDeclaredEncoding(const char16_t* text, int length) {
    TokenScanner scanner(text, length, XDF_IGNORECASE);
    NodeInfo node;
    bool html = false;
    for (int kind = scanner.ScanNode(node); kind != XNK_END; kind = scanner.ScanNode(node)) {
        const int tagEnd = node.start + node.length;
        if (kind == XNK_PI && !html) {
            if (node.name.CompareNoCase(u"xml") == 0)
                return AttributeValue(text, node.start + 2 + node.name.GetLength(), tagEnd, u"encoding");
        } else if (kind == XNK_ELEMENT) {
            if (!html) {
                if (node.name.CompareNoCase(u"html") != 0)
                    return CString();
                html = true;
            } else if (node.name.CompareNoCase(u"meta") == 0) {
                const int at = node.start + 1 + node.name.GetLength();
                if (AttributeValue(text, at, tagEnd, u"http-equiv").CompareNoCase(u"Content-Type") == 0)
                    return CharsetOf(AttributeValue(text, at, tagEnd, u"content"));
            }
        } else if (kind == XNK_ENDTAG) {
            if (!html || SameNoCase(text + scanner.tokenStart, scanner.TokenLength(), u"head"))
                return CString();
        }
    }
    return CString();
}

bool CXmlDoc::LoadTextFile(const char16_t* path, CString& text, CString* result, int* flags, CString* encoding) {
    TextFile file(flags ? *flags : 0);
    text.Empty();
    bool done = file.Open(path, XDF_READFILE);
    if (done) {
        if (encoding)
            file.ForceEncoding(*encoding);
        done = file.ReadText(text);
    }
    file.Close();
    if (result)
        *result = file.result;
    if (flags)
        *flags = file.flags;
    return done;
}

bool CXmlDoc::StoreTextFile(const char16_t* path, const CString& text, CString* result, int* flags,
                            CString* encoding) {
    TextFile file(flags ? *flags : 0);
    file.Open(path, XDF_WRITEFILE);
    if (encoding)
        file.ForceEncoding(*encoding);
    file.WriteText(text);
    const bool done = file.Close();
    if (result)
        *result = file.result;
    if (flags)
        *flags = file.flags;
    return done;
}

bool CXmlDoc::ReadFromFile(const char16_t* path) {
    if (!LoadTextFile(path, m_text, &m_result, &m_docFlags)) {
        // Not read: the document holds nothing at all.
        m_nextFree = 1;
        m_elements[0] = ElementRecord{};
        SetPosition(0, 0, 0);
        return false;
    }
    return Parse();
}

bool CXmlDoc::WriteToFile(const char16_t* path) { return StoreTextFile(path, m_text, &m_result, &m_docFlags); }
