// The owners of the program's handles. Every handle the program opens lives
// in one of these types and is freed when its owner goes out of scope; a
// handle that the program only borrows (the DC a message hands in, a key that
// the registry seam owns) is passed as a Borrowed one. This header is the one
// place that spells the raw handle types of Win32.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

namespace kavrolt {

// Owns one handle and frees it with Close when it is reset, replaced or goes
// out of scope. The value-initialised handle (null) stands for none and is
// never closed. Moves hand the handle over; copies do not exist.
template <typename Handle, auto Close> class Unique {
public:
    Unique() = default;
    Unique(std::nullptr_t) noexcept {}
    explicit Unique(Handle handle) noexcept : handle_(handle) {}
    ~Unique() { reset(); }
    Unique(Unique&& other) noexcept : handle_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle{}; }

    // Gives up ownership without closing; the caller frees what it gets.
    Handle release() noexcept { return std::exchange(handle_, Handle{}); }
    // Frees what is held (if anything) and takes the new handle.
    void reset(Handle handle = Handle{}) noexcept {
        const Handle old = std::exchange(handle_, handle);
        if (old != Handle{})
            Close(old);
    }
    // The slot for a function that hands a new handle out through a pointer:
    // what is held is freed first, so nothing leaks when the slot is filled.
    Handle* Out() noexcept {
        reset();
        return &handle_;
    }

private:
    Handle handle_{};
};

// A handle that someone else owns and frees: passed on, never closed.
template <typename Handle> class Borrowed {
public:
    using Raw = Handle;
    Borrowed() = default;
    explicit Borrowed(Handle handle) noexcept : handle_(handle) {}
    // A handle that travels as an integer (a message parameter, a store's key).
    static Borrowed FromBits(std::uintptr_t bits) noexcept {
        return Borrowed(reinterpret_cast<Handle>(bits));
    }
    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle{}; }

private:
    Handle handle_{};
};

} // namespace kavrolt

#ifdef _WIN32

#include <windows.h>

#include <commctrl.h>

namespace kavrolt {

using UniqueFont = Unique<HFONT, &DeleteObject>;
using UniqueBitmap = Unique<HBITMAP, &DeleteObject>;
// A DC of CreateCompatibleDC.
using UniqueMemoryDc = Unique<HDC, &DeleteDC>;
using UniqueKey = Unique<HKEY, &RegCloseKey>;
using UniqueImageList = Unique<HIMAGELIST, &ImageList_Destroy>;
using UniqueMenu = Unique<HMENU, &DestroyMenu>;
// A module of LoadLibrary.
using UniqueLibrary = Unique<HMODULE, &FreeLibrary>;
// A kernel object: an event, a thread, a process token.
using UniqueHandle = Unique<HANDLE, &CloseHandle>;

using BorrowedDc = Borrowed<HDC>;
using BorrowedBitmap = Borrowed<HBITMAP>;
using BorrowedFont = Borrowed<HFONT>;
using BorrowedKey = Borrowed<HKEY>;

// A memory DC compatible with another (the screen's for none).
inline UniqueMemoryDc CompatibleDc(HDC like) {
    return UniqueMemoryDc(CreateCompatibleDC(like));
}

// A window's DC (the whole screen's for no window), released at the end of
// its scope.
class WindowDc {
public:
    explicit WindowDc(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a DC for a scope; the object it replaced goes back
// at the end. Selecting nothing (a null object) leaves the DC as it is.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(object ? SelectObject(dc_, object) : nullptr) {}
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

} // namespace kavrolt

#endif // _WIN32
