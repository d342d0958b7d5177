// The five saved-colour slots as a user works them, and their mirror in the registry of the
// test prefix: saving, the full-slots message, comparing, emptying, and a restart.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "harness.h"
#include "platform/win32/handles.h"
#include "registry.h"

namespace e2e {
namespace {

using enum pigmora::Control;
using pigmora::win32::Selection;
using pigmora::win32::unique_hbitmap;
using pigmora::win32::unique_hbrush;
using pigmora::win32::unique_hdc;
using pigmora::win32::WindowDc;

constexpr Control kSlotControls[] = {取色_颜色1, 取色_颜色2, 取色_颜色3, 取色_颜色4, 取色_颜色5};

// An emptied slot holds -1, which reaches the brush as 0xFFFFFFFF. Wine reads a colour with
// that high byte as a palette index out of range and falls back to the first palette entry:
// the slot is filled black.
constexpr COLORREF kEmptySlotLook = RGB(0, 0, 0);

const std::wstring kFullText = L"颜色保存区没有空位了，请右键删除一个颜色再尝试保存！";
const std::wstring kFullCaption = L"提示";

COLORREF ButtonFace() { return GetSysColor(COLOR_BTNFACE); }

// The bytes a REG_DWORD of the colour holds: R + G*256 + B*65536, little-endian.
std::vector<std::uint8_t> StoredBytes(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour), 0};
}

std::string Decimal(COLORREF colour) { return std::to_string(static_cast<long>(colour)); }

// --- reading the screen ------------------------------------------------------------------

struct Pixels {
    int width = 0, height = 0;
    std::vector<COLORREF> colours;  // row by row, top-down
};

