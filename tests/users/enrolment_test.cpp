// The fingerprint enrolment page with synthetic fingers on the simulated
// sensor: the presses, the refusals, the stores it writes and the jumps.
#include <cstring>

#include "core/FpLibraries.h"
#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "main/FingerCapture.h"
#include "platform/fp/sensorslot.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "tests/support/text_fit.h"
#include "tests/users/users_fixture.h"
#include "users/CPTreeAddUser.h"
#include "users/CPTreeRegFP.h"
#include "users/FingerTemplates.h"

namespace {

class EnrolmentTest : public UsersTest {
protected:
    explicit EnrolmentTest(int sensorVersion = 8) : UsersTest(sensorVersion) {}

    static CCPTreeRegFP* Page() {
        return static_cast<CCPTreeRegFP*>(CControlPanel::Open()->PageOf(CCPTreeRegFP::kNode));
    }
    // From finger choice: capture starts, the first press of `seed`, the
    // lift, the second press of `secondSeed`, each given time to be taken.
    std::vector<std::string> Presses(int seed, int secondSeed) {
        return {"key ENTER", "wait 300", Finger(seed, 1), "wait 300", "lift", "wait 700",
                Finger(secondSeed, 2), "wait 300", "lift"};
    }
    // A whole finger: capture, both presses of `seed`, saved.
    std::vector<std::string> EnrolFinger(int seed) {
        std::vector<std::string> lines = Presses(seed, seed);
        Append(lines, {"answer ok", "key ENTER"});
        return lines;
    }
    // The template the page makes of a press, made here the same way.
    std::vector<BYTE> PressTemplate(int seed, int press) {
        std::vector<BYTE> tmpl = UsableTemplate(Finger(seed, press));
        EXPECT_FALSE(tmpl.empty()) << "finger " << seed << " press " << press << " gives no template";
        tmpl.resize(PressTemplateSize);
        return tmpl;
    }
    // The template of a "finger" line's image, empty when it gives none.
    std::vector<BYTE> UsableTemplate(const std::string& line) {
        EXPECT_TRUE(PlaceFingerOnSensor(sensorFolder, line.substr(7)));
        std::vector<BYTE> image(kCaptureBufferBytes), work(kCaptureBufferBytes), tmpl(512);
        const bool made = CaptureFingerImage(image.data()) != 0 &&
                          g_FpLib.VeltoProcess(image.data(), tmpl.data(), work.data(), 1, 0) == 0;
        LiftFingerFromSensor(sensorFolder);
        if (!made) return {};
        tmpl.resize(PressTemplateSize);
        return tmpl;
    }
    // A finger and a second press of it that the matcher takes for its first
    // press at level 4 but not at level 5: the second press with ever more
    // of it wiped off the sensor, which lowers its likeness step by step.
    // Seed 0 when no finger tried gives one.
    std::pair<int, std::string> PressAlikeAtLevelFourOnly() {
        for (int seed = 601; seed <= 640; ++seed) {
            const std::vector<BYTE> first = UsableTemplate(Finger(seed, 1));
            if (first.empty()) continue;
            for (int rowsOff = 20; rowsOff <= 220; rowsOff += 5) {
                const std::string line = Finger(seed, 2, rowsOff);
                const std::vector<BYTE> second = UsableTemplate(line);
                if (second.empty()) break;
                if (g_FpLib.VeltoMatch(first.data(), second.data(), 5) != 0 &&
                    g_FpLib.VeltoMatch(first.data(), second.data(), 4) == 0)
                    return {seed, line};
            }
        }
        return {0, std::string()};
    }
    // One press held as both of a stored finger's, and the matching record
    // the template store makes of that.
    static std::vector<BYTE> StoredTwice(const std::vector<BYTE>& press) {
        std::vector<BYTE> stored = press;
        stored.insert(stored.end(), press.begin(), press.end());
        return stored;
    }
    static std::vector<BYTE> RecordOf(const std::vector<BYTE>& stored) {
        std::vector<BYTE> record(MatchRecordSize);
        EXPECT_EQ(g_FpLib.VeltoTempToFPRECORD(stored.data(), record.data()), 1);
        return record;
    }
    // A finger and a later press of it, wiped in part, that a search names
    // when the finger is stored once but not when it is stored twice: the
    // two score alike, and a search names only a finger that stands clear
    // of the next. Seed 0 when no finger tried gives one.
    std::pair<int, std::string> PressNamedOnlyWhenStoredOnce() {
        for (int seed = 601; seed <= 640; ++seed) {
            const std::vector<BYTE> first = UsableTemplate(Finger(seed, 1));
            if (first.empty()) continue;
            std::vector<BYTE> records = RecordOf(StoredTwice(first));
            records.insert(records.end(), records.begin(), records.end());
            for (int rowsOff = 0; rowsOff <= 220; rowsOff += 5) {
                const std::string line = Finger(seed, 2, rowsOff);
                const std::vector<BYTE> second = UsableTemplate(line);
                if (second.empty()) break;
                if (Search(second, records, 1) == 0 && Search(second, records, 2) < 0) return {seed, line};
            }
        }
        return {0, std::string()};
    }
    // What a search of the first `count` matching records names for the
    // press at the enrolment's level: an index, or -1.
    static int Search(const std::vector<BYTE>& press, const std::vector<BYTE>& records, int count) {
        int score, which;
        return g_FpLib.VeltoMatch2N(press.data(), records.data(), count, &score, &which, kEnrolMatchLevel);
    }
    // A finger stored well, a poor copy of it (a press with its top rows off
    // the sensor), and a later press of it that on its own only the good
    // copy takes, yet that a search over both cannot tell between them.
    struct PressTakenOnlyByTheGoodCopy {
        int seed = 0;  // 0 when no finger tried gives one
        int copyRowsOff = 0;
        std::string press;
    };
    PressTakenOnlyByTheGoodCopy FindPressTakenOnlyByTheGoodCopy() {
        for (int seed = 601; seed <= 640; ++seed) {
            const std::vector<BYTE> first = UsableTemplate(Finger(seed, 1));
            if (first.empty()) continue;
            const std::vector<BYTE> good = RecordOf(StoredTwice(first));
            std::vector<std::pair<int, std::vector<BYTE>>> poorCopies;  // made once a press needs them
            for (int rowsOff = 0; rowsOff <= 220; rowsOff += 5) {
                const std::string line = Finger(seed, 2, rowsOff);
                const std::vector<BYTE> press = UsableTemplate(line);
                if (press.empty()) break;
                if (Search(press, good, 1) != 0) continue;
                if (poorCopies.empty()) poorCopies = PoorCopies(seed);
                for (const auto& [copyRowsOff, poor] : poorCopies) {
                    std::vector<BYTE> both = good;
                    both.insert(both.end(), poor.begin(), poor.end());
                    if (Search(press, poor, 1) < 0 && Search(press, both, 2) < 0) return {seed, copyRowsOff, line};
                }
            }
        }
        return {};
    }
    // The matching records of the first press of `seed` with ever more of
    // it off the sensor, by the rows off.
    std::vector<std::pair<int, std::vector<BYTE>>> PoorCopies(int seed) {
        std::vector<std::pair<int, std::vector<BYTE>>> copies;
        for (int rowsOff = 5; rowsOff <= 220; rowsOff += 5) {
            const std::vector<BYTE> press = UsableTemplate(Finger(seed, 1, rowsOff));
            if (press.empty()) break;
            copies.emplace_back(rowsOff, RecordOf(StoredTwice(press)));
        }
        return copies;
    }
    // User 1, added here, lays `press` as the first press of his first
    // finger: the prompt shown while it lies there. Nothing is saved.
    CString FirstPressPrompt(const std::string& press) {
        AddUser(u"1", u"", 0);
        CString prompt;
        std::vector<std::string> lines = TypeAndEnter("1");
        Append(lines, {"key ENTER", "wait 300", press, "wait 300", Probe([&] { prompt = PageControlText(11, 1159); }),
                       "lift", "answer yes", "key ESC"});
        RunAt(11, lines);
        return prompt;
    }
    CString Text(const char16_t* key) const { return LangText(u"CCPTreeRegFP", key); }
    int Count(const CString& text) const {
        int n = 0;
        for (const CString& message : Messages()) n += message == text ? 1 : 0;
        return n;
    }
};

TEST_F(EnrolmentTest, TwoFingersAreEnrolledWithTheChosenPressFirst) {
    AddUser(u"1", u"", 1);
    int fingerAfterFirst = -1, stateAfterPresses = -1;
    std::vector<std::string> lines = TypeAndEnter("1");
    Append(lines, Presses(101, 101));
    lines.push_back(Probe([&] { stateAfterPresses = Page()->State(); }));
    Append(lines, {"answer ok", "key ENTER"});  // the second image is chosen
    Append(lines, TypeAndEnter(""));
    lines.push_back(Probe([&] { fingerAfterFirst = Page()->Finger(); }));
    Append(lines, Presses(102, 102));
    Append(lines, {"key LEFT", "answer ok", "key ENTER"});  // the first image
    RunAt(11, lines);

    EXPECT_EQ(stateAfterPresses, CCPTreeRegFP::kStateChoosing);
    EXPECT_EQ(fingerAfterFirst, 1) << "the finger after the highest enrolled one";
    const std::vector<BYTE> first1 = PressTemplate(101, 1), second1 = PressTemplate(101, 2);
    const std::vector<BYTE> first2 = PressTemplate(102, 1), second2 = PressTemplate(102, 2);
    const std::vector<BYTE> blob0 = FingerBlob(u"1", 0), blob1 = FingerBlob(u"1", 1);
    ASSERT_EQ(blob0.size(), size_t{StoredTemplateSize});
    ASSERT_EQ(blob1.size(), size_t{StoredTemplateSize});
    EXPECT_EQ(0, std::memcmp(blob0.data(), second1.data(), PressTemplateSize)) << "image 2 chosen: press 2 first";
    EXPECT_EQ(0, std::memcmp(blob0.data() + PressTemplateSize, first1.data(), PressTemplateSize));
    EXPECT_EQ(0, std::memcmp(blob1.data(), first2.data(), PressTemplateSize)) << "image 1 chosen: press 1 first";
    EXPECT_EQ(0, std::memcmp(blob1.data() + PressTemplateSize, second2.data(), PressTemplateSize));
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"1", user));
    EXPECT_EQ(user.FPFlag, 3);
    EXPECT_EQ(store.GetCount(), 2);
    EXPECT_NE(store.FindSlot(u"1", 0), nullptr);
    EXPECT_NE(store.FindSlot(u"1", 1), nullptr);
    EXPECT_EQ(Count(LangFormat(u"CCPTreeRegFP", u"R0007", 2)), 1);
    EXPECT_EQ(Count(LangFormat(u"CCPTreeRegFP", u"R0007", 1)), 1);
}

