// gallery [--headless | --window] [--script FILE] [--controls]
// --controls shows the page of edits, list and tree instead of the first.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/ui/uiprogram.h"
#include "tools/gallery/controls_page.h"
#include "tools/gallery/gallery_pages.h"

namespace {

template <class Page>
class CGalleryApp : public CWinApp {
public:
    BOOL InitInstance() override {
        m_page = std::make_unique<Page>();
        if (!m_page->CreatePage()) return FALSE;
        m_pMainWnd = m_page.get();
        return TRUE;
    }
    int ExitInstance() override {
        m_pMainWnd = nullptr;
        m_page.reset();
        return CWinApp::ExitInstance();
    }

private:
    std::unique_ptr<Page> m_page;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    UiOptions options;
    auto controls = std::find(args.begin(), args.end(), "--controls");
    const bool showControls = controls != args.end();
    if (showControls) args.erase(controls);
    std::string error;
    if (!TakeUiOptions(args, &options, &error) || !args.empty()) {
        std::fprintf(stderr, "%s\nusage: gallery [--headless | --window] [--script FILE] [--controls]\n",
                     error.empty() ? ("unknown argument " + args.front()).c_str() : error.c_str());
        return 2;
    }
    if (!StartUi(options, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    int code = 0;
    if (showControls) {
        CGalleryApp<CControlsPage> app;
        code = AfxWinMain();
    } else {
        CGalleryApp<CGalleryPage> app;
        code = AfxWinMain();
    }
    StopDisplay();
    return code;
}
