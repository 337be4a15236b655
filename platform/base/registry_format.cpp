#include "platform/base/registry_format.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/base/nocase.h"
#include "platform/base/utf.h"

namespace {

constexpr char kHeader[] = "Windows Registry Editor Version 5.00";
constexpr size_t kHexLineWidth = 76;

std::u16string TextOfData(const std::vector<BYTE>& data) {
    std::u16string text(data.size() / 2, u'\0');
    if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * 2);
    return text;
}

std::vector<BYTE> DataOfText(const std::u16string& text) {
    std::vector<BYTE> data((text.size() + 1) * 2, 0);
    std::memcpy(data.data(), text.data(), text.size() * 2);
    return data;
}

std::string Quoted(std::u16string_view text) {
    std::string out = "\"";
    for (char ch : Utf16ToUtf8(text)) {
        if (ch == '"' || ch == '\\') out += '\\';
        out += ch;
    }
    return out + "\"";
}

// A REG_SZ written as a quoted text must read back byte for byte: one
// terminating zero, no other zero, no line break, valid UTF-16.
bool FitsQuotedText(const RegValue& value) {
    if (value.type != 1 || value.data.size() < 2 || value.data.size() % 2) return false;
    const std::u16string text = TextOfData(value.data);
    if (text.back() != u'\0') return false;
    const std::u16string_view body(text.data(), text.size() - 1);
    if (body.find_first_of(std::u16string_view(u"\0\r\n", 3)) != std::u16string_view::npos) return false;
    return Utf8ToUtf16(Utf16ToUtf8(body)) == body;
}

std::string HexData(const RegValue& value, size_t prefixLength) {
    char type[16];
    std::snprintf(type, sizeof type, "hex(%x):", static_cast<unsigned>(value.type));
    std::string out = value.type == 3 ? "hex:" : type;
    size_t column = prefixLength + out.size();
    for (size_t i = 0; i < value.data.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x", value.data[i]);
        out += byte;
        column += 2;
        if (i + 1 < value.data.size()) {
            out += ',';
            ++column;
            if (column >= kHexLineWidth) {
                out += "\\\n  ";
                column = 2;
            }
        }
    }
    return out;
}

std::string ValueLine(const RegValue& value) {
    std::string line = value.name.empty() ? "@" : Quoted(value.name);
    line += '=';
    if (FitsQuotedText(value)) {
        const std::u16string text = TextOfData(value.data);
        return line + Quoted(std::u16string_view(text.data(), text.size() - 1));
    }
    if (value.type == 4 && value.data.size() == 4) {
        DWORD number;
        std::memcpy(&number, value.data.data(), 4);
        char hex[16];
        std::snprintf(hex, sizeof hex, "dword:%08x", number);
        return line + hex;
    }
    return line + HexData(value, line.size());
}

// Depth first, keys before their subkeys, on a stack of its own rather than
// the program's.
void SerializeRoot(const RegKey& root, std::string& out) {
    std::vector<std::pair<const RegKey*, std::string>> pending = {{&root, Utf16ToUtf8(root.name)}};
    while (!pending.empty()) {
        const auto [key, path] = std::move(pending.back());
        pending.pop_back();
        if (!key->values.empty() || (key != &root && key->subkeys.empty())) {
            out += "[" + path + "]\n";
            for (const RegValue& value : key->values) out += ValueLine(value) + "\n";
            out += "\n";
        }
        for (auto it = key->subkeys.rbegin(); it != key->subkeys.rend(); ++it)
            pending.emplace_back(it->second.get(), path + "\\" + Utf16ToUtf8(it->second->name));
    }
}

// ---- parsing ----

std::u16string DecodeFile(std::string_view text) {
    if (text.size() >= 2 && static_cast<BYTE>(text[0]) == 0xFF && static_cast<BYTE>(text[1]) == 0xFE) {
        std::u16string wide((text.size() - 2) / 2, u'\0');
        std::memcpy(wide.data(), text.data() + 2, wide.size() * 2);
        // An unpaired surrogate reads as U+FFFD, as the next write puts it:
        // otherwise a key would change its name, and its place, on a write.
        return Utf8ToUtf16(Utf16ToUtf8(wide));
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return Utf8ToUtf16(text);
}

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t' || text.back() == u'\r')) text.remove_suffix(1);
    return text;
}

