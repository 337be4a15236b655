// CLDDateCtrl: a date (year / month / day) or time (hour / minute / second)
// typed on the keypad into three numeric fields (CEditST) that sit side by
// side on a skinned select-button face. The fields are made, filled from the
// local clock and bounded when the control is attached to its dialog item;
// Left and Right move the focus between them, wrapping at both ends.
//
// The control itself announces nothing: Enter and the other keys are left
// to the page. A tap beside the fields reaches the page as the canvas's
// WM_COMMAND.
#pragma once

#include <array>
#include <memory>

#include "widgets/EditST.h"
#include "widgets/SelectButton.h"

class CLDDateCtrl : public CSelectButton {
    DECLARE_DYNAMIC(CLDDateCtrl)

public:
    explicit CLDDateCtrl(bool dateMode = true) : m_dateMode(dateMode) {}
    ~CLDDateCtrl() override;

    // Ranges and first values follow the mode in force when the control is
    // attached; the separators follow it at every paint.
    void SetDateMode(bool dateMode) { m_dateMode = dateMode; }

    // Each field's number; -1 when its text is not a number or the control
    // is not attached yet. The mode is not checked: the year and the hour
    // are both the first field.
    int GetYear() const { return FieldValue(0); }
    int GetMonth() const { return FieldValue(1); }
    int GetDay() const { return FieldValue(2); }
    int GetHour() const { return FieldValue(0); }
    int GetMinute() const { return FieldValue(1); }
    int GetSecond() const { return FieldValue(2); }

    // Write the field as "%02d" without repainting; nothing before the
    // control is attached.
    void SetHour(int hour) { SetField(0, hour); }
    void SetMinute(int minute) { SetField(1, minute); }
    void SetSecond(int second) { SetField(2, second); }

    // Every field "00", repainted at once.
    void Clear();

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnPaint() override;

private:
    static constexpr int kFieldCount = 3;

    int FieldValue(int index) const;
    void SetField(int index, int value);
    void CreateFields();
    void LayOutFields();
    // The field that has the focus, or -1.
    int FocusedField() const;

    // First to third, which is also the focus order.
    std::array<std::unique_ptr<CEditST>, kFieldCount> m_fields;
    bool m_dateMode;
};