TEST_F(EnrolmentTest, RefusalsShowTheirTextsAndWriteNothing) {
    AddUser(u"1", u"", 0);
    AddUser(u"2", u"", 0);
    CString duplicate, unusable;
    int pressAfterMismatch = -1, pressAfterLift = -1;
    auto prompt = [this](CString& into) { return Probe([this, &into] { into = PageControlText(11, 1159); }); };
    std::vector<std::string> lines = TypeAndEnter("1");
    Append(lines, EnrolFinger(201));
    // User 2 presses user 1's finger: refused while it lies there.
    Append(lines, TypeAndEnter("2"));
    Append(lines, {"key ENTER", "wait 300", Finger(201, 3), "wait 300", prompt(duplicate), "lift", "wait 700"});
    // An unusable press; then a second press of another finger, which
    // starts the finger over once the sensor is empty.
    Append(lines, {Smudge(), "wait 300", prompt(unusable), "lift", "wait 700", Finger(202, 1), "wait 300", "lift",
                   "wait 700", Finger(203, 1), "wait 1500",
                   Probe([&] { pressAfterMismatch = Page()->PressIndex(); }), "lift", "wait 700", Finger(203, 1),
                   "wait 300", Probe([&] { pressAfterLift = Page()->PressIndex(); }), "lift", "answer yes",
                   "key ESC"});
    RunAt(11, lines);

    EXPECT_TRUE(duplicate.Find(Text(u"R0016")) == 0) << "the finger of another user";
    EXPECT_TRUE(unusable.Find(Text(u"R0015")) == 0) << "an unusable image";
    EXPECT_EQ(pressAfterMismatch, 0) << "after a mismatch the finger lying there is no new first press";
    EXPECT_EQ(pressAfterLift, 1) << "once lifted, the next press is taken as the first";
    EXPECT_EQ(FingerRows(u"2"), 0);
    EXPECT_EQ(store.GetCount(), 1);
    EXPECT_EQ(Count(Text(u"R0010")), 1) << "leaving while enrolling asks";
}

