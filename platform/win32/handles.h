// Owners for Win32 handles: each handle has exactly one owner that frees it; none can be copied.
#pragma once

#include <windows.h>

#include <utility>

namespace pigmora::win32 {

template <typename Handle, auto Close, Handle Invalid = Handle{}>
class unique_handle {
public:
    unique_handle() = default;
    explicit unique_handle(Handle h) : handle_(h) {}
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    unique_handle(unique_handle&& other) noexcept : handle_(other.release()) {}
    unique_handle& operator=(unique_handle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_handle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Invalid; }
    Handle release() { return std::exchange(handle_, Invalid); }
    void reset(Handle h = Invalid) {
        if (handle_ != Invalid) Close(handle_);
        handle_ = h;
    }
    // For out-parameters of creating functions: frees what it held first.
    Handle* put() {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Invalid;
};

inline void CloseGdiObject(HGDIOBJ h) { DeleteObject(h); }
inline void CloseDc(HDC h) { DeleteDC(h); }
inline void CloseKey(HKEY h) { RegCloseKey(h); }
inline void CloseGlobal(HGLOBAL h) { GlobalFree(h); }
inline void CloseIcon(HICON h) { DestroyIcon(h); }
inline void CloseCursor(HCURSOR h) { DestroyCursor(h); }
inline void CloseWindowHandle(HWND h) { DestroyWindow(h); }

using unique_hbitmap = unique_handle<HBITMAP, [](HBITMAP h) { CloseGdiObject(h); }>;
using unique_hbrush = unique_handle<HBRUSH, [](HBRUSH h) { CloseGdiObject(h); }>;
using unique_hpen = unique_handle<HPEN, [](HPEN h) { CloseGdiObject(h); }>;
using unique_hfont = unique_handle<HFONT, [](HFONT h) { CloseGdiObject(h); }>;
using unique_hdc = unique_handle<HDC, CloseDc>;
using unique_hkey = unique_handle<HKEY, CloseKey>;
using unique_hglobal = unique_handle<HGLOBAL, CloseGlobal>;
using unique_hicon = unique_handle<HICON, CloseIcon>;
using unique_hcursor = unique_handle<HCURSOR, CloseCursor>;
using unique_hwnd = unique_handle<HWND, CloseWindowHandle>;
inline void CloseModule(HMODULE h) { FreeLibrary(h); }
using unique_hmodule = unique_handle<HMODULE, CloseModule>;
inline void CloseKernelHandle(HANDLE h) { CloseHandle(h); }
using unique_kernel_handle = unique_handle<HANDLE, CloseKernelHandle>;  // null when invalid
// CreateFile answers INVALID_HANDLE_VALUE, not null, when it fails.
inline unique_kernel_handle OwnFile(HANDLE h) {
    return unique_kernel_handle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// GetDC / ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(window_, &ps_); }
    HDC get() const { return dc_; }
    const PAINTSTRUCT& info() const { return ps_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// SelectObject, restored on scope exit.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// GlobalLock / GlobalUnlock.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL memory) : memory_(memory), data_(GlobalLock(memory)) {}
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    ~GlobalLockGuard() {
        if (data_) GlobalUnlock(memory_);
    }
    void* get() const { return data_; }

private:
    HGLOBAL memory_;
    void* data_;
};

// OpenClipboard / CloseClipboard; with `tries` > 1, a clipboard that another program has open
// is tried again after `pause` milliseconds, up to `tries` times in all.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner, int tries = 1, DWORD pause = 0)
        : open_(OpenClipboard(owner) != FALSE) {
        for (int tried = 1; !open_ && tried < tries; ++tried) {
            Sleep(pause);
            open_ = OpenClipboard(owner) != FALSE;
        }
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession() {
        if (open_) CloseClipboard();
    }
    bool is_open() const { return open_; }

private:
    bool open_;
};

}  // namespace pigmora::win32
