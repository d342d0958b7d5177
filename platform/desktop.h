// The desktop services: the window-system operations the handlers call. No caller looks at a
// result unless it is a value it needs; a failed service changes nothing else.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "colour/colour.h"
#include "ui/controls.h"

namespace pigmora {

using NativeHandle = std::uintptr_t;  // a window-system window handle; 0 for none

enum class RegistryRoot { LocalMachine, CurrentUser };

inline constexpr unsigned kMessageBoxOk = 0x0;
inline constexpr unsigned kMessageBoxIconExclamation = 0x30;
inline constexpr unsigned kMessageBoxSystemModal = 0x1000;

class Desktop {
public:
    virtual ~Desktop() = default;

    // The screen pixel under the pointer; an unreadable pixel gives white.
    virtual Rgb ReadPixelUnderPointer() = 0;

    virtual void CapturePointer(NativeHandle window) = 0;
    virtual void ReleasePointer() = 0;

    // Handles every queued event, handlers and repaints included; returns when none is left.
    virtual void PumpPendingEvents() = 0;

    // The handle of a control or loaded window; 0 when it is not loaded.
    virtual NativeHandle NativeHandleOf(Control c) = 0;

    virtual int GetPointerX() = 0;
    virtual int GetPointerY() = 0;

    // Creates the window from its form if it is not loaded (hidden forms stay hidden);
    // a loaded one is restored when minimised, otherwise activated.
    virtual void LoadWindow(Control window, NativeHandle parent, bool modal) = 0;
    virtual bool IsWindowLoaded(Control window) = 0;

    // A 24-bit bottom-up BMP file of what the screen shows inside the window's outer
    // rectangle; empty for a handle that is no window.
    virtual std::vector<std::uint8_t> SnapshotWindow(NativeHandle window) = 0;

    // CF_TEXT, zero-terminated, in the ANSI code page.
    virtual void SetClipboardText(std::string_view ansi) = 0;
    virtual void OpenWebPage(std::string_view address) = 0;

    // The full path (ANSI bytes) splits at its last backslash into key and value name.
    virtual void RegistryWriteValue(RegistryRoot root, std::string_view fullPath,
                                    std::int32_t value) = 0;
    virtual void RegistryDeleteValue(RegistryRoot root, std::string_view fullPath) = 0;

    // Modal; returns when dismissed. Text and caption in UTF-8.
    virtual void ShowMessageBox(NativeHandle owner, std::string_view textUtf8,
                                std::string_view captionUtf8, unsigned flags) = 0;
};

}  // namespace pigmora
