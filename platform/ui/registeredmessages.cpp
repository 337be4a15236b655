// Registered window messages: one id per name (names compare without case),
// shared by the whole process, from 0xC000 up. Usable during static
// initialisation: the table is made on first use.
#include <map>
#include <mutex>
#include <string>

#include "platform/ui/winuser.h"

namespace {

struct Registry {
    std::mutex lock;
    std::map<std::u16string, UINT> ids;
    UINT next = 0xC000;
};

Registry& Messages() {
    static Registry registry;
    return registry;
}

}  // namespace

UINT RegisterWindowMessageW(LPCWSTR name) {
    if (name == nullptr || *name == 0) return 0;
    std::u16string key(name);
    for (char16_t& ch : key) {
        if (ch >= u'a' && ch <= u'z') ch = static_cast<char16_t>(ch - u'a' + u'A');
    }
    Registry& registry = Messages();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto it = registry.ids.find(key);
    if (it != registry.ids.end()) return it->second;
    if (registry.next > 0xFFFF) return 0;
    UINT id = registry.next++;
    registry.ids.emplace(std::move(key), id);
    return id;
}

UINT RegisterWindowMessage(LPCWSTR name) { return RegisterWindowMessageW(name); }
