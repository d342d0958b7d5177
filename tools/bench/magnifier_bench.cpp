// Magnifier frame rate under Wine: drives real magnifier drags at several slider positions and
// times each pointer movement from the moment it is made until the region line shows the new
// rectangle (the last step of UpdateMagnifier), beside a bare screen copy plus halftone stretch
// of the same rectangle done here in the driver. Also watches Pigmora's memory and handles
// over a long drag, and reports the rectangle that the window system really gave RegionFrame.
//
//   pigmora_magnifier_bench.exe --pigmora=<exe> --log=<file> [--frames=N] [--soak=N]
//                               [--positions=1,5,10,16,30] [--input=x11|sendinput]
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"
#include "platform/win32/handles.h"
#include "sampling/zoom.h"

namespace {

using Clock = std::chrono::steady_clock;
using e2e::Pigmora;
using pigmora::Control;
namespace w32 = pigmora::win32;

constexpr int kZoomViewOuterWidth = 300, kZoomViewOuterHeight = 315;
constexpr int kClientWidth = kZoomViewOuterWidth - 2, kClientHeight = kZoomViewOuterHeight - 2;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Stats {
    double median = 0, p99 = 0, mean = 0;
};

Stats Summarise(std::vector<double> samples) {
    Stats s;
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    s.median = samples[samples.size() / 2];
    s.p99 = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
    for (double v : samples) s.mean += v;
    s.mean /= static_cast<double>(samples.size());
    return s;
}

// The caption as the window system stores it: reading another process's window text does not
// send it a message, so polling never runs inside the program's pumps.
std::wstring StoredText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

struct Resources {
    SIZE_T workingSet = 0, peakWorkingSet = 0;
    long gdiObjects = -1, userObjects = -1;
};

// Wine's GetGuiResources answers 0. Its GDI handle table lives in the process itself, in the
// documented layout that the PEB points to (GdiSharedHandleTable), so the objects in use can
// be counted there: an entry with a non-zero type is a live object.
long CountGdiTableEntries(HANDLE process) {
    struct BasicInformation {
        LONG_PTR exitStatus;
        void* peb;
        ULONG_PTR affinity, priority, processId, parentId;
    };
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    BasicInformation basic{};
    if (!query || query(process, 0, &basic, sizeof basic, nullptr) != 0 || !basic.peb) return -1;
    constexpr std::size_t kGdiTableInPeb = 0xF8;  // 64-bit PEB
    std::uint64_t table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, static_cast<const char*>(basic.peb) + kGdiTableInPeb, &table,
                           sizeof table, &read) ||
        !table)
        return -1;
    struct Entry {
        std::uint64_t object;
        std::uint32_t owner;
        std::uint16_t unique;
        std::uint8_t type, flags;
        std::uint64_t user;
    };
    static_assert(sizeof(Entry) == 24);
    std::vector<Entry> entries(0x10000);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                           entries.size() * sizeof(Entry), &read))
        return -1;
    return static_cast<long>(
        std::count_if(entries.begin(), entries.end(), [](const Entry& e) { return e.type != 0; }));
}

Resources Measure(HANDLE process) {
    Resources r;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, &memory, sizeof memory)) {
        r.workingSet = memory.WorkingSetSize;
        r.peakWorkingSet = memory.PeakWorkingSetSize;
    }
    if (const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS))
        r.gdiObjects = static_cast<long>(gdi);
    else
        r.gdiObjects = CountGdiTableEntries(process);
    if (const DWORD user = GetGuiResources(process, GR_USEROBJECTS))
        r.userObjects = static_cast<long>(user);
    return r;
}

void PrintResources(const char* when, const Resources& r) {
    std::printf(
        "  %-28s working set %7.1f MB (peak %7.1f MB), GDI objects %ld, USER objects "
        "%s\n",
        when, static_cast<double>(r.workingSet) / 1048576.0,
        static_cast<double>(r.peakWorkingSet) / 1048576.0, r.gdiObjects,
        r.userObjects < 0 ? "not counted" : std::to_string(r.userObjects).c_str());
}

// The region that UpdateMagnifier asks for at a slider position, and where it centres it.
struct Region {
    int width, height;
};

Region RequestedRegion(int position) {
    const double factor = pigmora::ComputeZoomFactor(position);
    return {pigmora::RegionExtent(kZoomViewOuterWidth, factor),
            pigmora::RegionExtent(kZoomViewOuterHeight, factor)};
}

