// MainWindow and RegionFrame as real windows, built from their forms, with the property access
// the handlers use.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "platform/desktop.h"
#include "platform/win32/handles.h"
#include "ui/form.h"
#include "ui/form_table.h"
#include "ui/win32/picture.h"
#include "ui/win32/resources.h"

namespace pigmora::win32 {

class Win32Form final : public Form {
public:
    explicit Win32Form(HINSTANCE instance);
    ~Win32Form() override;
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    // The services the bound handlers are given.
    void Attach(Desktop& desktop) { desktop_ = &desktop; }

    // Creates MainWindow hidden with all its controls, raises its created event, then shows
    // it centred and active. False when the window could not be created.
    bool LoadMainWindow();
    // Creates RegionFrame hidden if it is not loaded; otherwise restores or activates it.
    void LoadRegionFrame();
    bool IsLoaded(Control window) const;
    HWND HandleOf(Control c) const;

    // One queued message: the dialog keys (Tab) first, then the window's own handling.
    void Dispatch(MSG& message);

    // Form
    ColorValue BackColor(Control c) override;
    void SetBackColor(Control c, ColorValue value) override;
    void SetCaption(Control c, std::string_view utf8) override;
    std::string Text(Control c) override;
    void SetText(Control c, std::string_view ansi) override;
    void SetPicture(Control c, Asset image) override;
    void SetPicture(Control c, std::vector<std::uint8_t> file) override;
    void SetDisplayMode(Control c, int mode) override;
    bool PlayAnimation(Control c) override;
    void SetPlayAnimation(Control c, bool on) override;
    void SetPointer(Control c, Pointer pointer) override;
    int SliderPosition(Control c) override;
    int Left(Control c) override;
    int Top(Control c) override;
    int Width(Control c) override;
    int Height(Control c) override;
    void SetLeft(Control c, int value) override;
    void SetTop(Control c, int value) override;
    void SetWidth(Control c, int value) override;
    void SetHeight(Control c, int value) override;

    // Window procedures' entry points (one object per window rides in it).
    struct Host {
        Win32Form* form;
        Control name;
        LRESULT HandleMessage(HWND window, UINT message, WPARAM w, LPARAM l);
        void OnDestroyed();
    };

private:
    struct ControlState {
        HWND window = nullptr;
        ColorValue backColor = DefaultBackground;
        std::wstring caption;
        Picture picture;
        int displayMode = 0;
        bool playAnimation = false;
        Pointer pointer = Pointer::Default;
    };

    LRESULT MainWindowMessage(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT ControlMessage(Control c, HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT RegionFrameMessage(HWND window, UINT message, WPARAM w, LPARAM l);

    bool CreateControl(const ControlSpec& row);
    void Raise(Control c, Handler Events::*event);
    void PaintControl(Control c);
    bool ShowPointer(Control c);  // sets the control's own pointer; false when it has none
    std::optional<Control> FindByWindow(HWND window);
    ControlState& State(Control c) { return states_[static_cast<std::size_t>(c)]; }
    RECT WindowRectIn(Control c);  // outer rectangle in the parent's client coordinates
    void MoveTo(Control c, int left, int top, int width, int height, UINT flags);

    HINSTANCE instance_;
    Desktop* desktop_ = nullptr;
    Cursors cursors_;
    unique_hbrush editBrush_;
    std::array<ControlState, kControlCount> states_{};
    std::array<Host, kControlCount> hosts_{};
};

}  // namespace pigmora::win32
