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
// Whether enough of the image shows ridges to hold a finger.
bool FingerPresent(const GreyImage& image);
const char* ExtractResultText(ExtractResult result);
