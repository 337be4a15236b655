// The XML document on arbitrary text: parsing, reading every element's text,
// and, on a well-formed document, an edit whose result must parse back to
// the same number of elements with the new key readable.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/TextConverter.h"
#include "core/XmlDoc.h"

namespace {

int CountElements(const CXmlDoc& doc, int index) {
    int count = 0;
    for (int child = doc.Element(index).firstChild; child; child = doc.Element(child).next)
        count += 1 + CountElements(doc, child);
    return count;
}

void ReadAllTexts(const CXmlDoc& doc, int index) {
    for (int child = doc.Element(index).firstChild; child; child = doc.Element(child).next) {
        doc.GetElementText(child);
        ReadAllTexts(doc, child);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte chooses the document flags; the rest is UTF-8 text,
    // without NUL bytes as the file reader delivers it.
    if (size == 0)
        return 0;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::erase(bytes, '\0');
    const CString text(TextConverter(u"UTF-8").ToWide(bytes));
    CXmlDoc doc;
    doc.SetDocFlags(data[0] & XDF_IGNORECASE);
    const bool valid = doc.ParseText(text);
    ReadAllTexts(doc, 0);
    CXmlDoc::FindDeclaredEncoding(text.GetString(), text.GetLength());
    if (!valid)
        return 0;

    // Append a key under the root and change its text: the edited text must
    // parse to the same tree plus the key, and the key must read back.
    const int before = CountElements(doc, 0);
    doc.RewindMain();
    doc.NextElement(nullptr);
    if (!doc.AppendChildElement(u"FUZZKEY", u"first", 0) || !doc.SetChildText(u"a<&>b", 0))
        std::abort();
    CXmlDoc fresh;
    fresh.SetDocFlags(doc.GetDocFlags());
    if (!fresh.ParseText(doc.GetDoc()) || CountElements(fresh, 0) != before + 1)
        std::abort();
    CString value;
    fresh.RewindMain();
    fresh.NextElement(nullptr);
    while (fresh.NextChildElement(u"FUZZKEY"))
        value = fresh.GetChildText();
    if (value != CString(u"a<&>b"))
        std::abort();
    return 0;
}
