// The full soak: a day's worth of movements, copies and saves against one pigmora.exe, with
// its GDI and USER objects and its memory before and after. Prints the figures.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "harness.h"
#include "soak.h"

int main(int argc, char** argv) {
    e2e::SoakCounts counts{100000, 5000, 500, 10000, 1000};
    for (const std::string& arg : e2e::TakeDriverArguments(argc, argv)) {
        if (auto v = e2e::ArgumentValue(arg, "--scale=")) {
            const double scale = std::atof(v);
            counts = {static_cast<int>(counts.dropperMoves * scale),
                      static_cast<int>(counts.magnifierMovesAt16 * scale),
                      static_cast<int>(counts.magnifierMovesAt1 * scale),
                      static_cast<int>(counts.copyClicks * scale),
                      static_cast<int>(counts.saveClearCycles * scale)};
        }
    }
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Quov");
    int code = 1;
    {
        e2e::Pigmora app;
        const e2e::SoakReport r = e2e::RunSoak(app, counts);
        std::printf("soak: %d dropper movements (%.1f s), %d magnifier movements at position 16 "
                    "(%.1f s), %d at position 1 (%.1f s), %d copy clicks (%.1f s), %d save/clear "
                    "cycles (%.1f s)\n",
                    counts.dropperMoves, r.seconds[0], counts.magnifierMovesAt16, r.seconds[1],
                    counts.magnifierMovesAt1, r.seconds[2], counts.copyClicks, r.seconds[3],
                    counts.saveClearCycles, r.seconds[4]);
        std::printf("before: %s\nafter:  %s\nwindow still answers: %s\n",
                    e2e::Describe(r.before).c_str(), e2e::Describe(r.after).c_str(),
                    r.answering ? "yes" : "NO");
        code = r.answering ? 0 : 1;
    }
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Quov");
    return e2e::ReportExit(code);
}
