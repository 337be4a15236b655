// The registry file on arbitrary bytes: whatever it holds, the registry the
// terminal reads from it is written as a text that reads back to the very
// same text (parse, write, parse, write gives the first writing again).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/base/registry_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const std::string written = SerializeRegistry(ParseRegistry(file));
    if (SerializeRegistry(ParseRegistry(written)) != written) std::abort();
    return 0;
}
