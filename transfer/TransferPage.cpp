#include "transfer/TransferPage.h"

#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"
#include "platform/base/device_fs.h"
#include "platform/base/files.h"
#include "transfer/StorageLocation.h"
#include "widgets/MemoryDC.h"
#include "widgets/WidgetRules.h"

namespace {

enum Widget { StorageLabel, StorageBox, Button, ProgressLabel, ProgressBar, Help, WidgetCount };

// x, y, width, height of each widget, in the order of Widget; the button's
// comes from the page. The storage label reaches up to the storage box:
// the longest label ("源文件目录") needs 64 pixels.
constexpr int kPlaces[WidgetCount][4] = {
    {5, 3, 64, 23}, {70, 7, 151, 21}, {0, 0, 0, 0}, {5, 29, 60, 23}, {70, 33, 190, 23}, {5, 55, 300, 175},
};

const int* Place(const TransferPageSpec& spec, int widget) {
    return widget == Button ? spec.buttonPlace : kPlaces[widget];
}
constexpr int kHelpLineStep = 12;

}  // namespace

DialogTemplate MakeTransferPageTemplate(const TransferPageSpec& spec) {
    const int ids[WidgetCount] = {spec.storageLabelId, spec.storageBoxId, spec.buttonId,
                                  spec.progressLabelId, spec.progressBarId, spec.helpId};
    std::vector<DialogItemTemplate> items;
    for (int i = 0; i < WidgetCount; ++i) {
        const DWORD style = i == StorageBox || i == Button ? WS_TABSTOP : 0;
        const int* place = Place(spec, i);
        items.push_back({ids[i], u"STATIC", u"", style, place[0], place[1], place[2], place[3]});
    }
    return DialogTemplate{spec.templateId, WS_CHILD, 0, 0, 320, 216, u"", items};
}

CTransferPage::CTransferPage(const TransferPageSpec& spec) : CCPTreeBase(spec.templateId, nullptr), m_spec(spec) {}

CJHCanvas* CTransferPage::Widget(int i) {
    CJHCanvas* const widgets[WidgetCount] = {&m_storageLabel, &m_storageBox, &m_button,
                                             &m_progressLabel, &m_progressBar, &m_help};
    return widgets[i];
}

BOOL CTransferPage::OnInitDialog() {
    CDialog::OnInitDialog();
    m_storageLabel.SubclassDlgItem(m_spec.storageLabelId, this);
    m_storageBox.SubclassDlgItem(m_spec.storageBoxId, this);
    m_button.SubclassDlgItem(m_spec.buttonId, this);
    m_progressLabel.SubclassDlgItem(m_spec.progressLabelId, this);
    m_progressBar.SubclassDlgItem(m_spec.progressBarId, this);
    m_help.SubclassDlgItem(m_spec.helpId, this);
    m_background.Load(SkinPath(u"Dialog\\DialogBG.bmp"), CXIMAGE_FORMAT_BMP);
    LoadTexts();
    return TRUE;
}

void CTransferPage::LoadTexts() {
    m_storageLabel.SetWindowText(Text(m_spec.storageLabel));
    m_progressLabel.SetWindowText(Text(m_spec.progressLabel));
    m_help.SetWindowText(Text(m_spec.help));
    m_button.SetText(Text(m_spec.button));
    const COLORREF panel = static_cast<COLORREF>(g_MachineConfig.PANELCOLOR);
    m_storageBox.SetColors(TRUE, panel, panel);
}

BOOL CTransferPage::EnterPage() {
    LayoutControls();
    FillStorageList();
    HideWidgets();
    for (int i = 0; i < WidgetCount; ++i) Widget(i)->SetNeedCapture(TRUE);
    const BOOL entered = CCPTreeBase::EnterPage();
    m_storageBox.SetFocus();
    return entered;
}

void CTransferPage::LayoutControls() {
    for (int i = 0; i < WidgetCount; ++i) {
        const int* place = Place(m_spec, i);
        Widget(i)->MoveWindow(place[0], place[1], place[2], place[3], FALSE);
    }
    // Long translations wrap at the label's width instead of running off it.
    m_help.SetTextFormat(DT_WORDBREAK, kHelpLineStep);
}

void CTransferPage::FillStorageList() {
    m_storageBox.ResetContent();
    for (int value = 0; value < 3; ++value) m_storageBox.AddItem(Text(m_spec.storageItems[value]), value);
    m_progressBar.SetPos(0);
}

void CTransferPage::HideWidgets() {
    for (int i = 0; i < WidgetCount; ++i) Widget(i)->ShowWindow(SW_HIDE);
}

BOOL CTransferPage::OnEraseBkgnd(CDC* dc) {
    // The background goes through a memory image, and each widget takes its
    // copy from that image: what the screen shows meanwhile never gets into
    // a widget.
    CMemoryDC memory(dc, CRect(0, 0, 320, 240));
    m_background.Draw(memory, 0, 0);
    for (int i = 0; i < WidgetCount; ++i) CFontStatic::CaptureWidget(Widget(i), this, &memory);
    return TRUE;
}

// Painting is the background's and the widgets': the paint only validates,
// through BeginPaint, which sends the erase that draws the background.
void CTransferPage::OnPaint() { CPaintDC paint(this); }

HBRUSH CTransferPage::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
    if (ctlColor != CTLCOLOR_BTN && ctlColor != CTLCOLOR_DLG && ctlColor != CTLCOLOR_STATIC)
        return CCPTreeBase::OnCtlColor(dc, wnd, ctlColor);
    return m_look.PanelBrush(dc);
}

BOOL CTransferPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == m_spec.buttonId && HIWORD(wParam) == 0) {
        OnTransfer();
        return TRUE;
    }
    return CCPTreeBase::OnCommand(wParam, lParam);
}

LRESULT CTransferPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != EditEnterMessage()) return CCPTreeBase::WindowProc(message, wParam, lParam);
    if (static_cast<int>(wParam) == m_spec.buttonId)
        OnTransfer();
    else
        NextDlgCtrl();
    return 1;
}

CString CTransferPage::Text(const PageText& text) const {
    CString out;
    GetLangText(m_spec.section, text.key, text.text, out);
    return out;
}

CString CTransferPage::Format(const PageText& text) const {
    CString format;
    GetLangFormat(m_spec.section, text.key, text.text, format);
    return format;
}

void CTransferPage::Tell(const PageText& text) const { Tell(Text(text)); }

void CTransferPage::Tell(const CString& message) const { ShowMessage(message, 0); }

bool CTransferPage::Ask(const PageText& text) const { return ShowMessage(Text(text), 1) == IDYES; }


bool CTransferPage::ChooseExportFolder(const ExportFolderTexts& texts, CString& folder, bool& folderMade) {
    const int choice = StorageChoice();
    const CString machineId = g_MachineConfig.MachineID.Get();
    if (!StorageRootExists(choice))
        Tell(texts.noMedium);
    else if (!IsSingleDeviceName(machineId.GetString()))
        Tell(texts.badMachineId, machineId);
    else {
        folder = GetTransferFolder(choice);
        const FileEntryKind kind = GetFileEntryKind(folder);
        if (kind == FileEntryKind::Missing || kind == FileEntryKind::Folder) {
            folderMade = EnsureTransferFolder(folder);
            return true;
        }
        Tell(texts.notAFolder, folder);
    }
    FocusButton();
    return false;
}
