// ProfileProbe: how long the system's profile functions take to read one list of
// "Lumivane.ini" key by key (one GetPrivateProfileStringA per FileN, as the
// program reads it) against reading the whole section in one call
// (GetPrivateProfileSectionA). Under Wine every call checks the file afresh, so the
// per-key cost dominates a start with a long list.
//
//   ProfileProbe <ini path> <section> <count> <repeats>
//
// Prints {"per_key_ms": .., "section_ms": .., "keys": .., "lines": ..}, each time the
// best of the repeats.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fputs("usage: ProfileProbe <ini path> <section> <count> <repeats>\n", stderr);
        return 2;
    }
    const char* path = argv[1];
    const char* section = argv[2];
    const int count = std::atoi(argv[3]);
    const int repeats = std::atoi(argv[4]);
    double perKey = 1e30, whole = 1e30;
    int keys = 0, lines = 0;
    std::vector<char> value(2048);
    for (int r = 0; r < repeats; ++r) {
        double start = Now();
        keys = 0;
        for (int n = 0; n < count; ++n) {
            const std::string key = "File" + std::to_string(n);
            if (GetPrivateProfileStringA(section, key.c_str(), "", value.data(), 2048, path) > 0)
                ++keys;
        }
        perKey = std::min(perKey, Now() - start);

        start = Now();
        std::vector<char> buffer(1 << 16);
        DWORD got = 0;
        for (;;) {
            got = GetPrivateProfileSectionA(section, buffer.data(), static_cast<DWORD>(buffer.size()), path);
            if (got + 2 < buffer.size())
                break;
            buffer.resize(buffer.size() * 4);
        }
        lines = 0;
        for (DWORD i = 0; i < got && buffer[i]; i += static_cast<DWORD>(std::strlen(buffer.data() + i)) + 1)
            ++lines;
        whole = std::min(whole, Now() - start);
    }
    std::printf("{\"per_key_ms\": %.2f, \"section_ms\": %.2f, \"keys\": %d, \"lines\": %d}\n", perKey, whole, keys,
                lines);
    return 0;
}