// Renders into a 32-bit top-down DIB and returns its pixels.
template <typename Draw>
Pixels RenderPixels(int width, int height, Draw draw) {
    Pixels out{width, height, {}};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    WindowDc screen(nullptr);
    void* bits = nullptr;
    unique_hbitmap dib(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    unique_hdc memory(CreateCompatibleDC(screen.get()));
    if (!dib || !bits || !memory) return out;
    {
        Selection selected(memory.get(), dib.get());
        draw(memory.get(), screen.get());
        GdiFlush();
    }
    const auto* bytes = static_cast<const std::uint8_t*>(bits);
    out.colours.reserve(static_cast<std::size_t>(width) * height);
    for (int i = 0; i < width * height; ++i)
        out.colours.push_back(RGB(bytes[4 * i + 2], bytes[4 * i + 1], bytes[4 * i]));
    return out;
}

Pixels ScreenPixels(RECT area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    return RenderPixels(w, h, [&](HDC memory, HDC screen) {
        BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    });
}

// The one colour that fills the whole area, or nothing when it holds more than one.
std::optional<COLORREF> UniformColour(const Pixels& pixels) {
    if (pixels.colours.empty()) return std::nullopt;
    for (COLORREF c : pixels.colours)
        if (c != pixels.colours.front()) return std::nullopt;
    return pixels.colours.front();
}

// What the inside of a control shows, if it is one flat colour.
std::optional<COLORREF> FlatFill(const Pigmora& app, Control c) {
    return UniformColour(ScreenPixels(app.ClientRectOnScreen(c)));
}

bool ShowsFlat(const Pigmora& app, Control c, COLORREF colour) {
    const auto shown = FlatFill(app, c);
    return shown && *shown == colour;
}

bool WaitForFlat(const Pigmora& app, Control c, COLORREF colour) {
    return WaitUntil([&] { return ShowsFlat(app, c, colour); });
}

std::string Describe(std::optional<COLORREF> colour) {
    if (!colour) return "several colours";
    char text[32];
    std::snprintf(text, sizeof text, "(%d,%d,%d)", GetRValue(*colour), GetGValue(*colour),
                  GetBValue(*colour));
    return text;
}

// --- acting like a user ------------------------------------------------------------------

// Cells of the colour block, in its client coordinates, with the colours they show.
struct Cell {
    POINT at;
    COLORREF colour;
};
constexpr Cell kViolet{{13, 14}, RGB(153, 0, 255)};
constexpr Cell kDarkRed{{32, 15}, RGB(153, 0, 0)};
constexpr Cell kBlue{{49, 15}, RGB(0, 0, 255)};
constexpr Cell kSky{{15, 49}, RGB(153, 204, 255)};

// Glides onto a point in small steps, as a hand moves: a single long jump may be missed.
void GlideTo(POINT to) { GlidePointer(to, 4); }

// Waits, with the left button held, until the decimal box shows the colour. Now and then,
// under load, the program's read of the pointer right after a press still gives an earlier
// place; a held button samples every movement, so a one-pixel wiggle inside the target, as an
// unsteady hand makes, reads it again. These picks only set up a colour to save.
::testing::AssertionResult WaitForSampled(const Pigmora& app, POINT target, COLORREF colour) {
    auto sampled = [&] { return app.Utf8Text(取色_10进制) == Decimal(colour); };
    for (int wiggle = 0; wiggle < 4; ++wiggle) {
        if (WaitUntil(sampled, std::chrono::seconds(3))) return ::testing::AssertionSuccess();
        MovePointer({target.x + (wiggle % 2 == 0 ? 1 : 0), target.y});
    }
    if (sampled()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the decimal box shows \"" << app.Utf8Text(取色_10进制)
                                         << "\", not " << Decimal(colour);
}

// Presses on a cell of the colour block, which samples it at once, and lets go.
void PickFromBlock(const Pigmora& app, const Cell& cell) {
    const POINT at = app.ClientPoint(取色_色块, cell.at.x, cell.at.y);
    ASSERT_EQ(ScreenPixel(at), cell.colour) << "the colour block's cell";
    GlideTo(at);
    PressLeft();
    const auto shown = WaitForSampled(app, at, cell.colour);
    ReleaseLeft();
    ASSERT_TRUE(shown) << "the block press";
    ASSERT_TRUE(WaitForFlat(app, 取色_当前色, cell.colour));
}

// A dropper drag from the dropper box to a point of the screen, released there.
void PickWithDropper(const Pigmora& app, POINT target, COLORREF expected) {
    ASSERT_EQ(ScreenPixel(target), expected);
    GlideTo(app.Centre(取色_光标));
    PressLeft();
    // Movements made before the box holds the pointer would go to the windows under it.
    ASSERT_TRUE(WaitUntil([&] {
        GUITHREADINFO thread{sizeof(thread)};
        return GetGUIThreadInfo(app.threadId(), &thread) &&
               thread.hwndCapture == app.control(取色_光标);
    })) << "the dropper box did not take the pointer";
    GlidePointer(target, 10);
    const auto shown = WaitForSampled(app, target, expected);
    ReleaseLeft();
    ASSERT_TRUE(shown) << "the dropper drag";
}

void ClickSave(const Pigmora& app) {
    GlideTo(app.Centre(取色_保存));
    PressLeft();
    ReleaseLeft();
}

void RightReleaseOver(const Pigmora& app, Control slot) {
    GlideTo(app.Centre(slot));
    PressRight();
    ReleaseRight();
}

void LeftReleaseOver(const Pigmora& app, Control slot) {
    GlideTo(app.Centre(slot));
    PressLeft();
    ReleaseLeft();
}

// Empties a slot with the right button and waits for it to show as empty.
void EmptySlot(const Pigmora& app, int slot) {
    RightReleaseOver(app, kSlotControls[slot - 1]);
    ASSERT_TRUE(WaitForFlat(app, kSlotControls[slot - 1], kEmptySlotLook))
        << "slot " << slot << " shows " << Describe(FlatFill(app, kSlotControls[slot - 1]));
}

// Types over the whole text of the decimal box.
void TypeIntoDecimalBox(const Pigmora& app, const std::string& digits) {
    GlideTo(app.Centre(取色_10进制));
    PressLeft();
    ReleaseLeft();
    TapKey(VK_HOME);
    PressKey(VK_SHIFT);
    TapKey(VK_END);
    ReleaseKey(VK_SHIFT);
    for (char c : digits) TapKey(static_cast<WORD>(c));
    ASSERT_TRUE(WaitUntil([&] { return app.Utf8Text(取色_10进制) == digits; }))
        << "the box holds \"" << app.Utf8Text(取色_10进制) << "\"";
}

// --- the message box ---------------------------------------------------------------------

struct WindowSearch {
    DWORD process;
    std::wstring caption;
    HWND found;
};

BOOL CALLBACK MatchMessageBox(HWND window, LPARAM l) {
    auto* search = reinterpret_cast<WindowSearch*>(l);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[64] = {}, caption[256] = {};
    GetClassNameW(window, className, 64);
    GetWindowTextW(window, caption, 256);
    // A box still being set up is already a window but not yet shown.
    if (process == search->process && IsWindowVisible(window) &&
        std::wstring(className) == L"#32770" &&
        (search->caption.empty() || search->caption == caption)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A shown dialog-class window of the program: with the caption given, or any.
HWND ProgramDialog(const Pigmora& app, const std::wstring& caption) {
    WindowSearch search{GetProcessId(app.process()), caption, nullptr};
    EnumWindows(MatchMessageBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    return children;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// How much of a system icon's opaque part the screen shows inside the window: drawn here on
// black and on white, the pixels that come out the same in both are the icon's own.
double IconLikeness(HWND iconWindow, LPCWSTR systemIcon) {
    RECT area{};
    GetClientRect(iconWindow, &area);
    MapWindowPoints(iconWindow, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
    const int w = area.right - area.left, h = area.bottom - area.top;
    HICON icon = LoadIconW(nullptr, systemIcon);  // shared: not to be destroyed
    auto drawOn = [&](COLORREF ground) {
        return RenderPixels(w, h, [&](HDC memory, HDC) {
            unique_hbrush brush(CreateSolidBrush(ground));
            RECT all{0, 0, w, h};
            FillRect(memory, &all, brush.get());
            DrawIconEx(memory, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
        });
    };
    const Pixels onBlack = drawOn(RGB(0, 0, 0)), onWhite = drawOn(RGB(255, 255, 255));
    const Pixels shown = ScreenPixels(area);
    int opaque = 0, same = 0;
    for (std::size_t i = 0; i < shown.colours.size() && i < onBlack.colours.size(); ++i) {
        if (onBlack.colours[i] != onWhite.colours[i]) continue;
        ++opaque;
        if (shown.colours[i] == onBlack.colours[i]) ++same;
    }
    return opaque == 0 ? 0.0 : static_cast<double>(same) / opaque;
}

// Waits for the full-slots message, checks what it shows and how, and dismisses it with its
// OK button as a user would.
void ExpectFullSlotsMessage(const Pigmora& app) {
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = ProgramDialog(app, kFullCaption)) != nullptr; }))
        << "no message box with the caption 提示";

    EXPECT_EQ(GetWindow(box, GW_OWNER), app.window()) << "owned by the main window";
    EXPECT_FALSE(IsWindowEnabled(app.window())) << "modal: the main window waits for it";
    EXPECT_TRUE(GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) << "system-modal";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == box; })) << "in front";

    HWND text = nullptr, icon = nullptr, ok = nullptr;
    int buttons = 0;
    for (HWND child : Children(box)) {
        if (!IsWindowVisible(child)) continue;
        const std::wstring kind = ClassOf(child);
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        if (_wcsicmp(kind.c_str(), L"Button") == 0) {
            ++buttons;
            if (GetDlgCtrlID(child) == IDOK) ok = child;
        } else if (_wcsicmp(kind.c_str(), L"Static") == 0) {
            if ((style & SS_TYPEMASK) == SS_ICON)
                icon = child;
            else if (!TextOf(child).empty())
                text = child;
        }
    }
    ASSERT_NE(text, nullptr) << "no text in the message box";
    EXPECT_EQ(Utf8(TextOf(text)), Utf8(kFullText));
    EXPECT_EQ(buttons, 1) << "one button";
    ASSERT_NE(ok, nullptr) << "the one button is OK";
    ASSERT_NE(icon, nullptr) << "an icon";
    // Judged once the box has painted its icon.
    EXPECT_TRUE(WaitUntil([&] { return IconLikeness(icon, IDI_EXCLAMATION) >= 0.95; }))
        << "the exclamation icon: " << IconLikeness(icon, IDI_EXCLAMATION);
    for (LPCWSTR other : {IDI_HAND, IDI_QUESTION, IDI_ASTERISK})
        EXPECT_LT(IconLikeness(icon, other), 0.8) << "another icon than the exclamation";

    RECT okRect{};
    GetWindowRect(ok, &okRect);
    GlideTo({(okRect.left + okRect.right) / 2, (okRect.top + okRect.bottom) / 2});
    PressLeft();
    ReleaseLeft();
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "OK did not dismiss the box";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(app.window()) != FALSE; }));
}

