// Minutiae: where ridges end or fork, found on the thinned ridge image.
#pragma once

#include <vector>

#include "platform/fp/greyimage.h"
#include "platform/fp/orientfield.h"

struct Minutia {
    float x, y;       // image position
    float direction;  // ridge direction there, 0..pi
};

// Minutiae well inside the finger; pairs closer than a ridge or two (breaks
// and bridges left by noise) are dropped.
std::vector<Minutia> FindMinutiae(const GreyImage& image, const OrientationField& field);
