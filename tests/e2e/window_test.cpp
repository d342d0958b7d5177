// The main window as it opens: place, frame, controls, captions, colours, pointers, and the end.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "assets/resource_ids.h"
#include "harness.h"
#include "ui/win32/resources.h"

namespace e2e {
namespace {

using enum pigmora::Control;

struct ExpectedControl {
    Control name;
    RECT rect;  // left, top, right, bottom in the parent's client area
};

// Written out from the form, not taken from the program's own table.
const ExpectedControl kLayout[] = {
    {取色_分组框, {9, 6, 299, 75}},      {取色_颜色1, {28, 21, 62, 55}},
    {取色_颜色2, {76, 21, 110, 55}},     {取色_颜色3, {125, 21, 159, 55}},
    {取色_颜色4, {174, 21, 208, 55}},    {取色_颜色5, {224, 21, 258, 55}},
    {取色_保存, {312, 15, 402, 39}},     {取色_倍数标签, {458, 8, 558, 22}},
    {取色_倍数, {413, 24, 607, 42}},     {取色_光标, {9, 85, 41, 117}},
    {取色_放大镜, {57, 85, 89, 117}},    {取色_标签25, {106, 76, 297, 91}},
    {取色_当前色, {105, 93, 202, 124}},  {取色_对比色, {201, 93, 298, 124}},
    {取色_色块, {9, 130, 89, 330}},      {取色_X, {10, 343, 308, 355}},
    {取色_放大, {312, 45, 612, 360}},    {标签1, {244, 289, 292, 313}},
    {取色_标签29, {105, 137, 153, 148}}, {取色_HTML, {155, 133, 265, 153}},
    {取色_按钮5, {272, 133, 307, 153}},  {取色_标签26, {105, 162, 153, 173}},
    {取色_10进制, {155, 158, 265, 178}}, {取色_按钮1, {272, 158, 307, 178}},
    {取色_标签27, {105, 188, 153, 199}}, {取色_16进制, {155, 184, 265, 204}},
    {取色_按钮2, {272, 184, 307, 204}},  {取色_标签28, {105, 213, 153, 224}},
    {取色_RGB, {155, 209, 265, 229}},    {取色_按钮3, {272, 209, 307, 229}},
    {取色_标签57, {105, 239, 153, 250}}, {取色_HSL, {155, 235, 265, 255}},
    {取色_按钮4, {272, 235, 307, 255}},  {取色_标签30, {105, 267, 153, 278}},
    {取色_VB, {155, 263, 265, 283}},     {取色_按钮6, {272, 263, 307, 283}},
    {取色_标签31, {105, 293, 153, 304}}, {取色_C, {155, 289, 265, 309}},
    {取色_按钮7, {272, 289, 307, 309}},  {取色_标签32, {105, 319, 153, 330}},
    {取色_Delphi, {155, 315, 265, 335}}, {取色_按钮8, {272, 315, 307, 335}},
};

COLORREF ButtonFace() { return GetSysColor(COLOR_BTNFACE); }

TEST(WindowTest, OpensCentredWithItsFixedSizeAndFrame) {
    Pigmora app;
    RECT r{};
    GetWindowRect(app.window(), &r);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(r.right - r.left, 626);
    EXPECT_EQ(r.bottom - r.top, 396);
    EXPECT_EQ(r.left, (sw - 626) / 2);
    EXPECT_EQ(r.top, (sh - 396) / 2);
    EXPECT_EQ(app.Utf8Text(MainWindow), "Pigmora");

    const LONG_PTR style = GetWindowLongPtrW(app.window(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(GetWindow(app.window(), GW_OWNER), nullptr);
    EXPECT_EQ(GetForegroundWindow(), app.window());

    // The frame offers no sizing edge where a resizable window would.
    const LRESULT edge = SendMessageW(app.window(), WM_NCHITTEST, 0, MAKELPARAM(r.right - 1, (r.top + r.bottom) / 2));
    EXPECT_NE(edge, HTRIGHT);
    const LRESULT corner = SendMessageW(app.window(), WM_NCHITTEST, 0, MAKELPARAM(r.right - 1, r.bottom - 1));
    EXPECT_NE(corner, HTBOTTOMRIGHT);
    SaveScreenshot("window");
}

TEST(WindowTest, EveryControlStandsWhereTheFormPutsIt) {
    Pigmora app;
    for (const ExpectedControl& expected : kLayout) {
        HWND control = app.control(expected.name);
        ASSERT_NE(control, nullptr) << "control " << static_cast<int>(expected.name);
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, expected.rect.left) << "control " << static_cast<int>(expected.name);
        EXPECT_EQ(r.top, expected.rect.top) << "control " << static_cast<int>(expected.name);
        EXPECT_EQ(r.right, expected.rect.right) << "control " << static_cast<int>(expected.name);
        EXPECT_EQ(r.bottom, expected.rect.bottom) << "control " << static_cast<int>(expected.name);
    }
    EXPECT_EQ(GetParent(app.control(取色_颜色3)), app.control(取色_分组框));
    EXPECT_EQ(GetParent(app.control(标签1)), app.control(取色_放大));
    // Where the swatches share a column, the current colour lies on top.
    const POINT shared = app.ClientPoint(取色_当前色, 0, 10);
    const RECT current = app.ScreenRect(取色_当前色);
    EXPECT_EQ(WindowFromPoint({current.right - 1, shared.y}), app.control(取色_当前色));
}

TEST(WindowTest, CaptionsAndTextsAtStart) {
    Pigmora app;
    const struct {
        Control name;
        const char* text;
    } kTexts[] = {
        {取色_分组框, "保存的颜色(左键单击作为对比色,右键单击删除)"},
        {取色_保存, "← 保存当前色"},
        {取色_倍数标签, "放大倍数:6"},
        {取色_标签25, "当前色                   对比色"},
        {标签1, "赞助作者"},
        {取色_标签29, "HTML:"}, {取色_标签26, "10进制:"}, {取色_标签27, "16进制:"},
        {取色_标签28, "RGB:"}, {取色_标签57, "HSL:"}, {取色_标签30, "VB:"},
        {取色_标签31, "C/C++:"}, {取色_标签32, "Delphi:"},
        {取色_HTML, ""}, {取色_10进制, ""}, {取色_16进制, ""}, {取色_RGB, ""},
        {取色_HSL, ""}, {取色_VB, ""}, {取色_C, ""}, {取色_Delphi, ""},
    };
    for (const auto& expected : kTexts)
        EXPECT_EQ(app.Utf8Text(expected.name), expected.text) << static_cast<int>(expected.name);
    for (Control button : {取色_按钮1, 取色_按钮2, 取色_按钮3, 取色_按钮4, 取色_按钮5, 取色_按钮6,
                           取色_按钮7, 取色_按钮8})
        EXPECT_EQ(app.Utf8Text(button), "复制");
    EXPECT_FALSE(app.Utf8Text(取色_X).empty()) << "the credit line";

    HWND slider = app.control(取色_倍数);
    EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 16);
    EXPECT_EQ(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0), 1);
    EXPECT_EQ(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0), 30);
    EXPECT_EQ(SendMessageW(slider, TBM_GETPAGESIZE, 0, 0), 5);
    EXPECT_EQ(SendMessageW(slider, TBM_GETLINESIZE, 0, 0), 1);
}

