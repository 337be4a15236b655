#include "tools/device-image/skin/catalogue.h"

#include <algorithm>
#include <cctype>

namespace skin {
namespace {

std::string HostPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool IsBmp(const std::string& path) {
    std::string ext = path.substr(path.size() - 4);
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ext == ".bmp";
}

}  // namespace

const std::vector<SkinImage>& Catalogue() {
    static const std::vector<SkinImage> images = [] {
        std::vector<SkinImage> out;
        AddSplashImages(out);
        AddMainScreenImages(out);
        AddClockImages(out);
        AddControlPanelImages(out);
        AddDialogImages(out);
        AddFrameImages(out);
        AddMessageBoxImages(out);
        return out;
    }();
    return images;
}

Canvas Render(const SkinImage& image) {
    Canvas canvas(image.width, image.height);
    image.paint(canvas);
    return canvas;
}

void WriteSkin(const std::string& skinRoot, const std::string& skinName) {
    for (const SkinImage& image : Catalogue()) {
        const std::string path = skinRoot + "/" + (image.inSkinRoot ? "" : skinName + "/") + HostPath(image.path);
        const Canvas canvas = Render(image);
        if (IsBmp(image.path)) canvas.SaveBmp(path);
        else canvas.SavePng(path);
    }
}

Canvas ContactSheet() {
    constexpr int kWidth = 1400, kGap = 12, kLabel = 14;
    // Small images are shown twice their size; rows are packed in catalogue order.
    struct Placed {
        const SkinImage* image;
        int x, y, scale;
    };
    std::vector<Placed> placed;
    int x = kGap, y = kGap, rowHeight = 0;
    for (const SkinImage& image : Catalogue()) {
        const int scale = std::max(image.width, image.height) <= 64 ? 2 : 1;
        const int w = std::max(image.width * scale, 76), h = image.height * scale + kLabel;
        if (x + w + kGap > kWidth) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        placed.push_back({&image, x, y, scale});
        x += w + kGap;
        rowHeight = std::max(rowHeight, h);
    }
    Canvas sheet(kWidth, y + rowHeight + kGap, Rgb(0x2B3038));
    for (const Placed& p : placed) {
        const float w = static_cast<float>(p.image->width * p.scale), h = static_cast<float>(p.image->height * p.scale);
        // A quiet chequer shows where an image is transparent.
        sheet.Fill(RoundRect(static_cast<float>(p.x), static_cast<float>(p.y), w, h, 0), [](float px, float py) {
            return ((static_cast<int>(px) / 8 + static_cast<int>(py) / 8) % 2) ? Rgb(0x59626F) : Rgb(0x6A7482);
        });
        sheet.Draw(Render(*p.image), p.x, p.y, p.scale);
        std::string name = p.image->path.substr(p.image->path.find_last_of('\\') + 1);
        if (name.size() > 14) name = name.substr(0, 13) + "…";
        sheet.Text(SansFont(), 10, name, static_cast<float>(p.x), static_cast<float>(p.y) + h + 11, Solid(Rgb(0xE8E8E8)));
    }
    return sheet;
}

}  // namespace skin
