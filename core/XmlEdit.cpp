// Editing element texts and adding elements: the text is spliced and every
// offset after the change follows it.
#include "core/XmlDoc.h"

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

int Length(const char16_t* text) { return text ? static_cast<int>(std::char_traits<char16_t>::length(text)) : 0; }

}  // namespace

void CXmlDoc::SpliceText(int at, int removeLength, const CString& insert) {
    std::u16string text = m_text.str();
    text.replace(static_cast<size_t>(at), static_cast<size_t>(removeLength), insert.str());
    m_text = CString(std::move(text));
}

// Every element that starts at or after the point moves; every element that
// holds the point (its ancestors and the document record) grows.
void CXmlDoc::ShiftPositions(int point, int shift) {
    for (int index = 0; index < m_nextFree; ++index) {
        ElementRecord& record = m_elements[index];
        if (index != 0 && record.start >= point)
            record.start += shift;
        else if (record.start < point && point < record.End())
            record.length += shift;
    }
}

// Places markup under `parent`, after `sibling` (or after its last child),
// or in place of its whole content with XTF_REPLACECONTENT. Returns the
// number of characters replaced, or -1 when the parent's end tag would not
// fit its record; `elementStart` receives where the markup itself begins.
int CXmlDoc::InsertText(int parent, int sibling, int flags, CString markup, int& elementStart) {
    const ElementRecord& host = m_elements[parent];
    const bool noLines = (flags & XTF_NOLINES) != 0;
    const bool emptyParent = host.IsEmpty();
    const bool notEnded = host.Has(ElementRecord::kNotEnded);
    int point;
    int replaced = 0;
    if (sibling) {
        point = m_elements[sibling].End();
    } else if (emptyParent) {
        point = host.End() - (notEnded ? 1 : 2);  // before its '>', or at its '/'
    } else if (flags & XTF_REPLACECONTENT) {
        point = host.ContentStart();
    } else {
        point = host.End() - host.EndTagLength();
    }

    if (!noLines && !(flags & XTF_REPLACECONTENT) && !emptyParent) {
        int ahead = point;
        const int length = m_text.GetLength();
        while (ahead < length && IsSpace(m_text[ahead]))
            ++ahead;
        if (ahead == length || m_text[ahead] == u'<')
            point = ahead;
    }
    if (!noLines)
        markup += u"\r\n";

    const CString lineEnd = noLines ? CString() : CString(u"\r\n");
    int offsetInMarkup = 0;
    if (emptyParent) {
        const CString name = TagName(parent);
        if (name.GetLength() + 3 > ElementRecord::kMaxEndTag)
            return -1;
        markup = u">" + lineEnd + markup + u"</" + name;
        offsetInMarkup = 1 + lineEnd.GetLength();
        replaced = notEnded ? 0 : 1;
    } else if (flags & XTF_REPLACECONTENT) {
        replaced = host.ContentLength();
    } else if (!sibling && host.ContentLength() == 0) {
        markup = lineEnd + markup;
        offsetInMarkup = lineEnd.GetLength();
    }

    SpliceText(point, replaced, markup);
    ShiftPositions(point, markup.GetLength() - replaced);
    if (emptyParent) {
        ElementRecord& changed = m_elements[parent];
        changed.SetTagLengths(changed.StartTagLength() - replaced, TagName(parent).GetLength() + 3);
        changed.Clear(ElementRecord::kNotEnded);
    }
    elementStart = point + offsetInMarkup;
    return replaced;
}

bool CXmlDoc::SetElementText(int index, const char16_t* text, int flags) {
    if (!index || HasChildElement(index))
        return false;
    const CString value = (flags & XTF_WITHCDATA) ? EncodeCdata(text) : EscapeMarkup(text, flags);
    int elementStart = 0;
    if (InsertText(index, 0, XTF_REPLACECONTENT | XTF_NOLINES, value, elementStart) < 0)
        return false;
    m_elements[index].Clear(ElementRecord::kHasError);
    return true;
}

// Adds an element under the current element, after the child position or
// as its last child; the system adds elements only in this child form.
bool CXmlDoc::AddElement(const char16_t* name, const char16_t* text, int flags) {
    const int nameLength = Length(name);
    const bool hasText = Length(text) > 0;
    if (!m_currentPos || nameLength == 0 || !(flags & XTF_CHILD))
        return false;
    if ((flags & XTF_NOEND) && hasText)
        return false;
    const int level = m_elements[m_currentPos].Level() + 1;
    if (level > ElementRecord::kMaxLevel || nameLength + 3 > ElementRecord::kMaxEndTag)
        return false;

    CString markup = u"<" + CString(name);
    int endTag = 0;
    if (!hasText) {
        markup += (flags & XTF_NOEND) ? u">" : (flags & XTF_ELEMENTSPACE) ? u" />" : u"/>";
    } else {
        markup += u">";
        markup += (flags & XTF_WITHCDATA) ? EncodeCdata(text) : EscapeMarkup(text, flags);
        markup += u"</" + CString(name) + u">";
        endTag = nameLength + 3;
    }
    const int length = markup.GetLength();
    const int startTag = hasText ? nameLength + 2 : length;

    int elementStart = 0;
    if (InsertText(m_currentPos, m_childPos, flags, markup, elementStart) < 0)
        return false;
    const int index = NewElementIndex();
    const int firstChild = m_elements[m_currentPos].firstChild;
    const int after = m_childPos ? m_childPos : firstChild ? m_elements[firstChild].previous : 0;
    LinkElement(index, m_currentPos, after);
    ElementRecord& record = m_elements[index];
    record.start = elementStart;
    record.length = length;
    record.SetTagLengths(startTag, endTag);
    record.SetLevel(level);
    if (flags & XTF_NOEND)
        record.Set(ElementRecord::kNotEnded);
    SetPosition(m_parentPos, m_currentPos, index);
    return true;
}
