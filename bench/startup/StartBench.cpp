// StartBench: times one program start inside Wine, from just before CreateProcess
// to the moment a condition holds, and prints {"ms": <elapsed>} on stdout. The
// clock runs inside the Windows side, so the time Wine's Linux launcher takes to
// come up is not counted for any program, the floor included.
//
//   StartBench <timeout-ms> window <class> -- <command line>
//   StartBench <timeout-ms> rows <class> <list id> <rows> [<list id> <rows>...] -- <command line>
//   StartBench <timeout-ms> file <mask> -- <command line>
//   StartBench <timeout-ms> press <class> <button id> <class> -- <command line>
//   StartBench <timeout-ms> close <class> [<list id> <rows>...] -- <command line>
//
// window: a visible top-level window of that class; rows: that window is visible
// and each list box child holds at least that many rows; file: a file matching the
// mask exists (a sample saver's log, written as it starts); press: once the first
// window shows, its button is pressed and the time runs from the press to the
// second window shown (the about box's first showing, say); close: once the
// window holds as for rows, it gets WM_CLOSE, and the time runs from then until
// the program has ended, so a close that stores a long list is timed by itself.
// Afterwards the started program and everything it started are ended (a job
// object holds them), so the next run starts clean. Exit code 0 when the
// condition held, 1 on time-out, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Rows {
    int id;
    LRESULT count;
};

struct Condition {
    std::string kind;
    std::string className;
    std::vector<Rows> rows;
    std::string mask;
    int button = 0;
    std::string shownClass; // press: the window the button shows
};

HWND VisibleWindow(const std::string& className) {
    HWND window = FindWindowA(className.c_str(), nullptr);
    return window && IsWindowVisible(window) ? window : nullptr;
}

bool Holds(const Condition& c) {
    if (c.kind == "file") {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(c.mask.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return false;
        FindClose(find);
        return true;
    }
    HWND window = VisibleWindow(c.className);
    if (!window)
        return false;
    for (const Rows& r : c.rows) {
        HWND list = GetDlgItem(window, r.id);
        DWORD_PTR count = 0;
        // The window may be busy filling its lists; the answer then waits for it.
        if (!list || !SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &count) ||
            static_cast<LRESULT>(count) < r.count)
            return false;
    }
    return true;
}

// Ends processes that own a visible window of a class our benchmarks start, in case
// one escaped the job (a program started through the shell may break away).
void SweepWindows() {
    for (const char* cls :
         {"LumivaneSampleSaver", "TfrmScreen", "TfrmMain", "TfrmAbout", "LumivaneBenchFloor", "LumivaneStandInPlayer"}) {
        for (int tries = 0; tries < 20; ++tries) {
            HWND window = FindWindowA(cls, nullptr);
            if (!window)
                break;
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
            if (!process)
                break;
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
}

int Usage() {
    std::fputs("usage: StartBench <timeout-ms> window <class> | rows <class> <id> <n>... | file <mask> | "
               "press <class> <id> <class> | close <class> [<id> <n>...] -- <command>\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5)
        return Usage();
    const DWORD timeoutMs = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
    Condition condition;
    condition.kind = argv[2];
    int i = 3;
    if (condition.kind == "window" || condition.kind == "rows" || condition.kind == "close") {
        condition.className = argv[i++];
        while (condition.kind != "window" && i + 1 < argc && std::string(argv[i]) != "--") {
            condition.rows.push_back({std::atoi(argv[i]), std::atoi(argv[i + 1])});
            i += 2;
        }
    } else if (condition.kind == "file") {
        condition.mask = argv[i++];
    } else if (condition.kind == "press" && i + 2 < argc) {
        condition.className = argv[i++];
        condition.button = std::atoi(argv[i++]);
        condition.shownClass = argv[i++];
    } else {
        return Usage();
    }
    if (i >= argc || std::string(argv[i]) != "--" || i + 1 >= argc)
        return Usage();
    std::string command;
    for (++i; i < argc; ++i) {
        if (!command.empty())
            command += ' ';
        const std::string arg = argv[i];
        command += arg.find(' ') == std::string::npos ? arg : "\"" + arg + "\"";
    }

    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);

    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si,
                        &pi)) {
        std::fprintf(stderr, "StartBench: cannot start %s (error %lu)\n", command.c_str(), GetLastError());
        return 2;
    }
    AssignProcessToJobObject(job, pi.hProcess);
    ResumeThread(pi.hThread);

    bool held = false;
    double ms = 0;
    auto wait = [&](const Condition& c) {
        for (;;) {
            held = Holds(c);
            QueryPerformanceCounter(&now);
            ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
            if (held || ms > timeoutMs)
                return;
            Sleep(1);
        }
    };
    if (condition.kind == "press") {
        wait(Condition{"window", condition.className, {}, {}, 0, {}});
        if (held) {
            // The window answers once its start is over; the press goes in then.
            HWND window = VisibleWindow(condition.className);
            DWORD_PTR answer = 0;
            SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &answer);
            HWND button = GetDlgItem(window, condition.button);
            QueryPerformanceCounter(&start);
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(condition.button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            wait(Condition{"window", condition.shownClass, {}, {}, 0, {}});
        }
    } else {
        wait(condition);
    }
    if (held && condition.kind == "close") {
        LARGE_INTEGER closing, ended;
        QueryPerformanceCounter(&closing);
        PostMessageA(VisibleWindow(condition.className), WM_CLOSE, 0, 0);
        held = WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
        QueryPerformanceCounter(&ended);
        ms = 1000.0 * static_cast<double>(ended.QuadPart - closing.QuadPart) / static_cast<double>(frequency.QuadPart);
    }
    if (held)
        std::printf("{\"ms\": %.2f}\n", ms);
    else
        std::printf("{\"timeout\": %lu}\n", timeoutMs);
    std::fflush(stdout);

    TerminateJobObject(job, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    SweepWindows();
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(job);
    return held ? 0 : 1;
}
