// Every text the application looks up is in both factory language files, and
// the files say what the text table says, in the layout the lookup expects:
// one element per section under the root, one child per key.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/device-image/image_files.h"
#include "tools/device-image/texts_table.h"

namespace {

namespace fs = std::filesystem;
using SectionKey = std::pair<std::string, std::string>;
using LanguageFile = std::map<SectionKey, std::string>;

std::string Unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const size_t end = text.find(';', i);
        const std::string entity = text.substr(i + 1, end - i - 1);
        out += entity == "lt" ? '<' : entity == "gt" ? '>' : entity == "amp" ? '&' : entity == "quot" ? '"' : '?';
        i = end;
    }
    return out;
}

// Reads the two-level layout: root, then sections, then keys with their text.
LanguageFile ParseLanguageFile(const std::string& bytes) {
    EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    LanguageFile file;
    std::vector<std::string> open;
    size_t pos = bytes.find("?>") + 2;
    while ((pos = bytes.find('<', pos)) != std::string::npos) {
        const size_t close = bytes.find('>', pos);
        const std::string tag = bytes.substr(pos + 1, close - pos - 1);
        if (tag.starts_with("/")) {
            EXPECT_FALSE(open.empty());
            EXPECT_EQ(tag.substr(1), open.back());
            open.pop_back();
        } else if (open.size() == 2) {
            const size_t end = bytes.find("</" + tag + ">", close);
            EXPECT_NE(end, std::string::npos) << tag;
            const SectionKey id{open[1], tag};
            EXPECT_EQ(file.count(id), 0u) << open[1] << "/" << tag << " twice";
            file[id] = Unescaped(bytes.substr(close + 1, end - close - 1));
            pos = end + tag.size() + 3;
            continue;
        } else {
            open.push_back(tag);
        }
        pos = close + 1;
    }
    EXPECT_TRUE(open.empty());
    return file;
}

const LanguageFile& Language(const std::string& name) {
    static std::map<std::string, LanguageFile> files;
    if (!files.count(name))
        files[name] = ParseLanguageFile(
            imagetest::ReadFile(imagetest::FactoryImage() / "NandFlash/zeta42/LANG" / (name + ".LAN")));
    return files[name];
}

// Look-ups whose section and key are written in the call: GetLangText(u"S", u"K", ...),
// with or without _T(), also GetLangTextRaw.
std::set<SectionKey> LookupsIn(const std::string& source) {
    static const std::regex call(
        R"re(GetLangText(?:Raw)?\s*\(\s*(?:_T\s*\(\s*)?u?"([^"]+)"\s*\)?\s*,\s*(?:_T\s*\(\s*)?u?"([^"]+)")re");
    std::set<SectionKey> found;
    for (std::sregex_iterator it(source.begin(), source.end(), call), end; it != end; ++it)
        found.insert({(*it)[1].str(), (*it)[2].str()});
    return found;
}

std::set<SectionKey> LookupsInApplication() {
    const char* root = std::getenv("QUILLON_SOURCE_DIR");
    if (!root) root = QUILLON_SOURCE_DIR_FALLBACK;
    std::set<SectionKey> found;
    for (const char* folder : {"core", "data", "widgets", "main", "comm", "panel", "rules", "users", "transfer"}) {
        const fs::path dir = fs::path(root) / folder;
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            for (const SectionKey& id : LookupsIn(imagetest::ReadFile(entry.path()))) found.insert(id);
        }
    }
    return found;
}

TEST(LanguageKeys, TheSourceWalkFindsLookupsInTheirUsualForms) {
    const std::set<SectionKey> found = LookupsIn(
        "GetLangText(u\"CLDMessageBox\", u\"LDmb1\", u\"Yes(OK)\", label);\n"
        "GetLangText(_T(\"CCPTreeAddUser\"), _T(\"U0037\"),\n    _T(\"x\"), text);\n"
        "if (GetLangTextRaw( u\"CUpdateDlg\" , u\"ud0\", out)) {}\n"
        "GetLangText(section, key, def, out);  // not literal: not counted\n");
    const std::set<SectionKey> expected = {
        {"CLDMessageBox", "LDmb1"}, {"CCPTreeAddUser", "U0037"}, {"CUpdateDlg", "ud0"}};
    EXPECT_EQ(found, expected);
}

TEST(LanguageKeys, EveryLookupInTheApplicationIsInBothFiles) {
    const std::set<SectionKey> lookups = LookupsInApplication();
    RecordProperty("lookups", static_cast<int>(lookups.size()));
    for (const char* language : {"English", "Chinese"}) {
        for (const SectionKey& id : lookups)
            EXPECT_EQ(Language(language).count(id), 1u) << id.first << "/" << id.second << " missing from " << language;
    }
}

TEST(LanguageKeys, FilesHoldTheTextTable) {
    const std::vector<factory::TextRow> rows = factory::ReadTextTable(QUILLON_TEXTS_TABLE);
    ASSERT_GT(rows.size(), 200u);
    for (const factory::TextRow& row : rows) {
        const SectionKey id{row.section, row.key};
        ASSERT_EQ(Language("English").count(id), 1u) << row.key;
        ASSERT_EQ(Language("Chinese").count(id), 1u) << row.key;
        EXPECT_EQ(Language("English").at(id), row.english);
        EXPECT_EQ(Language("Chinese").at(id), row.chinese);
        // Every shown text has words in both languages (the character-set name may be empty).
        if (row.key != "libiconv") {
            EXPECT_FALSE(row.english.empty()) << row.key;
            EXPECT_FALSE(row.chinese.empty()) << row.key;
        }
    }
    EXPECT_EQ(Language("English").size(), rows.size());
    EXPECT_EQ(Language("English").at({"CCPTreeRegFP", "R0024"}), "<-/Try Again");  // escaped and read back
}

TEST(LanguageKeys, FormatsAgreeBetweenTheLanguages) {
    // A translation must take the same printf arguments as the default it replaces.
    const std::regex conversion("%[-+ 0#]*[0-9]*(?:\\.[0-9]+)?(?:I64|l)?[a-zA-Z]");
    for (const factory::TextRow& row : factory::ReadTextTable(QUILLON_TEXTS_TABLE)) {
        std::string chinese, english;
        for (std::sregex_iterator it(row.chinese.begin(), row.chinese.end(), conversion), end; it != end; ++it) chinese += it->str();
        for (std::sregex_iterator it(row.english.begin(), row.english.end(), conversion), end; it != end; ++it) english += it->str();
        EXPECT_EQ(english, chinese) << row.section << "/" << row.key;
    }
}

TEST(LanguageKeys, LanguageSwitchesKeepTheDefaultBehaviour) {
    for (const char* language : {"English", "Chinese"}) {
        EXPECT_EQ(Language(language).at({"language", "bidi"}), "0");
        EXPECT_EQ(Language(language).at({"language", "ft"}), "0");
        EXPECT_EQ(Language(language).at({"language", "order"}), "0");
        // Present and empty: no character-set conversion, the code page serves.
        EXPECT_EQ(Language(language).at({"language", "libiconv"}), "");
    }
}

}  // namespace
