// Where a device path (skins, photos, font files) lies on the host.
#pragma once

#include <string>

#include "platform/base/types.h"

std::string HostPathOf(LPCWSTR devicePath);
