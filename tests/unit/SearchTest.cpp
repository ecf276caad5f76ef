// The configuration window's file search on a fake file system: the order of
// the results, which folders are entered and which files are found, the status
// texts, the progress bar and its pauses, Stop at each level and across drives,
// Check All, Save into the list of the current tab, the results list's clicks
// and popup menu, and a close that arrives while a search runs.
#include <gtest/gtest.h>

#include "common/Errors.h"
#include "fakes/FakeMainWidgets.h"
#include "unit/PeImageBuilder.h"

using namespace lumivane;
using namespace lumivane::test;

namespace {

struct SearchFixture : ::testing::Test, FakeMainForm {
    using FakeMainForm::Run; // not the Run of ::testing::Test

    void SetUp() override {
        btStop.visible = false;
        drives.drives = {{"C:\\", DriveType::Fixed}, {"D:\\", DriveType::Fixed}};
    }
    // The folder the next search looks in, as a pick in the combo leaves it.
    void Base(const std::string& folder) {
        cboxDriver.Add(folder);
        cboxDriver.SetItemIndex(cboxDriver.Count() - 1);
    }
    std::vector<std::string> Search(const std::string& folder) {
        Base(folder);
        Run(&TfrmMain::btSearchClick);
        return form.FoundPaths();
    }
};

using SearchOrder = SearchFixture;
using SearchFinds = SearchFixture;
using SearchProgress = SearchFixture;
using SearchStop = SearchFixture;
using SearchResults = SearchFixture;
using SearchSave = SearchFixture;
using SearchClose = SearchFixture;

// A folder's own matches come before those of its sub-folders, which follow in
// the order the file system lists them; the rows show display names in capitals.
TEST_F(SearchOrder, DepthFirstWithRowsCountAndStatus) {
    files.AddFile("D:\\S\\top.scr", SaverWithDescription(u"Top saver"));
    files.AddFolder("D:\\S\\one");
    files.AddFile("D:\\S\\one\\b.scr", SaverWithDescription(u"bee"));
    files.AddFile("D:\\S\\one\\deep\\c.scr", SaverWithDescription(u"sea"));
    files.AddFile("D:\\S\\two\\d.scr", SaverWithDescription(u"dee"));
    files.AddFile("D:\\S\\readme.txt");
    files.AddFile("D:\\S\\z.scr", SaverWithDescription(u"last at the top"));
    Open();
    std::vector<std::pair<std::string, int>> pumps; // panel 2 and the rows at each
    messages.onPump = [&](int) { pumps.emplace_back(statusBar.PanelText(2), lsSearch.Count()); };

    EXPECT_EQ(Search("D:\\S\\"), (std::vector<std::string>{"D:\\S\\top.scr", "D:\\S\\z.scr", "D:\\S\\one\\b.scr",
                                                           "D:\\S\\one\\deep\\c.scr", "D:\\S\\two\\d.scr"}));
    EXPECT_EQ(lsSearch.rows, (std::vector<std::string>{"TOP SAVER", "LAST AT THE TOP", "BEE", "SEA", "DEE"}));
    EXPECT_EQ(lsSearch.checks, std::vector<bool>(5, false));
    EXPECT_EQ(statusBar.PanelText(1), "Found:5");
    EXPECT_EQ(statusBar.PanelText(2), "Search done");
    EXPECT_EQ(statusBar.PanelText(0), "Message");
    // Messages run once after each sub-folder, deepest first, then between two rows.
    const std::string deep = "Searching:D:\\S\\one\\deep\\", two = "Searching:D:\\S\\two\\";
    EXPECT_EQ(pumps, (std::vector<std::pair<std::string, int>>{
                         {deep, 0}, {deep, 0}, {two, 0}, {two, 1}, {two, 2}, {two, 3}, {two, 4}}));
    EXPECT_TRUE(btSearch.visible);
    EXPECT_FALSE(btStop.visible);
    EXPECT_EQ(progressBar.position, 100);
}

TEST_F(SearchOrder, DuringTheSearchTheListStaysEmptyAndTheButtonsSwap) {
    files.AddFile("D:\\S\\a.scr", SaverWithDescription(u"A"));
    files.AddFile("D:\\S\\sub\\b.scr", SaverWithDescription(u"B"));
    Open();
    Search("D:\\S\\");
    ASSERT_EQ(lsSearch.Count(), 2);
    // The rows come only once the walk is over (pump 1, after "sub"); the window
    // then answers between two rows (pump 2).
    messages.pumps = 0;
    messages.onPump = [&](int pump) {
        EXPECT_EQ(lsSearch.Count(), pump - 1);
        EXPECT_EQ(statusBar.PanelText(1), "Found:2"); // the old count stays until the end
        EXPECT_FALSE(btSearch.visible);
        EXPECT_TRUE(btStop.visible);
    };
    Search("D:\\S\\");
    EXPECT_EQ(messages.pumps, 2);
    EXPECT_EQ(lsSearch.Count(), 2);
}

TEST_F(SearchOrder, FlashTabSearchesMoviesAndShowsFileNames) {
    files.AddFile("D:\\M\\intro.swf", "FWS");
    files.AddFile("D:\\M\\saver.scr", SaverWithDescription(u"not a movie"));
    files.AddFile("D:\\M\\more\\Loop.SWF", "FWS");
    Open("[RandomWhat]\r\nType=1\r\n");
    EXPECT_EQ(Search("D:\\M\\"), (std::vector<std::string>{"D:\\M\\intro.swf", "D:\\M\\more\\Loop.SWF"}));
    EXPECT_EQ(lsSearch.rows, (std::vector<std::string>{"INTRO.SWF", "LOOP.SWF"}));
}

// A read-only folder (Documents) is entered, a link below it and a hidden folder
// are not; files that fit the mask are found whatever their attributes.
TEST_F(SearchFinds, FoldersUsersKeepAreEnteredLinksAndHiddenOnesNot) {
    files.AddFile("D:\\S\\hidden.scr", "x", attr::kHidden | attr::kSystem);
    files.AddFolder("D:\\S\\ro", attr::kReadOnly);
    files.AddFile("D:\\S\\ro\\r.scr", "x");
    files.AddFolder("D:\\S\\ro\\link", attr::kReparsePoint);
    files.AddFile("D:\\S\\ro\\link\\x.scr", "x");
    files.AddFolder("D:\\S\\hid", attr::kHidden);
    files.AddFile("D:\\S\\hid\\x.scr", "x");
    Open();
    EXPECT_EQ(Search("D:\\S\\"), (std::vector<std::string>{"D:\\S\\hidden.scr", "D:\\S\\ro\\r.scr"}));
}

TEST_F(SearchFinds, WhichFoldersAreEntered) {
    using namespace attr;
    const struct {
        const char* name;
        std::uint32_t attributes;
        bool entered;
    } cases[] = {
        {"a", kDirectory, true},
        {"Documents", kDirectory | kReadOnly, true},
        {"a", kDirectory | kReadOnly | kArchive | kNormal, true},
        {".", kDirectory, false},
        {"..", kDirectory, false},
        {"a", kArchive, false}, // a file
        {"a", kDirectory | kHidden, false},
        {"a", kDirectory | kReadOnly | kSystem, false},
        {"junction", kDirectory | kReparsePoint, false},
        {"OneDrive", kDirectory | kReadOnly | kRecallOnDataAccess, false},
        {"a", kDirectory | kRecallOnOpen, false},
        {"a", kDirectory | kOffline, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TfrmMain::IsSubFolder({c.name, c.attributes}), c.entered) << c.name << " " << c.attributes;
}

TEST_F(SearchFinds, TheProductWordIsExcludedByteForByte) {
    files.AddFile("D:\\S\\Lumivane.scr", SaverWithDescription(u"self"));
    files.AddFile("D:\\S\\MyLumivane.scr", SaverWithDescription(u"mine"));
    files.AddFile("D:\\S\\lumivane2.scr", SaverWithDescription(u"small"));
    files.AddFile("D:\\S\\Lumivane\\inside.scr", SaverWithDescription(u"inside"));
    // The file system ignores case, so the capitals live in a folder of their own.
    files.AddFile("D:\\S\\caps\\LUMIVANE.SCR", SaverWithDescription(u"capitals"));
    Open();
    // The folder's name is no part of the test: only the file's own name is.
    EXPECT_EQ(Search("D:\\S\\"), (std::vector<std::string>{"D:\\S\\lumivane2.scr", "D:\\S\\Lumivane\\inside.scr",
                                                           "D:\\S\\caps\\LUMIVANE.SCR"}));
}

TEST_F(SearchFinds, AFolderNamedLikeASaverIsFoundAndEntered) {
    files.AddFolder("D:\\S\\old.scr");
    files.AddFile("D:\\S\\old.scr\\inner.scr", SaverWithDescription(u"Inner"));
    Open();
    EXPECT_EQ(Search("D:\\S\\"), (std::vector<std::string>{"D:\\S\\old.scr", "D:\\S\\old.scr\\inner.scr"}));
    EXPECT_EQ(lsSearch.rows, (std::vector<std::string>{"FILE NOT FOUND!", "INNER"}));
}

TEST_F(SearchFinds, RowsUseTheSystemsFileNameCapitalsTheListsTheAsciiRule) {
    files.AddFile("D:\\S\\etoile.scr", SaverWithDescription(u"\u00e9toile filante"));
    files.AddFile("D:\\S\\\xc3\xa9t\xc3\xa9.scr", "not a program");
    shell.displayNames["D:\\S\\\xc3\xa9t\xc3\xa9.scr"] = "\xc3\xa9t\xc3\xa9";
    Open();
    Search("D:\\S\\");
    EXPECT_EQ(lsSearch.rows, (std::vector<std::string>{"\xc3\x89TOILE FILANTE", "\xc3\x89T\xc3\x89"}));
    lsSearch.checks = {true, true};
    Run(&TfrmMain::btSaveClick);
    EXPECT_EQ(lsScreen.rows, (std::vector<std::string>{"\xc3\xa9TOILE FILANTE", "\xc3\xa9T\xc3\xa9"}));
}

TEST_F(SearchFinds, WithoutSubFoldersOnlyTheFolderItself) {
    files.AddFile("D:\\S\\a.scr", SaverWithDescription(u"A"));
    files.AddFile("D:\\S\\sub\\b.scr", SaverWithDescription(u"B"));
    Open("[Misc]\r\nSub=0\r\n");
    progressBar.position = 30;
    EXPECT_EQ(Search("D:\\S\\"), std::vector<std::string>{"D:\\S\\a.scr"});
    EXPECT_EQ(messages.pumps, 0);
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_EQ(statusBar.PanelText(2), "Search done");
    EXPECT_EQ(progressBar.position, 100);
    // Only the mask is enumerated: no "*.*" listing for sub-folders.
    EXPECT_EQ(files.enumerations, 1);
}

// Folders that yield nothing end the search normally with nothing reported.
TEST_F(SearchFinds, MissingUnreadableAndBrowseEntryFindNothing) {
    files.AddFile("D:\\S\\locked\\a.scr", SaverWithDescription(u"A"));
    files.SetUnreadable("D:\\S\\locked");
    files.AddFile("D:\\S\\b.scr", SaverWithDescription(u"B"));
    Open();
    EXPECT_EQ(Search("D:\\S\\"), std::vector<std::string>{"D:\\S\\b.scr"});
    for (const std::string base : {"D:\\nowhere\\", "D:\\S\\locked\\", kBrowseEntry}) {
        EXPECT_TRUE(Search(base).empty()) << base;
        EXPECT_EQ(lsSearch.Count(), 0);
        EXPECT_EQ(statusBar.PanelText(1), "Found:0");
        EXPECT_EQ(statusBar.PanelText(2), "Search done");
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SearchFinds, ADoubledBackslashAfterADriveRootStillSearches) {
    files.AddFile("D:\\a.scr", SaverWithDescription(u"A"));
    files.AddFile("D:\\sub\\b.scr", SaverWithDescription(u"B"));
    Open();
    EXPECT_EQ(Search("D:\\\\"), (std::vector<std::string>{"D:\\\\a.scr", "D:\\\\sub\\b.scr"}));
    EXPECT_EQ(lsSearch.rows, (std::vector<std::string>{"A", "B"}));
}

// The Video tab finds the seven extensions that Windows plays, in any case, and
// nothing else, with one listing per folder; Save adds them to the video list.
TEST_F(SearchFinds, TheVideoTabFindsTheSevenVideoExtensionsInAnyCase) {
    const std::vector<std::string> videos = {"D:\\V\\a.mp4", "D:\\V\\b.M4V", "D:\\V\\c.Mov",     "D:\\V\\d.WMV",
                                             "D:\\V\\e.asf", "D:\\V\\f.aVi", "D:\\V\\sub\\g.MKV"};
    for (const std::string& path : videos)
        files.AddFile(path, "x");
    for (const char* other : {"D:\\V\\song.mp3", "D:\\V\\a.mp4.txt", "D:\\V\\mp4", "D:\\V\\b.mp4x", "D:\\V\\x.scr",
                              "D:\\V\\m.swf", "D:\\V\\Lumivane.mp4"})
        files.AddFile(other, "x");
    Open("[RandomWhat]\r\nType=2\r\n");
    files.enumerations = 0;
    EXPECT_EQ(Search("D:\\V\\"), videos);
    EXPECT_EQ(files.enumerations, 2);
    EXPECT_EQ(lsSearch.rows[6], "G.MKV");
    lsSearch.checks = {true, false, false, false, false, false, true};
    Run(&TfrmMain::btSaveClick);
    EXPECT_EQ(form.VideoList(), (std::vector<std::string>{videos[0], videos[6]}));
    EXPECT_EQ(Stored("VideoList", "File1"), videos[6]);
    EXPECT_EQ(Stored("Amount", "VideoTotal"), "2");
}

TEST_F(SearchFinds, AListKindWithoutAMaskSearchesNothing) {
    files.AddFile("D:\\S\\a.scr", SaverWithDescription(u"A"));
    Open("[RandomWhat]\r\nType=3\r\n");
    files.enumerations = 0;
    EXPECT_TRUE(Search("D:\\S\\").empty());
    EXPECT_EQ(files.enumerations, 0);
    EXPECT_EQ(statusBar.PanelText(1), "Found:0");
    EXPECT_EQ(statusBar.PanelText(2), "Search done");
}

TEST_F(SearchFinds, DeepAndWideTrees) {
    // Four hundred nested folders, one saver in each, paths far beyond 260
    // characters: found top down.
    std::string folder = "D:\\Deep\\";
    for (int level = 0; level < 400; ++level) {
        files.AddFile(folder + "s" + std::to_string(level) + ".scr", "x");
        folder += "d\\";
    }
    // Three thousand side by side.
    for (int i = 0; i < 3000; ++i)
        files.AddFile("D:\\Wide\\f" + std::to_string(i) + "\\w.scr", "x");
    Open();
    const std::vector<std::string> deep = Search("D:\\Deep\\");
    ASSERT_EQ(deep.size(), 400u);
    EXPECT_EQ(deep.front(), "D:\\Deep\\s0.scr");
    EXPECT_EQ(deep.back().size(), std::string("D:\\Deep\\").size() + 2 * 399 + std::string("s399.scr").size());
    EXPECT_EQ(statusBar.PanelText(1), "Found:400");
    EXPECT_EQ(clock.sleeps.size(), 399u);
    const std::vector<std::string> wide = Search("D:\\Wide\\");
    ASSERT_EQ(wide.size(), 3000u);
    EXPECT_EQ(wide[2999], "D:\\Wide\\f2999\\w.scr");
    EXPECT_EQ(statusBar.PanelText(1), "Found:3000");
}

// A tab switch or a combo pick between sub-folders changes only what the next
// search or Save uses: the running search keeps its mask and base.
TEST_F(SearchFinds, TheRunningSearchKeepsItsMaskAndBase) {
    files.AddFile("D:\\S\\a\\one.scr", "x");
    files.AddFile("D:\\S\\b\\two.scr", "x");
    files.AddFile("D:\\S\\b\\movie.swf", "x");
    files.AddFile("D:\\T\\other.scr", "x");
    Open();
    Base("D:\\T\\");
    messages.onPump = [&](int pump) {
        if (pump == 1) {
            page.tabIndex = 1;
            form.pageChange();
            cboxDriver.SetItemIndex(cboxDriver.Count() - 2); // the folder T
        }
    };
    EXPECT_EQ(Search("D:\\S\\"), (std::vector<std::string>{"D:\\S\\a\\one.scr", "D:\\S\\b\\two.scr"}));
    messages.onPump = nullptr;
    Run(&TfrmMain::btSearchClick);
    EXPECT_EQ(cboxDriver.Text(), "D:\\T\\");
    EXPECT_TRUE(form.FoundPaths().empty()); // movies now, and T holds none
}

// The pause after each sub-folder is the bar's position after its step.
TEST_F(SearchProgress, FirstSearchPausesFromTenLaterOnesFromZero) {
    for (int i = 0; i < 12; ++i)
        files.AddFolder("D:\\S\\f" + std::to_string(i));
    Open();
    Search("D:\\S\\");
    EXPECT_EQ(clock.sleeps, (std::vector<unsigned>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0, 10}));
    EXPECT_EQ(progressBar.position, 100);
    clock.sleeps.clear();
    Search("D:\\S\\");
    EXPECT_EQ(clock.sleeps, (std::vector<unsigned>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0}));
}

TEST_F(SearchProgress, MessagesRunBeforeEachPause) {
    files.AddFolder("D:\\S\\a");
    files.AddFolder("D:\\S\\b");
    Open();
    std::vector<std::size_t> sleepsAtPump;
    messages.onPump = [&](int) { sleepsAtPump.push_back(clock.sleeps.size()); };
    Search("D:\\S\\");
    EXPECT_EQ(sleepsAtPump, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(clock.sleeps.size(), 2u);
}

// Tree for the stop tests: every folder holds one saver named after it.
//   T: L1a (L2a (L3a, L3b), L2b), L1b
struct StopCase {
    int stopAtPump;
    std::vector<std::string> found;
    int pumps;
};

// CTest names each case by the pump that presses "Stop" (0: none).
std::string StopName(const ::testing::TestParamInfo<StopCase>& info) {
    return info.param.stopAtPump ? "StopAtPump" + std::to_string(info.param.stopAtPump) : "NoStop";
}
void PrintTo(const StopCase& c, std::ostream* os) {
    *os << "stop at pump " << c.stopAtPump;
}

class SearchStopAtEachLevel : public SearchFixture, public ::testing::WithParamInterface<StopCase> {};

TEST_P(SearchStopAtEachLevel, UnwindsOneStepAndOnePausePerLevel) {
    for (const char* f :
         {"T", "T\\L1a", "T\\L1a\\L2a", "T\\L1a\\L2a\\L3a", "T\\L1a\\L2a\\L3b", "T\\L1a\\L2b", "T\\L1b"}) {
        const std::string path = std::string("D:\\") + f;
        files.AddFile(path + "\\" + path.substr(path.find_last_of('\\') + 1) + ".scr", "x");
    }
    Open();
    const StopCase& c = GetParam();
    messages.onPump = [&](int pump) {
        if (pump == c.stopAtPump)
            form.btStopClick();
    };
    std::vector<std::string> found;
    for (const std::string& path : Search("D:\\T\\"))
        found.push_back(path.substr(path.find_last_of('\\') + 1));
    EXPECT_EQ(found, c.found);
    // The walk pauses once per pump; naming the rows adds one pump between two rows.
    EXPECT_EQ(static_cast<int>(clock.sleeps.size()), c.pumps);
    EXPECT_EQ(messages.pumps, c.pumps + static_cast<int>(c.found.size()) - 1);
    EXPECT_EQ(lsSearch.Count(), static_cast<int>(c.found.size()));
    EXPECT_EQ(statusBar.PanelText(1), "Found:" + std::to_string(c.found.size()));
    EXPECT_EQ(statusBar.PanelText(2), c.stopAtPump ? "User stopped searching..." : "Search done");
    EXPECT_TRUE(btSearch.visible);
    EXPECT_FALSE(btStop.visible);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, SearchStopAtEachLevel,
    ::testing::Values(StopCase{0, {"T.scr", "L1a.scr", "L2a.scr", "L3a.scr", "L3b.scr", "L2b.scr", "L1b.scr"}, 6},
                      StopCase{1, {"T.scr", "L1a.scr", "L2a.scr", "L3a.scr"}, 3},
                      StopCase{2, {"T.scr", "L1a.scr", "L2a.scr", "L3a.scr", "L3b.scr"}, 4},
                      StopCase{3, {"T.scr", "L1a.scr", "L2a.scr", "L3a.scr", "L3b.scr"}, 4},
                      StopCase{4, {"T.scr", "L1a.scr", "L2a.scr", "L3a.scr", "L3b.scr", "L2b.scr"}, 5},
                      StopCase{5, {"T.scr", "L1a.scr", "L2a.scr", "L3a.scr", "L3b.scr", "L2b.scr"}, 5},
                      StopCase{6, {"T.scr", "L1a.scr", "L2a.scr", "L3a.scr", "L3b.scr", "L2b.scr", "L1b.scr"}, 6}),
    StopName);

TEST_F(SearchStop, AllDrivesAfterStopStillGiveTheirRoots) {
    drives.drives = {{"A:\\", DriveType::Removable}, {"C:\\", DriveType::Fixed}, {"D:\\", DriveType::Fixed},
                     {"E:\\", DriveType::Fixed},     {"F:\\", DriveType::Fixed}, {"G:\\", DriveType::CdRom}};
    for (const char* root : {"A:\\", "C:\\", "D:\\", "E:\\", "F:\\", "G:\\"}) {
        files.AddFile(std::string(root) + "root.scr", "x");
        files.AddFile(std::string(root) + "sub\\inner.scr", "x");
        files.AddFile(std::string(root) + "sub2\\inner2.scr", "x");
    }
    Open();
    ASSERT_EQ(cboxDriver.Item(4), "All Drivers(C:\\,D:\\,E:\\,F:\\)");
    cboxDriver.SetItemIndex(4);
    messages.onPump = [&](int pump) {
        if (pump == 3) // after D:\sub\, the first sub-folder of the second drive
            form.btStopClick();
    };
    Run(&TfrmMain::btSearchClick);
    EXPECT_EQ(form.FoundPaths(),
              (std::vector<std::string>{"C:\\root.scr", "C:\\sub\\inner.scr", "C:\\sub2\\inner2.scr", "D:\\root.scr",
                                        "D:\\sub\\inner.scr", "E:\\root.scr", "F:\\root.scr"}));
    EXPECT_EQ(statusBar.PanelText(1), "Found:7");
    EXPECT_EQ(statusBar.PanelText(2), "User stopped searching...");
}

// After Stop, "Search" is back while the stopped search still unwinds; a search
// started then replaces the results, and rows and found paths stay paired.
TEST_F(SearchStop, ASearchStartedWhileAStoppedOneUnwindsReplacesIt) {
    for (const char* f :
         {"Old\\a\\a1\\x.scr", "Old\\a\\a2\\x.scr", "Old\\b\\x.scr", "New\\n1\\y.scr", "New\\n2\\y.scr"})
        files.AddFile(std::string("D:\\") + f, "x");
    Open();
    Base("D:\\New\\");
    Base("D:\\Old\\");
    bool again = false;
    messages.onPump = [&](int pump) {
        if (pump == 1)
            form.btStopClick();
        if (pump == 2 && !again) { // the level above a1 unwinds
            again = true;
            EXPECT_TRUE(btSearch.visible);
            cboxDriver.SetItemIndex(cboxDriver.Count() - 2);
            form.btSearchClick();
        }
    };
    Run(&TfrmMain::btSearchClick);
    EXPECT_EQ(form.FoundPaths(), (std::vector<std::string>{"D:\\New\\n1\\y.scr", "D:\\New\\n2\\y.scr"}));
    EXPECT_EQ(lsSearch.Count(), 2);
    EXPECT_EQ(statusBar.PanelText(1), "Found:2");
    EXPECT_EQ(statusBar.PanelText(2), "Search done");
    EXPECT_TRUE(btSearch.visible);
    EXPECT_FALSE(btStop.visible);
    EXPECT_FALSE(form.Searching());
}

TEST_F(SearchStop, ASearchStartedWhileAllDrivesUnwindReplacesItToo) {
    drives.drives = {{"C:\\", DriveType::Fixed}, {"D:\\", DriveType::Fixed}};
    files.AddFile("C:\\a\\b\\x.scr", "x");
    files.AddFile("D:\\root.scr", "x");
    files.AddFile("E:\\New\\y.scr", "x");
    Open();
    const int allDrives = 2;
    ASSERT_EQ(cboxDriver.Item(allDrives), "All Drivers(C:\\,D:\\)");
    Base("E:\\New\\");
    cboxDriver.SetItemIndex(allDrives);
    bool again = false;
    messages.onPump = [&](int pump) {
        if (pump == 1)
            form.btStopClick();
        if (pump == 2 && !again) { // C:\ unwinds
            again = true;
            cboxDriver.SetItemIndex(cboxDriver.Count() - 1);
            form.btSearchClick();
        }
    };
    Run(&TfrmMain::btSearchClick);
    EXPECT_EQ(form.FoundPaths(), std::vector<std::string>{"E:\\New\\y.scr"});
    EXPECT_EQ(lsSearch.Count(), 1);
}

// While the rows are named the window answers, under the rules of the walk:
// Stop ends the naming with the rows named so far, and a search started then
// takes the list over.
TEST_F(SearchStop, StopOrANewSearchWhileRowsAreNamed) {
    for (const char* name : {"a", "b", "c", "d"})
        files.AddFile(std::string("D:\\S\\") + name + ".scr", "x");
    files.AddFile("D:\\T\\t.scr", SaverWithDescription(u"T"));
    Open();
    Base("D:\\T\\");
    Base("D:\\S\\");
    messages.onPump = [&](int pump) {
        if (pump == 2)
            form.btStopClick();
    };
    Run(&TfrmMain::btSearchClick);
    EXPECT_EQ(form.FoundPaths(), (std::vector<std::string>{"D:\\S\\a.scr", "D:\\S\\b.scr"}));
    EXPECT_EQ(lsSearch.Count(), 2);
    EXPECT_EQ(statusBar.PanelText(1), "Found:2");
    EXPECT_EQ(statusBar.PanelText(2), "User stopped searching...");

    messages.onPump = [&](int) { // T's search has no pump of its own
        form.btStopClick();
        cboxDriver.SetItemIndex(cboxDriver.Count() - 2);
        form.btSearchClick();
    };
    Run(&TfrmMain::btSearchClick);
    EXPECT_EQ(lsSearch.rows, std::vector<std::string>{"T"});
    EXPECT_EQ(statusBar.PanelText(1), "Found:1");
}

TEST_F(SearchStop, StopBeforeAnySearchThenANormalSearch) {
    files.AddFile("D:\\S\\sub\\a.scr", "x");
    Open();
    btSearch.visible = true;
    btStop.visible = false;
    Run(&TfrmMain::btStopClick);
    EXPECT_TRUE(btSearch.visible);
    EXPECT_FALSE(btStop.visible);
    EXPECT_EQ(statusBar.PanelText(2), "User stopped searching...");
    EXPECT_EQ(Search("D:\\S\\"), std::vector<std::string>{"D:\\S\\sub\\a.scr"});
    EXPECT_EQ(statusBar.PanelText(2), "Search done");
}

TEST_F(SearchStop, AnEmptyFolderAllDrivesEntrySearchesNothing) {
    drives.drives = {{"A:\\", DriveType::Removable}};
    files.AddFile("A:\\a.scr", "x");
    Open();
    ASSERT_EQ(cboxDriver.Text(), "All Drivers()");
    Run(&TfrmMain::btSearchClick);
    EXPECT_TRUE(form.FoundPaths().empty());
    EXPECT_EQ(statusBar.PanelText(1), "Found:0");
}

TEST_F(SearchResults, CheckAllTogglesAlsoOnAnEmptyList) {
    files.AddFile("D:\\S\\a.scr", "x");
    files.AddFile("D:\\S\\b.scr", "x");
    Open();
    Run(&TfrmMain::btCheckClick); // nothing to tick; the toggle flips all the same
    Search("D:\\S\\");
    lsSearch.checks = {true, false};
    Run(&TfrmMain::btCheckClick);
    EXPECT_EQ(lsSearch.checks, (std::vector<bool>{false, false}));
    Run(&TfrmMain::btCheckClick);
    EXPECT_EQ(lsSearch.checks, (std::vector<bool>{true, true}));
    // A new search does not reset the toggle: the next press unticks.
    Search("D:\\S\\");
    EXPECT_EQ(lsSearch.checks, (std::vector<bool>{false, false}));
    Run(&TfrmMain::btCheckClick);
    EXPECT_EQ(lsSearch.checks, (std::vector<bool>{false, false}));
    Run(&TfrmMain::btCheckClick);
    EXPECT_EQ(lsSearch.checks, (std::vector<bool>{true, true}));
}

TEST_F(SearchResults, SelectingARowMakesItTheCurrentFile) {
    files.AddFile("D:\\S\\a.scr", SaverWithDescription(u"A"));
    files.AddFile("D:\\S\\b.scr", SaverWithDescription(u"B"));
    files.AddFile("D:\\Savers\\kept.scr", SaverWithDescription(u"Kept"));
    Open("[Amount]\r\nTotal=1\r\nFlashTotal=1\r\n[ScreenList]\r\nFile0=D:\\Savers\\kept.scr\r\n"
         "[FlashList]\r\nFile0=D:\\M\\x.swf\r\n");
    Search("D:\\S\\");
    lsScreen.SetItemIndex(0);
    lsFlash.SetItemIndex(0);
    lsSearch.SetItemIndex(1);
    Run(&TfrmMain::lsSearchClick);
    EXPECT_EQ(form.CurrentFile(), "D:\\S\\b.scr");
    EXPECT_EQ(lsScreen.ItemIndex(), -1);
    EXPECT_EQ(lsFlash.ItemIndex(), 0);
    // Config and Preview act on it.
    Run(&TfrmMain::btSetupClick);
    Run(&TfrmMain::lsSearchDblClick);
    EXPECT_EQ(shell.calls, (std::vector<ShellCall>{{"config", "D:\\S\\b.scr", " \\c"}, {"open", "D:\\S\\b.scr", ""}}));
    // With no row selected nothing changes.
    lsSearch.SetItemIndex(-1);
    lsScreen.SetItemIndex(0);
    Run(&TfrmMain::lsSearchClick);
    EXPECT_EQ(form.CurrentFile(), "D:\\S\\b.scr");
    EXPECT_EQ(lsScreen.ItemIndex(), 0);
}

TEST_F(SearchResults, DoubleClickOnAGoneFileOrWithNothingSelectedDoesNothing) {
    files.AddFile("D:\\S\\a.scr", SaverWithDescription(u"A"));
    Open();
    Run(&TfrmMain::lsSearchDblClick); // no current file yet
    Search("D:\\S\\");
    lsSearch.SetItemIndex(0);
    Run(&TfrmMain::lsSearchClick);
    files.Remove("D:\\S\\a.scr");
    Run(&TfrmMain::lsSearchDblClick);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SearchResults, PopupEnablesSetupAndPreviewOnlyWithASelection) {
    files.AddFile("D:\\S\\a.scr", "x");
    Open();
    Search("D:\\S\\");
    Run(&TfrmMain::pmResultPopup);
    EXPECT_FALSE(mnuSetup1.enabled);
    EXPECT_FALSE(mnuPreview1.enabled);
    lsSearch.SetItemIndex(0);
    Run(&TfrmMain::pmResultPopup);
    EXPECT_TRUE(mnuSetup1.enabled);
    EXPECT_TRUE(mnuPreview1.enabled);
    // The random lists' menu is not touched.
    EXPECT_TRUE(mnuSetup.enabled);
    EXPECT_FALSE(mnuReset.enabled);
}

TEST_F(SearchSave, TickedRowsJoinTheListOfTheTabAndAreStored) {
    files.AddFile("D:\\Savers\\kept.scr", SaverWithDescription(u"Kept"));
    files.AddFile("D:\\S\\a.scr", SaverWithDescription(u"Alpha"));
    files.AddFile("D:\\S\\b.scr", SaverWithDescription(u"Beta"));
    files.AddFile("D:\\S\\c.scr", SaverWithDescription(u"Gamma"));
    Open("[Amount]\r\nTotal=1\r\nFlashTotal=0\r\n[ScreenList]\r\nFile0=D:\\Savers\\kept.scr\r\n");
    Search("D:\\S\\");
    Run(&TfrmMain::mnuViewPathClick);
    Run(&TfrmMain::mnuDeleteClick); // switches Reset on; nothing selected, nothing deleted
    ASSERT_TRUE(mnuReset.enabled);
    lsSearch.checks = {true, false, true};
    Run(&TfrmMain::btSaveClick);
    EXPECT_EQ(form.ScreenList(), (std::vector<std::string>{"D:\\Savers\\kept.scr", "D:\\S\\a.scr", "D:\\S\\c.scr"}));
    EXPECT_EQ(lsScreen.rows, (std::vector<std::string>{"KEPT", "ALPHA", "GAMMA"}));
    EXPECT_TRUE(mnuViewName.checked);
    EXPECT_FALSE(mnuViewPath.checked);
    EXPECT_FALSE(mnuReset.enabled);
    EXPECT_EQ(lsSearch.checks, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(lsSearch.Count(), 3);
    EXPECT_EQ(Stored("Amount", "Total"), "3");
    EXPECT_EQ(Stored("ScreenList", "File1"), "D:\\S\\a.scr");
    EXPECT_EQ(Stored("ScreenList", "File2"), "D:\\S\\c.scr");
    EXPECT_EQ(Stored("Amount", "FlashTotal"), "0");

    // A second Save without new ticks adds nothing and stores the same lists.
    const std::string before = profile.files[kIni];
    Run(&TfrmMain::btSaveClick);
    EXPECT_EQ(form.ScreenList().size(), 3u);
    EXPECT_EQ(profile.files[kIni], before);

    // Ticking an already saved row again appends it a second time.
    lsSearch.checks = {true, false, false};
    Run(&TfrmMain::btSaveClick);
    EXPECT_EQ(form.ScreenList().back(), "D:\\S\\a.scr");
    EXPECT_EQ(Stored("Amount", "Total"), "4");
}

TEST_F(SearchSave, TheTabAtSaveTimeChoosesTheList) {
    files.AddFile("D:\\S\\a.scr", SaverWithDescription(u"Alpha"));
    Open();
    Search("D:\\S\\");
    page.tabIndex = 1;
    Run(&TfrmMain::pageChange);
    lsSearch.checks = {true};
    Run(&TfrmMain::btSaveClick);
    EXPECT_TRUE(form.ScreenList().empty());
    EXPECT_EQ(form.FlashList(), std::vector<std::string>{"D:\\S\\a.scr"});
    EXPECT_EQ(lsFlash.rows, std::vector<std::string>{"ALPHA"});
    EXPECT_EQ(Stored("FlashList", "File0"), "D:\\S\\a.scr");
    EXPECT_EQ(Stored("Amount", "FlashTotal"), "1");
}

TEST_F(SearchSave, AListKindWithoutAListTakesNothingButStillStores) {
    files.AddFile("D:\\S\\a.scr", SaverWithDescription(u"Alpha"));
    Open();
    Search("D:\\S\\");
    page.tabIndex = -1;
    Run(&TfrmMain::pageChange);
    lsSearch.checks = {true};
    Run(&TfrmMain::btSaveClick);
    EXPECT_TRUE(form.ScreenList().empty());
    EXPECT_TRUE(form.FlashList().empty());
    EXPECT_EQ(lsSearch.checks, std::vector<bool>{false});
    EXPECT_EQ(Stored("Amount", "Total"), "0");
}

TEST_F(SearchSave, AFailedWriteKeepsTheAppendedPaths) {
    files.AddFile("D:\\S\\a.scr", SaverWithDescription(u"Alpha"));
    Open();
    Search("D:\\S\\");
    lsSearch.checks = {true};
    profile.failWrites = true;
    Run(&TfrmMain::btSaveClick);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Unable to write to " + kIni + ".");
    EXPECT_EQ(form.ScreenList(), std::vector<std::string>{"D:\\S\\a.scr"});
}

// Between two sub-folders every control can act; a Save then finds no rows but
// still redraws and stores the lists.
TEST_F(SearchSave, SaveDuringASearchStoresTheListsUnchanged) {
    files.AddFile("D:\\S\\a.scr", SaverWithDescription(u"Alpha"));
    files.AddFolder("D:\\S\\sub");
    Open();
    Search("D:\\S\\");
    lsSearch.checks = {true};
    messages.onPump = [&](int) { form.btSaveClick(); };
    Search("D:\\S\\");
    EXPECT_TRUE(form.ScreenList().empty());
    EXPECT_EQ(Stored("Amount", "Total"), "0");
    EXPECT_EQ(lsSearch.checks, std::vector<bool>{false});
}

// A close that arrives while the search lets messages run: the search stops,
// the lists it fills stay alive until it has returned, and then the window is
// asked to close again; that close stores everything as usual.
TEST_F(SearchClose, CloseDuringASearchWaitsForItThenStoresEverything) {
    files.AddFile("D:\\S\\a.scr", SaverWithDescription(u"Alpha"));
    for (int i = 0; i < 5; ++i)
        files.AddFile("D:\\S\\f" + std::to_string(i) + "\\x.scr", "x");
    Open();
    lsSearch.checks = {};
    bool mayClose = true;
    messages.onPump = [&](int pump) {
        if (pump == 2) {
            mayClose = form.FormClose();
            EXPECT_FALSE(form.Released());
            EXPECT_EQ(window.closes, 0);
        }
    };
    Search("D:\\S\\");
    EXPECT_FALSE(mayClose);
    EXPECT_EQ(messages.pumps, 2);
    // A closing window names none of its results.
    EXPECT_TRUE(form.FoundPaths().empty());
    EXPECT_EQ(lsSearch.Count(), 0);
    EXPECT_FALSE(form.Searching());
    EXPECT_EQ(window.closes, 1);

    // The close the window asked for arrives through the message loop.
    chkSub.checked = false;
    EXPECT_TRUE(form.FormClose());
    EXPECT_TRUE(form.Released());
    EXPECT_EQ(Stored("Amount", "Total"), "0");
    EXPECT_EQ(Stored("Misc", "Sub"), "0");
    EXPECT_EQ(Stored("RandomWhat", "Type"), "0");
}

// Stop, then Close while the stopped search unwinds, then Search: the new
// search does not start, and the close goes through once the stopped one returns.
TEST_F(SearchClose, StopThenCloseThenSearchClosesAsTheStoppedSearchReturns) {
    for (int i = 0; i < 4; ++i)
        files.AddFile("D:\\S\\f" + std::to_string(i) + "\\g\\x.scr", "x");
    Open();
    messages.onPump = [&](int pump) {
        if (pump == 1) { // after S\f0\g
            form.btStopClick();
        } else if (pump == 2) { // S\f0 unwinds
            EXPECT_FALSE(form.FormClose());
            form.btSearchClick();
        }
    };
    Search("D:\\S\\");
    EXPECT_EQ(messages.pumps, 2);
    EXPECT_EQ(window.closes, 1);
    EXPECT_FALSE(form.Searching());
    EXPECT_TRUE(form.FormClose());
    EXPECT_TRUE(form.Released());
}

TEST_F(SearchClose, ACloseOutsideASearchIsNotDeferred) {
    files.AddFolder("D:\\S\\sub");
    Open();
    Search("D:\\S\\");
    EXPECT_TRUE(form.FormClose());
    EXPECT_EQ(window.closes, 0);
    EXPECT_TRUE(form.Released());
}

TEST_F(SearchClose, AnErrorInsideTheSearchStillHandsTheCloseBack) {
    files.AddFolder("D:\\S\\a");
    files.AddFolder("D:\\S\\b");
    Open();
    messages.onPump = [&](int pump) {
        if (pump == 1) {
            EXPECT_FALSE(form.FormClose());
            throw EInvalidOperation("Cannot focus a disabled or invisible window");
        }
    };
    Search("D:\\S\\");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_FALSE(form.Searching());
    EXPECT_EQ(window.closes, 1);
    EXPECT_TRUE(form.FormClose());
}

} // namespace
