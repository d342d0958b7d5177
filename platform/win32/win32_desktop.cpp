#include "platform/win32/win32_desktop.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "platform/bmp_file.h"
#include "platform/registry_path.h"
#include "platform/win32/handles.h"
#include "platform/win32/snapshot.h"
#include "platform/win32/text.h"

namespace pigmora::win32 {

namespace {

HWND ToWindow(NativeHandle h) { return reinterpret_cast<HWND>(h); }

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

POINT PointerPosition() {
    POINT at{};
    GetCursorPos(&at);
    return at;
}

}  // namespace

Rgb Win32Desktop::ReadPixelUnderPointer() {
    const POINT at = PointerPosition();
    WindowDc screen(nullptr);
    const COLORREF pixel = GetPixel(screen.get(), at.x, at.y);
    if (pixel == CLR_INVALID) return {255, 255, 255};
    return {GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)};
}

void Win32Desktop::CapturePointer(NativeHandle window) { SetCapture(ToWindow(window)); }

void Win32Desktop::ReleasePointer() { ReleaseCapture(); }

void Win32Desktop::PumpPendingEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The main loop must still see it once the handler that pumped returns.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        form_.Dispatch(message);
    }
}

NativeHandle Win32Desktop::NativeHandleOf(Control c) {
    return form_.IsLoaded(c) || c < Control::MainWindow
               ? reinterpret_cast<NativeHandle>(form_.HandleOf(c))
               : 0;
}

int Win32Desktop::GetPointerX() { return PointerPosition().x; }
int Win32Desktop::GetPointerY() { return PointerPosition().y; }

void Win32Desktop::LoadWindow(Control window, NativeHandle, bool) {
    if (window == Control::RegionFrame) form_.LoadRegionFrame();
}

bool Win32Desktop::IsWindowLoaded(Control window) { return form_.IsLoaded(window); }

std::vector<std::uint8_t> Win32Desktop::SnapshotWindow(NativeHandle handle) {
    return SnapshotScreenRect(ToWindow(handle));
}

void Win32Desktop::SetClipboardText(std::string_view ansi) {
    // Opened for the main window: a clipboard emptied with no owner refuses the new data.
    // Clipboard viewers and managers open it for a moment after every change; a few tries
    // over a tenth of a second keep the copy from being lost to one of them, and a clipboard
    // held longer still leaves its content as it was.
    ClipboardSession clipboard(form_.HandleOf(Control::MainWindow), 10, 10);
    if (!clipboard.is_open()) return;
    EmptyClipboard();
    unique_hglobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, ansi.size() + 1));
    if (!block) return;
    {
        GlobalLockGuard locked(block.get());
        if (!locked.get()) return;
        std::memcpy(locked.get(), ansi.data(), ansi.size());
    }
    // From here on the clipboard owns the block.
    if (SetClipboardData(CF_TEXT, block.get())) block.release();
}

void Win32Desktop::OpenWebPage(std::string_view address) {
    ShellExecuteW(nullptr, L"open", AnsiToWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Desktop::RegistryWriteValue(RegistryRoot root, std::string_view fullPath,
                                      std::int32_t value) {
    const RegistryPath path = SplitRegistryPath(fullPath);
    const std::wstring key = AnsiToWide(path.key), name = AnsiToWide(path.valueName);
    unique_hkey opened;
    if (RegOpenKeyExW(RootKey(root), key.c_str(), 0, KEY_SET_VALUE, opened.put()) != ERROR_SUCCESS &&
        RegCreateKeyExW(RootKey(root), key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, opened.put(), nullptr) != ERROR_SUCCESS)
        return;
    const auto data = static_cast<DWORD>(value);  // stored bit for bit, little-endian
    RegSetValueExW(opened.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                   sizeof data);
}

void Win32Desktop::RegistryDeleteValue(RegistryRoot root, std::string_view fullPath) {
    const RegistryPath path = SplitRegistryPath(fullPath);
    const std::wstring key = AnsiToWide(path.key), name = AnsiToWide(path.valueName);
    unique_hkey opened;
    if (RegOpenKeyExW(RootKey(root), key.c_str(), 0, KEY_SET_VALUE, opened.put()) ==
            ERROR_SUCCESS &&
        RegDeleteValueW(opened.get(), name.c_str()) == ERROR_SUCCESS)
        return;
    // A key named like the whole path, if something made one.
    RegDeleteKeyW(RootKey(root), AnsiToWide(fullPath).c_str());
}

void Win32Desktop::ShowMessageBox(NativeHandle owner, std::string_view textUtf8,
                                  std::string_view captionUtf8, unsigned flags) {
    MessageBoxW(ToWindow(owner), Utf8ToWide(textUtf8).c_str(), Utf8ToWide(captionUtf8).c_str(),
                flags);
}

int StartProgram(HINSTANCE instance) {
    // Windows' codecs decode the GIF; the shell opens the donation page.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    int exitCode = 0;
    {
        Win32Form form(instance);
        Win32Desktop desktop(form);
        form.Attach(desktop);
        if (!form.LoadMainWindow()) {
            MessageBoxW(nullptr, L"Pigmora could not start: its main window could not be created.",
                        L"Pigmora", MB_OK | MB_ICONERROR);
            exitCode = 1;
        } else {
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) form.Dispatch(message);
            exitCode = message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
        }
    }
    if (com) CoUninitialize();
    return exitCode;
}

}  // namespace pigmora::win32
