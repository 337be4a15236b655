// The power fails while photos are taken on the user page: a user's photo
// is a whole picture or none, the photos taken before the cut are all
// there, no piece of one is left behind, and the terminal starts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/ui/imagefile.h"
#include "tests/kill/PreparedFolder.h"
#include "tests/kill/ScriptedKill.h"

namespace {

constexpr int kPhotos = 8;

// A picture that ends as a JPEG file ends and decodes.
bool WholeJpeg(const std::string& path) {
    std::vector<uint8_t> bytes;
    Surface picture;
    return ReadHostFile(path, bytes) && bytes.size() > 4 && bytes[bytes.size() - 2] == 0xFF &&
           bytes.back() == 0xD9 && DecodeJpeg(bytes, picture);
}

TEST(PhotoKillTest, APhotoIsWholeOrNoneAndNoPieceIsLeft) {
    PreparedFolder prepared(kPhotos, {});
    TerminalFolder& folder = prepared.folder;
    // User k loaded by his ID; Picture starts the camera, a second press
    // keeps the picture as his photo; Menu saves him.
    std::string script = "goto 122\n";
    for (int user = 1; user <= kPhotos; ++user)
        script += TypeDigits(std::to_string(user)) +
                  "key ENTER\ntap 118 188\nwait 500\ntap 118 188\nwait 200\nanswer ok\nkey MENU\n";
    ScriptedKill run(folder, script);
    KillPlan plan = run.Plan(35124, 8, [&](int) { prepared.Lay(); });
    int photos = 0;
    plan.check = [&](const KillRound& round) {
        int taken = 0;
        for (int user = 1; user <= kPhotos; ++user) {
            const std::string path = folder.HostPath("NandFlash/zeta42/ICON/" + std::to_string(user) + ".jpg");
            if (!std::filesystem::exists(path)) continue;
            EXPECT_TRUE(WholeJpeg(path)) << path << ", killed after " << round.delay.count() << " us";
            EXPECT_EQ(user, ++taken) << "a photo is missing before a later one";
        }
        if (!round.killed) {
            EXPECT_EQ(taken, kPhotos);
        }
        photos += taken;
    };
    RunFittedKills("photo", plan);
    std::printf("photo: %d photos found after the kills\n", photos);
}

}  // namespace