// A finger already stored for two users (as a transfer may bring it)
// and pressed so that it matches both about equally: a search names
// neither, yet the finger is enrolled and the press is refused.
TEST_F(EnrolmentTest, AFingerMatchingTwoStoredAlikeIsRefusedAsEnrolled) {
    const auto [seed, press] = PressNamedOnlyWhenStoredOnce();
    ASSERT_NE(seed, 0) << "no press that two stored copies of its finger keep from being named";
    const std::vector<BYTE> stored = StoredTwice(UsableTemplate(Finger(seed, 1)));
    ASSERT_EQ(store.Add(stored.data(), u"7", 0, FALSE, StoredTemplateSize), 1);
    ASSERT_EQ(store.Add(stored.data(), u"8", 0, FALSE, StoredTemplateSize), 1);
    EXPECT_TRUE(FirstPressPrompt(press).Find(Text(u"R0016")) == 0) << "the finger of other users";
    EXPECT_EQ(FingerRows(u"1"), 0);
    EXPECT_EQ(store.GetCount(), 2);
}

// A finger stored well for one user and poorly for another: a press that a
// search cannot tell between the two copies, and that on its own only the
// good copy, stored first, takes, is refused as enrolled.
TEST_F(EnrolmentTest, AFingerOnlyTheFirstStoredCopyTakesAloneIsRefusedAsEnrolled) {
    const PressTakenOnlyByTheGoodCopy found = FindPressTakenOnlyByTheGoodCopy();
    ASSERT_NE(found.seed, 0) << "no press that only the good copy of its finger takes";
    const std::vector<BYTE> good = StoredTwice(UsableTemplate(Finger(found.seed, 1)));
    const std::vector<BYTE> poor = StoredTwice(UsableTemplate(Finger(found.seed, 1, found.copyRowsOff)));
    ASSERT_EQ(store.Add(good.data(), u"7", 0, FALSE, StoredTemplateSize), 1);
    ASSERT_EQ(store.Add(poor.data(), u"8", 0, FALSE, StoredTemplateSize), 1);
    EXPECT_TRUE(FirstPressPrompt(found.press).Find(Text(u"R0016")) == 0) << "the finger of another user";
    EXPECT_EQ(FingerRows(u"1"), 0);
    EXPECT_EQ(store.GetCount(), 2);
}