// What the user sees without Pigmora's own work: one screen copy of the rectangle and one
// halftone stretch of it into the zoom view's client size, through plain GDI.
Stats BareCopyAndStretch(Region region, POINT centre, int rounds) {
    w32::WindowDc screen(nullptr);
    w32::unique_hdc source(CreateCompatibleDC(screen.get()));
    w32::unique_hdc target(CreateCompatibleDC(screen.get()));
    w32::unique_hbitmap view(CreateCompatibleBitmap(screen.get(), kClientWidth, kClientHeight));
    w32::Selection viewSelected(target.get(), view.get());
    SetStretchBltMode(target.get(), HALFTONE);
    SetBrushOrgEx(target.get(), 0, 0, nullptr);
    const int left = pigmora::CentredOrigin(centre.x, region.width);
    const int top = pigmora::CentredOrigin(centre.y, region.height);
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        w32::unique_hbitmap copy(CreateCompatibleBitmap(screen.get(), region.width, region.height));
        {
            w32::Selection copySelected(source.get(), copy.get());
            BitBlt(source.get(), 0, 0, region.width, region.height, screen.get(), left, top,
                   SRCCOPY);
            StretchBlt(target.get(), 0, 0, kClientWidth, kClientHeight, source.get(), 0, 0,
                       region.width, region.height, SRCCOPY);
        }
        GdiFlush();
        times.push_back(Ms(Clock::now() - start));
    }
    return Summarise(times);
}

// How the benchmark moves the pointer. Injected input (SendInput) reaches a program under Wine
// twice: once from the injection and once more when the X server echoes the pointer warp, so
// every movement would cost two UpdateMagnifier runs. Moving the X pointer itself (the
// harness's default under Wine) gives one movement per step, as a real mouse does.
using e2e::PointerInput;

class MagnifierDrag {
  public:
    explicit MagnifierDrag(Pigmora& app) : app_(app), regionLine_(app.control(Control::取色_X)) {}

    // Press on the box and leave it; true once a movement has been shown.
    bool Begin(POINT start) {
        // Presses land on alternate sides of the box: two quick presses on one spot make a
        // double click, which starts no drag.
        static bool leftSide = false;
        leftSide = !leftSide;
        e2e::MovePointer(app_.ClientPoint(Control::取色_放大镜, leftSide ? 6 : 26, 16));
        const std::wstring before = StoredText(regionLine_);
        e2e::PressLeft();
        // The box shows its empty picture once the press has been handled.
        const POINT emptyPart = app_.ClientPoint(Control::取色_放大镜, 8, 22);
        e2e::WaitUntil([&] { return e2e::ScreenPixel(emptyPart) == RGB(225, 249, 255); });
        e2e::GlidePointer(start, 10);
        // Under Wine a movement is now and then not seen (the program reads the pointer
        // before it has arrived); a small nudge gives it another one.
        for (int nudge = 0; nudge < 10; ++nudge) {
            if (e2e::WaitUntil([&] { return StoredText(regionLine_) != before; },
                               std::chrono::seconds(1)))
                return true;
            e2e::SendPointerMove({start.x + (nudge % 2 ? 0 : 1), start.y});
        }
        return false;
    }

    // One movement; the time from the system having the pointer there until the region line
    // changed, or a negative value when the program did not show it in time.
    double Step(POINT to) {
        const std::wstring before = StoredText(regionLine_);
        e2e::SendPointerMove(to);
        const auto start = Clock::now();
        const auto deadline = start + std::chrono::seconds(1);
        while (StoredText(regionLine_) == before) {
            if (Clock::now() > deadline) return -1;
            Sleep(1);
        }
        return Ms(Clock::now() - start);
    }

