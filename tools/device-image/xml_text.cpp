#include "tools/device-image/xml_text.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace factory {

std::string XmlEscaped(const std::string& text) {
    std::string out;
    for (char ch : text) {
        switch (ch) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += ch;
        }
    }
    return out;
}

std::string XmlDocumentText(const std::string& rootName, const std::vector<XmlGroup>& groups) {
    std::string out = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<" + rootName + ">\r\n";
    for (const XmlGroup& group : groups) {
        out += "  <" + group.name + ">\r\n";
        for (const auto& [name, text] : group.children)
            out += "    <" + name + ">" + XmlEscaped(text) + "</" + name + ">\r\n";
        out += "  </" + group.name + ">\r\n";
    }
    return out + "</" + rootName + ">\r\n";
}

void EnsureParentFolder(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent);
}

void WriteTextFile(const std::string& path, const std::string& bytes) {
    EnsureParentFolder(path);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

}  // namespace factory
