// Benchmarks of the configuration window's file search: one whole press of
// "Search" (walk, matches, display names of the results) over a tree of 10,000
// folders and 50,000 files, on the in-memory file system and on a real tree on
// disk. The pauses after each sub-folder are counted, not slept: the measured
// time is the search's own work, and the pauses the real program adds on top are
// reported apart (pause_s, the first search of a newly opened window).
//
// The disk tree is made and compared with `find` by search_vs_find.py, which
// passes its folder in LUMIVANE_BENCH_TREE. Both trees have the same shape:
// folder i (1..10,000) is "d<i>" inside folder (i - 1) / 8, folder 0 being the
// base; every folder holds f0.txt, f1.dat, f2.dll, f3.swf and, in one folder of
// ten, s<i>.scr (f4.bmp in the others).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "PosixFileSystem.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainWidgets.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeWidgets.h"
#include "platform/host/HostProfileFile.h"
#include "settings/fMain.h"

using namespace lumivane;
using namespace lumivane::test;

namespace {

constexpr int kFolders = 10000;
constexpr int kBranching = 8;

// Relative folder paths ("d1\d9\") by number, 0 being the base ("").
std::vector<std::string> FolderPaths() {
    std::vector<std::string> paths(kFolders + 1);
    for (int i = 1; i <= kFolders; ++i)
        paths[static_cast<std::size_t>(i)] =
            paths[static_cast<std::size_t>((i - 1) / kBranching)] + "d" + std::to_string(i) + "\\";
    return paths;
}

std::vector<std::string> FileNames(int folder) {
    std::string last = "f4.bmp";
    if (folder % 10 == 0)
        last = std::string("s").append(std::to_string(folder)).append(".scr");
    return {"f0.txt", "f1.dat", "f2.dll", "f3.swf", last};
}

class CountingClock : public Clock {
public:
    std::uint64_t pausedMs = 0;
    std::uint64_t pauses = 0;
    TimeOfDay UtcTimeOfDay() override { return {}; }
    void Sleep(unsigned milliseconds) override {
        pausedMs += milliseconds;
        ++pauses;
    }
    std::uint64_t Milliseconds() override { return pausedMs; }
};

class CountingPump : public MessagePump {
public:
    std::uint64_t pumps = 0;
    void ProcessMessages() override { ++pumps; }
    void WaitForMessages(unsigned) override {}
};

// A configuration window on fake widgets, its combo pointing at the base.
struct SearchWindow : FakeMainWidgets {
    HostProfileFile profile;
    FakeShell shell;
    FakeDialogs dialogs;
    FakeDrives drives;
    Windows1252Codec codec;
    CountingClock clock;
    CountingPump messages;
    FakeUiLanguages languages;
    TfrmMain form;

    SearchWindow(FileSystem& files, const std::string& base)
        : form(MainServices{profile, files, shell, dialogs, drives, codec, "", clock, messages, languages}, View()) {
        form.FormCreate();
        cboxDriver.Add(base);
        cboxDriver.SetItemIndex(0);
        chkSub.checked = true;
    }
};

void RunSearches(benchmark::State& state, FileSystem& files, const std::string& base) {
    std::uint64_t pausedMs = 0, pauses = 0, found = 0;
    for (auto _ : state) {
        // A new window each time, so every run pauses as a first search does.
        state.PauseTiming();
        auto window = std::make_unique<SearchWindow>(files, base);
        state.ResumeTiming();
        window->form.btSearchClick();
        state.PauseTiming();
        pausedMs = window->clock.pausedMs;
        pauses = window->clock.pauses;
        found = window->form.FoundPaths().size();
        if (static_cast<int>(found) != window->lsSearch.Count())
            state.SkipWithError("rows and found paths differ");
        window.reset();
        state.ResumeTiming();
    }
    state.counters["folders_entered"] = static_cast<double>(pauses);
    state.counters["found"] = static_cast<double>(found);
    state.counters["pause_s"] = static_cast<double>(pausedMs) / 1000.0;
}

void BM_SearchInMemoryTree(benchmark::State& state) {
    static FakeFileSystem files = [] {
        FakeFileSystem fs;
        const std::vector<std::string> folders = FolderPaths();
        for (int i = 0; i <= kFolders; ++i)
            for (const std::string& name : FileNames(i))
                fs.AddFile("T:\\Tree\\" + folders[static_cast<std::size_t>(i)] + name, "x");
        return fs;
    }();
    RunSearches(state, files, "T:\\Tree\\");
}
BENCHMARK(BM_SearchInMemoryTree)->Unit(benchmark::kMillisecond);

void BM_SearchDiskTree(benchmark::State& state) {
    const char* tree = std::getenv("LUMIVANE_BENCH_TREE");
    if (!tree || !*tree) {
        state.SkipWithError("LUMIVANE_BENCH_TREE is not set: run bench/search_vs_find.py");
        for (auto _ : state) {
        }
        return;
    }
    bench::PosixFileSystem files("T:\\", tree);
    RunSearches(state, files, "T:\\");
}
BENCHMARK(BM_SearchDiskTree)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
