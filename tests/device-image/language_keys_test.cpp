// Every text the application looks up is in both factory language files, and
// the files say what the text table says, in the layout the lookup expects:
// one element per section under the root, one child per key.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
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

// Reads a string literal argument at pos: optional blanks, an optional _T( ),
// an optional u prefix and the quoted text. Moves pos past it.
bool ReadLiteralArgument(const std::string& text, size_t& pos, std::string& out) {
    const auto skipBlanks = [&] {
        while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    };
    skipBlanks();
    bool wrapped = false;
    if (text.compare(pos, 2, "_T") == 0) {
        pos += 2;
        skipBlanks();
        if (pos >= text.size() || text[pos] != '(') return false;
        ++pos;
        skipBlanks();
        wrapped = true;
    }
    if (pos < text.size() && text[pos] == 'u') ++pos;
    if (pos >= text.size() || text[pos] != '"') return false;
    const size_t end = text.find('"', pos + 1);
    if (end == std::string::npos) return false;
    out = text.substr(pos + 1, end - pos - 1);
    pos = end + 1;
    skipBlanks();
    if (wrapped) {
        if (pos >= text.size() || text[pos] != ')') return false;
        ++pos;
        skipBlanks();
    }
    return true;
}

// Look-ups whose section and key are written in the call: GetLangText(u"S", u"K", ...),
// with or without _T(), also GetLangTextRaw.
std::set<SectionKey> LookupsIn(const std::string& source) {
    std::set<SectionKey> found;
    const std::string name = "GetLangText";
    for (size_t at = source.find(name); at != std::string::npos; at = source.find(name, at + 1)) {
        size_t pos = at + name.size();
        if (source.compare(pos, 3, "Raw") == 0) pos += 3;
        while (pos < source.size() && std::isspace(static_cast<unsigned char>(source[pos]))) ++pos;
        if (pos >= source.size() || source[pos] != '(') continue;
        ++pos;
        std::string section, key;
        if (!ReadLiteralArgument(source, pos, section) || pos >= source.size() || source[pos] != ',') continue;
        ++pos;
        if (ReadLiteralArgument(source, pos, key)) found.insert({section, key});
    }
    return found;
}

// The printf conversions of a text, in order ("%d%s"), flags and widths included.
std::string Conversions(const std::string& text) {
    std::string out;
    for (size_t pos = text.find('%'); pos != std::string::npos; pos = text.find('%', pos + 1)) {
        size_t end = pos + 1;
        while (end < text.size() && std::strchr("-+ 0#.123456789", text[end])) ++end;
        if (text.compare(end, 3, "I64") == 0) end += 3;
        else if (end < text.size() && text[end] == 'l') ++end;
        if (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end]))) out += text.substr(pos, end - pos + 1);
    }
    return out;
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
    EXPECT_EQ(Conversions("zone %d%s %s~%s, 100%"), "%d%s%s%s");
    for (const factory::TextRow& row : factory::ReadTextTable(QUILLON_TEXTS_TABLE))
        EXPECT_EQ(Conversions(row.english), Conversions(row.chinese)) << row.section << "/" << row.key;
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
