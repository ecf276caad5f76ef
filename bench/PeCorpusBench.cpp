// The string-table reader against the system's loader over every module of the
// Wine prefix (the corpus that the pe_corpus tests hold the reader to): the time
// to read the strings both ways, reported as a ratio to the loader's time in the
// same run, the loader being the floor a parser is measured against.
//
// Two workloads: string 1 of every module, each file opened once, as the display
// names read it; and every string of every module, where the reader opens and
// parses the file once per string and the loader maps it once for all of them.
// Rounds alternate reader and loader so that a busy machine slows both alike.
//
//   pe_corpus_bench.exe [ROUNDS]     (bench/pe_corpus.sh runs it under Wine)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "contract/win32/WineModules.h"
#include "platform/PeStrings.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32UiLanguages.h"

using namespace lumivane;

namespace {

struct Module {
    std::string path;
    std::vector<std::uint32_t> ids; // every id of its string blocks
};

double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

win32::Library Map(const std::string& path) {
    return win32::Library(
        LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

// Characters read, so that neither side's work can be skipped.
long ReadByReader(FileSystem& files, const std::vector<Module>& modules, const std::vector<UiLanguage>& preferred,
                  bool everyString) {
    long units = 0;
    for (const Module& m : modules)
        for (std::uint32_t id : everyString ? m.ids : std::vector<std::uint32_t>{1})
            units += static_cast<long>(LoadPeString(files, m.path, id, preferred).value_or(u"").size());
    return units;
}

long ReadByLoader(const std::vector<Module>& modules, bool everyString) {
    long units = 0;
    for (const Module& m : modules) {
        const win32::Library module = Map(m.path);
        for (std::uint32_t id : everyString ? m.ids : std::vector<std::uint32_t>{1}) {
            const wchar_t* text = nullptr;
            units += std::max(0, LoadStringW(module.Get(), id, reinterpret_cast<wchar_t*>(&text), 0));
        }
    }
    return units;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    win32::Win32FileSystem files;
    win32::Win32UiLanguages languages;
    const std::vector<UiLanguage> preferred = languages.Preferred();

    std::vector<Module> modules;
    long ids = 0;
    for (const std::string& path : test::WineModules(files)) {
        const win32::Library module = Map(path);
        if (!module)
            continue;
        Module m{path, {}};
        for (const auto& [block, languages] : test::StringTable(module.Get()))
            for (std::uint32_t id = (block - 1u) * 16; id < block * 16u; ++id)
                m.ids.push_back(id);
        ids += static_cast<long>(m.ids.size());
        modules.push_back(std::move(m));
    }
    std::printf("%zu modules, %ld string ids, UI language %s, %d rounds (median)\n", modules.size(), ids,
                preferred.empty() ? "?" : preferred.front().name.c_str(), rounds);
    std::printf("%-28s %12s %12s %8s\n", "workload", "reader ms", "loader ms", "ratio");
    for (bool everyString : {false, true}) {
        std::vector<double> reader, loader;
        long readerUnits = 0, loaderUnits = 0;
        ReadByReader(files, modules, preferred, everyString); // warm the file cache for both
        for (int round = 0; round < rounds; ++round) {
            double start = Seconds();
            readerUnits = ReadByReader(files, modules, preferred, everyString);
            reader.push_back(Seconds() - start);
            start = Seconds();
            loaderUnits = ReadByLoader(modules, everyString);
            loader.push_back(Seconds() - start);
        }
        if (readerUnits != loaderUnits)
            std::printf("the reader read %ld characters, the loader %ld\n", readerUnits, loaderUnits);
        std::printf("%-28s %12.1f %12.1f %8.2f\n",
                    everyString ? "every string of every module" : "string 1 of every module", Median(reader) * 1000,
                    Median(loader) * 1000, Median(reader) / Median(loader));
    }
    return 0;
}
