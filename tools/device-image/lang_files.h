// LANG\English.LAN and LANG\Chinese.LAN from the text table: one element per
// section (in the order the table first names it), one child per key.
#pragma once

#include <string>
#include <vector>

#include "tools/device-image/texts_table.h"

namespace factory {

enum class Language { English, Chinese };

std::string LanguageFileText(const std::vector<TextRow>& rows, Language language);
void WriteLanguageFiles(const std::vector<TextRow>& rows, const std::string& langFolder);

}  // namespace factory
