// A box that answers a key on its release, as the terminal's skinned
// message box does, and keeps the key messages it received.
#pragma once

#include <ostream>
#include <vector>

#include "platform/ui/CDialog.h"
#include "platform/ui/dialog.h"

class ReleaseBox : public CDialog {
public:
    ReleaseBox() : CDialog(&Template(), nullptr) {}
    struct Key {
        UINT message;
        WPARAM vk;
        bool operator==(const Key&) const = default;
        friend void PrintTo(const Key& key, std::ostream* out) {
            *out << (key.message == WM_KEYDOWN ? "down " : "up ") << key.vk;
        }
    };
    std::vector<Key> keys;

protected:
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message != WM_KEYDOWN && msg->message != WM_KEYUP) return CDialog::PreTranslateMessage(msg);
        keys.push_back({msg->message, msg->wParam});
        if (msg->message == WM_KEYUP) EndDialog(IDOK);
        return TRUE;
    }

private:
    static const DialogTemplate& Template() {
        static const DialogTemplate box{0, WS_POPUP, 40, 40, 200, 100, u"", {}, WS_EX_TOPMOST};
        return box;
    }
};
