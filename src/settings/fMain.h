// TfrmMain: the configuration window of configure mode. It shows the three random
// lists (screensaver files, Flash movies and videos) in three tabs, lets the user select,
// preview, configure, delete, clear and restore entries, holds the two options
// and the folder chooser, and stores everything in "Lumivane.ini" when it closes.
// The native window routes each control's event to the handler of the same name;
// the search over files (Search, Stop, Check All, Save and the results list) adds
// its handlers to this class and uses the state kept here for it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/ConfigFile.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/MessagePump.h"
#include "platform/ProfileFile.h"
#include "platform/Shell.h"
#include "platform/TextCodec.h"
#include "platform/UiLanguages.h"
#include "platform/Widgets.h"

namespace lumivane {

inline constexpr char kMainCaption[] = "Lumivane Standard V1.6";
inline constexpr char kSelectToConfig[] = "You must select a screensaver file to config.";
inline constexpr char kOnlyScreenSaverConfig[] = "Only screensaver can config.";
inline constexpr char kSelectToPreview[] = "You have to select a file before you preview it.";
inline constexpr char kFileDoesNotExist[] = "This selected file does not exist!";
inline constexpr char kConfigParameters[] = " \\c";
inline constexpr char kBrowseEntry[] = "[Select a folder...]";
inline constexpr char kScreenSaverMask[] = "*.scr";
inline constexpr char kFlashMask[] = "*.swf";
// The video list's search lists every name and keeps those with one of these
// extensions: the files Windows plays without extra downloads.
inline constexpr char kEveryNameMask[] = "*.*";
inline constexpr std::array<const char*, 7> kVideoExtensions = {".mp4", ".m4v", ".mov", ".wmv", ".asf", ".avi", ".mkv"};
inline constexpr char kProductWord[] = "Lumivane"; // files whose name holds it are never found
inline constexpr char kFoundPrefix[] = "Found:";
inline constexpr char kSearchingPrefix[] = "Searching:";
inline constexpr char kSearchDone[] = "Search done";
inline constexpr char kUserStopped[] = "User stopped searching...";
// The "Change every" choices of the random lists' popup menu, in minutes.
inline constexpr std::array<std::int32_t, 6> kChangeEveryChoices = {0, 1, 2, 5, 10, 30};
// After "Unable to read " and the file's path.
inline constexpr char kUnreadableTail[] =
    ".\r\nThe lists stored in it are not shown, and nothing is written over them.";
// After the message of a second failed write at closing.
inline constexpr char kCloseWithoutSaving[] = "\r\n\r\nClose without saving?";
// Naming a screensaver opens and reads it: a quarter of a millisecond under Wine,
// so 100,000 entries would keep the window deaf for half a minute. The rows that
// fit these times are named at once (every row of a usual list), the rest at the
// naming timer's ticks, so the window answers between two pieces.
inline constexpr std::uint64_t kNamingAtOnceMs = 200;
inline constexpr std::uint64_t kNamingPieceMs = 40;
inline constexpr unsigned kNamingTimerMs = 10;

struct MainServices {
    ProfileFile& profile;
    FileSystem& files;
    Shell& shell;
    Dialogs& dialogs;
    Drives& drives;
    TextCodec& codec;
    std::string configPath; // "Lumivane.ini" beside the program
    Clock& clock;           // the search's pauses
    MessagePump& messages;  // the search lets the window act between sub-folders
    UiLanguages& languages; // the language of the descriptions shown
};

// The window's controls. Radio buttons are check boxes whose tick the window
// sets on both of the pair.
struct MainView {
    Window& window;
    TabControl& page;
    ListBox& lsScreen;
    ListBox& lsFlash;
    ListBox& lsVideo;
    CheckListBox& lsSearch;
    ComboBox& cboxDriver;
    CheckBox& chkSub;
    CheckBox& rbfOrigin;
    CheckBox& rbfFull;
    Button& btSearch;
    Button& btStop;
    StatusBar& statusBar;
    ProgressBar& progressBar;
    // pmActive
    MenuItem& mnuSetup;
    MenuItem& mnuPreview;
    MenuItem& mnuReset;
    MenuItem& mnuDelete;
    MenuItem& mnuClear;
    MenuItem& mnuViewName;
    MenuItem& mnuViewPath;
    // pmResult
    MenuItem& mnuSetup1;
    MenuItem& mnuPreview1;
    FolderBrowser& dlgFolder;
    ModalWindow& frmAbout;
    // The variety options in pmActive: "Play each once before repeating" and
    // the "Change every" choices, one per entry of kChangeEveryChoices.
    MenuItem& mnuNoRepeat;
    std::array<MenuItem*, kChangeEveryChoices.size()> mnuChangeEvery;
    // The video options in pmActive: "Play video sound" and the "Monitors"
    // choices, one per VideoMonitors value in order.
    MenuItem& mnuVideoSound;
    std::array<MenuItem*, kVideoMonitorModes> mnuMonitors;
    // Names the rows of long lists a piece at a time (see namingTimerTimer).
    Timer& namingTimer;
};

class TfrmMain {
public:
    TfrmMain(MainServices services, MainView view) : services_(std::move(services)), view_(view) {}

    void FormCreate();
    void FormShow();
    // Stores the lists and the options in one write, then releases the lists and
    // the configuration file. Returns true when the window may close. During a
    // search it only stops the search and returns false; the search, once it has
    // ended, asks the window to close again. A failed write raises
    // EIniFileException out of here (the toolkit shows it) and leaves the window
    // as it was, so the native window stays open and a later close retries; when
    // that one fails too, the user is asked whether to close without saving.
    // A window that could not read the file writes nothing to it.
    bool FormClose();

