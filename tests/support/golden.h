// Golden screenshots: a surface compared pixel for pixel with a reference
// PNG in tests/golden/.
//
// A missing reference fails the test. With UPDATE_GOLDEN=1 in the
// environment the reference is (re)written instead and the check passes. On
// a mismatch the actual picture is written next to the reference as
// <name>.actual.png so the two can be looked at side by side.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "platform/ui/surface.h"

// `name` without extension, e.g. "gdi_shapes".
::testing::AssertionResult MatchesGolden(const Surface& surface, const std::string& name);

// Where the references live (the source tree's tests/golden).
std::string GoldenDirectory();
