// The user search list and the user's card: paging six to a page, the
// filters, the list's marks, deleting from the list, the way to the edit
// page and back, and typed texts that try to change the statements.
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>

#include "core/LangText.h"
#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "core/MachineConfig.h"
#include "platform/ui/commctrl.h"
#include "platform/ui/dc.h"
#include "platform/ui/display.h"
#include "platform/ui/textrun.h"
#include "tests/page_support/column_titles.h"
#include "tests/users/users_fixture.h"
#include "users/CPTreeEditUser.h"
#include "users/CPTreeSearchUser.h"
#include "users/UserRows.h"
#include "widgets/JHSelectBox.h"

namespace search_user_test {
namespace {

constexpr unsigned kNode = CCPTreeSearchUser::kNode;

// A sensor of the 256-byte template store, which keeps the bytes it is given.
class SearchUserTest : public UsersTest {
protected:
    SearchUserTest() : UsersTest(7) {}
    // The list takes the focus, as the arrows from the fields give it.
    std::string FocusList() {
        return Probe([] { const_cast<CSkinListCtrl&>(Page()->List()).SetFocus(); });
    }
    // The node of the page the panel shows.
    static UINT ShownNode() {
        CControlPanel* panel = CControlPanel::Open();
        for (UINT node : {CCPTreeEditUser::kNode, kNode})
            if (panel->ShownPage() == panel->PageOf(node)) return node;
        return 0;
    }
    static CCPTreeSearchUser* Page() {
        return static_cast<CCPTreeSearchUser*>(CControlPanel::Open()->PageOf(kNode));
    }
    // A user row: ID, name, password, card, department, admin flag.
    static void StoreUser(const CString& id, const CString& name = u"", const CString& pwd = u"",
                          const CString& card = u"", int dept = 1, int admin = 0) {
        CString sql;
        sql.Format(u"INSERT INTO Userinfo VALUES (?,?,?,'0',?,%d,6,'',%d,'',0,0)", dept, admin);
        ASSERT_TRUE(ExecuteBound(*g_pDatabase, sql, {id, card, name, pwd}));
    }
    static void StoreUsers(int first, int last) {
        for (int id = first; id <= last; ++id) {
            CString text;
            text.Format(u"%d", id);
            StoreUser(text);
        }
    }
    // The IDs the list shows.
    static std::vector<CString> ShownIds() {
        std::vector<CString> ids;
        const CSkinListCtrl& list = Page()->List();
        for (int row = 0; row < list.GetItemCount(); ++row) ids.push_back(list.GetItemText(row, 0));
        return ids;
    }
    static CString PageLabel() { return Page()->GetDlgItem(1260) ? WindowText(1260) : CString(); }
    static CString WindowText(int id) {
        CString text;
        Page()->GetDlgItem(id)->GetWindowText(text);
        return text;
    }
    // The pixels of a control that the screen shows otherwise than the
    // control paints them by itself: what other windows paint over it.
    static int CoveredPixels(int id) {
        const Surface& screen = ScreenSurface();
        CWnd* control = Page()->GetDlgItem(id);
        RECT rect;
        control->GetWindowRect(&rect);
        std::vector<Pixel> shown;
        for (int y = rect.top; y < rect.bottom; ++y) shown.insert(shown.end(), screen.Row(y) + rect.left, screen.Row(y) + rect.right);
        control->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        int count = 0;
        size_t i = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x) count += shown[i++] != screen.At(x, y);
        return count;
    }
    static void SetField(int id, const CString& text) { Page()->GetDlgItem(id)->SetWindowText(text); }
    // Whether the edit and the delete button are enabled.
    static std::pair<bool, bool> EditAndDeleteEnabled() {
        return std::make_pair(Page()->GetDlgItem(1067)->IsWindowEnabled() != FALSE,
                              Page()->GetDlgItem(1036)->IsWindowEnabled() != FALSE);
    }
    int Count(const CString& text) const {
        int n = 0;
        for (const CString& message : Messages()) n += message == text ? 1 : 0;
        return n;
    }
    CString Text(const char16_t* key) const { return LangText(u"CCPTreeSearchUser", key); }
    int Users() const { return QueryInt(*g_pDatabase, u"select count(*) from userinfo"); }
};

TEST_F(SearchUserTest, FindPagesSixAtATimeWithItsLabelAndRefusesToGoPastEitherEnd) {
    StoreUsers(1, 14);
    std::vector<std::vector<CString>> pages;
    std::vector<CString> labels;
    UINT matches = 0;
    const auto note = [&] {
        return Probe([&] {
            pages.push_back(ShownIds());
            labels.push_back(PageLabel());
            matches = Page()->MatchCount();
        });
    };
    RunAt(kNode, {"key F1", note(), "key RIGHT", note(), "key F5", note(), "key RIGHT", note(), "key F4", note()});
    ASSERT_EQ(pages.size(), 5u);
    EXPECT_EQ(pages[0], (std::vector<CString>{u"1", u"2", u"3", u"4", u"5", u"6"}));
    EXPECT_EQ(labels[0], u"F4|<  1/3 >|F5");
    EXPECT_EQ(pages[1].front(), u"7");
    EXPECT_EQ(labels[1], u"F4|<  2/3 >|F5");
    EXPECT_EQ(pages[2], (std::vector<CString>{u"13", u"14"}));
    EXPECT_EQ(labels[2], u"F4|<  3/3 >|F5");
    EXPECT_EQ(pages[3], pages[2]) << "the right arrow is off on the last page";
    EXPECT_EQ(pages[4].front(), u"1");
    EXPECT_EQ(matches, 14u);
}

TEST_F(SearchUserTest, NoMatchShowsOneOfNoneAndTheNextPageSaysItIsTheLast) {
    StoreUsers(1, 3);
    CString label;
    RunAt(kNode, {Probe([] { SetField(1031, u"99"); }), "key F1", Probe([&] { label = PageLabel(); }), "answer ok",
                  Probe([] { Page()->SendMessage(EditEnterMessage(), 1065); })});
    EXPECT_EQ(label, u"F4|<  1/0 >|F5");
    EXPECT_EQ(Count(Text(u"SU0003")), 1);
}

TEST_F(SearchUserTest, FiltersByDepartmentIdAndNameAndTheIdIsShownAsANumber) {
    StoreUser(u"123", u"Ann", u"", u"", 1);
    StoreUser(u"124", u"Bob", u"", u"", 2);
    StoreUser(u"125", u"Ann", u"", u"", 2);
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO Dept VALUES (2,'Sales',1,1)"));
    std::vector<std::vector<CString>> found;
    CString shownId;
    const auto find = [&](const CString& id, const CString& name, int dept) {
        return std::vector<std::string>{Probe([=] {
                                            SetField(1031, id);
                                            SetField(1201, name);
                                            static_cast<CJHSelectBox*>(Page()->GetDlgItem(1143))->SetCurSelByValue(dept);
                                        }),
                                        "key F1", Probe([&] { found.push_back(ShownIds()); })};
    };
    std::vector<std::string> lines;
    Append(lines, find(u"00123", u"", 65535));
    lines.push_back(Probe([&] { shownId = WindowText(1031); }));
    Append(lines, find(u"", u"Ann", 65535));
    Append(lines, find(u"", u"", 2));
    Append(lines, find(u"", u"Ann", 2));
    Append(lines, find(u"abc", u"", 65535));
    RunAt(kNode, lines);
    ASSERT_EQ(found.size(), 5u);
    EXPECT_EQ(found[0], (std::vector<CString>{u"123"}));
    EXPECT_EQ(shownId, u"123") << "00123 is searched and shown as 123";
    EXPECT_EQ(found[1], (std::vector<CString>{u"123", u"125"}));
    EXPECT_EQ(found[2], (std::vector<CString>{u"124", u"125"}));
    EXPECT_EQ(found[3], (std::vector<CString>{u"125"}));
    EXPECT_EQ(found[4].size(), 3u) << "an ID of letters searches without an ID";
}

TEST_F(SearchUserTest, TheColumnsCountFingersAndMarkPasswordCardPhotoAndAdmin) {
    StoreUser(u"5", u"Ann", u"1234", u"4660", 1, 1);
    StoreUser(u"6");
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO FPinfo VALUES (0,'5',zeroblob(338)), (3,'5',zeroblob(338))"));
    root.PutFile("NandFlash/zeta42/ICON/5.jpg", "photo");
    std::vector<std::vector<CString>> rows;
    RunAt(kNode, {"key F1", Probe([&] {
                      const CSkinListCtrl& list = Page()->List();
                      for (int row = 0; row < list.GetItemCount(); ++row) {
                          std::vector<CString> cells;
                          for (int column = 0; column < 6; ++column) cells.push_back(list.GetItemText(row, column));
                          rows.push_back(cells);
                      }
                  })});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<CString>{u"5", u"2", u"\u25CF", u"\u25CF", u"\u25CF", u"\u25CF"}));
    EXPECT_EQ(rows[1], (std::vector<CString>{u"6", u"0", u"", u"", u"", u""}));
}

