// The end-to-end driver. Started inside Pigmora's Wine desktop, where standard output does not
// reach the shell: it reports into the --log file, ending with the exit code.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "harness.h"
#include "recorder.h"

int main(int argc, char** argv) {
    // Started by the shell in place of a web browser.
    if (const auto recorded = e2e::RecordIfAsked(argc, argv)) return *recorded;
    std::string log;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--pigmora=", 0) == 0) e2e::Config().pigmoraExe = e2e::Wide(arg.substr(10));
        if (arg.rfind("--artifacts=", 0) == 0) e2e::Config().artifacts = e2e::Wide(arg.substr(12));
        if (arg.rfind("--log=", 0) == 0) log = arg.substr(6);
    }
    if (!log.empty()) {
        std::freopen(log.c_str(), "w", stdout);
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        std::fflush(stderr);
        _dup2(_fileno(stdout), _fileno(stderr));
    }
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::printf("PIGMORA_E2E_EXIT=%d\n", result);
    std::fflush(stdout);
    return result;
}
