// The terminal's XML document: the whole document is one UTF-16 text, and a
// tree of fixed-size element records points into it by character offsets.
// Parsing copies nothing; reading takes values straight out of the text;
// editing splices the text and shifts the offsets of everything after it.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/CString.h"
#include "platform/base/sync.h"

// Document flags (also carried by the text file object).
enum XmlDocFlags {
    XDF_UTF16LEFILE = 1,
    XDF_UTF8PREAMBLE = 4,
    XDF_IGNORECASE = 8,
    XDF_READFILE = 16,
    XDF_WRITEFILE = 32,
    XDF_APPENDFILE = 64,
    XDF_UTF16BEFILE = 128,
};

// Element-text flags of the editing operations.
enum XmlTextFlags {
    XTF_WITHCDATA = 1,
    XTF_NOLINES = 2,
    XTF_ELEMENTSPACE = 4,
    XTF_REFERENCES = 8,
    XTF_NOEND = 0x10,
    XTF_ESCAPEQUOTES = 0x100,
    XTF_REPLACECONTENT = 0x1000,
    XTF_INSERTBEFORE = 0x2000,
    XTF_CHILD = 0x4000,
};

// Node kinds reported by the scanner.
enum XmlNodeKind {
    XNK_ENDTAG = 0,
    XNK_ELEMENT = 1,
    XNK_TEXT = 2,
    XNK_WHITESPACE = 4,
    XNK_CDATA = 8,
    XNK_PI = 16,
    XNK_COMMENT = 32,
    XNK_DOCTYPE = 64,
    XNK_ERROR = -1,
    XNK_END = -2,
};

struct ElementRecord {
    // Record flags, in the high bits of levelAndFlags.
    static constexpr uint32_t kLevelMask = 0xFFFF;
    static constexpr uint32_t kReleased = 0x20000;
    static constexpr uint32_t kFirstChild = 0x80000;
    static constexpr uint32_t kNotEnded = 0x100000;
    static constexpr uint32_t kHasError = 0x200000;
    static constexpr uint32_t kIllFormed = 0x800000;
    static constexpr int kMaxStartTag = 0x3FFFFF;  // 22 bits
    static constexpr int kMaxEndTag = 0x3FF;       // 10 bits
    static constexpr int kMaxLevel = 0xFFFF;       // 16 bits

    int32_t start;
    int32_t length;
    uint32_t tagLengths;
    uint32_t levelAndFlags;
    int32_t parent;
    int32_t firstChild;
    int32_t next;
    int32_t previous;

    int StartTagLength() const { return static_cast<int>(tagLengths & kMaxStartTag); }
    int EndTagLength() const { return static_cast<int>(tagLengths >> 22); }
    void SetTagLengths(int startTag, int endTag) {
        tagLengths = static_cast<uint32_t>(startTag) | (static_cast<uint32_t>(endTag) << 22);
    }
    int Level() const { return static_cast<int>(levelAndFlags & kLevelMask); }
    void SetLevel(int level) { levelAndFlags = (levelAndFlags & ~kLevelMask) | static_cast<uint32_t>(level); }
    bool Has(uint32_t flag) const { return (levelAndFlags & flag) != 0; }
    void Set(uint32_t flag) { levelAndFlags |= flag; }
    void Clear(uint32_t flag) { levelAndFlags &= ~flag; }
    int ContentStart() const { return start + StartTagLength(); }
    int ContentLength() const { return length - StartTagLength() - EndTagLength(); }
    int End() const { return start + length; }
    bool IsEmpty() const { return StartTagLength() == length; }
};

// Records live in segments of 65536 so that full segments never move.
class ElementStore {
public:
    static constexpr int kSegmentBits = 16;
    static constexpr int kSegmentSize = 1 << kSegmentBits;

    ElementRecord& operator[](int index) {
        return m_segments[index >> kSegmentBits][index & (kSegmentSize - 1)];
    }
    const ElementRecord& operator[](int index) const {
        return m_segments[index >> kSegmentBits][index & (kSegmentSize - 1)];
    }
    int Allocated() const { return m_allocated; }
    // Grows to n records, never by more than one new segment per call.
    void Grow(int n);

private:
    std::vector<std::unique_ptr<ElementRecord[]>> m_segments;
    int m_allocated = 0;
};

struct NodeInfo {
    int kind = 0;
    int start = 0;
    int length = 0;
    int flags = 0;  // kEmptyTag when a start tag ends with "/>"
    CString name;   // tag or target name, or the error text of an error node
    static constexpr int kEmptyTag = 0x10000;
};

struct TokenScanner {
    int tokenStart = 0;
    int tokenEnd = -1;  // inclusive; tokenEnd == tokenStart - 1 is an empty token
    int next = 0;
    int end = 0;  // scanning stops here (exclusive)
    const char16_t* text = nullptr;
    int flags = 0;  // only XDF_IGNORECASE is consulted

