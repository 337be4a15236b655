#include "rules/LeaveQuestions.h"

#include "core/AppMessageBox.h"
#include "core/LangText.h"
#include "core/ShowMessage.h"

bool AskYesNo(const CString& text) {
    return ShowMessageEx(text, static_cast<int>(MB_YESNO | MB_ICONQUESTION)) == IDYES;
}

bool UserStaysToStore(LPCWSTR section, const std::vector<LeaveQuestion>& questions) {
    for (const LeaveQuestion& question : questions) {
        if (!question.changed) continue;
        CString text;
        GetLangText(section, question.key, question.defaultText, text);
        if (AskYesNo(text)) return true;
    }
    return false;
}
