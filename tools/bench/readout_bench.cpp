// The live readout under Wine: how long one UpdateReadout takes while the dropper is dragged,
// how many of the injected pointer movements the program handles, and how far it lags behind
// the pointer when it stops; beside the floor of the same work done bare in the same run.
//
// How the program is timed from outside. The movements go round the twelve blocks of the test
// pattern, each to the next block, faster than the program can follow, so two readouts in a
// row always read different colours. A watcher thread here asks the decimal box for its text
// (WM_GETTEXT) again and again. The program answers a sent message only between two events,
// never inside a readout, so while it is busy each answer comes just after a readout ends:
//   - movements handled = the changes of the decimal box's text the watcher saw;
//   - time per UpdateReadout = the time between two changes (one readout and the message
//     loop around it; one answered WM_GETTEXT is in it too, measured alone below);
// The floor is measured here, in a bare window of this driver with the same eight edit boxes
// and a colour label: one screen pixel read, nine writes, and the repaint of all nine.
// Wine offers no cross-process window-event hooks (SetWinEventHook gets nothing) and keeps an
// edit box's text inside the box, so asking the box is the one way to see it.
//
//   pigmora_readout_bench.exe --pigmora=<exe> --log=<file> [--moves=N] [--rate=HZ]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "colour/colour.h"
#include "harness.h"
#include "pattern.h"
#include "platform/win32/handles.h"

namespace {

using Clock = std::chrono::steady_clock;
using e2e::Pigmora;
using pigmora::Control;
namespace w32 = pigmora::win32;

constexpr RECT kPatternArea{40, 40, 440, 190};
constexpr int kComingToRest = 5;

struct Options {
    int moves = 500;
    int rate = 1000;  // movements a second, as a 1000 Hz mouse sends them
};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Processor time (user + kernel) in milliseconds; Wine counts it in ticks of 10 ms, so only
// sums over many readouts mean anything.
double CpuMs(const FILETIME& user, const FILETIME& kernel) {
    const auto ticks = [](const FILETIME& f) {
        return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    };
    return static_cast<double>(ticks(user) + ticks(kernel)) / 10000.0;
}
double ThreadCpuMs(HANDLE thread = GetCurrentThread()) {
    FILETIME created, exited, kernel, user;
    return GetThreadTimes(thread, &created, &exited, &kernel, &user) ? CpuMs(user, kernel) : 0;
}

struct Stats {
    std::size_t count = 0;
    double median = 0, p99 = 0, mean = 0;
};

Stats Summarise(std::vector<double> samples) {
    Stats s;
    s.count = samples.size();
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    s.median = samples[samples.size() / 2];
    s.p99 = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
    for (double v : samples) s.mean += v;
    s.mean /= static_cast<double>(samples.size());
    return s;
}

void Print(const char* what, const Stats& s) {
    std::printf("  %-44s median %6.2f ms   p99 %6.2f ms   mean %6.2f ms   (n=%zu)\n", what,
                s.median, s.p99, s.mean, s.count);
}

// --- the program's decimal box, watched ----------------------------------------------------

std::wstring AskText(HWND box) {
    wchar_t text[64] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(box, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                             &copied))
        return L"?";
    return text;
}

struct TextChange {
    Clock::time_point at;
    std::wstring text;
};

class TextWatcher {
  public:
    explicit TextWatcher(HWND box) : box_(box) {
        thread_ = std::thread([this] {
            std::wstring last = AskText(box_);
            while (!stop_) {
                std::wstring now = AskText(box_);
                const auto at = Clock::now();
                ++asked_;
                if (now != last) {
                    std::lock_guard<std::mutex> lock(mutex_);
                    changes_.push_back({at, now});
                    last = std::move(now);
                }
            }
        });
    }
    ~TextWatcher() {
        stop_ = true;
        thread_.join();
    }
    std::vector<TextChange> Changes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return changes_;
    }
    long asked() const { return asked_; }

  private:
    HWND box_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<long> asked_{0};
    std::mutex mutex_;
    std::vector<TextChange> changes_;
};

// --- the floor: the same work in a bare window of this driver ------------------------------