// A second press that the matcher takes for the first one's finger at
// level 4 but not at level 5, the level enrolment compares at, starts the
// finger over.
TEST_F(EnrolmentTest, ASecondPressAlikeOnlyBelowLevelFiveStartsTheFingerOver) {
    const auto [seed, second] = PressAlikeAtLevelFourOnly();
    ASSERT_NE(seed, 0) << "no press alike at level 4 only";
    AddUser(u"1", u"", 0);
    int state = -1, pressIndex = -1;
    std::vector<std::string> lines = TypeAndEnter("1");
    Append(lines, {"key ENTER", "wait 300", Finger(seed, 1), "wait 300", "lift", "wait 700", second, "wait 300",
                   "lift", "wait 300", Probe([&] {
                       state = Page()->State();
                       pressIndex = Page()->PressIndex();
                   }),
                   "answer yes", "key ESC"});
    RunAt(11, lines);
    EXPECT_EQ(state, CCPTreeRegFP::kStateCapturing) << "not offered for saving";
    EXPECT_EQ(pressIndex, 0) << "the finger starts over from its first press";
    EXPECT_EQ(FingerRows(u"1"), 0);
}

TEST_F(EnrolmentTest, AFullStoreRefusesTheSaveAndWritesNothing) {
    AddUser(u"1", u"", 0);
    std::vector<BYTE> blob = PressTemplate(9999, 1);
    const std::vector<BYTE> second = PressTemplate(9999, 2);
    blob.insert(blob.end(), second.begin(), second.end());
    for (int i = 0; i < TemplateLimit; ++i) ASSERT_EQ(store.Add(blob.data(), u"filler", i, FALSE, StoredTemplateSize), 1);
    std::vector<std::string> lines = TypeAndEnter("1");
    Append(lines, EnrolFinger(301));
    RunAt(11, lines);
    EXPECT_EQ(Count(Text(u"R0023")), 1);
    EXPECT_EQ(FingerRows(u"1"), 0);
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"1", user));
    EXPECT_EQ(user.FPFlag, 0);
    EXPECT_EQ(store.GetCount(), TemplateLimit);
}

TEST_F(EnrolmentTest, ReEnrolmentAsksDeletesTheOldFingerAndNoKeepsIt) {
    AddUser(u"1", u"", 0);
    int stateAfterNo = -1;
    std::vector<std::string> lines = TypeAndEnter("1");
    Append(lines, EnrolFinger(401));
    Append(lines, TypeAndEnter(""));
    // Back to finger 0, which has its template.
    Append(lines, {"key LEFT", "answer no", "key ENTER", Probe([&] { stateAfterNo = Page()->State(); }), "answer yes"});
    Append(lines, EnrolFinger(402));
    RunAt(11, lines);
    EXPECT_EQ(stateAfterNo, CCPTreeRegFP::kStateFingerChoice);
    EXPECT_EQ(Count(Text(u"R0008")), 2);
    EXPECT_EQ(FingerRows(u"1"), 1) << "one row for the finger, the new one";
    const std::vector<BYTE> blob = FingerBlob(u"1", 0);
    const std::vector<BYTE> second = PressTemplate(402, 2);
    ASSERT_EQ(blob.size(), size_t{StoredTemplateSize});
    EXPECT_EQ(0, std::memcmp(blob.data(), second.data(), PressTemplateSize));
    EXPECT_EQ(store.GetCount(), 1);
}