// --- the registry -------------------------------------------------------------------------

// A REG_DWORD of exactly these 4 bytes.
::testing::AssertionResult HoldsBytes(int slot, const std::vector<std::uint8_t>& bytes) {
    const auto value = SlotValue(slot);
    if (!value) return ::testing::AssertionFailure() << "no value ColorSave" << slot;
    if (value->type != REG_DWORD)
        return ::testing::AssertionFailure() << "ColorSave" << slot << " has type " << value->type;
    if (value->data != bytes) {
        auto failure = ::testing::AssertionFailure();
        failure << "ColorSave" << slot << " holds";
        for (auto b : value->data) failure << " " << std::hex << static_cast<int>(b);
        return failure;
    }
    return ::testing::AssertionSuccess();
}

std::vector<std::string> SavedValueNames() {
    std::vector<std::string> names;
    for (const auto& name : MachineValueNames(kTallowinKey)) names.push_back(Utf8(name));
    return names;
}

class SavedTest : public ::testing::Test {
  protected:
    // Every scenario starts as on a machine where the program never ran.
    void SetUp() override {
        DeleteMachineKeyTree(kQuovKey);
        ASSERT_FALSE(MachineKeyExists(kQuovKey));
    }

    // The slots that should still show the button face, as at start.
    static void ExpectInitial(const Pigmora& app, std::initializer_list<int> slots) {
        for (int slot : slots)
            EXPECT_TRUE(ShowsFlat(app, kSlotControls[slot - 1], ButtonFace()))
                << "slot " << slot << " shows " << Describe(FlatFill(app, kSlotControls[slot - 1]));
    }
};

