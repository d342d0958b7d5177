// The desktop services on Win32.
#pragma once

#include "platform/desktop.h"
#include "ui/win32/win32_form.h"

namespace pigmora::win32 {

class Win32Desktop final : public Desktop {
public:
    explicit Win32Desktop(Win32Form& form) : form_(form) {}

    Rgb ReadPixelUnderPointer() override;
    void CapturePointer(NativeHandle window) override;
    void ReleasePointer() override;
    void PumpPendingEvents() override;
    NativeHandle NativeHandleOf(Control c) override;
    int GetPointerX() override;
    int GetPointerY() override;
    void LoadWindow(Control window, NativeHandle parent, bool modal) override;
    bool IsWindowLoaded(Control window) override;
    std::vector<std::uint8_t> SnapshotWindow(NativeHandle window) override;
    void SetClipboardText(std::string_view ansi) override;
    void OpenWebPage(std::string_view address) override;
    void RegistryWriteValue(RegistryRoot root, std::string_view fullPath,
                            std::int32_t value) override;
    void RegistryDeleteValue(RegistryRoot root, std::string_view fullPath) override;
    void ShowMessageBox(NativeHandle owner, std::string_view textUtf8,
                        std::string_view captionUtf8, unsigned flags) override;

private:
    Win32Form& form_;
};

// Runs the program: creates the windows, runs the message loop, returns the exit code.
int StartProgram(HINSTANCE instance);

}  // namespace pigmora::win32