TEST_F(EnrolmentTest, AFailedDeleteIsSaidAndTheFingerStaysChosen) {
    AddUser(u"1", u"", 0);
    int state = -1;
    std::vector<std::string> lines = TypeAndEnter("1");
    Append(lines, EnrolFinger(501));
    Append(lines, TypeAndEnter(""));
    Append(lines, {"key LEFT", Probe([] {
                       ASSERT_TRUE(g_pDatabase->DirectStatement(
                           u"CREATE TRIGGER keep BEFORE DELETE ON FPinfo BEGIN SELECT RAISE(ABORT, 'locked'); END"));
                   }),
                   "answer yes", "answer ok", "key ENTER", Probe([&] { state = Page()->State(); })});
    RunAt(11, lines);
    // The question, then one box that says why.
    const std::vector<CString> messages = Messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(std::vector<CString>(messages.end() - 2, messages.end()),
              std::vector<CString>({Text(u"R0008"), DatabaseWriteFailedText(DatabaseFailure::Other)}));
    EXPECT_EQ(state, CCPTreeRegFP::kStateFingerChoice);
    EXPECT_EQ(FingerRows(u"1"), 1);
    EXPECT_NE(store.FindSlot(u"1", 0), nullptr);
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"1", user));
    EXPECT_EQ(user.FPFlag, 1);
}

TEST_F(EnrolmentTest, AFailedInsertIsSaidAndNeitherStoreNorMaskChange) {
    AddUser(u"1", u"", 0);
    std::vector<std::string> lines = TypeAndEnter("1");
    lines.push_back(Probe([] {
        ASSERT_TRUE(g_pDatabase->DirectStatement(
            u"CREATE TRIGGER refuse BEFORE INSERT ON FPinfo BEGIN SELECT RAISE(ABORT, 'full disk'); END"));
    }));
    Append(lines, Presses(601, 601));
    Append(lines, {"answer ok", "key ENTER"});
    RunAt(11, lines);
    EXPECT_EQ(Count(DatabaseWriteFailedText(DatabaseFailure::Other)), 1);
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().back(), DatabaseWriteFailedText(DatabaseFailure::Other)) << "one box, the cause in it";
    EXPECT_EQ(Count(LangFormat(u"CCPTreeRegFP", u"R0007", 2)), 0) << "no saved message before a failed save";
    EXPECT_EQ(store.GetCount(), 0);
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"1", user));
    EXPECT_EQ(user.FPFlag, 0);
}

TEST_F(EnrolmentTest, AUserDeletedMeanwhileGetsNoTemplates) {
    AddUser(u"1", u"", 0);
    std::vector<std::string> lines = TypeAndEnter("1");
    Append(lines, Presses(701, 701));
    lines.push_back(Probe([] { ASSERT_TRUE(g_pDatabase->DirectStatement(u"DELETE FROM Userinfo WHERE userid = '1'")); }));
    Append(lines, {"answer ok", "key ENTER"});
    RunAt(11, lines);
    EXPECT_EQ(Count(Text(u"R0026")), 1);
    EXPECT_EQ(FingerRows(u"1"), 0);
    EXPECT_EQ(store.GetCount(), 0);
}

TEST_F(EnrolmentTest, IdsAreReadAs64BitNumbersAndTheMarksOfEnrolledFingersStay) {
    AddUser(u"4294967296", u"", 0);
    for (int finger = 0; finger < 4; ++finger) {
        CString sql;
        sql.Format(u"INSERT INTO FPinfo VALUES (%d,'4294967296',zeroblob(338))", finger);
        ASSERT_TRUE(g_pDatabase->DirectStatement(sql));
    }
    int state = -1, finger = -1;
    bool marks[CCPTreeRegFP::kFingers] = {};
    std::vector<std::string> lines = TypeAndEnter("004294967296");
    lines.push_back(Probe([&] {
        state = Page()->State();
        finger = Page()->Finger();
        for (int i = 0; i < CCPTreeRegFP::kFingers; ++i) marks[i] = Page()->IsFingerEnrolled(i);
        EXPECT_EQ(PageControlText(11, 1031), u"4294967296");
    }));
    RunAt(11, lines);
    EXPECT_EQ(state, CCPTreeRegFP::kStateFingerChoice) << "an ID whose low 32 bits are 0 is still an ID";
    EXPECT_EQ(finger, 4);
    for (int i = 0; i < CCPTreeRegFP::kFingers; ++i) EXPECT_EQ(marks[i], i < 4) << "finger " << i;
}