    void btCloseClick();
    void btSetupClick();
    void btAboutClick();
    void lsScreenDblClick();
    void lsScreenClick();
    void lsFlashClick();
    void lsVideoClick();
    void lsScreenMouseDown(MouseButton button, int x, int y);
    void lsFlashMouseDown(MouseButton button, int x, int y);
    void lsVideoMouseDown(MouseButton button, int x, int y);
    void pageChange();
    void pmActivePopup();
    void mnuDeleteClick();
    void mnuClearClick();
    void mnuResetClick();
    void mnuViewNameClick();
    void mnuViewPathClick();
    void cboxDriverSelect();
    void mnuNoRepeatClick();
    void mnuChangeEveryClick(std::size_t choice);
    void mnuVideoSoundClick();
    void mnuMonitorsClick(std::size_t choice);
    // Names the next rows of the lists, for a moment at a time, until every row
    // is there; the timer runs only while some are missing.
    void namingTimerTimer();
    void AddBrowsedFolder(const std::string& folder);

    // The file search and its results list.
    void btSearchClick();
    void btStopClick();
    void btCheckClick();
    void btSaveClick();
    void lsSearchClick();
    void lsSearchDblClick();
    void pmResultPopup();
    // Appends every file of the list kind in folder (which ends in a backslash)
    // and, when recursive, below it, depth first, to the found paths.
    void SearchFolder(const std::string& folder, std::int32_t listKind, bool recursive);
    // A folder to descend into: a directory that is not hidden, system, a reparse
    // point or a cloud placeholder, and whose name is neither "." nor "..".
    static bool IsSubFolder(const DirEntry& entry);
    // "*.scr" for list kind 0, "*.swf" for 1, "*.*" for the videos, empty for any other.
    static std::string SearchMask(std::int32_t listKind);

    // "All Drivers(" + the fixed drives' roots joined by commas + ")".
    std::string AllDrivesEntry() const;

    const std::vector<std::string>& ScreenList() const { return lists_[0]; }
    const std::vector<std::string>& FlashList() const { return lists_[1]; }
    const std::vector<std::string>& VideoList() const { return lists_[kVideoKind]; }
    std::int32_t ListKind() const { return listKind_; }
    const std::string& CurrentFile() const { return currentFile_; }
    const std::vector<std::string>& DriveList() const { return driveList_; }
    const RecentFolders& Recent() const { return recentFolders_; }
    const VarietyOptions& Variety() const { return variety_; }
    const VideoOptions& Video() const { return video_; }
    bool Released() const { return released_; }
    bool FileRead() const { return fileRead_; }
    const std::vector<std::string>& FoundPaths() const { return foundPaths_; }
    bool Searching() const { return searchDepth_ > 0; }

private:
    // Appends a row per found path; false when a newer search took the list over.
    bool NameResults(unsigned serial);
    // Loads the file into the window; a file that cannot be read leaves the
    // defaults and the warning, and keeps the window from writing over it.
    void ApplySettings();
    // The ticks of the popup's option items.
    void ShowPopupOptions();
    void Rebuild(bool byName);
    void RefreshByViewMode();
    void SelectRow(std::int32_t kind);
    void RightButtonDown(std::int32_t kind, MouseButton button, int x, int y);
    ListBox& Box(std::int32_t kind) const { return *boxes_[static_cast<std::size_t>(kind)]; }
    std::vector<std::string>& List(std::int32_t kind) { return lists_[static_cast<std::size_t>(kind)]; }
    static bool IsListKind(std::int32_t kind) { return kind >= 0 && kind < kListKinds; }
    // Appends display-name rows in list order, the active tab's list first, until
    // every list has its rows or the time is up (one row at least).
    void NameRows(std::uint64_t milliseconds);
    // Whether a name the search found belongs to the list kind.
    bool FitsKind(const std::string& name, std::int32_t listKind);
    std::string RowName(const std::string& path);

    MainServices services_;
    MainView view_;
    std::unique_ptr<TConfigFile> config_;
    // The rows' display names already read, by path: a Delete or a switch of views
    // in a long list then opens no file again.
    std::map<std::string, std::string> rowNames_;
    static constexpr std::int32_t kListKinds = 3;
    // The random lists and their list boxes, by list kind.
    std::array<std::vector<std::string>, kListKinds> lists_;
    std::array<ListBox*, kListKinds> boxes_{&view_.lsScreen, &view_.lsFlash, &view_.lsVideo};
    ListCounts counts_;
    std::int32_t listKind_ = 0;
    std::string currentFile_;
    RecentFolders recentFolders_;
    VarietyOptions variety_;
    VideoOptions video_;
    std::vector<std::string> driveList_;
    bool released_ = false;
    // Whether the last load read the file. A window that shows empty lists
    // because a scanner held the file must not store them over the real ones.
    bool fileRead_ = false;
    bool closeWriteFailed_ = false;
    // The search's state, set up and released by this window.
    std::vector<std::string> foundPaths_;
    bool stopRequest_ = false;
    bool checkAll_ = true;
    // A search runs inside btSearchClick while the window handles its messages, so
    // a close can arrive in the middle of it. That close waits until the search has
    // unwound and is then asked for again, so the lists are never released under
    // the search that fills them.
    int searchDepth_ = 0;
    bool closePending_ = false;
    unsigned searchSerial_ = 0; // which search the walk in progress belongs to
};

} // namespace lumivane
