// TfrmScreen: the black full-screen window of saver mode. While it is created it
// reads the active list, picks a random existing entry and starts it (a
// screensaver through the shell, a Flash movie in its own player, videos on
// every monitor through the system's media engine); then it waits for the first
// real user input and closes. On a computer without the Flash
// Player control a movie plays in the standalone player Windows opens .swf files
// with, placed where the control would have been.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/FunctionRef.h"
#include "config/ConfigFile.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/FlashControl.h"
#include "platform/FlashPlayer.h"
#include "platform/ProfileFile.h"
#include "platform/Shell.h"
#include "platform/Widgets.h"
#include "saver/VideoWall.h"

namespace lumivane {

inline constexpr int kStripHeight = 33; // Panel1, the input strip along the top edge, at 96 dots per inch
inline constexpr char kNotFoundWarning[] = "Too much files in the RandomList cannot be found!\r\nPlease fix it firstly";
inline constexpr char kNoPlayerWarning[] =
    "No Flash player is installed on this computer, so the movies of the Flash list cannot be shown.\r\n"
    "Install a standalone Flash player that opens .swf files, or choose the ScreenSaver list in the "
    "Lumivane configuration.";
// How long a player asked to close may take before its process is ended.
inline constexpr unsigned kPlayerGraceMs = 1500;
// How long a started player may take to show its window: about half a second
// under Wine, more for a player that loads a runtime first.
inline constexpr unsigned kPlayerWindowMs = 10000;
// The waits for a process go in steps this long, so that input the hooks pass on
// meanwhile ends them.
inline constexpr unsigned kWaitStepMs = 50;

struct ScreenServices {
    ProfileFile& profile;
    FileSystem& files;
    Clock& clock;
    Shell& shell;
    Dialogs& dialogs;
    FlashPlayers& players;
    std::string configPath;
};

// The monitors' surfaces for videos, each with its player, made on first use:
// the primary monitor's first.
class VideoSurfaces {
public:
    virtual ~VideoSurfaces() = default;
    virtual std::vector<VideoSurface> Surfaces() = 0;
};

struct ScreenView {
    Window& window;
    Label& txtIntro;
    Control& strip; // Panel1, the input strip: hidden under a playing video
    Control& palFlash;
    Timer& loopTimer;
    Timer& changeTimer; // "ChangeEvery": the next entry's turn
    FlashHost& flashHost;
    VideoSurfaces& videos;
    int screenWidth;
    int screenHeight;
    int stripHeight; // kStripHeight as drawn at the screen's DPI
};

class TfrmScreen {
public:
    TfrmScreen(ScreenServices services, ScreenView view) : services_(std::move(services)), view_(view) {}
    // Whatever ended the window (an error on the way out included), no player is left.
    ~TfrmScreen() {
        EndProcess(player_);
        EndProcess(started_);
    }
    TfrmScreen(const TfrmScreen&) = delete;
    TfrmScreen& operator=(const TfrmScreen&) = delete;

    void FormCreate();
    void FormMouseMove(int x, int y);
    void FormMouseDown();
    void FormKeyDown();
    void FormClose();
    void loopTimerTimer();
    // With "ChangeEvery": ends what plays and starts the next pick.
    void changeTimerTimer();

    bool PickRandomFile();
    // A draw succeeds when its entry exists and take() accepts it (the screensaver
    // start: the shell could be handed the file).
    bool PickRandomFile(FunctionRef<bool(const std::string&)> take);
    void StartRandomEntry();

    std::int32_t ListKind() const { return listKind_; }
    const std::vector<std::string>& LoadedList() const { return loadedList_; }
    const std::string& PickedFile() const { return pickedFile_; }
    // The movie plays in a standalone player, whose input the window must watch.
    bool PlaysInPlayer() const { return player_ != nullptr; }

private:
    void StartScreenSaver();
    void StartFlash();
    void PlayPickedMovie();
    bool PickNext(FunctionRef<bool(const std::string&)> take);
    bool StartSaver(const std::string& file);
    // Up to five draws among the candidates, each failed one left out of the next.
    bool DrawFrom(std::vector<std::string> candidates, FunctionRef<bool(const std::string&)> take);
    void EndProcess(std::unique_ptr<StartedProcess>& process);
    void SetupFlashLoop();
    FlashControl* TryFlash();
    Rect MoviePlace();
    void StartPlayer();
    void LaunchPlayer();
    void CloseOnce();
    // The entries of the list whose files exist, in list order.
    std::vector<std::string> ExistingEntries();
    bool PickFromRound(FunctionRef<bool(const std::string&)> take);
    void KeepInRound(TConfigFile& roundFile, PlayedRound& round, const std::string& entry);
    void StartVideos();
    // What the monitors draw from: the list, or with "Play each once" what is left
    // of the round.
    std::vector<std::string> VideoEntries();
    // Follows the videos' opens; the warning when no monitor got one.
    void FollowVideos();
    // The next index below n of the pick's random sequence.
    static std::size_t RandomIndex(std::uint32_t& seed, std::size_t n);
    std::uint32_t ClockSeed();

    ScreenServices services_;
    ScreenView view_;
    FlashControl* flash_ = nullptr; // created on first use: no player is needed for the screensaver list
    bool noControl_ = false;        // creating the control failed: no Flash Player control here
    std::unique_ptr<StartedProcess> player_;
    std::unique_ptr<StartedProcess> started_; // the screensaver started with "ChangeEvery" on
    std::unique_ptr<VideoWall> videos_;
    std::uint32_t videoSeed_ = 0;
    PlayedRound videoRound_;
    VideoOptions video_;
    Rect playerPlace_;
    std::int32_t listKind_ = 0;
    std::vector<std::string> loadedList_;
    bool flashSize_ = true;
    VarietyOptions variety_;
    std::string pickedFile_;
    int lastX_ = -1, lastY_ = -1;
    bool closing_ = false;
};

} // namespace lumivane
