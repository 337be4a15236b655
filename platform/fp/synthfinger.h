// Synthetic fingers for the simulated sensor, the device image and the
// matcher's tests: each seed is one finger (its ridge flow, ridge spacing,
// minutiae and outline); each impression is one press of it (placement,
// turn, pressure and noise differ from press to press).
#pragma once

#include <cstdint>

#include "platform/fp/greyimage.h"

GreyImage SynthesizeFinger(uint32_t seed, uint32_t impression, int width, int height);
// A press that leaves no usable ridges (a smeared or wet sensor).
GreyImage SynthesizeSmudge(uint32_t seed, int width, int height);

// A press laid carelessly, made from a press of the generator: turned by
// 15-25 degrees either way, shifted by 20-35 pixels in any direction, or
// partial (55-70% of the image kept, cut off at one side). The seed picks
// the amount and the direction; what leaves the image is lost and what
// enters it is bare sensor.
enum class Misplacement { Turned, Shifted, Partial };
GreyImage MisplacePress(const GreyImage& press, Misplacement how, uint32_t seed);