// --- saving -------------------------------------------------------------------------------

TEST_F(SavedTest, SaveRightAfterStartDoesNothingAndShowsNothing) {
    Pigmora app;
    EXPECT_FALSE(MachineKeyExists(kQuovKey)) << "nothing written at start";
    ClickSave(app);
    // Input is handled in order and a modal box would keep this press from the window, so once
    // the block has sampled, the save has been handled.
    PickFromBlock(app, kViolet);
    EXPECT_EQ(ProgramDialog(app, L""), nullptr) << "a message box is shown";
    EXPECT_FALSE(MachineKeyExists(kQuovKey));
    ExpectInitial(app, {1, 2, 3, 4, 5});
}

TEST_F(SavedTest, AfterAPickASaveWithNoEmptySlotShowsTheFullSlotsMessage) {
    Pigmora app;
    const POINT target = app.ClientPoint(取色_色块, kSky.at.x, kSky.at.y);
    PickWithDropper(app, target, kSky.colour);
    // The first drag of a run compares with black.
    ASSERT_TRUE(WaitForFlat(app, 取色_对比色, RGB(0, 0, 0)));
    ClickSave(app);
    ExpectFullSlotsMessage(app);
    // Nothing changed while the box was up or after it.
    EXPECT_FALSE(MachineKeyExists(kQuovKey));
    ExpectInitial(app, {1, 2, 3, 4, 5});
    EXPECT_TRUE(ShowsFlat(app, 取色_当前色, kSky.colour));
    EXPECT_TRUE(ShowsFlat(app, 取色_对比色, RGB(0, 0, 0)));
    EXPECT_EQ(app.Utf8Text(取色_10进制), Decimal(kSky.colour));
}

TEST_F(SavedTest, AnEmptiedSlotTakesTheCurrentColourAndTheRegistryItsFourBytes) {
    Pigmora app;
    PickFromBlock(app, kViolet);
    EmptySlot(app, 3);
    EXPECT_FALSE(MachineKeyExists(kQuovKey)) << "emptying creates no key";

    ClickSave(app);
    ASSERT_TRUE(WaitForFlat(app, 取色_颜色3, kViolet.colour))
        << "slot 3 shows " << Describe(FlatFill(app, 取色_颜色3));
    EXPECT_TRUE(HoldsBytes(3, {0x99, 0x00, 0xFF, 0x00}));
    EXPECT_EQ(SavedValueNames(), std::vector<std::string>{"ColorSave3"}) << "nothing else stored";
    EXPECT_TRUE(MachineSubkeyNames(kTallowinKey).empty());
    ExpectInitial(app, {1, 2, 4, 5});

    ClickSave(app);
    ExpectFullSlotsMessage(app);
    EXPECT_TRUE(ShowsFlat(app, 取色_颜色3, kViolet.colour));
    EXPECT_TRUE(HoldsBytes(3, {0x99, 0x00, 0xFF, 0x00}));
    EXPECT_EQ(SavedValueNames(), std::vector<std::string>{"ColorSave3"});
}