    void End() {
        e2e::ReleaseLeft();
        const HWND box = app_.control(Control::取色_放大镜);
        DWORD_PTR ignored;
        SendMessageTimeoutW(box, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    }

    std::string RegionLine() const { return e2e::Utf8(StoredText(regionLine_)); }

  private:
    Pigmora& app_;
    HWND regionLine_;
};

// Pointer positions that sweep back and forth across the middle of the screen, so that every
// step moves the rectangle by at least one pixel.
POINT PathPoint(int i) {
    const int sweep = 120, period = 2 * sweep;
    const int phase = i % period;
    const int offset = phase < sweep ? phase : period - phase;
    return {400 + 4 * offset, 480 + (i / period) % 3 * 20 + (offset & 1)};
}

struct Options {
    int frames = 150;
    int soak = 2000;
    std::vector<int> positions{1, 5, 10, 16, 30};
};

int Run(const Options& options) {
    Pigmora app;
    if (!app.window()) return 1;
    const HWND slider = app.control(Control::取色_倍数);
    std::printf("Magnifier benchmark: screen %d x %d, zoom view client %d x %d\n",
                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), kClientWidth,
                kClientHeight);
    std::printf(
        "Pointer moved by %s. Each movement waits for the previous one to be shown.\n"
        "  fps: movements shown per second; median, p99: pointer moved -> region line "
        "shown, in ms (%s);\n  bare: one screen copy and one halftone stretch of the "
        "same rectangle, done here in the driver; missed: movements not shown within "
        "1 s (left out of the others); got: the size RegionFrame really has\n",
        e2e::PointerInputInUse() == PointerInput::XServer ? "the X server (xdotool)"
                                                          : "injected input (SendInput)",
        e2e::PointerInputInUse() == PointerInput::XServer
            ? "one UpdateMagnifier per movement"
            : "Wine delivers each movement about twice");
    std::printf("%4s %11s %12s %7s %11s %11s %11s %6s   %s\n", "pos", "requested", "got", "fps",
                "median ms", "p99 ms", "bare ms", "missed", "last region line");

    const Resources atStart = Measure(app.process());
    for (int position : options.positions) {
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        const Region region = RequestedRegion(position);
        MagnifierDrag drag(app);
        if (!drag.Begin(PathPoint(0))) {
            std::printf("%4d: the first movement of the drag was not shown\n", position);
            drag.End();
            continue;
        }
        std::vector<double> times;
        int missed = 0;
        double shownTime = 0;
        for (int i = 1; i <= options.frames; ++i) {
            const double t = drag.Step(PathPoint(i));
            if (t < 0) {
                ++missed;
                continue;
            }
            shownTime += t;
            if (i > 5) times.push_back(t);  // the first few warm the caches of both processes
        }
        const std::string line = drag.RegionLine();
        drag.End();

        int gotWidth = 0, gotHeight = 0;
        const std::size_t wide = line.find("宽: "), high = line.find("高: ");
        if (wide != std::string::npos) gotWidth = std::atoi(line.c_str() + wide + 5);
        if (high != std::string::npos) gotHeight = std::atoi(line.c_str() + high + 5);
        const Stats frame = Summarise(times);
        const Stats bare = BareCopyAndStretch(region, {640, 512}, 20);
        char requested[32], got[32];
        std::snprintf(requested, sizeof requested, "%dx%d", region.width, region.height);
        std::snprintf(got, sizeof got, "%dx%d", gotWidth, gotHeight);
        std::printf("%4d %11s %12s %7.1f %11.2f %11.2f %11.2f %6d   %s\n", position, requested, got,
                    1000.0 * (options.frames - missed) / shownTime, frame.median, frame.p99,
                    bare.median, missed, line.c_str());
    }

    if (options.soak > 0) {
        const int position = options.positions.empty() ? 1 : options.positions.front();
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        std::printf("Long drag: %d movements at position %d\n", options.soak, position);
        PrintResources("at start-up", atStart);
        MagnifierDrag drag(app);
        drag.Begin(PathPoint(0));
        PrintResources("after the first movement", Measure(app.process()));
        int missed = 0;
        for (int i = 1; i <= options.soak; ++i) {
            if (drag.Step(PathPoint(i)) < 0) ++missed;
            if (i % 500 == 0) {
                char when[40];
                std::snprintf(when, sizeof when, "after %d movements", i);
                PrintResources(when, Measure(app.process()));
            }
        }
        drag.End();
        PrintResources("after the release", Measure(app.process()));
        std::printf("  missed movements: %d\n", missed);
    }
    return 0;
}

std::vector<int> ParseList(const std::string& text) {
    std::vector<int> values;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty()) values.push_back(std::atoi(item.c_str()));
    return values;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (const std::string& arg : e2e::TakeDriverArguments(argc, argv)) {
        auto value = [&](const char* name) { return e2e::ArgumentValue(arg, name); };
        if (auto v = value("--frames=")) options.frames = std::max(10, std::atoi(v));
        if (auto v = value("--soak=")) options.soak = std::max(0, std::atoi(v));
        if (auto v = value("--positions=")) options.positions = ParseList(v);
        if (auto v = value("--input="))
            e2e::PointerInputInUse() =
                std::string(v) == "sendinput" ? PointerInput::Injected : PointerInput::XServer;
    }
    return e2e::ReportExit(Run(options));
}