// Each mark reads its own column: a password alone marks Code, a card
// alone marks Card, and only the administrator flag 1 marks Admin.
TEST_F(SearchUserTest, EachMarkReadsItsOwnColumn) {
    StoreUser(u"7", u"", u"1234");
    StoreUser(u"8", u"", u"", u"4660");
    StoreUser(u"9", u"", u"", u"", 1, 2);
    std::vector<std::vector<CString>> marks;
    RunAt(kNode, {"key F1", Probe([&] {
                      const CSkinListCtrl& list = Page()->List();
                      for (int row = 0; row < list.GetItemCount(); ++row)
                          marks.push_back({list.GetItemText(row, 2), list.GetItemText(row, 3), list.GetItemText(row, 5)});
                  })});
    EXPECT_EQ(marks, (std::vector<std::vector<CString>>{{u"\u25CF", u"", u""}, {u"", u"\u25CF", u""}, {u"", u"", u""}}));
}

TEST_F(SearchUserTest, DeletingFromTheListTakesTheUserHisFingerprintsAndTemplates) {
    StoreUsers(1, 3);
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO FPinfo VALUES (0,'2',zeroblob(338))"));
    const BYTE templ[StoredTemplateSize] = {7};
    ASSERT_EQ(store.Add(templ, u"2", 0, FALSE, StoredTemplateSize), 1);
    std::vector<CString> after;
    RunAt(kNode, {"key F1", FocusList(), "key DOWN", "answer yes", "key F3", Probe([&] { after = ShownIds(); }),
                  "answer no", "key F3"});
    EXPECT_EQ(after, (std::vector<CString>{u"1", u"3"}));
    EXPECT_FALSE(UserRowExists(*g_pDatabase, u"2"));
    EXPECT_EQ(FingerRows(u"2"), 0);
    EXPECT_EQ(store.FindSlot(u"2", 0), nullptr) << "no longer identified";
    EXPECT_EQ(Users(), 2) << "No keeps the user";
    EXPECT_EQ(users->GetCount(), 2);
    CString question;
    question.Format(Text(u"SU0008"), u"2");
    EXPECT_EQ(Count(question), 1);
}