TEST_F(SavedTest, TheBoxDecidesWhetherToSaveButTheSwatchWhatIsSaved) {
    Pigmora app;
    PickFromBlock(app, kDarkRed);
    EmptySlot(app, 1);
    EmptySlot(app, 2);

    // A number with a leading zero is no picked colour: nothing is saved.
    TypeIntoDecimalBox(app, "0255");
    ClickSave(app);
    PickFromBlock(app, kBlue);  // handled after the save, and leaves the box a plain number
    EXPECT_TRUE(ShowsFlat(app, 取色_颜色1, kEmptySlotLook));
    EXPECT_FALSE(SlotValue(1).has_value());

    // A plain number lets the save go on, and the swatch's colour is saved, not 255.
    TypeIntoDecimalBox(app, "255");
    ClickSave(app);
    ASSERT_TRUE(WaitForFlat(app, 取色_颜色1, kBlue.colour))
        << "slot 1 shows " << Describe(FlatFill(app, 取色_颜色1));
    EXPECT_TRUE(HoldsBytes(1, StoredBytes(kBlue.colour)));
    EXPECT_TRUE(ShowsFlat(app, 取色_颜色2, kEmptySlotLook));
    EXPECT_FALSE(SlotValue(2).has_value());
}

TEST_F(SavedTest, SavesFillTheSlotsInTheirOrderNotInTheOrderOfEmptying) {
    Pigmora app;
    PickFromBlock(app, kViolet);
    EmptySlot(app, 4);
    EmptySlot(app, 2);

    ClickSave(app);
    ASSERT_TRUE(WaitForFlat(app, 取色_颜色2, kViolet.colour));
    EXPECT_TRUE(ShowsFlat(app, 取色_颜色4, kEmptySlotLook));

    PickFromBlock(app, kDarkRed);
    ClickSave(app);
    ASSERT_TRUE(WaitForFlat(app, 取色_颜色4, kDarkRed.colour));

    PickFromBlock(app, kSky);
    EmptySlot(app, 5);
    ClickSave(app);
    ASSERT_TRUE(WaitForFlat(app, 取色_颜色5, kSky.colour));

    EXPECT_TRUE(HoldsBytes(2, StoredBytes(kViolet.colour)));
    EXPECT_TRUE(HoldsBytes(4, StoredBytes(kDarkRed.colour)));
    EXPECT_TRUE(HoldsBytes(5, StoredBytes(kSky.colour)));
    EXPECT_EQ(SavedValueNames().size(), 3u);
    ExpectInitial(app, {1, 3});

    EmptySlot(app, 1);  // for the picture: an emptied slot beside saved and initial ones
    SaveScreenshot("saved-colours");
}

// --- comparing and emptying ---------------------------------------------------------------

TEST_F(SavedTest, LeftReleaseOverASlotMakesItsColourTheComparisonColour) {
    Pigmora app;
    PickFromBlock(app, kViolet);
    EmptySlot(app, 1);
    ClickSave(app);
    ASSERT_TRUE(WaitForFlat(app, 取色_颜色1, kViolet.colour));
    PickFromBlock(app, kDarkRed);
    ASSERT_TRUE(ShowsFlat(app, 取色_对比色, RGB(255, 255, 255))) << "white at start";

    LeftReleaseOver(app, 取色_颜色1);
    ASSERT_TRUE(WaitForFlat(app, 取色_对比色, kViolet.colour))
        << "the comparison swatch shows " << Describe(FlatFill(app, 取色_对比色));
    EXPECT_TRUE(ShowsFlat(app, 取色_颜色1, kViolet.colour)) << "the slot keeps its colour";
    EXPECT_TRUE(ShowsFlat(app, 取色_当前色, kDarkRed.colour));

    // Emptying a slot leaves the comparison colour alone; so does a left release over it.
    EmptySlot(app, 2);
    LeftReleaseOver(app, 取色_颜色2);
    PickFromBlock(app, kBlue);  // handled after the release
    EXPECT_TRUE(ShowsFlat(app, 取色_对比色, kViolet.colour))
        << "the comparison swatch shows " << Describe(FlatFill(app, 取色_对比色));

    // An initial slot passes its button-face background on.
    LeftReleaseOver(app, 取色_颜色5);
    EXPECT_TRUE(WaitForFlat(app, 取色_对比色, ButtonFace()))
        << "the comparison swatch shows " << Describe(FlatFill(app, 取色_对比色));
    EXPECT_EQ(SavedValueNames(), std::vector<std::string>{"ColorSave1"});
}

