#include "tools/device-image/texts_table.h"

#include <fstream>
#include <set>
#include <stdexcept>
#include <utility>

namespace factory {
namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

std::string Unescaped(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 1 < field.size() && field[i + 1] == 't') {
            out += '\t';
            ++i;
        } else {
            out += field[i];
        }
    }
    return out;
}

}  // namespace

std::vector<TextRow> ReadTextTable(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<TextRow> rows;
    std::set<std::pair<std::string, std::string>> seen;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = SplitTabs(line);
        const std::string where = path + ":" + std::to_string(number);
        if (f.size() < 4 || f.size() > 5 || f[0].empty() || f[1].empty())
            throw std::runtime_error(where + ": expected section, key, default, English [, Chinese for an empty default]");
        if (f.size() == 5 && !f[2].empty()) throw std::runtime_error(where + ": a Chinese text is given for a non-empty default");
        if (!seen.insert({f[0], f[1]}).second) throw std::runtime_error(where + ": " + f[0] + "/" + f[1] + " repeats");
        rows.push_back({f[0], f[1], Unescaped(f.size() == 5 ? f[4] : f[2]), Unescaped(f[3])});
    }
    return rows;
}

}  // namespace factory
