// The element store, the element builder and the parse.
#include <algorithm>
#include <cstring>

#include "core/XmlDoc.h"

void ElementStore::Grow(int n) {
    if (n <= m_allocated)
        return;
    const int last = m_allocated > 0 ? (m_allocated - 1) >> kSegmentBits : 0;
    int target = (n - 1) >> kSegmentBits;
    if (target > last + 1) {
        target = last + 1;
        n = (last + 2) * kSegmentSize;
    }
    if (static_cast<int>(m_segments.size()) <= target)
        m_segments.resize(target + 1);

    auto reallocate = [&](int segment, int newSize) {
        const int oldSize = std::max(0, std::min(kSegmentSize, m_allocated - segment * kSegmentSize));
        auto grown = std::make_unique<ElementRecord[]>(newSize);
        if (oldSize > 0)
            std::memcpy(grown.get(), m_segments[segment].get(), sizeof(ElementRecord) * oldSize);
        m_segments[segment] = std::move(grown);
    };
    if (target > last && m_allocated < (last + 1) * kSegmentSize)
        reallocate(last, kSegmentSize);
    reallocate(target, n - target * kSegmentSize);
    m_allocated = n;
}

CXmlDoc::CXmlDoc() {
    InitializeCriticalSection(&m_lock);
    ParseText(u"");
}

CXmlDoc::~CXmlDoc() { DeleteCriticalSection(&m_lock); }

void CXmlDoc::SetPosition(int parent, int current, int child) {
    m_parentPos = parent;
    m_currentPos = current;
    m_childPos = child;
    m_nodeKind = current ? XNK_ELEMENT : 0;
}

void CXmlDoc::GrowElementStore(int n) {
    if (n == 0)
        n = std::max(m_nextFree + m_nextFree / 2, m_nextFree + 1);
    m_elements.Grow(n);
}

int CXmlDoc::NewElementIndex() {
    if (m_nextFree >= m_elements.Allocated())
        GrowElementStore(0);
    const int index = m_nextFree++;
    m_elements[index] = ElementRecord{};
    return index;
}

void CXmlDoc::LinkElement(int index, int parent, int after) {
    ElementRecord& parentRecord = m_elements[parent];
    ElementRecord& record = m_elements[index];
    record.parent = parent;
    if (parentRecord.firstChild == 0) {
        parentRecord.firstChild = index;
        record.Set(ElementRecord::kFirstChild);
        record.previous = index;
        record.next = 0;
        return;
    }
    ElementRecord& first = m_elements[parentRecord.firstChild];
    record.previous = after;
    record.next = m_elements[after].next;
    if (record.next)
        m_elements[record.next].previous = index;
    else
        first.previous = index;
    m_elements[after].next = index;
}

void CXmlDoc::RecordError(const CString& message) {
    if (m_result.IsEmpty())
        m_result = message;
}

// Elements whose end tags never came, outermost first, all open inside one
// another: each loses its content, its error mark moves outwards, and their
// children become their following siblings under the outermost one's parent.
void CXmlDoc::CloseNotEnded(const std::vector<int>& group) {
    m_elements[0].Set(ElementRecord::kIllFormed);
    const int parent = m_elements[group.front()].parent;
    std::vector<int> siblings;
    for (size_t k = 0; k < group.size(); ++k) {
        const int index = group[k];
        const int inner = k + 1 < group.size() ? group[k + 1] : 0;
        siblings.push_back(index);
        for (int child = m_elements[index].firstChild; child && child != inner; child = m_elements[child].next)
            siblings.push_back(child);
    }
    for (size_t k = group.size(); k-- > 0;) {
        ElementRecord& record = m_elements[group[k]];
        record.SetTagLengths(record.StartTagLength(), 0);
        record.Set(ElementRecord::kNotEnded);
        record.length = record.StartTagLength();
        record.firstChild = 0;
        if (record.Has(ElementRecord::kHasError)) {
            record.Clear(ElementRecord::kHasError);
            m_elements[k > 0 ? group[k - 1] : parent].Set(ElementRecord::kHasError);
        }
    }
    // The outermost element keeps its place; the rest are chained after it.
    for (size_t k = 1; k < siblings.size(); ++k) {
        ElementRecord& record = m_elements[siblings[k]];
        record.parent = parent;
        record.Clear(ElementRecord::kFirstChild);
        record.previous = siblings[k - 1];
        m_elements[siblings[k - 1]].next = siblings[k];
    }
    m_elements[siblings.back()].next = 0;
    m_elements[m_elements[parent].firstChild].previous = siblings.back();
}