struct Floor {
    Stats withRepaint, writesOnly, pixelOnly;
    double cpuMs = 0;  // this thread's processor time over all the iterations
    std::vector<double> withRepaintSamples, writesOnlySamples, pixelSamples;
};

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_PAINT && GetWindowLongPtrW(window, GWLP_USERDATA) != 0) {
        // The colour label: its background colour over its client area, as a swatch paints.
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT r;
        GetClientRect(window, &r);
        w32::unique_hbrush brush(
            CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, GWLP_USERDATA))));
        FillRect(dc, &r, brush.get());
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

// The program's edit boxes are the version-6 common controls its manifest asks for; the bare
// boxes are made in the same version, through an activation context from that manifest.
class ProgramControls {
  public:
    ProgramControls() {
        ACTCTXW context{sizeof(context)};
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = e2e::Config().pigmoraExe.c_str();
        context.lpResourceName = MAKEINTRESOURCEW(1);  // CREATEPROCESS_MANIFEST_RESOURCE_ID
        context_ = CreateActCtxW(&context);
        if (context_ != INVALID_HANDLE_VALUE) ActivateActCtx(context_, &cookie_);
    }
    ~ProgramControls() {
        if (context_ == INVALID_HANDLE_VALUE) return;
        DeactivateActCtx(0, cookie_);
        ReleaseActCtx(context_);
    }
    ProgramControls(const ProgramControls&) = delete;
    ProgramControls& operator=(const ProgramControls&) = delete;
    bool active() const { return context_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

// Measured while `load` keeps the desktop as busy with pointer movements as the flood does.
Floor MeasureFloor(int iterations, const std::function<void(const std::atomic<bool>&)>& load) {
    Floor floor;
    std::atomic<bool> stop{false};
    std::thread loader([&] { load(stop); });
    std::thread([&] {
        ProgramControls controls;
        if (!controls.active()) std::printf("  (the bare boxes are not the program's version)\n");
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = BareProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"PigmoraBenchBare";
        RegisterClassExW(&wc);
        w32::unique_hwnd bare(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                              L"PigmoraBenchBare", L"bare", WS_POPUP | WS_VISIBLE,
                                              40, 700, 300, 280, nullptr, nullptr,
                                              GetModuleHandleW(nullptr), nullptr));
        HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        HWND label = CreateWindowExW(0, L"PigmoraBenchBare", L"", WS_CHILD | WS_VISIBLE, 10, 10, 97,
                                     31, bare.get(), nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(label, GWLP_USERDATA, RGB(255, 255, 255));
        std::vector<HWND> edits;
        for (int i = 0; i < 8; ++i) {
            HWND edit = CreateWindowExW(
                WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_LEFT | ES_AUTOHSCROLL,
                10, 50 + 26 * i, 110, 20, bare.get(), nullptr, GetModuleHandleW(nullptr), nullptr);
            SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            edits.push_back(edit);
        }
        UpdateWindow(bare.get());
        auto pump = [] {
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        };
        pump();

        std::vector<double> withRepaint, writesOnly, pixelOnly;
        w32::WindowDc screen(nullptr);
        const double cpuBefore = ThreadCpuMs();
        for (int i = 0; i < iterations; ++i) {
            const auto t0 = Clock::now();
            POINT at;
            GetCursorPos(&at);
            const COLORREF c = GetPixel(screen.get(), at.x, at.y);
            const auto t1 = Clock::now();
            // A different colour each time, as over a moving pointer.
            const pigmora::ColorValue value = (i * 2654435761u) & 0xFFFFFF;
            const pigmora::ColorTexts t = pigmora::RenderColor(value ^ (c & 0));
            SetWindowLongPtrW(label, GWLP_USERDATA, value);
            InvalidateRect(label, nullptr, FALSE);
            const std::string* texts[] = {&t.decimal, &t.hexadecimal, &t.rgb, &t.hsl,
                                          &t.html,    &t.vb,          &t.c,   &t.delphi};
            for (int b = 0; b < 8; ++b) SetWindowTextW(edits[b], e2e::Wide(*texts[b]).c_str());
            const auto t2 = Clock::now();
            RedrawWindow(bare.get(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            GdiFlush();
            const auto t3 = Clock::now();
            pixelOnly.push_back(Ms(t1 - t0));
            writesOnly.push_back(Ms(t2 - t0));
            withRepaint.push_back(Ms(t3 - t0));
            pump();
        }
        floor = {Summarise(withRepaint),
                 Summarise(writesOnly),
                 Summarise(pixelOnly),
                 ThreadCpuMs() - cpuBefore,
                 withRepaint,
                 writesOnly,
                 pixelOnly};
    }).join();
    stop = true;
    loader.join();
    return floor;
}

// --- the program ----------------------------------------------------------------------------

void SendMove(POINT to) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((to.x * 65536LL + w - 1) / w);
    input.mi.dy = static_cast<LONG>((to.y * 65536LL + h - 1) / h);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

HWND CaptureOf(const Pigmora& app) {
    GUITHREADINFO info{sizeof(info)};
    GetGUIThreadInfo(app.threadId(), &info);
    return info.hwndCapture;
}

// One measured drag: the flood of movements, then the lag after the last of them.
struct Round {
    double floodMs = 0, threadCpuMs = 0;  // the program's window thread's processor time
    long handled = 0, swatchChanges = 0, staleAfterLast = 0;
    std::vector<double> cycles;
    double textLagMs = -1, screenLagMs = -1;
};

std::optional<Round> DriveRound(const Pigmora& app, const e2e::TestPattern& pattern,
                                const Options& options) {
    HWND decimal = app.control(Control::取色_10进制);
    // Under Wine, without a low-level mouse hook in the driver, an injected move can come back
    // late as a move to an earlier place and take a press with it; then the press is made again.
    const POINT box = app.Centre(Control::取色_光标);
    bool began = false;
    for (int attempt = 0; attempt < 3 && !began; ++attempt) {
        if (attempt > 0) e2e::ReleaseLeft();
        e2e::GlidePointer({box.x - 30, box.y}, 4);
        e2e::GlidePointer({box.x + attempt * 3, box.y}, 4);
        e2e::PressLeft();
        began = e2e::WaitUntil([&] { return CaptureOf(app) == app.control(Control::取色_光标); },
                               std::chrono::seconds(2));
    }
    if (!began) {
        std::printf("the drag did not begin\n");
        return std::nullopt;
    }
    // Onto red; under Wine a movement into another window is now and then not delivered, so
    // the pointer is nudged until the program shows the red.
    const POINT red = pattern.CentreOf(0);
    e2e::GlidePointer(red, 10);
    bool sampling = false;
    for (int attempt = 0; attempt < 20 && !sampling; ++attempt) {
        e2e::MovePointer({red.x + 1 + attempt % 2, red.y});
        sampling = e2e::WaitUntil([&] { return AskText(decimal) == L"255"; },
                                  std::chrono::milliseconds(500));
    }
    if (!sampling) {
        std::printf("the drag does not sample\n");
        return std::nullopt;
    }

    // Each movement to the next block of the pattern, paced like a fast mouse, a few pixels off
    // the centre so that no two go to the same place. The flood ends on a cell of the program's
    // own colour block, a colour the pattern does not have, with five movements a pixel apart
    // (a hand coming to rest): under Wine the first move into the cell also comes back late
    // as a move to where it came from, and the program must not end on that one. The lag is
    // counted from the first of the five.
    const POINT cell = app.ClientPoint(Control::取色_色块, 14, 15);
    const std::wstring cellText = L"16711833";  // (153, 0, 255)
    const POINT swatch = app.ClientPoint(Control::取色_当前色, 40, 15);
    const auto period = std::chrono::nanoseconds(1'000'000'000 / std::max(1, options.rate));

    Round round;
    TextWatcher watcher(decimal);
    // The swatch as the screen shows it, watched alongside: how often the user sees a change.
    std::atomic<bool> floodOver{false};
    std::thread screenWatcher([&] {
        COLORREF last = e2e::ScreenPixel(swatch);
        while (!floodOver) {
            const COLORREF now = e2e::ScreenPixel(swatch);
            if (now != last) ++round.swatchChanges;
            last = now;
        }
    });
    w32::unique_kernel_handle uiThread(OpenThread(THREAD_QUERY_INFORMATION, FALSE, app.threadId()));
    const double threadCpuBefore = ThreadCpuMs(uiThread.get());
    const auto floodStart = Clock::now();
    auto next = floodStart;
    Clock::time_point lastMove{};  // when the pointer reaches the final colour
    for (int i = 0; i < options.moves; ++i) {
        std::this_thread::sleep_until(next);
        const POINT centre = pattern.CentreOf(i % pattern.Count());
        POINT to{centre.x + (i / pattern.Count()) % 9 - 4, centre.y};
        if (const int left = options.moves - i; left <= kComingToRest) {
            to = {cell.x - left + 1, cell.y};
            if (left == kComingToRest) lastMove = Clock::now();
        }
        SendMove(to);
        next += period;
    }
    round.threadCpuMs = ThreadCpuMs(uiThread.get()) - threadCpuBefore;
    floodOver = true;
    screenWatcher.join();
    round.floodMs = Ms(lastMove - floodStart);

    const auto shownAfter = [&](auto isShown) {
        return e2e::WaitUntil(isShown, std::chrono::seconds(10));
    };
    shownAfter([&] {
        const auto changes = watcher.Changes();
        return !changes.empty() && changes.back().text == cellText;
    });
    const bool onScreen = shownAfter([&] { return e2e::ScreenPixel(swatch) == RGB(153, 0, 255); });
    const auto screenAt = Clock::now();
    const std::vector<TextChange> changes = watcher.Changes();
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (changes[i].at <= lastMove) {
            ++round.handled;
            if (i > 0) round.cycles.push_back(Ms(changes[i].at - changes[i - 1].at));
        } else if (changes[i].text != cellText) {
            ++round.staleAfterLast;  // read its pixel before the pointer got there
        } else if (round.textLagMs < 0) {
            round.textLagMs = Ms(changes[i].at - lastMove);
        }
    }
    if (onScreen) round.screenLagMs = Ms(screenAt - lastMove);
    e2e::ReleaseLeft();
    e2e::WaitUntil([&] { return CaptureOf(app) == nullptr; });
    return round;
}

int Run(const Options& options) {
    constexpr int kRounds = 8;
    std::printf(
        "Readout benchmark: %d rounds of a dropper drag, each %d pointer movements at %d a"
        " second,\neach followed by the floor measured with the same movements going on"
        " (the program left idle)\n\n",
        kRounds, options.moves, options.rate);
    e2e::TestPattern pattern(kPatternArea);
    Pigmora app;
    if (!app.window()) return 1;

    const auto period = std::chrono::nanoseconds(1'000'000'000 / std::max(1, options.rate));
    std::vector<Round> rounds;
    std::vector<Floor> floors;
    std::vector<double> allCycles, allFloor, allFloorWrites, allPixel, ratios, textLags, screenLags,
        lagReadouts;
    long handled = 0, swatchChanges = 0, stale = 0, floorIterations = 0;
    double floodMs = 0, programThreadCpu = 0, floorCpu = 0;
    for (int r = 0; r < kRounds; ++r) {
        const std::optional<Round> round = DriveRound(app, pattern, options);
        if (!round) return 1;
        const Floor floor = MeasureFloor(60, [&](const std::atomic<bool>& stop) {
            auto next = Clock::now();
            for (int i = 0; !stop; ++i) {
                std::this_thread::sleep_until(next);
                const POINT centre = pattern.CentreOf(i % pattern.Count());
                SendMove({centre.x + (i / pattern.Count()) % 9 - 4, centre.y});
                next += period;
            }
        });
        const Stats cycle = Summarise(round->cycles);
        std::printf(
            "round %d: %ld readouts in %.0f ms, UpdateReadout median %.2f ms, floor median"
            " %.2f ms, ratio %.2f; lag %.1f ms to the boxes, %.1f ms to the screen\n",
            r + 1, round->handled, round->floodMs, cycle.median, floor.withRepaint.median,
            cycle.median / floor.withRepaint.median, round->textLagMs, round->screenLagMs);
        ratios.push_back(cycle.median / floor.withRepaint.median);
        allCycles.insert(allCycles.end(), round->cycles.begin(), round->cycles.end());
        allFloor.insert(allFloor.end(), floor.withRepaintSamples.begin(),
                        floor.withRepaintSamples.end());
        allFloorWrites.insert(allFloorWrites.end(), floor.writesOnlySamples.begin(),
                              floor.writesOnlySamples.end());
        allPixel.insert(allPixel.end(), floor.pixelSamples.begin(), floor.pixelSamples.end());
        textLags.push_back(round->textLagMs);
        screenLags.push_back(round->screenLagMs);
        lagReadouts.push_back(round->textLagMs / std::max(0.001, cycle.median));
        handled += round->handled;
        swatchChanges += round->swatchChanges;
        stale += round->staleAfterLast;
        floodMs += round->floodMs;
        programThreadCpu += round->threadCpuMs;
        floorCpu += floor.cpuMs;
        floorIterations += static_cast<long>(floor.withRepaintSamples.size());
    }

    // What one answered WM_GETTEXT costs, with the program idle (after the drags).
    std::vector<double> asks;
    for (int i = 0; i < 200; ++i) {
        const auto t0 = Clock::now();
        AskText(app.control(Control::取色_10进制));
        asks.push_back(Ms(Clock::now() - t0));
    }

    const Stats cycle = Summarise(allCycles), floor = Summarise(allFloor);
    const long injected = static_cast<long>(kRounds) * options.moves;
    std::printf("\nMovements\n");
    std::printf("  injected %ld in %.0f ms (%.0f a second)\n", injected, floodMs,
                1000.0 * injected / floodMs);
    std::printf(
        "  handled (readouts seen) %ld (%.0f a second); swatch changes seen on the screen"
        " %ld\n",
        handled, 1000.0 * handled / floodMs, swatchChanges);
    std::printf("\nThe program, while the movements come faster than it follows\n");
    Print("time per UpdateReadout (change to change)", cycle);
    Print("of which one answered WM_GETTEXT (idle)", Summarise(asks));
    std::printf("\nThe floor, bare in this driver, the program's own edit boxes\n");
    Print("pixel read", Summarise(allPixel));
    Print("pixel read + nine writes", Summarise(allFloorWrites));
    Print("pixel read + nine writes + repaint", floor);
    std::printf("  UpdateReadout / floor: median %.2f, p99 %.2f; round by round median %.2f\n",
                cycle.median / floor.median, cycle.p99 / floor.p99, Summarise(ratios).median);
    const double cpuPerFloor = floorCpu / std::max(1L, floorIterations);
    const double threadCpuPerReadout = programThreadCpu / std::max(1L, handled);
    std::printf(
        "  processor time per readout (window thread, in 10 ms ticks summed over all"
        " rounds):\n    program %.2f ms, floor %.2f ms; ratio %.2f\n",
        threadCpuPerReadout, cpuPerFloor, threadCpuPerReadout / std::max(0.001, cpuPerFloor));
    std::printf("\nAfter the last movement\n");
    std::printf(
        "  readouts that ended after it with an older pixel: %ld in %d rounds (at most the"
        " one under way; more would be a backlog)\n",
        stale, kRounds);
    Print("lag until the boxes show its pixel", Summarise(textLags));
    std::printf("  %-44s median %6.2f readouts\n", "the same in readouts",
                Summarise(lagReadouts).median);
    Print("lag until the swatch shows it on the screen", Summarise(screenLags));
    // Figures only: the run fails when it could not measure, never because of what it measured.
    return handled > 0 && !allCycles.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (const std::string& arg : e2e::TakeDriverArguments(argc, argv)) {
        auto value = [&](const char* name) { return e2e::ArgumentValue(arg, name); };
        if (auto v = value("--moves=")) options.moves = std::max(10, std::atoi(v));
        if (auto v = value("--rate=")) options.rate = std::max(1, std::atoi(v));
    }
    return e2e::ReportExit(Run(options));
}
