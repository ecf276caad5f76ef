// A stand-in for the Flash Player ActiveX control, for the Wine tests: an
// in-process COM server that registers itself under the player's class id and
// answers the same dispatch ids (Movie 102, Loop 106, ScaleMode 120, Playing 125)
// and the methods "Zoom" and "Play". It draws a plain frame with the movie's file
// name where the control sits, so screenshots show its place and size.
//
// Environment, read in the process that loads it:
//   LUMIVANE_STUB_LOG      file to which every call is appended, one line each:
//                          "<milliseconds since boot> <call>"
//   LUMIVANE_STUB_STOP_MS  a played movie reports Playing false this many
//                          milliseconds after Play (unset: it never stops)
//   LUMIVANE_STUB_FAIL     name of one call to fail with E_FAIL ("Zoom", "Play",
//                          "Movie", "Loop", "ScaleMode", "Playing", "DoVerb",
//                          "SetObjectRects"), to drive the host's error paths
//
// Property values must arrive with the types the real control declares (BSTR,
// VARIANT_BOOL, 32-bit integer); anything else is a type mismatch, so a host that
// encodes them wrongly fails here as it would with the player.
#include <windows.h>

#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const CLSID kFlashClassId = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID kShockwaveFlashIid = {0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const char kClassKey[] = "CLSID\\{D27CDB6E-AE6D-11CF-96B8-444553540000}";
const char kWindowClass[] = "LumivaneFlashStandIn";

constexpr DISPID kDispMovie = 102;
constexpr DISPID kDispLoop = 106;
constexpr DISPID kDispScaleMode = 120;
constexpr DISPID kDispPlaying = 125;
// The stand-in's own ids for the methods; hosts find them by name.
constexpr DISPID kDispZoom = 1001;
constexpr DISPID kDispPlay = 1002;

HMODULE gModule = nullptr;
std::atomic<long> gObjects{0};
std::atomic<long> gLocks{0};

std::string Env(const char* name) {
    char buffer[1024];
    const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return n && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

// Appends one line to the call log; opened and closed per line so that a process
// that is killed still leaves a complete log.
void Log(const std::string& call) {
    const std::string path = Env("LUMIVANE_STUB_LOG");
    if (path.empty())
        return;
    const std::string line = std::to_string(GetTickCount64()) + " " + call + "\n";
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

bool ShouldFail(const char* call) {
    return Env("LUMIVANE_STUB_FAIL") == call;
}

std::string Narrow(const wchar_t* text, int length) {
    if (!text || length <= 0)
        return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, narrow.data(), n, nullptr, nullptr);
    return narrow;
}

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) + "," +
           std::to_string(r.bottom - r.top);
}

