// CCPTreeRegFP: the fingerprint enrolment page (menu node 11). The operator
// types a user ID, picks a finger on the two hands with Left/Right, presses
// the finger twice, chooses the better image and saves with Enter. The first
// press must match no stored template, the second must match the first; the
// saved 338-byte record holds the chosen press first.
//
// The add-user and edit-user pages jump here with their user and are handed
// back when the page is saved or left; an ID that is not a user is handed to
// the add-user page, which returns here when it is left.
#pragma once

#include "main/JHFPShow.h"
#include "panel/CPTreeBase.h"
#include "platform/ui/image.h"
#include "users/CallerLink.h"
#include "widgets/FontStatic.h"
#include "widgets/ImagaBotton.h"
#include "widgets/JHKeyEdit.h"
#include "widgets/RegFPStatic.h"

class CCPTreeRegFP : public CCPTreeBase {
public:
    static constexpr UINT IDD = 134;
    static constexpr UINT kNode = 11;
    enum : int { kStateIdEntry = 0, kStateFingerChoice = 1, kStateCapturing = 2, kStateChoosing = 3 };
    enum : int { kFingers = 10 };
    // Timer 1 waits for a finger and processes it; timer 2 waits for an
    // empty sensor.
    static constexpr UINT_PTR kPressTimer = 1;
    static constexpr UINT_PTR kLiftTimer = 2;

    CCPTreeRegFP();

    // From the add-user and edit-user pages, right after they went to this
    // node: the ID is looked up and waits in ID entry for Enter.
    void EnrollForUser(CString id, UINT callerNode, CCPTreeBase* callerPage);
    BOOL ReturnToCallerPage() { return m_caller.ReturnTo(*this); }

    BOOL EnterPage() override;
    BOOL LeavePage() override;

    int State() const { return m_state; }
    int Finger() const { return m_finger; }
    int PressIndex() const { return m_pressIndex; }
    bool IsFingerEnrolled(int finger) const { return m_fingers[finger].IsEnrolled(); }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;

private:
    // What one press gave.
    enum PressResult : int {
        kAccepted = 0,
        kExtractionFailed = 1,
        kAlreadyEnrolled = 2,
        kNoImage = 3,
        kBadPressIndex = 4,
        // The second press did not match the first: the finger starts over
        // once the sensor is empty.
        kStartOver = 5,
    };
    enum LookupResult { kUserFound, kUserHandedToAddPage, kUserDeclined };

    BOOL OnEnterKeyUp(MSG* msg);
    void OnArrowKeyUp(UINT key);
    LookupResult LookupUser();
    void CheckFingerEnrolled();
    void RefreshEnrolledFingers(const CString& id);
    void RefreshFingerIndicators();
    BOOL DeleteFingerIfEnrolled(const CString& id, int finger);
    void EnrollStartPress();
    int EnrollCaptureImage();
    int EnrollProcessPress();
    void OnPressTimer();
    void ShowPromptWaitLift(const CString& text, bool append);
    void ShowPrompt(const CString& text);
    void ShowPressImage(int press);
    void HighlightChosenImage();
    void ShowChosenImageText(int n);
    int EnrollSaveFingerprint(int n);
    void OnSaveFingerprint();
    void ResetPage();
    void LoadTexts();
    void LayoutControls();
    void HideFrames();
    void StopTimers();
    void MakeIdEditReadOnly();
    void MakeIdEditWritable();
    CString IdText() const;

    CJHKeyEdit m_editId;
    CFontStatic m_labelId;
    CFontStatic m_prompt;
    CJHFPShow m_frames[2];
    CRegFPStatic m_fingers[kFingers];
    CImagaBotton m_arrowLeft, m_arrowRight;
    CImagaBotton m_sensor;
    CButton m_btnSave;

    int m_state = kStateIdEntry;
    int m_finger = 0;
    int m_pressIndex = 0;
    int m_chosenImage = 0;
    bool m_enrolling = false;
    CCallerLink m_caller;
    CxImage m_background;
    CxImage m_hands;
};