// Physical lines joined where a hex list goes on after a trailing backslash.
std::vector<std::u16string> LogicalLines(std::u16string_view text) {
    std::vector<std::u16string> lines;
    std::u16string current;
    bool continuing = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(u'\n', pos);
        if (end == std::u16string_view::npos) end = text.size();
        std::u16string_view line = Trimmed(text.substr(pos, end - pos));
        pos = end + 1;
        const bool continues = !line.empty() && line.back() == u'\\' && line.front() != u'[';
        if (continues) line.remove_suffix(1);
        if (!continuing) current.clear();
        current += line;
        continuing = continues;
        if (!continuing) lines.push_back(current);
    }
    if (continuing) lines.push_back(current);
    return lines;
}

// Reads a quoted text at the start of `rest` and moves past it.
bool ReadQuoted(std::u16string_view& rest, std::u16string& out) {
    if (rest.empty() || rest.front() != u'"') return false;
    out.clear();
    for (size_t i = 1; i < rest.size(); ++i) {
        if (rest[i] == u'\\' && i + 1 < rest.size()) {
            out += rest[++i];
        } else if (rest[i] == u'"') {
            rest.remove_prefix(i + 1);
            return true;
        } else {
            out += rest[i];
        }
    }
    return false;
}

int HexDigit(char16_t ch) {
    if (ch >= u'0' && ch <= u'9') return ch - u'0';
    if (ch >= u'a' && ch <= u'f') return ch - u'a' + 10;
    if (ch >= u'A' && ch <= u'F') return ch - u'A' + 10;
    return -1;
}

bool ReadHexNumber(std::u16string_view text, DWORD& number) {
    if (text.empty() || text.size() > 8) return false;
    number = 0;
    for (char16_t ch : text) {
        const int digit = HexDigit(ch);
        if (digit < 0) return false;
        number = number * 16 + static_cast<DWORD>(digit);
    }
    return true;
}

bool ReadHexBytes(std::u16string_view text, std::vector<BYTE>& bytes) {
    bytes.clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(u',', pos);
        if (end == std::u16string_view::npos) end = text.size();
        DWORD byte;
        const std::u16string_view item = Trimmed(text.substr(pos, end - pos));
        if (item.size() > 2 || !ReadHexNumber(item, byte)) return false;
        bytes.push_back(static_cast<BYTE>(byte));
        pos = end + 1;
    }
    return true;
}

bool ReadData(std::u16string_view text, RegValue& value) {
    std::u16string quoted;
    if (ReadQuoted(text, quoted)) {
        value.type = 1;
        value.data = DataOfText(quoted);
        return Trimmed(text).empty();
    }
    if (text.substr(0, 6) == u"dword:") {
        DWORD number;
        if (!ReadHexNumber(text.substr(6), number)) return false;
        value.type = 4;
        value.data.resize(4);
        std::memcpy(value.data.data(), &number, 4);
        return true;
    }
    if (text.substr(0, 4) == u"hex:") {
        value.type = 3;
        return ReadHexBytes(text.substr(4), value.data);
    }
    if (text.substr(0, 4) == u"hex(") {
        const size_t close = text.find(u"):");
        return close != std::u16string_view::npos && ReadHexNumber(text.substr(4, close - 4), value.type) &&
               ReadHexBytes(text.substr(close + 2), value.data);
    }
    return false;
}

// The key a section line names, made with the keys on its way; null for an
// unknown root, and null with `beyondLimits` set for a key the registry
// cannot hold.
std::shared_ptr<RegKey> KeyOfSection(RegistryTree& tree, std::u16string_view path, bool& beyondLimits) {
    const size_t slash = path.find(u'\\');
    const std::u16string_view rootName = path.substr(0, slash);
    for (int i = 0; i < kRegistryRootCount; ++i) {
        if (!EqualNoCase(rootName, RegistryRootName(i))) continue;
        std::vector<std::u16string_view> parts;
        for (size_t pos = slash; pos != std::u16string_view::npos;) {
            const size_t end = path.find(u'\\', pos + 1);
            const std::u16string_view part = path.substr(pos + 1, end == std::u16string_view::npos ? end : end - pos - 1);
            if (!part.empty()) parts.push_back(part);
            pos = end;
        }
        beyondLimits = !RegistryKeyFits(0, parts);
        if (beyondLimits) return nullptr;
        std::shared_ptr<RegKey> key = tree.roots[i];
        for (const std::u16string_view part : parts) key = key->AddSubkey(part);
        return key;
    }
    return nullptr;
}

