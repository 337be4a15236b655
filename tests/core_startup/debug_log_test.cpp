#include <cctype>
#include <cstdlib>
#include <string>

#include "core/DebugLog.h"
#include "core/DebugPrint.h"
#include "core/ProcessExit.h"
#include "core/MachineConfig.h"
#include "tests/core_startup/StartupTestSupport.h"

namespace {

class DebugLogTest : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        std::filesystem::create_directories(AppFile("log"));
    }
    std::string Log() const { return root.ReadFile(std::string(kAppFolder) + "log/KD4700.log"); }
    static constexpr char16_t kPath[] = u"\\NandFlash\\zeta42\\log\\KD4700.log";
};

bool AllOf(const std::string& text, size_t from, size_t count, int (*test)(int)) {
    if (from + count > text.size()) return false;
    for (size_t i = from; i < from + count; ++i)
        if (!test(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

int IsUpperHex(int ch) { return std::isdigit(ch) || (ch >= 'A' && ch <= 'F'); }

// A line as the log writes it, "HH:MM:SS(counter),thr 0xXXXXXXXX : text\r";
// the text, or false when the line has another form.
bool LineText(const std::string& line, std::string* text) {
    if (!AllOf(line, 0, 2, isdigit) || line[2] != ':' || !AllOf(line, 3, 2, isdigit) || line[5] != ':' ||
        !AllOf(line, 6, 2, isdigit) || line[8] != '(')
        return false;
    const size_t close = line.find(')', 9);
    if (close == std::string::npos || close == 9 || !AllOf(line, 9, close - 9, isdigit)) return false;
    const std::string thread = ",thr 0x";
    if (line.compare(close + 1, thread.size(), thread) != 0) return false;
    const size_t hex = close + 1 + thread.size();
    if (!AllOf(line, hex, 8, IsUpperHex) || line.compare(hex + 8, 3, " : ") != 0) return false;
    if (line.empty() || line.back() != '\r') return false;
    *text = line.substr(hex + 11, line.size() - hex - 12);
    return true;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TEST_F(DebugLogTest, StartsWithItsHeaderAndEndsWithLogFinished) {
    {
        CDebugLog log;
        log.Open(kPath);
        log.LogW(u"%s", u"hello 100%");
        log.Close();
    }
    const std::vector<std::string> lines = Lines(Log());
    ASSERT_EQ(lines.size(), 4u);
    std::string texts[4];
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(LineText(lines[i], &texts[i])) << lines[i];
    EXPECT_EQ(texts[0], std::string(45, '='));
    EXPECT_EQ(texts[1].rfind("Log is started on ", 0), 0u) << texts[1];
    EXPECT_NE(texts[1].find(", executable: \\NandFlash\\zeta42\\Quillon.exe (ProcID: 0x"), std::string::npos) << texts[1];
    EXPECT_NE(texts[1].find("), compile time : "), std::string::npos) << texts[1];
    EXPECT_EQ(texts[2], "hello 100%");
    EXPECT_EQ(texts[3], "Log finished");
}

TEST_F(DebugLogTest, WideTextIsStoredInGbkAndNarrowTextAsItIs) {
    CDebugLog log;
    log.Open(kPath);
    log.LogW(u"%s", u"中文");
    log.LogA("%s", "\xd6\xd0raw");
    const std::string text = Log();
    EXPECT_NE(text.find(" : \xd6\xd0\xce\xc4\r\n"), std::string::npos);
    EXPECT_NE(text.find(" : \xd6\xd0raw\r\n"), std::string::npos);
}

TEST_F(DebugLogTest, LongMessagesAreDroppedWhole) {
    CDebugLog log;
    log.Open(kPath);
    log.LogW(u"%s", std::u16string(1024, u'a'));
    log.LogW(u"%s", std::u16string(1000, u'b'));  // fits as text, not as a line
    log.LogW(u"%s", std::u16string(900, u'c'));
    const std::string text = Log();
    EXPECT_EQ(text.find("aaaa"), std::string::npos);
    EXPECT_EQ(text.find("bbbb"), std::string::npos);
    EXPECT_NE(text.find(std::string(900, 'c') + "\r\n"), std::string::npos);
}

TEST_F(DebugLogTest, TheFileIsRecreatedOnlyOnTheFirstOpenAndNothingIsWrittenAfterClose) {
    PutAppFile("log/KD4700.log", "old run\r\n");
    CDebugLog log;
    log.Open(kPath);
    log.LogW(u"%s", u"first");
    EXPECT_EQ(Log().find("old run"), std::string::npos);
    log.Close();
    log.Open(kPath);
    log.LogW(u"%s", u"after close");
    const std::string text = Log();
    EXPECT_NE(text.find("first"), std::string::npos);
    EXPECT_EQ(text.find("after close"), std::string::npos);
}

// Serial line noise may log lines all day: the file and its one old file
// stay within the bound, and the newest lines are all there, the old file
// ending where the file begins.
TEST_F(DebugLogTest, WithinARunTheLogStaysBoundedAndKeepsTheNewestLines) {
    PutAppFile("log/KD4700.log.old", "old file of an earlier run\r\n");
    CDebugLog log;
    log.Open(kPath);
    EXPECT_FALSE(std::filesystem::exists(AppFile("log/KD4700.log.old")));
    const std::string filler(900, 'x');
    int count = 0;
    for (uint64_t written = 0; written < 2.5 * CDebugLog::kMaxBytes; written += 950)
        log.LogA("line %06d %s", ++count, filler.c_str());
    const std::string text = Log();
    const std::string old = root.ReadFile(std::string(kAppFolder) + "log/KD4700.log.old");
    EXPECT_LE(text.size(), CDebugLog::kMaxBytes);
    EXPECT_LE(old.size(), CDebugLog::kMaxBytes);
    EXPECT_GT(text.size() + old.size(), CDebugLog::kMaxBytes);
    const auto number = [](const std::string& line) {
        std::string body;
        EXPECT_TRUE(LineText(line, &body)) << line.substr(0, 60);
        return body.rfind("line ", 0) == 0 ? std::stoi(body.substr(5, 6)) : -1;
    };
    const std::vector<std::string> lines = Lines(text), oldLines = Lines(old);
    ASSERT_FALSE(lines.empty());
    ASSERT_FALSE(oldLines.empty());
    EXPECT_EQ(number(lines.back()), count);
    EXPECT_EQ(number(lines.front()), number(oldLines.back()) + 1);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(old.back(), '\n');
}

TEST_F(DebugLogTest, AMissingFolderIsRetriedUntilItExists) {
    std::filesystem::remove_all(AppFile("log"));
    CDebugLog log;
    log.Open(kPath);
    EXPECT_FALSE(log.IsOpen());
    std::filesystem::create_directories(AppFile("log"));
    log.Open(kPath);
    EXPECT_TRUE(log.IsOpen());
}

TEST_F(DebugLogTest, TheProgramsEndWritesTheLastLineAndAPlainExitIsHarmless) {
    EXPECT_EXIT(
        {
            g_pszLogPath = kPath;
            GetLogger().LogW(u"%s", u"last words");
            EndProcess(0);
        },
        ::testing::ExitedWithCode(0), "");
    const std::string text = Log();
    EXPECT_NE(text.find(" : last words\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" : Log finished\r\n"), std::string::npos) << text;
    // Leaving the process with the log still open.
    EXPECT_EXIT(
        {
            g_pszLogPath = kPath;
            GetLogger().LogW(u"%s", u"open at exit");
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(DebugLogTest, DebugPrintTakesPathsAsTextNotAsFormats) {
    const int mode = g_MachineConfig.DEBUGMODE;
    g_MachineConfig.DEBUGMODE = 1;
    const CString path = u"\\Storage Card\\100%s\\%n.txt";
    DebugPrint(u"%s can not be found!", path);
    g_MachineConfig.DEBUGMODE = mode;
    const std::vector<std::u16string> lines = Journal(kJournalDebug);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], u"\\Storage Card\\100%s\\%n.txt can not be found!");
    EXPECT_EQ(lines.back(), u"\r\n");
}

}  // namespace
