#include "core/AppMessageBox.h"

#include <cstdio>
#include <deque>
#include <mutex>

#include "platform/base/debug.h"
#include "platform/base/threads.h"
#include "platform/base/utf.h"
#include "platform/ui/display.h"
#include "platform/ui/messages.h"
#include "platform/ui/script.h"

namespace {

std::mutex g_answerLock;
std::deque<int>& Answers() {
    static std::deque<int> answers;
    return answers;
}

// "answer" goes to the box showing, else it waits for the next box.
const bool g_answerCommand = [] {
    ScriptDriver::RegisterCommand("answer", [](const std::vector<std::string>& args, std::string* error) {
        if (args.size() == 1 && (args[0] == "yes" || args[0] == "no" || args[0] == "ok")) {
            const int answer = args[0] == "yes" ? IDYES : args[0] == "no" ? IDNO : IDOK;
            if (!AnswerShowingMessageBox(answer)) QueueMessageBoxAnswer(answer);
            return true;
        }
        *error = "answer takes yes, no or ok";
        return false;
    });
    return true;
}();

// Someone can answer a box drawn here: a person at the window, or the
// script running on this thread.
bool CanShowHere() {
    if (DisplayThreadId() != GetCurrentThreadId()) return false;
    return DisplayNeedsPolling() || ScriptRunsOnThisThread();
}

}  // namespace

void ReportMessageBox(const CString& text) {
    JournalWrite(kJournalMessageBox, text.str());
    std::string line = Utf16ToUtf8(text.str());
    for (char& ch : line)
        if (ch == '\r' || ch == '\n') ch = ' ';
    std::fprintf(stderr, "message box: %s\n", line.c_str());
}

void QueueMessageBoxAnswer(int answer) {
    std::lock_guard<std::mutex> guard(g_answerLock);
    Answers().push_back(answer);
}

int TakeMessageBoxAnswer(int fallback) {
    std::lock_guard<std::mutex> guard(g_answerLock);
    if (Answers().empty()) return fallback;
    const int answer = Answers().front();
    Answers().pop_front();
    return answer;
}

int AfxMessageBox(LPCWSTR text, UINT type) {
    ReportMessageBox(text);
    const bool question = (type & 0xF) == MB_YESNO;
    const int queued = TakeMessageBoxAnswer(0);
    int answer = queued;
    if (queued == 0) answer = CanShowHere() ? MessageBoxW(nullptr, text, u"", type) : IDOK;
    if (!question) return IDOK;
    return answer == IDYES ? IDYES : IDNO;
}
