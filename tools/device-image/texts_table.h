// The factory user-interface texts, read from assets/lang/texts.tsv: one row
// per (section, key) with the built-in Chinese default and the English text.
#pragma once

#include <string>
#include <vector>

namespace factory {

struct TextRow {
    std::string section;
    std::string key;
    std::string chinese;  // the built-in default, or the Chinese text given for an empty default
    std::string english;
};

// Rows in file order; "\t" in a field becomes a tab. Comment lines start with
// '#'. Throws std::runtime_error naming the line when a row is malformed or a
// (section, key) pair repeats.
std::vector<TextRow> ReadTextTable(const std::string& path);

}  // namespace factory