    TokenScanner(const char16_t* t, int length, int docFlags) : end(length), text(t), flags(docFlags) {}
    int TokenLength() const { return tokenEnd - tokenStart + 1; }
    // Moves to the next name token; false at the end of the text.
    bool FindName();
    // Scans one node from `next` (see XmlScan.cpp).
    int ScanNode(NodeInfo& node);
};

class CXmlDoc {
public:
    CXmlDoc();
    ~CXmlDoc();
    CXmlDoc(const CXmlDoc&) = delete;
    CXmlDoc& operator=(const CXmlDoc&) = delete;

    // Parsing (XmlParse.cpp).
    bool Parse();
    bool ParseText(const char16_t* text);
    bool ParseText(const CString& text);
    bool IsDocumentValid() const;

    // Navigation and editing (XmlNavigate.cpp, XmlEdit.cpp).
    void RewindMain() { SetPosition(m_parentPos, 0, 0); }
    void RewindAll() { SetPosition(0, 0, 0); }
    bool NextElement(const char16_t* name);
    bool NextChildElement(const char16_t* name);
    bool EnterElement();
    bool LeaveElement();
    CString GetChildText() const { return GetElementText(m_childPos); }
    bool SetChildText(const char16_t* text, int flags) { return SetElementText(m_childPos, text, flags); }
    bool AppendChildElement(const char16_t* name, const char16_t* text, int flags) {
        return AddElement(name, text, flags | XTF_CHILD);
    }
    CString GetElementText(int index) const;
    bool SetElementText(int index, const char16_t* text, int flags);
    bool AddElement(const char16_t* name, const char16_t* text, int flags);

    // Files (XmlFile.cpp).
    bool ReadFromFile(const char16_t* path);
    bool WriteToFile(const char16_t* path);
    static bool LoadTextFile(const char16_t* path, CString& text, CString* result = nullptr, int* flags = nullptr,
                             CString* encoding = nullptr);
    static bool StoreTextFile(const char16_t* path, const CString& text, CString* result = nullptr,
                              int* flags = nullptr, CString* encoding = nullptr);
    static CString FindDeclaredEncoding(const char16_t* text, int length);

    // Markup texts (XmlEscape.cpp).
    static CString EscapeMarkup(const char16_t* text, int flags);
    static CString UnescapeMarkup(const char16_t* text, int length);
    static CString EncodeCdata(const char16_t* text);
    // The scanner's token names `name` (ASCII case ignored with XDF_IGNORECASE).
    static bool NameMatches(const TokenScanner& token, const char16_t* name);

    // One lock per document: every lookup and write holds it from rewind to leave.
    void Lock() { EnterCriticalSection(&m_lock); }
    void Unlock() { LeaveCriticalSection(&m_lock); }

    const CString& GetDoc() const { return m_text; }
    const CString& GetResult() const { return m_result; }
    int GetDocFlags() const { return m_docFlags; }
    void SetDocFlags(int flags) { m_docFlags = flags; }
    int ParentPosition() const { return m_parentPos; }
    int CurrentPosition() const { return m_currentPos; }
    int ChildPosition() const { return m_childPos; }
    const ElementRecord& Element(int index) const { return m_elements[index]; }

private:
    void SetPosition(int parent, int current, int child);
    void GrowElementStore(int n);
    int NewElementIndex();
    int ParseElements(int under);
    void CloseNotEnded(const std::vector<int>& group);
    void RecordError(const CString& message);
    int FindMatchingElement(int parent, int from, const char16_t* name) const;
    bool HasChildElement(int index) const { return m_elements[index].firstChild != 0; }
    int InsertText(int parent, int sibling, int flags, CString markup, int& elementStart);
    void SpliceText(int at, int removeLength, const CString& insert);
    void ShiftPositions(int point, int shift);
    void LinkElement(int index, int parent, int after);
    CString TagName(int index) const;

    CString m_text;
    CString m_result;
    int m_parentPos = 0;
    int m_currentPos = 0;
    int m_childPos = 0;
    int m_nextFree = 1;
    int m_nodeKind = 0;  // 1 while the current position is an element
    int m_docFlags = 0;
    ElementStore m_elements;
    CRITICAL_SECTION m_lock;
};

// Holds a document's lock for one lookup or write.
class XmlDocLock {
public:
    explicit XmlDocLock(CXmlDoc& doc) : m_doc(doc) { m_doc.Lock(); }
    ~XmlDocLock() { m_doc.Unlock(); }
    XmlDocLock(const XmlDocLock&) = delete;
    XmlDocLock& operator=(const XmlDocLock&) = delete;

private:
    CXmlDoc& m_doc;
};
