// The configuration window's file search and results list: Search walks the
// chosen folder, drive or every fixed drive depth first for the active kind of
// file, lets the window act between sub-folders, and shows what it found by
// display name; Stop ends it; Check All ticks or unticks every row; Save appends
// the ticked files to the active random list and stores the lists.
#include "settings/DisplayName.h"
#include "settings/fMain.h"

namespace lumivane {

namespace {

// Whether the text trims to nothing: blanks and control characters only.
bool BlankOnly(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    return true;
}

// Keeps the count of running searches right however btSearchClick is left, and
// hands a close that arrived during the search back to the window once the
// outermost search is over.
class SearchRun {
public:
    SearchRun(int& depth, bool& closePending, Window& window)
        : depth_(depth), closePending_(closePending), window_(window) {
        ++depth_;
    }
    ~SearchRun() {
        if (--depth_ == 0 && closePending_) {
            closePending_ = false;
            window_.Close();
        }
    }
    SearchRun(const SearchRun&) = delete;
    SearchRun& operator=(const SearchRun&) = delete;

private:
    int& depth_;
    bool& closePending_;
    Window& window_;
};

} // namespace

std::string TfrmMain::SearchMask(std::int32_t listKind) {
    if (listKind == 0)
        return kScreenSaverMask;
    if (listKind == 1)
        return kFlashMask;
    if (listKind == kVideoKind)
        return kEveryNameMask;
    return "";
}

bool TfrmMain::FitsKind(const std::string& name, std::int32_t listKind) {
    if (name.find(kProductWord) != std::string::npos)
        return false;
    if (listKind != kVideoKind)
        return true; // the mask has chosen
    // Compared as Windows compares file names, so "CLIP.MP4" and "clip.Mp4" count.
    const std::string ext = services_.codec.UpperFileName(ExtractFileExt(name));
    for (const char* video : kVideoExtensions)
        if (ext == services_.codec.UpperFileName(video))
            return true;
    return false;
}

bool TfrmMain::IsSubFolder(const DirEntry& entry) {
    // Documents, Downloads and Program Files carry the read-only bit, many folders
    // are archive or compressed: those are entered. A junction or link would walk a
    // tree twice or forever, and listing a cloud placeholder downloads it. A
    // volume label is no folder at all.
    constexpr std::uint32_t kNotEntered = attr::kHidden | attr::kSystem | attr::kVolumeLabel | attr::kReparsePoint |
                                          attr::kOffline | attr::kRecallOnOpen | attr::kRecallOnDataAccess;
    return (entry.attributes & attr::kDirectory) && !(entry.attributes & kNotEntered) && entry.name != "." &&
           entry.name != "..";
}

void TfrmMain::btSearchClick() {
    // Stop, Close, then Search while the stopped search unwinds: the close goes
    // through as soon as that search has returned, not after a whole new one.
    if (closePending_)
        return;
    SearchRun run(searchDepth_, closePending_, view_.window);
    const unsigned serial = ++searchSerial_;
    view_.lsSearch.Clear();
    foundPaths_.clear();
    const std::int32_t listKind = listKind_;
    view_.btSearch.SetVisible(false);
    view_.btStop.SetVisible(true);
    stopRequest_ = false;
    const bool recursive = view_.chkSub.Checked();

    const std::string base = view_.cboxDriver.Text();
    if (base == AllDrivesEntry()) {
        // A copy: the window's own list must not be walked while messages run.
        const std::vector<std::string> roots = driveList_;
        for (const std::string& root : roots) {
            if (serial != searchSerial_)
                break;
            SearchFolder(root, listKind, recursive);
        }
    } else {
        SearchFolder(base, listKind, recursive);
    }
    // "Search" is shown again as soon as Stop is pressed, so a new search can start
    // while this one unwinds. That one has cleared and refilled the results; this
    // one must not add its rows to them.
    if (serial != searchSerial_)
        return;

    view_.progressBar.SetPosition(view_.progressBar.Max());
    if (!NameResults(serial))
        return;
    view_.statusBar.SetPanelText(1, kFoundPrefix + std::to_string(foundPaths_.size()));
    view_.btSearch.SetVisible(true);
    view_.btStop.SetVisible(false);
    if (!stopRequest_)
        view_.statusBar.SetPanelText(2, kSearchDone);
}

bool TfrmMain::NameResults(unsigned serial) {
    // Naming reads every screensaver found (2,000 of them kept the window deaf
    // for 12 s under Wine), so the window handles its messages between rows. A
    // Stop or a close meanwhile ends the naming, and the rows named so far are
    // the results; a Stop that came during the walk has already had its say.
    const bool stoppedBefore = stopRequest_;
    DisplayNameSources sources{services_.files, services_.shell, services_.codec, services_.languages};
    for (std::size_t i = 0; i < foundPaths_.size(); ++i) {
        if (i > 0) {
            services_.messages.ProcessMessages();
            if (serial != searchSerial_)
                return false; // a new search has cleared the rows and refills them
        }
        if (closePending_ || (stopRequest_ && !stoppedBefore)) {
            foundPaths_.resize(i);
            break;
        }
        view_.lsSearch.Add(services_.codec.UpperFileName(GetDisplayName(sources, foundPaths_[i])));
    }
    return true;
}

void TfrmMain::SearchFolder(const std::string& folder, std::int32_t listKind, bool recursive) {
    const std::string mask = SearchMask(listKind);
    if (BlankOnly(mask))
        return;
    const unsigned serial = searchSerial_;
    // Every name of the folder, listed once, gives its sub-folders and, for a mask
    // that takes every name, its matches too.
    const bool everyName = mask == kEveryNameMask;
    std::vector<DirEntry> names;
    if (recursive || everyName)
        names = services_.files.FindFiles(folder + kEveryNameMask);
    std::vector<std::string> subFolders;
    if (recursive) {
        for (const DirEntry& entry : names)
            if (IsSubFolder(entry))
                subFolders.push_back(entry.name);
    }
    if (!everyName)
        names = services_.files.FindFiles(folder + mask);
    for (const DirEntry& entry : names)
        if (FitsKind(entry.name, listKind))
            foundPaths_.push_back(folder + entry.name);
    if (!recursive)
        return;
    for (const std::string& name : subFolders) {
        // Each level that unwinds after a stop still steps the bar, lets messages
        // run and pauses once before it meets this test. A search started in the
        // meantime ends this one as Stop does.
        if (stopRequest_ || serial != searchSerial_)
            return;
        const std::string sub = folder + name + "\\";
        view_.statusBar.SetPanelText(2, kSearchingPrefix + sub);
        SearchFolder(sub, listKind, recursive);
        view_.progressBar.StepIt();
        services_.messages.ProcessMessages();
        services_.clock.Sleep(static_cast<unsigned>(view_.progressBar.Position()));
    }
}

void TfrmMain::btStopClick() {
    view_.btSearch.SetVisible(true);
    view_.btStop.SetVisible(false);
    stopRequest_ = true;
    view_.statusBar.SetPanelText(2, kUserStopped);
}

void TfrmMain::btCheckClick() {
    for (int i = 0; i < view_.lsSearch.Count(); ++i)
        view_.lsSearch.SetChecked(i, checkAll_);
    checkAll_ = !checkAll_;
}

void TfrmMain::btSaveClick() {
    std::vector<std::string>* list = IsListKind(listKind_) ? &List(listKind_) : nullptr;
    for (int i = 0; i < view_.lsSearch.Count(); ++i) {
        if (!view_.lsSearch.Checked(i))
            continue;
        // Rows and found paths are filled together; the bound only matters while a
        // search is filling the paths and the rows are still empty.
        if (list && static_cast<std::size_t>(i) < foundPaths_.size())
            list->push_back(foundPaths_[static_cast<std::size_t>(i)]);
        view_.lsSearch.SetChecked(i, false);
    }
    mnuViewNameClick();
    if (config_ && fileRead_)
        SaveLists(*config_, {lists_[0], lists_[1], lists_[2]}, counts_);
    view_.mnuReset.SetEnabled(false);
}

void TfrmMain::lsSearchClick() {
    const int i = view_.lsSearch.ItemIndex();
    if (i < 0 || static_cast<std::size_t>(i) >= foundPaths_.size())
        return;
    view_.lsScreen.SetItemIndex(-1);
    currentFile_ = foundPaths_[static_cast<std::size_t>(i)];
}

void TfrmMain::lsSearchDblClick() {
    if (!currentFile_.empty() && services_.files.FileExists(currentFile_))
        services_.shell.Execute("open", currentFile_, "");
}

void TfrmMain::pmResultPopup() {
    const bool selected = view_.lsSearch.ItemIndex() >= 0;
    view_.mnuSetup1.SetEnabled(selected);
    view_.mnuPreview1.SetEnabled(selected);
}

} // namespace lumivane
