// Hosting of the Flash Player ActiveX control (see Win32FlashHost.h). MinGW has
// no ATL, so the container side is written out here: one COM object acts as the
// control's client site, in-place site and in-place frame, and the properties go
// through IDispatch::Invoke by dispatch id, which works the same whether the
// player's dispatch interface is dual or not.
#include "platform/win32/Win32FlashHost.h"

#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>

#include <string>
#include <utility>

#include "common/Errors.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Error.h"

namespace lumivane::win32 {

namespace {

const CLSID kFlashClassId = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

constexpr DISPID kDispMovie = 102;
constexpr DISPID kDispLoop = 106;
constexpr DISPID kDispScaleMode = 120;
constexpr DISPID kDispPlaying = 125;

RECT ToRect(const Rect& r) {
    return RECT{r.left, r.top, r.left + r.width, r.top + r.height};
}

// The system's text for a failed creation. Windows knows these COM codes, but a
// system without their message table (Wine has none for "Class not registered")
// would otherwise show a bare number to a user who merely has no player.
std::string CreationErrorText(HRESULT hr) {
    const char* fallback = nullptr;
    switch (hr) {
    case REGDB_E_CLASSNOTREG:
        fallback = "Class not registered";
        break;
    case CO_E_NOTINITIALIZED:
        fallback = "CoInitialize has not been called";
        break;
    case E_NOINTERFACE:
        fallback = "No such interface supported";
        break;
    case CLASS_E_CLASSNOTAVAILABLE:
        fallback = "ClassFactory cannot supply requested class";
        break;
    default:
        break;
    }
    return SystemMessage(static_cast<DWORD>(hr), fallback);
}

void Check(HRESULT hr, const char* call) {
    if (FAILED(hr))
        RaiseHResult(call, hr);
}

// The container as the control sees it: the panel is the window it lives in and
// also stands in for the frame, which has no menus, tool space or accelerators.
// Reference counted because the control may hold on to it until it is released.
class Site final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    Site(HWND panel, const RECT& place) : panel_(panel), place_(place) {}
    void SetPlace(const RECT& place) { place_ = place; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *out = static_cast<IOleInPlaceFrame*>(this);
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
        if (left == 0)
            delete this;
        return left;
    }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        if (moniker)
            *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
        if (container)
            *container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, shared by the in-place site and the frame
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window)
            return E_POINTER;
        *window = panel_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT place,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        if (!frame || !document || !place || !clip || !info)
            return E_POINTER;
        *frame = this;
        AddRef();
        *document = nullptr;
        *place = place_;
        // The control is clipped to its own place: the panel is sized around it or
        // filled by it, and the place may be set before the panel is resized.
        *clip = place_;
        info->fMDIApp = FALSE;
        info->hwndFrame = GetAncestor(panel_, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    // The window decides where the control goes; a control asking to move keeps its place.
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS widths) override {
        return widths ? INPLACE_E_NOTOOLSPACE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

    // IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    ~Site() = default;
    ULONG refs_ = 1;
    HWND panel_;
    RECT place_;
};

} // namespace

class Win32FlashControl final : public FlashControl {
public:
    Win32FlashControl(HWND panel, const Rect& bounds)
        : panel_(panel), bounds_(bounds), site_(ComRef<Site>::Adopt(new Site(panel, ToRect(bounds)))) {}

    // Reverse order of Activate; tolerates a half-done activation. The
    // references themselves go with the members, the site last.
    ~Win32FlashControl() override {
        if (inPlace_ && active_)
            inPlace_->InPlaceDeactivate();
        if (object_) {
            object_->Close(OLECLOSE_NOSAVE);
            if (siteSet_)
                object_->SetClientSite(nullptr);
        }
    }

    Win32FlashControl(const Win32FlashControl&) = delete;
    Win32FlashControl& operator=(const Win32FlashControl&) = delete;

