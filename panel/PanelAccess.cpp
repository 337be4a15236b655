#include "panel/PanelAccess.h"

#include <string>

#include "core/LangText.h"
#include "core/RegisteredMessages.h"
#include "core/ShowMessage.h"
#include "panel/AdminVerifyDlg.h"
#include "panel/ControlPanel.h"
#include "platform/ui/script.h"

namespace {

bool ParseNode(const std::string& text, UINT& node) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    node = static_cast<UINT>(std::stoul(text));
    return true;
}

bool GotoCommand(const std::vector<std::string>& args, std::string* error) {
    UINT node = 0;
    if (args.size() != 1 || !ParseNode(args[0], node)) {
        *error = "goto takes a menu node number";
        return false;
    }
    if (!IsMenuNodeShown(node)) {
        *error = "node " + args[0] + " is not in the menu";
        return false;
    }
    if (CControlPanel* panel = CControlPanel::Open()) {
        panel->GotoNode(node, TRUE);
        return true;
    }
    CWnd* main = AfxGetMainWnd();
    if (main == nullptr || main->GetSafeHwnd() == nullptr) {
        *error = "no main window to open the control panel";
        return false;
    }
    main->PostMessage(WM_CONTROLPANEL, node, 0);
    return true;
}

const bool g_gotoCommand = [] {
    ScriptDriver::RegisterCommand("goto", GotoCommand);
    return true;
}();

}  // namespace

bool TakeMenuKey(CWnd* mainWindow, const MSG& msg) {
    if (msg.wParam != VK_MENU) return false;
    if (msg.message == WM_SYSKEYUP || msg.message == WM_KEYUP) {
        RequestControlPanel(mainWindow);
        return true;
    }
    return msg.message == WM_SYSKEYDOWN || msg.message == WM_KEYDOWN;
}

void RequestControlPanel(CWnd* mainWindow) {
    if (AnyAdministratorEnrolled()) {
        CAdminVerifyDlg verify(mainWindow);
        const INT_PTR result = verify.DoModal();
        if (result == CAdminVerifyDlg::kRefused) {
            CString refused;
            GetLangText(u"CAdminVerifyDlg", u"AV0005", u"您不是管理员，不能进入菜单", refused);
            ShowMessage(refused, 0);
        }
        if (result != IDOK) return;
    }
    mainWindow->PostMessage(WM_CONTROLPANEL, 0, 0);
}
