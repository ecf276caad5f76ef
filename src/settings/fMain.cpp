// TfrmMain (see fMain.h).
#include "settings/fMain.h"

#include "common/AsciiText.h"
#include "common/ErrorText.h"
#include "common/Errors.h"
#include "settings/DisplayName.h"

namespace lumivane {

void TfrmMain::FormCreate() {
    checkAll_ = true;
    driveList_.clear();
    foundPaths_.clear();
    for (const std::string& root : services_.drives.LogicalDriveStrings())
        if (services_.drives.TypeOf(root) == DriveType::Fixed)
            driveList_.push_back(root);
    stopRequest_ = false;
    for (const std::string& root : driveList_)
        view_.cboxDriver.Add(root);
}

void TfrmMain::FormShow() {
    for (std::vector<std::string>& list : lists_)
        list.clear();
    config_ = std::make_unique<TConfigFile>(services_.profile, services_.configPath, services_.clock);
    released_ = false;
    closeWriteFailed_ = false;
    ApplySettings();
    view_.cboxDriver.Add(AllDrivesEntry());
    mnuViewNameClick();
    for (int slot = 4; slot >= 0; --slot)
        if (!recentFolders_[static_cast<std::size_t>(slot)].empty())
            view_.cboxDriver.Add(recentFolders_[static_cast<std::size_t>(slot)]);
    view_.cboxDriver.Add(kBrowseEntry);
    view_.cboxDriver.SetItemIndex(0);
    view_.cboxDriver.SetHint(view_.cboxDriver.Text());
}

void TfrmMain::ApplySettings() {
    std::optional<Settings> loaded = LoadSettings(*config_);
    fileRead_ = loaded.has_value();
    if (!fileRead_)
        ShowWarning(services_.dialogs, "Unable to read " + config_->Path() + kUnreadableTail);
    Settings s = std::move(loaded).value_or(Settings{});
    counts_ = {s.screenCount, s.flashCount, s.videoCount};
    lists_ = {std::move(s.screenList), std::move(s.flashList), std::move(s.videoList)};
    recentFolders_ = s.recentFolders;
    listKind_ = s.listKind;
    view_.page.SetTabIndex(listKind_);
    view_.rbfOrigin.SetChecked(s.flashSize);
    view_.rbfFull.SetChecked(!s.flashSize);
    view_.chkSub.SetChecked(s.includeSubFolders);
    variety_ = s.variety;
    video_ = s.video;
    ShowPopupOptions();
}

void TfrmMain::ShowPopupOptions() {
    view_.mnuNoRepeat.SetChecked(variety_.noRepeat);
    // A value typed into the file by hand that is no choice checks none.
    for (std::size_t i = 0; i < kChangeEveryChoices.size(); ++i)
        view_.mnuChangeEvery[i]->SetChecked(kChangeEveryChoices[i] == variety_.changeEvery);
    view_.mnuVideoSound.SetChecked(video_.sound);
    for (std::size_t i = 0; i < view_.mnuMonitors.size(); ++i)
        view_.mnuMonitors[i]->SetChecked(static_cast<std::size_t>(video_.monitors) == i);
}

void TfrmMain::mnuNoRepeatClick() {
    variety_.noRepeat = !variety_.noRepeat;
    ShowPopupOptions();
}

void TfrmMain::mnuChangeEveryClick(std::size_t choice) {
    if (choice >= kChangeEveryChoices.size())
        return;
    variety_.changeEvery = kChangeEveryChoices[choice];
    ShowPopupOptions();
}

void TfrmMain::mnuVideoSoundClick() {
    video_.sound = !video_.sound;
    ShowPopupOptions();
}

void TfrmMain::mnuMonitorsClick(std::size_t choice) {
    if (choice >= static_cast<std::size_t>(kVideoMonitorModes))
        return;
    video_.monitors = static_cast<VideoMonitors>(choice);
    ShowPopupOptions();
}

bool TfrmMain::FormClose() {
    if (searchDepth_ > 0) {
        // The search ends at its next test of the stop request; it then asks for
        // the close again, which stores everything as any close does.
        stopRequest_ = true;
        closePending_ = true;
        return false;
    }
    if (config_ && fileRead_) {
        try {
            SaveListsAndOptions(
                *config_, {lists_[0], lists_[1], lists_[2]}, counts_,
                {view_.page.TabIndex(), view_.rbfOrigin.Checked(), view_.chkSub.Checked(), variety_, video_});
        } catch (const EIniFileException& e) {
            // The first failure is shown as any failed write; after the second the
            // user may give up the unsaved changes rather than be kept in the
            // window until the file can be written (a read-only share, a full disk).
            if (!closeWriteFailed_) {
                closeWriteFailed_ = true;
                throw;
            }
            if (!services_.dialogs.Ask("Warning", WithPeriod(e.Message()) + kCloseWithoutSaving, BoxIcon::Warning))
                return false;
        }
    }
    driveList_.clear();
    foundPaths_.clear();
    for (std::vector<std::string>& list : lists_)
        list.clear();
    rowNames_.clear();
    config_.reset();
    released_ = true;
    view_.namingTimer.SetEnabled(false);
    return true;
}

void TfrmMain::btCloseClick() {
    view_.window.Close();
}

std::string TfrmMain::RowName(const std::string& path) {
    // A file that has gone since shows so at once.
    if (!services_.files.FileExists(path))
        return kFileNotFound;
    auto [known, added] = rowNames_.try_emplace(path);
    if (added) {
        DisplayNameSources sources{services_.files, services_.shell, services_.codec, services_.languages};
        known->second = UpperAscii(GetDisplayName(sources, path));
    }
    return known->second;
}

void TfrmMain::NameRows(std::uint64_t milliseconds) {
    const std::uint64_t start = services_.clock.Milliseconds();
    std::size_t named = 0;
    bool missing = false;
    auto name = [&](ListBox& box, const std::vector<std::string>& list) {
        // The rows are always the first entries of the list, named in order.
        std::vector<std::string> rows;
        for (auto next = static_cast<std::size_t>(box.Count()); next < list.size(); ++next, ++named) {
            if (named > 0 && services_.clock.Milliseconds() - start >= milliseconds) {
                missing = true;
                break;
            }
            rows.push_back(RowName(list[next]));
        }
        box.AddItems(rows);
    };
    if (IsListKind(listKind_))
        name(Box(listKind_), List(listKind_));
    for (std::int32_t kind = 0; kind < kListKinds; ++kind)
        if (kind != listKind_)
            name(Box(kind), List(kind));
    view_.namingTimer.SetEnabled(missing);
}

void TfrmMain::namingTimerTimer() {
    if (!released_)
        NameRows(kNamingPieceMs);
    else
        view_.namingTimer.SetEnabled(false);
}

void TfrmMain::Rebuild(bool byName) {
    if (byName) {
        for (ListBox* box : boxes_)
            box->Clear();
        NameRows(kNamingAtOnceMs);
    } else {
        view_.namingTimer.SetEnabled(false);
        for (std::int32_t kind = 0; kind < kListKinds; ++kind)
            Box(kind).SetItems(List(kind));
    }
    view_.mnuViewName.SetChecked(byName);
    view_.mnuViewPath.SetChecked(!byName);
}

void TfrmMain::mnuViewNameClick() {
    Rebuild(true);
}

void TfrmMain::mnuViewPathClick() {
    Rebuild(false);
}

void TfrmMain::RefreshByViewMode() {
    Rebuild(view_.mnuViewName.Checked());
}

void TfrmMain::SelectRow(std::int32_t kind) {
    ListBox& box = Box(kind);
    const std::vector<std::string>& list = List(kind);
    const int i = box.ItemIndex();
    // The list box only reports a selection of one of its rows, and its rows
    // mirror the list; the test keeps a stray notification harmless.
    if (i < 0 || static_cast<std::size_t>(i) >= list.size())
        return;
    view_.lsSearch.SetItemIndex(-1);
    currentFile_ = list[static_cast<std::size_t>(i)];
    box.SetHint(currentFile_);
}

void TfrmMain::lsScreenClick() {
    SelectRow(0);
}

void TfrmMain::lsFlashClick() {
    SelectRow(1);
}

void TfrmMain::lsVideoClick() {
    SelectRow(kVideoKind);
}

void TfrmMain::RightButtonDown(std::int32_t kind, MouseButton button, int x, int y) {
    if (button != MouseButton::Right)
        return;
    ListBox& box = Box(kind);
    const std::vector<std::string>& list = List(kind);
    box.SetItemIndex(box.ItemAtPos(x, y));
    view_.lsSearch.SetItemIndex(-1);
    const int i = box.ItemIndex();
    if (i >= 0 && static_cast<std::size_t>(i) < list.size())
        currentFile_ = list[static_cast<std::size_t>(i)];
}

void TfrmMain::lsScreenMouseDown(MouseButton button, int x, int y) {
    RightButtonDown(0, button, x, y);
}

void TfrmMain::lsFlashMouseDown(MouseButton button, int x, int y) {
    RightButtonDown(1, button, x, y);
}

void TfrmMain::lsVideoMouseDown(MouseButton button, int x, int y) {
    RightButtonDown(kVideoKind, button, x, y);
}

void TfrmMain::pageChange() {
    listKind_ = view_.page.TabIndex();
    for (ListBox* box : boxes_) {
        box->SetHint("");
        box->SetItemIndex(-1);
    }
}

void TfrmMain::pmActivePopup() {
    if (!IsListKind(listKind_))
        return;
    const bool selected = Box(listKind_).ItemIndex() >= 0;
    // On the Flash and Video tabs a selection leaves "Setup" as it was:
    // configuring a movie or a video ends in the warning of btSetupClick anyway.
    if (listKind_ == 0 || !selected)
        view_.mnuSetup.SetEnabled(selected);
    view_.mnuPreview.SetEnabled(selected);
    view_.mnuDelete.SetEnabled(selected);
}

void TfrmMain::mnuDeleteClick() {
    if (IsListKind(listKind_)) {
        std::vector<std::string>& list = List(listKind_);
        const int i = Box(listKind_).ItemIndex();
        if (i >= 0 && static_cast<std::size_t>(i) < list.size())
            list.erase(list.begin() + i);
    }
    RefreshByViewMode();
    view_.mnuReset.SetEnabled(true);
}

void TfrmMain::mnuClearClick() {
    if (IsListKind(listKind_)) {
        Box(listKind_).Clear();
        List(listKind_).clear();
    }
    view_.mnuReset.SetEnabled(true);
}

void TfrmMain::mnuResetClick() {
    for (ListBox* box : boxes_)
        box->Clear();
    rowNames_.clear(); // everything as it stands now, names included
    ApplySettings();
    RefreshByViewMode();
    view_.mnuReset.SetEnabled(false);
}

void TfrmMain::btSetupClick() {
    if (currentFile_.empty()) {
        ShowWarning(services_.dialogs, kSelectToConfig);
        return;
    }
    if (IsScreenSaverFile(services_.codec, currentFile_))
        services_.shell.Execute("config", currentFile_, kConfigParameters);
    else
        ShowWarning(services_.dialogs, kOnlyScreenSaverConfig);
}

void TfrmMain::lsScreenDblClick() {
    if (currentFile_.empty())
        ShowWarning(services_.dialogs, kSelectToPreview);
    else if (!services_.files.FileExists(currentFile_))
        ShowWarning(services_.dialogs, kFileDoesNotExist);
    else
        services_.shell.Execute("open", currentFile_, "");
}

void TfrmMain::btAboutClick() {
    view_.frmAbout.ShowModal();
}

std::string TfrmMain::AllDrivesEntry() const {
    std::string entry = "All Drivers(";
    for (std::size_t i = 0; i < driveList_.size(); ++i) {
        if (i > 0)
            entry += ',';
        entry += driveList_[i];
    }
    return entry + ")";
}

void TfrmMain::cboxDriverSelect() {
    if (view_.cboxDriver.Text() == kBrowseEntry && view_.dlgFolder.Execute())
        AddBrowsedFolder(view_.dlgFolder.SelectedFolder());
    view_.cboxDriver.SetHint(view_.cboxDriver.Text());
}

void TfrmMain::AddBrowsedFolder(const std::string& folder) {
    view_.cboxDriver.DeleteLast();
    view_.cboxDriver.Add(folder + "\\");
    view_.cboxDriver.SetItemIndex(view_.cboxDriver.Count() - 1);
    view_.cboxDriver.Add(kBrowseEntry);
    if (fileRead_)
        AddRecentFolder(*config_, recentFolders_, folder + "\\");
    else
        ShiftRecentFolders(recentFolders_, folder + "\\");
}

} // namespace lumivane
