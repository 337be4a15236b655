// The headless screen file: written in the background, always the newest
// screen, and on disk once the writes are flushed.
#include <filesystem>

#include "main/ScreenFile.h"
#include "platform/ui/display.h"
#include "platform/ui/imagefile.h"
#include "tests/widgets/widget_page.h"

namespace {

class ScreenFileTest : public WidgetTest {
protected:
    ScreenFileTest() : path(root.HostPath("screen.png")) { ScreenFile::SetPath(path); }
    ~ScreenFileTest() override {
        ScreenFile::Flush();
        ScreenFile::SetPath("");
    }

    static void Paint(Pixel colour) {
        Surface& screen = ScreenSurface();
        for (int y = 0; y < screen.Height(); ++y)
            for (int x = 0; x < screen.Width(); ++x) screen.At(x, y) = colour;
    }
    // Whether the file holds the screen as it is now.
    bool FileShowsScreen() const {
        std::vector<uint8_t> data;
        Surface written;
        if (!ReadHostFile(path, data) || !DecodePng(data, written)) return false;
        const Surface& screen = ScreenSurface();
        if (written.Width() != screen.Width() || written.Height() != screen.Height()) return false;
        for (int y = 0; y < screen.Height(); ++y)
            for (int x = 0; x < screen.Width(); ++x)
                if ((written.At(x, y) & 0xFFFFFF) != (screen.At(x, y) & 0xFFFFFF)) return false;
        return true;
    }

    const std::string path;
};

TEST_F(ScreenFileTest, EveryChangeReachesTheFileAndTheNewestWins) {
    Paint(0x00336699);
    ScreenFile::WriteWhenChanged();
    ScreenFile::Flush();
    EXPECT_TRUE(FileShowsScreen());
    // Changes in quick succession: the file ends with the last of them.
    for (Pixel colour : {0x00FF0000u, 0x0000FF00u, 0x000000FFu}) {
        Paint(colour);
        ScreenFile::WriteWhenChanged();
    }
    ScreenFile::Flush();
    EXPECT_TRUE(FileShowsScreen());
}

TEST_F(ScreenFileTest, AFailedWriteIsTriedAgainWithTheSameScreen) {
    // A folder where the file should be: the replace fails.
    std::filesystem::create_directory(path);
    Paint(0x00112233);
    ScreenFile::WriteWhenChanged();
    ScreenFile::Flush();
    EXPECT_TRUE(std::filesystem::is_directory(path));
    std::filesystem::remove(path);
    // The screen has not changed, yet it is written now.
    ScreenFile::WriteWhenChanged();
    ScreenFile::Flush();
    EXPECT_TRUE(FileShowsScreen());
}

TEST_F(ScreenFileTest, AnUnchangedScreenIsNotWrittenAgain) {
    Paint(0x00445566);
    ScreenFile::WriteWhenChanged();
    ScreenFile::Flush();
    ASSERT_TRUE(std::filesystem::remove(path));
    ScreenFile::WriteWhenChanged();
    ScreenFile::Flush();
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
