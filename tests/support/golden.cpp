#include "tests/support/golden.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/ui/imagefile.h"

namespace {

bool UpdateRequested() {
    const char* value = std::getenv("UPDATE_GOLDEN");
    return value != nullptr && std::string(value) == "1";
}

}  // namespace

std::string GoldenDirectory() {
    const char* source = std::getenv("QUILLON_SOURCE_DIR");
    return std::string(source != nullptr ? source : ".") + "/tests/golden";
}

::testing::AssertionResult MatchesGolden(const Surface& surface, const std::string& name) {
    std::string reference = GoldenDirectory() + "/" + name + ".png";
    std::string actual = GoldenDirectory() + "/" + name + ".actual.png";
    if (UpdateRequested()) {
        // References live in the repository: written small rather than fast.
        if (!WritePng(surface, reference, false))
            return ::testing::AssertionFailure() << "cannot write " << reference;
        std::remove(actual.c_str());
        return ::testing::AssertionSuccess();
    }
    std::vector<uint8_t> data;
    Surface expected;
    if (!ReadHostFile(reference, data) || !DecodePng(data, expected))
        return ::testing::AssertionFailure() << "no reference image " << reference
                                             << " (run with UPDATE_GOLDEN=1 to create it)";
    int differing = 0;
    int firstX = -1, firstY = -1;
    bool sameSize = expected.Width() == surface.Width() && expected.Height() == surface.Height();
    for (int y = 0; sameSize && y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            if ((expected.At(x, y) & 0xFFFFFF) == (surface.At(x, y) & 0xFFFFFF))
                continue;
            if (differing++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    }
    if (sameSize && differing == 0) {
        std::remove(actual.c_str());
        return ::testing::AssertionSuccess();
    }
    SaveSurfacePng(surface, actual);
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    if (!sameSize)
        return failure << name << ": size " << surface.Width() << "x" << surface.Height() << ", reference "
                       << expected.Width() << "x" << expected.Height() << "; actual written to " << actual;
    return failure << name << ": " << differing << " pixels differ, first at (" << firstX << "," << firstY
                   << "); actual written to " << actual;
}