// A thirteenth digit is refused and cut; the caret stays at the end, so
// Backspace takes one digit and a digit typed next is added, not a
// replacement for the whole ID.
TEST_F(EnrolmentTest, AnIdCutToTwelveKeepsTheCaretAtItsEnd) {
    std::vector<std::string> lines = Type("123456789012");
    Append(lines, {"answer ok", "key 3"});
    CString cut, afterBack;
    Append(lines, {Probe([&] { cut = PageControlText(11, 1031); }), "key BACK",
                   Probe([&] { afterBack = PageControlText(11, 1031); })});
    RunAt(11, lines);
    EXPECT_EQ(Count(LangText(u"CCPTreeAddUser", u"U0037")), 1);
    EXPECT_EQ(cut, u"123456789012");
    EXPECT_EQ(afterBack, u"12345678901");
}

TEST_F(EnrolmentTest, LeavingStopsBothTimers) {
    AddUser(u"1", u"", 0);
    CString prompt = u"unread";
    std::vector<std::string> lines = TypeAndEnter("1");
    Append(lines, {"key ENTER", "answer yes", "key ESC", "wait 1000",
                   Probe([&] { prompt = PageControlText(11, 1159); }), Finger(801, 1), "wait 1000"});
    RunAt(11, lines);
    EXPECT_EQ(prompt, u"") << "no timer of the left page prompted";
    EXPECT_EQ(FingerRows(u"1"), 0);
}

TEST_F(EnrolmentTest, FingerChoiceWrapsAtBothEnds) {
    AddUser(u"1", u"", 0);
    int left = -1, right = -1;
    std::vector<std::string> lines = TypeAndEnter("1");
    Append(lines, {"key LEFT", Probe([&] { left = Page()->Finger(); }), "key RIGHT", "key RIGHT",
                   Probe([&] { right = Page()->Finger(); })});
    RunAt(11, lines);
    EXPECT_EQ(left, 9);
    EXPECT_EQ(right, 1);
}

// The two pages hand the user to each other and back.
TEST_F(EnrolmentTest, TheAddUserPageJumpsHereAndGetsItsUserBack) {
    CString idHere, nameBack;
    unsigned nodeBack = 0;
    std::vector<std::string> lines = Type("12");
    Append(lines, {"key ENTER"});
    Append(lines, Type("88"));  // the name
    Append(lines, {"tapon 121 1323", Probe([&] { idHere = PageControlText(11, 1031); }), "key ENTER"});
    Append(lines, EnrolFinger(901));
    lines.push_back(Probe([&] {
        nodeBack = CControlPanel::Open()->SelectedNode();
        nameBack = PageControlText(121, IDC_USER_NAME);
    }));
    lines.push_back("golden users_add_user_after_enrolment");
    RunAt(121, lines);
    EXPECT_TRUE(golden) << "the whole form shows again";
    EXPECT_EQ(idHere, u"12");
    EXPECT_EQ(nodeBack, 121u) << "saving returns to the caller";
    EXPECT_EQ(nameBack, u"88") << "the caller kept its form";
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"12", user));
    EXPECT_EQ(user.Name, u"88");
    EXPECT_EQ(user.FPFlag, 1);
}

TEST_F(EnrolmentTest, AnUnknownIdIsAddedOnTheAddUserPageAndEnrolmentGoesOn) {
    int stateBack = -1;
    unsigned addNode = 0;
    std::vector<std::string> lines = {"answer yes"};
    Append(lines, TypeAndEnter("77"));
    lines.push_back(Probe([&] { addNode = CControlPanel::Open()->SelectedNode(); }));
    Append(lines, Type("55"));  // the name on the add-user page
    Append(lines, {"key ESC", Probe([&] { stateBack = Page()->State(); })});
    Append(lines, EnrolFinger(1001));
    RunAt(11, lines);
    EXPECT_EQ(addNode, 121u);
    EXPECT_EQ(stateBack, CCPTreeRegFP::kStateFingerChoice);
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"77", user));
    EXPECT_EQ(user.Name, u"55");
    EXPECT_EQ(user.FPFlag, 1);
}

