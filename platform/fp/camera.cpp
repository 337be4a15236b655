#include "platform/fp/camera.h"

#include "platform/fp/greyimage.h"

namespace {

// Colour bars with a bright band that walks down the picture, so that a
// live preview visibly moves.
void TestCard(uint32_t frameNumber, int width, int height, uint8_t* bgr) {
    static constexpr uint8_t kBars[8][3] = {{255, 255, 255}, {0, 255, 255}, {255, 255, 0}, {0, 255, 0},
                                            {255, 0, 255},   {0, 0, 255},   {255, 0, 0},   {0, 0, 0}};
    const int band = static_cast<int>((frameNumber * 4) % static_cast<uint32_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* px = bgr + (static_cast<size_t>(y) * width + x) * 3;
            const uint8_t* bar = kBars[x * 8 / width];
            const bool lit = y >= band && y < band + 8;
            for (int c = 0; c < 3; ++c) px[c] = lit ? 255 : bar[c];
        }
    }
}

}  // namespace

void CameraFrame(const std::string& picturePath, uint32_t frameNumber, int width, int height, uint8_t* bgr) {
    GreyImage picture;
    if (picturePath.empty() || !ReadGreyBmp(picturePath, &picture)) {
        TestCard(frameNumber, width, height, bgr);
        return;
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t grey = picture.At(x * picture.width / width, y * picture.height / height);
            uint8_t* px = bgr + (static_cast<size_t>(y) * width + x) * 3;
            px[0] = px[1] = px[2] = grey;
        }
    }
}
