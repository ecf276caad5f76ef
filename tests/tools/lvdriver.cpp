// lvdriver: looks at and pokes the windows of another process for the end-to-end
// tests, the way a user would see them: captions, static texts, list and combo
// rows, message boxes, buttons. Real input (moves, clicks, keys) is left to
// xdotool; this program only reads state and sends the messages a control would
// get from its own user.
//
// Every answer is one JSON object per line on stdout; exit code 0 on success, 1
// when the window or item was not found in time, 2 on bad usage.
//
//   lvdriver find [--class C] [--caption T] [--pid N] [--timeout MS] [--all]
//   lvdriver windows                       visible top-level windows
//   lvdriver gone HWND [--timeout MS]      waits until the window no longer exists
//   lvdriver children HWND                 every descendant, in Z order
//   lvdriver text HWND
//   lvdriver rect HWND                     window and client rect, screen coordinates
//   lvdriver rows HWND                     list box or combo box rows (list rows with their item data)
//   lvdriver panels HWND                   a status bar's panel texts
//   lvdriver pick HWND INDEX               selects a combo box item as the keyboard does (CBN_SELCHANGE)
//   lvdriver select HWND INDEX             selects a list box row as the keyboard does (LBN_SELCHANGE)
//   lvdriver state HWND                    a button's tick, a tab control's active tab, the focused control
//   lvdriver msgbox [--caption T] [--timeout MS]   a message box: caption, text, buttons
//   lvdriver press HWND CAPTION            clicks the child button with that caption
//   lvdriver taskbar [--pid N]             the windows the shell gives a taskbar entry, with their text
//   lvdriver ping HWND [--timeout MS]      how long the window takes to answer a message (ms)
//   lvdriver close HWND                    posts WM_CLOSE
//   lvdriver kill PID                      ends a process that a test left behind
//   lvdriver hold PATH MS [nodelete]       opens a file without sharing for MS milliseconds, as a
//                                          backup program or a virus scanner does; with nodelete
//                                          it shares reading and writing, as a sync client does
//   lvdriver serve                         the commands above from stdin, one a line
//
// Texts are read with the W messages: under Wine the A ones return only the first
// character of a row read across processes. A message that returns text through a
// pointer and that the system does not marshal gets its buffer in the target
// process (VirtualAllocEx, ReadProcessMemory).
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr UINT kSendTimeoutMs = 3000;

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text) {
    if (text.empty())
        return {};
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length);
    return out;
}

std::string Json(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string Json(const std::wstring& text) {
    return Json(Utf8(text));
}

std::string Handle(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "\"0x%llx\"", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

std::string Rect(const RECT& r) {
    char text[80];
    std::snprintf(text, sizeof text, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right, r.bottom);
    return text;
}

void Print(const std::string& line) {
    std::string out = line + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

HWND ParseHandle(const char* text) {
    char* end = nullptr;
    unsigned long long value = std::strtoull(text, &end, 0);
    if (end == text || *end != '\0')
        return nullptr;
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

// WM_GETTEXT is marshalled by the system across processes, so a local buffer works.
std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length))
        return {};
    std::vector<wchar_t> buffer(length + 64, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied))
        return {};
    return std::wstring(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::string Describe(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    RECT client = {};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::string line = "{\"hwnd\": " + Handle(window);
    line +=
        ", \"parent\": " + Handle(GetAncestor(window, GA_PARENT) == GetDesktopWindow() ? nullptr : GetParent(window));
    line += ", \"pid\": " + std::to_string(ProcessOf(window));
    line += ", \"class\": " + Json(ClassOf(window));
    line += ", \"id\": " + std::to_string(GetDlgCtrlID(window));
    line += ", \"text\": " + Json(TextOf(window));
    line += ", \"rect\": " + Rect(rect);
    line += ", \"client\": " + Rect(client);
    line += std::string(", \"visible\": ") + (IsWindowVisible(window) ? "true" : "false");
    line += std::string(", \"enabled\": ") + (IsWindowEnabled(window) ? "true" : "false");
    return line + "}";
}

struct Options {
    std::wstring className;
    std::wstring caption;
    bool hasClass = false;
    bool hasCaption = false;
    DWORD pid = 0;
    DWORD timeoutMs = 5000;
    bool all = false;
    std::vector<std::string> positional;
};

bool ParseOptions(int argc, char** argv, int first, Options& options) {
    for (int i = first; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--class" && hasValue) {
            options.className = Wide(argv[++i]);
            options.hasClass = true;
        } else if (arg == "--caption" && hasValue) {
            options.caption = Wide(argv[++i]);
            options.hasCaption = true;
        } else if (arg == "--pid" && hasValue) {
            options.pid = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 0));
        } else if (arg == "--timeout" && hasValue) {
            options.timeoutMs = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 0));
        } else if (arg == "--all") {
            options.all = true;
        } else if (arg.rfind("--", 0) == 0) {
            return false;
        } else {
            options.positional.push_back(arg);
        }
    }
    return true;
}

