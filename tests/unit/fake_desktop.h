// In-memory stand-ins for the windows and the desktop, for the handlers' order of steps.
// Every property write and service call is logged as one line, in the order it happened.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "ui/form.h"

namespace pigmora::testing {

inline std::string Name(Control c) { return std::string(ControlName(c)); }

inline const char* AssetName(Asset a) {
    switch (a) {
        case Asset::DropperBoxImage: return "DropperBoxImage";
        case Asset::EmptyBoxImage: return "EmptyBoxImage";
        case Asset::MagnifierBoxImage: return "MagnifierBoxImage";
        case Asset::ColorBlockImage: return "ColorBlockImage";
        case Asset::HelpImage: return "HelpImage";
    }
    return "?";
}

inline const char* PointerName(Pointer p) {
    switch (p) {
        case Pointer::Default: return "Default";
        case Pointer::SystemHand: return "SystemHand";
        case Pointer::SystemCross: return "SystemCross";
        case Pointer::HandCursor: return "HandCursor";
        case Pointer::DropperCursor: return "DropperCursor";
        case Pointer::MagnifierCursor: return "MagnifierCursor";
    }
    return "?";
}

struct Log {
    std::vector<std::string> lines;
    void Add(std::string line) { lines.push_back(std::move(line)); }
    // Index of the first line that starts with the prefix, or -1.
    int Find(const std::string& prefix) const {
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
        return -1;
    }
    int Count(const std::string& prefix) const {
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const auto& l) {
            return l.rfind(prefix, 0) == 0;
        }));
    }
};

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
};

class FakeForm : public Form {
public:
    explicit FakeForm(Log& log) : log_(log) {
        for (Control slot : {Control::取色_颜色1, Control::取色_颜色2, Control::取色_颜色3,
                             Control::取色_颜色4, Control::取色_颜色5})
            back[slot] = DefaultBackground;
        back[Control::取色_当前色] = 16777215;
        back[Control::取色_对比色] = 16777215;
        rects[Control::取色_放大] = {312, 45, 300, 315};
        rects[Control::RegionFrame] = {615, 487, 50, 50};
    }

    std::map<Control, ColorValue> back;
    std::map<Control, std::string> text, caption, picture;
    std::map<Control, int> displayMode;
    std::map<Control, bool> animation;
    std::map<Control, Pointer> pointer;
    std::map<Control, Box> rects;
    int sliderPosition = 16;
    // The window system's say on a window's size: given what was asked, what it really gets.
    std::function<int(int)> adjustWidth = [](int w) { return w; };
    std::function<int(int)> adjustHeight = [](int h) { return h; };

    ColorValue BackColor(Control c) override { return back[c]; }
    void SetBackColor(Control c, ColorValue v) override {
        back[c] = v;
        log_.Add("back " + Name(c) + " " + std::to_string(v));
    }
    void SetCaption(Control c, std::string_view t) override {
        caption[c] = std::string(t);
        log_.Add("caption " + Name(c) + " " + std::string(t));
    }
    std::string Text(Control c) override { return text[c]; }
    void SetText(Control c, std::string_view t) override {
        text[c] = std::string(t);
        log_.Add("text " + Name(c) + " " + std::string(t));
    }
    void SetPicture(Control c, Asset a) override {
        picture[c] = AssetName(a);
        log_.Add("picture " + Name(c) + " " + AssetName(a));
    }
    void SetPicture(Control c, std::vector<std::uint8_t> file) override {
        picture[c] = file.empty() ? "empty" : "bytes:" + std::to_string(file.size());
        log_.Add("picture " + Name(c) + " " + picture[c]);
    }
    void SetDisplayMode(Control c, int m) override {
        displayMode[c] = m;
        log_.Add("mode " + Name(c) + " " + std::to_string(m));
    }
    bool PlayAnimation(Control c) override { return animation[c]; }
    void SetPlayAnimation(Control c, bool on) override {
        animation[c] = on;
        log_.Add(std::string("flag ") + Name(c) + (on ? " true" : " false"));
    }
    void SetPointer(Control c, Pointer p) override {
        pointer[c] = p;
        log_.Add("pointer " + Name(c) + " " + PointerName(p));
    }
    int SliderPosition(Control) override { return sliderPosition; }
    int Left(Control c) override { return rects[c].left; }
    int Top(Control c) override { return rects[c].top; }
    int Width(Control c) override { return rects[c].width; }
    int Height(Control c) override { return rects[c].height; }
    void SetLeft(Control c, int v) override {
        rects[c].left = v;
        log_.Add("left " + Name(c) + " " + std::to_string(v));
    }
    void SetTop(Control c, int v) override {
        rects[c].top = v;
        log_.Add("top " + Name(c) + " " + std::to_string(v));
    }
    void SetWidth(Control c, int v) override {
        rects[c].width = adjustWidth(v);
        log_.Add("width " + Name(c) + " " + std::to_string(v));
    }
    void SetHeight(Control c, int v) override {
        rects[c].height = adjustHeight(v);
        log_.Add("height " + Name(c) + " " + std::to_string(v));
    }

private:
    Log& log_;
};