TEST_F(SearchUserTest, EditOpensTheSelectedUserAndTheReturnKeepsTheRowSelected) {
    StoreUser(u"1", u"Ann");
    StoreUser(u"2", u"Bob");
    CString edited;
    int selectedAfter = -1;
    RunAt(kNode, {"key F1", FocusList(), "key DOWN", "key F2", Probe([&] {
                      CString name;
                      CControlPanel::Open()->PageOf(CCPTreeEditUser::kNode)->GetDlgItem(1032)->GetWindowText(name);
                      edited = name;
                  }),
                  "key ESC", Probe([&] { selectedAfter = Page()->List().GetNextItem(-1, LVNI_SELECTED); })});
    EXPECT_EQ(edited, u"Bob");
    EXPECT_EQ(selectedAfter, 1);
}

// The question gives the focus back to the list before the list is loaded
// again: the row asked about (after a delete, the one now in its place)
// must be chosen again, or Enter, F2 and F3 act on no row and the arrows
// leave the list.
TEST_F(SearchUserTest, AfterTheDeleteQuestionTheRowAskedAboutStaysChosenForTheNextKey) {
    StoreUser(u"1", u"Ann");
    StoreUser(u"2", u"Bob");
    StoreUser(u"3", u"Cid");
    const auto selected = [] { return Page()->List().GetNextItem(-1, LVNI_SELECTED); };
    int afterNo = -1, afterYes = -1;
    std::vector<CString> shownAfterYes;
    CString edited;
    RunAt(kNode, {"key F1", FocusList(), "key DOWN", "answer no", "key F3", Probe([&] { afterNo = selected(); }),
                  "answer yes", "key F3", Probe([&] {
                      afterYes = selected();
                      shownAfterYes = ShownIds();
                  }),
                  "key F2", Probe([&] {
                      if (ShownNode() == CCPTreeEditUser::kNode)
                          CControlPanel::Open()->PageOf(CCPTreeEditUser::kNode)->GetDlgItem(1032)->GetWindowText(edited);
                  })});
    EXPECT_EQ(afterNo, 1) << "No keeps Bob's row chosen";
    EXPECT_EQ(shownAfterYes, (std::vector<CString>{u"1", u"3"}));
    EXPECT_EQ(afterYes, 1) << "Cid's row takes the place of Bob's";
    EXPECT_EQ(edited, u"Cid") << "F2 edits the user of the chosen row";
}

