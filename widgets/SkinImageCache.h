// Images drawn by many widgets of one class (selection frames, select-box
// arrows, the transparent button's mark) are loaded once and shared. A user
// holds a SharedSkinImage; the image is loaded by the first user and freed
// when the last user lets it go, so destroying one widget never takes the
// picture from under the others.
#pragma once

#include <memory>

#include "platform/ui/image.h"

using SharedSkinImage = std::shared_ptr<const CxImage>;

// The image at SkinPath(relative), of the given CxImage type; shared with
// every other holder of the same file while one exists. Never null: a
// missing file gives an empty image (size 0, draws nothing).
SharedSkinImage AcquireSkinImage(const char16_t* relative, DWORD imageType);

// How many distinct images are held at the moment (for checks).
size_t SharedSkinImageCount();