struct TopLevelSearch {
    const Options* options;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TopLevelSearch*>(data);
    const Options& o = *search->options;
    if (!IsWindowVisible(window))
        return TRUE;
    if (o.hasClass && ClassOf(window) != o.className)
        return TRUE;
    if (o.pid != 0 && ProcessOf(window) != o.pid)
        return TRUE;
    if (o.hasCaption) {
        wchar_t caption[512] = {};
        InternalGetWindowText(window, caption, 512);
        if (o.caption != caption)
            return TRUE;
    }
    search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevel(const Options& options) {
    TopLevelSearch search{&options, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Polls rather than hooks: the windows belong to another process.
std::vector<HWND> WaitFor(const Options& options) {
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> found = TopLevel(options);
        if (!found.empty() || GetTickCount() - start >= options.timeoutMs)
            return found;
        Sleep(25);
    }
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::wstring WithoutAccelerator(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

bool IsButton(HWND window) {
    std::wstring name = ClassOf(window);
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, name.c_str(), -1, L"Button", -1) == CSTR_EQUAL ||
           name.find(L"Button") != std::wstring::npos;
}

bool ContainsNoCase(const std::wstring& text, const wchar_t* part) {
    std::wstring upper = text;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    std::wstring upperPart = part;
    CharUpperBuffW(upperPart.data(), static_cast<DWORD>(upperPart.size()));
    return upper.find(upperPart) != std::wstring::npos;
}

// A buffer in the target process for messages that return text through a pointer.
class RemoteBuffer {
public:
    RemoteBuffer(DWORD pid, std::size_t bytes) : size_(bytes) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Ok() const { return address_ != nullptr; }
    LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
    std::wstring ReadText() const {
        std::vector<wchar_t> local(size_ / sizeof(wchar_t) + 1, L'\0');
        SIZE_T read = 0;
        if (!ReadProcessMemory(process_, address_, local.data(), size_, &read))
            return {};
        return std::wstring(local.data(), wcsnlen(local.data(), local.size()));
    }
    void Clear() const {
        std::vector<char> zeros(size_, 0);
        SIZE_T written = 0;
        WriteProcessMemory(process_, address_, zeros.data(), size_, &written);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    std::size_t size_;
};

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

int Rows(HWND window) {
    bool combo = ContainsNoCase(ClassOf(window), L"combo");
    UINT getCount = combo ? CB_GETCOUNT : LB_GETCOUNT;
    UINT getLength = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    UINT getText = combo ? CB_GETLBTEXT : LB_GETTEXT;
    LRESULT count = Send(window, getCount, 0, 0);
    if (count < 0) {
        Print("{\"error\": \"not a list or combo box\"}");
        return 1;
    }
    LRESULT current = Send(window, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = Send(window, getLength, i, 0);
        std::wstring text;
        if (length > 0) {
            // Wine marshals the standard rows across processes; a control that does
            // not gets its buffer in its own process instead.
            std::vector<wchar_t> local(length + 1, L'\0');
            if (Send(window, getText, i, reinterpret_cast<LPARAM>(local.data())) > 0) {
                text.assign(local.data(), wcsnlen(local.data(), local.size()));
            } else {
                RemoteBuffer buffer(ProcessOf(window), (length + 1) * sizeof(wchar_t));
                if (buffer.Ok()) {
                    buffer.Clear();
                    if (Send(window, getText, i, buffer.Address()) > 0)
                        text = buffer.ReadText();
                }
            }
        }
        bool selected = combo ? i == current : Send(window, LB_GETSEL, i, 0) > 0;
        // A check list keeps each row's tick in its item data (1 ticked).
        std::string data = combo ? "" : ", \"data\": " + std::to_string(Send(window, LB_GETITEMDATA, i, 0));
        Print("{\"index\": " + std::to_string(i) + ", \"text\": " + Json(text) +
              ", \"selected\": " + (selected ? "true" : "false") + data + "}");
    }
    return 0;
}

// SB_GETTEXTW returns its text through a pointer that the system does not
// marshal, so the buffer lives in the status bar's process.
int Panels(HWND window) {
    LRESULT parts = Send(window, SB_GETPARTS, 0, 0);
    if (parts <= 0) {
        Print("{\"error\": \"not a status bar\"}");
        return 1;
    }
    for (LRESULT i = 0; i < parts; ++i) {
        LRESULT length = LOWORD(Send(window, SB_GETTEXTLENGTHW, i, 0));
        std::wstring text;
        RemoteBuffer buffer(ProcessOf(window), (length + 1) * sizeof(wchar_t));
        if (buffer.Ok()) {
            buffer.Clear();
            Send(window, SB_GETTEXTW, i, buffer.Address());
            text = buffer.ReadText();
        }
        Print("{\"index\": " + std::to_string(i) + ", \"text\": " + Json(text) + "}");
    }
    return 0;
}

// The combo's own notification for a pick made with the arrow keys, list closed.
int Pick(HWND combo, int index) {
    if (Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != index) {
        Print("{\"error\": \"no such item\"}");
        return 1;
    }
    PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    Print("{\"picked\": " + std::to_string(index) + "}");
    return 0;
}

// The list box's own notification for a row picked with the arrow keys.
int Select(HWND list, int index) {
    if (Send(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0) != index) {
        Print("{\"error\": \"no such row\"}");
        return 1;
    }
    PostMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    Print("{\"selected\": " + std::to_string(index) + "}");
    return 0;
}

// What a user sees of a control beyond its text: the tick of a check box or radio
// button (BM_GETCHECK), the active tab of a tab control (-1 none), and which
// control of the window's thread has the keyboard focus.
int State(HWND window) {
    std::string line = "{\"hwnd\": " + Handle(window);
    if (IsButton(window))
        line += ", \"checked\": " + std::to_string(Send(window, BM_GETCHECK, 0, 0));
    if (ContainsNoCase(ClassOf(window), L"SysTabControl32"))
        line += ", \"tab\": " + std::to_string(Send(window, TCM_GETCURSEL, 0, 0));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND focus = GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
    line += ", \"focus\": " + Handle(focus) + ", \"focusId\": " + std::to_string(focus ? GetDlgCtrlID(focus) : 0);
    Print(line + "}");
    return 0;
}

int MessageBoxInfo(const Options& options) {
    Options search = options;
    search.className = L"#32770";
    search.hasClass = true;
    std::vector<HWND> found = WaitFor(search);
    if (found.empty()) {
        Print("{\"error\": \"no message box\"}");
        return 1;
    }
    HWND box = found.front();
    std::wstring text;
    std::string buttons;
    // A box can be found while its dialog is still being filled in: its text is
    // read again for a moment until there is some.
    for (int tries = 0; text.empty() && tries < 40; ++tries) {
        if (tries > 0)
            Sleep(50);
        buttons.clear();
        for (HWND child : Children(box)) {
            if (IsButton(child)) {
                if (IsWindowVisible(child))
                    buttons += (buttons.empty() ? "" : ", ") + Json(WithoutAccelerator(TextOf(child)));
            } else if (ContainsNoCase(ClassOf(child), L"static") &&
                       (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
                std::wstring part = TextOf(child);
                if (!part.empty())
                    text += (text.empty() ? L"" : L"\n") + part;
            }
        }
    }
    Print("{\"hwnd\": " + Handle(box) + ", \"pid\": " + std::to_string(ProcessOf(box)) +
          ", \"caption\": " + Json(TextOf(box)) + ", \"text\": " + Json(text) + ", \"buttons\": [" + buttons +
          "], \"count\": " + std::to_string(found.size()) + "}");
    return 0;
}

// WM_COMMAND to the owner, as the button sends it when clicked: it needs neither
// focus nor pointer, and a hidden or covered window is pressed all the same.
int Press(HWND parent, const std::wstring& caption) {
    for (HWND child : Children(parent)) {
        if (IsButton(child) && WithoutAccelerator(TextOf(child)) == WithoutAccelerator(caption)) {
            if (!IsWindowEnabled(child)) {
                Print("{\"error\": \"button disabled\"}");
                return 1;
            }
            Print(Describe(child));
            PostMessageW(GetParent(child), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED),
                         reinterpret_cast<LPARAM>(child));
            return 0;
        }
    }
    Print("{\"error\": \"no such button\"}");
    return 1;
}

// The shell's rule for a taskbar entry: a visible top-level window that is
// either marked WS_EX_APPWINDOW or has no owner and is no tool window.
int Taskbar(const Options& options) {
    for (HWND window : TopLevel(options)) {
        const LONG_PTR ex = GetWindowLongPtrW(window, GWL_EXSTYLE);
        const bool owned = GetWindow(window, GW_OWNER) != nullptr;
        if ((ex & WS_EX_APPWINDOW) || (!owned && !(ex & WS_EX_TOOLWINDOW)))
            Print("{\"hwnd\": " + Handle(window) + ", \"pid\": " + std::to_string(ProcessOf(window)) +
                  ", \"class\": " + Json(ClassOf(window)) + ", \"text\": " + Json(TextOf(window)) + "}");
    }
    return 0;
}

// The time a window's thread takes to answer WM_NULL: near zero while it runs its
// message loop, the length of the wait while it is busy elsewhere.
int Ping(HWND window, DWORD timeoutMs) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    DWORD_PTR result = 0;
    const bool answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
    QueryPerformanceCounter(&end);
    const double ms = static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
    char text[96];
    std::snprintf(text, sizeof text, "{\"ms\": %.2f, \"answered\": %s}", ms, answered ? "true" : "false");
    Print(text);
    return 0;
}

int Usage() {
    std::fputs("usage: lvdriver "
               "find|windows|foreground|monitors|gone|children|text|rect|rows|panels|pick|select|state|msgbox|"
               "taskbar|ping|press|close|kill|hold ...\n",
               stderr);
    return 2;
}

} // namespace

// One command; utf8Args[0] stands for the program, as in argv.
static int Dispatch(std::vector<std::string> utf8Args) {
    int argc = static_cast<int>(utf8Args.size());
    if (argc < 2)
        return Usage();
    std::vector<char*> argv;
    for (std::string& arg : utf8Args)
        argv.push_back(arg.data());
    std::string command = argv[1];
    Options options;
    if (!ParseOptions(argc, argv.data(), 2, options))
        return Usage();
    const auto& args = options.positional;

    if (command == "find") {
        std::vector<HWND> found = WaitFor(options);
        if (found.empty()) {
            Print("{\"error\": \"timeout\"}");
            return 1;
        }
        for (HWND window : found) {
            Print(Describe(window));
            if (!options.all)
                break;
        }
        return 0;
    }
    if (command == "windows") {
        for (HWND window : TopLevel(options))
            Print(Describe(window));
        return 0;
    }
    if (command == "msgbox")
        return MessageBoxInfo(options);
    if (command == "foreground") {
        Print(Describe(GetForegroundWindow()));
        return 0;
    }
    if (command == "monitors") {
        EnumDisplayMonitors(
            nullptr, nullptr,
            [](HMONITOR monitor, HDC, LPRECT, LPARAM) noexcept -> BOOL {
                MONITORINFO info = {};
                info.cbSize = sizeof info;
                GetMonitorInfoW(monitor, &info);
                const bool primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
                Print("{\"rect\": " + Rect(info.rcMonitor) + ", \"primary\": " + (primary ? "true}" : "false}"));
                return TRUE;
            },
            0);
        return 0;
    }
    if (command == "taskbar")
        return Taskbar(options);

    if (args.empty())
        return Usage();
    if (command == "hold" && (args.size() == 2 || (args.size() == 3 && args[2] == "nodelete"))) {
        const DWORD share = args.size() == 3 ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
        HANDLE file = CreateFileW(Wide(args[0]).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            Print("{\"error\": \"cannot open\", \"code\": " + std::to_string(GetLastError()) + "}");
            return 1;
        }
        Print("{\"held\": " + Json(Wide(args[0])) + "}");
        Sleep(static_cast<DWORD>(std::strtoul(args[1].c_str(), nullptr, 10)));
        CloseHandle(file);
        Print("{\"released\": " + Json(Wide(args[0])) + "}");
        return 0;
    }
    if (command == "kill") {
        DWORD pid = static_cast<DWORD>(std::strtoul(args[0].c_str(), nullptr, 0));
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (!process) {
            Print("{\"error\": \"no such process\"}");
            return 1;
        }
        TerminateProcess(process, 255);
        WaitForSingleObject(process, options.timeoutMs);
        CloseHandle(process);
        Print("{\"killed\": " + std::to_string(pid) + "}");
        return 0;
    }
    HWND window = ParseHandle(args[0].c_str());
    if (command == "gone") {
        DWORD start = GetTickCount();
        while (IsWindow(window)) {
            if (GetTickCount() - start >= options.timeoutMs) {
                Print("{\"error\": \"timeout\"}");
                return 1;
            }
            Sleep(25);
        }
        Print("{\"gone\": " + Handle(window) + "}");
        return 0;
    }
    if (!window || !IsWindow(window)) {
        Print("{\"error\": \"no such window\"}");
        return 1;
    }
    if (command == "children") {
        for (HWND child : Children(window))
            Print(Describe(child));
        return 0;
    }
    if (command == "text") {
        Print("{\"text\": " + Json(TextOf(window)) + "}");
        return 0;
    }
    if (command == "rect") {
        Print(Describe(window));
        return 0;
    }
    if (command == "rows")
        return Rows(window);
    if (command == "panels")
        return Panels(window);
    if (command == "pick" && args.size() == 2)
        return Pick(window, std::atoi(args[1].c_str()));
    if (command == "select" && args.size() == 2)
        return Select(window, std::atoi(args[1].c_str()));
    if (command == "state")
        return State(window);
    if (command == "ping")
        return Ping(window, options.timeoutMs);
    if (command == "press" && args.size() == 2)
        return Press(window, Wide(args[1]));
    if (command == "close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
        Print("{\"closed\": " + Handle(window) + "}");
        return 0;
    }
    return Usage();
}

// "serve" answers commands from stdin, one a line with tab-separated arguments,
// each answer closed by {"done": <exit code>}. One Wine process for a whole test
// file instead of one per look saves about a fifth of a second a look.
static int Serve() {
    std::string line;
    int c;
    while ((c = std::fgetc(stdin)) != EOF) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> args{"lvdriver"};
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            args.push_back(line.substr(start, tab - start));
        args.push_back(line.substr(start));
        line.clear();
        Print("{\"done\": " + std::to_string(Dispatch(args)) + "}");
    }
    return 0;
}

int main() {
    // The wide command line keeps captions with non-ASCII characters intact.
    int argc = 0;
    LPWSTR* wideArgs = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> utf8Args;
    for (int i = 0; i < argc; ++i)
        utf8Args.push_back(Utf8(wideArgs[i]));
    LocalFree(wideArgs);
    if (argc == 2 && utf8Args[1] == "serve")
        return Serve();
    return Dispatch(utf8Args);
}