TEST(WindowTest, SwatchesSlotsAndZoomViewShowTheirStartingColours) {
    Pigmora app;
    for (Control swatch : {取色_当前色, 取色_对比色})
        EXPECT_EQ(ScreenPixel(app.ClientPoint(swatch, 40, 15)), RGB(255, 255, 255));
    for (Control slot : {取色_颜色1, 取色_颜色2, 取色_颜色3, 取色_颜色4, 取色_颜色5})
        EXPECT_EQ(ScreenPixel(app.ClientPoint(slot, 16, 16)), ButtonFace());

    // The help picture at the zoom view's top left, on the view's own light grey.
    const COLORREF ground = RGB(248, 246, 246);
    EXPECT_EQ(ScreenPixel(app.ClientPoint(取色_放大, 2, 2)), ground);
    EXPECT_EQ(ScreenPixel(app.ClientPoint(取色_放大, 200, 200)), ground);
    int dark = 0;
    for (int y = 7; y <= 17; ++y)
        for (int x = 7; x < 120; ++x)
            if (GetRValue(ScreenPixel(app.ClientPoint(取色_放大, x, y))) < 100) ++dark;
    EXPECT_GT(dark, 40) << "the first line of the usage notes";

    // The donation label writes in blue.
    int blue = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 48; ++x) {
            const COLORREF c = ScreenPixel(app.ClientPoint(标签1, x, y));
            if (GetBValue(c) > 200 && GetRValue(c) < 100) ++blue;
        }
    EXPECT_GT(blue, 10);

    // The colour block's top-left cell and its frame.
    EXPECT_EQ(ScreenPixel(app.ClientPoint(取色_色块, 0, 0)), RGB(204, 204, 204));
    EXPECT_EQ(ScreenPixel(app.ClientPoint(取色_色块, 13, 14)), RGB(153, 0, 255));
    EXPECT_EQ(ScreenPixel(app.ClientPoint(取色_色块, 3, 3)), RGB(255, 255, 255));
}