void ParseValueLine(std::u16string_view line, RegKey& key) {
    RegValue value;
    if (line.front() == u'@') {
        line.remove_prefix(1);
    } else if (!ReadQuoted(line, value.name)) {
        return;
    }
    line = Trimmed(line);
    if (line.empty() || line.front() != u'=') return;
    line = Trimmed(line.substr(1));
    if (line == u"-") {
        std::erase_if(key.values, [&](const RegValue& v) { return EqualNoCase(v.name, value.name); });
        return;
    }
    if (!ReadData(line, value)) return;
    if (RegValue* existing = key.FindValue(value.name)) {
        existing->type = value.type;
        existing->data = std::move(value.data);
    } else {
        key.values.push_back(std::move(value));
    }
}

}  // namespace

RegValue* RegKey::FindValue(std::u16string_view valueName) {
    for (RegValue& value : values)
        if (EqualNoCase(value.name, valueName)) return &value;
    return nullptr;
}

std::shared_ptr<RegKey> RegKey::FindSubkey(std::u16string_view keyName) const {
    auto it = subkeys.find(UpperCase(keyName));
    return it == subkeys.end() ? nullptr : it->second;
}

std::shared_ptr<RegKey> RegKey::AddSubkey(std::u16string_view keyName) {
    std::shared_ptr<RegKey>& slot = subkeys[UpperCase(keyName)];
    if (!slot) {
        slot = std::make_shared<RegKey>();
        slot->name = keyName;
        slot->depth = depth + 1;
    }
    return slot;
}

bool RegistryKeyFits(size_t depth, const std::vector<std::u16string_view>& parts) {
    if (depth + parts.size() > kMaxRegistryKeyDepth) return false;
    return std::all_of(parts.begin(), parts.end(),
                       [](std::u16string_view part) { return part.size() <= kMaxRegistryKeyName; });
}

void RegKey::MarkDeleted() {
    deleted = true;
    for (auto& [folded, subkey] : subkeys) subkey->MarkDeleted();
}

RegistryTree::RegistryTree() {
    for (int i = 0; i < kRegistryRootCount; ++i) {
        roots[i] = std::make_shared<RegKey>();
        roots[i]->name = RegistryRootName(i);
    }
}

const char16_t* RegistryRootName(int index) {
    static const char16_t* const names[kRegistryRootCount] = {u"HKEY_CLASSES_ROOT", u"HKEY_CURRENT_USER",
                                                              u"HKEY_LOCAL_MACHINE", u"HKEY_USERS"};
    return names[index];
}

std::string SerializeRegistry(const RegistryTree& tree) {
    std::string out = std::string(kHeader) + "\n\n";
    for (const auto& root : tree.roots) SerializeRoot(*root, out);
    return out;
}

RegistryTree ParseRegistry(std::string_view text, bool* beyondLimits) {
    RegistryTree tree;
    std::shared_ptr<RegKey> current;
    bool beyond = false;
    for (const std::u16string& line : LogicalLines(DecodeFile(text))) {
        if (line.empty() || line.front() == u';') continue;
        if (line.front() == u'[') {
            const size_t close = line.rfind(u']');
            const bool removal = line.size() > 1 && line[1] == u'-';
            current = (close == std::u16string::npos || removal)
                          ? nullptr
                          : KeyOfSection(tree, std::u16string_view(line).substr(1, close - 1), beyond);
            if (beyond) break;
        } else if (current) {
            ParseValueLine(line, *current);
        }
    }
    if (beyondLimits) *beyondLimits = beyond;
    return beyond ? RegistryTree() : tree;
}
