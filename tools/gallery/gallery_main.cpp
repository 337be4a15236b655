// gallery [--headless | --window] [--script FILE]
#include <cstdio>
#include <memory>

#include "platform/ui/uiprogram.h"
#include "tools/gallery/gallery_pages.h"

namespace {

class CGalleryApp : public CWinApp {
public:
    BOOL InitInstance() override {
        m_page = std::make_unique<CGalleryPage>();
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
    std::unique_ptr<CGalleryPage> m_page;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    UiOptions options;
    std::string error;
    if (!TakeUiOptions(args, &options, &error) || !args.empty()) {
        std::fprintf(stderr, "%s\nusage: gallery [--headless | --window] [--script FILE]\n",
                     error.empty() ? ("unknown argument " + args.front()).c_str() : error.c_str());
        return 2;
    }
    if (!StartUi(options, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    CGalleryApp app;
    int code = AfxWinMain();
    StopDisplay();
    return code;
}
