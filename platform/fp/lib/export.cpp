#include "platform/fp/lib/export.h"

#include <dlfcn.h>

std::string FolderOfLibrary(const void* anyFunction) {
    Dl_info info{};
    if (!::dladdr(anyFunction, &info) || !info.dli_fname) return ".";
    std::string path = info.dli_fname;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}
