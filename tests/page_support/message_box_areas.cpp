#include "tests/page_support/message_box_areas.h"

#include "tests/support/text_fit.h"
#include "widgets/JHMessageBox.h"
#include "widgets/LDMessageBox.h"

namespace {

std::optional<GivenTextArea> MessageBoxTextArea(HWND hwnd) {
    CWnd* window = CWnd::FromHandlePermanent(hwnd);
    if (const auto* box = dynamic_cast<const CLDMessageBox*>(window))
        return GivenTextArea{box->TextArea(), box->Text().str()};
    if (const auto* box = dynamic_cast<const CJHMessageBox*>(window))
        return GivenTextArea{box->PlacedTextRect(), box->m_text.str()};
    return std::nullopt;
}

}  // namespace

void FindMessageBoxTextAreas() {
    static const bool found = (FindTextAreasWith(MessageBoxTextArea), true);
    (void)found;
}
