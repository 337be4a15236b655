// The small XML documents of the factory image (language files, config.xml):
// UTF-8 with a byte order mark and a declaration, one element per line.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace factory {

std::string XmlEscaped(const std::string& text);

// A root element holding groups, each a list of (name, text) children.
struct XmlGroup {
    std::string name;
    std::vector<std::pair<std::string, std::string>> children;
};
std::string XmlDocumentText(const std::string& rootName, const std::vector<XmlGroup>& groups);

// Writes the bytes, creating the folders on the way.
void WriteTextFile(const std::string& path, const std::string& bytes);
void EnsureParentFolder(const std::string& path);

}  // namespace factory