// Back from the add-user page, where the name edit had the focus and its
// keyboard hint, the bar shows this page's own (empty) hint: no "#" for a
// keyboard this page does not have.
TEST_F(EnrolmentTest, BackFromTheAddUserPageTheBarKeepsNoKeyboardHint) {
    // The bar as the hints sent so far leave it: a mode of -1 brings the
    // previous hint back.
    const auto shownHint = [this] {
        CString shown, previous;
        for (const auto& [text, mode] : main.hints) {
            if (mode == -1) {
                shown = previous;
            } else {
                previous = shown;
                shown = text;
            }
        }
        return shown;
    };
    CString onAddUser, back;
    std::vector<std::string> lines = {"answer yes"};
    Append(lines, TypeAndEnter("77"));
    lines.push_back(Probe([&] { onAddUser = shownHint(); }));
    Append(lines, {"key ESC", Probe([&] { back = shownHint(); })});
    RunAt(11, lines);
    EXPECT_EQ(onAddUser.Left(2), u"#/") << "the name edit has the focus there";
    EXPECT_EQ(back, CString());
}

TEST_F(EnrolmentTest, WhenTheAddUserPageCouldNotAddTheIdEnrolmentStartsOver) {
    users->SetCount(UserLimit);
    int stateBack = -1;
    std::vector<std::string> lines = {"answer yes", "answer ok"};
    Append(lines, TypeAndEnter("78"));
    Append(lines, {"key ESC", Probe([&] { stateBack = Page()->State(); })});
    RunAt(11, lines);
    EXPECT_EQ(Count(LangText(u"CCPTreeAddUser", u"U0044")), 1);
    EXPECT_EQ(stateBack, CCPTreeRegFP::kStateIdEntry);
}

// After enrolment the menu key's administrator check finds the new
// administrator's other press and refuses a user's finger.
TEST_F(EnrolmentTest, TheAdministratorCheckIdentifiesAgainstWhatThePageStored) {
    AddUser(u"1", u"", 1);
    AddUser(u"2", u"", 0);
    std::vector<std::string> lines = TypeAndEnter("1");
    Append(lines, EnrolFinger(1101));
    Append(lines, TypeAndEnter("2"));
    Append(lines, EnrolFinger(1102));
    RunAt(11, lines);
    ASSERT_EQ(store.GetCount(), 2);
    for (const auto& [seed, opens] : {std::pair{1101, true}, std::pair{1102, false}}) {
        const std::string press = Finger(seed, 4);
        session.Run(press);
        notes.clear();
        session.RunWhenIdle({"wait 600", "note", "key ESC", "quit"});
        session.Run("key MENU");
        session.Run("lift");
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(notes[0].open, opens) << seed;
    }
}

class EnrolmentAtSensorVersion : public EnrolmentTest, public ::testing::WithParamInterface<int> {
protected:
    EnrolmentAtSensorVersion() : EnrolmentTest(GetParam()) {}
};

TEST_P(EnrolmentAtSensorVersion, EnrolsAndRefusesTheSameFingerTwice) {
    AddUser(u"1", u"", 0);
    AddUser(u"2", u"", 0);
    CString duplicate;
    std::vector<std::string> lines = TypeAndEnter("1");
    Append(lines, EnrolFinger(1201));
    Append(lines, TypeAndEnter("2"));
    Append(lines, {"key ENTER", "wait 300", Finger(1201, 3), "wait 300",
                   Probe([&] { duplicate = PageControlText(11, 1159); }), "lift", "wait 700", "answer yes", "key ESC"});
    RunAt(11, lines);
    EXPECT_EQ(FingerRows(u"1"), 1);
    EXPECT_EQ(store.GetCount(), 1);
    EXPECT_EQ(store.GetTemplateSize(), GetParam() > 7 ? int{MatchRecordSize} : int{OldStoredTemplateSize});
    EXPECT_EQ(duplicate.Find(Text(u"R0016")), 0);
    EXPECT_EQ(FingerRows(u"2"), 0);
}

INSTANTIATE_TEST_SUITE_P(Generations, EnrolmentAtSensorVersion, ::testing::Values(6, 7, 8));

// Every text of the page is seen whole in each state of a press sequence,
// the chosen image's prompt included, in English and in Chinese.
TEST_F(EnrolmentTest, EveryTextFitsInEachStateInBothLanguages) {
    AddUser(u"1", u"", 0);
    for (const char16_t* language : {u"English", u"Chinese"}) {
        g_MachineConfig.LanguageName = language;
        ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
        std::string misfits;
        int looks = 0;
        const auto fit = [&] {
            return Probe([&] {
                misfits += Describe(FindTextMisfits());
                ++looks;
            });
        };
        std::vector<std::string> lines{fit()};
        Append(lines, TypeAndEnter("1"));
        Append(lines, {fit(), "key ENTER", "wait 300", fit(), Finger(1301, 1), "wait 300", fit(), "lift", "wait 700",
                       Finger(1301, 2), "wait 300", "lift", fit(), "key LEFT", fit(), "key RIGHT", fit(),
                       "answer yes"});
        RunAt(11, lines);
        EXPECT_EQ(looks, 7) << Utf16ToUtf8(language);
        EXPECT_EQ(misfits, "") << Utf16ToUtf8(language);
        ASSERT_TRUE(g_pDatabase->DirectStatement(u"DELETE FROM FPinfo"));
        store.Delete(u"1", -1);
    }
}

