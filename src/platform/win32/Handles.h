// Owning wrappers for the Win32 handles the program holds. Each releases its
// handle exactly once, in its destructor, with the call that matches how the
// handle was made (DeleteObject for a font, DestroyMenu for a menu, ReleaseDC for
// a DC from GetDC ...), so no window or adapter writes release code of its own.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <shtypes.h>

#include <utility>

namespace lumivane::win32 {

// A handle with one owner. Traits name the invalid value and the release call.
template <class Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    // Gives the handle up without releasing it.
    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid()) {
        if (handle_ != Traits::Invalid())
            Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::Invalid();
};

namespace traits {

template <class H, class Closer, H kInvalid = nullptr> struct Of {
    using Handle = H;
    static Handle Invalid() { return kInvalid; }
    static void Close(Handle handle) { Closer{}(handle); }
};

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyMenuCall {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct DestroyIconCall {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct DeleteDcCall {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct CloseHandleCall {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct FindCloseCall {
    void operator()(HANDLE find) const { FindClose(find); }
};
struct CoTaskMemFreeCall {
    void operator()(void* memory) const { CoTaskMemFree(memory); }
};
struct LocalFreeCall {
    void operator()(void* memory) const { LocalFree(memory); }
};

// INVALID_HANDLE_VALUE is no constant expression, so these name it at run time.
template <class Closer> struct OfFileLike {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { Closer{}(handle); }
};

} // namespace traits

using Font = UniqueHandle<traits::Of<HFONT, traits::DeleteGdiObject>>;
using Brush = UniqueHandle<traits::Of<HBRUSH, traits::DeleteGdiObject>>;
using Pen = UniqueHandle<traits::Of<HPEN, traits::DeleteGdiObject>>;
using Bitmap = UniqueHandle<traits::Of<HBITMAP, traits::DeleteGdiObject>>;
using Menu = UniqueHandle<traits::Of<HMENU, traits::DestroyMenuCall>>;
using Icon = UniqueHandle<traits::Of<HICON, traits::DestroyIconCall>>;
using MemoryDc = UniqueHandle<traits::Of<HDC, traits::DeleteDcCall>>;           // CreateCompatibleDC
using KernelHandle = UniqueHandle<traits::Of<HANDLE, traits::CloseHandleCall>>; // events, mutexes, processes
using FileHandle = UniqueHandle<traits::OfFileLike<traits::CloseHandleCall>>;   // CreateFile
using FindHandle = UniqueHandle<traits::OfFileLike<traits::FindCloseCall>>;     // FindFirstFile
using Pidl = UniqueHandle<traits::Of<PIDLIST_ABSOLUTE, traits::CoTaskMemFreeCall>>;
using LocalText = UniqueHandle<traits::Of<char*, traits::LocalFreeCall>>; // FORMAT_MESSAGE_ALLOCATE_BUFFER

// A window's DC from GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(WindowDc&& other) noexcept : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint and EndPaint around a WM_PAINT answer.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (old_)
            SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Owns one reference to a COM interface.
template <class T> class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller already holds (a new object's first one).
    static ComRef Adopt(T* p) {
        ComRef ref;
        ref.p_ = p;
        return ref;
    }
    ~ComRef() { Reset(); }
    ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters: drops what it held and hands out the slot.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    void Reset() {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }

private:
    T* p_ = nullptr;
};

// Frees the strings an Invoke may have filled in on failure.
struct ExcepInfo : EXCEPINFO {
    ExcepInfo() : EXCEPINFO{} {}
    ~ExcepInfo() {
        SysFreeString(bstrSource);
        SysFreeString(bstrDescription);
        SysFreeString(bstrHelpFile);
    }
};

// A VARIANT cleared when it goes out of scope.
struct Variant : VARIANT {
    Variant() { VariantInit(this); }
    ~Variant() { VariantClear(this); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

} // namespace lumivane::win32
