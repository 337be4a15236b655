#include "platform/ui/atomicwrite.h"

#include <unistd.h>

bool WriteAtomically(const std::string& hostPath, const std::function<bool(FILE*)>& write) {
    std::string temporary = hostPath + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool ok = write(file);
    ok = std::fflush(file) == 0 && ok;
    ok = fsync(fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok && std::rename(temporary.c_str(), hostPath.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}