// Under Wine cursor handles, the system's shapes included, belong to the process that loaded
// them, so the driver compares the shapes the program shows with each other: controls that
// share a pointer show one handle, different pointers different ones. The sizes and hotspots
// of the program's own cursors are checked on the embedded files below.
TEST(WindowTest, DragSourcesAndButtonsShowTheirPointers) {
    Pigmora app;
    // Approached from just left of the control, where the window (or the view holding it)
    // shows its plain arrow, so no other shape is passed on the way.
    auto shownOver = [&](Control c) {
        const RECT r = app.ScreenRect(c);
        GlidePointer({r.left - 3, (r.top + r.bottom) / 2}, 4);
        WaitUntil([&] { return CurrentCursor().handle != nullptr; });
        const HCURSOR before = CurrentCursor().handle;
        GlidePointer(app.Centre(c), 3);
        // Give the program the movement; a pointer that does not change shape is fine too.
        WaitUntil([&] { return CurrentCursor().handle != before; }, std::chrono::milliseconds(1500));
        return CurrentCursor().handle;
    };
    const HCURSOR arrow = shownOver(取色_当前色);
    const HCURSOR ownHand = shownOver(取色_光标);
    const HCURSOR systemHand = shownOver(取色_保存);
    const HCURSOR cross = shownOver(取色_颜色2);
    EXPECT_NE(ownHand, arrow);
    EXPECT_NE(systemHand, arrow);
    EXPECT_NE(systemHand, ownHand) << "the dropper's hand is the program's own";
    EXPECT_NE(cross, arrow);
    EXPECT_NE(cross, systemHand);
    EXPECT_EQ(shownOver(取色_色块), ownHand);
    for (Control c : {取色_放大镜, 取色_倍数, 取色_按钮5, 标签1})
        EXPECT_EQ(shownOver(c), systemHand) << "pointer over " << static_cast<int>(c);
    EXPECT_EQ(shownOver(取色_颜色5), cross);
}

