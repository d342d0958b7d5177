#include "soak.h"

#include <commctrl.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>

#include "registry.h"

namespace e2e {

namespace {

using enum pigmora::Control;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool Answers(HWND window) {
    DWORD_PTR ignored;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored) != 0;
}

// Points of the colour block's cells: moving between them changes the colour on every step.
POINT Cell(Pigmora& app, int index) {
    const int column = index % 4, row = (index / 4) % 11;
    return app.ClientPoint(取色_色块, 6 + 17 * column + 8, 7 + 17 * row + 8);
}

void DropperPhase(Pigmora& app, int moves) {
    app.PressAndHold(取色_光标);
    for (int i = 0; i < moves; ++i) MovePointer(Cell(app, i));
    // The readout ends on the last cell the pointer stopped at.
    const POINT last = Cell(app, moves - 1);
    const COLORREF shown = ScreenPixel(last);
    WaitUntil([&] {
        char expected[16];
        std::snprintf(expected, sizeof expected, "#%02X%02X%02X", GetRValue(shown),
                      GetGValue(shown), GetBValue(shown));
        return app.Utf8Text(取色_HTML) == expected;
    });
    ReleaseLeft();
    WaitUntil([&] { return !(GetAsyncKeyState(VK_LBUTTON) & 0x8000); });
}

void MagnifierPhase(Pigmora& app, int position, int moves) {
    SendMessageW(app.control(取色_倍数), TBM_SETPOS, TRUE, position);
    app.PressAndHold(取色_放大镜);
    const RECT screen{40, 40, GetSystemMetrics(SM_CXSCREEN) - 40, GetSystemMetrics(SM_CYSCREEN) - 40};
    POINT at{};
    for (int i = 0; i < moves; ++i) {
        at = {screen.left + (i * 37) % (screen.right - screen.left),
              screen.top + (i * 23) % (screen.bottom - screen.top)};
        MovePointer(at);
    }
    // Done once the region window is centred on the last position and the line tells it.
    WaitUntil([&] {
        RECT r{};
        HWND frame = FindWindowW(L"PigmoraRegionFrame", nullptr);
        if (!frame || !GetWindowRect(frame, &r)) return false;
        const int w = r.right - r.left, h = r.bottom - r.top;
        const std::string line = "区域信息[ X: " + std::to_string(r.left) + " Y: " +
                                 std::to_string(r.top) + " ] 宽: " + std::to_string(w) +
                                 " 高: " + std::to_string(h);
        return r.left == static_cast<int>(at.x - w / 2.0) &&
               r.top == static_cast<int>(at.y - h / 2.0) && app.Utf8Text(取色_X) == line;
    });
    ReleaseLeft();
    SendMessageW(app.control(取色_倍数), TBM_SETPOS, TRUE, 16);
}

void CopyPhase(Pigmora& app, int clicks) {
    const Control buttons[] = {取色_按钮5, 取色_按钮1, 取色_按钮2, 取色_按钮3,
                               取色_按钮4, 取色_按钮6, 取色_按钮7, 取色_按钮8};
    for (int i = 0; i < clicks; ++i) ClickLeft(app.Centre(buttons[i % 8]));
    ClickLeft(app.Centre(取色_按钮5));
    WaitUntil([&] { return ClipboardText() == Utf8(app.Text(取色_HTML)); });
}

void SaveClearPhase(Pigmora& app, int cycles) {
    const POINT slot = app.Centre(取色_颜色1), save = app.Centre(取色_保存);
    for (int i = 0; i < cycles; ++i) {
        MovePointer(slot);
        PressRight();
        ReleaseRight();
        WaitUntil([] { return !SlotStored(1); });
        ClickLeft(save);
        WaitUntil([] { return SlotStored(1); });
    }
}

// A picked colour in the boxes, so that the save button saves.
void Pick(Pigmora& app) {
    MovePointer(Cell(app, 5));
    PressLeft();
    ReleaseLeft();
    WaitUntil([&] { return !app.Text(取色_10进制).empty(); });
}

}  // namespace

ResourceUse MeasureResources(HANDLE process) {
    ResourceUse use;
    use.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    use.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
        use.workingSet = memory.WorkingSetSize;
        use.privateBytes = memory.PrivateUsage;
    }
    return use;
}

std::string Describe(const ResourceUse& use) {
    char text[160];
    std::snprintf(text, sizeof text, "GDI objects %lu, USER objects %lu, working set %.1f MiB, private %.1f MiB",
                  static_cast<unsigned long>(use.gdiObjects), static_cast<unsigned long>(use.userObjects),
                  use.workingSet / 1048576.0, use.privateBytes / 1048576.0);
    return text;
}

SoakReport RunSoak(Pigmora& app, const SoakCounts& counts) {
    SoakReport report;
    Pick(app);
    DropperPhase(app, 20);
    MagnifierPhase(app, 16, 5);
    MagnifierPhase(app, 1, 3);
    CopyPhase(app, 8);
    SaveClearPhase(app, 2);
    report.before = MeasureResources(app.process());

    auto start = Clock::now();
    DropperPhase(app, counts.dropperMoves);
    report.seconds[0] = SecondsSince(start);
    start = Clock::now();
    MagnifierPhase(app, 16, counts.magnifierMovesAt16);
    report.seconds[1] = SecondsSince(start);
    start = Clock::now();
    MagnifierPhase(app, 1, counts.magnifierMovesAt1);
    report.seconds[2] = SecondsSince(start);
    start = Clock::now();
    CopyPhase(app, counts.copyClicks);
    report.seconds[3] = SecondsSince(start);
    start = Clock::now();
    SaveClearPhase(app, counts.saveClearCycles);
    report.seconds[4] = SecondsSince(start);

    report.after = MeasureResources(app.process());
    report.answering = Answers(app.window());
    return report;
}

}  // namespace e2e
