// The page the import and export pages share: a storage choice with its
// label, an action button, a progress bar with its label and a help text,
// over the dialog background, on the same grid of positions. Each page
// names its dialog, its control ids and its texts, and does its action.
#pragma once

#include "panel/CPTreeBase.h"
#include "platform/ui/image.h"
#include "transfer/PageLook.h"
#include "widgets/FontStatic.h"
#include "widgets/JHSelectBox.h"
#include "widgets/PogressBar.h"
#include "widgets/SelectButton.h"

// A language text: its key and the built-in default.
struct PageText {
    const char16_t* key;
    const char16_t* text;
};

// What an export page says when it cannot write: no medium, a machine ID
// that names no single folder (its text in %s), a transfer folder that is a
// link or no folder (its path in %s).
struct ExportFolderTexts {
    PageText noMedium, badMachineId, notAFolder;
};

struct TransferPageSpec {
    UINT templateId;
    const char16_t* section;
    // Control ids.
    int storageLabelId, storageBoxId, buttonId, progressLabelId, progressBarId, helpId;
    PageText storageLabel, button, progressLabel, help;
    // The items of the storage choice, values 0, 1, 2 (device flash, SD
    // card, USB disk).
    PageText storageItems[3];
    // x, y, width, height of the action button.
    int buttonPlace[4] = {248, 7, 65, 23};
};

class CTransferPage : public CCPTreeBase {
public:
    explicit CTransferPage(const TransferPageSpec& spec);

    BOOL EnterPage() override;

    // The storage choice's value, and the progress bar as it stands.
    int StorageChoice() const { return m_storageBox.GetCurSelValue(); }
    CPogressBar& ProgressBar() { return m_progressBar; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The button's action: the transfer.
    virtual void OnTransfer() = 0;

    // The page's text of `key` (its section of the language file), and the
    // same text as a format.
    CString Text(const PageText& text) const;
    CString Format(const PageText& text) const;
    // A one-button notice, and a yes/no question (true for yes).
    void Tell(const PageText& text) const;
    void Tell(const CString& message) const;
    // A notice whose text has one conversion (%s or %d), given `arg`.
    template <class Arg>
    void Tell(const PageText& text, const Arg& arg) const {
        CString message;
        message.Format(Format(text), arg);
        Tell(message);
    }
    bool Ask(const PageText& text) const;
    void FocusButton() { m_button.SetFocus(); }
    // The transfer folder of an export on the chosen storage, made when
    // missing (`folderMade` says whether it is there now). False, after the
    // matching text was said, when the medium is not there, when the
    // machine ID is no single name (it would lead out of the medium's
    // folder), or when the folder is a link (which leads anywhere) or no
    // folder.
    bool ChooseExportFolder(const ExportFolderTexts& texts, CString& folder, bool& folderMade);

private:
    void LoadTexts();
    void LayoutControls();
    void FillStorageList();
    void HideWidgets();
    CJHCanvas* Widget(int i);

    const TransferPageSpec& m_spec;
    CFontStatic m_storageLabel;
    CJHSelectBox m_storageBox;
    CSelectButton m_button;
    CFontStatic m_progressLabel;
    CPogressBar m_progressBar;
    CFontStatic m_help;
    CxImage m_background;
    CPageLook m_look;  // the panel-colour brush of the plain controls
};

// The dialog template of a transfer page: the six controls of its spec.
DialogTemplate MakeTransferPageTemplate(const TransferPageSpec& spec);