TEST(WindowTest, EmbeddedCursorsLoadAtTheirOwnSizeAndHotspot) {
    pigmora::win32::unique_hmodule module(
        LoadLibraryExW(Config().pigmoraExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module);
    const struct {
        int resource;
        int size, hotX, hotY;
    } kCursors[] = {
        {IDR_HAND_CURSOR, 48, 15, 0},
        {IDR_DROPPER_CURSOR, 32, 8, 22},
        {IDR_MAGNIFIER_CURSOR, 32, 14, 12},
    };
    for (const auto& expected : kCursors) {
        auto cursor = pigmora::win32::CursorFromFile(
            pigmora::win32::EmbeddedFile(expected.resource, module.get()));
        ASSERT_TRUE(cursor) << expected.resource;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(cursor.get(), &info));
        pigmora::win32::unique_hbitmap mask(info.hbmMask), colour(info.hbmColor);
        BITMAP bits{};
        GetObjectW(colour ? colour.get() : mask.get(), sizeof bits, &bits);
        EXPECT_EQ(bits.bmWidth, expected.size) << expected.resource;
        EXPECT_EQ(bits.bmHeight, expected.size) << expected.resource;
        EXPECT_EQ(static_cast<int>(info.xHotspot), expected.hotX) << expected.resource;
        EXPECT_EQ(static_cast<int>(info.yHotspot), expected.hotY) << expected.resource;
    }
}

TEST(WindowTest, EnterAndEscDoNothingAndTabMovesTheFocus) {
    Pigmora app;
    auto focus = [&] {
        GUITHREADINFO info{sizeof(info)};
        GetGUIThreadInfo(app.threadId(), &info);
        return info.hwndFocus;
    };
    ClickLeft(app.Centre(取色_10进制));
    ASSERT_TRUE(WaitUntil([&] { return focus() == app.control(取色_10进制); }));
    TapKey('7');
    ASSERT_TRUE(WaitUntil([&] { return app.Utf8Text(取色_10进制) == "7"; }));
    TapKey(VK_RETURN);
    TapKey(VK_ESCAPE);
    TapKey('8');
    ASSERT_TRUE(WaitUntil([&] { return app.Utf8Text(取色_10进制) == "78"; }))
        << "Enter and Esc leave the box and the window alone";
    EXPECT_TRUE(IsWindowVisible(app.window()));

    TapKey(VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return focus() != app.control(取色_10进制); }));
    EXPECT_EQ(focus(), app.control(取色_按钮1)) << "Tab goes on to the row's copy button";
    PressKey(VK_SHIFT);
    TapKey(VK_TAB);
    ReleaseKey(VK_SHIFT);
    EXPECT_TRUE(WaitUntil([&] { return focus() == app.control(取色_10进制); }));
}

TEST(WindowTest, ClosingTheWindowEndsTheProcess) {
    Pigmora app;
    SetForegroundWindow(app.window());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == app.window(); }));
    PressKey(VK_MENU);
    TapKey(VK_F4);
    ReleaseKey(VK_MENU);
    EXPECT_TRUE(app.HasExited(std::chrono::seconds(2)));
}

TEST(WindowTest, ExecutableCarriesItsVersionRecordAndIcon) {
    const std::wstring& exe = Config().pigmoraExe;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00080008u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00080008u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00080008u);
    auto field = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT n = 0;
        std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
        if (!VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &n))
            return std::string();
        return Utf8(value);
    };
    EXPECT_EQ(field(L"FileDescription"), "精确选取颜色值");
    EXPECT_EQ(field(L"ProductName"), "Pigmora");

    pigmora::win32::unique_hmodule module(
        LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module);
    HRSRC group = FindResourceW(module.get(), L"DEFAULT_ICON", MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto* dir =
        static_cast<const BYTE*>(LockResource(LoadResource(module.get(), group)));
    ASSERT_NE(dir, nullptr);
    EXPECT_EQ(dir[6], 100) << "icon width";
    EXPECT_EQ(dir[7], 100) << "icon height";
    EXPECT_EQ(dir[6 + 6] | dir[6 + 7] << 8, 32) << "bits per pixel";
}

}  // namespace
}  // namespace e2e
