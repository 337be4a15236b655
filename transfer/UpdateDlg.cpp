#include "transfer/UpdateDlg.h"

#include <memory>

#include "core/AppDir.h"
#include "core/ConfigXml.h"
#include "core/Folders.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"
#include "main/RestartCommand.h"
#include "panel/McuCommands.h"
#include "platform/base/CFile.h"
#include "platform/base/clock.h"
#include "platform/base/files.h"
#include "platform/ui/dialog.h"
#include "transfer/TransferLoop.h"
#include "widgets/WidgetRules.h"

namespace {

constexpr const char16_t* kSection = u"CUpdateDlg";
// The program set, in the order of the size check and of the copy.
constexpr const char16_t* kProgramFiles[] = {u"Quillon.exe", u"SMApi_WinCE.dll", u"SMControl_WinCE.dll",
                                             u"SMProcess_WinCE.dll", u"launch.exe"};
constexpr const char16_t* kProgramFolder = u"nandflash\\app";
constexpr const char16_t* kIconFolder = u"SKIN\\FLOWER\\ControlPanel\\ICON";
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

// The names of the files (not folders) that match "*.png" in `folder`.
std::vector<CString> IconNames(const CString& folder) {
    std::vector<CString> names;
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFile(folder + u"\\*.png", &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (entry.dwFileAttributes != FILE_ATTRIBUTE_DIRECTORY) names.emplace_back(entry.cFileName);
    } while (FindNextFile(search, &entry));
    FindClose(search);
    return names;
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

ULONGLONG CUpdateDlg::GetUpdateSize(const CString& folder) {
    ULONGLONG total = 0;
    CFileStatus status;
    for (const char16_t* name : kProgramFiles) {
        if (!CFile::GetStatus(folder + u"\\" + name, status)) return 0;
        total += status.m_size;
    }
    const CString icons = folder + u"\\" + kIconFolder;
    for (const CString& name : IconNames(icons))
        if (CFile::GetStatus(icons + u"\\" + name, status)) total += status.m_size;
    return total;
}

std::vector<CString> CUpdateDlg::UpdatedFiles() {
    std::vector<CString> files;
    for (const char16_t* name : kProgramFiles) files.push_back(CString(kProgramFolder) + u"\\" + name);
    CString appDir;
    GetAppDir(appDir);
    const CString icons = appDir + kIconFolder;
    for (const CString& name : IconNames(icons)) files.push_back(icons + u"\\" + name);
    // A new icon cut short is there only under its temporary name.
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFile(icons + u"\\*.png.~tmp*", &entry);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        const CString name(entry.cFileName);
        files.push_back(icons + u"\\" + name.Left(name.Find(u".~tmp")));
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
    const ULONGLONG total = GetUpdateSize(folder);
    if (total == 0) {
        ShowMessage(Text(kSection, u"UD0001", u"没有找到U盘中的升级文件"), 0);
        m_button.SetFocus();
        return;
    }
    const FileCopyError error = CopyUpdate(folder, total);
    if (error.failed) {
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

FileCopyError CUpdateDlg::CopyUpdate(const CString& folder, ULONGLONG total) {
    if (!DirExists(kProgramFolder)) CreateDirectory(kProgramFolder, nullptr);
    std::vector<std::unique_ptr<CBlockCopy>> copies;
    CTransferLoop loop(&m_progress);
    loop.Begin(false);
    ULONGLONG done = 0;
    const auto copy = [&](const CString& source, const CString& target) {
        copies.push_back(std::make_unique<CBlockCopy>());
        return copies.back()->Copy(source, target, loop, done, total);
    };
    for (const char16_t* name : kProgramFiles)
        if (!copy(folder + u"\\" + name, CString(kProgramFolder) + u"\\" + name)) return copies.back()->Error();
    // Icons go only into a skin that has their folder.
    CString appDir;
    GetAppDir(appDir);
    const CString iconTarget = appDir + kIconFolder;
    const CString iconSource = folder + u"\\" + kIconFolder;
    if (DirExists(iconTarget)) {
        for (const CString& name : IconNames(iconSource))
            if (!copy(iconSource + u"\\" + name, iconTarget + u"\\" + name)) return copies.back()->Error();
    }
    for (const std::unique_ptr<CBlockCopy>& file : copies)
        if (!file->Commit()) return file->Error();
    loop.Finish();
    return FileCopyError{};
}
