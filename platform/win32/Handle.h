// Move-only owners for Win32 handles, and scoped pairs (GetDC/ReleaseDC, SelectObject/restore).
#pragma once

#include <windows.h>

#include <utility>

namespace platform {

// Owns one handle; closes it once. Copying is deleted: a copy would close the handle twice.
// Traits give the handle type, its invalid value and how it is closed.
template <class Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Type get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }
    Type release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Type handle = Traits::Invalid()) noexcept {
        if (handle_ != Traits::Invalid()) Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Type handle_ = Traits::Invalid();
};

namespace detail {
template <class T, auto CloseFunction>
struct NullInvalid {
    using Type = T;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { CloseFunction(handle); }
};
inline void CloseKey(HKEY key) { ::RegCloseKey(key); }
inline void CloseFile(HANDLE file) { ::CloseHandle(file); }
inline void DeleteGdiObject(HGDIOBJ object) { ::DeleteObject(object); }
inline void DestroyIconHandle(HICON icon) { ::DestroyIcon(icon); }
inline void DestroyWindowHandle(HWND window) { ::DestroyWindow(window); }
inline void DeleteMemoryDc(HDC dc) { ::DeleteDC(dc); }
struct FileTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) noexcept { CloseFile(handle); }
};
} // namespace detail

using UniqueHkey = UniqueHandle<detail::NullInvalid<HKEY, detail::CloseKey>>;
using UniqueFile = UniqueHandle<detail::FileTraits>;
using UniqueHfont = UniqueHandle<detail::NullInvalid<HFONT, detail::DeleteGdiObject>>;
using UniqueHbitmap = UniqueHandle<detail::NullInvalid<HBITMAP, detail::DeleteGdiObject>>;
using UniqueHbrush = UniqueHandle<detail::NullInvalid<HBRUSH, detail::DeleteGdiObject>>;
using UniqueHicon = UniqueHandle<detail::NullInvalid<HICON, detail::DestroyIconHandle>>;
using UniqueHwnd = UniqueHandle<detail::NullInvalid<HWND, detail::DestroyWindowHandle>>;
using UniqueMemoryDc = UniqueHandle<detail::NullInvalid<HDC, detail::DeleteMemoryDc>>;

// GetDC / ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// SelectObject, and the previous object back on scope exit.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_) ::SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint / EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window) { ::BeginPaint(window, &paint_); }
    ~PaintScope() { ::EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const noexcept { return paint_.hdc; }
    const RECT& area() const noexcept { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

} // namespace platform
