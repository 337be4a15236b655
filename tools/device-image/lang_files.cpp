#include "tools/device-image/lang_files.h"

#include "tools/device-image/xml_text.h"

namespace factory {

std::string LanguageFileText(const std::vector<TextRow>& rows, Language language) {
    std::vector<XmlGroup> sections;
    for (const TextRow& row : rows) {
        XmlGroup* section = nullptr;
        for (XmlGroup& s : sections)
            if (s.name == row.section) section = &s;
        if (!section) section = &sections.emplace_back(XmlGroup{row.section, {}});
        section->children.emplace_back(row.key, language == Language::English ? row.english : row.chinese);
    }
    return XmlDocumentText("LANGUAGE", sections);
}

void WriteLanguageFiles(const std::vector<TextRow>& rows, const std::string& langFolder) {
    WriteTextFile(langFolder + "/English.LAN", LanguageFileText(rows, Language::English));
    WriteTextFile(langFolder + "/Chinese.LAN", LanguageFileText(rows, Language::Chinese));
}

}  // namespace factory
