// The configuration window's file search and results list: Search walks the
// chosen folder, drive or every fixed drive depth first for the active kind of
// file, lets the window act between sub-folders, and shows what it found by
// display name; Stop ends it; Check All ticks or unticks every row; Save appends
// the ticked files to the active random list and stores both lists.
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
    return "";
}

bool TfrmMain::IsSubFolder(const DirEntry& entry) {
    return entry.attributes == attr::kDirectory && entry.name != "." && entry.name != "..";
}

void TfrmMain::btSearchClick() {
    SearchRun run(searchDepth_, closePending_, view_.window);
    const unsigned serial = ++searchSerial_;
    view_.lsSearch.Clear();
    foundPaths_.clear();
    const std::string mask = SearchMask(listKind_);
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
            SearchFolder(root, mask, recursive);
        }
    } else {
        SearchFolder(base, mask, recursive);
    }
    // "Search" is shown again as soon as Stop is pressed, so a new search can start
    // while this one unwinds. That one has cleared and refilled the results; this
    // one must not add its rows to them.
    if (serial != searchSerial_)
        return;

    view_.progressBar.SetPosition(view_.progressBar.Max());
    DisplayNameSources sources{sv_.files, sv_.shell, sv_.codec, sv_.languages};
    for (const std::string& path : foundPaths_)
        view_.lsSearch.Add(sv_.codec.UpperFileName(GetDisplayName(sources, path)));
    view_.statusBar.SetPanelText(1, kFoundPrefix + std::to_string(foundPaths_.size()));
    view_.btSearch.SetVisible(true);
    view_.btStop.SetVisible(false);
    if (!stopRequest_)
        view_.statusBar.SetPanelText(2, kSearchDone);
}

void TfrmMain::SearchFolder(const std::string& folder, const std::string& mask, bool recursive) {
    if (BlankOnly(mask))
        return;
    const unsigned serial = searchSerial_;
    std::vector<std::string> subFolders;
    if (recursive) {
        for (const DirEntry& entry : sv_.files.FindFiles(folder + "*.*"))
            if (!(entry.attributes & (attr::kHidden | attr::kSystem | attr::kVolumeLabel)) && IsSubFolder(entry))
                subFolders.push_back(entry.name);
    }
    for (const DirEntry& entry : sv_.files.FindFiles(folder + mask))
        if (entry.name.find(kProductWord) == std::string::npos)
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
        SearchFolder(sub, mask, recursive);
        view_.progressBar.StepIt();
        sv_.messages.ProcessMessages();
        sv_.clock.Sleep(static_cast<unsigned>(view_.progressBar.Position()));
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
    std::vector<std::string>* list = ActiveList();
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
    if (config_)
        SaveLists(*config_, screenList_, flashList_, screenCount_, flashCount_);
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
    if (!currentFile_.empty() && sv_.files.FileExists(currentFile_))
        sv_.shell.Execute("open", currentFile_, "");
}

void TfrmMain::pmResultPopup() {
    const bool selected = view_.lsSearch.ItemIndex() >= 0;
    view_.mnuSetup1.SetEnabled(selected);
    view_.mnuPreview1.SetEnabled(selected);
}

} // namespace lumivane
