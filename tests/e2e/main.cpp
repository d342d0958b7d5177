// The end-to-end driver. Started inside Pigmora's Wine desktop, where standard output does not
// reach the shell: it reports into the --log file, ending with the exit code.
#include <gtest/gtest.h>

#include "harness.h"
#include "recorder.h"

int main(int argc, char** argv) {
    // Started by the shell in place of a web browser.
    if (const auto recorded = e2e::RecordIfAsked(argc, argv)) return *recorded;
    e2e::TakeDriverArguments(argc, argv);  // the rest are GoogleTest's
    testing::InitGoogleTest(&argc, argv);
    return e2e::ReportExit(RUN_ALL_TESTS());
}
