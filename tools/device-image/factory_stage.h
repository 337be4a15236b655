// The generated part of the factory image, written into a staging device root.
#pragma once

#include <string>
#include <vector>

namespace factory {

// The application folder below the device root.
inline constexpr const char* kAppFolder = "NandFlash/zeta42";
inline constexpr const char* kSkinName = "flower";

// Program files the installation check looks for that the host build does
// not produce: each is a short text naming what it stands for.
const std::vector<std::string>& ProgramStandIns();

void WriteGeneratedStage(const std::string& stageRoot, const std::string& textsTable);

}  // namespace factory
