// Every image of the factory skin: its path, its size and how it is drawn.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/device-image/skin/canvas.h"

namespace skin {

struct SkinImage {
    // Relative to the skin folder ("Dialog\\abc_1.png"), or to the skin root
    // ("SKIN\\") for the splash pictures, with backslashes as the terminal writes them.
    std::string path;
    bool inSkinRoot = false;
    int width = 0;
    int height = 0;
    std::function<void(Canvas&)> paint;
};

const std::vector<SkinImage>& Catalogue();
Canvas Render(const SkinImage& image);
// Writes every image under the skin root folder (the host folder for "SKIN\\"),
// into skinRoot/<skinName>/...; BMP or PNG by the file's extension.
void WriteSkin(const std::string& skinRoot, const std::string& skinName);

// One sheet showing every image on a chequered ground with its name.
Canvas ContactSheet();

// The groups the catalogue is made of.
void AddSplashImages(std::vector<SkinImage>& out);
void AddMainScreenImages(std::vector<SkinImage>& out);
void AddClockImages(std::vector<SkinImage>& out);
void AddControlPanelImages(std::vector<SkinImage>& out);
void AddDialogImages(std::vector<SkinImage>& out);
void AddFrameImages(std::vector<SkinImage>& out);
void AddMessageBoxImages(std::vector<SkinImage>& out);

}  // namespace skin
