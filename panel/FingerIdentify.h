// 1:N identification of one fingerprint image over the template store, at
// the device's security level.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/types.h"

enum class FingerResult {
    Unusable,  // no finger the image-processing library can read (or no libraries)
    Unknown,   // a finger that matches no stored template
    Known,     // the template of `userId`
};

// `image` has the sensor generation's geometry.
FingerResult IdentifyFinger(const BYTE* image, CString& userId);
