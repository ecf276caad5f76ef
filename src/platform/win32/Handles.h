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

// How a call reports "no handle": most with NULL, FindFirstFile and CreateFile
// with INVALID_HANDLE_VALUE.
enum class NoHandle { Null, MinusOne };

// A handle with one owner, released with Close.
template <class H, auto Close, NoHandle kNone = NoHandle::Null> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    H Get() const { return handle_; }
    explicit operator bool() const { return handle_ != None(); }
    // Gives the handle up without releasing it.
    H Release() { return std::exchange(handle_, None()); }
    void Reset(H handle = None()) {
        if (handle_ != None())
            Close(handle_);
        handle_ = handle;
    }

private:
    static H None() {
        if constexpr (kNone == NoHandle::MinusOne)
            return INVALID_HANDLE_VALUE;
        else
            return nullptr;
    }
    H handle_ = None();
};

using Font = UniqueHandle<HFONT, &DeleteObject>;
using Brush = UniqueHandle<HBRUSH, &DeleteObject>;
using Pen = UniqueHandle<HPEN, &DeleteObject>;
using Bitmap = UniqueHandle<HBITMAP, &DeleteObject>;
using Menu = UniqueHandle<HMENU, &DestroyMenu>;
using Icon = UniqueHandle<HICON, &DestroyIcon>;
using MemoryDc = UniqueHandle<HDC, &DeleteDC>;                             // CreateCompatibleDC
using KernelHandle = UniqueHandle<HANDLE, &CloseHandle>;                   // events, mutexes, processes
using FileHandle = UniqueHandle<HANDLE, &CloseHandle, NoHandle::MinusOne>; // CreateFile
using FindHandle = UniqueHandle<HANDLE, &FindClose, NoHandle::MinusOne>;   // FindFirstFile
using Hook = UniqueHandle<HHOOK, &UnhookWindowsHookEx>;                    // SetWindowsHookEx
using Library = UniqueHandle<HMODULE, &FreeLibrary>;                       // LoadLibraryEx (tests, benches)
using Pidl = UniqueHandle<PIDLIST_ABSOLUTE, &CoTaskMemFree>;
using LocalText = UniqueHandle<wchar_t*, &LocalFree>; // FormatMessageW, FORMAT_MESSAGE_ALLOCATE_BUFFER

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
    ExcepInfo(const ExcepInfo&) = delete;
    ExcepInfo& operator=(const ExcepInfo&) = delete;
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
