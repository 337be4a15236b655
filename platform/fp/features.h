// Feature extraction: from a grey sensor image to the 169-byte template.
#pragma once

#include <cstdint>

#include "platform/fp/fptemplate.h"
#include "platform/fp/greyimage.h"

enum class ExtractResult {
    Ok,
    NoFinger,       // too little ridge area: nothing or a smear lies on the sensor
    NoCore,         // ridges, but no core to measure them from
    TooFewFeatures  // the finger lies too far off the sensor
};

ExtractResult ExtractTemplate(const GreyImage& image, uint8_t out[kTemplateSize]);
// The template of a live press, followed by up to `mostOtherViews` more
// views of it, each measured from another place its core may lie (out
// holds (1 + mostOtherViews) * kTemplateSize bytes). The template is the
// one ExtractTemplate makes but for its last byte, which tells how many
// views follow.
ExtractResult ExtractLivePress(const GreyImage& image, uint8_t* out, int mostOtherViews);
// Whether enough of the image shows ridges to hold a finger.
bool FingerPresent(const GreyImage& image);
const char* ExtractResultText(ExtractResult result);
