#include "widgets/SkinImageCache.h"

#include <map>
#include <mutex>

#include "widgets/WidgetRules.h"

namespace {

std::mutex g_cacheLock;

std::map<std::u16string, std::weak_ptr<const CxImage>>& Cache() {
    static std::map<std::u16string, std::weak_ptr<const CxImage>> cache;
    return cache;
}

}  // namespace

SharedSkinImage AcquireSkinImage(const char16_t* relative, DWORD imageType) {
    const CString path = SkinPath(relative);
    std::lock_guard<std::mutex> guard(g_cacheLock);
    auto& cache = Cache();
    // The skin folder is part of the key, so a change of SKIN loads afresh.
    std::u16string key = path.str() + u'|' + static_cast<char16_t>(u'0' + imageType);
    if (SharedSkinImage held = cache[key].lock()) return held;
    auto image = std::make_shared<CxImage>();
    image->Load(path, imageType);
    cache[key] = image;
    return image;
}

size_t SharedSkinImageCount() {
    std::lock_guard<std::mutex> guard(g_cacheLock);
    size_t live = 0;
    for (auto it = Cache().begin(); it != Cache().end();) {
        if (it->second.expired()) {
            it = Cache().erase(it);
        } else {
            ++live;
            ++it;
        }
    }
    return live;
}
