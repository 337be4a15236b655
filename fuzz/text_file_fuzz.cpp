// A file on the device as the terminal reads config.xml and the language
// files: raw bytes, the encoding found from a byte-order mark, a declaration
// or a UTF-8 check, the conversion, the parse, and the lookups made on it.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/XmlDoc.h"
#include "core/XmlLookup.h"
#include "platform/base/device_fs.h"

namespace {

// A device root of its own, in memory where the host has it, removed at exit.
struct FuzzRoot {
    FuzzRoot() {
        const char* base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        path = std::string(base) + "/quillon-fuzz-" + std::to_string(getpid());
        std::filesystem::create_directories(path + "/config");
        SetDeviceRoot(path);
    }
    ~FuzzRoot() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzRoot root;
    const std::string host = root.path + "/config/config.xml";
    std::ofstream(host, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), size);

    CXmlDoc doc;
    const bool parsed = doc.ReadFromFile(u"\\config\\config.xml");
    // The reader drops NUL characters, whatever the encoding.
    const CString& text = doc.GetDoc();
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == u'\0') std::abort();
    }
    if (!parsed) return 0;
    CString value;
    ReadSectionKey(doc, u"CONFIG", u"UnitName", value);
    ReadSectionKey(doc, u"language", u"Bidi", value);
    ReadSectionKey(doc, u"MainWnd", u"Title", value);
    return 0;
}
