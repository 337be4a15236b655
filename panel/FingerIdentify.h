// 1:N identification of one fingerprint image over the template store, at
// the device's security level.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/types.h"

// True with the user whose template matches the finger of `image` (the
// sensor generation's geometry); false when the image holds no usable
// finger, no template matches or the libraries are missing.
bool IdentifyFinger(const BYTE* image, CString& userId);
