#include "panel/PageRegistry.h"

#include <map>

namespace {

// Pages are looked up and registered on the user-interface thread only.
std::map<UINT, ControlPanelPageFactory>& Factories() {
    static std::map<UINT, ControlPanelPageFactory> factories;
    static bool listed = false;
    if (!listed) {
        listed = true;
        RegisterMenuPages();
    }
    return factories;
}

}  // namespace

void SetControlPanelPage(UINT node, ControlPanelPageFactory factory) {
    if (factory)
        Factories()[node] = std::move(factory);
    else
        Factories().erase(node);
}

const ControlPanelPageFactory* FindControlPanelPage(UINT node) {
    const auto found = Factories().find(node);
    return found == Factories().end() ? nullptr : &found->second;
}
