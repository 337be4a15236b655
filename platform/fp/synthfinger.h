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
