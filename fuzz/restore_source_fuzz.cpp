// A restore source on the medium, any bytes: the checks the restore page
// makes before a copy may take the live database's place never crash, and
// what they accept has SQLite's header.
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "data/DatabaseCheck.h"
#include "fuzz/fuzz_device.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string host = FuzzAppFile("DB/KD4700.DB.bak");
    WriteFuzzFile(host, data, size);
    const char16_t* copy = u"\\NandFlash\\zeta42\\DB\\KD4700.DB.bak";
    const bool header = HasSqliteHeader(copy);
    if (IsTerminalDatabase(copy) && !header) std::abort();
    for (const char* journal : {"", "-wal", "-shm", "-journal"}) std::filesystem::remove(host + journal);
    return 0;
}