// Once an arrow went past the list's edge, the edit and delete buttons
// stay disabled, a new search included; their keys still act.
TEST_F(SearchUserTest, AnArrowPastTheListsEdgeDisablesEditAndDeleteForGoodAndTheirKeysStillAct) {
    StoreUser(u"1", u"Ann");
    StoreUser(u"2", u"Bob");
    std::pair<bool, bool> atEdge{true, true}, afterFind{true, true};
    CString edited;
    RunAt(kNode, {"key F1", FocusList(), "key UP", Probe([&] { atEdge = EditAndDeleteEnabled(); }), "key F1",
                  FocusList(), Probe([&] { afterFind = EditAndDeleteEnabled(); }), "key F2", Probe([&] {
                      CControlPanel::Open()->PageOf(CCPTreeEditUser::kNode)->GetDlgItem(1032)->GetWindowText(edited);
                  })});
    EXPECT_EQ(atEdge, std::make_pair(false, false));
    EXPECT_EQ(afterFind, std::make_pair(false, false));
    EXPECT_EQ(edited, u"Ann") << "F2 edits the selected row";
}

// Turning the page with the arrows selects the first row and leaves edit
// and delete as they were: only an arrow past the list's edge disables them.
TEST_F(SearchUserTest, TurningThePageWithTheArrowsKeepsEditAndDeleteEnabled) {
    StoreUsers(1, 8);
    std::vector<std::pair<bool, bool>> seen;
    std::vector<int> selected;
    const auto note = [&] {
        return Probe([&] {
            seen.push_back(EditAndDeleteEnabled());
            selected.push_back(Page()->List().GetNextItem(-1, LVNI_SELECTED));
        });
    };
    RunAt(kNode, {"key F1", "key RIGHT", note(), "key LEFT", note(), FocusList(), "key UP", note()});
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], std::make_pair(true, true)) << "after the right arrow";
    EXPECT_EQ(seen[1], std::make_pair(true, true)) << "after the left arrow";
    EXPECT_EQ(seen[2], std::make_pair(false, false)) << "Up on the first row goes past the edge";
    EXPECT_EQ(selected[0], 0);
    EXPECT_EQ(selected[1], 0);
}

// Down within the list keeps the focus there: the row moved to shows
// selected and Enter opens its card.
TEST_F(SearchUserTest, DownWithinTheListKeepsTheFocusAndEnterOpensTheRowMovedTo) {
    StoreUsers(1, 3);
    bool inList = false;
    int selected = -1;
    CString cardId;
    RunAt(kNode, {"key F1", FocusList(), "key DOWN", Probe([&] {
                      inList = CWnd::GetFocus() == &Page()->List();
                      selected = Page()->List().GetNextItem(-1, LVNI_SELECTED);
                  }),
                  "key ENTER", Probe([&] {
                      char16_t text[16] = {};
                      ::GetDlgItemTextW(::GetParent(::GetFocus()), 1349, text, 16);
                      cardId = text;
                  }),
                  "key ESC"});
    EXPECT_TRUE(inList);
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(cardId, u"2");
}