int CXmlDoc::ParseElements(int under) {
    struct OpenTag {
        int index;
        NodeInfo node;
    };
    std::vector<OpenTag> open;
    TokenScanner scanner(m_text.GetString(), m_text.GetLength(), m_docFlags);
    NodeInfo node;
    int current = under;
    int first = 0;
    const int baseLevel = m_elements[under].Level();

    auto markError = [&](const CString& message) {
        m_elements[0].Set(ElementRecord::kIllFormed);
        m_elements[current].Set(ElementRecord::kHasError);
        RecordError(message);
    };
    // Closes the open elements from `depth` inwards; the message names the innermost.
    auto closeFrom = [&](int depth, const CString& message) {
        RecordError(message);
        std::vector<int> group;
        for (size_t k = static_cast<size_t>(depth); k < open.size(); ++k)
            group.push_back(open[k].index);
        CloseNotEnded(group);
        open.resize(static_cast<size_t>(depth));
    };
    auto beyondLimits = [&](int offset) {
        CString message;
        message.Format(u"Element tag at offset %d beyond the document limits", offset);
        markError(message);
    };

    for (;;) {
        const int kind = scanner.ScanNode(node);
        if (kind == XNK_END)
            break;
        if (kind == XNK_ERROR) {
            markError(node.name);
        } else if (kind == XNK_ELEMENT) {
            const int level = baseLevel + static_cast<int>(open.size());
            if (node.length > ElementRecord::kMaxStartTag || level > ElementRecord::kMaxLevel) {
                beyondLimits(node.start);
                continue;
            }
            const int index = NewElementIndex();
            const int parentFirst = m_elements[current].firstChild;
            LinkElement(index, current, parentFirst ? m_elements[parentFirst].previous : 0);
            ElementRecord& record = m_elements[index];
            record.start = node.start;
            record.length = node.length;
            record.SetTagLengths(node.length, 0);
            record.SetLevel(level);
            if (!first)
                first = index;
            if (!(node.flags & NodeInfo::kEmptyTag)) {
                open.push_back({index, node});
                current = index;
            }
        } else if (kind == XNK_ENDTAG) {
            int depth = static_cast<int>(open.size()) - 1;
            while (depth >= 0 && !NameMatches(scanner, open[depth].node.name))
                --depth;
            if (depth < 0) {
                CString message;
                message.Format(u"No start tag for end tag '%s' at offset %d",
                               CString(scanner.text + scanner.tokenStart, scanner.TokenLength()), node.start);
                markError(message);
                continue;
            }
            if (node.length > ElementRecord::kMaxEndTag) {
                beyondLimits(node.start);
                continue;
            }
            if (static_cast<int>(open.size()) - 1 > depth) {
                const OpenTag& inner = open.back();
                CString message;
                message.Format(u"End tag '%s' at offset %d does not match start tag '%s' at offset %d",
                               CString(scanner.text + scanner.tokenStart, scanner.TokenLength()),
                               scanner.tokenStart - 1, inner.node.name, inner.node.start);
                closeFrom(depth + 1, message);
            }
            ElementRecord& record = m_elements[open.back().index];
            record.length = node.start + node.length - record.start;
            record.SetTagLengths(record.StartTagLength(), node.length);
            current = record.parent;
            open.pop_back();
        }
    }
    if (!open.empty()) {
        const OpenTag& inner = open.back();
        CString message;
        message.Format(u"Element '%s' at offset %d not ended", inner.node.name, inner.node.start);
        closeFrom(0, message);
    }
    return first;
}

bool CXmlDoc::Parse() {
    const CString description = m_result;
    m_result.Empty();
    SetPosition(0, 0, 0);
    m_nextFree = 1;
    const int length = m_text.GetLength();
    GrowElementStore(length / 64 + 8);
    m_elements[0] = ElementRecord{};
    if (length == 0) {
        m_result = u"Empty document";
    } else {
        const int root = ParseElements(0);
        m_elements[0].length = length;
        if (!root)
            m_result = u"No root element";
        else if (m_elements[root].next)
            m_result = u"Root element has sibling";
    }
    SetPosition(0, 0, 0);
    if (!description.IsEmpty())
        m_result = m_result.IsEmpty() ? description : description + u" " + m_result;
    return IsDocumentValid();
}

bool CXmlDoc::ParseText(const char16_t* text) {
    m_text = text ? text : u"";
    m_result.Empty();
    return Parse();
}

bool CXmlDoc::ParseText(const CString& text) {
    m_text = text;
    m_result.Empty();
    return Parse();
}

bool CXmlDoc::IsDocumentValid() const {
    if (m_elements.Allocated() == 0)
        return false;
    const ElementRecord& document = m_elements[0];
    if (document.Has(ElementRecord::kIllFormed) || document.firstChild == 0)
        return false;
    return m_elements[document.firstChild].next == 0;
}
