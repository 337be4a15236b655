#include "transfer/UpdateDlg.h"

#include "core/AppDir.h"
#include "core/ConfigXml.h"
#include "core/Folders.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"
#include "main/RestartCommand.h"
#include "panel/McuCommands.h"
#include "platform/base/clock.h"
#include "platform/base/device_fs.h"
#include "platform/base/files.h"
#include "platform/base/utf.h"
#include "platform/ui/dialog.h"
#include "transfer/TransferLoop.h"
#include "transfer/UpdateInstall.h"
#include "transfer/UpdateFolder.h"
#include "widgets/WidgetRules.h"

namespace {

constexpr const char16_t* kSection = u"CUpdateDlg";
constexpr DWORD kBeforeSupervisionOffMs = 500;
constexpr DWORD kBeforeRestartMs = 200;

const DialogTemplate kTemplate{CUpdateDlg::IDD,
                               WS_CHILD,
                               0,
                               0,
                               320,
                               216,
                               u"",
                               {
                                   {CUpdateDlg::IDC_UPDATE, u"STATIC", u"", WS_TABSTOP, 70, 30, 190, 23},
                                   {CUpdateDlg::IDC_LABEL, u"STATIC", u"", 0, 5, 56, 60, 23},
                                   {CUpdateDlg::IDC_PROGRESS, u"STATIC", u"", 0, 70, 60, 190, 23},
                               }};
const DialogTemplateEntry kTemplateEntry(kTemplate);

CString Text(const char16_t* section, const char16_t* key, const char16_t* fallback) {
    CString text;
    GetLangText(section, key, fallback, text);
    return text;
}

CString RefusalText(UpdateFolderState state) {
    switch (state) {
    case UpdateFolderState::Incomplete: return Text(kSection, u"UD0001", u"没有找到U盘中的升级文件");
    case UpdateFolderState::BadName:
        return Text(kSection, u"UD0003", u"升级文件夹中含有本机不能使用的文件名，未安装任何文件！");
    case UpdateFolderState::TooManyIcons: {
        CString format, text;
        GetLangFormat(kSection, u"UD0005", u"升级文件夹中的图标超过%u个，未安装任何文件！", format);
        text.Format(format, static_cast<unsigned>(kUpdateIconLimit));
        return text;
    }
    default: return Text(kSection, u"UD0002", u"升级文件夹中含有链接、设备或过大的文件，未安装任何文件！");
    }
}

}  // namespace

CUpdateDlg::CUpdateDlg() : CCPTreeBase(IDD, nullptr) {}

BOOL CUpdateDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_progress.SubclassDlgItem(IDC_PROGRESS, this);
    m_button.SubclassDlgItem(IDC_UPDATE, this);
    m_label.SubclassDlgItem(IDC_LABEL, this);
    m_button.SetText(Text(u"CControlPanel", u"C0038", u"升级"));
    m_look.LoadBackground();
    return TRUE;
}

void CUpdateDlg::LayoutControls() {
    m_button.MoveWindow(70, 30, 190, 23);
    m_label.MoveWindow(5, 56, 60, 23);
    m_progress.MoveWindow(70, 60, 190, 23);
}

BOOL CUpdateDlg::EnterPage() {
    LayoutControls();
    m_progress.SetPos(0);
    PrepareCaptures({&m_button, &m_progress, &m_label});
    const BOOL entered = CCPTreeBase::EnterPage();
    m_button.SetFocus();
    return entered;
}

BOOL CUpdateDlg::LeavePage() {
    m_progress.UpdateWindow();
    return CCPTreeBase::LeavePage();
}

BOOL CUpdateDlg::OnEraseBkgnd(CDC* dc) {
    m_look.Paint(this, dc, {&m_button, &m_progress, &m_label});
    return TRUE;
}

// The page paints in its erase; the paint only validates.
void CUpdateDlg::OnPaint() { CPaintDC paint(this); }

HBRUSH CUpdateDlg::OnCtlColor(CDC* dc, CWnd*, UINT) { return m_look.PanelBrush(dc); }

LRESULT CUpdateDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != EditEnterMessage()) return CCPTreeBase::WindowProc(message, wParam, lParam);
    if (static_cast<int>(wParam) == IDC_UPDATE)
        OnUpdate();
    else
        NextDlgCtrl();
    return 1;
}

std::vector<std::string> CUpdateDlg::UpdatedFiles() {
    std::vector<std::string> files;
    for (const char16_t* name : kUpdateProgramFiles)
        files.push_back(DeviceToHostPath((CString(kUpdateProgramFolder) + u"\\" + name).GetString()));
    CString appDir;
    GetAppDir(appDir);
    const CString icons = appDir + kUpdateIconFolder;
    const std::string hostIcons = DeviceToHostPath(icons.GetString());
    // The names as listed are those on the host.
    for (const CString& name : IconNames(icons)) files.push_back(hostIcons + "/" + Utf16ToUtf8(name.GetString()));
    // A new icon cut short is there only under its temporary name.
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFile(icons + u"\\*.png.~tmp*", &entry);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        const CString name(entry.cFileName);
        files.push_back(hostIcons + "/" + Utf16ToUtf8(name.Left(name.Find(u".~tmp")).GetString()));
    } while (FindNextFile(search, &entry));
    FindClose(search);
    return files;
}

void CUpdateDlg::OnUpdate() {
    const CString folder = GetUSBDiskFolder() + u"\\zeta42";
    if (!DirExists(folder)) {
        ShowMessage(Text(kSection, u"ud0", u"没有找到U盘中的升级文件"), 0);
        m_button.SetFocus();
        return;
    }
    // The whole update is looked at before anything is copied.
    std::vector<UpdateFile> files;
    const UpdateFolderState state = CollectUpdateFiles(folder, files);
    if (state != UpdateFolderState::Usable) {
        ShowMessage(RefusalText(state), 0);
        m_button.SetFocus();
        return;
    }
    CTransferLoop loop(&m_progress);
    const FileCopyError error = InstallUpdateFiles(files, loop);
    if (error.failed) {
        if (error.sourceChanged)
            ShowMessage(Text(kSection, u"UD0004", u"升级文件在复制过程中发生了变化，未安装任何文件！"), 0);
        else
            ShowFileCopyError(error);
        m_button.SetFocus();
        return;
    }
    // The restart brings the update's skin up; config.xml keeps its own.
    SetConfigValue(u"SKIN", u"flower", FALSE);
    CString appDir;
    GetAppDir(appDir);
    g_MachineConfig.SkinDir = appDir + u"Skin\\flower\\";
    Sleep(kBeforeSupervisionOffMs);
    SendMcuCommandOff();
    Sleep(kBeforeRestartMs);
    SendRestartCommand();
}
