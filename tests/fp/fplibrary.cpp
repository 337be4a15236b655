#include "tests/fp/fplibrary.h"

#include "platform/fp/synthfinger.h"

std::vector<BYTE> FpLibraries::Template(uint32_t finger, uint32_t impression) const {
    int width, height;
    FpImageSize(8, &width, &height);
    return Template(SynthesizeFinger(finger, impression, width, height));
}

std::vector<BYTE> FpLibraries::Template(const GreyImage& image) const {
    auto extract = process.Get<FpProcessFn>("VeltoProcess");
    std::vector<BYTE> work(kFpImageBytes);
    std::vector<BYTE> tmpl(kFpTemplateBytes);
    if (!extract || extract(image.pixels.data(), tmpl.data(), work.data(), 1, 0) != 0) return {};
    return tmpl;
}