TEST_F(SavedTest, RightReleaseDeletesTheSlotsValueAndNoOther) {
    // Left over from an earlier run: nothing reads it at start.
    ASSERT_TRUE(WriteMachineDword(kTallowinKey, SlotValueName(5), 0x12345678));
    Pigmora app;
    ExpectInitial(app, {1, 2, 3, 4, 5});
    EXPECT_TRUE(HoldsBytes(5, {0x78, 0x56, 0x34, 0x12})) << "nothing rewritten at start";

    PickFromBlock(app, kViolet);
    EmptySlot(app, 2);
    ClickSave(app);
    ASSERT_TRUE(WaitUntil([] { return SlotValue(2).has_value(); }));
    EXPECT_TRUE(HoldsBytes(2, StoredBytes(kViolet.colour)));

    RightReleaseOver(app, 取色_颜色2);
    EXPECT_TRUE(WaitUntil([] { return !SlotValue(2).has_value(); })) << "ColorSave2 stays";
    EXPECT_TRUE(WaitForFlat(app, 取色_颜色2, kEmptySlotLook));
    EXPECT_TRUE(HoldsBytes(5, {0x78, 0x56, 0x34, 0x12}));

    // Emptying the slot of the earlier run's value removes that value, not the key.
    EmptySlot(app, 5);
    EXPECT_TRUE(WaitUntil([] { return !SlotValue(5).has_value(); })) << "ColorSave5 stays";
    EXPECT_TRUE(MachineKeyExists(kTallowinKey));
    EXPECT_TRUE(SavedValueNames().empty());
}

TEST_F(SavedTest, RightReleaseDeletesAKeyNamedLikeTheSlotOnlyWhenThereIsNoValue) {
    const std::wstring slotKey = std::wstring(kTallowinKey) + L"\\" + SlotValueName(1);
    ASSERT_TRUE(CreateMachineKey(slotKey));
    ASSERT_TRUE(WriteMachineDword(kTallowinKey, SlotValueName(1), 255));
    Pigmora app;

    // With a value to delete, the key of the same name stays.
    RightReleaseOver(app, 取色_颜色1);
    ASSERT_TRUE(WaitForFlat(app, 取色_颜色1, kEmptySlotLook));  // repainted after both steps
    EXPECT_FALSE(SlotValue(1).has_value());
    EXPECT_TRUE(MachineKeyExists(slotKey));

    // Without one, the key goes instead.
    RightReleaseOver(app, 取色_颜色1);
    EXPECT_TRUE(WaitUntil([&] { return !MachineKeyExists(slotKey); })) << "the key stays";
    EXPECT_TRUE(MachineKeyExists(kTallowinKey));
    EXPECT_TRUE(ShowsFlat(app, 取色_颜色1, kEmptySlotLook));
}

// --- restart ------------------------------------------------------------------------------

TEST_F(SavedTest, ARestartShowsTheInitialSlotsWhileTheRegistryKeepsTheValues) {
    {
        Pigmora first;
        PickFromBlock(first, kDarkRed);
        EmptySlot(first, 2);
        ClickSave(first);
        ASSERT_TRUE(WaitForFlat(first, 取色_颜色2, kDarkRed.colour));
        PickFromBlock(first, kBlue);
        EmptySlot(first, 4);
        ClickSave(first);
        ASSERT_TRUE(WaitForFlat(first, 取色_颜色4, kBlue.colour));
        PostMessageW(first.window(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(first.HasExited(std::chrono::seconds(10)));
    }
    // Nothing is done at exit.
    EXPECT_TRUE(HoldsBytes(2, StoredBytes(kDarkRed.colour)));
    EXPECT_TRUE(HoldsBytes(4, StoredBytes(kBlue.colour)));

    Pigmora second;
    ExpectInitial(second, {1, 2, 3, 4, 5});
    EXPECT_TRUE(HoldsBytes(2, StoredBytes(kDarkRed.colour)));
    EXPECT_TRUE(HoldsBytes(4, StoredBytes(kBlue.colour)));
    EXPECT_EQ(SavedValueNames().size(), 2u);

    // The slots are all occupied again, so a save after a pick finds no room.
    PickFromBlock(second, kSky);
    ClickSave(second);
    ExpectFullSlotsMessage(second);
    EXPECT_TRUE(HoldsBytes(2, StoredBytes(kDarkRed.colour)));
    EXPECT_TRUE(HoldsBytes(4, StoredBytes(kBlue.colour)));
}

}  // namespace
}  // namespace e2e
