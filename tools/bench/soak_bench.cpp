// The full soak: a day's worth of movements, copies and saves against one pigmora.exe, with
// its GDI and USER objects and its memory before and after. Prints the figures.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "harness.h"
#include "soak.h"

int main(int argc, char** argv) {
    std::string log;
    e2e::SoakCounts counts{100000, 5000, 500, 10000, 1000};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--pigmora=", 0) == 0) e2e::Config().pigmoraExe = e2e::Wide(arg.substr(10));
        if (arg.rfind("--artifacts=", 0) == 0) e2e::Config().artifacts = e2e::Wide(arg.substr(12));
        if (arg.rfind("--log=", 0) == 0) log = arg.substr(6);
        if (arg.rfind("--scale=", 0) == 0) {
            const double scale = std::atof(arg.substr(8).c_str());
            counts = {static_cast<int>(counts.dropperMoves * scale),
                      static_cast<int>(counts.magnifierMovesAt16 * scale),
                      static_cast<int>(counts.magnifierMovesAt1 * scale),
                      static_cast<int>(counts.copyClicks * scale),
                      static_cast<int>(counts.saveClearCycles * scale)};
        }
    }
    if (!log.empty()) {
        std::freopen(log.c_str(), "w", stdout);
        std::setvbuf(stdout, nullptr, _IONBF, 0);
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
    std::printf("PIGMORA_E2E_EXIT=%d\n", code);
    return code;
}
