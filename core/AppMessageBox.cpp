#include "core/AppMessageBox.h"

#include <cstdio>
#include <deque>
#include <mutex>

#include "platform/base/debug.h"
#include "platform/base/utf.h"
#include "platform/ui/messages.h"
#include "platform/ui/script.h"
#include "platform/ui/winuser.h"

namespace {

std::mutex g_answerLock;
std::deque<int>& Answers() {
    static std::deque<int> answers;
    return answers;
}

const bool g_answerCommand = [] {
    ScriptDriver::RegisterCommand("answer", [](const std::vector<std::string>& args, std::string* error) {
        if (args.size() == 1 && (args[0] == "yes" || args[0] == "no" || args[0] == "ok")) {
            QueueMessageBoxAnswer(args[0] == "yes" ? IDYES : args[0] == "no" ? IDNO : IDOK);
            return true;
        }
        *error = "answer takes yes, no or ok";
        return false;
    });
    return true;
}();

// A box waits for its answer as it would for a person: in a scripted run
// the script goes on meanwhile (start-up asks before any other message loop
// runs) until it answers, quits or ends. Without a script the safe answer
// comes at once.
int WaitForScriptAnswer(int fallback) {
    for (;;) {
        const int answer = TakeMessageBoxAnswer(0);
        if (answer != 0) return answer;
        if (!ScriptRunsOnThisThread()) return fallback;
        MSG msg;
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            // The loop the box was shown over ends too; the script may
            // have answered on its way out.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return TakeMessageBoxAnswer(fallback);
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

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
    JournalWrite(kJournalMessageBox, text);
    // Every box shown is in the program's own output too.
    std::fprintf(stderr, "message box: %s\n", Utf16ToUtf8(text).c_str());
    const bool question = (type & 0xF) == MB_YESNO;
    const int answer = WaitForScriptAnswer(question ? IDNO : IDOK);
    if (!question) return IDOK;
    return answer == IDYES ? IDYES : IDNO;
}