    void Activate() {
        HRESULT hr = CoCreateInstance(kFlashClassId, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object_.PutVoid());
        // This is the error a user without a player meets, so it reads as the system's own text.
        if (FAILED(hr))
            throw EOleSysError(CreationErrorText(hr));

        DWORD misc = 0;
        object_->GetMiscStatus(DVASPECT_CONTENT, &misc);
        if (misc & OLEMISC_SETCLIENTSITEFIRST)
            SetClientSite();
        {
            ComRef<IPersistStreamInit> persist;
            if (SUCCEEDED(object_->QueryInterface(IID_IPersistStreamInit, persist.PutVoid())))
                Check(persist->InitNew(), "IPersistStreamInit.InitNew");
        }
        if (!siteSet_)
            SetClientSite();
        object_->SetHostNames(L"Lumivane", nullptr);
        Check(object_->QueryInterface(IID_IDispatch, dispatch_.PutVoid()), "QueryInterface(IDispatch)");

        RECT place = ToRect(bounds_);
        Check(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, panel_, &place),
              "IOleObject.DoVerb(INPLACEACTIVATE)");
        active_ = true;
        Check(object_->QueryInterface(IID_IOleInPlaceObject, inPlace_.PutVoid()), "QueryInterface(IOleInPlaceObject)");
        Check(object_->DoVerb(OLEIVERB_SHOW, nullptr, site_.Get(), 0, panel_, &place), "IOleObject.DoVerb(SHOW)");
        Check(inPlace_->SetObjectRects(&place, &place), "IOleInPlaceObject.SetObjectRects");
    }

    // Control
    void SetVisible(bool visible) override {
        visible_ = visible;
        if (HWND window = ControlWindow())
            ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
    }
    bool Visible() const override { return visible_; }
    void SetBounds(const Rect& bounds) override {
        bounds_ = bounds;
        RECT place = ToRect(bounds);
        site_->SetPlace(place);
        Check(inPlace_->SetObjectRects(&place, &place), "IOleInPlaceObject.SetObjectRects");
    }
    Rect Bounds() const override { return bounds_; }

    // FlashControl
    void SetMovie(const std::string& path) override {
        const std::u16string wide = Wide(path);
        Variant value;
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocStringLen(W(wide), static_cast<UINT>(wide.size()));
        if (!value.bstrVal)
            RaiseHResult("SysAllocStringLen", E_OUTOFMEMORY);
        Put(kDispMovie, value, "IShockwaveFlash.Movie");
    }
    void SetLoop(bool loop) override {
        Variant value;
        value.vt = VT_BOOL;
        value.boolVal = loop ? VARIANT_TRUE : VARIANT_FALSE;
        Put(kDispLoop, value, "IShockwaveFlash.Loop");
    }
    void SetScaleMode(int mode) override {
        Variant value;
        value.vt = VT_I4;
        value.lVal = mode;
        Put(kDispScaleMode, value, "IShockwaveFlash.ScaleMode");
    }
    bool Playing() override {
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        Variant result;
        Invoke(kDispPlaying, DISPATCH_PROPERTYGET, none, &result, "IShockwaveFlash.Playing");
        if (result.vt != VT_BOOL)
            Check(VariantChangeType(&result, &result, 0, VT_BOOL), "IShockwaveFlash.Playing");
        return result.boolVal != VARIANT_FALSE;
    }
    void Zoom(int factor) override {
        Variant arg;
        arg.vt = VT_I4;
        arg.lVal = factor;
        DISPPARAMS params{&arg, nullptr, 1, 0};
        Invoke(MethodId(L"Zoom", zoomId_, "IShockwaveFlash.Zoom"), DISPATCH_METHOD, params, nullptr,
               "IShockwaveFlash.Zoom");
    }
    void Play() override {
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        Invoke(MethodId(L"Play", playId_, "IShockwaveFlash.Play"), DISPATCH_METHOD, none, nullptr,
               "IShockwaveFlash.Play");
    }
    void Repaint() override {
        if (HWND window = ControlWindow())
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

private:
    void SetClientSite() {
        Check(object_->SetClientSite(site_.Get()), "IOleObject.SetClientSite");
        siteSet_ = true;
    }

    // The control's own window, or none while it has not made one.
    HWND ControlWindow() const {
        HWND window = nullptr;
        if (inPlace_ && SUCCEEDED(inPlace_->GetWindow(&window)))
            return window;
        return nullptr;
    }

    DISPID MethodId(const wchar_t* name, DISPID& cache, const char* call) {
        if (cache == DISPID_UNKNOWN) {
            LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
            Check(dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &cache), call);
        }
        return cache;
    }

    void Put(DISPID id, VARIANT& value, const char* call) {
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{&value, &named, 1, 1};
        Invoke(id, DISPATCH_PROPERTYPUT, params, nullptr, call);
    }

    void Invoke(DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result, const char* call) {
        ExcepInfo exception;
        UINT badArgument = 0;
        Check(dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, &badArgument),
              call);
    }

    HWND panel_;
    Rect bounds_;
    bool visible_ = true;
    ComRef<Site> site_; // declared first: released after the control's references
    ComRef<IOleObject> object_;
    ComRef<IOleInPlaceObject> inPlace_;
    ComRef<IDispatch> dispatch_;
    bool siteSet_ = false;
    bool active_ = false;
    DISPID zoomId_ = DISPID_UNKNOWN;
    DISPID playId_ = DISPID_UNKNOWN;
};

Win32FlashHost::Win32FlashHost(HWND panel, const Rect& bounds) : panel_(panel), bounds_(bounds) {}

Win32FlashHost::~Win32FlashHost() = default;

FlashControl& Win32FlashHost::CreateFlash() {
    if (!control_) {
        auto control = std::make_unique<Win32FlashControl>(panel_, bounds_);
        control->Activate(); // a failure here tears the half-made control down again
        control_ = std::move(control);
    }
    return *control_;
}

} // namespace lumivane::win32