TEST_F(SearchUserTest, TypedTextsNeverChangeTheStatements) {
    StoreUsers(1, 3);
    StoreUser(u"4", u"a_b%");
    std::vector<std::vector<CString>> found;
    std::vector<std::string> lines;
    CString longName;
    for (int i = 0; i < 200; ++i) longName += u'\u5f20';
    for (const CString& name : {CString(u"x' or '1'='1"), CString(u"%"), CString(u"a_b%"),
                                CString(u"'; drop table userinfo; --"), longName}) {
        lines.push_back(Probe([name] { SetField(1201, name); }));
        lines.push_back("key F1");
        lines.push_back(Probe([&] { found.push_back(ShownIds()); }));
    }
    lines.push_back(Probe([] { SetField(1201, u""); SetField(1031, u"1234567890123"); }));
    lines.push_back("answer ok");
    lines.push_back("key F1");
    RunAt(kNode, lines);
    ASSERT_EQ(found.size(), 5u);
    EXPECT_TRUE(found[0].empty());
    EXPECT_TRUE(found[1].empty()) << "a name is matched exactly";
    EXPECT_EQ(found[2], (std::vector<CString>{u"4"}));
    EXPECT_TRUE(found[3].empty());
    EXPECT_TRUE(found[4].empty());
    EXPECT_EQ(Users(), 4);
    EXPECT_EQ(Count(Text(u"SU0014")), 1) << "13 digits are too long";
}

// The ID label reaches under the two edits and covers neither: the ID
// edit's left border and the name edit's top border are drawn whole when
// the page is entered and after a find that gives the list the focus.
TEST_F(SearchUserTest, TheIdLabelLeavesTheEditsBordersWhole) {
    StoreUsers(1, 9);
    std::vector<int> bare;
    const auto lookAtBorders = [&] {
        const Surface& screen = ScreenSurface();
        RECT id, name;
        Page()->GetDlgItem(1031)->GetWindowRect(&id);
        Page()->GetDlgItem(1201)->GetWindowRect(&name);
        int count = 0;
        for (int y = id.top; y < id.bottom; ++y) count += screen.At(id.left, y) != screen.At(id.right - 1, y);
        for (int x = name.left; x < name.right; ++x) count += screen.At(x, name.top) != screen.At(name.left, name.bottom - 1);
        bare.push_back(count);
    };
    RunAt(kNode, {Probe(lookAtBorders), "key F1", Probe(lookAtBorders)});
    EXPECT_EQ(bare, (std::vector<int>{0, 0})) << "border pixels painted over, as entered and after a find";
}

// The department label reaches under its box and covers none of it: the
// box on the screen is what the box draws by itself, left arrow and all.
TEST_F(SearchUserTest, TheDepartmentLabelLeavesItsBoxWhole) {
    std::vector<int> covered;
    const auto lookAtBox = [&] { covered.push_back(CoveredPixels(1143)); };
    RunAt(kNode, {Probe(lookAtBox), "key F1", Probe(lookAtBox)});
    EXPECT_EQ(covered, (std::vector<int>{0, 0})) << "box pixels painted over, as entered and after a find";
}

// Every widget of the layout stands at its place and size in the page.
TEST_F(SearchUserTest, EachWidgetOfTheLayoutStandsInItsPlace) {
    struct Place {
        int id;
        CRect rect;
    };
    const Place places[] = {
        {1033, CRect(5, 12, 35, 35)},     {1031, CRect(20, 16, 85, 29)},    {1035, CRect(92, 12, 157, 35)},
        {1143, CRect(133, 14, 223, 37)},  {1037, CRect(228, 14, 318, 37)},  {1344, CRect(13, 39, 310, 63)},
        {1066, CRect(14, 59, 307, 170)},  {1260, CRect(15, 175, 115, 198)}, {1064, CRect(125, 175, 215, 200)},
        {1065, CRect(225, 175, 315, 200)},
    };
    std::vector<std::pair<int, CRect>> seen;
    RunAt(kNode, {Probe([&] {
              for (const Place& place : places) {
                  CRect rect;
                  Page()->GetDlgItem(place.id)->GetWindowRect(&rect);
                  Page()->ScreenToClient(&rect);
                  seen.emplace_back(place.id, rect);
              }
          })});
    ASSERT_EQ(seen.size(), std::size(places));
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i].second, places[i].rect) << "control " << seen[i].first;
}

// The name row has no room of its own: its field stays whole between the
// ID field and the title line, and the list's first row shows whole below
// the line.
TEST_F(SearchUserTest, TheNameFieldAndTheFirstRowShowWholeBesideTheTitleLine) {
    StoreUsers(1, 9);
    std::vector<int> covered;
    const auto look = [&] {
        covered.push_back(CoveredPixels(1201));
        covered.push_back(CoveredPixels(1066));
    };
    RunAt(kNode, {Probe(look), "key F1", Probe(look)});
    EXPECT_EQ(covered, (std::vector<int>{0, 0, 0, 0})) << "pixels painted over, as entered and after a find";
    CRect name, line;
    RunAt(kNode, {Probe([&] {
              Page()->GetDlgItem(1201)->GetWindowRect(name);
              Page()->GetDlgItem(1344)->GetWindowRect(line);
          })});
    EXPECT_LE(name.bottom, line.top) << "the name field runs into the title line";
}