class StandIn final : public IDispatch, public IOleObject, public IOleInPlaceObject, public IPersistStreamInit {
public:
    StandIn() {
        ++gObjects;
        Log("Create");
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kShockwaveFlashIid)
            *out = static_cast<IDispatch*>(this);
        else if (iid == IID_IOleObject)
            *out = static_cast<IOleObject*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
            *out = static_cast<IOleInPlaceObject*>(this);
        else if (iid == IID_IPersist || iid == IID_IPersistStreamInit)
            *out = static_cast<IPersistStreamInit*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) {
            Log("Released");
            delete this;
        }
        return left;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!names || !ids || count == 0)
            return E_INVALIDARG;
        struct Name {
            const wchar_t* name;
            DISPID id;
        };
        static const Name kNames[] = {{L"Movie", kDispMovie},     {L"Loop", kDispLoop}, {L"ScaleMode", kDispScaleMode},
                                      {L"Playing", kDispPlaying}, {L"Zoom", kDispZoom}, {L"Play", kDispPlay}};
        HRESULT result = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            for (const Name& n : kNames)
                if (i == 0 && lstrcmpiW(names[i], n.name) == 0)
                    ids[i] = n.id;
            if (ids[i] == DISPID_UNKNOWN)
                result = DISP_E_UNKNOWNNAME;
        }
        Log("GetIDsOfNames(" + Narrow(names[0], lstrlenW(names[0])) + ")");
        return result;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT* badArgument) override {
        if (iid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        if (!params)
            return E_INVALIDARG;
        const bool put = flags & DISPATCH_PROPERTYPUT;
        // A property put carries its value as the one named argument DISPID_PROPERTYPUT.
        if (put && (params->cArgs != 1 || params->cNamedArgs != 1 || !params->rgdispidNamedArgs ||
                    params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
            return DISP_E_PARAMNOTOPTIONAL;
        const VARIANT* arg = params->cArgs ? &params->rgvarg[0] : nullptr;
        auto mismatch = [&](const char* what) {
            Log(std::string(what) + ": type mismatch (vt " + std::to_string(arg ? arg->vt : -1) + ")");
            if (badArgument)
                *badArgument = 0;
            return DISP_E_TYPEMISMATCH;
        };

        switch (id) {
        case kDispMovie:
            if (put) {
                if (arg->vt != VT_BSTR)
                    return mismatch("Movie");
                movie_ = Narrow(arg->bstrVal, static_cast<int>(SysStringLen(arg->bstrVal)));
                Log("Movie=" + movie_);
                playing_ = false;
                Redraw();
                return ShouldFail("Movie") ? E_FAIL : S_OK;
            }
            return GetString(result, movie_);
        case kDispLoop:
            if (put) {
                if (arg->vt != VT_BOOL)
                    return mismatch("Loop");
                loop_ = arg->boolVal;
                Log("Loop=" + std::to_string(arg->boolVal));
                return ShouldFail("Loop") ? E_FAIL : S_OK;
            }
            return GetBool(result, loop_);
        case kDispScaleMode:
            if (put) {
                if (arg->vt != VT_I4)
                    return mismatch("ScaleMode");
                scaleMode_ = arg->lVal;
                Log("ScaleMode=" + std::to_string(arg->lVal));
                Redraw();
                return ShouldFail("ScaleMode") ? E_FAIL : S_OK;
            }
            return GetLong(result, scaleMode_);
        case kDispPlaying: {
            if (put || !(flags & DISPATCH_PROPERTYGET))
                return DISP_E_MEMBERNOTFOUND;
            const bool playing = IsPlaying();
            Log(std::string("Playing?=") + (playing ? "true" : "false"));
            if (ShouldFail("Playing"))
                return E_FAIL;
            return GetBool(result, playing ? VARIANT_TRUE : VARIANT_FALSE);
        }
        case kDispZoom:
            if (!(flags & DISPATCH_METHOD) || params->cArgs != 1)
                return DISP_E_BADPARAMCOUNT;
            if (arg->vt != VT_I4)
                return mismatch("Zoom");
            Log("Zoom(" + std::to_string(arg->lVal) + ")");
            return ShouldFail("Zoom") ? E_FAIL : S_OK;
        case kDispPlay:
            if (!(flags & DISPATCH_METHOD) || params->cArgs != 0)
                return DISP_E_BADPARAMCOUNT;
            Log("Play");
            if (ShouldFail("Play"))
                return E_FAIL;
            if (!movie_.empty()) {
                playing_ = true;
                playStart_ = GetTickCount64();
                Redraw();
            }
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
        Log(site ? "SetClientSite(site)" : "SetClientSite(null)");
        if (site)
            site->AddRef();
        if (site_)
            site_->Release();
        site_ = site;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
        if (!site)
            return E_POINTER;
        *site = site_;
        if (site_)
            site_->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override {
        Log("Close");
        if (window_)
            InPlaceDeactivate();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        if (moniker)
            *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** data) override {
        if (data)
            *data = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) override {
        Log("DoVerb(" + std::to_string(verb) + ")");
        if (ShouldFail("DoVerb"))
            return E_FAIL;
        switch (verb) {
        case OLEIVERB_INPLACEACTIVATE:
        case OLEIVERB_SHOW:
        case OLEIVERB_UIACTIVATE:
        case OLEIVERB_PRIMARY:
            return ActivateInPlace(site ? site : site_);
        case OLEIVERB_HIDE:
            if (window_)
                ShowWindow(window_, SW_HIDE);
            return S_OK;
        default:
            return OLEOBJ_S_INVALIDVERB;
        }
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override {
        if (verbs)
            *verbs = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* id) override {
        if (!id)
            return E_POINTER;
        *id = kFlashClassId;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR* type) override {
        if (type)
            *type = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL* size) override {
        if (!size)
            return E_POINTER;
        extent_ = *size;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL* size) override {
        if (!size)
            return E_POINTER;
        *size = extent_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD* connection) override {
        if (connection)
            *connection = 0;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override {
        if (advise)
            *advise = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override {
        if (!status)
            return E_POINTER;
        *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                  OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow / IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window)
            return E_POINTER;
        *window = window_;
        return window_ ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
        Log("InPlaceDeactivate");
        if (window_) {
            DestroyWindow(window_);
            window_ = nullptr;
        }
        if (inPlaceSite_) {
            inPlaceSite_->OnInPlaceDeactivate();
            inPlaceSite_->Release();
            inPlaceSite_ = nullptr;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT place, LPCRECT) override {
        if (!place)
            return E_POINTER;
        Log("SetObjectRects(" + RectText(*place) + ")");
        if (ShouldFail("SetObjectRects"))
            return E_FAIL;
        if (window_)
            MoveWindow(window_, place->left, place->top, place->right - place->left, place->bottom - place->top, TRUE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

    // IPersistStreamInit
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override { return GetUserClassID(id); }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitNew() override {
        Log("InitNew");
        return S_OK;
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<StandIn*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        switch (message) {
        case WM_PAINT:
            if (self) {
                self->Paint(window);
                return 0;
            }
            break;
        case WM_TIMER:
            // Shows the change from "playing" to "stopped" without anyone asking.
            if (self && self->shownPlaying_ != self->IsPlaying())
                InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        default:
            break;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

private:
    ~StandIn() {
        if (window_)
            DestroyWindow(window_);
        if (inPlaceSite_)
            inPlaceSite_->Release();
        if (site_)
            site_->Release();
        --gObjects;
    }

    bool IsPlaying() const {
        if (!playing_)
            return false;
        const std::string stop = Env("LUMIVANE_STUB_STOP_MS");
        if (stop.empty())
            return true;
        return GetTickCount64() - playStart_ < std::strtoull(stop.c_str(), nullptr, 10);
    }

    HRESULT ActivateInPlace(IOleClientSite* site) {
        if (window_) {
            ShowWindow(window_, SW_SHOW);
            return S_OK;
        }
        if (!site)
            return E_INVALIDARG;
        IOleInPlaceSite* inPlace = nullptr;
        if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace))))
            return E_NOINTERFACE;
        if (inPlace->CanInPlaceActivate() != S_OK) {
            inPlace->Release();
            return E_FAIL;
        }
        inPlace->OnInPlaceActivate();
        HWND parent = nullptr;
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* document = nullptr;
        RECT place{}, clip{};
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof info;
        if (FAILED(inPlace->GetWindow(&parent)) ||
            FAILED(inPlace->GetWindowContext(&frame, &document, &place, &clip, &info))) {
            inPlace->OnInPlaceDeactivate();
            inPlace->Release();
            return E_FAIL;
        }
        if (frame)
            frame->Release();
        if (document)
            document->Release();

        static const bool registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = WindowProc;
            wc.hInstance = gModule;
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.lpszClassName = kWindowClass;
            return RegisterClassA(&wc) != 0;
        }();
        (void)registered;
        window_ = CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, parent, nullptr, gModule, this);
        if (!window_) {
            inPlace->OnInPlaceDeactivate();
            inPlace->Release();
            return HRESULT_FROM_WIN32(GetLastError());
        }
        SetTimer(window_, 1, 200, nullptr);
        inPlaceSite_ = inPlace;
        Log("InPlaceActivate(" + RectText(place) + ")");
        return S_OK;
    }

    void Redraw() {
        if (window_)
            InvalidateRect(window_, nullptr, TRUE);
    }

    void Paint(HWND window) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        HBRUSH fill = CreateSolidBrush(RGB(32, 48, 80));
        FillRect(dc, &client, fill);
        DeleteObject(fill);
        // A bright frame along the edges marks exactly where the control lies.
        HBRUSH edge = CreateSolidBrush(RGB(255, 200, 0));
        for (int i = 0; i < 3; ++i) {
            RECT r{client.left + i, client.top + i, client.right - i, client.bottom - i};
            FrameRect(dc, &r, edge);
        }
        DeleteObject(edge);

        shownPlaying_ = IsPlaying();
        const std::size_t slash = movie_.find_last_of("\\/");
        const std::string name =
            movie_.empty() ? "(no movie)" : movie_.substr(slash == std::string::npos ? 0 : slash + 1);
        const std::string lines = "Flash stand-in\n" + name + "\n" + (shownPlaying_ ? "playing" : "stopped") +
                                  "  scale " + std::to_string(scaleMode_) + "\n" + std::to_string(client.right) +
                                  " x " + std::to_string(client.bottom);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        RECT text{client.left + 8, client.top + 8, client.right - 8, client.bottom - 8};
        DrawTextA(dc, lines.c_str(), -1, &text, DT_LEFT | DT_TOP | DT_NOPREFIX | DT_WORDBREAK);
        EndPaint(window, &ps);
    }

    HRESULT GetString(VARIANT* result, const std::string& value) {
        if (!result)
            return E_POINTER;
        const int n = MultiByteToWideChar(CP_ACP, 0, value.data(), static_cast<int>(value.size()), nullptr, 0);
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocStringLen(nullptr, static_cast<UINT>(n));
        MultiByteToWideChar(CP_ACP, 0, value.data(), static_cast<int>(value.size()), result->bstrVal, n);
        return S_OK;
    }
    static HRESULT GetBool(VARIANT* result, VARIANT_BOOL value) {
        if (!result)
            return E_POINTER;
        result->vt = VT_BOOL;
        result->boolVal = value;
        return S_OK;
    }
    static HRESULT GetLong(VARIANT* result, LONG value) {
        if (!result)
            return E_POINTER;
        result->vt = VT_I4;
        result->lVal = value;
        return S_OK;
    }

    std::atomic<ULONG> refs_{1};
    IOleClientSite* site_ = nullptr;
    IOleInPlaceSite* inPlaceSite_ = nullptr;
    HWND window_ = nullptr;
    SIZEL extent_{5080, 5080};
    std::string movie_;
    VARIANT_BOOL loop_ = VARIANT_FALSE;
    LONG scaleMode_ = 0;
    bool playing_ = false;
    bool shownPlaying_ = false;
    ULONGLONG playStart_ = 0;
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is static and lives as long as the module.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* object = new StandIn();
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            ++gLocks;
        else
            --gLocks;
        return S_OK;
    }
};

Factory gFactory;

bool SetValue(HKEY key, const char* name, const std::string& value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        gModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID id, REFIID iid, LPVOID* out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (id != kFlashClassId)
        return CLASS_E_CLASSNOTAVAILABLE;
    return gFactory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() {
    return gObjects == 0 && gLocks == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(gModule, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return SELFREG_E_CLASS;
    HKEY classKey = nullptr, serverKey = nullptr;
    bool ok = RegCreateKeyExA(HKEY_CLASSES_ROOT, kClassKey, 0, nullptr, 0, KEY_WRITE, nullptr, &classKey, nullptr) ==
              ERROR_SUCCESS;
    ok = ok && SetValue(classKey, nullptr, "Lumivane Flash stand-in");
    ok = ok && RegCreateKeyExA(classKey, "InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &serverKey, nullptr) ==
                   ERROR_SUCCESS;
    ok = ok && SetValue(serverKey, nullptr, path) && SetValue(serverKey, "ThreadingModel", "Apartment");
    if (serverKey)
        RegCloseKey(serverKey);
    if (classKey)
        RegCloseKey(classKey);
    return ok ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    const std::string server = std::string(kClassKey) + "\\InprocServer32";
    RegDeleteKeyA(HKEY_CLASSES_ROOT, server.c_str());
    const LONG rc = RegDeleteKeyA(HKEY_CLASSES_ROOT, kClassKey);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

} // extern "C"