class FakeDesktop : public Desktop {
public:
    explicit FakeDesktop(Log& log) : log_(log) {}

    Rgb pixel{255, 255, 255};
    int pointerX = 0, pointerY = 0;
    bool regionFrameLoaded = false;
    std::string clipboard;
    std::map<std::string, std::int32_t> registry;  // full path -> value
    std::vector<std::string> messages;
    // What the queue holds when a handler pumps: run once per pump, then the queue is empty.
    std::vector<std::function<void()>> queued;

    Rgb ReadPixelUnderPointer() override {
        log_.Add("read pixel");
        return pixel;
    }
    void CapturePointer(NativeHandle h) override { log_.Add("capture " + std::to_string(h)); }
    void ReleasePointer() override { log_.Add("release"); }
    void PumpPendingEvents() override {
        log_.Add("pump");
        auto events = std::move(queued);
        queued.clear();
        for (auto& e : events) e();
    }
    NativeHandle NativeHandleOf(Control c) override {
        if (c == Control::RegionFrame && !regionFrameLoaded) return 0;
        return 1000 + static_cast<NativeHandle>(c);
    }
    int GetPointerX() override { return pointerX; }
    int GetPointerY() override { return pointerY; }
    void LoadWindow(Control w, NativeHandle, bool) override {
        log_.Add("load " + Name(w));
        if (w == Control::RegionFrame) regionFrameLoaded = true;
    }
    bool IsWindowLoaded(Control w) override {
        return w == Control::RegionFrame ? regionFrameLoaded : true;
    }
    std::vector<std::uint8_t> SnapshotWindow(NativeHandle h) override {
        log_.Add("snapshot " + std::to_string(h));
        return std::vector<std::uint8_t>(54, 0);
    }
    void SetClipboardText(std::string_view t) override {
        clipboard = std::string(t);
        log_.Add("clipboard " + clipboard);
    }
    void OpenWebPage(std::string_view a) override { log_.Add("open " + std::string(a)); }
    void RegistryWriteValue(RegistryRoot, std::string_view path, std::int32_t v) override {
        registry[std::string(path)] = v;
        log_.Add("reg write " + std::string(path) + " " + std::to_string(v));
    }
    void RegistryDeleteValue(RegistryRoot, std::string_view path) override {
        registry.erase(std::string(path));
        log_.Add("reg delete " + std::string(path));
    }
    void ShowMessageBox(NativeHandle, std::string_view text, std::string_view caption,
                        unsigned flags) override {
        messages.push_back(std::string(text));
        log_.Add("message " + std::string(caption) + " " + std::to_string(flags));
    }

private:
    Log& log_;
};

}  // namespace pigmora::testing