// Each column title begins inside its own column (a mark under a title
// belongs to that title), in both languages.
TEST_F(SearchUserTest, EachColumnTitleStandsOverItsColumn) {
    for (const char16_t* language : {u"English", u"Chinese"}) {
        g_MachineConfig.LanguageName = language;
        ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
        TitlesAndColumns seen;
        RunAt(kNode, {Probe([&] { seen = LookAtTitles(*Page()->GetDlgItem(1344), Page()->List(), 6); })});
        ASSERT_EQ(seen.titleLefts.size(), 6u) << "one title per column";
        for (size_t column = 0; column < 6; ++column) {
            EXPECT_GE(seen.titleLefts[column], seen.columns[column].first) << "title " << column;
            EXPECT_LT(seen.titleLefts[column], seen.columns[column].second) << "title " << column;
        }
    }
}

TEST_F(SearchUserTest, TheCardShowsTheChosenUserAndClosesOnEsc) {
    StoreUser(u"5", u"Ann", u"", u"", 1, 1);
    StoreUser(u"6", u"Bob");
    // A .jpg photo is found before a .png one.
    std::filesystem::create_directories(root.HostPath("NandFlash/zeta42/ICON"));
    CxImage photo(SkinPath(u"Dialog\\CE_finger.png"), CXIMAGE_FORMAT_PNG);
    ASSERT_TRUE(photo.Save(u"\\NandFlash\\zeta42\\ICON\\5.jpg", CXIMAGE_FORMAT_JPG));
    root.PutFile("NandFlash/zeta42/ICON/5.png", "not an image");
    ::testing::AssertionResult card = ::testing::AssertionFailure();
    bool open = false, closed = true;
    RunAt(kNode, {"key F1", FocusList(), "key ENTER", "golden users_search_card", Probe([&] {
                      card = golden;
                      open = ::FindWindowW(nullptr, nullptr) != nullptr && CWnd::GetFocus() != &Page()->List();
                  }),
                  "key ESC", Probe([&] { closed = CWnd::GetFocus() == &Page()->List(); }), "golden users_search_list"});
    EXPECT_TRUE(card);
    EXPECT_TRUE(open) << "the card holds the focus";
    EXPECT_TRUE(closed) << "ESC closes the card and the list has the focus again";
    EXPECT_TRUE(golden);
}

// The card's hints are the list's own keys: F2 edits the user it shows, and
// ESC on the edit page comes back to the list with that row selected.
TEST_F(SearchUserTest, F2OnTheCardEditsTheShownUserAndEscComesBackToTheList) {
    StoreUser(u"1", u"Ann");
    StoreUser(u"2", u"Bob");
    UINT nodeOnEdit = 0, nodeAfter = 0;
    CString edited;
    int selectedAfter = -1;
    bool listFocused = false;
    RunAt(kNode, {"key F1", FocusList(), "key DOWN", "key ENTER", "key F2", Probe([&] {
                      nodeOnEdit = ShownNode();
                      if (nodeOnEdit == CCPTreeEditUser::kNode)
                          CControlPanel::Open()->ShownPage()->GetDlgItem(1032)->GetWindowText(edited);
                  }),
                  "key ESC", Probe([&] {
                      nodeAfter = ShownNode();
                      selectedAfter = Page()->List().GetNextItem(-1, LVNI_SELECTED);
                      listFocused = CWnd::GetFocus() == &Page()->List();
                  })});
    EXPECT_EQ(nodeOnEdit, CCPTreeEditUser::kNode);
    EXPECT_EQ(edited, u"Bob");
    EXPECT_EQ(nodeAfter, kNode);
    EXPECT_EQ(selectedAfter, 1);
    EXPECT_TRUE(listFocused);
}

