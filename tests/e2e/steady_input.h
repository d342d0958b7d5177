// Makes the driver's injected pointer input arrive where it was aimed, under Wine.
#pragma once

#include <windows.h>

#include <thread>

namespace e2e {

// Seen under Wine 8 in a virtual desktop: without a low-level mouse hook, each injected
// movement is also warped into the X server, and the desktop process later hands the X
// server's motion events back as new movements. Under load they arrive late, so the pointer
// briefly jumps back to where a glide passed: a press sent then lands on the wrong window,
// and the program's own pointer reads give the old place. With a low-level mouse hook
// installed, every injected event waits for the hook and no warp happens; presses and reads
// then always saw the aimed-at point here.
//
// For as long as it lives, a pass-through hook runs on a thread of its own.
class SteadyInput {
  public:
    SteadyInput();
    ~SteadyInput();
    SteadyInput(const SteadyInput&) = delete;
    SteadyInput& operator=(const SteadyInput&) = delete;

    bool installed() const { return installed_; }

  private:
    std::thread thread_;
    DWORD threadId_ = 0;
    bool installed_ = false;
};

}  // namespace e2e