// The page as entered and in each state of a press sequence.
TEST_F(EnrolmentTest, GoldenScreensOfTheStates) {
    AddUser(u"1", u"", 0);
    std::vector<::testing::AssertionResult> results;
    auto shot = [&](const std::string& name) {
        return std::vector<std::string>{"golden " + name, Probe([&] { results.push_back(golden); })};
    };
    std::vector<std::string> lines = shot("users_enrol_entered");
    Append(lines, TypeAndEnter("1"));
    Append(lines, shot("users_enrol_finger_choice"));
    Append(lines, {"key ENTER", "wait 300"});
    Append(lines, shot("users_enrol_place_finger"));
    Append(lines, {Finger(1301, 1), "wait 300"});
    Append(lines, shot("users_enrol_first_press"));
    Append(lines, {"lift", "wait 700", Finger(1301, 2), "wait 300", "lift"});
    Append(lines, shot("users_enrol_choosing"));
    // After a save the next finger shows the same pictures.
    Append(lines, {"answer ok", "key ENTER", Probe([&] {
                       ASSERT_TRUE(g_pDatabase->DirectStatement(u"DELETE FROM FPinfo"));
                       store.Delete(u"1", -1);
                   }),
                   "key 1", "key ENTER", "key ENTER", "wait 300"});
    Append(lines, shot("users_enrol_place_finger"));
    Append(lines, {Finger(1301, 1), "wait 300", "lift", "wait 700", Finger(1301, 2), "wait 300", "lift"});
    Append(lines, shot("users_enrol_choosing"));
    Append(lines, {"answer yes", "key ESC"});
    RunAt(11, lines);
    ASSERT_EQ(results.size(), 7u);
    for (const auto& result : results) EXPECT_TRUE(result);
}

// Backspace counts only while the two images are offered.
class EnrolmentBackspaceTest : public EnrolmentTest {};

TEST_F(EnrolmentBackspaceTest, BackspaceWhileChoosingTakesTheSameFingerAgainFromItsFirstPress) {
    AddUser(u"1", u"", 0);
    struct Seen {
        int state, finger, press;
    };
    std::vector<Seen> seen;
    const auto note = [&] {
        return Probe([&] { seen.push_back({Page()->State(), Page()->Finger(), Page()->PressIndex()}); });
    };
    std::vector<std::string> lines = TypeAndEnter("1");
    // Choosing the finger and between the presses Backspace changes nothing.
    Append(lines, {"key RIGHT", "key BACK", note(), "key ENTER", "wait 300", Finger(401, 1), "wait 300", "lift",
                   "wait 700", "key BACK", note(), Finger(401, 2), "wait 300", "lift", note(), "key BACK", note()});
    Append(lines, {"wait 300", Finger(402, 1), "wait 300", "lift", "wait 700", Finger(402, 2), "wait 300", "lift",
                   "answer ok", "key ENTER"});
    RunAt(11, lines);

    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].state, CCPTreeRegFP::kStateFingerChoice);
    EXPECT_EQ(seen[0].finger, 1);
    EXPECT_EQ(seen[1].state, CCPTreeRegFP::kStateCapturing);
    EXPECT_EQ(seen[1].press, 1) << "the first press is kept";
    EXPECT_EQ(seen[2].state, CCPTreeRegFP::kStateChoosing);
    EXPECT_EQ(seen[3].state, CCPTreeRegFP::kStateCapturing) << "the finger is taken again";
    EXPECT_EQ(seen[3].finger, 1);
    EXPECT_EQ(seen[3].press, 0);
    const std::vector<BYTE> blob = FingerBlob(u"1", 1);
    ASSERT_EQ(blob.size(), size_t{StoredTemplateSize});
    EXPECT_EQ(0, std::memcmp(blob.data(), PressTemplate(402, 2).data(), PressTemplateSize)) << "the new presses";
    EXPECT_EQ(0, std::memcmp(blob.data() + PressTemplateSize, PressTemplate(402, 1).data(), PressTemplateSize));
    EXPECT_EQ(FingerRows(u"1"), 1);
}

}  // namespace