// Enroll FP on the edit page the list opened enrols the user of the chosen
// row, comes back to him and, with ESC, to the list.
TEST_F(SearchUserTest, EnrollFpOnTheEditPageTheListOpenedEnrolsItsUser) {
    StoreUser(u"1", u"Ann");
    StoreUser(u"2", u"Bob");
    UINT nodeBack = 0, nodeAfter = 0;
    CString nameBack;
    RunAt(kNode, {"key F1", FocusList(), "key DOWN", "key F2", "tapon 122 1323", "key ENTER", "key ENTER", "wait 300",
                  Finger(1401, 1), "wait 300", "lift", "wait 700", Finger(1401, 2), "wait 300", "lift", "answer ok",
                  "key ENTER", Probe([&] {
                      nodeBack = ShownNode();
                      CControlPanel::Open()->PageOf(CCPTreeEditUser::kNode)->GetDlgItem(1032)->GetWindowText(nameBack);
                  }),
                  "key ESC", Probe([&] { nodeAfter = ShownNode(); })});
    EXPECT_EQ(FingerRows(u"2"), 1);
    EXPECT_EQ(FingerRows(u"1"), 0);
    EXPECT_EQ(nodeBack, CCPTreeEditUser::kNode);
    EXPECT_EQ(nameBack, u"Bob");
    EXPECT_EQ(nodeAfter, kNode);
}

// F3 on the card asks as F3 on the row does and deletes the user it shows
// on Yes only.
TEST_F(SearchUserTest, F3OnTheCardAsksAndDeletesTheShownUser) {
    StoreUsers(1, 3);
    std::vector<CString> afterNo, afterYes;
    const std::vector<std::string> secondRowCard{"key F1", FocusList(), "key DOWN", "key ENTER"};
    std::vector<std::string> lines = secondRowCard;
    Append(lines, {"answer no", "key F3", Probe([&] { afterNo = ShownIds(); })});
    Append(lines, secondRowCard);
    Append(lines, {"answer yes", "key F3", Probe([&] { afterYes = ShownIds(); })});
    RunAt(kNode, lines);
    EXPECT_EQ(afterNo, (std::vector<CString>{u"1", u"2", u"3"})) << "No keeps the user";
    EXPECT_EQ(afterYes, (std::vector<CString>{u"1", u"3"}));
    EXPECT_FALSE(UserRowExists(*g_pDatabase, u"2"));
    EXPECT_EQ(Users(), 2);
    CString question;
    question.Format(Text(u"SU0008"), u"2");
    EXPECT_EQ(Count(question), 2);
}

// The statements a connection opened while the spy is installed runs, by
// their text as written, each when it first runs.
std::vector<std::string>* g_ranStatements = nullptr;

int NoteStatement(unsigned, void*, void* statement, void*) {
    if (g_ranStatements != nullptr) g_ranStatements->push_back(sqlite3_sql(static_cast<sqlite3_stmt*>(statement)));
    return 0;
}

int SpyOnConnection(sqlite3* db, const char**, const sqlite3_api_routines*) {
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, NoteStatement, nullptr);
    return SQLITE_OK;
}

// The search list on a database whose statements are seen as they run.
class SearchStatementsTest : public SearchUserTest {
protected:
    static void SetUpTestSuite() { sqlite3_auto_extension(reinterpret_cast<void (*)()>(SpyOnConnection)); }
    static void TearDownTestSuite() { sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(SpyOnConnection)); }
    SearchStatementsTest() { g_ranStatements = &ran; }
    ~SearchStatementsTest() override { g_ranStatements = nullptr; }
    bool Ran(const std::string& sql) const { return std::find(ran.begin(), ran.end(), sql) != ran.end(); }

    std::vector<std::string> ran;
};

// The department box offers "all" and then each department by its ID and
// name, read by the statement that names those two columns.
TEST_F(SearchStatementsTest, TheDepartmentBoxListsAllAndEachDepartmentByIdAndName) {
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO Dept VALUES (2,'Sales',1,1)"));
    std::vector<CString> shown;
    RunAt(kNode, {Probe([&] {
              auto* box = static_cast<CJHSelectBox*>(Page()->GetDlgItem(1143));
              shown.push_back(box->GetCurSelText());
              for (int dept : {1, 2})
                  if (box->SetCurSelByValue(dept)) shown.push_back(box->GetCurSelText());
          })});
    EXPECT_TRUE(Ran("Select DeptId,DeptName from Dept"));
    EXPECT_EQ(shown, (std::vector<CString>{LangText(u"CCPTreeSearchUser", u"SU0007"), u"Head Office", u"Sales"}));
}

}  // namespace

}  // namespace search_user_test
