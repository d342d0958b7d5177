// A long run of everything a user does all day, with the program's resource use measured
// before and after. The reliability test runs it briefly; tools/bench/soak.sh at full length.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "harness.h"

namespace e2e {

struct ResourceUse {
    DWORD gdiObjects = 0;   // 0 where the system does not count them
    DWORD userObjects = 0;
    std::uint64_t workingSet = 0;    // bytes
    std::uint64_t privateBytes = 0;  // bytes
};
ResourceUse MeasureResources(HANDLE process);
std::string Describe(const ResourceUse& use);

struct SoakCounts {
    int dropperMoves;
    int magnifierMovesAt16;
    int magnifierMovesAt1;
    int copyClicks;
    int saveClearCycles;
};

struct SoakReport {
    ResourceUse before, after;
    double seconds[5] = {};  // per phase, in the order of SoakCounts
    bool answering = false;  // the window still answered at the end
};

// Runs every phase once briefly (so caches and the last snapshot are in place), measures,
// runs the counts, and measures again. Leaves the slider at 16 and no button held.
SoakReport RunSoak(Pigmora& app, const SoakCounts& counts);

}  // namespace e2e
